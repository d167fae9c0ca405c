// vorn: the desktop program. `vorn --screenshot FILE [--query TEXT]` opens
// the start-up windows, runs the query in the active window, writes the
// main window as a PNG and exits.
#include <QApplication>

#include "shell/app.h"

int main(int argc, char** argv) {
  if (vorn::shell::PrintInformationIfAsked(argc, argv, VORN_VERSION)) return 0;
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Vorn"));
  QApplication::setApplicationVersion(QStringLiteral(VORN_VERSION));
  return vorn::shell::RunVorn(app);
}
