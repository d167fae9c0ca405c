// Makes every write beyond a few bytes fail for as long as the object
// lives: the way tests make a save fail that binds root too (unlike
// permissions). SIGXFSZ is ignored, so the write reports EFBIG instead of
// ending the test program.
#pragma once

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>

namespace vorn::testing {

class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes = 4) {
    ok_ = ::getrlimit(RLIMIT_FSIZE, &old_) == 0;
    ::signal(SIGXFSZ, SIG_IGN);
    struct rlimit tiny = old_;
    tiny.rlim_cur = bytes;
    ok_ = ok_ && ::setrlimit(RLIMIT_FSIZE, &tiny) == 0;
    EXPECT_TRUE(ok_) << "cannot set a file-size limit";
  }
  ~FileSizeLimit() {
    if (ok_) ::setrlimit(RLIMIT_FSIZE, &old_);
  }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

 private:
  struct rlimit old_ {};
  bool ok_ = false;
};

}  // namespace vorn::testing
