#include "wordinfo/word.h"

#include <algorithm>

#include "metrics/details_metrics.h"
#include "metrics/rich_text.h"
#include "metrics/view_metrics.h"
#include "metrics/word_metrics.h"
#include "textdb/vorn_db.h"
#include "wordinfo/word_line_factories.h"
#include "wordinfo/word_lines.h"

namespace vorn {

CWord::CWord(CVornDB* db, WordIndex word) : db_(db), word_(word) {
  if (word < 0 || static_cast<uint32_t>(word) >= db->GetWordCount()) return;
  // A database opened without the factories would give words without lines.
  if (db->GetLineCount() > 0 && !db->GetLine(0)->GetFactory()) InstallWordLineFactories(db);
  for (int i = 0;; ++i) {
    std::unique_ptr<CWordLine> line = db->CreateWordLine(word, i);
    if (!line) break;
    lines_.push_back(std::move(line));
  }
}

CWord::CWord(const CWord& other, WordIndex word)
    : CWord(other.db_, word == -1 ? other.word_ : word) {}

CWord::~CWord() = default;

CWordLine* CWord::GetLine(int index) const {
  if (index < 0 || index >= GetLineCount()) return nullptr;
  return lines_[static_cast<size_t>(index)].get();
}

Size CWord::Measure(CWordMetrics* wm) {
  CViewMetrics& view = wm->GetViewMetrics();
  std::vector<Rect>& rects = wm->rects();
  rects.assign(static_cast<size_t>(view.GetLineCount()), Rect());
  Rect bounds;
  bool first = true;
  for (int i = 0; i < view.GetLineCount(); ++i) {
    if (!view.IsLineVisible(i)) continue;
    const CFontFormat& font = wm->GetLineFont(i);
    CWordLine* line = GetLine(i);
    Rect r = line ? line->Measure(font, &view) : Rect{0, 0, 0, font.GetTextHeight()};
    if (first) {
      CWordTags* tags = wm->GetTags();
      const int begin = tags ? tags->GetBeginMarkWidth() : 0;
      const int end = tags ? tags->GetEndMarkWidth() : 0;
      int note = 0;
      if (wm->HasNote() && view.GetDevice())
        note = font.GetXWidth() / 4 + view.GetDevice()->GetBitmapSize(kBitmapNoteMark).cx;
      wm->set_mark_widths(begin, end, note);
      r.left -= begin;
      r.right += end + note;
    }
    // Each line starts below the ones above it; an empty value still takes
    // its height, so the lines of neighbouring words stay level.
    r.Offset(0, first ? 0 : bounds.bottom);
    if (first) {
      bounds = r;
    } else {
      bounds.left = std::min(bounds.left, r.left);
      bounds.right = std::max(bounds.right, r.right);
      bounds.bottom = std::max(bounds.bottom, r.bottom);
    }
    rects[static_cast<size_t>(i)] = r;
    first = false;
  }
  wm->bounds() = bounds;
  return {bounds.Width(), bounds.Height()};
}

void CWord::Draw(const CWordMetrics& wm, int x, int y, bool right_to_left) {
  CViewMetrics& view = wm.GetViewMetrics();
  const Rect& bounds = wm.bounds();
  const int first_line = wm.GetFirstVisibleLine();
  // Where the main text of every line starts (left to right) or ends
  // (right to left); marks before the text lie beyond it.
  const int origin = right_to_left ? x + bounds.left : x - bounds.left;
  for (int i = 0; i < view.GetLineCount(); ++i) {
    if (!view.IsLineVisible(i)) continue;
    Rect value = wm.rects()[static_cast<size_t>(i)];
    if (i == first_line) {
      value.left += wm.begin_mark_width();
      value.right -= wm.end_mark_width() + wm.note_mark_width();
    }
    const int left = right_to_left ? origin - value.right : origin + value.left;
    const int top = y + value.top;
    const CFontFormat& font = wm.GetLineFont(i);
    if (CWordLine* line = GetLine(i)) line->Draw(font, &view, left, top, right_to_left);
    if (i != first_line) continue;
    const Rect text{left, top, left + value.Width(), top + value.Height()};
    if (CWordTags* tags = wm.GetTags()) tags->DrawLabels(text, right_to_left);
    if (wm.HasNote() && view.GetDevice()) {
      CDevice* device = view.GetDevice();
      const int gap = font.GetXWidth() / 4;
      const int bitmap = device->GetBitmapSize(kBitmapNoteMark).cx;
      device->DrawBitmap(kBitmapNoteMark,
                         right_to_left ? text.left - gap - bitmap : text.right + gap, top);
    }
  }
}

std::u16string CWord::GetExportText(const CWordMetrics& wm, std::u16string_view leading) {
  CViewMetrics& view = wm.GetViewMetrics();
  std::u16string text;
  if (!leading.empty()) {
    text += leading;
    text += u" ";
  }
  CWordTags* tags = wm.GetTags();
  const int first_line = wm.GetFirstVisibleLine();
  bool first = true;
  for (int i = 0; i < view.GetLineCount(); ++i) {
    if (!view.IsLineVisible(i)) continue;
    if (!first) text += u"\\par\r\n";
    const CFontFormat& font = wm.GetLineFont(i);
    const bool labelled = tags && i == first_line;
    if (labelled && !tags->GetBeginLabels().empty())
      text += RtfRun(view.GetTagLabelFont(), u"<" + tags->GetBeginLabels() + u">");
    if (CWordLine* line = GetLine(i)) text += line->GetExportText(font, &view);
    if (labelled && !tags->GetEndLabels().empty())
      text += RtfRun(view.GetTagLabelFont(), u"<" + tags->GetEndLabels() + u">");
    first = false;
  }
  return text;
}

std::u16string CWord::GetLabelText(const CWordMetrics& wm) {
  CWordLine* line = GetLine(wm.GetFirstVisibleLine());
  std::u16string text = line ? line->GetPlainText() : std::u16string();
  if (CWordTags* tags = wm.GetTags()) {
    if (!tags->GetBeginLabels().empty()) text = u"<" + tags->GetBeginLabels() + u">" + text;
    if (!tags->GetEndLabels().empty()) text += u"<" + tags->GetEndLabels() + u">";
  }
  return text;
}

std::u16string CWord::GetGlossText() const {
  const auto* gloss = dynamic_cast<const CWordOrdinaryLine*>(GetLine(db_->GetGlossLineIndex()));
  return gloss ? gloss->GetText() : std::u16string();
}

void CWord::SetTextVariant(int variant) {
  if (CWordLine* form = GetLine(db_->GetFormLineIndex())) form->SetVariant(variant);
}

void CWord::AddLinksToMenu(CWordMenu* menu) {
  if (CWordLine* links = GetLine(db_->GetLinksLineIndex()))
    links->AddToMenu(menu, kFirstLinkCommand);
}

const CPVLink* CWord::GetLink(size_t n) const {
  const auto* links = dynamic_cast<const CWordLinks*>(GetLine(db_->GetLinksLineIndex()));
  if (!links || n >= links->GetLinks().size()) return nullptr;
  return &links->GetLinks()[n];
}

Rect PlaceWordTip(Size tip, const Rect& word, const Rect& client) {
  Rect r;
  r.left = (word.left + word.right) / 2 - tip.cx / 2;
  r.top = word.bottom;
  r.right = r.left + tip.cx;
  r.bottom = r.top + tip.cy;
  const int dx = std::max(0, r.right - client.right);
  const int dy = std::max(0, r.bottom - client.bottom);
  r.Offset(-dx, -dy);
  r.Offset(std::max(0, client.left - r.left), std::max(0, client.top - r.top));
  return r;
}

}  // namespace vorn
