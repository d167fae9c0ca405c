#include <gtest/gtest.h>

#include <QAction>
#include <QImage>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTest>

#include "metrics/details_metrics.h"
#include "metrics/view_metrics.h"
#include "shell/actions.h"
#include "shell/qt_device.h"
#include "shell/word_details_bar.h"
#include "shell/word_tip.h"
#include "test_frame.h"
#include "textdb/vorn_db.h"
#include "wordinfo/word.h"

namespace vorn::shell {
namespace {

using testing::TestFrame;

int DarkPixels(QWidget* widget) {
  const QImage image = widget->grab().toImage();
  int dark = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) dark += qGray(image.pixel(x, y)) < 160;
  return dark;
}

class WordDetailsTest : public ::testing::Test {
 protected:
  WordDetailsTest() : frame_(vorn::testing::MakeGreekTestSource()) {}
  void SetUp() override { ASSERT_TRUE(frame_.ok()); }

  CWordDetailsBar* bar() const { return frame_.frame()->GetWordBar(); }
  CWordDetailsView* view() const { return bar()->GetView(); }

  TestFrame frame_;
};

TEST_F(WordDetailsTest, BarIsTheDockableWordAnalysisBar) {
  ASSERT_NE(bar(), nullptr);
  EXPECT_EQ(bar()->windowTitle(), QStringLiteral("Word Analysis"));
  EXPECT_EQ(bar()->objectName(), QStringLiteral("WordBar"));
  EXPECT_EQ(bar()->allowedAreas(), Qt::AllDockWidgetAreas);
  EXPECT_EQ(view()->windowTitle(), QStringLiteral("Data View"));
  EXPECT_EQ(view()->sizeHint(), QSize(300, 100));
  EXPECT_TRUE(bar()->isVisible());

  QAction* toggle = frame_.frame()->GetActions().Get(kCmdWordBar);
  frame_.frame()->Dispatch(kCmdWordBar);
  EXPECT_FALSE(bar()->isVisible());
  EXPECT_FALSE(toggle->isChecked());
  frame_.frame()->Dispatch(kCmdWordBar);
  EXPECT_TRUE(bar()->isVisible());
  EXPECT_TRUE(toggle->isChecked());
}

TEST_F(WordDetailsTest, FollowsTheActivePanesFocusWord) {
  CVornView* text = frame_.text();
  text->SetFocusWord(7, 0);
  EXPECT_EQ(view()->GetWord(), 7);
  text->SetFocusWord(12, 0);
  EXPECT_EQ(view()->GetWord(), 12);
  // Another window becoming active brings its own word.
  frame_.window()->GetHitsPane()->setFocus();
  frame_.frame()->WindowActivated(frame_.window());
  EXPECT_EQ(view()->GetWord(), frame_.window()->GetFocusWord());
}

TEST_F(WordDetailsTest, DrawsTheWordAndNothingWithoutOne) {
  CVornView* text = frame_.text();
  view()->ShowWord(text, 4);
  QApplication::processEvents();
  const Size extent = view()->GetExtent();
  EXPECT_GT(extent.cx, 0);
  EXPECT_GT(extent.cy, 0);
  EXPECT_GT(DarkPixels(view()->viewport()), 20);

  // The extent is what the word's details measure with the pane's fonts.
  CQtDevice device(view()->viewport());
  CDetailsMetrics details(text->GetMetrics());
  details.Attach(&device);
  details.SetDrawing(false);
  CWord word(text->GetMetrics().GetDatabase(), 4);
  EXPECT_EQ(word.DrawDetails(details), extent);

  view()->ShowWord(text, -1);
  QApplication::processEvents();
  EXPECT_EQ(view()->GetExtent(), (Size{0, 0}));
  EXPECT_EQ(DarkPixels(view()->viewport()), 0);
  view()->ShowWord(nullptr, 4);
  EXPECT_EQ(view()->GetWord(), -1);
}

TEST_F(WordDetailsTest, ScrollExtentFollowsTheDrawingAndThePanesFonts) {
  CVornView* text = frame_.text();
  bar()->setFloating(true);
  bar()->resize(60, 40);
  view()->ShowWord(text, 4);
  QApplication::processEvents();
  const Size extent = view()->GetExtent();
  const QSize area = view()->viewport()->size();
  ASSERT_GT(extent.cx, area.width());
  EXPECT_EQ(view()->horizontalScrollBar()->maximum(), extent.cx - area.width());
  EXPECT_EQ(view()->verticalScrollBar()->maximum(), std::max(0, extent.cy - area.height()));

  // Larger fonts in the pane make a larger drawing.
  frame_.frame()->Dispatch(kCmdMagnifyLast);
  EXPECT_GT(view()->GetExtent().cx, extent.cx);
  EXPECT_GT(view()->GetExtent().cy, extent.cy);
}

TEST_F(WordDetailsTest, ShowsNothingOnceItsPaneIsGone) {
  view()->ShowWord(frame_.text(), 3);
  EXPECT_EQ(view()->GetWord(), 3);
  frame_.frame()->Dispatch(kCmdCloseAll);
  QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(view()->GetWord(), -1);
  EXPECT_EQ(view()->GetExtent(), (Size{0, 0}));
}

class WordTipTest : public WordDetailsTest {
 protected:
  void SetUp() override {
    WordDetailsTest::SetUp();
    pane_ = frame_.text();
    tip_ = pane_->GetWordTip();
    ASSERT_NE(tip_, nullptr);
    word_ = TestFrame::FindShownWord(pane_, &box_);
    ASSERT_GE(word_, 0);
  }

