// Collation and wildcard matching of ordinary lines on Greek and Hebrew
// forms with accents, breathings, vowel points and cantillation.
#include "textdb/ordinary_line.h"

#include <gtest/gtest.h>
#include <unicode/coll.h>

#include <algorithm>
#include <filesystem>
#include <set>

#include "platform/message_sink.h"
#include "platform/u16.h"
#include "temp_folder.h"
#include "textdb/collation.h"
#include "textdb/db_stats.h"
#include "textdb/ini_file.h"
#include "textdb/table_writer.h"
#include "textdb/vorn_db.h"
#include "textdb_test_util.h"

namespace vorn {
namespace {

// Greek words with and without accents and breathings, upper and lower case.
const std::vector<std::u16string> kGreek = {u"λόγος", u"λόγου", u"λόγῳ",  u"Λόγος", u"λογος",
                                            u"λέγει", u"ἀρχῇ",  u"ἀρχή",  u"αρχη",  u"λόγος",
                                            u"ὁ",     u"ὅτι",   u"λόγων", u"ἦν",    u"θεός"};
// Hebrew with points and cantillation (U+0591..U+05AF), and consonants only.
const std::vector<std::u16string> kHebrew = {u"בְּרֵאשִׁ֖ית", u"בְּרֵאשִׁית", u"בראשית", u"בָּרָ֣א",
                                             u"בָּרָא",    u"אֱלֹהִ֑ים",  u"אֵ֥ת",     u"הַשָּׁמַ֖יִם"};

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

