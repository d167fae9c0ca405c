// The layout of one pane: a vertical stream of units covering the window,
// built on demand around a focus word and thrown away at every rebuild.
// Positions are device pixels of the view metrics' device, y downwards,
// y = 0 at the top of the window (or of the printable area of a page).
//
// The kinds (verses, paragraphs, ... , concordance) derive from CLayout and
// decide how the text is cut into units; see layout_kinds.h.
#pragma once

#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "layout/layout_unit.h"
#include "textdb/types.h"

namespace vorn {

class CLayoutBox;
class CViewMetrics;
class CVornDB;

class CLayout {
 public:
  // `db` and `metrics` are borrowed and must outlive the layout.
  CLayout(CVornDB* db, CViewMetrics* metrics, std::u16string name);
  virtual ~CLayout();
  CLayout(const CLayout&) = delete;
  CLayout& operator=(const CLayout&) = delete;

  // The unit before or after `unit` (a new, not yet laid out unit owned by
  // the caller), or null at the start or end. Text layouts go by words.
  virtual std::unique_ptr<CLayoutUnit> GetPrevUnit(const CLayoutUnit& unit);
  virtual std::unique_ptr<CLayoutUnit> GetNextUnit(const CLayoutUnit& unit);
  // The unit for `key` (a word index), or null when there is none.
  virtual std::unique_ptr<CLayoutUnit> CreateUnit(WordIndex key) = 0;

  // Drops every unit and builds the window around `focus` so that its line
  // starts at `focus_y` (its headings above that when `with_headings` is
  // set and the focus is the first word of its unit). Returns the y at
  // which the focus line ended up (the window may not allow the y asked
  // for near the ends of the text); `focus_y` when no unit can be made.
  int Rebuild(WordIndex focus, int focus_y, bool with_headings);
  // Moves the content down by `dy` and fills the window; returns how far it
  // really moved. The text never starts below the window's top, and a text
  // shorter than the window starts at the top.
  int Scroll(int dy);
  void Draw();

  // The box under the window point (x, y), or null. `*box_left` and
  // `*line_top` (may be null) get the box's left edge and its line's top.
  CLayoutBox* HitTest(int x, int y, int* box_left, int* line_top) const;
  // True when a loaded unit holds `word`; `*y` gets the top of its line.
  bool GetWordY(WordIndex word, int* y) const;
  // The word of the first line visible at the top (`*y` its top), or -1.
  WordIndex GetTopWord(int* y) const;

  // Caret moves. Each loads the unit holding `word` when it is not loaded
  // (as the only unit); a word no line holds is returned as it is.
  WordIndex LineStartWord(WordIndex word);
  WordIndex LineEndWord(WordIndex word);
  // The word under `word`'s centre on the line above or below, crossing
  // into the unit before or after (loading it when needed).
  WordIndex WordAbove(WordIndex word);
  WordIndex WordBelow(WordIndex word);
  // `word` when the layout shows it, else the nearest shown word in the
  // given direction.
  WordIndex NearestShownWord(WordIndex word, bool forward);

  // Loads exactly the units a selection (ascending word indexes) touches,
  // the first and the last cut to it, for the writers. Without
  // `leading_headings` the headings above the first unit are left out (the
  // user selected words below them); those of later units stand inside the
  // selection and always go with it.
  void BuildForSelection(const std::vector<WordIndex>& selection, bool leading_headings = true);
  // Fills one page (the metrics' height) starting at `first`, up to `end`
  // (-1: the end of the text); returns the end word of what fits, or
  // `first` when not even the first unit's headings and first line fit.
  WordIndex FillPage(WordIndex first, WordIndex end);

  // A whole rich-text document of the loaded units: every line a table row
  // (so each word's lines stay stacked), or every unit a paragraph.
  void WriteRtfTable(std::u16string* out) const;
  void WriteRtfText(std::u16string* out) const;
  // Plain text of the loaded units.
  void WriteText(std::u16string* out) const;

  const std::u16string& GetName() const { return name_; }
  CVornDB* GetDatabase() const { return db_; }
  CViewMetrics* GetMetrics() const { return metrics_; }
  void SetMetrics(CViewMetrics* metrics) { metrics_ = metrics; }
  const std::deque<std::unique_ptr<CLayoutUnit>>& GetUnits() const { return units_; }
  int GetTop() const { return top_; }
  int GetBottom() const { return bottom_; }

 protected:
  // True once the layout has built for a selection or a page: kinds that
  // show a long list a piece at a time on screen then make it whole, so that
  // what is written or printed keeps the list's heading and its count.
  bool IsForOutput() const { return for_output_; }

  CVornDB* db_;
  CViewMetrics* metrics_;

 private:
  void Clear();
  // Adds units above the first one while there is room; at the start of
  // the text everything moves up to the window's top (`*dy` shrinks by as
  // much).
  void FillAbove(int* dy);
  // The loaded unit holding `word`, loading it as the only unit when none
  // does; null when no unit can be made for it. `*index` gets its place.
  CLayoutUnit* UnitHolding(WordIndex word, size_t* index);
  // Loads and lays out the unit before or after the one at `*index`
  // (adjusting the index); null at the ends.
  CLayoutUnit* LoadPrev(size_t* index);
  CLayoutUnit* LoadNext(size_t index);
  // Creates a unit and lays it out; null when there is none.
  std::unique_ptr<CLayoutUnit> MakeUnit(WordIndex key);

  std::u16string name_;
  std::deque<std::unique_ptr<CLayoutUnit>> units_;
  int top_ = 0;
  int bottom_ = 0;
  bool for_output_ = false;
};

}  // namespace vorn
