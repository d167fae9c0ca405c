#include "shell/note_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "markup/annotation.h"
#include "refs/bible_ref.h"
#include "shell/qt_device.h"
#include "shell/window_placement.h"

namespace vorn::shell {

CNoteDialog::CNoteDialog(CAnnotation* notes, WordIndex word, QWidget* parent)
    : QDialog(parent), notes_(notes), word_(word) {
  setWindowTitle(ToQString(notes->GetNoteTitle(word)));
  auto* box = new QVBoxLayout(this);
  text_ = new QPlainTextEdit(this);
  delete_ = new QCheckBox(tr("&Delete this note"), this);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  box->addWidget(text_);
  box->addWidget(delete_);
  box->addWidget(buttons);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  resize(400, 250);
  Note note;
  if (notes->GetNote(word, &note)) {
    QString text = ToQString(note.text);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text_->setPlainText(text);
    CWindowPlacement placement;
    if (note.placement &&
        ParsePlacement(ToQString(vorn::FormatPlacement(*note.placement)), &placement))
      static_cast<void>(ApplyPlacement(this, placement));
  }
}

CNoteDialog::~CNoteDialog() = default;

bool CNoteDialog::Apply() {
  if (delete_->isChecked()) return notes_->RemoveNote(word_);
  Note note;
  QString text = text_->toPlainText();
  text.replace(u'\n', QStringLiteral("\r\n"));
  note.text = FromQString(text);
  WindowPlacement stored;
  const QString placement = FormatPlacement(GetPlacement(this));
  if (vorn::ParsePlacement(FromQString(placement), &stored)) note.placement = stored;
  return notes_->StoreNote(word_, note);
}

CNotesListDialog::CNotesListDialog(CAnnotation* notes, CVornDB* db, WordIndex word, QWidget* parent)
    : QDialog(parent) {
  const CBibleRef ref(db, word);
  setWindowTitle(tr("Notes of %1").arg(ToQString(ref.FormatLong())));
  auto* box = new QVBoxLayout(this);
  list_ = new QListWidget(this);
  box->addWidget(list_);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  box->addWidget(buttons);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(list_, &QListWidget::itemActivated, this, &QDialog::accept);
  resize(480, 320);
  const WordSpan book = ref.GetBookSpan();
  Note note;
  for (WordIndex w = book.first; w >= 0 && w < book.end; ++w) {
    if (!notes->GetNote(w, &note)) continue;
    QString text = ToQString(note.text).section(QStringLiteral("\r\n"), 0, 0);
    if (text.size() > 60) text = text.left(59) + u'…';
    list_->addItem(ToQString(notes->GetNoteTitle(w)) + QStringLiteral("  ") + text);
    words_.push_back(w);
  }
  if (!words_.empty()) list_->setCurrentRow(0);
}

CNotesListDialog::~CNotesListDialog() = default;

WordIndex CNotesListDialog::GetChosenWord() const {
  const int row = list_->currentRow();
  return row >= 0 && static_cast<size_t>(row) < words_.size() ? words_[row] : -1;
}

bool EditNote(CAnnotation* notes, WordIndex word, QWidget* parent) {
  if (!notes || word < 0) return false;
  CNoteDialog dialog(notes, word, parent);
  return dialog.exec() == QDialog::Accepted && dialog.Apply();
}

}  // namespace vorn::shell
