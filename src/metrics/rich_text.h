// The pieces every rich-text (RTF) document of the program is made of: the
// document frame with the program-wide font and colour tables, the run of
// one text in one font, and the start of a paragraph. The layout writers put
// rows and paragraphs together from these.
#pragma once

#include <string>
#include <string_view>

#include "textdb/font_format.h"
#include "textdb/rtf_tables.h"

namespace vorn {

// "{\rtf1\ansi\ansicpg1252\deff0\deflang1033" CR LF, then the font table and
// the colour table as they stand now. A face or colour first met while the
// rest of the document is written gets its entry in later documents only.
std::u16string RtfDocumentStart();
// "}" CR LF.
std::u16string RtfDocumentEnd();

// One text in one font:
//   {\plain\f<face>\fs<half-points>[\rtlch][\b][\i]\cf<c>[\cb<b>][\super] <text>}CR LF
// The text is the font's drawn text (right-to-left text keeps its
// embedding); "\", "{", "}" and control characters are written as \'hh,
// other ASCII as itself, and every code unit from U+0080 on as \uN?. Empty
// text gives "". White text on an opaque ground is written as the ground's
// colour on white, since the ground would be lost in most readers. A face
// that is not in the font table (an empty face) is written as font 0, the
// document's default font.
std::u16string RtfRun(const CFontFormat& font, std::u16string_view text, bool superscript = false);

// "\pard" [\qr\rtlpar] [\fi<first - left>] [\li<left>] CR LF; indents in twips.
std::u16string RtfParagraphStart(bool right_to_left, int first_indent, int left_indent);

// The index of a colour in the program-wide colour table, in decimal.
std::u16string RtfColourIndex(ColourValue colour);

// n pixels at `resolution` pixels per inch, in twips (1/1440 inch).
inline int PixelsToTwips(int pixels, int resolution) { return MulDiv(pixels, 1440, resolution); }

// The 8-bit text handed to the clipboard: the low byte of every code unit.
// The runs escape everything from U+0080 on, so only face names can lose
// characters here.
std::string RtfToBytes(std::u16string_view rtf);

}  // namespace vorn
