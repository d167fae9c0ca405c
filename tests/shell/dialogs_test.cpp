// The small dialogs of the main frame: line fonts and window arrangement.
#include <gtest/gtest.h>

#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <memory>
#include <string>

#include "platform/message_sink.h"
#include "real_data.h"
#include "shell/arrange_windows.h"
#include "shell/help.h"
#include "shell/line_fonts_dialog.h"
#include "textdb/catalogue.h"
#include "textdb/line.h"
#include "textdb/vorn_db.h"

namespace vorn::shell {
namespace {

TEST(LineFontsDialog, ChosenFontsReachOnlyTheLinesThatChanged) {
  platform::CRecordingMessageSink sink;
  std::unique_ptr<CVornDBs> dbs;
  const std::string folder = testing::RealDataFolder("HEB");
  if (folder.empty()) GTEST_SKIP() << "no databases built";
  dbs = std::make_unique<CVornDBs>(std::vector<std::string>{folder}, &sink, nullptr);
  CVornDB* db = nullptr;
  for (int i = 0; i < dbs->GetCount() && !db; ++i)
    if (dbs->GetStats(i) && dbs->GetStats(i)->GetName() == u"HEB") db = dbs->GetDatabase(i);
  ASSERT_NE(db, nullptr);
  const int form = db->GetFormLineIndex();
  const int gloss = db->GetGlossLineIndex();
  ASSERT_GE(form, 0);
  ASSERT_GE(gloss, 0);
  const CFontFormat before_gloss = db->GetLine(gloss)->GetFont();
  ASSERT_TRUE(db->GetLine(form)->GetFont().right_to_left());

  CLineFontsDialog dialog(db, nullptr);
  EXPECT_FALSE(dialog.Apply());  // nothing chosen yet
  dialog.Choose(form, u"DejaVu Sans", 31, MakeRgb(0x20, 0x40, 0x80));
  EXPECT_NE(db->GetLine(form)->GetFont().size_points(), 31);  // not before Apply
  ASSERT_TRUE(dialog.Apply());
  const CFontFormat& now = db->GetLine(form)->GetFont();
  EXPECT_EQ(now.face(), u"DejaVu Sans");
  EXPECT_EQ(now.size_points(), 31);
  EXPECT_EQ(now.colour(), MakeRgb(0x20, 0x40, 0x80));
  EXPECT_TRUE(now.right_to_left());  // Hebrew stays right to left
  EXPECT_TRUE(db->GetLine(gloss)->GetFont() == before_gloss);
  // Back to the database's own font.
  dialog.ResetLine(form);
  ASSERT_TRUE(dialog.Apply());
  EXPECT_EQ(db->GetLine(form)->GetFont().face(), db->GetLine(form)->GetDefaultFont().face());
}

TEST(ArrangeWindows, SideBySideAndStackedShareTheAreaWithoutGaps) {
  QMdiArea area;
  area.resize(901, 600);
  area.show();
  for (int i = 0; i < 3; ++i) area.addSubWindow(new QLabel(QStringLiteral("w")))->show();
  ArrangeWindows(&area, Arrangement::kSideBySide);
  const auto windows = area.subWindowList(QMdiArea::CreationOrder);
  const int width = area.viewport()->width();
  EXPECT_EQ(windows[0]->geometry().left(), 0);
  EXPECT_EQ(windows[1]->geometry().left(), windows[0]->geometry().right() + 1);
  EXPECT_EQ(windows[2]->geometry().right(), width - 1);
  EXPECT_EQ(windows[1]->geometry().height(), area.viewport()->height());
  ArrangeWindows(&area, Arrangement::kStacked);
  EXPECT_EQ(windows[0]->geometry().top(), 0);
  EXPECT_EQ(windows[2]->geometry().top(), windows[1]->geometry().bottom() + 1);
  EXPECT_EQ(windows[2]->geometry().bottom(), area.viewport()->height() - 1);
  EXPECT_EQ(windows[2]->geometry().width(), width);
}

}  // namespace
}  // namespace vorn::shell

namespace vorn::shell {
namespace {

TEST(Help, GuideIsFoundInTheSourceTreeAndAMissingOneIsReported) {
  EXPECT_FALSE(FindHelpFile(HelpFolders()).isEmpty());
  EXPECT_TRUE(FindHelpFile({QStringLiteral("/nonexistent")}).isEmpty());
  platform::CRecordingMessageSink sink;
  QWidget parent;
  EXPECT_TRUE(ShowHelp(&parent, &sink));
  EXPECT_TRUE(sink.messages().empty());
}

}  // namespace
}  // namespace vorn::shell
