// The main frame's application state: options, bookmarks, desktops, the
// start-up desktop and what exit saves, and the scroll groups.
#include <QApplication>
#include <QDir>
#include <QFileInfo>

#include "layout/layout_box.h"
#include "platform/message_sink.h"
#include "platform/string_table.h"
#include "query/query_context.h"
#include "querystate/query_thing.h"
#include "refs/bible_ref.h"
#include "shell/actions.h"
#include "shell/bookmark_menu.h"
#include "shell/child_frame.h"
#include "shell/desktop.h"
#include "shell/main_frame.h"
#include "shell/options_dialog.h"
#include "shell/scroll_group.h"
#include "shell/vorn_view.h"
#include "shell/word_tip.h"

namespace vorn::shell {

namespace {

// The bookmark after (or before) the current verse in the current database; past the last one
// the steps go round to the first (before the first, to the last). The current reference when
// no other bookmark is in the database.
CBibleRef StepBookmark(const CBookmarks& marks, const CBibleRef& current, bool next) {
  const CBibleRef target = next ? marks.Next(current) : marks.Previous(current);
  if (target.HasEntry() && !target.IsEqual(current)) return target;
  const size_t n = marks.GetCount();
  for (size_t k = 0; k < n; ++k) {
    CBibleRef mapped = marks.GetBookmark(next ? k : n - 1 - k, current.GetDatabase());
    if (mapped.HasEntry() && !mapped.IsEqual(current)) return mapped;
  }
  return current;
}

}  // namespace

void CVornMainFrame::InitState() {
  desktop_dir_ = QFileInfo(QString::fromStdString(desktop_path_)).absolutePath();
  RestoreMainFrame(this, *ini_);
  options_.Load(*ini_);
  SetSelectionFill(options_.UsesYellowSelection());
}

bool CVornMainFrame::SetOptions(const COptions& options) {
  if (!options.IsValid()) return false;
  options_ = options;
  options_.Save(ini_.get());
  SetSelectionFill(options_.UsesYellowSelection());
  for (CVornChildFrame* w : Windows()) ApplyOptions(w);
  return true;
}

void CVornMainFrame::ApplyOptions(CVornChildFrame* window) const {
  for (CVornView* pane : {window->GetTextPane(), window->GetHitsPane()}) {
    if (CWordTip* tip = pane->GetWordTip()) {
      tip->SetDelay(options_.word_tip_delay);
      tip->SetShowTime(options_.word_tip_time);
    }
    pane->viewport()->update();  // the selection style may have changed
  }
  window->GetQueryThing().GetQueryContext()->SetLooseMatching(options_.loose_matching);
}

CBibleRef CVornMainFrame::CurrentReference() const {
  CVornChildFrame* w = ActiveWindow();
  if (!w) return CBibleRef();
  return CBibleRef(w->GetDatabase(), w->GetFocusWord());
}

bool CVornMainFrame::LoadStartUpDesktop(bool shift) {
  if (shift) return false;
  CDeskTop desktop(this, nullptr);
  if (!desktop.Read(desktop_path_)) return false;
  desktop.Apply();
  return true;
}

void CVornMainFrame::SaveStateForExit(bool shift) {
  SaveMainFrame(this, ini_.get());
  if (ini_->GetSaveOnExit() && !shift && !SaveDesktopFile(desktop_path_)) {
    sink_->ShowWarning(std::u16string(platform::LoadString(platform::kIdsCantSaveDesktop)));
  }
  CloseAllWindows(this);
}

bool CVornMainFrame::LoadDesktopFile(const std::string& path) {
  CDeskTop desktop(this, nullptr);
  return desktop.Read(path) && desktop.Apply();
}

bool CVornMainFrame::SaveDesktopFile(const std::string& path) {
  CDeskTop desktop(this, nullptr);
  desktop.Capture();
  return desktop.Write(path);
}

void CVornMainFrame::ScrollGroupFocusChanged(CVornChildFrame* window) {
  // The followers' own focus changes come back here; they must not lead.
  if (scroll_groups_paused_ || following_group_) return;
  following_group_ = true;
  FollowScrollGroup(window, Windows());
  following_group_ = false;
}

void CVornMainFrame::ShowReceivedReference(const CBibleRef& ref) {
  CVornChildFrame* w = ActiveWindow();
  if (!w || ref.GetDatabase() != w->GetDatabase() || !ref.HasEntry()) return;
  w->GoTo(ref);
  w->GetActivePane()->setFocus(Qt::OtherFocusReason);
}

void CVornMainFrame::BuildBookmarkMenu() {
  if (bookmark_menu_)
    bookmark_menu_->Rebuild(bookmarks_, CurrentReference(), ActiveWindow() != nullptr);
}

bool CVornMainFrame::OnStateCommand(int id) {
  CVornChildFrame* w = ActiveWindow();
  if (id >= CBookmarks::kFirstCommand &&
      id < CBookmarks::kFirstCommand + CBookmarkMenu::kMaxItems) {
    const size_t n = static_cast<size_t>(id - CBookmarks::kFirstCommand);
    if (w && n < bookmarks_.GetCount()) {
      const CBibleRef target = bookmarks_.GetBookmark(n, w->GetDatabase());
      if (target.HasEntry()) w->GoTo(target);
    }
    return true;
  }
  switch (id) {
    case kCmdAddBookmark:
    case kCmdClearBookmark:
    case kCmdClearAllBookmarks:
      if (id == kCmdClearAllBookmarks) {
        bookmarks_.Clear();
      } else if (w && id == kCmdAddBookmark) {
        bookmarks_.Add(CurrentReference());
      } else if (w) {
        bookmarks_.Remove(CurrentReference());
      }
      // The text panes mark the bookmarked verses.
      for (CVornChildFrame* window : Windows()) window->GetTextPane()->viewport()->update();
      return true;
    case kCmdNextBookmark:
    case kCmdPreviousBookmark: {
      if (!w) return true;
      const CBibleRef current = CurrentReference();
      const CBibleRef target = StepBookmark(bookmarks_, current, id == kCmdNextBookmark);
      if (target.HasEntry() && !target.IsEqual(current)) {
        w->GoTo(target);
      } else {
        QApplication::beep();
      }
      return true;
    }
    case kCmdLoadDesktop: {
      CDeskTop desktop(this, &desktop_dir_);
      desktop.LoadWithDialog(this);
      return true;
    }
    case kCmdSaveDesktop: {
      CDeskTop desktop(this, &desktop_dir_);
      desktop.SaveWithDialog(this);
      return true;
    }
    case kCmdOptions: {
      COptionsDialog dialog(options_, this);
      if (dialog.exec() == QDialog::Accepted) SetOptions(dialog.GetOptions());
      return true;
    }
    default:
      return false;
  }
}

bool CVornMainFrame::UpdateStateCommand(int id, bool* enabled, bool* checked) {
  CVornChildFrame* w = ActiveWindow();
  *checked = false;
  switch (id) {
    case kCmdAddBookmark:
      *enabled = w && bookmarks_.CanAdd(CurrentReference());
      return true;
    case kCmdClearBookmark: {
      const CBibleRef current = CurrentReference();
      *enabled = w && current.HasEntry() && bookmarks_.Contains(current);
      return true;
    }
    case kCmdClearAllBookmarks:
      *enabled = !bookmarks_.IsEmpty();
      return true;
    case kCmdNextBookmark:
    case kCmdPreviousBookmark: {
      const CBibleRef current = CurrentReference();
      if (!w || !current.HasEntry() || bookmarks_.IsEmpty()) {
        *enabled = false;
        return true;
      }
      const CBibleRef target = StepBookmark(bookmarks_, current, id == kCmdNextBookmark);
      *enabled = target.HasEntry() && !target.IsEqual(current);
      return true;
    }
    case kCmdLoadDesktop:
    case kCmdSaveDesktop:
    case kCmdOptions:
      *enabled = true;
      return true;
    default:
      return false;
  }
}

}  // namespace vorn::shell
