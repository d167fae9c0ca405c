#include <gtest/gtest.h>

#include "kjv_glosses.h"
#include "platform/u16.h"
#include "strongs_dict.h"
#include "transliterator.h"

namespace vorn::build {
namespace {

std::string Utf8(const std::u16string& s) { return platform::ToUtf8(s); }

// A dictionary file in the package's shape: a comment, the object literal,
// then the export.
constexpr char kDictionary[] = R"(/* header { with a brace } */
var testDictionary = {"G10":{"lemma":"λόγος","kjv_def":"word","strongs_def":" something said","derivation":"from G20;"},
"G20":{"lemma":"φοβέω","strongs_def":" to frighten","kjv_def":"fear","derivation":"from G30;"},
"G30":{"lemma":"οὕτως","strongs_def":" in this way","kjv_def":"so","derivation":"adverb;"},
"H7":{"lemma":"אָב","xlit":"ʼâb","strongs_def":"{father}","kjv_def":"father.","derivation":"a primitive word;"}};
module.exports = testDictionary;
)";

TEST(StrongsDictionaryTest, ReadsTheObjectLiteralAndFindsNumbers) {
  CStrongsDictionary d;
  std::string error;
  ASSERT_TRUE(d.LoadText(kDictionary, "test.js", &error)) << error;
  EXPECT_EQ(d.size(), 4u);
  const StrongsEntry* e = d.Find("H0007");
  ASSERT_NE(e, nullptr);
  EXPECT_EQ(Utf8(e->lemma), "אָב");
  EXPECT_EQ(Utf8(e->xlit), "ʼâb");
  EXPECT_EQ(d.Find("H8"), nullptr);
  EXPECT_EQ(d.Find(""), nullptr);
  EXPECT_EQ(NormalizeStrongs('H', "1254 a"), "H1254");
  EXPECT_EQ(NormalizeStrongs('G', "03056"), "G3056");
  EXPECT_EQ(NormalizeStrongs('H', "c"), "");
}

TEST(StrongsDictionaryTest, MatchesNewTestamentHeadwordsLoosely) {
  CStrongsDictionary d;
  std::string error;
  ASSERT_TRUE(d.LoadText(kDictionary, "test.js", &error)) << error;
  EXPECT_EQ(d.FindGreekLemma(u"λόγος"), "G10");
  EXPECT_EQ(d.FindGreekLemma(u"Λογος"), "G10");     // accents and case ignored
  EXPECT_EQ(d.FindGreekLemma(u"φοβέομαι"), "G20");  // deponent under its active form
  EXPECT_EQ(d.FindGreekLemma(u"οὕτω(ς)"), "G30");   // optional final letter
  EXPECT_EQ(d.FindGreekLemma(u"ἄγγελος"), "");
}

TEST(StrongsDictionaryTest, RefusesTextThatIsNoDictionary) {
  CStrongsDictionary d;
  std::string error;
  EXPECT_FALSE(d.LoadText("no object here", "a.js", &error));
  EXPECT_NE(error.find("a.js"), std::string::npos);
  EXPECT_FALSE(d.LoadText("var x = {\"G1\": {\"lemma\": }};", "b.js", &error));
  EXPECT_NE(error.find("not valid JSON"), std::string::npos);
  EXPECT_FALSE(d.LoadText("var x = {\"Q1\": {}};", "c.js", &error));
  EXPECT_FALSE(d.LoadFile("/nonexistent/dictionary.js", &error));
}

std::string Gloss(std::u16string def, std::u16string kjv = u"", std::u16string derivation = u"") {
  StrongsEntry e;
  e.definition = std::move(def);
  e.kjv = std::move(kjv);
  e.derivation = std::move(derivation);
  return Utf8(ShortGloss(e));
}

TEST(ShortGlossTest, TakesTheFirstSenseCleaned) {
  EXPECT_EQ(Gloss(u"father, in a literal and immediate application"), "father");
  EXPECT_EQ(Gloss(u"{father}"), "father");
  EXPECT_EQ(Gloss(u"(absolutely) to create; (qualified) to cut down"), "to create");
  EXPECT_EQ(Gloss(u"properly, self (but generally used otherwise)"), "self");
  EXPECT_EQ(Gloss(u"a bolt"), "bolt");
  EXPECT_EQ(Gloss(u"the (sometimes to be supplied)"), "the");
  EXPECT_EQ(Gloss(u"\"in,\" at, (up-)on, by"), "in");
  EXPECT_EQ(Gloss(u"Maasai, an Israelite"), "Maasai");
  EXPECT_EQ(Gloss(u"gods in the ordinary sense; but specifically"), "gods");
  EXPECT_EQ(Gloss(u"something said (including the thought); by implication, a topic"),
            "something said");
}

TEST(ShortGlossTest, SkipsDescriptionsReferencesAndLabels) {
  EXPECT_EQ(Gloss(u"a primary preposition denoting origin (the point whence), from, out"), "from");
  EXPECT_EQ(Gloss(u"the reflexive pronoun self, used of the third person"), "self");
  EXPECT_EQ(Gloss(u"demonstrative, that (sometimes redundant); causative, because"), "that");
  EXPECT_EQ(Gloss(u"properly, united, i.e. one; or first"), "one");
  EXPECT_EQ(Gloss(u"properly, the whole; hence, all, any or every"), "all");
  EXPECT_EQ(Gloss(u"corresponding to G4461", u"Lord, Rabboni"), "Lord");
  EXPECT_EQ(Gloss(u"", u"X exceeding, God, god(-ly, -ward)"), "exceeding");
  EXPECT_EQ(Gloss(u"", u""), "");
}

TEST(ShortGlossTest, FindsTheSenseThatSlippedIntoTheDerivation) {
  // The Greek dictionary sometimes carries the first sense at the end of the
  // derivation and continues the definition with a later one.
  EXPECT_EQ(Gloss(u" figuratively, a magistrate; by Hebraism, very", u"",
                  u"of uncertain affinity; a deity, especially the supreme Divinity;"),
            "deity");
  EXPECT_EQ(Gloss(u" literal or figurative; direct or remote)", u"",
                  u"a primary preposition denoting origin (the point whence motion proceeds), "
                  u"from, out (of place;"),
            "from");
}

TEST(ShortGlossTest, CorrectsDescriptiveEntriesByNumber) {
  StrongsEntry e;
  e.definition = u"properly, assigning a reason";
  EXPECT_EQ(Utf8(ShortGloss("G1063", e)), "for");
  EXPECT_EQ(Utf8(ShortGloss("G9999", e)), "");
}

TEST(StrongsLinkTextTest, StartsWithTheNumber) {
  StrongsEntry e;
  e.lemma = u"אָב";
  e.xlit = u"ʼâb";
  e.derivation = u"a primitive word;";
  e.definition = u"father,  in a literal\napplication";
  e.kjv = u"chief, father.";
  EXPECT_EQ(Utf8(StrongsLinkText("H1", e)),
            "H1 אָב (ʼâb): a primitive word; father, in a literal application. KJV: chief, father.");
  EXPECT_EQ(Utf8(StrongsLinkText("G5", StrongsEntry())), "G5");
}

std::string Translit(CTransliterator::Script script, std::u16string_view word) {
  std::string error;
  auto t = CTransliterator::Create(script, &error);
  EXPECT_TRUE(t) << error;
  return t ? Utf8(t->Transliterate(word)) : "";
}

TEST(TransliteratorTest, GreekLosesItsAccentsButKeepsLongVowels) {
  using S = CTransliterator::Script;
  EXPECT_EQ(Translit(S::kGreek, u"λόγος"), "logos");
  EXPECT_EQ(Translit(S::kGreek, u"ἀρχῇ"), "archēi");
  EXPECT_EQ(Translit(S::kGreek, u"ὁ"), "ho");
  EXPECT_EQ(Translit(S::kGreek, u"ῥῆμα"), "rhēma");
  EXPECT_EQ(Translit(S::kGreek, u"ψυχή,"), "psychē");
}

TEST(TransliteratorTest, HebrewReadsSyllables) {
  using S = CTransliterator::Script;
  // Cantillation (U+0596) and morpheme separators are dropped.
  EXPECT_EQ(Translit(S::kHebrew, u"בְּ/רֵאשִׁ\u0596ית"), "bᵉrēʾšît");
  // A doubling dagesh writes the consonant twice; furtive patah comes first.
  EXPECT_EQ(Translit(S::kHebrew, u"הַשָּׁמַיִם"), "haššāmayim");
  EXPECT_EQ(Translit(S::kHebrew, u"רוּחַ"), "rûaḥ");
  // Silent shewa after a short vowel, sounded after a long one.
  EXPECT_EQ(Translit(S::kHebrew, u"יִשְׂרָאֵל"), "yiśrāʾēl");
  EXPECT_EQ(Translit(S::kHebrew, u"שָׁמְרוּ"), "šāmᵉrû");
  EXPECT_EQ(Translit(S::kHebrew, u"תּוֹרָה"), "tôrâ");
  EXPECT_EQ(Translit(S::kHebrew, u"בַּיִת"), "bayit");
}

}  // namespace
// The English words of the verse that carry the word's number, in order;
// the English tags ἦν as a number of its own, the imperfect of εἰμί.
TEST(KjvGlossesTest, GlossesComeFromTheVerseThenTheBibleThenTheDictionary) {
  CStrongsDictionary d;
  std::string error;
  ASSERT_TRUE(d.LoadText(R"(var d = {"G1510":{"lemma":"εἰμί","strongs_def":" I exist"},
"G2258":{"lemma":"ἦν","derivation":"imperfect of G1510 (εἰμί);"},
"G3056":{"lemma":"λόγος","strongs_def":" something said"},
"G2316":{"lemma":"θεός","strongs_def":" a deity"},
"G5000":{"lemma":"x","strongs_def":" a thing"}};)",
                         "d.js", &error))
      << error;
  CKjvRenderings kjv(d);
  kjv.AddVerse({"JHN", 1, 1, {{u"Word", {"G3056"}}, {u"was", {"G2258"}}, {u"saying", {"G3056"}}}});
  kjv.AddVerse({"JHN", 1, 2, {{u"God", {"G2316"}}}});
  InterlinearText text;
  for (const char* name : {"Glos", "Strong"}) text.description.lines.emplace_back().name = name;
  for (const char16_t* number : {u"G3056", u"G1510", u"G3056", u"G2316", u"G5000"}) {
    InterlinearWord& w = text.words.emplace_back();
    w.book = "JHN";
    w.chapter = 1;
    w.verse = u"1";
    w.values = {u"thing", number};
  }
  const GlossCoverage c = kjv.Apply(nullptr, &text);
  std::vector<std::string> glosses;
  for (const InterlinearWord& w : text.words) glosses.push_back(Utf8(w.values[0]));
  EXPECT_EQ(glosses, (std::vector<std::string>{"Word", "was", "saying", "God", "thing°"}));
  EXPECT_EQ(c.same_verse, 3u);
  EXPECT_EQ(c.most_frequent, 1u);
  EXPECT_EQ(c.dictionary, 1u);
}

