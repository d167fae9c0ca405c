// A main frame over three small test databases — "HEB" (Genesis, Exodus,
// Ruth), "GNT" and "BYZ" (the same Greek text twice) — with its settings
// and start-up desktop in a temporary folder and its messages recorded.
#pragma once

#include <gtest/gtest.h>

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTemporaryDir>
#include <memory>
#include <string>
#include <vector>

#include "platform/message_sink.h"
#include "shell/app.h"
#include "shell/child_frame.h"
#include "shell/main_frame.h"
#include "textdb/test_db.h"

namespace vorn::shell::testing {

inline constexpr char16_t kHebTitle[] = u"Test Hebrew Bible";
inline constexpr char16_t kGntTitle[] = u"Test Greek NT";
inline constexpr char16_t kByzTitle[] = u"Test Byzantine NT";

class FrameTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    DBSource heb = vorn::testing::MakeHebrewTestSource();
    heb.name = u"HEB";
    heb.title = kHebTitle;
    DBSource gnt = vorn::testing::MakeGreekTestSource();
    gnt.name = u"GNT";
    gnt.title = kGntTitle;
    DBSource byz = vorn::testing::MakeGreekTestSource();
    byz.name = u"BYZ";
    byz.title = kByzTitle;
    databases_ = new std::vector<std::unique_ptr<vorn::testing::TestDatabase>>;
    for (const DBSource* s : {&heb, &gnt, &byz})
      databases_->push_back(std::make_unique<vorn::testing::TestDatabase>(*s));
  }
  static void TearDownTestSuite() {
    delete databases_;
    databases_ = nullptr;
  }

  void SetUp() override {
    for (const auto& db : *databases_) ASSERT_TRUE(db->ok()) << db->error();
    ASSERT_TRUE(dir_.isValid());
  }

  std::string Path(const char* name) const {
    return dir_.filePath(QString::fromLatin1(name)).toStdString();
  }

  MainFrameOptions Options() {
    MainFrameOptions o;
    for (const auto& db : *databases_) o.data_folders.push_back(db->data_folder());
    o.settings_path = Path("Vorn.ini");
    o.desktop_path = Path("StartUp.vdt");
    o.sink = &sink_;
    return o;
  }

  std::unique_ptr<CVornMainFrame> MakeFrame() {
    return std::make_unique<CVornMainFrame>(Options());
  }

  // Opens a window on the database titled `title`.
  static CVornChildFrame* Open(CVornMainFrame* frame, std::u16string_view title) {
    const int entry = frame->GetCatalogue().FindByTitle(title);
    return entry < 0 ? nullptr : frame->OpenEntry(entry);
  }

  // Whether a warning with exactly `text` was recorded.
  bool Warned(const std::u16string& text) const {
    for (const auto& m : sink_.messages())
      if (m.kind == platform::CRecordingMessageSink::Kind::kWarning && m.text == text) return true;
    return false;
  }

  static std::vector<std::unique_ptr<vorn::testing::TestDatabase>>* databases_;
  QTemporaryDir dir_;
  platform::CRecordingMessageSink sink_;
};

inline std::vector<std::unique_ptr<vorn::testing::TestDatabase>>* FrameTest::databases_ = nullptr;

}  // namespace vorn::shell::testing
