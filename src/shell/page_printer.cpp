#include "shell/page_printer.h"

#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>
#include <algorithm>
#include <memory>

#include "layout/layout.h"
#include "layout/layout_kinds.h"
#include "metrics/view_metrics.h"
#include "platform/message_sink.h"
#include "refs/bible_ref.h"
#include "shell/print_metrics.h"
#include "shell/qt_device.h"
#include "textdb/font_format.h"
#include "textdb/vorn_db.h"

namespace vorn::shell {

CPagePrinter::CPagePrinter(CVornDB* db, int layout_id, bool hits_pane, const CViewMetrics& metrics,
                           CLayoutQueryState* state, const CPrintMetrics& margins,
                           platform::CMessageSink* sink)
    : db_(db),
      layout_id_(layout_id),
      hits_pane_(hits_pane),
      metrics_(metrics),
      state_(state),
      margins_(margins),
      sink_(sink) {}

CPagePrinter::~CPagePrinter() = default;

bool CPagePrinter::RangeOfVerses(const CBibleRef& from, const CBibleRef& to, WordSpan* range,
                                 platform::CMessageSink* sink) {
  const WordIndex first = from.GetFirstWord();
  const WordIndex to_first = to.GetFirstWord();
  if (first < 0 || to_first < 0 || to_first < first) {
    if (sink) sink->ShowWarning(kInvalidRangeMessage);
    return false;
  }
  *range = {first, to.GetWordSpan().end};
  return true;
}

std::u16string CPagePrinter::FormatPassage(CVornDB* db, WordIndex first, WordIndex last) {
  return CBibleRef(db, first).FormatLong() + u" - " + CBibleRef(db, last).FormatLong();
}

void CPagePrinter::Begin(WordIndex first, WordIndex end) {
  range_ = {first, end};
  pages_.assign(1, range_);
}

bool CPagePrinter::HasPage(int n) const {
  return n >= 1 && static_cast<size_t>(n) <= pages_.size();
}

void CPagePrinter::End() { pages_.clear(); }

bool CPagePrinter::PrintPage(int n, CQtDevice* device, const Rect& area, Point offset,
                             const std::function<void()>& start_page) {
  if (!HasPage(n)) return false;
  CViewMetrics metrics(metrics_);
  std::unique_ptr<CLayout> layout = MakeLayout(layout_id_, hits_pane_, db_, &metrics, state_);
  if (!layout) return false;
  metrics.Prepare(device, metrics_.GetMagnification());

  // The margins are measured from the paper's edges; the device's origin is
  // the printable area's corner.
  const int ppi_x = device->GetPixelsPerInchX();
  const int ppi_y = device->GetPixelsPerInchY();
  const int left = MulDiv(margins_.GetLeftMargin(), ppi_x, 1000) - offset.x;
  const int top = MulDiv(margins_.GetTopMargin(), ppi_y, 1000) - offset.y;
  const int right = area.right + offset.x - MulDiv(margins_.GetRightMargin(), ppi_x, 1000);
  const int bottom = area.bottom + offset.y - MulDiv(margins_.GetBottomMargin(), ppi_y, 1000);
  drawing_area_ = {left, top, right, bottom};
  metrics.SetSize(right - left, bottom - top);

  const size_t index = static_cast<size_t>(n - 1);
  const WordSpan entry = pages_[index];
  const WordIndex p = layout->FillPage(entry.first, entry.end);
  if (p == entry.first) {
    if (sink_) sink_->ShowInformation(kPageTooShortMessage);
    return false;
  }
  if (p > entry.first && (entry.end == -1 || p < entry.end)) {
    pages_[index].end = p;
    pages_.push_back({p, entry.end});
  }

  if (start_page) start_page();
  if (!device->painter()) return true;
  // Everything the page changes in the painter is undone by restore(), not
  // by the inverse change: a PDF engine keeps the last transformation it
  // wrote until a later drawing call, so a translation taken back just
  // before a job ends moved page 1's header of the next job on the same
  // printer by the margins.
  QPainter* painter = device->painter();
  painter->save();

  CFontFormat header(u"Arial", 12, 0);
  header.SetDefaultColour();
  header.Attach(device, 100);
  const std::u16string number = FromQString(QStringLiteral("Page %1").arg(n));
  const Size extent = header.GetExtent(number);
  const int u = top - extent.cy * 7 / 6;
  header.DrawText(right - extent.cx, u, number);
  WordIndex page_end = pages_[index].end;
  if (page_end < 0) page_end = p >= 0 ? p : static_cast<WordIndex>(db_->GetWordCount());
  header.DrawText(left, u, FormatPassage(db_, entry.first, page_end - 1));

  const Pen rule{RgbOf(0, 0, 0), std::max(1, ppi_y / 200), PenStyle::kSolid};
  device->DrawLine(left, top - extent.cy / 12, right, top - extent.cy / 12, rule);
  device->DrawLine(left, bottom + extent.cy / 12, right, bottom + extent.cy / 12, rule);

  const Point old = device->SetViewportOrigin({left, top});
  layout->Draw();
  device->SetViewportOrigin(old);
  painter->restore();
  return true;
}

int CPagePrinter::Print(QPagedPaintDevice* target, WordIndex first, WordIndex end, int max_pages) {
  CQtDevice device(target);
  const QPageLayout page = target->pageLayout();
  const QRect paper = page.fullRectPixels(device.GetPixelsPerInchX());
  const QRect printable = page.paintRectPixels(device.GetPixelsPerInchX());
  const Point offset{printable.left() - paper.left(), printable.top() - paper.top()};
  const Rect area{0, 0, printable.width(), printable.height()};

  QPainter painter;
  int drawn = 0;
  bool failed = false;
  auto start_page = [&] {
    if (drawn == 0) {
      failed = !painter.begin(target);
      if (failed) return;
      painter.setRenderHint(QPainter::TextAntialiasing);
      device.SetPainter(&painter);
    } else {
      target->newPage();
    }
    ++drawn;
  };
  Begin(first, end);
  for (int n = 1; n <= max_pages && HasPage(n) && !failed; ++n) {
    if (!PrintPage(n, &device, area, offset, start_page)) break;
  }
  device.SetPainter(nullptr);
  if (painter.isActive()) painter.end();
  End();
  return failed ? 0 : drawn;
}

}  // namespace vorn::shell
