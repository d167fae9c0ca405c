#include "shell/desktop.h"

#include <gtest/gtest.h>

#include <QDockWidget>
#include <QFile>
#include <QFileInfo>

#include "frame_fixture.h"
#include "layout/layout_kinds.h"
#include "platform/string_table.h"
#include "querystate/query_thing.h"
#include "refs/bible_ref.h"
#include "shell/vorn_view.h"
#include "shell/window_placement.h"
#include "textdb/vorn_db.h"

namespace vorn::shell::testing {
namespace {

std::u16string Title(CVornChildFrame* w) { return w->GetDatabase()->GetTitle(); }

std::u16string FocusVerse(CVornChildFrame* w) {
  return CBibleRef(w->GetDatabase(), w->GetFocusWord()).GetKeyString();
}

bool WriteFile(const std::string& path, const char* text) {
  QFile f(QString::fromStdString(path));
  return f.open(QIODevice::WriteOnly) && f.write(text) == static_cast<qint64>(qstrlen(text));
}

using DesktopTest = FrameTest;

TEST_F(DesktopTest, SavedDesktopComesBackWithItsWindowsGroupsFocusAndLayouts) {
  const std::string path = Path("Study.vdt");
  WordIndex heb_focus = -1;
  {
    auto frame = MakeFrame();
    CVornChildFrame* gnt = Open(frame.get(), kGntTitle);
    CVornChildFrame* heb = Open(frame.get(), kHebTitle);
    ASSERT_TRUE(gnt && heb);
    gnt->SetScrollGroup(u"B");
    heb->SetScrollGroup(u"");
    gnt->GoTo(CBibleRef(u"JHN", 3, 16));
    ASSERT_EQ(FocusVerse(gnt), u"JHN 3:16");
    ASSERT_TRUE(gnt->GetTextPane()->SetLayoutId(kLayoutParagraphs));
    ASSERT_TRUE(gnt->GetHitsPane()->SetLayoutId(kLayoutHitVerses));
    gnt->GetTextPane()->GetMetrics().SetLineVisible(1, false);
    gnt->GetTextPane()->SetShowTips(false);
    heb_focus = CBibleRef(heb->GetDatabase(), 1, 2, 1).GetFirstWord() + 1;
    heb->GetTextPane()->SetFocusWord(heb_focus, 12);
    heb->parentWidget()->setGeometry(10, 20, 400, 300);
    gnt->parentWidget()->setGeometry(50, 60, 320, 240);
    gnt->parentWidget()->showMinimized();
    frame->GetMdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(heb->parentWidget()));
    ASSERT_EQ(WindowsTopDown(frame.get()).front(), heb);
    ASSERT_TRUE(frame->SaveDesktopFile(path));
  }
  std::u16string views;
  CIniFile saved;
  ASSERT_TRUE(saved.Load(path));
  ASSERT_TRUE(saved.GetString(u"Views", u"View 0", &views));
  EXPECT_EQ(views, kHebTitle);  // the top window first
  ASSERT_TRUE(saved.GetString(u"View 1 Text View", u"LineVis 1", &views));
  EXPECT_EQ(views, u"0");

