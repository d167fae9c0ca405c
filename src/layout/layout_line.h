// One display line: a row of boxes in reading order with an indent. Lines
// decide where a row breaks (AddBox), draw themselves left to right or
// mirrored, find the box under a point, and write themselves as a table
// row, running rich text or plain text.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "layout/layout_box.h"
#include "textdb/types.h"

namespace vorn {

class CFontFormat;
class CViewMetrics;

class CLayoutLine {
 public:
  // `metrics` and `font` (may be null) are borrowed and must outlive the
  // line. A line with a font takes that font's direction; one without takes
  // the view's.
  CLayoutLine(CViewMetrics* metrics, int indent, const CFontFormat* font);
  ~CLayoutLine();
  CLayoutLine(const CLayoutLine&) = delete;
  CLayoutLine& operator=(const CLayoutLine&) = delete;

  // Adds `box` at the front or the end when it fits within `limit` pixels
  // (the indent giving way first), and always when `force` is set or the
  // line is still empty. On success the line owns the box and `box` is
  // null; a refused box stays with the caller.
  bool AddBox(std::unique_ptr<CLayoutBox>& box, bool at_front, int limit, bool force);
  // AddBox at the end within the view's width.
  bool Append(std::unique_ptr<CLayoutBox>& box, bool force);
  bool Prepend(std::unique_ptr<CLayoutBox>& box, int limit, bool force);
  // Puts `boxes`, in their order, before the boxes of the line, forced as
  // Prepend with no room (the indent gives way), in one step whatever their
  // number. The line owns them afterwards.
  void PrependAll(std::vector<std::unique_ptr<CLayoutBox>> boxes);
  void SetIndent(int x);

  void Draw(int y);
  // The box under x (a window coordinate), or null; `*box_left` (may be
  // null) gets the box's left edge on screen.
  CLayoutBox* HitTest(int x, int* box_left) const;
  // The box showing `word`, or null; `*box_left` as for HitTest.
  CLayoutBox* FindBox(WordIndex word, int* box_left) const;
  // The word under x for the caret moves: left of the indent the first
  // word, right of the end the last, a blank gives the first word; -1 when
  // the line has no word.
  WordIndex WordAtX(int x) const;
  // The screen x of the middle of `word`'s box; -1 when the line lacks it.
  int WordCentreX(WordIndex word) const;
  // The first word of the line that is selected, else its first word.
  WordIndex GetPreferredWord() const;
  bool IsRightToLeft() const;
  bool HoldsWord(WordIndex word) const {
    return first_word_ != -1 && word >= first_word_ && word < end_word_;
  }

  // Output (the document frame and the unit around are the layout's).
  void WriteRtfRow(std::u16string* out) const;
  // The boxes' rich text joined by `separator`; a separator goes only
  // between non-empty pieces, `*written` telling whether the paragraph has
  // text before this line.
  void WriteRtfText(std::u16string* out, std::u16string_view separator, bool* written) const;
  // TABs for the indent, then the boxes' plain text joined by `separator`.
  // Without `indent` (the line runs on from the one before) neither the
  // indent nor leading blank boxes are written.
  void WriteText(std::u16string* out, std::u16string_view separator, bool indent = true) const;

  const std::vector<std::unique_ptr<CLayoutBox>>& GetBoxes() const { return boxes_; }
  bool IsEmpty() const { return boxes_.empty(); }
  const CFontFormat* GetFont() const { return font_; }
  int GetIndent() const { return indent_; }
  int GetRight() const { return right_; }
  int GetHeight() const { return height_; }
  WordIndex GetFirstWord() const { return first_word_; }
  WordIndex GetEndWord() const { return end_word_; }
  bool EndsParagraph() const { return ends_paragraph_; }
  void SetEndsParagraph(bool ends) { ends_paragraph_ = ends; }

 private:
  // The logical offset (from the line start) of the box at `index`.
  int OffsetOf(size_t index) const;
  // The screen left edge of a box at logical offset `offset`.
  int ScreenLeft(int offset, int width) const;
  // The first box that is not a blank, or null.
  const CLayoutBox* FirstWordBox() const;

  CViewMetrics* metrics_;
  std::vector<std::unique_ptr<CLayoutBox>> boxes_;
  const CFontFormat* font_;
  int indent_;
  int right_;
  int height_ = 0;
  WordIndex first_word_ = -1;
  WordIndex end_word_ = -1;
  bool ends_paragraph_ = false;
};

}  // namespace vorn
