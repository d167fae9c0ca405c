#include "shell/hit_moves.h"

#include <algorithm>

#include "refs/bible_ref.h"

namespace vorn::shell {

namespace {

enum class Unit { kVerse, kChapter, kBook };

WordSpan SpanOf(CVornDB* db, WordIndex word, Unit unit) {
  CBibleRef ref(db, word);
  if (!ref.HasEntry()) return {};
  switch (unit) {
    case Unit::kVerse:
      return ref.GetWordSpan();
    case Unit::kChapter:
      return ref.GetChapterSpan();
    case Unit::kBook:
      return ref.GetBookSpan();
  }
  return {};
}

// Place of the first hit not below `word`.
size_t LowerBound(const std::vector<uint32_t>& hits, WordIndex word) {
  return static_cast<size_t>(std::lower_bound(hits.begin(), hits.end(),
                                              static_cast<uint32_t>(std::max<WordIndex>(word, 0))) -
                             hits.begin());
}

WordIndex Forward(CVornDB* db, const std::vector<uint32_t>& hits, WordIndex focus, Unit unit) {
  const WordSpan span = SpanOf(db, focus, unit);
  if (span.end < 0) return -1;
  const size_t p = LowerBound(hits, span.end);
  return p < hits.size() ? static_cast<WordIndex>(hits[p]) : -1;
}

WordIndex Backward(CVornDB* db, const std::vector<uint32_t>& hits, WordIndex focus, Unit unit) {
  const WordSpan span = SpanOf(db, focus, unit);
  if (span.first < 0) return -1;
  size_t p = LowerBound(hits, span.first);
  // Inside the unit but not on its first hit: that hit.
  if (p < hits.size() && static_cast<WordIndex>(hits[p]) < focus)
    return static_cast<WordIndex>(hits[p]);
  if (p == 0) return -1;
  // Otherwise the first hit of the unit that holds the hit before.
  const WordIndex before = static_cast<WordIndex>(hits[p - 1]);
  const WordSpan previous = SpanOf(db, before, unit);
  if (previous.first < 0) return before;
  p = LowerBound(hits, previous.first);
  return static_cast<WordIndex>(hits[p]);
}

}  // namespace

WordIndex HitMoveTarget(CVornDB* db, const std::vector<uint32_t>& hits, WordIndex focus,
                        HitMove move) {
  if (hits.empty()) return -1;
  switch (move) {
    case HitMove::kFirst:
      return static_cast<WordIndex>(hits.front());
    case HitMove::kLast:
      return static_cast<WordIndex>(hits.back());
    case HitMove::kNextVerse:
      return Forward(db, hits, focus, Unit::kVerse);
    case HitMove::kPrevVerse:
      return Backward(db, hits, focus, Unit::kVerse);
    case HitMove::kNextChapter:
      return Forward(db, hits, focus, Unit::kChapter);
    case HitMove::kPrevChapter:
      return Backward(db, hits, focus, Unit::kChapter);
    case HitMove::kStartOfBook:
      return Backward(db, hits, focus, Unit::kBook);
    case HitMove::kEndOfBook: {
      const WordSpan book = SpanOf(db, focus, Unit::kBook);
      if (book.end < 0) return -1;
      const size_t p = LowerBound(hits, book.end);
      return p > 0 ? static_cast<WordIndex>(hits[p - 1]) : -1;
    }
  }
  return -1;
}

}  // namespace vorn::shell
