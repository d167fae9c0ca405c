// Whole query runs (parse, prepare, evaluate) on the real databases of the
// build's data folder, as the query box runs them. Targets: a single term
// under 5 ms, three terms within the same verse under 20 ms, a wildcard
// over a whole line under 100 ms. Hit analysis of `text *` on the Hebrew OT:
// by base form under 100 ms, by book under 20 ms. Skipped when the databases are not built.
#include <benchmark/benchmark.h>

#include <string>

#include "platform/message_sink.h"
#include "platform/u16.h"
#include "query/hit_analysis.h"
#include "query/query_context.h"
#include "query/query_processor.h"
#include "textdb/catalogue.h"
#include "textdb/vorn_db.h"

using namespace vorn;

namespace {

CVornDB* Database(const std::string& name) {
  static platform::CStderrMessageSink sink;
  static CVornDBs dbs({VORN_DATA_DIR}, &sink, nullptr);
  const int index = dbs.FindByName(platform::ToU16(name));
  return index < 0 ? nullptr : dbs.GetDatabase(index);
}

class PlainContext : public CQueryContext {
 public:
  explicit PlainContext(CVornDB* db) : db_(db) {}
  CVornDB* GetDatabase() const override { return db_; }

 private:
  CVornDB* db_;
};

void BM_Query(benchmark::State& state, const char* db_name, const char* query) {
  CVornDB* db = Database(db_name);
  if (!db) {
    state.SkipWithError("database not built; run vorn-build all --out <build>/data");
    return;
  }
  PlainContext context(db);
  const std::u16string text = platform::ToU16(query);
  size_t hits = 0;
  for (auto _ : state) {
    CQueryProcessor processor(text, &context, nullptr);
    if (!processor.Execute()) {
      state.SkipWithError("the query failed");
      return;
    }
    hits = processor.GetHitCount();
    benchmark::DoNotOptimize(hits);
  }
  state.counters["hits"] = static_cast<double>(hits);
}

// Counts the hits of `query` per base form (by_book false) or per book.
void BM_Analyse(benchmark::State& state, const char* db_name, const char* query, bool by_book) {
  CVornDB* db = Database(db_name);
  if (!db || db->GetLemmaLineIndex() < 0) {
    state.SkipWithError("database not built; run vorn-build all --out <build>/data");
    return;
  }
  PlainContext context(db);
  CQueryProcessor processor(platform::ToU16(query), &context, nullptr);
  if (!processor.Execute()) {
    state.SkipWithError("the query failed");
    return;
  }
  const std::vector<uint32_t>& hits = processor.GetHits();
  const CVornDBLine& lemma = *db->GetLine(db->GetLemmaLineIndex());
  size_t rows = 0;
  for (auto _ : state) {
    rows =
        by_book ? CountHitPlaces(*db, hits, false).size() : CountHitValues(lemma, 0, hits).size();
    benchmark::DoNotOptimize(rows);
  }
  state.counters["hits"] = static_cast<double>(hits.size());
  state.counters["rows"] = static_cast<double>(rows);
}

}  // namespace

BENCHMARK_CAPTURE(BM_Analyse, heb_all_words_by_base_form, "HEB", "text *", false)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Analyse, heb_all_words_by_book, "HEB", "text *", true)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Query, gnt_single_term, "GNT", "base λόγος")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Query, gnt_single_frequent_term, "GNT", "base ὁ")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Query, heb_single_term, "HEB", "strong H430")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(
    BM_Query, gnt_three_terms_same_verse, "GNT",
    "base λόγος within the same verse as base θεός within the same verse as base εἰμί")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Query, gnt_three_frequent_terms_same_verse, "GNT",
                  "base καί within the same verse as base ὁ within the same verse as base αὐτός")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(
    BM_Query, heb_three_terms_same_verse, "HEB",
    "strong H430 within the same verse as strong H3068 within the same verse as strong H559")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Query, gnt_wildcard_whole_line, "GNT", "text *")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Query, heb_wildcard_whole_line, "HEB", "text *")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Query, byz_wildcard_whole_line, "BYZ", "text *")
    ->Unit(benchmark::kMillisecond);
