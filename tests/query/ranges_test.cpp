// Range lists: parsing with the exact error positions, resolution into word
// spans, filtering of hits, and the file of named ranges.

#include "query/ranges.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/file_system.h"
#include "platform/u16.h"
#include "query/named_ranges.h"
#include "query/parse_query.h"
#include "query/query_test_util.h"
#include "temp_folder.h"
#include "textdb/ini_file.h"

namespace vorn::testing {
namespace {

// Two words a verse. GEN 1:1-3 (0-5), 2:1-5 (6-15), 3:1-2 (16-19); EXO
// 1:1-2 (20-23), 2:1-2 (24-27); 1SA 1:1 (28-29), 2:1-2 (30-33); MAT 1:1-2
// (34-37); MRK 1:1 (38-39), 2:1 (40-41).
DBSource RangeSource() {
  std::vector<TestVerse> verses;
  auto add = [&](const char* book, int chapter, int count) {
    for (int v = 1; v <= count; ++v)
      verses.push_back({book, chapter, platform::ToU16(std::to_string(v)), {u"a", u"b"}});
  };
  add("GEN", 1, 3);
  add("GEN", 2, 5);
  add("GEN", 3, 2);
  add("EXO", 1, 2);
  add("EXO", 2, 2);
  add("1SA", 1, 1);
  add("1SA", 2, 2);
  add("MAT", 1, 2);
  add("MRK", 1, 1);
  add("MRK", 2, 1);
  return MakeQuerySource({"GEN", "EXO", "1SA", "MAT", "MRK"}, verses);
}

class RangesTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { opened_ = new OpenedDatabase(RangeSource()); }
  static void TearDownTestSuite() {
    delete opened_;
    opened_ = nullptr;
  }
  void SetUp() override {
    ASSERT_NE(opened_->db(), nullptr) << opened_->error();
    context_ = std::make_unique<FakeContext>(opened_->db());
  }

  // "first-end ..." of the resolved ranges, or "message @first-last".
  std::string Spans(const std::u16string& text) {
    CQRanges ranges;
    QErrorPtr error = ranges.ParseList(text, 0);
    if (!error) error = ranges.Resolve(context_.get());
    if (error)
      return platform::ToUtf8(error->GetMessage()) + " @" + std::to_string(error->GetFirst()) +
             "-" + std::to_string(error->GetLast());
    std::string out;
    for (size_t i = 0; i < ranges.GetCount(); ++i) {
      out += (i ? " " : "") + std::to_string(ranges.Get(i).GetSpanStart()) + "-" +
             std::to_string(ranges.Get(i).GetSpanEnd());
    }
    return out;
  }

