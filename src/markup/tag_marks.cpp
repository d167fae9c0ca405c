#include "markup/tag_marks.h"

#include <algorithm>

namespace vorn {

void CTagMarks::Reset(uint32_t word_count) {
  tagged_.assign(word_count, 0);
  starts_.clear();
}

void CTagMarks::LoadRanges(uint32_t word_count, const std::vector<TagRange>& ranges) {
  Reset(word_count);
  for (const TagRange& r : ranges) {
    if (r.first < 0 || r.last < r.first || static_cast<uint32_t>(r.last) >= word_count) continue;
    // The copy is taken before this range is tagged: the words tagged so far
    // were all one-word ranges and stay so.
    if (starts_.empty() && r.last > r.first) starts_ = tagged_;
    std::fill(tagged_.begin() + r.first, tagged_.begin() + r.last + 1, uint8_t{1});
    if (!starts_.empty()) starts_[r.first] = 1;
  }
}

bool CTagMarks::IsBegin(WordIndex w) const {
  if (!IsTagged(w)) return false;
  return starts_.empty() || starts_[w] != 0 || w == 0 || tagged_[w - 1] == 0;
}

bool CTagMarks::IsEnd(WordIndex w) const {
  if (!IsTagged(w)) return false;
  return !IsTagged(w + 1) || IsBegin(w + 1);
}

TagPosition CTagMarks::GetPosition(WordIndex w) const {
  if (!IsTagged(w)) return TagPosition::kNone;
  bool begin = IsBegin(w);
  bool end = IsEnd(w);
  if (begin && end) return TagPosition::kBeginEnd;
  if (begin) return TagPosition::kBegin;
  if (end) return TagPosition::kEnd;
  return TagPosition::kMiddle;
}

bool CTagMarks::IsEmpty() const {
  return std::find(tagged_.begin(), tagged_.end(), uint8_t{1}) == tagged_.end();
}

void CTagMarks::ToggleWord(WordIndex w) {
  if (!InRange(w)) return;
  switch (GetPosition(w)) {
    case TagPosition::kBegin:
    case TagPosition::kMiddle:
      // Only reachable with a start array: without one every word is an end.
      starts_[w] = 0;
      if (InRange(w + 1)) starts_[w + 1] = 1;
      break;
    case TagPosition::kEnd:
      break;
    case TagPosition::kNone:
    case TagPosition::kBeginEnd:
      if (!starts_.empty()) starts_[w] = tagged_[w] ? 0 : 1;
      break;
  }
  tagged_[w] ^= 1;
}

bool CTagMarks::ToggleRange(WordIndex first, WordIndex last) {
  if (first < 0 || last < first || !InRange(last)) return false;
  if (starts_.empty()) starts_ = tagged_;
  for (WordIndex w = first; w <= last; ++w) {
    tagged_[w] ^= 1;
    starts_[w] = 0;
  }
  starts_[first] = tagged_[first];
  // Inverting a stretch that held both tagged and untagged words, or that
  // cut a range short, leaves tagged words after untagged ones: each begins
  // a range of its own, or its words would belong to no range.
  for (WordIndex w = first + 1; w <= last + 1 && InRange(w); ++w) {
    if (tagged_[w] && !tagged_[w - 1]) starts_[w] = 1;
  }
  return true;
}

void CTagMarks::MergeChanges(const CTagMarks& base, const CTagMarks& mine) {
  const WordIndex n = static_cast<WordIndex>(tagged_.size());
  if (base.tagged_.size() != tagged_.size() || mine.tagged_.size() != tagged_.size()) return;
  // With a start array every word's beginning can be set on its own; made
  // from the beginnings as they are, it changes no range.
  if (starts_.empty()) starts_ = tagged_;
  for (WordIndex w = 0; w < n; ++w) {
    const bool tagged = mine.IsTagged(w);
    const bool begin = mine.IsBegin(w);
    if (tagged == base.IsTagged(w) && begin == base.IsBegin(w)) continue;
    tagged_[w] = tagged ? 1 : 0;
    starts_[w] = begin ? 1 : 0;
  }
}

std::vector<TagRange> CTagMarks::GetRanges() const {
  std::vector<TagRange> out;
  const WordIndex n = static_cast<WordIndex>(tagged_.size());
  for (WordIndex w = 0; w < n; ++w) {
    if (!tagged_[w]) continue;
    if (IsBegin(w) || out.empty()) {
      out.push_back({w, w});
    } else {
      out.back().last = w;
    }
  }
  return out;
}

std::vector<WordSpan> CTagMarks::GetSpans() const {
  std::vector<WordSpan> out;
  for (const TagRange& r : GetRanges()) out.push_back({r.first, r.last + 1});
  return out;
}

}  // namespace vorn
