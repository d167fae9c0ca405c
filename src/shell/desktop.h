// Desktops: the arrangement of the main frame and of every document window —
// placement, scroll group, query state and, per pane, focus word, layout,
// line visibility and metrics — kept in a settings file ("*.vdt"). The
// program saves one into StartUp.vdt at exit and reads it back at start.
#pragma once

#include <QString>
#include <string>
#include <string_view>
#include <vector>

#include "textdb/ini_file.h"

class QWidget;

namespace vorn::platform {
class CMessageSink;
}

namespace vorn::shell {

class CVornChildFrame;
class CVornMainFrame;
class CVornView;

// The section of the main frame's keys (WndPos and the bars' visibility).
inline constexpr char16_t kMainSection[] = u"Main";

// Writes WndPos, NavBar, PropBar, WordBar and StatusBar into section Main of
// `settings`, then the bookmarks. A bar the frame does not have is left out.
void SaveMainFrame(CVornMainFrame* frame, CIniFile* settings);
// Applies what SaveMainFrame wrote: a WndPos that does not parse and keys
// that are missing leave the frame as it is; the bookmarks are replaced by
// the settings' list when the settings have a Bookmarks section.
void RestoreMainFrame(CVornMainFrame* frame, const CIniFile& settings);

// ViewPos, ScrollGroup and the query state's keys in `section`, the panes'
// keys in `section` + " Text View" and `section` + " Hits View".
void SaveWindow(CVornChildFrame* window, CIniFile* settings, std::u16string_view section);
// Applies what SaveWindow wrote; missing or unreadable keys keep the
// window's own values. Messages (a user tag that is gone) go to `messages`
// (may be null).
void RestoreWindow(CVornChildFrame* window, const CIniFile& settings, std::u16string_view section,
                   platform::CMessageSink* messages);
// Focus Word, Word Y, Layout ID, "LineVis <n>", ShowTips and the metrics'
// keys of one pane.
void SavePane(CVornView* pane, CIniFile* settings, std::u16string_view section);
void RestorePane(CVornView* pane, const CIniFile& settings, std::u16string_view section);

// The document windows from the top of the window order downwards.
std::vector<CVornChildFrame*> WindowsTopDown(const CVornMainFrame* frame);
// Closes every document window, from the top downwards, at once, so that
// each one offers to save its user data before anything else happens.
void CloseAllWindows(CVornMainFrame* frame);

// A filter of the form "Text|pattern|Text|pattern||" as Qt's file dialogs
// take it: "Text;;Text".
QString QtFileFilter(std::u16string_view filter);

// One desktop load or save. Lives for one command; restores the working
// folder when it goes, whatever a file dialog did to it.
class CDeskTop {
 public:
  // `frame` must outlive the object. `last_dir` (may be null) holds the
  // folder last used for desktop files; the dialogs start there and
  // update it.
  CDeskTop(CVornMainFrame* frame, QString* last_dir);
  ~CDeskTop();
  CDeskTop(const CDeskTop&) = delete;
  CDeskTop& operator=(const CDeskTop&) = delete;

  CIniFile& GetSettings() { return settings_; }

  // Empties the settings and fills them from the frame: the main frame's
  // keys, section Views with one key "View <n>" per window (top first)
  // holding its database's title, and the window sections.
  void Capture();
  // Reads a desktop file; false, with empty settings, when it cannot be read.
  [[nodiscard]] bool Read(const std::string& path);
  // Writes the settings; false when the file cannot be written.
  [[nodiscard]] bool Write(const std::string& path);
  // Closes every window, restores the main frame, then opens one window per
  // key of Views (by number) on the database of that title and restores
  // it. A title no database has is reported ("Couldn't open \"<title>\"")
  // and skipped. The first view ends up on top and active. False, with
  // nothing applied, when a window stays open (the user cancelled its
  // save offer).
  bool Apply();

  // Capture, ask for a file, write it. A failed write shows message 70 and
  // returns false; a cancelled dialog returns false without message.
  bool SaveWithDialog(QWidget* parent);
  // Asks for a file, reads and applies it. False when cancelled, when the
  // file cannot be read (reported; the windows stay as they are) or when
  // a window is kept open.
  bool LoadWithDialog(QWidget* parent);

 private:
  void RememberFolder(const QString& file);

  CVornMainFrame* frame_;
  CIniFile settings_;
  QString* last_dir_;
  QString saved_cwd_;
};

}  // namespace vorn::shell
