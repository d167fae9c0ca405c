// Opening whole databases: what Open refuses, how unit look-ups stay inside
// the text, and how the catalogue files the databases it finds.
#include "textdb/vorn_db.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/message_sink.h"
#include "platform/string_table.h"
#include "platform/u16.h"
#include "temp_folder.h"
#include "textdb/catalogue.h"
#include "textdb/db_stats.h"
#include "textdb/records.h"
#include "textdb/table_writer.h"
#include "textdb/test_db.h"
#include "textdb_test_util.h"

namespace vorn {
namespace {

namespace fs = std::filesystem;

// Appends raw records to a table file.
template <typename T>
void AppendRecords(const std::string& path, const std::vector<T>& records) {
  FILE* f = std::fopen(path.c_str(), "ab");
  ASSERT_NE(f, nullptr);
  std::fwrite(records.data(), sizeof(T), records.size(), f);
  std::fclose(f);
}

template <typename T>
std::vector<T> ReadRecords(const std::string& path) {
  std::vector<T> out(fs::file_size(path) / sizeof(T));
  FILE* f = std::fopen(path.c_str(), "rb");
  EXPECT_NE(f, nullptr);
  if (f) {
    EXPECT_EQ(std::fread(out.data(), sizeof(T), out.size(), f), out.size());
    std::fclose(f);
  }
  return out;
}

// Opens the database in `folder` as the catalogue would.
struct OpenResult {
  std::unique_ptr<CVornDBStats> stats;
  std::unique_ptr<CVornDB> db;
  platform::CRecordingMessageSink sink;
};

std::unique_ptr<OpenResult> OpenFolder(const std::string& folder) {
  auto r = std::make_unique<OpenResult>();
  r->stats = std::make_unique<CVornDBStats>(folder);
  EXPECT_TRUE(r->stats->Load());
  r->db = r->stats->OpenDatabase(&r->sink, nullptr);
  return r;
}

TEST(VornDBOpenTest, LineWithAnEmptyWordTableIsRefused) {
  testing::TestDatabase files(testing::MakeGreekTestSource());
  ASSERT_TRUE(files.ok()) << files.error();
  ASSERT_NE(OpenFolder(files.folder())->db, nullptr);
  // Tlit loses its words and forms, which agree with each other, so the
  // line alone opens; but every look-up of a word of the database would
  // read outside its mapping.
  testing::WriteRecords(files.folder() + "/Tlitdb.ndx", std::vector<uint32_t>{});
  testing::WriteRecords(files.folder() + "/Tlitndxx.ndx", std::vector<XndxxT>{});
  auto r = OpenFolder(files.folder());
  EXPECT_EQ(r->db, nullptr);
  ASSERT_EQ(r->sink.messages().size(), 1u);
  EXPECT_EQ(r->sink.messages()[0].text,
            platform::FormatString(platform::kIdsCantOpenDatabase, u"TGNT",
                                   platform::ToU16(files.folder() + "/")));
}

TEST(VornDBOpenTest, DatabaseWithoutLinesHasNoWords) {
  const testing::TempFolder temp("nolines");
  const std::string& folder = temp.path();
  testing::WriteText(folder + "/Stats.txt", "Version: 4.01\nName: NL\nBooks: GEN\n");
  testing::WriteText(folder + "/heads.db", "");
  testing::WriteText(folder + "/heads.ndx", "");
  // A verse index that announces words no line has is refused...
  testing::WriteRecords(folder + "/verses.ndx",
                        std::vector<VerseNdx>{{0, 1, 1, 1, 0}, {5, 2, kClosingChapter, 0, 0}});
  EXPECT_EQ(OpenFolder(folder)->db, nullptr);
  // ...one that closes at word 0 is not.
  testing::WriteRecords(folder + "/verses.ndx",
                        std::vector<VerseNdx>{{0, 2, kClosingChapter, 0, 0}});
  auto r = OpenFolder(folder);
  ASSERT_NE(r->db, nullptr);
  EXPECT_EQ(r->db->GetWordCount(), 0u);
  EXPECT_EQ(r->db->GetLineCount(), 0);
}

TEST(VornDBOpenTest, UnitsEndWithinTheTextWhenTablesNameLaterWords) {
  testing::TestDatabase files(testing::MakeGreekTestSource());
  ASSERT_TRUE(files.ok()) << files.error();
  const std::string folder = files.folder();
  const auto heads = ReadRecords<WordPos>(folder + "/heads.ndx");
  const auto formats = ReadRecords<Format_t>(folder + "/Format.ndx");
  ASSERT_FALSE(heads.empty());
  ASSERT_FALSE(formats.empty());
  uint32_t count = 0;
  {
    auto r = OpenFolder(folder);
    ASSERT_NE(r->db, nullptr);
    count = r->db->GetWordCount();
  }
  // Unit starts beyond the text: the tables stay in order, so they open.
  AppendRecords(folder + "/heads.ndx", std::vector<WordPos>{{count + 7, heads.back().pos}});
  Format_t far = formats.back();
  far.word = count + 3;
  AppendRecords(folder + "/Format.ndx", std::vector<Format_t>{far});
  AppendRecords(folder + "/Sentence.ndx", std::vector<uint32_t>{count + 9});

  auto r = OpenFolder(folder);
  ASSERT_NE(r->db, nullptr);
  const WordIndex last = static_cast<WordIndex>(count - 1);
  const WordIndex end = static_cast<WordIndex>(count);
  WordSpan unit = r->db->GetUnitBounds(last);
  EXPECT_LE(unit.first, last);
  EXPECT_EQ(unit.end, end);
  WordSpan sentence = r->db->GetSentenceRange(last);
  EXPECT_LE(sentence.first, last);
  EXPECT_EQ(sentence.end, end);
  EXPECT_EQ(r->db->GetUnitBounds(-1), WordSpan{});
  EXPECT_EQ(r->db->GetSentenceRange(-1), WordSpan{});
  EXPECT_TRUE(r->sink.messages().empty());
}

TEST(VornDBOpenTest, MissingSentenceDataIsReportedOnEveryAttempt) {
  testing::TestDatabase files(testing::MakeGreekTestSource());
  ASSERT_TRUE(files.ok()) << files.error();
  fs::remove(files.folder() + "/Sentence.ndx");
  auto r = OpenFolder(files.folder());
  ASSERT_NE(r->db, nullptr);
  EXPECT_EQ(r->db->GetSentenceRange(3), (WordSpan{0, -1}));
  EXPECT_EQ(r->db->GetSentenceRange(3), (WordSpan{0, -1}));
  ASSERT_EQ(r->sink.messages().size(), 2u);
  EXPECT_EQ(r->sink.messages()[1].text, u"Couldn't read Sentence data!");
  EXPECT_EQ(r->sink.messages()[1].kind, platform::CRecordingMessageSink::Kind::kWarning);
}

// A database folder written from a small source with the given name.
void WriteNamed(const std::string& folder, const std::u16string& name) {
  DBSource s = testing::MakeGreekTestSource();
  s.name = name;
  s.title = u"Title " + name;
  std::string error;
  ASSERT_TRUE(CDBWriter(s).Write(folder, &error)) << error;
}

TEST(CatalogueTest, FixedSlotsMessagesAndRetries) {
  const testing::TempFolder temp("catalogue");
  const std::string& data = temp.path();
  WriteNamed(data + "/a.qyx", u"GNT");
  WriteNamed(data + "/b.qyx", u"GNT");
  WriteNamed(data + "/c.qyx", u"Other");
  fs::create_directories(data + "/d.qyx");
  testing::WriteText(data + "/d.qyx/Stats.txt", "Version: 4.1\n");
  testing::WriteText(data + "/e.qyx", "a plain file");
  WriteNamed(data + "/f.qyx", u"Broken");
  fs::remove(data + "/f.qyx/verses.ndx");
  testing::WriteText(data + "/f.qyx/Formndx.ndx", "");

  platform::CRecordingMessageSink sink;
  CVornDBs dbs({data}, &sink, nullptr);
  // The first GNT takes slot 3; the second and the others follow slot 4.
  ASSERT_EQ(dbs.GetCount(), 8);
  for (int i : {0, 1, 2, 4}) EXPECT_EQ(dbs.GetStats(i), nullptr) << i;
  EXPECT_EQ(dbs.GetStats(3)->GetFolder(), data + "/a.qyx/");
  EXPECT_EQ(dbs.GetStats(5)->GetFolder(), data + "/b.qyx/");
  EXPECT_EQ(dbs.GetStats(6)->GetName(), u"Other");
  EXPECT_EQ(dbs.GetStats(7)->GetName(), u"Broken");
  EXPECT_EQ(dbs.FindByTitle(u"title other"), 6);
  // The wrong version is reported with the folder and skipped.
  ASSERT_EQ(sink.messages().size(), 1u);
  EXPECT_EQ(sink.messages()[0].text,
            platform::FormatString(platform::kIdsCantReadBible, platform::ToU16(data + "/d.qyx/")));

  CVornDB* gnt = dbs.GetDatabase(3);
  ASSERT_NE(gnt, nullptr);
  EXPECT_EQ(dbs.GetDatabase(3), gnt);  // opened once, kept
  EXPECT_EQ(dbs.GetDatabase(0), nullptr);
  // A database that does not open is reported on every attempt.
  EXPECT_EQ(dbs.GetDatabase(7), nullptr);
  EXPECT_EQ(dbs.GetDatabase(7), nullptr);
  ASSERT_EQ(sink.messages().size(), 3u);
  EXPECT_EQ(sink.messages()[2].text,
            platform::FormatString(platform::kIdsCantOpenDatabase, u"Broken",
                                   platform::ToU16(data + "/f.qyx/")));
}

}  // namespace
}  // namespace vorn
