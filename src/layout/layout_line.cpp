#include "layout/layout_line.h"

#include <algorithm>
#include <iterator>

#include "layout/layout_twips.h"
#include "metrics/view_metrics.h"
#include "platform/u16.h"
#include "textdb/font_format.h"

namespace vorn {

namespace {

std::u16string Decimal(int n) { return platform::ToU16(std::to_string(n)); }

}  // namespace

CLayoutLine::CLayoutLine(CViewMetrics* metrics, int indent, const CFontFormat* font)
    : metrics_(metrics), font_(font), indent_(indent), right_(indent) {}

CLayoutLine::~CLayoutLine() = default;

bool CLayoutLine::AddBox(std::unique_ptr<CLayoutBox>& box, bool at_front, int limit, bool force) {
  const int width = box->GetWidth();
  const int need = right_ + width;
  if (limit < need) {
    if (!force && !boxes_.empty()) return false;
    // The indent gives way first, so a line always takes its first box.
    int indent = indent_ + limit - need;
    if (indent < 1) indent = 0;
    right_ += indent - indent_;
    indent_ = indent;
  }
  const WordIndex w = box->GetWordIndex();
  right_ += width;
  height_ = std::max(height_, box->GetHeight());
  if (w >= 0) {
    first_word_ = first_word_ == -1 ? w : std::min(first_word_, w);
    end_word_ = end_word_ == -1 ? w + 1 : std::max(end_word_, w + 1);
  }
  if (at_front) {
    boxes_.insert(boxes_.begin(), std::move(box));
  } else {
    boxes_.push_back(std::move(box));
  }
  return true;
}

bool CLayoutLine::Append(std::unique_ptr<CLayoutBox>& box, bool force) {
  return AddBox(box, false, metrics_->GetWidth(), force);
}

bool CLayoutLine::Prepend(std::unique_ptr<CLayoutBox>& box, int limit, bool force) {
  return AddBox(box, true, limit, force);
}

void CLayoutLine::PrependAll(std::vector<std::unique_ptr<CLayoutBox>> boxes) {
  // One insertion for the lot: prepending box by box would move every box
  // already on the line once per box.
  int width = 0;
  for (const auto& box : boxes) {
    width += box->GetWidth();
    height_ = std::max(height_, box->GetHeight());
    const WordIndex w = box->GetWordIndex();
    if (w >= 0) {
      first_word_ = first_word_ == -1 ? w : std::min(first_word_, w);
      end_word_ = end_word_ == -1 ? w + 1 : std::max(end_word_, w + 1);
    }
  }
  if (right_ + width > 0) {
    right_ -= indent_;
    indent_ = 0;
  }
  right_ += width;
  boxes_.insert(boxes_.begin(), std::make_move_iterator(boxes.begin()),
                std::make_move_iterator(boxes.end()));
}

void CLayoutLine::SetIndent(int x) {
  right_ += x - indent_;
  indent_ = x;
}

bool CLayoutLine::IsRightToLeft() const {
  return font_ ? font_->right_to_left() : metrics_->IsRightToLeft();
}

int CLayoutLine::OffsetOf(size_t index) const {
  int offset = indent_;
  for (size_t i = 0; i < index && i < boxes_.size(); ++i) offset += boxes_[i]->GetWidth();
  return offset;
}

int CLayoutLine::ScreenLeft(int offset, int width) const {
  return IsRightToLeft() ? metrics_->GetWidth() - offset - width : offset;
}

void CLayoutLine::Draw(int y) {
  const bool rtl = IsRightToLeft();
  int offset = indent_;
  for (auto& box : boxes_) {
    box->Draw(rtl ? metrics_->GetWidth() - offset : offset, y, rtl);
    offset += box->GetWidth();
  }
}

CLayoutBox* CLayoutLine::HitTest(int x, int* box_left) const {
  if (IsRightToLeft()) x = metrics_->GetWidth() - x;
  if (x < indent_) return nullptr;
  int offset = indent_;
  for (const auto& box : boxes_) {
    if (x < offset + box->GetWidth()) {
      if (box_left) *box_left = ScreenLeft(offset, box->GetWidth());
      return box.get();
    }
    offset += box->GetWidth();
  }
  return nullptr;
}

CLayoutBox* CLayoutLine::FindBox(WordIndex word, int* box_left) const {
  int offset = indent_;
  for (const auto& box : boxes_) {
    if (box->GetWordIndex() == word) {
      if (box_left) *box_left = ScreenLeft(offset, box->GetWidth());
      return box.get();
    }
    offset += box->GetWidth();
  }
  return nullptr;
}

const CLayoutBox* CLayoutLine::FirstWordBox() const {
  for (const auto& box : boxes_)
    if (!box->IsSpace()) return box.get();
  return nullptr;
}

WordIndex CLayoutLine::WordAtX(int x) const {
  if (boxes_.empty()) return -1;
  if (IsRightToLeft()) x = metrics_->GetWidth() - x;
  const CLayoutBox* found = nullptr;
  if (x < indent_) {
    found = FirstWordBox();
  } else if (x >= right_) {
    found = boxes_.back().get();
  } else {
    int offset = indent_;
    for (const auto& box : boxes_) {
      if (x < offset + box->GetWidth()) {
        found = box->IsSpace() ? FirstWordBox() : box.get();
        break;
      }
      offset += box->GetWidth();
    }
  }
  return found ? found->GetWordIndex() : -1;
}

int CLayoutLine::WordCentreX(WordIndex word) const {
  int left = 0;
  const CLayoutBox* box = FindBox(word, &left);
  return box ? left + box->GetWidth() / 2 : -1;
}

WordIndex CLayoutLine::GetPreferredWord() const {
  for (const auto& box : boxes_) {
    const WordIndex w = box->GetWordIndex();
    if (w >= 0 && metrics_->IsSelected(w)) return w;
  }
  return first_word_;
}

// --- Output.

void CLayoutLine::WriteRtfRow(std::u16string* out) const {
  const bool rtl = IsRightToLeft();
  const CLayoutTwips twips(*metrics_);
  *out += u"\\pard\\intbl\\keep\\keepn";
  if (rtl) *out += u"\\qr\\rtlpar";
  *out += u"\r\n";
  *out += u"\\trowd\\trgaph" + Decimal(twips(metrics_->GetSpaceUnit()) / 4);

  const int t = twips(indent_);
  auto cell_format = [rtl](const CLayoutBox& box) {
    std::u16string c = box.GetCellFormat(rtl);
    return c.empty() ? c : u"\r\n" + c;
  };
  std::u16string contents;
  if (!rtl) {
    *out += u"\\trleft0";
    int x = t;
    if (t != 0) {
      *out += u"\\cellx" + Decimal(t);
      contents += u"\\cell\r\n";
    }
    // A box wider than the view (a line always takes its first box) or the
    // rounding of many cells never takes the row past the view's width.
    const int limit = twips(metrics_->GetWidth());
    for (const auto& box : boxes_) {
      x = std::min(limit, x + twips(box->GetWidth()));
      *out += cell_format(*box) + u"\\cellx" + Decimal(x);
      contents += box->GetRtf(rtl) + u"\\cell\r\n";
    }
  } else {
    // The first box is the rightmost cell: cells are collected from the
    // right edge of the view leftwards and written left to right. The row
    // says so (\ltrrow): some readers otherwise take the right-to-left
    // paragraphs for a right-to-left row and mirror the cells once more.
    *out += u"\\ltrrow";
    int x = twips(metrics_->GetWidth());
    std::u16string cells;
    if (t != 0) {
      cells = u"\\cellx" + Decimal(x);
      contents = u"\\cell\r\n";
      x -= t;
    }
    for (const auto& box : boxes_) {
      cells = cell_format(*box) + u"\\cellx" + Decimal(x) + cells;
      contents = box->GetRtf(rtl) + u"\\cell\r\n" + contents;
      x = std::max(0, x - twips(box->GetWidth()));
    }
    *out += u"\\trleft" + Decimal(x) + cells;
  }
  *out += u"\r\n";
  *out += contents;
  *out += u"\\row\r\n\\pard\\par\r\n";
}

void CLayoutLine::WriteRtfText(std::u16string* out, std::u16string_view separator,
                               bool* written) const {
  const bool rtl = IsRightToLeft();
  for (const auto& box : boxes_) {
    const std::u16string rtf = box->GetRtf(rtl);
    if (rtf.empty()) continue;
    if (*written) *out += separator;
    *out += rtf;
    *written = true;
  }
}

void CLayoutLine::WriteText(std::u16string* out, std::u16string_view separator, bool indent) const {
  if (indent && indent_ != 0) {
    const int step = metrics_->GetStandardIndent();
    const int tabs = step > 0 ? (indent_ - 1) / step + 1 : 1;
    out->append(static_cast<size_t>(std::max(tabs, 1)), u'\t');
  }
  // A run-on line leaves out its leading blanks (the bars and steps of a
  // wrapped proposition) for the same reason as its indent.
  size_t first = 0;
  if (!indent)
    while (first < boxes_.size() && boxes_[first]->IsSpace()) ++first;
  for (size_t i = first; i < boxes_.size(); ++i) {
    if (i > first) *out += separator;
    *out += boxes_[i]->GetText();
  }
}

}  // namespace vorn
