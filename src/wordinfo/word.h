// One word as displayed: a word line per database line, measured and drawn
// as the word's interlinear stack, written as rich and plain text, and shown
// in depth in the word-details panel and the word tips.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "device/device.h"
#include "textdb/types.h"
#include "textdb/word_line.h"

namespace vorn {

class CVornDB;
class CPVLink;
class CWordMetrics;
class CViewMetrics;
class CDetailsMetrics;

class CWord {
 public:
  // Link commands of the word's menus are this plus the link's index.
  static constexpr uint32_t kFirstLinkCommand = 35300;

  // Makes a word line for every database line (the database's factories
  // are installed first when its lines have none). `db` is borrowed and
  // must outlive the word. A word outside the database has no lines.
  CWord(CVornDB* db, WordIndex word);
  // The same database as `other`, at `word` (or at other's word when -1).
  CWord(const CWord& other, WordIndex word);
  ~CWord();
  CWord& operator=(const CWord&) = delete;

  friend bool operator==(const CWord& a, const CWord& b) {
    return a.db_ == b.db_ && a.word_ == b.word_;
  }

  CVornDB* GetDatabase() const { return db_; }
  WordIndex GetWordIndex() const { return word_; }
  int GetLineCount() const { return static_cast<int>(lines_.size()); }
  // Null for an index outside the lines.
  CWordLine* GetLine(int index) const;

  // --- The interlinear stack (the word box of a layout).

  // Measures the lines the view shows into `wm` and returns the stack's size.
  Size Measure(CWordMetrics* wm);
  // Draws the measured stack, one visible line under the other, aligned at
  // the start edge of the reading direction: left to right with its left
  // edge at x, right to left with its right edge at x. The first visible
  // line carries the user-tag labels and the note mark.
  void Draw(const CWordMetrics& wm, int x, int y, bool right_to_left);
  // The visible lines as rich text, joined with "\par" CR LF; the tag
  // labels around the first line; `leading` and a space before everything
  // when `leading` is not empty.
  std::u16string GetExportText(const CWordMetrics& wm, std::u16string_view leading);
  // The first visible line's plain text with "<labels>" of the user tags
  // that begin here before it and of those that end here after it.
  std::u16string GetLabelText(const CWordMetrics& wm);
  // The gloss as stored; "" without a gloss line.
  std::u16string GetGlossText() const;
  // Shows the Form line in text variant n (0 = the line itself).
  void SetTextVariant(int variant);

  // --- Details panel and word tip, drawn through the details metrics'
  // device (or only measured when it is not drawing).

  // The rows of the details panel from the top left; returns the scrollable
  // extent (widest row plus a margin, last row's bottom plus 2).
  Size DrawDetails(CDetailsMetrics& details);
  // The tip from (2, 2): what `view` does not already show, then the tag's
  // description, the links and the user tags. Returns the widest row plus 2
  // by the last row's bottom plus 2, or (0, 0) when nothing was drawn (no
  // tip is then shown).
  Size DrawTip(CDetailsMetrics& details, const CViewMetrics& view);
  // DrawTip without drawing.
  Size MeasureTip(CDetailsMetrics& details, const CViewMetrics& view);

  // --- Menus.

  // The links of the word, commands kFirstLinkCommand + index.
  void AddLinksToMenu(CWordMenu* menu);
  // Link n of the word (null when there is none), for opening it.
  const CPVLink* GetLink(size_t n) const;

 private:
  CVornDB* db_;
  WordIndex word_;
  std::vector<std::unique_ptr<CWordLine>> lines_;
};

// Where a word tip of `tip` size goes for a word whose box is `word` in a
// parent whose client area is `client`: centred under the box, then moved
// back inside the client area (the right and bottom edges first, then the
// left and top).
Rect PlaceWordTip(Size tip, const Rect& word, const Rect& client);

}  // namespace vorn
