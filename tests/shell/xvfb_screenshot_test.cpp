// Starts the real program under a virtual X server, as a user would on a
// desktop, runs a query and keeps its picture in the build folder.
#include <gtest/gtest.h>

#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <set>
#include <string>

#include "real_data.h"
#include "textdb/catalogue.h"

namespace {

TEST(XvfbScreenshot, ProgramShowsTheBiblesAndAQueryUnderX) {
  const QString xvfb = QStandardPaths::findExecutable(QStringLiteral("xvfb-run"));
  if (xvfb.isEmpty()) GTEST_SKIP() << "xvfb-run is not installed";
  if (vorn::shell::testing::RealDataFolder("GNT").empty()) GTEST_SKIP() << "no databases built";

  const QString path = QStringLiteral(VORN_SHELL_OUTPUT_DIR "/vorn-xvfb.png");
  QFile::remove(path);
  // The program keeps its settings in the user's configuration folder,
  // here under a home folder of the test's own.
  QTemporaryDir work;
  ASSERT_TRUE(work.isValid());
  QProcess vorn;
  vorn.setWorkingDirectory(work.path());
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.remove(QStringLiteral("QT_QPA_PLATFORM"));  // the real xcb platform
  env.insert(QStringLiteral("HOME"), work.path());
  env.remove(QStringLiteral("XDG_CONFIG_HOME"));
  env.remove(QStringLiteral("XDG_DATA_HOME"));
  vorn.setProcessEnvironment(env);
  vorn.setProcessChannelMode(QProcess::MergedChannels);
  vorn.start(xvfb, {QStringLiteral("-a"), QStringLiteral("-s"),
                    QStringLiteral("-screen 0 1400x1000x24"), QStringLiteral(VORN_PROGRAM),
                    QStringLiteral("--screenshot"), path, QStringLiteral("--query"),
                    QStringLiteral("base λόγος within the same verse as base θεός")});
  ASSERT_TRUE(vorn.waitForFinished(120000)) << "vorn did not finish";
  ASSERT_EQ(vorn.exitCode(), 0) << vorn.readAll().toStdString();
  EXPECT_TRUE(QFile::exists(work.path() + QStringLiteral("/.config/vorn/Vorn.ini")));
  EXPECT_FALSE(QFile::exists(work.path() + QStringLiteral("/Vorn.ini")));

  QImage image(path);
  ASSERT_FALSE(image.isNull()) << "no picture at " << path.toStdString();
  EXPECT_GE(image.width(), 800);
  std::set<QRgb> colours;
  int dark = 0;
  for (int y = 0; y < image.height(); y += 5) {
    for (int x = 0; x < image.width(); x += 5) {
      colours.insert(image.pixel(x, y));
      dark += qGray(image.pixel(x, y)) < 100;
    }
  }
  // Text in several fonts and colours, not one flat fill.
  EXPECT_GT(colours.size(), 16u);
  EXPECT_GT(dark, 200);
}

}  // namespace
