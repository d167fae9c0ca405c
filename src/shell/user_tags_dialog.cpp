#include "shell/user_tags_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "markup/tag_db.h"
#include "markup/tags_db.h"
#include "platform/message_sink.h"
#include "querystate/query_thing.h"
#include "shell/qt_device.h"

namespace vorn::shell {

namespace {

const char* const kColumns[] = {"Tag Name",    "Set Name",   "Modified",     "Foreground",
                                "Background",  "Font Style", "Br. Position", "Br. Style",
                                "Br. Colour",  "New Line",   "Indent",       "End Line",
                                "Indent next", "Label",      "File"};

constexpr int kColourCount = 17;
constexpr int kFontStyleCount = 4;
constexpr int kBracketStyleCount = 3;
constexpr int kBracketPositionCount = 16;

QComboBox* NamedCombo(QWidget* parent, int count, std::u16string (*name)(int), int value) {
  auto* combo = new QComboBox(parent);
  for (int i = 0; i < count; ++i) combo->addItem(ToQString(name(i)));
  combo->setCurrentIndex(value >= 0 && value < count ? value : 0);
  return combo;
}

QSpinBox* LevelSpin(QWidget* parent, int value) {
  auto* spin = new QSpinBox(parent);
  // The whole range of the stored byte, so that any stored value survives
  // an edit of another field.
  spin->setRange(-128, 127);
  spin->setValue(value);
  return spin;
}

int8_t Byte(int value) { return static_cast<int8_t>(value); }

}  // namespace

// --- CTagNameDialog.

CTagNameDialog::CTagNameDialog(QWidget* parent, const QString& title, const QString& button,
                               const std::vector<std::u16string>& sets, const std::u16string& set,
                               const std::u16string& name)
    : QDialog(parent) {
  setWindowTitle(title);
  set_ = new QComboBox(this);
  set_->setEditable(true);
  for (const std::u16string& s : sets) set_->addItem(ToQString(s));
  set_->setCurrentText(ToQString(set.empty() ? std::u16string(kDefaultSetName) : set));
  name_ = new QLineEdit(ToQString(name), this);
  auto* form = new QFormLayout;
  form->addRow(tr("Set:"), set_);
  form->addRow(tr("Tag name:"), name_);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->button(QDialogButtonBox::Ok)->setText(button);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* box = new QVBoxLayout(this);
  box->addLayout(form);
  box->addWidget(buttons);
  name_->setFocus();
}

std::u16string CTagNameDialog::GetSet() const { return FromQString(set_->currentText().trimmed()); }

std::u16string CTagNameDialog::GetName() const { return FromQString(name_->text().trimmed()); }

// --- CTagStyleDialog.

CTagStyleDialog::CTagStyleDialog(QWidget* parent, const QString& title, const TagStyle& style,
                                 const std::u16string& label)
    : QDialog(parent), base_(style) {
  setWindowTitle(title);
  foreground_ = NamedCombo(this, kColourCount, TagColourName, TagColourIndex(style.foreground));
  background_ = NamedCombo(this, kColourCount, TagColourName, TagColourIndex(style.background));
  font_style_ = NamedCombo(this, kFontStyleCount, FontStyleName, style.font_style);
  bracket_position_ =
      NamedCombo(this, kBracketPositionCount, BracketPositionName, style.bracket_position);
  bracket_style_ = NamedCombo(this, kBracketStyleCount, BracketStyleName, style.bracket_style);
  bracket_colour_ =
      NamedCombo(this, kColourCount, TagColourName, TagColourIndex(style.bracket_colour));
  new_line_ = new QCheckBox(tr("New line"), this);
  new_line_->setChecked(style.new_line != 0);
  indent_ = LevelSpin(this, style.indent);
  end_line_ = new QCheckBox(tr("End line"), this);
  end_line_->setChecked(style.end_line != 0);
  indent_next_ = LevelSpin(this, style.indent_next);
  label_ = new QLineEdit(ToQString(label), this);
  label_->setMaxLength(static_cast<int>(kMaxTagLabel));

  auto* form = new QFormLayout;
  form->addRow(tr("Foreground:"), foreground_);
  form->addRow(tr("Background:"), background_);
  form->addRow(tr("Font style:"), font_style_);
  form->addRow(tr("Bracket position:"), bracket_position_);
  form->addRow(tr("Bracket style:"), bracket_style_);
  form->addRow(tr("Bracket colour:"), bracket_colour_);
  form->addRow(QString(), new_line_);
  form->addRow(tr("Indent:"), indent_);
  form->addRow(QString(), end_line_);
  form->addRow(tr("Indent next:"), indent_next_);
  form->addRow(tr("Label:"), label_);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* box = new QVBoxLayout(this);
  box->addLayout(form);
  box->addWidget(buttons);
}

TagStyle CTagStyleDialog::GetStyle() const {
  TagStyle s = base_;
  s.foreground = Byte(foreground_->currentIndex());
  s.background = Byte(background_->currentIndex());
  s.font_style = Byte(font_style_->currentIndex());
  s.bracket_position = Byte(bracket_position_->currentIndex());
  s.bracket_style = Byte(bracket_style_->currentIndex());
  s.bracket_colour = Byte(bracket_colour_->currentIndex());
  s.new_line = new_line_->isChecked() ? 1 : 0;
  s.indent = Byte(indent_->value());
  s.end_line = end_line_->isChecked() ? 1 : 0;
  s.indent_next = Byte(indent_next_->value());
  return s;
}

std::u16string CTagStyleDialog::GetLabel() const { return FromQString(label_->text()); }

// --- CUserTagsDialog.

CUserTagsDialog::CUserTagsDialog(QWidget* parent, CTagsDB* tags, CQueryThing* state,
                                 platform::CMessageSink* sink)
    : QDialog(parent), tags_(tags), state_(state), sink_(sink) {
  setWindowTitle(tr("User Tags"));
  table_ = new QTableWidget(this);
  table_->setColumnCount(static_cast<int>(std::size(kColumns)));
  QStringList headers;
  for (const char* c : kColumns) headers << QString::fromLatin1(c);
  table_->setHorizontalHeaderLabels(headers);
  table_->verticalHeader()->hide();
  table_->setSelectionBehavior(QAbstractItemView::SelectRows);
  table_->setSelectionMode(QAbstractItemView::SingleSelection);
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table_->horizontalHeader()->setStretchLastSection(true);
  connect(table_, &QTableWidget::itemSelectionChanged, this, [this] { UpdateButtons(); });
  connect(table_, &QTableWidget::cellDoubleClicked, this, [this] { OnEdit(); });

  auto* column = new QVBoxLayout;
  auto button = [this, column](const QString& text, bool needs_tag, auto handler) {
    auto* b = new QPushButton(text, this);
    b->setAutoDefault(false);
    connect(b, &QPushButton::clicked, this, handler);
    column->addWidget(b);
    if (needs_tag) needs_tag_.push_back(b);
    return b;
  };
  button(tr("&New..."), false, [this] { OnNew(); });
  button(tr("&Copy..."), true, [this] { OnCopy(); });
  button(tr("Re&name..."), true, [this] { OnRename(); });
  button(tr("&Edit..."), true, [this] { OnEdit(); });
  button(tr("&Delete"), true, [this] { DeleteSelected(); });
  show_button_ = button(tr("&Show"), true, [this] { ToggleSelectedDisplay(); });
  button(tr("&Save"), true, [this] { SaveSelected(); });
  button(tr("Re&vert"), true, [this] { RevertSelected(); });
  column->addStretch();
  button(tr("Close"), false, [this] { accept(); });

  auto* box = new QHBoxLayout(this);
  box->addWidget(table_, 1);
  box->addLayout(column);
  resize(900, 360);
  Refill();
}

void CUserTagsDialog::Refill() {
  CTagDB* selected = GetSelectedTag();
  rows_ = tags_->GetTags();
  table_->setRowCount(static_cast<int>(rows_.size()));
  for (size_t r = 0; r < rows_.size(); ++r) {
    const std::vector<std::u16string> row =
        rows_[r]->GetListRow(state_ && state_->IsTagDisplayed(rows_[r]));
    for (size_t c = 0; c < row.size() && c < std::size(kColumns); ++c) {
      table_->setItem(static_cast<int>(r), static_cast<int>(c),
                      new QTableWidgetItem(ToQString(row[c])));
    }
  }
  table_->resizeColumnsToContents();
  SelectTag(selected);
  UpdateButtons();
}

CTagDB* CUserTagsDialog::GetSelectedTag() const {
  const int row = table_->currentRow();
  if (row < 0 || static_cast<size_t>(row) >= rows_.size() || table_->selectedItems().isEmpty())
    return nullptr;
  return rows_[static_cast<size_t>(row)];
}

void CUserTagsDialog::SelectTag(const CTagDB* tag) {
  auto it = std::find(rows_.begin(), rows_.end(), tag);
  if (!tag || it == rows_.end()) {
    table_->clearSelection();
    return;
  }
  table_->selectRow(static_cast<int>(it - rows_.begin()));
}

void CUserTagsDialog::UpdateButtons() {
  CTagDB* tag = GetSelectedTag();
  for (QWidget* w : needs_tag_) w->setEnabled(tag != nullptr);
  const bool shown = tag && state_ && state_->IsTagDisplayed(tag);
  show_button_->setText(shown ? tr("&Hide") : tr("&Show"));
  show_button_->setEnabled(tag && state_);
}

bool CUserTagsDialog::AskName(const QString& title, const QString& button, std::u16string* set,
                              std::u16string* name) {
  CTagNameDialog dialog(this, title, button, tags_->GetSetNames(), *set, *name);
  if (dialog.exec() != QDialog::Accepted) return false;
  *set = dialog.GetSet();
  *name = dialog.GetName();
  return true;
}

void CUserTagsDialog::OnNew() {
  std::u16string set;
  std::u16string name;
  if (CTagDB* tag = GetSelectedTag()) set = tag->GetSetName();
  while (AskName(tr("New Tag"), tr("Create"), &set, &name)) {
    if (CreateTag(set, name)) return;
  }
}

void CUserTagsDialog::OnCopy() {
  CTagDB* tag = GetSelectedTag();
  if (!tag) return;
  std::u16string set = tag->GetSetName();
  std::u16string name = tag->GetName();
  while (AskName(tr("Copy"), tr("Copy"), &set, &name)) {
    if (CopySelected(set, name)) return;
  }
}

void CUserTagsDialog::OnRename() {
  CTagDB* tag = GetSelectedTag();
  if (!tag) return;
  std::u16string set = tag->GetSetName();
  std::u16string name = tag->GetName();
  while (AskName(tr("Rename"), tr("Rename"), &set, &name)) {
    if (RenameSelected(set, name)) return;
  }
}

void CUserTagsDialog::OnEdit() {
  CTagDB* tag = GetSelectedTag();
  if (!tag) return;
  CTagStyleDialog dialog(this, ToQString(tag->GetRelativeName()), tag->GetStyle(), tag->GetLabel());
  if (dialog.exec() == QDialog::Accepted) SetSelectedStyle(dialog.GetStyle(), dialog.GetLabel());
}

bool CUserTagsDialog::CreateTag(const std::u16string& set, const std::u16string& name) {
  CTagDB* tag = tags_->CreateTag(set, name);
  Refill();
  SelectTag(tag);
  return tag != nullptr;
}

bool CUserTagsDialog::CopySelected(const std::u16string& set, const std::u16string& name) {
  CTagDB* tag = GetSelectedTag();
  CTagDB* copy = tag ? tags_->CopyTag(tag, set, name) : nullptr;
  Refill();
  if (copy) SelectTag(copy);
  return copy != nullptr;
}

bool CUserTagsDialog::RenameSelected(const std::u16string& set, const std::u16string& name) {
  CTagDB* tag = GetSelectedTag();
  const bool ok = tag && tags_->RenameTag(tag, set, name);
  Refill();
  return ok;
}

bool CUserTagsDialog::DeleteSelected() {
  CTagDB* tag = GetSelectedTag();
  const bool ok = tag && tags_->DeleteTag(tag, true);
  // A deleted tag's row may now stand for the database's own tag of that
  // identity, or for nothing.
  if (ok) table_->clearSelection();
  Refill();
  return ok;
}

bool CUserTagsDialog::SetSelectedStyle(const TagStyle& style, const std::u16string& label) {
  CTagDB* tag = GetSelectedTag();
  if (!tag) return false;
  tag->SetStyle(style);
  tag->SetLabel(label);
  Refill();
  return true;
}

void CUserTagsDialog::ToggleSelectedDisplay() {
  CTagDB* tag = GetSelectedTag();
  if (!tag || !state_) return;
  state_->ToggleTag(tag);
  Refill();
}

bool CUserTagsDialog::SaveSelected() {
  CTagDB* tag = GetSelectedTag();
  const bool ok = tag && tag->Save();
  Refill();
  return ok;
}

bool CUserTagsDialog::RevertSelected() {
  CTagDB* tag = GetSelectedTag();
  const bool ok = tag && tag->Revert();
  Refill();
  return ok;
}

}  // namespace vorn::shell
