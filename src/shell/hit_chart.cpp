#include "shell/hit_chart.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QSvgGenerator>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "shell/qt_device.h"
#include "textdb/vorn_db.h"

namespace vorn::shell {

namespace {

constexpr int kLeft = 56, kTop = 24, kRight = 12, kBottom = 44;

// A round step for the value axis: 1, 2 or 5 times a power of ten, about
// five steps up to `top`.
double AxisStep(double top) {
  if (top <= 0) return 1;
  const double raw = top / 5;
  const double power = std::pow(10.0, std::floor(std::log10(raw)));
  for (double m : {1.0, 2.0, 5.0}) {
    if (m * power >= raw) return m * power;
  }
  return 10 * power;
}

}  // namespace

CHitChart::CHitChart(CVornDB* db, std::vector<uint32_t> hits, QWidget* parent)
    : QWidget(parent), db_(db), hits_(std::move(hits)) {
  setMouseTracking(true);
  setMinimumSize(320, 200);
  ShowBook(0);
}

void CHitChart::ShowBook(int book) {
  book_ = book;
  places_ = CountHitPlaces(*db_, hits_, book > 0, book);
  update();
  emit BookChanged(book);
}

void CHitChart::SetPerThousand(bool on) {
  per_thousand_ = on;
  update();
}

double CHitChart::ValueOf(const HitPlaceCount& place) const {
  return per_thousand_ ? place.PerThousand() : place.hits;
}

QString CHitChart::LabelOf(const HitPlaceCount& place) const {
  if (book_ > 0) return QString::number(place.chapter);
  return ToQString(db_->GetBookCode(place.book));
}

QRect CHitChart::PlotArea() const {
  return QRect(kLeft, kTop, std::max(1, width() - kLeft - kRight),
               std::max(1, height() - kTop - kBottom));
}

int CHitChart::BarAt(QPoint point) const {
  const QRect plot = PlotArea();
  if (places_.empty() || point.x() < plot.left() || point.x() > plot.right() ||
      point.y() > plot.bottom() + kBottom)
    return -1;
  const int bar = static_cast<int>((point.x() - plot.left()) * static_cast<qint64>(places_.size()) /
                                   plot.width());
  return bar < static_cast<int>(places_.size()) ? bar : -1;
}

void CHitChart::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), palette().base());
  Draw(&painter);
}

