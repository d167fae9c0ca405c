// Two real command-line programs saving one tag file at once.
#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <sstream>

#include "markup/markup_test_util.h"
#include "markup/tags_db.h"

#ifdef VORN_CLI_PROGRAM
namespace vorn {
namespace {

// Each program toggles its own words (one of them the even, the other the
// odd ones), one word per run, and notes each word it reports as saved.
// Every noted word must be tagged at the end, and no other.
TEST(ConcurrentSave, TwoProgramsTogglingOneTagLoseNoReportedToggle) {
  constexpr int kPerProgram = 150;
  testing::MarkupDatabase mdb(testing::MakeMarkupSource(2 * kPerProgram, {0}));
  ASSERT_TRUE(mdb.ok()) << mdb.error();
  {
    CTagsDB tags(mdb.db_folder(), u"MKP", 2 * kPerProgram, mdb.user_folder(), &mdb.sink());
    ASSERT_NE(tags.CreateTag(u"", u"T"), nullptr);
  }
  const std::string work = mdb.work();
  std::ostringstream script;
  for (int program = 0; program < 2; ++program) {
    script << "(w=" << program << "; while [ $w -lt " << 2 * kPerProgram << " ]; do "
           << "'" << VORN_CLI_PROGRAM << "' usertag --db MKP --data '" << mdb.data_folder()
           << "' --work '" << work << "' toggle T $w >/dev/null 2>&1 && echo $w >> '" << work
           << "/saved" << program << "'; w=$((w + 2)); done) & ";
  }
  script << "wait";
  ASSERT_EQ(std::system(script.str().c_str()), 0);

  std::set<WordIndex> reported;
  for (int program = 0; program < 2; ++program) {
    std::istringstream saved(testing::ReadFileOrEmpty(work + "/saved" + std::to_string(program)));
    for (WordIndex w; saved >> w;) reported.insert(w);
  }
  EXPECT_GT(reported.size(), static_cast<size_t>(kPerProgram));
  CTagsDB tags(mdb.db_folder(), u"MKP", 2 * kPerProgram, mdb.user_folder(), &mdb.sink());
  CTagDB* t = tags.FindTag(u"T");
  ASSERT_NE(t, nullptr);
  std::set<WordIndex> tagged;
  for (WordIndex w = 0; w < 2 * kPerProgram; ++w) {
    if (t->IsTagged(w)) tagged.insert(w);
  }
  EXPECT_EQ(tagged, reported);
}

}  // namespace
}  // namespace vorn
#endif  // VORN_CLI_PROGRAM
