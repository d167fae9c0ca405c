#include "layout/layout_units.h"

#include <algorithm>

#include "markup/propositions.h"
#include "metrics/view_metrics.h"
#include "platform/u16.h"
#include "textdb/verses.h"
#include "textdb/vorn_db.h"

namespace vorn {

namespace {

bool InDatabase(CVornDB* db, WordIndex word) {
  return word >= 0 && static_cast<uint32_t>(word) < db->GetWordCount();
}

WordSpan VerseSpan(CVornDB* db, WordIndex word) {
  if (!InDatabase(db, word) || !db->GetVerses()) return {};
  VerseEntry e = db->GetVerses()->VerseOfWord(word);
  return e ? db->GetVerses()->GetWordSpan(e) : WordSpan{};
}

// A range that must hold `word`: anything else (a failed look-up, a range
// open to the end of the text) falls back to the word's verse, so that a
// damaged table never makes one unit of the whole text.
WordSpan Checked(CVornDB* db, WordIndex word, WordSpan span) {
  if (span.first != -1 && span.end != -1 && span.first <= word && word < span.end) return span;
  return VerseSpan(db, word);
}

std::u16string Decimal(size_t n) { return platform::ToU16(std::to_string(n)); }

}  // namespace

bool IsValidUnit(const CLayoutUnit& unit) {
  return unit.GetFirstWord() >= 0 &&
         (unit.GetEndWord() == -1 || unit.GetEndWord() > unit.GetFirstWord());
}

// --- Verses and sentences.

CLayoutUnitVerse::CLayoutUnitVerse(CVornDB* db, CViewMetrics* metrics, WordIndex word)
    : CLayoutUnit(db, metrics) {
  const WordSpan span = VerseSpan(db, word);
  SetRange(span.first, span.end);
  TakeHeadings();
}

void CLayoutUnitVerse::GetIndents(int* first, int* continuation) const {
  *first = 0;
  *continuation = GetStandardIndent();
}

CLayoutUnitSent::CLayoutUnitSent(CVornDB* db, CViewMetrics* metrics, WordIndex word)
    : CLayoutUnit(db, metrics) {
  const WordSpan span =
      InDatabase(db, word) ? Checked(db, word, db->GetSentenceRange(word)) : WordSpan{};
  SetRange(span.first, span.end);
  TakeHeadings();
}

void CLayoutUnitSent::GetIndents(int* first, int* continuation) const {
  *first = 0;
  *continuation = GetStandardIndent();
}

// --- Paragraphs.

void ParagraphIndentSteps(std::u16string_view code, int* first, int* continuation) {
  *first = 0;
  *continuation = 0;
  for (char16_t c : code) {
    if (c == u'p') {
      *first = 1;
      *continuation = 0;
    } else if (c == u'q') {
      *first = 1;
      *continuation = 1;
    } else if (c >= u'0' && c <= u'9') {
      *first = *continuation = c - u'0';
    } else {
      *first = *continuation = 0;
    }
  }
}

CLayoutUnitPara::CLayoutUnitPara(CVornDB* db, CViewMetrics* metrics, WordIndex word)
    : CLayoutUnit(db, metrics) {
  const WordSpan span =
      InDatabase(db, word) ? Checked(db, word, db->GetUnitBounds(word)) : WordSpan{};
  SetRange(span.first, span.end);
  TakeHeadings();
}

void CLayoutUnitPara::GetIndents(int* first, int* continuation) const {
  ParagraphIndentSteps(first_ >= 0 ? db_->GetFormatCode(first_) : std::u16string(), first,
                       continuation);
  *first *= GetStandardIndent();
  *continuation *= GetStandardIndent();
}

// --- Propositions.

CLayoutUnitProp::CLayoutUnitProp(CVornDB* db, CViewMetrics* metrics, CPropositions* props,
                                 WordIndex word)
    : CLayoutUnit(db, metrics), props_(props) {
  const WordSpan span = PropositionOf(word, metrics->GetPropositionLevel(), &level_);
  SetRange(span.first, span.end);
  TakeHeadings();
}

WordSpan CLayoutUnitProp::PropositionOf(WordIndex word, int view_level, int* level) const {
  *level = 0;
  if (!InDatabase(db_, word)) return {};
  if (props_) {
    const WordSpan span = Checked(db_, word, props_->GetProposition(word, view_level, level));
    // Files are checked on reading; this keeps the indent arithmetic sound
    // whatever an analysis holds.
    *level = std::clamp(*level, 0, kMaxPropLevel);
    return span;
  }
  return Checked(db_, word, db_->GetSentenceRange(word));
}

void CLayoutUnitProp::GetIndents(int* first, int* continuation) const {
  *first = level_ * GetStandardIndent();
  *continuation = *first + GetStandardIndent() / 3;
}

void CLayoutUnitProp::LayoutBody() {
  // Deeper propositions merged into this one at the view's level are part
  // of the range but are not shown: only the first proposition is laid out.
  int ignored = 0;
  const WordSpan own = PropositionOf(first_, kAllLevels, &ignored);
  WordIndex first = own.first;
  WordIndex end = own.end;
  SwapRange(&first, &end);
  CLayoutUnit::LayoutBody();
  SwapRange(&first, &end);

  const int step = GetStandardIndent();
  for (size_t n = 0; n < body_lines_.size(); ++n) {
    CLayoutLine* line = body_lines_[n].get();
    const int height = line->GetHeight();
    // Outermost bar first; the innermost bar of a proposition's first line
    // shows its level.
    std::vector<std::unique_ptr<CLayoutBox>> front;
    front.reserve(static_cast<size_t>(level_) + 1);
    for (int i = level_; i >= 1; --i) {
      auto bar = std::make_unique<CLayoutBoxSpace>(metrics_, step, height, true);
      if (n == 0 && i == 1) bar->SetLabel(platform::ToU16(std::to_string(level_ + 1)));
      front.push_back(std::move(bar));
    }
    if (level_ * step < line->GetIndent()) {
      front.push_back(std::make_unique<CLayoutBoxSpace>(metrics_, step / 3, 0, false));
    }
    line->PrependAll(std::move(front));
    line->SetIndent(0);
  }
}

// --- Hit verses and concordance lines.

CLayoutUnitHitVerse::CLayoutUnitHitVerse(CVornDB* db, CViewMetrics* metrics, WordIndex hit,
                                         WordSpan zone)
    : CLayoutUnit(db, metrics), hit_(hit) {
  if (InDatabase(db, hit)) SetRange(zone.first, zone.end);
}

void CLayoutUnitHitVerse::GetIndents(int* first, int* continuation) const {
  *first = 0;
  if (reference_width_ >= 0) {
    *continuation = reference_width_;
  } else if (!body_lines_.empty()) {
    *continuation = body_lines_.front()->GetRight();
  } else {
    *continuation = GetStandardIndent();
  }
}

void CLayoutUnitHitVerse::LayoutBody() {
  CLayoutLine* line = AddBodyLine(0, nullptr);
  std::unique_ptr<CLayoutBox> ref = MakeRefBox(hit_);
  line->Append(ref, true);
  // Remembered, so that running text indents the wrapped lines by the
  // reference and not by the whole first line.
  reference_width_ = line->GetRight();
  const WordSpan verse = VerseSpan(db_, hit_);
  if (verse.first == -1) return;
  WordIndex first = verse.first;
  WordIndex end = verse.end;
  SwapRange(&first, &end);
  CLayoutUnit::LayoutBody();
  SwapRange(&first, &end);
}

CLayoutUnitConcord::CLayoutUnitConcord(CVornDB* db, CViewMetrics* metrics, WordIndex hit,
                                       WordSpan zone)
    : CLayoutUnit(db, metrics), hit_(hit) {
  if (InDatabase(db, hit)) SetRange(zone.first, zone.end);
}

void CLayoutUnitConcord::LayoutBody() {
  CLayoutLine* line = AddBodyLine(0, nullptr);
  std::unique_ptr<CLayoutBox> ref = MakeRefBox(hit_);
  std::unique_ptr<CLayoutBox> hit = MakeWordBox(hit_);
  const int ref_width = ref->GetWidth();
  const int a = (hit->GetWidth() + metrics_->GetWidth() - ref_width) / 2;
  line->Append(hit, false);
  for (WordIndex n = hit_ - 1; n >= 0; --n) {
    std::unique_ptr<CLayoutBox> box = MakeWordBox(n);
    if (!line->Prepend(box, a, false)) break;
  }
  if (a - line->GetRight() > 0) {
    std::unique_ptr<CLayoutBox> pad =
        std::make_unique<CLayoutBoxSpace>(metrics_, a - line->GetRight(), 0, false);
    line->Prepend(pad, a, false);
  }
  line->Prepend(ref, 0, true);
  const WordIndex count = static_cast<WordIndex>(db_->GetWordCount());
  for (WordIndex n = hit_ + 1; n < count; ++n) {
    std::unique_ptr<CLayoutBox> box = MakeWordBox(n);
    if (!line->Append(box, false)) break;
  }
}

// --- Reference list.

CLayoutUnitRefs::CLayoutUnitRefs(CVornDB* db, CViewMetrics* metrics, const CDBWordList* hits)
    : CLayoutUnit(db, metrics), hits_(hits), end_place_(hits ? hits->size() : 0) {
  SetRange(0, -1);
}

CLayoutUnitRefs::CLayoutUnitRefs(CVornDB* db, CViewMetrics* metrics, const CDBWordList* hits,
                                 size_t first_place, size_t end_place, WordSpan range)
    : CLayoutUnit(db, metrics),
      hits_(hits),
      first_place_(first_place),
      end_place_(end_place),
      one_line_(true),
      line_range_(range) {
  SetRange(range.first, range.end);
}

void CLayoutUnitRefs::LayoutHeadings() {
  if (one_line_ && first_place_ != 0) return;
  const CFontFormat* font = &metrics_->GetVerseFont(CViewMetrics::kRefFont);
  CLayoutLine* line = AddHeadingLine(0, font);
  auto add = [&](std::u16string text) {
    std::unique_ptr<CLayoutBox> box =
        std::make_unique<CLayoutBoxHeading>(metrics_, std::move(text), font);
    if (!line->Append(box, false)) {
      line = AddHeadingLine(0, font);
      line->Append(box, false);
    }
  };
  const size_t total = hits_ ? hits_->size() : 0;
  // A line of the list stands for the whole list in its heading, unless it
  // was cut to part of the text.
  const bool whole_line = one_line_ && first_ == line_range_.first && end_ == line_range_.end;
  const bool all_inside =
      whole_line || (total > 0 && Contains(static_cast<WordIndex>((*hits_)[0])) &&
                     Contains(static_cast<WordIndex>((*hits_)[total - 1])));
  if (!all_inside) {
    size_t inside = 0;
    for (size_t i = 0; i < total; ++i) inside += Contains(static_cast<WordIndex>((*hits_)[i]));
    add(Decimal(inside));
    add(u"of");
  }
  add(Decimal(total));
  add(total == 1 ? u"occurrence:" : u"occurrences:");
  line->SetEndsParagraph(true);
  const int free = metrics_->GetWidth() - line->GetRight();
  if (free > 0) line->SetIndent(free / 2);
}

void CLayoutUnitRefs::LayoutBody() {
  if (!hits_) return;
  const CFontFormat* font = &metrics_->GetVerseFont(CViewMetrics::kRefFont);
  CLayoutLine* line = nullptr;
  const size_t end = std::min(end_place_, hits_->size());
  for (size_t place = first_place_; place < end; ++place) {
    const WordIndex w = static_cast<WordIndex>((*hits_)[place]);
    if (!Contains(w)) continue;
    if (!line) line = AddBodyLine(0, font);
    std::unique_ptr<CLayoutBox> box = MakeRefBox(w);
    if (!line->Append(box, false)) {
      line = AddBodyLine(0, font);
      line->Append(box, false);
    }
  }
}

}  // namespace vorn
