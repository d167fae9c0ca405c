// Arranging the document windows of the main frame: the frame's own
// cascade and tile, and side by side or one above the other, which is how
// two texts are usually compared (a Hebrew OT beside a Septuagint, two
// Greek editions). The dialog of "Arrange Windows" offers the four.
#pragma once

#include <QDialog>

class QMdiArea;
class QButtonGroup;

namespace vorn::shell {

enum class Arrangement { kCascade, kTile, kSideBySide, kStacked };

// Moves the visible, not minimised windows of `area` into `how`. Nothing
// happens without such windows.
void ArrangeWindows(QMdiArea* area, Arrangement how);

class CArrangeDialog : public QDialog {
  Q_OBJECT
 public:
  explicit CArrangeDialog(QWidget* parent);
  Arrangement GetChoice() const;
  void SetChoice(Arrangement how);

 private:
  QButtonGroup* group_ = nullptr;
};

}  // namespace vorn::shell
