// Files and folders: paths, enumeration, status, and the few file operations
// the program performs. Paths are UTF-8 byte strings with '/' separators.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vorn::platform {

// Joins a folder and a name with exactly one '/' between them. An empty
// folder gives the name alone.
std::string JoinPath(std::string_view folder, std::string_view name);

// Whether `name` is one plain file or folder name: not empty, not "." or
// "..", without '/', '\\' or control characters. Names that come from
// files (a database's description, a user's file) must pass before they
// are joined to a folder: anything else could lead out of it.
bool IsPlainFileName(std::string_view name);

// Whether `path`, resolved (symbolic links followed as far as the path
// exists, "." and ".." taken out), lies inside `folder` resolved the same
// way. Writers check a path built from names they were given against the
// folder they must not leave.
bool IsInsideFolder(const std::string& folder, const std::string& path);

// Returns `folder` with a trailing '/' added when it has none (and is not empty).
std::string WithTrailingSlash(std::string_view folder);

// Matches `name` against a pattern in which '*' stands for any run of
// characters and '?' for any one character; everything else is literal.
bool MatchesPattern(std::string_view name, std::string_view pattern);

enum class EntryKind { kAny, kFile, kDirectory };

// The names (not paths) of the entries of `folder` that match `pattern` and
// are of the requested kind, in the order the file system lists them; "." and
// ".." are never listed. Returns an empty list when the folder cannot be read.
std::vector<std::string> ListDirectory(const std::string& folder, std::string_view pattern,
                                       EntryKind kind);

struct FileStatus {
  int64_t size = 0;
  int64_t modified = 0;  // seconds since the epoch
  bool is_directory = false;
};

// Fills `status` and returns true when `path` exists.
bool GetFileStatus(const std::string& path, FileStatus* status);
bool FileExists(const std::string& path);
bool DirectoryExists(const std::string& path);

// Each returns true on success; on failure it returns false and, when
// `error` is not null, stores the system's description of the failure.
[[nodiscard]] bool CreateFolder(const std::string& path,
                                std::string* error = nullptr);  // parents too
[[nodiscard]] bool MoveFile(const std::string& from, const std::string& to,
                            std::string* error = nullptr);
[[nodiscard]] bool CopyFile(const std::string& from, const std::string& to,
                            std::string* error = nullptr);
[[nodiscard]] bool DeleteFile(const std::string& path, std::string* error = nullptr);

// Writes `bytes` to a temporary file of a unique name beside `path` and
// renames it over `path`, so that a crash or a full disk never leaves a
// truncated file and two programs saving at once never write into one
// temporary file. On failure the old file is untouched, the temporary file
// is removed, and nothing was written.
[[nodiscard]] bool WriteFileAtomically(const std::string& path, std::string_view bytes,
                                       std::string* error = nullptr);

// Reads a whole file into `bytes`; false when it cannot be read.
[[nodiscard]] bool ReadWholeFile(const std::string& path, std::string* bytes);

enum class ReadResult { kRead, kMissing, kFailed };
// Reads a whole file into `bytes`, telling a file that is not there
// (kMissing) from one that is there but cannot be read (kFailed, with the
// system's reason in `error` when it is not null).
ReadResult ReadFileIfPresent(const std::string& path, std::string* bytes,
                             std::string* error = nullptr);

// A cheap fingerprint of a file's bytes, to notice that a file changed on
// disk since it was read.
uint64_t Fingerprint(std::string_view bytes);

// Renames a damaged file to "<path>.damaged-YYYYMMDD" (today's date; "-2",
// "-3", ... appended when that name is taken) so that a new file can take
// its place without destroying it. `*moved_to` (may be null) gets the new
// path, tried or taken. False, with the reason in `error`, when it cannot be renamed.
bool MoveAside(const std::string& path, std::string* moved_to, std::string* error = nullptr);

// An exclusive advisory lock (flock) on the folder of a file, held for the
// whole read-modify-write of that file so that programs saving the same
// user file take turns. The folder is locked rather than the file because
// every save replaces the file by a rename. Where the folder cannot be
// opened or the file system cannot lock, nothing is held and the caller
// goes on unlocked (the save itself still never leaves a broken file).
class CFolderLock {
 public:
  explicit CFolderLock(const std::string& file_path);
  ~CFolderLock();
  CFolderLock(const CFolderLock&) = delete;
  CFolderLock& operator=(const CFolderLock&) = delete;
  bool IsLocked() const { return fd_ >= 0; }

 private:
  int fd_ = -1;
};

// The folder that holds the running executable, with no trailing '/';
// empty when it cannot be determined.
std::string ProgramFolder();

}  // namespace vorn::platform
