// Reference ranges: the "in John 1-3, Rev" part of a query, resolved into
// spans of word indexes that limit the hits.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "query/query_error.h"
#include "textdb/types.h"
#include "textdb/word_list.h"

namespace vorn {

class CQueryContext;

// One range: "Gen 1:3 to 2:5", "John 1-3", "Rev".
class CQRange {
 public:
  // Parses `piece`, the text of one range without its comma, which stands
  // at `offset` in the query text. Returns the error (positions in the
  // query text) or null.
  QErrorPtr Parse(std::u16string_view piece, int32_t offset);

  // Finds the range's word span in the context's database. Errors point at
  // the range's text.
  QErrorPtr Resolve(CQueryContext* context);

  // True when `word` lies in the resolved span.
  bool Contains(int64_t word) const;

  int32_t GetStart() const { return start_; }
  int32_t GetLast() const { return last_; }
  const std::u16string& GetFirstBook() const { return first_book_; }
  int32_t GetFirstChapter() const { return first_chapter_; }
  int32_t GetFirstVerse() const { return first_verse_; }
  const std::u16string& GetLastBook() const { return last_book_; }
  int32_t GetLastChapter() const { return last_chapter_; }
  int32_t GetLastVerse() const { return last_verse_; }
  WordIndex GetSpanStart() const { return span_start_; }
  WordIndex GetSpanEnd() const { return span_end_; }

 private:
  int32_t start_ = 0;  // of the range's first non-blank character
  int32_t last_ = 0;   // offset of its last non-blank character from start_
  std::u16string first_book_;
  int32_t first_chapter_ = -1;
  int32_t first_verse_ = -1;
  std::u16string last_book_;
  int32_t last_chapter_ = -1;
  int32_t last_verse_ = -1;
  WordIndex span_start_ = 0;
  WordIndex span_end_ = -1;
};

// The comma-separated list of ranges of one query.
class CQRanges {
 public:
  // Parses `text` from `start` to its end. Returns the first error or null;
  // the ranges before the faulty one stay in the list.
  QErrorPtr ParseList(std::u16string_view text, int32_t start);

  // Resolves every range in list order; returns the first error or null.
  QErrorPtr Resolve(CQueryContext* context);

  // True when `word` lies in at least one range (never for -1).
  bool Contains(int64_t word) const;

  // Removes from `hits` every word that lies in no range; one pass over the
  // sorted hits and the ranges.
  void Filter(CDBWordList* hits) const;

  size_t GetCount() const { return ranges_.size(); }
  const CQRange& Get(size_t i) const { return ranges_[i]; }

 private:
  std::vector<CQRange> ranges_;
};

// The book code a range names by `name` (lower case letters, optionally
// after a digit 1 to 3: "gen", "1samuel", "1kn"): a name or code of the book
// table, or one of the customary short forms. "" when unknown.
std::u16string RangeBookCode(std::u16string_view name);

}  // namespace vorn
