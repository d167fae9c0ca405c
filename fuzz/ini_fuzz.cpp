// Parses arbitrary bytes as a settings file; what it reads must write out
// and read back to exactly the same file.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "textdb/ini_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  vorn::CIniFile a;
  a.Parse(std::string_view(reinterpret_cast<const char*>(data), size));
  const std::string once = a.Serialize();
  vorn::CIniFile b;
  b.Parse(once);
  if (b.Serialize() != once) std::abort();
  return 0;
}
