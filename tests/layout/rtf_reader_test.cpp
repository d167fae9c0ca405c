// A real reader of our table rich text: LibreOffice converts John 1:1-5
// (Greek, every line) and Genesis 1:1-5 (Hebrew, right to left) to PDF, and
// the PDF's word boxes show each word's lines stacked under it. Runs on the
// databases of the data folder (VORN_DATA, else the build's) when they are
// there, else on the test databases; skipped when LibreOffice is missing.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "device/text_device.h"
#include "layout/layout_fixture.h"
#include "layout/layout_kinds.h"
#include "metrics/rich_text.h"
#include "metrics/view_metrics.h"
#include "platform/message_sink.h"
#include "textdb/catalogue.h"
#include "textdb/verses.h"
#include "textdb/vorn_db.h"
#include "wordinfo/word.h"

namespace vorn {
namespace {

namespace fs = std::filesystem;
using namespace vorn::testing;

bool OnPath(const std::string& program) {
  return std::system(("command -v " + program + " >/dev/null 2>&1").c_str()) == 0;
}

std::string Office() {
  for (const char* name : {"soffice", "libreoffice"})
    if (OnPath(name)) return name;
  return {};
}

struct WordBox {
  double x_min, y_min, x_max, y_max;
  std::string text;
};

// The words of a PDF with their boxes, as pdftotext -bbox lists them.
std::vector<WordBox> PdfWords(const fs::path& pdf) {
  const fs::path html = fs::path(pdf).replace_extension(".html");
  const std::string command = "pdftotext -bbox '" + pdf.string() + "' '" + html.string() + "'";
  if (std::system(command.c_str()) != 0) return {};
  std::ifstream in(html);
  std::stringstream content;
  content << in.rdbuf();
  const std::string s = content.str();
  static const std::regex kWord(
      R"re(<word xMin="([0-9.]+)" yMin="([0-9.]+)" xMax="([0-9.]+)" yMax="([0-9.]+)">([^<]*)</word>)re");
  std::vector<WordBox> words;
  for (auto it = std::sregex_iterator(s.begin(), s.end(), kWord); it != std::sregex_iterator();
       ++it) {
    const std::smatch& m = *it;
    words.push_back({std::stod(m[1]), std::stod(m[2]), std::stod(m[3]), std::stod(m[4]), m[5]});
  }
  return words;
}

const WordBox* Find(const std::vector<WordBox>& words, const std::string& text) {
  for (const WordBox& w : words)
    if (w.text == text) return &w;
  return nullptr;
}

// A passage of a database, written as table rich text with every line.
class Passage {
 public:
  Passage(CVornDB* db, const char16_t* book, int chapter, int first_verse, int last_verse)
      : db_(db), metrics_(db, nullptr) {
    CVornDBVerses* verses = db->GetVerses();
    const int number = db->GetBookNumber(book);
    VerseEntry first = verses->FindVerse(
        CVornDBVerses::MakeKey(number, chapter, platform::ToU16(std::to_string(first_verse))));
    VerseEntry last = verses->FindVerse(
        CVornDBVerses::MakeKey(number, chapter, platform::ToU16(std::to_string(last_verse))));
    span_ = {verses->GetWordSpan(first).first, verses->GetWordSpan(last).end};
    // A page of Letter or A4 paper holds 6.5 inches of table.
    metrics_.SetSize(620, 1000);
    metrics_.Prepare(&device_, 0);
  }

  std::u16string TableRtf() {
    CVerseLayout layout(db_, &metrics_);
    layout.BuildForSelection(Words(span_.first, span_.end));
    std::u16string rtf;
    layout.WriteRtfTable(&rtf);
    return rtf;
  }
  // The plain text of `line` of the passage's word `n`.
  std::string LineText(int n, int line) {
    CWord word(db_, span_.first + n);
    return word.GetLine(line) ? Utf8(word.GetLine(line)->GetPlainText()) : std::string();
  }

 private:
  CVornDB* db_;
  CTextDevice device_;
  CViewMetrics metrics_;
  WordSpan span_;
};

class RtfReaderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    office_ = Office();
    if (office_.empty()) GTEST_SKIP() << "LibreOffice (soffice) is not installed";
    dir_ = fs::temp_directory_path() / ("vorn_rtf_reader_" + std::to_string(::getpid()));
    fs::create_directories(dir_);
    const char* env = std::getenv("VORN_DATA");
    const std::string data = env && *env ? env : VORN_DATA_DIR;
    dbs_ = std::make_unique<CVornDBs>(std::vector<std::string>{data}, &sink_, nullptr);
  }
  void TearDown() override {
    if (std::getenv("VORN_KEEP_RTF")) return;
    std::error_code ec;
    if (!dir_.empty()) fs::remove_all(dir_, ec);
  }

  // The database `name` of the data folder, or null.
  CVornDB* RealDatabase(const char16_t* name) {
    const int i = dbs_->FindByName(name);
    return i < 0 ? nullptr : dbs_->GetDatabase(i);
  }

