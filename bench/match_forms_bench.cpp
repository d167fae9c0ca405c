// Single-term look-ups on one line of the real databases, without the rest
// of a query: the exact word in the database's spelling and in NFC (which
// must cost the same), a loose word (a primary-strength range; target
// under 1 ms on the Hebrew OT) and a loose wildcard (a folded scan of the
// prefix range). Skipped when the databases are not built.
#include <benchmark/benchmark.h>

#include <string>

#include "platform/message_sink.h"
#include "platform/u16.h"
#include "textdb/catalogue.h"
#include "textdb/line.h"
#include "textdb/vorn_db.h"

using namespace vorn;

namespace {

CVornDB* Database(const std::string& name) {
  static platform::CStderrMessageSink sink;
  static CVornDBs dbs({VORN_DATA_DIR}, &sink, nullptr);
  const int index = dbs.FindByName(platform::ToU16(name));
  return index < 0 ? nullptr : dbs.GetDatabase(index);
}

enum Kind { kExact, kLoose };

void BM_Match(benchmark::State& state, const char* db_name, int line_index, Kind kind,
              std::u16string word) {
  CVornDB* db = Database(db_name);
  if (!db || line_index >= db->GetLineCount()) {
    state.SkipWithError("database not built; run vorn-build all --out <build>/data");
    return;
  }
  const CVornDBLine* line = db->GetLine(line_index);
  FormList forms;
  for (auto _ : state) {
    const bool found =
        kind == kExact ? line->MatchForms(word, &forms) : line->MatchFormsLoose(word, &forms);
    if (!found) {
      state.SkipWithError("nothing matched");
      return;
    }
    benchmark::DoNotOptimize(forms.data());
  }
  state.counters["forms"] = static_cast<double>(forms.size());
}

// בָּרָא with dagesh before qamets (as stored) and after it (NFC).
const std::u16string kBaraStored = u"\u05D1\u05BC\u05B8\u05E8\u05B8\u05D0";
const std::u16string kBaraNfc = u"\u05D1\u05B8\u05BC\u05E8\u05B8\u05D0";

}  // namespace

BENCHMARK_CAPTURE(BM_Match, heb_base_exact_stored, "HEB", 4, kExact, kBaraStored)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Match, heb_base_exact_nfc, "HEB", 4, kExact, kBaraNfc)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Match, heb_base_loose, "HEB", 4, kLoose, u"\u05D1\u05E8\u05D0")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Match, heb_text_loose, "HEB", 0, kLoose,
                  u"\u05D1\u05E8\u05D0\u05E9\u05D9\u05EA")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Match, heb_gloss_loose, "HEB", 3, kLoose, u"god")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Match, gnt_base_exact, "GNT", 4, kExact, u"λόγος")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Match, gnt_base_loose, "GNT", 4, kLoose, u"λογος")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Match, gnt_text_loose_wildcard, "GNT", 0, kLoose, u"λογ*")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Match, heb_text_exact_wildcard_nfc, "HEB", 0, kExact,
                  kBaraNfc.substr(0, 4) + u"*")
    ->Unit(benchmark::kMicrosecond);
