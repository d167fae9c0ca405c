#include "shell/bookmark_menu.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>

#include "platform/string_table.h"
#include "refs/bookmarks.h"
#include "shell/qt_device.h"

namespace vorn::shell {

CBookmarkMenu::CBookmarkMenu(QMenu* menu, std::function<void(int)> dispatch)
    : QObject(menu), menu_(menu), dispatch_(std::move(dispatch)) {}

CBookmarkMenu::~CBookmarkMenu() = default;

void CBookmarkMenu::Rebuild(const CBookmarks& bookmarks, const CBibleRef& current,
                            bool has_window) {
  // Only what this object added goes: other items of the menu stay.
  for (QAction* item : items_) {
    menu_->removeAction(item);
    delete item;
  }
  items_.clear();
  if (separator_) {
    menu_->removeAction(separator_);
    delete separator_;
    separator_ = nullptr;
  }
  delete group_;
  group_ = nullptr;
  if (bookmarks.IsEmpty()) return;

  separator_ = menu_->addSeparator();
  group_ = new QActionGroup(this);
  group_->setExclusive(true);
  const QString tip = ToQString(platform::LoadString(platform::kIdsDisplaysVerse));
  const std::vector<CBookmarks::MenuItem> entries = bookmarks.GetMenuItems(current);
  for (size_t i = 0; i < entries.size() && i < static_cast<size_t>(kMaxItems); ++i) {
    const CBookmarks::MenuItem& entry = entries[i];
    auto* item = new QAction(ToQString(entry.text), group_);
    item->setData(entry.command);
    item->setStatusTip(tip);
    item->setCheckable(true);
    item->setChecked(has_window && entry.checked);
    item->setEnabled(has_window && entry.enabled);
    const int command = entry.command;
    connect(item, &QAction::triggered, this, [this, command] {
      if (dispatch_) dispatch_(command);
    });
    menu_->addAction(item);
    items_.push_back(item);
  }
}

}  // namespace vorn::shell
