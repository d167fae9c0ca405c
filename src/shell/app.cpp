#include "shell/app.h"

#include <QApplication>
#include <QDir>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPixmap>
#include <cstdio>
#include <string_view>

#include "platform/file_system.h"
#include "platform/user_places.h"
#include "shell/actions.h"
#include "shell/child_frame.h"
#include "shell/main_frame.h"
#include "shell/rich_query_box.h"

namespace vorn::shell {

StartOptions ParseArguments(const QStringList& arguments) {
  StartOptions options;
  for (int i = 1; i < arguments.size(); ++i) {
    const QString& a = arguments[i];
    if ((a == QLatin1String("--screenshot") || a == QLatin1String("--query")) &&
        i + 1 < arguments.size()) {
      (a == QLatin1String("--screenshot") ? options.screenshot : options.query) = arguments[++i];
    } else {
      options.valid = false;
      options.error = QStringLiteral("unknown or incomplete argument: ") + a;
      break;
    }
  }
  return options;
}

namespace {

constexpr const char* kUsage =
    "usage: vorn [--screenshot FILE] [--query TEXT]\n"
    "  --screenshot FILE  open the start-up windows, write the main window as PNG to FILE, exit\n"
    "  --query TEXT       run TEXT in the active window first\n"
    "  --help, --version  print this text or the version and exit\n"
    "Settings go to $XDG_CONFIG_HOME/vorn (else ~/.config/vorn), user files to\n"
    "$XDG_DATA_HOME/vorn (else ~/.local/share/vorn).\n";

}  // namespace

bool PrintInformationIfAsked(int argc, const char* const* argv, const char* version) {
  for (int i = 1; i < argc; ++i) {
    const std::string_view a = argv[i];
    if (a == "--help" || a == "-h") {
      std::fputs(kUsage, stdout);
      return true;
    }
    if (a == "--version") {
      std::printf("vorn %s\n", version);
      return true;
    }
  }
  return false;
}

std::unique_ptr<CVornMainFrame> StartMainFrame(bool quiet) {
  MainFrameOptions frame_options;
  frame_options.quiet = quiet;
  const platform::UserPlaces places =
      platform::FindUserPlaces(QDir::currentPath().toStdString(), platform::ProgramFolder());
  // The settings are saved at exit: their folder must exist by then. A
  // folder that cannot be made is reported when saving fails.
  if (!places.portable) (void)platform::CreateFolder(places.config_folder);
  frame_options.settings_path = platform::JoinPath(places.config_folder, "Vorn.ini");
  frame_options.desktop_path = platform::JoinPath(places.config_folder, "StartUp.vdt");
  frame_options.user_folder = places.data_folder;
  return StartMainFrame(frame_options, QApplication::queryKeyboardModifiers() & Qt::ShiftModifier);
}

std::unique_ptr<CVornMainFrame> StartMainFrame(const MainFrameOptions& options, bool shift) {
  auto frame = std::make_unique<CVornMainFrame>(options);
  if (frame->LoadStartUpDesktop(shift)) return frame;
  CVornChildFrame* heb = frame->OpenSlotCommand(kCmdOpenHebrewOT, false);
  CVornChildFrame* gnt = frame->OpenSlotCommand(kCmdOpenGreekNT, false);
  if (heb || gnt) frame->GetMdiArea()->tileSubWindows();
  if (gnt)
    frame->GetMdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(gnt->parentWidget()));
  return frame;
}

bool SaveScreenshot(CVornMainFrame* frame, const QString& path) {
  const QPixmap pm = frame->grab();
  return !pm.isNull() && pm.save(path, "PNG");
}

int RunVorn(QApplication& app) {
  const StartOptions options = ParseArguments(QApplication::arguments());
  if (!options.valid) {
    std::fprintf(stderr, "vorn: %s\n%s", options.error.toLocal8Bit().constData(), kUsage);
    return 2;
  }
  const bool unattended = !options.screenshot.isEmpty();
  std::unique_ptr<CVornMainFrame> frame = StartMainFrame(unattended);
  // A screenshot shows the frame at its own size, whatever the screen.
  if (!unattended) frame->FitToScreen();
  frame->show();
  if (!options.query.isEmpty()) {
    QApplication::processEvents();
    frame->GetQueryBox()->setPlainText(options.query);
    frame->RunQueryFromBox();
  }
  if (unattended) {
    QApplication::processEvents();
    if (!SaveScreenshot(frame.get(), options.screenshot)) {
      std::fprintf(stderr, "vorn: cannot write %s\n", options.screenshot.toLocal8Bit().constData());
      return 1;
    }
    return 0;
  }
  return app.exec();
}

}  // namespace vorn::shell
