#include "shell/print_dialog.h"

#include <QFormLayout>
#include <QLabel>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>

#include "metrics/view_metrics.h"
#include "refs/bible_ref.h"
#include "shell/bcv.h"
#include "shell/page_printer.h"
#include "shell/print_metrics.h"
#include "textdb/vorn_db.h"

namespace vorn::shell {

CPrintRangePanel::CPrintRangePanel(QWidget* parent) : QWidget(parent) {
  setWindowTitle(tr("Passage"));
  auto* form = new QFormLayout(this);
  from_ = new Cbcv(this);
  to_ = new Cbcv(this);
  form->addRow(tr("from"), from_);
  form->addRow(tr("to"), to_);
}

void CPrintRangePanel::SetRange(const CBibleRef& from, const CBibleRef& to) {
  from_->SetRef(from);
  to_->SetRef(to);
}

void StartingRange(CVornDB* db, const std::vector<WordIndex>& selection, CBibleRef* from,
                   CBibleRef* to) {
  if (!selection.empty()) {
    *from = CBibleRef(db, selection.front());
    *to = CBibleRef(db, selection.back());
    return;
  }
  const auto count = static_cast<WordIndex>(db->GetWordCount());
  *from = CBibleRef(db, 0);
  *to = CBibleRef(db, count > 0 ? count - 1 : 0);
}

namespace {

// The pages are placed by the print metrics' margins, measured from the
// paper's edges, so the job paints on the whole sheet.
class FullPageScope {
 public:
  explicit FullPageScope(QPrinter* printer) : printer_(printer), old_(printer->fullPage()) {
    printer_->setFullPage(true);
  }
  ~FullPageScope() { printer_->setFullPage(old_); }

 private:
  QPrinter* printer_;
  bool old_;
};

int RunJob(QPrinter* printer, const PrintSource& source, CPrintSetup* setup,
           platform::CMessageSink* sink, WordSpan range, int max_pages) {
  CPagePrinter pages(source.db, source.layout_id, source.hits_pane, *source.metrics, source.state,
                     setup->GetMetrics(), sink);
  return pages.Print(printer, range.first, range.end, max_pages);
}

}  // namespace

void PrintPane(QWidget* parent, const PrintSource& source, CPrintSetup* setup,
               platform::CMessageSink* sink) {
  QPrinter* printer = setup->GetPrinter();
  const std::vector<WordIndex>& selection = source.metrics->GetSelection();
  QPrintDialog dialog(printer, parent);
  dialog.setMinMax(1, CPagePrinter::kMaxPages);
  dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
  dialog.setOption(QAbstractPrintDialog::PrintSelection, !selection.empty());
  printer->setPrintRange(selection.empty() ? QPrinter::PageRange : QPrinter::Selection);
  auto* panel = new CPrintRangePanel(&dialog);
  CBibleRef from;
  CBibleRef to;
  StartingRange(source.db, selection, &from, &to);
  panel->SetRange(from, to);
  dialog.setOptionTabs({panel});
  if (dialog.exec() != QDialog::Accepted) return;

  WordSpan range;
  if (dialog.printRange() == QAbstractPrintDialog::Selection && !selection.empty()) {
    range = {selection.front(), selection.back() + 1};
  } else if (!CPagePrinter::RangeOfVerses(panel->GetFromPicker()->GetRef(),
                                          panel->GetToPicker()->GetRef(), &range, sink)) {
    return;
  }
  FullPageScope full_page(printer);
  RunJob(printer, source, setup, sink, range, CPagePrinter::kMaxPages);
}

void PreviewPane(QWidget* parent, const PrintSource& source, CPrintSetup* setup,
                 platform::CMessageSink* sink) {
  QPrinter* printer = setup->GetPrinter();
  const std::vector<WordIndex>& selection = source.metrics->GetSelection();
  WordSpan range;
  if (!selection.empty()) {
    range = {selection.front(), selection.back() + 1};
  } else {
    CBibleRef from;
    CBibleRef to;
    StartingRange(source.db, selection, &from, &to);
    if (!CPagePrinter::RangeOfVerses(from, to, &range, sink)) return;
  }
  FullPageScope full_page(printer);
  QPrintPreviewDialog preview(printer, parent);
  QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, &preview, [&](QPrinter* target) {
    RunJob(target, source, setup, sink, range, kMaxPreviewPages);
  });
  preview.exec();
}

}  // namespace vorn::shell
