#include <gtest/gtest.h>

#include <QComboBox>
#include <QMainWindow>
#include <QSpinBox>

#include "shell/desktop.h"
#include "shell/options.h"
#include "shell/options_dialog.h"
#include "shell/window_placement.h"
#include "textdb/ini_file.h"

namespace vorn::shell {
namespace {

TEST(WindowPlacement, TextRoundTripKeepsAllNineNumbers) {
  CWindowPlacement p;
  ASSERT_TRUE(ParsePlacement(u"3,-1,-1,-8,-31,22,44,1046,822", &p));
  EXPECT_TRUE(p.valid);
  EXPECT_TRUE(p.honour_min_position);
  EXPECT_TRUE(p.IsMaximized());
  EXPECT_EQ(p.min_pos, QPoint(-1, -1));
  EXPECT_EQ(p.max_pos, QPoint(-8, -31));
  EXPECT_EQ(p.normal.left(), 22);
  EXPECT_EQ(p.normal.top(), 44);
  EXPECT_EQ(p.normal.width(), 1024);  // right exclusive
  EXPECT_EQ(p.normal.height(), 778);  // bottom exclusive
  EXPECT_EQ(FormatPlacement(p), QStringLiteral("3,-1,-1,-8,-31,22,44,1046,822"));

  // Blanks before a number are read, text after the ninth is ignored.
  ASSERT_TRUE(ParsePlacement(u" 2, 0,0,0,0,+1,2,3,4 and more", &p));
  EXPECT_TRUE(p.IsMinimized());
  EXPECT_EQ(FormatPlacement(p), QStringLiteral("2,0,0,0,0,1,2,3,4"));
  ASSERT_TRUE(ParsePlacement(u"1,0,0,0,0,-2147483648,0,2147483647,5", &p));
  EXPECT_EQ(p.normal.left(), -2147483647 - 1);
}

TEST(WindowPlacement, IncompleteOrMalformedTextIsRefusedAndChangesNothing) {
  CWindowPlacement p;
  p.show = 42;
  for (const char16_t* bad :
       {u"", u"1,2,3,4,5,6,7,8", u"1,2,3,4,5,6,7,8,", u"1,2,3,4,5 ,6,7,8,9", u"1;2;3;4;5;6;7;8;9",
        u"1,2,3,4,5,6,7,8,x", u"a,2,3,4,5,6,7,8,9", u"1,2,3,4,5,6,7,-,9",
        u"1,2,3,4,5,6,7,8,2147483648", u"1,,3,4,5,6,7,8,9", u"1,2,3,4,5,6,7,-2147483648,9"}) {
    EXPECT_FALSE(ParsePlacement(bad, &p)) << QString::fromUtf16(bad).toStdString();
  }
  EXPECT_EQ(p.show, 42);
  EXPECT_FALSE(p.valid);
  // A placement never obtained is written as empty text.
  EXPECT_EQ(FormatPlacement(CWindowPlacement()), QString());
  EXPECT_FALSE(GetPlacement(nullptr).valid);
  EXPECT_FALSE(ApplyPlacement(nullptr, p));
}

TEST(WindowPlacement, TopLevelWindowGoesBackWhereItWas) {
  QMainWindow first;
  first.setGeometry(40, 50, 600, 400);
  CWindowPlacement p = GetPlacement(&first);
  ASSERT_TRUE(p.valid);
  EXPECT_EQ(p.show, kShowNormal);
  QMainWindow second;
  CWindowPlacement read;
  ASSERT_TRUE(ParsePlacement(FormatPlacement(p), &read));
  ASSERT_TRUE(ApplyPlacement(&second, read));
  EXPECT_EQ(second.geometry(), QRect(40, 50, 600, 400));
  EXPECT_FALSE(second.isMaximized());

  read.show = kShowMaximized;
  ASSERT_TRUE(ApplyPlacement(&second, read));
  EXPECT_TRUE(second.isMaximized());
  EXPECT_EQ(GetPlacement(&second).show, kShowMaximized);
  // The program never starts iconic.
  read.show = kShowMinimized;
  ASSERT_TRUE(ApplyPlacement(&second, read));
  EXPECT_FALSE(second.isMinimized());
  // An empty rectangle cannot be applied.
  read.normal = QRect(10, 10, 0, 0);
  EXPECT_FALSE(ApplyPlacement(&second, read));
}

TEST(DesktopFilter, DialogFilterBecomesQtFilter) {
  EXPECT_EQ(QtFileFilter(u"VORN Desktops (*.vdt)|*.vdt|All Files (*.*)|*.*||"),
            QStringLiteral("VORN Desktops (*.vdt);;All Files (*.*)"));
  EXPECT_EQ(QtFileFilter(u""), QString());
}

TEST(Options, DefaultsRangesAndSettings) {
  COptions o;
  EXPECT_EQ(o.sel_style, 0);
  EXPECT_EQ(o.splash_time, 6);
  EXPECT_EQ(o.word_tip_time, 5);
  EXPECT_EQ(o.word_tip_delay, 0);
  EXPECT_FALSE(o.loose_matching);
  EXPECT_TRUE(o.IsValid());
  for (auto change :
       {+[](COptions* x) { x->sel_style = 2; }, +[](COptions* x) { x->splash_time = 11; },
        +[](COptions* x) { x->word_tip_time = 1; }, +[](COptions* x) { x->word_tip_time = 121; },
        +[](COptions* x) { x->word_tip_delay = -1; },
        +[](COptions* x) { x->word_tip_delay = 10001; }}) {
    COptions bad;
    change(&bad);
    EXPECT_FALSE(bad.IsValid());
  }

  CIniFile ini;
  COptions custom{1, 0, 120, 10000, true};
  custom.Save(&ini);
  std::u16string text;
  ASSERT_TRUE(ini.GetString(u"Options", u"WordTipDelay", &text));
  EXPECT_EQ(text, u"10000");
  COptions read;
  read.Load(ini);
  EXPECT_EQ(read, custom);
  EXPECT_TRUE(read.UsesYellowSelection());

  // Hand-edited values outside the ranges are kept to them; missing keys
  // keep the defaults.
  CIniFile edited;
  edited.Parse("[Options]\r\nSplashTime=99\r\nWordTipTime=0\r\n");
  COptions clamped;
  clamped.Load(edited);
  EXPECT_EQ(clamped.splash_time, 10);
  EXPECT_EQ(clamped.word_tip_time, 2);
  EXPECT_EQ(clamped.word_tip_delay, 0);
  EXPECT_EQ(clamped.sel_style, 0);
}

TEST(Options, DialogRefusesValuesOutsideTheRanges) {
  COptionsDialog dialog(COptions{1, 3, 7, 250}, nullptr);
  EXPECT_EQ(dialog.GetOptions(), (COptions{1, 3, 7, 250}));
  dialog.GetWordTipTimeBox()->setValue(500);
  dialog.GetWordTipDelayBox()->setValue(-5);
  dialog.GetSplashTimeBox()->setValue(11);
  dialog.GetSelStyleBox()->setCurrentIndex(0);
  const COptions o = dialog.GetOptions();
  EXPECT_EQ(o.word_tip_time, 120);
  EXPECT_EQ(o.word_tip_delay, 0);
  EXPECT_EQ(o.splash_time, 10);
  EXPECT_EQ(o.sel_style, 0);
  EXPECT_TRUE(o.IsValid());
}

}  // namespace
}  // namespace vorn::shell
