// The drawing device of the desktop program: the layouts measure with
// QFontMetrics and draw with a QPainter, on a pane, an image or a page.
#pragma once

#include <QColor>
#include <QFont>
#include <QString>
#include <memory>
#include <string_view>

#include "device/device.h"

class QPainter;
class QPaintDevice;

namespace vorn::shell {

QString ToQString(std::u16string_view text);
std::u16string FromQString(const QString& text);
QColor ToQColor(RgbColour colour);

class CQtDevice : public CDevice {
 public:
  // Measures for `target` (its resolution; may be null: the screen's). No
  // painter yet: everything measures, nothing draws until SetPainter.
  explicit CQtDevice(QPaintDevice* target);
  ~CQtDevice() override;
  CQtDevice(const CQtDevice&) = delete;
  CQtDevice& operator=(const CQtDevice&) = delete;

  // Borrows `painter` (null: stop drawing) until the next call; it must be
  // active on a device of the same resolution as the target.
  void SetPainter(QPainter* painter);
  QPainter* painter() const { return painter_; }

  // The Qt font a device font stands for (the default font for null).
  QFont FontOf(const CDeviceFont* font) const;
  // The font that a description makes, without the device.
  static QFont MakeQFont(const FontDescription& description);

  int GetPixelsPerInchX() const override { return ppi_x_; }
  int GetPixelsPerInchY() const override { return ppi_y_; }
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
  const Font& Selected() const;

  QPaintDevice* target_;
  QPainter* painter_ = nullptr;
  int ppi_x_ = 96;
  int ppi_y_ = 96;
  std::unique_ptr<Font> default_font_;
  Font* selected_ = nullptr;
  RgbColour text_colour_ = 0;
  RgbColour background_ = RgbOf(255, 255, 255);
  bool opaque_ = false;
  Point origin_;
};

}  // namespace vorn::shell
