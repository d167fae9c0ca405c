#include "layout/layout_box.h"

#include <algorithm>

#include "metrics/rich_text.h"
#include "metrics/view_metrics.h"
#include "platform/u16.h"
#include "textdb/vorn_db.h"
#include "wordinfo/word.h"

namespace vorn {

namespace {

bool g_selection_fill = false;

// The colour of proposition bars and of their level labels: light enough
// to stay behind the text.
constexpr RgbColour kBarColour = RgbOf(240, 240, 240);
constexpr RgbColour kBarLabelColour = RgbOf(210, 210, 210);
constexpr int kBarPenWidth = 3;
constexpr int kBarLabelPoints = 8;

std::u16string Decimal(int n) { return platform::ToU16(std::to_string(n)); }

}  // namespace

void SetSelectionFill(bool fill) { g_selection_fill = fill; }
bool GetSelectionFill() { return g_selection_fill; }

CLayoutBox::CLayoutBox(CViewMetrics* metrics) : metrics_(metrics) {}

CLayoutBox::~CLayoutBox() = default;

void CLayoutBox::BindWord(CVornDB* db, WordIndex word) {
  word_index_ = word;
  ref_ = std::make_unique<CBibleRef>(db, word);
}

// --- Heading box.

CLayoutBoxHeading::CLayoutBoxHeading(CViewMetrics* metrics, std::u16string text,
                                     const CFontFormat* font)
    : CLayoutBox(metrics), text_(std::move(text)), font_(font) {
  const int x_width = font_->GetXWidth();
  width_ = font_->GetExtent(text_).cx + x_width;
  height_ = font_->GetTextHeight() * 3 / 2;
  gap_ = x_width;
}

void CLayoutBoxHeading::Draw(int x, int y, bool right_to_left) {
  const int x0 = right_to_left ? x - width_ : x;
  font_->DrawText(x0 + gap_ / 2, y + font_->GetTextHeight() / 4, text_);
}

std::u16string CLayoutBoxHeading::GetRtf(bool) { return RtfRun(*font_, text_); }

// --- Reference box.

CLayoutBoxRef::CLayoutBoxRef(CVornDB* db, CViewMetrics* metrics, WordIndex word)
    : CLayoutBox(metrics), db_(db) {
  BindWord(db, word);
  short_ref_ = ref_->FormatShort();
  const CFontFormat& font = metrics_->GetVerseFont(CViewMetrics::kRefFont);
  const Size a = font.GetExtent(kSample);
  const Size r = font.GetExtent(short_ref_);
  width_ = WidthFor(*metrics_, std::max(r.cx, a.cx));
  height_ = std::max(a.cy, kIconCell);
  gap_ = metrics_->GetSpaceUnit();
}

int CLayoutBoxRef::WidthFor(const CViewMetrics& metrics, int text_width) {
  return text_width + kIconCell + metrics.GetSpaceUnit();
}

int CLayoutBoxRef::SampleWidth(const CViewMetrics& metrics) {
  return WidthFor(metrics, metrics.GetVerseFont(CViewMetrics::kRefFont).GetExtent(kSample).cx);
}

CLayoutBoxRef::~CLayoutBoxRef() = default;

CWord* CLayoutBoxRef::GetWord() const {
  // A reference list holds a box per hit; the word's lines are only read
  // when someone asks for them.
  if (!word_) word_ = std::make_unique<CWord>(db_, word_index_);
  return word_.get();
}

void CLayoutBoxRef::Draw(int x, int y, bool right_to_left) {
  const int x0 = (right_to_left ? x - width_ : x) + gap_ / 2;
  CDevice* device = metrics_->GetDevice();
  if (!device) return;
  if (!device->IsPrinter() && device->CanCopyBitmaps()) {
    const Size icon = device->GetBitmapSize(kBitmapReference);
    device->DrawBitmap(kBitmapReference, x0 + std::max(0, (kIconCell - icon.cx) / 2),
                       y + std::max(0, (kIconCell - icon.cy) / 2));
  }
  metrics_->GetVerseFont(CViewMetrics::kRefFont).DrawText(x0 + kIconCell, y, short_ref_);
  if (metrics_->IsSelected(word_index_))
    device->InvertRect({x0 + kIconCell, y, x0 + width_, y + height_});
}

std::u16string CLayoutBoxRef::GetRtf(bool) {
  return RtfRun(metrics_->GetVerseFont(CViewMetrics::kRefFont), short_ref_);
}

// --- Space box.

CLayoutBoxSpace::CLayoutBoxSpace(CViewMetrics* metrics, int width, int height, bool bar)
    : CLayoutBox(metrics), bar_(bar) {
  width_ = width;
  height_ = height;
}

std::u16string CLayoutBoxSpace::GetText() const {
  const int step = metrics_->GetStandardIndent();
  // Without a measured font there are no indent steps; one TAB still marks
  // the blank.
  const int tabs = step > 0 ? (width_ - 1) / step + 1 : 1;
  return std::u16string(static_cast<size_t>(std::max(tabs, 1)), u'\t');
}

void CLayoutBoxSpace::Draw(int x, int y, bool right_to_left) {
  CDevice* device = metrics_->GetDevice();
  if (!bar_ || !device) return;
  const int bar_x = right_to_left ? x - 3 * (width_ / 4) : x + 3 * (width_ / 4);
  device->DrawLine(bar_x, y, bar_x, y + height_, Pen{kBarColour, kBarPenWidth, PenStyle::kSolid});
  if (label_.empty()) return;
  // The label font is small and rare, so it is made here rather than kept
  // by the metrics.
  CFontFormat font(u"Arial", kBarLabelPoints, 0);
  font.Attach(device, metrics_->GetMagnification());
  const Size s = font.GetExtent(label_);
  const int x0 = right_to_left ? x - width_ : x;
  font.DrawTextInColour(x0 + width_ / 2 - s.cx / 2, y + height_ / 2 - s.cy / 2, label_,
                        kBarLabelColour);
}

// --- Word box.

CLayoutBoxWord::CLayoutBoxWord(CVornDB* db, CViewMetrics* metrics, WordIndex word)
    : CLayoutBox(metrics) {
  BindWord(db, word);
  word_ = std::make_unique<CWord>(db, word);
  word_metrics_ = std::make_unique<CWordMetrics>(word, metrics);
  if (metrics_->GetTextVariant() != 0) word_->SetTextVariant(metrics_->GetTextVariant());

  const Size stack = word_->Measure(word_metrics_.get());
  gap_ = metrics_->GetSpaceUnit();
  width_ = stack.cx + gap_;
  height_ = metrics_->GetRowHeight();
  if (!ref_->HasEntry() || ref_->GetFirstWord() != word) return;

  const bool chapter_start = ref_->IsFirstInChapter();
  const std::u16string label = ref_->GetVerseLabel();
  if (chapter_start) {
    chapter_ = Decimal(ref_->GetChapter());
    const Size s = metrics_->GetVerseFont(CViewMetrics::kChapterFont).GetExtent(chapter_);
    chapter_width_ = s.cx;
    prefix_ = s.cx;
    prefix_height_ = s.cy;
  }
  // Chapter 1 verse 1 shows the chapter number alone.
  if (!(chapter_start && label == u"1")) {
    verse_ = label;
    prefix_ += metrics_->GetVerseFont(CViewMetrics::kVerseFont).GetExtent(verse_).cx;
  }
  prefix_ += gap_;
  width_ += prefix_;
  height_ = std::max(height_, prefix_height_);
}

CLayoutBoxWord::~CLayoutBoxWord() = default;

void CLayoutBoxWord::Draw(int x, int y, bool right_to_left) {
  CDevice* device = metrics_->GetDevice();
  if (!device) return;
  const bool selected = metrics_->IsSelected(word_index_);
  const int left = right_to_left ? x - width_ : x;
  if (g_selection_fill && selected) {
    const RgbColour yellow = ResolveColour(kColourYellow);
    device->DrawRectangle({left, y, left + width_, y + height_}, Pen{yellow, 1, PenStyle::kSolid},
                          yellow);
  }
  DrawContent(x, y + 2, right_to_left);
  if (!g_selection_fill && selected) device->InvertRect({left, y + 1, left + width_, y + height_});
  if (CWordTags* tags = word_metrics_->GetTags())
    tags->DrawMarks({left, y + 1, left + width_ - 1, y + height_}, right_to_left);
}

void CLayoutBoxWord::DrawContent(int a, int b, bool right_to_left) {
  const CFontFormat& chapter_font = metrics_->GetVerseFont(CViewMetrics::kChapterFont);
  const CFontFormat& verse_font = metrics_->GetVerseFont(CViewMetrics::kVerseFont);
  if (!right_to_left) {
    a += gap_ / 2;
    if (prefix_ > 0) {
      if (!chapter_.empty()) chapter_font.DrawText(a, b, chapter_);
      if (!verse_.empty()) verse_font.DrawText(a + chapter_width_, b, verse_);
    }
    word_->Draw(*word_metrics_, a + prefix_, b, false);
    return;
  }
  // Reading from the right: chapter number, verse label, gap, word.
  a -= prefix_ + gap_ / 2;
  if (prefix_ > 0) {
    int c = a + gap_;
    if (!verse_.empty()) {
      verse_font.DrawText(c, b, verse_);
      c += verse_font.GetExtent(verse_).cx;
    }
    if (!chapter_.empty()) chapter_font.DrawText(c, b, chapter_);
  }
  word_->Draw(*word_metrics_, a, b, true);
}

std::u16string CLayoutBoxWord::GetText() const {
  std::u16string text;
  if (prefix_ > 0) {
    if (!chapter_.empty()) {
      text = chapter_;
      if (!verse_.empty()) text += u":" + verse_;
    } else {
      text = verse_;
    }
    text += u" ";
  }
  return text + word_->GetLabelText(*word_metrics_);
}

std::u16string CLayoutBoxWord::GetRtf(bool) {
  std::u16string leading;
  if (prefix_ > 0) {
    if (!chapter_.empty())
      leading += RtfRun(metrics_->GetVerseFont(CViewMetrics::kChapterFont), chapter_, true);
    if (!verse_.empty())
      leading += RtfRun(metrics_->GetVerseFont(CViewMetrics::kVerseFont), verse_, true);
  }
  return word_->GetExportText(*word_metrics_, leading);
}

std::u16string CLayoutBoxWord::GetCellFormat(bool right_to_left) const {
  CWordTags* tags = word_metrics_->GetTags();
  return tags ? tags->GetCellFormat(right_to_left) : std::u16string();
}

}  // namespace vorn
