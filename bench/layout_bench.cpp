// Laying out the interlinear text on the deterministic device: rebuilding a
// 1200 x 900 window with every line visible, copying a chapter as table
// rich text, and scrolling through a whole book screen by screen (with the
// process's resident memory before and after). Runs on the Greek database
// of the data folder (VORN_DATA, else the build's) when it is there, else
// on a made-up database of one book of the same shape.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "device/text_device.h"
#include "layout/layout_kinds.h"
#include "metrics/view_metrics.h"
#include "platform/message_sink.h"
#include "platform/u16.h"
#include "textdb/catalogue.h"
#include "textdb/db_stats.h"
#include "textdb/table_writer.h"
#include "textdb/verses.h"
#include "textdb/vorn_db.h"
#include "wordinfo/word_line_factories.h"

using namespace vorn;

namespace {

constexpr int kWidth = 1200;
constexpr int kHeight = 900;

// A book of 21 chapters of 30 verses of 14 words, every word with five
// lines, a heading at each chapter and a paragraph every five verses.
DBSource MakeBook() {
  static const char16_t* const kForms[] = {u"λόγος", u"καὶ",  u"θεὸς",     u"ἦν",      u"πρὸς",
                                           u"τὸν",   u"ἀρχῇ", u"ἄνθρωπος", u"ἐγένετο", u"φῶς"};
  DBSource s;
  s.name = u"GNT";
  s.title = u"Made-up book";
  s.books = {"JHN"};
  s.verse_font = u"Face=\"Arial\" Size=\"10\" Colour=\"Red\"";
  s.chapter_font = u"Face=\"Arial\" Size=\"14\" Style=\"B\"";
  s.ref_font = u"Face=\"Arial\" Size=\"9\"";
  s.heading_fonts = {{"Title", u"Face=\"Arial\" Size=\"16\" Style=\"B\""}};
  const char* names[] = {"Form", "Tlit", "Tag", "Glos", "Lema"};
  for (const char* n : names) {
    DBLine line;
    line.name = n;
    line.font = std::string(n) == "Form" || std::string(n) == "Lema"
                    ? u"Face=\"Gentium Plus\" Size=\"14\""
                    : u"Face=\"Arial\" Size=\"10\"";
    s.lines.push_back(line);
  }
  uint32_t word = 0;
  for (int chapter = 1; chapter <= 21; ++chapter) {
    s.headings.push_back({word, {{1, {u"Chapter " + platform::ToU16(std::to_string(chapter))}}}});
    for (int verse = 1; verse <= 30; ++verse) {
      s.verses.push_back({word, 1, chapter, platform::ToU16(std::to_string(verse))});
      s.sentence_starts.push_back(word);
      if (verse % 5 == 1) s.formats.push_back({word, u"p"});
      for (int i = 0; i < 14; ++i, ++word) {
        const std::u16string form = kForms[(word * 7 + i) % 10];
        s.lines[0].words.push_back(form);
        s.lines[1].words.push_back(u"translit");
        s.lines[2].words.push_back(u"N-NM-S");
        s.lines[3].words.push_back(u"gloss");
        s.lines[4].words.push_back(form);
      }
    }
  }
  return s;
}

long ResidentKb() {
  long pages = 0, resident = 0;
  if (FILE* f = std::fopen("/proc/self/statm", "r")) {
    if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2) resident = 0;
    std::fclose(f);
  }
  return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

// The database the benchmarks run on, opened once.
class Data {
 public:
  static Data& Get() {
    static Data data;
    return data;
  }
  CVornDB* db() const { return db_; }
  const char* source() const { return source_; }
  // JHN's words, and those of its first chapter.
  WordSpan book() const { return book_; }
  WordSpan chapter() const { return chapter_; }

 private:
  Data() {
    const char* env = std::getenv("VORN_DATA");
    const std::string folder = env && *env ? env : VORN_DATA_DIR;
    dbs_ = std::make_unique<CVornDBs>(std::vector<std::string>{folder}, &sink_, nullptr);
    const int i = dbs_->FindByName(u"GNT");
    db_ = i < 0 ? nullptr : dbs_->GetDatabase(i);
    source_ = "data folder GNT";
    if (!db_) {
      made_ = std::filesystem::temp_directory_path() /
              ("vorn_layout_bench_" + std::to_string(getpid()));
      std::string error;
      const DBSource book = MakeBook();  // the writer keeps a reference
      CDBWriter writer(book);
      if (!writer.Write((made_ / "GNT.qyx").string(), &error)) {
        std::fprintf(stderr, "cannot write the made-up database: %s\n", error.c_str());
        std::abort();
      }
      dbs_ = std::make_unique<CVornDBs>(std::vector<std::string>{made_.string()}, &sink_, nullptr);
      db_ = dbs_->GetDatabase(dbs_->FindByName(u"GNT"));
      source_ = "made-up book";
    }
    InstallWordLineFactories(db_);
    const int jhn = db_->GetBookNumber(u"JHN");
    book_ = db_->GetVerses()->GetBookSpan(jhn);
    chapter_ = db_->GetVerses()->GetChapterSpan(jhn, 1);
  }
  ~Data() {
    std::error_code ec;
    if (!made_.empty()) std::filesystem::remove_all(made_, ec);
  }

