#include "shell/vorn_view.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPen>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>
#include <optional>
#include <vector>

#include "layout/layout.h"
#include "layout/layout_box.h"
#include "layout/layout_kinds.h"
#include "querystate/query_thing.h"
#include "refs/bible_ref.h"
#include "refs/bookmarks.h"
#include "shell/actions.h"
#include "shell/child_frame.h"
#include "shell/hit_moves.h"
#include "shell/persistent_view_settings.h"
#include "shell/propositions_bar.h"
#include "shell/scroll_popup.h"
#include "shell/word_tip.h"
#include "textdb/vorn_db.h"

namespace vorn::shell {

namespace {

// The keys with which the hits pane walks its hits instead of its words.
std::optional<HitMove> HitsPaneMove(int key, bool ctrl) {
  switch (key) {
    case Qt::Key_Home:
      return ctrl ? HitMove::kStartOfBook : HitMove::kFirst;
    case Qt::Key_End:
      return ctrl ? HitMove::kEndOfBook : HitMove::kLast;
    case Qt::Key_Up:
      return ctrl ? std::optional(HitMove::kPrevVerse) : std::nullopt;
    case Qt::Key_Down:
      return ctrl ? std::optional(HitMove::kNextVerse) : std::nullopt;
    case Qt::Key_PageUp:
      return ctrl ? std::optional(HitMove::kPrevChapter) : std::nullopt;
    case Qt::Key_PageDown:
      return ctrl ? std::optional(HitMove::kNextChapter) : std::nullopt;
    default:
      return std::nullopt;
  }
}

}  // namespace

CVornView::CVornView(CVornChildFrame* frame, bool hits_pane, CVornDB* db, CQueryThing* state)
    : QAbstractScrollArea(frame),
      frame_(frame),
      hits_pane_(hits_pane),
      db_(db),
      state_(state),
      device_(nullptr),
      metrics_(db, state) {
  setFocusPolicy(Qt::StrongFocus);
  viewport()->setAutoFillBackground(false);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  SetLayoutId(hits_pane_ ? kLayoutReferences : kLayoutVerses);
  viewport()->setMouseTracking(true);
  tip_ = new CWordTip(this, viewport(), metrics_);
  popup_ = new CScrollPopup(this);
  SetUpScrollBar();
  // A new pane starts as the user last left any pane.
  const CPersistentViewSettings& remembered = CPersistentViewSettings::Instance();
  remembered.ApplyTo(&metrics_, *db_);
  SetShowTips(remembered.GetShowTips());
}

CVornView::~CVornView() {
  // The tip draws with the metrics, which go before the children do.
  delete tip_;
  tip_ = nullptr;
}

bool CVornView::SetLayoutId(int id) {
  auto layout = MakeLayout(id, hits_pane_, db_, &metrics_, state_);
  if (!layout) return false;
  layout_ = std::move(layout);
  layout_props_ = id == kLayoutPropositions && state_ ? state_->GetPropositions() : nullptr;
  previous_layout_id_ = layout_id_;
  layout_id_ = id;
  Invalidate();
  return true;
}

void CVornView::Invalidate() {
  needs_layout_ = true;
  // The word under the pointer may have moved away.
  if (tip_) tip_->SetWord(-1, QRect());
  viewport()->update();
}

void CVornView::EnsureLayout() {
  metrics_.SetSize(viewport()->width(), viewport()->height());
  metrics_.Prepare(&device_, 0);
  if (layout_props_ && state_->GetPropositions() != layout_props_) {
    // Only compared: the old analysis may be gone already.
    layout_ = MakeLayout(layout_id_, hits_pane_, db_, &metrics_, state_);
    layout_props_ = state_->GetPropositions();
    needs_layout_ = true;
  }
  if (!needs_layout_ || !layout_) return;
  needs_layout_ = false;
  word_y_ = layout_->Rebuild(focus_, word_y_, with_headings_);
  with_headings_ = false;
  SyncScrollBar();
}

void CVornView::SyncScrollBar() {
  syncing_ = true;
  QScrollBar* bar = verticalScrollBar();
  if (hits_pane_) {
    const int count = state_ ? static_cast<int>(state_->GetHitCount()) : 0;
    bar->setRange(0, std::max(0, count - 1));
    bar->setValue(state_ && count ? static_cast<int>(state_->NearestHitPlace(focus_)) : 0);
  } else {
    bar->setRange(0, std::max(0, static_cast<int>(db_->GetWordCount()) - 1));
    bar->setValue(std::max(0, focus_));
  }
  bar->setPageStep(std::max(1, metrics_.GetRowsHeight() > 0 ? 50 : 1));
  syncing_ = false;
}

void CVornView::SetFocusWord(WordIndex word, int y, bool headings) {
  if (word < 0) return;
  if (y < 0) {
    // Where the word is shown now, in the layout as the pane paints it.
    EnsureLayout();
    int shown_y = 0;
    const bool loaded = layout_ && layout_->GetWordY(word, &shown_y);
    const int height = viewport()->height();
    const int row = std::max(1, metrics_.GetRowHeight());
    headings = false;
    if (loaded && metrics_.IsRowVisible(shown_y)) {
      y = shown_y;
    } else if (loaded && shown_y >= 0 && shown_y < height + row) {
      y = std::max(0, height - row - 1);  // one line below: its bottom at the pane's bottom
    } else if (loaded && shown_y < 0 && shown_y > -2 * row) {
      y = 0;  // just above: to the top
    } else {
      y = height / 3;
      headings = true;
    }
  }
  with_headings_ = headings;
  const WordIndex old = focus_;
  focus_ = word;
  word_y_ = y;
  Invalidate();
  if (old != word) emit FocusWordChanged(old);
}

void CVornView::HitsChanged() {
  if (layout_) SetLayoutId(layout_id_);
  if (hits_pane_ && state_ && state_->GetHitCount() > 0) {
    // New hits start at the top of the pane: the first hit, with the
    // headings of its unit (the reference list's count) above it. Nothing
    // comes before the first hit, so asking for an offset far below the
    // pane makes the rebuild move the text up to the pane's top.
    constexpr int kFarBelow = 1 << 20;
    focus_ = static_cast<WordIndex>(state_->GetHits().front());
    word_y_ = kFarBelow;
    with_headings_ = true;
  }
  Invalidate();
}

void CVornView::SetCaret(WordIndex word) {
  if (word < 0) return;
  metrics_.ClearSelection();
  metrics_.SelectWord(word, true);
  anchor_ = word;
  SetFocusWord(word, -1);
  // The word may be the focus already: the highlight moved all the same.
  Invalidate();
}

bool CVornView::MoveToHit(bool next) {
  if (!state_ || state_->GetHitCount() == 0) return false;
  const auto& hits = state_->GetHits();
  WordIndex target = -1;
  if (next) {
    auto it =
        std::upper_bound(hits.begin(), hits.end(), static_cast<uint32_t>(std::max(focus_, 0)));
    if (it != hits.end()) target = static_cast<WordIndex>(*it);
  } else {
    auto it =
        std::lower_bound(hits.begin(), hits.end(), static_cast<uint32_t>(std::max(focus_, 0)));
    if (it != hits.begin()) target = static_cast<WordIndex>(*(it - 1));
  }
  if (target < 0) return false;
  SetCaret(target);
  return true;
}

WordIndex CVornView::WordAt(const QPoint& p) const {
  if (!layout_) return -1;
  CLayoutBox* box = layout_->HitTest(p.x(), p.y(), nullptr, nullptr);
  if (!box) return -1;
  return box->GetWordIndex();
}

void CVornView::paintEvent(QPaintEvent*) {
  EnsureLayout();
  QPainter painter(viewport());
  painter.fillRect(viewport()->rect(), Qt::white);
  painter.setRenderHint(QPainter::TextAntialiasing);
  device_.SetPainter(&painter);
  if (layout_) layout_->Draw();
  device_.SetPainter(nullptr);
  DrawBookmarkMarks(&painter);
  if (hasFocus()) {
    // The pane that takes the keys shows it: a frame in the highlight colour.
    painter.setPen(QPen(palette().color(QPalette::Highlight), 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(viewport()->rect().adjusted(1, 1, -1, -1));
  }
}

void CVornView::DrawBookmarkMarks(QPainter* painter) {
  const CBookmarks* marks = frame_->GetBookmarks();
  if (hits_pane_ || !layout_ || !marks) return;
  const int row = std::max(4, metrics_.GetRowHeight());
  const int width = 4;
  const int x = metrics_.IsRightToLeft() ? viewport()->width() - width : 0;
  for (size_t i = 0; i < marks->GetCount(); ++i) {
    const CBibleRef ref = marks->GetBookmark(i, db_);
    int y = 0;
    if (!ref.HasEntry() || !layout_->GetWordY(ref.GetFirstWord(), &y)) continue;
    if (y + row < 0 || y >= viewport()->height()) continue;
    // A bar in the margin beside the bookmarked verse's first line.
    painter->fillRect(QRect(x, y, width, row), QColor(0x20, 0x60, 0xc0));
  }
}

void CVornView::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  Invalidate();
}

void CVornView::focusInEvent(QFocusEvent* event) {
  QAbstractScrollArea::focusInEvent(event);
  viewport()->update();
  emit Activated();
}

void CVornView::focusOutEvent(QFocusEvent* event) {
  QAbstractScrollArea::focusOutEvent(event);
  viewport()->update();
}

bool CVornView::focusNextPrevChild(bool next) {
  emit FocusStepWanted(next);
  return true;
}

void CVornView::scrollContentsBy(int, int) {
  if (syncing_) return;
  GoToScrollPosition(verticalScrollBar()->value());
}

void CVornView::wheelEvent(QWheelEvent* event) {
  // Touchpads and fine wheels send parts of a notch; they add up.
  wheel_delta_ += event->angleDelta().y();
  const int notches = wheel_delta_ / 120;
  wheel_delta_ -= notches * 120;
  if (notches == 0) return;
  if (event->modifiers() & Qt::ControlModifier) {
    metrics_.Prepare(&device_,
                     CViewMetrics::StepMagnification(metrics_.GetMagnification(), notches));
    CPersistentViewSettings::Instance().SetMagnification(metrics_.GetMagnification());
    Invalidate();
    return;
  }
  EnsureLayout();
  if (!layout_) return;
  const int row = std::max(1, metrics_.GetRowHeight());
  layout_->Scroll(notches * 3 * row);
  int y = 0;
  const WordIndex top = layout_->GetTopWord(&y);
  if (top >= 0) SetFocusWord(top, y, false);
}

void CVornView::mousePressEvent(QMouseEvent* event) {
  EnsureLayout();
  // The right button's menu comes with the context menu event.
  if (event->button() == Qt::RightButton) return;
  const WordIndex word = WordAt(event->position().toPoint());
  const auto mods =
      event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
  if (word < 0 || event->button() != Qt::LeftButton ||
      (mods != Qt::NoModifier && mods != Qt::ShiftModifier && mods != Qt::ControlModifier)) {
    QApplication::beep();
    return;
  }
  if (mods == Qt::ControlModifier) {
    metrics_.SelectWord(word, !metrics_.IsSelected(word));
    anchor_ = word;
  } else if (mods == Qt::ShiftModifier && anchor_ >= 0) {
    metrics_.ClearSelection();
    metrics_.SelectRange(std::min(anchor_, word), std::max(anchor_, word) + 1, true);
  } else {
    SetCaret(word);
    return;
  }
  SetFocusWord(word);
}

void CVornView::contextMenuEvent(QContextMenuEvent* event) {
  EnsureLayout();
  QPoint at = event->pos();
  if (event->reason() == QContextMenuEvent::Mouse) {
    const WordIndex word = WordAt(at);
    if (word < 0) {
      QApplication::beep();
      return;
    }
    // The menu is the current word's: the word clicked becomes it.
    if (word != focus_) SetCaret(word);
  } else {
    // The Menu key: under the caret's line, a little in from the edge.
    at = QPoint(viewport()->width() / 4, std::max(0, word_y_) + metrics_.GetRowHeight());
  }
  tip_->SetWord(-1, QRect());
  emit WordMenuWanted(viewport()->mapToGlobal(at));
}

void CVornView::mouseMoveEvent(QMouseEvent* event) {
  QAbstractScrollArea::mouseMoveEvent(event);
  if (!show_tips_) {
    tip_->SetWord(-1, QRect());
    return;
  }
  EnsureLayout();
  int left = 0;
  int top = 0;
  const QPoint p = event->position().toPoint();
  CLayoutBox* box = layout_ ? layout_->HitTest(p.x(), p.y(), &left, &top) : nullptr;
  const WordIndex word = box ? box->GetWordIndex() : -1;
  tip_->SetWord(word, word >= 0 ? QRect(left, top, box->GetWidth(), box->GetHeight()) : QRect());
}

bool CVornView::viewportEvent(QEvent* event) {
  if (event->type() == QEvent::Leave) tip_->SetWord(-1, QRect());
  return QAbstractScrollArea::viewportEvent(event);
}

void CVornView::keyPressEvent(QKeyEvent* event) {
  EnsureLayout();
  if (!layout_) return;
  const bool ctrl = event->modifiers() & Qt::ControlModifier;
  const bool shift = event->modifiers() & Qt::ShiftModifier;
  const bool rtl = !hits_pane_ && metrics_.IsRightToLeft();
  if (!hits_pane_ && layout_id_ == kLayoutPropositions) {
    if (const int id = PropositionKeyCommand(event->key(), event->modifiers(), rtl)) {
      emit CommandKey(id);
      return;
    }
  }
  // The caret moves below may drop the loaded units for the one holding their word, drawn
  // nowhere yet; then the pane is laid out anew before the word's place is judged.
  std::vector<const CLayoutUnit*> loaded;
  for (const auto& unit : layout_->GetUnits()) loaded.push_back(unit.get());
  WordIndex target = -2;
  CBibleRef ref(db_, focus_);
  const std::optional<HitMove> hit_move =
      hits_pane_ ? HitsPaneMove(event->key(), ctrl) : std::nullopt;
  if (hit_move) {
    target = state_ ? HitMoveTarget(db_, state_->GetHits(), focus_, *hit_move) : -1;
  } else
    switch (event->key()) {
      case Qt::Key_Left:
      case Qt::Key_Right: {
        const bool forward = (event->key() == Qt::Key_Right) != rtl;
        const WordIndex next = forward ? focus_ + 1 : focus_ - 1;
        if (next < 0 || next >= static_cast<WordIndex>(db_->GetWordCount())) {
          QApplication::beep();
          return;
        }
        target = layout_->NearestShownWord(next, forward);
        break;
      }
      case Qt::Key_Up:
        if (ctrl) {
          if (ref.GetFirstWord() == focus_) ref.PrevVerse();
          target = ref.GetFirstWord();
        } else {
          target = layout_->WordAbove(focus_);
        }
        break;
      case Qt::Key_Down:
        if (ctrl) {
          ref.NextVerse();
          target = ref.GetFirstWord();
        } else {
          target = layout_->WordBelow(focus_);
        }
        break;
      case Qt::Key_Home:
        if (ctrl) {
          if (ref.IsFirstInBook() && ref.GetFirstWord() == focus_) ref.PrevBook();
          ref.StartOfBook();
          target = ref.GetFirstWord();
        } else {
          target = layout_->LineStartWord(focus_);
        }
        break;
      case Qt::Key_End:
        if (ctrl) {
          const WordSpan book = ref.GetBookSpan();
          target = book.end > 0 ? book.end - 1 : -1;
        } else {
          target = layout_->LineEndWord(focus_);
        }
        break;
      case Qt::Key_PageUp:
      case Qt::Key_PageDown:
        if (ctrl) {
          if (event->key() == Qt::Key_PageUp) {
            ref.PrevChapter();
          } else {
            ref.NextChapter();
          }
          target = ref.GetFirstWord();
        } else {
          const int page = std::max(
              1, metrics_.GetRowsHeight() > 0 ? metrics_.GetRowsHeight() : viewport()->height());
          layout_->Scroll(event->key() == Qt::Key_PageUp ? page : -page);
          int y = 0;
          const WordIndex top = layout_->GetTopWord(&y);
          if (top >= 0) SetFocusWord(top, y, false);
          return;
        }
        break;
      default:
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
  if (target < 0) {
    QApplication::beep();
    return;
  }
  target = layout_->NearestShownWord(target, target >= focus_);
  if (target == focus_) {
    QApplication::beep();
    return;
  }
  bool kept = false;
  for (const auto& unit : layout_->GetUnits())
    kept = kept || std::find(loaded.begin(), loaded.end(), unit.get()) != loaded.end();
  if (!kept) needs_layout_ = true;
  if (!shift) {
    // The caret carries the highlight along, as a click does.
    SetCaret(target);
    return;
  }
  if (anchor_ < 0) anchor_ = focus_;
  metrics_.ClearSelection();
  metrics_.SelectRange(std::min(anchor_, target), std::max(anchor_, target) + 1, true);
  SetFocusWord(target);
}

bool CVornView::IsLineCommand(int id) {
  return (id >= kCmdLineFirst && id <= kCmdLineLast) ||
         (id >= kCmdLineAltFirst && id <= kCmdLineAltLast);
}

int CVornView::LineOfCommand(int id) const {
  const int kind = id >= kCmdLineAltFirst ? id - kCmdLineAltFirst : id - kCmdLineFirst;
  const int lines[] = {db_->GetFormLineIndex(),  db_->GetTlitLineIndex(),  db_->GetTagLineIndex(),
                       db_->GetGlossLineIndex(), db_->GetLemmaLineIndex(), -1,
                       db_->GetLinksLineIndex()};
  int line = lines[kind];
  if (kind == 5) {
    // Strong's numbers: the first line of the database with none of the
    // other roles.
    for (int i = 0; i < db_->GetLineCount() && line < 0; ++i) {
      if (std::find(std::begin(lines), std::end(lines), i) == std::end(lines)) line = i;
    }
  }
  return line >= 0 && line < metrics_.GetLineCount() ? line : -1;
}

bool CVornView::OnCommand(int id) {
  if (OnOutputCommand(id)) return true;
  if (id >= kCmdMagnifyFirst && id <= kCmdMagnifyLast) {
    metrics_.Prepare(&device_, CViewMetrics::kMagnifications[id - kCmdMagnifyFirst]);
    CPersistentViewSettings::Instance().SetMagnification(metrics_.GetMagnification());
    Invalidate();
    return true;
  }
  if (IsLineCommand(id)) {
    const int line = LineOfCommand(id);
    if (line < 0) return true;
    const bool visible = metrics_.IsLineVisible(line);
    // The last visible line stays: a pane always shows something.
    if (visible && metrics_.IsSingleLineVisible()) return true;
    metrics_.SetLineVisible(line, !visible);
    CPersistentViewSettings::Instance().SetLineVisible(db_->GetLineName(line), !visible);
    Invalidate();
    return true;
  }
  switch (id) {
    case kCmdRightToLeft:
      metrics_.SetRightToLeft(!metrics_.IsRightToLeft());
      Invalidate();
      return true;
    case kCmdWordTips:
      show_tips_ = !show_tips_;
      CPersistentViewSettings::Instance().SetShowTips(show_tips_);
      if (!show_tips_) tip_->SetWord(-1, QRect());
      return true;
    case kCmdNextMatch:
    case kCmdPreviousMatch:
      if (!MoveToHit(id == kCmdNextMatch)) QApplication::beep();
      return true;
    case kCmdSelectAllHits:
      if (state_) {
        std::vector<WordIndex> words(state_->GetHits().begin(), state_->GetHits().end());
        metrics_.SetSelection(words);
        Invalidate();
      }
      return true;
    default:
      break;
  }
  if (const CommandDef* def = FindCommand(id)) {
    const bool mine = (def->target == CommandTarget::kTextPane && !hits_pane_) ||
                      (def->target == CommandTarget::kHitsPane && hits_pane_);
    if (mine && id >= kLayoutParagraphs && id <= kLayoutConcordance) {
      SetLayoutId(id);
      return true;
    }
  }
  return false;
}

bool CVornView::UpdateCommand(int id, bool* enabled, bool* checked) {
  *enabled = true;
  *checked = false;
  if (UpdateOutputCommand(id, enabled, checked)) return true;
  if (id >= kCmdMagnifyFirst && id <= kCmdMagnifyLast) {
    *checked = metrics_.GetMagnification() == CViewMetrics::kMagnifications[id - kCmdMagnifyFirst];
    return true;
  }
  if (IsLineCommand(id)) {
    const int line = LineOfCommand(id);
    *enabled = line >= 0;
    *checked = line >= 0 && metrics_.IsLineVisible(line);
    return true;
  }
  switch (id) {
    case kCmdRightToLeft:
      *checked = metrics_.IsRightToLeft();
      return true;
    case kCmdWordTips:
      *checked = show_tips_;
      return true;
    case kCmdNextMatch:
    case kCmdPreviousMatch:
    case kCmdSelectAllHits:
      *enabled = state_ && state_->GetHitCount() > 0;
      return true;
    case kCmdRemoveMatch:
      *enabled = hits_pane_ && !metrics_.GetSelection().empty();
      return true;
    default:
      break;
  }
  if (id >= kLayoutParagraphs && id <= kLayoutPropositions) {
    *enabled = !hits_pane_;
    *checked = !hits_pane_ && layout_id_ == id;
    return true;
  }
  if (id >= kLayoutReferences && id <= kLayoutConcordance) {
    *enabled = hits_pane_;
    *checked = hits_pane_ && layout_id_ == id;
    return true;
  }
  return false;
}

}  // namespace vorn::shell
