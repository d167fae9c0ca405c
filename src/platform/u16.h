// Conversions between UTF-8 (file names, terminal, ASCII literals) and the
// UTF-16 text the program holds in memory.
#pragma once

#include <string>
#include <string_view>

namespace vorn::platform {

// Ill-formed input is replaced by U+FFFD; neither conversion fails.
std::u16string ToU16(std::string_view utf8);
std::string ToUtf8(std::u16string_view utf16);

// Replaces "%1" and "%2" in `pattern` by the arguments (each once per
// occurrence); other text, including other '%' signs, stays as it is.
std::u16string FormatPlaceholders(std::u16string_view pattern, std::u16string_view arg1,
                                  std::u16string_view arg2 = {});

}  // namespace vorn::platform
