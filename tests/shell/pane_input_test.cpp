// Keys, clicks and selection in the panes of a document window, on the real
// Greek NT and Hebrew OT.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QSplitter>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "layout/layout.h"
#include "layout/layout_box.h"
#include "querystate/query_thing.h"
#include "querystate/query_tool.h"
#include "real_data.h"
#include "refs/bible_ref.h"
#include "shell/actions.h"
#include "shell/app.h"
#include "shell/child_frame.h"
#include "shell/main_frame.h"
#include "shell/qt_device.h"
#include "shell/rich_query_box.h"
#include "shell/vorn_view.h"
#include "shell/word_details_bar.h"
#include "textdb/catalogue.h"
#include "textdb/tags_line.h"
#include "textdb/vorn_db.h"

namespace vorn::shell {
namespace {

class PaneInputTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (testing::RealDataFolder("GNT").empty()) GTEST_SKIP() << "no databases built";
    // Settings and the start-up desktop live in a folder of the test's own.
    ASSERT_TRUE(settings_.isValid());
    MainFrameOptions options;
    options.quiet = true;
    options.settings_path = settings_.filePath(QStringLiteral("Vorn.ini")).toStdString();
    options.desktop_path = settings_.filePath(QStringLiteral("StartUp.vdt")).toStdString();
    frame_ = StartMainFrame(options, false);
    frame_->resize(1280, 900);
    frame_->show();
    QApplication::processEvents();
    for (CVornChildFrame* w : frame_->Windows()) {
      const std::u16string title = w->GetDatabase()->GetTitle();
      if (title.find(u"Greek") != std::u16string::npos) greek_ = w;
      if (title.find(u"Hebrew") != std::u16string::npos) hebrew_ = w;
    }
    if (!greek_ || !hebrew_) GTEST_SKIP() << "the Greek NT and Hebrew OT did not both open";
  }

  static WordIndex FirstWord(CVornChildFrame* w, const char16_t* book, int chapter, int verse) {
    CBibleRef here(CBibleRef(book, chapter, verse), w->GetDatabase());
    return here.GetFirstWord();
  }

  // Lays the pane out and finds a point inside every word it shows.
  static std::map<WordIndex, QPoint> WordPoints(CVornView* pane) {
    pane->viewport()->grab();  // paints, which lays out
    std::map<WordIndex, QPoint> points;
    for (int y = 2; y < pane->viewport()->height(); y += 4) {
      for (int x = 2; x < pane->viewport()->width(); x += 4) {
        if (CLayoutBox* box = pane->GetLayout()->HitTest(x, y, nullptr, nullptr)) {
          points.emplace(box->GetWordIndex(), QPoint(x, y));
        }
      }
    }
    return points;
  }

  static void Click(CVornView* pane, QPoint at, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QMouseEvent press(QEvent::MouseButtonPress, at, pane->viewport()->mapToGlobal(at),
                      Qt::LeftButton, Qt::LeftButton, mods);
    QApplication::sendEvent(pane->viewport(), &press);
    QMouseEvent release(QEvent::MouseButtonRelease, at, pane->viewport()->mapToGlobal(at),
                        Qt::LeftButton, Qt::NoButton, mods);
    QApplication::sendEvent(pane->viewport(), &release);
  }

  static void Key(CVornView* pane, int key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QKeyEvent press(QEvent::KeyPress, key, mods);
    QApplication::sendEvent(pane, &press);
    QKeyEvent release(QEvent::KeyRelease, key, mods);
    QApplication::sendEvent(pane, &release);
  }

  QTemporaryDir settings_;
  std::unique_ptr<CVornMainFrame> frame_;
  CVornChildFrame* greek_ = nullptr;
  CVornChildFrame* hebrew_ = nullptr;
};

