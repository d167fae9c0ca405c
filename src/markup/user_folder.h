// Where a database's user data lives, and the text comparisons the user's
// names (tags, sets, analyses) go through.
#pragma once

#include <string>
#include <string_view>

namespace vorn {

namespace platform {
class CMessageSink;
}

// The user folder of a database: the subfolder of `working_folder` named
// after the database's "/Name". Tag files, proposition files and the
// Annotations folder live there. An empty working folder gives the name
// alone (relative to the current directory). Empty when the name is no
// plain folder name or the folder would lie outside the working folder: a
// database (which users download and share) never chooses where we write;
// EnsureFolder refuses the empty folder, so nothing is written for it.
std::string UserFolder(const std::string& working_folder, std::u16string_view db_name);

// Compares by full Unicode case folding: <0, 0 or >0.
int CompareNoCase(std::u16string_view a, std::u16string_view b);
inline bool EqualsNoCase(std::u16string_view a, std::u16string_view b) {
  return CompareNoCase(a, b) == 0;
}

// Whether `name` can stand as one file or folder name in the user folder:
// not empty, not "." or "..", no '/', '\\' or control character. Names that
// fail would write outside the user folder or could not be read back.
bool IsUsableFileName(std::u16string_view name);

// Makes `folder` (and its parents) when it does not exist. On failure shows
// the message `message_id` ("Couldn't create dir <%1> : %2") through `sink`
// (may be null) and returns false; an empty folder (no user folder, see
// UserFolder) always fails.
[[nodiscard]] bool EnsureFolder(const std::string& folder, int message_id,
                                platform::CMessageSink* sink);

// A user file at `path` is there but cannot be read as what it should be
// (`reason` says why). Nothing may replace it unseen: when `sink` can ask,
// offers to move it aside (platform::MoveAside) and returns true once it
// is moved; otherwise, or on No, shows "\"%1\" exists but cannot be read:
// %2" and returns false, the file untouched. A failed move shows message
// 307 and returns false.
bool ClearDamagedFile(const std::string& path, std::u16string_view reason,
                      platform::CMessageSink* sink);

}  // namespace vorn
