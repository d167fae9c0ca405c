// Word indexes and word spans, shared by every subsystem.
#pragma once

#include <cstdint>

namespace vorn {

// Numbers the words of one database 0, 1, 2, ... in text order.
using WordIndex = int32_t;

// A run of words [first, end). (-1, -1) means none; an end of -1 means open.
struct WordSpan {
  WordIndex first = -1;
  WordIndex end = -1;

  bool IsNone() const { return first == -1 && end == -1; }
  friend bool operator==(const WordSpan&, const WordSpan&) = default;
};

}  // namespace vorn
