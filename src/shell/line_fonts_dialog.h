// The "Line Fonts..." dialog: one row per line of a database with its face,
// size and colour, each changed with the platform's font and colour
// choosers. Confirmed changes become the lines' fonts and are recorded in
// the settings (each line keeps only what differs from its default), so
// every window on the database shows them after a re-layout.
#pragma once

#include <QDialog>
#include <vector>

#include "textdb/font_format.h"

class QTableWidget;

namespace vorn {
class CVornDB;
}

namespace vorn::shell {

class CLineFontsDialog : public QDialog {
  Q_OBJECT
 public:
  // `db` is borrowed and must outlive the dialog.
  CLineFontsDialog(CVornDB* db, QWidget* parent);

  // The font chosen for line `index` so far (its current font until then).
  const CFontFormat& GetChosen(int index) const { return chosen_[static_cast<size_t>(index)]; }
  // Sets the font of line `index` in the dialog, as the choosers do.
  void Choose(int index, std::u16string_view face, int size_points, ColourValue colour);
  // Hands the chosen fonts to the lines that changed; true when any did.
  bool Apply();
  // A line's default font comes back.
  void ResetLine(int index);

 private:
  void ShowRow(int index);
  void PickFont(int index);
  void PickColour(int index);

  CVornDB* db_;
  QTableWidget* table_ = nullptr;
  std::vector<CFontFormat> chosen_;
};

}  // namespace vorn::shell
