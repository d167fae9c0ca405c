// One pane of a document window: a scrolling view that keeps a focus word
// and its vertical offset, rebuilds its layout around them whenever the
// size, the metrics or the focus change, and draws it through the Qt device.
#pragma once

#include <QAbstractScrollArea>
#include <functional>
#include <memory>

class QPainter;

#include "metrics/view_metrics.h"
#include "shell/print_dialog.h"
#include "shell/qt_device.h"
#include "textdb/types.h"

namespace vorn {
namespace platform {
class CMessageSink;
}
class CLayout;
class CPropositions;
class CQueryThing;
class CVornDB;
}  // namespace vorn

namespace vorn::shell {

class CVornChildFrame;
class CPrintSetup;
class CScrollPopup;
class CWordTip;

class CVornView : public QAbstractScrollArea {
  Q_OBJECT
 public:
  // `frame` owns the pane; `db` and `state` must outlive it.
  CVornView(CVornChildFrame* frame, bool hits_pane, CVornDB* db, CQueryThing* state);
  ~CVornView() override;

  bool IsHitsPane() const { return hits_pane_; }
  int GetLayoutId() const { return layout_id_; }
  // Makes the layout of `id` (a kind of this pane); false for another id.
  bool SetLayoutId(int id);
  CLayout* GetLayout() const { return layout_.get(); }
  CViewMetrics& GetMetrics() { return metrics_; }
  CQtDevice& GetDevice() { return device_; }

  // What printing, preview, Paper Width and copying need from the program:
  // its page set-up (asked for only when a command needs it, since making
  // one asks the printing system) and where messages go. Until set, those
  // commands do nothing; the provider's set-up and the sink must outlive
  // the pane.
  using PrintSetupProvider = std::function<CPrintSetup&()>;
  void SetOutputServices(PrintSetupProvider print_setup, platform::CMessageSink* sink) {
    print_setup_ = std::move(print_setup);
    sink_ = sink;
  }

  // Whether the pane shows a tip for the word under the pointer.
  bool GetShowTips() const { return show_tips_; }
  void SetShowTips(bool on) { show_tips_ = on; }
  // The pane's word tip and scroll pop-up (owned by the pane).
  CWordTip* GetWordTip() const { return tip_; }
  CScrollPopup* GetScrollPopup() const { return popup_; }

  WordIndex GetFocusWord() const { return focus_; }
  int GetWordY() const { return word_y_; }
  // Makes `word` the focus word at offset `y` (kept inside the pane) and
  // emits FocusWordChanged when the word is new. -1 as y keeps the word where it is shown whole;
  // a word just past an edge scrolls in to that edge, and any other is put a third down the pane,
  // so that the lines before it (its verse's start) show above it. With `headings`, a word that
  // starts its unit has the unit's headings shown from `y` on and its line below them; without,
  // `y` is where its line goes (a y read from the layout).
  void SetFocusWord(WordIndex word, int y = -1, bool headings = true);
  // Makes `word` the caret: the one selected word (the highlight the user follows), the anchor
  // of Shift moves and the focus word, kept in view as SetFocusWord(word, -1) does.
  void SetCaret(WordIndex word);
  // The layout is rebuilt before the next paint.
  void Invalidate();
  // The hit list changed: the hit layouts take it and the pane repaints.
  void HitsChanged();
  // Moves to the next or previous hit; false (nothing moved) at the ends.
  bool MoveToHit(bool next);

  // Commands routed to the pane; true when handled.
  bool OnCommand(int id);
  // Enabled and checked state of a pane command; false when not the pane's.
  bool UpdateCommand(int id, bool* enabled, bool* checked);

 signals:
  // The focus word changed; `old_focus` is the one before.
  void FocusWordChanged(WordIndex old_focus);
  // The pane got the keyboard focus.
  void Activated();
  // Tab (`next`) or Shift+Tab was pressed: the keyboard focus should go to the next or previous
  // stop of the main frame's Tab order.
  void FocusStepWanted(bool next);
  // A key of the pane gave window command `id`.
  void CommandKey(int id);
  // The right mouse button or the Menu key asks for the word menu of the
  // current word, to be shown at `global` (screen coordinates).
  void WordMenuWanted(QPoint global);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  bool viewportEvent(QEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  // Tab and Shift+Tab follow the main frame's order (picker, query box, prompts, text pane,
  // hits pane), which crosses the window's edge.
  bool focusNextPrevChild(bool next) override;

 private:
  // Prepares the metrics for the current size and rebuilds when needed.
  void EnsureLayout();
  // The commands that produce or change output: text variants, copying,
  // printing, paper width, database information (vorn_view_output.cpp).
  bool OnOutputCommand(int id);
  bool UpdateOutputCommand(int id, bool* enabled, bool* checked);
  void SyncScrollBar();
  // The text pane's mark beside each bookmarked verse it shows.
  void DrawBookmarkMarks(QPainter* painter);
  // The interlinear-line commands and the database line each one switches
  // (-1 when the database has no such line).
  static bool IsLineCommand(int id);
  int LineOfCommand(int id) const;
  WordIndex WordAt(const QPoint& p) const;

  // The scroll bar (vorn_view_scroll.cpp): line, page, top and bottom
  // requests move the text here; dragging the thumb only shows where the
  // pane will go, and letting it go goes there.
  void SetUpScrollBar();
  void OnScrollAction(int action);
  void OnThumbMoved(int position);
  void GoToScrollPosition(int position);
  // Moves the text down by dy pixels (up when negative).
  void ScrollText(int dy);
  int TopLineHeight() const;

  CVornChildFrame* frame_;
  bool hits_pane_;
  CVornDB* db_;
  CQueryThing* state_;
  CQtDevice device_;
  CViewMetrics metrics_;
  std::unique_ptr<CLayout> layout_;
  // The passage last printed or previewed from the pane.
  PrintPassage print_passage_;
  PrintSetupProvider print_setup_;
  platform::CMessageSink* sink_ = nullptr;
  // The analysis a Propositions layout was made over; the layout is made
  // anew when the window shows another one (loaded, saved as, unloaded).
  CPropositions* layout_props_ = nullptr;
  int layout_id_ = 0;
  int previous_layout_id_ = 0;
  WordIndex focus_ = 0;
  int word_y_ = 0;
  WordIndex anchor_ = -1;
  bool needs_layout_ = true;
  // The next rebuild puts the focus unit's headings at the focus y; the
  // rebuild then stores the line's own y, so it applies once.
  bool with_headings_ = true;
  bool show_tips_ = true;
  bool syncing_ = false;  // the scroll bar is being set, not dragged
  int wheel_delta_ = 0;   // the part of a wheel notch not yet acted on
  CWordTip* tip_ = nullptr;
  CScrollPopup* popup_ = nullptr;
};

}  // namespace vorn::shell
