// Rich-text runs, paragraph starts and the program-wide tables.
#include "metrics/rich_text.h"

#include <gtest/gtest.h>

#include "platform/u16.h"

namespace vorn {
namespace {

std::u16string FaceNumber(const CFontFormat& font) {
  return platform::ToU16(std::to_string(CRtfFontTable::Get().Find(font.face())));
}

// The text part of a run: after the first blank, before "}" CR LF.
std::u16string RunText(const std::u16string& run) {
  const size_t blank = run.find(u' ');
  return run.substr(blank + 1, run.size() - blank - 4);
}

TEST(RtfRunTest, EscapesControlCharactersBracesAndNonAscii) {
  CFontFormat f(u"Arial", 12, 0);
  EXPECT_EQ(RunText(RtfRun(f, u"a{b}c")), u"a\\'7bb\\'7dc");
  EXPECT_EQ(RunText(RtfRun(f, u"\t\\")), u"\\'09\\'5c");
  EXPECT_EQ(RunText(RtfRun(f, u"\u00e9")), u"\\u233?");
  CFontFormat hebrew(u"Ezra SIL,R2L", 20, 0);
  EXPECT_EQ(RunText(RtfRun(hebrew, u"\u05D0")), u"\\u8235?\\u1488?\\u8236?");
  EXPECT_EQ(RtfRun(f, u""), u"");
}

TEST(RtfRunTest, WritesFontSizeStyleAndColours) {
  CFontFormat f(u"Arial", 12, 0);
  EXPECT_EQ(RtfRun(f, u"x"), u"{\\plain\\f" + FaceNumber(f) + u"\\fs24\\cf1 x}\r\n");
  f.set_magnification(150);
  f.set_weight(700);
  f.set_italic(true);
  f.set_right_to_left(true);
  f.set_colour(5);  // Red
  EXPECT_EQ(RtfRun(f, u" ", true),
            u"{\\plain\\f" + FaceNumber(f) + u"\\fs36\\rtlch\\b\\i\\cf5\\super  }\r\n");

  CFontFormat ground(u"Arial", 10, 0);
  ground.set_background(9, true);  // Blue
  EXPECT_NE(RtfRun(ground, u"x").find(u"\\cf1\\cb9 "), std::u16string::npos);
  // White text on a coloured ground becomes coloured text on white.
  ground.set_colour(kColourWhite);
  EXPECT_NE(RtfRun(ground, u"x").find(u"\\cf9\\cb2 "), std::u16string::npos);

  // A font whose face was never registered still names the default font.
  CFontFormat none(u"", 12, 0);
  EXPECT_EQ(RtfRun(none, u"x").substr(0, 11), u"{\\plain\\f0\\");
}

TEST(RtfTest, ParagraphStarts) {
  EXPECT_EQ(RtfParagraphStart(false, 0, 0), u"\\pard\r\n");
  EXPECT_EQ(RtfParagraphStart(false, 360, 0), u"\\pard\\fi360\\li0\r\n");
  EXPECT_EQ(RtfParagraphStart(false, 0, 1000), u"\\pard\\fi-1000\\li1000\r\n");
  EXPECT_EQ(RtfParagraphStart(true, 720, 720), u"\\pard\\qr\\rtlpar\\li720\r\n");
}

TEST(RtfTest, ColourTableStartsWithTheNamedColoursAndGrows) {
  CRtfColourTable& table = CRtfColourTable::Get();
  EXPECT_EQ(table.IndexOf(0), 1);  // Default is black, entry 0 is automatic
  EXPECT_EQ(table.IndexOf(15), 15);
  EXPECT_EQ(table.IndexOf(MakeRgb(255, 255, 0)), 15);
  const ColourValue odd = MakeRgb(1, 2, 3);
  const int at = table.IndexOf(odd);
  EXPECT_GE(at, kNamedColourCount);
  EXPECT_EQ(table.IndexOf(odd), at);
  EXPECT_EQ(RtfColourIndex(odd), platform::ToU16(std::to_string(at)));
  const std::u16string text = table.GetText();
  EXPECT_EQ(text.substr(0, 43), u"{\\colortbl ;\r\n\\red0\\green0\\blue0;\r\n\\red255\\");
  EXPECT_NE(text.find(u"\\red1\\green2\\blue3;\r\n"), std::u16string::npos);
  EXPECT_EQ(text.substr(text.size() - 5), u"}\r\n\r\n");
}

TEST(RtfTest, DocumentFrameAndConversions) {
  CFontFormat f(u"Gentium Plus", 12, 0);
  const std::u16string start = RtfDocumentStart();
  EXPECT_EQ(start.substr(0, 54),
            u"{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1033\r\n{\\fonttbl\r\n");
  EXPECT_NE(start.find(u"\\fnil Gentium Plus;}\r\n"), std::u16string::npos);
  EXPECT_NE(start.find(u"}\r\n\r\n{\\colortbl ;"), std::u16string::npos);
  EXPECT_EQ(RtfDocumentEnd(), u"}\r\n");
  EXPECT_EQ(PixelsToTwips(48, 96), 720);
  EXPECT_EQ(PixelsToTwips(1, 96), 15);
  EXPECT_EQ(RtfToBytes(u"a\u05D0"), std::string("a\xD0"));
}

}  // namespace
}  // namespace vorn
