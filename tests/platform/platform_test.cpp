#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "platform/file_system.h"
#include "platform/mapped_file.h"
#include "platform/message_sink.h"
#include "platform/string_table.h"
#include "platform/u16.h"
#include "temp_folder.h"

namespace vorn::platform {
namespace {

TEST(PatternTest, StarAndQuestionOnly) {
  EXPECT_TRUE(MatchesPattern("GNT.qyx", "*.qyx"));
  EXPECT_FALSE(MatchesPattern("GNT.qyx.bak", "*.qyx"));
  EXPECT_TRUE(MatchesPattern(".qyx", "*.qyx"));
  EXPECT_TRUE(MatchesPattern("a1.vtd", "a?.vtd"));
  EXPECT_FALSE(MatchesPattern("a.vtd", "a?.vtd"));
  EXPECT_TRUE(MatchesPattern("[x].vtd", "[x].*"));  // brackets are literal
  EXPECT_FALSE(MatchesPattern("x.vtd", "[x].*"));
  EXPECT_TRUE(MatchesPattern("abcabd", "*ab?"));
}

TEST(FileSystemTest, ListsOnlyWhatWasAskedFor) {
  const vorn::testing::TempFolder folder("platform");
  const std::string& dir = folder.path();
  ASSERT_TRUE(CreateFolder(JoinPath(dir, "A.qyx")));
  ASSERT_TRUE(CreateFolder(JoinPath(dir, "B.qyx")));
  ASSERT_TRUE(WriteFileAtomically(JoinPath(dir, "C.qyx"), "plain file"));
  auto dirs = ListDirectory(dir, "*.qyx", EntryKind::kDirectory);
  std::sort(dirs.begin(), dirs.end());
  EXPECT_EQ(dirs, (std::vector<std::string>{"A.qyx", "B.qyx"}));
  EXPECT_EQ(ListDirectory(dir, "*.qyx", EntryKind::kFile), std::vector<std::string>{"C.qyx"});
  EXPECT_TRUE(ListDirectory(JoinPath(dir, "missing"), "*", EntryKind::kAny).empty());
}

TEST(FileSystemTest, AtomicWriteReplacesWholeOrNothing) {
  const vorn::testing::TempFolder folder("platform");
  const std::string& dir = folder.path();
  std::string path = JoinPath(dir, "Vorn.ini");
  ASSERT_TRUE(WriteFileAtomically(path, "old"));
  ASSERT_TRUE(WriteFileAtomically(path, "new text"));
  std::string bytes;
  ASSERT_TRUE(ReadWholeFile(path, &bytes));
  EXPECT_EQ(bytes, "new text");
  // A folder that cannot be written: the old file stays, the error is told.
  std::string error;
  EXPECT_FALSE(WriteFileAtomically(JoinPath(dir, "no/such/dir/x"), "y", &error));
  EXPECT_FALSE(error.empty());
  EXPECT_EQ(ListDirectory(dir, "*.tmp~", EntryKind::kAny).size(), 0u);
}

TEST(FileSystemTest, CopyMoveDelete) {
  const vorn::testing::TempFolder folder("platform");
  const std::string& dir = folder.path();
  std::string a = JoinPath(dir, "a"), b = JoinPath(dir, "b"), c = JoinPath(dir, "c");
  ASSERT_TRUE(WriteFileAtomically(a, "x"));
  EXPECT_TRUE(CopyFile(a, b));
  EXPECT_TRUE(MoveFile(b, c));
  EXPECT_FALSE(FileExists(b));
  EXPECT_TRUE(FileExists(c));
  EXPECT_TRUE(DeleteFile(c));
  std::string error;
  EXPECT_FALSE(DeleteFile(c, &error));
  EXPECT_FALSE(error.empty());
  EXPECT_TRUE(DirectoryExists(dir));
  EXPECT_EQ(JoinPath("a/", "b"), "a/b");
  EXPECT_EQ(JoinPath("", "b"), "b");
  EXPECT_EQ(WithTrailingSlash("a"), "a/");
}

TEST(MappedFileTest, EmptyFilesOpenAndMissingFilesDoNot) {
  const vorn::testing::TempFolder folder("platform");
  const std::string& dir = folder.path();
  std::string empty = JoinPath(dir, "empty");
  ASSERT_TRUE(WriteFileAtomically(empty, ""));
  MappedFile m;
  EXPECT_TRUE(m.Open(empty));
  EXPECT_TRUE(m.IsOpen());
  EXPECT_EQ(m.Size(), 0u);
  MappedFile missing;
  EXPECT_FALSE(missing.Open(JoinPath(dir, "missing")));
  EXPECT_FALSE(missing.IsOpen());
  EXPECT_FALSE(missing.Open(dir));  // a folder is not a table
  ASSERT_TRUE(WriteFileAtomically(empty, "abc"));
  MappedFile full;
  ASSERT_TRUE(full.Open(empty));
  MappedFile moved = std::move(full);
  EXPECT_FALSE(full.IsOpen());
  ASSERT_EQ(moved.Size(), 3u);
  EXPECT_EQ(moved.Data()[2], 'c');
}

TEST(MessagesTest, StringTableAndPlaceholders) {
  EXPECT_EQ(FormatString(kIdsCantOpenDatabase, u"GNT", u"/data/GNT.qyx/"),
            u"Couldn't open \"GNT\" in \"/data/GNT.qyx/\"");
  EXPECT_EQ(FormatString(kIdsCantReadBible, u"/x/"), u"Couldn't read bible in \"/x/\"");
  EXPECT_EQ(LoadString(12345), u"");
  EXPECT_EQ(FormatPlaceholders(u"100% %1%2%3", u"a", u"b"), u"100% ab%3");
  EXPECT_EQ(ToUtf8(ToU16("λόγος בְּרֵאשִׁית")), "λόγος בְּרֵאשִׁית");
  EXPECT_EQ(ToU16("\xff"), u"\uFFFD");
}

TEST(MessagesTest, RecorderTakesScriptedAnswers) {
  CRecordingMessageSink sink;
  sink.ScriptAnswer(MsgAnswer::kYes);
  sink.ScriptAnswer(MsgAnswer::kCancel);
  sink.ShowWarning(u"w");
  EXPECT_EQ(sink.Ask(u"q1", MsgButtons::kYesNo), MsgAnswer::kYes);
  EXPECT_EQ(sink.Ask(u"q2", MsgButtons::kYesNo), MsgAnswer::kNo);  // no Cancel button
  EXPECT_EQ(sink.Ask(u"q3", MsgButtons::kYesNoCancel), MsgAnswer::kNo);
  ASSERT_EQ(sink.messages().size(), 4u);
  EXPECT_EQ(sink.messages()[0].kind, CRecordingMessageSink::Kind::kWarning);
}

}  // namespace
}  // namespace vorn::platform
