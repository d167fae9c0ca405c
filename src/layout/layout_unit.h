// One unit of a layout: a verse, paragraph, sentence, proposition, hit line
// or reference list, made of centred heading lines followed by body lines.
// A unit covers a half-open range of words and is laid out once, on first
// need; its kind decides the range, the indents, the headings and how the
// words flow into lines.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "layout/layout_line.h"
#include "textdb/headings.h"
#include "textdb/types.h"

namespace vorn {

class CFontFormat;
class CViewMetrics;
class CVornDB;

class CLayoutUnit {
 public:
  // `db` and `metrics` are borrowed and must outlive the unit.
  CLayoutUnit(CVornDB* db, CViewMetrics* metrics);
  virtual ~CLayoutUnit();
  CLayoutUnit(const CLayoutUnit&) = delete;
  CLayoutUnit& operator=(const CLayoutUnit&) = delete;

  // What running text puts between two boxes.
  virtual std::u16string GetSeparator() const { return u" "; }
  // Flows the words of the range into body lines (see CLayout for the rules
  // of user-tag breaks).
  virtual void LayoutBody();
  // First-line and continuation indent, in pixels.
  virtual void GetIndents(int* first, int* continuation) const;
  virtual const CFontFormat& GetHeadingFont(int level) const;
  // Centred heading lines from the heading chain.
  virtual void LayoutHeadings();

  // Lays the unit out when it has not been yet.
  void EnsureLaidOut();
  bool IsLaidOut() const { return !needs_layout_; }
  // Sets the range. A new end after a range was set marks the unit cut
  // short (end-trimmed); a new first word drops the headings, since the
  // unit no longer starts at its own beginning.
  void SetRange(WordIndex first, WordIndex end);
  // Leaves the headings out (before the unit is laid out): a copy starting
  // with this unit did not choose the headings above its first line.
  void DropHeadings() { headings_.reset(); }
  WordIndex GetFirstWord() const { return first_; }
  WordIndex GetEndWord() const { return end_; }
  // first <= word < end (an end of -1 being open).
  bool Contains(WordIndex word) const;
  bool IsEndTrimmed() const { return end_trimmed_; }

  int GetHeight() const;
  int GetHeadingsHeight() const;
  int GetStandardIndent() const;

  // Appends a new line and returns it (owned by the unit).
  CLayoutLine* AddBodyLine(int indent, const CFontFormat* font);
  CLayoutLine* AddHeadingLine(int indent, const CFontFormat* font);
  std::unique_ptr<CLayoutBox> MakeWordBox(WordIndex word);
  std::unique_ptr<CLayoutBox> MakeRefBox(WordIndex word);

  // Draws the lines that meet the window, the unit's top at y.
  void Draw(int y);
  // The box under (x, y), y relative to the unit's top; headings give none.
  // `*line_top` gets the top of the box's line relative to the unit.
  CLayoutBox* HitTest(int x, int y, int* box_left, int* line_top) const;
  // The top of the body line holding `word` relative to the unit's top; -1
  // outside the range. A word in the range that no line shows gives the
  // line before which it would stand.
  int GetWordY(WordIndex word) const;
  // The word to focus on when the unit's top is at `top`; -1 when no line
  // of the unit qualifies. `*y` gets that line's top.
  WordIndex GetTopWord(int top, int* y) const;
  // The body line holding `word`, or null.
  const CLayoutLine* FindBodyLine(WordIndex word, size_t* index = nullptr) const;
  // The first word of the first body line and the end word of the last.
  WordSpan GetShownRange() const;
  // Cuts the unit to `height` pixels at a line boundary; true when not even
  // the headings and the first body line fit (the unit must go).
  bool TruncateToHeight(int height);

  const std::vector<std::unique_ptr<CLayoutLine>>& GetHeadingLines() const {
    return heading_lines_;
  }
  const std::vector<std::unique_ptr<CLayoutLine>>& GetBodyLines() const { return body_lines_; }
  const CHeading* GetHeadings() const { return headings_.get(); }
  CVornDB* GetDatabase() const { return db_; }
  CViewMetrics* GetMetrics() const { return metrics_; }

  // Output of the unit (the layout writes the document frame).
  void WriteRtfTable(std::u16string* out) const;
  void WriteRtfText(std::u16string* out) const;
  void WriteText(std::u16string* out) const;

 protected:
  // Takes the heading chain the database gives for the first word.
  void TakeHeadings();
  // Sets the range without the bookkeeping of SetRange, for kinds that lay
  // out other words than the ones they stand for.
  void SwapRange(WordIndex* first, WordIndex* end);

  CVornDB* db_;
  CViewMetrics* metrics_;
  std::unique_ptr<CHeading> headings_;
  WordIndex first_ = -1;
  WordIndex end_ = -1;
  std::vector<std::unique_ptr<CLayoutLine>> heading_lines_;
  std::vector<std::unique_ptr<CLayoutLine>> body_lines_;
  bool needs_layout_ = true;
  bool end_trimmed_ = false;
};

}  // namespace vorn
