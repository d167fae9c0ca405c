// The small database every fuzz target that needs one lays its input over:
// one book of 18 words in 3 verses and 3 sentences, with a user folder and
// view metrics prepared on the text device. Made once per process, in a
// temporary folder named after the target.
#pragma once

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "device/text_device.h"
#include "metrics/view_metrics.h"
#include "platform/message_sink.h"
#include "textdb/db_stats.h"
#include "textdb/table_writer.h"
#include "textdb/vorn_db.h"
#include "wordinfo/word_line_factories.h"

namespace vorn::fuzz {

struct World {
  std::string folder;
  std::string user_folder;
  platform::CRecordingMessageSink sink;
  std::unique_ptr<CVornDBStats> stats;
  std::unique_ptr<CVornDB> db;
  CTextDevice device;
  std::unique_ptr<CViewMetrics> metrics;
};

// The world of the target `name`; aborts when it cannot be made.
inline World* TheWorld(const char* name) {
  static World* world = [name] {
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
    const std::string base = std::string("/tmp/vorn_") + name + "_" + std::to_string(::getpid());
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

}  // namespace vorn::fuzz
