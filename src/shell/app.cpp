#include "shell/app.h"

#include <QApplication>
#include <QDir>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPixmap>
#include <cstdio>
#include <string_view>
#include <utility>

#include "links/exchange_store.h"
#include "links/remote_request.h"
#include "links/remote_socket.h"
#include "platform/file_system.h"
#include "platform/user_places.h"
#include "shell/actions.h"
#include "shell/child_frame.h"
#include "shell/main_frame.h"
#include "shell/remote_answers.h"
#include "shell/remote_server.h"
#include "shell/rich_query_box.h"

namespace vorn::shell {

StartOptions ParseArguments(const QStringList& arguments) {
  StartOptions options;
  for (int i = 1; i < arguments.size(); ++i) {
    const QString& a = arguments[i];
    QString* value = a == QLatin1String("--screenshot") ? &options.screenshot
                     : a == QLatin1String("--query")    ? &options.query
                     : a == QLatin1String("--goto")     ? &options.go_to
                     : a == QLatin1String("--instance") ? &options.instance
                                                        : nullptr;
    if (value && i + 1 < arguments.size()) {
      *value = arguments[++i];
      if (value == &options.instance && !links::IsInstanceName(value->toStdString())) {
        options.valid = false;
        options.error = QStringLiteral("bad instance name: ") + *value;
        break;
      }
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
    "usage: vorn [--instance NAME] [--goto REF] [--query TEXT] [--screenshot FILE]\n"
    "  --instance NAME    run (or talk to) instance NAME, with its own settings and socket\n"
    "                     (default: default)\n"
    "  --goto REF         go to REF (\"John 3:16\") in the active window first\n"
    "  --query TEXT       run TEXT in the active window first\n"
    "                     (both are handed to the instance when it is already running)\n"
    "  --screenshot FILE  open the start-up windows, write the main window as PNG to FILE, exit\n"
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

int HandOverToRunning(int argc, const char* const* argv) {
  QStringList arguments;
  for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
  const StartOptions options = ParseArguments(arguments);
  if (!options.valid || !options.screenshot.isEmpty() ||
      (options.go_to.isEmpty() && options.query.isEmpty()))
    return -1;
  const std::string path = links::RemoteSocketPath(options.instance.toStdString(), nullptr);
  if (path.empty()) return -1;
  int status = 0;
  // The query first, as the program started anew does it.
  for (const auto& [verb, value] : {std::pair{"query ", options.query}, {"goto ", options.go_to}}) {
    if (value.isEmpty()) continue;
    // Refused here as the running program would refuse it; a tab or a line
    // break would make the value name a database or a second request.
    const std::string request = verb + value.toStdString();
    links::RemoteRequest parsed;
    std::string error;
    if (value.contains(u'\t') || value.contains(u'\n') || value.contains(u'\r') ||
        !links::ParseRemoteRequest(request, &parsed, &error)) {
      std::fprintf(stderr, "vorn: %s\n",
                   error.empty() ? "a tab or line break in --goto or --query" : error.c_str());
      return 2;
    }
    std::string reply;
    const links::CallResult result = links::RemoteCall(path, request, &reply, 30000);
    if (result == links::CallResult::kNoServer) return status == 0 ? -1 : status;
    if (result == links::CallResult::kFailed) {
      std::fprintf(stderr, "vorn: the running instance did not answer\n");
      return 1;
    }
    std::printf("%s\n", reply.c_str());
    if (reply.rfind("ok", 0) != 0) status = 1;
  }
  return status;
}

std::unique_ptr<CVornMainFrame> StartMainFrame(bool quiet, const QString& instance) {
  MainFrameOptions frame_options;
  frame_options.quiet = quiet;
  const platform::UserPlaces places =
      platform::FindUserPlaces(QDir::currentPath().toStdString(), platform::ProgramFolder());
  std::string config = places.config_folder;
  if (!instance.isEmpty() && instance != QLatin1String(links::kDefaultInstance.data()))
    config = platform::JoinPath(platform::JoinPath(config, "instances"), instance.toStdString());
  // The settings are saved at exit: their folder must exist by then. A
  // folder that cannot be made is reported when saving fails.
  if (!places.portable || config != places.config_folder) (void)platform::CreateFolder(config);
  frame_options.settings_path = platform::JoinPath(config, "Vorn.ini");
  frame_options.desktop_path = platform::JoinPath(config, "StartUp.vdt");
  frame_options.exchange_folder = links::DefaultExchangeFolder();
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
  std::unique_ptr<CVornMainFrame> frame = StartMainFrame(unattended, options.instance);
  // A screenshot shows the frame at its own size, whatever the screen.
  if (!unattended) frame->FitToScreen();
  frame->show();
  if (!options.query.isEmpty()) {
    QApplication::processEvents();
    frame->GetQueryBox()->setPlainText(options.query);
    frame->RunQueryFromBox();
  }
  if (!options.go_to.isEmpty()) {
    QApplication::processEvents();
    links::RemoteRequest request;
    request.verb = links::RemoteVerb::kGoto;
    request.argument = options.go_to.trimmed().toStdString();
    const std::string reply = AnswerRemoteRequest(frame.get(), request);
    if (reply.rfind("ok", 0) != 0) std::fprintf(stderr, "vorn: %s", reply.c_str());
  }
  // An unattended run answers nobody; otherwise a socket that cannot be
  // made is told and the program runs on without it.
  if (!unattended) {
    std::string error;
    const std::string path = links::RemoteSocketPath(options.instance.toStdString(), &error);
    CVornMainFrame* answering = frame.get();
    auto* server = new CRemoteServer(answering, [answering](const links::RemoteRequest& request) {
      return AnswerRemoteRequest(answering, request);
    });
    if (path.empty() || !server->Listen(path, &error))
      std::fprintf(stderr, "vorn: no remote requests: %s\n", error.c_str());
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
