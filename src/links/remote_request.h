// The line language a running Vorn answers on its local socket. One request
// per line (UTF-8, ending in a line feed), one reply line per request:
//   goto REF[<TAB>DB]    the active window (or that database's window) goes to REF
//   query TEXT[<TAB>DB]  runs TEXT there; the reply tells the number of hits
//   where                the active window's database and key string ("GNT JHN 3:16")
//   show REF[<TAB>DB]    the text of the verse
// A reply is "ok", "ok " + text, or "error " + reason. The database goes
// after a tab because references and queries hold blanks. Parsing is strict:
// anything else is refused before it reaches a window.
#pragma once

#include <string>
#include <string_view>

namespace vorn::links {

// The longest request line accepted, line feed not counted.
inline constexpr size_t kMaxRequestBytes = 1024;
// The longest database name a request may give.
inline constexpr size_t kMaxDatabaseName = 64;

enum class RemoteVerb { kGoto, kQuery, kWhere, kShow };

struct RemoteRequest {
  RemoteVerb verb = RemoteVerb::kWhere;
  std::string argument;  // REF or TEXT, without surrounding blanks; empty for where
  std::string database;  // empty: the active window
};

// Parses one request line (without its line feed; a final carriage return is
// allowed). False, with the reason in `*error` and `*out` untouched, for a
// line that is too long, not UTF-8, holds control characters other than the
// one tab before a database, names an unknown verb, lacks the argument its
// verb needs or has one where none belongs.
[[nodiscard]] bool ParseRemoteRequest(std::string_view line, RemoteRequest* out,
                                      std::string* error);

// One reply line with its line feed: "ok" or "ok TEXT", "error TEXT"; line
// breaks and other control characters of `text` become blanks.
std::string FormatReply(bool ok, std::string_view text);

// Whether `bytes` is well-formed UTF-8 (no overlong forms, surrogates or
// code points past U+10FFFF).
bool IsWellFormedUtf8(std::string_view bytes);

}  // namespace vorn::links
