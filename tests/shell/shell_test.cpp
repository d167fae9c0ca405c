#include <gtest/gtest.h>

#include <QAction>
#include <QImage>
#include <QKeySequence>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPicture>
#include <QTemporaryDir>
#include <set>
#include <string>

#include "frame_fixture.h"
#include "layout/layout_kinds.h"
#include "real_data.h"
#include "shell/actions.h"
#include "shell/app.h"
#include "shell/child_frame.h"
#include "shell/main_frame.h"
#include "shell/qt_device.h"
#include "textdb/catalogue.h"

namespace vorn::shell {
namespace {

TEST(ActionsTable, IdsTextsAndShortcutsAreUnique) {
  std::set<int> ids;
  std::set<std::string> shortcuts;
  for (const CommandDef& c : CommandTable()) {
    EXPECT_TRUE(ids.insert(c.id).second) << "duplicate id " << c.id;
    EXPECT_NE(std::string(c.text), "") << c.id;
    if (*c.shortcut) {
      EXPECT_FALSE(QKeySequence(QString::fromUtf8(c.shortcut)).isEmpty()) << c.shortcut;
      EXPECT_TRUE(shortcuts.insert(c.shortcut).second) << "shortcut used twice: " << c.shortcut;
    }
  }
}

// The first item called `text` in `menu` or its submenus.
QAction* FindItem(QMenu* menu, const QString& text) {
  for (QAction* a : menu->actions()) {
    if (a->text() == text) return a;
    if (a->menu()) {
      if (QAction* found = FindItem(a->menu(), text)) return found;
    }
  }
  return nullptr;
}

using MenusTest = testing::FrameTest;

TEST_F(MenusTest, ItemsShowTheTextAndShortcutOfTheirCommand) {
  auto frame = MakeFrame();
  const struct {
    const char* menu;
    const char* text;
    int id;
    const char* shortcut;
  } items[] = {
      {"&File", "&Hebrew OT", kCmdOpenHebrewOT, ""},
      {"&Edit", "Select &All Hits", kCmdSelectAllHits, "Ctrl+A"},
      {"&Edit", "Remove Match", kCmdRemoveMatch, "Del"},
      {"&View", "&Paragraphs", kLayoutParagraphs, ""},
      {"&View", "&Concorded List", kLayoutConcordance, ""},
      {"&Navigate", "&Next Match", kCmdNextMatch, "F3"},
      {"&Navigate", "Go &Back", kCmdGoBack, "Alt+Left"},
  };
  for (const auto& item : items) {
    QMenu* menu = nullptr;
    for (QAction* a : frame->menuBar()->actions())
      if (a->text() == QString::fromUtf8(item.menu)) menu = a->menu();
    ASSERT_NE(menu, nullptr) << item.menu;
    QAction* action = FindItem(menu, QString::fromUtf8(item.text));
    ASSERT_NE(action, nullptr) << item.text;
    EXPECT_EQ(action, frame->GetActions().Get(item.id)) << item.text;
    EXPECT_EQ(action->shortcut(), QKeySequence(QString::fromUtf8(item.shortcut))) << item.text;
  }
}

TEST(ActionsTable, EveryActionIsMadeOnceAndDispatchesItsId) {
  QObject owner;
  int fired = 0;
  CActions actions(&owner, [&fired](int id) { fired = id; });
  EXPECT_EQ(actions.All().size(), CommandTable().size());
  actions.Get(kCmdSelectAllHits)->trigger();
  EXPECT_EQ(fired, kCmdSelectAllHits);
  EXPECT_EQ(actions.Get(4242), nullptr);
}

TEST(OpenMenu, FixedSlotsAndShiftPartners) {
  EXPECT_EQ(SlotOfCommand(kCmdOpenHebrewOT, false), 0);
  EXPECT_EQ(SlotOfCommand(kCmdOpenHebrewOT, true), 0);
  EXPECT_EQ(SlotOfCommand(kCmdOpenSeptuagintI, false), 1);
  EXPECT_EQ(SlotOfCommand(kCmdOpenSeptuagintI, true), 2);
  EXPECT_EQ(SlotOfCommand(kCmdOpenSeptuagintII, false), 2);
  EXPECT_EQ(SlotOfCommand(kCmdOpenSeptuagintII, true), 1);
  EXPECT_EQ(SlotOfCommand(kCmdOpenGreekNT, false), 3);
  EXPECT_EQ(SlotOfCommand(kCmdOpenGreekNT, true), 4);
  EXPECT_EQ(SlotOfCommand(kCmdOpenByzantineNT, false), 4);
  EXPECT_EQ(SlotOfCommand(kCmdOpenByzantineNT, true), 3);
  EXPECT_EQ(SlotOfCommand(kCmdFind, false), -1);
}

TEST(QtDevice, MeasuresWithTheFontAndDrawsIntoAnImage) {
  QImage image(200, 60, QImage::Format_RGB32);
  image.fill(Qt::white);
  CQtDevice device(&image);
  EXPECT_GT(device.GetPixelsPerInchY(), 0);
  FontDescription small{u"Gentium Plus", 12};
  FontDescription large{u"Gentium Plus", 24};
  auto f12 = device.CreateFont(small);
  auto f24 = device.CreateFont(large);
  ASSERT_TRUE(f12 && f24);
  device.SelectFont(f12.get());
  const Size a = device.GetTextExtent(u"λόγος");
  const TextMetrics m12 = device.GetTextMetrics();
  device.SelectFont(f24.get());
  const Size b = device.GetTextExtent(u"λόγος");
  EXPECT_GT(a.cx, 0);
  EXPECT_GT(b.cx, a.cx);
  EXPECT_EQ(m12.height, m12.ascent + m12.descent);
  EXPECT_EQ(a.cy, m12.height);
  EXPECT_EQ(device.GetTextExtent(u"").cx, 0);

  QPainter painter(&image);
  device.SetPainter(&painter);
  device.SetTextColour(RgbOf(0, 0, 0));
  device.DrawText(4, 4, u"λόγος");
  device.InvertRect({150, 10, 160, 20});
  device.SetPainter(nullptr);
  painter.end();
  int dark = 0;
  for (int y = 4; y < 4 + b.cy; ++y)
    for (int x = 4; x < 4 + b.cx; ++x) dark += qGray(image.pixel(x, y)) < 128;
  EXPECT_GT(dark, 10);
  EXPECT_EQ(image.pixel(155, 15), qRgb(0, 0, 0));  // white inverted
}

TEST(QtDevice, DefaultFontRecordsIntoAPicture) {
  // Print preview records every page into a picture; restoring the default
  // font after drawing with another puts that font into the recording.
  QPicture picture;
  CQtDevice device(&picture);
  auto arial = device.CreateFont(FontDescription{u"Arial", 12});
  QPainter painter(&picture);
  device.SetPainter(&painter);
  CDeviceFont* old = device.SelectFont(arial.get());
  device.DrawText(0, 0, u"Page 1");
  device.SelectFont(old);
  device.DrawLine(0, 20, 100, 20, Pen{RgbOf(0, 0, 0), 1, PenStyle::kSolid});
  device.SetPainter(nullptr);
  EXPECT_TRUE(painter.end());
  EXPECT_GT(picture.size(), 0u);
}

TEST(Screenshot, MainWindowOnTheRealDatabasesIsNotBlank) {
  if (testing::RealDataFolder("GNT").empty()) GTEST_SKIP() << "no databases built";
  // The settings and the start-up desktop of the run stay out of the way.
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  MainFrameOptions options;
  options.quiet = true;
  options.settings_path = dir.filePath(QStringLiteral("Vorn.ini")).toStdString();
  options.desktop_path = dir.filePath(QStringLiteral("StartUp.vdt")).toStdString();
  auto frame = StartMainFrame(options, false);
  frame->show();
  EXPECT_EQ(frame->GetMdiArea()->subWindowList().size(), 2);
  const QString path = QStringLiteral(VORN_SHELL_OUTPUT_DIR "/screenshot.png");
  ASSERT_TRUE(SaveScreenshot(frame.get(), path));
  QImage image(path);
  ASSERT_FALSE(image.isNull());
  std::set<QRgb> colours;
  for (int y = 0; y < image.height(); y += 7)
    for (int x = 0; x < image.width(); x += 7) colours.insert(image.pixel(x, y));
  EXPECT_GT(colours.size(), 8u);
}

}  // namespace
}  // namespace vorn::shell
