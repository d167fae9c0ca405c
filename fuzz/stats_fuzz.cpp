// Feeds arbitrary bytes to the Stats.txt reader and walks what it stored.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "textdb/db_stats.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  vorn::CVornDBStats stats("/nonexistent");
  // Whatever was stored is walked, whether or not the text was accepted.
  static_cast<void>(
      stats.LoadFromText(std::string_view(reinterpret_cast<const char*>(data), size)));
  std::vector<std::string> children;
  stats.GetChildren("/InterlinearLines", &children);
  for (const std::string& c : children) {
    vorn::AttributeMap attributes;
    stats.GetAttributes("/InterlinearLines/" + c + "/Font", &attributes);
  }
  for (int b = 0; b <= stats.GetBookCount() + 1; ++b) stats.GetBookCode(b);
  std::vector<std::u16string> copyrights;
  stats.GetCopyrights(&copyrights);
  stats.GetTagLabelFont();
  return 0;
}
