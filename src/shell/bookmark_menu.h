// The bookmark items at the end of the Navigate menu: a separator and one
// item per bookmark, rebuilt each time the menu drops down.
#pragma once

#include <QObject>
#include <functional>
#include <vector>

class QAction;
class QActionGroup;
class QMenu;

namespace vorn {
class CBibleRef;
class CBookmarks;
}  // namespace vorn

namespace vorn::shell {

class CBookmarkMenu : public QObject {
  Q_OBJECT
 public:
  // The items go at the end of `menu`, which owns this object; choosing one
  // calls `dispatch` with its command id (35700 + its place in the list).
  CBookmarkMenu(QMenu* menu, std::function<void(int)> dispatch);
  ~CBookmarkMenu() override;

  // The most items the menu holds (their command ids run to 35899).
  static constexpr int kMaxItems = 200;

  // Removes the items made last time, then appends — when there are
  // bookmarks — a separator and one item per bookmark in stored order:
  // the bookmark's long form in `current`'s database, disabled when that
  // database lacks the verse or `has_window` is false, radio-checked when it
  // is `current`.
  void Rebuild(const CBookmarks& bookmarks, const CBibleRef& current, bool has_window);

  // The bookmark items made by the last Rebuild (the separator left out).
  const std::vector<QAction*>& GetItems() const { return items_; }

 private:
  QMenu* menu_;
  std::function<void(int)> dispatch_;
  QActionGroup* group_ = nullptr;
  QAction* separator_ = nullptr;
  std::vector<QAction*> items_;
};

}  // namespace vorn::shell
