#include "shell/word_details_bar.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>

#include "metrics/details_metrics.h"
#include "metrics/view_metrics.h"
#include "shell/qt_device.h"
#include "shell/vorn_view.h"
#include "textdb/vorn_db.h"
#include "wordinfo/word.h"
#include "wordinfo/word_menu.h"

namespace vorn::shell {

namespace {
// The bar's size when it is first docked.
constexpr int kDefaultWidth = 300;
constexpr int kDefaultHeight = 100;
}  // namespace

CWordDetailsView::CWordDetailsView(QWidget* parent) : QAbstractScrollArea(parent) {
  setWindowTitle(QStringLiteral("Data View"));
  setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  viewport()->setAutoFillBackground(false);
}

CWordDetailsView::~CWordDetailsView() = default;

QSize CWordDetailsView::sizeHint() const { return QSize(kDefaultWidth, kDefaultHeight); }

void CWordDetailsView::Clear() {
  word_.reset();
  SetExtent({});
  viewport()->update();
}

void CWordDetailsView::ShowWord(CVornView* pane, WordIndex word) {
  if (pane != pane_) {
    disconnect(pane_gone_);
    pane_ = pane;
    if (pane) pane_gone_ = connect(pane, &QObject::destroyed, this, [this] { Clear(); });
  }
  if (!pane || word < 0) {
    Clear();
    return;
  }
  CVornDB* db = pane->GetMetrics().GetDatabase();
  if (!word_ || word_->GetDatabase() != db || word_->GetWordIndex() != word) {
    word_ = std::make_unique<CWord>(db, word);
    horizontalScrollBar()->setValue(0);
    verticalScrollBar()->setValue(0);
  }
  Refresh();
}

void CWordDetailsView::Refresh() {
  SetExtent(Render(nullptr));
  viewport()->update();
}

WordIndex CWordDetailsView::GetWord() const { return word_ && pane_ ? word_->GetWordIndex() : -1; }

Size CWordDetailsView::Render(QPainter* painter) {
  if (!word_ || !pane_) return {};
  CQtDevice device(viewport());
  device.SetPainter(painter);
  // Fresh copies of the pane's fonts every time: they follow its
  // magnification and the fonts chosen since, and no device font outlives
  // this device.
  CDetailsMetrics details(pane_->GetMetrics());
  details.Attach(&device);
  details.SetDrawing(painter != nullptr);
  // Entries wrap to the bar's width (less the margin the extent keeps), so
  // a long gloss or note reads without scrolling sideways.
  details.SetWrapRight(std::max(1, viewport()->width() - details.GetPanelFont().GetXWidth()));
  const Size size = word_->DrawDetails(details);
  device.SetPainter(nullptr);
  return size;
}

void CWordDetailsView::SetExtent(Size extent) {
  extent_ = extent;
  const QSize area = viewport()->size();
  horizontalScrollBar()->setRange(0, std::max(0, extent.cx - area.width()));
  horizontalScrollBar()->setPageStep(std::max(1, area.width()));
  verticalScrollBar()->setRange(0, std::max(0, extent.cy - area.height()));
  verticalScrollBar()->setPageStep(std::max(1, area.height()));
}

void CWordDetailsView::paintEvent(QPaintEvent*) {
  QPainter painter(viewport());
  painter.fillRect(viewport()->rect(), Qt::white);
  if (!word_ || !pane_) return;
  painter.setRenderHint(QPainter::TextAntialiasing);
  painter.translate(-horizontalScrollBar()->value(), -verticalScrollBar()->value());
  const Size drawn = Render(&painter);
  if (!(drawn == extent_)) SetExtent(drawn);
}

void CWordDetailsView::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  // The entries wrap again to the new width.
  Refresh();
}

void CWordDetailsView::scrollContentsBy(int, int) { viewport()->update(); }

CWordDetailsBar::CWordDetailsBar(QWidget* parent)
    : QDockWidget(tr("Word Analysis"), parent), view_(new CWordDetailsView(this)) {
  setObjectName(QStringLiteral("WordBar"));
  setAllowedAreas(Qt::AllDockWidgetAreas);
  setFeatures(QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable |
              QDockWidget::DockWidgetFloatable);
  setWidget(view_);
}

bool CWordDetailsView::ShowEntry(std::u16string_view number) {
  if (!word_ || !pane_) return false;
  const int32_t word = FirstWordWithValue(*word_->GetDatabase(), number);
  if (word < 0) return false;
  ShowWord(pane_, word);
  return true;
}

void CWordDetailsView::contextMenuEvent(QContextMenuEvent* event) {
  if (!word_) return;
  std::vector<std::u16string> numbers;
  for (const std::u16string& text : LinkTexts(*word_))
    for (std::u16string& n : FindStrongNumbers(text))
      if (std::find(numbers.begin(), numbers.end(), n) == numbers.end()) numbers.push_back(n);
  if (numbers.empty()) return;
  QMenu menu(this);
  for (const std::u16string& n : numbers)
    connect(menu.addAction(tr("Show %1").arg(ToQString(n))), &QAction::triggered, this,
            [this, n] { static_cast<void>(ShowEntry(n)); });
  menu.exec(event->globalPos());
}

}  // namespace vorn::shell
