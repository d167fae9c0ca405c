// Scroll groups: document windows of one group ("A" to "D") stay on the same
// passage, each in its own database.
#pragma once

#include <vector>

namespace vorn::shell {

class CVornChildFrame;

// Brings every window of `windows` other than `source` whose group is not
// empty and equal to `source`'s to the verse of `source`'s focus word,
// carried into the window's database through the verse maps. A window whose
// current verse is that verse already, or whose database lacks it, stays.
// A window without group neither leads nor follows. Moving a window tells
// it of its new focus as any move does: the caller guards against the
// followers leading in turn. Returns the number of windows moved.
int FollowScrollGroup(CVornChildFrame* source, const std::vector<CVornChildFrame*>& windows);

}  // namespace vorn::shell
