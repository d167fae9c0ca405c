#include "markup/user_folder.h"

#include <unicode/uchar.h>
#include <unicode/ustring.h>

#include "platform/file_system.h"
#include "platform/message_sink.h"
#include "platform/string_table.h"
#include "platform/u16.h"

namespace vorn {

std::string UserFolder(const std::string& working_folder, std::u16string_view db_name) {
  const std::string name = platform::ToUtf8(db_name);
  if (!IsUsableFileName(db_name) || !platform::IsPlainFileName(name)) return {};
  std::string folder = platform::JoinPath(working_folder, name);
  if (!platform::IsInsideFolder(working_folder, folder)) return {};
  return folder;
}

int CompareNoCase(std::u16string_view a, std::u16string_view b) {
  UErrorCode status = U_ZERO_ERROR;
  int r = u_strCaseCompare(reinterpret_cast<const UChar*>(a.data()), static_cast<int32_t>(a.size()),
                           reinterpret_cast<const UChar*>(b.data()), static_cast<int32_t>(b.size()),
                           U_FOLD_CASE_DEFAULT, &status);
  if (U_FAILURE(status)) return a.compare(b);
  return r;
}

bool IsUsableFileName(std::u16string_view name) {
  if (name.empty() || name == u"." || name == u"..") return false;
  for (char16_t c : name) {
    if (c == u'/' || c == u'\\' || c < 0x20 || c == 0x7F) return false;
  }
  return true;
}

bool EnsureFolder(const std::string& folder, int message_id, platform::CMessageSink* sink) {
  if (folder.empty()) {
    if (sink) {
      sink->ShowWarning(platform::FormatString(
          message_id, u"", u"the database's name cannot be the name of a folder"));
    }
    return false;
  }
  if (platform::DirectoryExists(folder)) return true;
  std::string error;
  if (platform::CreateFolder(folder, &error)) return true;
  if (sink) {
    sink->ShowWarning(
        platform::FormatString(message_id, platform::ToU16(folder), platform::ToU16(error)));
  }
  return false;
}

bool ClearDamagedFile(const std::string& path, std::u16string_view reason,
                      platform::CMessageSink* sink) {
  const std::u16string shown = platform::ToU16(path);
  if (sink && sink->CanAsk() &&
      sink->Ask(platform::FormatString(platform::kIdsMoveAsideDamaged, shown, reason),
                platform::MsgButtons::kYesNo) == platform::MsgAnswer::kYes) {
    std::string moved_to, error;
    if (platform::MoveAside(path, &moved_to, &error)) return true;
    sink->ShowWarning(
        platform::FormatString(platform::kIdsCantRename, shown,
                               u"<" + platform::ToU16(moved_to) + u">: " + platform::ToU16(error)));
    return false;
  }
  if (sink) sink->ShowWarning(platform::FormatString(platform::kIdsFileUnreadable, shown, reason));
  return false;
}

}  // namespace vorn
