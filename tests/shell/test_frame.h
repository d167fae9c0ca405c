// A main frame on one of the small test databases, with one window open on
// it, for tests that drive the panes and bars.
#pragma once

#include <QApplication>
#include <QScrollBar>
#include <QTemporaryDir>
#include <memory>
#include <string>

#include "layout/layout.h"
#include "layout/layout_box.h"
#include "shell/child_frame.h"
#include "shell/main_frame.h"
#include "shell/vorn_view.h"
#include "textdb/test_db.h"

namespace vorn::shell::testing {

class TestFrame {
 public:
  explicit TestFrame(const DBSource& source) : files_(source) {
    MainFrameOptions options;
    options.data_folders = {files_.data_folder()};
    options.settings_path = settings_.filePath(QStringLiteral("Vorn.ini")).toStdString();
    options.quiet = true;
    frame_ = std::make_unique<CVornMainFrame>(options);
    frame_->resize(1000, 700);
    frame_->show();
    const int index = frame_->GetCatalogue().FindByName(source.name);
    if (index >= 0) window_ = frame_->OpenEntry(index);
    QApplication::processEvents();
  }

  bool ok() const { return files_.ok() && window_ != nullptr; }
  CVornMainFrame* frame() const { return frame_.get(); }
  CVornChildFrame* window() const { return window_; }
  CVornView* text() const { return window_->GetTextPane(); }
  CVornView* hits() const { return window_->GetHitsPane(); }

  // Lays the pane out and paints it now.
  static void Paint(CVornView* pane) {
    pane->viewport()->repaint();
    QApplication::processEvents();
  }

  // The first word box the pane shows, scanning its drawing area; its box
  // in viewport coordinates goes to `*box`. -1 when the pane shows none.
  static WordIndex FindShownWord(CVornView* pane, QRect* box) {
    Paint(pane);
    const QSize area = pane->viewport()->size();
    for (int y = 0; y < area.height(); y += 3) {
      for (int x = 0; x < area.width(); x += 3) {
        int left = 0;
        int top = 0;
        CLayoutBox* b = pane->GetLayout()->HitTest(x, y, &left, &top);
        if (b && b->GetWordIndex() >= 0) {
          *box = QRect(left, top, b->GetWidth(), b->GetHeight());
          return b->GetWordIndex();
        }
      }
    }
    return -1;
  }

 private:
  vorn::testing::TestDatabase files_;
  QTemporaryDir settings_;
  std::unique_ptr<CVornMainFrame> frame_;
  CVornChildFrame* window_ = nullptr;
};

}  // namespace vorn::shell::testing
