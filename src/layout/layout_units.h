// The unit kinds: which words a unit covers, how its lines are indented,
// what its headings are and how its words flow.
#pragma once

#include <memory>
#include <string>

#include "layout/layout_unit.h"
#include "textdb/word_list.h"

namespace vorn {

class CPropositions;

// A unit whose range could not be found (a word outside the database, a
// database without the data the kind needs) is not valid; the layouts then
// make no unit.
bool IsValidUnit(const CLayoutUnit& unit);

// The verse holding the key word. Continuation lines are indented one step.
class CLayoutUnitVerse : public CLayoutUnit {
 public:
  CLayoutUnitVerse(CVornDB* db, CViewMetrics* metrics, WordIndex word);
  void GetIndents(int* first, int* continuation) const override;
};

// The sentence holding the key word.
class CLayoutUnitSent : public CLayoutUnit {
 public:
  CLayoutUnitSent(CVornDB* db, CViewMetrics* metrics, WordIndex word);
  void GetIndents(int* first, int* continuation) const override;
};

// The paragraph holding the key word (its format range cut at headings),
// indented as its format code says.
class CLayoutUnitPara : public CLayoutUnit {
 public:
  CLayoutUnitPara(CVornDB* db, CViewMetrics* metrics, WordIndex word);
  void GetIndents(int* first, int* continuation) const override;
};

// The indent steps a paragraph format code gives its first line and the
// lines after it: the code's last character decides ("m" none, "p" the
// first line one step, "q" every line one step, a digit d every line d
// steps); anything else, or an empty code, none.
void ParagraphIndentSteps(std::u16string_view code, int* first, int* continuation);

// The proposition holding the key word at the view's proposition level,
// with a bar per nesting level in front of each line. Without an analysis
// every sentence is one proposition of level 0.
class CLayoutUnitProp : public CLayoutUnit {
 public:
  // `props` may be null; it must outlive the unit otherwise.
  CLayoutUnitProp(CVornDB* db, CViewMetrics* metrics, CPropositions* props, WordIndex word);
  void LayoutBody() override;
  void GetIndents(int* first, int* continuation) const override;
  int GetLevel() const { return level_; }

 private:
  // The proposition of `word` at `view_level`, and its level.
  WordSpan PropositionOf(WordIndex word, int view_level, int* level) const;

  CPropositions* props_;
  int level_ = 0;
};

// One hit: its reference followed by its verse, wrapped lines starting
// under the verse text. The unit stands for the hit's zone of words.
class CLayoutUnitHitVerse : public CLayoutUnit {
 public:
  CLayoutUnitHitVerse(CVornDB* db, CViewMetrics* metrics, WordIndex hit, WordSpan zone);
  void LayoutBody() override;
  void GetIndents(int* first, int* continuation) const override;
  WordIndex GetHit() const { return hit_; }

 private:
  WordIndex hit_;
  // The reference's width, where wrapped lines start (-1 before layout).
  int reference_width_ = -1;
};

// One hit on one line: its reference, then the hit word centred in the
// room right of it with as much context on both sides as fits.
class CLayoutUnitConcord : public CLayoutUnit {
 public:
  CLayoutUnitConcord(CVornDB* db, CViewMetrics* metrics, WordIndex hit, WordSpan zone);
  void LayoutBody() override;
  WordIndex GetHit() const { return hit_; }

 private:
  WordIndex hit_;
};

// Every hit of the list as a flow of references under a heading that
// counts them. Covers the whole text.
class CLayoutUnitRefs : public CLayoutUnit {
 public:
  // `hits` is borrowed and must outlive the unit.
  CLayoutUnitRefs(CVornDB* db, CViewMetrics* metrics, const CDBWordList* hits);
  // One display line of that flow: the references of the hits at places
  // [first_place, end_place), standing for the words of `range`. The line
  // at place 0 carries the heading, which counts the whole list.
  CLayoutUnitRefs(CVornDB* db, CViewMetrics* metrics, const CDBWordList* hits, size_t first_place,
                  size_t end_place, WordSpan range);
  std::u16string GetSeparator() const override { return u"; "; }
  void LayoutBody() override;
  void LayoutHeadings() override;
  // The place of the first hit the unit shows references from.
  size_t GetFirstPlace() const { return first_place_; }

 private:
  const CDBWordList* hits_;
  size_t first_place_ = 0;
  // Past the last place shown; the list's size for the whole list.
  size_t end_place_ = 0;
  bool one_line_ = false;
  // The words a line stands for as made.
  WordSpan line_range_;
};

}  // namespace vorn
