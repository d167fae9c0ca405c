#include "shell/bcv.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTest>

#include "platform/message_sink.h"
#include "refs/bible_ref.h"
#include "shell/qt_device.h"
#include "textdb/test_db.h"

namespace vorn::shell {
namespace {

using vorn::testing::MakeGreekTestSource;
using vorn::testing::OpenedTestDatabase;

class BcvTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(greek_.ok()) << greek_.error(); }

  CBibleRef Ref(int book, int chapter, const char16_t* label) {
    return CBibleRef(greek_.db(), book, chapter, label);
  }

  OpenedTestDatabase greek_{MakeGreekTestSource()};
  Cbcv bcv_{nullptr};
};

TEST_F(BcvTest, BookListHoldsTheDatabasesBooksAndTheControlsShowTheReference) {
  EXPECT_TRUE(bcv_.SetRef(Ref(2, 1, u"4-6")));
  QComboBox* books = bcv_.GetBookCombo();
  ASSERT_EQ(books->count(), 3);
  EXPECT_EQ(books->itemText(0), QStringLiteral("Matthew"));
  EXPECT_EQ(books->itemText(1), QStringLiteral("Mark"));
  EXPECT_EQ(books->itemText(2), QStringLiteral("John"));
  EXPECT_EQ(books->currentIndex(), 1);
  EXPECT_EQ(bcv_.GetChapterEdit()->text(), QStringLiteral("1"));
  EXPECT_EQ(bcv_.GetVerseEdit()->text(), QStringLiteral("4-6"));
  // The same verse again is no change; another one is.
  EXPECT_FALSE(bcv_.SetRef(Ref(2, 1, u"4-6")));
  EXPECT_TRUE(bcv_.SetRef(Ref(3, 3, u"16")));
  EXPECT_EQ(books->currentIndex(), 2);

  // An unbound reference lists its own book code alone and reads back by it.
  EXPECT_TRUE(bcv_.SetRef(CBibleRef(u"GEN", 12, u"3")));
  ASSERT_EQ(books->count(), 1);
  EXPECT_EQ(books->currentText(), QStringLiteral("GEN"));
  const CBibleRef back = bcv_.GetRef();
  EXPECT_EQ(back.GetDatabase(), nullptr);
  EXPECT_EQ(back.GetKeyString(), u"GEN 12:3");
}

TEST_F(BcvTest, EditedChapterAndVerseReadBackBoundAndEnterChoosesThem) {
  bcv_.SetRef(Ref(1, 1, u"1"));
  QSignalSpy chosen(&bcv_, &Cbcv::RefChosen);
  bcv_.GetChapterEdit()->setText(QStringLiteral("2"));
  bcv_.GetVerseEdit()->setText(QStringLiteral("2B"));
  const CBibleRef edited = bcv_.GetRef();
  EXPECT_EQ(edited.GetDatabase(), greek_.db());
  ASSERT_TRUE(edited.HasEntry());
  EXPECT_EQ(edited.GetKeyString(), u"MAT 2:2b");
  EXPECT_EQ(chosen.count(), 0);

  QTest::keyClick(bcv_.GetVerseEdit(), Qt::Key_Return);
  ASSERT_EQ(chosen.count(), 1);
  EXPECT_EQ(chosen[0][0].value<CBibleRef>().GetKeyString(), u"MAT 2:2b");
  // The controls now show the verse as the database labels it.
  EXPECT_EQ(bcv_.GetVerseEdit()->text(), QStringLiteral("2b"));
  EXPECT_TRUE(bcv_.GetCurrentRef().IsEqual(edited));

  // Picking another book opens it at its start, not at the chapter and verse left behind.
  bcv_.GetBookCombo()->setCurrentIndex(2);
  emit bcv_.GetBookCombo()->activated(2);
  ASSERT_EQ(chosen.count(), 2);
  EXPECT_EQ(bcv_.GetCurrentRef().GetKeyString(), u"JHN 1:1");
}

TEST_F(BcvTest, ATypedChapterOrVerseTheTextLacksIsReportedNotReplaced) {
  platform::CRecordingMessageSink messages;
  bcv_.SetMessageSink(&messages);
  bcv_.SetRef(Ref(3, 1, u"1"));
  QSignalSpy chosen(&bcv_, &Cbcv::RefChosen);
  for (const auto& [chapter, verse] :
       {std::pair{"22", "1"}, {"3", "257"}, {"258", "1"}, {"1", "x"}}) {
    bcv_.GetChapterEdit()->setText(QString::fromLatin1(chapter));
    bcv_.GetVerseEdit()->setText(QString::fromLatin1(verse));
    QTest::keyClick(bcv_.GetVerseEdit(), Qt::Key_Return);
  }
  EXPECT_EQ(chosen.count(), 0);
  ASSERT_EQ(messages.messages().size(), 4u);
  EXPECT_EQ(messages.messages()[0].text, u"Jhn 22:1 is not in this text");
  // The controls show the reference they showed before.
  EXPECT_EQ(bcv_.GetChapterEdit()->text(), QStringLiteral("1"));
  EXPECT_EQ(bcv_.GetVerseEdit()->text(), QStringLiteral("1"));
  bcv_.GetChapterEdit()->setText(QStringLiteral("3"));
  bcv_.GetVerseEdit()->setText(QStringLiteral("16"));
  QTest::keyClick(bcv_.GetChapterEdit(), Qt::Key_Return);
  ASSERT_EQ(chosen.count(), 1);
  EXPECT_EQ(bcv_.GetCurrentRef().GetKeyString(), u"JHN 3:16");
}

TEST_F(BcvTest, VerseSpinOfThreeCrossesIntoTheNextChapterAndRests) {
  bcv_.SetRef(Ref(1, 1, u"1"));
  QSignalSpy chosen(&bcv_, &Cbcv::RefChosen);
  bcv_.GetVerseSpin()->setValue(kSpinCentre + 3);
  ASSERT_EQ(chosen.count(), 1);
  EXPECT_EQ(bcv_.GetCurrentRef().GetKeyString(), u"MAT 2:1");
  EXPECT_EQ(bcv_.GetChapterEdit()->text(), QStringLiteral("2"));
  EXPECT_EQ(bcv_.GetVerseSpin()->value(), kSpinCentre);

  // Backwards across the book's start into nothing: the first verse stays.
  bcv_.GetVerseSpin()->setValue(kSpinCentre - 10);
  EXPECT_EQ(bcv_.GetCurrentRef().GetKeyString(), u"MAT 1:1");

  // A chapter step goes to the next chapter's first verse, across books.
  bcv_.SetRef(Ref(1, 2, u"2a"));
  bcv_.GetChapterSpin()->setValue(kSpinCentre + 1);
  EXPECT_EQ(bcv_.GetCurrentRef().GetKeyString(), u"MRK 1:1");
  EXPECT_EQ(bcv_.GetChapterSpin()->value(), kSpinCentre);
}

TEST_F(BcvTest, SpinsDoNothingWithoutAVerseEntry) {
  bcv_.SetRef(CBibleRef(u"GEN", 1, u"1"));
  QSignalSpy chosen(&bcv_, &Cbcv::RefChosen);
  bcv_.GetVerseSpin()->setValue(kSpinCentre + 1);
  EXPECT_EQ(chosen.count(), 0);
  EXPECT_EQ(bcv_.GetCurrentRef().GetKeyString(), u"GEN 1:1");
  EXPECT_EQ(bcv_.GetVerseSpin()->value(), kSpinCentre);
}

}  // namespace
}  // namespace vorn::shell
