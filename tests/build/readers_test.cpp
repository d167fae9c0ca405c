// The corpus readers on small inputs written for the tests in the shape of
// each source.
#include <gtest/gtest.h>

#include "greek_readers.h"
#include "importers.h"
#include "plain_format.h"
#include "platform/u16.h"
#include "source_text.h"
#include "wlc_reader.h"

namespace vorn::build {
namespace {

std::string Utf8(const std::u16string& s) { return platform::ToUtf8(s); }

constexpr char kOsisBook[] = R"(<?xml version="1.0" encoding="utf-8"?>
<osis xmlns="http://www.bibletechnologies.net/2003/OSIS/namespace">
  <osisText>
    <header><work osisWork="X"/></header>
    <div type="book" osisID="Ruth">
      <chapter osisID="Ruth.1">
        <verse osisID="Ruth.1.1">
          <w lemma="c/1961" morph="HC/Vqw3ms">וַ/יְהִי</w>
          <w lemma="3117" morph="HNcmpc">בִּימֵי</w><seg type="x-maqqef">־</seg><w lemma="8199" morph="HVqrmpa">שְׁפֹט</w>
          <w lemma="d/776" morph="HTd/Ncbsa">הָ/אָרֶץ</w><seg type="x-sof-pasuq">׃</seg>
        </verse>
        <verse osisID="Ruth.1.2">
          <w lemma="1" morph="HNcmsa">אָ<seg type="x-large">ב</seg></w><note type="variant"><catchWord>x</catchWord><rdg type="x-qere"><w lemma="2" morph="HNcmsa">קרי</w></rdg></note>
          <seg type="x-paseq">׀</seg><seg type="x-pe">פ</seg>
        </verse>
      </chapter>
      <chapter osisID="Ruth.2">
        <verse osisID="Ruth.2.1">
          <w lemma="3" morph="HD">גַּם</w><seg type="x-samekh">ס</seg>
        </verse>
        <verse osisID="Ruth.2.2">
          <w lemma="4" morph="HD">אַךְ</w>
        </verse>
      </chapter>
    </div>
  </osisText>
</osis>
)";

TEST(WlcReaderTest, WordsMarksAndParagraphs) {
  WlcBook book;
  std::string error;
  ASSERT_TRUE(ReadWlcBookText(kOsisBook, "Ruth.xml", &book, &error)) << error;
  EXPECT_EQ(book.osis_name, "Ruth");
  // The Qere reading in the note is no word of the text: its Ketiv carries it.
  ASSERT_EQ(book.words.size(), 7u);
  EXPECT_EQ(Utf8(book.words[4].qere), "קרי");
  EXPECT_EQ(Utf8(book.words[3].qere), "");
  EXPECT_EQ(Utf8(book.words[0].text), "וַ/יְהִי");
  EXPECT_EQ(book.words[0].lemma, "c/1961");
  EXPECT_EQ(book.words[0].morph, "HC/Vqw3ms");
  EXPECT_EQ(book.words[0].line, 8);
  EXPECT_EQ(Utf8(book.words[1].after), "־");
  EXPECT_EQ(Utf8(book.words[3].after), "׃");
  // A letter written large is part of its word.
  EXPECT_EQ(Utf8(book.words[4].text), "אָב");
  EXPECT_EQ(book.words[4].chapter, 1);
  EXPECT_EQ(book.words[4].verse, 2);
  EXPECT_EQ(Utf8(book.words[4].after), " ׀ פ");
  // The petuhah opens a paragraph at the next word, the setumah one closed.
  EXPECT_EQ(book.words[5].paragraph, 'p');
  EXPECT_EQ(book.words[6].paragraph, 'm');
  EXPECT_EQ(book.words[3].paragraph, 0);
}

// One variant text per form: a Ketiv read two ways shows both readings.
TEST(WlcReaderTest, QereVariantJoinsTheReadingsOfOneKetiv) {
  InterlinearText text;
  text.description.lines.emplace_back().name = "Form";
  for (const char16_t* form : {u"לא", u"כִּי", u"לא"}) text.words.emplace_back().values = {form};
  EXPECT_EQ(SetQereVariant({u"לוֹ֙", u"", u"לוּ"}, 0, &text),
            "2 Ketiv words, 1 forms with more than one reading");
  EXPECT_EQ(Utf8(text.words[2].variants[0]), "לוֹ | לוּ");
  EXPECT_TRUE(text.words[1].variants.empty());
}

TEST(WlcReaderTest, ErrorsNameFileAndLine) {
  WlcBook book;
  std::string error;
  EXPECT_FALSE(ReadWlcBookText("<osis><osisText>", "a.xml", &book, &error));
  EXPECT_NE(error.find("a.xml:"), std::string::npos);
  EXPECT_NE(error.find("malformed XML"), std::string::npos);
  std::string bad = kOsisBook;
  bad.replace(bad.find("Ruth.1.2"), 8, "Ruth.1.x");
  EXPECT_FALSE(ReadWlcBookText(bad, "b.xml", &book, &error));
  EXPECT_NE(error.find("b.xml:12: expected a verse osisID"), std::string::npos) << error;
  std::string no_morph = kOsisBook;
  no_morph.replace(no_morph.find(" morph=\"HD\""), 11, "");
  EXPECT_FALSE(ReadWlcBookText(no_morph, "c.xml", &book, &error));
  EXPECT_NE(error.find("c.xml:19: <w> without a morph attribute"), std::string::npos) << error;
}

TEST(WlcReaderTest, WordListsAndTheirTruncatedBookNames) {
  std::vector<WordListEntry> list;
  std::string error;
  ASSERT_TRUE(ReadWordListText("Gen 1:1.1\t7225\tבְּ/רֵאשִׁית\n1Sa 3:10.2\t559\tאמר\r\n", "l.txt", &list,
                               &error))
      << error;
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list[0].osis_name, "Gen");
  EXPECT_EQ(list[1].osis_name, "1Sam");  // "1Sam".strip(".xml") in the list's maker
  EXPECT_EQ(list[1].chapter, 3);
  EXPECT_EQ(list[1].verse, 10);
  EXPECT_EQ(list[1].index, 2);
  EXPECT_FALSE(ReadWordListText("Gen 1:1\t7225\tx\n", "l.txt", &list, &error));
  EXPECT_EQ(error.substr(0, 8), "l.txt:1:");
}

