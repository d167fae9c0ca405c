// A font as a database or the user describes it: face, size, colours,
// direction and style. Device fonts made from it belong to the layout code.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>

namespace vorn {

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
const NamedColour& GetNamedColour(int index);
// The index of a colour name compared without regard to case; -1 when unknown.
int FindColourName(std::u16string_view name);
// The RGB value a colour value stands for.
ColourValue ResolveColour(ColourValue value);
// The index of a colour value: itself when 16 or less, else the first named
// colour with that RGB value, else 0.
int ColourIndex(ColourValue value);

using AttributeMap = std::map<std::u16string, std::u16string>;

class CFontFormat {
 public:
  CFontFormat() : CFontFormat(u"Arial", 12, 0) {}
  CFontFormat(std::u16string_view face, int size_points, ColourValue colour);

  // Reads "face[,R2L][,I]": the suffixes are taken from the end, ",I" first.
  void SetFace(std::u16string_view text);
  // Starts as Arial 12 black, then applies the attributes Face, Size, Colour,
  // BkCol, Dir and Style of a font description. Unknown colour names and
  // sizes of 2 or less are ignored.
  void LoadFromSettings(const AttributeMap& attributes);
  void SetDefaultColour() { colour_ = 1; }

  const std::u16string& face() const { return face_; }
  int height() const { return height_; }  // tenths of a point
  int size_points() const { return height_ / 10; }
  void set_height(int tenths) { height_ = tenths; }
  int weight() const { return weight_; }
  bool bold() const { return weight_ >= 700; }
  bool italic() const { return italic_; }
  int charset() const { return charset_; }
  ColourValue colour() const { return colour_; }
  void set_colour(ColourValue c) { colour_ = c; }
  ColourValue background() const { return background_; }
  bool opaque() const { return opaque_; }
  bool right_to_left() const { return right_to_left_; }
  void set_right_to_left(bool rtl) { right_to_left_ = rtl; }
  int magnification() const { return magnification_; }
  void set_magnification(int m) { magnification_ = m; }

  friend bool operator==(const CFontFormat&, const CFontFormat&) = default;

 private:
  std::u16string face_;
  int height_ = 120;
  int weight_ = 0;
  bool italic_ = false;
  int charset_ = 1;  // 2 for symbol-encoded faces
  ColourValue colour_ = 0;
  ColourValue background_ = 0;
  bool opaque_ = false;
  bool right_to_left_ = false;
  int magnification_ = 100;
};

// The text as a font of this kind draws it: right-to-left text is wrapped in
// a right-to-left embedding (U+202B ... U+202C) unless it already starts
// with one, in which case its embedding marks are trimmed instead.
std::u16string GetDrawnText(const CFontFormat& font, std::u16string_view text);
// Removes every embedding mark from text of a right-to-left font.
std::u16string StripEmbeddings(const CFontFormat& font, std::u16string_view text);

}  // namespace vorn
