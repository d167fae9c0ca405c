// The user tags one window displays, and the tagging commands of its views.
// The window's query state owns one; layouts and queries ask it which tags
// mark a word.
#pragma once

#include <functional>
#include <memory>
#include <string_view>
#include <vector>

#include "markup/tag.h"
#include "markup/tag_db.h"
#include "markup/tag_viewer.h"

namespace vorn {

class CViewTags : public CTagViewer {
 public:
  // `repaint` (may be empty) is called after every change the window shows.
  explicit CViewTags(std::function<void()> repaint = {});
  // Releases every tag (with the save prompt of a last view).
  ~CViewTags() override;
  CViewTags(const CViewTags&) = delete;
  CViewTags& operator=(const CViewTags&) = delete;

  // Sorted by tag name (ordinal order). The tags are borrowed from the
  // database's tag list; a deleted tag leaves the list by TagRemoved.
  const std::vector<CTagDB*>& GetDisplayedTags() const { return shown_; }
  bool IsTagDisplayed(const CTagDB* tag) const;
  // Shows a hidden tag (attaching to it, which loads its marks) or hides a
  // shown one (detaching, which may ask to save it); then repaints.
  void ToggleTag(CTagDB* tag);
  // Hides every tag (when the window closes).
  void ReleaseTags();
  // The shown tag of that name compared without regard to case, or null.
  CTagDB* FindDisplayedTag(std::u16string_view name) const;

  // Whether any shown tag marks the word, and which ones do.
  bool WordHasTag(WordIndex word) const;
  void TagsOfWord(WordIndex word, std::vector<CTagDB*>* tags) const;
  // The word's tags for drawing; null when no shown tag marks it.
  std::unique_ptr<CTag> MakeTag(WordIndex word) const;

  // The command "Toggle tagging of selected text as %1": shows `tag` if
  // needed, then with a non-empty selection (ascending word indexes):
  // consecutive untagged words starting untagged become one range; a whole
  // range selected exactly is removed; otherwise every selected word whose
  // tagged state equals that of `current_word` (untagged when -1) is
  // toggled on its own.
  void ToggleSelection(CTagDB* tag, const std::vector<WordIndex>& selection,
                       WordIndex current_word);

  void TagChanged(CTagDB* tag) override;
  void TagRemoved(CTagDB* tag) override;

 private:
  void Repaint();

  std::function<void()> repaint_;
  std::vector<CTagDB*> shown_;
};

}  // namespace vorn
