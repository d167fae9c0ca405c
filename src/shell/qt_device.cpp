#include "shell/qt_device.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QPaintDevice>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <QTransform>

namespace vorn::shell {

QString ToQString(std::u16string_view text) {
  return QString(reinterpret_cast<const QChar*>(text.data()), static_cast<qsizetype>(text.size()));
}

std::u16string FromQString(const QString& text) {
  return std::u16string(reinterpret_cast<const char16_t*>(text.utf16()),
                        static_cast<size_t>(text.size()));
}

QColor ToQColor(RgbColour colour) { return QColor(RedOf(colour), GreenOf(colour), BlueOf(colour)); }

class CQtDevice::Font : public CDeviceFont {
 public:
  Font(QFont f, QPaintDevice* target) : font(std::move(f)), metrics(font, target) {}
  QFont font;
  QFontMetrics metrics;
};

namespace {

// The size of the default font, as a device's "system" font would be.
constexpr int kDefaultPixelHeight = 16;

Qt::PenStyle ToQtStyle(PenStyle style) {
  switch (style) {
    case PenStyle::kDot:
      return Qt::DotLine;
    case PenStyle::kDashDotDot:
      return Qt::DashDotDotLine;
    case PenStyle::kSolid:
      break;
  }
  return Qt::SolidLine;
}

QPen ToQPen(const Pen& pen) {
  QPen p(ToQColor(pen.colour));
  p.setWidth(pen.width < 1 ? 1 : pen.width);
  p.setStyle(ToQtStyle(pen.style));
  return p;
}

// The two small pictures the layouts draw: a reference box's icon (a page
// with a few lines of text) and the mark of an annotated word (a folded
// corner). Drawn here so the program needs no image files.
QPixmap MakeBitmap(int resource_id) {
  if (resource_id == kBitmapReference) {
    QPixmap pm(16, 16);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setPen(QColor(40, 40, 120));
    p.setBrush(QColor(250, 250, 235));
    p.drawRect(2, 1, 11, 13);
    for (int y = 4; y <= 11; y += 3) p.drawLine(4, y, 11, y);
    return pm;
  }
  if (resource_id == kBitmapNoteMark) {
    QPixmap pm(8, 8);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(230, 160, 0));
    const QPoint corner[] = {QPoint(0, 0), QPoint(8, 0), QPoint(8, 8)};
    p.drawPolygon(corner, 3);
    return pm;
  }
  return QPixmap();
}

}  // namespace

CQtDevice::CQtDevice(QPaintDevice* target) : target_(target) {
  if (target_) {
    ppi_x_ = target_->logicalDpiX();
    ppi_y_ = target_->logicalDpiY();
  } else if (QGuiApplication::primaryScreen()) {
    ppi_x_ = static_cast<int>(QGuiApplication::primaryScreen()->logicalDotsPerInchX());
    ppi_y_ = static_cast<int>(QGuiApplication::primaryScreen()->logicalDotsPerInchY());
  }
  if (ppi_x_ <= 0) ppi_x_ = 96;
  if (ppi_y_ <= 0) ppi_y_ = 96;
  FontDescription d;
  d.pixel_height = kDefaultPixelHeight;
  default_font_ = std::make_unique<Font>(MakeQFont(d), target_);
}

CQtDevice::~CQtDevice() = default;

void CQtDevice::SetPainter(QPainter* painter) {
  painter_ = painter;
  origin_ = Point{};
}

QFont CQtDevice::MakeQFont(const FontDescription& description) {
  // A QFont made from an empty name has no family at all, and recording it
  // into a picture (as print preview does) dereferences the missing first
  // family: a font without a face is the application's font.
  QFont font =
      description.face.empty() ? QGuiApplication::font() : QFont(ToQString(description.face));
  font.setPixelSize(description.pixel_height > 0 ? description.pixel_height : kDefaultPixelHeight);
  font.setWeight(description.weight >= 700 ? QFont::Bold : QFont::Normal);
  font.setItalic(description.italic);
  // Interlinear stacks are measured word by word: kerning across the
  // measured and the drawn text must agree, and hinting must not change
  // widths between the screen and an image.
  font.setKerning(false);
  font.setHintingPreference(QFont::PreferNoHinting);
  return font;
}

QFont CQtDevice::FontOf(const CDeviceFont* font) const {
  return font ? static_cast<const Font*>(font)->font : default_font_->font;
}

const CQtDevice::Font& CQtDevice::Selected() const {
  return selected_ ? *selected_ : *default_font_;
}

std::unique_ptr<CDeviceFont> CQtDevice::CreateFont(const FontDescription& description) {
  // Fontconfig always finds a substitute for a missing face, so the text
  // still shows; no device font is ever refused.
  QFont font = MakeQFont(description);
  return std::make_unique<Font>(std::move(font), target_);
}

CDeviceFont* CQtDevice::SelectFont(CDeviceFont* font) {
  Font* old = selected_;
  // Only fonts of this device are ever selected into it.
  selected_ = static_cast<Font*>(font);
  if (painter_) painter_->setFont(Selected().font);
  return old;
}

