#include "shell/print_metrics.h"

#include <QLocale>
#include <QPageSetupDialog>
#include <QPageSize>
#include <QPrinter>
#include <QPrinterInfo>
#include <algorithm>
#include <cmath>

namespace vorn::shell {

namespace {

constexpr double kMillimetresPerInch = 25.4;

QPageLayout::Unit DialogUnit(bool metric) {
  return metric ? QPageLayout::Millimeter : QPageLayout::Inch;
}

double FromValue(int value, bool metric) { return value / (metric ? 100.0 : 1000.0); }

// `value` brought inside [low, high]; the lower bound wins should a printer
// report bounds that cross.
double Within(double value, double low, double high) {
  return std::max(low, std::min(value, high));
}

}  // namespace

bool IsMetricLocale() { return QLocale().measurementSystem() == QLocale::MetricSystem; }

int ToDialogUnits(int thousandths, bool metric) {
  return metric ? static_cast<int>(thousandths * 2.54) : thousandths;
}

int FromDialogUnits(int value, bool metric) {
  return metric ? static_cast<int>(std::lround(value * 0.3937007874015748)) : value;
}

CPrintMetrics::CPrintMetrics() = default;

void CPrintMetrics::SetMargins(int left, int top, int right, int bottom) {
  left_ = left;
  top_ = top;
  right_ = right;
  bottom_ = bottom;
}

void CPrintMetrics::SetPaperSize(int width, int height) {
  paper_width_ = width;
  paper_height_ = height;
}

QPageLayout CPrintMetrics::ToPageLayout(QPageLayout layout, bool metric) const {
  layout.setUnits(DialogUnit(metric));
  auto length = [metric](int thousandths) {
    return FromValue(ToDialogUnits(thousandths, metric), metric);
  };
  // Margins a printer cannot honour are brought inside what it allows, as
  // its own page set-up would.
  const QMarginsF low = layout.minimumMargins();
  const QMarginsF high = layout.maximumMargins();
  layout.setMargins(QMarginsF(Within(length(left_), low.left(), high.left()),
                              Within(length(top_), low.top(), high.top()),
                              Within(length(right_), low.right(), high.right()),
                              Within(length(bottom_), low.bottom(), high.bottom())));
  return layout;
}

void CPrintMetrics::FromPageLayout(const QPageLayout& layout, bool metric) {
  // Read in millimetres, which the layout keeps to a hundredth: inches it
  // rounds to a hundredth, too coarse for thousandths.
  auto thousandths = [metric](double millimetres) {
    return metric ? FromDialogUnits(static_cast<int>(std::lround(millimetres * 100.0)), true)
                  : static_cast<int>(std::lround(millimetres * 1000.0 / kMillimetresPerInch));
  };
  const QMarginsF m = layout.margins(QPageLayout::Millimeter);
  SetMargins(thousandths(m.left()), thousandths(m.top()), thousandths(m.right()),
             thousandths(m.bottom()));
  const QRectF paper = layout.fullRect(QPageLayout::Millimeter);
  SetPaperSize(thousandths(paper.width()), thousandths(paper.height()));
}

CPrintSetup::CPrintSetup() = default;
CPrintSetup::~CPrintSetup() = default;

QPrinter* CPrintSetup::GetPrinter() {
  if (!printer_) {
    printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    // With no printer installed nothing says what paper the user has: the
    // locale does (Letter where US measures are used, A4 elsewhere).
    if (QPrinterInfo::defaultPrinter().isNull()) {
      const bool us = QLocale().measurementSystem() == QLocale::ImperialUSSystem;
      printer_->setPageSize(QPageSize(us ? QPageSize::Letter : QPageSize::A4));
    }
  }
  return printer_.get();
}

CPrintMetrics& CPrintSetup::GetMetrics() {
  if (!metrics_) {
    metrics_ = std::make_unique<CPrintMetrics>();
    const bool metric = IsMetricLocale();
    QPrinter* printer = GetPrinter();
    metrics_->FromPageLayout(metrics_->ToPageLayout(printer->pageLayout(), metric), metric);
  }
  return *metrics_;
}

bool CPrintSetup::RunPageSetup(QWidget* parent) {
  CPrintMetrics& metrics = GetMetrics();
  QPrinter* printer = GetPrinter();
  const bool metric = IsMetricLocale();
  printer->setPageLayout(metrics.ToPageLayout(printer->pageLayout(), metric));
  QPageSetupDialog dialog(printer, parent);
  if (dialog.exec() != QDialog::Accepted) return false;
  metrics.FromPageLayout(printer->pageLayout(), metric);
  return true;
}

}  // namespace vorn::shell
