// The user tag file (*.vtd): a header with the tag's style, the database
// name, the tag name and the label, followed by the tag's word ranges.
// Numbers are little-endian; the file is always written whole.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "markup/tag_marks.h"
#include "markup/tag_style.h"

namespace vorn {

// The fixed part of the header, before the three strings.
inline constexpr size_t kTagHeaderFixedSize = 20;

struct TagFileHeader {
  TagStyle style;
  uint8_t reserved7 = 0;    // byte 7, kept as read
  uint32_t reserved16 = 0;  // bytes 16..19, kept as read
  std::u16string db_name;
  std::u16string tag_name;
  std::u16string label;  // empty when the file's label flag is 0
};

// Reads the header at the start of `bytes`. False when the file is too
// short for its fixed part, when the stated header length is below the
// fixed part plus three empty strings or beyond the file, or when the three
// zero-terminated strings do not fit inside it. `*ranges_offset` receives
// the header length (where the ranges start). Outputs are written only on
// success.
[[nodiscard]] bool ParseTagHeader(std::string_view bytes, TagFileHeader* header,
                                  size_t* ranges_offset);

// Whether the header's database name is exactly `db_name` (as UTF-8 bytes,
// so that text that does not survive conversion never matches).
bool TagHeaderNamesDatabase(std::string_view bytes, std::u16string_view db_name);

// Reads the ranges from `ranges_offset` to the end of `bytes`. False, with
// `*ranges` untouched, when the bytes do not divide into whole 8-byte
// ranges or a range has first > last or lies outside 0 .. word_count - 1.
[[nodiscard]] bool ParseTagRanges(std::string_view bytes, size_t ranges_offset, uint32_t word_count,
                                  std::vector<TagRange>* ranges);

// The whole file: the header length is computed and the label flag set
// from the label.
std::string SerializeTagFile(const TagFileHeader& header, const std::vector<TagRange>& ranges);

}  // namespace vorn