QImage CHitChart::Render() const {
  QImage image(size(), QImage::Format_ARGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  Draw(&painter);
  return image;
}

bool CHitChart::SaveSvg(const QString& path) const {
  QSvgGenerator svg;
  svg.setFileName(path);
  svg.setSize(size());
  svg.setViewBox(QRect(QPoint(0, 0), size()));
  svg.setTitle(tr("Hits per book"));
  QPainter painter;
  if (!painter.begin(&svg)) return false;
  painter.fillRect(QRect(QPoint(0, 0), size()), Qt::white);
  Draw(&painter);
  return painter.end();
}

void CHitChart::Draw(QPainter* painter) const {
  const QRect plot = PlotArea();
  double top = 0;
  uint32_t total = 0;
  for (const HitPlaceCount& p : places_) {
    top = std::max(top, ValueOf(p));
    total += p.hits;
  }
  const double step = AxisStep(top);
  const double axis_top = std::max(step, std::ceil(top / step) * step);
  painter->setPen(palette().color(QPalette::Text));
  QString title = per_thousand_ ? tr("%1 hits, per 1,000 words") : tr("%1 hits");
  title = title.arg(total);
  if (book_ > 0) title += " - " + ToQString(db_->GetBookCode(book_));
  painter->drawText(QRect(0, 0, width(), kTop), Qt::AlignCenter, title);
  // The value axis with its grid.
  const QFontMetrics metrics = painter->fontMetrics();
  for (double v = 0; v <= axis_top + step / 2; v += step) {
    const int y = plot.bottom() - static_cast<int>(v / axis_top * plot.height());
    painter->setPen(QColor(220, 220, 220));
    painter->drawLine(plot.left(), y, plot.right(), y);
    painter->setPen(palette().color(QPalette::Text));
    const QString label = QString::number(v, 'g', 6);
    painter->drawText(QRect(0, y - metrics.height() / 2, kLeft - 6, metrics.height()),
                      Qt::AlignRight | Qt::AlignVCenter, label);
  }
  if (places_.empty()) return;
  const double width = static_cast<double>(plot.width()) / static_cast<double>(places_.size());
  const int gap = width > 6 ? std::max(1, static_cast<int>(width / 6)) : 0;
  for (size_t i = 0; i < places_.size(); ++i) {
    const int x = plot.left() + static_cast<int>(static_cast<double>(i) * width);
    const int w = std::max(1, static_cast<int>(width) - gap);
    const int h = static_cast<int>(ValueOf(places_[i]) / axis_top * plot.height());
    painter->fillRect(QRect(x, plot.bottom() - h + 1, w, h), QColor(70, 110, 170));
    // Labels stand upright under the bars.
    painter->save();
    painter->translate(x + w / 2 + metrics.ascent() / 2, plot.bottom() + 4);
    painter->rotate(90);
    painter->setPen(palette().color(QPalette::Text));
    painter->drawText(0, 0, LabelOf(places_[i]));
    painter->restore();
  }
  painter->setPen(palette().color(QPalette::Text));
  painter->drawLine(plot.bottomLeft(), plot.bottomRight());
}

void CHitChart::mousePressEvent(QMouseEvent* event) {
  const int bar = BarAt(event->position().toPoint());
  if (bar < 0 || event->button() != Qt::LeftButton) return;
  const HitPlaceCount& place = places_[static_cast<size_t>(bar)];
  if (place.first_hit >= 0) emit GoToWordWanted(place.first_hit);
}

void CHitChart::mouseDoubleClickEvent(QMouseEvent* event) {
  const int bar = BarAt(event->position().toPoint());
  if (bar >= 0 && book_ == 0) ShowBook(places_[static_cast<size_t>(bar)].book);
}

CHitChartDialog::CHitChartDialog(CVornDB* db, std::vector<uint32_t> hits, QWidget* parent)
    : QDialog(parent) {
  setWindowTitle(tr("Hits per Book - %1").arg(ToQString(db->GetTitle())));
  auto* box = new QVBoxLayout(this);
  auto* controls = new QHBoxLayout;
  auto* scale = new QComboBox(this);
  scale->addItems({tr("Hits"), tr("Hits per 1,000 words")});
  auto* books = new QPushButton(tr("&All Books"), this);
  books->setEnabled(false);
  controls->addWidget(scale);
  controls->addWidget(books);
  controls->addStretch();
  box->addLayout(controls);
  chart_ = new CHitChart(db, std::move(hits), this);
  chart_->setToolTip(
      tr("Click a bar to go to its first hit; double-click a book for its chapters"));
  box->addWidget(chart_, 1);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
  QPushButton* copy = buttons->addButton(tr("&Copy"), QDialogButtonBox::ActionRole);
  QPushButton* save = buttons->addButton(tr("&Save..."), QDialogButtonBox::ActionRole);
  box->addWidget(buttons);

  connect(scale, &QComboBox::currentIndexChanged, chart_,
          [this](int index) { chart_->SetPerThousand(index == 1); });
  connect(books, &QPushButton::clicked, chart_, [this] { chart_->ShowBook(0); });
  connect(chart_, &CHitChart::BookChanged, books,
          [books](int book) { books->setEnabled(book > 0); });
  connect(chart_, &CHitChart::GoToWordWanted, this, &CHitChartDialog::GoToWordWanted);
  connect(copy, &QPushButton::clicked, this,
          [this] { QApplication::clipboard()->setImage(chart_->Render()); });
  connect(save, &QPushButton::clicked, this, [this] {
    const QString png = tr("PNG pictures (*.png)");
    const QString svg = tr("SVG drawings (*.svg)");
    QString filter = png;
    const QString path = QFileDialog::getSaveFileName(this, tr("Save Chart"), QString(),
                                                      png + QStringLiteral(";;") + svg, &filter);
    if (path.isEmpty()) return;
    QString file = path;
    const bool as_svg = file.endsWith(".svg", Qt::CaseInsensitive) ||
                        (!file.endsWith(".png", Qt::CaseInsensitive) && filter == svg);
    if (!file.endsWith(as_svg ? ".svg" : ".png", Qt::CaseInsensitive))
      file += as_svg ? ".svg" : ".png";
    // A failed save says so rather than passing for one that worked.
    const bool saved = as_svg ? chart_->SaveSvg(file) : chart_->Render().save(file, "PNG");
    if (!saved) QMessageBox::warning(this, windowTitle(), tr("Could not save %1").arg(file));
  });
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  resize(760, 440);
}

}  // namespace vorn::shell
