#include "sword_module.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>

#include "importers.h"
#include "platform/u16.h"
#include "strongs_dict.h"
#include "temp_folder.h"

namespace vorn::build {
namespace {

// A few verses in the shape of the KJV module: Strong's numbers with leading
// zeros, a psalm title, a section heading, words added by the translators,
// words of Jesus, a note, paragraphs.
constexpr char kOsis[] = R"(<?xml version="1.0" encoding="UTF-8"?>
<osis xmlns="http://www.bibletechnologies.net/2003/OSIS/namespace">
<osisText osisIDWork="Tiny" osisRefWork="Bible" xml:lang="en">
<header><work osisWork="Tiny"><title>Tiny</title><refSystem>Bible.KJV</refSystem></work></header>
<div type="book" osisID="Ps"><chapter osisID="Ps.3">
<title canonical="true" type="psalm">A <w lemma="strong:H04210">Psalm</w> of <w lemma="strong:H01732">David</w>.</title>
<verse osisID="Ps.3.1"><divineName><w lemma="strong:H3068">LORD</w></divineName>, how are they <w lemma="strong:H07231">increased</w>!</verse>
<verse osisID="Ps.3.2"><w lemma="strong:H7227">Many</w> <transChange type="added">there be</transChange> that say.</verse>
</chapter></div>
<div type="book" osisID="John"><chapter osisID="John.1">
<div type="section"><title>The Word</title>
<p><verse osisID="John.1.1"><w lemma="strong:G0746" morph="robinson:N-DSF">In the beginning</w> <w lemma="strong:G2258 lemma.TR:x">was</w> the <w lemma="strong:G03056 strong:G3588">Word</w>, (and) <q who="Jesus" marker="">the <w lemma="strong:G4434">poor</w>.</q></verse>
<verse osisID="John.1.2"><w lemma="strong:G3778">The same</w> was <note type="x-note">a note</note>in the beginning.</verse></p>
<p><verse osisID="John.1.3">All things.</verse></p>
</div></chapter></div>
</osisText></osis>
)";

std::string Texts(const std::vector<SwordWord>& words) {
  std::string out;
  for (const SwordWord& w : words) out += (out.empty() ? "" : " ") + w.text_utf8;
  return out;
}

bool HaveSwordTools() {
  return SwordSupported() && std::system("command -v osis2mod >/dev/null 2>&1") == 0;
}

// Makes the module "Tiny" (abbreviation TNY) from kOsis in a library in
// `folder`, numbered in `versification`.
void MakeTinyModule(const std::string& folder, const std::string& versification) {
  std::ofstream(folder + "/tiny.xml") << kOsis;
  std::filesystem::create_directories(folder + "/mods.d");
  std::ofstream(folder + "/mods.d/tiny.conf")
      << "[Tiny]\nDataPath=./modules/texts/rawtext/tiny/\nModDrv=RawText\nSourceType=OSIS\n"
      << "Encoding=UTF-8\nVersification=" << versification
      << "\nAbbreviation=TNY\nDescription=Tiny Bible\nFeature=StrongsNumbers\n"
      << "GlobalOptionFilter=OSISStrongs\n";
  const std::string data = folder + "/modules/texts/rawtext/tiny";
  std::filesystem::create_directories(data);
  ASSERT_EQ(std::system(("osis2mod " + data + " " + folder + "/tiny.xml -v " + versification +
                         " >/dev/null 2>&1")
                            .c_str()),
            0);
}

TEST(SwordModuleTest, ReadsAModuleMadeWithSwordsOwnTools) {
  if (!HaveSwordTools()) GTEST_SKIP() << "osis2mod or libsword missing";
  testing::TempFolder library("sword");
  MakeTinyModule(library.path(), "KJV");

  SwordModuleInfo info;
  std::string error;
  ASSERT_TRUE(DescribeSwordModule("tny", &info, &error, library.path())) << error;
  EXPECT_EQ(info.name, "Tiny");
  EXPECT_EQ(info.versification, "KJV");
  EXPECT_TRUE(info.has_strongs);
  EXPECT_FALSE(info.has_morphology);

  std::map<std::string, SwordVerse> verses;
  ASSERT_TRUE(ReadSwordModule(
      "Tiny",
      [&](const SwordVerse& v) {
        verses[v.osis_book + "." + std::to_string(v.chapter) + "." + std::to_string(v.verse)] = v;
      },
      &error, library.path()))
      << error;
  ASSERT_EQ(verses.size(), 5u);  // the empty verses of the versification are left out

  const SwordVerse& ps = verses["Ps.3.1"];
  EXPECT_EQ(Texts(ps.words), "LORD, how are they increased!");
  EXPECT_EQ(ps.headings, std::vector<std::string>{"A Psalm of David."});
  ASSERT_EQ(ps.title_words.size(), 4u);
  EXPECT_EQ(ps.title_words[1].strongs, std::vector<std::string>{"H4210"});
  EXPECT_EQ(ps.words[0].strongs, std::vector<std::string>{"H3068"});
  EXPECT_TRUE(verses["Ps.3.2"].words[1].added);
  EXPECT_FALSE(verses["Ps.3.2"].words[0].added);

  const SwordVerse& john = verses["John.1.1"];
  EXPECT_EQ(john.headings, std::vector<std::string>{"The Word"});
  EXPECT_TRUE(john.paragraph_start);
  EXPECT_EQ(Texts(john.words), "In the beginning was the Word, (and) the poor.");
  EXPECT_EQ(john.words[0].strongs, std::vector<std::string>{"G746"});
  EXPECT_EQ(john.words[0].morph, "N-DSF");
  EXPECT_FALSE(john.words[0].continues_previous);
  EXPECT_TRUE(john.words[2].continues_previous);  // "beginning" renders the same word as "In"
  EXPECT_FALSE(john.words[4].continues_previous);
  EXPECT_EQ(john.words[3].strongs, std::vector<std::string>{"G2258"});
  EXPECT_TRUE(john.words[4].strongs.empty());  // "the" is untagged
  EXPECT_EQ(john.words[5].strongs, (std::vector<std::string>{"G3056", "G3588"}));
  EXPECT_FALSE(john.words[6].red_letter);
  EXPECT_TRUE(john.words[7].red_letter);

  EXPECT_EQ(Texts(verses["John.1.2"].words), "The same was in the beginning.");  // no note
  EXPECT_FALSE(verses["John.1.2"].paragraph_start);
  EXPECT_TRUE(verses["John.1.3"].paragraph_start);

  EXPECT_FALSE(ReadSwordModule(
      "Missing", [](const SwordVerse&) {}, &error, library.path()));
  EXPECT_NE(error.find("Tiny"), std::string::npos);  // names the modules there are
}

// The database text: bare words with their punctuation apart, the Strong line,
// book titles and headings, and a verse map only where the versification
// differs from the common one.
TEST(SwordModuleTest, ImportsAModuleAsADatabaseText) {
  if (!HaveSwordTools()) GTEST_SKIP() << "osis2mod or libsword missing";
  testing::TempFolder library("sword");
  MakeTinyModule(library.path(), "KJV");
  CStrongsDictionary no_dictionary;
  InterlinearText text;
  ImportStats stats;
  std::string error;
  ASSERT_TRUE(ImportSword("TNY", library.path(), no_dictionary, {}, &text, &stats, &error))
      << error;
  EXPECT_EQ(platform::ToUtf8(text.description.name), "TNY");
  EXPECT_EQ(platform::ToUtf8(text.description.versification), "KJV");
  EXPECT_TRUE(text.verse_map.empty());
  ASSERT_EQ(text.words.size(), 27u);
  EXPECT_EQ(stats.books, 2u);
  const int form = text.ValueIndex("Form"), strong = text.ValueIndex("Strong");
  const InterlinearWord& lord = text.words[0];
  EXPECT_EQ(lord.book, "PSA");
  EXPECT_EQ(platform::ToUtf8(lord.values[form]), "LORD");
  EXPECT_EQ(platform::ToUtf8(lord.after), ",");
  EXPECT_EQ(platform::ToUtf8(lord.values[strong]), "H3068");
  ASSERT_EQ(lord.headings.size(), 2u);  // the book's title, then the psalm's
  EXPECT_EQ(platform::ToUtf8(lord.headings[1].texts[0]), "A Psalm of David.");
  const InterlinearWord& in = text.words[10];
  EXPECT_EQ(in.book, "JHN");
  EXPECT_EQ(platform::ToUtf8(in.values[form]), "In");
  EXPECT_EQ(platform::ToUtf8(in.values[strong]), "G746");
  EXPECT_EQ(platform::ToUtf8(in.values[text.ValueIndex("Morph")]), "N-DSF");
  EXPECT_EQ(platform::ToUtf8(text.words[15].values[strong]), "G3056 G3588");
  EXPECT_EQ(platform::ToUtf8(text.words[16].before), "(");

  // Another numbering: libsword maps the NRSV's verses onto the KJV's.
  testing::TempFolder nrsv("sword");
  MakeTinyModule(nrsv.path(), "NRSV");
  ASSERT_TRUE(ImportSword("Tiny", nrsv.path(), no_dictionary, {}, &text, &stats, &error)) << error;
  EXPECT_EQ(platform::ToUtf8(text.description.versification), "NRSV");
  EXPECT_NE(text.verse_map.find("\nREV 12:18 = REV 13:1\n"), std::string::npos) << text.verse_map;
}

}  // namespace
}  // namespace vorn::build
