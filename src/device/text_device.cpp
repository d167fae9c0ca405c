#include "device/text_device.h"

#include <unicode/uchar.h>
#include <unicode/utf16.h>

namespace vorn {

class CTextDevice::Font : public CDeviceFont {
 public:
  explicit Font(FontDescription d) : description(std::move(d)) {}
  FontDescription description;
};

CTextDevice::CTextDevice(int pixels_per_inch) : ppi_(pixels_per_inch) {}
CTextDevice::~CTextDevice() = default;

TextMetrics CTextDevice::MetricsFor(int pixel_height) {
  const int h = pixel_height > 0 ? pixel_height : kDefaultPixelHeight;
  TextMetrics m;
  m.descent = h / 5;
  m.ascent = h - m.descent;
  m.height = h;
  m.internal_leading = 0;
  m.external_leading = h / 8;
  m.average_char_width = (h + 1) / 2;
  return m;
}

int CTextDevice::TextWidth(int pixel_height, std::u16string_view text) {
  const int h = pixel_height > 0 ? pixel_height : kDefaultPixelHeight;
  int64_t spacing = 0;
  for (size_t i = 0; i < text.size();) {
    UChar32 c;
    U16_NEXT(text.data(), i, text.size(), c);
    const int8_t type = u_charType(c);
    if (type == U_NON_SPACING_MARK || type == U_ENCLOSING_MARK || type == U_FORMAT_CHAR) continue;
    ++spacing;
  }
  return static_cast<int>((spacing * h + 1) / 2);
}

int CTextDevice::SelectedHeight() const {
  return selected_ ? selected_->description.pixel_height : kDefaultPixelHeight;
}

std::unique_ptr<CDeviceFont> CTextDevice::CreateFont(const FontDescription& description) {
  if (missing_.count(description.face)) return nullptr;
  fonts_made_.push_back(description);
  return std::make_unique<Font>(description);
}

CDeviceFont* CTextDevice::SelectFont(CDeviceFont* font) {
  Font* old = selected_;
  // Only fonts of this device are ever selected into it.
  selected_ = static_cast<Font*>(font);
  return old;
}

TextMetrics CTextDevice::GetTextMetrics() { return MetricsFor(SelectedHeight()); }

Size CTextDevice::GetTextExtent(std::u16string_view text) {
  const int h = SelectedHeight();
  return {TextWidth(h, text), MetricsFor(h).height};
}

RgbColour CTextDevice::SetTextColour(RgbColour colour) {
  RgbColour old = text_colour_;
  text_colour_ = colour;
  return old;
}

RgbColour CTextDevice::SetBackgroundColour(RgbColour colour) {
  RgbColour old = background_;
  background_ = colour;
  return old;
}

bool CTextDevice::SetOpaqueBackground(bool opaque) {
  bool old = opaque_;
  opaque_ = opaque;
  return old;
}

DrawCall CTextDevice::MakeCall(DrawCall::Kind kind, Rect rect) const {
  DrawCall call;
  call.kind = kind;
  rect.Offset(origin_.x, origin_.y);
  call.rect = rect;
  if (selected_) call.font = selected_->description;
  call.colour = text_colour_;
  call.background = background_;
  call.opaque = opaque_;
  return call;
}

void CTextDevice::DrawText(int x, int y, std::u16string_view text) {
  const Size s = GetTextExtent(text);
  DrawCall call = MakeCall(DrawCall::Kind::kText, {x, y, x + s.cx, y + s.cy});
  call.text.assign(text);
  calls_.push_back(std::move(call));
}

Size CTextDevice::DrawTextInRect(std::u16string_view text, const Rect& rect, unsigned format) {
  const Size s = GetTextExtent(text);
  if (format & kTextCalcRect) return s;
  int x = rect.left;
  if (format & kTextCenter) {
    x = rect.left + (rect.Width() - s.cx) / 2;
  } else if (format & kTextRight) {
    x = rect.right - s.cx;
  }
  int y = rect.top;
  if (format & kTextVCenter) {
    y = rect.top + (rect.Height() - s.cy) / 2;
  } else if (format & kTextBottom) {
    y = rect.bottom - s.cy;
  }
  DrawCall call = MakeCall(DrawCall::Kind::kTextInRect, {x, y, x + s.cx, y + s.cy});
  call.text.assign(text);
  call.format = format;
  calls_.push_back(std::move(call));
  return s;
}

void CTextDevice::DrawLine(int x1, int y1, int x2, int y2, const Pen& pen) {
  DrawCall call = MakeCall(DrawCall::Kind::kLine, {x1, y1, x2, y2});
  call.pen = pen;
  calls_.push_back(std::move(call));
}

void CTextDevice::DrawRectangle(const Rect& rect, const Pen& pen, RgbColour fill) {
  DrawCall call = MakeCall(DrawCall::Kind::kRectangle, rect);
  call.pen = pen;
  call.colour = fill;
  calls_.push_back(std::move(call));
}

void CTextDevice::FillRect(const Rect& rect, RgbColour colour) {
  DrawCall call = MakeCall(DrawCall::Kind::kFill, rect);
  call.colour = colour;
  calls_.push_back(std::move(call));
}

void CTextDevice::InvertRect(const Rect& rect) {
  calls_.push_back(MakeCall(DrawCall::Kind::kInvert, rect));
}

Size CTextDevice::GetBitmapSize(int) { return bitmap_size_; }

void CTextDevice::DrawBitmap(int resource_id, int x, int y) {
  DrawCall call =
      MakeCall(DrawCall::Kind::kBitmap, {x, y, x + bitmap_size_.cx, y + bitmap_size_.cy});
  call.bitmap = resource_id;
  calls_.push_back(std::move(call));
}

Point CTextDevice::SetViewportOrigin(Point origin) {
  Point old = origin_;
  origin_ = origin;
  return old;
}

}  // namespace vorn
