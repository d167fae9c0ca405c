#include "shell/bcv.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLineEdit>
#include <QSpinBox>
#include <QStyle>

#include "shell/qt_device.h"

namespace vorn::shell {

namespace {

// A spin control reduced to its two arrows: its number is only the distance
// moved since it last came to rest, which means nothing to the user.
class CSpinButton : public QSpinBox {
 public:
  explicit CSpinButton(QWidget* parent) : QSpinBox(parent) {
    setRange(Cbcv::kSpinMin, Cbcv::kSpinMax);
    setValue(kSpinCentre);
    setButtonSymbols(QAbstractSpinBox::UpDownArrows);
    setFrame(false);
    lineEdit()->setReadOnly(true);
    lineEdit()->hide();
    setFixedWidth(style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 2);
  }
};

QLineEdit* MakeEdit(QWidget* parent, int chars) {
  auto* edit = new QLineEdit(parent);
  edit->setAlignment(Qt::AlignRight);
  edit->setFixedWidth(edit->fontMetrics().horizontalAdvance(QString(chars, QLatin1Char('0'))) + 12);
  return edit;
}

}  // namespace

Cbcv::Cbcv(QWidget* parent) : QWidget(parent) {
  auto* row = new QHBoxLayout(this);
  row->setContentsMargins(0, 0, 0, 0);
  row->setSpacing(1);
  book_ = new QComboBox(this);
  book_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
  book_->setMinimumContentsLength(8);
  book_->view()->setMinimumWidth(kDroppedWidth);
  chapter_ = MakeEdit(this, 3);
  // Chapters are numbered 0..255 in the verse index.
  chapter_->setValidator(new QIntValidator(0, 255, chapter_));
  // Verse labels may carry a letter or a second number ("12a", "12-14").
  verse_ = MakeEdit(this, 5);
  chapter_spin_ = new CSpinButton(this);
  verse_spin_ = new CSpinButton(this);
  row->addWidget(book_);
  row->addSpacing(3);
  row->addWidget(chapter_);
  row->addWidget(chapter_spin_);
  row->addSpacing(3);
  row->addWidget(verse_);
  row->addWidget(verse_spin_);

  book_->setToolTip(tr("Book"));
  chapter_->setToolTip(tr("Chapter"));
  verse_->setToolTip(tr("Verse"));
  connect(book_, &QComboBox::activated, this, [this](int index) { ChooseBook(index); });
  connect(chapter_, &QLineEdit::returnPressed, this, [this] { ChooseTyped(); });
  connect(verse_, &QLineEdit::returnPressed, this, [this] { ChooseTyped(); });
  connect(chapter_spin_, &QSpinBox::valueChanged, this, [this](int v) { Spin(true, v); });
  connect(verse_spin_, &QSpinBox::valueChanged, this, [this](int v) { Spin(false, v); });
  SetRef(ref_);
}

Cbcv::~Cbcv() = default;

void Cbcv::FillBooks(const CBibleRef& ref) {
  book_->clear();
  for (const std::u16string& name : ref.GetBookListNames()) book_->addItem(ToQString(name));
  books_db_ = ref.GetDatabase();
  books_filled_ = true;
}

void Cbcv::ResetSpins() {
  for (QSpinBox* spin : {chapter_spin_, verse_spin_}) {
    const QSignalBlocker quiet(spin);
    spin->setValue(kSpinCentre);
  }
}

bool Cbcv::SetRef(const CBibleRef& ref) {
  // An unbound list holds the reference's own code, so it is made anew.
  if (!books_filled_ || !ref.GetDatabase() || ref.GetDatabase() != books_db_) FillBooks(ref);
  // An unbound reference has no book number; its list holds its book alone.
  const int index = ref.GetDatabase() ? ref.GetBookNumber() - 1 : 0;
  book_->setCurrentIndex(index >= 0 && index < book_->count() ? index : -1);
  chapter_->setText(QString::number(ref.GetChapter()));
  verse_->setText(ToQString(ref.GetVerseLabel()));
  ResetSpins();
  const bool changed = !ref.IsEqual(ref_);
  ref_ = ref;
  return changed;
}

std::u16string Cbcv::TypedLabel() const {
  // Databases label suffixes in lower case ("12a"); a typed "12A" means it.
  QString typed = verse_->text().trimmed();
  if (!typed.isEmpty() && !typed.back().isDigit()) typed = typed.toLower();
  return FromQString(typed);
}

CBibleRef Cbcv::GetRef() const {
  const int book = book_->currentIndex() + 1;
  const int chapter = chapter_->text().trimmed().toInt();
  const std::u16string label = TypedLabel();
  if (ref_.HasEntry()) return CBibleRef(ref_.GetDatabase(), book, chapter, label);
  return CBibleRef(FromQString(book_->currentText()), chapter, label);
}

void Cbcv::Spin(bool chapter, int position) {
  const int steps = position - kSpinCentre;
  if (steps == 0) return;
  if (!ref_.HasEntry()) {
    ResetSpins();
    return;
  }
  CBibleRef moved(ref_);
  if (chapter) {
    moved.StepChapters(steps);
  } else {
    moved.StepVerses(steps);
  }
  SetRef(moved);
  emit RefChosen(ref_);
}

void Cbcv::ChooseTyped() {
  // Typed numbers must name a verse of the text; going to a neighbour would
  // show another verse as if it were the one asked for.
  std::u16string message;
  if (ref_.HasEntry() &&
      !CBibleRef::IsInText(ref_.GetDatabase(), book_->currentIndex() + 1,
                           FromQString(chapter_->text().trimmed()), TypedLabel(), &message)) {
    if (messages_) messages_->ShowWarning(message);
    SetRef(ref_);
    return;
  }
  Choose();
}

void Cbcv::ChooseBook(int index) {
  if (!ref_.HasEntry() || index + 1 == ref_.GetBookNumber()) {
    Choose();
    return;
  }
  CBibleRef start(ref_.GetDatabase(), index + 1, 1, 1);
  start.StartOfBook();
  SetRef(start);
  emit RefChosen(ref_);
}

void Cbcv::Choose() {
  SetRef(GetRef());
  emit RefChosen(ref_);
}

}  // namespace vorn::shell
