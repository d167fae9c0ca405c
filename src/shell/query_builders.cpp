#include "shell/query_builders.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QVBoxLayout>

#include "platform/message_sink.h"
#include "query/fmt_str.h"
#include "querystate/query_tool.h"
#include "shell/actions.h"
#include "shell/nav_bar.h"
#include "shell/qt_device.h"
#include "shell/rich_query_box.h"
#include "textdb/links_line.h"
#include "textdb/tags_line.h"
#include "textdb/verses.h"
#include "textdb/vorn_db.h"

namespace vorn::shell {

namespace {

QDialogButtonBox* AddButtons(QDialog* dialog, QBoxLayout* layout) {
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog);
  buttons->button(QDialogButtonBox::Ok)->setText(QObject::tr("&Insert"));
  QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
  layout->addWidget(buttons);
  return buttons;
}

// "form  (count)" rows, the form in the line's font; the count is also the
// item's data.
void ShowForms(QListWidget* list, const std::vector<FormCount>& forms, const QFont& font) {
  list->clear();
  for (const FormCount& f : forms) {
    const auto count = static_cast<qulonglong>(f.words);
    auto* item = new QListWidgetItem(QStringLiteral("%1  (%2)").arg(ToQString(f.text)).arg(count));
    item->setData(Qt::UserRole, count);
    item->setFont(font);
    list->addItem(item);
  }
}

std::vector<std::u16string> PickedTexts(const QListWidget* list,
                                        const std::vector<FormCount>& shown) {
  std::vector<std::u16string> out;
  for (int row = 0; row < list->count(); ++row) {
    if (list->item(row)->isSelected() && static_cast<size_t>(row) < shown.size())
      out.push_back(shown[static_cast<size_t>(row)].text);
  }
  return out;
}

}  // namespace

// --- Grammar tag.

CTagChooserDialog::CTagChooserDialog(const CVornDBTagsLine& line, QWidget* parent)
    : QDialog(parent), builder_(line) {
  setWindowTitle(tr("Grammar Tag"));
  auto* box = new QVBoxLayout(this);
  auto* strip = new QWidget;
  auto* columns = new QHBoxLayout(strip);
  for (int p = 0; p < builder_.GetPositionCount(); ++p) {
    auto* column = new QVBoxLayout;
    column->addWidget(new QLabel(tr("Position %1").arg(p + 1)));
    auto* list = new QListWidget;
    list->setMinimumWidth(150);
    connect(list, &QListWidget::currentRowChanged, this, [this, p](int row) {
      if (filling_) return;
      QListWidgetItem* item = lists_[static_cast<size_t>(p)]->item(row);
      const QString code = item ? item->data(Qt::UserRole).toString() : QString();
      builder_.Choose(p,
                      code.isEmpty() ? char16_t{0} : static_cast<char16_t>(code.at(0).unicode()));
      Refill(p + 1);
    });
    column->addWidget(list);
    columns->addLayout(column);
    lists_.push_back(list);
  }
  auto* scroll = new QScrollArea;
  scroll->setWidget(strip);
  scroll->setWidgetResizable(true);
  box->addWidget(scroll);
  summary_ = new QLabel;
  summary_->setWordWrap(true);
  summary_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  box->addWidget(summary_);
  AddButtons(this, box);
  Refill(0);
  resize(900, 480);
}

CTagChooserDialog::~CTagChooserDialog() = default;

QListWidget* CTagChooserDialog::GetPositionList(int position) const {
  if (position < 0 || static_cast<size_t>(position) >= lists_.size()) return nullptr;
  return lists_[static_cast<size_t>(position)];
}

