// The reference exchange's object over a real store folder, and the strict
// parser of the remote requests.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "links/exchange_store.h"
#include "links/remote_request.h"
#include "links/remote_socket.h"
#include "links/sf_focus.h"
#include "temp_folder.h"

namespace vorn::links {
namespace {

TEST(SFFocus, SendsUpperCasedKeysOnceAndReceivesOnlyNewsFromOthers) {
  vorn::testing::TempFolder folder("exchange");
  const CExchangeStore store(folder.File("Software/SantaFe/Focus"));
  CSFFocus a(&store);
  CSFFocus b(&store);
  ASSERT_TRUE(a.Send(CBibleRef(u"jhn", 3, u"16a")));
  EXPECT_EQ(store.Read(ExchangeItem::kScriptureReference), "JHN 3:16A");
  // What this program sent comes back through its own watch: no news.
  CBibleRef got;
  EXPECT_FALSE(a.Receive(&got));
  ASSERT_TRUE(b.Receive(&got));
  EXPECT_EQ(CSFFocus::ExchangeText(got), "JHN 3:16A");
  EXPECT_FALSE(b.Receive(&got)) << "the same text twice is news once";
  // Unchanged: nothing is written, even over another program's text.
  ASSERT_TRUE(store.Write(ExchangeItem::kScriptureReference, "ROM 8:28\n"));
  ASSERT_TRUE(a.Send(CBibleRef(u"JHN", 3, u"16a")));
  EXPECT_EQ(store.Read(ExchangeItem::kScriptureReference), "ROM 8:28");
  // Garbage and over-long text are ignored.
  for (const char* text : {"not a reference", "XYZ 1:1", ""}) {
    ASSERT_TRUE(store.Write(ExchangeItem::kScriptureReference, text));
    EXPECT_FALSE(b.Receive(&got)) << text;
  }
  EXPECT_FALSE(store.Write(ExchangeItem::kScriptureReference,
                           std::string(CExchangeStore::kMaxText + 1, 'A')));
}

TEST(SFFocus, AFailedSendIsTriedAgainAndOnlyARegularFileIsRead) {
  vorn::testing::TempFolder folder("exchange");
  const std::string place = folder.File("Focus");
  const CExchangeStore store(place);
  CSFFocus a(&store);
  // A file where the folder should be: nothing can be written.
  ASSERT_TRUE(std::ofstream(place).good());
  EXPECT_FALSE(a.Send(CBibleRef(u"JHN", 3, u"16")));
  std::filesystem::remove(place);
  ASSERT_TRUE(a.Send(CBibleRef(u"JHN", 3, u"16")));
  EXPECT_EQ(store.Read(ExchangeItem::kScriptureReference), "JHN 3:16");
  // A pipe would block the reader, a link to a device feed it forever.
  const std::string item = place + "/ScriptureReference";
  std::filesystem::remove(item);
  ASSERT_EQ(::mkfifo(item.c_str(), 0600), 0);
  EXPECT_EQ(store.Read(ExchangeItem::kScriptureReference), "");
  std::filesystem::remove(item);
  std::filesystem::create_symlink("/dev/zero", item);
  EXPECT_EQ(store.Read(ExchangeItem::kScriptureReference), "");
}

TEST(RemoteRequest, ParsesTheFourVerbsStrictlyAndRefusesTheRest) {
  RemoteRequest r;
  std::string error;
  ASSERT_TRUE(ParseRemoteRequest("goto  1 John 3:16 \tGNT\r", &r, &error));
  EXPECT_EQ(r.verb, RemoteVerb::kGoto);
  EXPECT_EQ(r.argument, "1 John 3:16");
  EXPECT_EQ(r.database, "GNT");
  ASSERT_TRUE(ParseRemoteRequest("query text λόγος", &r, &error));
  EXPECT_EQ(r.argument, "text λόγος");
  EXPECT_TRUE(r.database.empty());
  ASSERT_TRUE(ParseRemoteRequest("where", &r, &error));
  EXPECT_EQ(r.verb, RemoteVerb::kWhere);
  for (std::string_view bad : {"", "GOTO John 3:16", "goto", "goto ", "gotoJohn 3:16", "where now",
                               "where\tGNT", "show John 3:16\t", "goto a\tb\tc", "goto a\x01",
                               "goto \xC3", "goto \xC0\xAF", "goto \xED\xA0\x80", "unknown x"}) {
    RemoteRequest kept;
    kept.argument = "kept";
    EXPECT_FALSE(ParseRemoteRequest(bad, &kept, &error)) << bad;
    EXPECT_EQ(kept.argument, "kept");
  }
  EXPECT_FALSE(ParseRemoteRequest("show " + std::string(kMaxRequestBytes, 'a'), &r, &error));
  EXPECT_FALSE(ParseRemoteRequest("show a\t" + std::string(kMaxDatabaseName + 1, 'a'), &r, &error));
  EXPECT_EQ(FormatReply(false, "two\nlines"), "error two lines\n");
}

TEST(RemoteSocket, OnlyAFolderPrivateToTheUserIsUsed) {
  vorn::testing::TempFolder runtime("runtime");
  const char* saved = std::getenv("XDG_RUNTIME_DIR");
  const std::string restore = saved ? saved : "";
  ::setenv("XDG_RUNTIME_DIR", runtime.path().c_str(), 1);
  std::string error;
  const std::string made = RemoteSocketFolder(&error);
  EXPECT_EQ(made, runtime.File("vorn"));
  struct stat st {};
  ASSERT_EQ(::lstat(made.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0700u);
  EXPECT_EQ(RemoteSocketPath("a/b", &error), "");
  // Opened to others, or a link to elsewhere: refused, not repaired.
  ASSERT_EQ(::chmod(made.c_str(), 0755), 0);
  EXPECT_EQ(RemoteSocketFolder(&error), "");
  std::filesystem::remove_all(made);
  std::filesystem::create_directory_symlink(runtime.path(), made);
  EXPECT_EQ(RemoteSocketPath(kDefaultInstance, &error), "");
  if (saved) {
    ::setenv("XDG_RUNTIME_DIR", restore.c_str(), 1);
  } else {
    ::unsetenv("XDG_RUNTIME_DIR");
  }
}

}  // namespace
}  // namespace vorn::links
