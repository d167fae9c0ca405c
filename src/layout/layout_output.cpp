// The three writers of a layout (table rich text, running rich text, plain
// text) and the unit pieces they are made of. Units never laid out (those
// a selection does not touch) write nothing.
#include <string>

#include "layout/layout.h"
#include "layout/layout_twips.h"
#include "metrics/rich_text.h"
#include "metrics/view_metrics.h"

namespace vorn {

namespace {

// Output buffers start with room for a few verses.
constexpr size_t kInitialCapacity = 4096;

constexpr char16_t kCrLf[] = u"\r\n";

}  // namespace

void CLayoutUnit::WriteRtfTable(std::u16string* out) const {
  if (!IsLaidOut()) return;
  for (const auto& line : heading_lines_) line->WriteRtfRow(out);
  for (const auto& line : body_lines_) line->WriteRtfRow(out);
  if (!heading_lines_.empty() || !body_lines_.empty()) *out += kCrLf;
  *out += kCrLf;
}

void CLayoutUnit::WriteRtfText(std::u16string* out) const {
  if (!IsLaidOut()) return;
  const CLayoutTwips twips(*metrics_);
  for (const auto& line : heading_lines_) {
    const int indent = twips(line->GetIndent());
    *out += RtfParagraphStart(line->IsRightToLeft(), indent, indent);
    bool written = false;
    line->WriteRtfText(out, u" ", &written);
    *out += u"\\par";
    *out += kCrLf;
  }
  if (!body_lines_.empty()) {
    int first = 0;
    int continuation = 0;
    GetIndents(&first, &continuation);
    *out +=
        RtfParagraphStart(body_lines_.front()->IsRightToLeft(), twips(first), twips(continuation));
    const std::u16string separator = GetSeparator();
    bool written = false;
    for (const auto& line : body_lines_) line->WriteRtfText(out, separator, &written);
    // A unit cut short goes on in the text after the copy: its paragraph
    // stays open.
    if (!end_trimmed_) {
      *out += u"\\par";
      *out += kCrLf;
    }
  }
  if (!heading_lines_.empty() || !body_lines_.empty()) *out += kCrLf;
}

void CLayoutUnit::WriteText(std::u16string* out) const {
  if (!IsLaidOut()) return;
  for (const auto& line : heading_lines_) {
    line->WriteText(out, u" ");
    if (line->EndsParagraph()) *out += kCrLf;
  }
  const std::u16string separator = GetSeparator();
  bool open = false;  // the last body line was not followed by a line break
  for (const auto& line : body_lines_) {
    if (open) *out += separator;
    // A line that only wrapped runs on in the text: its indent would put a
    // TAB in the middle of a sentence.
    line->WriteText(out, separator, !open);
    open = !line->EndsParagraph();
    if (!open) *out += kCrLf;
  }
  if (!end_trimmed_) *out += kCrLf;
}

void CLayout::WriteRtfTable(std::u16string* out) const {
  out->reserve(out->size() + kInitialCapacity);
  *out += RtfDocumentStart();
  for (const auto& unit : units_) unit->WriteRtfTable(out);
  *out += RtfDocumentEnd();
}

void CLayout::WriteRtfText(std::u16string* out) const {
  out->reserve(out->size() + kInitialCapacity);
  *out += RtfDocumentStart();
  for (const auto& unit : units_) unit->WriteRtfText(out);
  *out += RtfDocumentEnd();
}

void CLayout::WriteText(std::u16string* out) const {
  out->reserve(out->size() + kInitialCapacity);
  for (const auto& unit : units_) unit->WriteText(out);
}

}  // namespace vorn
