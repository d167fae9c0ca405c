// The context menu of a word in either pane of a document window, opened by
// the right mouse button or the Menu key: the word's link submenus, its text
// variants, its searches (the word prompts, each run in the window), its
// note, a bookmark at its verse, copying the word or its verse, and the
// toggles of the user tags the window shows. What the word offers comes from
// the core (wordinfo/word_menu, the query tool's word prompts); this only
// turns it into menus and carries out the word menu's own commands.
#pragma once

#include <QObject>
#include <QPoint>
#include <QString>
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

class QMenu;

namespace vorn {
class CPVLink;
namespace platform {
class CMessageSink;
}
}  // namespace vorn

namespace vorn::shell {

class CVornChildFrame;
class CWindowHost;

// Command ids of the entries made for each word.
inline constexpr int kCmdWordLinkFirst = 35300;  // + the link's index in the word
inline constexpr int kCmdWordLinkLast = 35399;
inline constexpr int kCmdWordVariantFirst = 35250;  // + the text variant
inline constexpr int kCmdWordVariantLast = 35299;
inline constexpr int kCmdWordSearchFirst = 35900;  // + the word prompt's index
inline constexpr int kCmdWordSearchLast = 35999;
// Look-ups in other programs, each run from a command template (or, for
// the lemma search, an address) kept in Vorn.ini; a template's "%p" is the
// program located by the section's ExePath key, and ExePath alone runs that
// program with the look-up's value.
inline constexpr int kCmdLookupVerse = 32970;  // [WORDsearch] VerseCommand
inline constexpr int kCmdLookupWord = 32975;   // [WORDsearch] WordCommand
inline constexpr int kCmdLookupLemma = 33081;  // [Logos] LemmaCommand or LemmaUri

class CWordContextMenu : public QObject {
  Q_OBJECT
 public:
  // `host` must outlive this object; chosen entries go to its Dispatch.
  explicit CWordContextMenu(CWindowHost* host);
  ~CWordContextMenu() override;

  // Fills `menu` (cleared first) for the current word of `window`; nothing
  // but a disabled "No word" entry without a current word.
  void Build(QMenu* menu, CVornChildFrame* window);
  // Builds the menu and runs it at `global` (screen coordinates).
  void Show(CVornChildFrame* window, const QPoint& global);

  // The word menu's commands for the active window: links, variants,
  // searches, the note, copying the word and its verse. False for any
  // other id.
  bool OnCommand(CVornChildFrame* window, int id);
  bool UpdateCommand(CVornChildFrame* window, int id, bool* enabled) const;

  // The program of a look-up target, by its settings section ("WORDsearch",
  // "Logos"): its ExePath (a default path when the key is missing) when
  // that file exists; else the path the user picks in the locate dialog,
  // which is stored back under ExePath. Empty when the dialog is cancelled
  // or the section has no program.
  std::u16string LocateProgram(std::u16string_view section);
  // Replaces the locate dialog (title, file filter) -> chosen path or "";
  // for tests.
  void SetProgramLocator(std::function<QString(const QString&, const QString&)> locate) {
    locate_program_ = std::move(locate);
  }

 private:
  // Opens link n of the current word by the first rule its kind gives:
  // a web address or a local document (folder "Dir", the expanded "Link")
  // with the desktop's default program, reporting a missing document with
  // message 422; a link that opens nothing outside shows its entry
  // (searches for every word that carries it) instead.
  void OpenLink(CVornChildFrame* window, size_t n);
  void RunSearch(CVornChildFrame* window, size_t prompt);
  // Runs look-up `id` for the current word: its command without a shell,
  // or its address through the desktop's URL handler. A program that does
  // not start is reported (message 302).
  void RunLookup(CVornChildFrame* window, int id);

  CWindowHost* host_;
  std::function<QString(const QString&, const QString&)> locate_program_;
};

// The document a link with a "Link" setting names: an address with a scheme
// ("https://...", "file:...") as it is, else the expanded text inside the
// kind's folder "Dir" (or as it is when that is empty or the text is an
// absolute path). Empty when the kind has no "Link".
std::u16string LinkDocument(const CPVLink& link);

}  // namespace vorn::shell
