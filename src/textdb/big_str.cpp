#include "textdb/big_str.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>

namespace vorn {
namespace {

constexpr size_t kMaxBytes = std::numeric_limits<size_t>::max() / 2;

}  // namespace

CBigStr::CBigStr(size_t initial_capacity_bytes)
    : initial_capacity_(std::max(initial_capacity_bytes, kMinCapacityBytes)) {}

// The subclass's destructor has released the block already: the memory
// operations are no longer reachable here.
CBigStr::~CBigStr() = default;

void CBigStr::Start() {
  failed_ = false;
  handle_ = Allocate(initial_capacity_);
  if (!handle_ || GetCapacity(handle_) < initial_capacity_) {
    Fail();
    return;
  }
  text_ = static_cast<char16_t*>(Lock(handle_));
  if (!text_) {
    Fail();
    return;
  }
  capacity_ = GetCapacity(handle_);
  length_ = 0;
  end_ = text_;
  *end_ = 0;
}

void CBigStr::Fail() {
  if (handle_) {
    if (text_) Unlock(handle_);
    Free(handle_);
  }
  handle_ = nullptr;
  text_ = end_ = nullptr;
  capacity_ = 0;
  length_ = 0;
  failed_ = true;
}

void CBigStr::Release() {
  if (handle_) {
    if (text_) Unlock(handle_);
    Free(handle_);
  }
  handle_ = nullptr;
  text_ = end_ = nullptr;
  capacity_ = 0;
  length_ = 0;
  failed_ = false;
}

void CBigStr::Reserve(size_t units) {
  if (failed_) return;
  if (!handle_) {
    Start();
    if (failed_) return;
  }
  if (units > kMaxBytes / 2) {
    // No block of that size can exist; keep the text as it stands.
    failed_ = true;
    return;
  }
  const size_t needed = units * 2;
  if (capacity_ >= needed) return;
  size_t capacity = capacity_;
  while (capacity < needed) capacity *= 2;  // needed <= kMaxBytes: cannot overflow

  Unlock(handle_);
  text_ = end_ = nullptr;
  Handle grown = Reallocate(handle_, capacity);
  if (!grown) {
    // The old block is intact: keep its text, cut where the growth failed,
    // so that what was built so far can still be used.
    text_ = static_cast<char16_t*>(Lock(handle_));
    if (!text_) {
      Fail();
      return;
    }
    end_ = text_ + length_;
    failed_ = true;
    return;
  }
  handle_ = grown;
  text_ = static_cast<char16_t*>(Lock(handle_));
  if (!text_) {
    Fail();
    return;
  }
  capacity_ = capacity;
  end_ = text_ + length_;
}

const char16_t* CBigStr::CopyAt(size_t at, std::u16string_view text) {
  // Growing may move the block, so a source inside it is copied out first.
  std::u16string own;
  const auto source = reinterpret_cast<uintptr_t>(text.data());
  const auto block = reinterpret_cast<uintptr_t>(text_);
  if (text_ && !text.empty() && source >= block && source <= block + length_ * sizeof(char16_t)) {
    own.assign(text);
    text = own;
  }
  if (text.size() > kMaxBytes / 2 - at) {
    Reserve(std::numeric_limits<size_t>::max());
  } else {
    Reserve(at + text.size() + 1);
  }
  if (failed_ || !text_) return text_;
  if (!text.empty()) std::memcpy(text_ + at, text.data(), text.size() * sizeof(char16_t));
  length_ = at + text.size();
  end_ = text_ + length_;
  *end_ = 0;
  return text_;
}

const char16_t* CBigStr::Assign(std::u16string_view text) { return CopyAt(0, text); }

const char16_t* CBigStr::Append(std::u16string_view text) {
  if (!handle_ && !failed_) Start();
  return CopyAt(length_, text);
}

CBigStr::Handle CBigStr::Detach(bool to_8bit) {
  Handle handle = handle_;
  if (handle && text_) {
    if (to_8bit) {
      // Byte i is written only after code unit i, which lies at or after it,
      // has been read.
      char* bytes = reinterpret_cast<char*>(text_);
      for (size_t i = 0; i <= length_; ++i) {
        const char16_t unit = text_[i];
        bytes[i] = static_cast<char>(unit & 0xFF);
      }
    }
    Unlock(handle);
  }
  handle_ = nullptr;
  text_ = end_ = nullptr;
  capacity_ = 0;
  length_ = 0;
  failed_ = false;
  return handle;
}

CGlobalStr::CGlobalStr(size_t initial_capacity_bytes) : CBigStr(initial_capacity_bytes) { Start(); }

CGlobalStr::~CGlobalStr() { Release(); }

size_t CGlobalStr::GetCapacity(Handle block) const { return block ? block_bytes_ : 0; }

CBigStr::Handle CGlobalStr::Allocate(size_t bytes) {
  void* block = std::calloc(bytes, 1);
  block_bytes_ = block ? bytes : 0;
  return block;
}

void* CGlobalStr::Lock(Handle block) { return block; }

void CGlobalStr::Unlock(Handle) {}

CBigStr::Handle CGlobalStr::Reallocate(Handle block, size_t bytes) {
  void* grown = std::realloc(block, bytes);
  if (!grown) return nullptr;
  if (bytes > block_bytes_)
    std::memset(static_cast<char*>(grown) + block_bytes_, 0, bytes - block_bytes_);
  block_bytes_ = bytes;
  return grown;
}

void CGlobalStr::Free(Handle block) {
  std::free(block);
  block_bytes_ = 0;
}

}  // namespace vorn
