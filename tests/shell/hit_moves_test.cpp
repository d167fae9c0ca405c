#include "shell/hit_moves.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "platform/message_sink.h"
#include "real_data.h"
#include "refs/bible_ref.h"
#include "textdb/catalogue.h"
#include "textdb/vorn_db.h"

namespace vorn::shell {
namespace {

class HitMovesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string folder = testing::RealDataFolder("GNT");
    if (folder.empty()) GTEST_SKIP() << "no databases built";
    dbs_ = std::make_unique<CVornDBs>(std::vector<std::string>{folder}, &sink_, nullptr);
    for (int i = 0; i < dbs_->GetCount() && !db_; ++i) {
      const CVornDBStats* stats = dbs_->GetStats(i);
      if (stats && stats->GetName() == u"GNT") db_ = dbs_->GetDatabase(i);
    }
    if (!db_) GTEST_SKIP() << "GNT did not open";
  }

  WordIndex At(const char16_t* book, int chapter, int verse, int offset = 0) {
    CBibleRef ref(book, chapter, verse);
    CBibleRef here(ref, db_);
    EXPECT_TRUE(here.HasEntry());
    return here.GetFirstWord() + offset;
  }

  platform::CRecordingMessageSink sink_;
  std::unique_ptr<CVornDBs> dbs_;
  CVornDB* db_ = nullptr;
};

TEST_F(HitMovesTest, StepsBetweenHitsByVerseChapterAndBook) {
  const WordIndex j11a = At(u"JHN", 1, 1, 1), j11b = At(u"JHN", 1, 1, 4), j15 = At(u"JHN", 1, 5, 2),
                  j21 = At(u"JHN", 2, 1), j33 = At(u"JHN", 3, 3, 1), a11 = At(u"ACT", 1, 1, 3);
  const std::vector<uint32_t> hits = {uint32_t(j11a), uint32_t(j11b), uint32_t(j15),
                                      uint32_t(j21),  uint32_t(j33),  uint32_t(a11)};
  EXPECT_EQ(HitMoveTarget(db_, hits, j15, HitMove::kFirst), j11a);
  EXPECT_EQ(HitMoveTarget(db_, hits, j15, HitMove::kLast), a11);
  // Verses: both hits of John 1:1 count as one step.
  EXPECT_EQ(HitMoveTarget(db_, hits, j11a, HitMove::kNextVerse), j15);
  EXPECT_EQ(HitMoveTarget(db_, hits, j11b, HitMove::kNextVerse), j15);
  EXPECT_EQ(HitMoveTarget(db_, hits, j11b, HitMove::kPrevVerse), j11a);
  EXPECT_EQ(HitMoveTarget(db_, hits, j15, HitMove::kPrevVerse), j11a);
  EXPECT_EQ(HitMoveTarget(db_, hits, j11a, HitMove::kPrevVerse), -1);
  // Chapters and books.
  EXPECT_EQ(HitMoveTarget(db_, hits, j11a, HitMove::kNextChapter), j21);
  EXPECT_EQ(HitMoveTarget(db_, hits, j33, HitMove::kPrevChapter), j21);
  EXPECT_EQ(HitMoveTarget(db_, hits, j21, HitMove::kPrevChapter), j11a);
  EXPECT_EQ(HitMoveTarget(db_, hits, j15, HitMove::kEndOfBook), j33);
  EXPECT_EQ(HitMoveTarget(db_, hits, j33, HitMove::kStartOfBook), j11a);
  EXPECT_EQ(HitMoveTarget(db_, hits, a11, HitMove::kStartOfBook), j11a);
  EXPECT_EQ(HitMoveTarget(db_, hits, a11, HitMove::kNextVerse), -1);
  EXPECT_EQ(HitMoveTarget(db_, {}, j15, HitMove::kFirst), -1);
}

}  // namespace
}  // namespace vorn::shell
