#include "wordinfo/word_lines.h"

#include <unicode/uchar.h>
#include <unicode/utf16.h>

#include <algorithm>

#include "metrics/details_metrics.h"
#include "metrics/rich_text.h"
#include "metrics/view_metrics.h"
#include "platform/u16.h"
#include "textdb/gloss_line.h"
#include "textdb/links_line.h"
#include "textdb/ordinary_line.h"
#include "textdb/tags_line.h"
#include "textdb/vorn_db.h"

namespace vorn {

namespace {

int FindLineIndex(CVornDBLine* line) {
  if (!line || !line->GetDB()) return -1;
  CVornDB* db = line->GetDB();
  for (int i = 0; i < db->GetLineCount(); ++i)
    if (db->GetLine(i) == line) return i;
  return -1;
}

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

// The parts of a text between single spaces, in reverse order.
std::u16string ReverseParts(std::u16string_view text) {
  std::vector<std::u16string_view> parts;
  size_t start = 0;
  for (;;) {
    size_t space = text.find(u' ', start);
    parts.push_back(text.substr(start, space == std::u16string_view::npos ? space : space - start));
    if (space == std::u16string_view::npos) break;
    start = space + 1;
  }
  std::u16string out;
  for (auto it = parts.rbegin(); it != parts.rend(); ++it) {
    if (it != parts.rbegin()) out += u' ';
    out += *it;
  }
  return out;
}

// A font like `font` in another text colour, for rich text.
CFontFormat Recoloured(const CFontFormat& font, ColourValue colour) {
  CFontFormat copy(font);
  copy.set_colour(colour);
  return copy;
}

ColourValue MarkColour(const CViewMetrics* metrics) {
  return metrics ? metrics->GetMarkColour() : kColourGrey;
}

}  // namespace

// --- CWordOrdinaryLine

CWordOrdinaryLine::CWordOrdinaryLine(WordIndex word, CVornDBLine* line)
    : CWordLine(word, line),
      ordinary_(dynamic_cast<CVornDBOrdinaryLine*>(line)),
      line_index_(FindLineIndex(line)) {
  SetVariant(0);
}

void CWordOrdinaryLine::SetVariant(int variant) {
  variant_ = variant;
  text_ = ordinary_ ? ordinary_->GetWordString(GetWordIndex(), variant) : std::u16string();
}

uint32_t CWordOrdinaryLine::GetOccurrenceCount() const {
  return ordinary_ ? ordinary_->GetFormFrequency(GetWordIndex()) : 0;
}

int CWordOrdinaryLine::DrawCount(CDetailsMetrics& details, int x, int y) {
  const uint32_t n = GetOccurrenceCount();
  const std::u16string text = n == 1
                                  ? std::u16string(u" - 1 occurrence")
                                  : u" - " + platform::ToU16(std::to_string(n)) + u" occurrences";
  return details.Text(details.GetPanelFont(), x, y, text).x;
}

Point CWordOrdinaryLine::DrawDetails(CDetailsMetrics& details, int x, int y) {
  return details.Text(details.GetLineFont(line_index_), x, y, text_);
}

Rect CWordOrdinaryLine::Measure(const CFontFormat& font, const CViewMetrics*) {
  return {0, 0, font.GetExtent(text_).cx, font.GetTextHeight()};
}

void CWordOrdinaryLine::Draw(const CFontFormat& font, const CViewMetrics*, int x, int y, bool) {
  font.DrawText(x, y, text_);
}

std::u16string CWordOrdinaryLine::GetExportText(const CFontFormat& font, const CViewMetrics*) {
  return RtfRun(font, text_);
}

void CWordOrdinaryLine::AddToMenu(CWordMenu* menu, uint32_t first_command) {
  if (!ordinary_) return;
  // Every variant the line has; past its last one the line would only
  // repeat the main text.
  const int count = static_cast<int>(ordinary_->GetVariantCount());
  for (int v = 0; v <= count; ++v) {
    std::u16string text = ordinary_->GetWordString(GetWordIndex(), v);
    if (!text.empty()) menu->AddItem(first_command + static_cast<uint32_t>(v), text);
  }
}

// --- CWordTagLine

std::u16string CWordTagLine::GetDescription() const {
  const auto* tags = dynamic_cast<const CVornDBTagsLine*>(GetLine());
  return tags ? tags->DescribeTag(text_) : text_;
}

std::u16string CWordTagLine::GetShownTag(bool right_to_left) const {
  const bool line_rtl = GetLine() && GetLine()->GetFont().right_to_left();
  return right_to_left == line_rtl ? text_ : ReverseParts(text_);
}

Point CWordTagLine::DrawDetails(CDetailsMetrics& details, int x, int y) {
  return details.Text(details.GetLineFont(GetLineIndex()), x, y, GetDescription());
}

void CWordTagLine::Draw(const CFontFormat& font, const CViewMetrics*, int x, int y,
                        bool right_to_left) {
  font.DrawText(x, y, GetShownTag(right_to_left));
}

std::u16string CWordTagLine::GetExportText(const CFontFormat& font, const CViewMetrics* metrics) {
  return RtfRun(font, GetShownTag(metrics && metrics->IsRightToLeft()));
}

// --- CWordLineSS

void CWordLineSS::EnsureSplit() {
  if (split_) return;
  split_ = true;
  pieces_.clear();
  first_alternate_ = false;
  Split(text_, &pieces_, &first_alternate_);
}

void CWordLineSS::SetVariant(int variant) {
  CWordOrdinaryLine::SetVariant(variant);
  split_ = false;
}

const std::vector<std::u16string>& CWordLineSS::GetPieces() {
  EnsureSplit();
  return pieces_;
}

bool CWordLineSS::FirstIsAlternate() {
  EnsureSplit();
  return first_alternate_;
}

bool CWordLineSS::IsAlternate(size_t i) { return FirstIsAlternate() != (i % 2 == 1); }

int CWordLineSS::PiecesWidth(const CFontFormat& font) {
  EnsureSplit();
  if (pieces_.size() < 2) return font.GetExtent(text_).cx;
  int width = 0;
  for (size_t i = 0; i < pieces_.size(); ++i)
    width += font.GetExtent(pieces_[i], IsAlternate(i)).cx;
  return width;
}

void CWordLineSS::DrawPieces(const CFontFormat& font, int x, int y, bool right_to_left) {
  EnsureSplit();
  if (pieces_.size() < 2) {
    font.DrawText(x, y, text_);
    return;
  }
  // Each piece keeps the style of its place in the text, so reversing an
  // even number of pieces starts with the other style.
  const size_t n = pieces_.size();
  for (size_t k = 0; k < n; ++k) {
    const size_t i = right_to_left ? n - 1 - k : k;
    const bool alternate = IsAlternate(i);
    font.DrawText(x, y, pieces_[i], alternate);
    x += font.GetExtent(pieces_[i], alternate).cx;
  }
}

std::u16string CWordLineSS::PiecesRtf(const CFontFormat& font) {
  EnsureSplit();
  if (pieces_.size() < 2) return RtfRun(font, text_);
  std::u16string rtf;
  for (size_t i = 0; i < pieces_.size(); ++i) rtf += RtfRun(font, pieces_[i], IsAlternate(i));
  return rtf;
}

Rect CWordLineSS::Measure(const CFontFormat& font, const CViewMetrics*) {
  return {0, 0, PiecesWidth(font), font.GetTextHeight()};
}

void CWordLineSS::Draw(const CFontFormat& font, const CViewMetrics*, int x, int y,
                       bool right_to_left) {
  DrawPieces(font, x, y, right_to_left);
}

std::u16string CWordLineSS::GetExportText(const CFontFormat& font, const CViewMetrics*) {
  return PiecesRtf(font);
}

// --- CWordGlossLine

CWordGlossLine::CWordGlossLine(WordIndex word, CVornDBLine* line) : CWordLineSS(word, line) {
  if (const auto* gloss = dynamic_cast<const CVornDBGlossLine*>(line))
    gloss->GetGlossMarks(word, &prefix_, &suffix_);
}

void CWordGlossLine::Split(const std::u16string& text, std::vector<std::u16string>* pieces,
                           bool* first_alternate) const {
  *first_alternate = !text.empty() && IsDigit(text[0]);
  size_t start = 0;
  for (size_t i = 1; i <= text.size(); ++i) {
    if (i == text.size() || IsDigit(text[i]) != IsDigit(text[i - 1])) {
      pieces->push_back(text.substr(start, i - start));
      start = i;
    }
  }
}

std::u16string CWordGlossLine::GetDetailsGloss() {
  const std::vector<std::u16string>& pieces = GetPieces();
  std::u16string gloss;
  for (size_t i = 0; i < pieces.size(); ++i)
    if (!IsAlternate(i)) gloss += pieces[i];
  if (!gloss.empty()) {
    const char16_t last = gloss.back();
    if (u_ispunct(last) && last != u')' && last != u']') gloss.pop_back();
  }
  return gloss;
}

Point CWordGlossLine::DrawDetails(CDetailsMetrics& details, int x, int y) {
  const CFontFormat& font = details.GetLineFont(GetLineIndex());
  if (text_.empty()) return details.Text(font, x, y, u"No gloss available");
  return details.Text(font, x, y, u"\"" + GetDetailsGloss() + u"\"");
}

std::u16string CWordGlossLine::MirrorMark(std::u16string_view mark, std::u16string_view from,
                                          std::u16string_view to) {
  std::u16string out(mark.rbegin(), mark.rend());
  for (char16_t& c : out) {
    const size_t at = from.find(c);
    if (at != std::u16string_view::npos) c = to[at];
  }
  return out;
}

Rect CWordGlossLine::Measure(const CFontFormat& font, const CViewMetrics*) {
  return {-font.GetExtent(prefix_).cx, 0, PiecesWidth(font) + font.GetExtent(suffix_).cx,
          font.GetTextHeight()};
}

void CWordGlossLine::Draw(const CFontFormat& font, const CViewMetrics* metrics, int x, int y,
                          bool right_to_left) {
  const ColourValue colour = MarkColour(metrics);
  // Marks read outwards from the gloss, so a right-to-left row shows them
  // mirrored on the other sides.
  const std::u16string before = right_to_left ? MirrorMark(suffix_, u"}]", u"{[") : prefix_;
  const std::u16string after = right_to_left ? MirrorMark(prefix_, u"{[", u"}]") : suffix_;
  font.DrawTextInColour(x, y, before, colour);
  x += font.GetExtent(before).cx;
  DrawPieces(font, x, y, right_to_left);
  x += PiecesWidth(font);
  font.DrawTextInColour(x, y, after, colour);
}

std::u16string CWordGlossLine::GetExportText(const CFontFormat& font, const CViewMetrics* metrics) {
  const CFontFormat marks = Recoloured(font, MarkColour(metrics));
  return RtfRun(marks, prefix_) + PiecesRtf(font) + RtfRun(marks, suffix_);
}

// --- CWordLemaLine

void CWordLemaLine::Split(const std::u16string& text, std::vector<std::u16string>* pieces,
                          bool* first_alternate) const {
  // Adjacent groups make one piece, so that the styles keep alternating.
  auto add = [&](std::u16string piece, bool alternate) {
    if (piece.empty()) return;
    if (pieces->empty()) {
      *first_alternate = alternate;
      pieces->push_back(std::move(piece));
      return;
    }
    const bool last_alternate = *first_alternate != ((pieces->size() - 1) % 2 == 1);
    if (last_alternate == alternate) {
      pieces->back() += piece;
    } else {
      pieces->push_back(std::move(piece));
    }
  };
  size_t start = 0;
  size_t i = 0;
  while (i < text.size()) {
    if (text[i] == u'(' && i + 1 < text.size() && IsDigit(text[i + 1])) {
      add(text.substr(start, i - start), false);
      size_t close = text.find(u')', i + 1);
      size_t end = close == std::u16string::npos ? text.size() : close + 1;
      add(text.substr(i, end - i), true);
      start = i = end;
    } else {
      ++i;
    }
  }
  add(text.substr(start), false);
}

// --- CWordLinks

CWordLinks::CWordLinks(WordIndex word, CVornDBLine* line)
    : CWordLine(word, line), line_index_(FindLineIndex(line)) {
  if (const auto* links = dynamic_cast<const CVornDBLinks*>(line)) links->GetLinks(word, &links_);
}

std::u16string CWordLinks::DetailsTitle(const CPVLink& link) {
  return link.GetKind() ? link.ExpandSetting("DetailsT") : std::u16string();
}

std::u16string CWordLinks::DetailsLine(const CPVLink& link) {
  return link.GetKind() ? link.ExpandSetting("DetailsL") : std::u16string();
}

std::u16string CWordLinks::GetPlainText() {
  std::u16string text;
  for (const CPVLink& link : links_) {
    if (link.GetText().empty()) continue;
    if (!text.empty()) text += u", ";
    text += link.GetText();
  }
  return text;
}

std::u16string CWordLinks::ShortText(std::u16string_view text) {
  const auto is_mark = [](UChar32 c) { return (U_GET_GC_MASK(c) & U_GC_M_MASK) != 0; };
  const size_t size = text.size();
  size_t cut = std::u16string_view::npos;  // where the first character past the limit starts
  size_t last_blank = std::u16string_view::npos;
  size_t chars = 0;
  for (size_t i = 0; i < size;) {
    const size_t start = i;
    UChar32 c;
    U16_NEXT(text.data(), i, size, c);
    if (is_mark(c)) continue;
    if (chars == kMaxShortChars) {
      cut = start;
      break;
    }
    if (u_isWhitespace(c)) last_blank = start;
    ++chars;
  }
  if (cut == std::u16string_view::npos) return std::u16string(text);

  // Cutting at a blank keeps whole words; only a first word longer than the
  // limit is cut inside.
  size_t end = cut;
  if (!u_isWhitespace(text[cut]) && last_blank != std::u16string_view::npos && last_blank > 0)
    end = last_blank;
  // A head like "G976 βίβλος:" reads better without the colon before "…".
  while (end > 0) {
    size_t before = end;
    UChar32 c;
    U16_PREV(text.data(), 0, before, c);
    const bool drop = u_isWhitespace(c) || (U_GET_GC_MASK(c) & (U_GC_PO_MASK | U_GC_PD_MASK)) != 0;
    if (!drop || before == 0) break;
    end = before;
  }
  return std::u16string(text.substr(0, end)) + u"\u2026";
}

std::u16string CWordLinks::GetInterlinearText() const {
  std::u16string text;
  for (const CPVLink& link : links_) {
    if (link.GetText().empty()) continue;
    if (!text.empty()) text += u", ";
    text += ShortText(link.GetText());
  }
  return text;
}

Rect CWordLinks::Measure(const CFontFormat& font, const CViewMetrics*) {
  return {0, 0, font.GetExtent(GetInterlinearText()).cx, font.GetTextHeight()};
}

void CWordLinks::Draw(const CFontFormat& font, const CViewMetrics*, int x, int y, bool) {
  font.DrawText(x, y, GetInterlinearText());
}

std::u16string CWordLinks::GetExportText(const CFontFormat& font, const CViewMetrics*) {
  return RtfRun(font, GetInterlinearText());
}

void CWordLinks::AddToMenu(CWordMenu* menu, uint32_t first_command) {
  for (size_t i = 0; i < links_.size(); ++i)
    if (!links_[i].GetText().empty())
      menu->AddItem(first_command + static_cast<uint32_t>(i), links_[i].GetText());
}

Point CWordLinks::DrawDetails(CDetailsMetrics& details, int x, int y) {
  return DrawLinks(details, x, y, false);
}

Point CWordLinks::DrawTip(CDetailsMetrics& details, int x, int y) {
  return DrawLinks(details, x, y, true);
}

Point CWordLinks::DrawLinks(CDetailsMetrics& details, int x, int y, bool tip) {
  // In a tip a kind's "Tip" template, where it has one, gives the link's line.
  auto line_of = [tip](const CPVLink& link) {
    std::u16string text = tip && link.GetKind() ? link.ExpandSetting("Tip") : std::u16string();
    return text.empty() ? DetailsLine(link) : text;
  };
  const CFontFormat& font = details.GetLineFont(line_index_);
  const CFontFormat& bold = details.GetBoldLineFont(line_index_);
  bool any_details = false;
  for (const CPVLink& link : links_)
    if (!DetailsTitle(link).empty() || !line_of(link).empty()) any_details = true;

  int widest = x;
  int row_y = y;       // top of the current row
  int row_bottom = y;  // bottom of the current row; == row_y while it is empty
  int cx = x;          // where the current row goes on
  bool row_has_text = false;
  bool previous_had_details = false;
  auto new_row = [&](int indent) {
    if (row_bottom > row_y) row_y = row_bottom;
    row_bottom = row_y;
    cx = x + indent;
    row_has_text = false;
  };
  auto put = [&](const CFontFormat& f, std::u16string_view text) {
    if (text.empty()) return;
    const Point end = details.Text(f, cx, row_y, text);
    // A wrapped text leaves the row going on from its last line.
    if (end.y - row_y > f.GetTextHeight()) row_y = end.y - f.GetTextHeight();
    cx = end.x;
    row_bottom = std::max(row_bottom, end.y);
    widest = std::max(widest, cx);
    row_has_text = true;
  };

  if (any_details) {
    put(bold, u"Notes:");
    new_row(0);
  }
  const int indent = font.GetExtent(u"  ").cx;
  for (const CPVLink& link : links_) {
    const std::u16string title = DetailsTitle(link);
    const std::u16string own_line = line_of(link);
    const std::u16string line = own_line.empty() ? link.GetText() : own_line;
    if (title.empty() && own_line.empty()) {
      // No details text: the link joins the current row.
      if (link.GetText().empty()) continue;
      if (row_has_text) put(font, u", ");
      put(font, link.GetText());
      previous_had_details = false;
      continue;
    }
    // A link under the same group title as the one before it (its flag)
    // goes on in that link's row.
    if (link.GetFlag() && previous_had_details && row_has_text) {
      put(font, u", ");
      put(font, line);
    } else {
      new_row(indent);
      put(bold, title);
      if (!title.empty() && !line.empty()) put(font, u": ");
      put(font, line);
    }
    previous_had_details = true;
  }
  if (row_bottom == y) return {x, y};
  return {widest, row_bottom};
}

}  // namespace vorn