void CTagChooserDialog::Refill(int from_position) {
  filling_ = true;
  for (int p = from_position; p < builder_.GetPositionCount(); ++p) {
    QListWidget* list = lists_[static_cast<size_t>(p)];
    list->clear();
    auto* any = new QListWidgetItem(tr("(any)"));
    list->addItem(any);
    int chosen_row = 0;
    const std::vector<CTagBuilder::Choice> choices = builder_.GetChoices(p);
    for (const CTagBuilder::Choice& c : choices) {
      const QString code = ToQString(std::u16string(1, c.code));
      auto* item = new QListWidgetItem(code + QStringLiteral("  ") + ToQString(c.description));
      item->setData(Qt::UserRole, code);
      item->setToolTip(ToQString(c.description));
      list->addItem(item);
      if (c.code == builder_.GetChosen(p)) chosen_row = list->count() - 1;
    }
    // A choice the earlier ones no longer allow is dropped.
    if (chosen_row == 0) builder_.Choose(p, 0);
    list->setCurrentRow(chosen_row);
    list->setEnabled(!choices.empty());
  }
  filling_ = false;
  ShowSummary();
}

void CTagChooserDialog::ShowSummary() {
  summary_->setText(tr("%1\n%2\n%3 tags match")
                        .arg(ToQString(builder_.BuildQuery()), ToQString(builder_.Describe()))
                        .arg(static_cast<qulonglong>(builder_.CountForms())));
}

// --- Word list.

