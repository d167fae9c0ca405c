// The record of what a database was compiled from, and reading compressed
// corpus files.
#include "source_files.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "build_stamp.h"
#include "platform/file_system.h"
#include "temp_folder.h"

namespace vorn::build {
namespace {

namespace fs = std::filesystem;

class SourceFilesTest : public ::testing::Test {
 protected:
  void SetUp() override { fs::create_directories(dir_.File("DB.qyx")); }
  std::string Path(const std::string& name) const { return dir_.File(name); }
  testing::TempFolder dir_{"sources"};
};

TEST_F(SourceFilesTest, ADatabaseIsCompiledAgainWhenAnInputOrTheCompilerChanges) {
  const std::string input = Path("book.txt"), db = Path("DB.qyx");
  ASSERT_TRUE(platform::WriteFileAtomically(input, "In the beginning\n"));
  EXPECT_EQ(WhyRecompile(db, "c1", "npm=x"), "not compiled yet");
  ASSERT_TRUE(platform::WriteFileAtomically(Path("DB.qyx/Stats.txt"), "/Name GNT\n"));
  EXPECT_EQ(WhyRecompile(db, "c1", "npm=x"), "no record of what it was compiled from");

  BuildStamp stamp{"c1", "npm=x", {}};
  {
    CInputLog log;
    std::string bytes, error;
    ASSERT_TRUE(ReadSourceFile(input, &bytes, &error)) << error;
    ASSERT_TRUE(ReadSourceFile(input, &bytes, &error)) << error;  // recorded once
    stamp.inputs = log.Inputs();
  }
  ASSERT_EQ(stamp.inputs.size(), 1u);
  BuildStamp parsed;
  ASSERT_TRUE(ParseStamp(FormatStamp(stamp), &parsed));
  EXPECT_EQ(parsed.inputs[0].hash, stamp.inputs[0].hash);
  ASSERT_TRUE(platform::WriteFileAtomically(Path("DB.qyx/Sources.txt"), FormatStamp(stamp)));

  EXPECT_EQ(WhyRecompile(db, "c1", "npm=x"), "");
  EXPECT_EQ(WhyRecompile(db, "c2", "npm=x"), "the compiler changed");
  EXPECT_NE(WhyRecompile(db, "c1", "npm=y"), "");
  // Same size, one letter changed.
  ASSERT_TRUE(platform::WriteFileAtomically(input, "In the Beginning\n"));
  EXPECT_EQ(WhyRecompile(db, "c1", "npm=x"), input + " changed");
  fs::remove(input);
  EXPECT_EQ(WhyRecompile(db, "c1", "npm=x"), input + " can no longer be read");
}

TEST_F(SourceFilesTest, ACompressedFileCutShortIsAnErrorNotAShorterText) {
  const std::string source = std::string(VORN_CORPORA_DIR) + "/morphgnt-sblgnt/84-2Jn-morphgnt.txt";
  std::string whole, error;
  ASSERT_TRUE(ReadSourceFile(source, &whole, &error)) << error;
  EXPECT_EQ(whole.substr(0, 7), "240101 ");

  std::string packed;
  ASSERT_TRUE(platform::ReadWholeFile(source + ".gz", &packed));
  ASSERT_TRUE(
      platform::WriteFileAtomically(Path("cut.txt.gz"), packed.substr(0, packed.size() / 2)));
  std::string bytes;
  EXPECT_FALSE(ReadSourceFile(Path("cut.txt"), &bytes, &error));
  EXPECT_NE(error.find("cut.txt.gz"), std::string::npos) << error;
  EXPECT_FALSE(ReadSourceFile(Path("missing.txt"), &bytes, &error));
  EXPECT_EQ(error, Path("missing.txt") + ": not found");
}

}  // namespace
}  // namespace vorn::build
