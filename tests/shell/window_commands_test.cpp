// What the menus and keys of a document window offer: every command that
// is enabled does something, check marks follow the panes, and the keys
// that lead out of a pane reach the navigation bar.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>
#include <algorithm>
#include <vector>

#include "querystate/query_thing.h"
#include "shell/actions.h"
#include "shell/bcv.h"
#include "shell/child_frame.h"
#include "shell/main_frame.h"
#include "shell/nav_bar.h"
#include "shell/persistent_view_settings.h"
#include "shell/rich_query_box.h"
#include "shell/vorn_view.h"
#include "test_frame.h"
#include "textdb/test_db.h"
#include "textdb/vorn_db.h"

namespace vorn::shell {
namespace {

using testing::TestFrame;

class WindowCommandsTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(t_.ok()); }

  QAction* Action(int id) const { return t_.frame()->GetActions().Get(id); }
  bool Enabled(int id) const {
    t_.frame()->UpdateActions();
    return Action(id)->isEnabled();
  }

  TestFrame t_{vorn::testing::MakeGreekTestSource()};
};

TEST_F(WindowCommandsTest, CommandsNoOneCarriesOutAreDisabled) {
  // Hit analysis and its chart are carried out by the window, with or
  // without hits (no hits: the count 0 and an empty list).
  EXPECT_TRUE(Enabled(kCmdAnalyse));
  EXPECT_TRUE(Enabled(kCmdHitChart));
  // The window's own commands and those the frame carries out stay on.
  EXPECT_TRUE(Enabled(kCmdLineFonts));
  EXPECT_TRUE(Enabled(kCmdArrangeWindows));
  EXPECT_TRUE(Enabled(kCmdUserTags));
  EXPECT_TRUE(Enabled(kCmdScrollGroupNone));
}

TEST_F(WindowCommandsTest, GoToOriginIsOfferedOnlyAfterAQuery) {
  t_.text()->SetFocusWord(3, 0);
  EXPECT_FALSE(Enabled(kCmdGoOrigin));
  CQueryThing& state = t_.window()->GetQueryThing();
  state.RecordQueryOrigin();
  state.SetHits({10, 20, 30});
  EXPECT_EQ(t_.text()->GetFocusWord(), 10);
  ASSERT_TRUE(Enabled(kCmdGoOrigin));
  t_.frame()->Dispatch(kCmdNextMatch);
  EXPECT_EQ(t_.text()->GetFocusWord(), 20);
  t_.frame()->Dispatch(kCmdGoOrigin);
  EXPECT_EQ(t_.text()->GetFocusWord(), 3);
  EXPECT_EQ(t_.hits()->GetFocusWord(), 3);
  // Back in the history from the origin leads nowhere new; forward goes on
  // to the first hit the query showed.
  t_.frame()->Dispatch(kCmdGoForward);
  EXPECT_EQ(t_.text()->GetFocusWord(), 10);
}

TEST_F(WindowCommandsTest, TheSubWindowTitleFollowsTheGroupAndTheFocus) {
  QWidget* sub = t_.window()->parentWidget();
  ASSERT_NE(sub, nullptr);
  EXPECT_EQ(sub->windowTitle(), t_.window()->MakeTitle());
  t_.frame()->Dispatch(kCmdScrollGroupNone + 3);
  EXPECT_TRUE(sub->windowTitle().endsWith(QStringLiteral(" (C)")))
      << sub->windowTitle().toStdString();
  t_.text()->SetFocusWord(30, 0);
  EXPECT_EQ(sub->windowTitle(), t_.window()->MakeTitle());
  t_.frame()->Dispatch(kCmdScrollGroupNone);
  EXPECT_FALSE(sub->windowTitle().endsWith(QStringLiteral(")")));
}

TEST_F(WindowCommandsTest, InterlinearLineItemsAreCheckedWhileTheirLineShows) {
  CVornDB* db = t_.window()->GetDatabase();
  CViewMetrics& metrics = t_.text()->GetMetrics();
  const int gloss = db->GetGlossLineIndex();
  ASSERT_GE(gloss, 0);
  ASSERT_TRUE(metrics.IsLineVisible(gloss));
  const int glosses = kCmdLineFirst + 3;
  EXPECT_TRUE(Enabled(glosses));
  EXPECT_TRUE(Action(glosses)->isChecked());
  EXPECT_TRUE(Action(kCmdLineAltFirst + 3)->isChecked());

  t_.frame()->Dispatch(glosses);
  EXPECT_FALSE(metrics.IsLineVisible(gloss));
  t_.frame()->UpdateActions();
  EXPECT_FALSE(Action(glosses)->isChecked());
  t_.frame()->Dispatch(glosses);
  EXPECT_TRUE(metrics.IsLineVisible(gloss));

  // The test database has no line of Strong's numbers.
  EXPECT_FALSE(Enabled(kCmdLineFirst + 5));
}

