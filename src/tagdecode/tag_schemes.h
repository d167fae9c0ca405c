// Constant tables behind the grammar-tag decoder: for each scheme, the
// separators that split a tag into segments, the characters trimmed off each
// segment, and per part of speech the code table of every character position.
// Internal to the decoder; other code goes through CTagDecoder.
#pragma once

#include <cstddef>
#include <span>
#include <string_view>

namespace vorn {

// Table characters are 8-bit and match a tag's UTF-16 unit by zero extension,
// so 0xB7 stands for U+00B7 and nothing else.
struct TagCode {
  unsigned char code;
  std::u16string_view text;  // may be empty: the code is known but says nothing
};

// Searched front to back; the first row with the tag's character wins. A last
// row coded '*' or '%' doubles as the position's default.
using TagCodeTable = std::span<const TagCode>;

struct TagPartOfSpeech {
  unsigned char key;  // first character of a segment
  std::u16string_view lead;
  std::span<const TagCodeTable> positions;  // tag characters 1, 2, ... in order
};

// A separator whose text is kTagSuffixMarker is not consumed: it starts the next
// segment, which is then decoded through the part of speech with that key.
struct TagSeparator {
  unsigned char ch;
  std::u16string_view text;
};
inline constexpr std::u16string_view kTagSuffixMarker = u"SUFFIX";

// A tag whose first character is `marker` decodes position `position` of the
// part of speech `key` with `table` instead (Aramaic verbs in Westminster tags).
// No switch when `table` is null.
struct TagStemSwitch {
  unsigned char marker = 0;
  unsigned char key = 0;
  std::size_t position = 0;
  const TagCodeTable* table = nullptr;
};

struct TagSchemeTable {
  int scheme;
  std::span<const TagSeparator> separators;  // tried in this order at every character
  std::string_view strip;                    // 8-bit characters, at most one dropped per end
  std::span<const TagPartOfSpeech> parts;
  TagStemSwitch stem_switch;
};

// The built-in table for a scheme identifier (0, 1, 2, 3 or 9), or null for
// any other identifier. The table lives for the whole program.
const TagSchemeTable* FindTagSchemeTable(int scheme);

}  // namespace vorn
