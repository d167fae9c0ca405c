#include "shell/scroll_popup.h"

#include <QPainter>
#include <algorithm>

namespace vorn::shell {

CScrollPopup::CScrollPopup(QWidget* pane)
    : QWidget(pane, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                        Qt::WindowDoesNotAcceptFocus | Qt::WindowTransparentForInput),
      device_(this) {
  setAttribute(Qt::WA_ShowWithoutActivating);
  setFocusPolicy(Qt::NoFocus);
  hide();
}

CScrollPopup::~CScrollPopup() = default;

QRect CScrollPopup::Place(QSize size, const QRect& client, long long index, long long count) {
  const long long height = client.height();
  long long centre = client.top();
  if (count > 0) centre += height * std::clamp(index, 0LL, count) / count;
  long long top = centre - size.height() / 2;
  top = std::min(top, client.top() + height - size.height());
  top = std::max(top, static_cast<long long>(client.top()));
  const int left = client.left() + client.width() - size.width();
  return QRect(left, static_cast<int>(top), size.width(), size.height());
}

void CScrollPopup::ShowText(QWidget* client, const CFontFormat& font, std::u16string_view text,
                            long long index, long long count) {
  font_ = font;
  font_.Attach(&device_, 0);
  u16_text_ = text;
  text_ = ToQString(text);
  const Size extent = font_.GetExtent(u16_text_);
  const QSize size(extent.cx + 2 * font_.GetXWidth(), extent.cy + 5);
  rect_ = Place(size, client->rect(), index, count);
  setGeometry(QRect(client->mapToGlobal(rect_.topLeft()), rect_.size()));
  if (!isVisible()) show();
  update();
}

void CScrollPopup::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), QColor(255, 255, 225));
  painter.setPen(Qt::black);
  painter.drawRect(rect().adjusted(0, 0, -1, -1));
  painter.setRenderHint(QPainter::TextAntialiasing);
  device_.SetPainter(&painter);
  const int text_height = font_.GetExtent(u16_text_).cy;
  font_.DrawText(font_.GetXWidth(), (height() - text_height) / 2, u16_text_);
  device_.SetPainter(nullptr);
}

}  // namespace vorn::shell