  static OpenedDatabase* opened_;
  std::unique_ptr<FakeContext> context_;
};

OpenedDatabase* RangesTest::opened_ = nullptr;

TEST_F(RangesTest, BooksChaptersAndVerses) {
  EXPECT_EQ(Spans(u"gen"), "0-20");
  EXPECT_EQ(Spans(u"Gen 1"), "0-6");
  EXPECT_EQ(Spans(u"Gen 1:3"), "4-6");
  EXPECT_EQ(Spans(u"gen 1:3 to 2:5"), "4-16");
  EXPECT_EQ(Spans(u"GENESIS 2:2"), "8-10");
  EXPECT_EQ(Spans(u"Gen1:2"), "2-4");
  EXPECT_EQ(Spans(u"Gen 2:99"), "14-16");  // the chapter's last verse
  EXPECT_EQ(Spans(u"Gen 1-3"), "0-20");
  EXPECT_EQ(Spans(u"Gen 1:1-3"), "0-20");  // a number alone after the dash is a chapter
  EXPECT_EQ(Spans(u"Gen 1:2-2:1"), "2-8");
  EXPECT_EQ(Spans(u"Gen 1 - Exo 2"), "0-28");
  EXPECT_EQ(Spans(u"Gen 2 to Exo"), "6-28");
  EXPECT_EQ(Spans(u"Gen 2-"), "6-20");  // to the end of the book
  EXPECT_EQ(Spans(u"Mat 1, Mrk 2"), "34-38 40-42");
  EXPECT_EQ(Spans(u"  Mat 1 ,Mrk  "), "34-38 38-42");
}

TEST_F(RangesTest, NamesCodesAndShortForms) {
  for (const char16_t* t : {u"gn 1", u"Gn 1", u"GE 1", u"genesis 1"})
    EXPECT_EQ(Spans(t), "0-6") << platform::ToUtf8(t);
  for (const char16_t* t : {u"1 samuel 2", u"1samuel 2", u"1sa 2", u"1 SA 2", u"1Samuel 2"})
    EXPECT_EQ(Spans(t), "30-34") << platform::ToUtf8(t);
  EXPECT_EQ(Spans(u"Mt 1:2"), "36-38");
  EXPECT_EQ(Spans(u"mk"), "38-42");
  EXPECT_EQ(RangeBookCode(u"jn"), u"JHN");
  EXPECT_EQ(RangeBookCode(u"1kn"), u"1KI");
  EXPECT_EQ(RangeBookCode(u"3jh"), u"3JN");
  EXPECT_EQ(RangeBookCode(u"so"), u"SNG");
  EXPECT_EQ(RangeBookCode(u"song"), u"");
}

TEST_F(RangesTest, ErrorsPointAtTheOffendingText) {
  EXPECT_EQ(Spans(u"1 sam 2"), "Unrecognised book @2-4");
  EXPECT_EQ(Spans(u"Xyz"), "Unrecognised book @0-2");
  EXPECT_EQ(Spans(u"Gen 1 - Xyz"), "Unrecognised book @8-10");
  EXPECT_EQ(Spans(u"12"), "No book specified @0-0");
  EXPECT_EQ(Spans(u"  12"), "No book specified @2-2");
  EXPECT_EQ(Spans(u"Mat 1,"), "No book specified @6-6");
  EXPECT_EQ(Spans(u"Mat 1, ,Mrk"), "No book specified @7-7");
  EXPECT_EQ(Spans(u"Gen 1 foo"), "Expected \"to\" or \"-\" @6-6");
  EXPECT_EQ(Spans(u"Gen 1 t"), "Expected \"to\" or \"-\" @6-6");
  EXPECT_EQ(Spans(u"Gen 1-2 3"), "Unexpected text after range @8-8");
  EXPECT_EQ(Spans(u"Gen 1:2-3:1 x"), "Unexpected text after range @12-12");
  // Resolution errors cover the whole range.
  EXPECT_EQ(Spans(u"Tobit"), "Book not in this bible @0-4");
  EXPECT_EQ(Spans(u"Mat 1,  Tob 1 "), "Book not in this bible @8-12");
  EXPECT_EQ(Spans(u"Gen 1 - rev 2"), "Book not in this bible @0-12");
  EXPECT_EQ(Spans(u"Gen 3 - 1"), "Range must be in canonical order @0-8");
  EXPECT_EQ(Spans(u"Mrk 1:1 - Gen"), "Range must be in canonical order @0-12");
}

TEST_F(RangesTest, ErrorPositionsCountFromTheQueryStart) {
  std::vector<uint32_t> hits;
  EXPECT_EQ(RunQueryText(u"text a in Gen 1, Xyz", context_.get(), &hits),
            "Unrecognised book @17-19");
  EXPECT_EQ(RunQueryText(u"text a in Gen 1, Tob", context_.get(), &hits),
            "Book not in this bible @17-19");
}

TEST_F(RangesTest, HitsAreLimitedAtTheTermsBeforeProximity) {
  std::vector<uint32_t> hits;
  EXPECT_EQ(RunQueryText(u"text b in Gen 1:2, Gen 1, Mrk", context_.get(), &hits), "");
  EXPECT_EQ(hits, (std::vector<uint32_t>{1, 3, 5, 39, 41}));
  // The b of 2:1 (word 7) lies outside the range, so it does not qualify
  // the a of 2:2 (word 8) that follows it.
  EXPECT_EQ(RunQueryText(u"text a following text b in Gen 2:2-3", context_.get(), &hits), "");
  EXPECT_EQ(hits, (std::vector<uint32_t>{10, 12, 14, 16, 18}));
  EXPECT_EQ(RunQueryText(u"text a following within 2 words of text b in Gen 2:2-3", context_.get(),
                         &hits),
            "");
  EXPECT_EQ(hits, (std::vector<uint32_t>{10, 12, 14, 16, 18}));

  CQRanges ranges;
  ASSERT_EQ(ranges.ParseList(u"in Mat 1:2, Gen 1", 3), nullptr);
  ASSERT_EQ(ranges.Resolve(context_.get()), nullptr);
  EXPECT_TRUE(ranges.Contains(5));
  EXPECT_TRUE(ranges.Contains(36));
  EXPECT_FALSE(ranges.Contains(6));
  EXPECT_FALSE(ranges.Contains(-1));
  CDBWordList list;
  for (uint32_t w : {0u, 5u, 6u, 35u, 36u, 37u, 38u, 0xFFFFFFFFu}) list.Push(w);
  ranges.Filter(&list);
  EXPECT_EQ(list.words(), (std::vector<uint32_t>{0, 5, 36, 37}));
}

class NamedRangesTest : public RangesTest {
 protected:
  void SetUp() override {
    RangesTest::SetUp();
    dir_ = temp_.path();
    std::filesystem::create_directories(dir_ + "/prog");
    working_ = dir_ + "/Ranges.ini";
    program_ = dir_ + "/prog/Ranges.ini";
  }

  static void Write(const std::string& path, const std::string& text) {
    std::ofstream(path) << text;
  }

  std::string Names(const CNamedRanges& r) {
    std::string out;
    for (const auto& e : r.GetEntries())
      out += (out.empty() ? "" : "|") + platform::ToUtf8(e.name) + "=" + platform::ToUtf8(e.ranges);
    return out;
  }

