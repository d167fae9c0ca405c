#include "refs/bible_ref.h"

#include <gtest/gtest.h>

#include "refs/book_table.h"
#include "refs/refs_test_util.h"

namespace vorn {
namespace {

using testing::RefsTestData;

TEST(BibleRefTest, UnboundConstructionAndPrintedForms) {
  CBibleRef a(u"1 Samuel", 3, 4);
  EXPECT_EQ(a.GetBookCode(), u"1SA");
  EXPECT_EQ(a.GetBookNumber(), 0);
  EXPECT_EQ(a.GetDatabase(), nullptr);
  EXPECT_FALSE(a.HasEntry());
  EXPECT_EQ(a.FormatShort(), u"1Sa 3:4");
  EXPECT_EQ(a.FormatLong(), u"1 Samuel 3:4");
  EXPECT_EQ(a.GetKeyString(), u"1SA 3:4");

  CBibleRef s(u"sng", 2, u"1");
  EXPECT_EQ(s.FormatShort(), u"Sng 2:1");
  EXPECT_EQ(s.FormatLong(), u"Song of Songs 2:1");

  CBibleRef b(u"PSA", 9, u"21B");
  EXPECT_EQ(b.GetVerseLabel(), u"21b");
  EXPECT_EQ(b.GetVerse(), 21);
  EXPECT_EQ(CBibleRef(u"PSA", 9, u"5").GetVerseLabel(), u"5");
  CBibleRef r(u"PSA", 9, u"12-14");
  EXPECT_EQ(r.GetVerse(), 12);
  EXPECT_EQ(r.GetVerseLabel(), u"12-14");

  // An unknown book keeps no code.
  CBibleRef u(u"Gn", 1, 1);
  EXPECT_EQ(u.GetBookCode(), u"");
  EXPECT_EQ(u.FormatLong(), u"No Book! 1:1");
  EXPECT_EQ(CBibleRef().GetKeyString(), u" 0:0");
}

TEST(BibleRefTest, KeyStringRoundTrip) {
  CBibleRef r = CBibleRef::ParseKeyString(u"PSA 9:21a");
  EXPECT_EQ(r.GetBookCode(), u"PSA");
  EXPECT_EQ(r.GetChapter(), 9);
  EXPECT_EQ(r.GetVerse(), 21);
  EXPECT_EQ(r.GetKeyString(), u"PSA 9:21a");
  EXPECT_EQ(CBibleRef::ParseKeyString(u"gen 150:12-14").GetKeyString(), u"GEN 150:12-14");
  EXPECT_EQ(CBibleRef::ParseKeyString(u"GEN -1:3").GetChapter(), -1);
  // Short or malformed text gives what it can, never a crash.
  for (const char16_t* bad : {u"", u"G", u"GEN", u"GEN ", u"GEN 12", u"GEN 12:", u"XYZ 1:1"}) {
    CBibleRef x = CBibleRef::ParseKeyString(bad);
    EXPECT_FALSE(x.HasEntry());
  }
  EXPECT_EQ(CBibleRef::ParseKeyString(u"GEN 12").GetChapter(), 12);
  EXPECT_EQ(CBibleRef::ParseKeyString(u"XYZ 1:1").GetBookCode(), u"");
}

TEST(BibleRefTest, ParsesEveryPrintedFormOfEveryBook) {
  for (int i = 0; i < kBookCount; ++i) {
    CBibleRef ref(BookCodeFromIndex(i), 12, u"3a");
    for (const std::u16string& text : {ref.FormatLong(), ref.FormatShort(), ref.GetKeyString()}) {
      CBibleRef back;
      ASSERT_TRUE(CBibleRef::Parse(text, &back)) << i;
      EXPECT_TRUE(back.IsEqual(ref)) << i;
      EXPECT_EQ(back.GetKeyString(), ref.GetKeyString());
    }
  }
  CBibleRef r;
  EXPECT_TRUE(CBibleRef::Parse(u"  song of songs   2:1 ", &r));
  EXPECT_EQ(r.GetKeyString(), u"SNG 2:1");
  EXPECT_TRUE(CBibleRef::Parse(u"Ps 9:12-14", &r) == false);
  EXPECT_TRUE(CBibleRef::Parse(u"Psa 9:12-14", &r));
  EXPECT_EQ(r.GetVerseLabel(), u"12-14");
  CBibleRef keep(u"REV", 22, 21);
  for (const char16_t* bad : {u"", u"Gn 1:1", u"Gen 1", u"Gen x:1", u"Gen 1:", u"Gen 1:2:3",
                              u"Gen 1:2ab", u"Gen :2", u"Gen 1:-2", u"Gen 1:2-", u"1:1"}) {
    CBibleRef out = keep;
    EXPECT_FALSE(CBibleRef::Parse(bad, &out)) << platform::ToUtf8(bad);
    EXPECT_EQ(out.GetKeyString(), u"REV 22:21");
  }
}

TEST(BibleRefTest, CanonicalOrder) {
  CBibleRef mal(u"MAL", 4, 6);
  EXPECT_TRUE(mal.IsBefore(u"TOB 1:1"));
  EXPECT_TRUE(CBibleRef(u"TOB", 14, 15).IsBefore(u"MAT 1:1"));
  EXPECT_FALSE(CBibleRef(u"MAT", 1, 1).IsBefore(u"TOB 14:15"));
  EXPECT_FALSE(mal.IsBefore(u"MAL 4:6"));
  EXPECT_TRUE(CBibleRef(u"GEN", 2, 1).IsBefore(u"GEN 10:1"));  // numbers, not text
  EXPECT_TRUE(CBibleRef(u"GEN", 2, 9).IsBefore(u"GEN 2:10"));
  EXPECT_TRUE(CBibleRef(u"GEN", 2, u"9").IsBefore(u"GEN 2:9a"));
  EXPECT_FALSE(CBibleRef(u"GEN", 2, u"9a").IsBefore(u"GEN 2:9"));
  // Unknown books sort first.
  EXPECT_TRUE(CBibleRef(u"Gn", 50, 1).IsBefore(u"GEN 1:1"));
  EXPECT_FALSE(CBibleRef(u"GEN", 1, 1).IsBefore(u"XYZ 1:1"));
}

// GEN 1:1, 1:2, 1:3, 2:1, 2:3, 2:2 (stored out of order), 2:4a, 3:1-3;
// EXO 1:1, 1:2, 2:1; RUT 1:1, 4:22. Two words a verse.
class BoundRefTest : public ::testing::Test {
 protected:
  void SetUp() override {
    db_ = data_.Add("AAA", {"GEN", "EXO", "RUT"},
                    {{1, 1, u"1", 2},
                     {1, 1, u"2", 2},
                     {1, 1, u"3", 2},
                     {1, 2, u"1", 2},
                     {1, 2, u"3", 2},
                     {1, 2, u"2", 2},
                     {1, 2, u"4a", 2},
                     {1, 3, u"1-3", 2},
                     {2, 1, u"1", 2},
                     {2, 1, u"2", 2},
                     {2, 2, u"1", 2},
                     {3, 1, u"1", 2},
                     {3, 4, u"22", 2}});
    ASSERT_NE(db_, nullptr);
  }
  CBibleRef At(int book, int chapter, const char16_t* label) {
    CBibleRef r(db_, book, chapter, std::u16string_view(label));
    EXPECT_TRUE(r.HasEntry());
    return r;
  }

