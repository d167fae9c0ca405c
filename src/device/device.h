// The drawing surface every layout measures and draws through: a screen, a
// printer page, an image, or the deterministic text device of the command
// line and the tests. Free of dependencies, so that the text database's
// fonts can use it from below the metrics and the layout model.
//
// The interface follows the model of a GDI device context or a QPainter with
// its QFontMetrics: one font is selected at a time, text colours are state,
// lines and rectangles take their pen with them. Coordinates are device
// pixels, y downwards, relative to the viewport origin.
#pragma once

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace vorn {

// 0x00BBGGRR, the byte order of the stored colour values.
using RgbColour = uint32_t;

inline constexpr RgbColour RgbOf(uint8_t r, uint8_t g, uint8_t b) {
  return static_cast<RgbColour>(r) | (static_cast<RgbColour>(g) << 8) |
         (static_cast<RgbColour>(b) << 16);
}
inline constexpr int RedOf(RgbColour c) { return static_cast<int>(c & 0xFF); }
inline constexpr int GreenOf(RgbColour c) { return static_cast<int>((c >> 8) & 0xFF); }
inline constexpr int BlueOf(RgbColour c) { return static_cast<int>((c >> 16) & 0xFF); }

struct Point {
  int x = 0;
  int y = 0;
  friend bool operator==(const Point&, const Point&) = default;
};

struct Size {
  int cx = 0;
  int cy = 0;
  friend bool operator==(const Size&, const Size&) = default;
};

// Half-open: [left, right) x [top, bottom).
struct Rect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;

  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool IsEmpty() const { return right <= left || bottom <= top; }
  void Offset(int dx, int dy) {
    left += dx;
    right += dx;
    top += dy;
    bottom += dy;
  }
  // The smallest rectangle holding both; an empty rectangle adds nothing.
  void Union(const Rect& r) {
    if (r.IsEmpty()) return;
    if (IsEmpty()) {
      *this = r;
      return;
    }
    left = std::min(left, r.left);
    top = std::min(top, r.top);
    right = std::max(right, r.right);
    bottom = std::max(bottom, r.bottom);
  }
  friend bool operator==(const Rect&, const Rect&) = default;
};

// a * b / c rounded half away from zero, computed without overflow; -1 when
// c is 0 (the platform's multiply-divide, which font sizes and twips rely on).
inline int MulDiv(int a, int b, int c) {
  if (c == 0) return -1;
  int64_t p = static_cast<int64_t>(a) * b;
  const bool negative = (p < 0) != (c < 0);
  if (p < 0) p = -p;
  int64_t d = c < 0 ? -static_cast<int64_t>(c) : c;
  int64_t q = (p + d / 2) / d;
  return static_cast<int>(negative ? -q : q);
}

// What a device font is made from.
struct FontDescription {
  std::u16string face;
  // Character (em) height in device pixels; 0 = the device's default size.
  int pixel_height = 0;
  // The same size in tenths of a point, when the font was asked for in
  // points (0 otherwise). A device that scales points itself (a printer
  // painter) may prefer it; both describe the same size on this device.
  int point_tenths = 0;
  int weight = 0;  // 700 = bold, 0 = normal
  bool italic = false;
  int charset = 1;  // 2 = symbol-encoded face, 1 = any other
  friend bool operator==(const FontDescription&, const FontDescription&) = default;
};

// Metrics of the selected font, in device pixels. height = ascent + descent
// (the cell height); external_leading is the gap a font asks for between rows.
struct TextMetrics {
  int height = 0;
  int ascent = 0;
  int descent = 0;
  int internal_leading = 0;
  int external_leading = 0;
  int average_char_width = 0;
};

// A font made by one device. Owned by whoever asked for it; it must only be
// selected into the device that made it, and must stay alive while selected.
class CDeviceFont {
 public:
  virtual ~CDeviceFont() = default;
};

enum class PenStyle { kSolid, kDot, kDashDotDot };

struct Pen {
  RgbColour colour = 0;
  int width = 1;
  PenStyle style = PenStyle::kSolid;
  friend bool operator==(const Pen&, const Pen&) = default;
};

// Formatting flags of DrawTextInRect (values of the platform's formatted
// text drawing, so stored flags keep their meaning).
enum TextFormat : unsigned {
  kTextLeft = 0x0,
  kTextCenter = 0x1,
  kTextRight = 0x2,
  kTextVCenter = 0x4,
  kTextBottom = 0x8,
  kTextWordBreak = 0x10,
  kTextSingleLine = 0x20,
  kTextCalcRect = 0x400,  // measure only, draw nothing
  kTextNoPrefix = 0x800,
  kTextRtlReading = 0x20000,
};

// Bitmap resources the core draws.
inline constexpr int kBitmapReference = 123;  // the icon of a reference box
inline constexpr int kBitmapNoteMark = 214;   // the mark of an annotated word

class CDevice {
 public:
  virtual ~CDevice() = default;

  virtual int GetPixelsPerInchX() const = 0;
  // The resolution fonts and twips are computed with.
  virtual int GetPixelsPerInchY() const = 0;
  virtual bool IsPrinter() const { return false; }
  virtual bool CanCopyBitmaps() const { return true; }

  // A new font, or null when the device cannot make one of that face.
  virtual std::unique_ptr<CDeviceFont> CreateFont(const FontDescription& description) = 0;
  // Selects `font` (made by this device; null selects the device's default
  // font) and returns the font selected before, for restoring.
  virtual CDeviceFont* SelectFont(CDeviceFont* font) = 0;
  virtual TextMetrics GetTextMetrics() = 0;
  // Width of the text in the selected font; height = the cell height.
  virtual Size GetTextExtent(std::u16string_view text) = 0;

  // Each returns the previous value.
  virtual RgbColour SetTextColour(RgbColour colour) = 0;
  virtual RgbColour SetBackgroundColour(RgbColour colour) = 0;
  virtual bool SetOpaqueBackground(bool opaque) = 0;

  // Draws with the top-left corner of the text cell at (x, y).
  virtual void DrawText(int x, int y, std::u16string_view text) = 0;
  // Draws inside `rect` as the TextFormat flags say; returns the size of the
  // text drawn (or that would be drawn, with kTextCalcRect).
  virtual Size DrawTextInRect(std::u16string_view text, const Rect& rect, unsigned format) = 0;

  virtual void DrawLine(int x1, int y1, int x2, int y2, const Pen& pen) = 0;
  // The outline in `pen`, the inside filled with `fill`.
  virtual void DrawRectangle(const Rect& rect, const Pen& pen, RgbColour fill) = 0;
  virtual void FillRect(const Rect& rect, RgbColour colour) = 0;
  // Inverts every pixel of the rectangle (the selection highlight).
  virtual void InvertRect(const Rect& rect) = 0;

  // Size of a bitmap resource; (0, 0) when the device has none of that id.
  virtual Size GetBitmapSize(int resource_id) = 0;
  virtual void DrawBitmap(int resource_id, int x, int y) = 0;

  // Where logical (0, 0) lies on the device; returns the previous origin.
  virtual Point SetViewportOrigin(Point origin) = 0;
};

}  // namespace vorn
