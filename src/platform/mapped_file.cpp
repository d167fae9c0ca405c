#include "platform/mapped_file.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <utility>

namespace vorn::platform {

namespace {
// Stands in for the address of an empty file: non-null so the file counts as
// open, never dereferenced because its size is 0. Aligned like a mapping's
// start, since tables view it as an array of their records.
alignas(16) const unsigned char kEmptyMarker[16] = {0};
}  // namespace

MappedFile::~MappedFile() { Close(); }

MappedFile::MappedFile(MappedFile&& other) noexcept
    : data_(std::exchange(other.data_, nullptr)),
      size_(std::exchange(other.size_, 0)),
      mapped_(std::exchange(other.mapped_, false)) {}

MappedFile& MappedFile::operator=(MappedFile&& other) noexcept {
  if (this != &other) {
    Close();
    data_ = std::exchange(other.data_, nullptr);
    size_ = std::exchange(other.size_, 0);
    mapped_ = std::exchange(other.mapped_, false);
  }
  return *this;
}

bool MappedFile::Open(const std::string& path) {
  Close();
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat st;
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    return false;
  }
  if (st.st_size == 0) {
    ::close(fd);
    data_ = kEmptyMarker;
    size_ = 0;
    mapped_ = false;
    return true;
  }
  void* p = ::mmap(nullptr, static_cast<size_t>(st.st_size), PROT_READ, MAP_SHARED, fd, 0);
  ::close(fd);  // the mapping keeps the file alive
  if (p == MAP_FAILED) return false;
  data_ = static_cast<const unsigned char*>(p);
  size_ = static_cast<size_t>(st.st_size);
  mapped_ = true;
  return true;
}

void MappedFile::Close() {
  if (mapped_) ::munmap(const_cast<unsigned char*>(data_), size_);
  data_ = nullptr;
  size_ = 0;
  mapped_ = false;
}

}  // namespace vorn::platform
