// The pane's vertical scroll bar. Its position stands for the focus word
// (text pane) or the focus hit's place in the hit list (hits pane); the
// text itself moves by display lines and pages, so the bar's own steps are
// never applied.
#include <QScrollBar>
#include <algorithm>

#include "layout/layout.h"
#include "layout/layout_line.h"
#include "layout/layout_unit.h"
#include "querystate/query_thing.h"
#include "refs/bible_ref.h"
#include "shell/scroll_popup.h"
#include "shell/vorn_view.h"
#include "textdb/vorn_db.h"

namespace vorn::shell {

void CVornView::SetUpScrollBar() {
  QScrollBar* bar = verticalScrollBar();
  // Without tracking the value changes only when the thumb is let go; while
  // it is dragged the pop-up tells where the pane will go.
  bar->setTracking(false);
  connect(bar, &QAbstractSlider::actionTriggered, this, &CVornView::OnScrollAction);
  connect(bar, &QAbstractSlider::sliderMoved, this, &CVornView::OnThumbMoved);
  connect(bar, &QAbstractSlider::sliderReleased, popup_, &QWidget::hide);
}

void CVornView::OnScrollAction(int action) {
  QScrollBar* bar = verticalScrollBar();
  switch (action) {
    case QAbstractSlider::SliderSingleStepAdd:
    case QAbstractSlider::SliderSingleStepSub:
    case QAbstractSlider::SliderPageStepAdd:
    case QAbstractSlider::SliderPageStepSub:
    case QAbstractSlider::SliderToMinimum:
    case QAbstractSlider::SliderToMaximum:
      // Undo the bar's own step; the bar follows the focus at the next paint.
      bar->setSliderPosition(bar->value());
      break;
    default:
      return;
  }
  EnsureLayout();
  if (!layout_) return;
  switch (action) {
    case QAbstractSlider::SliderSingleStepAdd:
      ScrollText(-TopLineHeight());
      break;
    case QAbstractSlider::SliderSingleStepSub:
      ScrollText(TopLineHeight());
      break;
    case QAbstractSlider::SliderPageStepAdd:
    case QAbstractSlider::SliderPageStepSub: {
      const int rows = metrics_.GetRowsHeight();
      const int page = std::max(1, rows > 0 ? rows : viewport()->height());
      ScrollText(action == QAbstractSlider::SliderPageStepAdd ? -page : page);
      break;
    }
    default: {
      const bool last = action == QAbstractSlider::SliderToMaximum;
      WordIndex target = -1;
      if (hits_pane_) {
        if (!state_ || state_->GetHitCount() == 0) return;
        target =
            static_cast<WordIndex>(last ? state_->GetHits().back() : state_->GetHits().front());
      } else {
        const WordIndex count = static_cast<WordIndex>(db_->GetWordCount());
        if (count <= 0) return;
        target = layout_->NearestShownWord(last ? count - 1 : 0, !last);
      }
      if (target >= 0) SetFocusWord(target, 0);
      break;
    }
  }
}

int CVornView::TopLineHeight() const {
  int y = layout_->GetTop();
  for (const auto& unit : layout_->GetUnits()) {
    for (const auto* lines : {&unit->GetHeadingLines(), &unit->GetBodyLines()}) {
      for (const auto& line : *lines) {
        const int h = line->GetHeight();
        if (h > 0 && y + h > 0) return h;
        y += h;
      }
    }
  }
  return std::max(1, metrics_.GetRowHeight());
}

void CVornView::ScrollText(int dy) {
  if (dy == 0 || layout_->Scroll(dy) == 0) return;
  // The focus word keeps its place in the text and takes its new offset.
  // Once it has left the pane, the first word shown at the top takes over,
  // so that the bar, the title and the word details follow what is shown.
  int y = 0;
  if (layout_->GetWordY(focus_, &y) && metrics_.IsYVisible(y)) {
    SetFocusWord(focus_, y, false);
    return;
  }
  const WordIndex top = layout_->GetTopWord(&y);
  if (top >= 0) SetFocusWord(top, y, false);
}

void CVornView::OnThumbMoved(int position) {
  long long count = 0;
  WordIndex word = -1;
  if (hits_pane_) {
    count = state_ ? static_cast<long long>(state_->GetHitCount()) : 0;
    if (position >= 0 && position < count)
      word = static_cast<WordIndex>(state_->GetHits()[static_cast<size_t>(position)]);
  } else {
    count = static_cast<long long>(db_->GetWordCount());
    if (position >= 0 && position < count) word = static_cast<WordIndex>(position);
  }
  if (word < 0) return;
  CBibleRef ref(db_, word);
  std::u16string text = u" ";
  if (ref.HasEntry()) text += ref.FormatLong();
  popup_->ShowText(viewport(), metrics_.GetVerseFont(CViewMetrics::kRefFont), text, position,
                   count);
}

void CVornView::GoToScrollPosition(int position) {
  popup_->hide();
  if (hits_pane_) {
    if (!state_ || position < 0 || static_cast<size_t>(position) >= state_->GetHitCount()) return;
    SetFocusWord(static_cast<WordIndex>(state_->GetHits()[static_cast<size_t>(position)]), 0);
    return;
  }
  if (position < 0 || position >= static_cast<int>(db_->GetWordCount())) return;
  // The thumb stands for a word; the pane goes to the verse holding it.
  CBibleRef ref(db_, static_cast<WordIndex>(position));
  const WordIndex first = ref.GetFirstWord();
  SetFocusWord(first >= 0 ? first : position, 0);
}

}  // namespace vorn::shell
