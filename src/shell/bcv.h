// The book/chapter/verse picker: a book list, a chapter and a verse edit,
// each number with a spin button, all showing one reference. The navigation
// bar shows the active window's focus verse in it; the print dialog uses it
// to choose a passage.
#pragma once

#include <QMetaType>
#include <QWidget>

#include "platform/message_sink.h"
#include "refs/bible_ref.h"

class QComboBox;
class QLineEdit;
class QSpinBox;

namespace vorn::shell {

class Cbcv : public QWidget {
  Q_OBJECT
 public:
  // The book list drops down this wide, whatever the width of the box.
  static constexpr int kDroppedWidth = 130;
  // The spin buttons' range; they rest at kSpinCentre between moves.
  static constexpr int kSpinMin = -1;
  static constexpr int kSpinMax = 4000;

  explicit Cbcv(QWidget* parent);
  ~Cbcv() override;

  // Shows `ref`: the book list is refilled when the reference is bound to
  // another database than the one shown (or to none), the book, chapter and
  // verse label are written into the controls and the spins go back to
  // rest. Returns true when `ref` differs from the reference shown before
  // (CBibleRef::IsEqual). The reference's database is borrowed and must
  // outlive its display here (or be replaced by another SetRef first).
  bool SetRef(const CBibleRef& ref);
  // Where a typed chapter or verse that the text lacks is reported
  // (borrowed, may be null: then it is only refused).
  void SetMessageSink(platform::CMessageSink* messages) { messages_ = messages; }
  // The reference shown by the last SetRef (or reached by the last spin).
  const CBibleRef& GetCurrentRef() const { return ref_; }
  // What the controls say now: the chosen book, the chapter edit's number
  // and the verse edit's text as label; bound to the current reference's
  // database when that has a verse entry, else unbound (by the book's name).
  CBibleRef GetRef() const;

  // A spin button's new position: the distance from kSpinCentre is the
  // number of chapters (`chapter`) or verses to move. Moves only while the
  // current reference has a verse entry; then shows the result and tells
  // RefChosen. Either way the button goes back to rest.
  void Spin(bool chapter, int position);

  QComboBox* GetBookCombo() const { return book_; }
  QLineEdit* GetChapterEdit() const { return chapter_; }
  QLineEdit* GetVerseEdit() const { return verse_; }
  QSpinBox* GetChapterSpin() const { return chapter_spin_; }
  QSpinBox* GetVerseSpin() const { return verse_spin_; }

 signals:
  // The user chose a reference: picked a book, pressed Enter in the chapter
  // or verse edit, or moved a spin button.
  void RefChosen(const CBibleRef& ref);

 private:
  void FillBooks(const CBibleRef& ref);
  void ResetSpins();
  void Choose();
  // A book chosen from the list: another book opens at its first verse, not at the chapter
  // and verse of the one left.
  void ChooseBook(int index);
  // Choose for Enter in the chapter or verse edit: a chapter or verse the
  // text lacks is reported and the controls show the current reference again.
  void ChooseTyped();
  // The verse edit's text as a verse label.
  std::u16string TypedLabel() const;

  QComboBox* book_ = nullptr;
  QLineEdit* chapter_ = nullptr;
  QLineEdit* verse_ = nullptr;
  QSpinBox* chapter_spin_ = nullptr;
  QSpinBox* verse_spin_ = nullptr;
  CBibleRef ref_;
  platform::CMessageSink* messages_ = nullptr;
  // The database the book list was filled for; books_filled_ is false until
  // the first fill (an unbound list depends on the reference's code).
  CVornDB* books_db_ = nullptr;
  bool books_filled_ = false;
};

}  // namespace vorn::shell

// References travel in signals and queued calls.
Q_DECLARE_METATYPE(vorn::CBibleRef)
