// Queries on the real databases, their counts checked against counts made
// here directly from the source corpora: MorphGNT for the Greek NT, the
// Robinson-Pierpont parsed text for the Byzantine NT, the OSHB XML for the
// Hebrew OT. The corpora are read in place (decompressed in memory) and
// never copied.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include "integration/integration_util.h"
#include "markup/markup_context.h"
#include "markup/propositions_list.h"
#include "markup/tags_db.h"
#include "refs/bible_ref.h"
#include "source_files.h"
#include "temp_folder.h"
#include "textdb/verses.h"

namespace vorn::testing {
namespace {

namespace fs = std::filesystem;

// One word of MorphGNT: BBCCVV, part of speech, parsing code, the printed
// word, the word without punctuation, the normalised word, the lemma.
struct GntWord {
  std::string verse, pos, parse, text, word, norm, lemma;
  int book = 0;  // 1 = Matthew ... 27 = Revelation
};

// The corpus files of `folder` whose names hold `part`, as the compiler's
// readers name them: without the ".gz" of a compressed file.
std::vector<std::string> CorpusFiles(const fs::path& folder, std::string_view part) {
  std::vector<std::string> files;
  std::error_code ec;
  for (const auto& e : fs::directory_iterator(folder, ec)) {
    std::string path = e.path().string();
    if (path.size() > 3 && path.compare(path.size() - 3, 3, ".gz") == 0)
      path.resize(path.size() - 3);
    if (fs::path(path).filename().string().find(part) != std::string::npos) files.push_back(path);
  }
  std::sort(files.begin(), files.end());
  return files;
}

std::string ReadCorpusFile(const std::string& path) {
  std::string bytes, error;
  EXPECT_TRUE(build::ReadSourceFile(path, &bytes, &error)) << error;
  return bytes;
}

const std::vector<GntWord>* MorphGnt() {
  static const std::vector<GntWord>* words = [] {
    auto* out = new std::vector<GntWord>;
    const std::vector<std::string> files =
        CorpusFiles(fs::path(VORN_CORPORA_DIR) / "morphgnt-sblgnt", "-morphgnt.txt");
    for (size_t i = 0; i < files.size(); ++i) {
      std::istringstream in(ReadCorpusFile(files[i]));
      std::string line;
      while (std::getline(in, line)) {
        std::istringstream cols(line);
        GntWord w;
        if (cols >> w.verse >> w.pos >> w.parse >> w.text >> w.word >> w.norm >> w.lemma) {
          w.book = static_cast<int>(i) + 1;
          out->push_back(std::move(w));
        }
      }
    }
    return out;
  }();
  return words;
}

class GntTest : public ::testing::Test {
 protected:
  void SetUp() override {
    db_ = RealDatabase("GNT");
    if (!db_) GTEST_SKIP() << "GNT is not built in " << VORN_DATA_DIR;
    ASSERT_EQ(MorphGnt()->size(), 137554u) << "MorphGNT in " << VORN_CORPORA_DIR;
    context_ = std::make_unique<PlainContext>(db_);
  }

  size_t Count(const std::string& query) {
    std::string error;
    const size_t n = RunQuery(query, context_.get(), &error).size();
    EXPECT_EQ(error, "") << query;
    return n;
  }

  // Words of lemma `a` in a verse that also holds every lemma of `others`.
  static size_t CountInVersesWith(const std::string& a, const std::vector<std::string>& others) {
    std::map<std::string, std::set<std::string>> lemmas_of_verse;
    for (const GntWord& w : *MorphGnt()) lemmas_of_verse[w.verse].insert(w.lemma);
    size_t n = 0;
    for (const GntWord& w : *MorphGnt()) {
      if (w.lemma != a) continue;
      const auto& lemmas = lemmas_of_verse[w.verse];
      n += std::all_of(others.begin(), others.end(),
                       [&](const std::string& o) { return lemmas.count(o) > 0; });
    }
    return n;
  }

