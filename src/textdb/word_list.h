// The sorted, duplicate-free list of word indexes that lines and query nodes
// produce.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

namespace vorn {

class CDBWordList {
 public:
  CDBWordList() = default;

  void Clear() { words_.clear(); }
  void Assign(const CDBWordList& other) { words_ = other.words_; }
  // Keeps every index present in either list once.
  void Merge(const CDBWordList& other);
  // Appends a run of indexes; call Normalize (or AppendRun with normalize)
  // before relying on order.
  void Append(const uint32_t* words, size_t count) {
    words_.insert(words_.end(), words, words + count);
  }
  void Push(uint32_t word) { words_.push_back(word); }
  // Restores ascending order and drops duplicates.
  void Normalize();
  // Removes the indexes for which `test` holds; order is kept.
  void RemoveIf(const std::function<bool(uint32_t)>& test);

  size_t size() const { return words_.size(); }
  bool empty() const { return words_.empty(); }
  uint32_t operator[](size_t i) const { return words_[i]; }
  const std::vector<uint32_t>& words() const { return words_; }
  std::vector<uint32_t>& mutable_words() { return words_; }
  bool Contains(uint32_t word) const;

 private:
  std::vector<uint32_t> words_;
};

}  // namespace vorn
