// Small helpers for tests that lay out table files by hand.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace vorn::testing {

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
