#include "links/exchange_store.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

#include "platform/file_system.h"
#include "platform/string_table.h"
#include "platform/u16.h"

namespace vorn::links {

namespace {

constexpr std::string_view kItemNames[] = {"ScriptureReference", "ScriptureReferenceList", "Topic",
                                           "Word", "Desktop"};

std::string AbsoluteEnv(const char* name) {
  const char* value = std::getenv(name);
  return value && value[0] == '/' ? std::string(value) : std::string();
}

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

}  // namespace

std::string_view ItemName(ExchangeItem item) {
  const int n = static_cast<int>(item);
  return n >= 1 && n <= 5 ? kItemNames[n - 1] : std::string_view();
}

std::string DefaultExchangeFolder() {
  std::string base = AbsoluteEnv("XDG_CONFIG_HOME");
  if (base.empty()) {
    const std::string home = AbsoluteEnv("HOME");
    if (home.empty()) return {};
    base = platform::JoinPath(home, ".config");
  }
  // The key path of the exchange ("Software\SantaFe\Focus\"), its parts as folders.
  std::string path = base;
  std::string part;
  for (char c : platform::ToUtf8(platform::LoadString(platform::kIdsFocusKey))) {
    if (c == '\\') {
      if (!part.empty()) path = platform::JoinPath(path, part);
      part.clear();
    } else {
      part += c;
    }
  }
  if (!part.empty()) path = platform::JoinPath(path, part);
  return path;
}

bool CExchangeStore::Write(ExchangeItem item, std::string_view text) const {
  if (folder_.empty() || ItemName(item).empty() || text.size() > kMaxText) return false;
  // Another program may make the folder at the same moment.
  (void)platform::CreateFolder(folder_);
  if (!platform::DirectoryExists(folder_)) return false;
  return platform::WriteFileAtomically(platform::JoinPath(folder_, ItemName(item)), text);
}

std::string CExchangeStore::Read(ExchangeItem item) const {
  if (folder_.empty() || ItemName(item).empty()) return {};
  const std::string path = platform::JoinPath(folder_, ItemName(item));
  // Anything may be put in the folder: only a small regular file is read,
  // without waiting on a pipe or following a link to a device.
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) return {};
  struct stat st {};
  std::string text;
  if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) {
    char buffer[kMaxText + 3];
    size_t got = 0;
    for (;;) {
      const ssize_t n = ::read(fd, buffer + got, sizeof buffer - got);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) break;
      got += static_cast<size_t>(n);
      if (got == sizeof buffer) break;
    }
    if (got <= kMaxText + 2) text.assign(buffer, got);
  }
  ::close(fd);
  size_t first = 0;
  size_t end = text.size();
  while (first < end && IsBlank(text[first])) ++first;
  while (end > first && IsBlank(text[end - 1])) --end;
  return text.substr(first, end - first);
}

}  // namespace vorn::links
