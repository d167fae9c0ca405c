#include "shell/scroll_group.h"

#include "refs/bible_ref.h"
#include "shell/child_frame.h"
#include "shell/vorn_view.h"

namespace vorn::shell {

int FollowScrollGroup(CVornChildFrame* source, const std::vector<CVornChildFrame*>& windows) {
  const std::u16string& group = source->GetScrollGroup();
  if (group.empty()) return 0;
  const CBibleRef here(source->GetDatabase(), source->GetFocusWord());
  if (!here.HasEntry()) return 0;
  int moved = 0;
  for (CVornChildFrame* w : windows) {
    if (w == source || w->GetScrollGroup() != group) continue;
    const CBibleRef there(here, w->GetDatabase());
    if (!there.HasEntry()) continue;
    const CBibleRef current(w->GetDatabase(), w->GetFocusWord());
    if (current.HasEntry() && current.IsEqual(there)) continue;
    const WordIndex word = there.GetFirstWord();
    if (word < 0) continue;
    w->GetTextPane()->SetFocusWord(word, -1);
    ++moved;
  }
  return moved;
}

}  // namespace vorn::shell
