#include "textdb/table_writer.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <functional>

#include "platform/file_system.h"
#include "platform/u16.h"
#include "temp_folder.h"
#include "textdb/collation.h"
#include "textdb/textdb_test_util.h"

namespace vorn {
namespace {

std::vector<uint32_t> U32s(const std::string& bytes) {
  std::vector<uint32_t> out(bytes.size() / 4);
  std::memcpy(out.data(), bytes.data(), out.size() * 4);
  return out;
}

std::u16string Units(const std::string& bytes) {
  std::u16string out(bytes.size() / 2, u'\0');
  std::memcpy(out.data(), bytes.data(), out.size() * 2);
  return out;
}

// One book pair, one line "Text", one verse over all words.
DBSource Tiny(std::vector<std::u16string> words) {
  DBSource s;
  s.name = u"T";
  s.title = u"Tiny";
  s.books = {"GEN", "EXO"};
  DBLine line;
  line.name = "Text";
  line.words = std::move(words);
  s.lines.push_back(std::move(line));
  s.verses = {{0, 1, 1, u"1"}};
  return s;
}

// Builds `s` and returns the named file; fails the test when either fails.
std::string FileOf(const DBSource& s, const char* name) {
  CDBWriter writer(s);
  std::string error;
  EXPECT_TRUE(writer.Build(&error)) << error;
  const std::string* file = writer.FindFile(name);
  EXPECT_NE(file, nullptr) << name;
  return file ? *file : std::string();
}

std::string BuildError(const DBSource& s) {
  CDBWriter writer(s);
  std::string error;
  EXPECT_FALSE(writer.Build(&error));
  EXPECT_TRUE(writer.GetFiles().empty());
  return error;
}

TEST(VerseLabelTest, EncodesAsTheVerseIndexReadsAndPrintsBack) {
  struct Case {
    const char16_t* label;
    uint8_t verse, suffix;
  } cases[] = {{u"3", 3, 0}, {u"3b", 3, 'b'},  {u"3-5", 3, 133},   {u"12-14", 12, 142},
               {u"0", 0, 0}, {u"255", 255, 0}, {u"1-127", 1, 255}, {u"7-", 7, '-'}};
  for (const Case& c : cases) {
    uint8_t verse = 99, suffix = 99;
    ASSERT_TRUE(EncodeVerseLabel(c.label, &verse, &suffix)) << platform::ToUtf8(c.label);
    EXPECT_EQ(verse, c.verse);
    EXPECT_EQ(suffix, c.suffix);
    EXPECT_EQ(FormatVerseLabel(verse, suffix), c.label);
  }
  // None of these would read back as written.
  for (const char16_t* bad : {u"", u"a", u"256", u"12ab", u"12-0", u"12-128", u"012", u"12+3",
                              u"12-14a", u"12\u201314", u"12\u03b1", u" 12", u"12 3"}) {
    uint8_t verse, suffix;
    EXPECT_FALSE(EncodeVerseLabel(bad, &verse, &suffix)) << platform::ToUtf8(bad);
  }
}

TEST(FormatCodeTest, SpreadsLongCodesOverRecords) {
  std::string out;
  ASSERT_TRUE(EncodeFormatCode(7, u"abcdef", &out));
  EXPECT_EQ(out, std::string("\x07\0\0\0abc \x07\0\0\0def\0", 16));
  out.clear();
  ASSERT_TRUE(EncodeFormatCode(1, u"abcd", &out));
  EXPECT_EQ(out, std::string("\x01\0\0\0abcd", 8));
  // A fourth character that is a space would read as "continued".
  out.clear();
  ASSERT_TRUE(EncodeFormatCode(1, u"abc ", &out));
  EXPECT_EQ(out, std::string("\x01\0\0\0abc \x01\0\0\0 \0\0\0", 16));
  out.clear();
  ASSERT_TRUE(EncodeFormatCode(2, u"", &out));
  EXPECT_EQ(out, std::string("\x02\0\0\0\0\0\0\0", 8));
  out.clear();
  ASSERT_TRUE(EncodeFormatCode(2, u"abcdefg", &out));  // 3 + 4
  EXPECT_EQ(out.size(), 16u);
  ASSERT_TRUE(EncodeFormatCode(2, u"\u00e9", &out));
  EXPECT_FALSE(EncodeFormatCode(2, u"\u0100", &out));
  EXPECT_FALSE(EncodeFormatCode(2, std::u16string(u"a\0b", 3), &out));
}

TEST(TableWriterTest, VerseIndexBytes) {
  DBSource s = Tiny({u"a", u"b", u"c", u"d"});
  s.verses = {{0, 1, 1, u"12a"}, {2, 1, 1, u"12-14"}, {2, 1, 2, u"3"}, {3, 1, 2, u"1"}};
  std::string bytes = FileOf(s, "verses.ndx");
  // Empty verses (two records with word 2) and verses out of numeric order
  // are kept; the closing record carries the word count and book count + 1.
  EXPECT_EQ(bytes, std::string("\0\0\0\0\x01\x01\x0c\x61"
                               "\x02\0\0\0\x01\x01\x0c\x8e"
                               "\x02\0\0\0\x01\x02\x03\x00"
                               "\x03\0\0\0\x01\x02\x01\x00"
                               "\x04\0\0\0\x03\xff\0\0",
                               40));
}

TEST(TableWriterTest, LineTablesBytes) {
  DBSource s = Tiny({u"b", u"a", u"b"});
  DBVariant v;
  v.name = "Alt1";
  v.display = u"Other";
  v.changes = {{1, u"c"}, {0, u"b"}};  // word 0 "changes" to its own text: same
  s.lines[0].variants.push_back(v);
  CDBWriter writer(s);
  std::string error;
  ASSERT_TRUE(writer.Build(&error)) << error;
  // Forms a, b, c (c only from the variant, without words).
  EXPECT_EQ(Units(*writer.FindFile("Texts.db")), std::u16string(u"a\0b\0c\0", 6));
  EXPECT_EQ(U32s(*writer.FindFile("Textndxx.ndx")), (std::vector<uint32_t>{0, 0, 2, 2, 4, 5}));
  EXPECT_EQ(U32s(*writer.FindFile("Textndx.ndx")), (std::vector<uint32_t>{1, 1, 2, 0, 2, 0}));
  EXPECT_EQ(U32s(*writer.FindFile("Textdb.ndx")), (std::vector<uint32_t>{1, 0, 1}));
  EXPECT_EQ(U32s(*writer.FindFile("Alt1.ndx")), (std::vector<uint32_t>{2, 0xFFFFFFFF, 0xFFFFFFFF}));
}

TEST(TableWriterTest, StatsText) {
  DBSource s = Tiny({u"a"});
  s.copyrights = {u"(c) 2024 caf\u00e9", u"Line two"};
  s.versification = u"KJV";
  s.heading_fonts = {{"Title", u"Face=\"Arial\" Size=\"16\""}};
  s.verse_font = u"Face=\"Arial\"";
  s.formats = {{0, u"p"}};
  s.lines[0].font = u"Face=\"Gentium\" Size=\"14\"";
  s.lines[0].query_prompt = u"Text";
  s.lines[0].query_names = {u"G", u"Greek"};
  s.lines[0].language = u"Greek";
  s.lines[0].extra_keys = {{"Note", u"x"}};
  s.lines[0].variants.push_back({"TextAlt", u"Alternative", {}});
  std::string text = FileOf(s, "Stats.txt");
  EXPECT_EQ(text,
            "Version: 4.01\n"
            "Name: T\n"
            "Title: Tiny\n"
            "Books: GEN EXO\n"
            "Copyright: (c) 2024 caf\xe9\n"
            "Copyright1: Line two\n"
            "Versification: KJV\n"
            "Formats: 1\n"
            "Headings:\n"
            "  Fonts:\n"
            "    Title: Face=\"Arial\" Size=\"16\"\n"
            "Verses:\n"
            "  Fonts:\n"
            "    Verse: Face=\"Arial\"\n"
            "InterlinearLines:\n"
            "  Text:\n"
            "    Font: Face=\"Gentium\" Size=\"14\"\n"
            "    QueryPrompt: Text\n"
            "    QueryNames: G Greek\n"
            "    Language: Greek\n"
            "    Alt:\n"
            "      TextAlt: Alternative\n"
            "    Note: x\n");
}

TEST(TableWriterTest, AlwaysWrittenTablesExistEmpty) {
  DBSource s = Tiny({u"a"});
  s.lines[0].name = "Form";
  CDBWriter writer(s);
  std::string error;
  ASSERT_TRUE(writer.Build(&error)) << error;
  for (const char* name : {"heads.db", "heads.ndx", "Sentence.ndx", "punct.ndx", "punctndx.ndx"}) {
    ASSERT_NE(writer.FindFile(name), nullptr) << name;
    EXPECT_TRUE(writer.FindFile(name)->empty()) << name;
  }
  EXPECT_EQ(writer.FindFile("Format.ndx"), nullptr);
  EXPECT_EQ(writer.FindFile("PVlinks/GlossMark.ndx"), nullptr);
  EXPECT_EQ(writer.GetFiles().front().first, "Stats.txt");
}

TEST(TableWriterTest, HeadingsBytes) {
  DBSource s = Tiny({u"a", u"b", u"c"});
  s.headings = {{2, {{3, {u"Z"}}}}, {0, {{1, {u"AB", u"C"}}, {2, {u"D"}}}}};
  CDBWriter writer(s);
  std::string error;
  ASSERT_TRUE(writer.Build(&error)) << error;
  EXPECT_EQ(Units(*writer.FindFile("heads.db")), std::u16string(u"\x01"
                                                                u"AB\0C\0\x02"
                                                                u"D\0\0\x03"
                                                                u"Z\0\0",
                                                                14));
  EXPECT_EQ(U32s(*writer.FindFile("heads.ndx")), (std::vector<uint32_t>{0, 0, 2, 10}));
}

TEST(TableWriterTest, PunctuationBytesShareEqualEntries) {
  DBSource s = Tiny({u"abc", u"de", u"f"});
  s.lines[0].name = "Form";
  s.punctuation = {{2, -1, u"", u"."}, {0, 0, u"(", u","}, {1, -1, u"", u"."}};
  CDBWriter writer(s);
  std::string error;
  ASSERT_TRUE(writer.Build(&error)) << error;
  EXPECT_EQ(Units(*writer.FindFile("punct.ndx")), std::u16string(u"\x01\x01(,\0\0\0.\0", 9));
  EXPECT_EQ(U32s(*writer.FindFile("punctndx.ndx")), (std::vector<uint32_t>{0, 0, 1, 5, 2, 5}));
}

TEST(TableWriterTest, GlossMarksAndSentences) {
  DBSource s = Tiny({u"a", u"b", u"c"});
  s.gloss_marks = {{2, 0, 'E', 0, 0}, {1, 'B', 0, 0, 0}};
  s.sentence_starts = {2, 0, 2};
  CDBWriter writer(s);
  std::string error;
  ASSERT_TRUE(writer.Build(&error)) << error;
  EXPECT_EQ(*writer.FindFile("PVlinks/GlossMark.ndx"),
            std::string("\x01\0\0\0B\0\0\0\x02\0\0\0\0E\0\0", 16));
  EXPECT_EQ(U32s(*writer.FindFile("Sentence.ndx")), (std::vector<uint32_t>{0, 2}));
}

TEST(TableWriterTest, LinksAreNumberedByKindTitlesThenSortedLinks) {
  DBSource s = Tiny({u"a", u"b", u"c"});
  DBLine links;
  links.name = "Links";
  s.lines.push_back(links);
  s.links.kinds = {{"K1", {{"Search", u"%1"}}}, {"K2", {}}};
  s.links.words = {
      {2, {{0, false, u"b", ""}, {1, false, u"z", "x"}}},
      {0, {{0, true, u"T", ""}, {0, false, u"b", ""}, {0, false, u"a", "d"}}},
  };
  CDBWriter writer(s);
  std::string error;
  ASSERT_TRUE(writer.Build(&error)) << error;
  // K1: 0 = title T, 1 = a, 2 = b; K2: 3 = z.
  EXPECT_EQ(U32s(*writer.FindFile("PVlinks/WordLink.ndx")), (std::vector<uint32_t>{1, 0, 5}));
  EXPECT_EQ(U32s(*writer.FindFile("PVlinks/LinkRec.ndx")),
            (std::vector<uint32_t>{0, 3, 0, 2, 1, 2, 2, 3}));
  EXPECT_EQ(Units(*writer.FindFile("PVlinks/LinkText.db")), std::u16string(u"T\0a\0b\0z\0", 8));
  EXPECT_EQ(U32s(*writer.FindFile("PVlinks/Freq.db")),
            (std::vector<uint32_t>{1, 0, 1, 0, 2, 0, 2, 1, 2}));
  EXPECT_EQ(U32s(*writer.FindFile("PVlinks/LinkFreq.ndx")),
            (std::vector<uint32_t>{0, 0, 2, 2, 4, 4, 6, 7}));
  EXPECT_EQ(U32s(*writer.FindFile("PVlinks/L8Data.ndx")), (std::vector<uint32_t>{0, 1, 3, 4}));
  EXPECT_EQ(*writer.FindFile("PVlinks/L8Data.db"), std::string("\0d\0\0x\0", 6));
  const std::string& stats = *writer.FindFile("Stats.txt");
  EXPECT_NE(
      stats.find("  Links:\n    PVlinks:\n      K1: 1 2\n        Search: %1\n      K2: 0 1\n"),
      std::string::npos)
      << stats;
}

TEST(TableWriterTest, FormsFollowTheCollatorAndKeepEqualCollatingFormsApart) {
  // Precomposed and decomposed alpha with acute collate equal but are two forms.
  std::vector<std::u16string> words = {
      u"λόγος", u"Λόγος", u"λογος", u"ἀρχῇ",  u"ἀρχή", u"\u03ac", u"\u03b1\u0301",
      u"α",     u"ω",     u"β",     u"λόγος", u"a",    u"B"};
  DBSource s = Tiny(words);
  CDBWriter writer(s);
  std::string error;
  ASSERT_TRUE(writer.Build(&error)) << error;
  std::u16string strings = Units(*writer.FindFile("Texts.db"));
  std::vector<uint32_t> records = U32s(*writer.FindFile("Textndxx.ndx"));
  ASSERT_EQ(records.size(), 2u * 12);  // 13 words, one repeated
  auto form = [&](size_t i) { return std::u16string(&strings[records[2 * i]]); };
  auto collator = MakeFormCollator();
  ASSERT_NE(collator, nullptr);
  for (size_t i = 1; i < records.size() / 2; ++i) {
    UErrorCode status = U_ZERO_ERROR;
    std::u16string a = form(i - 1), b = form(i);
    EXPECT_NE(collator->compare(a.data(), a.size(), b.data(), b.size(), status), UCOL_GREATER)
        << platform::ToUtf8(a) << " / " << platform::ToUtf8(b);
    EXPECT_NE(a, b);
  }
  // db.ndx points every word at its own text.
  std::vector<uint32_t> word_forms = U32s(*writer.FindFile("Textdb.ndx"));
  for (size_t w = 0; w < words.size(); ++w) EXPECT_EQ(form(word_forms[w]), words[w]);
}

TEST(TableWriterTest, RejectsWhatCannotBeStoredFaithfully) {
  struct Case {
    const char* what;
    std::function<void(DBSource*)> change;
    const char* message;
  };
  auto variant = [](DBSource* s, std::vector<std::pair<uint32_t, std::u16string>> changes) {
    s->lines[0].variants.push_back({"V", u"v", std::move(changes)});
  };
  const Case cases[] = {
      {"variant disagrees",
       [&](DBSource* s) {
         variant(s, {{0, u"x"}, {2, u"y"}});
       },
       "different texts"},
      {"variant misses a word of the form",
       [&](DBSource* s) {
         variant(s, {{0, u"x"}});
       },
       "keeps the form"},
      {"variant word twice",
       [&](DBSource* s) {
         variant(s, {{1, u"x"}, {1, u"x"}});
       },
       "listed twice"},
      {"variant named like a table",
       [](DBSource* s) {
         s->lines[0].variants.push_back({"verses", u"v", {}});
       },
       "two tables"},
      {"variant named like another line's table",
       [](DBSource* s) {
         s->lines[0].variants.push_back({"textDB", u"v", {}});
       },
       "two tables"},
      {"Stats value beyond Latin-1", [](DBSource* s) { s->title = u"\u03b8"; }, "above U+00FF"},
      {"value with a line break", [](DBSource* s) { s->compiled = u"a\nb"; }, "line break"},
      {"heading text beginning with a level code",
       [](DBSource* s) {
         s->headings = {{0,
                         {{1,
                           {u"\x0a"
                            u"x"}}}}};
       },
       "up to 10"},
      {"heading level 11",
       [](DBSource* s) {
         s->headings = {{0, {{11, {u"x"}}}}};
       },
       "level 11"},
      {"heading word twice",
       [](DBSource* s) {
         s->headings = {{1, {{1, {u"x"}}}}, {1, {{1, {u"y"}}}}};
       },
       "listed twice"},
      {"books interleaved",
       [](DBSource* s) {
         s->verses = {{0, 1, 1, u"1"}, {1, 2, 1, u"1"}, {2, 1, 2, u"1"}};
       },
       "book order"},
      {"same verse twice",
       [](DBSource* s) {
         s->verses = {{0, 1, 1, u"1"}, {1, 1, 1, u"1"}};
       },
       "same verse twice"},
      {"first verse after word 0",
       [](DBSource* s) {
         s->verses = {{1, 1, 1, u"1"}};
       },
       "word 0"},
      {"verses out of word order",
       [](DBSource* s) {
         s->verses = {{0, 1, 1, u"1"}, {2, 1, 1, u"2"}, {1, 1, 1, u"3"}};
       },
       "before the verse before"},
      {"verse label", [](DBSource* s) { s->verses[0].label = u"1ab"; }, "label"},
      {"chapter 255", [](DBSource* s) { s->verses[0].chapter = 255; }, "chapter"},
      {"book beyond the list", [](DBSource* s) { s->verses[0].book = 3; }, "book number"},
      {"no verses", [](DBSource* s) { s->verses.clear(); }, "at least one verse"},
      {"line of another length",
       [](DBSource* s) {
         DBLine l;
         l.name = "Glos";
         l.words = {u"x"};
         s->lines.push_back(l);
       },
       "has 1 words"},
      {"links line first", [](DBSource* s) { s->lines[0].name = "Links"; }, "first line"},
      {"punctuation without Form",
       [](DBSource* s) {
         s->punctuation = {{0, -1, u"", u"."}};
       },
       "\"Form\""},
      {"capital beyond the word",
       [](DBSource* s) {
         s->lines[0].name = "Form";
         s->punctuation = {{0, 1, u"", u""}};
       },
       "outside the word"},
      {"links without Links line",
       [](DBSource* s) {
         s->links.kinds = {{"K", {}}};
       },
       "\"Links\""},
      {"link kind with a space",
       [](DBSource* s) {
         s->lines.emplace_back().name = "Links";
         s->links.kinds = {{"K K", {}}};
       },
       "kind name"},
      {"format code beyond Latin-1",
       [](DBSource* s) {
         s->formats = {{0, u"\u0100"}};
       },
       "format code"},
      {"sentence start beyond the words", [](DBSource* s) { s->sentence_starts = {3}; },
       "beyond the last word"},
      {"word with a 0", [](DBSource* s) { s->lines[0].words[1] = std::u16string(1, u'\0'); },
       "0 character"},
      {"empty copyright line",
       [](DBSource* s) {
         s->copyrights = {u"a", u"", u"b"};
       },
       "empty copyright"},
      {"line name with a slash", [](DBSource* s) { s->lines[0].name = "A/B"; }, "line name"},
      {"extra key repeating a set key",
       [](DBSource* s) {
         s->lines[0].extra_keys = {{"QueryPrompt", u"x"}};
       },
       "twice"},
      {"no database name", [](DBSource* s) { s->name.clear(); }, "database name"},
  };
  for (const Case& c : cases) {
    DBSource s = Tiny({u"a", u"b", u"a"});
    s.lines[0].query_prompt = u"Text";
    c.change(&s);
    std::string error = BuildError(s);
    EXPECT_NE(error.find(c.message), std::string::npos) << c.what << ": " << error;
  }
}

TEST(TableWriterTest, WriteReplacesADatabaseAndNothingElse) {
  namespace fs = std::filesystem;
  const testing::TempFolder temp("writer");
  const std::string& parent = temp.path();
  std::string folder = platform::JoinPath(parent, "T.qyx");
  std::string error;

  DBSource s = Tiny({u"a", u"b"});
  ASSERT_TRUE(CDBWriter(s).Write(folder, &error)) << error;
  EXPECT_TRUE(platform::FileExists(platform::JoinPath(folder, "Stats.txt")));
  EXPECT_TRUE(platform::FileExists(platform::JoinPath(folder, "Textndxx.ndx")));

  // A second build replaces the first whole; no stray folders remain.
  s.lines[0].name = "Other";
  ASSERT_TRUE(CDBWriter(s).Write(folder, &error)) << error;
  EXPECT_FALSE(platform::FileExists(platform::JoinPath(folder, "Textndxx.ndx")));
  EXPECT_TRUE(platform::FileExists(platform::JoinPath(folder, "Otherndxx.ndx")));
  EXPECT_EQ(std::distance(fs::directory_iterator(parent), fs::directory_iterator()), 1);

  // A failing build leaves the database as it was.
  s.title = u"\u0400";
  EXPECT_FALSE(CDBWriter(s).Write(folder, &error));
  EXPECT_TRUE(platform::FileExists(platform::JoinPath(folder, "Otherndxx.ndx")));
  EXPECT_EQ(std::distance(fs::directory_iterator(parent), fs::directory_iterator()), 1);

  // A folder that is no database is never replaced.
  std::string other = platform::JoinPath(parent, "notes");
  ASSERT_TRUE(platform::CreateFolder(other));
  testing::WriteText(platform::JoinPath(other, "mine.txt"), "keep");
  s.title = u"Tiny";
  EXPECT_FALSE(CDBWriter(s).Write(other, &error));
  EXPECT_NE(error.find("not a database"), std::string::npos) << error;
  EXPECT_TRUE(platform::FileExists(platform::JoinPath(other, "mine.txt")));
}

}  // namespace
}  // namespace vorn
