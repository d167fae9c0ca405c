// Damaged databases: what opening refuses at once, and what the full check
// finds, table by table.
#include "textdb/db_check.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "textdb/db_stats.h"
#include "textdb/test_db.h"
#include "textdb/vorn_db.h"
#include "textdb_test_util.h"

namespace vorn {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> Check(const std::string& folder) {
  CVornDBStats stats(folder);
  EXPECT_TRUE(stats.Load());
  std::vector<std::string> problems;
  const bool sound = CheckDatabase(stats, &problems);
  EXPECT_EQ(sound, problems.empty());
  return problems;
}

bool Opens(const std::string& folder) {
  CVornDBStats stats(folder);
  EXPECT_TRUE(stats.Load());
  CVornDB db(&stats, nullptr, nullptr);
  return db.Open();
}

void Zero(const fs::path& file) {
  const auto size = fs::file_size(file);
  std::ofstream(file, std::ios::binary | std::ios::trunc)
      .write(std::string(size, '\0').data(), static_cast<std::streamsize>(size));
}

// Every table of the test database, zero-filled or emptied in turn: the full
// check names the fault each time. Opening refuses all of them except the
// tables it does not read through (sentence data is read on first use,
// a zero-filled variant table is well formed: every form reads as form 0).
// Gloss marks and the extra data of links are left out: they may be empty
// or blank in sound data.
TEST(DBCheckTest, EveryZeroedOrEmptiedTableIsFound) {
  testing::TestDatabase pristine(testing::MakeGreekTestSource());
  ASSERT_TRUE(pristine.ok()) << pristine.error();
  EXPECT_TRUE(Check(pristine.folder()).empty());
  std::vector<fs::path> tables;
  for (const auto& e : fs::recursive_directory_iterator(pristine.folder()))
    if (e.is_regular_file() && e.path().filename() != "Stats.txt" && fs::file_size(e.path()) > 0)
      tables.push_back(fs::relative(e.path(), pristine.folder()));
  ASSERT_GT(tables.size(), 20u);
  for (const fs::path& table : tables) {
    for (const bool emptied : {false, true}) {
      testing::TestDatabase files(testing::MakeGreekTestSource());
      const fs::path file = fs::path(files.folder()) / table;
      if (emptied) {
        fs::resize_file(file, 0);
      } else {
        Zero(file);
      }
      const std::string what = table.string() + (emptied ? " emptied" : " zeroed");
      if (table == "PVlinks/GlossMark.ndx" || table.string().rfind("PVlinks/L8Data", 0) == 0)
        continue;
      EXPECT_FALSE(Check(files.folder()).empty()) << what;
      const bool lazy = table == "Sentence.ndx" || (!emptied && table == "FormByz.ndx");
      if (!lazy) {
        EXPECT_FALSE(Opens(files.folder())) << what;
      }
    }
  }
}

TEST(DBCheckTest, BookListShorterThanTheVerseIndexIsRefused) {
  testing::TestDatabase files(testing::MakeGreekTestSource());
  ASSERT_TRUE(files.ok()) << files.error();
  const std::string stats = files.folder() + "/Stats.txt";
  std::ifstream in(stats);
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const size_t at = text.find("Books: MAT MRK JHN");
  ASSERT_NE(at, std::string::npos);
  text.replace(at, 18, "Books: MAT MRK");
  testing::WriteText(stats, text);
  EXPECT_FALSE(Opens(files.folder()));
  const std::vector<std::string> problems = Check(files.folder());
  ASSERT_EQ(problems.size(), 1u);
  EXPECT_EQ(problems[0], "verses.ndx: 3 books where \"Books\" in Stats.txt lists only 2");
}

TEST(DBCheckTest, AHugeBookListKeepsAtMostTheBooksAVerseKeyCanNumber) {
  testing::TestDatabase files(testing::MakeGreekTestSource());
  ASSERT_TRUE(files.ok()) << files.error();
  std::string books = "Version: 4.01\nName: Big\nBooks:";
  for (int i = 0; i < 100000; ++i) books += " B" + std::to_string(i);
  testing::WriteText(files.folder() + "/Stats.txt", books + "\n");
  CVornDBStats stats(files.folder());
  ASSERT_TRUE(stats.Load());
  EXPECT_EQ(stats.GetBookCount(), CVornDBStats::kMaxBooks + 1);
  EXPECT_EQ(stats.GetBookCode(CVornDBStats::kMaxBooks), u"B253");
  EXPECT_EQ(stats.GetBookCode(CVornDBStats::kMaxBooks + 1), u"");
}

}  // namespace
}  // namespace vorn