TEST(VerseMapTest, RunsBecomeRanges) {
  std::vector<VerseMapping> m;
  std::string error;
  ASSERT_TRUE(ReadWlcVerseMapText(R"(<verseMap xmlns="x"><book osisID="Gen">
      <verse wlc="Gen.32.1" kjv="Gen.31.55" type="full"/>
      <verse wlc="Gen.32.2" kjv="Gen.32.1" type="full"/>
      <verse wlc="Gen.32.3" kjv="Gen.32.2" type="full"/>
      <verse wlc="Ps.13.6!a" kjv="Ps.13.5" type="partial"/>
      <verse wlc="Ps.13.6!b" kjv="Ps.13.6" type="partial"/>
    </book></verseMap>)",
                                  "VerseMap.xml", &m, &error))
      << error;
  ASSERT_EQ(m.size(), 5u);
  std::string vrs;
  ASSERT_TRUE(MakeVrsText(m, &vrs, &error)) << error;
  EXPECT_NE(vrs.find("\nGEN 32:1 = GEN 31:55\nGEN 32:2-3 = GEN 32:1-2\nPSA 13:6 = PSA 13:5\n"),
            std::string::npos)
      << vrs;
  EXPECT_FALSE(MakeVrsText({{"Xyz.1.1", "Gen.1.1"}}, &vrs, &error));
}

