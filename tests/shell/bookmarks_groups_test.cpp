#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include "frame_fixture.h"
#include "layout/layout_box.h"
#include "query/query_context.h"
#include "querystate/query_thing.h"
#include "refs/bible_ref.h"
#include "refs/bookmarks.h"
#include "shell/actions.h"
#include "shell/options.h"
#include "shell/vorn_view.h"
#include "shell/word_tip.h"
#include "textdb/vorn_db.h"

namespace vorn::shell::testing {
namespace {

std::u16string FocusVerse(CVornChildFrame* w) {
  return CBibleRef(w->GetDatabase(), w->GetFocusWord()).GetKeyString();
}

QMenu* NavigateMenu(CVornMainFrame* frame) {
  for (QAction* a : frame->menuBar()->actions())
    if (a->text() == QStringLiteral("&Navigate")) return a->menu();
  return nullptr;
}

// The menu as it drops down: the items after the last separator.
std::vector<QAction*> DropDown(QMenu* menu) {
  emit menu->aboutToShow();
  std::vector<QAction*> items;
  for (QAction* a : menu->actions()) {
    if (a->isSeparator()) {
      items.clear();
    } else {
      items.push_back(a);
    }
  }
  return items;
}

bool Enabled(CVornMainFrame* frame, int id) {
  frame->UpdateActions();
  return frame->GetActions().Get(id)->isEnabled();
}

using BookmarkTest = FrameTest;

TEST_F(BookmarkTest, NavigateMenuListsBookmarksAndStepsBetweenThem) {
  auto frame = MakeFrame();
  QMenu* menu = NavigateMenu(frame.get());
  ASSERT_NE(menu, nullptr);
  const size_t static_items = menu->actions().size();
  EXPECT_FALSE(Enabled(frame.get(), kCmdAddBookmark));  // no window
  CVornChildFrame* heb = Open(frame.get(), kHebTitle);
  ASSERT_NE(heb, nullptr);

  heb->GoTo(CBibleRef(u"GEN", 1, 1));
  ASSERT_TRUE(Enabled(frame.get(), kCmdAddBookmark));
  EXPECT_FALSE(Enabled(frame.get(), kCmdClearBookmark));
  EXPECT_FALSE(Enabled(frame.get(), kCmdClearAllBookmarks));
  frame->GetActions().Get(kCmdAddBookmark)->trigger();
  // The same verse cannot be added twice.
  EXPECT_FALSE(Enabled(frame.get(), kCmdAddBookmark));
  EXPECT_TRUE(Enabled(frame.get(), kCmdClearBookmark));
  heb->GoTo(CBibleRef(u"EXO", 1, 2));
  frame->GetActions().Get(kCmdAddBookmark)->trigger();
  ASSERT_EQ(frame->GetBookmarks().GetCount(), 2u);

  heb->GoTo(CBibleRef(u"GEN", 2, 1));
  std::vector<QAction*> items = DropDown(menu);
  ASSERT_EQ(items.size(), 2u);
  EXPECT_EQ(menu->actions().size(), static_items + 3);  // a separator and two items
  EXPECT_EQ(items[0]->text(), QStringLiteral("Genesis 1:1"));
  EXPECT_EQ(items[1]->text(), QStringLiteral("Exodus 1:2"));
  EXPECT_EQ(items[1]->data().toInt(), CBookmarks::kFirstCommand + 1);
  EXPECT_EQ(items[0]->statusTip(), QStringLiteral("Displays the specified verse"));
  EXPECT_TRUE(items[0]->isEnabled() && items[1]->isEnabled());
  EXPECT_FALSE(items[0]->isChecked() || items[1]->isChecked());

  // From Genesis 2:1, between the two.
  frame->GetActions().Get(kCmdNextBookmark)->trigger();
  EXPECT_EQ(FocusVerse(heb), u"EXO 1:2");
  items = DropDown(menu);
  ASSERT_EQ(items.size(), 2u);
  EXPECT_TRUE(items[1]->isChecked());
  EXPECT_FALSE(items[0]->isChecked());
  // Past the last bookmark the steps go round to the first, and back round to the last.
  frame->GetActions().Get(kCmdNextBookmark)->trigger();
  EXPECT_EQ(FocusVerse(heb), u"GEN 1:1");
  frame->GetActions().Get(kCmdPreviousBookmark)->trigger();
  EXPECT_EQ(FocusVerse(heb), u"EXO 1:2");
  heb->GoTo(CBibleRef(u"GEN", 2, 1));
  frame->GetActions().Get(kCmdPreviousBookmark)->trigger();
  EXPECT_EQ(FocusVerse(heb), u"GEN 1:1");

  // Choosing an item moves the active window there.
  items = DropDown(menu);
  items[1]->trigger();
  EXPECT_EQ(FocusVerse(heb), u"EXO 1:2");

  // In a Greek window the Hebrew verses are not there.
  Open(frame.get(), kGntTitle);
  items = DropDown(menu);
  ASSERT_EQ(items.size(), 2u);
  EXPECT_FALSE(items[0]->isEnabled() || items[1]->isEnabled());
  EXPECT_FALSE(Enabled(frame.get(), kCmdNextBookmark));

  frame->GetActions().Get(kCmdClearAllBookmarks)->trigger();
  EXPECT_TRUE(frame->GetBookmarks().IsEmpty());
  DropDown(menu);
  EXPECT_EQ(menu->actions().size(), static_items);
}

TEST_F(BookmarkTest, ClearBookmarkRemovesTheCurrentVerseOnly) {
  auto frame = MakeFrame();
  CVornChildFrame* gnt = Open(frame.get(), kGntTitle);
  for (int verse : {1, 2, 3}) {
    gnt->GoTo(CBibleRef(u"MAT", 1, verse));
    frame->Dispatch(kCmdAddBookmark);
  }
  gnt->GoTo(CBibleRef(u"MAT", 1, 2));
  frame->Dispatch(kCmdClearBookmark);
  ASSERT_EQ(frame->GetBookmarks().GetCount(), 2u);
  EXPECT_EQ(frame->GetBookmarks().GetKey(0), u"MAT 1:1");
  EXPECT_EQ(frame->GetBookmarks().GetKey(1), u"MAT 1:3");
}

using ScrollGroupTest = FrameTest;

TEST_F(ScrollGroupTest, WindowsOfOneGroupStayOnThePassageInTheirOwnDatabases) {
  auto frame = MakeFrame();
  CVornChildFrame* gnt = Open(frame.get(), kGntTitle);
  CVornChildFrame* byz = Open(frame.get(), kByzTitle);
  CVornChildFrame* loose = Open(frame.get(), kGntTitle);
  CVornChildFrame* other = Open(frame.get(), kByzTitle);
  ASSERT_TRUE(gnt && byz && loose && other);
  gnt->SetScrollGroup(u"B");
  byz->SetScrollGroup(u"B");
  loose->SetScrollGroup(u"");
  other->SetScrollGroup(u"C");
  const WordIndex loose_focus = loose->GetFocusWord();
  const WordIndex other_focus = other->GetFocusWord();

  gnt->GoTo(CBibleRef(u"JHN", 3, 16));
  EXPECT_EQ(FocusVerse(byz), u"JHN 3:16");
  byz->GoTo(CBibleRef(u"JHN", 1, 2));
  EXPECT_EQ(FocusVerse(gnt), u"JHN 1:2");
  EXPECT_EQ(FocusVerse(byz), u"JHN 1:2");

  // A window without group neither leads nor follows; another group stays.
  loose->GoTo(CBibleRef(u"MAT", 2, 1));
  EXPECT_EQ(FocusVerse(gnt), u"JHN 1:2");
  EXPECT_EQ(FocusVerse(byz), u"JHN 1:2");
  EXPECT_EQ(other->GetFocusWord(), other_focus);
  gnt->GoTo(CBibleRef(u"MAT", 1, 2));
  EXPECT_EQ(loose->GetFocusWord(), CBibleRef(loose->GetDatabase(), 1, 2, 1).GetFirstWord());
  EXPECT_NE(loose->GetFocusWord(), loose_focus);
  EXPECT_EQ(other->GetFocusWord(), other_focus);
  EXPECT_EQ(FocusVerse(byz), u"MAT 1:2");

  // Moving within the verse leaves the followers where they are.
  const WordIndex byz_focus = byz->GetFocusWord();
  gnt->GetTextPane()->SetFocusWord(gnt->GetFocusWord() + 1, 0);
  EXPECT_EQ(byz->GetFocusWord(), byz_focus);
  EXPECT_EQ(byz->parentWidget()->windowTitle(),
            QStringLiteral("Test Byzantine NT - Matthew 1:2 (B)"));
}

TEST_F(ScrollGroupTest, RealGreekTextsFollowEachOtherThroughTheirVerseMaps) {
  MainFrameOptions options = Options();
  options.data_folders = {VORN_DATA_DIR};
  CVornMainFrame frame(options);
  const int gnt_entry = frame.GetCatalogue().FindByName(u"GNT");
  const int byz_entry = frame.GetCatalogue().FindByName(u"BYZ");
  if (gnt_entry < 0 || byz_entry < 0) GTEST_SKIP() << "no GNT and BYZ databases built";
  CVornChildFrame* gnt = frame.OpenEntry(gnt_entry);
  CVornChildFrame* byz = frame.OpenEntry(byz_entry);
  ASSERT_TRUE(gnt && byz);
  gnt->SetScrollGroup(u"B");
  byz->SetScrollGroup(u"B");
  gnt->GoTo(CBibleRef(u"JHN", 3, 16));
  EXPECT_EQ(FocusVerse(byz), u"JHN 3:16");
  // The two texts number the last verses of 2 Corinthians and 3 John
  // differently.
  gnt->GoTo(CBibleRef(u"2CO", 13, 13));
  EXPECT_EQ(FocusVerse(byz), u"2CO 13:14");
  byz->GoTo(CBibleRef(u"3JN", 1, 14));
  EXPECT_EQ(FocusVerse(gnt), u"3JN 1:15");
}

}  // namespace
}  // namespace vorn::shell::testing

