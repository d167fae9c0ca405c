#include <algorithm>

#include "layout/layout.h"
#include "layout/layout_units.h"
#include "metrics/view_metrics.h"
#include "textdb/vorn_db.h"

namespace vorn {

CLayout::CLayout(CVornDB* db, CViewMetrics* metrics, std::u16string name)
    : db_(db), metrics_(metrics), name_(std::move(name)) {}

CLayout::~CLayout() = default;

std::unique_ptr<CLayoutUnit> CLayout::GetPrevUnit(const CLayoutUnit& unit) {
  if (unit.GetFirstWord() <= 0) return nullptr;
  std::unique_ptr<CLayoutUnit> prev = CreateUnit(unit.GetFirstWord() - 1);
  // A unit that does not lie before this one would make scrolling go round
  // in circles.
  if (prev && prev->GetFirstWord() >= unit.GetFirstWord()) return nullptr;
  return prev;
}

std::unique_ptr<CLayoutUnit> CLayout::GetNextUnit(const CLayoutUnit& unit) {
  const WordIndex end = unit.GetEndWord();
  if (end == -1 || static_cast<uint32_t>(end) >= db_->GetWordCount()) return nullptr;
  std::unique_ptr<CLayoutUnit> next = CreateUnit(end);
  if (next && next->GetEndWord() != -1 && next->GetEndWord() <= end) return nullptr;
  return next;
}

void CLayout::Clear() {
  units_.clear();
  top_ = 0;
  bottom_ = 0;
}

std::unique_ptr<CLayoutUnit> CLayout::MakeUnit(WordIndex key) {
  std::unique_ptr<CLayoutUnit> unit = CreateUnit(key);
  if (unit) unit->EnsureLaidOut();
  return unit;
}

void CLayout::FillAbove(int* dy) {
  while (top_ > 0) {
    std::unique_ptr<CLayoutUnit> prev = GetPrevUnit(*units_.front());
    if (!prev) {
      const int o = top_;
      top_ = 0;
      bottom_ -= o;
      *dy -= o;
      return;
    }
    prev->EnsureLaidOut();
    top_ -= prev->GetHeight();
    units_.push_front(std::move(prev));
  }
}

int CLayout::Scroll(int dy) {
  const int window = metrics_->GetHeight();
  if (units_.empty()) {
    std::unique_ptr<CLayoutUnit> unit = MakeUnit(0);
    if (!unit) return 0;
    bottom_ = top_ + unit->GetHeight();
    units_.push_back(std::move(unit));
  }
  top_ += dy;
  bottom_ += dy;
  FillAbove(&dy);
  if (bottom_ >= window) return dy;
  while (bottom_ < window) {
    std::unique_ptr<CLayoutUnit> next = GetNextUnit(*units_.back());
    if (!next) break;
    next->EnsureLaidOut();
    bottom_ += next->GetHeight();
    units_.push_back(std::move(next));
  }
  if (bottom_ < window) {
    // The end of the text: it ends at the window's bottom, unless the whole
    // text is shorter than the window, which then starts at the top.
    const int room = window - bottom_;
    top_ += room;
    dy += room;
    bottom_ = window;
    FillAbove(&dy);
  }
  return dy;
}

int CLayout::Rebuild(WordIndex focus, int focus_y, bool with_headings) {
  Clear();
  std::unique_ptr<CLayoutUnit> unit = MakeUnit(focus);
  if (!unit) return focus_y;
  bottom_ = unit->GetHeight();
  const int o = unit->GetWordY(focus);
  if (with_headings && focus == unit->GetFirstWord()) focus_y += unit->GetHeadingsHeight();
  units_.push_back(std::move(unit));
  return o + Scroll(focus_y - o);
}

void CLayout::Draw() {
  const int window = metrics_->GetHeight();
  int y = top_;
  for (const auto& unit : units_) {
    if (y >= window) break;
    unit->Draw(y);
    y += unit->GetHeight();
  }
}

CLayoutBox* CLayout::HitTest(int x, int y, int* box_left, int* line_top) const {
  int c = top_;
  if (y < c) return nullptr;
  for (const auto& unit : units_) {
    const int h = unit->GetHeight();
    if (y < c + h) {
      int top = 0;
      CLayoutBox* box = unit->HitTest(x, y - c, box_left, &top);
      if (line_top) *line_top = top + c;
      return box;
    }
    c += h;
  }
  return nullptr;
}

bool CLayout::GetWordY(WordIndex word, int* y) const {
  int c = top_;
  for (const auto& unit : units_) {
    if (unit->Contains(word)) {
      *y = c + unit->GetWordY(word);
      return true;
    }
    c += unit->GetHeight();
  }
  return false;
}

WordIndex CLayout::GetTopWord(int* y) const {
  const int window = metrics_->GetHeight();
  int u = top_;
  for (const auto& unit : units_) {
    if (u >= window) break;
    const WordIndex w = unit->GetTopWord(u, y);
    if (w != -1) return w;
    u += unit->GetHeight();
  }
  return -1;
}

// --- Caret moves.

CLayoutUnit* CLayout::UnitHolding(WordIndex word, size_t* index) {
  for (size_t i = 0; i < units_.size(); ++i) {
    if (units_[i]->Contains(word)) {
      *index = i;
      return units_[i].get();
    }
  }
  Clear();
  std::unique_ptr<CLayoutUnit> unit = MakeUnit(word);
  if (!unit) return nullptr;
  bottom_ = unit->GetHeight();
  units_.push_back(std::move(unit));
  *index = 0;
  return units_.front().get();
}

CLayoutUnit* CLayout::LoadPrev(size_t* index) {
  if (*index > 0) return units_[--*index].get();
  std::unique_ptr<CLayoutUnit> prev = GetPrevUnit(*units_.front());
  if (!prev) return nullptr;
  prev->EnsureLaidOut();
  // Units above the first one move the top up, so that the lines already
  // loaded stay where they are.
  top_ -= prev->GetHeight();
  units_.push_front(std::move(prev));
  return units_.front().get();
}

CLayoutUnit* CLayout::LoadNext(size_t index) {
  if (index + 1 < units_.size()) return units_[index + 1].get();
  std::unique_ptr<CLayoutUnit> next = GetNextUnit(*units_.back());
  if (!next) return nullptr;
  next->EnsureLaidOut();
  bottom_ += next->GetHeight();
  units_.push_back(std::move(next));
  return units_.back().get();
}

WordIndex CLayout::LineStartWord(WordIndex word) {
  size_t index = 0;
  const CLayoutUnit* unit = UnitHolding(word, &index);
  const CLayoutLine* line = unit ? unit->FindBodyLine(word) : nullptr;
  return line ? line->GetFirstWord() : word;
}

WordIndex CLayout::LineEndWord(WordIndex word) {
  size_t index = 0;
  const CLayoutUnit* unit = UnitHolding(word, &index);
  const CLayoutLine* line = unit ? unit->FindBodyLine(word) : nullptr;
  return line ? line->GetEndWord() - 1 : word;
}

WordIndex CLayout::WordAbove(WordIndex word) {
  size_t index = 0;
  const CLayoutUnit* unit = UnitHolding(word, &index);
  size_t at = 0;
  const CLayoutLine* line = unit ? unit->FindBodyLine(word, &at) : nullptr;
  if (!line) return word;
  const int x = line->WordCentreX(word);
  WordIndex found = -1;
  if (at > 0) {
    found = unit->GetBodyLines()[at - 1]->WordAtX(x);
  } else if (const CLayoutUnit* prev = LoadPrev(&index)) {
    if (!prev->GetBodyLines().empty()) found = prev->GetBodyLines().back()->WordAtX(x);
  }
  return found == -1 ? word : found;
}

WordIndex CLayout::WordBelow(WordIndex word) {
  size_t index = 0;
  const CLayoutUnit* unit = UnitHolding(word, &index);
  size_t at = 0;
  const CLayoutLine* line = unit ? unit->FindBodyLine(word, &at) : nullptr;
  if (!line) return word;
  const int x = line->WordCentreX(word);
  WordIndex found = -1;
  if (at + 1 < unit->GetBodyLines().size()) {
    found = unit->GetBodyLines()[at + 1]->WordAtX(x);
  } else if (const CLayoutUnit* next = LoadNext(index)) {
    if (!next->GetBodyLines().empty()) found = next->GetBodyLines().front()->WordAtX(x);
  }
  return found == -1 ? word : found;
}

WordIndex CLayout::NearestShownWord(WordIndex word, bool forward) {
  size_t index = 0;
  const CLayoutUnit* unit = UnitHolding(word, &index);
  if (!unit) return word;
  Scroll(0);
  // Scrolling may have put units in front of this one.
  for (size_t i = 0; i < units_.size(); ++i)
    if (units_[i].get() == unit) index = i;
  const WordSpan shown = unit->GetShownRange();
  const WordIndex s = shown.first;
  const WordIndex e = shown.end;
  if (s != -1 && word >= s && (e == -1 || word < e)) return word;
  if (forward) {
    if (s != -1 && word < s) return s;
    const CLayoutUnit* next = LoadNext(index);
    if (next && next->GetShownRange().first != -1) return next->GetShownRange().first;
    return e > 0 ? e - 1 : word;
  }
  if (e != -1 && word >= e) return e - 1;
  const CLayoutUnit* prev = LoadPrev(&index);
  if (prev && prev->GetShownRange().end > 0) return prev->GetShownRange().end - 1;
  return s != -1 ? s : word;
}

// --- Output and printing.

void CLayout::BuildForSelection(const std::vector<WordIndex>& selection, bool leading_headings) {
  Clear();
  for_output_ = true;
  if (selection.empty()) return;
  const WordIndex f = selection.front();
  const WordIndex l = selection.back();
  std::unique_ptr<CLayoutUnit> unit = CreateUnit(f);
  if (!unit) return;
  if (unit->GetFirstWord() < f) unit->SetRange(f, unit->GetEndWord());
  if (!leading_headings) unit->DropHeadings();
  units_.push_back(std::move(unit));
  for (;;) {
    const WordIndex end = units_.back()->GetEndWord();
    if (end == -1 || end > l) break;
    std::unique_ptr<CLayoutUnit> next = CreateUnit(end);
    // A unit that does not reach past the last one ends the walk rather
    // than looping.
    if (!next || (next->GetEndWord() != -1 && next->GetEndWord() <= end)) break;
    units_.push_back(std::move(next));
  }
  CLayoutUnit& last = *units_.back();
  if (last.Contains(l + 1)) last.SetRange(last.GetFirstWord(), l + 1);
  for (auto& u : units_) {
    auto it = std::lower_bound(selection.begin(), selection.end(), u->GetFirstWord());
    if (it != selection.end() && u->Contains(*it)) u->EnsureLaidOut();
    bottom_ += u->GetHeight();
  }
}

WordIndex CLayout::FillPage(WordIndex first, WordIndex end) {
  Clear();
  for_output_ = true;
  std::unique_ptr<CLayoutUnit> unit = CreateUnit(first);
  if (!unit) return first;
  if (unit->GetFirstWord() < first) unit->SetRange(first, unit->GetEndWord());
  const int page = metrics_->GetHeight();
  int y = 0;
  while (unit) {
    CLayoutUnit* u = unit.get();
    units_.push_back(std::move(unit));
    if (end != -1 && u->Contains(end)) u->SetRange(u->GetFirstWord(), end);
    u->EnsureLaidOut();
    if (y + u->GetHeight() > page) {
      if (u->TruncateToHeight(page - y)) {
        units_.pop_back();
      } else {
        y += u->GetHeight();
      }
      break;
    }
    y += u->GetHeight();
    const WordIndex unit_end = u->GetEndWord();
    const bool more = unit_end != -1 && (end == -1 || unit_end < end);
    if (y >= page || !more) break;
    unit = GetNextUnit(*u);
  }
  bottom_ = y;
  return units_.empty() ? first : units_.back()->GetEndWord();
}

}  // namespace vorn
