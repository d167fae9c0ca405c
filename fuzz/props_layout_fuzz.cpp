// Takes arbitrary bytes as a proposition file of a small database, loads it
// and lays out every proposition at every view level: whatever levels a
// file claims, loading refuses it or the layout stays small and sound.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>

#include "fuzz_world.h"
#include "layout/layout_kinds.h"
#include "layout/layout_unit.h"
#include "markup/propositions.h"

using namespace vorn;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::World* w = fuzz::TheWorld("props_layout_fuzz");
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
