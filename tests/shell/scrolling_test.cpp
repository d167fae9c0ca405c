#include <gtest/gtest.h>

#include <QMdiSubWindow>
#include <QScrollBar>
#include <QWheelEvent>

#include "metrics/view_metrics.h"
#include "querystate/query_thing.h"
#include "refs/bible_ref.h"
#include "shell/qt_device.h"
#include "shell/scroll_popup.h"
#include "test_frame.h"
#include "textdb/font_format.h"
#include "textdb/vorn_db.h"

namespace vorn::shell {
namespace {

using testing::TestFrame;

TEST(ScrollPopupPlace, RightEdgeAndProportionalCentreKeptInside) {
  const QRect client(0, 0, 400, 300);
  const QSize size(100, 20);
  QRect r = CScrollPopup::Place(size, client, 5, 10);
  EXPECT_EQ(r.size(), size);
  EXPECT_EQ(r.left() + r.width(), 400);
  EXPECT_EQ(r.top() + r.height() / 2, 150);
  EXPECT_EQ(CScrollPopup::Place(size, client, 0, 10).top(), 0);
  EXPECT_EQ(CScrollPopup::Place(size, client, 9, 10).top(), 260);
  EXPECT_EQ(CScrollPopup::Place(size, client, 39, 40).top(), 280);
  EXPECT_EQ(CScrollPopup::Place(size, client, 10, 10).top(), 280);
  EXPECT_EQ(CScrollPopup::Place(size, QRect(10, 50, 400, 300), 1, 4).top(), 50 + 75 - 10);
  // No words at all: at the top.
  EXPECT_EQ(CScrollPopup::Place(size, client, 0, 0).top(), 0);
  // Large counts do not overflow.
  EXPECT_EQ(CScrollPopup::Place(size, client, 2000000000LL, 4000000000LL).top(), 140);
}

class ScrollingTest : public ::testing::Test {
 protected:
  ScrollingTest() : frame_(vorn::testing::MakeGreekTestSource()) {}
  void SetUp() override {
    ASSERT_TRUE(frame_.ok());
    // A small window, so that the text runs over several pages.
    auto* sub = qobject_cast<QMdiSubWindow*>(frame_.window()->parentWidget());
    ASSERT_NE(sub, nullptr);
    sub->resize(420, 480);
    QApplication::processEvents();
    text_ = frame_.text();
    db_ = text_->GetMetrics().GetDatabase();
    TestFrame::Paint(text_);
  }

  // The scroll bar request `action`, then the repaint that follows it.
  void Request(CVornView* pane, QAbstractSlider::SliderAction action) {
    pane->verticalScrollBar()->triggerAction(action);
    TestFrame::Paint(pane);
  }

