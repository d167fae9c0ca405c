// A font as a database or the user describes it (face, size, colours,
// direction, style) together with the device fonts made from it.
//
// The device side lives here rather than in a layout-side helper because
// every line, heading and verse font of a database is one of these objects
// and each caches its own device fonts and measures; a helper would need a
// parallel cache keyed by font. It needs nothing but the abstract device of
// device/device.h, a library below the text database.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "device/device.h"

namespace vorn {

namespace platform {
class CMessageSink;
}

// A colour value: 0..16 stands for the named colour of that index, a larger
// value is a colour itself, 0x00BBGGRR.
using ColourValue = uint32_t;

inline constexpr ColourValue MakeRgb(uint8_t r, uint8_t g, uint8_t b) {
  return static_cast<ColourValue>(r) | (static_cast<ColourValue>(g) << 8) |
         (static_cast<ColourValue>(b) << 16);
}

struct NamedColour {
  const char16_t* name;
  ColourValue rgb;
};

// The 17 named colours, index 0 "Default" to 16 "Gold".
inline constexpr int kNamedColourCount = 17;
inline constexpr ColourValue kColourBlack = 1;
inline constexpr ColourValue kColourWhite = 2;
inline constexpr ColourValue kColourGrey = 3;
inline constexpr ColourValue kColourYellow = 15;
const NamedColour& GetNamedColour(int index);
// The index of a colour name compared without regard to case; -1 when unknown.
int FindColourName(std::u16string_view name);
// The RGB value a colour value stands for.
ColourValue ResolveColour(ColourValue value);
// The index of a colour value: itself when 16 or less, else the first named
// colour with that RGB value, else 0.
int ColourIndex(ColourValue value);

using AttributeMap = std::map<std::u16string, std::u16string>;

// Sizes of the normal font, measured on the device; all 0 until measured.
struct FontMeasures {
  int x_width = 0;      // width of the text "x"
  int text_height = 0;  // cell height plus external leading
  int ascent = 0;
  int descent = 0;
  int external_leading = 0;
};

// Where "Font "%1" not found!" goes when a device cannot make a font. The
// front end installs its sink once; null (the default) reports nothing. The
// sink must outlive every later font use.
void SetFontMessageSink(platform::CMessageSink* sink);

class CFontFormat {
 public:
  CFontFormat() : CFontFormat(u"Arial", 12, 0) {}
  CFontFormat(std::u16string_view face, int size_points, ColourValue colour);
  // Copies the description only: the copy has no device and makes its own
  // device fonts once attached.
  CFontFormat(const CFontFormat& other);
  CFontFormat& operator=(const CFontFormat& other);
  ~CFontFormat();

  // Reads "face[,R2L][,I]": the suffixes are taken from the end, ",I" first.
  // Drops the device fonts; registers a new face in the rich-text font table.
  void SetFace(std::u16string_view text);
  // Starts as Arial 12 black, then applies the attributes Face, Size, Colour,
  // BkCol, Dir and Style of a font description. Unknown colour names and
  // sizes of 2 or less are ignored. The device stays attached.
  void LoadFromSettings(const AttributeMap& attributes);
  void SetDefaultColour() { data_.colour = kColourBlack; }

  const std::u16string& face() const { return data_.face; }
  int height() const { return data_.height; }  // tenths of a point
  int size_points() const { return data_.height / 10; }
  void set_height(int tenths);
  int weight() const { return data_.weight; }
  void set_weight(int weight);
  bool bold() const { return data_.weight >= 700; }
  bool italic() const { return data_.italic; }
  void set_italic(bool italic);
  int charset() const { return data_.charset; }
  ColourValue colour() const { return data_.colour; }
  void set_colour(ColourValue c) { data_.colour = c; }
  ColourValue background() const { return data_.background; }
  bool opaque() const { return data_.opaque; }
  // Sets the background colour and whether text is drawn on it.
  void set_background(ColourValue c, bool opaque) {
    data_.background = c;
    data_.opaque = opaque;
  }
  bool right_to_left() const { return data_.right_to_left; }
  void set_right_to_left(bool rtl) { data_.right_to_left = rtl; }
  int magnification() const { return data_.magnification; }
  void set_magnification(int m);