  CVornDB* db_ = nullptr;
  std::unique_ptr<PlainContext> context_;
};

TEST_F(GntTest, EveryFormOfALemma) {
  for (const std::string lemma : {"λόγος", "θεός", "ἀγάπη", "πιστεύω"}) {
    const size_t raw = std::count_if(MorphGnt()->begin(), MorphGnt()->end(),
                                     [&](const GntWord& w) { return w.lemma == lemma; });
    ASSERT_GT(raw, 0u) << lemma;
    EXPECT_EQ(Count("base " + lemma), raw) << lemma;
  }
  // The same words by the query name "lemma" and limited to one book.
  const size_t in_john =
      std::count_if(MorphGnt()->begin(), MorphGnt()->end(),
                    [](const GntWord& w) { return w.lemma == "λόγος" && w.book == 4; });
  EXPECT_EQ(Count("lemma λόγος in John"), in_john);
}

TEST_F(GntTest, LemmasWithinTheSameVerse) {
  EXPECT_EQ(Count("base λόγος within the same verse as base θεός"),
            CountInVersesWith("λόγος", {"θεός"}));
  // Each operator takes the rest of the chain: λόγος in a verse with a θεός
  // that is in a verse with εἰμί, i.e. verses holding all three.
  EXPECT_EQ(
      Count("base λόγος within the same verse as base θεός within the same verse as base εἰμί"),
      CountInVersesWith("λόγος", {"θεός", "εἰμί"}));
  EXPECT_EQ(Count("base λόγος not within the same verse as base θεός"),
            Count("base λόγος") - CountInVersesWith("λόγος", {"θεός"}));
}

TEST_F(GntTest, MorphologyPatternsInOneBook) {
  auto raw = [](int book, auto test) {
    return static_cast<size_t>(
        std::count_if(MorphGnt()->begin(), MorphGnt()->end(),
                      [&](const GntWord& w) { return w.book == book && test(w); }));
  };
  // Aorist passive indicative verbs in John (MorphGNT: tense, voice, mood
  // at 1-3 of the parsing code).
  EXPECT_EQ(Count("tag VIAP* in John"), raw(4, [](const GntWord& w) {
              return w.pos == "V-" && w.parse.substr(1, 3) == "API";
            }));
  // Genitive plural nouns in Mark (case and number at 4 and 5).
  EXPECT_EQ(Count("tag N-G?-P in Mark"),
            raw(2, [](const GntWord& w) { return w.pos == "N-" && w.parse.substr(4, 2) == "GP"; }));
  EXPECT_EQ(Count("morph V* in Rev"), raw(27, [](const GntWord& w) { return w.pos == "V-"; }));
}

TEST_F(GntTest, ErrorsComeBackWithTheirPositions) {
  std::string error;
  RunQuery("base λόγος within 2 usertag Theme as base θεός", context_.get(), &error);
  EXPECT_EQ(error,
            "Sorry, user tags used for proximity must be 'within the same usertag <name>.' @20-26");
  RunQuery("base λόγος in John 1, Foo 2", context_.get(), &error);
  EXPECT_EQ(error, "Unrecognised book @22-24");
  RunQuery("lemma", context_.get(), &error);
  EXPECT_EQ(error, "Missing word @5-5");
}

// "usertag" terms and "within the same usertag" over a tag made in a
// temporary user folder: one span over John 1:1-2 and one over John 1:14.
TEST_F(GntTest, UserTagUnits) {
  const vorn::testing::TempFolder temp("integration_tags");
  const fs::path work = temp.path();
  platform::CRecordingMessageSink sink;
  CTagsDB tags(db_->GetStats()->GetFolder(), db_->GetName(), db_->GetWordCount(),
               (work / "GNT").string(), &sink);
  CPropositionsList props(work.string(), &sink);
  CTagDB* theme = tags.CreateTag(u"", u"Theme");
  ASSERT_NE(theme, nullptr);
  auto verse = [&](int chapter, int v) { return CBibleRef(db_, 4, chapter, v).GetWordSpan(); };
  const WordSpan a = {verse(1, 1).first, verse(1, 2).end};
  const WordSpan b = verse(1, 14);
  ASSERT_TRUE(theme->ToggleRange(a.first, a.end - 1));
  ASSERT_TRUE(theme->ToggleRange(b.first, b.end - 1));
  {
    CMarkupContext markup(db_, &tags, &props);
    markup.GetViewTags().ToggleTag(theme);
    std::string error;
    EXPECT_EQ(RunQuery("usertag Theme", &markup, &error).size(),
              static_cast<size_t>((a.end - a.first) + (b.end - b.first)));
    // In John 1:1-2 and 1:14 λόγος stands beside θεός only in the first span.
    size_t raw = 0;
    for (const GntWord& w : *MorphGnt()) {
      raw += w.lemma == "λόγος" && (w.verse == "040101" || w.verse == "040102");
    }
    EXPECT_EQ(
        RunQuery("base λόγος within the same usertag Theme as base θεός", &markup, &error).size(),
        raw);
    EXPECT_EQ(error, "");
    EXPECT_EQ(
        RunQuery("base λόγος within the same usertag Theme as base σάρξ", &markup, &error).size(),
        1u);
  }
}

TEST(ByzTest, StrongsNumberAgainstTheParsedText) {
  CVornDB* db = RealDatabase("BYZ");
  if (!db) GTEST_SKIP() << "BYZ is not built";
  const fs::path folder = fs::path(VORN_CORPORA_DIR) / "byzantine-rp2018" / "parsed";
  const std::vector<std::string> files = CorpusFiles(folder, ".csv");
  ASSERT_EQ(files.size(), 27u) << folder;
  size_t raw = 0, raw_john = 0;
  for (const std::string& file : files) {
    std::istringstream in(ReadCorpusFile(file));
    std::string token;
    size_t n = 0;
    while (in >> token) n += token == "3056";
    raw += n;
    if (fs::path(file).filename() == "JOH.csv") raw_john = n;
  }
  PlainContext context(db);
  EXPECT_EQ(RunQuery("strong G3056", &context).size(), raw);
  EXPECT_EQ(RunQuery("strong G3056 in John", &context).size(), raw_john);
}

// Words of the OSHB XML whose lemma (after its prefixes) is Strong's
// `number`, reading aids in notes not counted.
size_t CountOshbLemma(const std::string& number) {
  const fs::path folder = fs::path(VORN_NPM_DIR) / "morphhb" / "wlc";
  size_t n = 0;
  for (const auto& e : fs::directory_iterator(folder)) {
    if (e.path().extension() != ".xml" || e.path().filename() == "VerseMap.xml") continue;
    std::ifstream in(e.path(), std::ios::binary);
    std::string xml((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    for (size_t note = xml.find("<note"); note != std::string::npos;
         note = xml.find("<note", note)) {
      const size_t end = xml.find("</note>", note);
      if (end == std::string::npos) break;
      xml.erase(note, end + 7 - note);
    }
    for (size_t w = xml.find("<w "); w != std::string::npos; w = xml.find("<w ", w + 3)) {
      const size_t close = xml.find('>', w);
      const size_t lemma = xml.find("lemma=\"", w);
      if (lemma == std::string::npos || lemma > close) continue;
      std::string value = xml.substr(lemma + 7, xml.find('"', lemma + 7) - lemma - 7);
      value = value.substr(value.rfind('/') == std::string::npos ? 0 : value.rfind('/') + 1);
      value = value.substr(0, value.find(' '));
      n += value == number;
    }
  }
  return n;
}

TEST(HebTest, StrongsNumberAgainstTheOshbText) {
  CVornDB* db = RealDatabase("HEB");
  if (!db) GTEST_SKIP() << "HEB is not built";
  if (!fs::exists(fs::path(VORN_NPM_DIR) / "morphhb" / "wlc"))
    GTEST_SKIP() << "morphhb is not installed";
  PlainContext context(db);
  const size_t raw = CountOshbLemma("430");
  ASSERT_GT(raw, 2000u);
  EXPECT_EQ(RunQuery("strong H430", &context).size(), raw);
  EXPECT_EQ(RunQuery("strong H1254", &context).size(), CountOshbLemma("1254"));
}

TEST(HebTest, TheQereOfAKetivIsFound) {
  CVornDB* db = RealDatabase("HEB");
  if (!db) GTEST_SKIP() << "HEB is not built";
  PlainContext context(db);
  // Genesis 8:17 writes הוצא and reads הַיְצֵא, which no other word carries.
  const std::vector<uint32_t> there = RunQuery("text הַיְצֵא in Genesis 8:17", &context);
  EXPECT_EQ(there.size(), 1u);
  EXPECT_EQ(RunQuery("text הַיְצֵא", &context), there);
}

}  // namespace
}  // namespace vorn::testing
