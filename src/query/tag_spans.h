// The word spans a user tag marks, as proximity and user-tag terms use them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "textdb/types.h"

namespace vorn {

// `tagged` has one byte per word, non-zero where the tag marks the word;
// `starts` (may be null: the tag keeps no begin positions) one byte per
// word, non-zero where a span of the tag begins. With begin positions a span
// runs from a marked begin position over the marked words that follow it up
// to the next begin position or the next unmarked word; a marked word that
// no span reaches starts one of its own. Without them every marked word is
// a span. `out` is replaced by the spans, ascending and disjoint.
void MakeTagSpans(const uint8_t* tagged, const uint8_t* starts, size_t word_count,
                  std::vector<WordSpan>* out);

}  // namespace vorn
