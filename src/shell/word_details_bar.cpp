#include "shell/word_details_bar.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QToolTip>
#include <algorithm>

#include "metrics/details_metrics.h"
#include "metrics/view_metrics.h"
#include "query/query_prompt.h"
#include "querystate/query_tool.h"
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
// Links are underlined in the colour links have on the desktop.
constexpr RgbColour kLinkColour = RgbOf(0, 0, 0xCC);
}  // namespace

CWordDetailsView::CWordDetailsView(QWidget* parent) : QAbstractScrollArea(parent) {
  setWindowTitle(QStringLiteral("Data View"));
  setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  viewport()->setAutoFillBackground(false);
  viewport()->setMouseTracking(true);
}

CWordDetailsView::~CWordDetailsView() = default;

QSize CWordDetailsView::sizeHint() const { return QSize(kDefaultWidth, kDefaultHeight); }

void CWordDetailsView::Clear() {
  word_.reset();
  spots_.clear();
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
  details.SetSpotFinder(FindStrongNumberSpans, kLinkColour);
  const Size size = word_->DrawDetails(details);
  spots_ = details.GetSpots();
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

std::vector<QString> CWordDetailsView::GetSearches() const {
  std::vector<QString> out;
  if (!word_ || !pane_) return out;
  CQueryPrompts prompts(pane_->GetMetrics().GetPanelFont());
  AddLinePrompts(*word_->GetDatabase(), word_->GetWordIndex(), &prompts);
  for (size_t i = 0; i < prompts.GetCount(); ++i) {
    const CQueryPrompt* p = prompts.Get(i);
    out.push_back(ToQString(p->GetInsertText() + u" " + p->GetValue()));
  }
  return out;
}

const CDetailsMetrics::Spot* CWordDetailsView::SpotAt(QPoint viewport_point) const {
  const int x = viewport_point.x() + horizontalScrollBar()->value();
  const int y = viewport_point.y() + verticalScrollBar()->value();
  for (const CDetailsMetrics::Spot& spot : spots_)
    if (x >= spot.box.left && x < spot.box.right && y >= spot.box.top && y < spot.box.bottom)
      return &spot;
  return nullptr;
}

void CWordDetailsView::mouseMoveEvent(QMouseEvent* event) {
  const CDetailsMetrics::Spot* spot = SpotAt(event->position().toPoint());
  viewport()->setCursor(spot ? Qt::PointingHandCursor : Qt::ArrowCursor);
  if (spot)
    QToolTip::showText(event->globalPosition().toPoint(), tr("Show %1").arg(ToQString(spot->text)),
                       viewport());
  else
    QToolTip::hideText();
}

void CWordDetailsView::mousePressEvent(QMouseEvent* event) {
  const CDetailsMetrics::Spot* spot =
      event->button() == Qt::LeftButton ? SpotAt(event->position().toPoint()) : nullptr;
  if (!spot) {
    QAbstractScrollArea::mousePressEvent(event);
    return;
  }
  const std::u16string number = spot->text;  // ShowEntry redraws and drops the spots
  if (!ShowEntry(number))
    QToolTip::showText(event->globalPosition().toPoint(),
                       tr("No word of this text carries %1").arg(ToQString(number)), viewport());
}

void CWordDetailsView::contextMenuEvent(QContextMenuEvent* event) {
  if (!word_) return;
  std::vector<std::u16string> numbers;
  for (const std::u16string& text : LinkTexts(*word_))
    for (std::u16string& n : FindStrongNumbers(text))
      if (std::find(numbers.begin(), numbers.end(), n) == numbers.end()) numbers.push_back(n);
  const std::vector<QString> searches = GetSearches();
  if (numbers.empty() && searches.empty()) return;
  QMenu menu(this);
  for (const std::u16string& n : numbers)
    connect(menu.addAction(tr("Show %1").arg(ToQString(n))), &QAction::triggered, this,
            [this, n] { static_cast<void>(ShowEntry(n)); });
  if (!numbers.empty() && !searches.empty()) menu.addSeparator();
  for (const QString& query : searches)
    connect(menu.addAction(tr("Search %1").arg(query)), &QAction::triggered, this,
            [this, query] { emit SearchRequested(query); });
  menu.exec(event->globalPos());
}

}  // namespace vorn::shell
