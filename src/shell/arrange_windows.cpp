#include "shell/arrange_windows.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QRadioButton>
#include <QStyle>
#include <QVBoxLayout>
#include <algorithm>
#include <vector>

namespace vorn::shell {

namespace {

// Each window as large as the area allows once the title bars of those in front of it show:
// at least two thirds of the area, the steps starting over at the top left when they run out.
void Cascade(const std::vector<QMdiSubWindow*>& windows, const QRect& room) {
  const int n = static_cast<int>(windows.size());
  const int step =
      windows.front()->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, windows.front()) +
      4;
  const int width = std::max(room.width() - step * (n - 1), room.width() * 2 / 3);
  const int height = std::max(room.height() - step * (n - 1), room.height() * 2 / 3);
  const int steps =
      std::max(1, std::min((room.width() - width) / step + 1, (room.height() - height) / step + 1));
  for (int i = 0; i < n; ++i) {
    QMdiSubWindow* sub = windows[static_cast<size_t>(i)];
    if (sub->isMaximized()) sub->showNormal();
    const int offset = (i % steps) * step;
    sub->setGeometry(offset, offset, width, height);
    sub->raise();
  }
}

}  // namespace

void ArrangeWindows(QMdiArea* area, Arrangement how) {
  if (how == Arrangement::kTile) {
    area->tileSubWindows();
    return;
  }
  std::vector<QMdiSubWindow*> windows;
  // In stacking order, so that a cascade keeps the active window in front.
  const auto order =
      how == Arrangement::kCascade ? QMdiArea::StackingOrder : QMdiArea::CreationOrder;
  for (QMdiSubWindow* sub : area->subWindowList(order)) {
    if (sub->isVisible() && !sub->isMinimized()) windows.push_back(sub);
  }
  if (windows.empty()) return;
  const QRect room = area->viewport()->rect();
  if (how == Arrangement::kCascade) {
    Cascade(windows, room);
    return;
  }
  const int n = static_cast<int>(windows.size());
  for (int i = 0; i < n; ++i) {
    QMdiSubWindow* sub = windows[static_cast<size_t>(i)];
    if (sub->isMaximized()) sub->showNormal();
    // Integer edges so that the windows meet without gaps or overlaps.
    if (how == Arrangement::kSideBySide) {
      const int left = room.width() * i / n, right = room.width() * (i + 1) / n;
      sub->setGeometry(left, 0, right - left, room.height());
    } else {
      const int top = room.height() * i / n, bottom = room.height() * (i + 1) / n;
      sub->setGeometry(0, top, room.width(), bottom - top);
    }
  }
}

CArrangeDialog::CArrangeDialog(QWidget* parent) : QDialog(parent) {
  setWindowTitle(tr("Arrange Windows"));
  auto* box = new QVBoxLayout(this);
  group_ = new QButtonGroup(this);
  const struct {
    Arrangement how;
    const char* text;
  } choices[] = {{Arrangement::kCascade, "&Cascade"},
                 {Arrangement::kTile, "&Tile"},
                 {Arrangement::kSideBySide, "&Side by side"},
                 {Arrangement::kStacked, "&One above the other"}};
  for (const auto& c : choices) {
    auto* button = new QRadioButton(tr(c.text), this);
    group_->addButton(button, static_cast<int>(c.how));
    box->addWidget(button);
  }
  SetChoice(Arrangement::kSideBySide);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  box->addWidget(buttons);
}

Arrangement CArrangeDialog::GetChoice() const {
  return static_cast<Arrangement>(std::max(0, group_->checkedId()));
}

void CArrangeDialog::SetChoice(Arrangement how) {
  if (auto* b = group_->button(static_cast<int>(how))) b->setChecked(true);
}

}  // namespace vorn::shell
