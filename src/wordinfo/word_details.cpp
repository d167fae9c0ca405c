// The word-details panel and the word tip of CWord.
#include <algorithm>

#include "metrics/details_metrics.h"
#include "metrics/view_metrics.h"
#include "metrics/word_markup.h"
#include "textdb/vorn_db.h"
#include "wordinfo/word.h"

namespace vorn {

namespace {

// Rows from top to bottom; each row is as tall as the tallest text on it.
class RowWriter {
 public:
  RowWriter(CDetailsMetrics& details, int x, int y) : details_(details), x_(x), y_(y) {}

  int x() const { return x_; }
  int y() const { return y_; }
  int widest() const { return widest_; }
  bool drawn() const { return drawn_; }

  // Ends a row that reached `end` (x after its last text, its bottom); a row
  // that drew nothing (bottom still at its top) adds nothing.
  void EndRow(Point end) {
    if (end.y <= y_) return;
    widest_ = std::max(widest_, end.x);
    y_ = end.y;
    drawn_ = true;
  }
  // A whole row of one text in the panel font.
  void TextRow(std::u16string_view text) {
    EndRow(details_.Text(details_.GetPanelFont(), x_, y_, text));
  }

 private:
  CDetailsMetrics& details_;
  int x_;
  int y_;
  int widest_ = 0;
  bool drawn_ = false;
};

Point Furthest(Point a, Point b) { return {std::max(a.x, b.x), std::max(a.y, b.y)}; }

std::unique_ptr<CWordTags> TagsOf(const CViewMetrics& view, WordIndex word) {
  if (!view.IsWordTagged(word) || !view.GetMarkupSource()) return nullptr;
  return view.GetMarkupSource()->MakeWordTags(word, view);
}

}  // namespace

Size CWord::DrawDetails(CDetailsMetrics& details) {
  const CFontFormat& panel = details.GetPanelFont();
  details.ResetFurthestX();
  RowWriter rows(details, 0, 0);
  CWordLine* form = GetLine(db_->GetFormLineIndex());
  CWordLine* tlit = GetLine(db_->GetTlitLineIndex());
  CWordLine* lema = GetLine(db_->GetLemmaLineIndex());

  // Rows 1 and 2 mix the panel font with line fonts of other sizes; their
  // texts share a baseline, each text lowered from the row's top by what
  // the row's tallest ascent has over its own.
  const int form_index = db_->GetFormLineIndex();
  const int tlit_index = db_->GetTlitLineIndex();
  const int lema_index = db_->GetLemmaLineIndex();
  auto ascent = [&details](int line) { return details.GetLineFont(line).GetMeasures().ascent; };
  const int panel_ascent = panel.GetMeasures().ascent;
  int row1_ascent = panel_ascent;
  if (form) row1_ascent = std::max(row1_ascent, ascent(form_index));
  if (tlit) row1_ascent = std::max(row1_ascent, ascent(tlit_index));
  const int row1_y = rows.y();
  auto row1_top = [&](int own_ascent) { return row1_y + row1_ascent - own_ascent; };
  Point row1{rows.x(), row1_y};
  if (form) row1 = Furthest(row1, form->DrawDetails(details, row1.x, row1_top(ascent(form_index))));
  if (tlit) {
    row1 = Furthest(row1, details.Text(panel, row1.x, row1_top(panel_ascent), u" ("));
    row1 = Furthest(row1, tlit->DrawDetails(details, row1.x, row1_top(ascent(tlit_index))));
    row1 = Furthest(row1, details.Text(panel, row1.x, row1_top(panel_ascent), u")"));
  }
  const int row2_y = std::max(row1.y, row1_y);
  const int row2_ascent = lema ? std::max(panel_ascent, ascent(lema_index)) : panel_ascent;
  auto row2_top = [&](int own_ascent) { return row2_y + row2_ascent - own_ascent; };
  Point row2{rows.x(), row2_y};
  if (lema) {
    row2 = Furthest(row2, details.Text(panel, row2.x, row2_top(panel_ascent), u"From: "));
    row2 = Furthest(row2, lema->DrawDetails(details, row2.x, row2_top(ascent(lema_index))));
  }
  const int column = std::max(row1.x, row2.x);
  if (form) row1.x = std::max(row1.x, form->DrawCount(details, column, row1_top(panel_ascent)));
  if (lema) row2.x = std::max(row2.x, lema->DrawCount(details, column, row2_top(panel_ascent)));
  rows.EndRow(row1);
  rows.EndRow(row2);

  if (CWordLine* gloss = GetLine(db_->GetGlossLineIndex()))
    rows.EndRow(gloss->DrawDetails(details, rows.x(), rows.y()));
  if (CWordLine* tag = GetLine(db_->GetTagLineIndex()))
    rows.EndRow(tag->DrawDetails(details, rows.x(), rows.y()));
  if (CWordLine* links = GetLine(db_->GetLinksLineIndex()))
    rows.EndRow(links->DrawDetails(details, rows.x(), rows.y()));
  if (auto tags = TagsOf(details.GetViewMetrics(), word_)) rows.TextRow(tags->GetDetailsText());

  if (!rows.drawn()) return {};
  // The margin keeps the end of the widest row clear of the panel's edge.
  const int widest = std::max(rows.widest(), details.GetFurthestX());
  return {widest + panel.GetXWidth(), rows.y() + 2};
}

Size CWord::DrawTip(CDetailsMetrics& details, const CViewMetrics& view) {
  // Margin of the tip's frame.
  constexpr int kMargin = 2;
  // A tip wider than this many average characters wraps, so that a long
  // note stays a readable block near the word.
  constexpr int kTipCharacters = 60;
  const int wrap = details.GetWrapRight();
  details.SetWrapRight(kMargin + kTipCharacters * std::max(details.GetPanelFont().GetXWidth(), 1));
  details.ResetFurthestX();
  RowWriter rows(details, kMargin, kMargin);
  const int form_index = db_->GetFormLineIndex();
  const int gloss_index = db_->GetGlossLineIndex();
  CWordLine* form = GetLine(form_index);
  CWordLine* gloss = GetLine(gloss_index);
  if (form && !view.IsLineVisible(form_index))
    rows.EndRow(form->DrawTip(details, rows.x(), rows.y()));
  if (gloss && !view.IsLineVisible(gloss_index))
    rows.EndRow(gloss->DrawTip(details, rows.x(), rows.y()));
  if (CWordLine* tag = GetLine(db_->GetTagLineIndex()))
    rows.EndRow(tag->DrawTip(details, rows.x(), rows.y()));
  if (CWordLine* links = GetLine(db_->GetLinksLineIndex()))
    rows.EndRow(links->DrawTip(details, rows.x(), rows.y()));
  if (auto tags = TagsOf(view, word_)) rows.TextRow(tags->GetDetailsText());
  details.SetWrapRight(wrap);
  if (!rows.drawn()) return {};
  return {std::max(rows.widest(), details.GetFurthestX()) + kMargin, rows.y() + kMargin};
}

Size CWord::MeasureTip(CDetailsMetrics& details, const CViewMetrics& view) {
  const bool drawing = details.IsDrawing();
  details.SetDrawing(false);
  const Size size = DrawTip(details, view);
  details.SetDrawing(drawing);
  return size;
}

}  // namespace vorn
