// A database table mapped read-only and read in place.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/mapped_file.h"

namespace vorn {

class CMemMapFile {
 public:
  // The path is `folder` + '/' + `name`; with either empty the path stays
  // empty and Open fails. Nothing is opened here.
  CMemMapFile(const std::string& folder, const std::string& name);
  virtual ~CMemMapFile() = default;
  CMemMapFile(const CMemMapFile&) = delete;
  CMemMapFile& operator=(const CMemMapFile&) = delete;

  // Maps the file; true when already open. False when it cannot be opened or
  // mapped (a later Open tries again). An empty file opens with no bytes.
  [[nodiscard]] bool Open();
  bool IsOpen() const { return file_.IsOpen(); }
  const unsigned char* GetData() const { return file_.Data(); }
  size_t GetSize() const { return file_.Size(); }
  const std::string& GetPath() const { return path_; }

 private:
  std::string path_;
  platform::MappedFile file_;
};

// Views the mapping as an array of T. Element access is unchecked; callers
// validate indexes at open time or keep them below GetCount(). A trailing
// partial record is not counted.
template <typename T>
class TMemMapFile : public CMemMapFile {
 public:
  using CMemMapFile::CMemMapFile;
  uint32_t GetCount() const { return static_cast<uint32_t>(GetSize() / sizeof(T)); }
  const T& operator[](size_t i) const { return reinterpret_cast<const T*>(GetData())[i]; }
  const T* begin() const { return reinterpret_cast<const T*>(GetData()); }
  const T* end() const { return begin() + GetCount(); }
};

}  // namespace vorn
