// A device with fixed character widths and no pixels: every measurement is
// a simple function of the font size, so layouts come out the same on every
// machine. The command line lays out plain text and rich text with it, and
// tests read back what was drawn from its record.
#pragma once

#include <set>
#include <string>
#include <vector>

#include "device/device.h"

namespace vorn {

// One drawing operation as the text device saw it. Coordinates are device
// coordinates (the viewport origin added).
struct DrawCall {
  enum class Kind { kText, kTextInRect, kLine, kRectangle, kFill, kInvert, kBitmap };
  Kind kind = Kind::kText;
  // Text: the text cell; line: (x1, y1, x2, y2); bitmap: its cell.
  Rect rect;
  std::u16string text;
  FontDescription font;  // the selected font (face empty for the default font)
  RgbColour colour = 0;  // text colour, or the fill of kFill/kRectangle
  RgbColour background = 0;
  bool opaque = false;
  Pen pen;
  int bitmap = 0;
  unsigned format = 0;
};

class CTextDevice : public CDevice {
 public:
  // The default font's pixel height, and a font's when it asks for none.
  static constexpr int kDefaultPixelHeight = 16;

  explicit CTextDevice(int pixels_per_inch = 96);
  ~CTextDevice() override;

  // Metrics of a font of pixel height h: ascent h - h/5, descent h/5,
  // external leading h/8, and every spacing character h/2 wide (the width of
  // a text is rounded once, over the whole text). Combining marks, format
  // characters (the embedding marks among them) and the second half of a
  // surrogate pair are zero wide.
  static TextMetrics MetricsFor(int pixel_height);
  static int TextWidth(int pixel_height, std::u16string_view text);

  // CreateFont fails for this face, as it does on a machine without it.
  void SetMissingFace(std::u16string face) { missing_.insert(std::move(face)); }
  void SetPrinter(bool printer) { printer_ = printer; }
  // Every bitmap is this size (16 x 16 unless set).
  void SetBitmapSize(Size size) { bitmap_size_ = size; }

  const std::vector<DrawCall>& calls() const { return calls_; }
  void ClearCalls() { calls_.clear(); }
  // The descriptions of every font made so far, in order.
  const std::vector<FontDescription>& fonts_made() const { return fonts_made_; }

  int GetPixelsPerInchX() const override { return ppi_; }
  int GetPixelsPerInchY() const override { return ppi_; }
  bool IsPrinter() const override { return printer_; }
  std::unique_ptr<CDeviceFont> CreateFont(const FontDescription& description) override;
  CDeviceFont* SelectFont(CDeviceFont* font) override;
  TextMetrics GetTextMetrics() override;
  Size GetTextExtent(std::u16string_view text) override;
  RgbColour SetTextColour(RgbColour colour) override;
  RgbColour SetBackgroundColour(RgbColour colour) override;
  bool SetOpaqueBackground(bool opaque) override;
  void DrawText(int x, int y, std::u16string_view text) override;
  Size DrawTextInRect(std::u16string_view text, const Rect& rect, unsigned format) override;
  void DrawLine(int x1, int y1, int x2, int y2, const Pen& pen) override;
  void DrawRectangle(const Rect& rect, const Pen& pen, RgbColour fill) override;
  void FillRect(const Rect& rect, RgbColour colour) override;
  void InvertRect(const Rect& rect) override;
  Size GetBitmapSize(int resource_id) override;
  void DrawBitmap(int resource_id, int x, int y) override;
  Point SetViewportOrigin(Point origin) override;

 private:
  class Font;
  int SelectedHeight() const;
  DrawCall MakeCall(DrawCall::Kind kind, Rect rect) const;

  int ppi_;
  bool printer_ = false;
  Size bitmap_size_{16, 16};
  std::set<std::u16string> missing_;
  Font* selected_ = nullptr;
  RgbColour text_colour_ = 0;
  RgbColour background_ = RgbOf(255, 255, 255);
  bool opaque_ = false;
  Point origin_;
  std::vector<DrawCall> calls_;
  std::vector<FontDescription> fonts_made_;
};

}  // namespace vorn
