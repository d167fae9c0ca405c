#include "metrics/details_metrics.h"

#include <algorithm>

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
  const int height = font.GetTextHeight();
  const int width = font.GetExtent(text).cx;
  if (wrap_right_ <= 0 || x + width <= wrap_right_) {
    Piece(font, x, y, text);
    furthest_x_ = std::max(furthest_x_, x + width);
    return {x + width, y + height};
  }
  constexpr auto npos = std::u16string_view::npos;
  size_t start = 0;
  int end_x = x;
  for (;;) {
    // The longest run of whole words from `start` that fits; the first word
    // alone when none does.
    size_t fit = npos;
    for (size_t blank = text.find(u' ', start + 1);; blank = text.find(u' ', blank + 1)) {
      const size_t end = blank == npos ? text.size() : blank;
      if (fit != npos && x + font.GetExtent(text.substr(start, end - start)).cx > wrap_right_)
        break;
      fit = end;
      if (blank == npos) break;
    }
    const std::u16string_view piece = text.substr(start, fit - start);
    Piece(font, x, y, piece);
    end_x = x + font.GetExtent(piece).cx;
    furthest_x_ = std::max(furthest_x_, end_x);
    start = fit;
    while (start < text.size() && text[start] == u' ') ++start;
    if (start >= text.size()) break;
    y += height;
  }
  return {end_x, y + height};
}

void CDetailsMetrics::Piece(const CFontFormat& font, int x, int y, std::u16string_view piece) {
  if (drawing_) font.DrawText(x, y, piece);
  if (!spot_finder_) return;
  const int height = font.GetTextHeight();
  for (const auto& [begin, end] : spot_finder_(piece)) {
    if (begin >= end || end > piece.size()) continue;
    const int left = x + font.GetExtent(piece.substr(0, begin)).cx;
    const int right = x + font.GetExtent(piece.substr(0, end)).cx;
    spots_.push_back(
        {Rect{left, y, right, y + height}, std::u16string(piece.substr(begin, end - begin))});
    if (drawing_ && device_) {
      const int base = y + height - 1;
      device_->DrawLine(left, base, right, base, Pen{spot_colour_, 1});
    }
  }
}

}  // namespace vorn