  void Open(const std::vector<std::u16string>& words, bool hebrew, CIniFile* settings = nullptr) {
    temp_ = std::make_unique<testing::TempFolder>("line");
    folder_ = temp_->path() + "/T.qyx";
    DBSource source = MakeSource(words, hebrew);
    std::string error;
    ASSERT_TRUE(CDBWriter(source).Write(folder_, &error)) << error;
    stats_ = std::make_unique<CVornDBStats>(folder_);
    ASSERT_TRUE(stats_->Load());
    db_ = stats_->OpenDatabase(&sink_, settings);
    ASSERT_NE(db_, nullptr);
    line_ = dynamic_cast<CVornDBOrdinaryLine*>(db_->GetLine(0));
    ASSERT_NE(line_, nullptr);
  }
  void TearDown() override {
    db_.reset();
    temp_.reset();
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
  std::unique_ptr<testing::TempFolder> temp_;
  std::string folder_;
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
    EXPECT_NE(
        collator->compare(reinterpret_cast<const UChar*>(line_->GetFormString(f - 1)), -1,
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
  EXPECT_EQ(Match(u"בראשית", true), (std::set<std::u16string>{u"בְּרֵאשִׁ֖ית", u"בְּרֵאשִׁית", u"בראשית"}));
  EXPECT_EQ(Match(u"בר", true),
            (std::set<std::u16string>{u"בְּרֵאשִׁ֖ית", u"בְּרֵאשִׁית", u"בראשית", u"בָּרָ֣א", u"בָּרָא"}));
  // '!' after each consonant skips any points and accents.
  EXPECT_EQ(Match(u"ב!ר!א!"), (std::set<std::u16string>{u"בָּרָ֣א", u"בָּרָא"}));
  EXPECT_EQ(Match(u"ב!ר!א!ש!י!ת!"), (std::set<std::u16string>{u"בְּרֵאשִׁ֖ית", u"בְּרֵאשִׁית", u"בראשית"}));
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

TEST_F(GreekLineTest, PrefixLongerThanAnyFixedKeyBuffer) {
  // A form and a prefix whose sort keys run to well over 512 bytes: the
  // bounds of the prefix range are as long as the prefix's key.
  std::u16string long_form;
  for (int i = 0; i < 300; ++i) long_form += u"λόγος";
  std::vector<std::u16string> words = kGreek;
  words.push_back(long_form);
  Open(words, false);
  const std::u16string prefix = long_form.substr(0, long_form.size() - 3);
  // (Compared as a flag: a failure message with the long form is unreadable.)
  auto only_long = [&](const std::set<std::u16string>& got) {
    return got.size() == 1 && *got.begin() == long_form;
  };
  EXPECT_TRUE(only_long(Match(prefix, true)));
  EXPECT_TRUE(only_long(Match(prefix + u"*")));
  EXPECT_TRUE(Match(prefix + u"ξ*").empty());
  EXPECT_TRUE(only_long(Match(u"λογοσλ", true)));
}

TEST_F(GreekLineTest, ManyStarsMatchWithoutRetryingPositions) {
  std::vector<std::u16string> words = kGreek;
  words.push_back(u"αααααααααααααααααααααααααααααααααααααααβ");
  Open(words, false);
  // Each '*' tries every later position; without remembering the positions
  // that failed, this takes time exponential in the number of stars
  // (seconds here, and hours with twice as many).
  const std::u16string many = u"*α*α*α*α*α*α*α*α*α*α*γ";
  EXPECT_TRUE(Match(many).empty());
  EXPECT_FALSE(line_->MatchForm(many, words.back()));
  EXPECT_TRUE(line_->MatchForm(u"*α*α*α*α*α*α*α*α*α*α*β", words.back()));
  // Run operators and '*' together still give the same answers.
  EXPECT_TRUE(line_->MatchForm(u"*&*ο&ς", u"λόγος"));
  EXPECT_TRUE(line_->MatchForm(u"λ*&", u"λόγος"));
  EXPECT_TRUE(line_->MatchForm(u"**", u""));
  EXPECT_FALSE(line_->MatchForm(u"*λ*λ*", u"λόγος"));
  EXPECT_EQ(Match(u"*ο&*ο&ς"), (std::set<std::u16string>{u"λόγος", u"Λόγος", u"λογος"}));
}

// The match as first written: recursion per '*' and run operator, tried
// position by position. Kept here as the statement of the rules that the
// line's own matcher must give the same answers to.
bool ReferenceMatch(const CVornDBOrdinaryLine& line, std::u16string_view p, std::u16string_view t,
                    const icu::Collator& primary) {
  auto empty_primary = [&](char16_t c) {
    static const std::unique_ptr<icu::Collator> full = MakeFormCollator();
    uint8_t key[32];
    const UChar u = c;
    return full->getSortKey(&u, 1, key, sizeof key) > 0 && key[0] == 1;
  };
  if (p.empty()) return t.empty();
  if (!t.empty() && p[0] == t[0]) return ReferenceMatch(line, p.substr(1), t.substr(1), primary);
  if (line.IsGreek() && !t.empty() && p.size() > 1 && p[1] == u'&' && !empty_primary(t[0])) {
    UErrorCode status = U_ZERO_ERROR;
    const UChar a = p[0], b = t[0];
    if (primary.compare(&a, 1, &b, 1, status) == UCOL_EQUAL)
      return ReferenceMatch(line, p.substr(1), t.substr(1), primary);
  }
  if (p[0] == u'?') return !t.empty() && ReferenceMatch(line, p.substr(1), t.substr(1), primary);
  if (p[0] == u'*') {
    for (size_t k = 0; k <= t.size(); ++k)
      if (ReferenceMatch(line, p.substr(1), t.substr(k), primary)) return true;
    return p.size() == 1;
  }
  if ((line.IsHebrew() && p[0] == u'!') || (line.IsGreek() && p[0] == u'&')) {
    for (size_t k = 0;; ++k) {
      if (ReferenceMatch(line, p.substr(1), t.substr(k), primary)) return true;
      if (k == t.size() || !empty_primary(t[k])) return false;
    }
  }
  return false;
}

TEST_F(GreekLineTest, StarsAndRunsMatchAsTheRulesSayWithoutRecursion) {
  Open(kGreek, false);
  // Forty thousand stars once overflowed the stack; now they are one star.
  const std::u16string stars(40000, u'*');
  EXPECT_EQ(Match(stars + u"ν").size(), 2u);  // ἦν, λόγων
  EXPECT_TRUE(line_->MatchForm(stars + u"ς", u"λόγος"));
  std::u16string alternating;
  for (int i = 0; i < 2000; ++i) alternating += u"*&";
  EXPECT_TRUE(line_->MatchForm(alternating + u"ς", u"λόγος"));
  // Short random patterns over the letters, accents and wildcards of the
  // forms agree with the rules as first written.
  std::unique_ptr<icu::Collator> primary = MakeFormCollator();
  primary->setStrength(icu::Collator::PRIMARY);
  const std::u16string alphabet = u"λογόςυ\u0301*?&ο";
  uint32_t seed = 1;
  for (int i = 0; i < 3000; ++i) {
    std::u16string pattern;
    seed = seed * 1103515245u + 12345u;
    const size_t length = 1 + (seed >> 16) % 7;
    for (size_t k = 0; k < length; ++k) {
      seed = seed * 1103515245u + 12345u;
      pattern += alphabet[(seed >> 16) % alphabet.size()];
    }
    for (const std::u16string& form : kGreek)
      ASSERT_EQ(line_->MatchForm(pattern, form), ReferenceMatch(*line_, pattern, form, *primary))
          << platform::ToUtf8(pattern) << " / " << platform::ToUtf8(form);
  }
}

TEST_F(HebrewLineTest, RunsOfBangAndStarMatchAsTheRulesSay) {
  Open(kHebrew, true);
  std::unique_ptr<icu::Collator> primary = MakeFormCollator();
  primary->setStrength(icu::Collator::PRIMARY);
  for (const std::u16string pattern : {u"ב!ר!*ת!", u"*!*ם", u"!!ב*", u"?!*?", u"**!"})
    for (const std::u16string& form : kHebrew)
      EXPECT_EQ(line_->MatchForm(pattern, form), ReferenceMatch(*line_, pattern, form, *primary))
          << platform::ToUtf8(pattern) << " / " << platform::ToUtf8(form);
}

// Records what a form list shows.
class ListRecorder : public CFormListSink {
 public:
  void SetRedraw(bool on) override { redraw_ = on; }
  void Clear() override { items_.clear(); }
  void AddString(const std::u16string& text) override { items_.push_back(text); }
  std::vector<std::u16string> items_;
  bool redraw_ = true;
};

TEST_F(GreekLineTest, FormListWithACountMeaningAll) {
  Open(kGreek, false);
  ListRecorder list;
  const FormList forms = {0, 1, 2};
  line_->FillFormList(forms, &list, 1, SIZE_MAX);
  EXPECT_EQ(list.items_,
            (std::vector<std::u16string>{u"...", line_->GetFormText(1), line_->GetFormText(2)}));
  EXPECT_TRUE(list.redraw_);
  line_->FillFormList(forms, &list, 0, 2);
  EXPECT_EQ(list.items_,
            (std::vector<std::u16string>{line_->GetFormText(0), line_->GetFormText(1), u"..."}));
  line_->FillFormList(forms, &list, 5, 2);
  EXPECT_EQ(list.items_, (std::vector<std::u16string>{u"..."}));
}

TEST_F(GreekLineTest, UserFontsAreReadAndOnlyDifferencesWritten) {
  CIniFile settings;
  // An absurd size is ignored rather than overflowing the height.
  settings.SetInt(u"Font GNT:Text", u"Size", 2000000000);
  settings.SetString(u"Font GNT:Text", u"Colour", u"dkgreen");
  settings.SetString(u"Font GNT:Upper", u"Face", u"Gentium,I");
  settings.SetInt(u"Font GNT:Upper", u"Size", 14);
  Open(kGreek, false, &settings);
  EXPECT_EQ(line_->GetFont().height(), 120);
  EXPECT_EQ(line_->GetFont().colour(), 8u);
  CVornDBLine* upper = db_->GetLine(1);
  EXPECT_EQ(upper->GetFont().face(), u"Gentium");
  EXPECT_TRUE(upper->GetFont().italic());
  EXPECT_EQ(upper->GetFont().height(), 140);
  EXPECT_EQ(upper->GetDefaultFont().face(), u"Arial");

  // Back to the default: the section goes away.
  line_->SetFont(u"Arial", 12, 0);
  EXPECT_FALSE(settings.HasSection(u"Font GNT:Text"));
  // Only what differs from the default is written.
  upper->SetFont(u"Arial", 16, kColourYellow);
  std::u16string value;
  EXPECT_FALSE(settings.GetString(u"Font GNT:Upper", u"Face", &value));
  int32_t size = 0;
  EXPECT_TRUE(settings.GetInt(u"Font GNT:Upper", u"Size", &size));
  EXPECT_EQ(size, 16);
  EXPECT_TRUE(settings.GetString(u"Font GNT:Upper", u"Colour", &value));
  EXPECT_EQ(value, u"Yellow");
}

}  // namespace
}  // namespace vorn
