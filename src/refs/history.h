// The navigation history of one document window: the words it has shown, so
// that the user can go back, forward, and to where the last query started.
#pragma once

#include <cstddef>
#include <vector>

#include "textdb/types.h"

namespace vorn {

class CHistory {
 public:
  // Records a newly shown word. Showing the current word again changes
  // nothing; showing a word after going back drops everything ahead.
  void Add(WordIndex word);
  // Step towards the oldest position (staying at the first) and return the
  // position reached; 0 for an empty history.
  WordIndex Back();
  // Step towards the newest position (staying at the last) and return the
  // position reached; 0 for an empty history.
  WordIndex Forward();
  // Records `word` as the place a query was started from.
  void SetOrigin(WordIndex word);
  // Returns to the origin when it is still in the history; returns the origin
  // word in any case (0 before any SetOrigin).
  WordIndex GoOrigin();

  bool CanBack() const { return cursor_ > 0; }
  bool CanForward() const { return !positions_.empty() && cursor_ + 1 < positions_.size(); }
  bool HasOrigin() const { return has_origin_; }

  const std::vector<WordIndex>& GetPositions() const { return positions_; }
  size_t GetCursor() const { return cursor_; }

 private:
  std::vector<WordIndex> positions_;  // oldest first
  size_t cursor_ = 0;                 // meaningful only while positions_ is not empty
  WordIndex origin_ = 0;
  size_t origin_index_ = 0;
  bool has_origin_ = false;
};

}  // namespace vorn
