#include "markup/tag.h"

namespace vorn {

bool IsBeginPosition(TagPosition p) {
  return p == TagPosition::kBegin || p == TagPosition::kBeginEnd;
}

bool IsEndPosition(TagPosition p) { return p == TagPosition::kEnd || p == TagPosition::kBeginEnd; }

CTag::CTag(WordIndex word, const std::vector<CTagDB*>& shown) : word_(word) {
  for (CTagDB* t : shown) {
    TagPosition p = t->GetPosition(word);
    if (p != TagPosition::kNone) tags_.push_back({t, p});
  }
}

namespace {
void AppendLabel(std::u16string* out, const std::u16string& label) {
  if (label.empty()) return;
  if (!out->empty()) out->push_back(u' ');
  *out += label;
}
}  // namespace

std::u16string CTag::GetBeginLabels() const {
  std::u16string out;
  for (const Entry& e : tags_) {
    if (IsBeginPosition(e.position)) AppendLabel(&out, e.tag->GetLabel());
  }
  return out;
}

std::u16string CTag::GetEndLabels() const {
  std::u16string out;
  for (const Entry& e : tags_) {
    if (e.position == TagPosition::kEnd) AppendLabel(&out, e.tag->GetLabel());
  }
  return out;
}

TagLook CTag::GetLook() const {
  TagLook look;
  for (const Entry& e : tags_) {
    const TagStyle& s = e.tag->GetStyle();
    if (TagColourIndex(s.foreground) != 0) look.foreground = s.foreground;
    if (TagColourIndex(s.background) != 0) look.background = s.background;
    look.font_style |= s.font_style & (kTagBold | kTagItalic);
  }
  return look;
}

bool CTag::StartsLine(int* indent) const {
  for (const Entry& e : tags_) {
    if (e.tag->GetStyle().new_line && IsBeginPosition(e.position)) {
      if (indent) *indent = e.tag->GetStyle().indent;
      return true;
    }
  }
  return false;
}

bool CTag::EndsLine(int* indent_next) const {
  for (const Entry& e : tags_) {
    if (e.tag->GetStyle().end_line && IsEndPosition(e.position)) {
      if (indent_next) *indent_next = e.tag->GetStyle().indent_next;
      return true;
    }
  }
  return false;
}

std::u16string CTag::GetDetailsRow() const {
  std::u16string out = u"User tags: ";
  for (size_t i = 0; i < tags_.size(); ++i) {
    if (i) out += u", ";
    out += tags_[i].tag->GetName();
  }
  return out;
}

std::vector<std::pair<std::u16string, std::u16string>> CTag::GetQueryEntries() const {
  std::vector<std::pair<std::u16string, std::u16string>> out;
  for (const Entry& e : tags_) out.emplace_back(u"usertag", e.tag->GetName());
  return out;
}

}  // namespace vorn
