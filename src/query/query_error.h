// An error of the query engine: what went wrong and which characters of the
// query text it concerns.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace vorn {

class CQError {
 public:
  CQError() = default;
  // `first` and `last` are 0-based character indexes into the query text,
  // both inclusive. An error at the very end of the text has both at the
  // text's length.
  CQError(std::u16string message, int32_t first, int32_t last)
      : message_(std::move(message)), first_(first), last_(last) {}

  const std::u16string& GetMessage() const { return message_; }
  int32_t GetFirst() const { return first_; }
  int32_t GetLast() const { return last_; }

  // For a search word that matched nothing exactly but would match
  // loosely: where a '~' put into the query text makes the query match
  // it; -1 for every other error.
  int32_t GetLooseMarkAt() const { return loose_mark_at_; }
  void SetLooseMarkAt(int32_t at) { loose_mark_at_ = at; }

 private:
  std::u16string message_;
  int32_t first_ = 0;
  int32_t last_ = 0;
  int32_t loose_mark_at_ = -1;
};

// Errors travel up as owned objects; null means success, and the first error
// of an operation is the one returned.
using QErrorPtr = std::unique_ptr<CQError>;

inline QErrorPtr MakeQError(std::u16string message, int32_t first, int32_t last) {
  return std::make_unique<CQError>(std::move(message), first, last);
}

}  // namespace vorn
