// The fonts the word-details panel and the word tips draw with: copies of a
// view's line fonts and panel font, attached to the panel's own device at
// the view's magnification. The same drawing code also measures (a tip is
// measured before it is shown), so every text goes through Text, which
// draws only while drawing is on.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "device/device.h"
#include "textdb/font_format.h"

namespace vorn {

class CViewMetrics;

class CDetailsMetrics {
 public:
  // `view` is borrowed and must outlive this object. No device yet.
  explicit CDetailsMetrics(const CViewMetrics& view);
  ~CDetailsMetrics();
  CDetailsMetrics(const CDetailsMetrics&) = delete;
  CDetailsMetrics& operator=(const CDetailsMetrics&) = delete;

  // Attaches every font to `device` (borrowed; may be null) with unchanged
  // magnification.
  void Attach(CDevice* device);
  CDevice* GetDevice() const { return device_; }
  const CViewMetrics& GetViewMetrics() const { return view_; }

  // Out-of-range lines give the panel font.
  const CFontFormat& GetLineFont(int line) const;
  const CFontFormat& GetPanelFont() const { return panel_font_; }
  // The bold form of a line's font (the "Notes:" label), made on first use.
  const CFontFormat& GetBoldLineFont(int line);

  // While off, Text only measures.
  void SetDrawing(bool drawing) { drawing_ = drawing; }
  bool IsDrawing() const { return drawing_; }
  // Where texts wrap: a text that would reach past `right` goes on over as
  // many lines as it needs, broken at blanks, each later line starting at
  // the x the text started at (a word wider than the room still goes whole
  // on its line). 0, the default, never wraps.
  void SetWrapRight(int right) { wrap_right_ = right; }
  int GetWrapRight() const { return wrap_right_; }
  // The furthest right any text has reached since the last reset (a wrapped
  // text's widest line, which need not be its last).
  int GetFurthestX() const { return furthest_x_; }
  void ResetFurthestX() { furthest_x_ = 0; }

  // Draws `text` in `font` with its top-left corner at (x, y) when drawing;
  // returns the end point: x plus the width of its last line, y plus the
  // font's text height for each line (y alone for empty text).
  Point Text(const CFontFormat& font, int x, int y, std::u16string_view text);

  // Spots: pieces of the texts that lead somewhere (a Strong's number in a
  // dictionary entry). The finder gives, for a text, the [begin, end)
  // ranges of its spots; each spot Text meets is underlined in `colour`
  // when drawing and kept, with its box, until the next ClearSpots. No
  // finder (the default) finds none.
  using SpotFinder = std::function<std::vector<std::pair<size_t, size_t>>(std::u16string_view)>;
  struct Spot {
    Rect box;
    std::u16string text;
  };
  void SetSpotFinder(SpotFinder finder, RgbColour colour) {
    spot_finder_ = std::move(finder);
    spot_colour_ = colour;
  }
  const std::vector<Spot>& GetSpots() const { return spots_; }
  void ClearSpots() { spots_.clear(); }

 private:
  // Draws (when drawing) one line of a text and records its spots.
  void Piece(const CFontFormat& font, int x, int y, std::u16string_view piece);

  const CViewMetrics& view_;
  CDevice* device_ = nullptr;
  std::vector<CFontFormat> line_fonts_;
  CFontFormat panel_font_;
  std::map<int, std::unique_ptr<CFontFormat>> bold_fonts_;
  bool drawing_ = true;
  int wrap_right_ = 0;
  int furthest_x_ = 0;
  SpotFinder spot_finder_;
  RgbColour spot_colour_ = 0;
  std::vector<Spot> spots_;
};

}  // namespace vorn
