#include "links/remote_request.h"

#include <algorithm>
#include <cstdint>

namespace vorn::links {

namespace {

struct VerbName {
  std::string_view name;
  RemoteVerb verb;
  bool takes_argument;
};

constexpr VerbName kVerbs[] = {
    {"goto", RemoteVerb::kGoto, true},
    {"query", RemoteVerb::kQuery, true},
    {"where", RemoteVerb::kWhere, false},
    {"show", RemoteVerb::kShow, true},
};

std::string_view TrimBlanks(std::string_view s) {
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  return s;
}

bool Fail(std::string* error, const char* why) {
  if (error) *error = why;
  return false;
}

}  // namespace

bool IsWellFormedUtf8(std::string_view bytes) {
  size_t i = 0;
  while (i < bytes.size()) {
    const auto c = static_cast<unsigned char>(bytes[i]);
    size_t extra = 0;
    uint32_t cp = 0;
    if (c < 0x80) {
      ++i;
      continue;
    } else if (c >= 0xC2 && c <= 0xDF) {
      extra = 1;
      cp = c & 0x1Fu;
    } else if (c >= 0xE0 && c <= 0xEF) {
      extra = 2;
      cp = c & 0x0Fu;
    } else if (c >= 0xF0 && c <= 0xF4) {
      extra = 3;
      cp = c & 0x07u;
    } else {
      return false;
    }
    if (i + extra >= bytes.size()) return false;
    for (size_t k = 1; k <= extra; ++k) {
      const auto d = static_cast<unsigned char>(bytes[i + k]);
      if ((d & 0xC0u) != 0x80u) return false;
      cp = (cp << 6) | (d & 0x3Fu);
    }
    if ((extra == 2 && (cp < 0x800 || (cp >= 0xD800 && cp <= 0xDFFF))) ||
        (extra == 3 && (cp < 0x10000 || cp > 0x10FFFF)))
      return false;
    i += extra + 1;
  }
  return true;
}

bool ParseRemoteRequest(std::string_view line, RemoteRequest* out, std::string* error) {
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  if (line.size() > kMaxRequestBytes) return Fail(error, "request too long");
  if (!IsWellFormedUtf8(line)) return Fail(error, "request is not UTF-8");
  size_t tabs = 0;
  for (char c : line) {
    const auto u = static_cast<unsigned char>(c);
    if (c == '\t') {
      ++tabs;
    } else if (u < 0x20 || u == 0x7F) {
      return Fail(error, "control character in request");
    }
  }
  if (tabs > 1) return Fail(error, "more than one tab in request");
  const size_t blank = line.find(' ');
  const std::string_view verb_text = line.substr(0, std::min(blank, line.find('\t')));
  const VerbName* verb = nullptr;
  for (const VerbName& v : kVerbs) {
    if (v.name == verb_text) verb = &v;
  }
  if (!verb) return Fail(error, "unknown request");
  std::string_view rest = line.substr(verb_text.size());
  std::string_view database;
  if (const size_t tab = rest.find('\t'); tab != std::string_view::npos) {
    database = TrimBlanks(rest.substr(tab + 1));
    rest = rest.substr(0, tab);
    if (database.empty()) return Fail(error, "empty database name");
    if (database.size() > kMaxDatabaseName) return Fail(error, "database name too long");
  }
  const std::string_view argument = TrimBlanks(rest);
  if (!verb->takes_argument) {
    if (!argument.empty() || !database.empty()) return Fail(error, "where takes nothing more");
  } else {
    if (rest.empty() || rest.front() != ' ' || argument.empty())
      return Fail(error, "request lacks its argument");
  }
  out->verb = verb->verb;
  out->argument = std::string(argument);
  out->database = std::string(database);
  return true;
}

std::string FormatReply(bool ok, std::string_view text) {
  std::string reply = ok ? "ok" : "error";
  if (!text.empty()) {
    reply += ' ';
    for (char c : text) {
      const auto u = static_cast<unsigned char>(c);
      reply += u < 0x20 || u == 0x7F ? ' ' : c;
    }
  }
  reply += '\n';
  return reply;
}

}  // namespace vorn::links
