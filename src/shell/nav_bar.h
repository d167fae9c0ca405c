// The navigation bar of the main frame: back and forward, the
// book/chapter/verse picker showing the active window's focus verse, the
// query box with its prompt list, the match buttons and the switches for
// exchanging references with other programs. It owns the query tool that
// runs the box's text in the active window and keeps the past queries; what
// the user asks of the frame (run the query, go to a reference, a command)
// it announces by signals.
#pragma once

#include <QToolBar>
#include <memory>
#include <string>
#include <vector>

#include "querystate/query_tool.h"
#include "refs/bible_ref.h"

class QComboBox;

namespace vorn {
class CIniFile;
class CVornDB;
namespace platform {
class CMessageSink;
}
}  // namespace vorn

namespace vorn::shell {

class CActions;
class Cbcv;
class CExchangeLink;
class CRichQueryBox;
class CVornChildFrame;

class CNavBar : public QToolBar {
  Q_OBJECT
 public:
  // The prompt list drops down this wide.
  static constexpr int kPromptsDroppedWidth = 250;

  // `actions` (whose buttons the bar shows) and `messages` are borrowed and
  // must outlive the bar. The query tool runs in no window until its active
  // source is set (GetQueryTool().SetActiveSource).
  CNavBar(QWidget* parent, CActions& actions, platform::CMessageSink* messages);
  ~CNavBar() override;

  Cbcv* GetBcv() const { return bcv_; }
  CRichQueryBox* GetQueryBox() const { return box_; }
  QComboBox* GetPromptCombo() const { return prompts_; }
  CQueryTool& GetQueryTool() { return *tool_; }

  // Reads the static prompts from the program's folder or, when they are
  // not there, from the first of `data_folders` that has them. Their
  // absence is not reported.
  void LoadStaticPrompts(const std::vector<std::string>& data_folders);
  // The past queries, kept in the program's settings between runs.
  void LoadQueries(const CIniFile& settings);
  void SaveQueries(CIniFile* settings) const;

  // Runs the box's text in the active window (see CQueryTool::RunQuery);
  // false without a window or on an error.
  bool RunQuery();
  // Shows what the bar knows of `window` (may be null): its focus verse in
  // the picker and its current word's prompts.
  void ShowWindow(CVornChildFrame* window);

  // Previous Query and Next Query, from the keys or the menu; false for
  // another command.
  bool OnCommand(int id);
  bool UpdateCommand(int id, bool* enabled) const;
  // The exchange switches (Send and Receive Scripture Refs) toggle; false
  // for another command.
  bool OnExchangeCommand(int id);
  bool UpdateExchangeCommand(int id, bool* enabled, bool* checked) const;

  // Starts the reference exchange over the store in `folder` (empty: none);
  // both switches start off until settings turn them on.
  void InitExchange(const std::string& folder);
  CExchangeLink* GetExchange() const { return exchange_; }

 signals:
  // Enter in the query box: the query should run in the active window.
  void QueryWanted();
  // The user chose `ref` in the picker: the active window should go there.
  void ReferenceChosen(const CBibleRef& ref);
  // A key of the query box gave command `id` (Previous or Next Query).
  void CommandWanted(int id);
  // Another program sent `ref`, now shown in the picker and mapped into its
  // database (with a verse entry): the active window should go there when it
  // is on that database. Emitted while the exchange's guard is set.
  void ReferenceReceived(const CBibleRef& ref);

 protected:
  // The query box's Enter, Up, Down, Ctrl+Q and Ctrl+Shift+Q.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // What a key pressed in the query box does once it is released.
  enum class BoxKey { kNone, kRun, kPreviousQuery, kNextQuery, kNextPrompt, kPreviousPrompt };
  static BoxKey BoxKeyOf(int key, Qt::KeyboardModifiers modifiers);
  void ActOnBoxKey(BoxKey key);

  void FillPrompts();
  // The combo shows the prompt the tool counts as chosen.
  void ShowChosenPrompt();

  Cbcv* bcv_ = nullptr;
  CRichQueryBox* box_ = nullptr;
  QComboBox* prompts_ = nullptr;
  std::unique_ptr<CQueryTool> tool_;
  // The key whose press the box did not see, acted on at its release.
  int pending_key_ = 0;
  BoxKey pending_ = BoxKey::kNone;
  CExchangeLink* exchange_ = nullptr;
  // The database of the window the bar last showed; received references are
  // carried into it.
  CVornDB* db_ = nullptr;
};

}  // namespace vorn::shell
