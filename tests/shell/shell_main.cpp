// The shell tests need one QApplication for the whole run, and every test
// starts from the program's first-run view settings: the remembered pane
// settings are program-wide and would otherwise leak from test to test.
#include <gtest/gtest.h>

#include <QApplication>

#include "layout/layout_box.h"
#include "shell/persistent_view_settings.h"

namespace {

class ResetViewSettings : public ::testing::EmptyTestEventListener {
  void OnTestStart(const ::testing::TestInfo&) override {
    vorn::shell::CPersistentViewSettings::Instance().Reset();
    vorn::SetSelectionFill(false);
  }
};

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM",
          qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  ::testing::UnitTest::GetInstance()->listeners().Append(new ResetViewSettings);
  return RUN_ALL_TESTS();
}
