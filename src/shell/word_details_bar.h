// The "Word Analysis" bar: everything known about the current word of the
// active pane (its forms, base form, counts, gloss, tag description, links
// and user tags), drawn by the word itself with the pane's fonts.
#pragma once

#include <QAbstractScrollArea>
#include <QDockWidget>
#include <QPointer>
#include <memory>
#include <string_view>

#include "device/device.h"
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

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;
  // Offers the entries of the Strong's numbers the shown links mention.
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  // Draws the word with `painter` (null: only measures) and returns the
  // size of the drawing.
  Size Render(QPainter* painter);
  void SetExtent(Size extent);
  void Clear();

  QPointer<CVornView> pane_;
  QMetaObject::Connection pane_gone_;
  std::unique_ptr<CWord> word_;
  Size extent_;
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
