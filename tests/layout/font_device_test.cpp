// The deterministic text device, and fonts measured and drawn through it.
#include <gtest/gtest.h>

#include "device/text_device.h"
#include "platform/message_sink.h"
#include "textdb/font_format.h"
#include "textdb/rtf_tables.h"

namespace vorn {
namespace {

TEST(MulDivTest, RoundsHalfAwayFromZeroWithoutOverflow) {
  EXPECT_EQ(MulDiv(120, 150, 100), 180);
  EXPECT_EQ(MulDiv(80, 96, 720), 11);  // 10.67
  EXPECT_EQ(MulDiv(5, 1, 2), 3);       // 2.5
  EXPECT_EQ(MulDiv(-5, 1, 2), -3);
  EXPECT_EQ(MulDiv(2000000000, 1440, 96000), 30000000);
  EXPECT_EQ(MulDiv(1, 2, 0), -1);
}

TEST(TextDeviceTest, MetricsAndWidthsFollowTheFontHeight) {
  TextMetrics m = CTextDevice::MetricsFor(16);
  EXPECT_EQ(m.ascent, 13);
  EXPECT_EQ(m.descent, 3);
  EXPECT_EQ(m.height, 16);
  EXPECT_EQ(m.external_leading, 2);
  EXPECT_EQ(CTextDevice::TextWidth(16, u"abc"), 24);
  // Rounded once over the whole text: 3 x 6.5.
  EXPECT_EQ(CTextDevice::TextWidth(13, u"abc"), 20);
  // Combining marks, embedding marks and surrogate halves take no room.
  EXPECT_EQ(CTextDevice::TextWidth(16, u"\u05D1\u05B0\u05BC"), 8);
  EXPECT_EQ(CTextDevice::TextWidth(16, u"\u202B\u05D0\u202C"), 8);
  EXPECT_EQ(CTextDevice::TextWidth(16, u"\U0001D400x"), 16);
  EXPECT_EQ(CTextDevice::TextWidth(16, u""), 0);
}

TEST(TextDeviceTest, RecordsDrawingInDeviceCoordinates) {
  CTextDevice d;
  auto font = d.CreateFont({u"Arial", 20, 150, 700, false, 1});
  ASSERT_NE(font, nullptr);
  EXPECT_EQ(d.SelectFont(font.get()), nullptr);
  d.SetTextColour(RgbOf(1, 2, 3));
  d.SetViewportOrigin({100, 50});
  d.DrawText(5, 6, u"ab");
  d.InvertRect({0, 0, 10, 10});
  d.DrawLine(1, 2, 3, 4, {RgbOf(240, 240, 240), 3, PenStyle::kSolid});
  ASSERT_EQ(d.calls().size(), 3u);
  const DrawCall& text = d.calls()[0];
  EXPECT_EQ(text.kind, DrawCall::Kind::kText);
  EXPECT_EQ(text.rect, (Rect{105, 56, 125, 76}));
  EXPECT_EQ(text.font.weight, 700);
  EXPECT_EQ(text.colour, RgbOf(1, 2, 3));
  EXPECT_EQ(d.calls()[1].rect, (Rect{100, 50, 110, 60}));
  EXPECT_EQ(d.calls()[2].pen.width, 3);
  d.SetMissingFace(u"Nowhere");
  EXPECT_EQ(d.CreateFont({u"Nowhere", 20, 0, 0, false, 1}), nullptr);
}

TEST(FontFormatTest, FaceSuffixesAreTakenFromTheEnd) {
  CFontFormat a(u"Tamvel,R2L,I", 12, 0);
  EXPECT_EQ(a.face(), u"Tamvel");
  EXPECT_TRUE(a.italic());
  EXPECT_TRUE(a.right_to_left());
  EXPECT_EQ(a.charset(), 2);

  CFontFormat b(u"Tamvel,I,R2L", 12, 0);
  EXPECT_EQ(b.face(), u"Tamvel,I");
  EXPECT_FALSE(b.italic());
  EXPECT_TRUE(b.right_to_left());
  EXPECT_EQ(b.charset(), 1);

  CFontFormat c(u"Qyx Symbols", 12, 0);
  EXPECT_EQ(c.charset(), 2);
  // New faces enter the program's rich-text font table with their charset.
  const int n = CRtfFontTable::Get().Find(u"Qyx Symbols");
  ASSERT_GE(n, 0);
  EXPECT_NE(CRtfFontTable::Get().GetEntry(n).find(u"\\fcharset2 Qyx Symbols;}"),
            std::u16string::npos);
  EXPECT_EQ(CRtfFontTable::Get().Register(u"Qyx Symbols", 1), n);
}

TEST(FontFormatTest, DeviceFontsScaleWithMagnificationAndResolution) {
  CTextDevice d(96);
  CFontFormat f(u"Arial", 12, 0);
  EXPECT_TRUE(f.Attach(&d, 150));
  FontDescription normal = f.GetDeviceDescription(false);
  FontDescription small = f.GetDeviceDescription(true);
  EXPECT_EQ(normal.point_tenths, 180);  // 18 points
  EXPECT_EQ(normal.pixel_height, 24);
  EXPECT_EQ(small.point_tenths, 120);  // two thirds: 12 points
  EXPECT_EQ(small.pixel_height, 16);

  // The same resolution and magnification keep the fonts.
  EXPECT_EQ(f.GetExtent(u"xx").cx, 24);
  const size_t made = d.fonts_made().size();
  EXPECT_FALSE(f.Attach(&d, 150));
  EXPECT_FALSE(f.Attach(&d, 0));
  f.GetExtent(u"xx");
  EXPECT_EQ(d.fonts_made().size(), made);

  CTextDevice printer(600);
  EXPECT_TRUE(f.Attach(&printer, 0));
  EXPECT_EQ(f.GetDeviceDescription(false).pixel_height, 150);
  EXPECT_TRUE(f.Attach(&printer, 100));
  EXPECT_TRUE(f.Attach(nullptr, 0));
  EXPECT_EQ(f.GetExtent(u"x"), (Size{0, 0}));
  EXPECT_EQ(f.GetTextHeight(), 0);
}

TEST(FontFormatTest, MeasuresAreCachedUntilTheFontChanges) {
  CTextDevice d;
  CFontFormat f(u"Arial", 12, 0);
  f.Attach(&d, 100);
  EXPECT_EQ(f.GetXWidth(), 8);
  EXPECT_EQ(f.GetTextHeight(), 18);  // 16 + external leading 2
  EXPECT_EQ(f.GetMeasures().ascent, 13);
  f.set_height(240);
  EXPECT_EQ(f.GetXWidth(), 16);
  EXPECT_EQ(f.GetExtent(u""), (Size{0, 0}));
  // The Hebrew section marks always measure in the small font.
  EXPECT_EQ(f.GetExtent(u"\u05E1").cy, 21);
  EXPECT_EQ(f.GetExtent(u"\u05E1\u05E1").cy, 32);
}

TEST(FontFormatTest, DrawsInItsColoursAndRestoresTheDevice) {
  CTextDevice d;
  CFontFormat f(u"Arial", 12, 9);  // Blue
  f.set_background(kColourYellow, true);
  f.Attach(&d, 100);
  f.DrawText(10, 20, u"ab");
  f.DrawText(10, 40, u"\u05E1");
  ASSERT_EQ(d.calls().size(), 2u);
  const DrawCall& c = d.calls()[0];
  EXPECT_EQ(c.text, u"ab");
  EXPECT_EQ(c.rect, (Rect{10, 20, 26, 36}));
  EXPECT_EQ(c.colour, MakeRgb(0, 0, 255));
  EXPECT_EQ(c.background, MakeRgb(255, 255, 0));
  EXPECT_TRUE(c.opaque);
  EXPECT_EQ(c.font.face, u"Arial");
  // A section mark: small, lowered by 2/9 of the text height.
  EXPECT_EQ(d.calls()[1].rect.top, 44);
  EXPECT_EQ(d.calls()[1].font.pixel_height, 11);
  // Colours and font went back to what the device had.
  EXPECT_EQ(d.SetTextColour(0), 0u);
  EXPECT_FALSE(d.SetOpaqueBackground(false));
  EXPECT_EQ(d.SelectFont(nullptr), nullptr);

  d.ClearCalls();
  EXPECT_EQ(f.DrawTextOnBaseline(5, 30, u"ab"), 16);
  EXPECT_EQ(d.calls()[0].rect.top, 17);
  f.DrawText(0, 0, u"");
  EXPECT_EQ(d.calls().size(), 1u);
  EXPECT_EQ(f.DrawTextInRect(u"ab", {0, 0, 100, 40}, kTextCenter | kTextVCenter), 16);
  EXPECT_EQ(d.calls().back().rect, (Rect{42, 12, 58, 28}));

  CFontFormat rtl(u"Ezra SIL,R2L", 20, 0);
  rtl.Attach(&d, 100);
  rtl.DrawText(0, 0, u"\u05D0");
  EXPECT_EQ(d.calls().back().text, u"\u202B\u05D0\u202C");
}

TEST(FontFormatTest, MissingFaceIsReportedOnceAndDrawsInTheCurrentFont) {
  platform::CRecordingMessageSink sink;
  SetFontMessageSink(&sink);
  CTextDevice d;
  d.SetMissingFace(u"No Such Face");
  CFontFormat f(u"No Such Face", 24, 0);
  f.Attach(&d, 100);
  // The device's default font (16 pixels) stands in.
  EXPECT_EQ(f.GetExtent(u"ab").cx, 16);
  f.DrawText(0, 0, u"ab");
  f.GetExtent(u"abc");
  SetFontMessageSink(nullptr);
  ASSERT_EQ(sink.messages().size(), 1u);
  EXPECT_EQ(sink.messages()[0].kind, platform::CRecordingMessageSink::Kind::kWarning);
  EXPECT_EQ(sink.messages()[0].text, u"Font \"No Such Face\" not found!");
  EXPECT_EQ(d.calls()[0].font.face, u"");
}

TEST(FontFormatTest, CopiesCarryTheDescriptionButNoDevice) {
  CTextDevice d;
  CFontFormat f(u"Arial", 12, 5);
  f.Attach(&d, 130);
  CFontFormat g(f);
  EXPECT_EQ(g, f);
  EXPECT_EQ(g.device(), nullptr);
  EXPECT_EQ(g.magnification(), 130);
  EXPECT_EQ(g.GetXWidth(), 0);
  g.set_weight(700);
  EXPECT_FALSE(g == f);
  g = f;
  EXPECT_EQ(g, f);
  EXPECT_EQ(f.GetDrawnText(u"a"), u"a");
}

TEST(FontFormatTest, LoadFromSettingsKeepsTheDevice) {
  CTextDevice d;
  CFontFormat f;
  f.Attach(&d, 100);
  f.LoadFromSettings({{u"Face", u"Gentium Plus"},
                      {u"Size", u"18"},
                      {u"BkCol", u"yellow"},
                      {u"Colour", u"NoColour"},
                      {u"Style", u"BI"}});
  EXPECT_EQ(f.face(), u"Gentium Plus");
  EXPECT_EQ(f.height(), 180);
  EXPECT_TRUE(f.opaque());
  EXPECT_EQ(f.background(), kColourYellow);
  EXPECT_EQ(f.colour(), 0u);
  EXPECT_TRUE(f.bold() && f.italic());
  EXPECT_EQ(f.device(), &d);
  EXPECT_EQ(f.GetXWidth(), 12);
  f.LoadFromSettings({{u"Size", u"99999999999"}});
  EXPECT_EQ(f.height(), 120);
}

}  // namespace
}  // namespace vorn
