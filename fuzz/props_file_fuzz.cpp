// Feeds arbitrary bytes to the propositions file reader; what it accepts
// must keep its order guarantees and read back the same after writing.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "markup/props_file.h"

using namespace vorn;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  constexpr uint32_t kWordCount = 1000;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  PropFileData parsed;
  if (!ParsePropositionsFile(bytes, u"GNT", kWordCount, &parsed)) return 0;
  for (size_t i = 0; i < parsed.joins.size(); ++i) {
    if (parsed.joins[i] >= kWordCount || (i && parsed.joins[i] <= parsed.joins[i - 1]))
      std::abort();
  }
  if (parsed.entries.size() < 2 || parsed.entries.front().start != 0 ||
      parsed.entries.back().start != kWordCount) {
    std::abort();
  }
  for (size_t i = 1; i < parsed.entries.size(); ++i) {
    if (parsed.entries[i].start <= parsed.entries[i - 1].start) std::abort();
  }
  PropFileData again;
  if (!ParsePropositionsFile(SerializePropositionsFile(u"GNT", parsed), u"GNT", kWordCount,
                             &again) ||
      again.joins != parsed.joins || again.entries != parsed.entries) {
    std::abort();
  }
  return 0;
}
