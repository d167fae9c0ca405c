// The measuring context of one view: its device and size, magnification,
// the fonts of every interlinear line, heading level and reference element,
// which lines are visible, the reading direction, the selection, and the
// sizes derived from them. One per pane, owned by the pane; copying and
// printing work on a copy.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "device/device.h"
#include "metrics/word_markup.h"
#include "textdb/font_format.h"
#include "textdb/types.h"

namespace vorn {

class CVornDB;
class CIniFile;

class CViewMetrics {
 public:
  // Magnifications of the view commands and of Ctrl + wheel, in order.
  static constexpr int kMagnifications[] = {65, 85, 100, 130, 150, 200};
  // The magnification `notches` wheel steps (negative: down) from `current`:
  // counted from the first step not below `current`, kept to the steps.
  static int StepMagnification(int current, int notches);
  // The narrowest drawing area a view is laid out for.
  static constexpr int kMinWidth = 80;

  // `db` must outlive the metrics; `markup` (the window's query state) may be
  // null (no user tags, no notes) and must outlive them otherwise. Fonts,
  // visibility and direction come from the database; no device yet.
  CViewMetrics(CVornDB* db, CWordMarkupSource* markup);
  // Copies everything but the device (none), the tag font cache and the
  // selection (both empty): output made with a copy shows no highlight.
  CViewMetrics(const CViewMetrics& other);
  CViewMetrics& operator=(const CViewMetrics&) = delete;
  ~CViewMetrics();

  // Stores the drawing area (a width of kMinWidth or less counts as
  // kMinWidth); true when it changed.
  bool SetSize(int width, int height);
  // Attaches every font to `device` (borrowed until the next Prepare; may be
  // null) at `magnification` (0 = keep), and measures the visible lines.
  // True when the resolution or the magnification changed.
  bool Prepare(CDevice* device, int magnification);

  void SetLineVisible(int line, bool visible);
  bool IsLineVisible(int line) const;
  bool IsSingleLineVisible() const;
  int GetLineCount() const { return static_cast<int>(line_fonts_.size()); }
  // The index of the first visible line (0 when none is visible).
  int GetTopVisibleLine() const { return top_line_; }

  // Out-of-range indexes give the nearest font there is (a default Arial 12
  // when a list is empty), so a damaged description never crashes a view.
  const CFontFormat& GetLineFont(int line) const;
  // Level 1 is the first heading font; 0 or beyond the list: the last.
  const CFontFormat& GetHeadingFont(int level) const;
  // kVerseFont, kChapterFont or kRefFont.
  const CFontFormat& GetVerseFont(int index) const;
  static constexpr int kVerseFont = 0;
  static constexpr int kChapterFont = 1;
  static constexpr int kRefFont = 2;
  // The font of the top visible line in tag style `style`, made on first use
  // and cached until the top line changes.
  const CFontFormat& GetTagFont(int style);
  const CFontFormat& GetTagLabelFont() const { return tag_label_font_; }
  const CFontFormat& GetPanelFont() const { return panel_font_; }
  const std::vector<CFontFormat>& GetLineFonts() const { return line_fonts_; }
  const std::vector<bool>& GetLineVisibility() const { return visible_; }
  // Line fonts = the database's current line fonts (after the user chose
  // new ones); the next Prepare measures them.
  void ReloadLineFonts();

  void SelectWord(WordIndex word, bool on);
  // Every word first <= w < end.
  void SelectRange(WordIndex first, WordIndex end, bool on);
  void ClearSelection() { selection_.clear(); }
  // Takes a list in any order; it is kept sorted and without duplicates.
  void SetSelection(const std::vector<WordIndex>& words);
  bool IsSelected(WordIndex word) const;
  const std::vector<WordIndex>& GetSelection() const { return selection_; }

  // y plus half the top visible line's text height lies in [0, height).
  bool IsYVisible(int y) const;
  // The row starting at y fits wholly: y >= 0 and y + row height < height.
  bool IsRowVisible(int y) const;

  bool IsWordTagged(WordIndex word) const;
  void GetWordTags(WordIndex word, std::vector<CTagDB*>* tags) const;
  bool HasNote(WordIndex word) const;

  // Keys "Magnification" and "R2L" in `section`, and the selection,
  // run-length coded, in `section` + " Selection" ("Sel 0", "Sel 1", ...).
  // The selection section is rewritten whole, so no key of an older save
  // outlives it. At most the first 500 selected words are written.
  void SaveSettings(CIniFile* settings, std::u16string_view section) const;
  // Reads what SaveSettings wrote; missing keys leave their values alone
  // (the selection is always replaced). Selection values past the
  // database's last word are dropped.
  void LoadSettings(const CIniFile& settings, std::u16string_view section);

  CVornDB* GetDatabase() const { return db_; }
  CWordMarkupSource* GetMarkupSource() const { return markup_; }
  CDevice* GetDevice() const { return device_; }
  int GetMagnification() const { return magnification_; }
  int GetWidth() const { return width_; }
  int GetHeight() const { return height_; }
  int GetResolution() const { return resolution_; }
  int GetSpaceUnit() const { return space_unit_; }
  // Four space units: one indent step.
  int GetStandardIndent() const { return 4 * space_unit_; }
  int GetRowHeight() const { return row_height_; }
  int GetRowsHeight() const { return rows_height_; }
  bool IsRightToLeft() const { return right_to_left_; }
  void SetRightToLeft(bool rtl) { right_to_left_ = rtl; }
  // -1: every level; 1 to 4: the propositions view level.
  int GetPropositionLevel() const { return proposition_level_; }
  void SetPropositionLevel(int level) { proposition_level_ = level; }
  // 0, or the text variant the Form line is shown in.
  int GetTextVariant() const { return text_variant_; }
  void SetTextVariant(int variant) { text_variant_ = variant; }
  // The colour of the gloss marks ("Grey" unless set).
  ColourValue GetMarkColour() const { return mark_colour_; }
  void SetMarkColour(ColourValue colour) { mark_colour_ = colour; }

 private:
  void RecomputeFonts();
  void RecomputeRows();
  void AttachOthers();

  CVornDB* db_;
  CWordMarkupSource* markup_;
  CDevice* device_ = nullptr;
  int magnification_ = 100;
  int width_ = kMinWidth;
  int height_ = 0;
  int resolution_ = 0;
  int space_unit_ = 0;
  int row_height_ = 0;
  int rows_height_ = 0;
  bool right_to_left_ = false;
  int top_line_ = 0;
  std::vector<CFontFormat> line_fonts_;
  std::vector<CFontFormat> heading_fonts_;
  std::vector<CFontFormat> verse_fonts_;
  CFontFormat tag_label_font_;
  std::map<int, std::unique_ptr<CFontFormat>> tag_fonts_;
  std::vector<bool> visible_;
  std::vector<WordIndex> selection_;
  int proposition_level_ = -1;
  int text_variant_ = 0;
  CFontFormat panel_font_{u"Arial", 10, 0};
  ColourValue mark_colour_ = kColourGrey;
  CFontFormat fallback_font_;
};

}  // namespace vorn
