#include <gtest/gtest.h>

#include "refs/bookmarks.h"
#include "refs/history.h"
#include "refs/refs_test_util.h"
#include "textdb/ini_file.h"

namespace vorn {
namespace {

using testing::RefsTestData;

TEST(HistoryTest, BackForwardAndBranching) {
  CHistory h;
  EXPECT_EQ(h.Back(), 0);
  EXPECT_EQ(h.Forward(), 0);
  EXPECT_FALSE(h.CanBack());
  EXPECT_FALSE(h.CanForward());
  h.Add(10);
  h.Add(10);  // the current position again: no growth
  h.Add(20);
  h.Add(30);
  EXPECT_EQ(h.GetPositions().size(), 3u);
  EXPECT_EQ(h.Back(), 20);
  EXPECT_EQ(h.Back(), 10);
  EXPECT_EQ(h.Back(), 10);
  EXPECT_FALSE(h.CanBack());
  EXPECT_TRUE(h.CanForward());
  EXPECT_EQ(h.Forward(), 20);
  EXPECT_EQ(h.Back(), 10);
  // A new focus after going back drops what lay ahead.
  h.Add(40);
  EXPECT_EQ(h.GetPositions(), (std::vector<WordIndex>{10, 40}));
  EXPECT_FALSE(h.CanForward());
  EXPECT_EQ(h.Forward(), 40);
  EXPECT_EQ(h.Back(), 10);
  EXPECT_EQ(h.Forward(), 40);
}

TEST(HistoryTest, OriginOfTheLastQuery) {
  CHistory h;
  EXPECT_EQ(h.GoOrigin(), 0);
  EXPECT_FALSE(h.HasOrigin());
  h.Add(5);
  h.SetOrigin(5);  // already current: no new position
  EXPECT_EQ(h.GetPositions().size(), 1u);
  h.Add(6);
  h.Add(7);
  EXPECT_EQ(h.GoOrigin(), 5);
  EXPECT_EQ(h.GetCursor(), 0u);
  EXPECT_EQ(h.Forward(), 6);
  // Going back past the origin and on elsewhere keeps it while it stays in
  // the history ...
  h.Add(8);
  EXPECT_TRUE(h.HasOrigin());
  EXPECT_EQ(h.GetPositions(), (std::vector<WordIndex>{5, 6, 8}));
  // ... and loses it once it is overwritten.
  h.Back();
  h.Back();
  h.SetOrigin(9);
  EXPECT_EQ(h.GetPositions(), (std::vector<WordIndex>{5, 9}));
  h.Back();
  h.Back();
  h.Add(11);
  EXPECT_FALSE(h.HasOrigin());
  EXPECT_EQ(h.GoOrigin(), 9);  // the value stays; the cursor does not move
  EXPECT_EQ(h.GetCursor(), 1u);
  EXPECT_EQ(h.GetPositions(), (std::vector<WordIndex>{5, 11}));
}

// GEN 1:1, 5:1, 9:9; EXO 2:3, 4:1 in "AAA"; "BBB" has Genesis only.
class BookmarksTest : public ::testing::Test {
 protected:
  void SetUp() override {
    db_ = data_.Add(
        "AAA", {"GEN", "EXO"},
        {{1, 1, u"1", 1}, {1, 5, u"1", 1}, {1, 9, u"9", 1}, {2, 2, u"3", 1}, {2, 4, u"1", 1}});
    other_ = data_.Add("BBB", {"GEN"}, {{1, 1, u"1", 1}, {1, 5, u"1", 1}, {1, 9, u"9", 1}});
    ASSERT_TRUE(db_ && other_);
  }
  CBibleRef At(CVornDB* db, int book, int chapter, int verse) {
    CBibleRef r(db, book, chapter, verse);
    EXPECT_TRUE(r.HasEntry());
    return r;
  }
  std::vector<std::u16string> Keys() const {
    std::vector<std::u16string> keys;
    for (size_t i = 0; i < marks_.GetCount(); ++i) keys.push_back(marks_.GetKey(i));
    return keys;
  }

