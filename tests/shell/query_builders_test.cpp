// The query builders: what the dialogs insert finds what the same query
// typed by hand finds, and the named ranges survive the dialog's changes.
#include "shell/query_builders.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSpinBox>
#include <algorithm>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "platform/message_sink.h"
#include "platform/u16.h"
#include "query/query_context.h"
#include "query/query_processor.h"
#include "real_data.h"
#include "temp_folder.h"
#include "textdb/catalogue.h"
#include "textdb/ini_file.h"
#include "textdb/line.h"
#include "textdb/links_line.h"
#include "textdb/tags_line.h"
#include "textdb/test_db.h"
#include "textdb/vorn_db.h"

namespace vorn::shell {
namespace {

class DbContext : public CQueryContext {
 public:
  explicit DbContext(CVornDB* db) : db_(db) {}
  CVornDB* GetDatabase() const override { return db_; }

 private:
  CVornDB* db_;
};

// The real Greek NT when it was built, else the small Greek test text.
class GreekText {
 public:
  GreekText() {
    const std::string folder = testing::RealDataFolder("GNT");
    if (!folder.empty()) {
      dbs_ = std::make_unique<CVornDBs>(std::vector<std::string>{folder}, &sink_, nullptr);
      for (int i = 0; i < dbs_->GetCount() && !db_; ++i)
        if (dbs_->GetStats(i) && dbs_->GetStats(i)->GetName() == u"GNT") db_ = dbs_->GetDatabase(i);
    }
    if (!db_) {
      test_ =
          std::make_unique<vorn::testing::OpenedTestDatabase>(vorn::testing::MakeGreekTestSource());
      db_ = test_->db();
    }
  }
  CVornDB* db() const { return db_; }

  // The hits of `query`, or an empty list with a failure when it does not run.
  std::vector<uint32_t> Hits(const std::u16string& query) const {
    DbContext context(db_);
    CQueryProcessor processor(query, &context, nullptr);
    EXPECT_TRUE(processor.Execute()) << platform::ToUtf8(query);
    return processor.GetHits();
  }

