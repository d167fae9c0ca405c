// The interlinear model, the plain format and the way both reach the table
// writer and back through the database reader.
#include "interlinear.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "plain_format.h"
#include "platform/message_sink.h"
#include "platform/u16.h"
#include "temp_folder.h"
#include "textdb/db_stats.h"
#include "textdb/headings.h"
#include "textdb/links_line.h"
#include "textdb/ordinary_line.h"
#include "textdb/tags_line.h"
#include "textdb/verses.h"
#include "textdb/vorn_db.h"
#include "textdb/word_list.h"

namespace vorn::build {
namespace {

std::string Utf8(const std::u16string& s) { return platform::ToUtf8(s); }

// Two verses of a made-up text in every column the format knows.
constexpr char kPlain[] =
    "# a comment before the sections\n"
    "[Description]\n"
    "Name: MINI\n"
    "Title: Mini text\n"
    "Copyright: Made up for the tests\n"
    "Versification: Mini\n"
    "InterlinearLines:\n"
    "  Form:\n"
    "    Font: Face=\"Gentium Plus\" Size=\"14\"\n"
    "    QueryPrompt: text\n"
    "    Language: Greek\n"
    "    Alt:\n"
    "      Plain: Without accents\n"
    "  Tag:\n"
    "    QueryPrompt: tag\n"
    "    TagScheme: Friberg\n"
    "  Glos:\n"
    "    QueryPrompt: gloss\n"
    "  Links:\n"
    "    QueryPrompt: note\n"
    "    PVlinks: Notes\n"
    "      Note:\n"
    "        Search: %1\n"
    "[VerseMap]\n"
    "JHN 1:3 = JHN 1:2\n"
    "[Words]\n"
    "Ref\tForm\tTag\tGlos\tForm:Plain\tBefore\tAfter\tParagraph\tHeading\tLinks\n"
    "JHN 1:1\tἘν\tPD\tin\tEν\t\t\tp\t1 John|1 The Gospel|2 Prologue\tNote first word\n"
    "JHN 1:1\tἀρχῇ\tN-DF-S\tbeginning\tαρχη\t\t,\t\t\t\n"
    "# a comment among the rows\n"
    "JHN 1:2\tοὗτος\tAPDNM-S\tthis\tουτος\t(\t).\t\t\tNote one|Note two \\| three\n"
    "JHN 1:2\tἦν\tVIIA--3S\twas\t\t\t\t\t\t\n";

TEST(PlainFormatTest, ReadsEveryColumn) {
  InterlinearText text;
  std::string error;
  ASSERT_TRUE(ReadPlainInterlinear(kPlain, "mini.tsv", &text, &error)) << error;
  const DBSource& d = text.description;
  EXPECT_EQ(Utf8(d.name), "MINI");
  EXPECT_EQ(d.copyrights.size(), 1u);
  ASSERT_EQ(d.lines.size(), 4u);
  EXPECT_EQ(d.lines[0].name, "Form");
  EXPECT_EQ(Utf8(d.lines[0].language), "Greek");
  EXPECT_EQ(Utf8(d.lines[1].tag_scheme), "Friberg");
  EXPECT_EQ(d.lines[3].name, "Links");
  ASSERT_EQ(d.links.kinds.size(), 1u);
  EXPECT_EQ(d.links.kinds[0].name, "Note");
  ASSERT_EQ(text.variants.size(), 1u);
  EXPECT_EQ(Utf8(text.variants[0].display), "Without accents");
  EXPECT_EQ(text.verse_map, "JHN 1:3 = JHN 1:2\n");
  ASSERT_EQ(text.words.size(), 4u);
  const InterlinearWord& first = text.words[0];
  EXPECT_EQ(first.book, "JHN");
  EXPECT_EQ(Utf8(first.values[2]), "in");
  ASSERT_EQ(first.headings.size(), 2u);
  EXPECT_EQ(first.headings[0].texts.size(), 2u);  // the same level twice: two texts
  EXPECT_EQ(first.headings[1].level, 2);
  EXPECT_EQ(Utf8(text.words[2].before), "(");
  ASSERT_EQ(text.words[2].links.size(), 2u);
  EXPECT_EQ(Utf8(text.words[2].links[1].text), "two | three");
  // No Sentence column: sentences end at the full stop.
  EXPECT_TRUE(text.words[3].sentence_start);
  EXPECT_FALSE(text.words[2].sentence_start);
}

TEST(PlainFormatTest, WritesWhatItReads) {
  InterlinearText text, again;
  std::string error;
  ASSERT_TRUE(ReadPlainInterlinear(kPlain, "mini.tsv", &text, &error)) << error;
  const std::string written = WritePlainInterlinear(text);
  ASSERT_TRUE(ReadPlainInterlinear(written, "again.tsv", &again, &error)) << error << "\n"
                                                                          << written;
  EXPECT_EQ(WritePlainInterlinear(again), written);
  ASSERT_EQ(again.words.size(), text.words.size());
  for (size_t i = 0; i < text.words.size(); ++i) {
    EXPECT_EQ(again.words[i].values, text.words[i].values);
    EXPECT_EQ(again.words[i].sentence_start, text.words[i].sentence_start);
    EXPECT_EQ(again.words[i].links.size(), text.words[i].links.size());
  }
}

std::string ReadError(const std::string& file) {
  InterlinearText text;
  std::string error;
  EXPECT_FALSE(ReadPlainInterlinear(file, "bad.tsv", &text, &error));
  return error;
}

TEST(PlainFormatTest, ErrorsNameTheLineAndTheExpectation) {
  const std::string head = "[Description]\nName: X\n[Words]\nRef\tForm\n";
  EXPECT_EQ(ReadError(head + "GEN 1:1\ta\nGEN 1:1\tb\tc\n"),
            "bad.tsv:6: expected at most 2 tab-separated cells, found 3");
  EXPECT_NE(ReadError("[Description]\nName: X\n[Words]\nForm\tRef\nb\n")
                .find("bad.tsv:5: the row ends before"),
            std::string::npos);
  EXPECT_NE(ReadError(head + "GENESIS 1:1\ta\n").find("bad.tsv:5: expected a reference"),
            std::string::npos);
  EXPECT_NE(ReadError(head + "GEN 1:1x2\ta\n").find("bad.tsv:5:"), std::string::npos);
  EXPECT_NE(ReadError(head + "GEN 1:1\ta\\q\n").find("backslash"), std::string::npos);
  EXPECT_NE(ReadError("[Description]\nTitle: no name\n[Words]\nRef\tForm\nGEN 1:1\ta\n")
                .find("needs a Name"),
            std::string::npos);
  EXPECT_NE(
      ReadError("[Description]\nName: X\nTitle: \xE1\xBC\x98\n[Words]\nRef\tForm\nGEN 1:1\ta\n")
          .find("Latin-1"),
      std::string::npos);
  EXPECT_NE(ReadError("[Description]\nName: X\n[Words]\nForm\na\n").find("needs a Ref column"),
            std::string::npos);
  EXPECT_NE(ReadError("[Description]\nName: X\n[Words]\nRef\tForm\tLinks\nGEN 1:1\ta\tStrong H1\n")
                .find("not declared"),
            std::string::npos);
  EXPECT_NE(ReadError("[Description]\nName: X\n[Words]\nRef\tForm\tForm\n").find("appears twice"),
            std::string::npos);
  EXPECT_NE(ReadError("Name: X\n").find("bad.tsv:1: expected [Description]"), std::string::npos);
}

TEST(InterlinearTest, PositionsOfVersesAndMarks) {
  InterlinearText text;
  std::string error;
  ASSERT_TRUE(ReadPlainInterlinear(kPlain, "mini.tsv", &text, &error)) << error;
  DBSource s;
  ASSERT_TRUE(MakeDatabaseSource(text, &s, &error)) << error;
  EXPECT_EQ(s.books, std::vector<std::string>{"JHN"});
  ASSERT_EQ(s.verses.size(), 2u);
  EXPECT_EQ(s.verses[1].first_word, 2u);
  EXPECT_EQ(Utf8(s.verses[1].label), "2");
  EXPECT_EQ(s.lines[0].words.size(), 4u);
  EXPECT_TRUE(s.lines[3].words.empty());  // Links carries no words
  // Only a differing variant text is stored.
  ASSERT_EQ(s.lines[0].variants.size(), 1u);
  EXPECT_EQ(s.lines[0].variants[0].changes.size(), 3u);
  EXPECT_EQ(s.punctuation.size(), 2u);
  EXPECT_EQ(s.sentence_starts, (std::vector<uint32_t>{0, 3}));
  EXPECT_EQ(s.formats.size(), 1u);
  EXPECT_EQ(s.headings.size(), 1u);
  EXPECT_EQ(s.links.words.size(), 2u);
}

TEST(InterlinearTest, RefusesTextsTheIndexCannotHold) {
  InterlinearText text;
  std::string error;
  ASSERT_TRUE(ReadPlainInterlinear(kPlain, "mini.tsv", &text, &error)) << error;
  DBSource s;
  InterlinearText twice = text;
  twice.words[3].verse = text.words[0].verse;  // verse 1 again after verse 2
  EXPECT_FALSE(MakeDatabaseSource(twice, &s, &error));
  EXPECT_EQ(error, "word 4 (JHN 1:1): verse appears twice in its book");
  InterlinearText books = text;
  books.words[1].book = "MAT";
  EXPECT_FALSE(MakeDatabaseSource(books, &s, &error));
  EXPECT_NE(error.find("book JHN starts again"), std::string::npos);
  InterlinearText values = text;
  values.words[0].values.pop_back();
  EXPECT_FALSE(MakeDatabaseSource(values, &s, &error));
  EXPECT_NE(error.find("word 1 (JHN 1:1): has 2 values"), std::string::npos);
  InterlinearText links = text;
  links.words[0].links[0].kind = "Other";
  EXPECT_FALSE(MakeDatabaseSource(links, &s, &error));
  InterlinearText empty = text;
  empty.words.clear();
  EXPECT_FALSE(MakeDatabaseSource(empty, &s, &error));
}

using vorn::testing::TempFolder;

// The compiler's output is only right when the program's reader opens it
// and reads back what went in.
TEST(InterlinearTest, WrittenDatabaseOpensInTheReader) {
  InterlinearText text;
  std::string error;
  ASSERT_TRUE(ReadPlainInterlinear(kPlain, "mini.tsv", &text, &error)) << error;
  DBSource s;
  ASSERT_TRUE(MakeDatabaseSource(text, &s, &error)) << error;
  TempFolder tmp;
  const std::string folder = tmp.path() + "/MINI.qyx";
  CDBWriter writer(s);
  ASSERT_TRUE(writer.Write(folder, &error)) << error;

  platform::CRecordingMessageSink sink;
  CVornDBStats stats(folder);
  ASSERT_TRUE(stats.Load());
  std::unique_ptr<CVornDB> db = stats.OpenDatabase(&sink, nullptr);
  ASSERT_TRUE(db) << (sink.messages().empty() ? "" : Utf8(sink.messages()[0].text));
  EXPECT_EQ(db->GetWordCount(), 4u);
  auto* form = dynamic_cast<CVornDBOrdinaryLine*>(db->GetLine(db->GetFormLineIndex()));
  ASSERT_NE(form, nullptr);
  // The form line applies the punctuation.
  EXPECT_EQ(Utf8(form->GetWordString(1)), "ἀρχῇ,");
  EXPECT_EQ(Utf8(form->GetWordString(2)), "(οὗτος).");
  EXPECT_EQ(Utf8(form->GetWordString(1, 1)), "αρχη,");
  auto* tags = dynamic_cast<CVornDBTagsLine*>(db->GetLine(db->GetTagLineIndex()));
  ASSERT_NE(tags, nullptr);
  EXPECT_EQ(Utf8(tags->DescribeTag(tags->GetWordString(3))),
            "Verb: Indicative, Imperfect, Active, 3rd Person, Singular");
  CVornDBLine* note = db->FindLineByQueryName(u"note");
  ASSERT_NE(note, nullptr);
  FormList forms;
  CDBWordList words;
  EXPECT_TRUE(note->MatchForms(u"Note one", &forms));
  note->WordsOfForms(forms, &words);
  ASSERT_EQ(words.size(), 1u);
  EXPECT_EQ(words[0], 2u);
  std::unique_ptr<CHeading> heading = db->GetHeading(0);
  EXPECT_NE(heading, nullptr);
  EXPECT_EQ(Utf8(db->GetFormatCode(0)), "p");
  EXPECT_EQ(db->GetSentenceRange(1).first, 0);
  EXPECT_EQ(db->GetSentenceRange(1).end, 3);
}

}  // namespace
}  // namespace vorn::build
