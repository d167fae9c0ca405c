// Windows, panes and bars go before what they borrow from the main frame,
// and nothing keeps a window, a pane or a tag after it is gone.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <optional>

#include "frame_fixture.h"
#include "markup/tags_db.h"
#include "querystate/query_thing.h"
#include "shell/actions.h"
#include "shell/child_frame.h"
#include "shell/main_frame.h"
#include "shell/marking.h"
#include "shell/user_tag_menus.h"
#include "shell/vorn_view.h"
#include "shell/word_tip.h"
#include "test_frame.h"

namespace vorn::shell {
namespace {

using testing::FrameTest;
using testing::kGntTitle;
using testing::kHebTitle;
using LifetimeTest = FrameTest;

TEST_F(LifetimeTest, WindowsGoWhileTheFrameStillHoldsTheCatalogue) {
  auto frame = MakeFrame();
  CVornMainFrame* raw = frame.get();
  int gone_in_time = 0;
  int gone = 0;
  for (const char16_t* title : {kGntTitle, kHebTitle}) {
    CVornChildFrame* window = Open(raw, title);
    ASSERT_NE(window, nullptr);
    // While the frame's own destructor runs it is still a main frame; once
    // Qt deletes its children it is a plain widget, and the catalogue, the
    // databases and the propositions are gone.
    QObject::connect(window, &QObject::destroyed, [raw, &gone, &gone_in_time] {
      ++gone;
      if (qobject_cast<CVornMainFrame*>(raw)) ++gone_in_time;
    });
  }
  frame.reset();
  EXPECT_EQ(gone, 2);
  EXPECT_EQ(gone_in_time, 2);
}

// Runs the events, the deferred deletions among them.
void Settle() {
  QApplication::processEvents();
  QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  QApplication::processEvents();
}

void DropAllMenus(CVornMainFrame* frame) {
  for (QMenu* menu : frame->menuBar()->findChildren<QMenu*>()) emit menu->aboutToShow();
}

// Every command but those that close windows or the frame, each followed by
// its events. Dialogs a command opens are turned down as soon as they show.
void DispatchEveryCommand(CVornMainFrame* frame) {
  QTimer closer;
  QObject::connect(&closer, &QTimer::timeout, [] {
    if (QWidget* modal = QApplication::activeModalWidget()) modal->close();
  });
  closer.start(5);
  for (const CommandDef& c : CommandTable()) {
    if (c.id == kCmdCloseAll || c.id == kCmdExit || c.id == kCmdLoadDesktop) continue;
    frame->Dispatch(c.id);
    Settle();
  }
}

TEST_F(LifetimeTest, ClosedWindowsLeaveNothingBehindThatCommandsOrMenusReach) {
  // Tags live in the working folder's user folders.
  QTemporaryDir work;
  const QString old_folder = QDir::currentPath();
  QDir::setCurrent(work.path());
  {
    auto frame = MakeFrame();
    frame->resize(1000, 700);
    frame->show();
    frame->GetMarking().SetNameAsker([](const std::u16string&) { return std::nullopt; });
    CVornChildFrame* first = Open(frame.get(), kGntTitle);
    CVornChildFrame* second = Open(frame.get(), kGntTitle);
    ASSERT_TRUE(first && second);
    CTagsDB* tags = TagsOfWindow(first);
    ASSERT_NE(tags, nullptr);
    CTagDB* alpha = tags->CreateTag(u"", u"Alpha");
    CTagDB* beta = tags->CreateTag(u"", u"Beta");
    ASSERT_TRUE(alpha && beta);
    for (CVornChildFrame* w : {first, second}) {
      w->GetQueryThing().ToggleTag(alpha);
      w->GetQueryThing().ToggleTag(beta);
      w->GetQueryThing().SetHits({5, 10, 20});
    }
    CVornView* text = first->GetTextPane();
    text->SetFocusWord(5, 0);
    text->GetMetrics().SelectRange(5, 7, true);
    frame->GetMarking().GetTagMenus().ToggleSelection(first, beta);

    // A tag shown in both windows is deleted; the last tag used was it.
    sink_.ScriptAnswer(platform::MsgAnswer::kYes);
    ASSERT_TRUE(tags->DeleteTag(beta, true));
    testing::TestFrame::Paint(text);
    testing::TestFrame::Paint(second->GetTextPane());
    frame->Dispatch(kCmdRepeatLastTag);
    frame->GetMarking().GetTagMenus().ToggleSelection(first, alpha);

    // The first window goes with its tip, its scroll pop-up and the menus
    // built for it showing.
    QRect box;
    const WordIndex shown = testing::TestFrame::FindShownWord(text, &box);
    ASSERT_GE(shown, 0);
    text->GetWordTip()->SetDelay(50);
    text->GetWordTip()->SetWord(shown, box);
    emit text->verticalScrollBar()->sliderMoved(30);
    DropAllMenus(frame.get());
    text->setFocus();
    ASSERT_TRUE(first->parentWidget()->close());
    Settle();
    ASSERT_EQ(frame->Windows(), std::vector<CVornChildFrame*>{second});
    DropAllMenus(frame.get());
    frame->GetMdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(second->parentWidget()));
    second->GetHitsPane()->GetMetrics().SelectWord(10, true);
    DispatchEveryCommand(frame.get());
    // The Open commands among them opened windows of their own.
    const std::vector<CVornChildFrame*> open = frame->Windows();
    ASSERT_NE(std::find(open.begin(), open.end(), second), open.end());

    frame->Dispatch(kCmdCloseAll);
    Settle();
    EXPECT_TRUE(frame->Windows().empty());
    DispatchEveryCommand(frame.get());
    DropAllMenus(frame.get());

    // A desktop that closes the windows it replaces.
    Open(frame.get(), kGntTitle)->GetQueryThing().ToggleTag(alpha);
    Open(frame.get(), kHebTitle);
    const size_t windows = frame->Windows().size();
    ASSERT_TRUE(frame->SaveDesktopFile(Path("Desktop.vdt")));
    ASSERT_TRUE(frame->LoadDesktopFile(Path("Desktop.vdt")));
    Settle();
    EXPECT_EQ(frame->Windows().size(), windows);
    DropAllMenus(frame.get());
    EXPECT_TRUE(frame->close());
    Settle();
  }
  QDir::setCurrent(old_folder);
}

}  // namespace
}  // namespace vorn::shell
