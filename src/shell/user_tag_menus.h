// The user-tag parts of the Marking menu: the View submenu that switches
// the display of each tag in the active window, the toggle items that tag
// the active pane's selection, Repeat Last Tag, and the tag list dialog.
#pragma once

#include <QObject>
#include <vector>

class QAction;
class QMenu;

namespace vorn {
class CTagDB;
class CTagsDB;
}  // namespace vorn

namespace vorn::shell {

class CVornChildFrame;
class CWindowHost;

// The database's tags in list order; tag i has the items 36100 + i and
// 36600 + i. Menus hold at most kMaxMenuTags of them.
inline constexpr int kCmdViewTagFirst = 36100;
inline constexpr int kCmdToggleTagFirst = 36600;
inline constexpr int kCmdToggleTagLast = 37099;
inline constexpr int kMaxMenuTags = 499;

// The user tags of `window`'s database; null without a window or tags.
CTagsDB* TagsOfWindow(CVornChildFrame* window);

class CUserTagMenus : public QObject {
  Q_OBJECT
 public:
  // `host` must outlive this object; chosen items go to its Dispatch.
  explicit CUserTagMenus(CWindowHost* host);
  ~CUserTagMenus() override;

  // Refills the View submenu for `window` (may be null): a warning first
  // when there are too many tags, "No User Tags" (disabled) when there are
  // none, else one checkable item per tag, checked when the window shows it.
  void BuildViewMenu(QMenu* menu, CVornChildFrame* window);
  // Replaces the toggle items at the end of the Marking menu: one per tag
  // the window shows, disabled without a current word, checked when the
  // current word carries the tag.
  void BuildToggleItems(QMenu* menu, CVornChildFrame* window);

  // 36100 + i (switch the display of tag i), 36600 + i (toggle the
  // selection as tag i) and the tag list; true when handled.
  bool OnCommand(CVornChildFrame* window, int id);

  // Toggles the active pane's selection of `window` as `tag` (showing the
  // tag first when needed) and remembers the tag as the last one.
  void ToggleSelection(CVornChildFrame* window, CTagDB* tag);
  // Toggles the selection as the last tag again; false when the window
  // does not show it (any more).
  bool RepeatLastTag(CVornChildFrame* window);
  bool CanRepeatLastTag(CVornChildFrame* window) const;
  CTagDB* GetLastTag() const { return last_tag_; }

  // The tag list dialog over `window`'s database (modal).
  void ShowTagList(CVornChildFrame* window);

 private:
  // The tag i of the window's database; null when there is none.
  static CTagDB* TagAt(CVornChildFrame* window, int i);
  QAction* AddItem(QMenu* menu, const QString& text, int id);

  CWindowHost* host_;
  // The last tag toggled and the tag list it belongs to; only compared,
  // never used, until the window that repeats it is found to show it.
  CTagDB* last_tag_ = nullptr;
  CTagsDB* last_tags_ = nullptr;
  std::vector<QAction*> toggle_items_;
};

}  // namespace vorn::shell
