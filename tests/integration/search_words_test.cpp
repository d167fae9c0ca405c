// Search words as people type them, on the real databases: canonically
// equivalent spellings find the same words, loose matching finds what a
// brute-force scan folded by ICU finds, a word that matches nothing says
// what loose matching would find, and every example of the query-language
// page and of the shipped prompt file runs. Skipped when the databases have
// not been built.

#include <gtest/gtest.h>
#include <unicode/coll.h>
#include <unicode/locid.h>

#include <fstream>
#include <memory>
#include <sstream>

#include "integration/integration_util.h"
#include "platform/u16.h"
#include "query/query_processor.h"
#include "textdb/ordinary_line.h"

namespace vorn::testing {
namespace {

using platform::ToU16;
using platform::ToUtf8;

CVornDB* DatabaseOrSkip(const std::string& name) { return RealDatabase(name); }

#define REQUIRE_DB(var, name)          \
  CVornDB* var = DatabaseOrSkip(name); \
  if (!var) GTEST_SKIP() << name << " has not been built";

// בָּרָא (he created): the database keeps dagesh before qamets; NFC and NFD
// put qamets (class 18) before dagesh (class 21). The text form carries a
// munah too.
const std::u16string kBaraDb = u"\u05D1\u05BC\u05B8\u05E8\u05B8\u05D0";
const std::u16string kBaraNfc = u"\u05D1\u05B8\u05BC\u05E8\u05B8\u05D0";
const std::u16string kBaraTextDb = u"\u05D1\u05BC\u05B8\u05E8\u05B8\u05A3\u05D0";
const std::u16string kBaraTextNfc = u"\u05D1\u05B8\u05BC\u05E8\u05B8\u05A3\u05D0";

TEST(SearchWordsTest, CanonicallyEquivalentHebrewFindsTheSameWords) {
  REQUIRE_DB(db, "HEB");
  PlainContext context(db);
  for (const auto& [keyword, db_order, nfc] :
       {std::tuple{u"base ", kBaraDb, kBaraNfc}, std::tuple{u"text ", kBaraTextDb, kBaraTextNfc}}) {
    std::string error;
    const std::vector<uint32_t> stored = RunQuery(ToUtf8(keyword + db_order), &context, &error);
    ASSERT_FALSE(stored.empty()) << error;
    // NFD is NFC for pointed Hebrew: it has no precomposed letters.
    EXPECT_EQ(RunQuery(ToUtf8(keyword + nfc), &context, &error), stored) << error;
    // In a wildcard pattern and a prefix look-up as well.
    const std::u16string head_db = db_order.substr(0, 4), head_nfc = nfc.substr(0, 4);
    const std::vector<uint32_t> wild = RunQuery(ToUtf8(keyword + head_db + u"*"), &context, &error);
    EXPECT_GE(wild.size(), stored.size()) << error;
    EXPECT_EQ(RunQuery(ToUtf8(keyword + head_nfc + u"*"), &context, &error), wild) << error;
  }
  EXPECT_EQ(RunQuery(ToUtf8(u"base " + kBaraNfc), &context).size(), 54u);
  auto* text = dynamic_cast<CVornDBOrdinaryLine*>(db->GetLine(0));
  ASSERT_NE(text, nullptr);
  FormList a, b;
  EXPECT_TRUE(text->MatchFormsPrefix(kBaraTextNfc.substr(0, 4), &a));
  EXPECT_TRUE(text->MatchFormsPrefix(kBaraTextDb.substr(0, 4), &b));
  EXPECT_EQ(a, b);
}

// Every word of `line` whose text equals `word` at primary strength, by a
// collator made here and asked word by word.
std::vector<uint32_t> ScanLoosely(const CVornDBOrdinaryLine& line, const std::u16string& word) {
  UErrorCode status = U_ZERO_ERROR;
  std::unique_ptr<icu::Collator> c(icu::Collator::createInstance(icu::Locale::getRoot(), status));
  c->setStrength(icu::Collator::PRIMARY);
  c->setAttribute(UCOL_NORMALIZATION_MODE, UCOL_ON, status);
  EXPECT_TRUE(U_SUCCESS(status));
  const icu::UnicodeString w(reinterpret_cast<const UChar*>(word.data()),
                             static_cast<int32_t>(word.size()));
  std::vector<uint32_t> hits;
  for (uint32_t i = 0; i < line.GetWordCount(); ++i) {
    // The stored form: a text line shows punctuation beside it.
    const std::u16string t = line.GetFormString(line.GetFormOfWord(static_cast<WordIndex>(i)));
    if (c->compare(icu::UnicodeString(reinterpret_cast<const UChar*>(t.data()),
                                      static_cast<int32_t>(t.size())),
                   w, status) == UCOL_EQUAL)
      hits.push_back(i);
  }
  return hits;
}

TEST(SearchWordsTest, LooseMatchingFindsWhatAFoldedScanFinds) {
  struct Case {
    const char* db;
    int line;
    std::u16string keyword, word;
  };
  const Case cases[] = {
      {"GNT", 4, u"base", u"λογος"}, {"GNT", 0, u"text", u"ουτως"}, {"GNT", 0, u"text", u"ΘΕΟΣ"},
      {"BYZ", 0, u"text", u"λογος"}, {"HEB", 4, u"base", u"ברא"},   {"HEB", 3, u"gloss", u"god"},
  };
  for (const Case& k : cases) {
    CVornDB* db = RealDatabase(k.db);
    if (!db) GTEST_SKIP() << k.db << " has not been built";
    auto* line = dynamic_cast<CVornDBOrdinaryLine*>(db->GetLine(k.line));
    ASSERT_NE(line, nullptr);
    ASSERT_TRUE(line->HasQueryName(k.keyword)) << ToUtf8(k.keyword);
    const std::vector<uint32_t> scanned = ScanLoosely(*line, k.word);
    ASSERT_FALSE(scanned.empty()) << ToUtf8(k.word);
    PlainContext context(db);
    std::string error;
    EXPECT_EQ(RunQuery(ToUtf8(k.keyword + u" ~" + k.word), &context, &error), scanned)
        << ToUtf8(k.word) << " " << error;
    // The default for unmarked words does the same; '=' still asks for the
    // exact spelling.
    context.SetLooseMatching(true);
    EXPECT_EQ(RunQuery(ToUtf8(k.keyword + u" " + k.word), &context, &error), scanned) << error;
    EXPECT_EQ(RunQuery(ToUtf8(k.keyword + u" =" + k.word + u"x"), &context, &error).size(), 0u);
  }
  CVornDB* gnt = RealDatabase("GNT");
  PlainContext context(gnt);
  EXPECT_EQ(RunQuery("base ~λογος", &context).size(), 330u);
  // Wildcards too: loosely, λογ* begins every form of λόγος and λογίζομαι.
  const std::vector<uint32_t> wild = RunQuery("base ~λογ*", &context);
  EXPECT_GT(wild.size(), 330u);
  EXPECT_LT(RunQuery("base λόγ*", &context).size(), RunQuery("base ~λόγ*", &context).size());
}

TEST(SearchWordsTest, AWordThatMatchesNothingSaysWhatLooseMatchingFinds) {
  REQUIRE_DB(gnt, "GNT");
  PlainContext context(gnt);
  CQueryProcessor processor(u"text Ἐν and base λογος", &context, nullptr);
  ASSERT_FALSE(processor.Execute());
  const CQError* error = processor.GetError();
  EXPECT_NE(ToUtf8(error->GetMessage())
                .find("`base λογος` matches nothing; ignoring accents and case: λόγος (330)"),
            std::string::npos)
      << ToUtf8(error->GetMessage());
  // Where a '~' makes the query run.
  ASSERT_EQ(error->GetLooseMarkAt(), 17);
  std::string why;
  EXPECT_FALSE(RunQuery("text Ἐν and base ~λογος", &context, &why).empty() && !why.empty()) << why;
  // Nothing loosely either: the plain message.
  EXPECT_EQ(RunQuery("base qqq", &context).size(), 0u);
  CQueryProcessor none(u"base qqq", &context, nullptr);
  ASSERT_FALSE(none.Execute());
  EXPECT_EQ(none.GetError()->GetLooseMarkAt(), -1);
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

// Each line of a "```query DB" block of the query-language page is a query
// that must find something in that database.
TEST(SearchWordsTest, EveryExampleOfTheQueryLanguagePageRuns) {
  std::istringstream page(ReadFile(std::string(VORN_SOURCE_DIR) + "/docs/query-language.md"));
  std::string line, db_name;
  int examples = 0;
  while (std::getline(page, line)) {
    if (line.rfind("```query ", 0) == 0) {
      db_name = line.substr(9);
      continue;
    }
    if (line.rfind("```", 0) == 0) {
      db_name.clear();
      continue;
    }
    if (db_name.empty() || line.empty()) continue;
    ++examples;
    CVornDB* db = RealDatabase(db_name);
    if (!db) GTEST_SKIP() << db_name << " has not been built";
    PlainContext context(db);
    std::string error;
    EXPECT_FALSE(RunQuery(line, &context, &error).empty())
        << db_name << ": " << line << ": " << error;
  }
  EXPECT_GT(examples, 20);
}

// Each prompt of the shipped prompt file ends with "(DB: what it finds)"
// and finds something in that database once the comment is cut off, as
// choosing it does.
TEST(SearchWordsTest, EveryShippedPromptRuns) {
  std::istringstream file(ReadFile(std::string(VORN_SOURCE_DIR) + "/packaging/Static Queries.txt"));
  std::string line;
  int prompts = 0;
  while (std::getline(file, line)) {
    if (line.empty()) continue;
    ++prompts;
    const size_t open = line.find(" (");
    ASSERT_NE(open, std::string::npos) << line;
    const std::string db_name = line.substr(open + 2, 3);
    CVornDB* db = RealDatabase(db_name);
    if (!db) GTEST_SKIP() << db_name << " has not been built";
    PlainContext context(db);
    std::string error;
    EXPECT_FALSE(RunQuery(line.substr(0, open), &context, &error).empty()) << line << ": " << error;
  }
  EXPECT_GT(prompts, 10);
}

}  // namespace
}  // namespace vorn::testing
