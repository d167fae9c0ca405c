// The distribution chart of a query's hits: one bar per book (or per
// chapter of one book), as counts or per 1,000 words of each book, drawn
// with QPainter. Clicking a bar asks the window to go to that book's (or
// chapter's) first hit; double-clicking a book's bar shows its chapters.
// The chart can be copied or saved as a PNG picture.
#pragma once

#include <QDialog>
#include <QImage>
#include <QWidget>
#include <vector>

#include "query/hit_analysis.h"

class QComboBox;
class QPushButton;

namespace vorn {
class CVornDB;
}

namespace vorn::shell {

class CHitChart : public QWidget {
  Q_OBJECT
 public:
  // `db` is borrowed and must outlive the chart; the hits are copied.
  // Starts with the books, as counts.
  CHitChart(CVornDB* db, std::vector<uint32_t> hits, QWidget* parent);

  // 0 for every book, else the chapters of book `book` (1-based).
  void ShowBook(int book);
  int GetBook() const { return book_; }
  void SetPerThousand(bool on);
  const std::vector<HitPlaceCount>& GetPlaces() const { return places_; }
  // The bar under `point`, or -1.
  int BarAt(QPoint point) const;
  // The chart drawn on a white picture of the widget's size.
  QImage Render() const;
  // Writes the chart as an SVG drawing of the widget's size to `path`; false
  // when the file cannot be written.
  [[nodiscard]] bool SaveSvg(const QString& path) const;
  QSize sizeHint() const override { return {720, 360}; }

 signals:
  void GoToWordWanted(int word);
  void BookChanged(int book);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 private:
  void Draw(QPainter* painter) const;
  QRect PlotArea() const;
  double ValueOf(const HitPlaceCount& place) const;
  QString LabelOf(const HitPlaceCount& place) const;

  CVornDB* db_;
  std::vector<uint32_t> hits_;
  std::vector<HitPlaceCount> places_;
  int book_ = 0;
  bool per_thousand_ = false;
};

// The chart with its controls: counts or per 1,000 words, back to the
// books, copy and save.
class CHitChartDialog : public QDialog {
  Q_OBJECT
 public:
  CHitChartDialog(CVornDB* db, std::vector<uint32_t> hits, QWidget* parent);
  CHitChart* chart() const { return chart_; }

 signals:
  void GoToWordWanted(int word);

 private:
  CHitChart* chart_ = nullptr;
};

}  // namespace vorn::shell
