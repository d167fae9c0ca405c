// The main frame: menus, the navigation bar with its query box, the word
// details bar, the status bar and the document windows of one process. It
// owns the settings, the database catalogue and the message sink.
#pragma once

#include <QMainWindow>
#include <QPointer>
#include <memory>
#include <string>
#include <vector>

#include "refs/bookmarks.h"
#include "shell/actions.h"
#include "shell/options.h"
#include "shell/window_host.h"
#include "textdb/catalogue.h"
#include "textdb/ini_file.h"

class QLabel;
class QMdiArea;
class QMenu;
class QDockWidget;

namespace vorn {
class CPropositionsList;
class CVornDB;
namespace platform {
class CMessageSink;
}
}  // namespace vorn

namespace vorn::shell {

class CActions;
class CNavBar;
class CRichQueryBox;
class CPrintSetup;
class CMarking;
class CWordContextMenu;
class CQueryBuilders;
class CBookmarkMenu;
class CVornChildFrame;
class CWordDetailsBar;

// The catalogue slot each fixed Open command opens, without and with Shift.
struct OpenSlot {
  int command;
  int slot;
  int shift_slot;
};
inline constexpr OpenSlot kOpenSlots[] = {
    {kCmdOpenHebrewOT, 0, 0}, {kCmdOpenSeptuagintI, 1, 2}, {kCmdOpenSeptuagintII, 2, 1},
    {kCmdOpenGreekNT, 3, 4},  {kCmdOpenByzantineNT, 4, 3},
};
// The slot `command` opens (-1 for another command).
int SlotOfCommand(int command, bool shift);

struct MainFrameOptions {
  std::vector<std::string> data_folders;  // empty: the default folders
  std::string settings_path;              // empty: Vorn.ini in the working folder
  std::string desktop_path;               // empty: StartUp.vdt in the working folder
  std::string user_folder;  // empty: the databases' user folders in the working folder
  // Messages go to stderr instead of message boxes (for unattended runs).
  bool quiet = false;
  // When set, all messages go here instead (borrowed; must outlive the frame).
  platform::CMessageSink* sink = nullptr;
  // The store of the reference exchange with other programs; empty: none.
  std::string exchange_folder;
};

class CVornMainFrame : public QMainWindow, public CWindowHost {
  Q_OBJECT
 public:
  explicit CVornMainFrame(const MainFrameOptions& options);
  ~CVornMainFrame() override;

  CVornDBs& GetCatalogue() { return *dbs_; }
  QMainWindow* GetMainWindow() override { return this; }
  CActions& GetActions() override { return *actions_; }
  CMarking& GetMarking() { return *marking_; }
  CWordContextMenu& GetWordMenu() { return *word_menu_; }
  platform::CMessageSink* GetMessageSink() const override { return sink_.get(); }
  QMdiArea* GetMdiArea() const { return mdi_; }
  CNavBar* GetNavBar() const { return nav_bar_; }
  CRichQueryBox* GetQueryBox() const;
  QMenu* GetOpenMenu() const { return open_menu_; }
  CWordDetailsBar* GetWordBar() const { return word_bar_; }
  // The application's printer and page margins; made on first use.
  CPrintSetup& GetPrintSetup();

  // Opens a new window on catalogue entry `index`; null when the entry has
  // no database.
  CVornChildFrame* OpenEntry(int index);
  // A fixed Open command, Shift held or not; null when its slot is empty.
  CVornChildFrame* OpenSlotCommand(int command, bool shift);
  // Whether a fixed Open command is enabled: its slot is filled.
  bool IsSlotPresent(int slot) const;
  // Fills the Open menu: the fixed commands, then one item per further entry.
  void BuildOpenMenu();

  CVornChildFrame* ActiveWindow() const override;
  std::vector<CVornChildFrame*> Windows() const override;
  // Runs the query box's text in the active window; on success the status
  // bar tells the number of matches.
  bool RunQueryFromBox() override;
  // Routes a command to the frame, the active window or its pane.
  void Dispatch(int id) override;
  // The query box and the status bar show what belongs to `window` (null: nothing changes), the
  // query box's content of the window left behind kept for its return.
  void ShowWindowQuery(CVornChildFrame* window);
  // Every window shows its own query next (a desktop was restored): what the box held for each
  // is dropped.
  void ForgetQueryBoxContents();
  // A frame (of the default or a remembered size) that would reach past the screen's edges is
  // shown maximised instead; called before the frame is first shown.
  void FitToScreen();
  // Sets every action's enabled and checked state.
  void UpdateActions() override;

