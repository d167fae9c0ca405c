#include "layout/layout_unit.h"

#include <algorithm>

#include "metrics/view_metrics.h"
#include "textdb/vorn_db.h"

namespace vorn {

CLayoutUnit::CLayoutUnit(CVornDB* db, CViewMetrics* metrics) : db_(db), metrics_(metrics) {}

CLayoutUnit::~CLayoutUnit() = default;

void CLayoutUnit::TakeHeadings() { headings_ = first_ >= 0 ? db_->GetHeading(first_) : nullptr; }

void CLayoutUnit::SwapRange(WordIndex* first, WordIndex* end) {
  std::swap(first_, *first);
  std::swap(end_, *end);
}

void CLayoutUnit::EnsureLaidOut() {
  if (!needs_layout_) return;
  LayoutHeadings();
  LayoutBody();
  needs_layout_ = false;
}

void CLayoutUnit::SetRange(WordIndex first, WordIndex end) {
  if (first_ != -1 && end != end_) end_trimmed_ = true;
  if (first != first_) headings_.reset();
  first_ = first;
  end_ = end;
}

bool CLayoutUnit::Contains(WordIndex word) const {
  return first_ != -1 && word >= first_ && (end_ == -1 || word < end_);
}

int CLayoutUnit::GetHeadingsHeight() const {
  int h = 0;
  for (const auto& line : heading_lines_) h += line->GetHeight();
  return h;
}

int CLayoutUnit::GetHeight() const {
  int h = GetHeadingsHeight();
  for (const auto& line : body_lines_) h += line->GetHeight();
  return h;
}

int CLayoutUnit::GetStandardIndent() const { return metrics_->GetStandardIndent(); }

void CLayoutUnit::GetIndents(int* first, int* continuation) const {
  *first = 0;
  *continuation = 0;
}

const CFontFormat& CLayoutUnit::GetHeadingFont(int level) const {
  return metrics_->GetHeadingFont(level);
}

CLayoutLine* CLayoutUnit::AddBodyLine(int indent, const CFontFormat* font) {
  body_lines_.push_back(std::make_unique<CLayoutLine>(metrics_, indent, font));
  return body_lines_.back().get();
}

CLayoutLine* CLayoutUnit::AddHeadingLine(int indent, const CFontFormat* font) {
  heading_lines_.push_back(std::make_unique<CLayoutLine>(metrics_, indent, font));
  return heading_lines_.back().get();
}

std::unique_ptr<CLayoutBox> CLayoutUnit::MakeWordBox(WordIndex word) {
  return std::make_unique<CLayoutBoxWord>(db_, metrics_, word);
}

std::unique_ptr<CLayoutBox> CLayoutUnit::MakeRefBox(WordIndex word) {
  return std::make_unique<CLayoutBoxRef>(db_, metrics_, word);
}

void CLayoutUnit::LayoutBody() {
  int first_indent = 0;
  int continuation = 0;
  GetIndents(&first_indent, &continuation);
  CLayoutLine* line =
      body_lines_.empty() ? AddBodyLine(first_indent, nullptr) : body_lines_.back().get();
  const WordIndex count = static_cast<WordIndex>(db_->GetWordCount());
  const WordIndex end = end_ == -1 || end_ > count ? count : end_;
  const int step = GetStandardIndent();
  bool carry = false;
  int carried = 0;
  for (WordIndex w = std::max(first_, 0); w < end; ++w) {
    auto word_box = std::make_unique<CLayoutBoxWord>(db_, metrics_, w);
    CWordTags* tags = word_box->GetTags();
    int level = 0;
    const bool new_line = tags && tags->StartsNewLine(&level);
    if (new_line || carry) {
      const int x = (new_line ? level : carried) * step;
      if (!line->IsEmpty()) {
        line->SetEndsParagraph(true);
        line = AddBodyLine(x, nullptr);
      } else {
        line->SetIndent(x);
      }
    }
    int next_level = 0;
    carry = tags && tags->EndsLine(&next_level);
    if (carry) carried = next_level;
    std::unique_ptr<CLayoutBox> box = std::move(word_box);
    if (!line->Append(box, false)) {
      line = AddBodyLine(continuation, nullptr);
      line->Append(box, false);
    }
  }
}

void CLayoutUnit::LayoutHeadings() {
  for (const CHeading* h = headings_.get(); h; h = h->GetNext()) {
    const CFontFormat* font = &GetHeadingFont(h->GetLevel());
    CLayoutLine* line = AddHeadingLine(0, font);
    for (const char16_t* text : h->GetTexts()) {
      std::unique_ptr<CLayoutBox> box = std::make_unique<CLayoutBoxHeading>(metrics_, text, font);
      if (!line->Append(box, false)) {
        line = AddHeadingLine(0, font);
        line->Append(box, false);
      }
    }
    line->SetEndsParagraph(true);
  }
  for (auto& line : heading_lines_) {
    const int free = metrics_->GetWidth() - line->GetRight();
    if (free > 0) line->SetIndent(free / 2);
  }
}

void CLayoutUnit::Draw(int y) {
  const int height = metrics_->GetHeight();
  for (const auto* lines : {&heading_lines_, &body_lines_}) {
    for (const auto& line : *lines) {
      if (y + line->GetHeight() >= 0 && y < height) line->Draw(y);
      y += line->GetHeight();
    }
  }
}

CLayoutBox* CLayoutUnit::HitTest(int x, int y, int* box_left, int* line_top) const {
  int top = GetHeadingsHeight();
  if (y < top) return nullptr;
  for (const auto& line : body_lines_) {
    if (y < top + line->GetHeight()) {
      if (line_top) *line_top = top;
      return line->HitTest(x, box_left);
    }
    top += line->GetHeight();
  }
  return nullptr;
}

int CLayoutUnit::GetWordY(WordIndex word) const {
  if (!Contains(word)) return -1;
  int y = GetHeadingsHeight();
  int before = y;  // the top of the last line starting at or before the word
  for (const auto& line : body_lines_) {
    if (line->HoldsWord(word)) return y;
    if (line->GetFirstWord() != -1 && line->GetFirstWord() <= word) before = y;
    y += line->GetHeight();
  }
  return before;
}

WordIndex CLayoutUnit::GetTopWord(int top, int* y) const {
  const int window = metrics_->GetHeight();
  if (top > window) return -1;
  int u = top + GetHeadingsHeight();
  if (u >= window) {
    if (!body_lines_.empty() && !body_lines_.front()->IsEmpty()) {
      *y = u;
      return body_lines_.front()->GetFirstWord();
    }
    return -1;
  }
  const int text_height = metrics_->GetLineFont(metrics_->GetTopVisibleLine()).GetTextHeight();
  for (const auto& line : body_lines_) {
    if (u >= window) return -1;
    // A line that starts above the window still counts when it reaches
    // down to the window's bottom: nothing else starts in the window then.
    const int bottom = u + line->GetHeight();
    if (u >= 0 || (bottom > window / 2 && bottom > window - text_height / 2)) {
      *y = u;
      return line->GetPreferredWord();
    }
    u = bottom;
  }
  return -1;
}

const CLayoutLine* CLayoutUnit::FindBodyLine(WordIndex word, size_t* index) const {
  for (size_t i = 0; i < body_lines_.size(); ++i) {
    if (body_lines_[i]->HoldsWord(word)) {
      if (index) *index = i;
      return body_lines_[i].get();
    }
  }
  return nullptr;
}

WordSpan CLayoutUnit::GetShownRange() const {
  if (body_lines_.empty()) return {};
  return {body_lines_.front()->GetFirstWord(), body_lines_.back()->GetEndWord()};
}

bool CLayoutUnit::TruncateToHeight(int height) {
  int sum = GetHeadingsHeight();
  if (sum >= height) return true;
  size_t i = 0;
  for (; i < body_lines_.size(); ++i) {
    sum += body_lines_[i]->GetHeight();
    if (sum > height) break;
  }
  if (i == body_lines_.size()) return false;
  if (i == 0) return true;
  // A line without words (nothing in it to start the rest from) cannot be
  // the cut; the unit then ends where the last fitting line ends.
  WordIndex cut = body_lines_[i]->GetFirstWord();
  if (cut == -1) cut = body_lines_[i - 1]->GetEndWord();
  SetRange(first_, cut);
  body_lines_.erase(body_lines_.begin() + static_cast<std::ptrdiff_t>(i), body_lines_.end());
  return false;
}

}  // namespace vorn
