// The query builders of the Query menu: dialogs that make a piece of query
// from lists (a grammar tag position by position, forms with their counts,
// link kinds, passages and named ranges) and insert it into the query box at
// the caret, and the query history dropped down under the box. The texts
// they insert are made in the query library (query/query_builders); the
// dialogs only show lists and collect choices.
#pragma once

#include <QDialog>
#include <QObject>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "query/named_ranges.h"
#include "query/query_builders.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QComboBox;
class QSpinBox;

namespace vorn {
class CVornDB;
class CVornDBLine;
class CVornDBLinks;
class CVornDBTagsLine;
namespace platform {
class CMessageSink;
}
}  // namespace vorn

namespace vorn::shell {

class CNavBar;

// One list per tag position, each code with what it means; the tag's
// pattern, meaning and number of matching tags shown as choices are made.
// The line is borrowed and must outlive the dialog.
class CTagChooserDialog : public QDialog {
  Q_OBJECT
 public:
  CTagChooserDialog(const CVornDBTagsLine& line, QWidget* parent);
  ~CTagChooserDialog() override;

  // "tag PATTERN" for the choices made.
  std::u16string GetQuery() const { return builder_.BuildQuery(); }
  CTagBuilder& GetBuilder() { return builder_; }
  // The list of position `position` (its first row is "any"); null outside.
  QListWidget* GetPositionList(int position) const;
  QLabel* GetSummary() const { return summary_; }

 private:
  // Refills the lists after `position` (their choices depend on the earlier
  // ones), dropping choices no longer offered, and the summary.
  void Refill(int from_position);
  void ShowSummary();

  CTagBuilder builder_;
  std::vector<QListWidget*> lists_;
  QLabel* summary_ = nullptr;
  bool filling_ = false;
};

// The forms of a line beginning with what is typed, with their word counts;
// one or several picked make "keyword form" or a union of them. The
// database is borrowed and must outlive the dialog.
class CWordListDialog : public QDialog {
  Q_OBJECT
 public:
  // The most forms listed at once.
  static constexpr size_t kMaxShown = 500;

  // Starts on `line_index` when it is a searchable line (-1: the first).
  CWordListDialog(const CVornDB& db, int line_index, QWidget* parent);
  ~CWordListDialog() override;

  // The picked forms as a query; "" when none is picked.
  std::u16string GetQuery() const;
  QComboBox* GetLineBox() const { return line_box_; }
  QLineEdit* GetPrefixEdit() const { return prefix_; }
  QListWidget* GetFormList() const { return forms_list_; }

 private:
  void Refill();
  const CVornDBLine* CurrentLine() const;

  const CVornDB& db_;
  std::vector<int> line_indexes_;  // of the line box's entries
  std::vector<FormCount> shown_;
  QComboBox* line_box_ = nullptr;
  QLineEdit* prefix_ = nullptr;
  QListWidget* forms_list_ = nullptr;
  QLabel* count_ = nullptr;
};

// The link kinds of a database, and under the chosen kind its entries
// beginning with what is typed; picking entries makes their union, picking
// none every link of the kind. The links line is borrowed and must outlive
// the dialog.
class CLinkKindDialog : public QDialog {
  Q_OBJECT
 public:
  CLinkKindDialog(const CVornDBLinks& links, QWidget* parent);
  ~CLinkKindDialog() override;

  std::u16string GetQuery() const;
  QListWidget* GetKindList() const { return kinds_list_; }
  QLineEdit* GetPrefixEdit() const { return prefix_; }
  QListWidget* GetEntryList() const { return entries_list_; }

 private:
  void Refill();

  const CVornDBLinks& links_;
  std::vector<FormCount> shown_;
  QListWidget* kinds_list_ = nullptr;
  QLineEdit* prefix_ = nullptr;
  QListWidget* entries_list_ = nullptr;
};

// Passages to search: a book and a span of its chapters, or one of the
// named ranges, which can be added (from the book and chapters chosen),
// renamed and deleted, each change saved at once. The database, the named
// ranges and the message sink are borrowed and must outlive the dialog.
class CRangeDialog : public QDialog {
  Q_OBJECT
 public:
  CRangeDialog(const CVornDB& db, CNamedRanges* ranges, platform::CMessageSink* messages,
               QWidget* parent);
  ~CRangeDialog() override;

  // "in ..." for the named range chosen, else for the book and chapters.
  std::u16string GetQuery() const;

  // The actions of the named-range buttons, `name` standing for what the
  // user is asked; each reports a failed save through the sink.
  bool AddNamed(const std::u16string& name);
  bool RenameNamed(const std::u16string& name);
  bool DeleteNamed();

  QListWidget* GetBookList() const { return books_; }
  QSpinBox* GetFirstChapter() const { return first_; }
  QSpinBox* GetLastChapter() const { return last_; }
  QListWidget* GetNamedList() const { return named_; }

 private:
  // The book-and-chapter range chosen, without "in ".
  std::u16string BookRange() const;
  void FillNamed(int select);
  // The entry of the named list's current row; -1 for none.
  int CurrentNamed() const;
  void ReportSave(bool saved);

  const CVornDB& db_;
  CNamedRanges* ranges_;
  platform::CMessageSink* messages_;
  std::vector<int> named_indexes_;  // entries offered for this database
  QListWidget* books_ = nullptr;
  QSpinBox* first_ = nullptr;
  QSpinBox* last_ = nullptr;
  QListWidget* named_ = nullptr;
};

// The Query menu's commands: opens each builder on the active window's
// database and inserts its text into the query box; shows the history under
// the box. Borrowed objects must outlive it.
class CQueryBuilders : public QObject {
  Q_OBJECT
 public:
  // `database` gives the active window's database (null without one);
  // `ranges_path` is where the named ranges are kept (read from
  // `program_ranges_path` until it exists).
  CQueryBuilders(QWidget* parent, CNavBar* nav_bar, platform::CMessageSink* messages,
                 std::function<const CVornDB*()> database, std::string ranges_path,
                 std::string program_ranges_path);
  ~CQueryBuilders() override;

  // The command ids this object handles; false for any other.
  bool OnCommand(int id);
  bool UpdateCommand(int id, bool* enabled) const;

  // Inserts `text` at the box's caret (replacing a selection), with a
  // blank on either side where it would touch a word, and gives the box
  // the focus.
  void Insert(const std::u16string& text);

 private:
  void ShowHistory();

  QWidget* parent_;
  CNavBar* nav_bar_;
  platform::CMessageSink* messages_;
  std::function<const CVornDB*()> database_;
  std::string ranges_path_;
  std::string program_ranges_path_;
};

}  // namespace vorn::shell
