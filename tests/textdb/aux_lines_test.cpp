// Headings, format marks, sentences, punctuation, the form line and the
// gloss line, over tables laid out by hand.
#include <gtest/gtest.h>

#include <string>
#include <typeinfo>
#include <vector>

#include "aux_test_util.h"
#include "textdb/form_line.h"
#include "textdb/formats.h"
#include "textdb/gloss_line.h"
#include "textdb/headings.h"
#include "textdb/punctuation.h"
#include "textdb/sentences.h"

namespace vorn {
namespace {

using aux_testing::AddString;
using aux_testing::MakeStats;
using aux_testing::ScratchFolder;
using aux_testing::WriteOrdinaryLine;
using testing::WriteRecords;

// ---------------------------------------------------------------- headings

class HeadingsTest : public ::testing::Test {
 protected:
  // Word 2: a level-1 heading with two texts followed by a level-2 heading;
  // word 10: one level-1 heading; word 20: another.
  void WriteGood() {
    std::vector<char16_t> db;
    uint32_t first = static_cast<uint32_t>(db.size());
    db.push_back(1);
    AddString(&db, u"Book One");
    AddString(&db, u"The Beginning");
    db.push_back(2);
    AddString(&db, u"Creation");
    db.push_back(0);
    uint32_t second = static_cast<uint32_t>(db.size());
    db.push_back(1);
    AddString(&db, u"Flood");
    db.push_back(0);
    heads_ = db;
    index_ = {{2, first}, {10, second}, {20, second}};
    Write();
  }
  void Write() {
    WriteRecords(folder_.File("heads.db"), heads_);
    WriteRecords(folder_.File("heads.ndx"), index_);
  }
  bool OpenFresh() {
    Write();
    CVornDBHeadings h(folder_.path());
    return h.Open();
  }

