#include "textdb/font_format.h"

#include <unicode/uchar.h>

#include <cstdlib>
#include <set>

#include "platform/message_sink.h"
#include "platform/string_table.h"
#include "platform/u16.h"
#include "textdb/rtf_tables.h"

namespace vorn {

namespace {
constexpr NamedColour kColours[kNamedColourCount] = {
    {u"Default", MakeRgb(0, 0, 0)},     {u"Black", MakeRgb(0, 0, 0)},
    {u"White", MakeRgb(255, 255, 255)}, {u"Grey", MakeRgb(110, 110, 110)},
    {u"DkGrey", MakeRgb(80, 80, 80)},   {u"Red", MakeRgb(255, 0, 0)},
    {u"Chestnut", MakeRgb(128, 0, 0)},  {u"LtGreen", MakeRgb(0, 255, 0)},
    {u"DkGreen", MakeRgb(0, 128, 0)},   {u"Blue", MakeRgb(0, 0, 255)},
    {u"DkBlue", MakeRgb(0, 0, 128)},    {u"Cyan", MakeRgb(0, 255, 255)},
    {u"Teal", MakeRgb(0, 128, 128)},    {u"Magenta", MakeRgb(255, 0, 255)},
    {u"Plum", MakeRgb(128, 0, 128)},    {u"Yellow", MakeRgb(255, 255, 0)},
    {u"Gold", MakeRgb(128, 128, 0)},
};

bool EqualsIgnoreCase(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (u_foldCase(a[i], U_FOLD_CASE_DEFAULT) != u_foldCase(b[i], U_FOLD_CASE_DEFAULT))
      return false;
  return true;
}

bool EndsWith(std::u16string_view s, std::u16string_view suffix) {
  return s.size() >= suffix.size() && s.substr(s.size() - suffix.size()) == suffix;
}

// Faces whose fonts use a symbol encoding rather than Unicode.
bool IsSymbolFace(std::u16string_view face) {
  return face == u"Pelorin" || face == u"Tamvel" || face.substr(0, 4) == u"Qyx ";
}

platform::CMessageSink* g_font_sink = nullptr;

// A face is reported once per run: fonts are made on demand while painting,
// and a message box at every paint would never let the user out.
void ReportMissingFace(const std::u16string& face) {
  static std::set<std::u16string> reported;
  if (!g_font_sink || !reported.insert(face).second) return;
  g_font_sink->ShowWarning(platform::FormatString(platform::kIdsFontNotFound, face));
}

bool IsSectionMark(std::u16string_view text) {
  return text.size() == 1 && (text[0] == u'\u05E1' || text[0] == u'\u05E4');
}

// Selects a device font for one operation. Without a font the device's
// current font is used, as the platform does when a font cannot be made.
class FontSelection {
 public:
  FontSelection(CDevice* device, CDeviceFont* font) : device_(device), selected_(font != nullptr) {
    if (selected_) old_ = device_->SelectFont(font);
  }
  ~FontSelection() {
    if (selected_) device_->SelectFont(old_);
  }
  FontSelection(const FontSelection&) = delete;
  FontSelection& operator=(const FontSelection&) = delete;

 private:
  CDevice* device_;
  CDeviceFont* old_ = nullptr;
  bool selected_;
};

// Sets the text colour and background of a font for one drawing operation.
class ColourSelection {
 public:
  ColourSelection(CDevice* device, const CFontFormat& font)
      : ColourSelection(device, font, font.colour()) {}
  ColourSelection(CDevice* device, const CFontFormat& font, ColourValue colour) : device_(device) {
    old_text_ = device_->SetTextColour(ResolveColour(colour));
    old_opaque_ = device_->SetOpaqueBackground(font.opaque());
    if (font.opaque()) {
      old_background_ = device_->SetBackgroundColour(ResolveColour(font.background()));
      background_set_ = true;
    }
  }
  ~ColourSelection() {
    device_->SetTextColour(old_text_);
    device_->SetOpaqueBackground(old_opaque_);
    if (background_set_) device_->SetBackgroundColour(old_background_);
  }
  ColourSelection(const ColourSelection&) = delete;
  ColourSelection& operator=(const ColourSelection&) = delete;

