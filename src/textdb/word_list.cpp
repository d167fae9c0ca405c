#include "textdb/word_list.h"

#include <algorithm>

namespace vorn {

void CDBWordList::Merge(const CDBWordList& other) {
  std::vector<uint32_t> out;
  out.reserve(words_.size() + other.words_.size());
  std::set_union(words_.begin(), words_.end(), other.words_.begin(), other.words_.end(),
                 std::back_inserter(out));
  words_.swap(out);
}

void CDBWordList::Normalize() {
  std::sort(words_.begin(), words_.end());
  words_.erase(std::unique(words_.begin(), words_.end()), words_.end());
}

void CDBWordList::RemoveIf(const std::function<bool(uint32_t)>& test) {
  words_.erase(std::remove_if(words_.begin(), words_.end(), test), words_.end());
}

bool CDBWordList::Contains(uint32_t word) const {
  return std::binary_search(words_.begin(), words_.end(), word);
}

}  // namespace vorn
