#include "platform/file_system.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <functional>
#include <system_error>

namespace vorn::platform {

namespace fs = std::filesystem;

namespace {
void SetError(std::string* error, const std::error_code& ec) {
  if (error) *error = ec.message();
}
void SetErrno(std::string* error, int err) {
  if (error) *error = std::strerror(err);
}
}  // namespace

std::string JoinPath(std::string_view folder, std::string_view name) {
  std::string out(folder);
  if (!out.empty() && out.back() != '/') out.push_back('/');
  out.append(name);
  return out;
}

bool IsPlainFileName(std::string_view name) {
  if (name.empty() || name == "." || name == "..") return false;
  for (char c : name) {
    const auto u = static_cast<unsigned char>(c);
    if (c == '/' || c == '\\' || u < 0x20 || u == 0x7F) return false;
  }
  return true;
}

bool IsInsideFolder(const std::string& folder, const std::string& path) {
  std::error_code ec;
  const fs::path base = fs::weakly_canonical(fs::absolute(folder.empty() ? "." : folder, ec), ec);
  if (ec) return false;
  const fs::path full = fs::weakly_canonical(fs::absolute(path, ec), ec);
  if (ec) return false;
  const fs::path relative = full.lexically_relative(base);
  return !relative.empty() && *relative.begin() != "..";
}

std::string WithTrailingSlash(std::string_view folder) {
  std::string out(folder);
  if (!out.empty() && out.back() != '/') out.push_back('/');
  return out;
}

bool MatchesPattern(std::string_view name, std::string_view pattern) {
  // fnmatch would also honour '[' sets and '\' escapes; only '*' and '?' are
  // wildcards here, so match by hand.
  size_t n = 0, p = 0, star = std::string_view::npos, mark = 0;
  while (n < name.size()) {
    if (p < pattern.size() && (pattern[p] == '?' || pattern[p] == name[n])) {
      ++n;
      ++p;
    } else if (p < pattern.size() && pattern[p] == '*') {
      star = p++;
      mark = n;
    } else if (star != std::string_view::npos) {
      p = star + 1;
      n = ++mark;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

std::vector<std::string> ListDirectory(const std::string& folder, std::string_view pattern,
                                       EntryKind kind) {
  std::vector<std::string> names;
  DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
  if (!dir) return names;
  while (struct dirent* e = ::readdir(dir)) {
    std::string_view name = e->d_name;
    if (name == "." || name == "..") continue;
    if (!MatchesPattern(name, pattern)) continue;
    if (kind != EntryKind::kAny) {
      struct stat st;
      if (::stat(JoinPath(folder, name).c_str(), &st) != 0) continue;
      bool is_dir = S_ISDIR(st.st_mode);
      if ((kind == EntryKind::kDirectory) != is_dir) continue;
    }
    names.emplace_back(name);
  }
  ::closedir(dir);
  return names;
}

bool GetFileStatus(const std::string& path, FileStatus* status) {
  struct stat st;
  if (::stat(path.c_str(), &st) != 0) return false;
  if (status) {
    status->size = st.st_size;
    status->modified = st.st_mtime;
    status->is_directory = S_ISDIR(st.st_mode);
  }
  return true;
}

bool FileExists(const std::string& path) {
  FileStatus s;
  return GetFileStatus(path, &s) && !s.is_directory;
}

bool DirectoryExists(const std::string& path) {
  FileStatus s;
  return GetFileStatus(path, &s) && s.is_directory;
}

bool CreateFolder(const std::string& path, std::string* error) {
  std::error_code ec;
  fs::create_directories(path, ec);
  if (ec) {
    SetError(error, ec);
    return false;
  }
  if (!DirectoryExists(path)) {
    SetErrno(error, ENOTDIR);
    return false;
  }
  return true;
}

bool MoveFile(const std::string& from, const std::string& to, std::string* error) {
  if (::rename(from.c_str(), to.c_str()) != 0) {
    SetErrno(error, errno);
    return false;
  }
  return true;
}

bool CopyFile(const std::string& from, const std::string& to, std::string* error) {
  std::error_code ec;
  fs::copy_file(from, to, fs::copy_options::overwrite_existing, ec);
  if (ec) {
    SetError(error, ec);
    return false;
  }
  return true;
}

bool DeleteFile(const std::string& path, std::string* error) {
  if (::unlink(path.c_str()) != 0) {
    SetErrno(error, errno);
    return false;
  }
  return true;
}

namespace {

// The mode a plain fopen would give a new file; mkstemp makes it 0600.
mode_t NewFileMode() {
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    bytes.remove_prefix(static_cast<size_t>(n));
  }
  return true;
}

}  // namespace

bool WriteFileAtomically(const std::string& path, std::string_view bytes, std::string* error) {
  // A unique name: two programs saving the same file each write their own.
  std::string temp = path + ".tmp~XXXXXX";
  int fd = ::mkstemp(temp.data());
  if (fd < 0) {
    SetErrno(error, errno);
    return false;
  }
  struct stat old;
  const mode_t mode = ::stat(path.c_str(), &old) == 0 ? (old.st_mode & 07777) : NewFileMode();
  bool ok = ::fchmod(fd, mode) == 0 && WriteAll(fd, bytes) && ::fsync(fd) == 0;
  int err = ok ? 0 : errno;
  if (::close(fd) != 0 && ok) {
    ok = false;
    err = errno;
  }
  if (ok && ::rename(temp.c_str(), path.c_str()) != 0) {
    ok = false;
    err = errno;
  }
  if (!ok) {
    ::unlink(temp.c_str());
    SetErrno(error, err ? err : EIO);
  }
  return ok;
}

bool ReadWholeFile(const std::string& path, std::string* bytes) {
  return ReadFileIfPresent(path, bytes) == ReadResult::kRead;
}

ReadResult ReadFileIfPresent(const std::string& path, std::string* bytes, std::string* error) {
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    const int err = errno;
    if (err == ENOENT) return ReadResult::kMissing;
    SetErrno(error, err);
    return ReadResult::kFailed;
  }
  std::string out;
  struct stat st;
  if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
    ::close(fd);
    SetErrno(error, EISDIR);
    return ReadResult::kFailed;
  }
  if (st.st_size > 0) out.reserve(static_cast<size_t>(st.st_size));
  char buffer[65536];
  for (;;) {
    ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      const int err = errno;
      ::close(fd);
      SetErrno(error, err);
      return ReadResult::kFailed;
    }
    if (n == 0) break;
    out.append(buffer, static_cast<size_t>(n));
  }
  ::close(fd);
  *bytes = std::move(out);
  return ReadResult::kRead;
}

