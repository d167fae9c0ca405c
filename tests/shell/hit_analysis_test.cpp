// The hit analysis dialog and the hits chart on the real databases: Hebrew
// lists right to left, header clicks sort, the filter and the copied table
// show the same rows, and a click on a book's bar goes to its first hit.
#include <gtest/gtest.h>

#include <QFile>
#include <QHeaderView>
#include <QLineEdit>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTreeWidget>
#include <memory>
#include <string>

#include "platform/message_sink.h"
#include "platform/u16.h"
#include "real_data.h"
#include "shell/hit_analysis_dialog.h"
#include "shell/hit_chart.h"
#include "temp_folder.h"
#include "textdb/catalogue.h"
#include "textdb/vorn_db.h"

namespace vorn::shell {
namespace {

class HitAnalysisTest : public ::testing::Test {
 protected:
  CVornDB* Open(const char* name) {
    const std::string folder = testing::RealDataFolder(name);
    if (folder.empty()) return nullptr;
    dbs_ = std::make_unique<CVornDBs>(std::vector<std::string>{folder}, &sink_, nullptr);
    const int index = dbs_->FindByName(platform::ToU16(name));
    return index < 0 ? nullptr : dbs_->GetDatabase(index);
  }

  platform::CRecordingMessageSink sink_;
  std::unique_ptr<CVornDBs> dbs_;
};

TEST_F(HitAnalysisTest, HebrewListsRightToLeftAndRowsSortFilterAndCopy) {
  CVornDB* db = Open("HEB");
  if (!db) GTEST_SKIP() << "no databases built";
  // Genesis 1:1-2 and a repeat of its first words.
  std::vector<uint32_t> hits;
  for (uint32_t w = 0; w < 30; ++w) hits.push_back(w);
  CHitAnalysisDlg dialog(db, hits, nullptr);
  EXPECT_TRUE(dialog.IsListRightToLeft());
  ASSERT_TRUE(dialog.SelectPart(QString::fromStdString(db->GetLineName(db->GetGlossLineIndex()))));
  EXPECT_FALSE(dialog.IsListRightToLeft());
  const QStringList rows = dialog.GetRows();
  int sum = 0;
  for (const QString& row : rows) sum += row.section('\t', 0, 0).toInt();
  EXPECT_EQ(sum, 30);

  // A click on the count header puts the most frequent value first.
  auto* list = dialog.findChild<QTreeWidget*>();
  ASSERT_NE(list, nullptr);
  emit list->header()->sectionClicked(0);
  const QStringList sorted = dialog.GetRows();
  EXPECT_GE(sorted.first().section('\t', 0, 0).toInt(), sorted.last().section('\t', 0, 0).toInt());

  const QString value = sorted.first().section('\t', 2);
  auto* filter = dialog.findChild<QLineEdit*>();
  ASSERT_NE(filter, nullptr);
  filter->setText(value);
  EXPECT_TRUE(dialog.GetRows().contains(sorted.first()));
  EXPECT_LT(dialog.GetRows().size(), rows.size());
  EXPECT_EQ(dialog.GetTableText().count('\n'), dialog.GetRows().size() + 1);

  CHitAnalysisDlg none(db, {}, nullptr);
  EXPECT_TRUE(none.GetRows().isEmpty());
}

TEST_F(HitAnalysisTest, ChartCountsEveryHitAndABarGoesToItsFirstHit) {
  CVornDB* db = Open("GNT");
  if (!db) GTEST_SKIP() << "no databases built";
  // One word in each of two books, two in the last.
  const uint32_t last = db->GetWordCount() - 1;
  const std::vector<uint32_t> hits = {5, last - 1, last};
  CHitChart chart(db, hits, nullptr);
  chart.resize(700, 300);
  uint32_t sum = 0;
  for (const HitPlaceCount& p : chart.GetPlaces()) sum += p.hits;
  EXPECT_EQ(sum, 3u);
  ASSERT_EQ(chart.GetPlaces().size(), 27u);
  QSignalSpy spy(&chart, &CHitChart::GoToWordWanted);
  // Near the right end of the plot: the last book's bar.
  const QPointF at(chart.width() - 20, 150);
  ASSERT_EQ(chart.BarAt(at.toPoint()), 26);
  QMouseEvent click(QEvent::MouseButtonPress, at, at, Qt::LeftButton, Qt::LeftButton,
                    Qt::NoModifier);
  QCoreApplication::sendEvent(&chart, &click);
  ASSERT_EQ(spy.count(), 1);
  EXPECT_EQ(spy.at(0).at(0).toInt(), static_cast<int>(last - 1));
  chart.ShowBook(27);
  EXPECT_EQ(chart.GetPlaces().size(), 22u);  // the chapters of Revelation

  // Saved as a drawing; a folder that does not exist is reported.
  const vorn::testing::TempFolder folder{"chart"};
  const QString svg = QString::fromStdString(folder.path() + "/chart.svg");
  ASSERT_TRUE(chart.SaveSvg(svg));
  QFile file(svg);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_TRUE(file.readAll().contains("<svg"));
  EXPECT_FALSE(chart.SaveSvg(QString::fromStdString(folder.path() + "/missing/chart.svg")));
}

}  // namespace
}  // namespace vorn::shell
