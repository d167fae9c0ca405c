#include "shell/bible_info_dialog.h"

#include <QDialogButtonBox>
#include <QFontMetrics>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "shell/qt_device.h"
#include "shell/view_output.h"
#include "textdb/vorn_db.h"

namespace vorn::shell {

CBibleInfoDialog::CBibleInfoDialog(QWidget* parent, const CVornDB& db) : QDialog(parent) {
  setWindowTitle(tr("Bible Information"));
  auto* box = new QVBoxLayout(this);
  text_ = new QPlainTextEdit(this);
  text_->setReadOnly(true);
  text_->setPlainText(ToQString(MakeBibleInformation(db)));
  const QFontMetrics metrics(text_->font());
  text_->setMinimumSize(metrics.averageCharWidth() * 60, metrics.lineSpacing() * 14);
  box->addWidget(text_);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  box->addWidget(buttons);
}

QString CBibleInfoDialog::GetText() const { return text_->toPlainText(); }

}  // namespace vorn::shell
