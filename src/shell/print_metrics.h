// Page margins and paper size for printing, and the application's printer
// they belong to. One of each per main frame, made on first use and never
// saved: every run starts with one-inch margins.
#pragma once

#include <QPageLayout>
#include <memory>

class QPrinter;
class QWidget;

namespace vorn::shell {

// The page dialogs measure in hundredths of a millimetre where the user's
// locale is metric, in thousandths of an inch elsewhere.
bool IsMetricLocale();
// Thousandths of an inch as a dialog value: hundredths of a millimetre
// (truncated) when `metric`, else unchanged.
int ToDialogUnits(int thousandths, bool metric);
// A dialog value back in thousandths of an inch. Rounded to the nearest
// thousandth, so that confirming a dialog without changes gives back the
// values it was given (truncating would shrink them by one each time).
int FromDialogUnits(int value, bool metric);

class CPrintMetrics {
 public:
  // Margins of one inch; a US Letter page until a printer says otherwise.
  CPrintMetrics();

  // All in thousandths of an inch.
  int GetLeftMargin() const { return left_; }
  int GetTopMargin() const { return top_; }
  int GetRightMargin() const { return right_; }
  int GetBottomMargin() const { return bottom_; }
  int GetPaperWidth() const { return paper_width_; }
  int GetPaperHeight() const { return paper_height_; }
  void SetMargins(int left, int top, int right, int bottom);
  void SetPaperSize(int width, int height);
  // Paper width less the left and right margins (may be 0 or less).
  int GetPrintableWidth() const { return paper_width_ - left_ - right_; }

  // `layout` with these margins, in the dialogs' unit (see above).
  QPageLayout ToPageLayout(QPageLayout layout, bool metric) const;
  // Takes margins and paper size from `layout`, read in the dialogs' unit.
  void FromPageLayout(const QPageLayout& layout, bool metric);

 private:
  int left_ = 1000;
  int top_ = 1000;
  int right_ = 1000;
  int bottom_ = 1000;
  int paper_width_ = 8500;
  int paper_height_ = 11000;
};

// The application's printer and its print metrics.
class CPrintSetup {
 public:
  CPrintSetup();
  ~CPrintSetup();
  CPrintSetup(const CPrintSetup&) = delete;
  CPrintSetup& operator=(const CPrintSetup&) = delete;

  // The printer jobs go to; made (the default printer) on first use. Owned
  // here.
  QPrinter* GetPrinter();
  // Made on first use: one-inch margins, then the default printer's paper
  // size, as the page set-up would report it without being shown.
  CPrintMetrics& GetMetrics();
  // The page set-up dialog on the printer with the current margins; on OK
  // the printer keeps the choice and the margins and paper size are read
  // back. True on OK.
  bool RunPageSetup(QWidget* parent);

 private:
  std::unique_ptr<QPrinter> printer_;
  std::unique_ptr<CPrintMetrics> metrics_;
};

}  // namespace vorn::shell
