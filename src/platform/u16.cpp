#include "platform/u16.h"

#include <unicode/ustring.h>

namespace vorn::platform {

std::u16string ToU16(std::string_view utf8) {
  std::u16string out;
  if (utf8.empty()) return out;
  UErrorCode status = U_ZERO_ERROR;
  int32_t len = 0;
  u_strFromUTF8WithSub(nullptr, 0, &len, utf8.data(), static_cast<int32_t>(utf8.size()), 0xFFFD,
                       nullptr, &status);
  status = U_ZERO_ERROR;
  out.resize(static_cast<size_t>(len));
  u_strFromUTF8WithSub(out.data(), len, &len, utf8.data(), static_cast<int32_t>(utf8.size()),
                       0xFFFD, nullptr, &status);
  if (U_FAILURE(status)) out.clear();
  return out;
}

std::string ToUtf8(std::u16string_view utf16) {
  std::string out;
  if (utf16.empty()) return out;
  UErrorCode status = U_ZERO_ERROR;
  int32_t len = 0;
  u_strToUTF8WithSub(nullptr, 0, &len, utf16.data(), static_cast<int32_t>(utf16.size()), 0xFFFD,
                     nullptr, &status);
  status = U_ZERO_ERROR;
  out.resize(static_cast<size_t>(len));
  u_strToUTF8WithSub(out.data(), len, &len, utf16.data(), static_cast<int32_t>(utf16.size()),
                     0xFFFD, nullptr, &status);
  if (U_FAILURE(status)) out.clear();
  return out;
}

std::u16string FormatPlaceholders(std::u16string_view pattern, std::u16string_view arg1,
                                  std::u16string_view arg2) {
  std::u16string out;
  out.reserve(pattern.size() + arg1.size() + arg2.size());
  for (size_t i = 0; i < pattern.size(); ++i) {
    if (pattern[i] == u'%' && i + 1 < pattern.size() &&
        (pattern[i + 1] == u'1' || pattern[i + 1] == u'2')) {
      out.append(pattern[i + 1] == u'1' ? arg1 : arg2);
      ++i;
    } else {
      out.push_back(pattern[i]);
    }
  }
  return out;
}

}  // namespace vorn::platform
