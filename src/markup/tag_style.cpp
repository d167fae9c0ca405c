#include "markup/tag_style.h"

#include <iterator>

namespace vorn {

namespace {

// Tags name colour 0 "Default" and use the same 16 named colours as fonts.
constexpr int kLastTagColour = 16;

constexpr const char16_t* kFontStyles[] = {u"None", u"Bold", u"Italic", u"B&I"};
constexpr const char16_t* kBracketStyles[] = {u"Solid", u"Dots", u"Dashes"};
// By the bits: begin 1, end 2, above 4, under 8.
constexpr const char16_t* kBracketPositions[] = {u"None",
                                                 u"Begin",
                                                 u"End",
                                                 u"Begin and end",
                                                 u"Above",
                                                 u"Above and begin",
                                                 u"Above and end",
                                                 u"Above, begin and end",
                                                 u"Under",
                                                 u"Under and begin",
                                                 u"Under and end",
                                                 u"Under, begin and end",
                                                 u"Above and under",
                                                 u"Above, under and begin",
                                                 u"Above, under and end",
                                                 u"All round"};

// The colours new tags take in turn: dark enough to show on white.
constexpr int8_t kNewTagColours[] = {9, 5, 8, 13, 12, 6, 14, 16};

}  // namespace

int TagColourIndex(int stored) { return stored >= 0 && stored <= kLastTagColour ? stored : 0; }

ColourValue TagColourRgb(int stored) { return GetNamedColour(TagColourIndex(stored)).rgb; }

std::u16string TagColourName(int stored) {
  if (TagColourIndex(stored) == 0) return u"Default";
  return GetNamedColour(stored).name;
}

std::u16string FontStyleName(int value) {
  return kFontStyles[value >= 0 && value < static_cast<int>(std::size(kFontStyles)) ? value : 0];
}

std::u16string BracketStyleName(int value) {
  if (value < 0 || value >= static_cast<int>(std::size(kBracketStyles))) return {};
  return kBracketStyles[value];
}

std::u16string BracketPositionName(int value) {
  if (value < 0 || value >= static_cast<int>(std::size(kBracketPositions))) return {};
  return kBracketPositions[value];
}

TagStyle NewTagStyle(size_t ordinal) {
  TagStyle style;
  style.bracket_position = kBracketUnder;
  style.bracket_style = kBracketSolid;
  style.bracket_colour = kNewTagColours[ordinal % std::size(kNewTagColours)];
  return style;
}

}  // namespace vorn
