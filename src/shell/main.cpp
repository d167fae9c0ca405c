// vorn: the desktop program. `vorn --screenshot FILE [--query TEXT]` opens
// the start-up windows, runs the query in the active window, writes the
// main window as a PNG and exits; `vorn --goto REF` or `--query TEXT` hand
// their request to a running instance when there is one.
#include <QApplication>

#include "shell/app.h"

int main(int argc, char** argv) {
  if (vorn::shell::PrintInformationIfAsked(argc, argv, VORN_VERSION)) return 0;
  // A running instance takes --goto and --query over, without a display here.
  if (const int status = vorn::shell::HandOverToRunning(argc, argv); status >= 0) return status;
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Vorn"));
  QApplication::setApplicationVersion(QStringLiteral(VORN_VERSION));
  return vorn::shell::RunVorn(app);
}
