// The user tag list ("User Tags..."): one row per tag of the database with
// its set, style and file, and the operations on tags — create, copy,
// rename, delete, edit the style and label, show or hide in the window,
// save and revert. Also the two small dialogs it opens: a tag's name and set,
// and a tag's style.
#pragma once

#include <QDialog>
#include <string>
#include <vector>

#include "markup/tag_style.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QSpinBox;
class QTableWidget;

namespace vorn {
class CQueryThing;
class CTagDB;
class CTagsDB;
namespace platform {
class CMessageSink;
}
}  // namespace vorn

namespace vorn::shell {

// Asks for a tag's set and name. `title` is the dialog's title, `button`
// the text of its OK button ("Create", "Copy", "Rename").
class CTagNameDialog : public QDialog {
  Q_OBJECT
 public:
  CTagNameDialog(QWidget* parent, const QString& title, const QString& button,
                 const std::vector<std::u16string>& sets, const std::u16string& set,
                 const std::u16string& name);
  std::u16string GetSet() const;
  std::u16string GetName() const;

 private:
  QComboBox* set_;
  QLineEdit* name_;
};

// Edits a tag's style and label; the label takes at most 10 characters.
class CTagStyleDialog : public QDialog {
  Q_OBJECT
 public:
  CTagStyleDialog(QWidget* parent, const QString& title, const TagStyle& style,
                  const std::u16string& label);
  TagStyle GetStyle() const;
  std::u16string GetLabel() const;

 private:
  QComboBox* foreground_;
  QComboBox* background_;
  QComboBox* font_style_;
  QComboBox* bracket_position_;
  QComboBox* bracket_style_;
  QComboBox* bracket_colour_;
  QCheckBox* new_line_;
  QSpinBox* indent_;
  QCheckBox* end_line_;
  QSpinBox* indent_next_;
  QLineEdit* label_;
  TagStyle base_;  // keeps what the dialog does not show
};

class CUserTagsDialog : public QDialog {
  Q_OBJECT
 public:
  // Everything is borrowed and must outlive the dialog: `tags`, the
  // database's tags; `state`, the query state of the window the dialog
  // was opened from (whose display the "+" and Show/Hide refer to); `sink`,
  // for confirmations and errors.
  CUserTagsDialog(QWidget* parent, CTagsDB* tags, CQueryThing* state, platform::CMessageSink* sink);

  QTableWidget* GetTable() const { return table_; }
  // Re-reads every row from the tags, keeping the selected tag selected.
  void Refill();
  // The tag of the selected row, or null.
  CTagDB* GetSelectedTag() const;
  // Selects the row of `tag` (nothing when it is not listed).
  void SelectTag(const CTagDB* tag);

  // What the buttons do once their dialog has answered; each refreshes the
  // rows and returns false (after the core's message) when it fails.
  [[nodiscard]] bool CreateTag(const std::u16string& set, const std::u16string& name);
  bool CopySelected(const std::u16string& set, const std::u16string& name);
  bool RenameSelected(const std::u16string& set, const std::u16string& name);
  // Asks whether to delete the file first.
  bool DeleteSelected();
  bool SetSelectedStyle(const TagStyle& style, const std::u16string& label);
  void ToggleSelectedDisplay();
  bool SaveSelected();
  bool RevertSelected();

 private:
  void OnNew();
  void OnCopy();
  void OnRename();
  void OnEdit();
  void UpdateButtons();
  // Runs the name dialog; false when cancelled.
  bool AskName(const QString& title, const QString& button, std::u16string* set,
               std::u16string* name);

  CTagsDB* tags_;
  CQueryThing* state_;
  platform::CMessageSink* sink_;
  QTableWidget* table_;
  std::vector<CTagDB*> rows_;
  std::vector<QWidget*> needs_tag_;  // buttons enabled only with a selected tag
  class QPushButton* show_button_ = nullptr;
};

}  // namespace vorn::shell
