// Windows, panes and bars go before what they borrow from the main frame.
#include <QApplication>
#include <QMdiSubWindow>

#include <gtest/gtest.h>

#include "shell/child_frame.h"
#include "shell/main_frame.h"
#include "frame_fixture.h"

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

}  // namespace
}  // namespace vorn::shell
