// Opening and reading a Bible-sized database: 400,000 words and seven lines,
// made once with the table writer into a temporary folder.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "platform/message_sink.h"
#include "platform/u16.h"
#include "textdb/db_check.h"
#include "textdb/db_stats.h"
#include "textdb/ordinary_line.h"
#include "textdb/table_writer.h"
#include "textdb/vorn_db.h"

using namespace vorn;

namespace {

constexpr uint32_t kWords = 400000;

// A made-up Greek-looking vocabulary with a Zipf-like spread of forms, so the
// form tables have realistic sizes (tens of thousands of forms).
std::u16string MakeWord(std::mt19937& rng) {
  static const char16_t kLetters[] = u"αβγδεζηθικλμνξοπρστυφχψωάέήίόύώἀἐὁ";
  std::geometric_distribution<int> rank(0.0005);
  int r = rank(rng);
  std::u16string w;
  uint32_t x = static_cast<uint32_t>(r) * 2654435761u + 7;
  int len = 2 + r % 9;
  for (int i = 0; i < len; ++i) {
    w.push_back(kLetters[x % (std::size(kLetters) - 1)]);
    x = x * 1103515245u + 12345u;
  }
  return w;
}

class BigDatabase {
 public:
  BigDatabase() {
    data_ = "/tmp/vorn_bench_" + std::to_string(::getpid());
    folder_ = data_ + "/BIG.qyx";
    DBSource s;
    s.name = u"BIG";
    s.title = u"Benchmark";
    s.books = {"GEN"};
    std::mt19937 rng(42);
    for (uint32_t w = 0; w < kWords; w += 25)
      s.verses.push_back({w, 1, static_cast<int>(1 + w / 25 / 200 % 250),
                          platform::ToU16(std::to_string(w / 25 % 200 + 1))});
    const char* names[] = {"Form", "Tlit", "Tag", "Glos", "Lema", "Strong", "Notes"};
    for (const char* n : names) {
      DBLine line;
      line.name = n;
      line.query_prompt = std::u16string(n, n + std::strlen(n));
      line.language = std::string(n) == "Form" ? u"Greek" : u"";
      line.words.reserve(kWords);
      for (uint32_t w = 0; w < kWords; ++w) line.words.push_back(MakeWord(rng));
      s.lines.push_back(std::move(line));
    }
    s.headings.push_back({0, {{1, {u"Book"}}}});
    s.sentence_starts = {0};
    std::string error;
    if (!CDBWriter(s).Write(folder_, &error)) {
      std::fprintf(stderr, "cannot write benchmark database: %s\n", error.c_str());
      std::abort();
    }
  }
  ~BigDatabase() { std::filesystem::remove_all(data_); }
  const std::string& folder() const { return folder_; }

 private:
  std::string data_, folder_;
};

BigDatabase& Big() {
  static BigDatabase db;
  return db;
}

// Warm open: the files are in the page cache after the first iteration.
void BM_OpenDatabase(benchmark::State& state) {
  platform::CRecordingMessageSink sink;
  const std::string folder = Big().folder();  // made before timing starts
  for (auto _ : state) {
    CVornDBStats stats(folder);
    if (!stats.Load()) state.SkipWithError("Stats.txt");
    std::unique_ptr<CVornDB> db = stats.OpenDatabase(&sink, nullptr);
    if (!db) state.SkipWithError("open");
    benchmark::DoNotOptimize(db.get());
  }
}
BENCHMARK(BM_OpenDatabase)->Unit(benchmark::kMillisecond);

struct OpenDb {
  OpenDb() : stats(Big().folder()) {
    // The database was just written: a failure here means a broken benchmark.
    if (!stats.Load()) std::abort();
    db = stats.OpenDatabase(&sink, nullptr);
    line = dynamic_cast<CVornDBOrdinaryLine*>(db->GetLine(1));
  }
  platform::CRecordingMessageSink sink;
  CVornDBStats stats;
  std::unique_ptr<CVornDB> db;
  CVornDBOrdinaryLine* line;
};

OpenDb& Opened() {
  static OpenDb o;
  return o;
}

void BM_GetStoredText(benchmark::State& state) {
  CVornDBOrdinaryLine* line = Opened().line;
  uint32_t w = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(line->GetStoredText(static_cast<WordIndex>(w), 0));
    w = (w + 7919) % kWords;
  }
}
BENCHMARK(BM_GetStoredText);

void BM_ExactForm(benchmark::State& state) {
  CVornDBOrdinaryLine* line = Opened().line;
  std::u16string pattern = line->GetWordString(12345);
  FormList forms;
  for (auto _ : state) benchmark::DoNotOptimize(line->MatchForms(pattern, &forms));
}
BENCHMARK(BM_ExactForm)->Unit(benchmark::kMicrosecond);

// A prefix pattern touches only its prefix range, not every form.
void BM_PrefixPattern(benchmark::State& state) {
  CVornDBOrdinaryLine* line = Opened().line;
  std::u16string pattern = line->GetWordString(12345).substr(0, 2) + u"*";
  FormList forms;
  for (auto _ : state) benchmark::DoNotOptimize(line->MatchForms(pattern, &forms));
  state.counters["forms"] = static_cast<double>(forms.size());
  state.counters["all_forms"] = static_cast<double>(line->GetFormCount());
}
BENCHMARK(BM_PrefixPattern)->Unit(benchmark::kMicrosecond);

void BM_WholeLineWildcard(benchmark::State& state) {
  CVornDBOrdinaryLine* line = Opened().line;
  FormList forms;
  CDBWordList words;
  for (auto _ : state) {
    line->MatchForms(u"*", &forms);
    line->WordsOfForms(forms, &words);
  }
  state.counters["words"] = static_cast<double>(words.size());
}
BENCHMARK(BM_WholeLineWildcard)->Unit(benchmark::kMillisecond);

// A search word of stars and letters on the Greek line: every form is tried
// against the pattern, in time pattern x form.
void BM_ManyStarsAndRuns(benchmark::State& state) {
  auto* form = dynamic_cast<CVornDBOrdinaryLine*>(Opened().db->GetLine(0));
  std::u16string pattern;
  for (int i = 0; i < 40; ++i) pattern += u"*&α";
  pattern += u"*";
  FormList forms;
  for (auto _ : state) benchmark::DoNotOptimize(form->MatchForms(pattern, &forms));
  state.counters["all_forms"] = static_cast<double>(form->GetFormCount());
}
BENCHMARK(BM_ManyStarsAndRuns)->Unit(benchmark::kMillisecond);

// The full cross-check of every table, against the open checks above.
void BM_CheckDatabase(benchmark::State& state) {
  CVornDBStats stats(Big().folder());
  if (!stats.Load()) state.SkipWithError("Stats.txt");
  std::vector<std::string> problems;
  for (auto _ : state) {
    problems.clear();
    if (!CheckDatabase(stats, &problems)) state.SkipWithError("faults in a sound database");
  }
}
BENCHMARK(BM_CheckDatabase)->Unit(benchmark::kMillisecond);

}  // namespace