  auto frame = MakeFrame();
  Open(frame.get(), kByzTitle);  // closed by the load
  ASSERT_TRUE(frame->LoadDesktopFile(path));
  const std::vector<CVornChildFrame*> windows = WindowsTopDown(frame.get());
  ASSERT_EQ(windows.size(), 2u);
  CVornChildFrame* heb = windows[0];
  CVornChildFrame* gnt = windows[1];
  EXPECT_EQ(Title(heb), kHebTitle);
  EXPECT_EQ(Title(gnt), kGntTitle);
  EXPECT_EQ(frame->ActiveWindow(), heb);
  EXPECT_EQ(heb->GetScrollGroup(), u"");
  EXPECT_EQ(gnt->GetScrollGroup(), u"B");
  EXPECT_EQ(FocusVerse(gnt), u"JHN 3:16");
  EXPECT_EQ(heb->GetTextPane()->GetFocusWord(), heb_focus);
  EXPECT_EQ(heb->GetTextPane()->GetWordY(), 12);
  EXPECT_EQ(gnt->GetTextPane()->GetLayoutId(), kLayoutParagraphs);
  EXPECT_EQ(gnt->GetHitsPane()->GetLayoutId(), kLayoutHitVerses);
  EXPECT_EQ(heb->GetTextPane()->GetLayoutId(), kLayoutVerses);  // the default stays
  EXPECT_FALSE(gnt->GetTextPane()->GetMetrics().IsLineVisible(1));
  EXPECT_TRUE(gnt->GetTextPane()->GetMetrics().IsLineVisible(0));
  EXPECT_TRUE(gnt->GetHitsPane()->GetMetrics().IsLineVisible(1));
  EXPECT_FALSE(gnt->GetTextPane()->GetShowTips());
  EXPECT_TRUE(heb->GetTextPane()->GetShowTips());
  EXPECT_EQ(gnt->parentWidget()->windowTitle(), QStringLiteral("Test Greek NT - John 3:16 (B)"));
  EXPECT_EQ(heb->parentWidget()->geometry(), QRect(10, 20, 400, 300));
  EXPECT_TRUE(gnt->parentWidget()->isMinimized());
  EXPECT_EQ(GetPlacement(gnt->parentWidget()).normal, QRect(50, 60, 320, 240));
  gnt->parentWidget()->showNormal();
  EXPECT_EQ(gnt->parentWidget()->geometry(), QRect(50, 60, 320, 240));
}

TEST_F(DesktopTest, MissingDatabaseIsReportedAndTheOthersOpenInNumberOrder) {
  const std::string path = Path("Old.vdt");
  // A hits-pane layout stored for a text pane is not taken.
  const std::string text =
      "[Views]\r\nView 0=Test Greek NT\r\nView 1=No Such Bible\r\n"
      "View 10=Test Byzantine NT\r\nView 2=test hebrew bible\r\n\r\n"
      "[View 0 Text View]\r\nLineVis 1=0\r\n\r\n"
      "[View 2 Text View]\r\nLineVis 0=0\r\nLineVis 1=0\r\nLineVis 2=0\r\n"
      "LineVis 3=0\r\nLineVis 4=0\r\nLayout ID=" +
      std::to_string(kLayoutHitVerses) + "\r\n";
  ASSERT_TRUE(WriteFile(path, text.c_str()));
  auto frame = MakeFrame();
  frame->GetBookmarks().Add(CBibleRef(Open(frame.get(), kGntTitle)->GetDatabase(), 3, 3, 16));
  ASSERT_TRUE(frame->LoadDesktopFile(path));
  EXPECT_TRUE(Warned(u"Couldn't open \"No Such Bible\""));
  // The file has no bookmarks of its own: the user's stay.
  EXPECT_EQ(frame->GetBookmarks().GetCount(), 1u);
  const std::vector<CVornChildFrame*> windows = WindowsTopDown(frame.get());
  ASSERT_EQ(windows.size(), 3u);
  EXPECT_EQ(Title(windows[0]), kGntTitle);
  EXPECT_EQ(Title(windows[1]), kHebTitle);
  EXPECT_EQ(Title(windows[2]), kByzTitle);
  // A window without its keys keeps the new window's values, a line without
  // key is visible, a pane whose keys would hide every line still shows
  // one, and a layout of the other pane kind is refused.
  EXPECT_EQ(windows[0]->GetScrollGroup(), u"A");
  CViewMetrics& greek = windows[0]->GetTextPane()->GetMetrics();
  EXPECT_TRUE(greek.IsLineVisible(0));
  EXPECT_FALSE(greek.IsLineVisible(1));
  EXPECT_TRUE(greek.IsLineVisible(2));
  CViewMetrics& hebrew = windows[1]->GetTextPane()->GetMetrics();
  EXPECT_TRUE(hebrew.IsLineVisible(0));
  EXPECT_TRUE(hebrew.IsSingleLineVisible());
  EXPECT_EQ(windows[1]->GetTextPane()->GetLayoutId(), kLayoutVerses);
  EXPECT_FALSE(frame->LoadDesktopFile(Path("Absent.vdt")));
  EXPECT_EQ(frame->Windows().size(), 3u);
}

TEST_F(DesktopTest, ExitSavesTheStartUpDesktopWhileSaveOnExitIsOnAndShiftIsUp) {
  const std::string startup = Path("StartUp.vdt");
  {
    auto frame = MakeFrame();  // SaveOnExit absent: on
    Open(frame.get(), kGntTitle);
    frame->SaveStateForExit(true);
    EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(startup)));
    EXPECT_TRUE(frame->Windows().empty());
    Open(frame.get(), kGntTitle);
    frame->SaveStateForExit(false);
    EXPECT_TRUE(QFileInfo::exists(QString::fromStdString(startup)));
    EXPECT_TRUE(frame->Windows().empty());
    std::u16string pos;
    EXPECT_TRUE(frame->GetSettings().GetString(u"Main", u"WndPos", &pos));
    EXPECT_FALSE(pos.empty());
    ASSERT_TRUE(QFile::remove(QString::fromStdString(startup)));
    frame->GetSettings().ToggleSaveOnExit();
    frame->SaveStateForExit(false);
    EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(startup)));
  }
  EXPECT_FALSE(Warned(u"Couldn't save desktop. Read-only directory?"));

  MainFrameOptions options = Options();
  options.settings_path = Path("Other.ini");
  options.desktop_path = Path("no such folder/StartUp.vdt");
  CVornMainFrame frame(options);
  frame.SaveStateForExit(false);
  EXPECT_TRUE(Warned(std::u16string(platform::LoadString(platform::kIdsCantSaveDesktop))));
}

