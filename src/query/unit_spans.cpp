#include "query/unit_spans.h"

#include <algorithm>

#include "query/query_context.h"
#include "textdb/verses.h"
#include "textdb/vorn_db.h"

namespace vorn {

namespace {

// Up to this many units a window is widened by looking up one neighbour
// after the other; wider windows first list every unit start once, so that
// a window costs two binary searches however wide it is.
constexpr int64_t kStepLimit = 16;

bool Contains(const WordSpan& s, uint32_t word) {
  const int64_t w = word;
  return s.first >= 0 && w >= s.first && (s.end == -1 || w < s.end);
}

}  // namespace

CQUnitSpans::CQUnitSpans(int32_t unit, CQueryContext* context) : unit_(unit), context_(context) {
  db_ = context_ ? context_->GetDatabase() : nullptr;
  if (db_) {
    word_count_ = db_->GetWordCount();
    verses_ = db_->GetVerses();
    if (verses_ && verses_->FileCount() > 0) verse_count_ = verses_->FileCount() - 1;
  }
}

void CQUnitSpans::SetTagSpans(std::vector<WordSpan> spans) {
  tag_spans_ = std::move(spans);
  std::sort(tag_spans_.begin(), tag_spans_.end(),
            [](const WordSpan& a, const WordSpan& b) { return a.first < b.first; });
  has_last_unit_ = false;
}

WordSpan CQUnitSpans::LookUp(uint32_t word) {
  const WordIndex w = static_cast<WordIndex>(word);
  switch (unit_) {
    case kQUnitSentence: {
      if (lookup_failed_) return {0, -1};
      WordSpan s = db_->GetSentenceRange(w);
      // Without sentence data every look-up would warn again; one warning
      // per query is enough, and the answer stays the whole text.
      if (s.first == 0 && s.end == -1) lookup_failed_ = true;
      return s;
    }
    case kQUnitParagraph:
      return db_->GetUnitBounds(w);
    case kQUnitProposition:
      return context_->GetPropositionRange(w);
    default:
      return {};
  }
}

int64_t CQUnitSpans::VerseRecordOf(uint32_t word) const {
  if (verse_count_ == 0) return -1;
  const VerseNdx* rec = verses_->FileBegin();
  if (word >= rec[verse_count_].first_word) return -1;
  // The last record that begins at or before the word: a verse without
  // words that shares its first word with the next verse holds nothing.
  const VerseNdx* it =
      std::upper_bound(rec, rec + verse_count_, word,
                       [](uint32_t w, const VerseNdx& r) { return w < r.first_word; });
  if (it == rec) return -1;
  return (it - rec) - 1;
}

void CQUnitSpans::BuildChapters() {
  if (chapters_built_) return;
  chapters_built_ = true;
  const VerseNdx* rec = verse_count_ ? verses_->FileBegin() : nullptr;
  for (uint32_t i = 0; i < verse_count_; ++i) {
    if (i == 0 || rec[i].book != rec[i - 1].book || rec[i].chapter != rec[i - 1].chapter)
      chapter_records_.push_back(i);
  }
}

WordSpan CQUnitSpans::ChapterSpan(int64_t chapter) const {
  const VerseNdx* rec = verses_->FileBegin();
  const size_t k = static_cast<size_t>(chapter);
  const uint32_t first = rec[chapter_records_[k]].first_word;
  const uint32_t end = k + 1 < chapter_records_.size() ? rec[chapter_records_[k + 1]].first_word
                                                       : rec[verse_count_].first_word;
  return {static_cast<WordIndex>(first), static_cast<WordIndex>(end)};
}

CQUnitSpans::Unit CQUnitSpans::UnitOf(uint32_t word) {
  if (has_last_unit_ && Contains(last_unit_.span, word)) return last_unit_;
  Unit u;
  switch (unit_) {
    case kQUnitVerse: {
      const int64_t i = VerseRecordOf(word);
      if (i < 0) break;
      const VerseNdx* rec = verses_->FileBegin();
      u.span = {static_cast<WordIndex>(rec[i].first_word),
                static_cast<WordIndex>(rec[i + 1].first_word)};
      u.index = i;
      break;
    }
    case kQUnitChapter: {
      const int64_t i = VerseRecordOf(word);
      if (i < 0) break;
      BuildChapters();
      auto it = std::upper_bound(chapter_records_.begin(), chapter_records_.end(),
                                 static_cast<uint32_t>(i));
      u.index = (it - chapter_records_.begin()) - 1;
      u.span = ChapterSpan(u.index);
      break;
    }
    case kQUnitUserTag: {
      auto it = std::upper_bound(tag_spans_.begin(), tag_spans_.end(), static_cast<int64_t>(word),
                                 [](int64_t w, const WordSpan& s) { return w < s.first; });
      if (it != tag_spans_.begin() && Contains(*(it - 1), word)) u.span = *(it - 1);
      break;
    }
    case kQUnitSentence:
    case kQUnitParagraph:
    case kQUnitProposition: {
      if (!db_) break;
      WordSpan s = LookUp(word);
      if (Contains(s, word)) u.span = s;
      break;
    }
    default:
      break;
  }
  if (!u.IsNone()) {
    last_unit_ = u;
    has_last_unit_ = true;
  }
  return u;
}

WordSpan CQUnitSpans::Widen(const Unit& unit, int64_t back, int64_t forward) {
  if (unit.IsNone() || (back <= 0 && forward <= 0)) return unit.span;
  back = std::max<int64_t>(back, 0);
  forward = std::max<int64_t>(forward, 0);
  if (unit.span == last_widen_in_ && back == last_back_ && forward == last_forward_)
    return last_widen_out_;
  WordSpan out = unit.span;
  switch (unit_) {
    case kQUnitVerse: {
      const VerseNdx* rec = verses_->FileBegin();
      const int64_t a = std::max<int64_t>(unit.index - back, 0);
      const int64_t b = std::min<int64_t>(unit.index + 1 + forward, verse_count_);
      out = {static_cast<WordIndex>(rec[a].first_word), static_cast<WordIndex>(rec[b].first_word)};
      break;
    }
    case kQUnitChapter: {
      const int64_t n = static_cast<int64_t>(chapter_records_.size());
      const int64_t a = std::max<int64_t>(unit.index - back, 0);
      const int64_t b = std::min<int64_t>(unit.index + forward, n - 1);
      out = {ChapterSpan(a).first, ChapterSpan(b).end};
      break;
    }
    case kQUnitSentence:
    case kQUnitParagraph:
    case kQUnitProposition: {
      bool done = false;
      if ((back > kStepLimit || forward > kStepLimit) && unit.span.end != -1) {
        BuildStarts();
        auto it = std::lower_bound(starts_.begin(), starts_.end(),
                                   static_cast<uint32_t>(unit.span.first));
        const int64_t i = it - starts_.begin();
        const int64_t n = static_cast<int64_t>(starts_.size());
        const int64_t next = i + 1 < n ? starts_[i + 1] : word_count_;
        // The table answers only for units it lists exactly; anything else
        // is widened step by step.
        if (it != starts_.end() && *it == static_cast<uint32_t>(unit.span.first) &&
            next == unit.span.end) {
          const int64_t a = std::max<int64_t>(i - back, 0);
          const int64_t b = i + 1 + forward;
          out = {static_cast<WordIndex>(starts_[a]),
                 static_cast<WordIndex>(b < n ? starts_[b] : word_count_)};
          done = true;
        }
      }
      if (!done) out = WidenByStepping(unit.span, back, forward);
      break;
    }
    default:
      break;  // user-tag spans are never widened
  }
  last_widen_in_ = unit.span;
  last_back_ = back;
  last_forward_ = forward;
  last_widen_out_ = out;
  return out;
}

WordSpan CQUnitSpans::WidenByStepping(WordSpan span, int64_t back, int64_t forward) {
  WordIndex start = span.first;
  WordIndex end = span.end;
  for (int64_t k = 0; k < back && start > 0; ++k) {
    WordSpan s = LookUp(static_cast<uint32_t>(start - 1));
    if (s.first < 0 || s.first >= start) break;
    start = s.first;
  }
  for (int64_t k = 0; k < forward && end != -1 && static_cast<uint32_t>(end) < word_count_; ++k) {
    WordSpan s = LookUp(static_cast<uint32_t>(end));
    if (s.end == -1) {
      end = -1;
      break;
    }
    if (s.end <= end) break;
    end = s.end;
  }
  return {start, end};
}

void CQUnitSpans::BuildStarts() {
  if (starts_built_) return;
  starts_built_ = true;
  uint32_t s = 0;
  while (s < word_count_) {
    starts_.push_back(s);
    WordSpan u = LookUp(s);
    if (u.end == -1 || u.end <= static_cast<WordIndex>(s)) break;
    s = static_cast<uint32_t>(u.end);
  }
}

}  // namespace vorn
