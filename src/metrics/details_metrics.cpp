#include "metrics/details_metrics.h"

#include "metrics/view_metrics.h"

namespace vorn {

CDetailsMetrics::CDetailsMetrics(const CViewMetrics& view)
    : view_(view), line_fonts_(view.GetLineFonts()), panel_font_(view.GetPanelFont()) {}

CDetailsMetrics::~CDetailsMetrics() = default;

void CDetailsMetrics::Attach(CDevice* device) {
  device_ = device;
  for (CFontFormat& f : line_fonts_) f.Attach(device, 0);
  panel_font_.Attach(device, 0);
  for (auto& [line, font] : bold_fonts_) font->Attach(device, 0);
}

const CFontFormat& CDetailsMetrics::GetLineFont(int line) const {
  if (line < 0 || static_cast<size_t>(line) >= line_fonts_.size()) return panel_font_;
  return line_fonts_[static_cast<size_t>(line)];
}

const CFontFormat& CDetailsMetrics::GetBoldLineFont(int line) {
  auto it = bold_fonts_.find(line);
  if (it != bold_fonts_.end()) return *it->second;
  auto font = std::make_unique<CFontFormat>(GetLineFont(line));
  font->set_weight(700);
  font->Attach(device_, 0);
  return *bold_fonts_.emplace(line, std::move(font)).first->second;
}

Point CDetailsMetrics::Text(const CFontFormat& font, int x, int y, std::u16string_view text) {
  if (text.empty()) return {x, y};
  const Size extent = font.GetExtent(text);
  if (drawing_) font.DrawText(x, y, text);
  return {x + extent.cx, y + font.GetTextHeight()};
}

}  // namespace vorn