  RefsTestData data_;
  CVornDB* db_ = nullptr;
  CVornDB* other_ = nullptr;
  CBookmarks marks_;
};

TEST_F(BookmarksTest, AddKeepsReferenceOrderWithoutDuplicates) {
  marks_.Add(At(db_, 2, 2, 3));
  marks_.Add(At(db_, 1, 9, 9));
  marks_.Add(At(db_, 1, 1, 1));
  marks_.Add(At(other_, 1, 5, 1));
  EXPECT_FALSE(marks_.CanAdd(At(db_, 1, 9, 9)));
  marks_.Add(At(db_, 1, 9, 9));
  CBibleRef unbound(u"GEN", 3, 3);
  EXPECT_FALSE(marks_.CanAdd(unbound));
  marks_.Add(unbound);
  marks_.Add(CBibleRef(db_, 7, 1, 1));  // a book the database lacks: no verse
  EXPECT_EQ(Keys(), (std::vector<std::u16string>{u"GEN 1:1", u"GEN 5:1", u"GEN 9:9", u"EXO 2:3"}));
  EXPECT_TRUE(marks_.CanAdd(At(db_, 2, 4, 1)));
  EXPECT_EQ(marks_.Find(At(db_, 1, 9, 9)), 2u);
  EXPECT_EQ(marks_.Find(At(db_, 2, 4, 1)), 4u);
  marks_.Remove(At(other_, 1, 9, 9));
  marks_.Remove(At(db_, 2, 4, 1));  // not stored: nothing happens
  EXPECT_EQ(Keys(), (std::vector<std::u16string>{u"GEN 1:1", u"GEN 5:1", u"EXO 2:3"}));
  marks_.Clear();
  EXPECT_TRUE(marks_.IsEmpty());
}

TEST_F(BookmarksTest, NextAndPrevious) {
  marks_.Add(At(db_, 1, 1, 1));
  marks_.Add(At(db_, 2, 2, 3));
  CBibleRef here = At(db_, 1, 5, 1);
  EXPECT_EQ(marks_.Next(here).GetKeyString(), u"EXO 2:3");
  EXPECT_EQ(marks_.Next(here).GetDatabase(), db_);
  EXPECT_EQ(marks_.Previous(here).GetKeyString(), u"GEN 1:1");
  // On a bookmark: Previous skips it, Next goes beyond it.
  EXPECT_EQ(marks_.Previous(At(db_, 1, 1, 1)).GetKeyString(), u"GEN 1:1");
  EXPECT_EQ(marks_.Next(At(db_, 1, 1, 1)).GetKeyString(), u"EXO 2:3");
  EXPECT_EQ(marks_.Next(At(db_, 2, 2, 3)).GetKeyString(), u"EXO 2:3");
  EXPECT_EQ(marks_.Previous(At(db_, 2, 4, 1)).GetKeyString(), u"EXO 2:3");
  // In a database without Exodus the Exodus bookmark is passed over.
  CBibleRef there = At(other_, 1, 9, 9);
  EXPECT_EQ(marks_.Next(there).GetKeyString(), u"GEN 9:9");
  EXPECT_TRUE(marks_.Next(there).IsEqual(there));
  EXPECT_EQ(marks_.Previous(there).GetKeyString(), u"GEN 1:1");
  EXPECT_EQ(marks_.Previous(there).GetDatabase(), other_);
}

TEST_F(BookmarksTest, MenuItemsShowTheBookmarksInTheCurrentDatabase) {
  marks_.Add(At(db_, 1, 5, 1));
  marks_.Add(At(db_, 2, 2, 3));
  std::vector<CBookmarks::MenuItem> items = marks_.GetMenuItems(At(other_, 1, 5, 1));
  ASSERT_EQ(items.size(), 2u);
  EXPECT_EQ(items[0].text, u"Genesis 5:1");
  EXPECT_TRUE(items[0].enabled);
  EXPECT_TRUE(items[0].checked);
  EXPECT_EQ(items[0].command, CBookmarks::kFirstCommand);
  EXPECT_EQ(items[1].text, u"Exodus 2:3");
  EXPECT_FALSE(items[1].enabled);
  EXPECT_FALSE(items[1].checked);
  EXPECT_EQ(items[1].command, CBookmarks::kFirstCommand + 1);
}

TEST_F(BookmarksTest, SettingsRoundTrip) {
  marks_.Add(At(db_, 2, 2, 3));
  marks_.Add(At(db_, 1, 1, 1));
  std::string path = data_.root() + "/Vorn.ini";
  {
    CIniFile ini;
    ini.SetString(u"Bookmarks", u"999", u"REV 1:1");  // a stale key goes
    ini.SetString(u"Options", u"Keep", u"1");
    marks_.Save(&ini);
    std::u16string value;
    EXPECT_FALSE(ini.GetString(u"Bookmarks", u"999", &value));
    EXPECT_TRUE(ini.GetString(u"Bookmarks", u"1001", &value));
    EXPECT_EQ(value, u"EXO 2:3");
    ASSERT_TRUE(ini.Save(&path));
  }
  CIniFile ini;
  ASSERT_TRUE(ini.Load(path));
  CBookmarks loaded;
  loaded.Add(At(db_, 1, 9, 9));  // replaced by the loaded list
  loaded.Load(ini);
  ASSERT_EQ(loaded.GetCount(), 2u);
  EXPECT_EQ(loaded.GetKey(0), u"GEN 1:1");
  EXPECT_EQ(loaded.GetKey(1), u"EXO 2:3");
  EXPECT_FALSE(loaded.CanAdd(At(db_, 2, 2, 3)));
  CBookmarks empty;
  empty.Save(&ini);
  EXPECT_FALSE(ini.HasSection(u"Bookmarks"));
  loaded.Load(ini);
  EXPECT_TRUE(loaded.IsEmpty());
}

TEST_F(BookmarksTest, LoadKeepsTheStoredOrderPastFourDigitKeys) {
  CIniFile ini;
  ini.SetString(u"Bookmarks", u"10000", u"EXO 4:1");
  ini.SetString(u"Bookmarks", u"9999", u"EXO 2:3");
  ini.SetString(u"Bookmarks", u"1000", u"GEN 1:1");
  ini.SetString(u"Bookmarks", u"1001", u"");
  marks_.Load(ini);
  EXPECT_EQ(Keys(), (std::vector<std::u16string>{u"GEN 1:1", u"EXO 2:3", u"EXO 4:1"}));
}

}  // namespace
}  // namespace vorn
