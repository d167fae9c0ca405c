// The navigation bar of the main frame: back and forward, the
// book/chapter/verse picker showing the active window's focus verse, the
// query box with its prompt list, the match buttons and the switches for
// exchanging references with other programs. It owns the query tool that
// runs the box's text in the active window and keeps the past queries.
#pragma once

#include <QToolBar>

#include <memory>
#include <string>
#include <vector>

#include "querystate/query_tool.h"

class QComboBox;

namespace vorn {
class CIniFile;
class CBibleRef;
namespace platform {
class CMessageSink;
}
}  // namespace vorn

namespace vorn::shell {

class Cbcv;
class CRichQueryBox;
class CVornChildFrame;
class CVornMainFrame;

class CNavBar : public QToolBar {
  Q_OBJECT
 public:
  // The prompt list drops down this wide.
  static constexpr int kPromptsDroppedWidth = 250;

  // `frame` (whose actions the bar shows and whose active window the query
  // runs in) and `messages` are borrowed and must outlive the bar.
  CNavBar(CVornMainFrame* frame, platform::CMessageSink* messages);
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
  void RefChosen(const CBibleRef& ref);

  CVornMainFrame* frame_;
  Cbcv* bcv_ = nullptr;
  CRichQueryBox* box_ = nullptr;
  QComboBox* prompts_ = nullptr;
  std::unique_ptr<CQueryTool> tool_;
  // The key whose press the box did not see, acted on at its release.
  int pending_key_ = 0;
  BoxKey pending_ = BoxKey::kNone;
};

}  // namespace vorn::shell
