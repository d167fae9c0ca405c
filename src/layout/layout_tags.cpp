#include "layout/layout_tags.h"

#include "markup/annotation.h"
#include "markup/tag_style.h"
#include "markup/view_tags.h"
#include "metrics/rich_text.h"
#include "metrics/view_metrics.h"

namespace vorn {

namespace {

PenStyle BracketPen(int style) {
  switch (style) {
    case kBracketDots:
      return PenStyle::kDot;
    case kBracketDashes:
      return PenStyle::kDashDotDot;
    default:
      return PenStyle::kSolid;
  }
}

const char16_t* BracketBorderStyle(int style) {
  switch (style) {
    case kBracketDots:
      return u"\\brdrdot";
    case kBracketDashes:
      return u"\\brdrdashdd";
    default:
      return u"\\brdrs";
  }
}

// The edges of a word's box a tag draws at this word.
struct Edges {
  bool leading = false;
  bool trailing = false;
  bool above = false;
  bool under = false;
};

Edges EdgesOf(const CTag::Entry& e) {
  const int position = e.tag->GetStyle().bracket_position;
  Edges edges;
  edges.leading = (position & kBracketBegin) && IsBeginPosition(e.position);
  edges.trailing = (position & kBracketEnd) && IsEndPosition(e.position);
  edges.above = (position & kBracketAbove) != 0;
  edges.under = (position & kBracketUnder) != 0;
  return edges;
}

}  // namespace

CTagWordTags::CTagWordTags(std::unique_ptr<CTag> tag, const CViewMetrics& metrics)
    : tag_(std::move(tag)), metrics_(metrics) {}

CTagWordTags::~CTagWordTags() = default;

int CTagWordTags::GetStyle() const { return tag_->GetLook().Pack(); }

int CTagWordTags::MarkWidth(const std::u16string& labels) const {
  if (labels.empty()) return 0;
  const CFontFormat& font = metrics_.GetTagLabelFont();
  return font.GetExtent(labels).cx + font.GetXWidth() / 2;
}

int CTagWordTags::GetBeginMarkWidth() { return MarkWidth(tag_->GetBeginLabels()); }

int CTagWordTags::GetEndMarkWidth() { return MarkWidth(tag_->GetEndLabels()); }

void CTagWordTags::DrawLabels(const Rect& text, bool right_to_left) {
  const CFontFormat& font = metrics_.GetTagLabelFont();
  const int half = font.GetXWidth() / 2;
  // Labels are smaller than the text: they stand on its bottom.
  const int y = text.bottom - font.GetTextHeight();
  const std::u16string begin = tag_->GetBeginLabels();
  const std::u16string end = tag_->GetEndLabels();
  if (!begin.empty()) {
    const int w = font.GetExtent(begin).cx;
    font.DrawText(right_to_left ? text.right + half : text.left - half - w, y, begin);
  }
  if (!end.empty()) {
    const int w = font.GetExtent(end).cx;
    font.DrawText(right_to_left ? text.left - half - w : text.right + half, y, end);
  }
}

void CTagWordTags::DrawMarks(const Rect& box, bool right_to_left) {
  CDevice* device = metrics_.GetDevice();
  if (!device) return;
  const int bottom = box.bottom - 1;
  for (const CTag::Entry& e : tag_->GetTags()) {
    const TagStyle& style = e.tag->GetStyle();
    if (style.bracket_position == 0) continue;
    const Pen pen{ResolveColour(static_cast<ColourValue>(TagColourIndex(style.bracket_colour))), 1,
                  BracketPen(style.bracket_style)};
    const Edges edges = EdgesOf(e);
    const int leading = right_to_left ? box.right : box.left;
    const int trailing = right_to_left ? box.left : box.right;
    if (edges.leading) device->DrawLine(leading, box.top, leading, bottom, pen);
    if (edges.trailing) device->DrawLine(trailing, box.top, trailing, bottom, pen);
    if (edges.above) device->DrawLine(box.left, box.top, box.right, box.top, pen);
    if (edges.under) device->DrawLine(box.left, bottom, box.right, bottom, pen);
  }
}

std::u16string CTagWordTags::GetCellFormat(bool right_to_left) const {
  std::u16string out;
  for (const CTag::Entry& e : tag_->GetTags()) {
    const TagStyle& style = e.tag->GetStyle();
    if (style.bracket_position == 0) continue;
    const std::u16string pen =
        std::u16string(u"\\brdrw15") + BracketBorderStyle(style.bracket_style) + u"\\brdrcf" +
        RtfColourIndex(static_cast<ColourValue>(TagColourIndex(style.bracket_colour)));
    const Edges edges = EdgesOf(e);
    if (edges.leading) out += (right_to_left ? u"\\clbrdrr" : u"\\clbrdrl") + pen;
    if (edges.trailing) out += (right_to_left ? u"\\clbrdrl" : u"\\clbrdrr") + pen;
    if (edges.above) out += u"\\clbrdrt" + pen;
    if (edges.under) out += u"\\clbrdrb" + pen;
  }
  return out;
}

// --- The markup source.

CViewTagsMarkup::CViewTagsMarkup(CViewTags* tags, CAnnotation* notes)
    : tags_(tags), notes_(notes) {}

bool CViewTagsMarkup::IsWordTagged(WordIndex word) const {
  return tags_ && tags_->WordHasTag(word);
}

void CViewTagsMarkup::GetWordTags(WordIndex word, std::vector<CTagDB*>* tags) const {
  tags->clear();
  if (tags_) tags_->TagsOfWord(word, tags);
}

std::unique_ptr<CWordTags> CViewTagsMarkup::MakeWordTags(WordIndex word,
                                                         const CViewMetrics& metrics) {
  if (!tags_) return nullptr;
  std::unique_ptr<CTag> tag = tags_->MakeTag(word);
  if (!tag || tag->IsEmpty()) return nullptr;
  return std::make_unique<CTagWordTags>(std::move(tag), metrics);
}

bool CViewTagsMarkup::HasNote(WordIndex word) const { return notes_ && notes_->HasNote(word); }

}  // namespace vorn
