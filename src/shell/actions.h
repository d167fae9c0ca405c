// Every command of the desktop program, created once: its id (the stored
// command id, which desktops and menus use), its menu text, its shortcut
// and where it is routed. Menus, bars and key handling all use these
// actions; nothing else makes a QAction for a command.
#pragma once

#include <QObject>
#include <functional>
#include <map>
#include <span>

class QAction;

namespace vorn::shell {

// Who handles a command: the main frame, the active document window, or the
// active pane of that window (any pane, only the text pane, only the hits
// pane).
enum class CommandTarget { kFrame, kWindow, kPane, kTextPane, kHitsPane };

struct CommandDef {
  int id;
  const char* text;      // with "&" before the mnemonic
  const char* shortcut;  // QKeySequence text; "" for none
  CommandTarget target;
  bool checkable;
};

// The command ids the shell refers to by name.
enum CommandId : int {
  kCmdOpenGreekNT = 1300,
  kCmdOpenHebrewOT = 1301,
  kCmdOpenSeptuagintI = 1304,
  kCmdOpenSeptuagintII = 33046,
  kCmdOpenByzantineNT = 33072,
  kCmdOpenBibleFirst = 35600,  // 35600 + catalogue entry
  kCmdOpenBibleLast = 35699,
  kCmdAddBookmark = 1302,
  kCmdGoForward = 1493,
  kCmdSaveOnExit = 32774,
  kCmdNextMatch = 32803,
  kCmdPreviousMatch = 32804,
  kCmdNextQuery = 32805,
  kCmdPreviousQuery = 32806,
  kCmdWordBar = 32810,
  kCmdPropositionsBar = 32811,
  kCmdRightToLeft = 32830,
  kCmdMagnifyFirst = 32832,  // 32832..32837: 65, 85, 100, 130, 150, 200 %
  kCmdMagnifyLast = 32837,
  kCmdSendRefs = 32876,
  kCmdReceiveRefs = 32878,
  kCmdUserTags = 32905,
  kCmdClearBookmark = 32907,
  kCmdClearAllBookmarks = 32908,
  kCmdHelp = 33001,
  kCmdAbout = 57664,  // the framework's own id for the About box
  kCmdBibleInfo = 33020,
  kCmdLoadDesktop = 33041,
  kCmdSaveDesktop = 33042,
  kCmdNoCantillations = 33043,
  kCmdConsonantsOnly = 33044,
  kCmdCopyAsText = 33045,
  kCmdWordTips = 33047,
  kCmdScrollGroupNone = 33048,  // 33048..33052: none, A, B, C, D
  kCmdScrollGroupD = 33052,
  kCmdCloseAll = 33053,
  kCmdPaperWidth = 33054,
  kCmdRepeatLastTag = 33055,
  kCmdSelectAllHits = 33056,
  kCmdArrangeWindows = 33064,
  kCmdOptions = 33065,
  kCmdGoBack = 33066,
  kCmdGoOrigin = 33068,
  kCmdAnalyse = 33069,
  kCmdLineFonts = 33070,
  // The chart of the active window's hits per book; the program's own id.
  kCmdHitChart = 33140,
  // Step to the next or previous bookmark in the active window; the ids
  // are the program's own, clear of every stored one.
  kCmdNextBookmark = 33110,
  kCmdPreviousBookmark = 33111,
  // The query builders of the Query menu and the history drop-down.
  kCmdQueryWordList = 33120,
  kCmdQueryTagChooser = 33121,
  kCmdQueryLinkKinds = 33122,
  kCmdQueryRange = 33123,
  kCmdQueryHistory = 33124,
  // The word menu's own commands on the current word.
  kCmdEditNote = 33130,
  kCmdCopyWord = 33131,
  kCmdCopyVerse = 33132,
  kCmdNotesList = 33133,
  // 35001..35007: Text, Translit, Tags, Glosses, Base Forms, Strong's
  // numbers (the line with none of the other roles), Notes (the links line).
  kCmdLineFirst = 35001,
  kCmdLineLast = 35007,
  kCmdLineAltFirst = 35021,  // the same seven for the bar's buttons
  kCmdLineAltLast = 35027,
  kCmdPageSetup = 57605,
  kCmdPrint = 57607,
  kCmdPrintPreview = 57609,
  kCmdRemoveMatch = 57632,
  kCmdCopy = 57634,
  kCmdFind = 57636,
  kCmdCascade = 57650,
  kCmdTile = 57651,
  kCmdExit = 57665,
  kCmdNavBar = 59392,
};

// The command table, in menu order within each target.
std::span<const CommandDef> CommandTable();
// The entry of `id`; null when there is none.
const CommandDef* FindCommand(int id);

class CActions : public QObject {
  Q_OBJECT
 public:
  // Makes one QAction per table entry, children of this object; each one
  // calls `dispatch` with its id when triggered.
  CActions(QObject* parent, std::function<void(int)> dispatch);
  ~CActions() override;

  // The action of `id`; null for an id outside the table.
  QAction* Get(int id) const;
  const std::map<int, QAction*>& All() const { return actions_; }

 private:
  std::map<int, QAction*> actions_;
};

}  // namespace vorn::shell
