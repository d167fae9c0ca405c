// What measuring, drawing and export need from the user's markup of a word:
// the user tags a window shows (answered by the window's query state) and
// the annotation mark. The user-tag code implements CWordTags for one word
// (its CTag); the window's query state implements CWordMarkupSource. Both
// are interfaces so the layout code builds and tests without them.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "device/device.h"
#include "textdb/font_format.h"
#include "textdb/types.h"

namespace vorn {

class CTagDB;
class CViewMetrics;

// A tag style value: the combined foreground colour, background colour
// (0..16, 0 = none of its own) and font style bits (1 bold, 2 italic) of the
// tags on a word. It keys the view's cache of tag fonts.
inline constexpr int MakeTagStyle(int font_style, int foreground, int background) {
  return (foreground & 0xFF) | ((background & 0xFF) << 8) | ((font_style & 0xFF) << 16);
}
inline constexpr int TagStyleForeground(int style) { return style & 0xFF; }
inline constexpr int TagStyleBackground(int style) { return (style >> 8) & 0xFF; }
inline constexpr int TagStyleFontBits(int style) { return (style >> 16) & 0xFF; }

// Applies a tag style value to a font: bold and italic bits, and the colours
// that are not 0.
inline void ApplyDefaultTagStyle(int style, CFontFormat* font) {
  const int bits = TagStyleFontBits(style);
  if (bits & 1) font->set_weight(700);
  if (bits & 2) font->set_italic(true);
  if (int fg = TagStyleForeground(style); fg > 0 && fg <= 16)
    font->set_colour(static_cast<ColourValue>(fg));
  if (int bg = TagStyleBackground(style); bg > 0 && bg <= 16)
    font->set_background(static_cast<ColourValue>(bg), true);
}

// The user tags of one word in one view. Made when a word is measured,
// drawn or exported, and owned by that word's metrics.
class CWordTags {
 public:
  virtual ~CWordTags() = default;

  // The combined style; the first visible line of the word is drawn in the
  // view's tag font for it (CViewMetrics::GetTagFont).
  virtual int GetStyle() const = 0;
  // Labels of the tags that begin here, and of those that end here without
  // beginning here; each joined with single spaces, "" when none.
  virtual std::u16string GetBeginLabels() const = 0;
  virtual std::u16string GetEndLabels() const = 0;
  // Room the labels take before and after the word's first line, in pixels
  // of the view's device.
  virtual int GetBeginMarkWidth() = 0;
  virtual int GetEndMarkWidth() = 0;
  // Draws the labels around `text`, the rectangle of the word's first
  // visible line; leading and trailing swap on right-to-left lines.
  virtual void DrawLabels(const Rect& text, bool right_to_left) = 0;
  // Draws the brackets over the word's box.
  virtual void DrawMarks(const Rect& box, bool right_to_left) = 0;
  // Layout hints: a new line before the word at `*indent` levels, and the
  // end of the line after it with `*indent_next` levels for the next line.
  virtual bool StartsNewLine(int* indent) const = 0;
  virtual bool EndsLine(int* indent_next) const = 0;
  // Rich-text cell borders of the word's cell in table output.
  virtual std::u16string GetCellFormat(bool right_to_left) const = 0;
  // "User tags: " and the names of the word's tags joined with ", ".
  virtual std::u16string GetDetailsText() const = 0;
};

// What a view asks about the markup of its words.
class CWordMarkupSource {
 public:
  virtual ~CWordMarkupSource() = default;

  // Whether any user tag the window shows marks `word`.
  virtual bool IsWordTagged(WordIndex word) const = 0;
  // The shown tags that mark `word`, in the window's order (emptied first).
  virtual void GetWordTags(WordIndex word, std::vector<CTagDB*>* tags) const = 0;
  // The tags of `word` for drawing in the view of `metrics` (which outlive
  // the object); null when the word carries none.
  virtual std::unique_ptr<CWordTags> MakeWordTags(WordIndex word, const CViewMetrics& metrics) = 0;
  // Turns a copy of the top visible line's font into the font of a tag style.
  virtual void ApplyTagStyle(int style, CFontFormat* font) const {
    ApplyDefaultTagStyle(style, font);
  }
  // Whether `word` has an annotation (it then shows the note mark).
  virtual bool HasNote(WordIndex /*word*/) const { return false; }
};

}  // namespace vorn