namespace vorn::shell {
namespace {

class OptionsFrameTest : public testing::FrameTest {};

TEST_F(OptionsFrameTest, ConfirmedOptionsReachTheTipsOfOldAndNewWindowsAndTheSelectionStyle) {
  auto frame = MakeFrame();
  CVornChildFrame* first = Open(frame.get(), testing::kGntTitle);
  ASSERT_NE(first, nullptr);
  COptions options;
  options.word_tip_delay = 700;
  options.word_tip_time = 9;
  options.sel_style = 1;
  options.loose_matching = true;
  ASSERT_TRUE(frame->SetOptions(options));
  CVornChildFrame* second = Open(frame.get(), testing::kHebTitle);
  ASSERT_NE(second, nullptr);
  for (CVornChildFrame* w : {first, second}) {
    for (CVornView* pane : {w->GetTextPane(), w->GetHitsPane()}) {
      EXPECT_EQ(pane->GetWordTip()->GetDelay(), 700);
      EXPECT_EQ(pane->GetWordTip()->GetShowTime(), 9);
    }
    // New queries of every window match loosely.
    EXPECT_TRUE(w->GetQueryThing().GetQueryContext()->GetLooseMatching());
  }
  EXPECT_TRUE(GetSelectionFill());
  options.sel_style = 0;
  options.word_tip_time = 500;  // out of range: refused, nothing changes
  EXPECT_FALSE(frame->SetOptions(options));
  EXPECT_TRUE(GetSelectionFill());
  options.word_tip_time = 9;
  ASSERT_TRUE(frame->SetOptions(options));
  EXPECT_FALSE(GetSelectionFill());
}

}  // namespace
}  // namespace vorn::shell