  RefsTestData data_;
  CVornDB* db_ = nullptr;
};

TEST_F(BoundRefTest, LookUpAdoptsTheVerseTheDatabaseHas) {
  CBibleRef r(db_, 1, 1, 2);
  ASSERT_TRUE(r.HasEntry());
  EXPECT_EQ(r.GetKeyString(), u"GEN 1:2");
  EXPECT_EQ(r.GetBookCode(), u"GEN");  // asked of the database
  EXPECT_EQ(r.GetFirstWord(), 2);
  EXPECT_EQ(r.GetWordSpan(), (WordSpan{2, 4}));
  EXPECT_EQ(At(1, 2, u"4a").FormatLong(), u"Genesis 2:4a");
  EXPECT_EQ(At(1, 3, u"1-3").FormatShort(), u"Gen 3:1-3");
  EXPECT_EQ(At(1, 3, u"1-3").GetVerse(), 1);
  // Not there: the nearest verse before it in the chapter.
  EXPECT_EQ(CBibleRef(db_, 1, 1, 9).GetKeyString(), u"GEN 1:3");
  EXPECT_EQ(CBibleRef(db_, 1, 1, 9).GetVerse(), 3);
  // Numbers beyond a key byte do not wrap round onto an early verse.
  EXPECT_EQ(CBibleRef(db_, 1, 1, 258).GetKeyString(), u"GEN 1:3");
  EXPECT_EQ(CBibleRef(db_, 1, 257, 1).GetKeyString(), u"GEN 3:1-3");
  EXPECT_EQ(CBibleRef(db_, 1, -4, 1).GetKeyString(), u"GEN 1:1");
  // A book the database lacks has no verse, rather than another book's.
  for (int book : {0, 4, -1, 300}) {
    CBibleRef none(db_, book, 1, 1);
    EXPECT_FALSE(none.HasEntry()) << book;
    EXPECT_EQ(none.GetFirstWord(), -1);
    EXPECT_TRUE(none.GetWordSpan().IsNone());
    EXPECT_TRUE(none.GetBookSpan().IsNone());
    EXPECT_EQ(none.GetVerseLabel(), u"1");
  }
}

TEST_F(BoundRefTest, ByWordAndOutOfOrderVerses) {
  CBibleRef by_word(db_, 11);
  EXPECT_EQ(by_word.GetKeyString(), u"GEN 2:2");
  EXPECT_EQ(by_word.GetWordSpan(), (WordSpan{10, 12}));
  CBibleRef by_key = At(1, 2, u"2");
  EXPECT_TRUE(by_key.IsEqual(by_word));
  EXPECT_EQ(by_key.GetWordSpan(), (WordSpan{10, 12}));
  EXPECT_FALSE(by_key.IsEqual(At(1, 2, u"3")));
  EXPECT_EQ(CBibleRef(db_, 25).GetKeyString(), u"RUT 4:22");
  CBibleRef beyond(db_, 26);
  EXPECT_FALSE(beyond.HasEntry());
  EXPECT_EQ(beyond.GetBookNumber(), 0);
  EXPECT_EQ(beyond.GetChapter(), 0);
  EXPECT_EQ(CBibleRef(db_, -1).GetVerse(), 0);

  EXPECT_TRUE(At(1, 2, u"1").IsFirstInChapter());
  EXPECT_FALSE(At(1, 2, u"1").IsFirstInBook());
  EXPECT_FALSE(by_word.IsFirstInChapter());
  EXPECT_TRUE(At(2, 1, u"1").IsFirstInBook());
  EXPECT_EQ(At(1, 2, u"2").GetChapterSpan(), (WordSpan{6, 14}));
  EXPECT_EQ(At(1, 2, u"2").GetBookSpan(), (WordSpan{0, 16}));
}

TEST_F(BoundRefTest, EqualityBoundAndUnbound) {
  CBibleRef bound = At(1, 1, u"2");
  EXPECT_TRUE(bound.IsEqual(CBibleRef(u"Genesis", 1, 2)));
  EXPECT_TRUE(CBibleRef(u"Genesis", 1, 2).IsEqual(bound));
  EXPECT_FALSE(bound.IsEqual(CBibleRef(u"Genesis", 1, u"2a")));
  CVornDB* other = data_.Add("BBB", {"GEN"}, {{1, 1, u"1", 1}, {1, 1, u"2", 1}});
  CBibleRef there(other, 1, 1, 2);
  ASSERT_TRUE(there.HasEntry());
  // Entries of different databases are different verses.
  EXPECT_FALSE(there.IsEqual(bound));
  EXPECT_EQ(there.GetKeyString(), bound.GetKeyString());
}

TEST_F(BoundRefTest, VerseMovesFollowKeyOrderAcrossChaptersAndBooks) {
  CBibleRef r = At(1, 1, u"3");
  const char16_t* expected[] = {u"GEN 2:1",   u"GEN 2:2",  u"GEN 2:3", u"GEN 2:4a",
                                u"GEN 3:1-3", u"EXO 1:1",  u"EXO 1:2", u"EXO 2:1",
                                u"RUT 1:1",   u"RUT 4:22", u"RUT 4:22"};
  for (const char16_t* key : expected) {
    r.NextVerse();
    EXPECT_EQ(r.GetKeyString(), key);
    EXPECT_TRUE(r.HasEntry());
  }
  EXPECT_EQ(r.GetBookNumber(), 3);
  EXPECT_EQ(r.GetVerse(), 22);
  r = At(2, 1, u"1");
  r.PrevVerse();
  EXPECT_EQ(r.GetKeyString(), u"GEN 3:1-3");
  r = At(1, 1, u"1");
  r.PrevVerse();
  EXPECT_EQ(r.GetKeyString(), u"GEN 1:1");
  EXPECT_EQ(r.GetVerse(), 1);

  // The verse spin: three steps forward cross into the next chapter.
  r = At(1, 1, u"2");
  r.StepVerses(2003 - kSpinCentre);
  EXPECT_EQ(r.GetKeyString(), u"GEN 2:2");
  r.StepVerses(-3);
  EXPECT_EQ(r.GetKeyString(), u"GEN 1:2");
}

TEST_F(BoundRefTest, ChapterAndBookMoves) {
  CBibleRef r = At(1, 1, u"2");
  r.NextChapter();
  EXPECT_EQ(r.GetKeyString(), u"GEN 2:1");
  r = At(1, 2, u"4a");
  r.NextChapter();
  EXPECT_EQ(r.GetKeyString(), u"GEN 3:1-3");
  r.NextChapter();
  EXPECT_EQ(r.GetKeyString(), u"EXO 1:1");
  r = At(3, 4, u"22");
  r.NextChapter();
  EXPECT_EQ(r.GetKeyString(), u"RUT 4:22");

  r = At(1, 2, u"3");
  r.PrevChapter();
  EXPECT_EQ(r.GetKeyString(), u"GEN 1:1");
  r = At(2, 1, u"2");
  r.PrevChapter();
  EXPECT_EQ(r.GetKeyString(), u"GEN 3:1-3");
  r = At(1, 1, u"3");
  r.PrevChapter();
  EXPECT_EQ(r.GetKeyString(), u"GEN 1:1");
  r.StepChapters(2);
  EXPECT_EQ(r.GetKeyString(), u"GEN 3:1-3");
  r.StepChapters(-1);
  EXPECT_EQ(r.GetKeyString(), u"GEN 2:1");

  r = At(1, 2, u"2");
  r.NextBook();
  EXPECT_EQ(r.GetKeyString(), u"EXO 1:1");
  r.NextBook();
  EXPECT_EQ(r.GetKeyString(), u"RUT 1:1");
  r = At(3, 4, u"22");
  r.NextBook();  // the last book goes to its own start
  EXPECT_EQ(r.GetKeyString(), u"RUT 1:1");
  r = At(2, 2, u"1");
  r.PrevBook();
  EXPECT_EQ(r.GetKeyString(), u"GEN 1:1");
  r = At(1, 2, u"1");
  r.PrevBook();
  EXPECT_EQ(r.GetKeyString(), u"GEN 1:1");
  r = At(2, 2, u"1");
  r.StartOfBook();
  EXPECT_EQ(r.GetKeyString(), u"EXO 1:1");
}

TEST_F(BoundRefTest, MovesWithoutEntryOnlyCount) {
  CBibleRef r(u"GEN", 1, 5);
  r.NextVerse();
  EXPECT_EQ(r.GetKeyString(), u"GEN 1:6");
  r.PrevChapter();
  EXPECT_EQ(r.GetKeyString(), u"GEN 0:6");
  r.NextBook();
  r.StepVerses(4);
  EXPECT_EQ(r.GetKeyString(), u"GEN 0:6");
  CBibleRef lost(db_, 7, 2, 3);
  lost.NextChapter();
  EXPECT_EQ(lost.GetChapter(), 3);
  lost.StartOfBook();
  EXPECT_FALSE(lost.HasEntry());
}

TEST_F(BoundRefTest, RetargetUnboundAndBookList) {
  CBibleRef ruth(CBibleRef(u"Ruth", 1, 1), db_);
  ASSERT_TRUE(ruth.HasEntry());
  EXPECT_EQ(ruth.GetBookNumber(), 3);
  EXPECT_EQ(ruth.GetFirstWord(), 22);
  // A verse the database lacks lands whole on the nearest one it has: the
  // chapter goes with the verse found.
  CBibleRef near(CBibleRef(u"RUT", 2, 5), db_);
  ASSERT_TRUE(near.HasEntry());
  EXPECT_EQ(near.GetKeyString(), u"RUT 4:22");
  EXPECT_EQ(near.GetChapter(), 4);
  CBibleRef missing(CBibleRef(u"Matthew", 1, 1), db_);
  EXPECT_FALSE(missing.HasEntry());
  EXPECT_EQ(missing.GetDatabase(), db_);
  EXPECT_EQ(missing.GetBookNumber(), 0);
  EXPECT_EQ(missing.GetKeyString(), u"MAT 1:1");
  // No target: a plain copy.
  EXPECT_EQ(CBibleRef(ruth, nullptr).GetVerseEntry(), ruth.GetVerseEntry());

  EXPECT_EQ(ruth.GetBookListNames(), (std::vector<std::u16string>{u"Genesis", u"Exodus", u"Ruth"}));
  EXPECT_EQ(CBibleRef(u"jhn", 1, 1).GetBookListNames(), (std::vector<std::u16string>{u"JHN"}));
}

TEST(LongChapterTest, NextChapterLeavesAChapterOfMoreThan231Verses) {
  RefsTestData data;
  CVornDB* db =
      data.Add("LONG", {"PSA"}, {{1, 119, u"1", 1}, {1, 119, u"240", 1}, {1, 120, u"1", 1}});
  CBibleRef r(db, 1, 119, 1);
  r.NextChapter();
  EXPECT_EQ(r.GetKeyString(), u"PSA 120:1");
}

}  // namespace
}  // namespace vorn
