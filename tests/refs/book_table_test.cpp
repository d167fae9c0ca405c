#include "refs/book_table.h"

#include <gtest/gtest.h>

#include <set>

namespace vorn {
namespace {

TEST(BookTableTest, RowsInCanonicalOrderWithTerminator) {
  EXPECT_EQ(std::u16string(GetBookRow(0).code), u"GEN");
  EXPECT_EQ(std::u16string(GetBookRow(38).code), u"MAL");
  EXPECT_EQ(std::u16string(GetBookRow(39).code), u"2ES");
  EXPECT_EQ(std::u16string(GetBookRow(66).name), u"Bel and the Dragon (T)");
  EXPECT_EQ(std::u16string(GetBookRow(67).code), u"MAT");
  EXPECT_EQ(std::u16string(GetBookRow(93).name), u"Revelation");
  for (int outside : {-1, kBookCount, 500}) {
    EXPECT_EQ(std::u16string(GetBookRow(outside).name), u"No Book!");
    EXPECT_EQ(BookCodeFromIndex(outside), u"");
  }
  // Every code is three characters and names one row only; every row is
  // found again by its name and by its code.
  std::set<std::u16string> codes, names;
  for (int i = 0; i < kBookCount; ++i) {
    const BookRow& row = GetBookRow(i);
    EXPECT_EQ(std::u16string(row.code).size(), 3u) << i;
    EXPECT_TRUE(codes.insert(row.code).second) << i;
    EXPECT_TRUE(names.insert(row.name).second) << i;
    EXPECT_EQ(BookIndexFromCode(row.code), i);
    EXPECT_EQ(BookIndexFromName(row.name), i);
    EXPECT_EQ(BookCodeFromIndex(i), row.code);
    EXPECT_EQ(BookNameFromCode(row.code), row.name);
  }
}

TEST(BookTableTest, LookupIgnoresCaseAndTakesNamesOrCodes) {
  EXPECT_EQ(BookCodeFromName(u"genesis"), u"GEN");
  EXPECT_EQ(BookCodeFromName(u"gen"), u"GEN");
  EXPECT_EQ(BookCodeFromName(u"GENESIS"), u"GEN");
  EXPECT_EQ(BookCodeFromName(u"Gn"), u"");
  EXPECT_EQ(BookCodeFromName(u""), u"");
  EXPECT_EQ(BookCodeFromName(u"song of songs"), u"SNG");
  EXPECT_EQ(BookCodeFromName(u"1 samuel"), u"1SA");
  EXPECT_EQ(BookCodeFromName(u"1sa"), u"1SA");
  EXPECT_EQ(BookCodeFromName(u"Esther (Greek)"), u"ESG");
  EXPECT_EQ(BookCodeFromName(u" Genesis"), u"");
  EXPECT_EQ(BookNameFromCode(u"jhn"), u"John");
  EXPECT_EQ(BookNameFromCode(u"XYZ"), u"No Book!");
  // The terminator's empty code is no book.
  EXPECT_EQ(BookNameFromCode(u""), u"No Book!");
  EXPECT_EQ(BookIndexFromCode(u""), -1);
  EXPECT_EQ(BookIndexFromCode(u"Rev"), 93);
  EXPECT_EQ(BookIndexFromName(u"Revelation"), 93);
  EXPECT_EQ(BookIndexFromName(u"John"), 70);
  EXPECT_EQ(BookIndexFromName(u"Jn"), -1);
}

TEST(BookTableTest, ShortNames) {
  EXPECT_EQ(ShortBookName(u"GEN"), u"Gen");
  EXPECT_EQ(ShortBookName(u"1SA"), u"1Sa");
  EXPECT_EQ(ShortBookName(u"S3Y"), u"S3y");
  EXPECT_EQ(ShortBookName(u"SNG"), u"Sng");
  EXPECT_EQ(ShortBookName(u""), u"");
  EXPECT_EQ(ShortBookName(u"1"), u"1");
}

}  // namespace
}  // namespace vorn