TEST(MorphGntReaderTest, ReadsTheSevenColumns) {
  std::vector<MorphGntWord> words;
  std::string error;
  ASSERT_TRUE(
      ReadMorphGntText("040101 N- ----NSM- λόγος, λόγος λόγος λόγος\n"
                       "271218 V- 3APD-S-- ἐστάθη. ἐστάθη ἐστάθη ἵστημι\n",
                       "x.txt", &words, &error))
      << error;
  ASSERT_EQ(words.size(), 2u);
  EXPECT_EQ(words[0].book, 4);
  EXPECT_EQ(words[0].chapter, 1);
  EXPECT_EQ(words[0].verse, 1);
  EXPECT_EQ(words[0].pos, "N-");
  EXPECT_EQ(words[0].parse, "----NSM-");
  EXPECT_EQ(Utf8(words[0].text), "λόγος,");
  EXPECT_EQ(Utf8(words[1].lemma), "ἵστημι");
  EXPECT_EQ(words[1].line, 2);
  EXPECT_FALSE(ReadMorphGntText("040101 N- ----NSM- λόγος λόγος λόγος\n", "y.txt", &words, &error));
  EXPECT_EQ(error, "y.txt:1: expected 7 space-separated columns, found 6");
  EXPECT_FALSE(ReadMorphGntText("4a0101 N- ----NSM- a a a a\n", "y.txt", &words, &error));
}

TEST(SblgntReaderTest, ParagraphsPrefixesAndSuffixes) {
  std::vector<SblgntWord> words;
  std::string error;
  ASSERT_TRUE(ReadSblgntChapterText(R"(<?xml version="1.0"?>
<chapter>
  <p>
    <verse-number id="John 7:52">7:52</verse-number>
    <w>ἀπεκρίθησαν</w><suffix> </suffix>
    <prefix> ⸀</prefix><w>αὐτῷ</w><suffix>·  </suffix>
  </p>
  <p>
    <verse-number id="John 8:12">8:12</verse-number>
    <w>πάλιν</w><suffix>. </suffix>
  </p>
</chapter>)",
                                    "007.xml", &words, &error))
      << error;
  ASSERT_EQ(words.size(), 3u);
  EXPECT_TRUE(words[0].paragraph_start);
  EXPECT_FALSE(words[1].paragraph_start);
  EXPECT_TRUE(words[2].paragraph_start);
  EXPECT_EQ(Utf8(words[1].prefix), " ⸀");
  EXPECT_EQ(Utf8(words[1].suffix), "·  ");
  // A chapter file may run into the next chapter.
  EXPECT_EQ(words[2].chapter, 8);
  EXPECT_EQ(words[2].verse, 12);
  EXPECT_FALSE(
      ReadSblgntChapterText("<chapter><p><w>x</w></p></chapter>", "z.xml", &words, &error));
  EXPECT_NE(error.find("a word before the first verse number"), std::string::npos);
}

TEST(GreekTokenTest, SplitsPunctuationFromTheWord) {
  std::u16string before, word, after;
  SplitGreekToken(u"(λόγος),", &before, &word, &after);
  EXPECT_EQ(Utf8(before), "(");
  EXPECT_EQ(Utf8(word), "λόγος");
  EXPECT_EQ(Utf8(after), "),");
  SplitGreekToken(u"δι’", &before, &word, &after);  // elision belongs to the word
  EXPECT_EQ(Utf8(word), "δι’");
  EXPECT_EQ(after, u"");
  SplitGreekToken(u"—", &before, &word, &after);
  EXPECT_EQ(word, u"");
}

constexpr char kAccented[] =
    "chapter,verse,text\n"
    "1,1,\"Ἐν ἀρχῇ ἦν ὁ λόγος, καὶ\"\n"
    "1,2,¶Οὗτος — ἦν.\n";
constexpr char kParsed[] =
    "chapter,verse,text\n"
    "1,1,εν 1722 {PREP} αρχη 746 {N-DSF} ην 1510 {V-IAI-3S} ο 3588 {T-NSM} λογος 3056 {N-NSM} και "
    "2532 {CONJ}\n"
    "1,2,ουτος 3778 {D-NSM} ην 1510 {V-IAI-3S} 1510 {V-IAS-3S}\n";

