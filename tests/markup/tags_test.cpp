// User tags: the tag file, the toggle rules, the tag list and its folders.
#include <gtest/gtest.h>

#include <filesystem>

#include "file_size_limit.h"
#include "markup/markup_test_util.h"
#include "markup/tag.h"
#include "markup/tag_file.h"
#include "markup/tag_marks.h"
#include "markup/tags_db.h"
#include "markup/user_folder.h"
#include "markup/view_tags.h"
#include "platform/file_system.h"
#include "platform/string_table.h"
#include "platform/u16.h"

namespace vorn {
namespace {

using testing::U32s;
using Ranges = std::vector<TagRange>;

// The file of a tag "Theme" of database "GNT" with label "th", blue on
// yellow, bold, brackets Begin+End, reserved bytes 7 and 16..19 set.
std::string ThemeFile(const std::string& ranges) {
  std::string f = U32s({20 + 4 + 6 + 3});
  f += std::string("\x01\x00\x02\x07\x01\x01\x03\x05\x0f\x09\x01\x01", 12);
  f += U32s({0xDEADBEEF});
  f += std::string("GNT\0Theme\0th\0", 13);
  return f + ranges;
}

TEST(TagFile, ReadsAndWritesBackTheSameBytes) {
  const std::string bytes = ThemeFile(U32s({5, 7, 9, 9}));
  TagFileHeader h;
  size_t offset = 0;
  ASSERT_TRUE(ParseTagHeader(bytes, &h, &offset));
  EXPECT_EQ(offset, 33u);
  EXPECT_EQ(h.db_name, u"GNT");
  EXPECT_EQ(h.tag_name, u"Theme");
  EXPECT_EQ(h.label, u"th");
  EXPECT_EQ(h.style.new_line, 1);
  EXPECT_EQ(h.style.end_line, 0);
  EXPECT_EQ(h.style.indent_next, 2);
  EXPECT_EQ(h.reserved7, 7);
  EXPECT_EQ(h.style.indent, 1);
  EXPECT_EQ(h.style.bracket_position, 3);
  EXPECT_EQ(h.style.background, 15);
  EXPECT_EQ(h.style.foreground, 9);
  EXPECT_EQ(h.reserved16, 0xDEADBEEFu);
  Ranges ranges;
  ASSERT_TRUE(ParseTagRanges(bytes, offset, 20, &ranges));
  EXPECT_EQ(ranges, (Ranges{{5, 7}, {9, 9}}));
  EXPECT_EQ(SerializeTagFile(h, ranges), bytes);

  // Without the label flag the label string is not taken, and is written empty.
  std::string unflagged = bytes;
  unflagged[15] = 0;
  ASSERT_TRUE(ParseTagHeader(unflagged, &h, &offset));
  EXPECT_EQ(h.label, u"");
  EXPECT_EQ(SerializeTagFile(h, {}).size(), 20u + 4 + 6 + 1);
}

TEST(TagFile, RefusesMalformedFiles) {
  const std::string good = ThemeFile(U32s({5, 7}));
  TagFileHeader h;
  h.tag_name = u"untouched";
  size_t offset = 99;
  EXPECT_FALSE(ParseTagHeader(good.substr(0, 19), &h, &offset));  // short fixed part
  EXPECT_FALSE(ParseTagHeader(good.substr(0, 30), &h, &offset));  // header beyond the file
  std::string small = good;
  small[0] = 22;  // too short for three strings
  EXPECT_FALSE(ParseTagHeader(small, &h, &offset));
  std::string unterminated = good;
  unterminated[32] = 'x';  // the label's terminator
  EXPECT_FALSE(ParseTagHeader(unterminated, &h, &offset));
  EXPECT_EQ(h.tag_name, u"untouched");
  EXPECT_EQ(offset, 99u);

  EXPECT_TRUE(TagHeaderNamesDatabase(good, u"GNT"));
  EXPECT_FALSE(TagHeaderNamesDatabase(good, u"gnt"));
  EXPECT_FALSE(TagHeaderNamesDatabase(good, u"GNT2"));

  Ranges ranges{{1, 1}};
  EXPECT_FALSE(ParseTagRanges(good + "x", 33, 20, &ranges));                // partial range
  EXPECT_FALSE(ParseTagRanges(ThemeFile(U32s({5, 20})), 33, 20, &ranges));  // beyond the text
  EXPECT_FALSE(ParseTagRanges(ThemeFile(U32s({0xFFFFFFFF, 2})), 33, 20, &ranges));
  EXPECT_FALSE(ParseTagRanges(ThemeFile(U32s({7, 5})), 33, 20, &ranges));
  EXPECT_EQ(ranges, (Ranges{{1, 1}}));
}

TEST(TagMarks, OneWordRangesNeedNoStartArray) {
  CTagMarks m;
  m.LoadRanges(20, {{3, 3}, {4, 4}, {9, 9}});
  EXPECT_FALSE(m.HasStarts());
  EXPECT_EQ(m.GetPosition(3), TagPosition::kBeginEnd);
  EXPECT_EQ(m.GetPosition(4), TagPosition::kBeginEnd);
  EXPECT_EQ(m.GetRanges(), (Ranges{{3, 3}, {4, 4}, {9, 9}}));

  // A longer range creates the array; the earlier one-word ranges stay.
  m.LoadRanges(20, {{3, 3}, {4, 6}, {7, 8}});
  EXPECT_TRUE(m.HasStarts());
  EXPECT_EQ(m.GetRanges(), (Ranges{{3, 3}, {4, 6}, {7, 8}}));
  EXPECT_EQ(m.GetPosition(4), TagPosition::kBegin);
  EXPECT_EQ(m.GetPosition(5), TagPosition::kMiddle);
  EXPECT_EQ(m.GetPosition(6), TagPosition::kEnd);
  EXPECT_EQ(m.GetSpans(), (std::vector<WordSpan>{{3, 4}, {4, 7}, {7, 9}}));
}

TEST(TagMarks, ToggleWordKeepsTheRangesAroundIt) {
  CTagMarks m;
  m.LoadRanges(20, {{4, 8}});
  m.ToggleWord(4);  // the first word: the range goes on from 5
  EXPECT_EQ(m.GetRanges(), (Ranges{{5, 8}}));
  m.ToggleWord(6);  // a middle word splits it
  EXPECT_EQ(m.GetRanges(), (Ranges{{5, 5}, {7, 8}}));
  m.ToggleWord(8);  // the last word shortens it
  EXPECT_EQ(m.GetRanges(), (Ranges{{5, 5}, {7, 7}}));
  m.ToggleWord(6);  // tagging a gap makes a range of its own
  EXPECT_EQ(m.GetRanges(), (Ranges{{5, 5}, {6, 6}, {7, 7}}));
  m.ToggleWord(6);
  m.ToggleWord(-1);
  m.ToggleWord(20);
  EXPECT_EQ(m.GetRanges(), (Ranges{{5, 5}, {7, 7}}));
}

TEST(TagMarks, ToggleRangeNeverLeavesWordsOutsideEveryRange) {
  CTagMarks m;
  m.LoadRanges(20, {{5, 9}});
  EXPECT_FALSE(m.ToggleRange(3, 2));
  EXPECT_FALSE(m.ToggleRange(18, 20));
  // Cutting the front off a range: what is left is still a range.
  ASSERT_TRUE(m.ToggleRange(3, 5));
  EXPECT_EQ(m.GetRanges(), (Ranges{{3, 4}, {6, 9}}));
  // Inverting a mixed stretch.
  CTagMarks n;
  n.LoadRanges(20, {{5, 5}});
  ASSERT_TRUE(n.ToggleRange(3, 8));
  EXPECT_EQ(n.GetRanges(), (Ranges{{3, 4}, {6, 8}}));
}

class TagsTest : public ::testing::Test {
 protected:
  TagsTest() : mdb_(testing::MakeMarkupSource(40, {0, 20})) {}
  void SetUp() override { ASSERT_TRUE(mdb_.ok()) << mdb_.error(); }

