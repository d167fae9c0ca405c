#include "shell/hit_analysis_dialog.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "shell/hit_chart.h"
#include "shell/qt_device.h"
#include "shell/rich_query_box.h"
#include "textdb/line.h"
#include "textdb/vorn_db.h"

namespace vorn::shell {

namespace {

enum Column { kCount, kShare, kValue, kColumns };
// The value's identifier: the order the rows first come in.
constexpr int kIdRole = Qt::UserRole;
// The value's text as a query takes it (the shown text may be drawn for the font).
constexpr int kTextRole = Qt::UserRole + 1;

// Counts and shares sort as numbers, values by their text; ties keep the
// identifiers' order, so that a sort is the same every time.
class CRow : public QTreeWidgetItem {
 public:
  using QTreeWidgetItem::QTreeWidgetItem;
  bool operator<(const QTreeWidgetItem& other) const override {
    const int column = treeWidget() ? treeWidget()->sortColumn() : kCount;
    const double a = data(kCount, Qt::UserRole + 2).toDouble();
    const double b = other.data(kCount, Qt::UserRole + 2).toDouble();
    if (column != kValue && a != b) return a < b;
    if (column == kValue) {
      const int c = QString::localeAwareCompare(text(kValue), other.text(kValue));
      if (c != 0) return c < 0;
    }
    return data(kCount, kIdRole).toUInt() < other.data(kCount, kIdRole).toUInt();
  }
};

}  // namespace

CHitAnalysisDlg::CHitAnalysisDlg(CVornDB* db, std::vector<uint32_t> hits, QWidget* parent)
    : QDialog(parent), db_(db), hits_(std::move(hits)), parts_(ListAnalysisParts(*db)) {
  setWindowTitle(tr("Analyse Results - %1").arg(ToQString(db->GetTitle())));
  auto* box = new QVBoxLayout(this);
  auto* form = new QFormLayout;
  count_ = new QLabel(QString::number(hits_.size()), this);
  form->addRow(tr("Hits:"), count_);
  combo_ = new QComboBox(this);
  for (const AnalysisPart& p : parts_) combo_->addItem(ToQString(p.name));
  form->addRow(tr("&Analyse by:"), combo_);
  filter_ = new QLineEdit(this);
  filter_->setPlaceholderText(tr("Show only values containing..."));
  filter_->setClearButtonEnabled(true);
  form->addRow(tr("&Filter:"), filter_);
  box->addLayout(form);

  list_ = new QTreeWidget(this);
  list_->setColumnCount(kColumns);
  list_->setHeaderLabels({tr("Count"), tr("%"), tr("Value")});
  list_->setRootIsDecorated(false);
  list_->setUniformRowHeights(true);
  list_->setAllColumnsShowFocus(true);
  list_->header()->setSectionsClickable(true);
  list_->header()->setSortIndicatorShown(false);
  list_->header()->setStretchLastSection(true);
  box->addWidget(list_);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
  QPushButton* query = buttons->addButton(tr("&Query Value"), QDialogButtonBox::AcceptRole);
  QPushButton* copy = buttons->addButton(tr("&Copy"), QDialogButtonBox::ActionRole);
  QPushButton* chart = buttons->addButton(tr("C&hart..."), QDialogButtonBox::ActionRole);
  query->setDefault(true);
  box->addWidget(buttons);

  connect(combo_, &QComboBox::currentIndexChanged, this, [this] { Analyse(); });
  connect(filter_, &QLineEdit::textChanged, this, [this] { ApplyFilter(); });
  // A header click sorts by that column, a second click the other way.
  connect(list_->header(), &QHeaderView::sectionClicked, this, [this](int column) {
    const bool again = list_->header()->isSortIndicatorShown() && list_->sortColumn() == column;
    const Qt::SortOrder order =
        again && list_->header()->sortIndicatorOrder() == Qt::AscendingOrder
            ? Qt::DescendingOrder
            : (again || column == kValue ? Qt::AscendingOrder : Qt::DescendingOrder);
    list_->header()->setSortIndicatorShown(true);
    list_->sortItems(column, order);
  });
  connect(list_, &QTreeWidget::itemActivated, this, [this] { Choose(); });
  connect(query, &QPushButton::clicked, this, [this] { Choose(); });
  connect(copy, &QPushButton::clicked, this,
          [this] { QApplication::clipboard()->setText(GetTableText()); });
  connect(chart, &QPushButton::clicked, this, [this] { ShowChart(); });
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  resize(460, 520);
  Analyse();
}

bool CHitAnalysisDlg::SelectPart(const QString& name) {
  const int index = combo_->findText(name, Qt::MatchExactly);
  if (index < 0) return false;
  if (index == combo_->currentIndex()) {
    Analyse();
  } else {
    combo_->setCurrentIndex(index);
  }
  return true;
}

void CHitAnalysisDlg::Analyse() {
  // The first line or part with the entry's name decides.
  AnalysisPart chosen;
  if (!FindAnalysisPart(*db_, FromQString(combo_->currentText()), &chosen)) return;
  line_ = db_->GetLine(chosen.line);
  part_ = chosen.part;
  QApplication::setOverrideCursor(Qt::WaitCursor);
  CFontFormat format = line_->GetFont();
  format.set_magnification(100);
  const QFont font = ToQFont(format);
  list_->setLayoutDirection(format.right_to_left() ? Qt::RightToLeft : Qt::LeftToRight);
  list_->setUpdatesEnabled(false);
  list_->clear();
  list_->header()->setSortIndicatorShown(false);
  list_->sortItems(kCount, Qt::AscendingOrder);  // ties and identifiers: the first order
  const std::vector<HitValueCount> counts = CountHitValues(*line_, part_, hits_);
  uint64_t total = 0;
  for (const HitValueCount& c : counts) total += c.count;
  QList<QTreeWidgetItem*> rows;
  rows.reserve(static_cast<qsizetype>(counts.size()));
  for (const HitValueCount& c : counts) {
    const std::u16string text = line_->GetValueText(part_, c.id);
    auto* row = new CRow;
    row->setText(kCount, QString::number(c.count));
    row->setData(kCount, kIdRole, c.id);
    row->setData(kCount, Qt::UserRole + 2, static_cast<double>(c.count));
    row->setData(kCount, kTextRole, ToQString(text));
    row->setText(kShare, QString::number(total ? 100.0 * c.count / total : 0.0, 'f', 1));
    row->setText(kValue, ToQString(GetDrawnText(format, text)));
    row->setFont(kValue, font);
    row->setTextAlignment(kCount, Qt::AlignRight | Qt::AlignVCenter);
    row->setTextAlignment(kShare, Qt::AlignRight | Qt::AlignVCenter);
    rows.push_back(row);
  }
  // Added in identifier order, sorted by nothing until a header is clicked.
  list_->setSortingEnabled(false);
  list_->addTopLevelItems(rows);
  list_->resizeColumnToContents(kCount);
  list_->resizeColumnToContents(kShare);
  ApplyFilter();
  list_->setUpdatesEnabled(true);
  QApplication::restoreOverrideCursor();
}

void CHitAnalysisDlg::ApplyFilter() {
  const QString filter = filter_->text();
  for (int i = 0; i < list_->topLevelItemCount(); ++i) {
    QTreeWidgetItem* row = list_->topLevelItem(i);
    row->setHidden(!filter.isEmpty() &&
                   !row->data(kCount, kTextRole).toString().contains(filter, Qt::CaseInsensitive));
  }
}

QStringList CHitAnalysisDlg::GetRows() const {
  QStringList rows;
  for (int i = 0; i < list_->topLevelItemCount(); ++i) {
    const QTreeWidgetItem* row = list_->topLevelItem(i);
    if (row->isHidden()) continue;
    rows << row->text(kCount) + '\t' + row->text(kShare) + '\t' +
                row->data(kCount, kTextRole).toString();
  }
  return rows;
}

QString CHitAnalysisDlg::GetTableText() const {
  QString text = tr("Count") + "\t%\t" + combo_->currentText() + '\n';
  for (const QString& row : GetRows()) text += row + '\n';
  return text;
}

bool CHitAnalysisDlg::IsListRightToLeft() const {
  return list_->layoutDirection() == Qt::RightToLeft;
}

void CHitAnalysisDlg::Choose() {
  const QTreeWidgetItem* row = list_->currentItem();
  if (!row || row->isHidden() || !line_) return;
  chosen_value_ = FromQString(row->data(kCount, kTextRole).toString());
  chosen_line_ = line_;
  accept();
}

void CHitAnalysisDlg::ShowChart() {
  CHitChartDialog chart(db_, hits_, this);
  connect(&chart, &CHitChartDialog::GoToWordWanted, this, &CHitAnalysisDlg::GoToWordWanted);
  chart.exec();
}

}  // namespace vorn::shell