TEST(InterlinearLineItems, EachOfSevenLinesHasItsOwnItemAndTheNotesStartHidden) {
  DBSource source = vorn::testing::MakeGreekTestSource();
  DBLine strong = source.lines[1];
  strong.name = "Strong";
  strong.query_prompt = u"Strong";
  strong.query_names.clear();
  source.lines.push_back(strong);
  TestFrame t(source);
  ASSERT_TRUE(t.ok());
  CVornDB* db = t.window()->GetDatabase();
  ASSERT_EQ(db->GetLineCount(), 7);
  CViewMetrics& metrics = t.text()->GetMetrics();
  // The notes repeat the Strong's number the number line shows: they wait
  // until the user asks for them.
  const int links = db->GetLinksLineIndex();
  ASSERT_GE(links, 0);
  EXPECT_FALSE(metrics.IsLineVisible(links));

  std::vector<int> switched;
  for (int id = kCmdLineFirst; id <= kCmdLineLast; ++id) {
    const std::vector<bool> before = metrics.GetLineVisibility();
    t.frame()->Dispatch(id);
    int changed = -1;
    for (int i = 0; i < db->GetLineCount(); ++i) {
      if (metrics.IsLineVisible(i) == before[static_cast<size_t>(i)]) continue;
      EXPECT_EQ(changed, -1) << "item " << id << " switched two lines";
      changed = i;
    }
    EXPECT_NE(changed, -1) << "item " << id << " switched nothing";
    switched.push_back(changed);
    t.frame()->Dispatch(id);  // and back
  }
  std::sort(switched.begin(), switched.end());
  EXPECT_EQ(switched, (std::vector<int>{0, 1, 2, 3, 4, 5, 6}));
  CPersistentViewSettings::Instance().Reset();
}

// Tab goes round picker, query box, prompts, text pane and hits pane; Shift+Tab goes back.
TEST_F(WindowCommandsTest, TabGoesRoundThePickerTheQueryBoxThePromptsAndThePanes) {
  t_.frame()->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(t_.frame()));
  const Cbcv* bcv = t_.frame()->GetNavBar()->GetBcv();
  const std::vector<QWidget*> order = {bcv->GetBookCombo(),
                                       bcv->GetChapterEdit(),
                                       bcv->GetVerseEdit(),
                                       t_.frame()->GetQueryBox(),
                                       t_.frame()->GetNavBar()->GetPromptCombo(),
                                       t_.text(),
                                       t_.hits()};
  t_.text()->setFocus();
  QApplication::processEvents();
  for (size_t k = 1; k <= order.size(); ++k) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), order[(5 + k) % order.size()]) << "Tab " << k;
  }
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, Qt::ShiftModifier);
  EXPECT_EQ(QApplication::focusWidget(), t_.frame()->GetNavBar()->GetPromptCombo());
}

TEST_F(WindowCommandsTest, TheQueryBoxKeepsItsOwnEditingKeys) {
  t_.frame()->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(t_.frame()));
  CQueryThing& state = t_.window()->GetQueryThing();
  state.SetHits({10, 20, 30});
  t_.hits()->GetMetrics().SelectWord(10, true);
  CRichQueryBox* box = t_.frame()->GetQueryBox();
  box->setFocus();
  QApplication::processEvents();
  box->setPlainText(QStringLiteral("t logos"));

  // Ctrl+A selects the box's text, not the hits; Delete edits the box and
  // leaves the hits alone.
  const std::vector<WordIndex> selected = t_.text()->GetMetrics().GetSelection();
  QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
  EXPECT_EQ(box->textCursor().selectedText(), QStringLiteral("t logos"));
  EXPECT_EQ(t_.text()->GetMetrics().GetSelection(), selected);
  box->SetSelection(0, 2);
  QTest::keyClick(box, Qt::Key_Delete);
  EXPECT_EQ(box->GetText(), u"logos");
  EXPECT_EQ(state.GetHitCount(), 3u);
}

}  // namespace
}  // namespace vorn::shell
