#include "textdb/verses.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <limits>
#include <string>
#include <tuple>
#include <vector>

#include "temp_folder.h"
#include "textdb_test_util.h"

namespace vorn {
namespace {

VerseNdx V(uint32_t w, uint8_t b, uint8_t c, uint8_t v, uint8_t s = 0) { return {w, b, c, v, s}; }

class VersesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // Book 1: 1:1, 1:2, 1:3, 2:1, 2:3, 2:2 (out of order), 2:4a.
    // Book 2: 1:1-3, 1:4.
    records_ = {V(0, 1, 1, 1),       V(3, 1, 1, 2),
                V(5, 1, 1, 3),       V(9, 1, 2, 1),
                V(12, 1, 2, 3),      V(14, 1, 2, 2),
                V(17, 1, 2, 4, 'a'), V(20, 2, 1, 1, 131),
                V(25, 2, 1, 4),      V(30, 3, kClosingChapter, 0)};
    folder_ = temp_.path();
    testing::WriteRecords(folder_ + "/verses.ndx", records_);
    verses_ = std::make_unique<CVornDBVerses>(folder_);
    ASSERT_TRUE(verses_->Open(30));
  }

  VerseEntry Find(int b, int c, int v, int s = 0) {
    return verses_->FindVerse({uint8_t(b), uint8_t(c), uint8_t(v), uint8_t(s)});
  }
  static VerseKey K(VerseEntry e) { return KeyOf(*e); }

  std::vector<VerseNdx> records_;
  testing::TempFolder temp_{"verses"};
  std::string folder_;
  std::unique_ptr<CVornDBVerses> verses_;
};

TEST_F(VersesTest, FindVerseFallsBackWithinChapterThenBook) {
  EXPECT_EQ(verses_->GetBookCount(), 2);
  EXPECT_EQ(K(Find(1, 1, 2)), (VerseKey{1, 1, 2, 0}));
  // Past the chapter's end: its last verse.
  EXPECT_EQ(K(Find(1, 1, 9)), (VerseKey{1, 1, 3, 0}));
  // Verse 0: the chapter's first verse.
  EXPECT_EQ(K(Find(1, 2, 0)), (VerseKey{1, 2, 1, 0}));
  // Past the book's last chapter: the book's last verse.
  EXPECT_EQ(K(Find(1, 7, 1)), (VerseKey{1, 2, 4, 'a'}));
  EXPECT_EQ(K(Find(2, 1, 0)), (VerseKey{2, 1, 1, 131}));
}

TEST_F(VersesTest, TypedReferencesFindTheirVerseOrNone) {
  auto exact = [&](int64_t book, int64_t chapter, const char16_t* label) -> VerseEntry {
    VerseKey key;
    if (!CVornDBVerses::MakeCheckedKey(book, chapter, label, &key)) return nullptr;
    return verses_->FindExactVerse(key);
  };
  EXPECT_EQ(K(exact(1, 2, u"2")), (VerseKey{1, 2, 2, 0}));
  EXPECT_EQ(K(exact(1, 2, u"4")), (VerseKey{1, 2, 4, 'a'}));  // "4" finds "4a"
  EXPECT_EQ(K(exact(2, 1, u"2")), (VerseKey{2, 1, 1, 131}));  // inside "1-3"
  // What FindVerse answers with a neighbour is no verse here; numbers that
  // do not fit a key byte are never wrapped onto another verse.
  for (auto [book, chapter, label] : {std::tuple<int64_t, int64_t, const char16_t*>{1, 2, u"5"},
                                      {1, 3, u"1"},
                                      {3, 1, u"1"},
                                      {1, 258, u"1"},
                                      {1, 2, u"258"},
                                      {1, -1, u"1"},
                                      {257, 1, u"1"},
                                      {1, 1, u"-1"},
                                      {1, 1, u"1x2"},
                                      {1, 2, u"4b"},
                                      {1, 1, u""},
                                      {1, 1, u"1-0"}})
    EXPECT_EQ(exact(book, chapter, label), nullptr) << book << " " << chapter;
}