CWordListDialog::CWordListDialog(const CVornDB& db, int line_index, QWidget* parent)
    : QDialog(parent), db_(db) {
  setWindowTitle(tr("Word List"));
  auto* box = new QVBoxLayout(this);
  auto* form = new QFormLayout;
  line_box_ = new QComboBox;
  for (int i = 0; i < db.GetLineCount(); ++i) {
    const CVornDBLine* line = db.GetLine(i);
    if (LineKeyword(*line).empty()) continue;
    line_indexes_.push_back(i);
    line_box_->addItem(ToQString(LineKeyword(*line)));
    if (i == line_index) line_box_->setCurrentIndex(line_box_->count() - 1);
  }
  form->addRow(tr("&Line:"), line_box_);
  prefix_ = new QLineEdit;
  prefix_->setPlaceholderText(tr("the first letters"));
  form->addRow(tr("&Begins with:"), prefix_);
  box->addLayout(form);
  forms_list_ = new QListWidget;
  forms_list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  box->addWidget(forms_list_);
  count_ = new QLabel;
  box->addWidget(count_);
  AddButtons(this, box);
  connect(line_box_, &QComboBox::currentIndexChanged, this, [this] { Refill(); });
  connect(prefix_, &QLineEdit::textChanged, this, [this] { Refill(); });
  connect(forms_list_, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
  Refill();
  prefix_->setFocus();
  resize(420, 520);
}

CWordListDialog::~CWordListDialog() = default;

const CVornDBLine* CWordListDialog::CurrentLine() const {
  const int k = line_box_->currentIndex();
  if (k < 0 || static_cast<size_t>(k) >= line_indexes_.size()) return nullptr;
  return db_.GetLine(line_indexes_[static_cast<size_t>(k)]);
}

void CWordListDialog::Refill() {
  const CVornDBLine* line = CurrentLine();
  shown_.clear();
  size_t total = 0;
  if (line) ListFormsWithCounts(*line, FromQString(prefix_->text()), kMaxShown, &shown_, &total);
  ShowForms(forms_list_, shown_, line ? ToQFont(line->GetFont()) : font());
  count_->setText(total > shown_.size() ? tr("%1 forms, the first %2 shown")
                                              .arg(static_cast<qulonglong>(total))
                                              .arg(static_cast<qulonglong>(shown_.size()))
                                        : tr("%1 forms").arg(static_cast<qulonglong>(total)));
}

std::u16string CWordListDialog::GetQuery() const {
  const CVornDBLine* line = CurrentLine();
  if (!line) return {};
  return BuildTermQuery(LineKeyword(*line), PickedTexts(forms_list_, shown_));
}

// --- Link kinds.

CLinkKindDialog::CLinkKindDialog(const CVornDBLinks& links, QWidget* parent)
    : QDialog(parent), links_(links) {
  setWindowTitle(tr("Link Kinds"));
  auto* box = new QVBoxLayout(this);
  auto* kind_label = new QLabel(tr("&Kind:"));
  box->addWidget(kind_label);
  kinds_list_ = new QListWidget;
  kind_label->setBuddy(kinds_list_);
  for (const std::u16string& kind : ListLinkKinds(links)) kinds_list_->addItem(ToQString(kind));
  box->addWidget(kinds_list_);
  auto* form = new QFormLayout;
  prefix_ = new QLineEdit;
  prefix_->setPlaceholderText(tr("the first letters; nothing picked: every link of the kind"));
  form->addRow(tr("&Begins with:"), prefix_);
  box->addLayout(form);
  entries_list_ = new QListWidget;
  entries_list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  box->addWidget(entries_list_, 1);
  AddButtons(this, box);
  connect(kinds_list_, &QListWidget::currentRowChanged, this, [this] { Refill(); });
  connect(prefix_, &QLineEdit::textChanged, this, [this] { Refill(); });
  if (kinds_list_->count() > 0) kinds_list_->setCurrentRow(0);
  prefix_->setFocus();
  resize(420, 560);
}

CLinkKindDialog::~CLinkKindDialog() = default;

void CLinkKindDialog::Refill() {
  shown_.clear();
  if (QListWidgetItem* kind = kinds_list_->currentItem()) {
    ListFormsWithCounts(links_, FromQString(kind->text() + QStringLiteral(" ") + prefix_->text()),
                        CWordListDialog::kMaxShown, &shown_);
  }
  ShowForms(entries_list_, shown_, font());
}

std::u16string CLinkKindDialog::GetQuery() const {
  const QListWidgetItem* kind = kinds_list_->currentItem();
  if (!kind) return {};
  return BuildLinkQuery(links_, FromQString(kind->text()), PickedTexts(entries_list_, shown_));
}

// --- Passages.

CRangeDialog::CRangeDialog(const CVornDB& db, CNamedRanges* ranges,
                           platform::CMessageSink* messages, QWidget* parent)
    : QDialog(parent), db_(db), ranges_(ranges), messages_(messages) {
  setWindowTitle(tr("Passages"));
  auto* box = new QVBoxLayout(this);
  auto* columns = new QHBoxLayout;
  auto* left = new QVBoxLayout;
  auto* books_label = new QLabel(tr("&Book and chapters:"));
  left->addWidget(books_label);
  books_ = new QListWidget;
  books_label->setBuddy(books_);
  const int book_count = db.GetVerses() ? db.GetVerses()->GetBookCount() : 0;
  for (int b = 1; b <= book_count; ++b) books_->addItem(ToQString(db.GetBookCode(b)));
  left->addWidget(books_);
  auto* chapters = new QHBoxLayout;
  first_ = new QSpinBox;
  last_ = new QSpinBox;
  first_->setSpecialValueText(tr("all"));
  last_->setSpecialValueText(tr("-"));
  chapters->addWidget(new QLabel(tr("Chapters:")));
  chapters->addWidget(first_);
  chapters->addWidget(new QLabel(tr("to")));
  chapters->addWidget(last_);
  left->addLayout(chapters);
  columns->addLayout(left);

  auto* right = new QVBoxLayout;
  auto* named_label = new QLabel(tr("&Named ranges:"));
  right->addWidget(named_label);
  named_ = new QListWidget;
  named_label->setBuddy(named_);
  right->addWidget(named_);
  auto* named_buttons = new QHBoxLayout;
  auto* add = new QPushButton(tr("&Add..."));
  auto* rename = new QPushButton(tr("&Rename..."));
  auto* remove = new QPushButton(tr("&Delete"));
  named_buttons->addWidget(add);
  named_buttons->addWidget(rename);
  named_buttons->addWidget(remove);
  right->addLayout(named_buttons);
  columns->addLayout(right);
  box->addLayout(columns);
  AddButtons(this, box);

  connect(books_, &QListWidget::currentRowChanged, this, [this](int row) {
    const int last_chapter = LastChapterOf(db_, row + 1);
    first_->setRange(0, last_chapter);
    last_->setRange(0, last_chapter);
    first_->setValue(0);
    last_->setValue(0);
    named_->setCurrentRow(-1);
  });
  connect(first_, &QSpinBox::valueChanged, this, [this](int v) {
    if (last_->value() < v) last_->setValue(v);
  });
  connect(named_, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
  connect(add, &QPushButton::clicked, this, [this] {
    bool ok = false;
    const QString name = QInputDialog::getText(this, tr("Add Named Range"),
                                               tr("Name for %1:").arg(ToQString(BookRange())),
                                               QLineEdit::Normal, QString(), &ok);
    if (ok && !name.trimmed().isEmpty()) AddNamed(FromQString(name.trimmed()));
  });
  connect(rename, &QPushButton::clicked, this, [this] {
    const int k = CurrentNamed();
    if (k < 0) return;
    bool ok = false;
    const QString name =
        QInputDialog::getText(this, tr("Rename Named Range"), tr("New name:"), QLineEdit::Normal,
                              ToQString(ranges_->GetEntries()[static_cast<size_t>(k)].name), &ok);
    if (ok && !name.trimmed().isEmpty()) RenameNamed(FromQString(name.trimmed()));
  });
  connect(remove, &QPushButton::clicked, this, [this] { DeleteNamed(); });
  FillNamed(-1);
  if (books_->count() > 0) books_->setCurrentRow(0);
  resize(560, 460);
}

CRangeDialog::~CRangeDialog() = default;

std::u16string CRangeDialog::BookRange() const {
  const std::u16string q =
      BuildRangeQuery(db_, books_->currentRow() + 1, first_->value(), last_->value());
  return q.size() > 3 ? q.substr(3) : std::u16string();
}

int CRangeDialog::CurrentNamed() const {
  const int row = named_->currentRow();
  if (row < 0 || static_cast<size_t>(row) >= named_indexes_.size()) return -1;
  return named_indexes_[static_cast<size_t>(row)];
}

void CRangeDialog::FillNamed(int select) {
  named_->clear();
  named_indexes_.clear();
  const auto& entries = ranges_->GetEntries();
  for (size_t i = 0; i < entries.size(); ++i) {
    // Only the ranges whose books this text has.
    if (!CNamedRanges::IsOffered(entries[i].ranges, db_)) continue;
    named_indexes_.push_back(static_cast<int>(i));
    named_->addItem(ToQString(entries[i].name) + QStringLiteral("\t") +
                    ToQString(entries[i].ranges));
    if (static_cast<int>(i) == select) named_->setCurrentRow(named_->count() - 1);
  }
}

void CRangeDialog::ReportSave(bool saved) {
  if (!saved && messages_) messages_->ShowWarning(ranges_->DescribeSaveFailure());
}

bool CRangeDialog::AddNamed(const std::u16string& name) {
  const std::u16string range = BookRange();
  if (range.empty() || name.empty()) return false;
  const int after = CurrentNamed();
  const bool saved = ranges_->Add(after, name, range);
  ReportSave(saved);
  FillNamed(after >= 0 ? after + 1 : static_cast<int>(ranges_->GetEntries().size()) - 1);
  return saved;
}

bool CRangeDialog::RenameNamed(const std::u16string& name) {
  const int k = CurrentNamed();
  if (k < 0 || name.empty()) return false;
  const bool saved = ranges_->Rename(k, name);
  ReportSave(saved);
  FillNamed(k);
  return saved;
}

bool CRangeDialog::DeleteNamed() {
  const int k = CurrentNamed();
  if (k < 0) return false;
  const bool saved = ranges_->Delete(k);
  ReportSave(saved);
  FillNamed(-1);
  return saved;
}

std::u16string CRangeDialog::GetQuery() const {
  const int k = CurrentNamed();
  if (k >= 0) return BuildNamedRangeQuery(ranges_->GetEntries()[static_cast<size_t>(k)].ranges);
  const std::u16string range = BookRange();
  return range.empty() ? std::u16string() : u"in " + range;
}

// --- The Query menu.

CQueryBuilders::CQueryBuilders(QWidget* parent, CNavBar* nav_bar, platform::CMessageSink* messages,
                               std::function<const CVornDB*()> database, std::string ranges_path,
                               std::string program_ranges_path)
    : QObject(parent),
      parent_(parent),
      nav_bar_(nav_bar),
      messages_(messages),
      database_(std::move(database)),
      ranges_path_(std::move(ranges_path)),
      program_ranges_path_(std::move(program_ranges_path)) {}

CQueryBuilders::~CQueryBuilders() = default;

void CQueryBuilders::Insert(const std::u16string& text) {
  if (text.empty()) return;
  CRichQueryBox* box = nav_bar_->GetQueryBox();
  int32_t start = 0, end = 0;
  box->GetSelection(&start, &end);
  const std::u16string current = box->GetText();
  std::u16string piece = text;
  if (start > 0 && start <= static_cast<int32_t>(current.size()) &&
      current[static_cast<size_t>(start - 1)] != u' ')
    piece.insert(piece.begin(), u' ');
  if (end >= 0 && end < static_cast<int32_t>(current.size()) &&
      current[static_cast<size_t>(end)] != u' ')
    piece.push_back(u' ');
  box->ReplaceSelection(piece, CRichQueryBox::DefaultFormat());
  box->SetFocus();
}

bool CQueryBuilders::UpdateCommand(int id, bool* enabled) const {
  const CVornDB* db = database_ ? database_() : nullptr;
  switch (id) {
    case kCmdQueryWordList:
    case kCmdQueryRange:
      *enabled = db != nullptr;
      return true;
    case kCmdQueryTagChooser:
      *enabled = db && db->GetTagLineIndex() >= 0;
      return true;
    case kCmdQueryLinkKinds:
      *enabled = db && db->GetLinksLineIndex() >= 0;
      return true;
    case kCmdQueryHistory:
      *enabled = !nav_bar_->GetQueryTool().GetQueryList().GetEntries().empty();
      return true;
    default:
      return false;
  }
}

bool CQueryBuilders::OnCommand(int id) {
  const CVornDB* db = database_ ? database_() : nullptr;
  switch (id) {
    case kCmdQueryWordList: {
      if (!db) return true;
      CWordListDialog dialog(*db, db->GetFormLineIndex(), parent_);
      if (dialog.exec() == QDialog::Accepted) Insert(dialog.GetQuery());
      return true;
    }
    case kCmdQueryTagChooser: {
      if (!db || db->GetTagLineIndex() < 0) return true;
      CTagChooserDialog dialog(
          *static_cast<const CVornDBTagsLine*>(db->GetLine(db->GetTagLineIndex())), parent_);
      if (dialog.exec() == QDialog::Accepted) Insert(dialog.GetQuery());
      return true;
    }
    case kCmdQueryLinkKinds: {
      if (!db || db->GetLinksLineIndex() < 0) return true;
      CLinkKindDialog dialog(
          *static_cast<const CVornDBLinks*>(db->GetLine(db->GetLinksLineIndex())), parent_);
      if (dialog.exec() == QDialog::Accepted) Insert(dialog.GetQuery());
      return true;
    }
    case kCmdQueryRange: {
      if (!db) return true;
      // Read afresh each time: another window or program may have changed it.
      CNamedRanges ranges;
      static_cast<void>(ranges.Load(ranges_path_, program_ranges_path_));
      CRangeDialog dialog(*db, &ranges, messages_, parent_);
      if (dialog.exec() == QDialog::Accepted) Insert(dialog.GetQuery());
      return true;
    }
    case kCmdQueryHistory:
      ShowHistory();
      return true;
    default:
      return false;
  }
}

void CQueryBuilders::ShowHistory() {
  std::vector<std::u16string> entries;
  CQueryTool& tool = nav_bar_->GetQueryTool();
  if (!tool.FillHistory(&entries)) return;
  CRichQueryBox* box = nav_bar_->GetQueryBox();
  QMenu menu(box);
  for (size_t i = 0; i < entries.size(); ++i) {
    // The entries keep their fonts as markup; the menu shows the plain text.
    QAction* item = menu.addAction(ToQString(CFmtStr(entries[i]).GetPlainText()));
    item->setData(static_cast<qulonglong>(i));
  }
  QAction* chosen = menu.exec(box->mapToGlobal(QPoint(0, box->height())));
  if (chosen) {
    tool.ShowHistoryEntry(static_cast<size_t>(chosen->data().toULongLong()));
    box->SetFocus();
  }
}

}  // namespace vorn::shell
