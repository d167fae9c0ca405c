#include "shell/line_fonts_dialog.h"

#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFontDialog>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "shell/qt_device.h"
#include "textdb/line.h"
#include "textdb/vorn_db.h"

namespace vorn::shell {

namespace {

enum Column { kLine, kFont, kColour, kColumns };

}  // namespace

CLineFontsDialog::CLineFontsDialog(CVornDB* db, QWidget* parent) : QDialog(parent), db_(db) {
  setWindowTitle(tr("Line Fonts - %1").arg(ToQString(db->GetTitle())));
  auto* box = new QVBoxLayout(this);
  table_ = new QTableWidget(db->GetLineCount(), kColumns, this);
  table_->setHorizontalHeaderLabels({tr("Line"), tr("Font"), tr("Colour")});
  table_->verticalHeader()->hide();
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table_->setSelectionBehavior(QAbstractItemView::SelectRows);
  table_->setSelectionMode(QAbstractItemView::SingleSelection);
  table_->horizontalHeader()->setSectionResizeMode(kFont, QHeaderView::Stretch);
  for (int i = 0; i < db->GetLineCount(); ++i) {
    chosen_.push_back(db->GetLine(i)->GetFont());
    ShowRow(i);
  }
  // Double-clicking the font or colour cell opens its chooser.
  connect(table_, &QTableWidget::cellDoubleClicked, this, [this](int row, int column) {
    if (column == kColour) {
      PickColour(row);
    } else {
      PickFont(row);
    }
  });
  box->addWidget(table_);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  QPushButton* font = buttons->addButton(tr("&Font..."), QDialogButtonBox::ActionRole);
  QPushButton* colour = buttons->addButton(tr("&Colour..."), QDialogButtonBox::ActionRole);
  QPushButton* reset = buttons->addButton(tr("&Default"), QDialogButtonBox::ResetRole);
  auto row = [this] { return table_->currentRow(); };
  connect(font, &QPushButton::clicked, this, [this, row] { PickFont(row()); });
  connect(colour, &QPushButton::clicked, this, [this, row] { PickColour(row()); });
  connect(reset, &QPushButton::clicked, this, [this, row] { ResetLine(row()); });
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  box->addWidget(buttons);
  if (db->GetLineCount() > 0) table_->selectRow(0);
  resize(520, 320);
}

void CLineFontsDialog::ShowRow(int index) {
  const CFontFormat& f = chosen_[static_cast<size_t>(index)];
  table_->setItem(index, kLine,
                  new QTableWidgetItem(QString::fromStdString(db_->GetLineName(index))));
  auto* font = new QTableWidgetItem(tr("%1, %2 pt").arg(ToQString(f.face())).arg(f.size_points()));
  QFont shown(ToQString(f.face()));
  shown.setPointSize(std::max(6, std::min(f.size_points(), 16)));
  font->setFont(shown);
  table_->setItem(index, kFont, font);
  auto* colour = new QTableWidgetItem;
  colour->setBackground(ToQColor(ResolveColour(f.colour())));
  table_->setItem(index, kColour, colour);
}

void CLineFontsDialog::Choose(int index, std::u16string_view face, int size_points,
                              ColourValue colour) {
  if (index < 0 || index >= static_cast<int>(chosen_.size())) return;
  CFontFormat& f = chosen_[static_cast<size_t>(index)];
  // A plain face keeps the direction and style the font already has.
  f.SetFace(face);
  f.set_height(size_points * 10);
  f.set_colour(colour);
  ShowRow(index);
}

void CLineFontsDialog::PickFont(int index) {
  if (index < 0 || index >= static_cast<int>(chosen_.size())) return;
  const CFontFormat& f = chosen_[static_cast<size_t>(index)];
  QFont current(ToQString(f.face()));
  current.setPointSize(std::max(1, f.size_points()));
  bool ok = false;
  const QFont font = QFontDialog::getFont(
      &ok, current, this, tr("Font of %1").arg(QString::fromStdString(db_->GetLineName(index))));
  if (ok) Choose(index, FromQString(font.family()), std::max(3, font.pointSize()), f.colour());
}

void CLineFontsDialog::PickColour(int index) {
  if (index < 0 || index >= static_cast<int>(chosen_.size())) return;
  const CFontFormat& f = chosen_[static_cast<size_t>(index)];
  const QColor c = QColorDialog::getColor(ToQColor(ResolveColour(f.colour())), this);
  if (!c.isValid()) return;
  Choose(index, f.face(), f.size_points(),
         MakeRgb(static_cast<uint8_t>(c.red()), static_cast<uint8_t>(c.green()),
                 static_cast<uint8_t>(c.blue())));
}

void CLineFontsDialog::ResetLine(int index) {
  if (index < 0 || index >= static_cast<int>(chosen_.size())) return;
  const CFontFormat& d = db_->GetLine(index)->GetDefaultFont();
  Choose(index, d.face(), d.size_points(), d.colour());
}

bool CLineFontsDialog::Apply() {
  bool changed = false;
  for (int i = 0; i < static_cast<int>(chosen_.size()); ++i) {
    CVornDBLine* line = db_->GetLine(i);
    const CFontFormat& f = chosen_[static_cast<size_t>(i)];
    const CFontFormat& now = line->GetFont();
    if (f.face() == now.face() && f.size_points() == now.size_points() &&
        f.colour() == now.colour())
      continue;
    line->SetFont(f.face(), f.size_points(), f.colour());
    changed = true;
  }
  return changed;
}

}  // namespace vorn::shell
