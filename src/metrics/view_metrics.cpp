#include "metrics/view_metrics.h"

#include <algorithm>
#include <iterator>
#include <limits>

#include "platform/u16.h"
#include "textdb/ini_file.h"
#include "textdb/vorn_db.h"

namespace vorn {

namespace {

// The selection file keeps only this many words, so that a select-all of a
// whole Bible does not bloat the settings.
constexpr size_t kMaxSavedSelection = 500;

// Magnifications a settings file may ask for; anything else is a damaged
// value and would make fonts no device can draw.
constexpr int kMinMagnification = 10;
constexpr int kMaxMagnification = 1000;

std::u16string SelectionSection(std::u16string_view section) {
  return std::u16string(section) + u" Selection";
}

std::u16string SelectionKey(size_t n) { return u"Sel " + platform::ToU16(std::to_string(n)); }

}  // namespace

int CViewMetrics::StepMagnification(int current, int notches) {
  constexpr int kCount = static_cast<int>(std::size(kMagnifications));
  int i = 0;
  while (i < kCount - 1 && kMagnifications[i] < current) ++i;
  i = std::clamp(i + notches, 0, kCount - 1);
  return kMagnifications[i];
}

CViewMetrics::CViewMetrics(CVornDB* db, CWordMarkupSource* markup) : db_(db), markup_(markup) {
  right_to_left_ = db->IsRightToLeft();
  db->GetLineFonts(&line_fonts_);
  db->GetHeadingFonts(&heading_fonts_);
  db->GetVerseFonts(&verse_fonts_);
  // A database without a verse index has no verse fonts; references and
  // numbers still need all three.
  while (verse_fonts_.size() < 3) verse_fonts_.emplace_back();
  tag_label_font_ = db->GetTagLabelFont();
  visible_.assign(line_fonts_.size(), true);
}

CViewMetrics::CViewMetrics(const CViewMetrics& o)
    : db_(o.db_),
      markup_(o.markup_),
      device_(nullptr),
      magnification_(o.magnification_),
      width_(o.width_),
      height_(o.height_),
      resolution_(o.resolution_),
      space_unit_(o.space_unit_),
      row_height_(o.row_height_),
      rows_height_(o.rows_height_),
      right_to_left_(o.right_to_left_),
      top_line_(o.top_line_),
      line_fonts_(o.line_fonts_),
      heading_fonts_(o.heading_fonts_),
      verse_fonts_(o.verse_fonts_),
      tag_label_font_(o.tag_label_font_),
      visible_(o.visible_),
      proposition_level_(o.proposition_level_),
      text_variant_(o.text_variant_),
      panel_font_(o.panel_font_),
      mark_colour_(o.mark_colour_) {}

CViewMetrics::~CViewMetrics() = default;

bool CViewMetrics::SetSize(int width, int height) {
  if (width <= kMinWidth) width = kMinWidth;
  const bool changed = width != width_ || height != height_;
  width_ = width;
  height_ = height;
  if (changed && row_height_ != 0) RecomputeRows();
  return changed;
}

bool CViewMetrics::Prepare(CDevice* device, int magnification) {
  bool changed = false;
  device_ = device;
  if (!device) {
    resolution_ = 0;
    changed = true;
  } else if (device->GetPixelsPerInchY() != resolution_) {
    resolution_ = device->GetPixelsPerInchY();
    changed = true;
  }
  if (magnification != 0 && magnification != magnification_) {
    magnification_ = magnification;
    changed = true;
  }
  RecomputeFonts();
  if (changed && row_height_ != 0) RecomputeRows();
  return changed;
}

void CViewMetrics::RecomputeFonts() {
  row_height_ = 0;
  top_line_ = 0;
  // From the last line up, so that the first visible line's values remain.
  for (int i = GetLineCount() - 1; i >= 0; --i) {
    CFontFormat& font = line_fonts_[static_cast<size_t>(i)];
    font.Attach(device_, magnification_);
    if (!visible_[static_cast<size_t>(i)]) continue;
    top_line_ = i;
    if (device_) {
      space_unit_ = font.GetXWidth();
      row_height_ += font.GetTextHeight();
    }
  }
  // Room between rows for the selection frame and tag brackets.
  row_height_ += 5;
  AttachOthers();
}

void CViewMetrics::AttachOthers() {
  for (CFontFormat& f : heading_fonts_) f.Attach(device_, magnification_);
  for (CFontFormat& f : verse_fonts_) f.Attach(device_, magnification_);
  for (auto& [style, font] : tag_fonts_) font->Attach(device_, magnification_);
  tag_label_font_.Attach(device_, magnification_);
  panel_font_.Attach(device_, magnification_);
  fallback_font_.Attach(device_, magnification_);
}

void CViewMetrics::RecomputeRows() {
  if (row_height_ <= 0) return;
  rows_height_ = std::max(row_height_, row_height_ * (height_ / row_height_));
}

void CViewMetrics::SetLineVisible(int line, bool visible) {
  if (line < 0 || line >= GetLineCount()) return;
  if (visible_[static_cast<size_t>(line)] == visible) return;
  visible_[static_cast<size_t>(line)] = visible;
  // Tag fonts are made from the top line's font.
  if (line <= top_line_) tag_fonts_.clear();
  device_ = nullptr;
  resolution_ = 0;
  RecomputeFonts();
  RecomputeRows();
}

bool CViewMetrics::IsLineVisible(int line) const {
  return line >= 0 && line < GetLineCount() && visible_[static_cast<size_t>(line)];
}

bool CViewMetrics::IsSingleLineVisible() const {
  return std::count(visible_.begin(), visible_.end(), true) == 1;
}

const CFontFormat& CViewMetrics::GetLineFont(int line) const {
  if (line_fonts_.empty()) return fallback_font_;
  line = std::clamp(line, 0, GetLineCount() - 1);
  return line_fonts_[static_cast<size_t>(line)];
}

const CFontFormat& CViewMetrics::GetHeadingFont(int level) const {
  if (heading_fonts_.empty()) return fallback_font_;
  if (level <= 0 || static_cast<size_t>(level) > heading_fonts_.size())
    return heading_fonts_.back();
  return heading_fonts_[static_cast<size_t>(level - 1)];
}

const CFontFormat& CViewMetrics::GetVerseFont(int index) const {
  index = std::clamp(index, 0, static_cast<int>(verse_fonts_.size()) - 1);
  return verse_fonts_[static_cast<size_t>(index)];
}

const CFontFormat& CViewMetrics::GetTagFont(int style) {
  auto it = tag_fonts_.find(style);
  if (it != tag_fonts_.end()) return *it->second;
  auto font = std::make_unique<CFontFormat>(GetLineFont(top_line_));
  if (markup_) {
    markup_->ApplyTagStyle(style, font.get());
  } else {
    ApplyDefaultTagStyle(style, font.get());
  }
  font->Attach(device_, 0);
  return *tag_fonts_.emplace(style, std::move(font)).first->second;
}

void CViewMetrics::ReloadLineFonts() {
  db_->GetLineFonts(&line_fonts_);
  // A database's line count never changes, but the visibility list must
  // match the fonts whatever happens.
  visible_.resize(line_fonts_.size(), true);
  tag_fonts_.clear();
  RecomputeFonts();
  if (row_height_ != 0) RecomputeRows();
}

void CViewMetrics::SelectWord(WordIndex word, bool on) {
  auto it = std::lower_bound(selection_.begin(), selection_.end(), word);
  const bool present = it != selection_.end() && *it == word;
  if (on && !present) {
    selection_.insert(it, word);
  } else if (!on && present) {
    selection_.erase(it);
  }
}

void CViewMetrics::SelectRange(WordIndex first, WordIndex end, bool on) {
  if (end <= first) return;
  auto lo = std::lower_bound(selection_.begin(), selection_.end(), first);
  auto hi = std::lower_bound(lo, selection_.end(), end);
  const size_t at = static_cast<size_t>(lo - selection_.begin());
  selection_.erase(lo, hi);
  if (!on) return;
  std::vector<WordIndex> range;
  range.reserve(static_cast<size_t>(end - first));
  for (WordIndex w = first; w < end; ++w) range.push_back(w);
  selection_.insert(selection_.begin() + static_cast<std::ptrdiff_t>(at), range.begin(),
                    range.end());
}

void CViewMetrics::SetSelection(const std::vector<WordIndex>& words) {
  selection_ = words;
  std::sort(selection_.begin(), selection_.end());
  selection_.erase(std::unique(selection_.begin(), selection_.end()), selection_.end());
}

bool CViewMetrics::IsSelected(WordIndex word) const {
  return std::binary_search(selection_.begin(), selection_.end(), word);
}

bool CViewMetrics::IsYVisible(int y) const {
  const int middle = y + GetLineFont(top_line_).GetTextHeight() / 2;
  return middle >= 0 && middle < height_;
}

bool CViewMetrics::IsRowVisible(int y) const { return y >= 0 && y + row_height_ < height_; }

bool CViewMetrics::IsWordTagged(WordIndex word) const {
  return markup_ && markup_->IsWordTagged(word);
}

void CViewMetrics::GetWordTags(WordIndex word, std::vector<CTagDB*>* tags) const {
  tags->clear();
  if (markup_) markup_->GetWordTags(word, tags);
}

bool CViewMetrics::HasNote(WordIndex word) const { return markup_ && markup_->HasNote(word); }

void CViewMetrics::SaveSettings(CIniFile* settings, std::u16string_view section) const {
  settings->SetInt(section, u"Magnification", magnification_);
  settings->SetBool(section, u"R2L", right_to_left_);
  const std::u16string sel_section = SelectionSection(section);
  settings->RemoveSection(sel_section);
  const size_t count = std::min(selection_.size(), kMaxSavedSelection);
  size_t n = 0;
  for (size_t i = 0; i < count; ++i) {
    const WordIndex w = selection_[i];
    const bool successor = i > 0 && selection_[i - 1] + 1 == w;
    if (!successor) {
      settings->SetInt(sel_section, SelectionKey(n++), w);
      continue;
    }
    // A run is written as its first word and the negative of its last. The
    // end of a run is judged on the whole selection, so a run that the limit
    // cuts keeps only its first word.
    const bool ends_run = i + 1 == selection_.size() || selection_[i + 1] != w + 1;
    if (ends_run) settings->SetInt(sel_section, SelectionKey(n++), -w);
  }
}

void CViewMetrics::LoadSettings(const CIniFile& settings, std::u16string_view section) {
  int32_t magnification = 0;
  if (settings.GetInt(section, u"Magnification", &magnification)) {
    device_ = nullptr;
    resolution_ = 0;
    if (magnification != 0 && magnification != magnification_ &&
        magnification >= kMinMagnification && magnification <= kMaxMagnification) {
      magnification_ = magnification;
    }
    RecomputeFonts();
    RecomputeRows();
  }
  bool rtl = false;
  if (settings.GetBool(section, u"R2L", &rtl) && rtl != right_to_left_) right_to_left_ = rtl;

  selection_.clear();
  const std::u16string sel_section = SelectionSection(section);
  const int64_t word_count = db_->GetWordCount();
  int64_t last = -1;
  for (size_t n = 0;; ++n) {
    int32_t value = 0;
    if (!settings.GetInt(sel_section, SelectionKey(n), &value)) break;
    if (value >= 0) {
      if (value < word_count) {
        SelectWord(value, true);
        last = value;
      }
      continue;
    }
    if (last < 0) continue;
    // 64 bits: the negative of the smallest 32-bit value does not fit in 32.
    const int64_t end = std::min<int64_t>(-static_cast<int64_t>(value), word_count - 1);
    if (end > last) {
      SelectRange(static_cast<WordIndex>(last + 1), static_cast<WordIndex>(end + 1), true);
      last = end;
    }
  }
}

}  // namespace vorn
