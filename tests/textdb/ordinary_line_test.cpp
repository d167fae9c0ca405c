// Collation and wildcard matching of ordinary lines on Greek and Hebrew
// forms with accents, breathings, vowel points and cantillation.
#include "textdb/ordinary_line.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>

#include "platform/message_sink.h"
#include "textdb/collation.h"
#include "textdb/db_stats.h"
#include "textdb/table_writer.h"
#include "textdb/vorn_db.h"
#include "textdb_test_util.h"

namespace vorn {
namespace {

// Greek words with and without accents and breathings, upper and lower case.
const std::vector<std::u16string> kGreek = {
    u"λόγος", u"λόγου", u"λόγῳ", u"Λόγος", u"λογος", u"λέγει", u"ἀρχῇ", u"ἀρχή", u"αρχη",
    u"λόγος", u"ὁ", u"ὅτι", u"λόγων", u"ἦν", u"θεός"};
// Hebrew with points and cantillation (U+0591..U+05AF), and consonants only.
const std::vector<std::u16string> kHebrew = {
    u"בְּרֵאשִׁ֖ית", u"בְּרֵאשִׁית", u"בראשית", u"בָּרָ֣א", u"בָּרָא", u"אֱלֹהִ֑ים", u"אֵ֥ת", u"הַשָּׁמַ֖יִם"};

class LineFixture : public ::testing::Test {
 protected:
  static DBSource MakeSource(const std::vector<std::u16string>& words, bool hebrew) {
    DBSource s;
    s.name = hebrew ? u"HEB" : u"GNT";
    s.title = u"Test";
    s.books = {hebrew ? "GEN" : "JHN"};
    s.verses.push_back({0, 1, 1, u"1"});
    DBLine text;
    text.name = "Text";
    text.query_prompt = u"text";
    text.language = hebrew ? u"Hebrew" : u"Greek";
    text.words = words;
    DBLine upper;
    upper.name = "Upper";
    upper.query_prompt = u"upper";
    for (size_t i = 0; i < words.size(); ++i) upper.words.push_back(i % 2 ? u"odd" : u"even");
    s.lines = {text, upper};
    s.headings.push_back({0, {{1, {u"Book"}}}});
    return s;
  }

  void Open(const std::vector<std::u16string>& words, bool hebrew) {
    data_ = testing::MakeTempFolder("line");
    folder_ = data_ + "/T.qyx";
    DBSource source = MakeSource(words, hebrew);
    std::string error;
    ASSERT_TRUE(CDBWriter(source).Write(folder_, &error)) << error;
    stats_ = std::make_unique<CVornDBStats>(folder_);
    ASSERT_TRUE(stats_->Load());
    db_ = stats_->OpenDatabase(&sink_, nullptr);
    ASSERT_NE(db_, nullptr);
    line_ = dynamic_cast<CVornDBOrdinaryLine*>(db_->GetLine(0));
    ASSERT_NE(line_, nullptr);
  }
  void TearDown() override {
    db_.reset();
    if (!data_.empty()) std::filesystem::remove_all(data_);
  }

  // The texts of the forms a pattern selects, sorted for comparison.
  std::set<std::u16string> Match(std::u16string_view pattern, bool prefix = false) {
    FormList forms;
    if (prefix)
      line_->MatchFormsPrefix(pattern, &forms);
    else
      line_->MatchForms(pattern, &forms);
    std::set<std::u16string> out;
    for (uint32_t f : forms) out.insert(line_->GetFormText(f));
    return out;
  }

