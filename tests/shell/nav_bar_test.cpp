#include "shell/nav_bar.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextCursor>
#include <QTextDocument>
#include <fstream>
#include <memory>
#include <string>

#include "querystate/query_thing.h"
#include "refs/bible_ref.h"
#include "shell/actions.h"
#include "shell/bcv.h"
#include "shell/child_frame.h"
#include "shell/main_frame.h"
#include "shell/qt_device.h"
#include "shell/rich_query_box.h"
#include "shell/vorn_view.h"
#include "textdb/test_db.h"

namespace vorn::shell {
namespace {

using vorn::testing::MakeGreekTestSource;
using vorn::testing::TestDatabase;

// A main frame over the small Greek database with its own settings file,
// one window open on that database.
class NavBarTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(greek_.ok()) << greek_.error();
    ASSERT_TRUE(settings_dir_.isValid());
    std::ofstream(greek_.data_folder() + "/Static Queries.txt")
        << "initial in a verse (position)\nt * within 2 words of t *\n";
    Start();
  }

  void Start() {
    MainFrameOptions options;
    options.data_folders = {greek_.data_folder()};
    options.settings_path = settings_dir_.filePath(QStringLiteral("Vorn.ini")).toStdString();
    options.quiet = true;
    frame_ = std::make_unique<CVornMainFrame>(options);
    frame_->show();
    window_ = frame_->OpenEntry(frame_->GetCatalogue().FindByName(u"TGNT"));
    ASSERT_NE(window_, nullptr);
    box_ = frame_->GetQueryBox();
  }

  // Types `text` into an emptied box and presses Enter there.
  void RunTyped(const QString& text) {
    box_->setPlainText(text);
    QTest::keyClick(box_, Qt::Key_Return);
  }

  WordIndex FirstWordOf(int book, int chapter, const char16_t* label) {
    return CBibleRef(window_->GetDatabase(), book, chapter, label).GetFirstWord();
  }

  TestDatabase greek_{MakeGreekTestSource()};
  QTemporaryDir settings_dir_;
  std::unique_ptr<CVornMainFrame> frame_;
  CVornChildFrame* window_ = nullptr;
  CRichQueryBox* box_ = nullptr;
};

TEST_F(NavBarTest, BarHoldsItsControlsAndTheExchangeSwitchesStayOff) {
  CNavBar* bar = frame_->GetNavBar();
  EXPECT_EQ(bar->objectName(), QStringLiteral("NavBar"));
  EXPECT_EQ(bar->windowTitle(), QStringLiteral("Navigation Bar"));
  for (int id : {kCmdGoBack, kCmdGoForward, kCmdFind, kCmdPreviousMatch, kCmdNextMatch,
                 kCmdReceiveRefs, kCmdSendRefs}) {
    EXPECT_TRUE(bar->actions().contains(frame_->GetActions().Get(id))) << id;
  }
  EXPECT_EQ(frame_->GetActions().Get(kCmdReceiveRefs)->iconText(), QStringLiteral("Receive"));
  EXPECT_FALSE(frame_->GetActions().Get(kCmdReceiveRefs)->isEnabled());
  EXPECT_FALSE(frame_->GetActions().Get(kCmdSendRefs)->isEnabled());
}

TEST_F(NavBarTest, EnterInTheBoxRunsTheQueryIntoTheHitsPane) {
  RunTyped(QStringLiteral("t logos"));
  const size_t hits = window_->GetQueryThing().GetHitCount();
  EXPECT_GT(hits, 0u);
  // The window stands at the first hit.
  EXPECT_EQ(frame_->statusBar()->currentMessage(), QStringLiteral("Match 1 of %1").arg(hits));
  EXPECT_EQ(box_->GetText(), u"t logos");  // the box never saw the Enter
  EXPECT_EQ(window_->GetHitsPane()->GetFocusWord(),
            static_cast<WordIndex>(window_->GetQueryThing().GetHits().front()));

  // Find runs the box's text too.
  box_->setPlainText(QStringLiteral("t theos"));
  frame_->Dispatch(kCmdFind);
  EXPECT_NE(window_->GetQueryThing().GetHitCount(), hits);
  EXPECT_EQ(frame_->GetNavBar()->GetQueryTool().GetQueryList().GetEntries().size(), 2u);
}

TEST_F(NavBarTest, AnErrorSelectsTheBoxsTextFromTheErrorOnAndKeepsTheHits) {
  RunTyped(QStringLiteral("t logos"));
  const size_t hits = window_->GetQueryThing().GetHitCount();
  RunTyped(QStringLiteral("t logos within frobnicate"));
  int32_t start = -1, end = -1;
  box_->GetSelection(&start, &end);
  EXPECT_GT(start, 0);
  EXPECT_EQ(end, 25);
  EXPECT_EQ(box_->textCursor().selectedText(),
            QStringLiteral("t logos within frobnicate").mid(start));
  EXPECT_EQ(window_->GetQueryThing().GetHitCount(), hits);
  EXPECT_EQ(frame_->GetNavBar()->GetQueryTool().GetQueryList().GetEntries().size(), 1u);
}