  std::unique_ptr<CTagsDB> Open() {
    return std::make_unique<CTagsDB>(mdb_.db_folder(), u"MKP", 40, mdb_.user_folder(),
                                     &mdb_.sink());
  }
  std::string DbTagFile(std::u16string_view name, const std::string& ranges) {
    std::string n = platform::ToUtf8(name);
    std::string f = U32s({static_cast<uint32_t>(20 + 4 + n.size() + 1 + 1)});
    f += std::string(16, '\0');
    f += std::string("MKP\0", 4) + n + std::string("\0\0", 2);
    return f + ranges;
  }

  testing::MarkupDatabase mdb_;
};

TEST_F(TagsTest, SelectionToggleFollowsTheExamples) {
  auto tags = Open();
  CTagDB* t = tags->CreateTag(u"", u"Theme");
  ASSERT_NE(t, nullptr);
  int repaints = 0;
  CViewTags view([&] { ++repaints; });
  view.ToggleSelection(t, {5, 6, 7}, -1);  // shows the tag, then one range
  EXPECT_TRUE(view.IsTagDisplayed(t));
  view.ToggleSelection(t, {9}, 9);
  EXPECT_EQ(t->GetSpans(), (std::vector<WordSpan>{{5, 8}, {9, 10}}));
  EXPECT_GT(repaints, 0);

  // Word 6 with an untagged current word: nothing changes.
  view.ToggleSelection(t, {6}, 0);
  EXPECT_EQ(t->GetSpans(), (std::vector<WordSpan>{{5, 8}, {9, 10}}));
  // With word 6 itself current it leaves the range.
  view.ToggleSelection(t, {6}, 6);
  EXPECT_EQ(t->GetSpans(), (std::vector<WordSpan>{{5, 6}, {7, 8}, {9, 10}}));

  // A whole range selected exactly goes away in one step.
  view.ToggleSelection(t, {12, 13, 14}, -1);
  view.ToggleSelection(t, {12, 13, 14}, -1);
  EXPECT_EQ(t->GetSpans(), (std::vector<WordSpan>{{5, 6}, {7, 8}, {9, 10}}));

  EXPECT_TRUE(t->IsModified());
  ASSERT_TRUE(t->Save());
  // A new tag shows at once: a solid underline in the first colour new
  // tags take (the style bytes follow the header's length).
  std::string expected = DbTagFile(u"Theme", U32s({5, 5, 7, 7, 9, 9}));
  expected[4 + 6] = kBracketUnder;
  expected[4 + 7] = 9;
  EXPECT_EQ(testing::ReadFileOrEmpty(mdb_.user_folder() + "/Theme.vtd"), expected);
  view.ReleaseTags();
  EXPECT_TRUE(mdb_.sink().messages().empty());
}

TEST_F(TagsTest, ListsTagsByIdentityUserCopyFirst) {
  testing::WriteFileOrDie(mdb_.db_folder() + "/Theme.vtd", DbTagFile(u"Theme", U32s({1, 3})));
  testing::WriteFileOrDie(mdb_.db_folder() + "/Miscellaneous/other.vtd", DbTagFile(u"other", ""));
  testing::WriteFileOrDie(mdb_.db_folder() + "/Acts/x.vtd", DbTagFile(u"x", ""));
  // Not tags: another database's file and a file too short for a header.
  std::string foreign = DbTagFile(u"y", "");
  foreign[20] = 'Q';
  testing::WriteFileOrDie(mdb_.db_folder() + "/y.vtd", foreign);
  testing::WriteFileOrDie(mdb_.db_folder() + "/z.vtd", "abc");

  auto tags = Open();
  ASSERT_EQ(tags->GetCount(), 3u);
  EXPECT_EQ(tags->GetTags()[0]->GetName(), u"other");
  EXPECT_EQ(tags->GetTags()[1]->GetName(), u"Theme");
  EXPECT_EQ(tags->GetTags()[2]->GetRelativeName(), u"Acts\\x");
  EXPECT_EQ(tags->GetSetNames(), (std::vector<std::u16string>{u"Acts", u"Miscellaneous"}));
  // "x" in "miscellaneous" and "X" without a set are the same tag.
  EXPECT_TRUE(tags->GetTags()[0]->IsSameTag(u"miscellaneous", u"OTHER"));
  EXPECT_EQ(tags->FindTag(u"MISCELLANEOUS", u"Other"), tags->GetTags()[0]);
  EXPECT_EQ(tags->CreateTag(u"", u"OTHER"), nullptr);
  ASSERT_FALSE(mdb_.sink().messages().empty());
  EXPECT_EQ(mdb_.sink().messages().back().text, u"Tag: \"Miscellaneous/OTHER\" already exists!");

  // Editing and saving the database's tag writes the user's copy, which
  // hides the database's file from then on.
  CTagDB* theme = tags->FindTag(u"theme");
  EXPECT_TRUE(theme->IsDatabaseTag());
  theme->ToggleWord(10);
  ASSERT_TRUE(theme->Save());
  EXPECT_FALSE(theme->IsDatabaseTag());
  EXPECT_EQ(testing::ReadFileOrEmpty(mdb_.db_folder() + "/Theme.vtd"),
            DbTagFile(u"Theme", U32s({1, 3})));
  tags = Open();
  theme = tags->FindTag(u"Theme");
  EXPECT_FALSE(theme->IsDatabaseTag());
  EXPECT_EQ(theme->GetSpans(), (std::vector<WordSpan>{{1, 4}, {10, 11}}));

  // Deleting the user's copy brings the database's tag back.
  ASSERT_TRUE(tags->DeleteTag(theme, false));
  theme = tags->FindTag(u"Theme");
  ASSERT_NE(theme, nullptr);
  EXPECT_TRUE(theme->IsDatabaseTag());
  EXPECT_EQ(theme->GetSpans(), (std::vector<WordSpan>{{1, 4}}));
}

TEST_F(TagsTest, CopiesRenamesAndDeletes) {
  auto tags = Open();
  CTagDB* a = tags->CreateTag(u"Set", u"A");
  ASSERT_NE(a, nullptr);
  a->ToggleRange(2, 4);
  a->SetLabel(u"0123456789abc");
  EXPECT_EQ(a->GetLabel(), u"0123456789");
  ASSERT_TRUE(a->Save());

  CTagDB* b = tags->CopyTag(a, u"", u"B");
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(b->GetSpans(), (std::vector<WordSpan>{{2, 5}}));
  EXPECT_EQ(b->GetLabel(), u"0123456789");
  EXPECT_EQ(tags->CopyTag(a, u"miscellaneous", u"b"), nullptr);

  ASSERT_TRUE(tags->RenameTag(b, u"Other", u"C"));
  EXPECT_EQ(b->GetFilePath(), mdb_.user_folder() + "/Other/C.vtd");
  EXPECT_FALSE(platform::FileExists(mdb_.user_folder() + "/B.vtd"));
  EXPECT_TRUE(tags->RenameTag(b, u"other", u"c"));  // its own identity, other case
  EXPECT_FALSE(tags->RenameTag(b, u"Set", u"a"));

  // Names that are no file names are refused before anything is written.
  EXPECT_EQ(tags->CreateTag(u"", u"../escape"), nullptr);
  EXPECT_EQ(tags->CreateTag(u"..", u"x"), nullptr);
  EXPECT_FALSE(platform::FileExists(mdb_.work() + "/escape.vtd"));

  // Delete asks first; No keeps everything.
  mdb_.sink().ScriptAnswer(platform::MsgAnswer::kNo);
  EXPECT_FALSE(tags->DeleteTag(a, true));
  CViewTags view;
  view.ToggleTag(a);
  mdb_.sink().ScriptAnswer(platform::MsgAnswer::kYes);
  ASSERT_TRUE(tags->DeleteTag(a, true));
  EXPECT_TRUE(view.GetDisplayedTags().empty());
  EXPECT_FALSE(platform::FileExists(mdb_.user_folder() + "/Set/A.vtd"));
  EXPECT_EQ(tags->GetCount(), 1u);
}

TEST_F(TagsTest, LastViewAsksToSaveChanges) {
  auto tags = Open();
  CTagDB* t = tags->CreateTag(u"", u"T");
  CViewTags one, two;
  one.ToggleTag(t);
  two.ToggleTag(t);
  t->ToggleRange(1, 2);
  one.ToggleTag(t);  // another view still shows it: no question
  EXPECT_TRUE(mdb_.sink().messages().empty());

  mdb_.sink().ScriptAnswer(platform::MsgAnswer::kCancel);
  two.ToggleTag(t);
  ASSERT_EQ(mdb_.sink().messages().size(), 1u);
  EXPECT_EQ(mdb_.sink().messages()[0].text, u"Save changes to T tag?");
  EXPECT_TRUE(t->IsModified());  // Cancel keeps the changes in memory

  two.ToggleTag(t);
  mdb_.sink().ScriptAnswer(platform::MsgAnswer::kNo);
  two.ToggleTag(t);  // No reverts to the file
  EXPECT_FALSE(t->IsModified());
  EXPECT_TRUE(t->IsEmpty());

  two.ToggleTag(t);
  t->ToggleRange(3, 3);
  mdb_.sink().ScriptAnswer(platform::MsgAnswer::kYes);
  two.ReleaseTags();
  EXPECT_FALSE(t->IsModified());
  EXPECT_EQ(Open()->FindTag(u"T")->GetSpans(), (std::vector<WordSpan>{{3, 4}}));
}

TEST_F(TagsTest, AYesWhoseSaveFailsAnswersCancel) {
  auto tags = Open();
  CTagDB* t = tags->CreateTag(u"", u"T");
  t->ToggleRange(1, 2);
  // Writing fails beyond a file-size limit of 4 bytes (which binds root too).
  platform::MsgAnswer answer;
  {
    const testing::FileSizeLimit limit;
    mdb_.sink().ScriptAnswer(platform::MsgAnswer::kYes);
    answer = t->SaveWithPrompt();
  }
  EXPECT_EQ(answer, platform::MsgAnswer::kCancel);
  EXPECT_TRUE(t->IsModified());
}

TEST_F(TagsTest, UnreadableWordsLeaveTheTagAloneAndUnsaved) {
  testing::WriteFileOrDie(mdb_.user_folder() + "/Bad.vtd", DbTagFile(u"Bad", U32s({30, 45})));
  auto tags = Open();
  CTagDB* bad = tags->FindTag(u"Bad");
  ASSERT_NE(bad, nullptr);  // the header reads
  EXPECT_FALSE(bad->IsTagged(30));
  ASSERT_EQ(mdb_.sink().messages().size(), 1u);
  EXPECT_EQ(mdb_.sink().messages()[0].text,
            u"Couldn't read file for user tag \"" + platform::ToU16(bad->GetFilePath()) + u"\"");
  bad->ToggleWord(1);  // nothing to toggle
  EXPECT_FALSE(bad->IsModified());
  EXPECT_FALSE(bad->Save());  // never replaces the file's ranges with nothing
  EXPECT_EQ(testing::ReadFileOrEmpty(bad->GetFilePath()), DbTagFile(u"Bad", U32s({30, 45})));
}

TEST_F(TagsTest, ASaveKeepsWhatAnotherProgramSavedMeanwhile) {
  auto mine = Open();
  CTagDB* t = mine->CreateTag(u"", u"T");
  ASSERT_NE(t, nullptr);
  t->ToggleRange(1, 3);
  ASSERT_TRUE(t->Save());

  // Another program reads the tag, untags word 2 and tags 10..12, and saves
  // while this one adds word 20 and changes the label.
  auto theirs = Open();
  CTagDB* other = theirs->FindTag(u"T");
  other->ToggleWord(2);
  other->ToggleRange(10, 12);
  t->ToggleWord(20);
  t->SetLabel(u"mine");
  ASSERT_TRUE(other->Save());
  ASSERT_TRUE(t->Save());
  EXPECT_EQ(t->GetSpans(), (std::vector<WordSpan>{{1, 2}, {3, 4}, {10, 13}, {20, 21}}));
  EXPECT_EQ(Open()->FindTag(u"T")->GetSpans(), t->GetSpans());
  EXPECT_EQ(Open()->FindTag(u"T")->GetLabel(), u"mine");

  // A program without changes of its own just reads the newer file.
  EXPECT_TRUE(other->ReloadIfChanged());
  EXPECT_EQ(other->GetSpans(), t->GetSpans());
  EXPECT_FALSE(other->ReloadIfChanged());
}

TEST_F(TagsTest, AFileThatCannotBeReadIsListedAndNeverReplaced) {
  const std::string damaged = DbTagFile(u"Lost", "").substr(0, 22);
  testing::WriteFileOrDie(mdb_.user_folder() + "/Lost.vtd", damaged);
  auto tags = Open();
  EXPECT_EQ(tags->GetCount(), 0u);
  ASSERT_EQ(tags->GetUnreadable().size(), 1u);
  EXPECT_EQ(tags->GetUnreadable()[0].name, u"Lost");
  EXPECT_EQ(tags->GetUnreadable()[0].reason, u"damaged header");

  // Create refuses; the question to move it aside is answered No.
  EXPECT_EQ(tags->CreateTag(u"", u"lost"), nullptr);
  EXPECT_FALSE(platform::FileExists(mdb_.user_folder() + "/lost.vtd"));
  ASSERT_FALSE(mdb_.sink().messages().empty());
  EXPECT_EQ(mdb_.sink().messages().back().text,
            u"\"" + platform::ToU16(mdb_.user_folder() + "/Lost.vtd") +
                u"\" exists but cannot be read: damaged header");
  EXPECT_EQ(testing::ReadFileOrEmpty(mdb_.user_folder() + "/Lost.vtd"), damaged);

  // Yes moves it aside first.
  mdb_.sink().ScriptAnswer(platform::MsgAnswer::kYes);
  ASSERT_NE(tags->CreateTag(u"", u"LOST"), nullptr);
  EXPECT_TRUE(tags->GetUnreadable().empty());
  std::vector<std::string> aside =
      platform::ListDirectory(mdb_.user_folder(), "Lost.vtd.damaged-*", platform::EntryKind::kFile);
  ASSERT_EQ(aside.size(), 1u);
  EXPECT_EQ(testing::ReadFileOrEmpty(mdb_.user_folder() + "/" + aside[0]), damaged);
}

TEST_F(TagsTest, ADatabaseNameNeverLeadsOutOfTheWorkingFolder) {
  EXPECT_EQ(UserFolder(mdb_.work(), u"MKP"), mdb_.work() + "/MKP");
  for (const char16_t* name : {u"../../../escaped", u"..", u"/tmp/x", u"a/../../b", u""}) {
    SCOPED_TRACE(platform::ToUtf8(name));
    EXPECT_EQ(UserFolder(mdb_.work(), name), "");
  }
  CTagsDB tags(mdb_.db_folder(), u"MKP", 40, UserFolder(mdb_.work(), u"../../escaped"),
               &mdb_.sink());
  EXPECT_EQ(tags.CreateTag(u"Set", u"T"), nullptr);
  EXPECT_TRUE(platform::ListDirectory(mdb_.work(), "*", platform::EntryKind::kAny).size() ==
              platform::ListDirectory(mdb_.work(), "*.qyx", platform::EntryKind::kAny).size());
}

TEST_F(TagsTest, WordTagsGiveLabelsLookAndLineBreaks) {
  auto tags = Open();
  CTagDB* a = tags->CreateTag(u"", u"A");
  CTagDB* b = tags->CreateTag(u"", u"B");
  TagStyle sa;
  sa.foreground = 5;
  sa.background = 9;
  sa.font_style = kTagBold;
  sa.new_line = 1;
  sa.indent = 2;
  a->SetStyle(sa);
  a->SetLabel(u"a");
  TagStyle sb;
  sb.foreground = 7;
  sb.background = 40;  // out of range: no colour
  sb.font_style = kTagItalic;
  sb.end_line = 1;
  sb.indent_next = 3;
  b->SetStyle(sb);
  b->SetLabel(u"b");
  a->ToggleRange(1, 3);
  b->ToggleRange(3, 3);
  b->ToggleRange(5, 6);

  CViewTags view;
  view.ToggleTag(b);
  view.ToggleTag(a);
  EXPECT_EQ(view.GetDisplayedTags(), (std::vector<CTagDB*>{a, b}));
  EXPECT_EQ(view.MakeTag(4), nullptr);
  EXPECT_FALSE(view.WordHasTag(4));

  auto w3 = view.MakeTag(3);
  ASSERT_NE(w3, nullptr);
  EXPECT_EQ(w3->GetBeginLabels(), u"b");
  EXPECT_EQ(w3->GetEndLabels(), u"a");
  EXPECT_EQ(w3->GetLook(), (TagLook{7, 9, kTagBold | kTagItalic}));
  int indent = -1;
  EXPECT_FALSE(w3->StartsLine(&indent));
  EXPECT_TRUE(w3->EndsLine(&indent));
  EXPECT_EQ(indent, 3);
  EXPECT_EQ(w3->GetDetailsRow(), u"User tags: A, B");

  auto w1 = view.MakeTag(1);
  EXPECT_TRUE(w1->StartsLine(&indent));
  EXPECT_EQ(indent, 2);
  EXPECT_FALSE(view.MakeTag(5)->EndsLine(&indent));
  EXPECT_EQ(view.MakeTag(6)->GetEndLabels(), u"b");
  view.ReleaseTags();
}

}  // namespace
}  // namespace vorn
