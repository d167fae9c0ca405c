// Checks and look-ups shared by the tables keyed by word index (headings,
// format marks, sentence starts, punctuation, gloss marks).
//
// The tables are mapped from files that may be truncated or corrupt, so a
// table is checked once when it opens and the look-ups trust what was
// checked: no look-up reads outside its mapping.
#pragma once

#include <algorithm>
#include <cstdint>

#include "textdb/mem_map_file.h"
#include "textdb/types.h"

namespace vorn {

// True when the file holds whole records of T only (a trailing partial
// record means the file was cut short).
template <typename T>
bool HasWholeRecords(const TMemMapFile<T>& table) {
  return table.GetSize() % sizeof(T) == 0;
}

// True when the table's last element is 0, so that every string that begins
// inside the table ends inside it.
template <typename T>
bool EndsWithZero(const TMemMapFile<T>& table) {
  return table.GetCount() > 0 && table[table.GetCount() - 1] == T(0);
}

// True when key(record) never decreases along the table.
template <typename T, typename Key>
bool IsSortedByKey(const TMemMapFile<T>& table, Key key) {
  for (uint32_t i = 1; i < table.GetCount(); ++i) {
    if (key(table[i]) < key(table[i - 1])) return false;
  }
  return true;
}

// True when key(record) rises strictly along the table: the tables that
// hold one record per word (headings, punctuation) never name a word twice,
// and a zero-filled one names word 0 over and over.
template <typename T, typename Key>
bool IsStrictlySortedByKey(const TMemMapFile<T>& table, Key key) {
  for (uint32_t i = 1; i < table.GetCount(); ++i) {
    if (!(key(table[i - 1]) < key(table[i]))) return false;
  }
  return true;
}

// The first record whose key is not below `word`.
template <typename T, typename Key>
const T* LowerBoundWord(const TMemMapFile<T>& table, uint32_t word, Key key) {
  return std::lower_bound(table.begin(), table.end(), word,
                          [&](const T& r, uint32_t w) { return key(r) < w; });
}

// The first record whose key is above `word`.
template <typename T, typename Key>
const T* UpperBoundWord(const TMemMapFile<T>& table, uint32_t word, Key key) {
  return std::upper_bound(table.begin(), table.end(), word,
                          [&](uint32_t w, const T& r) { return w < key(r); });
}

// The unit that holds `word` in a table listing unit starts in ascending
// order: from the largest listed word not above it (0 when none) to the next
// listed word above it. A unit after the last listed word ends at
// `word_count`, or stays open (-1) while the word count is not known (0).
template <typename T, typename Key>
WordSpan UnitRange(const TMemMapFile<T>& table, WordIndex word, uint32_t word_count, Key key) {
  if (word < 0) return WordSpan{};
  const uint32_t w = static_cast<uint32_t>(word);
  const T* above = UpperBoundWord(table, w, key);
  WordSpan span;
  span.first = above == table.begin() ? 0 : static_cast<WordIndex>(key(above[-1]));
  if (above != table.end()) {
    span.end = static_cast<WordIndex>(key(*above));
  } else {
    span.end = word_count > 0 ? static_cast<WordIndex>(word_count) : -1;
  }
  return span;
}

}  // namespace vorn
