// User tags as the layout draws and writes them: the labels around a word's
// first line, the brackets over its box, the cell borders of its table
// cell and the line-break hints, all for the tags of one word (a CTag) in
// one view. And the markup source a window gives its view metrics, over the
// tags the window shows and, optionally, its annotations.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "markup/tag.h"
#include "metrics/word_markup.h"

namespace vorn {

class CAnnotation;
class CViewTags;

class CTagWordTags : public CWordTags {
 public:
  // `metrics` (its label font and device) must outlive the object.
  CTagWordTags(std::unique_ptr<CTag> tag, const CViewMetrics& metrics);
  ~CTagWordTags() override;

  int GetStyle() const override;
  std::u16string GetBeginLabels() const override { return tag_->GetBeginLabels(); }
  std::u16string GetEndLabels() const override { return tag_->GetEndLabels(); }
  // The labels' width plus half the label font's "x" width between label
  // and word; 0 without labels.
  int GetBeginMarkWidth() override;
  int GetEndMarkWidth() override;
  void DrawLabels(const Rect& text, bool right_to_left) override;
  // Begin and End draw the leading and trailing edge (at a begin or end
  // position of the tag), Above and Under the top and bottom edge, each in
  // the tag's bracket pen and colour.
  void DrawMarks(const Rect& box, bool right_to_left) override;
  bool StartsNewLine(int* indent) const override { return tag_->StartsLine(indent); }
  bool EndsLine(int* indent_next) const override { return tag_->EndsLine(indent_next); }
  // The same edges as cell borders: \clbrdrl, \clbrdrr, \clbrdrt, \clbrdrb
  // with width 15, the bracket style and the colour's table index.
  std::u16string GetCellFormat(bool right_to_left) const override;
  std::u16string GetDetailsText() const override { return tag_->GetDetailsRow(); }

  const CTag& GetTag() const { return *tag_; }

 private:
  int MarkWidth(const std::u16string& labels) const;

  std::unique_ptr<CTag> tag_;
  const CViewMetrics& metrics_;
};

// The markup of one window's words: its shown user tags and its notes.
class CViewTagsMarkup : public CWordMarkupSource {
 public:
  // `tags` and `notes` (may be null) are borrowed and must outlive this.
  explicit CViewTagsMarkup(CViewTags* tags, CAnnotation* notes = nullptr);

  bool IsWordTagged(WordIndex word) const override;
  void GetWordTags(WordIndex word, std::vector<CTagDB*>* tags) const override;
  std::unique_ptr<CWordTags> MakeWordTags(WordIndex word, const CViewMetrics& metrics) override;
  bool HasNote(WordIndex word) const override;

 private:
  CViewTags* tags_;
  CAnnotation* notes_;
};

}  // namespace vorn
