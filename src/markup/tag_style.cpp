#include "markup/tag_style.h"

#include <iterator>

namespace vorn {

namespace {

// Tags name colour 0 "Default" and use the same 16 named colours as fonts.
constexpr int kLastTagColour = 16;

constexpr const char16_t* kFontStyles[] = {u"None", u"Bold", u"Italic", u"B&I"};
constexpr const char16_t* kBracketStyles[] = {u"Solid", u"Dots", u"Dashes"};
constexpr const char16_t* kBracketPositions[] = {
    u"None",  u"Begin", u"End", u"B&E",   u"Above", u"A&B",   u"A&E",   u"A,B&E",
    u"Under", u"U&B",   u"U&E", u"U,B&E", u"A&U",   u"A,U&B", u"A,U&E", u"A,U,B&E"};

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

}  // namespace vorn
