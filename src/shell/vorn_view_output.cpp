// The pane commands that produce or change output. They hand the pane's
// layout kind, metrics and selection to the output code and keep the
// program-wide remembered settings in step.
#include <QApplication>
#include <QClipboard>
#include <QMdiSubWindow>

#include "layout/layout.h"
#include "shell/actions.h"
#include "shell/bible_info_dialog.h"
#include "shell/child_frame.h"
#include "shell/print_dialog.h"
#include "shell/print_metrics.h"
#include "shell/view_output.h"
#include "shell/vorn_view.h"
#include "textdb/vorn_db.h"

namespace vorn::shell {

namespace {

std::u16string_view VariantOfCommand(int id) {
  return id == kCmdNoCantillations ? kVariantNoCantillations : kVariantConsonants;
}

// The words of the units the layout shows in its window: from the word of
// the top visible line to the end of the last unit that starts inside.
WordSpan WordsInView(const CLayout* layout, const CVornDB& db) {
  if (!layout) return {-1, -1};
  int y = 0;
  const WordIndex first = layout->GetTopWord(&y);
  if (first < 0) return {-1, -1};
  const int height = layout->GetMetrics()->GetHeight();
  WordIndex end = first + 1;
  int top = layout->GetTop();
  for (const auto& unit : layout->GetUnits()) {
    if (top >= height) break;
    const WordIndex unit_end =
        unit->GetEndWord() < 0 ? static_cast<WordIndex>(db.GetWordCount()) : unit->GetEndWord();
    if (unit_end > end) end = unit_end;
    top += unit->GetHeight();
  }
  return {first, end};
}

}  // namespace

bool CVornView::OnOutputCommand(int id) {
  switch (id) {
    case kCmdNoCantillations:
    case kCmdConsonantsOnly:
      if (!ToggleTextVariant(&metrics_, *db_, VariantOfCommand(id))) return false;
      Invalidate();
      return true;
    case kCmdCopy:
    case kCmdCopyAsText: {
      // With an empty selection the other pane may have one to copy.
      if (metrics_.GetSelection().empty()) return false;
      // The table fits the printable width of the page set up for printing.
      const int page_twips =
          print_setup_ ? MulDiv(print_setup_().GetMetrics().GetPrintableWidth(), 1440, 1000) : 0;
      const CopyDocument document =
          MakeCopyDocument(layout_id_, hits_pane_, db_, metrics_, state_, metrics_.GetSelection(),
                           id == kCmdCopyAsText, page_twips);
      const bool with_source = QGuiApplication::keyboardModifiers() & Qt::ShiftModifier;
      PlaceOnClipboard(QGuiApplication::clipboard(), document, with_source);
      return true;
    }
    case kCmdPaperWidth: {
      if (!print_setup_) return true;
      QWidget* window = frame_->parentWidget() ? frame_->parentWidget() : frame_;
      const int width = PaperWidthWindowWidth(window->width(), viewport()->width(),
                                              print_setup_().GetMetrics().GetPrintableWidth(),
                                              device_.GetPixelsPerInchX());
      window->resize(width, window->height());
      return true;
    }
    case kCmdBibleInfo: {
      CBibleInfoDialog dialog(this, *db_);
      dialog.exec();
      return true;
    }
    case kCmdPrint:
    case kCmdPrintPreview: {
      if (!print_setup_) return true;
      PrintSource source;
      source.db = db_;
      source.layout_id = layout_id_;
      source.hits_pane = hits_pane_;
      source.metrics = &metrics_;
      source.state = state_;
      source.in_view = WordsInView(layout_.get(), *db_);
      source.remembered = &print_passage_;
      if (id == kCmdPrint) {
        PrintPane(this, source, &print_setup_(), sink_);
      } else {
        PreviewPane(this, source, &print_setup_(), sink_);
      }
      return true;
    }
    default:
      return false;
  }
}

bool CVornView::UpdateOutputCommand(int id, bool* enabled, bool* checked) {
  switch (id) {
    case kCmdNoCantillations:
    case kCmdConsonantsOnly: {
      const int variant = FindTextVariant(*db_, VariantOfCommand(id));
      *enabled = variant != 0;
      *checked = variant != 0 && metrics_.GetTextVariant() == variant;
      return true;
    }
    case kCmdCopy:
    case kCmdCopyAsText:
      *enabled = !metrics_.GetSelection().empty();
      return true;
    case kCmdPaperWidth:
    case kCmdBibleInfo:
    case kCmdPrint:
    case kCmdPrintPreview:
      *enabled = true;
      return true;
    default:
      return false;
  }
}

}  // namespace vorn::shell