  TestFrame frame_;
  CVornView* text_ = nullptr;
  CVornDB* db_ = nullptr;
};

TEST_F(ScrollingTest, TopAndBottomGoToTheFirstAndLastWord) {
  const WordIndex last = static_cast<WordIndex>(db_->GetWordCount()) - 1;
  Request(text_, QAbstractSlider::SliderToMaximum);
  EXPECT_EQ(text_->GetFocusWord(), last);
  EXPECT_EQ(text_->verticalScrollBar()->value(), last);
  Request(text_, QAbstractSlider::SliderToMinimum);
  EXPECT_EQ(text_->GetFocusWord(), 0);
  EXPECT_EQ(text_->verticalScrollBar()->value(), 0);
}

TEST_F(ScrollingTest, LinesMoveTheTextAndKeepTheFocusWord) {
  // A focus word on the second display line of the pane.
  QRect first;
  ASSERT_GE(TestFrame::FindShownWord(text_, &first), 0);
  WordIndex focus = -1;
  for (int y = first.bottom() + 2; y < text_->viewport()->height() && focus < 0; y += 2) {
    for (int x = 0; x < text_->viewport()->width() && focus < 0; x += 4) {
      CLayoutBox* box = text_->GetLayout()->HitTest(x, y, nullptr, nullptr);
      if (box && box->GetWordIndex() >= 0) focus = box->GetWordIndex();
    }
  }
  ASSERT_GE(focus, 0);
  text_->SetFocusWord(focus, -1);
  TestFrame::Paint(text_);
  const int y = text_->GetWordY();
  ASSERT_GT(y, 0);

  Request(text_, QAbstractSlider::SliderSingleStepAdd);
  EXPECT_EQ(text_->GetFocusWord(), focus);
  const int y_down = text_->GetWordY();
  EXPECT_LT(y_down, y);
  // Rebuilding again leaves the text where it is.
  text_->Invalidate();
  TestFrame::Paint(text_);
  EXPECT_EQ(text_->GetWordY(), y_down);
  Request(text_, QAbstractSlider::SliderSingleStepSub);
  EXPECT_EQ(text_->GetFocusWord(), focus);
  EXPECT_GT(text_->GetWordY(), y_down);
  // The bar itself never stepped on its own.
  EXPECT_EQ(text_->verticalScrollBar()->value(), focus);
}

TEST_F(ScrollingTest, PagesMoveByWholeRowsAndTheFocusFollowsWhenItLeaves) {
  Request(text_, QAbstractSlider::SliderToMinimum);
  int y = 0;
  const WordIndex top_before = text_->GetLayout()->GetTopWord(&y);
  Request(text_, QAbstractSlider::SliderPageStepAdd);
  const WordIndex focus = text_->GetFocusWord();
  EXPECT_GT(focus, 0);
  EXPECT_GT(text_->GetLayout()->GetTopWord(&y), top_before);
  EXPECT_EQ(text_->verticalScrollBar()->value(), focus);
  // The word that was at the top is now a whole page of rows above it.
  int old_y = 0;
  if (text_->GetLayout()->GetWordY(top_before, &old_y)) {
    EXPECT_LT(old_y, 0);
  }
  Request(text_, QAbstractSlider::SliderPageStepSub);
  EXPECT_EQ(text_->GetLayout()->GetTopWord(&y), top_before);
}

TEST_F(ScrollingTest, WheelStepsSmallerThanANotchAddUp) {
  Request(text_, QAbstractSlider::SliderToMinimum);
  int y = 0;
  const WordIndex top_before = text_->GetLayout()->GetTopWord(&y);
  const QPointF at(20, 20);
  auto turn = [&](int delta) {
    QWheelEvent wheel(at, text_->viewport()->mapToGlobal(at), QPoint(), QPoint(0, delta),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(text_->viewport(), &wheel);
    TestFrame::Paint(text_);
  };
  // A touchpad sends a notch (120) in quarters.
  for (int i = 0; i < 3; ++i) turn(-30);
  EXPECT_EQ(text_->GetLayout()->GetTopWord(&y), top_before);
  turn(-30);
  EXPECT_GT(text_->GetLayout()->GetTopWord(&y), top_before);
}

TEST_F(ScrollingTest, DraggingShowsThePopupAndReleasingGoesToTheVerse) {
  QScrollBar* bar = text_->verticalScrollBar();
  CScrollPopup* popup = text_->GetScrollPopup();
  ASSERT_NE(popup, nullptr);
  const WordIndex count = static_cast<WordIndex>(db_->GetWordCount());
  const WordIndex target = count - 3;
  const WordIndex focus = text_->GetFocusWord();

  bar->setSliderDown(true);
  bar->setSliderPosition(target);
  ASSERT_TRUE(popup->isVisible());
  // Dragging alone does not move the pane.
  EXPECT_EQ(text_->GetFocusWord(), focus);
  CBibleRef ref(db_, target);
  const QString expected = QStringLiteral(" ") + ToQString(ref.FormatLong());
  EXPECT_EQ(popup->GetText(), expected);

  // Sized to the text in the pane's reference font.
  CQtDevice device(popup);
  CFontFormat font(text_->GetMetrics().GetVerseFont(CViewMetrics::kRefFont));
  font.Attach(&device, 0);
  const Size extent = font.GetExtent(FromQString(expected));
  const QRect r = popup->GetClientRect();
  EXPECT_EQ(r.width(), extent.cx + 2 * font.GetXWidth());
  EXPECT_EQ(r.height(), extent.cy + 5);
  const QRect client = text_->viewport()->rect();
  EXPECT_EQ(r.left() + r.width(), client.width());
  EXPECT_EQ(r, CScrollPopup::Place(r.size(), client, target, count));
  EXPECT_EQ(popup->pos(), text_->viewport()->mapToGlobal(r.topLeft()));

  bar->setSliderDown(false);
  EXPECT_FALSE(popup->isVisible());
  EXPECT_EQ(text_->GetFocusWord(), ref.GetFirstWord());
  EXPECT_EQ(text_->GetWordY(), 0);
}

TEST_F(ScrollingTest, HitsPaneTopAndBottomGoToTheFirstAndLastHit) {
  CQueryThing& state = frame_.window()->GetQueryThing();
  state.SetHits({3, 17, 30, 44});
  CVornView* hits = frame_.hits();
  TestFrame::Paint(hits);
  Request(hits, QAbstractSlider::SliderToMaximum);
  EXPECT_EQ(hits->GetFocusWord(), 44);
  EXPECT_EQ(hits->verticalScrollBar()->value(), 3);
  Request(hits, QAbstractSlider::SliderToMinimum);
  EXPECT_EQ(hits->GetFocusWord(), 3);
  EXPECT_EQ(hits->verticalScrollBar()->value(), 0);

  // Dragging over the hits names the hit at the thumb.
  QScrollBar* bar = hits->verticalScrollBar();
  bar->setSliderDown(true);
  bar->setSliderPosition(2);
  EXPECT_EQ(hits->GetScrollPopup()->GetText(),
            QStringLiteral(" ") + ToQString(CBibleRef(db_, 30).FormatLong()));
  bar->setSliderDown(false);
  EXPECT_EQ(hits->GetFocusWord(), 30);
}

}  // namespace
}  // namespace vorn::shell
