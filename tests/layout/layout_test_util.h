// A small test database opened as the program opens it, for the layout and
// word-details tests.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "platform/message_sink.h"
#include "textdb/db_stats.h"
#include "textdb/test_db.h"
#include "textdb/vorn_db.h"

namespace vorn::testing {

class OpenedTestDB {
 public:
  explicit OpenedTestDB(const DBSource& source) : files_(source) {
    EXPECT_TRUE(files_.ok()) << files_.error();
    stats_ = std::make_unique<CVornDBStats>(files_.folder());
    EXPECT_TRUE(stats_->Load());
    db_ = stats_->OpenDatabase(&sink_, nullptr);
    EXPECT_NE(db_, nullptr);
  }
  CVornDB* db() const { return db_.get(); }

 private:
  TestDatabase files_;
  platform::CRecordingMessageSink sink_;
  std::unique_ptr<CVornDBStats> stats_;
  std::unique_ptr<CVornDB> db_;
};

}  // namespace vorn::testing