uint64_t Fingerprint(std::string_view bytes) {
  return std::hash<std::string_view>()(bytes) ^ (static_cast<uint64_t>(bytes.size()) << 1);
}

bool MoveAside(const std::string& path, std::string* moved_to, std::string* error) {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  ::localtime_r(&now, &local);
  char date[16];
  std::strftime(date, sizeof date, "%Y%m%d", &local);
  const std::string base = path + ".damaged-" + date;
  std::string target = base;
  for (int n = 2; ::access(target.c_str(), F_OK) == 0; ++n) target = base + "-" + std::to_string(n);
  if (moved_to) *moved_to = target;
  return MoveFile(path, target, error);
}

CFolderLock::CFolderLock(const std::string& file_path) {
  const size_t slash = file_path.rfind('/');
  const std::string folder = slash == std::string::npos ? "."
                             : slash == 0               ? "/"
                                                        : file_path.substr(0, slash);
  fd_ = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd_ < 0) return;
  int r;
  do {
    r = ::flock(fd_, LOCK_EX);
  } while (r != 0 && errno == EINTR);
  if (r != 0) {
    ::close(fd_);
    fd_ = -1;
  }
}

CFolderLock::~CFolderLock() {
  if (fd_ >= 0) ::close(fd_);  // closing releases the lock
}

std::string ProgramFolder() {
  std::error_code ec;
  fs::path exe = fs::read_symlink("/proc/self/exe", ec);
  if (ec) return {};
  return exe.parent_path().string();
}

}  // namespace vorn::platform
