// The rectangles a display line is made of: a word with its interlinear
// stack, a heading text, a scripture reference, or a blank used for indents,
// padding and proposition bars. Every box is measured once, when it is made;
// it draws itself from the stored size and writes its own plain text and
// rich text.
#pragma once

#include <memory>
#include <string>

#include "device/device.h"
#include "metrics/word_metrics.h"
#include "refs/bible_ref.h"
#include "textdb/types.h"

namespace vorn {

class CFontFormat;
class CViewMetrics;
class CVornDB;
class CWord;

// Whether a selected word is filled in yellow (true) or inverted (false,
// the default). Program-wide, set from the options.
void SetSelectionFill(bool fill);
bool GetSelectionFill();

class CLayoutBox {
 public:
  // `metrics` is borrowed and must outlive the box.
  explicit CLayoutBox(CViewMetrics* metrics);
  virtual ~CLayoutBox();
  CLayoutBox(const CLayoutBox&) = delete;
  CLayoutBox& operator=(const CLayoutBox&) = delete;

  virtual std::u16string GetText() const { return {}; }
  // The word the box shows, or null.
  virtual CWord* GetWord() const { return word_.get(); }
  // Draws into [x, x + width) or, right to left, into [x - width, x); y is
  // the top of the line.
  virtual void Draw(int /*x*/, int /*y*/, bool /*right_to_left*/) {}
  virtual std::u16string GetRtf(bool /*right_to_left*/) { return {}; }
  // The cell formatting of the box in table output.
  virtual std::u16string GetCellFormat(bool /*right_to_left*/) const { return {}; }
  // Blank boxes (indents, padding, bars) are skipped by caret moves.
  virtual bool IsSpace() const { return false; }

  // The word index the box stands for; -1 without a word.
  WordIndex GetWordIndex() const { return word_index_; }
  // The reference of the box's word; null without a word.
  const CBibleRef* GetRef() const { return ref_.get(); }
  int GetWidth() const { return width_; }
  int GetHeight() const { return height_; }
  int GetGap() const { return gap_; }
  CViewMetrics* GetMetrics() const { return metrics_; }

 protected:
  // Makes the reference of `word` in `db` (and remembers the word index).
  void BindWord(CVornDB* db, WordIndex word);

  CViewMetrics* metrics_;
  int width_ = 0;
  int height_ = 0;
  int gap_ = 0;
  WordIndex word_index_ = -1;
  std::unique_ptr<CBibleRef> ref_;
  // Made at construction by word boxes, on first use by reference boxes.
  mutable std::unique_ptr<CWord> word_;
};

// A text of a heading (or of the reference list's heading) in its font.
class CLayoutBoxHeading : public CLayoutBox {
 public:
  // `font` belongs to the view metrics (or outlives the box otherwise).
  CLayoutBoxHeading(CViewMetrics* metrics, std::u16string text, const CFontFormat* font);

  std::u16string GetText() const override { return text_; }
  void Draw(int x, int y, bool right_to_left) override;
  std::u16string GetRtf(bool right_to_left) override;

 private:
  std::u16string text_;
  const CFontFormat* font_;
};

// The short reference of one word (a hit, or the verse it stands for),
// after the reference icon.
class CLayoutBoxRef : public CLayoutBox {
 public:
  // The reference cell is as wide as this sample at least, so that the
  // references of a list line up.
  static constexpr char16_t kSample[] = u"Psa 119:176";
  // The icon's cell; the bitmap itself is 16 x 16.
  static constexpr int kIconCell = 20;

  CLayoutBoxRef(CVornDB* db, CViewMetrics* metrics, WordIndex word);
  ~CLayoutBoxRef() override;

  // The width of a reference box whose text measures `text_width` pixels
  // in the reference font, and the width of every box whose text is at most
  // as wide as the sample. Reference lists break their lines by these
  // without making the boxes.
  static int WidthFor(const CViewMetrics& metrics, int text_width);
  static int SampleWidth(const CViewMetrics& metrics);

  CWord* GetWord() const override;
  std::u16string GetText() const override { return short_ref_; }
  void Draw(int x, int y, bool right_to_left) override;
  std::u16string GetRtf(bool right_to_left) override;

 private:
  CVornDB* db_;
  std::u16string short_ref_;
};

// A blank of a given size; with the bar flag it draws a proposition bar,
// optionally labelled with the proposition's level.
class CLayoutBoxSpace : public CLayoutBox {
 public:
  CLayoutBoxSpace(CViewMetrics* metrics, int width, int height, bool bar);

  // As many TABs as indent steps the blank covers (at least one).
  std::u16string GetText() const override;
  void Draw(int x, int y, bool right_to_left) override;
  bool IsSpace() const override { return true; }

  bool HasBar() const { return bar_; }
  const std::u16string& GetLabel() const { return label_; }
  void SetLabel(std::u16string label) { label_ = std::move(label); }

 private:
  bool bar_;
  std::u16string label_;
};

// A word with its visible interlinear lines, led by the chapter and verse
// number when it is the first word of a verse.
class CLayoutBoxWord : public CLayoutBox {
 public:
  // `db` and `metrics` are borrowed and must outlive the box.
  CLayoutBoxWord(CVornDB* db, CViewMetrics* metrics, WordIndex word);
  ~CLayoutBoxWord() override;

  std::u16string GetText() const override;
  void Draw(int x, int y, bool right_to_left) override;
  std::u16string GetRtf(bool right_to_left) override;
  std::u16string GetCellFormat(bool right_to_left) const override;

  const CWordMetrics& GetWordMetrics() const { return *word_metrics_; }
  // The word's user tags (null when it carries none).
  CWordTags* GetTags() const { return word_metrics_->GetTags(); }
  int GetPrefixWidth() const { return prefix_; }

 private:
  void DrawContent(int a, int b, bool right_to_left);

  std::unique_ptr<CWordMetrics> word_metrics_;
  int prefix_ = 0;
  int prefix_height_ = 0;
  // What the prefix shows: the chapter number (empty unless the verse
  // starts a chapter) and the verse label (empty when not shown).
  std::u16string chapter_;
  std::u16string verse_;
  int chapter_width_ = 0;
};

}  // namespace vorn
