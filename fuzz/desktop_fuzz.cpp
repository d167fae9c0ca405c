// Takes arbitrary bytes as a desktop file and restores from every section
// of it what the core keeps of a window and its panes (query state, line
// fonts and visibility, magnification) over a small database, then
// measures with the result: no value a desktop holds may crash or overflow.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "fuzz_world.h"
#include "layout/layout_kinds.h"
#include "layout/layout_unit.h"
#include "markup/propositions_list.h"
#include "querystate/query_thing.h"
#include "textdb/ini_file.h"

using namespace vorn;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::World* w = fuzz::TheWorld("desktop_fuzz");
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