  ScratchFolder folder_{"heads"};
  std::vector<char16_t> heads_;
  std::vector<WordPos> index_;
};

TEST_F(HeadingsTest, ChainOfTwoLevels) {
  WriteGood();
  CVornDBHeadings h(folder_.path());
  ASSERT_TRUE(h.Open());
  std::unique_ptr<CHeading> head = h.GetHeading(2);
  ASSERT_NE(head, nullptr);
  EXPECT_EQ(head->GetLevel(), 1);
  ASSERT_EQ(head->GetTexts().size(), 2u);
  EXPECT_EQ(std::u16string(head->GetTexts()[0]), u"Book One");
  EXPECT_EQ(std::u16string(head->GetTexts()[1]), u"The Beginning");
  const CHeading* sub = head->GetNext();
  ASSERT_NE(sub, nullptr);
  EXPECT_EQ(sub->GetLevel(), 2);
  ASSERT_EQ(sub->GetTexts().size(), 1u);
  EXPECT_EQ(std::u16string(sub->GetTexts()[0]), u"Creation");
  EXPECT_EQ(sub->GetNext(), nullptr);

  std::unique_ptr<CHeading> flood = h.GetHeading(20);
  ASSERT_NE(flood, nullptr);
  EXPECT_EQ(std::u16string(flood->GetTexts()[0]), u"Flood");
  EXPECT_EQ(flood->GetNext(), nullptr);

  EXPECT_EQ(h.GetHeading(3), nullptr);
  EXPECT_EQ(h.GetHeading(0), nullptr);
  EXPECT_EQ(h.GetHeading(21), nullptr);
  EXPECT_EQ(h.GetHeading(-1), nullptr);
}

TEST_F(HeadingsTest, RangesAtBothEnds) {
  WriteGood();
  CVornDBHeadings h(folder_.path());
  ASSERT_TRUE(h.Open());
  // Before the first heading the unit starts at word 0.
  EXPECT_EQ(h.GetHeadingRange(0), (WordSpan{0, 2}));
  EXPECT_EQ(h.GetHeadingRange(2), (WordSpan{2, 10}));
  EXPECT_EQ(h.GetHeadingRange(9), (WordSpan{2, 10}));
  EXPECT_EQ(h.GetHeadingRange(10), (WordSpan{10, 20}));
  // After the last heading: open until the word count is known, then it.
  EXPECT_EQ(h.GetHeadingRange(25), (WordSpan{20, -1}));
  h.SetWordCount(30);
  EXPECT_EQ(h.GetHeadingRange(20), (WordSpan{20, 30}));
  EXPECT_EQ(h.GetHeadingRange(29), (WordSpan{20, 30}));
}

TEST_F(HeadingsTest, RefusesCorruptTables) {
  WriteGood();
  const std::vector<char16_t> good_db = heads_;
  const std::vector<WordPos> good_index = index_;

  index_[1].pos = static_cast<uint32_t>(heads_.size());  // past heads.db
  EXPECT_FALSE(OpenFresh());
  index_ = good_index;

  index_[1].pos = 1;  // points at a text, not at a level
  EXPECT_FALSE(OpenFresh());
  index_ = good_index;

  std::swap(index_[0], index_[1]);  // out of word order
  EXPECT_FALSE(OpenFresh());
  index_ = good_index;

  heads_.pop_back();  // the last chain runs off the end
  EXPECT_FALSE(OpenFresh());
  heads_ = good_db;

  heads_[good_index[1].pos] = 11;  // not a level
  EXPECT_FALSE(OpenFresh());
  heads_ = good_db;

  ASSERT_TRUE(OpenFresh());
  testing::WriteRecords(folder_.File("heads.ndx"), index_, 3);  // partial record
  CVornDBHeadings cut(folder_.path());
  EXPECT_FALSE(cut.Open());

  std::filesystem::remove(folder_.File("heads.db"));
  testing::WriteRecords(folder_.File("heads.ndx"), index_);
  CVornDBHeadings missing(folder_.path());
  EXPECT_FALSE(missing.Open());
}

// ----------------------------------------------------------------- formats

Format_t Fmt(uint32_t word, const char (&code)[5]) {
  Format_t r;
  r.word = word;
  for (int i = 0; i < 4; ++i) r.code[i] = code[i];
  return r;
}

TEST(FormatsTest, CodesAndRanges) {
  ScratchFolder folder("fmt");
  WriteRecords(
      folder.File("Format.ndx"),
      std::vector<Format_t>{Fmt(3, "abc "), Fmt(3, "def\0"), Fmt(8, "p\0\0\0"), Fmt(12, "quot")});
  CVornDBFormats f(folder.path());
  ASSERT_TRUE(f.Open());
  EXPECT_EQ(f.GetFormatCode(3), u"abcdef");
  EXPECT_EQ(f.GetFormatCode(8), u"p");
  EXPECT_EQ(f.GetFormatCode(12), u"quot");
  EXPECT_EQ(f.GetFormatCode(4), u"");
  EXPECT_EQ(f.GetFormatCode(13), u"");
  // The continuation record of word 3 does not start a unit of its own.
  EXPECT_EQ(f.GetFormatRange(3), (WordSpan{3, 8}));
  EXPECT_EQ(f.GetFormatRange(0), (WordSpan{0, 3}));
  f.SetWordCount(20);
  EXPECT_EQ(f.GetFormatRange(15), (WordSpan{12, 20}));
}

TEST(FormatsTest, RefusesACodeRunningPastTheEnd) {
  ScratchFolder folder("fmtbad");
  WriteRecords(folder.File("Format.ndx"), std::vector<Format_t>{Fmt(3, "abc "), Fmt(4, "de  ")});
  CVornDBFormats f(folder.path());
  EXPECT_FALSE(f.Open());
  CVornDBFormats missing(folder.path() + "/none");
  EXPECT_FALSE(missing.Open());
}

// --------------------------------------------------------------- sentences

TEST(SentencesTest, RangesWithMergedStarts) {
  ScratchFolder folder("sent");
  WriteRecords(folder.File("Sentence.ndx"), std::vector<uint32_t>{3, 5, 9, 14});
  CVornDBSent s(folder.path());
  ASSERT_TRUE(s.Open());
  s.SetWordCount(20);
  EXPECT_EQ(s.GetSentenceRange(1), (WordSpan{0, 3}));
  EXPECT_EQ(s.GetSentenceRange(5), (WordSpan{5, 9}));
  EXPECT_EQ(s.GetSentenceRange(8), (WordSpan{5, 9}));
  EXPECT_EQ(s.GetSentenceRange(19), (WordSpan{14, 20}));

  const std::vector<uint32_t> merged9{9};
  EXPECT_EQ(s.GetSentenceRange(7, &merged9), (WordSpan{5, 14}));
  EXPECT_EQ(s.GetSentenceRange(10, &merged9), (WordSpan{5, 14}));
  const std::vector<uint32_t> merged{3, 5, 9, 14};
  EXPECT_EQ(s.GetSentenceRange(10, &merged), (WordSpan{0, 20}));
  const std::vector<uint32_t> empty;
  EXPECT_EQ(s.GetSentenceRange(10, &empty), (WordSpan{9, 14}));
}

TEST(SentencesTest, RefusesUnorderedStarts) {
  ScratchFolder folder("sentbad");
  WriteRecords(folder.File("Sentence.ndx"), std::vector<uint32_t>{3, 9, 5});
  CVornDBSent s(folder.path());
  EXPECT_FALSE(s.Open());
}

// ------------------------------------------------------------- punctuation

// One punct.ndx entry: capital position, prefix, suffix.
uint32_t AddEntry(std::vector<char16_t>* units, char16_t capital, std::u16string_view prefix,
                  std::u16string_view suffix) {
  const uint32_t pos = static_cast<uint32_t>(units->size());
  units->push_back(capital);
  units->push_back(static_cast<char16_t>(prefix.size()));
  units->insert(units->end(), prefix.begin(), prefix.end());
  AddString(units, suffix);
  return pos;
}

void WritePunctuation(const ScratchFolder& folder) {
  std::vector<char16_t> entries;
  std::vector<WordPos> index;
  index.push_back({0, AddEntry(&entries, 1, u"(", u",")});
  index.push_back({2, AddEntry(&entries, 0, u"", u".")});
  index.push_back({3, AddEntry(&entries, 2, u"\u201C", u"")});
  WriteRecords(folder.File("punct.ndx"), entries);
  WriteRecords(folder.File("punctndx.ndx"), index);
}

TEST(PunctuationTest, Apply) {
  ScratchFolder folder("punct");
  WritePunctuation(folder);
  CVornDBPunctuation p(folder.path());
  ASSERT_TRUE(p.Open());
  std::u16string out = u"unchanged";
  EXPECT_TRUE(p.Apply(0, u"en", &out));
  EXPECT_EQ(out, u"(En,");
  EXPECT_TRUE(p.Apply(2, u"arche", &out));
  EXPECT_EQ(out, u"arche.");
  EXPECT_TRUE(p.Apply(3, u"\u03BF\u03B9", &out));  // capital at index 1
  EXPECT_EQ(out, u"\u201C\u03BF\u0399");
  out = u"unchanged";
  EXPECT_FALSE(p.Apply(1, u"x", &out));
  EXPECT_EQ(out, u"unchanged");
  // A capital position beyond the word leaves it as it is.
  EXPECT_TRUE(p.Apply(3, u"o", &out));
  EXPECT_EQ(out, u"\u201Co");
}

TEST(PunctuationTest, CapitaliseRaisesSmallLettersOnly) {
  ScratchFolder folder("cap");
  CVornDBPunctuation p(folder.path());
  auto cap = [&](std::u16string text, size_t i) {
    p.Capitalise(&text, i);
    return text;
  };
  EXPECT_EQ(cap(u"abc", 2), u"abC");
  EXPECT_EQ(cap(u"\u03B1", 0), u"\u0391");  // alpha
  EXPECT_EQ(cap(u"\u1F00", 0), u"\u1F08");  // alpha with psili
  EXPECT_EQ(cap(u"\u1F80", 0), u"\u1F88");  // ... and ypogegrammeni
  EXPECT_EQ(cap(u"\u1FE5", 0), u"\u1FEC");  // rho with dasia
  // A capital stays a capital, and the letters a fixed offset would turn
  // into other letters get their real capitals.
  EXPECT_EQ(cap(u"\u1F08", 0), u"\u1F08");
  EXPECT_EQ(cap(u"\u1F70", 0), u"\u1FBA");  // alpha with varia
  EXPECT_EQ(cap(u"\u03C2", 0), u"\u03A3");  // final sigma
  EXPECT_EQ(cap(u"a", 1), u"a");
}

TEST(PunctuationTest, GreekPelorinRows) {
  ScratchFolder folder("pelorin");
  CVornDBPunctuationGreek p(folder.path());
  auto cap = [&](std::u16string text, size_t i) {
    p.Capitalise(&text, i);
    return text;
  };
  EXPECT_EQ(cap(std::u16string{0x83, u'n'}, 0), (std::u16string{0x68, u'A', u'n'}));
  EXPECT_EQ(cap(std::u16string{0xCE}, 0), (std::u16string{0xAE, u'O'}));
  // Only the low byte is compared.
  EXPECT_EQ(cap(std::u16string{0xF0D3}, 0), (std::u16string{0x68, u'J'}));
  // Elsewhere, and for other letters, the ordinary rule.
  EXPECT_EQ(cap(std::u16string{u'a', 0x83}, 1), (std::u16string{u'a', 0x83}));
  EXPECT_EQ(cap(u"ab", 0), u"Ab");
}

TEST(PunctuationTest, RefusesEntriesOutsideTheFile) {
  ScratchFolder folder("punctbad");
  std::vector<char16_t> entries;
  const uint32_t pos = AddEntry(&entries, 0, u"ab", u"c");
  WriteRecords(folder.File("punct.ndx"), entries);
  // The prefix length runs past the end.
  entries[pos + 1] = 40;
  WriteRecords(folder.File("punct.ndx"), entries);
  WriteRecords(folder.File("punctndx.ndx"), std::vector<WordPos>{{0, pos}});
  CVornDBPunctuation long_prefix(folder.path());
  EXPECT_FALSE(long_prefix.Open());
  // The position lies past the end.
  entries[pos + 1] = 2;
  WriteRecords(folder.File("punct.ndx"), entries);
  WriteRecords(folder.File("punctndx.ndx"),
               std::vector<WordPos>{{0, static_cast<uint32_t>(entries.size() - 1)}});
  CVornDBPunctuation past(folder.path());
  EXPECT_FALSE(past.Open());
  // The last suffix is not terminated.
  entries.pop_back();
  WriteRecords(folder.File("punct.ndx"), entries);
  WriteRecords(folder.File("punctndx.ndx"), std::vector<WordPos>{{0, pos}});
  CVornDBPunctuation open_end(folder.path());
  EXPECT_FALSE(open_end.Open());
}

// --------------------------------------------------------------- form line

TEST(FormLineTest, PunctuatedTextsAndStoredTextsInPlace) {
  ScratchFolder folder("form");
  WriteOrdinaryLine(folder.path(), "Form", {u"en", u"arch", u"arche", u"oi"});
  WritePunctuation(folder);
  auto stats = MakeStats(folder.path(), "InterlinearLines:\n Form: x\n  QueryPrompt: Text\n");
  CVornDBFormLine line(CVornDBLineParams("Form", stats.get(), nullptr));
  ASSERT_TRUE(line.Open());

  EXPECT_EQ(line.GetWordString(0), u"(En,");
  EXPECT_EQ(line.GetStoredText(0), u"en");
  EXPECT_EQ(line.GetWordString(1), u"arch");
  EXPECT_EQ(line.GetStoredText(1).data(), line.GetFormString(line.GetFormOfWord(1)));  // in place

  EXPECT_EQ(line.GetWordString(2), u"arche.");
  EXPECT_EQ(line.GetWordString(3), u"\u201CoI");
  EXPECT_EQ(typeid(line.GetPunctuation()), typeid(CVornDBPunctuation));
}

TEST(FormLineTest, PelorinFontChoosesGreekPunctuation) {
  ScratchFolder folder("formgr");
  WriteOrdinaryLine(folder.path(), "Form", {std::u16string{0x83, u'n'}});
  std::vector<char16_t> entries;
  std::vector<WordPos> index{{0, AddEntry(&entries, 1, u"", u"")}};
  WriteRecords(folder.File("punct.ndx"), entries);
  WriteRecords(folder.File("punctndx.ndx"), index);
  auto stats = MakeStats(folder.path(), "InterlinearLines:\n Form: x\n  Font: Face=\"Pelorin\"\n");
  CVornDBFormLine line(CVornDBLineParams("Form", stats.get(), nullptr));
  ASSERT_TRUE(line.Open());
  EXPECT_EQ(typeid(line.GetPunctuation()), typeid(CVornDBPunctuationGreek));
  EXPECT_EQ(line.GetWordString(0), (std::u16string{0x68, u'A', u'n'}));
}

TEST(FormLineTest, MissingPunctuationMeansNoLine) {
  ScratchFolder folder("formnop");
  WriteOrdinaryLine(folder.path(), "Form", {u"en"});
  auto stats = MakeStats(folder.path(), "InterlinearLines:\n Form: x\n");
  CVornDBFormLine line(CVornDBLineParams("Form", stats.get(), nullptr));
  EXPECT_FALSE(line.Open());
}

// -------------------------------------------------------------- gloss line

MarkT Mark(uint32_t word, char bs, char be, char ks, char ke) {
  MarkT m;
  m.word = word;
  m.brace_start = static_cast<uint8_t>(bs);
  m.brace_end = static_cast<uint8_t>(be);
  m.bracket_start = static_cast<uint8_t>(ks);
  m.bracket_end = static_cast<uint8_t>(ke);
  return m;
}

class GlossLineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteOrdinaryLine(folder_.path(), "Glos", std::vector<std::u16string>(16, u"g"));
    stats_ = MakeStats(folder_.path(), "InterlinearLines:\n Glos: x\n");
  }
  // The prefix and suffix of `word`, as "prefix|suffix".
  std::string Marks(const CVornDBGlossLine& line, WordIndex word) {
    std::u16string prefix = u"junk", suffix = u"junk";
    line.GetGlossMarks(word, &prefix, &suffix);
    std::string out;
    for (char16_t c : prefix) out.push_back(static_cast<char>(c));
    out += '|';
    for (char16_t c : suffix) out.push_back(static_cast<char>(c));
    return out;
  }
  std::unique_ptr<CVornDBGlossLine> OpenWith(const std::vector<MarkT>& marks) {
    WriteRecords(folder_.SubFile("PVlinks", "GlossMark.ndx"), marks);
    auto line =
        std::make_unique<CVornDBGlossLine>(CVornDBLineParams("Glos", stats_.get(), nullptr));
    EXPECT_TRUE(line->Open());
    return line;
  }

