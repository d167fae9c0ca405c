// Window positions as settings and desktops store them (keys WndPos and
// ViewPos): nine signed decimal numbers separated by "," — show state,
// minimised position x, y, maximised position x, y, and the normal
// rectangle left, top, right, bottom (right and bottom exclusive).
#pragma once

#include <QPoint>
#include <QRect>
#include <QString>
#include <QStringView>

class QWidget;

namespace vorn::shell {

// Show states as the stored numbers give them.
enum ShowState : int {
  kShowHide = 0,
  kShowNormal = 1,
  kShowMinimized = 2,
  kShowMaximized = 3,
  kShowMinimize = 6,
  kShowMinNoActive = 7,
  kShowRestore = 9,
  kShowForceMinimize = 11,
};

struct CWindowPlacement {
  // False for a placement never obtained; it is written as empty text.
  bool valid = false;
  // Set when read from text: the stored minimised position is to be used.
  bool honour_min_position = false;
  int show = kShowNormal;
  QPoint min_pos{-1, -1};
  QPoint max_pos{-1, -1};
  QRect normal;  // where the window stands when neither minimised nor maximised

  bool IsMinimized() const;
  bool IsMaximized() const;
  bool operator==(const CWindowPlacement&) const = default;
};

// Reads the nine numbers, each but the first preceded by ","; white space
// before a number is skipped, text after the ninth number is ignored. False,
// leaving `*out` untouched, when a number or a comma is missing or a number
// does not fit 32 bits, or the right or bottom edge is the smallest int.
[[nodiscard]] bool ParsePlacement(QStringView text, CWindowPlacement* out);
// The nine numbers without blanks; empty text for an invalid placement.
QString FormatPlacement(const CWindowPlacement& placement);

// Where `window` stands: a top-level window on the screen, or a sub-window
// inside its multi-document area (relative to the area). Invalid for null.
CWindowPlacement GetPlacement(const QWidget* window);
// Puts `window` where `placement` says. A top-level window is never left
// minimised and is moved onto a screen when its rectangle lies on none.
// False, changing nothing, for an invalid placement or an empty rectangle.
bool ApplyPlacement(QWidget* window, const CWindowPlacement& placement);
// A sub-window of a multi-document area forgets where it stood once it is
// maximised or minimised; this makes it remember, for GetPlacement. The
// tracker is a child of `sub` and lives as long as it.
void TrackNormalGeometry(QWidget* sub);

}  // namespace vorn::shell
