#include "refs/history.h"

namespace vorn {

void CHistory::Add(WordIndex word) {
  if (!positions_.empty() && positions_[cursor_] == word) return;
  if (!positions_.empty() && cursor_ + 1 < positions_.size()) {
    ++cursor_;
    positions_[cursor_] = word;
    positions_.resize(cursor_ + 1);
    // The origin survives only if it was not overwritten or cut away.
    has_origin_ = has_origin_ && origin_index_ < cursor_;
    return;
  }
  positions_.push_back(word);
  cursor_ = positions_.size() - 1;
}

WordIndex CHistory::Back() {
  if (positions_.empty()) return 0;
  if (cursor_ > 0) --cursor_;
  return positions_[cursor_];
}

WordIndex CHistory::Forward() {
  if (positions_.empty()) return 0;
  if (cursor_ + 1 < positions_.size()) ++cursor_;
  return positions_[cursor_];
}

void CHistory::SetOrigin(WordIndex word) {
  Add(word);
  origin_ = word;
  origin_index_ = cursor_;
  has_origin_ = true;
}

WordIndex CHistory::GoOrigin() {
  if (has_origin_) cursor_ = origin_index_;
  return origin_;
}

}  // namespace vorn