TEST_F(PaneInputTest, ClicksSelectWordsAndMoveTheFocus) {
  CVornView* pane = greek_->GetTextPane();
  greek_->GoTo(CBibleRef(u"JHN", 1, 1));
  const WordIndex first = FirstWord(greek_, u"JHN", 1, 1);
  auto points = WordPoints(pane);
  ASSERT_TRUE(points.count(first) && points.count(first + 2) && points.count(first + 4));

  Click(pane, points[first + 2]);
  EXPECT_EQ(pane->GetMetrics().GetSelection(), std::vector<WordIndex>{first + 2});
  EXPECT_EQ(pane->GetFocusWord(), first + 2);
  // Ctrl adds and removes single words; each becomes the anchor.
  Click(pane, points[first + 4], Qt::ControlModifier);
  EXPECT_EQ(pane->GetMetrics().GetSelection(), (std::vector<WordIndex>{first + 2, first + 4}));
  Click(pane, points[first + 2], Qt::ControlModifier);
  EXPECT_EQ(pane->GetMetrics().GetSelection(), std::vector<WordIndex>{first + 4});
  // Shift selects from the anchor (the last Ctrl click, even one that
  // removed its word) to the word.
  Click(pane, points[first], Qt::ShiftModifier);
  EXPECT_EQ(pane->GetMetrics().GetSelection(),
            (std::vector<WordIndex>{first, first + 1, first + 2}));
  EXPECT_EQ(pane->GetFocusWord(), first);
  // The title follows the focus.
  EXPECT_EQ(FromQString(greek_->MakeTitle()),
            greek_->GetDatabase()->GetTitle() + u" - John 1:1 (A)");
}

TEST_F(PaneInputTest, KeysWalkWordsVersesChaptersAndBooks) {
  CVornView* pane = greek_->GetTextPane();
  greek_->GoTo(CBibleRef(u"JHN", 1, 1));
  const WordIndex j11 = FirstWord(greek_, u"JHN", 1, 1);
  ASSERT_EQ(pane->GetFocusWord(), j11);
  Key(pane, Qt::Key_Right);
  EXPECT_EQ(pane->GetFocusWord(), j11 + 1);
  Key(pane, Qt::Key_Up, Qt::ControlModifier);  // inside a verse: to its start
  EXPECT_EQ(pane->GetFocusWord(), j11);
  Key(pane, Qt::Key_Down, Qt::ControlModifier);
  EXPECT_EQ(pane->GetFocusWord(), FirstWord(greek_, u"JHN", 1, 2));
  Key(pane, Qt::Key_PageDown, Qt::ControlModifier);
  EXPECT_EQ(pane->GetFocusWord(), FirstWord(greek_, u"JHN", 2, 1));
  EXPECT_EQ(FromQString(greek_->MakeTitle()),
            greek_->GetDatabase()->GetTitle() + u" - John 2:1 (A)");
  Key(pane, Qt::Key_Home, Qt::ControlModifier);
  EXPECT_EQ(pane->GetFocusWord(), j11);
  Key(pane, Qt::Key_Home, Qt::ControlModifier);  // at the book's start: the book before
  EXPECT_EQ(pane->GetFocusWord(), FirstWord(greek_, u"LUK", 1, 1));
  // Shift extends the selection from the anchor.
  Click(pane, WordPoints(pane)[pane->GetFocusWord()]);
  Key(pane, Qt::Key_Right, Qt::ShiftModifier);
  Key(pane, Qt::Key_Right, Qt::ShiftModifier);
  const WordIndex l11 = FirstWord(greek_, u"LUK", 1, 1);
  EXPECT_EQ(pane->GetMetrics().GetSelection(), (std::vector<WordIndex>{l11, l11 + 1, l11 + 2}));
}

TEST_F(PaneInputTest, RightToLeftSwapsTheArrowKeys) {
  CVornView* pane = hebrew_->GetTextPane();
  ASSERT_TRUE(pane->GetMetrics().IsRightToLeft());
  hebrew_->GoTo(CBibleRef(u"GEN", 1, 2));
  const WordIndex g12 = FirstWord(hebrew_, u"GEN", 1, 2);
  Key(pane, Qt::Key_Left);  // reads on, leftwards
  EXPECT_EQ(pane->GetFocusWord(), g12 + 1);
  Key(pane, Qt::Key_Right);
  EXPECT_EQ(pane->GetFocusWord(), g12);
}

