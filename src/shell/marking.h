// The Marking menu of the main frame and everything behind it: the user-tag
// menus and the tag list dialog, the proposition editing commands, the
// propositions bar, and the offers to save a window's markup when it
// closes. Routed commands come here first from the frame and the windows.
#pragma once

#include <QObject>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class QMenu;
class QToolBar;

namespace vorn {
class CPropositions;
class CPropositionsList;
class CQueryThing;
}  // namespace vorn

namespace vorn::shell {

class CPropositionsBar;
class CUserTagMenus;
class CVornChildFrame;
class CWindowHost;

class CMarking : public QObject {
  Q_OBJECT
 public:
  // Asks for a propositions name, offering `initial`; nullopt when the user
  // cancels.
  using NameAsker = std::function<std::optional<std::u16string>(const std::u16string& initial)>;

  // `host` owns this object (its main window is the parent); `props` (the
  // host's analyses) must outlive it. Installs the name provider of `props`.
  CMarking(CWindowHost* host, CPropositionsList* props);
  ~CMarking() override;

  // Fills the Marking menu: the tag list, the View submenu, Repeat Last
  // Tag, the proposition commands with their Load and Merge submenus, and
  // (rebuilt whenever it drops down) one toggle item per displayed tag.
  void FillMenu(QMenu* menu);
  // Makes the propositions bar, hidden, and adds it to the frame.
  QToolBar* CreateBar();

  // Frame commands (Repeat Last Tag, the propositions bar switch); true
  // when handled.
  bool OnFrameCommand(int id);
  bool UpdateFrameCommand(int id, bool* enabled, bool* checked);
  // Commands of `window` and its panes; true when handled.
  bool OnCommand(CVornChildFrame* window, int id);
  bool UpdateCommand(CVornChildFrame* window, int id, bool* enabled, bool* checked);
  // Shows the active window's propositions name on the bar (`window` may be
  // null).
  void UpdateBar(CVornChildFrame* window);

  // Before `window` closes: offers to save each modified tag that no other
  // window shows (Yes, No, Cancel), then lets go of the window's tags and
  // propositions (the last view of modified propositions is asked too).
  // False, with nothing released, when the user cancels.
  bool CloseWindow(CVornChildFrame* window);
  // Before the frame closes: offers to save every modified tag any window
  // shows. False when the user cancels.
  bool OfferToSaveAllTags();

  // Replaces the dialog that asks for a propositions name.
  void SetNameAsker(NameAsker asker) { ask_name_ = std::move(asker); }
  // Asks until a name passes the Save As checks for `props`: empty names
  // are refused, an existing file is overwritten only when confirmed. Empty
  // when cancelled.
  std::u16string AskPropositionsName(const CPropositions* props);

  CUserTagMenus& GetTagMenus() { return *tags_; }
  CPropositionsBar* GetBar() const { return bar_; }
  QMenu* GetLoadMenu() const { return load_menu_; }
  QMenu* GetMergeMenu() const { return merge_menu_; }

 private:
  // Offers to save the modified tags shown by `closing` and by no window
  // of `staying`. False on Cancel.
  bool OfferToSaveTags(const std::vector<CQueryThing*>& closing,
                       const std::vector<CQueryThing*>& staying);
  void BuildFileMenu(QMenu* menu, int first_id);
  bool OnPropositionCommand(CVornChildFrame* window, int id);
  void SavePropositionsAs(CVornChildFrame* window);

  CWindowHost* host_;
  CPropositionsList* props_;
  CUserTagMenus* tags_ = nullptr;
  CPropositionsBar* bar_ = nullptr;
  QMenu* load_menu_ = nullptr;
  QMenu* merge_menu_ = nullptr;
  NameAsker ask_name_;
};

}  // namespace vorn::shell