  // Converts the rich text to PDF and returns the PDF's words.
  std::vector<WordBox> Convert(const std::u16string& rtf, const std::string& name) {
    const fs::path file = dir_ / (name + ".rtf");
    {
      std::ofstream out(file, std::ios::binary);
      out << RtfToBytes(rtf);
    }
    // A profile of its own, so that a running LibreOffice does not take the job.
    const std::string command = office_ + " -env:UserInstallation=file://" +
                                (dir_ / "profile").string() +
                                " --headless --convert-to pdf --outdir '" + dir_.string() + "' '" +
                                file.string() + "' >/dev/null 2>&1";
    EXPECT_EQ(std::system(command.c_str()), 0);
    const fs::path pdf = dir_ / (name + ".pdf");
    EXPECT_TRUE(fs::exists(pdf));
    EXPECT_GT(fs::exists(pdf) ? fs::file_size(pdf) : 0u, 1000u);
    if (!OnPath("pdftotext")) return {};
    return PdfWords(pdf);
  }

  std::string office_;
  fs::path dir_;
  platform::CRecordingMessageSink sink_;
  std::unique_ptr<CVornDBs> dbs_;
};

TEST_F(RtfReaderTest, GreekWordsKeepTheirLinesStackedUnderThem) {
  std::unique_ptr<OpenedTestDB> test_db;
  CVornDB* db = RealDatabase(u"GNT");
  int last_verse = 5;
  if (!db) {
    test_db = std::make_unique<OpenedTestDB>(MakeGreekTestSource());
    db = test_db->db();
    last_verse = 2;
  }
  InstallWordLineFactories(db);
  Passage passage(db, u"JHN", 1, 1, last_verse);
  const std::vector<WordBox> words = Convert(passage.TableRtf(), "john");
  if (words.empty()) GTEST_SKIP() << "pdftotext is not installed: converted only";

  // The second word (the first carries the verse number): its
  // transliteration stands under its text, both at the cell's left edge.
  const std::string form = passage.LineText(1, db->GetFormLineIndex());
  const std::string tlit = passage.LineText(1, db->GetTlitLineIndex());
  const WordBox* f = Find(words, form);
  const WordBox* t = Find(words, tlit);
  ASSERT_NE(f, nullptr) << form;
  ASSERT_NE(t, nullptr) << tlit;
  EXPECT_GE(t->y_min, f->y_max - 1);
  EXPECT_NEAR(t->x_min, f->x_min, 3.0);
  // The next word stands right of it on the same row, or (when the word
  // fills a row, as words with long notes do) on a row below.
  const WordBox* next = Find(words, passage.LineText(2, db->GetTlitLineIndex()));
  ASSERT_NE(next, nullptr);
  if (std::abs(next->y_min - t->y_min) < 2.0) {
    EXPECT_GT(next->x_min, t->x_max);
  } else {
    EXPECT_GT(next->y_min, t->y_max);
  }
}

TEST_F(RtfReaderTest, HebrewRowsRunFromTheRight) {
  std::unique_ptr<OpenedTestDB> test_db;
  CVornDB* db = RealDatabase(u"HEB");
  int last_verse = 5;
  if (!db) {
    test_db = std::make_unique<OpenedTestDB>(MakeHebrewTestSource());
    db = test_db->db();
    last_verse = 3;
  }
  InstallWordLineFactories(db);
  Passage passage(db, u"GEN", 1, 1, last_verse);
  const std::vector<WordBox> words = Convert(passage.TableRtf(), "genesis");
  if (words.empty()) GTEST_SKIP() << "pdftotext is not installed: converted only";

  // Lines of the second word stack at the cell's right edge; the first
  // word stands right of the second. (The text device measures fonts only
  // roughly, so a narrow cell may wrap a line in the reader: a line of one
  // unbroken word is taken.)
  const WordBox* tlit = Find(words, passage.LineText(1, db->GetTlitLineIndex()));
  const WordBox* below = nullptr;
  for (int line : {db->GetTagLineIndex(), db->GetGlossLineIndex(), db->GetLemmaLineIndex()}) {
    const std::string text = passage.LineText(1, line);
    if (!below && !text.empty() && text.find(' ') == std::string::npos) below = Find(words, text);
  }
  const WordBox* first = Find(words, passage.LineText(0, db->GetTlitLineIndex()));
  ASSERT_NE(tlit, nullptr) << passage.LineText(1, db->GetTlitLineIndex());
  ASSERT_NE(below, nullptr);
  ASSERT_NE(first, nullptr);
  EXPECT_GE(below->y_min, tlit->y_max - 1);
  EXPECT_NEAR(below->x_max, tlit->x_max, 3.0);
  if (std::abs(first->y_min - tlit->y_min) < 2.0) {
    EXPECT_GT(first->x_min, tlit->x_max);
  } else {
    EXPECT_LT(first->y_max, tlit->y_min);
  }
}

}  // namespace
}  // namespace vorn
