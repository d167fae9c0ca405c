// Read-only memory mapping of a whole file.
#pragma once

#include <cstddef>
#include <string>

namespace vorn::platform {

// A file mapped read-only and whole. Moves, never copies; the mapping is
// released on destruction. Other processes may read the file while it is
// mapped; nothing is ever written through the mapping.
class MappedFile {
 public:
  MappedFile() = default;
  ~MappedFile();
  MappedFile(MappedFile&& other) noexcept;
  MappedFile& operator=(MappedFile&& other) noexcept;
  MappedFile(const MappedFile&) = delete;
  MappedFile& operator=(const MappedFile&) = delete;

  // Maps the file at `path`. Returns false, leaving the object closed, when
  // the file cannot be opened, is not a regular file, or cannot be mapped.
  // An empty file opens with size 0 and a non-null data pointer that must not
  // be read.
  [[nodiscard]] bool Open(const std::string& path);
  void Close();

  bool IsOpen() const { return data_ != nullptr; }
  const unsigned char* Data() const { return data_; }
  size_t Size() const { return size_; }

 private:
  const unsigned char* data_ = nullptr;
  size_t size_ = 0;
  bool mapped_ = false;  // false for the empty-file marker
};

}  // namespace vorn::platform
