#include "shell/arrange_windows.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QRadioButton>
#include <QVBoxLayout>
#include <vector>

namespace vorn::shell {

void ArrangeWindows(QMdiArea* area, Arrangement how) {
  if (how == Arrangement::kCascade) {
    area->cascadeSubWindows();
    return;
  }
  if (how == Arrangement::kTile) {
    area->tileSubWindows();
    return;
  }
  std::vector<QMdiSubWindow*> windows;
  for (QMdiSubWindow* sub : area->subWindowList(QMdiArea::CreationOrder)) {
    if (sub->isVisible() && !sub->isMinimized()) windows.push_back(sub);
  }
  if (windows.empty()) return;
  const QRect room = area->viewport()->rect();
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