TextMetrics CQtDevice::GetTextMetrics() {
  const Font& f = Selected();
  TextMetrics m;
  m.ascent = f.metrics.ascent();
  m.descent = f.metrics.descent();
  m.height = m.ascent + m.descent;
  const int em = f.font.pixelSize();
  m.internal_leading = m.height > em ? m.height - em : 0;
  m.external_leading = f.metrics.leading() > 0 ? f.metrics.leading() : 0;
  m.average_char_width = f.metrics.averageCharWidth();
  return m;
}

Size CQtDevice::GetTextExtent(std::u16string_view text) {
  const Font& f = Selected();
  return {f.metrics.horizontalAdvance(ToQString(text)), f.metrics.ascent() + f.metrics.descent()};
}

RgbColour CQtDevice::SetTextColour(RgbColour colour) {
  RgbColour old = text_colour_;
  text_colour_ = colour;
  return old;
}

RgbColour CQtDevice::SetBackgroundColour(RgbColour colour) {
  RgbColour old = background_;
  background_ = colour;
  return old;
}

bool CQtDevice::SetOpaqueBackground(bool opaque) {
  bool old = opaque_;
  opaque_ = opaque;
  return old;
}

void CQtDevice::DrawText(int x, int y, std::u16string_view text) {
  if (!painter_ || text.empty()) return;
  const Font& f = Selected();
  const QString s = ToQString(text);
  if (opaque_) {
    const Size size = GetTextExtent(text);
    painter_->fillRect(x, y, size.cx, size.cy, ToQColor(background_));
  }
  painter_->setFont(f.font);
  painter_->setPen(ToQColor(text_colour_));
  painter_->drawText(QPoint(x, y + f.metrics.ascent()), s);
}

Size CQtDevice::DrawTextInRect(std::u16string_view text, const Rect& rect, unsigned format) {
  const Font& f = Selected();
  int flags = 0;
  if (format & kTextCenter) {
    flags |= Qt::AlignHCenter;
  } else if (format & kTextRight) {
    flags |= Qt::AlignRight;
  } else {
    flags |= Qt::AlignLeft;
  }
  if (format & kTextVCenter) {
    flags |= Qt::AlignVCenter;
  } else if (format & kTextBottom) {
    flags |= Qt::AlignBottom;
  } else {
    flags |= Qt::AlignTop;
  }
  if ((format & kTextWordBreak) && !(format & kTextSingleLine)) flags |= Qt::TextWordWrap;
  if (format & kTextSingleLine) flags |= Qt::TextSingleLine;
  const QString s = ToQString(text);
  const QRect box(rect.left, rect.top, rect.Width(), rect.Height());
  QRect used = f.metrics.boundingRect(box, flags, s);
  const Size size{used.width(), used.height()};
  if ((format & kTextCalcRect) || !painter_) return size;
  if (opaque_) painter_->fillRect(used, ToQColor(background_));
  painter_->setFont(f.font);
  painter_->setPen(ToQColor(text_colour_));
  if (format & kTextRtlReading) painter_->setLayoutDirection(Qt::RightToLeft);
  painter_->drawText(box, flags, s);
  if (format & kTextRtlReading) painter_->setLayoutDirection(Qt::LeftToRight);
  return size;
}

void CQtDevice::DrawLine(int x1, int y1, int x2, int y2, const Pen& pen) {
  if (!painter_) return;
  painter_->setPen(ToQPen(pen));
  painter_->drawLine(x1, y1, x2, y2);
}

void CQtDevice::DrawRectangle(const Rect& rect, const Pen& pen, RgbColour fill) {
  if (!painter_ || rect.IsEmpty()) return;
  painter_->fillRect(QRect(rect.left, rect.top, rect.Width(), rect.Height()), ToQColor(fill));
  painter_->setPen(ToQPen(pen));
  painter_->setBrush(Qt::NoBrush);
  // QPainter's outline of a w x h rectangle covers w+1 x h+1 pixels.
  painter_->drawRect(rect.left, rect.top, rect.Width() - 1, rect.Height() - 1);
}

void CQtDevice::FillRect(const Rect& rect, RgbColour colour) {
  if (!painter_ || rect.IsEmpty()) return;
  painter_->fillRect(QRect(rect.left, rect.top, rect.Width(), rect.Height()), ToQColor(colour));
}

void CQtDevice::InvertRect(const Rect& rect) {
  if (!painter_ || rect.IsEmpty()) return;
  const QPainter::CompositionMode old = painter_->compositionMode();
  // XOR with white flips every colour bit, as the selection highlight of a
  // raster device does; drawing it twice restores the pixels.
  painter_->setCompositionMode(QPainter::RasterOp_SourceXorDestination);
  painter_->fillRect(QRect(rect.left, rect.top, rect.Width(), rect.Height()), Qt::white);
  painter_->setCompositionMode(old);
}

Size CQtDevice::GetBitmapSize(int resource_id) {
  if (resource_id == kBitmapReference) return {16, 16};
  if (resource_id == kBitmapNoteMark) return {8, 8};
  return {0, 0};
}

void CQtDevice::DrawBitmap(int resource_id, int x, int y) {
  if (!painter_) return;
  const QPixmap pm = MakeBitmap(resource_id);
  if (!pm.isNull()) painter_->drawPixmap(x, y, pm);
}

Point CQtDevice::SetViewportOrigin(Point origin) {
  const Point old = origin_;
  if (painter_) painter_->translate(origin.x - origin_.x, origin.y - origin_.y);
  origin_ = origin;
  return old;
}

}  // namespace vorn::shell
