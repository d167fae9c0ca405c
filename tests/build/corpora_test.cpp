// Builds the real databases from the npm packages and the project's corpora,
// opens them in the program's reader and compares what it returns with
// counts taken straight from the raw sources by simpler means. Skipped when
// the sources are not installed.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "importers.h"
#include "interlinear.h"
#include "platform/file_system.h"
#include "platform/message_sink.h"
#include "platform/u16.h"
#include "source_files.h"
#include "strongs_dict.h"
#include "tag_coverage.h"
#include "temp_folder.h"
#include "textdb/db_stats.h"
#include "textdb/ordinary_line.h"
#include "textdb/tags_line.h"
#include "textdb/verses.h"
#include "textdb/vorn_db.h"
#include "textdb/word_list.h"

namespace vorn::build {
namespace {

// The npm packages are installed in the source folder; the corpora come
// with the project.
SourcePaths Paths() { return {std::string(VORN_SOURCE_DIR) + "/node_modules", VORN_CORPORA_DIR}; }

bool HaveNpm() {
  const SourcePaths p = Paths();
  return platform::DirectoryExists(p.npm + "/morphhb/wlc") &&
         platform::DirectoryExists(p.npm + "/sblgnt/xml") &&
         platform::FileExists(p.npm + "/strongs/greek/strongs-greek-dictionary.js");
}

// The file's text, plain or from its compressed copy.
std::string ReadAll(const std::string& path) {
  std::string bytes, error;
  EXPECT_TRUE(ReadSourceFile(path, &bytes, &error)) << error;
  return bytes;
}

// Names of the corpus files of `dir` matching `pattern`, compressed or not,
// as the readers name them (without ".gz").
std::vector<std::string> CorpusFiles(const std::string& dir, const std::string& pattern) {
  std::vector<std::string> names =
      platform::ListDirectory(dir, pattern, platform::EntryKind::kFile);
  for (std::string name :
       platform::ListDirectory(dir, pattern + ".gz", platform::EntryKind::kFile)) {
    names.push_back(name.substr(0, name.size() - 3));
  }
  return names;
}

size_t CountOf(std::string_view text, std::string_view what) {
  size_t n = 0;
  for (size_t at = text.find(what); at != std::string_view::npos;
       at = text.find(what, at + what.size()))
    ++n;
  return n;
}

// The text without its <note> elements (which hold the Qere readings).
std::string WithoutNotes(const std::string& xml) {
  std::string out;
  size_t pos = 0;
  while (true) {
    const size_t open = xml.find("<note", pos);
    if (open == std::string::npos) break;
    out.append(xml, pos, open - pos);
    pos = xml.find("</note>", open) + 7;
  }
  out.append(xml, pos, std::string::npos);
  return out;
}

using vorn::testing::TempFolder;

struct Built {
  TempFolder folder;
  platform::CRecordingMessageSink sink;
  std::unique_ptr<CVornDBStats> stats;
  std::unique_ptr<CVornDB> db;
};

// Writes `text` and opens it in the reader.
void WriteAndOpen(const InterlinearText& text, Built* b) {
  DBSource source;
  std::string error;
  ASSERT_TRUE(MakeDatabaseSource(text, &source, &error)) << error;
  const std::string folder = b->folder.path() + "/" + platform::ToUtf8(source.name) + ".qyx";
  CDBWriter writer(source);
  ASSERT_TRUE(writer.Write(folder, &error)) << error;
  b->stats = std::make_unique<CVornDBStats>(folder);
  ASSERT_TRUE(b->stats->Load());
  b->db = b->stats->OpenDatabase(&b->sink, nullptr);
  ASSERT_TRUE(b->db);
}

size_t Occurrences(CVornDB* db, std::u16string_view query_name, std::u16string_view value) {
  CVornDBLine* line = db->FindLineByQueryName(query_name);
  EXPECT_NE(line, nullptr) << platform::ToUtf8(query_name);
  if (!line) return 0;
  FormList forms;
  CDBWordList words;
  line->MatchForms(value, &forms);
  line->WordsOfForms(forms, &words);
  return words.size();
}

std::string Value(CVornDB* db, int line, WordIndex word) {
  auto* l = dynamic_cast<CVornDBOrdinaryLine*>(db->GetLine(line));
  return l ? platform::ToUtf8(l->GetWordString(word)) : "";
}

WordIndex FirstWordOf(CVornDB* db, const char* book, int chapter, const char16_t* verse) {
  const int number = db->GetBookNumber(platform::ToU16(book));
  EXPECT_GT(number, 0) << book;
  return db->GetVerses()
      ->GetWordSpan(db->GetVerses()->FindVerse(CVornDBVerses::MakeKey(number, chapter, verse)))
      .first;
}

void ExpectAllTagsDecode(const InterlinearText& text) {
  TagCoverage c;
  ASSERT_TRUE(MeasureTagCoverage(text, &c));
  EXPECT_EQ(c.distinct_ok, c.distinct)
      << platform::ToUtf8(c.failures.empty() ? u"" : c.failures[0]);
  EXPECT_EQ(c.words, text.words.size());
}

CStrongsDictionary& Strongs() {
  static CStrongsDictionary d;
  if (d.size() == 0) {
    std::string error;
    EXPECT_TRUE(d.LoadFile(Paths().npm + "/strongs/hebrew/strongs-hebrew-dictionary.js", &error))
        << error;
    EXPECT_TRUE(d.LoadFile(Paths().npm + "/strongs/greek/strongs-greek-dictionary.js", &error))
        << error;
  }
  return d;
}

TEST(CorporaTest, HebrewOldTestament) {
  if (!HaveNpm()) GTEST_SKIP() << "npm packages not installed (npm ci)";
  InterlinearText text;
  ImportStats stats;
  std::string error;
  ASSERT_TRUE(ImportHebrew(Paths(), Strongs(), nullptr, &text, &stats, &error)) << error;
  ExpectAllTagsDecode(text);
  EXPECT_EQ(stats.with_gloss, stats.words);
  EXPECT_NE(text.verse_map.find("\nGEN 32:1 = GEN 31:55\n"), std::string::npos);

  // Raw counts: <w> elements outside notes; words whose lemma's number is 430.
  size_t raw_words = 0, raw_elohim = 0;
  for (const std::string& file :
       platform::ListDirectory(Paths().npm + "/morphhb/wlc", "*.xml", platform::EntryKind::kFile)) {
    if (file == "VerseMap.xml") continue;
    const std::string xml = WithoutNotes(ReadAll(Paths().npm + "/morphhb/wlc/" + file));
    raw_words += CountOf(xml, "<w ");
    for (const char* pattern : {"lemma=\"430\"", "/430\""}) raw_elohim += CountOf(xml, pattern);
  }
  Built b;
  WriteAndOpen(text, &b);
  CVornDB* db = b.db.get();
  EXPECT_EQ(raw_words, db->GetWordCount());
  EXPECT_EQ(Occurrences(db, u"strong", u"H430"), raw_elohim);
  EXPECT_EQ(Occurrences(db, u"base", u"אֱלֹהִים"), raw_elohim);
  EXPECT_EQ(Occurrences(db, u"note", u"Strong H430 *"), raw_elohim);
  EXPECT_TRUE(db->IsRightToLeft());

  const WordIndex gen = FirstWordOf(db, "GEN", 1, u"1");
  EXPECT_EQ(gen, 0);
  auto* form = dynamic_cast<CVornDBOrdinaryLine*>(db->GetLine(db->GetFormLineIndex()));
  const int cons = db->FindAltIndex(db->GetFormLineIndex(), u"Cons");
  EXPECT_EQ(platform::ToUtf8(form->GetWordString(gen, cons)), "בראשית");
  EXPECT_EQ(Value(db, db->GetTagLineIndex(), gen), "Pp ncfsa");
  EXPECT_EQ(Value(db, db->GetLemmaLineIndex(), gen + 2), "אֱלֹהִים");
  EXPECT_EQ(Value(db, db->GetTlitLineIndex(), gen + 1), "bārāʾ");
  // The last word of the verse carries the sof pasuq; its variants follow it.
  EXPECT_EQ(platform::ToUtf8(form->GetWordString(gen + 6, cons)), "הארץ׃");
  EXPECT_EQ(db->GetSentenceRange(gen + 3).end, gen + 7);
  EXPECT_EQ(platform::ToUtf8(db->GetFormatCode(gen)), "p");

  // Genesis 8:17 writes הוצא and reads הַיְצֵא: the Ketiv is the text, the
  // Qere its variant.
  const int qere = db->FindAltIndex(db->GetFormLineIndex(), u"Qere");
  WordIndex ketiv = FirstWordOf(db, "GEN", 8, u"17");
  while (ketiv < FirstWordOf(db, "GEN", 8, u"18") && form->GetWordString(ketiv) != u"הוצא") ++ketiv;
  EXPECT_EQ(platform::ToUtf8(form->GetWordString(ketiv, qere)), "הַיְצֵא");
  EXPECT_EQ(form->GetWordString(gen, qere), form->GetWordString(gen));
}

TEST(CorporaTest, GreekNewTestament) {
  if (!HaveNpm()) GTEST_SKIP() << "npm packages not installed (npm ci)";
  const SourcePaths paths = Paths();
  InterlinearText text;
  ImportStats stats;
  std::string error;
  ASSERT_TRUE(ImportGreekNt(paths, Strongs(), nullptr, &text, &stats, &error)) << error;
  Built b;
  WriteAndOpen(text, &b);
  CVornDB* db = b.db.get();
  const WordIndex jhn = FirstWordOf(db, "JHN", 1, u"1");
  EXPECT_EQ(Value(db, db->GetFormLineIndex(), jhn + 4), "λόγος,");
  EXPECT_EQ(Value(db, db->GetTlitLineIndex(), jhn + 4), "logos");
  // SBLGNT paragraphs: John 1:1 opens the book, 1:6 a paragraph.
  EXPECT_EQ(platform::ToUtf8(db->GetFormatCode(FirstWordOf(db, "JHN", 1, u"6"))), "p");
  ExpectAllTagsDecode(text);
  // Raw counts: lines of the MorphGNT files; lines whose lemma is λόγος.
  size_t raw_words = 0, raw_logos = 0;
  const std::string dir = paths.corpora + "/morphgnt-sblgnt";
  for (const std::string& file : CorpusFiles(dir, "*-morphgnt.txt")) {
    std::istringstream in(ReadAll(dir + "/" + file));
    std::string line;
    while (std::getline(in, line)) {
      ++raw_words;
      raw_logos += line.size() > 11 && line.compare(line.size() - 11, 11, " λόγος") == 0;
    }
  }
  EXPECT_EQ(db->GetWordCount(), raw_words);
  EXPECT_EQ(Occurrences(db, u"base", u"λόγος"), raw_logos);
  EXPECT_EQ(Occurrences(db, u"strong", u"G3056"), raw_logos);
  EXPECT_EQ(Value(db, db->GetTagLineIndex(), jhn), "PD");
  EXPECT_EQ(Value(db, db->GetTagLineIndex(), jhn + 2), "VIIA--3S");
  EXPECT_EQ(Value(db, db->GetGlossLineIndex(), jhn), "in");
}

TEST(CorporaTest, AMorphGntBookCutShortIsRefusedWithFileAndLine) {
  const SourcePaths paths = Paths();
  if (!HaveNpm()) GTEST_SKIP() << "npm packages not installed (npm ci)";
  // A copy of the corpora whose Matthew lacks its last 100 words.
  const TempFolder folder("cut_corpora");
  const std::string copy = folder.path();
  std::filesystem::copy(std::string(VORN_CORPORA_DIR) + "/morphgnt-sblgnt",
                        copy + "/morphgnt-sblgnt", std::filesystem::copy_options::recursive);
  const std::string matthew = copy + "/morphgnt-sblgnt/61-Mt-morphgnt.txt";
  std::string bytes = ReadAll(matthew);
  for (int i = 0; i < 100; ++i) bytes.erase(bytes.rfind('\n', bytes.size() - 2) + 1);
  std::ofstream(matthew, std::ios::binary | std::ios::trunc) << bytes;
  InterlinearText text;
  ImportStats stats;
  std::string error;
  EXPECT_FALSE(ImportGreekNt({paths.npm, copy}, Strongs(), nullptr, &text, &stats, &error));
  EXPECT_EQ(error.rfind(matthew + ":", 0), 0u) << error;
  EXPECT_NE(error.find("verse 28:"), std::string::npos) << error;
}

TEST(CorporaTest, ByzantineNewTestament) {
  const SourcePaths paths = Paths();
  if (!HaveNpm()) GTEST_SKIP() << "npm packages not installed (npm ci)";
  InterlinearText text;
  ImportStats stats;
  std::string error;
  ASSERT_TRUE(ImportByzantine(paths, Strongs(), nullptr, &text, &stats, &error)) << error;
  ExpectAllTagsDecode(text);
  // Raw counts: word tokens of the parsed files (neither numbers nor codes),
  // and the words whose first number is 3056.
  size_t raw_words = 0, raw_logos = 0;
  const std::string dir = paths.corpora + "/byzantine-rp2018/parsed";
  const std::vector<std::string> files = CorpusFiles(dir, "*.csv");
  ASSERT_EQ(files.size(), 27u) << dir;
  for (const std::string& file : files) {
    std::istringstream in(ReadAll(dir + "/" + file));
    std::string line;
    std::getline(in, line);  // header
    while (std::getline(in, line)) {
      std::istringstream tokens(line.substr(line.find(',', line.find(',') + 1) + 1));
      std::string t, previous;
      while (tokens >> t) {
        const bool word = t[0] != '{' && (t[0] < '0' || t[0] > '9');
        raw_words += word;
        raw_logos += t == "3056" && !previous.empty() && previous[0] != '{' &&
                     (previous[0] < '0' || previous[0] > '9');
        previous = t;
      }
    }
  }
  Built b;
  WriteAndOpen(text, &b);
  CVornDB* db = b.db.get();
  EXPECT_EQ(db->GetWordCount(), raw_words);
  EXPECT_EQ(Occurrences(db, u"note", u"Strong G3056 *"), raw_logos);
  const WordIndex jhn = FirstWordOf(db, "JHN", 1, u"1");
  EXPECT_EQ(Value(db, db->GetTagLineIndex(), jhn + 2), "VIAI3S");
  EXPECT_EQ(Value(db, db->GetTagLineIndex(), jhn + 3), "DNSM");
  auto* tags = dynamic_cast<CVornDBTagsLine*>(db->GetLine(db->GetTagLineIndex()));
  EXPECT_EQ(platform::ToUtf8(tags->DescribeTag(u"VIAI3S")),
            "Verb: Imperfect, Active, Indicative, Third Person, Singular");
}

}  // namespace
}  // namespace vorn::build