 private:
  CDevice* device_;
  RgbColour old_text_ = 0;
  RgbColour old_background_ = 0;
  bool old_opaque_ = false;
  bool background_set_ = false;
};
}  // namespace

void SetFontMessageSink(platform::CMessageSink* sink) { g_font_sink = sink; }

const NamedColour& GetNamedColour(int index) { return kColours[index]; }

int FindColourName(std::u16string_view name) {
  for (int i = 0; i < kNamedColourCount; ++i)
    if (EqualsIgnoreCase(name, kColours[i].name)) return i;
  return -1;
}

ColourValue ResolveColour(ColourValue value) { return value <= 16 ? kColours[value].rgb : value; }

int ColourIndex(ColourValue value) {
  if (value <= 16) return static_cast<int>(value);
  for (int i = 0; i < kNamedColourCount; ++i)
    if (kColours[i].rgb == value) return i;
  return 0;
}

CFontFormat::CFontFormat(std::u16string_view face, int size_points, ColourValue colour) {
  data_.height = size_points * 10;
  data_.colour = colour;
  SetFace(face);
}

CFontFormat::CFontFormat(const CFontFormat& other) : data_(other.data_) {}

CFontFormat& CFontFormat::operator=(const CFontFormat& other) {
  if (this != &other) {
    data_ = other.data_;
    device_ = nullptr;
    resolution_ = 0;
    DropFonts();
  }
  return *this;
}

CFontFormat::~CFontFormat() = default;

void CFontFormat::SetFace(std::u16string_view text) {
  DropFonts();
  if (EndsWith(text, u",I")) {
    data_.italic = true;
    text.remove_suffix(2);
  }
  if (EndsWith(text, u",R2L")) {
    data_.right_to_left = true;
    text.remove_suffix(4);
  }
  // Longer names do not fit the platform's font description.
  data_.face.assign(text.substr(0, 31));
  data_.charset = IsSymbolFace(data_.face) ? 2 : 1;
  CRtfFontTable::Get().Register(data_.face, data_.charset);
}

void CFontFormat::set_height(int tenths) {
  if (tenths == data_.height) return;
  data_.height = tenths;
  DropFonts();
}

void CFontFormat::set_weight(int weight) {
  if (weight == data_.weight) return;
  data_.weight = weight;
  DropFonts();
}

void CFontFormat::set_italic(bool italic) {
  if (italic == data_.italic) return;
  data_.italic = italic;
  DropFonts();
}

void CFontFormat::set_magnification(int m) {
  if (m == data_.magnification) return;
  data_.magnification = m;
  DropFonts();
}

void CFontFormat::LoadFromSettings(const AttributeMap& attributes) {
  data_ = CFontFormat().data_;
  DropFonts();
  for (const auto& [name, value] : attributes) {
    if (name == u"Face") {
      if (!value.empty()) SetFace(value);
    } else if (name == u"Size") {
      long size = std::strtol(platform::ToUtf8(value).c_str(), nullptr, 10);
      // A font description of a few points is a slip, never a wish.
      if (size > 2 && size < 10000) set_height(static_cast<int>(size * 10));
    } else if (name == u"Colour") {
      int i = FindColourName(value);
      if (i >= 0) data_.colour = static_cast<ColourValue>(i);
    } else if (name == u"BkCol") {
      int i = FindColourName(value);
      if (i >= 0) set_background(static_cast<ColourValue>(i), true);
    } else if (name == u"Dir") {
      data_.right_to_left = value == u"R2L";
    } else if (name == u"Style") {
      if (!value.empty() && value[0] == u'B') data_.weight = 700;
      if (value.find(u'I') != std::u16string::npos) data_.italic = true;
    }
  }
}

bool CFontFormat::Attach(CDevice* device, int magnification) {
  bool changed = false;
  if (magnification != 0 && magnification != data_.magnification) {
    data_.magnification = magnification;
    DropFonts();
    changed = true;
  }
  device_ = device;
  if (device) {
    const int ppi = device->GetPixelsPerInchY();
    if (ppi != resolution_) {
      DropFonts();
      resolution_ = ppi;
      changed = true;
    }
  } else {
    resolution_ = 0;
    DropFonts();
    changed = true;
  }
  return changed;
}

void CFontFormat::DropFonts() {
  normal_.reset();
  small_.reset();
  measures_ = FontMeasures();
}

FontDescription CFontFormat::GetDeviceDescription(bool small) const {
  FontDescription d;
  d.face = data_.face;
  d.weight = data_.weight;
  d.italic = data_.italic;
  d.charset = data_.charset;
  int h = MulDiv(data_.height, data_.magnification, 100);
  if (small) h = MulDiv(h, 2, 3);
  if (h < 1) {
    // Already in device units: a negative height is a character height.
    d.pixel_height = h < 0 ? -h : 0;
  } else {
    d.point_tenths = h;
    const int ppi = resolution_ ? resolution_ : (device_ ? device_->GetPixelsPerInchY() : 0);
    d.pixel_height = MulDiv(h, ppi, 720);
  }
  return d;
}

CDeviceFont* CFontFormat::GetDeviceFont(bool small) const {
  if (!device_) return nullptr;
  std::unique_ptr<CDeviceFont>& slot = small ? small_ : normal_;
  if (!slot) {
    slot = device_->CreateFont(GetDeviceDescription(small));
    if (!slot) ReportMissingFace(data_.face);
  }
  return slot.get();
}

const FontMeasures& CFontFormat::GetMeasures() const {
  if (measures_.text_height == 0 && device_) {
    FontSelection selection(device_, GetDeviceFont(false));
    const TextMetrics tm = device_->GetTextMetrics();
    measures_.x_width = device_->GetTextExtent(u"x").cx;
    measures_.text_height = tm.height + tm.external_leading;
    measures_.ascent = tm.ascent;
    measures_.descent = tm.descent;
    measures_.external_leading = tm.external_leading;
  }
  return measures_;
}

Size CFontFormat::GetExtent(std::u16string_view text, bool small) const {
  if (text.empty() || !device_) return {};
  FontSelection selection(device_, GetDeviceFont(small || IsSectionMark(text)));
  return device_->GetTextExtent(text);
}

void CFontFormat::DrawText(int x, int y, std::u16string_view text, bool small) const {
  DrawTextInColour(x, y, text, data_.colour, small);
}

void CFontFormat::DrawTextInColour(int x, int y, std::u16string_view text, ColourValue colour,
                                   bool small) const {
  if (text.empty() || !device_) return;
  const bool mark = IsSectionMark(text);
  // The section marks stand in the small font on the middle of the line.
  if (mark) y += GetTextHeight() * 2 / 9;
  FontSelection selection(device_, GetDeviceFont(small || mark));
  ColourSelection colours(device_, *this, colour);
  device_->DrawText(x, y, GetDrawnText(text));
}

int CFontFormat::DrawTextOnBaseline(int x, int y, std::u16string_view text, bool small) const {
  if (text.empty() || !device_) return 0;
  FontSelection selection(device_, GetDeviceFont(small || IsSectionMark(text)));
  const TextMetrics tm = device_->GetTextMetrics();
  ColourSelection colours(device_, *this);
  device_->DrawText(x, y - tm.ascent, GetDrawnText(text));
  return device_->GetTextExtent(text).cx;
}

int CFontFormat::DrawTextInRect(std::u16string_view text, const Rect& rect, unsigned format) const {
  if (!device_) return 0;
  FontSelection selection(device_, GetDeviceFont(false));
  ColourSelection colours(device_, *this);
  return device_->DrawTextInRect(GetDrawnText(text), rect, format).cx;
}

std::u16string CFontFormat::GetDrawnText(std::u16string_view text) const {
  return vorn::GetDrawnText(*this, text);
}

std::u16string CFontFormat::StripEmbeddings(std::u16string_view text) const {
  return vorn::StripEmbeddings(*this, text);
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
