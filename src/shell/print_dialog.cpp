#include "shell/print_dialog.h"

#include <QBoxLayout>
#include <QFormLayout>
#include <QLabel>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
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

void OfferedRange(const PrintSource& source, CBibleRef* from, CBibleRef* to) {
  if (source.remembered && source.remembered->chosen) {
    *from = CBibleRef(source.db, source.remembered->first);
    *to = CBibleRef(source.db, source.remembered->last);
    return;
  }
  if (source.in_view.first >= 0 && source.in_view.end > source.in_view.first) {
    *from = CBibleRef(source.db, source.in_view.first);
    *to = CBibleRef(source.db, source.in_view.end - 1);
    return;
  }
  StartingRange(source.db, {}, from, to);
}

bool OffersSelection(const std::vector<WordIndex>& selection) { return selection.size() > 1; }

namespace {

// The passage of the pickers, remembered for the pane when valid.
bool PickedRange(const PrintSource& source, const CPrintRangePanel& panel, WordSpan* range,
                 platform::CMessageSink* sink) {
  const CBibleRef from = panel.GetFromPicker()->GetRef();
  const CBibleRef to = panel.GetToPicker()->GetRef();
  if (!CPagePrinter::RangeOfVerses(from, to, range, sink)) return false;
  if (source.remembered) *source.remembered = {true, from.GetFirstWord(), to.GetFirstWord()};
  return true;
}

}  // namespace

void PrintPane(QWidget* parent, const PrintSource& source, CPrintSetup* setup,
               platform::CMessageSink* sink) {
  QPrinter* printer = setup->GetPrinter();
  const std::vector<WordIndex>& selection = source.metrics->GetSelection();
  const bool offers_selection = OffersSelection(selection);
  QPrintDialog dialog(printer, parent);
  // Pages are laid out as they print, so there are no page numbers to pick
  // from: the choice is the passage of the pickers or the selection.
  dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
  dialog.setOption(QAbstractPrintDialog::PrintSelection, offers_selection);
  printer->setPrintRange(offers_selection ? QPrinter::Selection : QPrinter::AllPages);
  auto* panel = new CPrintRangePanel(&dialog);
  CBibleRef from;
  CBibleRef to;
  OfferedRange(source, &from, &to);
  panel->SetRange(from, to);
  dialog.setOptionTabs({panel});
  if (dialog.exec() != QDialog::Accepted) return;

  WordSpan range;
  if (dialog.printRange() == QAbstractPrintDialog::Selection && offers_selection) {
    range = {selection.front(), selection.back() + 1};
  } else if (!PickedRange(source, *panel, &range, sink)) {
    return;
  }
  FullPageScope full_page(printer);
  RunJob(printer, source, setup, sink, range, CPagePrinter::kMaxPages);
}

void PreviewPane(QWidget* parent, const PrintSource& source, CPrintSetup* setup,
                 platform::CMessageSink* sink) {
  QPrinter* printer = setup->GetPrinter();
  const std::vector<WordIndex>& selection = source.metrics->GetSelection();
  FullPageScope full_page(printer);
  QPrintPreviewDialog preview(printer, parent);
  auto* panel = new CPrintRangePanel(&preview);
  CBibleRef from;
  CBibleRef to;
  WordSpan range;
  if (OffersSelection(selection)) {
    StartingRange(source.db, selection, &from, &to);
    range = {selection.front(), selection.back() + 1};
  } else {
    OfferedRange(source, &from, &to);
    if (!CPagePrinter::RangeOfVerses(from, to, &range, sink)) return;
  }
  panel->SetRange(from, to);
  // The pickers sit above the pages; a passage picked there is drawn anew.
  if (auto* box = qobject_cast<QBoxLayout*>(preview.layout())) box->insertWidget(1, panel);
  auto* pages = preview.findChild<QPrintPreviewWidget*>();
  auto repick = [&] {
    WordSpan picked;
    if (!PickedRange(source, *panel, &picked, sink)) return;
    range = picked;
    if (pages) pages->updatePreview();
  };
  QObject::connect(panel->GetFromPicker(), &Cbcv::RefChosen, &preview, repick);
  QObject::connect(panel->GetToPicker(), &Cbcv::RefChosen, &preview, repick);
  QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, &preview, [&](QPrinter* target) {
    RunJob(target, source, setup, sink, range, kMaxPreviewPages);
  });
  preview.exec();
}

}  // namespace vorn::shell
