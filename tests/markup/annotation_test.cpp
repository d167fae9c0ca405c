// Annotations: the book files read, written back and refused.
#include "markup/annotation.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "markup/markup_test_util.h"
#include "platform/file_system.h"
#include "platform/u16.h"

namespace vorn {
namespace {

class AnnotationTest : public ::testing::Test {
 protected:
  // MAT 1:1-4 are words 0-19, MRK 1:1-4 words 20-39, five words a verse.
  AnnotationTest() : mdb_(testing::MakeMarkupSource(40, {0, 20})) {}
  void SetUp() override { ASSERT_TRUE(mdb_.ok()) << mdb_.error(); }

  CAnnotation Open() { return CAnnotation(mdb_.db(), mdb_.user_folder(), &mdb_.sink()); }
  std::string BookFile(const char* code) {
    return mdb_.user_folder() + "/Annotations/" + code + ".txt";
  }
  Note Text(std::u16string_view t) { return Note{std::u16string(t), std::nullopt}; }

  testing::MarkupDatabase mdb_;
};

TEST_F(AnnotationTest, ReadsABookAndWritesItBack) {
  testing::WriteFileOrDie(BookFile("MAT"),
                          "ignored before any header\n"
                          "**MAT 1:2.3\r\n"
                          "1,2,3,4,5,6,7,8,-9\r\n"
                          "Line one\r\n"
                          "Line two\r\n"
                          "\r\n"
                          "**mat 1:1.1\n"
                          "lower-case code\n"
                          "**MAT 9:1.1\n"
                          "**MAT 1:1.6\n"
                          "**MAT 1:1.x\n"
                          "**MAT 1:3.1\n"
                          "   \n"
                          "\n"
                          "**MAT 1:4.5\n"
                          "l\xC3\xA4st  \n");
  CAnnotation a = Open();
  Note n;
  ASSERT_TRUE(a.GetNote(7, &n));
  EXPECT_EQ(n.text, u"Line one\r\nLine two");
  ASSERT_TRUE(n.placement.has_value());
  EXPECT_EQ(*n.placement, (WindowPlacement{1, 2, 3, 4, 5, 6, 7, 8, -9}));
  ASSERT_TRUE(a.GetNote(0, &n));
  // Headers of verses or words the database lacks are text of the note before.
  EXPECT_EQ(n.text, u"lower-case code\r\n**MAT 9:1.1\r\n**MAT 1:1.6\r\n**MAT 1:1.x");
  EXPECT_FALSE(n.placement.has_value());
  EXPECT_FALSE(a.HasNote(10));  // only blank lines
  EXPECT_TRUE(a.HasNote(19));
  EXPECT_FALSE(a.HasNote(25));
  EXPECT_FALSE(a.IsBookChanged(1));
  EXPECT_EQ(a.GetNoteTitle(7), u"MAT 1:2 word: 3");

  ASSERT_TRUE(a.StoreNote(3, Text(u"new\r\nnote")));
  EXPECT_TRUE(a.IsBookChanged(1));
  ASSERT_TRUE(a.RemoveNote(19));
  ASSERT_TRUE(a.SaveBook(1));
  EXPECT_FALSE(a.IsBookChanged(1));
  const std::string written = testing::ReadFileOrEmpty(BookFile("MAT"));
  EXPECT_EQ(written,
            "**MAT 1:1.1\nlower-case code\n**MAT 9:1.1\n**MAT 1:1.6\n**MAT 1:1.x\n\n"
            "**MAT 1:1.4\nnew\nnote\n\n"
            "**MAT 1:2.3\n1,2,3,4,5,6,7,8,-9\nLine one\nLine two\n\n");

  CAnnotation again = Open();
  for (WordIndex w : {0, 3, 7}) {
    Note before, after;
    ASSERT_TRUE(a.GetNote(w, &before));
    ASSERT_TRUE(again.GetNote(w, &after));
    EXPECT_EQ(before, after) << w;
  }
  EXPECT_FALSE(again.HasNote(19));
  EXPECT_TRUE(mdb_.sink().messages().empty());
}

TEST_F(AnnotationTest, SavesChangedBooksAfterAsking) {
  CAnnotation a = Open();
  ASSERT_TRUE(a.StoreNote(2, Text(u"in Matthew")));
  ASSERT_TRUE(a.StoreNote(22, Text(u"in Mark")));
  EXPECT_FALSE(a.StoreNote(40, Text(u"outside")));
  EXPECT_EQ(a.GetChangedBooks(), (std::vector<int>{1, 2}));
  mdb_.sink().ScriptAnswer(platform::MsgAnswer::kNo);
  mdb_.sink().ScriptAnswer(platform::MsgAnswer::kYes);
  a.SaveChangedBooks();
  ASSERT_EQ(mdb_.sink().messages().size(), 2u);
  EXPECT_EQ(mdb_.sink().messages()[0].text, u"Do you want to save the annotations for Matthew?");
  EXPECT_EQ(mdb_.sink().messages()[1].text, u"Do you want to save the annotations for Mark?");
  EXPECT_FALSE(platform::FileExists(BookFile("MAT")));
  EXPECT_EQ(testing::ReadFileOrEmpty(BookFile("MRK")), "**MRK 1:1.3\nin Mark\n\n");
  EXPECT_TRUE(a.GetChangedBooks().empty());
}

TEST_F(AnnotationTest, NeverOverwritesABookItCouldNotRead) {
  if (::geteuid() == 0) GTEST_SKIP() << "root reads every file";
  testing::WriteFileOrDie(BookFile("MAT"), "**MAT 1:1.1\nkeep me\n");
  ASSERT_EQ(::chmod(BookFile("MAT").c_str(), 0), 0);
  CAnnotation a = Open();
  EXPECT_FALSE(a.HasNote(0));
  ASSERT_TRUE(a.StoreNote(1, Text(u"x")));
  EXPECT_FALSE(a.SaveBook(1));  // asked to move the file aside: No
  ASSERT_EQ(mdb_.sink().messages().size(), 2u);
  EXPECT_EQ(mdb_.sink().messages()[1].text.substr(0, BookFile("MAT").size() + 2),
            u"\"" + platform::ToU16(BookFile("MAT")) + u"\"");
  EXPECT_NE(mdb_.sink().messages()[1].text.find(u"exists but cannot be read"),
            std::u16string::npos);
  EXPECT_TRUE(a.IsBookChanged(1));  // still changed: a later save may succeed
  ::chmod(BookFile("MAT").c_str(), 0644);
  EXPECT_EQ(testing::ReadFileOrEmpty(BookFile("MAT")), "**MAT 1:1.1\nkeep me\n");
}

TEST_F(AnnotationTest, ASaveAsksBeforeReplacingAnotherProgramsNotes) {
  testing::WriteFileOrDie(BookFile("MAT"), "**MAT 1:1.1\nfirst\n\n");
  CAnnotation a = Open();
  EXPECT_TRUE(a.HasNote(0));
  testing::WriteFileOrDie(BookFile("MAT"), "**MAT 1:1.2\ntheirs\n\n");
  ASSERT_TRUE(a.StoreNote(3, Text(u"mine")));
  mdb_.sink().ScriptAnswer(platform::MsgAnswer::kNo);  // take theirs
  EXPECT_FALSE(a.SaveBook(1));
  EXPECT_FALSE(a.IsBookChanged(1));
  EXPECT_FALSE(a.HasNote(0));
  EXPECT_TRUE(a.HasNote(1));
  EXPECT_FALSE(a.HasNote(3));
  EXPECT_EQ(testing::ReadFileOrEmpty(BookFile("MAT")), "**MAT 1:1.2\ntheirs\n\n");

  testing::WriteFileOrDie(BookFile("MAT"), "**MAT 1:1.3\nnewer\n\n");
  ASSERT_TRUE(a.StoreNote(3, Text(u"mine")));
  mdb_.sink().ScriptAnswer(platform::MsgAnswer::kYes);  // keep mine
  EXPECT_TRUE(a.SaveBook(1));
  EXPECT_EQ(testing::ReadFileOrEmpty(BookFile("MAT")),
            "**MAT 1:1.2\ntheirs\n\n**MAT 1:1.4\nmine\n\n");
  ASSERT_EQ(mdb_.sink().messages().size(), 2u);
  EXPECT_EQ(mdb_.sink().messages()[0].kind, platform::CRecordingMessageSink::Kind::kQuestion);
}

TEST(AnnotationFile, PlacementLinesAreNineIntegersOnly) {
  WindowPlacement p{};
  EXPECT_TRUE(ParsePlacement(u"0,-1,2,3,4,5,6,7,8", &p));
  EXPECT_EQ(FormatPlacement(p), u"0,-1,2,3,4,5,6,7,8");
  for (const char16_t* bad : {u"", u"1,2,3,4,5,6,7,8", u"1,2,3,4,5,6,7,8,9,10", u"1,2,3,4,5,6,7,8,",
                              u"1, 2,3,4,5,6,7,8,9", u"1,2,3,4,5,6,7,8,9x", u"1,,3,4,5,6,7,8,9",
                              u"1,2,3,4,5,6,7,8,9999999999"}) {
    EXPECT_FALSE(ParsePlacement(bad, &p)) << platform::ToUtf8(bad);
  }
}

}  // namespace
}  // namespace vorn