TEST_F(VersesTest, OutOfOrderVerseFoundByKeyAndByWord) {
  VerseEntry by_key = Find(1, 2, 2);
  VerseEntry by_word = verses_->VerseOfWord(15);
  EXPECT_EQ(K(by_key), (VerseKey{1, 2, 2, 0}));
  EXPECT_EQ(K(by_word), (VerseKey{1, 2, 2, 0}));
  EXPECT_TRUE(verses_->IsSameVerse(by_key, by_word));
  EXPECT_FALSE(verses_->IsSameVerse(by_key, Find(1, 2, 3)));
  // Its words are where the text has them, from either entry.
  EXPECT_EQ(verses_->GetWordSpan(by_key), (WordSpan{14, 17}));
  EXPECT_EQ(verses_->GetWordSpan(by_word), (WordSpan{14, 17}));
  EXPECT_EQ(verses_->GetWordSpan(Find(1, 2, 3)), (WordSpan{12, 14}));
  // Moving goes by key order.
  EXPECT_EQ(K(verses_->NextVerse(Find(1, 2, 1))), (VerseKey{1, 2, 2, 0}));
  EXPECT_EQ(K(verses_->NextVerse(by_word)), (VerseKey{1, 2, 3, 0}));
}

TEST_F(VersesTest, MovesAcrossChaptersAndBooksStopAtTheEnds) {
  EXPECT_EQ(K(verses_->NextVerse(Find(1, 1, 3))), (VerseKey{1, 2, 1, 0}));
  EXPECT_EQ(K(verses_->NextVerse(Find(1, 2, 4, 'a'))), (VerseKey{2, 1, 1, 131}));
  EXPECT_EQ(K(verses_->PrevVerse(Find(2, 1, 1, 131))), (VerseKey{1, 2, 4, 'a'}));
  VerseEntry last = Find(2, 1, 4);
  EXPECT_TRUE(verses_->IsSameVerse(verses_->NextVerse(last), last));
  VerseEntry first = Find(1, 1, 1);
  EXPECT_TRUE(verses_->IsSameVerse(verses_->PrevVerse(first), first));
  // Walking the whole text forward visits every verse once.
  int n = 1;
  for (VerseEntry e = first; !verses_->IsSameVerse(verses_->NextVerse(e), e);
       e = verses_->NextVerse(e))
    ++n;
  EXPECT_EQ(n, 9);
}

TEST_F(VersesTest, WordLookupAndSpans) {
  EXPECT_EQ(K(verses_->VerseOfWord(0)), (VerseKey{1, 1, 1, 0}));
  EXPECT_EQ(K(verses_->VerseOfWord(4)), (VerseKey{1, 1, 2, 0}));
  EXPECT_EQ(K(verses_->VerseOfWord(29)), (VerseKey{2, 1, 4, 0}));
  EXPECT_EQ(verses_->VerseOfWord(30), nullptr);
  EXPECT_EQ(verses_->VerseOfWord(-1), nullptr);
  EXPECT_EQ(verses_->GetBookSpan(1), (WordSpan{0, 20}));
  EXPECT_EQ(verses_->GetBookSpan(2), (WordSpan{20, 30}));
  EXPECT_EQ(verses_->GetChapterSpan(1, 2), (WordSpan{9, 20}));
  EXPECT_EQ(verses_->GetChapterSpan(2, 1), (WordSpan{20, 30}));
  EXPECT_TRUE(verses_->IsFirstInChapter(Find(1, 2, 1)));
  EXPECT_FALSE(verses_->IsFirstInChapter(Find(1, 2, 2)));
  EXPECT_TRUE(verses_->IsFirstInBook(Find(2, 1, 1, 131)));
  EXPECT_EQ(verses_->GetWordSpan(nullptr), WordSpan{});
}

TEST(VerseKeyTest, LabelsRoundTrip) {
  EXPECT_EQ(CVornDBVerses::MakeKey(1, 2, u"3"), (VerseKey{1, 2, 3, 0}));
  EXPECT_EQ(CVornDBVerses::MakeKey(1, 2, u"3b"), (VerseKey{1, 2, 3, 98}));
  EXPECT_EQ(CVornDBVerses::MakeKey(1, 2, u"3-5"), (VerseKey{1, 2, 3, 133}));
  EXPECT_EQ(CVornDBVerses::MakeKey(1, 2, u"12-14").suffix, 142);
  for (const char16_t* label : {u"3", u"3b", u"3-5", u"12-14"})
    EXPECT_EQ(CVornDBVerses::GetVerseLabel(CVornDBVerses::MakeKey(1, 1, label)), label);
}

TEST(VerseKeyTest, RangeEndsOutsideTheSuffixAreClamped) {
  // A range end beyond what a suffix can hold, and one too long for a long
  // integer (strtol's LONG_MIN), both give the largest range suffix.
  EXPECT_EQ(CVornDBVerses::MakeKey(1, 1, u"3-200").suffix, 255);
  EXPECT_EQ(CVornDBVerses::MakeKey(1, 1, u"3-99999999999999999999999999").suffix, 255);
  EXPECT_EQ(CVornDBVerses::MakeKey(1, 1, u"3-99999999999999999999999999").verse, 3);
}

