#include "platform/file_system.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
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

bool WriteFileAtomically(const std::string& path, std::string_view bytes, std::string* error) {
  std::string temp = path + ".tmp~";
  FILE* f = std::fopen(temp.c_str(), "wb");
  if (!f) {
    SetErrno(error, errno);
    return false;
  }
  bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  int err = ok ? 0 : errno;
  if (std::fflush(f) != 0 && ok) {
    ok = false;
    err = errno;
  }
  if (ok && ::fsync(::fileno(f)) != 0) {
    ok = false;
    err = errno;
  }
  if (std::fclose(f) != 0 && ok) {
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
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  bytes->assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return !in.bad();
}

std::string ProgramFolder() {
  std::error_code ec;
  fs::path exe = fs::read_symlink("/proc/self/exe", ec);
  if (ec) return {};
  return exe.parent_path().string();
}

}  // namespace vorn::platform
