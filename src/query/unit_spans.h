// The text units that proximity windows and position qualifiers measure in:
// the unit that holds a word, and a unit widened by whole units on either
// side. Hits come in ascending order, so the last answers are kept and
// reused while the next word lies in the same unit.
#pragma once

#include <cstdint>
#include <vector>

#include "textdb/types.h"

namespace vorn {

class CQueryContext;
class CVornDB;
class CVornDBVerses;

// Proximity units; the values are those a proximity stores.
enum QUnit : int32_t {
  kQUnitWord = 0,
  kQUnitSentence = 1,
  kQUnitParagraph = 2,
  kQUnitVerse = 3,
  kQUnitChapter = 4,
  kQUnitUserTag = 5,
  kQUnitProposition = 6,
};

class CQUnitSpans {
 public:
  // One unit that holds a word. `index` numbers the unit among all units of
  // its kind where the kind is kept as a table (verses, chapters), else -1.
  struct Unit {
    WordSpan span;
    int64_t index = -1;
    bool IsNone() const { return span.IsNone(); }
  };

  // `unit` is a QUnit other than kQUnitWord. `context` is borrowed and must
  // outlive this object.
  CQUnitSpans(int32_t unit, CQueryContext* context);

  // For kQUnitUserTag: the tag's spans, ascending and disjoint.
  void SetTagSpans(std::vector<WordSpan> spans);

  // The unit that holds `word`; a none span when no unit does. Sentences
  // whose data cannot be read give (0, -1), the whole text.
  Unit UnitOf(uint32_t word);

  // `unit` (from UnitOf) widened by `back` whole units before it and
  // `forward` after it, stopping at the first and last word of the text. An
  // end of -1 (open) stays open.
  WordSpan Widen(const Unit& unit, int64_t back, int64_t forward);

  uint32_t GetWordCount() const { return word_count_; }

 private:
  // Units answered by a look-up per word (sentence, paragraph, proposition).
  WordSpan LookUp(uint32_t word);
  WordSpan WidenByStepping(WordSpan span, int64_t back, int64_t forward);
  // Builds the start of every looked-up unit once, for wide windows.
  void BuildStarts();
  // Index of the verse record that holds `word`, or -1.
  int64_t VerseRecordOf(uint32_t word) const;
  void BuildChapters();
  WordSpan ChapterSpan(int64_t chapter) const;

  int32_t unit_;
  CQueryContext* context_;
  CVornDB* db_ = nullptr;
  const CVornDBVerses* verses_ = nullptr;
  uint32_t word_count_ = 0;
  uint32_t verse_count_ = 0;  // real records, the closing one not counted

  std::vector<WordSpan> tag_spans_;
  std::vector<uint32_t> chapter_records_;  // first verse record of each chapter
  bool chapters_built_ = false;
  std::vector<uint32_t> starts_;  // every unit start, for LookUp units
  bool starts_built_ = false;
  bool lookup_failed_ = false;

  Unit last_unit_;
  bool has_last_unit_ = false;
  WordSpan last_widen_in_;
  int64_t last_back_ = -1, last_forward_ = -1;
  WordSpan last_widen_out_;
};

}  // namespace vorn