  platform::CStderrMessageSink sink_;
  std::unique_ptr<CVornDBs> dbs_;
  CVornDB* db_ = nullptr;
  const char* source_ = "";
  std::filesystem::path made_;
  WordSpan book_, chapter_;
};

void BM_RebuildScreenEveryLine(benchmark::State& state) {
  Data& data = Data::Get();
  CTextDevice device;
  CViewMetrics metrics(data.db(), nullptr);
  metrics.SetSize(kWidth, kHeight);
  metrics.Prepare(&device, 0);
  CVerseLayout layout(data.db(), &metrics);
  const WordSpan chapter = data.chapter();
  WordIndex focus = chapter.first;
  size_t units = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(layout.Rebuild(focus, kHeight / 3, true));
    units += layout.GetUnits().size();
    focus += 37;
    if (focus >= chapter.end) focus = chapter.first;
  }
  state.counters["units"] = static_cast<double>(units) / static_cast<double>(state.iterations());
  state.SetLabel(data.source());
}
BENCHMARK(BM_RebuildScreenEveryLine)->Unit(benchmark::kMillisecond);

void BM_CopyChapterAsTableRtf(benchmark::State& state) {
  Data& data = Data::Get();
  CTextDevice device;
  CViewMetrics pane(data.db(), nullptr);
  pane.SetSize(kWidth, kHeight);
  pane.Prepare(&device, 0);
  std::vector<WordIndex> selection;
  for (WordIndex w = data.chapter().first; w < data.chapter().end; ++w) selection.push_back(w);
  size_t bytes = 0;
  for (auto _ : state) {
    // As the Copy command does: a copy of the pane's metrics, a new layout.
    CViewMetrics copy(pane);
    copy.Prepare(&device, 0);
    CVerseLayout layout(data.db(), &copy);
    layout.BuildForSelection(selection);
    std::u16string rtf;
    layout.WriteRtfTable(&rtf);
    bytes = rtf.size();
    benchmark::DoNotOptimize(rtf.data());
  }
  state.counters["chars"] = static_cast<double>(bytes);
  state.counters["words"] = static_cast<double>(selection.size());
  state.SetLabel(data.source());
}
BENCHMARK(BM_CopyChapterAsTableRtf)->Unit(benchmark::kMillisecond);

// Screen after screen to the end of the book, as a view scrolls: rebuild
// around the focus, move it up by a window, take the new top word.
void BM_ScrollBookByScreens(benchmark::State& state) {
  Data& data = Data::Get();
  CTextDevice device;
  CViewMetrics metrics(data.db(), nullptr);
  metrics.SetSize(kWidth, kHeight);
  metrics.Prepare(&device, 0);
  CVerseLayout layout(data.db(), &metrics);
  const WordSpan book = data.book();
  long rss_first = 0, rss_last = 0;
  size_t screens = 0, max_units = 0;
  for (auto _ : state) {
    WordIndex focus = book.first;
    int y = 0;
    screens = 0;
    for (;;) {
      y = layout.Rebuild(focus, y, false);
      max_units = std::max(max_units, layout.GetUnits().size());
      if (screens == 10 && rss_first == 0) rss_first = ResidentKb();
      ++screens;
      layout.Scroll(-kHeight);
      int top_y = 0;
      const WordIndex top = layout.GetTopWord(&top_y);
      if (top == -1 || top <= focus || top >= book.end) break;
      focus = top;
      y = top_y;
    }
    rss_last = ResidentKb();
  }
  state.counters["screens"] = static_cast<double>(screens);
  state.counters["max_units"] = static_cast<double>(max_units);
  state.counters["rss_growth_kb"] = static_cast<double>(rss_last - rss_first);
  state.SetLabel(data.source());
}
BENCHMARK(BM_ScrollBookByScreens)->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace
