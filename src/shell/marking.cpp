#include "shell/marking.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QInputDialog>
#include <QMainWindow>
#include <QMenu>
#include <algorithm>
#include <set>

#include "layout/layout_kinds.h"
#include "markup/markup_context.h"
#include "markup/propositions.h"
#include "markup/propositions_list.h"
#include "markup/tags_db.h"
#include "platform/string_table.h"
#include "querystate/query_thing.h"
#include "shell/actions.h"
#include "shell/child_frame.h"
#include "shell/propositions_bar.h"
#include "shell/qt_device.h"
#include "shell/user_tag_menus.h"
#include "shell/vorn_view.h"
#include "shell/window_host.h"

namespace vorn::shell {

namespace {

bool IsEditCommand(int id) { return id >= kCmdPropSplit && id <= kCmdPropUndo; }
bool IsLevelCommand(int id) { return id >= kCmdPropLevelFirst && id <= kCmdPropLevelAll; }

bool ShowsPropositions(const CVornView* pane) { return pane->GetLayoutId() == kLayoutPropositions; }

// What the editing commands work on: the pane's selection, or its focus
// word when nothing is selected (after moving with the keys).
std::vector<WordIndex> EditedWords(CVornView* pane) {
  std::vector<WordIndex> words = pane->GetMetrics().GetSelection();
  if (words.empty() && pane->GetFocusWord() >= 0) words.push_back(pane->GetFocusWord());
  return words;
}

}  // namespace

CMarking::CMarking(CWindowHost* host, CPropositionsList* props)
    : QObject(host->GetMainWindow()), host_(host), props_(props) {
  tags_ = new CUserTagMenus(host);
  ask_name_ = [this](const std::u16string& initial) -> std::optional<std::u16string> {
    QInputDialog dialog(host_->GetMainWindow());
    dialog.setWindowTitle(tr("Save Propositions As"));
    dialog.setLabelText(tr("Name:"));
    dialog.setTextValue(ToQString(initial));
    // The dialog sizes itself to its label; a title bar that narrow elides
    // the title to "Save P… ns As".
    const int title = dialog.fontMetrics().horizontalAdvance(dialog.windowTitle());
    dialog.setMinimumWidth(std::max(dialog.minimumSizeHint().width(), 2 * title + 120));
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return FromQString(dialog.textValue().trimmed());
  };
  props_->SetNameProvider([this](CPropositions* p) { return AskPropositionsName(p); });
}

CMarking::~CMarking() = default;

void CMarking::FillMenu(QMenu* menu) {
  CActions& actions = host_->GetActions();
  menu->addAction(actions.Get(kCmdUserTags));
  QMenu* view = menu->addMenu(tr("&View"));
  connect(view, &QMenu::aboutToShow, this,
          [this, view] { tags_->BuildViewMenu(view, host_->ActiveWindow()); });
  tags_->BuildViewMenu(view, nullptr);
  menu->addAction(actions.Get(kCmdRepeatLastTag));
  menu->addSeparator();
  for (int id = kCmdPropSplit; id <= kCmdPropUndo; ++id) menu->addAction(actions.Get(id));
  menu->addSeparator();
  auto* levels = new QActionGroup(this);
  levels->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
  for (int id = kCmdPropLevelFirst; id <= kCmdPropLevelAll; ++id) {
    levels->addAction(actions.Get(id));
    menu->addAction(actions.Get(id));
  }
  menu->addSeparator();
  for (int id : {kCmdPropSave, kCmdPropSaveAs, kCmdPropReload, kCmdPropUnload})
    menu->addAction(actions.Get(id));
  load_menu_ = menu->addMenu(tr("&Load"));
  merge_menu_ = menu->addMenu(tr("&Merge"));
  connect(load_menu_, &QMenu::aboutToShow, this,
          [this] { BuildFileMenu(load_menu_, kCmdPropLoadFirst); });
  connect(merge_menu_, &QMenu::aboutToShow, this,
          [this] { BuildFileMenu(merge_menu_, kCmdPropMergeFirst); });
  BuildFileMenu(load_menu_, kCmdPropLoadFirst);
  BuildFileMenu(merge_menu_, kCmdPropMergeFirst);
  connect(menu, &QMenu::aboutToShow, this,
          [this, menu] { tags_->BuildToggleItems(menu, host_->ActiveWindow()); });
}

QToolBar* CMarking::CreateBar() {
  bar_ = new CPropositionsBar(host_->GetMainWindow(), &host_->GetActions());
  // A row of its own: the navigation bar's query box takes the width.
  host_->GetMainWindow()->addToolBarBreak(Qt::TopToolBarArea);
  host_->GetMainWindow()->addToolBar(Qt::TopToolBarArea, bar_);
  bar_->hide();
  return bar_;
}

void CMarking::BuildFileMenu(QMenu* menu, int first_id) {
  menu->clear();
  CVornChildFrame* window = host_->ActiveWindow();
  const std::vector<std::u16string> names =
      window ? props_->ListFiles(window->GetDatabase()) : std::vector<std::u16string>();
  if (names.empty()) {
    menu->addAction(ToQString(platform::LoadString(platform::kIdsNoPropositionFiles)))
        ->setEnabled(false);
    return;
  }
  const size_t room = static_cast<size_t>(kCmdPropLoadLast - kCmdPropLoadFirst + 1);
  for (size_t i = 0; i < names.size() && i < room; ++i) {
    const int id = first_id + static_cast<int>(i);
    QAction* item = menu->addAction(ToQString(names[i]));
    item->setData(id);
    connect(item, &QAction::triggered, this, [this, id] { host_->Dispatch(id); });
  }
}

bool CMarking::OnFrameCommand(int id) {
  switch (id) {
    case kCmdRepeatLastTag:
      if (!tags_->RepeatLastTag(host_->ActiveWindow())) QApplication::beep();
      return true;
    case kCmdPropositionsBar:
      if (bar_) bar_->setVisible(!bar_->isVisible());
      return true;
    default:
      return false;
  }
}

bool CMarking::UpdateFrameCommand(int id, bool* enabled, bool* checked) {
  switch (id) {
    case kCmdRepeatLastTag:
      *enabled = tags_->CanRepeatLastTag(host_->ActiveWindow());
      *checked = false;
      return true;
    case kCmdPropositionsBar:
      *enabled = bar_ != nullptr;
      *checked = bar_ && bar_->isVisible();
      return true;
    default:
      return false;
  }
}

bool CMarking::OnCommand(CVornChildFrame* window, int id) {
  if (!window) return false;
  if (tags_->OnCommand(window, id)) return true;
  return OnPropositionCommand(window, id);
}

bool CMarking::OnPropositionCommand(CVornChildFrame* window, int id) {
  CVornView* pane = window->GetTextPane();
  CQueryThing& state = window->GetQueryThing();
  if (IsEditCommand(id) || IsLevelCommand(id)) {
    // Only the Propositions layout edits; elsewhere the commands (and their
    // keys) do nothing.
    if (!ShowsPropositions(pane)) return true;
    if (IsLevelCommand(id)) {
      pane->GetMetrics().SetPropositionLevel(id == kCmdPropLevelAll ? kAllLevels
                                                                    : id - kCmdPropLevelFirst + 1);
      pane->Invalidate();
      return true;
    }
    CPropositions* props = state.GetPropositions();
    const std::vector<WordIndex> words = EditedWords(pane);
    switch (id) {
      case kCmdPropSplit:
        props->Split(words);
        break;
      case kCmdPropJoin:
        props->Join(words);
        break;
      case kCmdPropShiftLeft:
        props->ShiftLeft(words);
        break;
      case kCmdPropShiftRight:
        props->ShiftRight(words);
        break;
      default:
        if (!props->Undo()) QApplication::beep();
        break;
    }
    return true;
  }
  if (id >= kCmdPropLoadFirst && id <= kCmdPropMergeLast) {
    const bool load = id <= kCmdPropLoadLast;
    const size_t i = static_cast<size_t>(id - (load ? kCmdPropLoadFirst : kCmdPropMergeFirst));
    const std::vector<std::u16string> names = props_->ListFiles(window->GetDatabase());
    if (i >= names.size()) return true;
    if (load) {
      state.SetPropositions(names[i]);
    } else {
      // A file that cannot be read has been reported and changes nothing.
      static_cast<void>(state.GetPropositions()->Merge(names[i]));
    }
    pane->Invalidate();
    return true;
  }
  switch (id) {
    case kCmdPropSave: {
      CPropositions* props = state.GetPropositions();
      if (props->GetName().empty()) {
        SavePropositionsAs(window);
      } else {
        // A failed save has been reported; the analysis stays modified.
        static_cast<void>(props->Save());
      }
      return true;
    }
    case kCmdPropSaveAs:
      SavePropositionsAs(window);
      return true;
    case kCmdPropReload:
      // False when nothing was modified or the file cannot be read (reported).
      static_cast<void>(state.GetPropositions()->Reload());
      pane->Invalidate();
      return true;
    case kCmdPropUnload:
      state.DropPropositions();
      pane->Invalidate();
      return true;
    default:
      return false;
  }
}

void CMarking::SavePropositionsAs(CVornChildFrame* window) {
  CQueryThing& state = window->GetQueryThing();
  const std::u16string name = AskPropositionsName(state.GetPropositions());
  if (name.empty()) return;
  // A failed save has been reported; the analysis stays modified.
  static_cast<void>(state.GetMarkup().SavePropositionsAs(name));
  window->GetTextPane()->Invalidate();
}

std::u16string CMarking::AskPropositionsName(const CPropositions* props) {
  if (!ask_name_ || !props) return {};
  std::u16string initial = props->GetName();
  for (;;) {
    const std::optional<std::u16string> name = ask_name_(initial);
    if (!name) return {};
    if (props_->ConfirmSaveAsName(props, *name)) return *name;
    initial = *name;
  }
}

bool CMarking::UpdateCommand(CVornChildFrame* window, int id, bool* enabled, bool* checked) {
  if (!window) return false;
  if (id == kCmdUserTags) {
    *enabled = TagsOfWindow(window) != nullptr;
    *checked = false;
    return true;
  }
  CVornView* pane = window->GetTextPane();
  if (IsEditCommand(id)) {
    *checked = false;
    *enabled = ShowsPropositions(pane) &&
               (id != kCmdPropUndo || window->GetQueryThing().GetPropositions()->CanUndo());
    return true;
  }
  if (IsLevelCommand(id)) {
    const int level = pane->GetMetrics().GetPropositionLevel();
    *enabled = ShowsPropositions(pane);
    *checked = id == kCmdPropLevelAll ? level == kAllLevels : level == id - kCmdPropLevelFirst + 1;
    return true;
  }
  switch (id) {
    case kCmdPropSave:
    case kCmdPropSaveAs:
    case kCmdPropUnload:
      *enabled = true;
      *checked = false;
      return true;
    case kCmdPropReload:
      *enabled = window->GetQueryThing().GetPropositions()->IsModified();
      *checked = false;
      return true;
    default:
      return false;
  }
}

void CMarking::UpdateBar(CVornChildFrame* window) {
  if (!bar_) return;
  bar_->ShowPropositions(window ? window->GetQueryThing().GetPropositions() : nullptr);
}

bool CMarking::OfferToSaveTags(const std::vector<CQueryThing*>& closing,
                               const std::vector<CQueryThing*>& staying) {
  std::vector<CTagDB*> offered;
  for (CQueryThing* state : closing) {
    for (CTagDB* tag : state->GetDisplayedTags()) {
      if (!tag->IsModified() || std::find(offered.begin(), offered.end(), tag) != offered.end())
        continue;
      const bool shown_elsewhere = std::any_of(
          staying.begin(), staying.end(), [tag](CQueryThing* s) { return s->IsTagDisplayed(tag); });
      if (shown_elsewhere) continue;
      offered.push_back(tag);
      if (tag->SaveWithPrompt() == platform::MsgAnswer::kCancel) return false;
    }
  }
  return true;
}

bool CMarking::CloseWindow(CVornChildFrame* window) {
  std::vector<CQueryThing*> staying;
  for (CVornChildFrame* w : host_->Windows()) {
    if (w != window) staying.push_back(&w->GetQueryThing());
  }
  CQueryThing& state = window->GetQueryThing();
  if (!OfferToSaveTags({&state}, staying)) return false;
  // Saved or reverted: letting go asks nothing more about the tags. The
  // propositions ask their own question when this is their last view.
  state.ReleaseTags();
  state.DropPropositions();
  return true;
}

bool CMarking::OfferToSaveAllTags() {
  std::vector<CQueryThing*> all;
  for (CVornChildFrame* w : host_->Windows()) all.push_back(&w->GetQueryThing());
  return OfferToSaveTags(all, {});
}

}  // namespace vorn::shell
