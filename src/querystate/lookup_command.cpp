#include "querystate/lookup_command.h"

#include "platform/u16.h"

namespace vorn {

namespace {

// `piece` with the placeholders replaced through `put`.
template <typename Put>
std::u16string Substitute(std::u16string_view piece, const LookupValues& values, Put put) {
  std::u16string out;
  for (size_t i = 0; i < piece.size(); ++i) {
    if (piece[i] != u'%' || i + 1 == piece.size()) {
      out += piece[i];
      continue;
    }
    switch (piece[++i]) {
      case u'w':
        out += put(values.word);
        break;
      case u'l':
        out += put(values.lemma);
        break;
      case u'r':
        out += put(values.reference);
        break;
      case u'p':
        out += values.program;  // a path, never encoded
        break;
      case u'%':
        out += u'%';
        break;
      default:
        out += u'%';
        out += piece[i];
        break;
    }
  }
  return out;
}

}  // namespace

bool UsesLocatedProgram(std::u16string_view command) {
  for (size_t i = 0; i + 1 < command.size(); ++i) {
    if (command[i] != u'%') continue;
    if (command[i + 1] == u'p') return true;
    ++i;  // "%%" and the other placeholders
  }
  return false;
}

std::vector<std::u16string> ExpandLookupCommand(std::u16string_view command,
                                                const LookupValues& values) {
  std::vector<std::u16string> raw;
  std::u16string current;
  bool quoted = false;
  bool any = false;  // a piece was begun (an empty "" is a piece)
  for (char16_t c : command) {
    if (c == u'"') {
      quoted = !quoted;
      any = true;
    } else if (!quoted && (c == u' ' || c == u'\t')) {
      if (any) raw.push_back(std::move(current));
      current.clear();
      any = false;
    } else {
      current += c;
      any = true;
    }
  }
  if (any) raw.push_back(std::move(current));
  std::vector<std::u16string> out;
  if (raw.empty() || raw.front().empty()) return out;
  for (const std::u16string& piece : raw)
    out.push_back(Substitute(piece, values, [](const std::u16string& v) { return v; }));
  return out;
}

std::u16string ExpandLookupUri(std::u16string_view uri, const LookupValues& values) {
  return Substitute(uri, values, [](const std::u16string& v) {
    static const char kHex[] = "0123456789ABCDEF";
    std::u16string out;
    for (unsigned char b : platform::ToUtf8(v)) {
      if ((b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z') || (b >= '0' && b <= '9') || b == '-' ||
          b == '.' || b == '_' || b == '~') {
        out += static_cast<char16_t>(b);
      } else {
        out += u'%';
        out += static_cast<char16_t>(kHex[b >> 4]);
        out += static_cast<char16_t>(kHex[b & 15]);
      }
    }
    return out;
  });
}

}  // namespace vorn
