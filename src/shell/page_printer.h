// Prints a range of a pane's text in the pane's layout kind, magnification,
// visible lines and reading order, one page after another, each with a
// header (the page number and the passage on the page) between two rules.
// Pages are not counted in advance: each page is laid out when it is
// printed, and the next one starts where it stopped.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "device/device.h"
#include "textdb/types.h"

class QPagedPaintDevice;

namespace vorn {
class CBibleRef;
class CLayoutQueryState;
class CViewMetrics;
class CVornDB;
namespace platform {
class CMessageSink;
}
}  // namespace vorn

namespace vorn::shell {

class CPrintMetrics;
class CQtDevice;

inline constexpr char16_t kInvalidRangeMessage[] = u"Sorry, Invalid range to print.";
inline constexpr char16_t kPageTooShortMessage[] =
    u"The page is too short to show one line (with its headings)";

class CPagePrinter {
 public:
  // Everything is borrowed for the printer's life; the pane's `metrics` are
  // copied for every page, so the pane may go on using them. `state` may be
  // null (no hits, no propositions); `sink` receives the messages.
  CPagePrinter(CVornDB* db, int layout_id, bool hits_pane, const CViewMetrics& metrics,
               CLayoutQueryState* state, const CPrintMetrics& margins,
               platform::CMessageSink* sink);
  ~CPagePrinter();
  CPagePrinter(const CPagePrinter&) = delete;
  CPagePrinter& operator=(const CPagePrinter&) = delete;

  // The range of verses `from` to `to` (references bound to the database):
  // from the first word of `from`'s verse to the end of `to`'s verse. When
  // either names no verse, or `to` starts before `from`, the invalid-range
  // message goes to `sink` (may be null) and the answer is false.
  static bool RangeOfVerses(const CBibleRef& from, const CBibleRef& to, WordSpan* range,
                            platform::CMessageSink* sink);
  // "Genesis 1:1 - Genesis 2:3": the verses of `first` and `last` (a word
  // index each).
  static std::u16string FormatPassage(CVornDB* db, WordIndex first, WordIndex last);

  // Starts a job over the words first <= w < end: page 1 is the whole range.
  void Begin(WordIndex first, WordIndex end);
  // Whether page `n` (from 1) is known: printing goes on while it is.
  bool HasPage(int n) const;
  // Lays out page `n` (which HasPage) for `device` in its printable area
  // `area` (device pixels, origin at the printable area's top-left corner),
  // which lies `offset` pixels inside the paper's edges. When not even the
  // first line of the page fits, tells the user and returns false with
  // nothing drawn and no page added. Otherwise, when the page ends before
  // the range does, the rest becomes page n + 1; `start_page` (may be
  // empty) is called, and the page is drawn when the device has a painter.
  bool PrintPage(int n, CQtDevice* device, const Rect& area, Point offset,
                 const std::function<void()>& start_page = {});
  // Ends the job: the page list is emptied.
  void End();

  // The print dialog's highest page number: a job stops after this page.
  static constexpr int kMaxPages = 1000;

  // The whole job on a paged device (a printer, a PDF writer): the pages of
  // the range, each on a new sheet, at most `max_pages` of them. The
  // device's painting starts only once the first page is known to fit.
  // Returns the number of pages drawn.
  int Print(QPagedPaintDevice* device, WordIndex first, WordIndex end, int max_pages = kMaxPages);

  const std::vector<WordSpan>& GetPages() const { return pages_; }
  // The drawing area of the last page laid out, relative to the printable
  // area: the paper less the margins.
  const Rect& GetDrawingArea() const { return drawing_area_; }

 private:
  CVornDB* db_;
  int layout_id_;
  bool hits_pane_;
  const CViewMetrics& metrics_;
  CLayoutQueryState* state_;
  const CPrintMetrics& margins_;
  platform::CMessageSink* sink_;
  WordSpan range_;
  std::vector<WordSpan> pages_;
  Rect drawing_area_;
};

}  // namespace vorn::shell
