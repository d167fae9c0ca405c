#include "shell/user_tag_menus.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>

#include "markup/tags_db.h"
#include "platform/string_table.h"
#include "querystate/query_thing.h"
#include "shell/actions.h"
#include "shell/child_frame.h"
#include "shell/qt_device.h"
#include "shell/user_tags_dialog.h"
#include "shell/vorn_view.h"
#include "shell/window_host.h"

namespace vorn::shell {

namespace {

const QString kTooManyTags = QStringLiteral("Too many tags to fit on menu, sorry!");

QString TagPrompt(int string_id, const CTagDB* tag) {
  return ToQString(platform::FormatString(string_id, tag->GetName()));
}

}  // namespace

CTagsDB* TagsOfWindow(CVornChildFrame* window) {
  return window ? window->GetQueryThing().GetMarkup().GetTagsDB() : nullptr;
}

CUserTagMenus::CUserTagMenus(CWindowHost* host) : QObject(host->GetMainWindow()), host_(host) {}

CUserTagMenus::~CUserTagMenus() = default;

QAction* CUserTagMenus::AddItem(QMenu* menu, const QString& text, int id) {
  QAction* item = menu->addAction(text);
  item->setData(id);
  connect(item, &QAction::triggered, this, [this, id] { host_->Dispatch(id); });
  return item;
}

void CUserTagMenus::BuildViewMenu(QMenu* menu, CVornChildFrame* window) {
  menu->clear();
  CTagsDB* tags = TagsOfWindow(window);
  const std::vector<CTagDB*> list = tags ? tags->GetTags() : std::vector<CTagDB*>();
  if (list.size() >= static_cast<size_t>(kMaxMenuTags))
    menu->addAction(kTooManyTags)->setEnabled(false);
  if (list.empty()) {
    QAction* none = menu->addAction(ToQString(platform::LoadString(platform::kIdsNoUserTags)));
    none->setData(kCmdViewTagFirst);
    none->setEnabled(false);
    return;
  }
  const CQueryThing& state = window->GetQueryThing();
  for (size_t i = 0; i < list.size() && i < static_cast<size_t>(kMaxMenuTags); ++i) {
    QAction* item =
        AddItem(menu, ToQString(list[i]->GetName()), kCmdViewTagFirst + static_cast<int>(i));
    item->setCheckable(true);
    item->setChecked(state.IsTagDisplayed(list[i]));
    item->setStatusTip(TagPrompt(platform::kIdsDisplayUserTag, list[i]));
  }
}

void CUserTagMenus::BuildToggleItems(QMenu* menu, CVornChildFrame* window) {
  for (QAction* item : toggle_items_) {
    menu->removeAction(item);
    delete item;
  }
  toggle_items_.clear();
  CTagsDB* tags = TagsOfWindow(window);
  if (!tags) return;
  const std::vector<CTagDB*> list = tags->GetTags();
  CQueryThing& state = window->GetQueryThing();
  if (state.GetDisplayedTags().empty()) return;
  toggle_items_.push_back(menu->addSeparator());
  if (list.size() >= static_cast<size_t>(kMaxMenuTags)) {
    QAction* warning = menu->addAction(kTooManyTags);
    warning->setEnabled(false);
    toggle_items_.push_back(warning);
  }
  const WordIndex current = state.GetCurrentWordIndex();
  for (size_t i = 0; i < list.size() && i < static_cast<size_t>(kMaxMenuTags); ++i) {
    if (!state.IsTagDisplayed(list[i])) continue;
    QString text = ToQString(list[i]->GetName());
    if (text.trimmed().isEmpty()) text = tr("(unnamed tag)");
    // The last tag applied is the one Toggle Last User Tag applies again: its key is shown
    // here without being given a second time.
    if (list[i] == last_tag_ && tags == last_tags_) {
      if (const QAction* repeat = host_->GetActions().Get(kCmdRepeatLastTag))
        text += u'\t' + repeat->shortcut().toString(QKeySequence::NativeText);
    }
    QAction* item = AddItem(menu, text, kCmdToggleTagFirst + static_cast<int>(i));
    item->setCheckable(true);
    item->setEnabled(current >= 0);
    item->setChecked(current >= 0 && list[i]->IsTagged(current));
    item->setStatusTip(TagPrompt(platform::kIdsToggleUserTag, list[i]));
    toggle_items_.push_back(item);
  }
}

CTagDB* CUserTagMenus::TagAt(CVornChildFrame* window, int i) {
  CTagsDB* tags = TagsOfWindow(window);
  if (!tags || i < 0 || static_cast<size_t>(i) >= tags->GetCount()) return nullptr;
  return tags->GetTags()[static_cast<size_t>(i)];
}

bool CUserTagMenus::OnCommand(CVornChildFrame* window, int id) {
  if (id == kCmdUserTags) {
    ShowTagList(window);
    return true;
  }
  if (id >= kCmdViewTagFirst && id < kCmdViewTagFirst + kMaxMenuTags) {
    if (CTagDB* tag = TagAt(window, id - kCmdViewTagFirst)) window->GetQueryThing().ToggleTag(tag);
    return true;
  }
  if (id >= kCmdToggleTagFirst && id < kCmdToggleTagFirst + kMaxMenuTags) {
    if (CTagDB* tag = TagAt(window, id - kCmdToggleTagFirst)) ToggleSelection(window, tag);
    return true;
  }
  return false;
}

void CUserTagMenus::ToggleSelection(CVornChildFrame* window, CTagDB* tag) {
  CQueryThing& state = window->GetQueryThing();
  CVornView* pane = window->GetActivePane();
  state.GetMarkup().GetViewTags().ToggleSelection(tag, pane->GetMetrics().GetSelection(),
                                                  state.GetCurrentWordIndex());
  last_tag_ = tag;
  last_tags_ = TagsOfWindow(window);
}

bool CUserTagMenus::CanRepeatLastTag(CVornChildFrame* window) const {
  // The pointers are compared before the tag is used: a tag deleted since
  // is in no list and shown by no window.
  CTagsDB* tags = TagsOfWindow(window);
  return last_tag_ && tags && tags == last_tags_ && tags->Contains(last_tag_) &&
         window->GetQueryThing().IsTagDisplayed(last_tag_);
}

bool CUserTagMenus::RepeatLastTag(CVornChildFrame* window) {
  if (!CanRepeatLastTag(window)) return false;
  ToggleSelection(window, last_tag_);
  return true;
}

void CUserTagMenus::ShowTagList(CVornChildFrame* window) {
  CTagsDB* tags = TagsOfWindow(window);
  if (!tags) return;
  CUserTagsDialog dialog(host_->GetMainWindow(), tags, &window->GetQueryThing(),
                         host_->GetMessageSink());
  dialog.exec();
  if (last_tags_ == tags && !tags->Contains(last_tag_)) last_tag_ = nullptr;
}

}  // namespace vorn::shell
