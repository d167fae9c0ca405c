#include "shell/actions.h"

#include <QAction>
#include <QKeySequence>

#include "layout/layout_kinds.h"
#include "shell/propositions_bar.h"

namespace vorn::shell {

namespace {

using T = CommandTarget;

// Texts and ids are those the menus, the status bar and stored desktops
// know; shortcuts follow the desktop's conventions where none is fixed.
constexpr CommandDef kCommands[] = {
    // --- Main frame: the catalogue's fixed Open commands.
    {kCmdOpenHebrewOT, "&Hebrew OT", "", T::kFrame, false},
    {kCmdOpenSeptuagintI, "&Septuagint (I)", "", T::kFrame, false},
    {kCmdOpenSeptuagintII, "S&eptuagint (II)", "", T::kFrame, false},
    {kCmdOpenGreekNT, "&Greek NT", "", T::kFrame, false},
    {kCmdOpenByzantineNT, "&Byzantine NT", "", T::kFrame, false},
    // --- Main frame: desktops, options, bars, bookmarks, help.
    {kCmdLoadDesktop, "&Load Desktop", "", T::kFrame, false},
    {kCmdSaveDesktop, "&Save Desktop", "", T::kFrame, false},
    {kCmdSaveOnExit, "Save on &Exit", "", T::kFrame, true},
    {kCmdOptions, "&Options...", "", T::kFrame, false},
    {kCmdCloseAll, "Close &All", "", T::kFrame, false},
    {kCmdPageSetup, "Page &Setup...", "", T::kFrame, false},
    {kCmdExit, "E&xit", "", T::kFrame, false},
    {kCmdNavBar, "&Navigation Bar", "", T::kFrame, true},
    {kCmdWordBar, "&Word Analysis", "", T::kFrame, true},
    {kCmdPropositionsBar, "P&ropositions Bar", "", T::kFrame, true},
    {kCmdFind, "&Find", "Ctrl+F", T::kFrame, false},
    {kCmdPreviousQuery, "Previous Query", "", T::kFrame, false},
    {kCmdNextQuery, "Next Query", "", T::kFrame, false},
    {kCmdSendRefs, "&Send Scripture Refs", "Ctrl+S", T::kFrame, true},
    {kCmdReceiveRefs, "&Receive Scripture Refs", "Ctrl+R", T::kFrame, true},
    {kCmdAddBookmark, "&Add Bookmark", "Ctrl+B", T::kFrame, false},
    {kCmdClearBookmark, "&Clear Bookmark", "", T::kFrame, false},
    {kCmdClearAllBookmarks, "Clear All Bookmarks", "", T::kFrame, false},
    {kCmdNextBookmark, "Ne&xt Bookmark", "F2", T::kFrame, false},
    {kCmdPreviousBookmark, "Pre&vious Bookmark", "Shift+F2", T::kFrame, false},
    {kCmdQueryWordList, "&Word List...", "Ctrl+Shift+W", T::kFrame, false},
    {kCmdQueryTagChooser, "&Grammar Tag...", "Ctrl+Shift+G", T::kFrame, false},
    {kCmdQueryLinkKinds, "&Link Kinds...", "Ctrl+Shift+L", T::kFrame, false},
    {kCmdQueryRange, "&Passages...", "Ctrl+Shift+P", T::kFrame, false},
    {kCmdQueryHistory, "Query &History", "Ctrl+Shift+H", T::kFrame, false},
    {kCmdEditNote, "Add &Note...", "", T::kFrame, false},
    {kCmdCopyWord, "Copy &Word", "", T::kFrame, false},
    {kCmdCopyVerse, "Copy &Verse", "", T::kFrame, false},
    {kCmdNotesList, "Notes of This &Book...", "", T::kFrame, false},
    {kCmdRepeatLastTag, "Toggle &Last User Tag", "Ctrl+T", T::kFrame, false},
    {kCmdCascade, "&Cascade", "", T::kFrame, false},
    {kCmdTile, "&Tile", "", T::kFrame, false},
    {kCmdHelp, "&Help Topics", "F1", T::kFrame, false},
    {kCmdAbout, "&About Vorn...", "", T::kFrame, false},
    // --- Document window.
    {kCmdScrollGroupNone, "&None", "", T::kWindow, true},
    {kCmdScrollGroupNone + 1, "&A", "", T::kWindow, true},
    {kCmdScrollGroupNone + 2, "&B", "", T::kWindow, true},
    {kCmdScrollGroupNone + 3, "&C", "", T::kWindow, true},
    {kCmdScrollGroupD, "&D", "", T::kWindow, true},
    {kCmdUserTags, "User &Tags...", "", T::kWindow, false},
    {kCmdArrangeWindows, "A&rrange Windows", "", T::kWindow, false},
    {kCmdAnalyse, "Anal&yse results", "", T::kWindow, false},
    {kCmdHitChart, "Hits per &Book...", "", T::kWindow, false},
    {kCmdLineFonts, "Line Fonts...", "", T::kWindow, false},
    // --- Both panes.
    {kCmdLineFirst + 0, "&Text", "", T::kPane, true},
    {kCmdLineFirst + 1, "T&ranslit", "", T::kPane, true},
    {kCmdLineFirst + 2, "&Grammar Tags", "", T::kPane, true},
    {kCmdLineFirst + 3, "G&losses", "", T::kPane, true},
    {kCmdLineFirst + 4, "&Base Forms", "", T::kPane, true},
    {kCmdLineFirst + 5, "&Strong's Numbers", "", T::kPane, true},
    {kCmdLineLast, "&Notes", "", T::kPane, true},
    {kCmdLineAltFirst + 0, "Text", "", T::kPane, true},
    {kCmdLineAltFirst + 1, "Transliterations", "", T::kPane, true},
    {kCmdLineAltFirst + 2, "Grammar Tags", "", T::kPane, true},
    {kCmdLineAltFirst + 3, "Glosses", "", T::kPane, true},
    {kCmdLineAltFirst + 4, "Base Forms", "", T::kPane, true},
    {kCmdLineAltFirst + 5, "Strong's Numbers", "", T::kPane, true},
    {kCmdLineAltLast, "Notes", "", T::kPane, true},
    {kCmdMagnifyFirst + 0, "&65%", "", T::kPane, true},
    {kCmdMagnifyFirst + 1, "&85%", "", T::kPane, true},
    {kCmdMagnifyFirst + 2, "&100%", "", T::kPane, true},
    {kCmdMagnifyFirst + 3, "1&30%", "", T::kPane, true},
    {kCmdMagnifyFirst + 4, "1&50%", "", T::kPane, true},
    {kCmdMagnifyLast, "&200%", "", T::kPane, true},
    {kCmdRightToLeft, "Right->Left", "", T::kPane, true},
    {kCmdNoCantillations, "No Cantillations", "", T::kPane, true},
    {kCmdConsonantsOnly, "Consonants only", "", T::kPane, true},
    {kCmdWordTips, "&Word Tips", "", T::kPane, true},
    {kCmdCopy, "&Copy", "Ctrl+C", T::kPane, false},
    {kCmdCopyAsText, "Copy as &Text", "", T::kPane, false},
    {kCmdPaperWidth, "&Paper Width", "", T::kPane, false},
    {kCmdSelectAllHits, "Select &All Hits", "Ctrl+A", T::kPane, false},
    {kCmdNextMatch, "&Next Match", "F3", T::kPane, false},
    {kCmdPreviousMatch, "&Previous Match", "Shift+F3", T::kPane, false},
    {kCmdGoBack, "Go &Back", "Alt+Left", T::kPane, false},
    {kCmdGoForward, "Go &Forward", "Alt+Right", T::kPane, false},
    {kCmdGoOrigin, "Go to &Origin of Last Query", "", T::kPane, false},
    {kCmdBibleInfo, "&Bible Information...", "", T::kPane, false},
    {kCmdPrint, "&Print...", "Ctrl+P", T::kPane, false},
    {kCmdPrintPreview, "Print Pre&view", "", T::kPane, false},
    // --- Text pane: layout kinds and the proposition editing commands.
    {kLayoutParagraphs, "&Paragraphs", "", T::kTextPane, true},
    {kLayoutVerses, "&Verses", "", T::kTextPane, true},
    {kLayoutSentences, "&Sentences", "", T::kTextPane, true},
    {kLayoutPropositions, "Propositions", "", T::kTextPane, true},
    {kCmdPropSplit, "S&plit", "", T::kTextPane, false},
    {kCmdPropJoin, "&Join", "", T::kTextPane, false},
    {kCmdPropShiftLeft, "Shift L&eft", "", T::kTextPane, false},
    {kCmdPropShiftRight, "Shift R&ight", "", T::kTextPane, false},
    {kCmdPropUndo, "&Undo", "", T::kTextPane, false},
    {kCmdPropLevelFirst + 0, "View &1", "", T::kTextPane, true},
    {kCmdPropLevelFirst + 1, "View &2", "", T::kTextPane, true},
    {kCmdPropLevelFirst + 2, "View &3", "", T::kTextPane, true},
    {kCmdPropLevelFirst + 3, "View &4", "", T::kTextPane, true},
    {kCmdPropLevelAll, "View &All", "", T::kTextPane, true},
    {kCmdPropSave, "&Save", "", T::kTextPane, false},
    {kCmdPropSaveAs, "Save &As...", "", T::kTextPane, false},
    {kCmdPropReload, "&Reload", "", T::kTextPane, false},
    {kCmdPropUnload, "U&nload", "", T::kTextPane, false},
    // --- Hits pane.
    {kLayoutReferences, "&Reference List", "", T::kHitsPane, true},
    {kLayoutHitVerses, "&Hit Verses List", "", T::kHitsPane, true},
    {kLayoutConcordance, "&Concorded List", "", T::kHitsPane, true},
    {kCmdRemoveMatch, "Remove Match", "Del", T::kHitsPane, false},
};

}  // namespace

std::span<const CommandDef> CommandTable() { return kCommands; }

const CommandDef* FindCommand(int id) {
  for (const CommandDef& c : kCommands) {
    if (c.id == id) return &c;
  }
  return nullptr;
}

CActions::CActions(QObject* parent, std::function<void(int)> dispatch) : QObject(parent) {
  for (const CommandDef& c : kCommands) {
    auto* action = new QAction(QString::fromUtf8(c.text), this);
    action->setData(c.id);
    action->setCheckable(c.checkable);
    if (*c.shortcut) action->setShortcut(QKeySequence(QString::fromUtf8(c.shortcut)));
    const int id = c.id;
    connect(action, &QAction::triggered, this, [dispatch, id] {
      if (dispatch) dispatch(id);
    });
    actions_[c.id] = action;
  }
}

CActions::~CActions() = default;

QAction* CActions::Get(int id) const {
  auto it = actions_.find(id);
  return it == actions_.end() ? nullptr : it->second;
}

}  // namespace vorn::shell