  platform::CRecordingMessageSink sink_;
  std::string data_, folder_;
  std::unique_ptr<CVornDBStats> stats_;
  std::unique_ptr<CVornDB> db_;
  CVornDBOrdinaryLine* line_ = nullptr;
};

using GreekLineTest = LineFixture;
using HebrewLineTest = LineFixture;

TEST_F(GreekLineTest, FormsAreSortedByTheCollatorAndWordsPointIntoThem) {
  Open(kGreek, false);
  ASSERT_EQ(line_->GetWordCount(), kGreek.size());
  for (size_t w = 0; w < kGreek.size(); ++w)
    EXPECT_EQ(line_->GetWordString(static_cast<WordIndex>(w)), kGreek[w]);
  // Duplicates share a form; every form lists its words.
  EXPECT_EQ(line_->GetFormCount(), kGreek.size() - 1);
  EXPECT_EQ(line_->GetFormFrequency(0), 2u);
  CDBWordList words;
  line_->WordsOfForms({line_->GetFormOfWord(0)}, &words);
  EXPECT_EQ(words.words(), (std::vector<uint32_t>{0, 9}));
  auto collator = MakeFormCollator();
  for (uint32_t f = 1; f < line_->GetFormCount(); ++f) {
    UErrorCode status = U_ZERO_ERROR;
    EXPECT_NE(collator->compare(reinterpret_cast<const UChar*>(line_->GetFormString(f - 1)), -1,
                                reinterpret_cast<const UChar*>(line_->GetFormString(f)), -1, status),
              UCOL_GREATER);
  }
}

TEST_F(GreekLineTest, ExactLookupRespectsAccentsAndCase) {
  Open(kGreek, false);
  EXPECT_EQ(Match(u"λόγος"), (std::set<std::u16string>{u"λόγος"}));
  EXPECT_EQ(Match(u"λογος"), (std::set<std::u16string>{u"λογος"}));
  EXPECT_EQ(Match(u"Λόγος"), (std::set<std::u16string>{u"Λόγος"}));
  EXPECT_TRUE(Match(u"λόγοσ").empty());
  EXPECT_TRUE(Match(u"ἀρχὴ").empty());  // differs by accent only
}

TEST_F(GreekLineTest, PrefixMatchesAtPrimaryStrength) {
  Open(kGreek, false);
  // Accents, breathings and case are ignored; base letters must agree.
  EXPECT_EQ(Match(u"λογ", true),
            (std::set<std::u16string>{u"λόγος", u"λόγου", u"λόγῳ", u"Λόγος", u"λογος", u"λόγων"}));
  EXPECT_EQ(Match(u"αρχ", true), (std::set<std::u16string>{u"ἀρχῇ", u"ἀρχή", u"αρχη"}));
  EXPECT_EQ(Match(u"ἀρχὴ", true), (std::set<std::u16string>{u"ἀρχῇ", u"ἀρχή", u"αρχη"}));
  EXPECT_EQ(Match(u"", true).size(), kGreek.size() - 1);
  // A prefix range holds exactly the forms that begin with the prefix.
  uint32_t first, end;
  line_->FindPrefixRange(u"λογο", &first, &end);
  std::set<std::u16string> in_range;
  for (uint32_t f = first; f < end; ++f) in_range.insert(line_->GetFormText(f));
  EXPECT_EQ(in_range, (std::set<std::u16string>{u"λόγος", u"λόγου", u"Λόγος", u"λογος"}));
}

TEST_F(GreekLineTest, WildcardsAndTheAccentRunOperator) {
  Open(kGreek, false);
  EXPECT_EQ(Match(u"λόγ*"), (std::set<std::u16string>{u"λόγος", u"λόγου", u"λόγῳ", u"λόγων"}));
  EXPECT_EQ(Match(u"λόγο?"), (std::set<std::u16string>{u"λόγος", u"λόγου"}));
  EXPECT_EQ(Match(u"*ος"), (std::set<std::u16string>{u"λόγος", u"Λόγος", u"λογος"}));
  // 'ο&' matches omicron with or without marks; 'α&' a precomposed alpha with breathing.
  EXPECT_EQ(Match(u"λο&γος"), (std::set<std::u16string>{u"λόγος", u"λογος"}));
  EXPECT_EQ(Match(u"α&ρχη&"), (std::set<std::u16string>{u"ἀρχῇ", u"ἀρχή", u"αρχη"}));
  // Decomposed marks after a base letter are an empty-primary run.
  EXPECT_TRUE(line_->MatchForm(u"λο&γος", u"λο\u0301γος"));
  EXPECT_FALSE(line_->MatchForm(u"λο&γος", u"λογγος"));
  // The prefix match with a wildcard appends '*'.
  EXPECT_EQ(Match(u"λό?", true), (std::set<std::u16string>{u"λόγος", u"λόγου", u"λόγῳ", u"λόγων"}));
  EXPECT_EQ(line_->GetWildcards(), u"?*&");
}

TEST_F(HebrewLineTest, PointsAndCantillationAreSkippedByBang) {
  Open(kHebrew, true);
  EXPECT_EQ(line_->GetWildcards(), u"?*!");
  EXPECT_EQ(Match(u"בְּרֵאשִׁית"), (std::set<std::u16string>{u"בְּרֵאשִׁית"}));
  // At primary strength points and accents do not count.
  EXPECT_EQ(Match(u"בראשית", true),
            (std::set<std::u16string>{u"בְּרֵאשִׁ֖ית", u"בְּרֵאשִׁית", u"בראשית"}));
  EXPECT_EQ(Match(u"בר", true),
            (std::set<std::u16string>{u"בְּרֵאשִׁ֖ית", u"בְּרֵאשִׁית", u"בראשית", u"בָּרָ֣א", u"בָּרָא"}));
  // '!' after each consonant skips any points and accents.
  EXPECT_EQ(Match(u"ב!ר!א!"), (std::set<std::u16string>{u"בָּרָ֣א", u"בָּרָא"}));
  EXPECT_EQ(Match(u"ב!ר!א!ש!י!ת!"),
            (std::set<std::u16string>{u"בְּרֵאשִׁ֖ית", u"בְּרֵאשִׁית", u"בראשית"}));
  EXPECT_EQ(Match(u"ב!ר!א"), (std::set<std::u16string>{u"בָּרָ֣א", u"בָּרָא"}));
  EXPECT_EQ(Match(u"*ם"), (std::set<std::u16string>{u"אֱלֹהִ֑ים", u"הַשָּׁמַ֖יִם"}));
  EXPECT_TRUE(line_->MatchForm(u"א!ת", u"אֵ֥ת"));
  EXPECT_FALSE(line_->MatchForm(u"את", u"אֵ֥ת"));
}

TEST_F(GreekLineTest, TextVariantsAndBaseMatching) {
  Open(kGreek, false);
  EXPECT_EQ(line_->FindAltIndex(u"Nothing"), 0);
  EXPECT_EQ(line_->GetAltName(0), u"");
  EXPECT_TRUE(line_->MatchText(u"a*c?", u"abbcd"));
  EXPECT_FALSE(line_->MatchText(u"a*c?", u"abbc"));
  EXPECT_EQ(db_->FindLineByQueryName(u"upper"), db_->GetLine(1));
  EXPECT_EQ(db_->FindLineByQueryName(u"Upper"), nullptr);
}

}  // namespace
}  // namespace vorn