  TempFolder temp_{"ranges"};
  std::string dir_, working_, program_;
};

TEST_F(NamedRangesTest, LoadsInKeyOrderFromTheWorkingFolderFirst) {
  CNamedRanges r;
  EXPECT_FALSE(r.Load(working_, program_));
  EXPECT_TRUE(r.GetEntries().empty());
  Write(program_, "[Ranges]\n000 Beside=Mat\n");
  EXPECT_TRUE(r.Load(working_, program_));
  EXPECT_EQ(Names(r), "Beside=Mat");
  Write(working_,
        "[Other]\nx=1\n[Ranges]\n002 Gospels=Mat, Mrk, Luk, Jhn\n000 Law=Gen-Deu\n001 The "
        "Start=Gen 1:1-2:3\n");
  EXPECT_TRUE(r.Load(working_, program_));
  EXPECT_EQ(Names(r), "Law=Gen-Deu|The Start=Gen 1:1-2:3|Gospels=Mat, Mrk, Luk, Jhn");
}

TEST_F(NamedRangesTest, OffersOnlyListsWhoseBooksTheDatabaseHas) {
  const CVornDB& db = *opened_->db();
  EXPECT_TRUE(CNamedRanges::IsOffered(u"Gen 1, exo 2-3", db));
  EXPECT_TRUE(CNamedRanges::IsOffered(u"1sa 2; Mrk", db));
  EXPECT_TRUE(
      CNamedRanges::IsOffered(u"Genesis, John 3", db));  // no three-letter code stands alone
  EXPECT_FALSE(CNamedRanges::IsOffered(u"Gen 1, Rev", db));
  EXPECT_FALSE(CNamedRanges::IsOffered(u"Mat-Jhn", db));
  EXPECT_FALSE(CNamedRanges::IsOffered(u"2Ki 3", db));
}

TEST_F(NamedRangesTest, ChangesRenumberAndSaveToTheWorkingFolder) {
  Write(program_, "[Ranges]\n000 A=Gen\n001 B=Exo\n");
  CNamedRanges r;
  ASSERT_TRUE(r.Load(working_, program_));
  ASSERT_TRUE(r.Add(0, u"New", u"Mat 1"));
  EXPECT_EQ(Names(r), "A=Gen|New=Mat 1|B=Exo");
  ASSERT_TRUE(r.MoveUp(2));
  EXPECT_EQ(Names(r), "A=Gen|B=Exo|New=Mat 1");
  ASSERT_TRUE(r.MoveDown(0));
  ASSERT_TRUE(r.Add(-1, u"Last", u"Mrk"));
  EXPECT_EQ(Names(r), "B=Exo|A=Gen|New=Mat 1|Last=Mrk");
  ASSERT_TRUE(r.Delete(2));
  EXPECT_FALSE(r.MoveUp(0));
  EXPECT_FALSE(r.Delete(7));

  CIniFile saved;
  ASSERT_TRUE(saved.Load(working_));
  std::vector<std::u16string> keys;
  saved.GetKeys(u"Ranges", &keys);
  EXPECT_EQ(keys, (std::vector<std::u16string>{u"000 B", u"001 A", u"002 Last"}));
  CNamedRanges again;
  ASSERT_TRUE(again.Load(working_, ""));
  EXPECT_EQ(Names(again), "B=Exo|A=Gen|Last=Mrk");
  // The copy beside the program is left as it was.
  CNamedRanges beside;
  ASSERT_TRUE(beside.Load(program_, ""));
  EXPECT_EQ(Names(beside), "A=Gen|B=Exo");
}

// A Ranges.ini that is there but cannot be read (here a link that never
// reaches a file) is not replaced by one holding only the named ranges.
TEST_F(NamedRangesTest, AFileThatCannotBeReadIsLeftAloneAndTheUserIsToldWhy) {
  Write(program_, "[Ranges]\n000 A=Gen\n");
  std::filesystem::create_symlink(working_, working_);
  CNamedRanges r;
  ASSERT_TRUE(r.Load(working_, program_));
  EXPECT_FALSE(r.Add(-1, u"New", u"Mat 1"));
  EXPECT_EQ(r.GetSaveFailure(), CNamedRanges::SaveFailure::kUnreadable);
  EXPECT_NE(r.DescribeSaveFailure().find(u"could not be read"), std::u16string::npos);
  EXPECT_TRUE(std::filesystem::is_symlink(working_));
  // Once the file can be read again, saving works and says nothing.
  std::filesystem::remove(working_);
  ASSERT_TRUE(r.Rename(0, u"First"));
  EXPECT_EQ(r.GetSaveFailure(), CNamedRanges::SaveFailure::kNone);
  EXPECT_EQ(Names(r), "First=Gen|New=Mat 1");
}

}  // namespace
}  // namespace vorn::testing
