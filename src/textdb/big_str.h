// A growable UTF-16 text buffer over a memory block that a subclass supplies,
// so that the finished text can be handed to its receiver (normally the
// clipboard) without copying. Views build their plain and rich text in it.
#pragma once

#include <cstddef>
#include <string_view>

namespace vorn {

// Either working (a block is allocated and locked) or failed. Running out of
// memory is silent: the buffer stops growing and keeps the text it holds, and
// every later Assign or Append does nothing until Release.
//
// Subclasses must call Start() at the end of their constructors (the memory
// operations are virtual and cannot run from this class's constructor) and
// Release() in their destructors, for the same reason.
class CBigStr {
 public:
  // An opaque memory handle of the subclass; null when there is none.
  using Handle = void*;

  // The capacity never starts below this many bytes.
  static constexpr size_t kMinCapacityBytes = 1024;

  virtual ~CBigStr();
  CBigStr(const CBigStr&) = delete;
  CBigStr& operator=(const CBigStr&) = delete;

  // Replace the text with `text`, or add it at the end. Text lying inside
  // this buffer may be passed. Return the text's address (null when no block
  // is held), valid until the next change.
  const char16_t* Assign(std::u16string_view text);
  const char16_t* Append(std::u16string_view text);
  // Makes room for `units` code units (the terminating 0 included), doubling
  // the capacity as often as needed.
  void Reserve(size_t units);

  // Unlocks and frees the block and forgets the failed state; the next
  // Assign or Append starts a new block of the construction capacity.
  void Release();
  // Hands the block over: the receiver owns the returned handle and frees it
  // the way the subclass documents (null when no block is held). With
  // `to_8bit`, the text is first narrowed in place to one byte per code unit
  // (the low byte), its terminating 0 included. The buffer is then empty, as
  // after Release.
  Handle Detach(bool to_8bit);

  // The text, 0-terminated; null when no block is held.
  const char16_t* GetText() const { return text_; }
  size_t GetLength() const { return length_; }
  size_t GetCapacityBytes() const { return capacity_; }
  bool IsFailed() const { return failed_; }

 protected:
  explicit CBigStr(size_t initial_capacity_bytes);

  // Allocates and locks the first block; on failure the buffer is failed.
  void Start();

  // The memory operations. Each failing one returns null (or 0) and leaves
  // the block it was given intact.
  virtual size_t GetCapacity(Handle block) const = 0;  // bytes of the block
  virtual Handle Allocate(size_t bytes) = 0;           // zero-filled
  virtual void* Lock(Handle block) = 0;
  virtual void Unlock(Handle block) = 0;
  // The block grown to `bytes`, old content kept, the new part zero-filled.
  virtual Handle Reallocate(Handle block, size_t bytes) = 0;
  virtual void Free(Handle block) = 0;

 private:
  // Frees whatever is held and enters the failed state.
  void Fail();
  // Copies `text` to code unit `at`; the result has at + size units.
  const char16_t* CopyAt(size_t at, std::u16string_view text);

  size_t initial_capacity_;
  Handle handle_ = nullptr;
  char16_t* text_ = nullptr;  // while locked
  char16_t* end_ = nullptr;   // the terminating 0
  size_t capacity_ = 0;       // bytes
  size_t length_ = 0;         // code units
  bool failed_ = false;
};

// CBigStr over plain heap memory. The handle is the address of the block,
// from malloc: a receiver of Detach releases it with free().
class CGlobalStr : public CBigStr {
 public:
  explicit CGlobalStr(size_t initial_capacity_bytes = kMinCapacityBytes);
  ~CGlobalStr() override;

 protected:
  size_t GetCapacity(Handle block) const override;
  Handle Allocate(size_t bytes) override;
  void* Lock(Handle block) override;
  void Unlock(Handle block) override;
  Handle Reallocate(Handle block, size_t bytes) override;
  void Free(Handle block) override;

 private:
  size_t block_bytes_ = 0;  // of the block held; malloc does not tell
};

}  // namespace vorn