  // Two fonts are equal when description, colours, flags and magnification
  // are; the device does not count.
  friend bool operator==(const CFontFormat& a, const CFontFormat& b) { return a.data_ == b.data_; }

  // --- Device side. The device is borrowed: it must outlive its use through
  // this font, or be replaced by Attach before the next use. Without a device
  // measures are 0 and nothing is drawn.

  // Sets the device and, unless 0, the magnification in per cent. Returns
  // true when the device fonts had to be dropped (new resolution, new
  // magnification, or no device).
  bool Attach(CDevice* device, int magnification);
  CDevice* device() const { return device_; }
  // The vertical pixels per inch the fonts are made for (0 = none).
  int resolution() const { return resolution_; }
  // Forgets the device fonts and measures; they are made again on demand.
  void DropFonts();

  // The extent of `text` in the normal or small font; (0, 0) for empty text.
  // A lone Hebrew section mark (U+05E1 or U+05E4) always takes the small font.
  Size GetExtent(std::u16string_view text, bool small = false) const;
  // The cached measures of the normal font (made on first call).
  const FontMeasures& GetMeasures() const;
  int GetXWidth() const { return GetMeasures().x_width; }
  int GetTextHeight() const { return GetMeasures().text_height; }
  // Draws `text` (as GetDrawnText gives it) in the font's colours with the
  // top-left corner at (x, y); a lone section mark is lowered by 2/9 of the
  // text height. The device's colours are restored afterwards.
  void DrawText(int x, int y, std::u16string_view text, bool small = false) const;
  // DrawText with another text colour (the background stays the font's).
  void DrawTextInColour(int x, int y, std::u16string_view text, ColourValue colour,
                        bool small = false) const;
  // Draws with the baseline at y; returns the width drawn.
  int DrawTextOnBaseline(int x, int y, std::u16string_view text, bool small = false) const;
  // The device's formatted drawing (TextFormat flags) in the normal font;
  // returns the width of the text.
  int DrawTextInRect(std::u16string_view text, const Rect& rect, unsigned format) const;

  // What the device is asked for when the font is made: the height scaled by
  // the magnification (and by 2/3 for the small font), converted for the
  // attached resolution.
  FontDescription GetDeviceDescription(bool small) const;

  std::u16string GetDrawnText(std::u16string_view text) const;
  std::u16string StripEmbeddings(std::u16string_view text) const;

 private:
  struct Data {
    std::u16string face;
    int height = 120;
    int weight = 0;
    bool italic = false;
    int charset = 1;  // 2 for symbol-encoded faces
    ColourValue colour = 0;
    ColourValue background = 0;
    bool opaque = false;
    bool right_to_left = false;
    int magnification = 100;
    friend bool operator==(const Data&, const Data&) = default;
  };

  // The normal or small device font, made on demand; null without a device
  // or when the device cannot make it (reported, and tried again next time).
  CDeviceFont* GetDeviceFont(bool small) const;

  Data data_;
  CDevice* device_ = nullptr;
  int resolution_ = 0;
  // Caches of the device side; filled by const measuring and drawing.
  mutable std::unique_ptr<CDeviceFont> normal_;
  mutable std::unique_ptr<CDeviceFont> small_;
  mutable FontMeasures measures_;
};

// The text as a font of this kind draws it: right-to-left text is wrapped in
// a right-to-left embedding (U+202B ... U+202C) unless it already starts
// with one, in which case its embedding marks are trimmed instead.
std::u16string GetDrawnText(const CFontFormat& font, std::u16string_view text);
// Removes every embedding mark from text of a right-to-left font.
std::u16string StripEmbeddings(const CFontFormat& font, std::u16string_view text);

}  // namespace vorn
