#include "markup/annotation_file.h"

#include <limits>

#include "platform/u16.h"

namespace vorn {

namespace {

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

bool IsSpace(char16_t c) {
  return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == u'\f' || c == u'\v';
}

char16_t Upper(char16_t c) { return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - 32) : c; }

// A decimal number of at most nine digits (so it fits in an int) taking
// the whole of `text`, with an optional leading '-' when `sign`.
bool ParseInt(std::u16string_view text, bool sign, int32_t* out) {
  bool negative = false;
  if (sign && !text.empty() && text[0] == u'-') {
    negative = true;
    text.remove_prefix(1);
  }
  if (text.empty() || text.size() > 9) return false;
  int32_t v = 0;
  for (char16_t c : text) {
    if (!IsDigit(c)) return false;
    v = v * 10 + (c - u'0');
  }
  *out = negative ? -v : v;
  return true;
}

// A header line of the book `code`: the word it names, or -1.
WordIndex ParseHeader(std::u16string_view line, std::u16string_view code,
                      const NoteWordResolver& resolve) {
  if (line.size() <= 10 || line.substr(0, 2) != u"**" || code.size() != 3) return -1;
  for (size_t i = 0; i < 3; ++i) {
    if (Upper(line[2 + i]) != Upper(code[i])) return -1;
  }
  if (line[5] != u' ') return -1;
  std::u16string_view rest = line.substr(6);
  size_t colon = rest.find(u':');
  if (colon == std::u16string_view::npos) return -1;
  size_t dot = rest.find(u'.', colon + 1);
  if (dot == std::u16string_view::npos) return -1;
  int32_t chapter = 0, word = 0;
  if (!ParseInt(rest.substr(0, colon), false, &chapter)) return -1;
  std::u16string_view verse = rest.substr(colon + 1, dot - colon - 1);
  if (verse.empty() || !ParseInt(rest.substr(dot + 1), false, &word) || word < 1) return -1;
  return resolve(chapter, verse, word);
}

void StoreNote(WordIndex word, Note* note, std::map<WordIndex, Note>* notes) {
  if (word < 0) return;
  std::u16string& t = note->text;
  size_t end = t.size();
  while (end > 0 && IsSpace(t[end - 1])) --end;
  t.resize(end);
  if (!t.empty()) (*notes)[word] = std::move(*note);
}

}  // namespace

bool ParsePlacement(std::u16string_view line, WindowPlacement* out) {
  WindowPlacement p{};
  for (size_t i = 0; i < p.size(); ++i) {
    size_t comma = line.find(u',');
    std::u16string_view field = i + 1 < p.size() ? line.substr(0, comma) : line;
    if ((i + 1 < p.size()) == (comma == std::u16string_view::npos)) return false;
    if (!ParseInt(field, true, &p[i])) return false;
    if (i + 1 < p.size()) line.remove_prefix(comma + 1);
  }
  *out = p;
  return true;
}

std::u16string FormatPlacement(const WindowPlacement& p) {
  std::string s;
  for (size_t i = 0; i < p.size(); ++i) {
    if (i) s += ',';
    s += std::to_string(p[i]);
  }
  return platform::ToU16(s);
}

void ParseAnnotationFile(std::string_view bytes, std::u16string_view code,
                         const NoteWordResolver& resolve, std::map<WordIndex, Note>* notes) {
  WordIndex word = -1;
  Note note;
  bool has_lines = false;
  size_t at = 0;
  while (at < bytes.size()) {
    size_t lf = bytes.find('\n', at);
    std::string_view raw =
        bytes.substr(at, lf == std::string_view::npos ? std::string_view::npos : lf - at);
    at = lf == std::string_view::npos ? bytes.size() : lf + 1;
    if (!raw.empty() && raw.back() == '\r') raw.remove_suffix(1);
    std::u16string line = platform::ToU16(raw);

    WordIndex header = ParseHeader(line, code, resolve);
    if (header >= 0) {
      StoreNote(word, &note, notes);
      word = header;
      note = Note();
      has_lines = false;
      continue;
    }
    if (word < 0) continue;
    WindowPlacement placement;
    if (note.text.empty() && !note.placement && ParsePlacement(line, &placement)) {
      note.placement = placement;
      continue;
    }
    if (has_lines) note.text += u"\r\n";
    note.text += line;
    has_lines = true;
  }
  StoreNote(word, &note, notes);
}

std::string FormatNote(std::u16string_view key, int word_number, const Note& note) {
  std::string out = "**" + platform::ToUtf8(key) + "." + std::to_string(word_number) + "\n";
  if (note.placement) out += platform::ToUtf8(FormatPlacement(*note.placement)) + "\n";
  for (char c : platform::ToUtf8(note.text)) {
    if (c != '\r') out.push_back(c);
  }
  out += "\n\n";
  return out;
}

}  // namespace vorn
