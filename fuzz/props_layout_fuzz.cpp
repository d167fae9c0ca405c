// Takes arbitrary bytes as a proposition file of a small database, loads it
// and lays out every proposition at every view level: whatever levels a
// file claims, loading refuses it or the layout stays small and sound.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "layout/layout_kinds.h"
#include "layout/layout_unit.h"
#include "layout/text_device.h"
#include "layout/view_metrics.h"
#include "markup/propositions.h"
#include "platform/message_sink.h"
#include "textdb/db_stats.h"
#include "textdb/table_writer.h"
#include "textdb/vorn_db.h"
#include "wordinfo/word_line_factories.h"

using namespace vorn;

namespace {

struct World {
  std::string folder;
  std::string user_folder;
  platform::CRecordingMessageSink sink;
  std::unique_ptr<CVornDBStats> stats;
  std::unique_ptr<CVornDB> db;
  CTextDevice device;
  std::unique_ptr<CViewMetrics> metrics;
};

World* TheWorld() {
  static World* world = [] {
    auto* w = new World;
    DBSource s;
    s.name = u"GNT";
    s.title = u"Fuzz";
    s.books = {"MAT"};
    s.verses = {{0, 1, 1, u"1"}, {6, 1, 1, u"2"}, {12, 1, 2, u"1"}};
    DBLine form{"Form", u"", u"text", {u"form"}, u"Greek", u"", {}, {}, {}};
    for (int i = 0; i < 18; ++i) form.words.push_back(i % 2 ? u"λόγος" : u"καὶ");
    s.lines = {form};
    s.sentence_starts = {0, 6, 12};
    const std::string base = "/tmp/vorn_props_layout_fuzz_" + std::to_string(::getpid());
    w->folder = base + "/GNT.qyx";
    w->user_folder = base + "/user";
    std::filesystem::create_directories(w->user_folder);
    std::string error;
    CDBWriter writer(s);
    if (!writer.Write(w->folder, &error)) {
      std::fprintf(stderr, "seed database: %s\n", error.c_str());
      std::abort();
    }
    w->stats = std::make_unique<CVornDBStats>(w->folder);
    if (!w->stats->Load()) std::abort();
    w->db = w->stats->OpenDatabase(&w->sink, nullptr);
    if (!w->db) std::abort();
    InstallWordLineFactories(w->db.get());
    w->metrics = std::make_unique<CViewMetrics>(w->db.get(), nullptr);
    w->metrics->SetSize(2000, 400);
    w->metrics->Prepare(&w->device, 0);
    return w;
  }();
  return world;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  World* w = TheWorld();
  std::ofstream(w->user_folder + "/F.vpo", std::ios::binary | std::ios::trunc)
      .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  CPropositions props(w->db.get(), w->user_folder, &w->sink);
  w->sink.Clear();
  if (!props.Load(u"F")) return 0;
  for (const PropEntry& e : props.GetEntries()) {
    if (e.level < 0 || e.level > kMaxPropLevel) std::abort();
  }
  const uint32_t n = w->db->GetWordCount();
  for (int level : {kAllLevels, 1, 4}) {
    w->metrics->SetPropositionLevel(level);
    CPropLayout layout(w->db.get(), w->metrics.get(), &props);
    for (uint32_t word = 0; word < n; ++word) {
      std::unique_ptr<CLayoutUnit> unit = layout.CreateUnit(static_cast<WordIndex>(word));
      if (unit) unit->EnsureLaidOut();
    }
  }
  props.ShiftRight({3, 9});
  return 0;
}
