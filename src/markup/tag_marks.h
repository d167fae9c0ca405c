// Which words of a database carry one user tag, and how those words form
// ranges: the word arrays of a tag and the rules for toggling them.
#pragma once

#include <cstdint>
#include <vector>

#include "textdb/types.h"

namespace vorn {

// One range of a tag file: first and last word, both inclusive.
struct TagRange {
  int32_t first = 0;
  int32_t last = 0;
  friend bool operator==(const TagRange&, const TagRange&) = default;
};

enum class TagPosition { kNone, kBegin, kEnd, kBeginEnd, kMiddle };

// One byte per word says whether it is tagged; a second array, present only
// once some range spans several words, marks the words where ranges begin.
// Without it every tagged word is a range of its own. Word indexes outside
// 0 .. word count - 1 are never tagged and are ignored by every change.
class CTagMarks {
 public:
  CTagMarks() = default;

  // No word tagged, no range starts, `word_count` words.
  void Reset(uint32_t word_count);
  // Reset, then tags every range in order as a tag file is read: while all
  // ranges so far have one word no start array exists; the first range of
  // several words creates it (every word tagged so far being a start) and
  // from then on the first word of each range is marked. The ranges must lie
  // inside the database with first <= last (see ParseTagRanges).
  void LoadRanges(uint32_t word_count, const std::vector<TagRange>& ranges);

  uint32_t word_count() const { return static_cast<uint32_t>(tagged_.size()); }
  bool HasStarts() const { return !starts_.empty(); }
  bool IsTagged(WordIndex w) const { return InRange(w) && tagged_[w] != 0; }
  // Tagged and a range start. A tagged word after an untagged one always
  // counts as a start, so no tagged word is ever left out of every range.
  bool IsBegin(WordIndex w) const;
  // Tagged, and the next word is untagged, begins a range or does not exist.
  bool IsEnd(WordIndex w) const;
  TagPosition GetPosition(WordIndex w) const;
  bool IsEmpty() const;

  // Toggles one word, keeping the ranges around it whole: untagging the
  // first or a middle word of a range lets the range go on from the next
  // word; untagging its last word shortens it; tagging an untagged word
  // makes a one-word range.
  void ToggleWord(WordIndex w);
  // Inverts every word of [first, last] and makes the changed words one
  // range starting at `first`. False, changing nothing, when the range is
  // empty or reaches outside the database.
  bool ToggleRange(WordIndex first, WordIndex last);

  // Applies to these marks (a newer version of the tag, saved by another
  // program) the changes that `mine` made to `base`: every word whose tagged
  // state or range beginning differs between `base` and `mine` takes both
  // from `mine`; every other word keeps what these marks say. All three
  // must have the same word count.
  void MergeChanges(const CTagMarks& base, const CTagMarks& mine);

  // The ranges in word order: each begins at a begin position and runs over
  // the following tagged words that are not begin positions.
  std::vector<TagRange> GetRanges() const;
  // The same as word spans (end exclusive).
  std::vector<WordSpan> GetSpans() const;

 private:
  bool InRange(WordIndex w) const { return w >= 0 && static_cast<uint32_t>(w) < tagged_.size(); }

  std::vector<uint8_t> tagged_;
  std::vector<uint8_t> starts_;  // empty: absent
};

}  // namespace vorn
