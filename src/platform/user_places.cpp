#include "platform/user_places.h"

#include <cstdlib>

#include "platform/file_system.h"

namespace vorn::platform {

namespace {

constexpr char kSettingsFile[] = "Vorn.ini";

// The value of `name` when it is an absolute path; the XDG rules ignore
// relative ones.
std::string AbsoluteEnv(const char* name) {
  const char* value = std::getenv(name);
  if (!value || value[0] != '/') return {};
  return value;
}

}  // namespace

UserPlaces FindUserPlaces(const std::string& working_folder, const std::string& program_folder) {
  for (const std::string* folder : {&working_folder, &program_folder}) {
    if (!folder->empty() && FileExists(JoinPath(*folder, kSettingsFile))) {
      return {*folder, *folder, true};
    }
  }
  const std::string home = AbsoluteEnv("HOME");
  std::string config = AbsoluteEnv("XDG_CONFIG_HOME");
  std::string data = AbsoluteEnv("XDG_DATA_HOME");
  if (config.empty() && !home.empty()) config = JoinPath(home, ".config");
  if (data.empty() && !home.empty()) data = JoinPath(home, ".local/share");
  if (config.empty() || data.empty()) return {working_folder, working_folder, false};
  return {JoinPath(config, "vorn"), JoinPath(data, "vorn"), false};
}

}  // namespace vorn::platform
