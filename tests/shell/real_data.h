// Where the tests find the databases compiled from the real corpora; tests
// that need them skip when they were not built.
#pragma once

#include <QFileInfo>
#include <QString>
#include <string>

#include "textdb/catalogue.h"

namespace vorn::shell::testing {

// The data folder that holds `name`.qyx; "" when none does.
inline std::string RealDataFolder(const char* name) {
  for (const std::string& folder : DefaultDataFolders(VORN_DATA_DIR)) {
    if (QFileInfo::exists(QString::fromStdString(folder + "/" + name + ".qyx/Stats.txt")))
      return folder;
  }
  return {};
}

}  // namespace vorn::shell::testing
