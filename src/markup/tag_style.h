// The display style of a user tag and the names its values go by in the tag
// list: font styles, bracket styles and positions, and the 17 tag colours.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "textdb/font_format.h"

namespace vorn {

// Font style bits.
inline constexpr int kTagBold = 1;
inline constexpr int kTagItalic = 2;

// Bracket position bits: which edges of a word's box a tag draws.
inline constexpr int kBracketBegin = 1;
inline constexpr int kBracketEnd = 2;
inline constexpr int kBracketAbove = 4;
inline constexpr int kBracketUnder = 8;

// Bracket styles (the pen the edges are drawn with).
inline constexpr int kBracketSolid = 0;
inline constexpr int kBracketDots = 1;
inline constexpr int kBracketDashes = 2;

// Each field is one signed byte of the tag file, in file order.
struct TagStyle {
  int8_t new_line = 0;     // 1: the tag's first word starts a line
  int8_t end_line = 0;     // 1: the line ends after the tag's last word
  int8_t indent_next = 0;  // level of the line after an end-line break
  int8_t indent = 0;       // level of a line started by new_line
  int8_t bracket_style = 0;
  int8_t bracket_position = 0;
  int8_t bracket_colour = 0;
  int8_t background = 0;
  int8_t foreground = 0;
  int8_t font_style = 0;

  friend bool operator==(const TagStyle&, const TagStyle&) = default;
};

// A stored colour value as the tags use it: 0..16, anything else is 0
// ("Default", no colour of its own).
int TagColourIndex(int stored);
// The RGB value of a tag colour; only meaningful when the index is not 0.
ColourValue TagColourRgb(int stored);

// The names shown in the tag list. Out-of-range values give the name of 0
// (the colours and font styles) or "" (bracket style and position).
std::u16string TagColourName(int stored);
std::u16string FontStyleName(int value);
std::u16string BracketStyleName(int value);
std::u16string BracketPositionName(int value);

// The style a tag starts with when the user makes it: a solid line under
// its words, in the `ordinal`-th of eight colours (counting round), so that
// a new tag shows at once and tags made one after another look different.
TagStyle NewTagStyle(size_t ordinal);

// What a word's tags add to the look of its first line: a foreground and a
// background colour (0 for none) and font style bits. Packed into one value
// it keys the view's cache of tag fonts.
struct TagLook {
  int foreground = 0;
  int background = 0;
  int font_style = 0;

  int Pack() const {
    return (foreground & 0xFF) | ((background & 0xFF) << 8) | ((font_style & 0xFF) << 16);
  }
  static TagLook Unpack(int value) {
    return {value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF};
  }
  friend bool operator==(const TagLook&, const TagLook&) = default;
};

}  // namespace vorn