TEST_F(NavBarTest, UpAndDownWalkThePastQueriesAndAnEditedTextComesBackFirst) {
  QAction* previous = frame_->GetActions().Get(kCmdPreviousQuery);
  QAction* next = frame_->GetActions().Get(kCmdNextQuery);
  RunTyped(QStringLiteral("t logos"));
  EXPECT_FALSE(previous->isEnabled());
  RunTyped(QStringLiteral("t theos"));
  EXPECT_TRUE(previous->isEnabled());
  EXPECT_FALSE(next->isEnabled());

  QTest::keyClick(box_, Qt::Key_Up);
  EXPECT_EQ(box_->GetText(), u"t logos");
  EXPECT_TRUE(next->isEnabled());
  QTest::keyClick(box_, Qt::Key_Down);
  EXPECT_EQ(box_->GetText(), u"t theos");

  // The first Up after an edit restores the current entry, the next moves.
  QTest::keyClicks(box_, QStringLiteral(" union"));
  EXPECT_EQ(box_->GetText(), u"t theos union");
  QTest::keyClick(box_, Qt::Key_Up);
  EXPECT_EQ(box_->GetText(), u"t theos");
  QTest::keyClick(box_, Qt::Key_Up);
  EXPECT_EQ(box_->GetText(), u"t logos");
  // The menu command walks the same list.
  next->trigger();
  EXPECT_EQ(box_->GetText(), u"t theos");
}

TEST_F(NavBarTest, CtrlQInsertsThePromptsSelectedAndTheComboFollows) {
  // The word prompts are the focus word's; the static prompts follow them.
  window_->GetTextPane()->SetFocusWord(FirstWordOf(3, 1, u"1") + 4, 0);
  CQueryTool& tool = frame_->GetNavBar()->GetQueryTool();
  const size_t word_prompts = tool.GetWordPrompts().GetCount();
  ASSERT_GT(word_prompts, 0u);
  ASSERT_EQ(tool.GetStaticPrompts().GetCount(), 2u);
  QComboBox* combo = frame_->GetNavBar()->GetPromptCombo();
  ASSERT_EQ(combo->count(), static_cast<int>(word_prompts + 2));

  box_->clear();
  QTest::keyClick(box_, Qt::Key_Q, Qt::ControlModifier);
  const CQueryPrompt* first = tool.GetPrompt(0);
  const std::u16string expected = first->GetInsertText() + u" " + first->GetValue() + u" ";
  EXPECT_EQ(box_->GetText(), expected);
  int32_t start = -1, end = -1;
  box_->GetSelection(&start, &end);
  EXPECT_EQ(start, 0);
  EXPECT_EQ(end, static_cast<int32_t>(expected.size()));
  EXPECT_EQ(combo->currentIndex(), 0);

  // Backwards from the first wraps to the last, a static prompt whose
  // comment in parentheses stays out of the box.
  QTest::keyClick(box_, Qt::Key_Q, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(box_->GetText(), u"t * within 2 words of t * ");
  EXPECT_EQ(combo->currentIndex(), combo->count() - 1);

  // Choosing from the combo inserts at the caret, selected.
  box_->setPlainText(QStringLiteral("t logos"));
  box_->SetSelection(7, 7);
  const int position = static_cast<int>(word_prompts);
  combo->setCurrentIndex(position);
  emit combo->activated(position);
  EXPECT_EQ(box_->GetText(), u"t logos initial in a verse ");
  EXPECT_EQ(box_->textCursor().selectedText(), QStringLiteral(" initial in a verse "));
}

TEST_F(NavBarTest, ANewWindowOffersTheWordPromptsOfItsFirstWord) {
  EXPECT_EQ(window_->GetQueryThing().GetCurrentWordIndex(), window_->GetTextPane()->GetFocusWord());
  EXPECT_GT(frame_->GetNavBar()->GetQueryTool().GetWordPrompts().GetCount(), 0u);
}

TEST_F(NavBarTest, PastQueriesSurviveTheProgramThroughTheSettings) {
  RunTyped(QStringLiteral("g λόγος"));
  RunTyped(QStringLiteral("t theos"));
  frame_.reset();
  Start();
  const CQueryList& list = frame_->GetNavBar()->GetQueryTool().GetQueryList();
  ASSERT_EQ(list.GetEntries().size(), 2u);
  // Each search word is kept with the face of its line.
  EXPECT_EQ(list.GetEntries()[0], u"g <Gentium Plus>λόγος</Gentium Plus>");
  EXPECT_EQ(box_->GetText(), u"t theos");
  QTest::keyClick(box_, Qt::Key_Up);
  EXPECT_EQ(box_->GetText(), u"g λόγος");
  QTextCursor cursor(box_->document());
  cursor.setPosition(4);
  EXPECT_EQ(cursor.charFormat().font().family(), QStringLiteral("Gentium Plus"));
  cursor.setPosition(1);
  EXPECT_EQ(cursor.charFormat().font().family(), QStringLiteral("Arial"));
}

TEST_F(NavBarTest, PickerFollowsTheFocusAndMovesTheWindow) {
  Cbcv* bcv = frame_->GetNavBar()->GetBcv();
  window_->GetTextPane()->SetFocusWord(FirstWordOf(3, 1, u"2") + 1, 0);
  EXPECT_EQ(bcv->GetCurrentRef().GetKeyString(), u"JHN 1:2");
  EXPECT_EQ(bcv->GetVerseEdit()->text(), QStringLiteral("2"));

  bcv->GetBookCombo()->setCurrentIndex(1);
  bcv->GetChapterEdit()->setText(QStringLiteral("1"));
  bcv->GetVerseEdit()->setText(QStringLiteral("3"));
  QTest::keyClick(bcv->GetVerseEdit(), Qt::Key_Return);
  EXPECT_EQ(window_->GetFocusWord(), FirstWordOf(2, 1, u"3"));
  EXPECT_EQ(bcv->GetCurrentRef().GetKeyString(), u"MRK 1:3");
}

}  // namespace
}  // namespace vorn::shell
