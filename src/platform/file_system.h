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
[[nodiscard]] bool CreateFolder(const std::string& path, std::string* error = nullptr);  // parents too
[[nodiscard]] bool MoveFile(const std::string& from, const std::string& to, std::string* error = nullptr);
[[nodiscard]] bool CopyFile(const std::string& from, const std::string& to, std::string* error = nullptr);
[[nodiscard]] bool DeleteFile(const std::string& path, std::string* error = nullptr);

// Writes `bytes` to a temporary file beside `path` and renames it over
// `path`, so that a crash or a full disk never leaves a truncated file: on
// failure the old file is untouched and the temporary file is removed.
[[nodiscard]] bool WriteFileAtomically(const std::string& path, std::string_view bytes,
                         std::string* error = nullptr);

// Reads a whole file into `bytes`; false when it cannot be read.
[[nodiscard]] bool ReadWholeFile(const std::string& path, std::string* bytes);

// The folder that holds the running executable, with no trailing '/';
// empty when it cannot be determined.
std::string ProgramFolder();

}  // namespace vorn::platform