TEST_F(PaneInputTest, HitsPaneKeysWalkHits) {
  const std::vector<uint32_t> hits = {
      uint32_t(FirstWord(greek_, u"JHN", 1, 1)), uint32_t(FirstWord(greek_, u"JHN", 1, 3)),
      uint32_t(FirstWord(greek_, u"JHN", 3, 16)), uint32_t(FirstWord(greek_, u"ACT", 2, 1))};
  greek_->GetQueryThing().SetHits(hits);
  CVornView* pane = greek_->GetHitsPane();
  pane->viewport()->grab();
  EXPECT_EQ(pane->GetFocusWord(), WordIndex(hits[0]));
  Key(pane, Qt::Key_End);
  EXPECT_EQ(pane->GetFocusWord(), WordIndex(hits[3]));
  Key(pane, Qt::Key_End, Qt::ControlModifier);  // already the book's last hit
  EXPECT_EQ(pane->GetFocusWord(), WordIndex(hits[3]));
  Key(pane, Qt::Key_Home, Qt::ControlModifier);  // the book before: John's first hit
  EXPECT_EQ(pane->GetFocusWord(), WordIndex(hits[0]));
  Key(pane, Qt::Key_PageDown, Qt::ControlModifier);
  EXPECT_EQ(pane->GetFocusWord(), WordIndex(hits[2]));
  Key(pane, Qt::Key_Up, Qt::ControlModifier);
  EXPECT_EQ(pane->GetFocusWord(), WordIndex(hits[1]));
  Key(pane, Qt::Key_Home);
  EXPECT_EQ(pane->GetFocusWord(), WordIndex(hits[0]));
}

}  // namespace
}  // namespace vorn::shell

namespace vorn::shell {
namespace {

// What a new user does first: a query from the box, Next Match through its
// hits, the word details following the caret.
TEST_F(PaneInputTest, QueryFromTheBoxListsHitsAndNextMatchWalksThemWithTheDetails) {
  // A Greek NT compiled without the MorphGNT corpus has no base forms.
  if (!greek_->GetDatabase()->FindLineByQueryName(u"base")) GTEST_SKIP() << "no base-form line";
  frame_->GetMdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(greek_->parentWidget()));
  CRichQueryBox* box = frame_->GetQueryBox();
  box->setPlainText(QStringLiteral("base λόγος within the same verse as base θεός"));
  QTest::keyClick(box, Qt::Key_Return);
  const std::vector<uint32_t> hits = greek_->GetQueryThing().GetHits();
  ASSERT_EQ(hits.size(), 74u);  // the count a scan of the corpus gives
  EXPECT_EQ(greek_->GetHitsPane()->GetFocusWord(), WordIndex(hits[0]));
  EXPECT_EQ(greek_->GetTextPane()->GetFocusWord(), WordIndex(hits[0]));
  // The hits pane got room after the query.
  const QList<int> sizes = greek_->GetSplitter()->sizes();
  EXPECT_GE(sizes[1] * 5, sizes[0]);

  greek_->GetTextPane()->setFocus();
  greek_->PaneActivated(greek_->GetTextPane());
  for (size_t k = 1; k <= 3; ++k) {
    frame_->Dispatch(kCmdNextMatch);
    const WordIndex focus = greek_->GetTextPane()->GetFocusWord();
    EXPECT_EQ(focus, WordIndex(hits[k]));
    // The details show the word at the caret, its tag decoded into words.
    EXPECT_EQ(frame_->GetWordBar()->GetView()->GetWord(), focus);
    CVornDB* db = greek_->GetDatabase();
    const auto* tags = dynamic_cast<const CVornDBTagsLine*>(db->GetLine(db->GetTagLineIndex()));
    ASSERT_NE(tags, nullptr);
    const std::u16string tag = GetLineValue(tags, focus);
    EXPECT_FALSE(tag.empty());
    EXPECT_NE(tags->DescribeTag(tag), tag);
  }
  CBibleRef here(greek_->GetDatabase(), WordIndex(hits[3]));
  EXPECT_EQ(FromQString(greek_->MakeTitle()),
            greek_->GetDatabase()->GetTitle() + u" - " + here.FormatLong() + u" (A)");
}

}  // namespace
}  // namespace vorn::shell

