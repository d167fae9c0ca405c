// The note dialog of a word: its title names the word (reference and number
// within the verse), it shows the note's text for editing and offers to
// delete the note; it opens where the note's dialog last stood.
#pragma once

#include <QDialog>
#include <vector>

#include "markup/annotation_file.h"
#include "textdb/types.h"

class QCheckBox;
class QPlainTextEdit;
class QListWidget;

namespace vorn {
class CAnnotation;
class CVornDB;
}  // namespace vorn

namespace vorn::shell {

class CNoteDialog : public QDialog {
  Q_OBJECT
 public:
  // Shows the word's note (empty without one); `notes` is borrowed and
  // must outlive the dialog.
  CNoteDialog(CAnnotation* notes, WordIndex word, QWidget* parent);
  ~CNoteDialog() override;

  QPlainTextEdit* GetTextEdit() const { return text_; }
  QCheckBox* GetDeleteBox() const { return delete_; }

  // OK's effect on the notes: with the delete option the note is removed,
  // else its text (lines joined by CR LF) and this dialog's placement are
  // stored; either way the book is marked changed. False for a word
  // outside every book (nothing changes).
  [[nodiscard]] bool Apply();

 private:
  CAnnotation* notes_;
  WordIndex word_;
  QPlainTextEdit* text_ = nullptr;
  QCheckBox* delete_ = nullptr;
};

// The notes of one book, read-only, one row per note (where it stands and
// the start of its text) in word order; choosing a row gives its word.
class CNotesListDialog : public QDialog {
  Q_OBJECT
 public:
  // Lists the notes of the book of `word`; `notes` is borrowed.
  CNotesListDialog(CAnnotation* notes, CVornDB* db, WordIndex word, QWidget* parent);
  ~CNotesListDialog() override;

  QListWidget* GetList() const { return list_; }
  // The word of the chosen row; -1 for none.
  WordIndex GetChosenWord() const;

 private:
  QListWidget* list_ = nullptr;
  std::vector<WordIndex> words_;
};

// Opens the note dialog of `word` (modal) and applies it on OK; true when
// the notes changed.
bool EditNote(CAnnotation* notes, WordIndex word, QWidget* parent);

}  // namespace vorn::shell