// The English tags an object marker only where it stands for "and": with
// fewer tagged than in the verse, no marker can tell which is which.
TEST(KjvGlossesTest, AnObjectMarkerTakesAVersesRenderingOnlyWhenEveryOneIsTagged) {
  CStrongsDictionary d;
  std::string error;
  ASSERT_TRUE(d.LoadText(R"js(var d = {"H853":{"lemma":"אֵת","strongs_def":" (object marker)"}};)js",
                         "d.js", &error))
      << error;
  CKjvRenderings kjv(d);
  kjv.AddVerse({"GEN", 1, 1, {{u"and", {"H853"}}}});
  kjv.AddVerse({"GEN", 1, 2, {{u"and", {"H853"}}}});
  InterlinearText text;
  for (const char* name : {"Glos", "Strong"}) text.description.lines.emplace_back().name = name;
  for (const char16_t* verse : {u"1", u"1", u"2"}) {
    InterlinearWord& w = text.words.emplace_back();
    w.book = "GEN";
    w.chapter = 1;
    w.verse = verse;
    w.values = {u"(object marker)", u"H853"};
  }
  static_cast<void>(kjv.Apply(nullptr, &text));
  EXPECT_EQ(Utf8(text.words[0].values[0]), "(object marker)°");
  EXPECT_EQ(Utf8(text.words[1].values[0]), "(object marker)°");
  EXPECT_EQ(Utf8(text.words[2].values[0]), "and");
}

}  // namespace vorn::build
