#include "shell/window_placement.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QVariant>
#include <QWidget>
#include <cstdint>
#include <limits>

namespace vorn::shell {

namespace {

constexpr char kNormalGeometryProperty[] = "vornNormalGeometry";

// One number as scanf's %d reads it: white space, an optional sign, digits.
bool ReadNumber(QStringView text, qsizetype* pos, int* value) {
  qsizetype i = *pos;
  while (i < text.size() && text[i].isSpace()) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) negative = text[i++] == u'-';
  const qsizetype digits_start = i;
  int64_t n = 0;
  while (i < text.size() && text[i] >= u'0' && text[i] <= u'9') {
    n = n * 10 + (text[i].unicode() - u'0');
    if (n > int64_t{std::numeric_limits<int>::max()} + 1) return false;
    ++i;
  }
  if (i == digits_start) return false;
  if (negative) n = -n;
  if (n > std::numeric_limits<int>::max() || n < std::numeric_limits<int>::min()) return false;
  *value = static_cast<int>(n);
  *pos = i;
  return true;
}

class NormalGeometryTracker : public QObject {
 public:
  explicit NormalGeometryTracker(QWidget* sub) : QObject(sub), sub_(sub) { Record(); }
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == sub_ && (event->type() == QEvent::Move || event->type() == QEvent::Resize ||
                            event->type() == QEvent::WindowStateChange)) {
      Record();
    }
    return false;
  }

 private:
  void Record() {
    if (!(sub_->windowState() & (Qt::WindowMinimized | Qt::WindowMaximized)))
      sub_->setProperty(kNormalGeometryProperty, sub_->geometry());
  }
  QWidget* sub_;
};

}  // namespace

bool CWindowPlacement::IsMinimized() const {
  return show == kShowMinimized || show == kShowMinimize || show == kShowMinNoActive ||
         show == kShowForceMinimize;
}

bool CWindowPlacement::IsMaximized() const { return show == kShowMaximized; }

bool ParsePlacement(QStringView text, CWindowPlacement* out) {
  int n[9];
  qsizetype pos = 0;
  for (int i = 0; i < 9; ++i) {
    if (i > 0) {
      if (pos >= text.size() || text[pos] != u',') return false;
      ++pos;
    }
    if (!ReadNumber(text, &pos, &n[i])) return false;
  }
  // An exclusive right or bottom of the smallest int has no inclusive edge.
  if (n[7] == std::numeric_limits<int>::min() || n[8] == std::numeric_limits<int>::min())
    return false;
  CWindowPlacement p;
  p.valid = true;
  p.honour_min_position = true;
  p.show = n[0];
  p.min_pos = QPoint(n[1], n[2]);
  p.max_pos = QPoint(n[3], n[4]);
  // Right and bottom are exclusive; QRect's are inclusive.
  p.normal = QRect(QPoint(n[5], n[6]), QPoint(n[7] - 1, n[8] - 1));
  *out = p;
  return true;
}

QString FormatPlacement(const CWindowPlacement& p) {
  if (!p.valid) return QString();
  const QRect& r = p.normal;
  return QStringLiteral("%1,%2,%3,%4,%5,%6,%7,%8,%9")
      .arg(p.show)
      .arg(p.min_pos.x())
      .arg(p.min_pos.y())
      .arg(p.max_pos.x())
      .arg(p.max_pos.y())
      .arg(r.left())
      .arg(r.top())
      .arg(r.right() + 1)
      .arg(r.bottom() + 1);
}

CWindowPlacement GetPlacement(const QWidget* window) {
  CWindowPlacement p;
  if (!window) return p;
  p.valid = true;
  const Qt::WindowStates state = window->windowState();
  p.show = (state & Qt::WindowMinimized)   ? kShowMinimized
           : (state & Qt::WindowMaximized) ? kShowMaximized
                                           : kShowNormal;
  if (window->isWindow()) {
    p.normal = window->normalGeometry();
    if (p.normal.isEmpty()) p.normal = window->geometry();
  } else {
    const QVariant normal = window->property(kNormalGeometryProperty);
    p.normal = p.show == kShowNormal || !normal.isValid() ? window->geometry() : normal.toRect();
  }
  return p;
}

bool ApplyPlacement(QWidget* window, const CWindowPlacement& p) {
  if (!window || !p.valid || p.normal.isEmpty()) return false;
  QRect rect = p.normal;
  if (window->isWindow()) {
    // A rectangle saved on a screen that is gone would leave the window
    // out of reach.
    bool on_screen = false;
    for (QScreen* screen : QGuiApplication::screens())
      on_screen = on_screen || screen->availableGeometry().intersects(rect);
    if (!on_screen) {
      if (QScreen* primary = QGuiApplication::primaryScreen())
        rect.moveTopLeft(primary->availableGeometry().topLeft());
    }
    // Nor may one saved on a larger screen reach past this one's edges.
    QScreen* screen = QGuiApplication::screenAt(rect.center());
    if (!screen) screen = QGuiApplication::primaryScreen();
    if (screen) {
      const QRect room = screen->availableGeometry();
      rect.setSize(rect.size().boundedTo(room.size()));
      if (rect.right() > room.right()) rect.moveRight(room.right());
      if (rect.bottom() > room.bottom()) rect.moveBottom(room.bottom());
    }
    window->setWindowState(window->windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized));
    window->setGeometry(rect);
    // The program starts where the user can see it: iconic counts as normal.
    if (p.IsMaximized()) window->setWindowState(window->windowState() | Qt::WindowMaximized);
    return true;
  }
  if (window->windowState() & (Qt::WindowMinimized | Qt::WindowMaximized)) window->showNormal();
  window->setGeometry(rect);
  window->setProperty(kNormalGeometryProperty, rect);
  if (p.IsMaximized()) {
    window->showMaximized();
  } else if (p.IsMinimized()) {
    window->showMinimized();
  } else {
    window->show();
  }
  return true;
}

void TrackNormalGeometry(QWidget* sub) {
  if (!sub) return;
  sub->installEventFilter(new NormalGeometryTracker(sub));
}

}  // namespace vorn::shell
