// A document window: one opened Bible in two panes, the text pane over the
// hits pane, with the window's query state, title and scroll group. It
// announces what the main frame follows (focus, activation, font changes)
// by signals and knows nothing of the frame.
#pragma once

#include <QWidget>
#include <functional>
#include <memory>
#include <string>

#include "querystate/query_thing.h"
#include "textdb/types.h"

class QFileSystemWatcher;

class QSplitter;

namespace vorn {
namespace platform {
class CMessageSink;
}
class CBookmarks;
class CPropositionsList;
class CVornDB;
class CVornDBLine;
}  // namespace vorn

namespace vorn::shell {

class CMarking;
class CPrintSetup;
class CVornView;

class CVornChildFrame : public QWidget, public CQueryWindow {
  Q_OBJECT
 public:
  // `marking` (the markup commands and save offers), `db` and `props` are
  // borrowed and must outlive the window.
  CVornChildFrame(CMarking* marking, CVornDB* db, CPropositionsList* props);
  ~CVornChildFrame() override;

  CVornDB* GetDatabase() const { return db_; }
  CQueryThing& GetQueryThing() { return *state_; }
  CVornView* GetTextPane() const { return text_; }
  CVornView* GetHitsPane() const { return hits_; }
  CVornView* GetActivePane() const { return active_; }
  QSplitter* GetSplitter() const { return splitter_; }

  // What the query box held while this window was active (rich text, the fonts of its pieces
  // kept); empty before the window was left for another.
  const QString& GetQueryBoxContent() const { return query_box_; }
  void SetQueryBoxContent(QString html) { query_box_ = std::move(html); }

  // The program's bookmarks, which the text pane marks (borrowed; null: none marked).
  const CBookmarks* GetBookmarks() const { return bookmarks_; }
  void SetBookmarks(const CBookmarks* bookmarks) { bookmarks_ = bookmarks; }

  // Hands the program's page set-up and message sink to both panes (see
  // CVornView::SetOutputServices).
  void SetOutputServices(const std::function<CPrintSetup&()>& print_setup,
                         platform::CMessageSink* sink);

  const std::u16string& GetScrollGroup() const { return group_; }
  void SetScrollGroup(std::u16string group);
  // Database title, " - " and the focus reference, " (group)".
  QString MakeTitle() const;

  bool OnCommand(int id);
  bool UpdateCommand(int id, bool* enabled, bool* checked);
  // A command given by a key in one of the panes: run, then CommandDone.
  void KeyCommand(int id);

  // From the panes' signals.
  void FocusChanged(CVornView* pane, WordIndex old_focus);
  void PaneActivated(CVornView* pane);

  // CQueryWindow.
  WordIndex GetFocusWord() const override;
  void GoTo(const CBibleRef& ref) override;
  void HitsReplaced() override;
  void HitsRemoved(WordIndex first_removed) override;
  void HitsCleared() override;
  void RepaintPanes() override;

 signals:
  // The active pane's focus word changed; the window's title, current word
  // and scroll group follow it.
  void FocusWordChanged(CVornChildFrame* window);
  // A pane of the window got the keyboard focus.
  void Activated(CVornChildFrame* window);
  // Tab or Shift+Tab in a pane: the keyboard focus should take the next or previous stop.
  void FocusStepWanted(bool next);
  // A command given by a key was carried out; commands may now be enabled
  // or checked differently.
  void CommandDone();
  // The word menu of the current word is wanted at `global` (screen
  // coordinates).
  void WordMenuWanted(QPoint global);
  // The fonts of the window's database lines were changed; every pane
  // showing the database reloads them.
  void LineFontsChanged();
  // Hit analysis chose a value of `line`: the query box should offer it as
  // a prompt. The line belongs to the window's database.
  void QueryPromptWanted(const CVornDBLine* line, const std::u16string& value);

 protected:
  // Offers to save the window's modified markup first; Cancel keeps the
  // window open.
  void closeEvent(QCloseEvent* event) override;

 private:
  // Gives the hits pane room when it is shorter than a fifth of the text pane.
  void SplitAfterQuery();
  // Opens the hit analysis of the window's hits, or (`chart`) their chart.
  void AnalyseHits(bool chart);
  // Watches the user folder of the window's tags, its set folders and the
  // tag files in them, so that a tag another program saves is read again.
  void WatchTagFiles();
  void TagFilesChanged();

  CMarking* marking_;
  CVornDB* db_;
  std::unique_ptr<CQueryThing> state_;
  QFileSystemWatcher* tag_watcher_ = nullptr;  // a child widget's object
  QSplitter* splitter_ = nullptr;
  CVornView* text_ = nullptr;
  CVornView* hits_ = nullptr;
  CVornView* active_ = nullptr;
  std::u16string group_ = u"A";
  QString query_box_;
  const CBookmarks* bookmarks_ = nullptr;
  bool going_through_history_ = false;
};

}  // namespace vorn::shell
