#include "markup/view_tags.h"

#include <algorithm>

#include "markup/user_folder.h"

namespace vorn {

CViewTags::CViewTags(std::function<void()> repaint) : repaint_(std::move(repaint)) {}

CViewTags::~CViewTags() { ReleaseTags(); }

bool CViewTags::IsTagDisplayed(const CTagDB* tag) const {
  return std::find(shown_.begin(), shown_.end(), tag) != shown_.end();
}

void CViewTags::ToggleTag(CTagDB* tag) {
  if (!tag) return;
  auto it = std::find(shown_.begin(), shown_.end(), tag);
  if (it != shown_.end()) {
    shown_.erase(it);
    tag->DetachView(this);
  } else {
    auto at = std::find_if(shown_.begin(), shown_.end(),
                           [tag](const CTagDB* t) { return !(t->GetName() < tag->GetName()); });
    shown_.insert(at, tag);
    tag->AttachView(this);
  }
  Repaint();
}

void CViewTags::ReleaseTags() {
  std::vector<CTagDB*> shown;
  shown.swap(shown_);
  for (CTagDB* t : shown) t->DetachView(this);
  if (!shown.empty()) Repaint();
}

CTagDB* CViewTags::FindDisplayedTag(std::u16string_view name) const {
  for (CTagDB* t : shown_) {
    if (EqualsNoCase(t->GetName(), name)) return t;
  }
  return nullptr;
}

bool CViewTags::WordHasTag(WordIndex word) const {
  return std::any_of(shown_.begin(), shown_.end(), [word](CTagDB* t) { return t->IsTagged(word); });
}

void CViewTags::TagsOfWord(WordIndex word, std::vector<CTagDB*>* tags) const {
  tags->clear();
  for (CTagDB* t : shown_) {
    if (t->IsTagged(word)) tags->push_back(t);
  }
}

std::unique_ptr<CTag> CViewTags::MakeTag(WordIndex word) const {
  auto tag = std::make_unique<CTag>(word, shown_);
  if (tag->IsEmpty()) return nullptr;
  return tag;
}

void CViewTags::ToggleSelection(CTagDB* tag, const std::vector<WordIndex>& selection,
                                WordIndex current_word) {
  if (!tag) return;
  if (!IsTagDisplayed(tag)) ToggleTag(tag);
  if (selection.empty()) return;
  const size_t n = selection.size();
  const WordIndex s0 = selection.front();
  const WordIndex last = selection.back();
  const bool consecutive = last - s0 + 1 == static_cast<WordIndex>(n);
  if (consecutive) {
    if (!tag->IsTagged(s0)) {
      bool all_untagged = true;
      for (WordIndex w : selection) all_untagged = all_untagged && !tag->IsTagged(w);
      if (all_untagged) {
        tag->ToggleRange(s0, last);
        return;
      }
    } else if (tag->GetPosition(s0) == TagPosition::kBegin) {
      bool whole_range = IsEndPosition(tag->GetPosition(last));
      for (size_t i = 1; whole_range && i + 1 < n; ++i) {
        whole_range = !IsEndPosition(tag->GetPosition(selection[i]));
      }
      if (whole_range) {
        tag->ToggleRange(s0, last);
        return;
      }
    }
  }
  const bool state = current_word >= 0 && tag->IsTagged(current_word);
  std::vector<WordIndex> toggle;
  for (WordIndex w : selection) {
    if (tag->IsTagged(w) == state) toggle.push_back(w);
  }
  for (WordIndex w : toggle) tag->ToggleWord(w);
}

void CViewTags::TagChanged(CTagDB*) { Repaint(); }

void CViewTags::TagRemoved(CTagDB* tag) {
  auto it = std::find(shown_.begin(), shown_.end(), tag);
  if (it == shown_.end()) return;
  shown_.erase(it);
  Repaint();
}

void CViewTags::Repaint() {
  if (repaint_) repaint_();
}

}  // namespace vorn
