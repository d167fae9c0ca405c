#include "metrics/rich_text.h"

#include "platform/u16.h"

namespace vorn {

namespace {

std::u16string Decimal(long long n) { return platform::ToU16(std::to_string(n)); }

void AppendEscaped(std::u16string* out, std::u16string_view text) {
  static constexpr char16_t kHex[] = u"0123456789abcdef";
  for (char16_t c : text) {
    if (c < 0x20 || c == u'\\' || c == u'{' || c == u'}') {
      *out += u"\\'";
      out->push_back(kHex[(c >> 4) & 0xF]);
      out->push_back(kHex[c & 0xF]);
    } else if (c < 0x80) {
      out->push_back(c);
    } else {
      *out += u"\\u";
      *out += Decimal(c);
      out->push_back(u'?');
    }
  }
}

}  // namespace

std::u16string RtfDocumentStart() {
  std::u16string text = u"{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1033\r\n";
  text += CRtfFontTable::Get().GetText();
  text += CRtfColourTable::Get().GetText();
  return text;
}

std::u16string RtfDocumentEnd() { return u"}\r\n"; }

std::u16string RtfColourIndex(ColourValue colour) {
  return Decimal(CRtfColourTable::Get().IndexOf(colour));
}

std::u16string RtfRun(const CFontFormat& font, std::u16string_view text, bool superscript) {
  if (text.empty()) return {};
  const int face = CRtfFontTable::Get().Find(font.face());
  std::u16string run = u"{\\plain\\f" + Decimal(face < 0 ? 0 : face);
  run +=
      u"\\fs" + Decimal(2 * (static_cast<long long>(font.height()) * font.magnification() / 1000));
  if (font.right_to_left()) run += u"\\rtlch";
  if (font.weight() == 700) run += u"\\b";
  if (font.italic()) run += u"\\i";
  if (font.opaque() && ColourIndex(font.colour()) == static_cast<int>(kColourWhite)) {
    run += u"\\cf" + RtfColourIndex(font.background());
    run += u"\\cb" + RtfColourIndex(font.colour());
  } else {
    run += u"\\cf" + RtfColourIndex(font.colour());
    if (font.opaque()) run += u"\\cb" + RtfColourIndex(font.background());
  }
  if (superscript) run += u"\\super";
  run += u" ";
  AppendEscaped(&run, font.GetDrawnText(text));
  run += u"}\r\n";
  return run;
}

std::u16string RtfParagraphStart(bool right_to_left, int first_indent, int left_indent) {
  std::u16string text = u"\\pard";
  if (right_to_left) text += u"\\qr\\rtlpar";
  if (first_indent != left_indent) text += u"\\fi" + Decimal(first_indent - left_indent);
  if (first_indent != 0 || left_indent != 0) text += u"\\li" + Decimal(left_indent);
  text += u"\r\n";
  return text;
}

std::string RtfToBytes(std::u16string_view rtf) {
  std::string bytes;
  bytes.reserve(rtf.size());
  for (char16_t c : rtf) bytes.push_back(static_cast<char>(c & 0xFF));
  return bytes;
}

}  // namespace vorn
