#include "source_files.h"

#include <zlib.h>

#include "platform/file_system.h"

namespace vorn::build {

namespace {

CInputLog* g_active_log = nullptr;

bool ReadGzipFile(const std::string& path, std::string* bytes, std::string* error) {
  gzFile in = gzopen(path.c_str(), "rb");
  if (!in) {
    *error = path + ": cannot be opened";
    return false;
  }
  bytes->clear();
  char buffer[1 << 16];
  while (true) {
    const int n = gzread(in, buffer, sizeof buffer);
    if (n < 0) {
      int code = 0;
      *error = path + ": cannot be decompressed (" + gzerror(in, &code) + ")";
      gzclose(in);
      return false;
    }
    if (n == 0) break;
    bytes->append(buffer, static_cast<size_t>(n));
  }
  // A stream cut short reads as a shorter text without an error from
  // gzread; gzclose reports it.
  if (gzclose(in) != Z_OK) {
    *error = path + ": the compressed file is damaged or cut short";
    return false;
  }
  return true;
}

}  // namespace

bool ReadSourceFile(const std::string& path, std::string* bytes, std::string* error) {
  bool ok = false;
  if (platform::FileExists(path)) {
    ok = platform::ReadWholeFile(path, bytes);
    if (!ok) *error = path + ": cannot be read";
  } else if (platform::FileExists(path + ".gz")) {
    ok = ReadGzipFile(path + ".gz", bytes, error);
  } else {
    *error = path + ": not found";
  }
  if (ok && g_active_log) g_active_log->Record(path, *bytes);
  return ok;
}

uint64_t HashBytes(std::string_view bytes) {
  uint64_t h = 0xcbf29ce484222325ull;
  for (unsigned char c : bytes) {
    h ^= c;
    h *= 0x100000001b3ull;
  }
  return h;
}

CInputLog::CInputLog() {
  if (!g_active_log) g_active_log = this;
}

CInputLog::~CInputLog() {
  if (g_active_log == this) g_active_log = nullptr;
}

void CInputLog::Record(const std::string& path, std::string_view bytes) {
  for (const SourceInput& in : inputs_) {
    if (in.path == path) return;
  }
  inputs_.push_back({path, bytes.size(), HashBytes(bytes)});
}

}  // namespace vorn::build