 private:
  platform::CRecordingMessageSink sink_;
  std::unique_ptr<CVornDBs> dbs_;
  std::unique_ptr<vorn::testing::OpenedTestDatabase> test_;
  CVornDB* db_ = nullptr;
};

// Makes `code` the current row of the position's list; false when it is
// not offered.
bool Pick(CTagChooserDialog& dialog, int position, char16_t code) {
  QListWidget* list = dialog.GetPositionList(position);
  for (int row = 0; list && row < list->count(); ++row) {
    if (list->item(row)->data(Qt::UserRole).toString() == QString(QChar(code))) {
      list->setCurrentRow(row);
      return true;
    }
  }
  return false;
}

TEST(QueryBuilders, ATagPickedPositionByPositionFindsWhatTheTypedTagFinds) {
  GreekText text;
  ASSERT_NE(text.db(), nullptr);
  ASSERT_GE(text.db()->GetTagLineIndex(), 0);
  const auto& tags =
      *static_cast<const CVornDBTagsLine*>(text.db()->GetLine(text.db()->GetTagLineIndex()));
  const std::u16string keyword = LineKeyword(tags);
  CTagChooserDialog dialog(tags, nullptr);
  const std::u16string typed = u"N-NM-S";
  for (size_t i = 0; i < typed.size(); ++i)
    ASSERT_TRUE(Pick(dialog, static_cast<int>(i), typed[i])) << i;
  EXPECT_EQ(dialog.GetQuery(), keyword + u" " + typed);
  const std::vector<uint32_t> hits = text.Hits(dialog.GetQuery());
  EXPECT_FALSE(hits.empty());
  EXPECT_EQ(hits, text.Hits(keyword + u" " + typed));
  EXPECT_EQ(dialog.GetSummary()->text().split('\n').value(1).toStdU16String(),
            tags.DescribeTag(typed));

  // Positions left open between choices are wildcards: every tag with N at
  // the first and third places, whatever stands between.
  dialog.GetPositionList(1)->setCurrentRow(0);  // "(any)"
  for (int p = 3; p < static_cast<int>(typed.size()); ++p)
    dialog.GetPositionList(p)->setCurrentRow(0);
  EXPECT_EQ(dialog.GetQuery(), keyword + u" N?N*");
  const std::vector<uint32_t> open = text.Hits(dialog.GetQuery());
  const std::vector<uint32_t> nouns = text.Hits(keyword + u" N-N*");
  EXPECT_FALSE(nouns.empty());
  EXPECT_TRUE(std::includes(open.begin(), open.end(), nouns.begin(), nouns.end()));
}

TEST(QueryBuilders, FormsPickedFromTheWordListJoinWithOr) {
  GreekText text;
  CVornDB* db = text.db();
  CWordListDialog dialog(*db, db->GetFormLineIndex(), nullptr);
  dialog.GetPrefixEdit()->setText(QStringLiteral("λογ"));
  QListWidget* list = dialog.GetFormList();
  ASSERT_GE(list->count(), 2);
  list->item(0)->setSelected(true);
  list->item(1)->setSelected(true);
  const std::u16string query = dialog.GetQuery();
  ASSERT_EQ(query.substr(0, 1), u"(");
  EXPECT_NE(query.find(u" or "), std::u16string::npos);
  // The union finds as many words as the two rows count.
  size_t counted = 0;
  for (int row : {0, 1}) counted += list->item(row)->data(Qt::UserRole).toULongLong();
  EXPECT_EQ(text.Hits(query).size(), counted);

  // A link picked from its kind's entries finds the words its row counts;
  // none picked, every link of the kind.
  ASSERT_GE(db->GetLinksLineIndex(), 0);
  CLinkKindDialog links(*static_cast<const CVornDBLinks*>(db->GetLine(db->GetLinksLineIndex())),
                        nullptr);
  ASSERT_GT(links.GetKindList()->count(), 0);
  EXPECT_GT(text.Hits(links.GetQuery()).size(), counted);
  ASSERT_GT(links.GetEntryList()->count(), 0);
  QListWidgetItem* entry = links.GetEntryList()->item(0);
  entry->setSelected(true);
  EXPECT_EQ(text.Hits(links.GetQuery()).size(), entry->data(Qt::UserRole).toULongLong());
}

TEST(QueryBuilders, NamedRangesAreAddedRenamedAndDeletedKeepingTheRestOfTheFile) {
  GreekText text;
  CVornDB* db = text.db();
  vorn::testing::TempFolder temp{"ranges"};
  const std::string path = temp.path() + "/Ranges.ini";
  std::ofstream(path) << "[Other]\nkept=1\n";
  CNamedRanges ranges;
  ASSERT_TRUE(ranges.Load(path, ""));
  platform::CRecordingMessageSink sink;
  CRangeDialog dialog(*db, &ranges, &sink, nullptr);
  const auto rows = dialog.GetBookList()->findItems(QStringLiteral("JHN"), Qt::MatchExactly);
  ASSERT_EQ(rows.size(), 1);
  dialog.GetBookList()->setCurrentItem(rows.front());
  dialog.GetFirstChapter()->setValue(1);
  dialog.GetLastChapter()->setValue(3);
  EXPECT_EQ(dialog.GetQuery(), u"in JHN 1-3");
  ASSERT_TRUE(dialog.AddNamed(u"Start"));
  ASSERT_TRUE(dialog.RenameNamed(u"Opening"));
  EXPECT_EQ(dialog.GetQuery(), u"in JHN 1-3");
  EXPECT_FALSE(text.Hits(u"text * " + dialog.GetQuery()).empty());

  CNamedRanges again;
  ASSERT_TRUE(again.Load(path, ""));
  ASSERT_EQ(again.GetEntries().size(), 1u);
  EXPECT_EQ(again.GetEntries()[0].name, u"Opening");
  EXPECT_EQ(again.GetEntries()[0].ranges, u"JHN 1-3");
  ASSERT_TRUE(dialog.DeleteNamed());
  CIniFile file;
  ASSERT_TRUE(file.Load(path));
  std::u16string kept;
  EXPECT_TRUE(file.GetString(u"Other", u"kept", &kept));
  ASSERT_TRUE(again.Load(path, ""));
  EXPECT_TRUE(again.GetEntries().empty());
  EXPECT_TRUE(sink.messages().empty());
}

}  // namespace
}  // namespace vorn::shell
