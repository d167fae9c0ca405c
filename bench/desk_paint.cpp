// How long the desktop takes to show things, on the offscreen platform with
// the databases of the build's data folder (or VORN_DATA): from nothing to
// the first paint of a frame with the Hebrew and Greek windows tiled, and
// from a query's Enter to its hits painted in both panes, for a rare term,
// a common one and every word of each testament. Each query runs five
// times; the median is reported, in milliseconds.
//
//   desk_paint_bench [WIDTHxHEIGHT]   (default 1600x1000)
#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "querystate/query_thing.h"
#include "shell/actions.h"
#include "shell/child_frame.h"
#include "shell/main_frame.h"
#include "shell/rich_query_box.h"
#include "shell/vorn_view.h"

using namespace vorn;
using namespace vorn::shell;

namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::time_point from) {
  return std::chrono::duration<double, std::milli>(Clock::now() - from).count();
}

// Paints whatever is waiting, and the panes of `window` at least.
void PaintNow(CVornChildFrame* window) {
  QApplication::processEvents();
  window->GetTextPane()->viewport()->repaint();
  window->GetHitsPane()->viewport()->repaint();
}

void Activate(CVornMainFrame* frame, CVornChildFrame* window) {
  frame->GetMdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(window->parentWidget()));
  QApplication::processEvents();
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  int width = 1600;
  int height = 1000;
  if (argc > 1) std::sscanf(argv[1], "%dx%d", &width, &height);
  const char* data = std::getenv("VORN_DATA");
  QTemporaryDir settings;

  MainFrameOptions options;
  options.data_folders = {data ? data : VORN_DATA_DIR};
  options.settings_path = settings.filePath(QStringLiteral("Vorn.ini")).toStdString();
  options.desktop_path = settings.filePath(QStringLiteral("StartUp.vdt")).toStdString();
  options.user_folder = settings.path().toStdString();
  options.quiet = true;

  const Clock::time_point start = Clock::now();
  auto frame = std::make_unique<CVornMainFrame>(options);
  frame->resize(width, height);
  CVornChildFrame* heb = frame->OpenSlotCommand(kCmdOpenHebrewOT, false);
  CVornChildFrame* gnt = frame->OpenSlotCommand(kCmdOpenGreekNT, false);
  if (!heb || !gnt) {
    std::fprintf(stderr, "desk_paint_bench: the Hebrew OT and Greek NT databases are needed\n");
    return 1;
  }
  frame->GetMdiArea()->tileSubWindows();
  frame->show();
  PaintNow(heb);
  PaintNow(gnt);
  std::printf("%-24s %8.1f ms\n", "start-up to first paint", Ms(start));

  struct Case {
    const char* label;
    CVornChildFrame* window;
    const char* query;
  };
  const Case cases[] = {
      {"GNT rare (base logos)", gnt, "base λόγος"},
      {"GNT common (base ho)", gnt, "base ὁ"},
      {"GNT text *", gnt, "text *"},
      {"HOT text *", heb, "text *"},
  };
  for (const Case& c : cases) {
    Activate(frame.get(), c.window);
    std::vector<double> times;
    std::vector<double> queries;
    size_t hits = 0;
    for (int run = 0; run < 5; ++run) {
      const Clock::time_point t = Clock::now();
      frame->GetQueryBox()->setPlainText(QString::fromUtf8(c.query));
      (void)frame->RunQueryFromBox();
      queries.push_back(Ms(t));
      PaintNow(c.window);
      times.push_back(Ms(t));
      hits = c.window->GetQueryThing().GetHitCount();
    }
    std::printf("%-24s %8.1f ms  (%zu hits; %.1f ms to the query's end)\n", c.label, Median(times),
                hits, Median(queries));
  }
  return 0;
}
