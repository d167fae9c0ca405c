#include <QAction>
#include <QImage>
#include <QKeySequence>
#include <QMdiArea>
#include <QPainter>
#include <QPicture>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <set>
#include <string>

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
  // The commands the menus, bars and stored desktops refer to are all there.
  for (int id : {1300, 1301, 1304, 33046, 33072, 33041, 33042, 32774, 33065, 33053, 59392, 32810,
                 32811, 57636, 32805, 32806, 32803, 32804, 33066, 1493, 33068, 33056, 57632, 57634,
                 33045, 32830, 33043, 33044, 33047, 1302, 32907, 32908, 32876, 32878}) {
    EXPECT_NE(FindCommand(id), nullptr) << id;
  }
  for (int id = 32815; id <= 32818; ++id) EXPECT_EQ(FindCommand(id)->target, CommandTarget::kTextPane);
  for (int id = 32827; id <= 32829; ++id) EXPECT_EQ(FindCommand(id)->target, CommandTarget::kHitsPane);
  for (int id = 32832; id <= 32837; ++id) EXPECT_NE(FindCommand(id), nullptr) << id;
  for (int id = 35001; id <= 35006; ++id) EXPECT_NE(FindCommand(id), nullptr) << id;
  for (int id = 33048; id <= 33052; ++id) EXPECT_NE(FindCommand(id), nullptr) << id;
  EXPECT_EQ(std::string(FindCommand(57632)->shortcut), "Del");
  EXPECT_EQ(std::string(FindCommand(33056)->shortcut), "Ctrl+A");
  EXPECT_EQ(std::string(FindCommand(32876)->shortcut), "Ctrl+S");
  EXPECT_EQ(std::string(FindCommand(1301)->text), "&Hebrew OT");
  EXPECT_EQ(std::string(FindCommand(33046)->text), "S&eptuagint (II)");
}

TEST(ActionsTable, EveryActionIsMadeOnceAndDispatchesItsId) {
  QObject owner;
  int fired = 0;
  CActions actions(&owner, [&fired](int id) { fired = id; });
  EXPECT_EQ(actions.All().size(), CommandTable().size());
  actions.Get(33056)->trigger();
  EXPECT_EQ(fired, 33056);
  EXPECT_EQ(actions.Get(4242), nullptr);
}

TEST(OpenMenu, FixedSlotsAndShiftPartners) {
  EXPECT_EQ(SlotOfCommand(1301, false), 0);
  EXPECT_EQ(SlotOfCommand(1301, true), 0);
  EXPECT_EQ(SlotOfCommand(1304, false), 1);
  EXPECT_EQ(SlotOfCommand(1304, true), 2);
  EXPECT_EQ(SlotOfCommand(33046, false), 2);
  EXPECT_EQ(SlotOfCommand(33046, true), 1);
  EXPECT_EQ(SlotOfCommand(1300, false), 3);
  EXPECT_EQ(SlotOfCommand(1300, true), 4);
  EXPECT_EQ(SlotOfCommand(33072, false), 4);
  EXPECT_EQ(SlotOfCommand(33072, true), 3);
  EXPECT_EQ(SlotOfCommand(57636, false), -1);
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
