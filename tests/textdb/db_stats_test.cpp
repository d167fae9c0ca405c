#include "textdb/db_stats.h"

#include <gtest/gtest.h>

namespace vorn {
namespace {

TEST(DBStatsTest, KeysNestByIndentation) {
  CVornDBStats s("/tmp/x");
  ASSERT_TRUE(
      s.LoadFromText("# a comment: ignored\n"
                     "Version: 4.01 \r\n"
                     "Name: GNT\n"
                     "NoColonHere\n"
                     "#Key: 1\n"
                     "InterlinearLines:\n"
                     "  Text:\n"
                     "    Font: Face=\"Gentium\" Size=\"14\"\n"
                     "\tTlit:\n"
                     "  Text :  spaced  \n"
                     "Books: MAT  MRK LUK\n"));
  EXPECT_EQ(s.GetFolder(), "/tmp/x/");
  EXPECT_EQ(s.GetValue("/Name"), u"GNT");
  EXPECT_EQ(s.GetValue("/InterlinearLines/Text/Font"), u"Face=\"Gentium\" Size=\"14\"");
  // Trailing white space of a key stays part of it.
  EXPECT_EQ(s.GetValue("/InterlinearLines/Tlit/Text "), u"spaced");
  EXPECT_FALSE(s.HasKey("/NoColonHere"));
  EXPECT_FALSE(s.HasKey("/#Key"));
  std::vector<std::string> children;
  EXPECT_EQ(s.GetChildren("/InterlinearLines", &children), 2u);
  EXPECT_EQ(children, (std::vector<std::string>{"Text", "Tlit"}));
  std::vector<std::string> with_slash;
  s.GetChildren("/InterlinearLines/", &with_slash);
  EXPECT_EQ(children, with_slash);
  EXPECT_EQ(s.GetBookCount(), 3);
  EXPECT_EQ(s.GetBookCode(0), u"");
  EXPECT_EQ(s.GetBookCode(2), u"MRK");
  EXPECT_EQ(s.GetBookCode(4), u"");
  EXPECT_EQ(s.GetBookNumber(u"LUK"), 3);
  EXPECT_EQ(s.GetBookNumber(u"JHN"), 0);
}

TEST(DBStatsTest, ListPiecesOfWhiteSpaceKeepTheirPlace) {
  CVornDBStats s("/tmp");
  ASSERT_TRUE(s.LoadFromText("Version: 4.01\nBooks: MAT \t MRK  LUK\nNames: a,,b, ,c\n"));
  // Empty pieces between separators are skipped; a piece of white space
  // alone is a book without a code, so MRK stays book 3.
  EXPECT_EQ(s.GetBookCount(), 4);
  EXPECT_EQ(s.GetBookCode(2), u"");
  EXPECT_EQ(s.GetBookNumber(u"MRK"), 3);
  EXPECT_EQ(s.GetBookNumber(u"LUK"), 4);
  std::vector<std::u16string> names;
  EXPECT_EQ(s.GetList("/Names", &names, u","), 4u);
  EXPECT_EQ(names, (std::vector<std::u16string>{u"a", u"b", u"", u"c"}));
}

TEST(DBStatsTest, ChildWithAnEmptyNameIsListed) {
  CVornDBStats s("/tmp");
  ASSERT_TRUE(s.LoadFromText("Version: 4.01\nFonts:\n A: 1\n : 2\n B: 3\n"));
  std::vector<std::string> children;
  EXPECT_EQ(s.GetChildren("/Fonts", &children), 3u);
  EXPECT_EQ(children, (std::vector<std::string>{"A", "", "B"}));
  EXPECT_EQ(s.GetValue("/Fonts/"), u"2");
}

TEST(DBStatsTest, VersionMustBeExactAfterTrimming) {
  CVornDBStats s("/tmp/x/");
  EXPECT_FALSE(s.LoadFromText("Version: 4.1\n"));
  EXPECT_FALSE(s.LoadFromText("Name: X\n"));
  EXPECT_TRUE(s.LoadFromText("Version:\t4.01\t\n"));
  EXPECT_EQ(s.GetFolder(), "/tmp/x/");
}

TEST(DBStatsTest, BytesAreLatin1Characters) {
  CVornDBStats s("/tmp");
  ASSERT_TRUE(s.LoadFromText("Version: 4.01\nTitle: Caf\xe9\n"));
  EXPECT_EQ(s.GetTitle(), u"Caf\u00e9");
}

TEST(DBStatsTest, LaterDuplicateReplacesButIsListedTwice) {
  CVornDBStats s("/tmp");
  ASSERT_TRUE(s.LoadFromText("Version: 4.01\nA:\n B: 1\nA:\n B: 2\n"));
  EXPECT_EQ(s.GetValue("/A/B"), u"2");
  std::vector<std::string> children;
  EXPECT_EQ(s.GetChildren("/A", &children), 2u);
}

TEST(DBStatsTest, CopyrightsStopAtFirstGap) {
  CVornDBStats s("/tmp");
  ASSERT_TRUE(s.LoadFromText("Version: 4.01\nCopyright: a\nCopyright1: b\nCopyright3: d\n"));
  std::vector<std::u16string> c;
  EXPECT_TRUE(s.GetCopyrights(&c));
  EXPECT_EQ(c, (std::vector<std::u16string>{u"a", u"b"}));
}

TEST(DBStatsTest, AttributesKeepWhatParsedBeforeAFault) {
  AttributeMap m;
  EXPECT_TRUE(ParseAttributes(u"  Face=\"SBL Hebrew\"\tDir=\"R2L\" ", &m));
  EXPECT_EQ(m[u"Face"], u"SBL Hebrew");
  EXPECT_EQ(m[u"Dir"], u"R2L");
  AttributeMap bad;
  EXPECT_FALSE(ParseAttributes(u"Face=\"Arial\" Size=14", &bad));
  EXPECT_EQ(bad.size(), 1u);
  EXPECT_EQ(bad[u"Face"], u"Arial");
  AttributeMap open;
  EXPECT_FALSE(ParseAttributes(u"Face=\"Arial", &open));
  EXPECT_TRUE(open.empty());
}

TEST(DBStatsTest, FontsStartAsArial12) {
  CVornDBStats s("/tmp");
  ASSERT_TRUE(s.LoadFromText(
      "Version: 4.01\nTagLabelFont: Size=\"2\" Colour=\"dkblue\" Style=\"BI\" Dir=\"R2L\"\n"));
  CFontFormat f = s.GetTagLabelFont();
  EXPECT_EQ(f.face(), u"Arial");
  EXPECT_EQ(f.height(), 120);  // sizes of 2 or less are ignored
  EXPECT_EQ(f.colour(), 10u);  // colour names ignore case
  EXPECT_TRUE(f.bold());
  EXPECT_TRUE(f.italic());
  EXPECT_TRUE(f.right_to_left());
}

TEST(FontFormatTest, FaceSuffixesComeOffTheEndItalicFirst) {
  CFontFormat a;
  a.SetFace(u"Tamvel,R2L,I");
  EXPECT_EQ(a.face(), u"Tamvel");
  EXPECT_TRUE(a.italic());
  EXPECT_TRUE(a.right_to_left());
  EXPECT_EQ(a.charset(), 2);
  CFontFormat b;
  b.SetFace(u"Tamvel,I,R2L");
  EXPECT_EQ(b.face(), u"Tamvel,I");
  EXPECT_FALSE(b.italic());
  EXPECT_TRUE(b.right_to_left());
  CFontFormat c;
  c.SetFace(u"Qyx Greek");
  EXPECT_EQ(c.charset(), 2);
}

TEST(FontFormatTest, DrawnTextEmbedsRightToLeft) {
  CFontFormat rtl;
  rtl.set_right_to_left(true);
  EXPECT_EQ(GetDrawnText(rtl, u"abc"), u"\u202Babc\u202C");
  EXPECT_EQ(GetDrawnText(rtl, u" "), u" ");
  EXPECT_EQ(GetDrawnText(rtl, u"\u202B\u202Babc\u202C"), u"abc");
  EXPECT_EQ(GetDrawnText(CFontFormat(), u"abc"), u"abc");
}

TEST(ColourTest, IndexesAndValues) {
  EXPECT_EQ(FindColourName(u"YELLOW"), 15);
  EXPECT_EQ(FindColourName(u"Mauve"), -1);
  EXPECT_EQ(ColourIndex(MakeRgb(128, 128, 0)), 16);
  EXPECT_EQ(ColourIndex(MakeRgb(1, 2, 3)), 0);
  EXPECT_EQ(ColourIndex(5), 5);
  EXPECT_EQ(ResolveColour(5), MakeRgb(255, 0, 0));
}

}  // namespace
}  // namespace vorn
