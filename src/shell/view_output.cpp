#include "shell/view_output.h"

#include <QByteArray>
#include <QClipboard>
#include <QMimeData>

#include "layout/layout.h"
#include "layout/layout_kinds.h"
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

CopyDocument MakeCopyDocument(int layout_id, bool hits_pane, CVornDB* db,
                              const CViewMetrics& metrics, CLayoutQueryState* state,
                              const std::vector<WordIndex>& selection, bool as_text) {
  CopyDocument out;
  CViewMetrics copy(metrics);
  if (as_text) {
    // Only the top interlinear line goes out; hiding the others before the
    // layout is built lets it measure and break the lines as they are written.
    for (int i = copy.GetTopVisibleLine() + 1; i < copy.GetLineCount(); ++i)
      copy.SetLineVisible(i, false);
  }
  CQtDevice screen(nullptr);
  copy.Prepare(&screen, 0);
  std::unique_ptr<CLayout> layout = MakeLayout(layout_id, hits_pane, db, &copy, state);
  if (!layout) return out;
  layout->BuildForSelection(selection);
  if (as_text) {
    layout->WriteRtfText(&out.rtf);
    layout->WriteText(&out.text);
  } else {
    layout->WriteRtfTable(&out.rtf);
  }
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
