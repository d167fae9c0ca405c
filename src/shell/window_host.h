// What the main frame's command helpers (the Marking menu, the user-tag
// menus) need of the program around them: its document windows, its
// commands and its messages. They depend on this interface, not on the main
// frame, so that the frame is the only place that knows how it is built.
#pragma once

#include <vector>

class QMainWindow;

namespace vorn {
class CQueryTool;
class CVornIni;
namespace platform {
class CMessageSink;
}
}  // namespace vorn

namespace vorn::shell {

class CActions;
class CVornChildFrame;

class CWindowHost {
 public:
  virtual ~CWindowHost() = default;

  // The program's main window: the parent of dialogs and the holder of tool
  // bars. Lives as long as the host.
  virtual QMainWindow* GetMainWindow() = 0;
  // The program's commands (owned by the host).
  virtual CActions& GetActions() = 0;
  // Where messages go (owned by the host; never null).
  virtual platform::CMessageSink* GetMessageSink() const = 0;
  // The active document window; null when none is open.
  virtual CVornChildFrame* ActiveWindow() const = 0;
  // Every open document window, in the order they were opened.
  virtual std::vector<CVornChildFrame*> Windows() const = 0;
  // Routes command `id` as a menu item or key would.
  virtual void Dispatch(int id) = 0;
  // Sets every command's enabled and checked state anew.
  virtual void UpdateActions() = 0;
  // The program's settings (owned by the host).
  virtual CVornIni& GetSettings() = 0;
  // The query box's controller (owned by the host).
  virtual CQueryTool& GetQueryTool() = 0;
  // Runs the query box's text in the active window; false when it did not
  // run (the reason was reported).
  virtual bool RunQueryFromBox() = 0;
};

}  // namespace vorn::shell