  CVornView* pane_ = nullptr;
  CWordTip* tip_ = nullptr;
  WordIndex word_ = -1;
  QRect box_;
};

TEST_F(WordTipTest, ShowsAtOnceUnderTheWordAndHidesAfterTheShowTime) {
  EXPECT_FALSE(tip_->isVisible());
  EXPECT_EQ(tip_->GetDelay(), 0);
  EXPECT_EQ(tip_->GetShowTime(), 5);
  tip_->SetShowTime(1);
  tip_->SetWord(word_, box_);
  EXPECT_TRUE(tip_->isVisible());
  EXPECT_EQ(tip_->GetWord(), word_);
  const QRect r = tip_->GetTipRect();
  EXPECT_FALSE(r.isEmpty());
  EXPECT_EQ(r.top(), box_.bottom() + 1);
  // Centred under the box, unless that would leave the pane.
  const QRect area = pane_->viewport()->rect();
  const Rect placed = PlaceWordTip({r.width(), r.height()},
                                   {box_.left(), box_.top(), box_.right() + 1, box_.bottom() + 1},
                                   {0, 0, area.width(), area.height()});
  EXPECT_EQ(r, QRect(placed.left, placed.top, placed.Width(), placed.Height()));
  EXPECT_EQ(tip_->pos(), pane_->viewport()->mapToGlobal(r.topLeft()));
  EXPECT_TRUE(QTest::qWaitFor([this] { return !tip_->isVisible(); }, 5000));

  // Resting on the same word does not bring it back; coming back to it after
  // the pointer left does.
  tip_->SetWord(word_, box_);
  EXPECT_FALSE(tip_->isVisible());
  EXPECT_FALSE(tip_->IsTimerActive());
  tip_->SetWord(-1, QRect());
  tip_->SetWord(word_, box_);
  EXPECT_TRUE(tip_->isVisible());
}

TEST_F(WordTipTest, WaitsForTheDelayAndNoWordCancels) {
  tip_->SetDelay(50);
  tip_->SetWord(word_, box_);
  EXPECT_FALSE(tip_->isVisible());
  EXPECT_TRUE(tip_->IsTimerActive());
  EXPECT_TRUE(QTest::qWaitFor([this] { return tip_->isVisible(); }, 5000));

  tip_->SetWord(-1, QRect());
  EXPECT_FALSE(tip_->isVisible());
  EXPECT_FALSE(tip_->IsTimerActive());
  EXPECT_EQ(tip_->GetWord(), -1);

  // Moving on before the delay ends restarts it for the new word.
  tip_->SetDelay(200);
  tip_->SetWord(word_, box_);
  tip_->SetWord(word_ + 1, box_.translated(box_.width(), 0));
  EXPECT_FALSE(tip_->isVisible());
  EXPECT_EQ(tip_->GetWord(), word_ + 1);
  EXPECT_TRUE(QTest::qWaitFor([this] { return tip_->isVisible(); }, 5000));
}

TEST_F(WordTipTest, TipAtTheRightEdgeIsMovedInside) {
  const QSize area = pane_->viewport()->size();
  const QRect box(area.width() - 12, 20, 12, 18);
  tip_->SetWord(word_, box);
  const QRect r = tip_->GetTipRect();
  ASSERT_FALSE(r.isEmpty());
  EXPECT_EQ(r.left() + r.width(), area.width());
  EXPECT_EQ(r.top(), 38);
  // And at the bottom it goes up as far as it sticks out.
  tip_->SetWord(-1, QRect());
  tip_->SetWord(word_, QRect(10, area.height() - 5, 20, 5));
  EXPECT_EQ(tip_->GetTipRect().top() + tip_->GetTipRect().height(), area.height());
}

TEST_F(WordTipTest, PointerOverAWordFeedsTheTipWhileTipsAreOn) {
  auto move_to = [this](QPoint p) {
    QMouseEvent move(QEvent::MouseMove, QPointF(p), pane_->viewport()->mapToGlobal(QPointF(p)),
                     Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(pane_->viewport(), &move);
  };
  CVornChildFrame* window = frame_.window();
  bool enabled = false;
  bool checked = false;
  ASSERT_TRUE(window->UpdateCommand(kCmdWordTips, &enabled, &checked));
  EXPECT_TRUE(enabled);
  EXPECT_TRUE(checked);

  move_to(box_.center());
  EXPECT_EQ(tip_->GetWord(), word_);
  EXPECT_TRUE(tip_->isVisible());
  QEvent leave(QEvent::Leave);
  QApplication::sendEvent(pane_->viewport(), &leave);
  EXPECT_FALSE(tip_->isVisible());

  frame_.frame()->Dispatch(kCmdWordTips);
  EXPECT_FALSE(pane_->GetShowTips());
  window->UpdateCommand(kCmdWordTips, &enabled, &checked);
  EXPECT_FALSE(checked);
  EXPECT_FALSE(frame_.frame()->GetActions().Get(kCmdWordTips)->isChecked());
  move_to(box_.center());
  EXPECT_EQ(tip_->GetWord(), -1);
  EXPECT_FALSE(tip_->isVisible());

  frame_.frame()->Dispatch(kCmdWordTips);
  EXPECT_TRUE(pane_->GetShowTips());
  EXPECT_TRUE(frame_.frame()->GetActions().Get(kCmdWordTips)->isChecked());
  move_to(box_.center());
  EXPECT_TRUE(tip_->isVisible());
}

TEST(WordTipEmpty, WordWithEverythingShownAndNothingElseGetsNoTip) {
  // A database without a Tag line and without links.
  DBSource source = vorn::testing::MakeHebrewTestSource();
  source.lines.erase(source.lines.begin() + 2);
  TestFrame frame(source);
  ASSERT_TRUE(frame.ok());
  CVornView* pane = frame.text();
  QRect box;
  const WordIndex word = TestFrame::FindShownWord(pane, &box);
  ASSERT_GE(word, 0);
  CWordTip* tip = pane->GetWordTip();
  tip->SetWord(word, box);
  EXPECT_FALSE(tip->isVisible());
  EXPECT_FALSE(tip->IsTimerActive());
  EXPECT_TRUE(tip->GetTipRect().isEmpty());

  // With the gloss hidden in the pane, the tip has something to show.
  CVornDB* db = pane->GetMetrics().GetDatabase();
  pane->GetMetrics().SetLineVisible(db->GetGlossLineIndex(), false);
  tip->SetWord(-1, QRect());
  tip->SetWord(word, box);
  EXPECT_TRUE(tip->isVisible());
}

}  // namespace
}  // namespace vorn::shell
