#include "textdb/mem_map_file.h"

#include "platform/file_system.h"

namespace vorn {

CMemMapFile::CMemMapFile(const std::string& folder, const std::string& name) {
  if (!folder.empty() && !name.empty()) path_ = platform::JoinPath(folder, name);
}

bool CMemMapFile::Open() {
  if (IsOpen()) return true;
  if (path_.empty()) return false;
  return file_.Open(path_);
}

}  // namespace vorn
