// What one interlinear line shows about one word: its value measured and
// drawn in the interlinear stack, written as rich and plain text, and drawn
// in the word-details panel and the word tips. Lines hand these out through
// their factories; the word-details library derives the concrete classes.
// The metrics they measure with appear only as forward declarations, and the
// device geometry comes from the device library below the text database.
#pragma once

#include <cstdint>
#include <string>

#include "device/device.h"
#include "textdb/types.h"

namespace vorn {

class CVornDBLine;
class CFontFormat;
class CViewMetrics;
class CDetailsMetrics;

// A menu that word lines add entries to (text variants, links).
class CWordMenu {
 public:
  virtual ~CWordMenu() = default;
  virtual void AddItem(uint32_t command, const std::u16string& text) = 0;
};

class CWordLine {
 public:
  // `line` is borrowed from the database and outlives the word line.
  CWordLine(WordIndex word, CVornDBLine* line) : word_(word), line_(line) {}
  virtual ~CWordLine() = default;
  CWordLine(const CWordLine&) = delete;
  CWordLine& operator=(const CWordLine&) = delete;

  // In the details panel, after the value drawn at (x, y): the occurrence
  // count; returns the x after it. The base draws nothing.
  virtual int DrawCount(CDetailsMetrics& /*details*/, int x, int /*y*/) { return x; }
  // Draws the value for the details panel at (x, y) (only measures when the
  // details metrics are not drawing); returns the end point: the x after
  // the value and the bottom of its last row.
  virtual Point DrawDetails(CDetailsMetrics& details, int x, int y) = 0;
  // The same for the word tip.
  virtual Point DrawTip(CDetailsMetrics& details, int x, int y) {
    return DrawDetails(details, x, y);
  }

  // The value's rectangle in the interlinear stack when drawn in `font`,
  // relative to the start of its main text at (0, 0); marks drawn before
  // the text give a negative left edge. `metrics` may be null.
  virtual Rect Measure(const CFontFormat& font, const CViewMetrics* metrics) = 0;
  // Draws the value into the rectangle Measure gave, placed with its left
  // edge at x and its top at y, in reading order for the line's direction.
  virtual void Draw(const CFontFormat& font, const CViewMetrics* metrics, int x, int y,
                    bool right_to_left) = 0;
  // The value as rich text in `font` (one or more runs).
  virtual std::u16string GetExportText(const CFontFormat& font, const CViewMetrics* metrics) = 0;
  virtual std::u16string GetPlainText() = 0;
  // Switches to text variant n (0 = the line itself).
  virtual void SetVariant(int /*variant*/) {}
  // Adds the value's alternatives (variants, links) to `menu`, numbered
  // from `first_command`.
  virtual void AddToMenu(CWordMenu* menu, uint32_t first_command) = 0;
  // How often the value occurs in its line.
  virtual uint32_t GetOccurrenceCount() const { return 0; }

  WordIndex GetWordIndex() const { return word_; }
  CVornDBLine* GetLine() const { return line_; }

 private:
  WordIndex word_;
  CVornDBLine* line_;
};

}  // namespace vorn
