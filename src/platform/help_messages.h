// A message sink that can also lead the user to a page of the
// documentation. The desktop's message boxes implement it beside
// CMessageSink; a caller that has a page to offer asks for it with
// dynamic_cast and falls back to a plain warning where it is missing (the
// command line, tests).
#pragma once

#include <string>
#include <string_view>

namespace vorn::platform {

class CHelpMessages {
 public:
  virtual ~CHelpMessages() = default;
  // A warning with a way to the help page `topic`, named without folder or
  // extension ("query-language"). A page that cannot be found is reported
  // when asked for, not here.
  virtual void ShowWarningWithHelp(const std::u16string& text, std::string_view topic) = 0;
};

}  // namespace vorn::platform
