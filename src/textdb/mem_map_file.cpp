#include "textdb/mem_map_file.h"

#include "platform/file_system.h"

namespace vorn {

CMemMapFile::CMemMapFile(const std::string& folder, const std::string& name) {
  // Table names come from the database's description: one that is not a
  // plain file name (say "../x") is never opened, so a table is always read
  // from inside the database's folder.
  if (!folder.empty() && platform::IsPlainFileName(name)) path_ = platform::JoinPath(folder, name);
}

bool CMemMapFile::Open() {
  if (IsOpen()) return true;
  if (path_.empty()) return false;
  return file_.Open(path_);
}

}  // namespace vorn
