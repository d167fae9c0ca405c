// The "Word Analysis" bar: everything known about the current word of the
// active pane (its forms, base form, counts, gloss, tag description, links
// and user tags), drawn by the word itself with the pane's fonts. A
// Strong's number inside an entry is a link: a click shows that entry, and
// the bar's menu offers the searches of the word shown.
#pragma once

#include <QAbstractScrollArea>
#include <QDockWidget>
#include <QPointer>
#include <memory>
#include <string_view>
#include <vector>

#include "device/device.h"
#include "metrics/details_metrics.h"
#include "textdb/types.h"

namespace vorn {
class CWord;
}

namespace vorn::shell {

class CVornView;

// The scrolling area of the bar. It draws at its top left and scrolls over
// the size of what it drew.
class CWordDetailsView : public QAbstractScrollArea {
  Q_OBJECT
 public:
  explicit CWordDetailsView(QWidget* parent);
  ~CWordDetailsView() override;

  // Shows `word` of `pane`'s database with `pane`'s fonts and user tags.
  // A null pane or a word of -1 shows nothing. The pane is watched, not
  // owned: once it is destroyed the view shows nothing.
  void ShowWord(CVornView* pane, WordIndex word);
  // Measures and draws again (the pane's fonts or the word's tags may have
  // changed).
  void Refresh();
  // -1 when nothing is shown.
  WordIndex GetWord() const;
  // The size of the last drawing, (0, 0) for none: the scrollable extent.
  Size GetExtent() const { return extent_; }

  QSize sizeHint() const override;

  // Shows the entry of the Strong's number `number` ("G575"): the first word
  // of the database that carries it. False (nothing changes) without a
  // shown word or when no word carries it.
  bool ShowEntry(std::u16string_view number);

  // The Strong's numbers shown as links, with their boxes in the drawing's
  // coordinates (before scrolling), as last drawn or measured.
  const std::vector<CDetailsMetrics::Spot>& GetLinkSpots() const { return spots_; }
  // The query texts of the searches the shown word offers ("strong \"G3056\""),
  // one per searchable line it has a value on; empty when nothing is shown.
  std::vector<QString> GetSearches() const;

 signals:
  // The user chose one of GetSearches() (from the bar's menu); the frame
  // runs it in the active window.
  void SearchRequested(const QString& query);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;
  // Offers the entries of the Strong's numbers the shown links mention.
  void contextMenuEvent(QContextMenuEvent* event) override;
  // A link under the mouse shows a pointing hand and its tip; a click on it
  // shows its entry.
  void mouseMoveEvent(QMouseEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  // Draws the word with `painter` (null: only measures) and returns the
  // size of the drawing.
  Size Render(QPainter* painter);
  void SetExtent(Size extent);
  void Clear();
  // The link under `viewport_point`; null for none.
  const CDetailsMetrics::Spot* SpotAt(QPoint viewport_point) const;

  QPointer<CVornView> pane_;
  QMetaObject::Connection pane_gone_;
  std::unique_ptr<CWord> word_;
  Size extent_;
  std::vector<CDetailsMetrics::Spot> spots_;
};

// The dockable bar around the view; any side, or floating.
class CWordDetailsBar : public QDockWidget {
  Q_OBJECT
 public:
  explicit CWordDetailsBar(QWidget* parent);

  CWordDetailsView* GetView() const { return view_; }
  void ShowWord(CVornView* pane, WordIndex word) { view_->ShowWord(pane, word); }
  void Refresh() { view_->Refresh(); }

 private:
  CWordDetailsView* view_;
};

}  // namespace vorn::shell
