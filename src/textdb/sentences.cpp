#include "textdb/sentences.h"

#include <algorithm>

#include "textdb/sorted_tables.h"

namespace vorn {

namespace {
uint32_t Self(uint32_t w) { return w; }
}  // namespace

CVornDBSent::CVornDBSent(const std::string& folder) : starts_(folder, "Sentence.ndx") {}

bool CVornDBSent::Open() {
  if (!starts_.Open()) return false;
  return HasWholeRecords(starts_) && IsStrictlySortedByKey(starts_, Self);
}

WordSpan CVornDBSent::GetSentenceRange(WordIndex word, const std::vector<uint32_t>* merged) const {
  if (word < 0) return WordSpan{};
  const uint32_t* begin = starts_.begin();
  const uint32_t* end = starts_.end();
  // `above` is the next start above the word, `above - 1` the sentence's own.
  const uint32_t* above = UpperBoundWord(starts_, static_cast<uint32_t>(word), Self);
  const uint32_t* below = above;
  auto is_merged = [merged](uint32_t start) {
    return merged && std::binary_search(merged->begin(), merged->end(), start);
  };
  while (below != begin && is_merged(below[-1])) --below;
  while (above != end && is_merged(*above)) ++above;

  WordSpan span;
  span.first = below == begin ? 0 : static_cast<WordIndex>(below[-1]);
  if (above != end) {
    span.end = static_cast<WordIndex>(*above);
  } else {
    span.end = word_count_ > 0 ? static_cast<WordIndex>(word_count_) : -1;
  }
  return span;
}

}  // namespace vorn
