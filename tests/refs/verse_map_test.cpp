#include "refs/verse_map.h"

#include <gtest/gtest.h>

#include "refs/book_table.h"
#include "refs/refs_test_util.h"

namespace vorn {
namespace {

using platform::CRecordingMessageSink;
using testing::RefsTestData;

int32_t Code(const char16_t* book, int chapter, int verse) {
  return MakeVerseCode(BookIndexFromCode(book), chapter, verse);
}

TEST(VerseMapTest, VerseCodes) {
  EXPECT_EQ(Code(u"GEN", 1, 1), 10010);
  EXPECT_EQ(Code(u"REV", 22, 21), 930220210);
  int b, c, v;
  DecodeVerseCode(930220210, &b, &c, &v);
  EXPECT_EQ(b, 93);
  EXPECT_EQ(c, 22);
  EXPECT_EQ(v, 21);
  // The "+ 1" end of a single verse decodes as the verse itself.
  DecodeVerseCode(Code(u"PSA", 50, 3) + 1, &b, &c, &v);
  EXPECT_EQ(c, 50);
  EXPECT_EQ(v, 3);
}

TEST(VerseMapTest, ReadsLinesAndReportsBadOnes) {
  CRecordingMessageSink sink;
  CVerseMap map;
  map.ReadText(
      "# Psalms\r\n"
      "\r\n"
      "PSA 51:1 = PSA 50:3\r\n"
      "no equals sign here\n"
      "PSA 52:1 =\n"
      "PS 53:1 = PSA 52:3\n"
      "PSA 53:1 = XYZ 52:3\n"
      "PSA 0:1 = PSA 52:3\n"
      "PSA 10:1-18 = PSA 9:22-39\n"
      "psa 3:1-4:2 = PSA 3:2\n"
      "PSA  7:1 =PSA 7:1000\n",
      &sink);
  EXPECT_EQ(map.GetLineCount(), 3);
  ASSERT_EQ(sink.messages().size(), 4u);
  EXPECT_EQ(sink.messages()[0].kind, CRecordingMessageSink::Kind::kWarning);
  EXPECT_EQ(sink.messages()[0].text, u"Bad verse mapping: PS 53:1  =  PSA 52:3");
  EXPECT_EQ(sink.messages()[1].text, u"Bad verse mapping: PSA 53:1  =  XYZ 52:3");
  EXPECT_EQ(sink.messages()[3].text, u"Bad verse mapping: PSA  7:1  = PSA 7:1000");

  // Own scheme to common and back; the common scheme's single verse.
  EXPECT_EQ(map.ToCommon(Code(u"PSA", 51, 1)), Code(u"PSA", 50, 3));
  EXPECT_EQ(map.FromCommon(Code(u"PSA", 50, 3)), Code(u"PSA", 51, 1));
  // Only the verse itself, not the next one, belongs to a single verse.
  EXPECT_EQ(map.ToCommon(Code(u"PSA", 51, 2)), Code(u"PSA", 51, 2));
  // A range shifts by the offset; its ends map onto the other side's ends.
  EXPECT_EQ(map.ToCommon(Code(u"PSA", 10, 5)), Code(u"PSA", 9, 26));
  EXPECT_EQ(map.ToCommon(Code(u"PSA", 10, 1)), Code(u"PSA", 9, 22));
  EXPECT_EQ(map.ToCommon(Code(u"PSA", 10, 18)), Code(u"PSA", 9, 39));
  EXPECT_EQ(map.FromCommon(Code(u"PSA", 9, 30)), Code(u"PSA", 10, 9));
  EXPECT_EQ(map.ToCommon(Code(u"PSA", 10, 19)), Code(u"PSA", 10, 19));
  // A range over a chapter end onto one verse: the start maps to it, a verse
  // inside shifts from it, and the end reaches the verse again.
  EXPECT_EQ(map.ToCommon(Code(u"PSA", 3, 1)), Code(u"PSA", 3, 2));
  EXPECT_EQ(map.ToCommon(Code(u"PSA", 4, 2)), Code(u"PSA", 3, 2) + 1);
  // Codes outside every line pass unchanged.
  EXPECT_EQ(map.ToCommon(Code(u"GEN", 1, 1)), Code(u"GEN", 1, 1));
  EXPECT_EQ(CVerseMap().FromCommon(Code(u"GEN", 1, 1)), Code(u"GEN", 1, 1));
}

TEST(VerseMapTest, SmallestStartWinsThenFileOrder) {
  CVerseMap map;
  map.ReadText("PSA 9:5-9 = PSA 9:105-109\nPSA 9:1-9 = PSA 9:201-209\nPSA 9:1-3 = PSA 9:301-303\n",
               nullptr);
  EXPECT_EQ(map.ToCommon(Code(u"PSA", 9, 6)), Code(u"PSA", 9, 206));
  EXPECT_EQ(map.ToCommon(Code(u"PSA", 9, 2)), Code(u"PSA", 9, 202));
}

TEST(VerseMapTest, AVeryLongLineDoesNotEndTheReading) {
  std::string text = "# " + std::string(10000, 'x') + "\nGEN 1:1 = GEN 1:2\n";
  CVerseMap map;
  map.ReadText(text, nullptr);
  EXPECT_EQ(map.GetLineCount(), 1);
}

// "Heb" numbers a psalm's verses as the common scheme does not; "Common"
// is the common scheme itself (a map without lines).
class MapReferenceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    data_.WriteMap("Heb", "# Hebrew numbering\n\nPSA 51:1 = PSA 50:3\nPSA 10:1-18 = PSA 9:22-39\n");
    data_.WriteMap("Common", "# no differences\n");
    src_ = data_.Add("SRC", {"GEN", "PSA"},
                     {{1, 1, u"1", 1},
                      {2, 10, u"1", 1},
                      {2, 10, u"5", 1},
                      {2, 10, u"6a", 1},
                      {2, 51, u"1", 1},
                      {2, 51, u"2", 1}},
                     u"Heb");
    tgt_ = data_.Add("TGT", {"PSA", "GEN"},
                     {{1, 9, u"22", 1},
                      {1, 9, u"26", 1},
                      {1, 9, u"27", 1},
                      {1, 50, u"3", 1},
                      {1, 50, u"4", 1},
                      {2, 1, u"1", 1}},
                     u"Common");
  }

