#include "textdb/rtf_tables.h"

#include "platform/u16.h"

namespace vorn {

namespace {
std::u16string Decimal(long long n) { return platform::ToU16(std::to_string(n)); }
}  // namespace

CRtfFontTable& CRtfFontTable::Get() {
  static CRtfFontTable table;
  return table;
}

int CRtfFontTable::Register(std::u16string_view face, int charset) {
  if (face.empty()) return -1;
  if (int n = Find(face); n >= 0) return n;
  const int number = GetCount();
  std::u16string entry = u"{\\f" + Decimal(number) + u"\\fnil";
  if (charset == 2) entry += u"\\fcharset2";
  entry += u" ";
  entry += face;
  entry += u";}";
  entries_.push_back(std::move(entry));
  numbers_.emplace(std::u16string(face), number);
  return number;
}

int CRtfFontTable::Find(std::u16string_view face) const {
  auto it = numbers_.find(face);
  return it == numbers_.end() ? -1 : it->second;
}

std::u16string CRtfFontTable::GetText() const {
  std::u16string text = u"{\\fonttbl\r\n";
  for (const std::u16string& e : entries_) {
    text += e;
    text += u"\r\n";
  }
  text += u"}\r\n\r\n";
  return text;
}

CRtfColourTable& CRtfColourTable::Get() {
  static CRtfColourTable table;
  return table;
}

void CRtfColourTable::Fill() {
  if (!entries_.empty()) return;
  for (int i = 0; i < kNamedColourCount; ++i) entries_.push_back(GetNamedColour(i).rgb);
}

int CRtfColourTable::IndexOf(ColourValue colour) {
  Fill();
  const ColourValue rgb = ResolveColour(colour);
  for (size_t i = 1; i < entries_.size(); ++i)
    if (entries_[i] == rgb) return static_cast<int>(i);
  entries_.push_back(rgb);
  return GetCount() - 1;
}

std::u16string CRtfColourTable::GetText() {
  Fill();
  std::u16string text = u"{\\colortbl ;\r\n";
  for (size_t i = 1; i < entries_.size(); ++i) {
    const ColourValue c = entries_[i];
    text += u"\\red" + Decimal(c & 0xFF) + u"\\green" + Decimal((c >> 8) & 0xFF) + u"\\blue" +
            Decimal((c >> 16) & 0xFF) + u";\r\n";
  }
  text += u"}\r\n\r\n";
  return text;
}

}  // namespace vorn
