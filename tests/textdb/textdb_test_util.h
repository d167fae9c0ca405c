// Small helpers for tests that lay out table files by hand.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace vorn::testing {

// A new empty folder under the test temp folder; the caller removes it.
inline std::string MakeTempFolder(const std::string& stem) {
  std::string tmpl = ::testing::TempDir() + "vorn_" + stem + "_XXXXXX";
  std::vector<char> buf(tmpl.begin(), tmpl.end());
  buf.push_back('\0');
  const char* made = ::mkdtemp(buf.data());
  EXPECT_NE(made, nullptr);
  return made ? std::string(made) : std::string();
}

// Writes the records as raw bytes, less `cut` bytes at the end.
template <typename T>
void WriteRecords(const std::string& path, const std::vector<T>& records, size_t cut = 0) {
  FILE* f = std::fopen(path.c_str(), "wb");
  ASSERT_NE(f, nullptr);
  size_t bytes = records.size() * sizeof(T);
  bytes = cut < bytes ? bytes - cut : 0;
  if (bytes) std::fwrite(records.data(), 1, bytes, f);
  std::fclose(f);
}

inline void WriteText(const std::string& path, const std::string& text) {
  FILE* f = std::fopen(path.c_str(), "wb");
  ASSERT_NE(f, nullptr);
  std::fwrite(text.data(), 1, text.size(), f);
  std::fclose(f);
}

}  // namespace vorn::testing