  RefsTestData data_;
  CVornDB* src_ = nullptr;
  CVornDB* tgt_ = nullptr;
};

TEST_F(MapReferenceTest, CarriesReferencesBothWays) {
  CBibleRef r(src_, 2, 51, 1);
  ASSERT_TRUE(r.HasEntry());
  CBibleRef there(r, tgt_);
  EXPECT_TRUE(there.HasEntry());
  EXPECT_EQ(there.GetDatabase(), tgt_);
  EXPECT_EQ(there.GetKeyString(), u"PSA 50:3");
  EXPECT_EQ(there.GetBookNumber(), 1);
  CBibleRef back(there, src_);
  EXPECT_TRUE(back.IsEqual(r));

  CBibleRef shifted(CBibleRef(src_, 2, 10, 5), tgt_);
  EXPECT_EQ(shifted.GetKeyString(), u"PSA 9:26");
  EXPECT_EQ(CBibleRef(shifted, src_).GetKeyString(), u"PSA 10:5");
  // Book numbers differ between the two; the book goes by its code.
  CBibleRef gen(CBibleRef(src_, 1, 1, 1), tgt_);
  EXPECT_EQ(gen.GetKeyString(), u"GEN 1:1");
  EXPECT_EQ(gen.GetBookNumber(), 2);
  // The label's letter is not carried: 10:6a arrives as 9:27.
  EXPECT_EQ(CBibleRef(CBibleRef(src_, 2, 10, u"6a"), tgt_).GetKeyString(), u"PSA 9:27");
  // The same database: a plain copy.
  EXPECT_EQ(GetVerseMap(src_)->MapReference(r, src_).GetVerseEntry(), r.GetVerseEntry());
  EXPECT_TRUE(data_.sink().messages().empty());
}