TEST(VersesEdgeTest, WordsBeforeTheFirstVerseAndOneChapterBooks) {
  // The index starts at word 3; book 1 has one chapter, book 2 starts with
  // chapter 1 again.
  const testing::TempFolder temp("verses_edge");
  const std::string& folder = temp.path();
  testing::WriteRecords(folder + "/verses.ndx",
                        std::vector<VerseNdx>{V(3, 1, 1, 1), V(5, 1, 1, 2), V(8, 2, 1, 1),
                                              V(9, 2, 1, 2), V(12, 3, kClosingChapter, 0)});
  CVornDBVerses verses(folder);
  ASSERT_TRUE(verses.Open(12));
  EXPECT_EQ(verses.VerseOfWord(0), nullptr);
  EXPECT_EQ(verses.VerseOfWord(2), nullptr);
  ASSERT_NE(verses.VerseOfWord(3), nullptr);
  EXPECT_EQ(KeyOf(*verses.VerseOfWord(4)), (VerseKey{1, 1, 1, 0}));

  // In text order the first verse of book 2 follows a verse of chapter 1
  // too; it still begins a chapter, from the file as from its book list.
  VerseEntry in_file = verses.VerseOfWord(8);
  ASSERT_NE(in_file, nullptr);
  EXPECT_TRUE(verses.IsFirstInChapter(in_file));
  EXPECT_TRUE(verses.IsFirstInChapter(verses.FindVerse({2, 1, 1, 0})));
  EXPECT_FALSE(verses.IsFirstInChapter(verses.VerseOfWord(9)));

  // A chapter number near the top of int neither wraps nor turns the span.
  WordSpan far = verses.GetChapterSpan(2, std::numeric_limits<int>::max());
  EXPECT_LE(far.first, far.end);
  EXPECT_EQ(far.first, 9);
}

TEST(MemMapFileTest, EmptyFileOpensWithNoRecords) {
  const testing::TempFolder temp("emptymap");
  const std::string& folder = temp.path();
  testing::WriteText(folder + "/empty.ndx", "");
  TMemMapFile<VerseNdx> table(folder, "empty.ndx");
  ASSERT_TRUE(table.Open());
  EXPECT_EQ(table.GetCount(), 0u);
  EXPECT_EQ(table.begin(), table.end());
  // Viewed as records, the marker address must suit the record type.
  EXPECT_EQ(reinterpret_cast<uintptr_t>(table.GetData()) % alignof(VerseNdx), 0u);
  EXPECT_FALSE(TMemMapFile<VerseNdx>(folder, "").Open());
  EXPECT_FALSE(TMemMapFile<VerseNdx>(folder, "missing.ndx").Open());
}

TEST(VersesOpenTest, RefusesDamagedIndexes) {
  const testing::TempFolder temp("badverses");
  const std::string& folder = temp.path();
  auto opens = [&](const std::vector<VerseNdx>& recs, uint32_t words, size_t cut = 0) {
    testing::WriteRecords(folder + "/verses.ndx", recs, cut);
    CVornDBVerses v(folder);
    return v.Open(words);
  };
  std::vector<VerseNdx> good = {V(0, 1, 1, 1), V(4, 1, 1, 2), V(9, 2, kClosingChapter, 0)};
  EXPECT_TRUE(opens(good, 9));
  EXPECT_FALSE(opens(good, 10));                                            // closing word differs
  EXPECT_FALSE(opens(good, 9, 3));                                          // cut short
  EXPECT_FALSE(opens({V(0, 1, 1, 1), V(4, 1, 1, 2)}, 0));                   // no closing record
  EXPECT_FALSE(opens({V(5, 1, 1, 1), V(4, 1, 1, 2), V(9, 2, 255, 0)}, 9));  // words descend
  EXPECT_FALSE(opens({V(0, 2, 1, 1), V(4, 1, 1, 2), V(9, 3, 255, 0)}, 9));  // books descend
  EXPECT_FALSE(opens({V(0, 1, 1, 1), V(4, 1, 1, 2), V(9, 1, 255, 0)}, 9));  // closing book too low
  EXPECT_FALSE(opens({}, 0));                                               // empty
}

}  // namespace
}  // namespace vorn
