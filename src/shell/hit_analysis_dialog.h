// The hit analysis dialog: how the words the window's latest query found
// are spread over the values of one line or one part of a line (each form,
// base form, gloss, grammar tag, or a tag's character). One row per
// distinct value with its count and share; the rows come in the order of
// the values' identifiers and can be sorted by any column. Choosing a row
// closes the dialog with that value, which the window turns into a query
// prompt on the line, so that the search can be narrowed.
#pragma once

#include <QDialog>
#include <string>
#include <vector>

#include "query/hit_analysis.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QTreeWidget;

namespace vorn {
class CVornDB;
class CVornDBLine;
}  // namespace vorn

namespace vorn::shell {

class CHitAnalysisDlg : public QDialog {
  Q_OBJECT
 public:
  // `db` is borrowed and must outlive the dialog; the hits are copied.
  // Opens on the first analysable part, analysed.
  CHitAnalysisDlg(CVornDB* db, std::vector<uint32_t> hits, QWidget* parent);

  // Analyses the part of this name; false (nothing changes) when no line
  // offers it.
  bool SelectPart(const QString& name);
  // The rows as shown, filter and sorting applied: count, a tab, the share
  // in per cent, a tab and the value's text.
  QStringList GetRows() const;
  // The shown rows as tab-separated text with a header line, as Copy puts
  // it on the clipboard.
  QString GetTableText() const;
  bool IsListRightToLeft() const;

  // After Accepted: the chosen value's text and its line (null before).
  const std::u16string& GetChosenValue() const { return chosen_value_; }
  const CVornDBLine* GetChosenLine() const { return chosen_line_; }

 signals:
  // The chart's bar of a book was clicked: the window should go to `word`.
  void GoToWordWanted(int word);

 private:
  void Analyse();
  void ApplyFilter();
  void Choose();
  void ShowChart();

  CVornDB* db_;
  std::vector<uint32_t> hits_;
  std::vector<AnalysisPart> parts_;
  const CVornDBLine* line_ = nullptr;
  int part_ = 0;
  QLabel* count_ = nullptr;
  QComboBox* combo_ = nullptr;
  QLineEdit* filter_ = nullptr;
  QTreeWidget* list_ = nullptr;
  std::u16string chosen_value_;
  const CVornDBLine* chosen_line_ = nullptr;
};

}  // namespace vorn::shell