TEST_F(DesktopTest, StartUpReadsTheStartUpDesktopUnlessShiftIsHeld) {
  {
    auto frame = StartMainFrame(Options(), false);  // no start-up desktop
    ASSERT_EQ(frame->Windows().size(), 2u);
    EXPECT_EQ(Title(frame->ActiveWindow()), kGntTitle);
    // One window on the Byzantine text, to start with next time.
    CloseAllWindows(frame.get());
    Open(frame.get(), kByzTitle)->SetScrollGroup(u"C");
    frame->GetBookmarks().Add(CBibleRef(frame->ActiveWindow()->GetDatabase(), 1, 1, 1));
    frame->setGeometry(30, 40, 700, 500);
    frame->findChild<QDockWidget*>(QStringLiteral("WordBar"))->hide();
    frame->SaveStateForExit(false);
  }
  {
    auto frame = StartMainFrame(Options(), false);
    ASSERT_EQ(frame->Windows().size(), 1u);
    EXPECT_EQ(Title(frame->ActiveWindow()), kByzTitle);
    EXPECT_EQ(frame->ActiveWindow()->GetScrollGroup(), u"C");
    EXPECT_EQ(frame->geometry(), QRect(30, 40, 700, 500));
    EXPECT_TRUE(frame->findChild<QDockWidget*>(QStringLiteral("WordBar"))->isHidden());
    ASSERT_EQ(frame->GetBookmarks().GetCount(), 1u);
    EXPECT_EQ(frame->GetBookmarks().GetKey(0), u"MAT 1:1");
  }
  {
    // Shift: the default windows, but the settings of Vorn.ini still hold.
    auto frame = StartMainFrame(Options(), true);
    EXPECT_EQ(frame->Windows().size(), 2u);
    EXPECT_EQ(frame->geometry(), QRect(30, 40, 700, 500));
    EXPECT_EQ(frame->GetBookmarks().GetCount(), 1u);
  }
}

TEST_F(DesktopTest, OptionsAreReadAtStartAndKeptInTheSettings) {
  ASSERT_TRUE(WriteFile(Path("Vorn.ini"), "[Options]\r\nWordTipDelay=400\r\nWordTipTime=9\r\n"));
  {
    auto frame = MakeFrame();
    EXPECT_EQ(frame->GetOptions().word_tip_delay, 400);
    EXPECT_EQ(frame->GetOptions().word_tip_time, 9);
    EXPECT_EQ(frame->GetOptions().splash_time, 6);
    EXPECT_FALSE(frame->SetOptions(COptions{0, 6, 500, 0}));
    EXPECT_EQ(frame->GetOptions().word_tip_time, 9);
    EXPECT_TRUE(frame->SetOptions(COptions{1, 2, 30, 0}));
  }
  auto frame = MakeFrame();
  EXPECT_EQ(frame->GetOptions(), (COptions{1, 2, 30, 0}));
}

}  // namespace
}  // namespace vorn::shell::testing