TEST(ByzantineReaderTest, AlignsAccentedAndParsedWords) {
  std::vector<ByzantineWord> words;
  std::string error;
  ASSERT_TRUE(ReadByzantineBookText(kAccented, "a.csv", kParsed, "p.csv", &words, &error)) << error;
  ASSERT_EQ(words.size(), 8u);
  EXPECT_EQ(Utf8(words[4].word), "λόγος");
  EXPECT_EQ(Utf8(words[4].after), ",");
  EXPECT_EQ(words[4].robinson, "N-NSM");
  EXPECT_EQ(words[4].strongs, std::vector<int>{3056});
  // A dash standing alone joins the word before it; a second analysis keeps
  // the first code.
  EXPECT_EQ(Utf8(words[6].after), " —");
  EXPECT_EQ(words[7].robinson, "V-IAI-3S");
  EXPECT_EQ(words[7].strongs, std::vector<int>{1510});
  EXPECT_EQ(words[7].chapter, 1);
  EXPECT_EQ(words[7].verse, 2);
  // The paragraph mark starts a paragraph instead of standing before the word.
  EXPECT_TRUE(words[6].paragraph);
  EXPECT_EQ(Utf8(words[6].before), "");
  EXPECT_FALSE(words[5].paragraph);
}

TEST(ByzantineReaderTest, MisalignedVersesAreErrors) {
  std::vector<ByzantineWord> words;
  std::string error;
  const std::string short_parse =
      "chapter,verse,text\n1,1,εν 1722 {PREP}\n1,2,ουτος 3778 {D-NSM} ην 1510 {V-IAI-3S}\n";
  EXPECT_FALSE(ReadByzantineBookText(kAccented, "a.csv", short_parse, "p.csv", &words, &error));
  EXPECT_NE(error.find("a.csv:2: has more words than p.csv:2"), std::string::npos) << error;
  const std::string no_code = "chapter,verse,text\n1,1,εν 1722\n1,2,ουτος 3778 {D-NSM}\n";
  EXPECT_FALSE(ReadByzantineBookText(kAccented, "a.csv", no_code, "p.csv", &words, &error));
  EXPECT_NE(error.find("lacks its Strong's number or parsing code"), std::string::npos);
  EXPECT_FALSE(ReadByzantineBookText("chapter,verse,text\n1,1,\"open\n", "a.csv", kParsed, "p.csv",
                                     &words, &error));
  EXPECT_NE(error.find("unclosed quoted field"), std::string::npos);
}

TEST(SourceTextTest, CsvAndLines) {
  std::vector<std::string> f;
  ASSERT_TRUE(ParseCsvLine("1,2,\"a, \"\"b\"\"\"", &f));
  EXPECT_EQ(f, (std::vector<std::string>{"1", "2", "a, \"b\""}));
  EXPECT_FALSE(ParseCsvLine("1,\"x", &f));
  EXPECT_EQ(SplitLines("a\r\nb\n\nc\n").size(), 4u);
  CLineIndex index("ab\ncd\nef");
  EXPECT_EQ(index.LineOf(0), 1);
  EXPECT_EQ(index.LineOf(3), 2);
  EXPECT_EQ(index.LineOf(7), 3);
  int n = 0;
  EXPECT_TRUE(ParseNumber("042", &n));
  EXPECT_EQ(n, 42);
  EXPECT_FALSE(ParseNumber("4x", &n));
  EXPECT_FALSE(ParseNumber("", &n));
}

TEST(SourceTextTest, InvalidUtf8IsRefusedWithItsLine) {
  std::string error;
  EXPECT_TRUE(CheckUtf8("λόγος\n\xF0\x9F\x98\x80\n", "a.txt", &error));
  for (const char* bad : {"\xC0\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xE2\x82", "\xFF"}) {
    EXPECT_FALSE(CheckUtf8(std::string("ok\nstill ok\nx") + bad + "\n", "a.txt", &error)) << bad;
    EXPECT_EQ(error, "a.txt:3: invalid UTF-8");
  }
  InterlinearText text;
  EXPECT_FALSE(ReadPlainInterlinear("[Description]\nName: X\xFE\n", "p.txt", &text, &error));
  EXPECT_EQ(error, "p.txt:2: invalid UTF-8");
}

}  // namespace
}  // namespace vorn::build
