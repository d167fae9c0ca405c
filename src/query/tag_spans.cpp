#include "query/tag_spans.h"

namespace vorn {

void MakeTagSpans(const uint8_t* tagged, const uint8_t* starts, size_t word_count,
                  std::vector<WordSpan>* out) {
  out->clear();
  bool open = false;
  for (size_t w = 0; w < word_count; ++w) {
    if (!tagged[w]) {
      // The display ends a range at an untagged word; a span that ran on
      // over the gap would reach words the user never marked.
      open = false;
      continue;
    }
    const bool begins = !starts || starts[w] || !open;
    if (begins) {
      out->push_back({static_cast<WordIndex>(w), static_cast<WordIndex>(w + 1)});
      open = starts != nullptr;
    } else {
      out->back().end = static_cast<WordIndex>(w + 1);
    }
  }
}

}  // namespace vorn
