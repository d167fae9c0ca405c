// Start-up of the desktop program, apart from main() so tests can run it.
#pragma once

#include <QString>
#include <QStringList>
#include <memory>

class QApplication;

namespace vorn::shell {

class CVornMainFrame;
struct MainFrameOptions;

struct StartOptions {
  QString screenshot;                            // empty: run interactively
  QString query;                                 // run in the active window first
  QString go_to;                                 // a reference the active window goes to first
  QString instance = QStringLiteral("default");  // own settings and socket
  bool valid = true;
  QString error;
};

// Reads the program's own arguments (Qt's are already taken out).
StartOptions ParseArguments(const QStringList& arguments);

// `--help`/`-h` or `--version` anywhere among `argv`: prints the usage or
// "vorn " and `version` to standard output and returns true, so that the program can
// answer them before it connects to a display.
bool PrintInformationIfAsked(int argc, const char* const* argv, const char* version);

// When `argv` asks for --goto or --query and an instance of that name is
// running, hands the requests to it, prints its replies and returns the exit
// code (0, or 1 after an error reply); -1 when nobody answers (the program
// should start and do them itself) or nothing is to be handed over.
int HandOverToRunning(int argc, const char* const* argv);

// Makes the main frame and its start-up windows: those of the start-up
// desktop unless Shift is held; without one, a window on the Hebrew OT and
// one on the Greek NT, the Greek one active.
// An instance other than the default keeps its settings and desktops in its
// own folder, "instances/NAME" in the settings folder.
std::unique_ptr<CVornMainFrame> StartMainFrame(bool quiet, const QString& instance = {});
// The same with the frame's options given and Shift held or not.
std::unique_ptr<CVornMainFrame> StartMainFrame(const MainFrameOptions& options, bool shift);

// Renders `frame` into a PNG at `path`; false when it cannot be written.
[[nodiscard]] bool SaveScreenshot(CVornMainFrame* frame, const QString& path);

// The whole program; returns the exit code.
int RunVorn(QApplication& app);

}  // namespace vorn::shell