  // From the windows.
  void ActiveFocusChanged(CVornChildFrame* window);
  void WindowActivated(CVornChildFrame* window);
  void FocusQueryBox();
  // Moves the keyboard focus to the next (or previous) stop of the Tab order: book, chapter,
  // verse, query box, prompts, the active window's text pane and hits pane, round again. False
  // when the focus is on none of them (Qt's own order then applies).
  bool StepKeyboardFocus(bool next);
  // Another program's reference, mapped into the navigation bar's database:
  // the active window goes there when it is on that database, its pane
  // taking the keyboard focus.
  void ShowReceivedReference(const CBibleRef& ref);
  // Every pane on `db` takes the database's current line fonts.
  void LineFontsChanged(CVornDB* db);

  // --- Application state: settings, options, bookmarks, desktops, scroll
  // groups (main_frame_state.cpp).

  CVornIni& GetSettings() override { return *ini_; }
  CQueryTool& GetQueryTool() override;
  CBookmarks& GetBookmarks() { return bookmarks_; }
  // The options as read at start or last confirmed in the Options dialog.
  const COptions& GetOptions() const { return options_; }
  // Takes `options` (refused unless every value is in range) and keeps them
  // in the settings.
  bool SetOptions(const COptions& options);
  // Gives a window's panes the word-tip times of the options.
  void ApplyOptions(CVornChildFrame* window) const;
  // The verse of the active window's focus word; an empty reference without
  // a window.
  CBibleRef CurrentReference() const;
  const std::string& GetDesktopPath() const { return desktop_path_; }
  // The folder holding the databases' user folders (tags, propositions).
  const std::string& GetUserFolder() const { return user_folder_; }
  // Reads the start-up desktop unless `shift` is held. False when none was
  // read (Shift held, or no readable file).
  [[nodiscard]] bool LoadStartUpDesktop(bool shift);
  // What exit saves: the main frame's state into the settings, the desktop
  // into the start-up desktop when SaveOnExit is on and `shift` is not held
  // (message 70 when it cannot be written); then every window closes, top
  // first, offering to save its user data.
  void SaveStateForExit(bool shift);
  // Reads and applies a desktop file; false when it cannot be read or a
  // window the user keeps open stops it.
  [[nodiscard]] bool LoadDesktopFile(const std::string& path);
  // Writes the current desktop; false when it cannot be written.
  [[nodiscard]] bool SaveDesktopFile(const std::string& path);
  // A window's focus verse changed: its scroll group follows.
  void ScrollGroupFocusChanged(CVornChildFrame* window);
  // While paused (a desktop is being restored) no window leads its group.
  void SetScrollGroupsPaused(bool paused) { scroll_groups_paused_ = paused; }

 protected:
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  bool focusNextPrevChild(bool next) override;

 private:
  void CreateMenus();
  void CreateBars();
  bool OnFrameCommand(int id);
  void ShowNavigation(CVornChildFrame* window);
  // Keeps a docked Word Analysis from taking the text's room in a small frame.
  void FitDocks();
  // "Match K of N" when the focus is on a hit, "N matches" for a window that ran a query,
  // else "Ready".
  void ShowQueryStatus(CVornChildFrame* window);
  // Commands of main_frame_state.cpp; false for another id.
  bool OnStateCommand(int id);
  bool UpdateStateCommand(int id, bool* enabled, bool* checked);
  void InitState();
  void BuildBookmarkMenu();

  std::unique_ptr<CVornIni> ini_;
  std::vector<std::string> data_folders_;
  std::unique_ptr<platform::CMessageSink> sink_;
  std::unique_ptr<CVornDBs> dbs_;
  std::unique_ptr<CPropositionsList> props_;
  CActions* actions_ = nullptr;
  CMarking* marking_ = nullptr;
  CWordContextMenu* word_menu_ = nullptr;
  QMdiArea* mdi_ = nullptr;
  QMenu* open_menu_ = nullptr;
  CNavBar* nav_bar_ = nullptr;
  CQueryBuilders* query_builders_ = nullptr;
  std::string ranges_path_;  // Ranges.ini, beside the settings file
  CWordDetailsBar* word_bar_ = nullptr;
  std::vector<std::unique_ptr<int>> documents_;  // one token per opened entry
  std::unique_ptr<CPrintSetup> print_setup_;
  CBookmarks bookmarks_;
  COptions options_;
  std::string desktop_path_;
  std::string user_folder_;
  std::string exchange_folder_;
  QString desktop_dir_;  // where the desktop dialogs start
  CBookmarkMenu* bookmark_menu_ = nullptr;
  bool scroll_groups_paused_ = false;
  bool following_group_ = false;
  // The window whose query the query box shows.
  QPointer<CVornChildFrame> query_owner_;
  bool query_box_claimed_ = false;
};

}  // namespace vorn::shell
