#include "query/query_box.h"

#include <algorithm>

namespace vorn {

void CQueryBox::Clear() {
  SetSelection(0, static_cast<int32_t>(GetText().size()));
  ReplaceSelection(u"", CFontFormat());
}

void CPlainQueryBox::GetSelection(int32_t* start, int32_t* end) const {
  *start = sel_start_;
  *end = sel_end_;
}

void CPlainQueryBox::SetSelection(int32_t start, int32_t end) {
  const int32_t n = static_cast<int32_t>(text_.size());
  start = std::clamp(start, 0, n);
  end = std::clamp(end, 0, n);
  if (end < start) std::swap(start, end);
  sel_start_ = start;
  sel_end_ = end;
}

void CPlainQueryBox::ReplaceSelection(std::u16string_view text, const CFontFormat& format) {
  auto it = std::find(formats_.begin(), formats_.end(), format);
  uint16_t id = static_cast<uint16_t>(it - formats_.begin());
  if (it == formats_.end()) {
    // The table only grows; past its limit new text takes the default font.
    if (formats_.size() < UINT16_MAX) {
      formats_.push_back(format);
    } else {
      id = 0;
    }
  }
  text_.replace(sel_start_, sel_end_ - sel_start_, text);
  char_formats_.erase(char_formats_.begin() + sel_start_, char_formats_.begin() + sel_end_);
  char_formats_.insert(char_formats_.begin() + sel_start_, text.size(), id);
  sel_start_ += static_cast<int32_t>(text.size());
  sel_end_ = sel_start_;
}

void CPlainQueryBox::SetText(std::u16string_view text) {
  text_ = text;
  char_formats_.assign(text_.size(), 0);
  sel_start_ = sel_end_ = static_cast<int32_t>(text_.size());
}

const CFontFormat& CPlainQueryBox::GetFormatAt(int32_t pos) const {
  if (pos < 0 || pos >= static_cast<int32_t>(char_formats_.size())) return formats_[0];
  return formats_[char_formats_[pos]];
}

}  // namespace vorn
