// Reading the files a database is compiled from, and remembering which they
// were. Corpora may be stored gzip-compressed ("61-Mt-morphgnt.txt.gz"): a
// reader names the plain file and gets its bytes either way. Every file read
// through ReadSourceFile while a CInputLog is active is recorded with a hash
// of its bytes, so that a compiled database can say what it was built from
// and a later run can tell whether it is stale.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vorn::build {

// Reads `path`, or when it does not exist `path + ".gz"`, decompressed.
// On failure returns false and sets *error to "<path>: <reason>"; *bytes is
// then unspecified.
[[nodiscard]] bool ReadSourceFile(const std::string& path, std::string* bytes, std::string* error);

// A 64-bit FNV-1a hash: it tells changed inputs apart, nothing more (it is
// no defence against a crafted file).
uint64_t HashBytes(std::string_view bytes);

// One input of a compile: the path as the reader named it, its size and the
// hash of its (decompressed) bytes.
struct SourceInput {
  std::string path;
  uint64_t size = 0;
  uint64_t hash = 0;
};

// Records the files read through ReadSourceFile while it lives. Logs do not
// nest: a second active log is a programming error (the first keeps
// recording). Single-threaded, like the compiler.
class CInputLog {
 public:
  CInputLog();
  ~CInputLog();
  CInputLog(const CInputLog&) = delete;
  CInputLog& operator=(const CInputLog&) = delete;

  // The files read so far, in the order of their first reading.
  const std::vector<SourceInput>& Inputs() const { return inputs_; }

  // Called by ReadSourceFile; a file read twice is recorded once.
  void Record(const std::string& path, std::string_view bytes);

 private:
  std::vector<SourceInput> inputs_;
};

}  // namespace vorn::build