TEST_F(MapReferenceTest, SameSchemeAndNoSchemeKeepTheNumbers) {
  CVornDB* heb2 = data_.Add("HEB2", {"PSA"}, {{1, 10, u"5", 1}, {1, 51, u"1", 1}}, u"Heb");
  CVornDB* plain = data_.Add(
      "PLAIN", {"PSA"}, {{1, 9, u"26", 1}, {1, 10, u"5", 1}, {1, 50, u"3", 1}, {1, 51, u"1", 1}});
  EXPECT_EQ(CBibleRef(CBibleRef(src_, 2, 51, 1), heb2).GetKeyString(), u"PSA 51:1");
  EXPECT_EQ(CBibleRef(CBibleRef(src_, 2, 10, 5), heb2).GetKeyString(), u"PSA 10:5");
  EXPECT_EQ(GetVerseMap(heb2)->GetLineCount(), GetVerseMap(src_)->GetLineCount());
  EXPECT_EQ(GetVerseMap(plain)->GetLineCount(), 0);
  EXPECT_EQ(CBibleRef(CBibleRef(heb2, 1, 10, 5), plain).GetKeyString(), u"PSA 9:26");
  EXPECT_EQ(CBibleRef(CBibleRef(plain, 1, 9, 26), src_).GetKeyString(), u"PSA 10:5");
  EXPECT_EQ(CBibleRef(CBibleRef(plain, 1, 10, 5), tgt_).GetKeyString(), u"PSA 50:3");  // nearest
  // A database without a scheme reads no file and says nothing.
  EXPECT_TRUE(data_.sink().messages().empty());
}

TEST_F(MapReferenceTest, MissingMapFileIsReportedOnceAndMapsNothing) {
  CVornDB* lost = data_.Add("LOST", {"PSA"}, {{1, 51, u"1", 1}, {1, 50, u"3", 1}}, u"Nowhere");
  // Its own numbers are taken as the common scheme's.
  EXPECT_EQ(CBibleRef(CBibleRef(lost, 1, 50, 3), src_).GetKeyString(), u"PSA 51:1");
  EXPECT_EQ(CBibleRef(CBibleRef(src_, 2, 51, 1), lost).GetKeyString(), u"PSA 50:3");
  ASSERT_EQ(data_.sink().messages().size(), 1u);
  EXPECT_EQ(data_.sink().messages()[0].text, u"Couldn't read Verse map file: " +
                                                 platform::ToU16(data_.root()) +
                                                 u"/VerseMaps/Nowhere.vrs");
  EXPECT_EQ(CVerseMap::MapPathFor(lost), data_.root() + "/VerseMaps/Nowhere.vrs");
}

TEST_F(MapReferenceTest, BooksOutsideTheTableAreLookedUpAsTheyStand) {
  CVornDB* a = data_.Add("XA", {"XYZ"}, {{1, 1, u"1", 1}, {1, 1, u"2", 1}}, u"Heb");
  CVornDB* b = data_.Add("XB", {"GEN", "XYZ"}, {{1, 1, u"1", 1}, {2, 1, u"1", 1}, {2, 1, u"2", 1}});
  CBibleRef there(CBibleRef(a, 1, 1, 2), b);
  ASSERT_TRUE(there.HasEntry());
  EXPECT_EQ(there.GetKeyString(), u"XYZ 1:2");
  EXPECT_EQ(there.GetBookNumber(), 2);
}

TEST_F(MapReferenceTest, SchemeNamesThatLeaveTheMapFolderAreRefused) {
  data_.WriteMap("../evil", "PSA 51:1 = PSA 1:1\n");
  CVornDB* evil = data_.Add("EVIL", {"PSA"}, {{1, 51, u"1", 1}}, u"../VerseMaps/Heb");
  EXPECT_EQ(GetVerseMap(evil)->GetLineCount(), 0);
  EXPECT_EQ(CVerseMap::MapPathFor(evil), "");
  EXPECT_EQ(data_.sink().messages().size(), 1u);
}

}  // namespace
}  // namespace vorn
