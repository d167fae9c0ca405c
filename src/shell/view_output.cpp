#include "shell/view_output.h"

#include <QByteArray>
#include <QClipboard>
#include <QMimeData>
#include <memory>

#include "layout/layout.h"
#include "layout/layout_kinds.h"
#include "layout/layout_twips.h"
#include "metrics/rich_text.h"
#include "metrics/view_metrics.h"
#include "shell/qt_device.h"
#include "textdb/db_stats.h"
#include "textdb/vorn_db.h"

namespace vorn::shell {

int FindTextVariant(const CVornDB& db, std::u16string_view name) {
  return db.FindAltIndex(db.GetFormLineIndex(), name);
}

bool ToggleTextVariant(CViewMetrics* metrics, const CVornDB& db, std::u16string_view name) {
  const int variant = FindTextVariant(db, name);
  if (variant == 0) return false;
  metrics->SetTextVariant(metrics->GetTextVariant() == variant ? 0 : variant);
  return true;
}

namespace {

// Lays out `selection` over a copy of `metrics` measured for the screen,
// `width` pixels wide when positive, with only the top visible line when
// `top_line_only`; null when the kind has no layout.
std::unique_ptr<CLayout> LayOutCopy(int layout_id, bool hits_pane, CVornDB* db, CViewMetrics* copy,
                                    CQtDevice* screen, CLayoutQueryState* state,
                                    const std::vector<WordIndex>& selection, bool top_line_only,
                                    int width_twips) {
  if (top_line_only) {
    // Hiding the other lines before the layout is built lets it measure and
    // break the lines as they are written.
    for (int i = copy->GetTopVisibleLine() + 1; i < copy->GetLineCount(); ++i)
      copy->SetLineVisible(i, false);
  }
  copy->Prepare(screen, 0);
  if (width_twips > 0) copy->SetSize(CLayoutTwips(*copy).Pixels(width_twips), copy->GetHeight());
  std::unique_ptr<CLayout> layout = MakeLayout(layout_id, hits_pane, db, copy, state);
  if (layout) layout->BuildForSelection(selection, false);
  return layout;
}

}  // namespace

CopyDocument MakeCopyDocument(int layout_id, bool hits_pane, CVornDB* db,
                              const CViewMetrics& metrics, CLayoutQueryState* state,
                              const std::vector<WordIndex>& selection, bool as_text,
                              int page_width_twips) {
  CopyDocument out;
  CQtDevice screen(nullptr);
  // Plain text always goes with the rich text, so that an editor without
  // rich text still receives the words: the top visible line, as running
  // text.
  CViewMetrics text_metrics(metrics);
  std::unique_ptr<CLayout> text =
      LayOutCopy(layout_id, hits_pane, db, &text_metrics, &screen, state, selection, true, 0);
  if (!text) return out;
  text->WriteText(&out.text);
  if (as_text) {
    text->WriteRtfText(&out.rtf);
    return out;
  }
  // The table's rows are broken at the page's width, so that no row runs
  // past the paper when the copy is pasted or printed.
  CViewMetrics table_metrics(metrics);
  std::unique_ptr<CLayout> table = LayOutCopy(layout_id, hits_pane, db, &table_metrics, &screen,
                                              state, selection, false, page_width_twips);
  if (table) table->WriteRtfTable(&out.rtf);
  return out;
}

QMimeData* MakeClipboardData(const CopyDocument& document, bool with_source) {
  auto* data = new QMimeData;
  const std::string bytes = RtfToBytes(document.rtf);
  const QByteArray rtf(bytes.data(), static_cast<qsizetype>(bytes.size()));
  if (!document.text.empty()) data->setText(ToQString(document.text));
  if (with_source) {
    data->setData(QStringLiteral("text/plain;charset=ISO-8859-1"), rtf);
    if (document.text.empty()) data->setText(QString::fromLatin1(rtf));
  }
  data->setData(QStringLiteral("text/rtf"), rtf);
  data->setData(QStringLiteral("Rich Text Format"), rtf);
  return data;
}

void PlaceOnClipboard(QClipboard* clipboard, const CopyDocument& document, bool with_source) {
  if (!clipboard) return;
  clipboard->setMimeData(MakeClipboardData(document, with_source));
}

int PaperWidthWindowWidth(int window_width, int pane_width, int printable_thousandths,
                          int pixels_per_inch) {
  const int printable = MulDiv(printable_thousandths, pixels_per_inch, 1000);
  if (pane_width <= 0 || printable <= 0) return window_width;
  return MulDiv(window_width, printable, pane_width);
}

std::u16string MakeBibleInformation(const CVornDB& db) {
  const CVornDBStats* stats = db.GetStats();
  std::u16string out = db.GetTitle();
  const std::u16string name = db.GetName();
  if (!name.empty()) out += u" (" + name + u")";
  out += u"\n";
  if (!stats) return out;
  std::vector<std::u16string> notices;
  if (stats->GetCopyrights(&notices)) {
    out += u"\n";
    for (const std::u16string& line : notices) out += line + u"\n";
  }
  for (const char* key : {"/Compiled", "/InterlinearLines/Links/PVlinks"}) {
    const std::u16string value = stats->GetValue(key);
    if (!value.empty()) out += u"\n" + value + u"\n";
  }
  return out;
}

}  // namespace vorn::shell
