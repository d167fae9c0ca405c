// Writing a Bible-sized database: 420,000 words, seven lines with tens of
// thousands of forms each, a verse every 25 words, headings, punctuation and
// a links line. The whole build (sorting forms, every table, Stats.txt) must
// take a few seconds.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <random>
#include <string>

#include "platform/u16.h"
#include "textdb/table_writer.h"

using namespace vorn;

namespace {

constexpr uint32_t kWords = 420000;

// Greek-looking words with a Zipf-like spread of forms.
std::u16string MakeWord(std::mt19937& rng, int line) {
  static const char16_t kLetters[] = u"αβγδεζηθικλμνξοπρστυφχψωάέήίόύώἀἐὁῇ";
  std::geometric_distribution<int> rank(0.0004);
  uint32_t x = static_cast<uint32_t>(rank(rng)) * 2654435761u + 7u * static_cast<uint32_t>(line);
  std::u16string w;
  int len = 2 + static_cast<int>(x % 11);
  for (int i = 0; i < len; ++i) {
    x = x * 1103515245u + 12345u;
    w.push_back(kLetters[(x >> 8) % (std::size(kLetters) - 1)]);
  }
  return w;
}

const DBSource& BigSource() {
  static const DBSource source = [] {
    DBSource s;
    s.name = u"BIG";
    s.title = u"Benchmark";
    s.books = {"MAT", "MRK"};
    std::mt19937 rng(7);
    for (uint32_t w = 0; w < kWords; w += 25) {
      int book = w < kWords / 2 ? 1 : 2;
      uint32_t in_book = book == 1 ? w : w - kWords / 2;
      s.verses.push_back({w, book, static_cast<int>(1 + in_book / 25 / 200),
                          platform::ToU16(std::to_string(in_book / 25 % 200 + 1))});
      s.sentence_starts.push_back(w);
      s.punctuation.push_back({w + 24, -1, u"", u"."});
      if (w % 5000 == 0) s.headings.push_back({w, {{1, {u"Section"}}}});
    }
    const char* names[] = {"Form", "Tlit", "Tag", "Glos", "Lema", "Strong", "Notes"};
    for (int i = 0; i < 7; ++i) {
      DBLine line;
      line.name = names[i];
      line.words.reserve(kWords);
      for (uint32_t w = 0; w < kWords; ++w) line.words.push_back(MakeWord(rng, i));
      s.lines.push_back(std::move(line));
    }
    s.lines.emplace_back().name = "Links";
    s.links.kinds = {{"Strong", {{"Search", u"%1"}}}};
    for (uint32_t w = 0; w < kWords; ++w) {
      s.links.words.push_back(
          {w, {{0, false, platform::ToU16("G" + std::to_string(w % 5000)), ""}}});
    }
    return s;
  }();
  return source;
}

void BM_BuildTables(benchmark::State& state) {
  const DBSource& s = BigSource();
  for (auto _ : state) {
    CDBWriter writer(s);
    std::string error;
    if (!writer.Build(&error)) state.SkipWithError(error.c_str());
    benchmark::DoNotOptimize(writer.GetFiles().size());
  }
}
BENCHMARK(BM_BuildTables)->Unit(benchmark::kMillisecond);

void BM_WriteDatabase(benchmark::State& state) {
  const DBSource& s = BigSource();
  const std::string parent = "/tmp/vorn_writer_bench_" + std::to_string(::getpid());
  for (auto _ : state) {
    CDBWriter writer(s);
    std::string error;
    if (!writer.Write(parent + "/BIG.qyx", &error)) state.SkipWithError(error.c_str());
  }
  std::filesystem::remove_all(parent);
}
BENCHMARK(BM_WriteDatabase)->Unit(benchmark::kMillisecond);

}  // namespace
