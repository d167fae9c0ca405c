// The database information dialog: the titles and rights notices of the
// database a pane shows, read-only, with one button to close it.
#pragma once

#include <QDialog>

class QPlainTextEdit;

namespace vorn {
class CVornDB;
}

namespace vorn::shell {

class CBibleInfoDialog : public QDialog {
  Q_OBJECT
 public:
  // `db` is only read while the dialog is made.
  CBibleInfoDialog(QWidget* parent, const CVornDB& db);

  QString GetText() const;

 private:
  QPlainTextEdit* text_;
};

}  // namespace vorn::shell