namespace vorn::shell {
namespace {

// Where the pane shows `word`: the top of its line, or -1 when it does not show it whole.
int ShownRowTop(CVornView* pane, WordIndex word) {
  pane->viewport()->grab();
  int y = -1;
  if (!pane->GetLayout()->GetWordY(word, &y)) return -1;
  return pane->GetMetrics().IsRowVisible(y) ? y : -1;
}

// The caret is the highlight the reader follows: every move, by key or click, carries it along
// and keeps its word in view.
TEST_F(PaneInputTest, TheCaretIsDrawnAndKeptInViewAfterEveryMove) {
  CVornView* pane = greek_->GetTextPane();
  greek_->GoTo(CBibleRef(u"JHN", 1, 1));
  const WordIndex first = FirstWord(greek_, u"JHN", 1, 1);
  Click(pane, WordPoints(pane)[first + 1]);
  const std::pair<int, Qt::KeyboardModifiers> keys[] = {{Qt::Key_Right, Qt::NoModifier},
                                                        {Qt::Key_Down, Qt::NoModifier},
                                                        {Qt::Key_Left, Qt::NoModifier},
                                                        {Qt::Key_Down, Qt::ControlModifier}};
  for (int round = 0; round < 12; ++round) {
    for (const auto& [key, mods] : keys) {
      Key(pane, key, mods);
      const WordIndex focus = pane->GetFocusWord();
      ASSERT_EQ(pane->GetMetrics().GetSelection(), std::vector<WordIndex>{focus})
          << "key " << key << " in round " << round;
      ASSERT_GE(ShownRowTop(pane, focus), 0) << "key " << key << " in round " << round;
      // The hits pane's copy of the caret follows.
      ASSERT_EQ(greek_->GetHitsPane()->GetMetrics().GetSelection(), std::vector<WordIndex>{focus});
    }
  }
  // Twelve rounds of Ctrl+Down went well past the first screen.
  EXPECT_GE(pane->GetFocusWord(), FirstWord(greek_, u"JHN", 1, 12));
}

TEST_F(PaneInputTest, TheFirstHitIsMarkedAndShownBelowThePaneTopAfterAQuery) {
  if (!greek_->GetDatabase()->FindLineByQueryName(u"base")) GTEST_SKIP() << "no base-form line";
  frame_->GetMdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(greek_->parentWidget()));
  greek_->GoTo(CBibleRef(u"MAT", 1, 1));
  CRichQueryBox* box = frame_->GetQueryBox();
  box->setPlainText(QStringLiteral("base λόγος within the same verse as base θεός"));
  QTest::keyClick(box, Qt::Key_Return);
  const std::vector<uint32_t> hits = greek_->GetQueryThing().GetHits();
  ASSERT_FALSE(hits.empty());
  const WordIndex hit = WordIndex(hits[0]);
  for (CVornView* pane : {greek_->GetTextPane(), greek_->GetHitsPane()})
    EXPECT_EQ(pane->GetMetrics().GetSelection(), std::vector<WordIndex>{hit});
  // In view with the lines before it: not at the very top of the text pane.
  EXPECT_GT(ShownRowTop(greek_->GetTextPane(), hit), 0);
  // Next Match moves the mark on, every time.
  for (size_t k = 1; k < 4; ++k) {
    frame_->Dispatch(kCmdNextMatch);
    EXPECT_EQ(greek_->GetTextPane()->GetMetrics().GetSelection(),
              std::vector<WordIndex>{WordIndex(hits[k])});
    EXPECT_GE(ShownRowTop(greek_->GetTextPane(), WordIndex(hits[k])), 0);
  }
}

// The query box, the count and the hits belong to a window: switching shows the other window's,
// and a desktop brings each window's query and hits back.
TEST_F(PaneInputTest, EachWindowKeepsItsQueryAndCountAndTheDesktopBringsThemBack) {
  if (!greek_->GetDatabase()->FindLineByQueryName(u"base")) GTEST_SKIP() << "no base-form line";
  auto activate = [this](CVornChildFrame* w) {
    frame_->GetMdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(w->parentWidget()));
    QApplication::processEvents();
  };
  const QString query = QStringLiteral("base λόγος within the same verse as base θεός");
  activate(greek_);
  CRichQueryBox* box = frame_->GetQueryBox();
  box->setPlainText(query);
  ASSERT_TRUE(frame_->RunQueryFromBox());
  const size_t count = greek_->GetQueryThing().GetHitCount();
  activate(hebrew_);
  EXPECT_TRUE(box->toPlainText().isEmpty());
  EXPECT_EQ(frame_->statusBar()->currentMessage(), QStringLiteral("Ready"));
  activate(greek_);
  EXPECT_EQ(box->toPlainText(), query);
  EXPECT_TRUE(frame_->statusBar()->currentMessage().contains(QString::number(count)));

  const std::string desktop = settings_.filePath(QStringLiteral("Two.vdt")).toStdString();
  ASSERT_TRUE(frame_->SaveDesktopFile(desktop));
  ASSERT_TRUE(frame_->LoadDesktopFile(desktop));
  for (CVornChildFrame* w : frame_->Windows()) {
    const bool greek = w->GetDatabase()->GetTitle().find(u"Greek") != std::u16string::npos;
    EXPECT_EQ(w->GetQueryThing().GetHitCount(), greek ? count : 0u);
    EXPECT_EQ(ToQString(w->GetQueryThing().GetQueryText()), greek ? query : QString());
  }
}

}  // namespace
}  // namespace vorn::shell
