// Hit analysis on the real databases: the counts per value agree with a
// plain grouping of the hit words' texts (equal identifiers exactly for
// equal texts), the counts per book add up to the hits, and the grammar-tag
// positions are named. Skipped when the databases have not been built.

#include "query/hit_analysis.h"

#include <gtest/gtest.h>

#include <map>
#include <random>

#include "integration/integration_util.h"
#include "platform/u16.h"
#include "textdb/ordinary_line.h"
#include "textdb/tags_line.h"

namespace vorn::testing {
namespace {

using platform::ToU16;
using platform::ToUtf8;

// The value of `part` of `line` for word `w`, read without the analysis.
std::u16string PlainValue(const CVornDBOrdinaryLine& line, int part, uint32_t w) {
  const std::u16string_view text = line.GetStoredText(static_cast<WordIndex>(w));
  if (part == 0) return std::u16string(text);
  const size_t at = static_cast<size_t>(part - 1);
  return at < text.size() ? std::u16string(1, text[at]) : u"";
}

void ExpectCountsMatchGrouping(CVornDB* db, const std::vector<uint32_t>& hits,
                               const std::string& query) {
  for (const AnalysisPart& p : ListAnalysisParts(*db)) {
    const CVornDBLine* line = db->GetLine(p.line);
    const std::vector<HitValueCount> counts = CountHitValues(*line, p.part, hits);
    const auto* ordinary = dynamic_cast<const CVornDBOrdinaryLine*>(line);
    if (!ordinary) {
      for (size_t i = 1; i < counts.size(); ++i) EXPECT_LT(counts[i - 1].id, counts[i].id);
      continue;
    }
    std::map<std::u16string, uint32_t> expected, got;
    for (uint32_t w : hits) ++expected[PlainValue(*ordinary, p.part, w)];
    for (const HitValueCount& c : counts) {
      std::u16string text = line->GetValueText(p.part, c.id);
      // A tag position's text is the pattern that finds it: keep the character.
      if (p.part > 0) text = text == u"-" ? u"" : text.substr(static_cast<size_t>(p.part - 1), 1);
      EXPECT_TRUE(got.emplace(text, c.count).second)
          << query << " / " << ToUtf8(p.name) << ": two identifiers for " << ToUtf8(text);
    }
    EXPECT_EQ(got, expected) << query << " / " << ToUtf8(p.name);
  }
}

TEST(HitAnalysisTest, CountsAgreeWithGroupingTheHitWords) {
  for (const std::string name : {"GNT", "HEB"}) {
    CVornDB* db = RealDatabase(name);
    if (!db) GTEST_SKIP() << name << " has not been built";
    PlainContext context(db);
    auto* lemma = dynamic_cast<CVornDBOrdinaryLine*>(db->GetLine(db->GetLemmaLineIndex()));
    ASSERT_NE(lemma, nullptr);
    std::mt19937 random(17);
    std::uniform_int_distribution<uint32_t> any_word(0, db->GetWordCount() - 1);
    std::vector<std::string> queries = {name == "GNT" ? "tag N*" : "tag v*"};
    for (int i = 0; i < 4; ++i) {
      queries.push_back("base " + ToUtf8(lemma->GetStoredText(any_word(random))));
    }
    for (const std::string& query : queries) {
      std::string error;
      const std::vector<uint32_t> hits = RunQuery(query, &context, &error);
      ASSERT_FALSE(hits.empty()) << query << ": " << error;
      ExpectCountsMatchGrouping(db, hits, query);
      uint32_t in_books = 0;
      for (const HitPlaceCount& book : CountHitPlaces(*db, hits, false)) in_books += book.hits;
      EXPECT_EQ(in_books, hits.size()) << query;
    }
  }
}

TEST(HitAnalysisTest, FormsOfLogosAndTheTagPositionsAreListed) {
  CVornDB* db = RealDatabase("GNT");
  if (!db) GTEST_SKIP() << "GNT has not been built";
  PlainContext context(db);
  const std::vector<uint32_t> hits = RunQuery("base λόγος", &context);
  AnalysisPart form;
  ASSERT_TRUE(FindAnalysisPart(*db, u"Form", &form));
  uint32_t sum = 0;
  for (const HitValueCount& c : CountHitValues(*db->GetLine(form.line), form.part, hits)) {
    sum += c.count;
  }
  EXPECT_EQ(sum, 330u);

  AnalysisPart pos;
  ASSERT_TRUE(FindAnalysisPart(*db, u"Friberg tag: part of speech", &pos));
  EXPECT_EQ(pos.line, db->GetTagLineIndex());
  EXPECT_EQ(pos.part, 1);
  EXPECT_TRUE(FindAnalysisPart(*db, u"Friberg tag: character 2", &pos));
  // Friberg's "N-NM-S": the part of speech of every noun hit is N.
  const std::vector<HitValueCount> kinds = CountHitValues(*db->GetLine(pos.line), 1, hits);
  ASSERT_EQ(kinds.size(), 1u);
  EXPECT_EQ(db->GetLine(pos.line)->GetValueText(1, kinds[0].id), u"N*");
  EXPECT_EQ(RunQuery("base λόγος and tag N*", &context).size(), 330u);
}

}  // namespace
}  // namespace vorn::testing
