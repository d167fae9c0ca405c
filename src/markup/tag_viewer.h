// What a user tag needs of the views that show it.
#pragma once

namespace vorn {

class CTagDB;

// Something that displays user tags (the tag part of a window's query
// state). A tag keeps the viewers attached to it and tells them about every
// change, so that each repaints.
class CTagViewer {
 public:
  virtual ~CTagViewer();
  // The tag's marks or style changed.
  virtual void TagChanged(CTagDB* tag) = 0;
  // The tag is about to be destroyed: drop every pointer to it. The tag has
  // already forgotten the viewer, so the viewer must not detach itself.
  virtual void TagRemoved(CTagDB* tag) = 0;
};

}  // namespace vorn
