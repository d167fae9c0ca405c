// Takes arbitrary bytes as a desktop file and restores from every section
// of it what the core keeps of a window and its panes (query state, line
// fonts and visibility, magnification) over a small database, then
// measures with the result: no value a desktop holds may crash or overflow.
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
#include "markup/propositions_list.h"
#include "platform/message_sink.h"
#include "query/query_thing.h"
#include "textdb/db_stats.h"
#include "textdb/ini_file.h"
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
    const std::string base = "/tmp/vorn_desktop_fuzz_" + std::to_string(::getpid());
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
  CIniFile desktop;
  desktop.Parse(std::string_view(reinterpret_cast<const char*>(data), size));
  CPropositionsList props(w->user_folder, &w->sink);
  for (CIniFile::Position pos = desktop.GetFirstSectionPosition(); pos;) {
    const std::u16string section = desktop.GetNextSection(&pos);
    CQueryThing state(w->db.get(), nullptr, nullptr, &props, nullptr);
    state.LoadFromDesktop(desktop, section, &w->sink);
    CViewMetrics metrics(*w->metrics);
    metrics.LoadSettings(desktop, section);
    metrics.Prepare(&w->device, 100);
    CPropLayout layout(w->db.get(), &metrics, nullptr);
    std::unique_ptr<CLayoutUnit> unit = layout.CreateUnit(0);
    if (unit) unit->EnsureLaidOut();
  }
  w->sink.Clear();
  return 0;
}
