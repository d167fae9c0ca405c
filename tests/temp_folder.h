// The temporary folder of a test: made empty under the test temp folder and
// removed with everything in it when the object goes, also when a failed
// assertion ends the test early. Every test that needs files on disk uses it.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

namespace vorn::testing {

class TempFolder {
 public:
  // A new folder named after `stem`; path() is empty (after a failed
  // expectation) when it cannot be made.
  explicit TempFolder(std::string_view stem = "test") {
    std::string pattern = ::testing::TempDir() + "vorn_" + std::string(stem) + "_XXXXXX";
    if (::mkdtemp(pattern.data())) {
      path_ = pattern;
    } else {
      ADD_FAILURE() << "cannot make a folder like " << pattern;
    }
  }
  ~TempFolder() {
    std::error_code ignored;
    if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::string& path() const { return path_; }
  // The path of `name` inside the folder.
  std::string File(std::string_view name) const { return path_ + "/" + std::string(name); }
  // The path of `name` inside the subfolder `sub`, which is made when missing.
  std::string SubFile(std::string_view sub, std::string_view name) const {
    std::filesystem::create_directories(File(sub));
    return File(sub) + "/" + std::string(name);
  }

 private:
  std::string path_;
};

}  // namespace vorn::testing
