// Proposition analyses: the editing commands, view levels, the file and the
// shared list of analyses.
#include "markup/propositions.h"

#include <gtest/gtest.h>

#include "file_size_limit.h"
#include "markup/markup_test_util.h"
#include "markup/propositions_list.h"
#include "markup/props_file.h"
#include "platform/file_system.h"
#include "platform/u16.h"

namespace vorn {
namespace {

using testing::U32s;
using Entries = std::vector<PropEntry>;
using Joins = std::vector<uint32_t>;

constexpr uint32_t kWords = 60;

class PropositionsTest : public ::testing::Test {
 protected:
  // Sentences [0, 21), [21, 40), [40, 60).
  PropositionsTest() : mdb_(testing::MakeMarkupSource(kWords, {0, 21, 40})) {}
  void SetUp() override { ASSERT_TRUE(mdb_.ok()) << mdb_.error(); }

  CPropositions Fresh() { return CPropositions(mdb_.db(), mdb_.user_folder(), &mdb_.sink()); }
  std::string FileOf(std::u16string_view name) {
    return mdb_.user_folder() + "/" + platform::ToUtf8(name) + ".vpo";
  }

  testing::MarkupDatabase mdb_;
};

TEST_F(PropositionsTest, SplitShiftAndUndo) {
  CPropositions p = Fresh();
  EXPECT_EQ(p.GetProposition(10, kAllLevels), (WordSpan{0, 21}));
  EXPECT_EQ(p.GetProposition(30, kAllLevels), (WordSpan{21, 40}));

  p.Split({10});
  EXPECT_EQ(p.GetEntries(), (Entries{{0, 0}, {10, 0}, {kWords, 0}}));
  EXPECT_TRUE(p.IsModified());
  p.ShiftRight({12});
  EXPECT_EQ(p.GetEntries(), (Entries{{0, 0}, {10, 1}, {kWords, 0}}));
  int level = -1;
  EXPECT_EQ(p.GetProposition(15, kAllLevels, &level), (WordSpan{10, 21}));
  EXPECT_EQ(level, 1);
  // The next sentence starts at level 0 without an entry of its own.
  EXPECT_EQ(p.GetProposition(21, kAllLevels, &level), (WordSpan{21, 40}));
  EXPECT_EQ(level, 0);

  ASSERT_TRUE(p.Undo());
  EXPECT_EQ(p.GetEntries(), (Entries{{0, 0}, {10, 0}, {kWords, 0}}));
  ASSERT_TRUE(p.Undo());
  EXPECT_EQ(p.GetEntries(), (Entries{{0, 0}, {10, 1}, {kWords, 0}}));

  p.ShiftLeft({10});
  p.ShiftLeft({10});  // not below 0
  EXPECT_EQ(p.GetEntries(), (Entries{{0, 0}, {10, 0}, {kWords, 0}}));

  // Several selected words of one proposition: it is handled once.
  p.Split({3, 4, 5});
  EXPECT_EQ(p.GetEntries(), (Entries{{0, 0}, {3, 0}, {10, 0}, {kWords, 0}}));
  p.Split({3, 9, 40});  // 3 and 40 begin their propositions
  EXPECT_EQ(p.GetEntries(), (Entries{{0, 0}, {3, 0}, {10, 0}, {kWords, 0}}));
}

TEST_F(PropositionsTest, SentencesJoinByShiftAndJoin) {
  CPropositions p = Fresh();
  p.Split({10});
  p.ShiftRight({25});  // the second sentence has no entry: joined, level 1
  EXPECT_EQ(p.GetJoins(), (Joins{21}));
  EXPECT_EQ(p.GetEntries(), (Entries{{0, 0}, {10, 0}, {21, 1}, {kWords, 0}}));
  EXPECT_EQ(p.GetSentence(5), (WordSpan{0, 40}));
  int level = 0;
  EXPECT_EQ(p.GetProposition(30, kAllLevels, &level), (WordSpan{21, 40}));
  EXPECT_EQ(level, 1);

  p.Join({45});  // a sentence start without entry: joined, no entry added
  EXPECT_EQ(p.GetJoins(), (Joins{21, 40}));
  EXPECT_EQ(p.GetEntries(), (Entries{{0, 0}, {10, 0}, {21, 1}, {kWords, 0}}));
  EXPECT_EQ(p.GetProposition(45, kAllLevels), (WordSpan{21, 60}));

  p.Join({22});  // a proposition with an entry: the entry goes
  EXPECT_EQ(p.GetEntries(), (Entries{{0, 0}, {10, 0}, {kWords, 0}}));
  EXPECT_EQ(p.GetProposition(45, kAllLevels), (WordSpan{10, 60}));

  p.Join({0, 1});  // the first proposition of the text has nothing to join
  EXPECT_EQ(p.GetEntries(), (Entries{{0, 0}, {10, 0}, {kWords, 0}}));

  // In a fresh analysis a sentence joins the one before as well.
  CPropositions q = Fresh();
  q.Join({30});
  EXPECT_EQ(q.GetJoins(), (Joins{21}));
  EXPECT_EQ(q.GetProposition(5, kAllLevels), (WordSpan{0, 40}));
}

TEST_F(PropositionsTest, ViewLevelsFoldDeeperPropositions) {
  CPropositions p = Fresh();
  p.Split({5});
  p.Split({10});
  p.Split({15});
  p.ShiftRight({10});
  p.ShiftRight({10});
  p.ShiftRight({15});
  // Levels: 0 at 0, 0 at 5, 2 at 10, 1 at 15.
  int level = -1;
  EXPECT_EQ(p.GetProposition(12, kAllLevels, &level), (WordSpan{10, 15}));
  EXPECT_EQ(level, 2);
  EXPECT_EQ(p.GetProposition(12, 1, &level), (WordSpan{5, 15}));
  EXPECT_EQ(level, 0);
  EXPECT_EQ(p.GetProposition(7, 1, &level), (WordSpan{5, 15}));
  EXPECT_EQ(p.GetProposition(7, 2), (WordSpan{5, 10}));
  EXPECT_EQ(p.GetProposition(16, 1, &level), (WordSpan{15, 21}));
  EXPECT_EQ(level, 1);
  EXPECT_EQ(p.GetProposition(-1, 1), (WordSpan{}));
  EXPECT_EQ(p.GetProposition(kWords, 1), (WordSpan{}));
}

TEST_F(PropositionsTest, FileRoundTripWithExactBytes) {
  CPropositionsList list(mdb_.work(), &mdb_.sink());
  CPropositions* p = list.CreateFresh(mdb_.db(), nullptr);
  p->Split({10});
  p->ShiftRight({30});
  CPropositions* saved = list.SaveAs(p, u"Mine", nullptr);
  ASSERT_NE(saved, nullptr);
  EXPECT_FALSE(saved->IsModified());
  const std::string expected = U32s({8, 4, 1}) + std::string("MKP\0", 4) + U32s({21}) +
                               U32s({0, 0, 10, 0, 21, 1, kWords, 0});
  EXPECT_EQ(testing::ReadFileOrEmpty(FileOf(u"Mine")), expected);

  CPropositions back = Fresh();
  ASSERT_TRUE(back.Load(u"Mine"));
  EXPECT_EQ(back.GetName(), u"Mine");
  EXPECT_EQ(back.GetJoins(), (Joins{21}));
  EXPECT_EQ(back.GetEntries(), (Entries{{0, 0}, {10, 0}, {21, 1}, {kWords, 0}}));
  EXPECT_FALSE(back.IsModified());

  // Out-of-order entries are skipped, a partial one at the end ignored.
  PropFileData data;
  ASSERT_TRUE(ParsePropositionsFile(
      U32s({8, 4, 0}) + std::string("MKP\0", 4) + U32s({0, 0, 10, 1, 5, 3, kWords, 0}) + "xx",
      u"MKP", kWords, &data));
  EXPECT_EQ(data.entries, (Entries{{0, 0}, {10, 1}, {kWords, 0}}));

  // A database folder's Props subfolder is read when the user has none.
  testing::WriteFileOrDie(mdb_.db_folder() + "/Props/Shipped.vpo", expected);
  EXPECT_TRUE(back.Load(u"Shipped"));
  EXPECT_EQ(list.ListFiles(mdb_.db()), (std::vector<std::u16string>{u"Mine", u"Shipped"}));
}

TEST_F(PropositionsTest, RefusesMalformedFilesWithoutChangingAnything) {
  const std::string head = U32s({8, 4, 1}) + std::string("MKP\0", 4);
  const std::string entries = U32s({0, 0, 10, 0, kWords, 0});
  struct Case {
    const char* what;
    std::string bytes;
  };
  const Case cases[] = {
      {"empty", ""},
      {"short header", U32s({8, 4})},
      {"format", U32s({7, 4, 1}) + std::string("MKP\0", 4) + U32s({21}) + entries},
      {"name too long for the file", U32s({8, 4000, 0}) + "MKP"},
      {"name without terminator", U32s({8, 3, 0}) + "MKP" + entries},
      {"other database", U32s({8, 4, 0}) + std::string("GNT\0", 4) + entries},
      {"joins beyond the file", U32s({8, 4, 0x40000000}) + std::string("MKP\0", 4) + entries},
      {"joins out of order", U32s({8, 4, 2}) + std::string("MKP\0", 4) + U32s({30, 21}) + entries},
      {"join outside the text", head + U32s({kWords}) + entries},
      {"another edition", head + U32s({21}) + U32s({0, 0, 10, 0, kWords - 1, 0})},
      {"no first entry", head + U32s({21}) + U32s({3, 0, kWords, 0})},
      {"one entry", head + U32s({21}) + U32s({0, 0})},
      {"level too deep", head + U32s({21}) + U32s({0, 0, 10, 0x7fffffff, kWords, 0})},
      {"negative level", head + U32s({21}) + U32s({0, 0xffffffff, kWords, 0})},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    PropFileData data;
    data.joins = {99};
    EXPECT_FALSE(ParsePropositionsFile(c.bytes, u"MKP", kWords, &data));
    EXPECT_EQ(data.joins, (Joins{99}));
  }

  testing::WriteFileOrDie(FileOf(u"Other"), head + U32s({21}) + U32s({0, 0, 10, 0, 70, 0}));
  CPropositions p = Fresh();
  p.Split({5});
  mdb_.sink().Clear();
  EXPECT_FALSE(p.Load(u"Other"));
  EXPECT_FALSE(p.Load(u"Missing"));
  ASSERT_EQ(mdb_.sink().messages().size(), 2u);
  EXPECT_EQ(mdb_.sink().messages()[0].text,
            u"Couldn't read file for propositions \"" + platform::ToU16(FileOf(u"Other")) + u"\"");
  EXPECT_EQ(p.GetEntries(), (Entries{{0, 0}, {5, 0}, {kWords, 0}}));
  EXPECT_TRUE(p.IsModified());
  EXPECT_EQ(p.GetName(), u"");
  EXPECT_FALSE(p.Merge(u"Other"));
  EXPECT_EQ(p.GetEntries(), (Entries{{0, 0}, {5, 0}, {kWords, 0}}));
}

TEST_F(PropositionsTest, ShiftRightStopsAtTheDeepestLevel) {
  const std::string deepest = U32s({8, 4, 0}) + std::string("MKP\0", 4) +
                              U32s({0, 0, 10, static_cast<uint32_t>(kMaxPropLevel), kWords, 0});
  testing::WriteFileOrDie(FileOf(u"Deep"), deepest);
  CPropositions p = Fresh();
  ASSERT_TRUE(p.Load(u"Deep"));
  p.ShiftRight({12});
  EXPECT_EQ(p.GetEntries(), (Entries{{0, 0}, {10, kMaxPropLevel}, {kWords, 0}}));
  EXPECT_FALSE(p.IsModified());
}

TEST_F(PropositionsTest, ASaveAsksBeforeReplacingAnotherProgramsVersion) {
  CPropositions mine = Fresh();
  mine.TakeStateFrom(Fresh(), u"A");
  ASSERT_TRUE(mine.Save());
  CPropositions theirs = Fresh();
  ASSERT_TRUE(theirs.Load(u"A"));
  theirs.Split({30});
  ASSERT_TRUE(theirs.Save());
  const std::string their_file = testing::ReadFileOrEmpty(FileOf(u"A"));
  mine.Split({10});
  mdb_.sink().Clear();

  mdb_.sink().ScriptAnswer(platform::MsgAnswer::kCancel);  // neither: nothing written
  EXPECT_FALSE(mine.Save());
  EXPECT_TRUE(mine.IsModified());
  mdb_.sink().ScriptAnswer(platform::MsgAnswer::kNo);  // take theirs
  EXPECT_FALSE(mine.Save());
  EXPECT_FALSE(mine.IsModified());
  EXPECT_EQ(mine.GetEntries(), (Entries{{0, 0}, {30, 0}, {kWords, 0}}));
  EXPECT_EQ(testing::ReadFileOrEmpty(FileOf(u"A")), their_file);
  ASSERT_EQ(mdb_.sink().messages().size(), 2u);
  EXPECT_EQ(mdb_.sink().messages()[0].text,
            u"\"" + platform::ToU16(FileOf(u"A")) +
                u"\" was changed by another program since it was read.\n"
                u"Keep your version (Yes) or take the other program's (No)?");

  theirs.Split({40});
  ASSERT_TRUE(theirs.Save());
  mine.Split({10});
  mdb_.sink().ScriptAnswer(platform::MsgAnswer::kYes);  // keep mine
  EXPECT_TRUE(mine.Save());
  EXPECT_EQ(testing::ReadFileOrEmpty(FileOf(u"A")),
            SerializePropositionsFile(u"MKP", {{}, {{0, 0}, {10, 0}, {30, 0}, {kWords, 0}}}));
}

TEST_F(PropositionsTest, AnAnalysisWhoseSaveFailsAsItsLastViewGoesIsKept) {
  CPropositionsList list(mdb_.work(), &mdb_.sink());
  struct View : CPropositionsViewer {
    void PropositionsChanged(CPropositions*) override {}
  } view;
  CPropositions* fresh = list.CreateFresh(mdb_.db(), nullptr);
  fresh->Split({10});
  ASSERT_NE(list.SaveAs(fresh, u"A", nullptr), nullptr);
  CPropositions* a = list.Load(mdb_.db(), u"A", &view, nullptr);
  ASSERT_NE(a, nullptr);
  a->Split({30});

  // Writing fails beyond a file-size limit of 4 bytes (which binds root too).
  {
    const testing::FileSizeLimit limit;
    mdb_.sink().ScriptAnswer(platform::MsgAnswer::kYes);
    list.Release(a, &view);
  }

  ASSERT_EQ(list.Find(mdb_.db(), u"A"), a) << "the unsaved work is kept";
  EXPECT_TRUE(a->IsModified());
  EXPECT_EQ(list.Load(mdb_.db(), u"A", &view, nullptr), a);
  EXPECT_EQ(a->GetEntries(), (Entries{{0, 0}, {10, 0}, {30, 0}, {kWords, 0}}));
}

TEST_F(PropositionsTest, MergeReloadAndTheSharedList) {
  CPropositionsList list(mdb_.work(), &mdb_.sink());
  CPropositions* a = list.CreateFresh(mdb_.db(), nullptr);
  a->Split({10});
  a->ShiftRight({25});
  a = list.SaveAs(a, u"A", nullptr);
  // Merging a file into itself changes nothing.
  ASSERT_TRUE(a->Merge(u"A"));
  EXPECT_FALSE(a->IsModified());
  EXPECT_EQ(a->GetEntries(), (Entries{{0, 0}, {10, 0}, {21, 1}, {kWords, 0}}));

  CPropositions* b = list.CreateFresh(mdb_.db(), nullptr);
  b->Split({10, 30});
  b->ShiftRight({10});  // A's own (10, 0) wins over this (10, 1)
  b = list.SaveAs(b, u"B", nullptr);
  ASSERT_TRUE(a->Merge(u"B"));
  EXPECT_TRUE(a->IsModified());
  EXPECT_EQ(a->GetJoins(), (Joins{21}));
  EXPECT_EQ(a->GetEntries(), (Entries{{0, 0}, {10, 0}, {21, 1}, {30, 0}, {kWords, 0}}));
  ASSERT_TRUE(a->Undo());
  EXPECT_EQ(a->GetEntries(), (Entries{{0, 0}, {10, 0}, {21, 1}, {kWords, 0}}));
  a->Split({50});
  ASSERT_TRUE(a->Reload());
  EXPECT_EQ(a->GetEntries(), (Entries{{0, 0}, {10, 0}, {21, 1}, {kWords, 0}}));
  EXPECT_FALSE(a->Reload());  // only when modified

  // Two views of the same analysis share it; the last one to let go of a
  // modified analysis is asked.
  struct View : CPropositionsViewer {
    void PropositionsChanged(CPropositions*) override { ++changes; }
    int changes = 0;
  } v1, v2;
  CPropositions* fresh1 = list.CreateFresh(mdb_.db(), &v1);
  CPropositions* shared = list.Load(mdb_.db(), u"A", &v1, fresh1);
  EXPECT_EQ(shared, a);
  EXPECT_EQ(list.Load(mdb_.db(), u"A", &v2, nullptr), a);
  EXPECT_EQ(list.Load(mdb_.db(), u"Missing", &v2, a), nullptr);
  a->Split({12});
  EXPECT_EQ(v1.changes, 1);
  EXPECT_EQ(v2.changes, 1);
  mdb_.sink().Clear();
  list.Release(a, &v1);
  EXPECT_TRUE(mdb_.sink().messages().empty());
  mdb_.sink().ScriptAnswer(platform::MsgAnswer::kYes);
  list.Release(a, &v2);
  ASSERT_EQ(mdb_.sink().messages().size(), 1u);
  EXPECT_EQ(mdb_.sink().messages()[0].text,
            u"Do you want to save the propositions \"A\" for \"MKP\"?");
  EXPECT_EQ(list.Find(mdb_.db(), u"A"), nullptr);
  CPropositions check = Fresh();
  ASSERT_TRUE(check.Load(u"A"));
  EXPECT_EQ(check.GetEntries(), (Entries{{0, 0}, {10, 0}, {12, 0}, {21, 1}, {kWords, 0}}));

  // Save As asks before overwriting and refuses an empty name.
  CPropositions* c = list.CreateFresh(mdb_.db(), nullptr);
  mdb_.sink().Clear();
  EXPECT_FALSE(list.ConfirmSaveAsName(c, u""));
  mdb_.sink().ScriptAnswer(platform::MsgAnswer::kNo);
  EXPECT_FALSE(list.ConfirmSaveAsName(c, u"A"));
  EXPECT_TRUE(list.ConfirmSaveAsName(c, u"New"));
  ASSERT_EQ(mdb_.sink().messages().size(), 2u);
  EXPECT_EQ(mdb_.sink().messages()[0].text, u"Please enter a name for these propositions.");
  EXPECT_EQ(mdb_.sink().messages()[1].text,
            u"\"A\" propositions already exist.\nDo you wish to overwrite them?");
  EXPECT_EQ(list.SaveAs(c, u"../x", nullptr), nullptr);
}

}  // namespace
}  // namespace vorn
