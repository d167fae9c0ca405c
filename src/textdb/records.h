// Record layouts of the database tables. Every table is a headerless array
// of little-endian records; its count is the file size over the record size.
#pragma once

#include <cstdint>

namespace vorn {

static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__,
              "tables are read in place and are little-endian");

// verses.ndx: one record per verse in text order, then a closing record.
struct VerseNdx {
  uint32_t first_word;
  uint8_t book;     // 1-based position in the "/Books" list
  uint8_t chapter;  // kClosingChapter marks the closing record
  uint8_t verse;
  uint8_t suffix;  // 0, a letter's code (1..127), or 128 + last verse of a range
};
static_assert(sizeof(VerseNdx) == 8);
inline constexpr uint8_t kClosingChapter = 255;

// <line>ndxx.ndx: one record per form, in collation order.
struct XndxxT {
  uint32_t string_pos;  // in UTF-16 code units of <line>s.db
  uint32_t list_pos;    // in 32-bit entries of <line>ndx.ndx
};
static_assert(sizeof(XndxxT) == 8);

// heads.ndx, punctndx.ndx: (word index, position).
struct WordPos {
  uint32_t word;
  uint32_t pos;
};
static_assert(sizeof(WordPos) == 8);

// Format.ndx. A code longer than four characters continues in the next
// record while the fourth character is a space.
struct Format_t {
  uint32_t word;
  char code[4];
};
static_assert(sizeof(Format_t) == 8);

// PVlinks/GlossMark.ndx.
struct MarkT {
  uint32_t word;
  uint8_t brace_start;    // 'B' opens a brace group; other non-zero: inside one
  uint8_t brace_end;      // 'E' closes the group
  uint8_t bracket_start;  // 'B' opens a bracket group; other non-zero: inside one
  uint8_t bracket_end;    // non-zero closes the bracket group
};
static_assert(sizeof(MarkT) == 8);

// PVlinks/LinkFreq.ndx: one record per link entry number.
struct DblNdx {
  uint32_t text_pos;  // in UTF-16 code units of LinkText.db
  uint32_t freq_pos;  // in 32-bit entries of Freq.db
};
static_assert(sizeof(DblNdx) == 8);

}  // namespace vorn