  ScratchFolder folder_{"gloss"};
  std::unique_ptr<CVornDBStats> stats_;
};

TEST_F(GlossLineTest, BraceGroupOverAdjacentWords) {
  auto line = OpenWith({Mark(5, 'B', 0, 0, 0), Mark(6, 'I', 0, 0, 0), Mark(7, 'I', 'E', 0, 0)});
  EXPECT_EQ(Marks(*line, 5), "{|");
  EXPECT_EQ(Marks(*line, 6), "|");
  EXPECT_EQ(Marks(*line, 7), "|}");
  EXPECT_EQ(Marks(*line, 4), "|");
}

TEST_F(GlossLineTest, BraceGroupWithAGapGetsDashes) {
  auto line = OpenWith({Mark(5, 'B', 0, 0, 0), Mark(7, 0, 'E', 0, 0)});
  EXPECT_EQ(Marks(*line, 5), "{|}-");
  EXPECT_EQ(Marks(*line, 7), "-{|}");
  EXPECT_EQ(Marks(*line, 6), "|");
}

TEST_F(GlossLineTest, BracketGroups) {
  auto line = OpenWith({Mark(2, 0, 0, 'B', 0), Mark(3, 0, 0, 'I', 1),        // [2 3]
                        Mark(8, 0, 0, 'B', 0),                               // [8 ... 10]
                        Mark(10, 0, 0, 0, 1), Mark(12, 'B', 'E', 'B', 1)});  // {[12]}
  EXPECT_EQ(Marks(*line, 2), "[|");
  EXPECT_EQ(Marks(*line, 3), "|]");
  EXPECT_EQ(Marks(*line, 8), "[|]-");
  EXPECT_EQ(Marks(*line, 10), "-[|]");
  EXPECT_EQ(Marks(*line, 12), "{[|]}");
}

TEST_F(GlossLineTest, MarksAreOptionalButMustBeOrdered) {
  CVornDBGlossLine bare(CVornDBLineParams("Glos", stats_.get(), nullptr));
  ASSERT_TRUE(bare.Open());
  EXPECT_FALSE(bare.HasGlossMarks());
  EXPECT_EQ(Marks(bare, 5), "|");

  WriteRecords(folder_.SubFile("PVlinks", "GlossMark.ndx"),
               std::vector<MarkT>{Mark(7, 'B', 0, 0, 0), Mark(5, 0, 'E', 0, 0)});
  CVornDBGlossLine unordered(CVornDBLineParams("Glos", stats_.get(), nullptr));
  EXPECT_FALSE(unordered.Open());
}

}  // namespace
}  // namespace vorn
