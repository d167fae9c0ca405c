// The per-word results of measuring a word's interlinear stack: one
// rectangle per database line, their union, and the room the word's user
// tags and note mark take. Owned by the word's box; filled by the word.
#pragma once

#include <memory>
#include <vector>

#include "device/device.h"
#include "metrics/word_markup.h"
#include "textdb/types.h"

namespace vorn {

class CFontFormat;
class CViewMetrics;

class CWordMetrics {
 public:
  // Asks the view whether `word` carries user tags and, when it does, makes
  // them. `metrics` is borrowed and must outlive this object; its line
  // visibility and fonts are read through it, not copied.
  CWordMetrics(WordIndex word, CViewMetrics* metrics);
  ~CWordMetrics();
  CWordMetrics(const CWordMetrics&) = delete;
  CWordMetrics& operator=(const CWordMetrics&) = delete;

  WordIndex GetWord() const { return word_; }
  CViewMetrics& GetViewMetrics() const { return *metrics_; }
  bool IsLineVisible(int line) const;
  // The first visible line, or -1 when the view shows none.
  int GetFirstVisibleLine() const;
  // The font line `line` is measured and drawn in: the view's line font,
  // or on the first visible line of a tagged word the view's tag font.
  const CFontFormat& GetLineFont(int line) const;

  // The word's user tags; null when it carries none.
  CWordTags* GetTags() const { return tags_.get(); }
  bool HasNote() const { return has_note_; }

  // Per line: the rectangle in the stack, relative to the stack's origin
  // (the start of the main text of the lines); empty for hidden lines.
  std::vector<Rect>& rects() { return rects_; }
  const std::vector<Rect>& rects() const { return rects_; }
  Rect& bounds() { return union_; }
  const Rect& bounds() const { return union_; }
  int begin_mark_width() const { return begin_mark_width_; }
  int end_mark_width() const { return end_mark_width_; }
  // Room after the first line's text for the note mark (0 without a note).
  int note_mark_width() const { return note_mark_width_; }
  void set_mark_widths(int begin, int end, int note) {
    begin_mark_width_ = begin;
    end_mark_width_ = end;
    note_mark_width_ = note;
  }

 private:
  WordIndex word_;
  CViewMetrics* metrics_;
  std::unique_ptr<CWordTags> tags_;
  bool has_note_ = false;
  std::vector<Rect> rects_;
  Rect union_;
  int begin_mark_width_ = 0;
  int end_mark_width_ = 0;
  int note_mark_width_ = 0;
};

}  // namespace vorn
