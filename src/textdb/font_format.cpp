#include "textdb/font_format.h"

#include <unicode/uchar.h>

#include <cstdlib>

#include "platform/u16.h"

namespace vorn {

namespace {
constexpr NamedColour kColours[kNamedColourCount] = {
    {u"Default", MakeRgb(0, 0, 0)},      {u"Black", MakeRgb(0, 0, 0)},
    {u"White", MakeRgb(255, 255, 255)},  {u"Grey", MakeRgb(110, 110, 110)},
    {u"DkGrey", MakeRgb(80, 80, 80)},    {u"Red", MakeRgb(255, 0, 0)},
    {u"Chestnut", MakeRgb(128, 0, 0)},   {u"LtGreen", MakeRgb(0, 255, 0)},
    {u"DkGreen", MakeRgb(0, 128, 0)},    {u"Blue", MakeRgb(0, 0, 255)},
    {u"DkBlue", MakeRgb(0, 0, 128)},     {u"Cyan", MakeRgb(0, 255, 255)},
    {u"Teal", MakeRgb(0, 128, 128)},     {u"Magenta", MakeRgb(255, 0, 255)},
    {u"Plum", MakeRgb(128, 0, 128)},     {u"Yellow", MakeRgb(255, 255, 0)},
    {u"Gold", MakeRgb(128, 128, 0)},
};

bool EqualsIgnoreCase(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (u_foldCase(a[i], U_FOLD_CASE_DEFAULT) != u_foldCase(b[i], U_FOLD_CASE_DEFAULT)) return false;
  return true;
}

bool EndsWith(std::u16string_view s, std::u16string_view suffix) {
  return s.size() >= suffix.size() && s.substr(s.size() - suffix.size()) == suffix;
}

// Faces whose fonts use a symbol encoding rather than Unicode.
bool IsSymbolFace(std::u16string_view face) {
  return face == u"Pelorin" || face == u"Tamvel" || face.substr(0, 4) == u"Qyx ";
}
}  // namespace

const NamedColour& GetNamedColour(int index) { return kColours[index]; }

int FindColourName(std::u16string_view name) {
  for (int i = 0; i < kNamedColourCount; ++i)
    if (EqualsIgnoreCase(name, kColours[i].name)) return i;
  return -1;
}

ColourValue ResolveColour(ColourValue value) {
  return value <= 16 ? kColours[value].rgb : value;
}

int ColourIndex(ColourValue value) {
  if (value <= 16) return static_cast<int>(value);
  for (int i = 0; i < kNamedColourCount; ++i)
    if (kColours[i].rgb == value) return i;
  return 0;
}

CFontFormat::CFontFormat(std::u16string_view face, int size_points, ColourValue colour)
    : height_(size_points * 10), colour_(colour) {
  SetFace(face);
}

void CFontFormat::SetFace(std::u16string_view text) {
  if (EndsWith(text, u",I")) {
    italic_ = true;
    text.remove_suffix(2);
  }
  if (EndsWith(text, u",R2L")) {
    right_to_left_ = true;
    text.remove_suffix(4);
  }
  face_.assign(text.substr(0, 31));
  charset_ = IsSymbolFace(face_) ? 2 : 1;
}

void CFontFormat::LoadFromSettings(const AttributeMap& attributes) {
  *this = CFontFormat();
  for (const auto& [name, value] : attributes) {
    if (name == u"Face") {
      if (!value.empty()) SetFace(value);
    } else if (name == u"Size") {
      long size = std::strtol(platform::ToUtf8(value).c_str(), nullptr, 10);
      if (size > 2) height_ = static_cast<int>(size * 10);
    } else if (name == u"Colour") {
      int i = FindColourName(value);
      if (i >= 0) colour_ = static_cast<ColourValue>(i);
    } else if (name == u"BkCol") {
      int i = FindColourName(value);
      if (i >= 0) {
        background_ = static_cast<ColourValue>(i);
        opaque_ = true;
      }
    } else if (name == u"Dir") {
      right_to_left_ = value == u"R2L";
    } else if (name == u"Style") {
      if (!value.empty() && value[0] == u'B') weight_ = 700;
      if (value.find(u'I') != std::u16string::npos) italic_ = true;
    }
  }
}

std::u16string GetDrawnText(const CFontFormat& font, std::u16string_view text) {
  if (!font.right_to_left() || text.empty()) return std::u16string(text);
  if (text[0] == u'\u202B') {
    while (!text.empty() && text.front() == u'\u202B') text.remove_prefix(1);
    while (!text.empty() && text.back() == u'\u202C') text.remove_suffix(1);
    return std::u16string(text);
  }
  if (text == u" ") return std::u16string(text);
  return u"\u202B" + std::u16string(text) + u"\u202C";
}

std::u16string StripEmbeddings(const CFontFormat& font, std::u16string_view text) {
  std::u16string out;
  for (char16_t c : text)
    if (!font.right_to_left() || (c != u'\u202B' && c != u'\u202C')) out.push_back(c);
  return out;
}

}  // namespace vorn
