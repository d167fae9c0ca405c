// Notes written by one command-line program are read by the next one.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "markup/markup_test_util.h"

#ifdef VORN_CLI_PROGRAM
namespace vorn {
namespace {

TEST(CliNotes, AddedNoteIsShownByTheNextRunAndGoneAfterDelete) {
  testing::MarkupDatabase mdb(testing::MakeMarkupSource(20, {0}));
  ASSERT_TRUE(mdb.ok()) << mdb.error();
  const std::string cli = std::string("'") + VORN_CLI_PROGRAM + "' notes --db MKP --data '" +
                          mdb.data_folder() + "' --work '" + mdb.work() + "' ";
  const std::string out = mdb.work() + "/shown.txt";
  auto run = [](const std::string& command) {
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  };
  ASSERT_EQ(run(cli + "add 3 a note   with blanks"), 0);
  ASSERT_EQ(run(cli + "show 3 > '" + out + "'"), 0);
  const std::string shown = testing::ReadFileOrEmpty(out);
  EXPECT_EQ(shown.substr(0, 2), "3\t");
  EXPECT_NE(shown.find("\ta note with blanks\n"), std::string::npos);
  ASSERT_EQ(run(cli + "delete 3"), 0);
  EXPECT_EQ(run(cli + "show 3"), 1);
}

}  // namespace
}  // namespace vorn
#endif  // VORN_CLI_PROGRAM
