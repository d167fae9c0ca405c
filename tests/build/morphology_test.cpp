// The morphology converters, checked both on the converted code and on what
// the program's decoder makes of it: a conversion is only right when the
// description names what the source code said.
#include <gtest/gtest.h>

#include <string>

#include "morphgnt_morph.h"
#include "oshb_morph.h"
#include "platform/u16.h"
#include "robinson_morph.h"
#include "tagdecode/tag_decoder.h"

namespace vorn::build {
namespace {

std::string Describe(int scheme, const std::string& tag) {
  auto decoder = CTagDecoder::Create(scheme);
  return platform::ToUtf8(decoder->Decode(platform::ToU16(tag)));
}

std::string Oshb(std::string_view code) {
  std::string tag, error;
  EXPECT_TRUE(ConvertOshbMorph(code, &tag, &error)) << code << ": " << error;
  return tag;
}

std::string Westminster(std::string_view code) {
  return Describe(kTagSchemeWestminster, Oshb(code));
}

TEST(OshbMorphTest, PrefixesMainWordAndSuffixes) {
  EXPECT_EQ(Oshb("HC/Vqw3ms"), "Pc vqw3ms");
  EXPECT_EQ(Oshb("HNcmsa"), "ncmsa");
  EXPECT_EQ(Oshb("HR/Ncfsa"), "Pp ncfsa");
  EXPECT_EQ(Oshb("HC/Td/Ncbsa"), "Pc Pa ncbsa");
  EXPECT_EQ(Oshb("HNcmsc/Sp3ms"), "ncmscX3ms");
  EXPECT_EQ(Westminster("HC/Vqw3ms"),
            "Conjunction / Verb: qal, waw consecutive, 3rd person, masculine, singular");
  EXPECT_EQ(Westminster("HNcfsa/Sp3ms"),
            "Common noun: feminine, singular, absolute with suffix Pronominal or Object: 3rd "
            "person, masculine, singular");
  // The article hidden in a preposition's vowel is a segment of its own.
  EXPECT_EQ(Westminster("HRd/Ncmpa"),
            "Preposition / Article / Common noun: masculine, plural, absolute");
  EXPECT_EQ(Westminster("HNcmsa/Sd"),
            "Common noun: masculine, singular, absolute with suffix Directional heh");
}

TEST(OshbMorphTest, AramaicWordsUseTheAramaicStems) {
  EXPECT_EQ(Oshb("AVqp3ms"), "%vNp3ms");
  EXPECT_EQ(Westminster("AVqp3ms"), "Aramaic Verb: peal, perfect, 3rd person, masculine, singular");
  EXPECT_EQ(Westminster("AC/Vhi3mp"),
            "Aramaic Conjunction / Verb: haphel, imperfect, 3rd person, masculine, plural");
  EXPECT_EQ(Westminster("ANcmsd/Td"),
            "Aramaic Common noun: masculine, singular, determined / Article");
  // Hebrew stems of the same letter stay Hebrew.
  EXPECT_EQ(Westminster("HVhp3ms"), "Verb: hiphil, perfect, 3rd person, masculine, singular");
}

TEST(OshbMorphTest, VerbForms) {
  EXPECT_EQ(Westminster("HVqrmsa"), "Verb: qal, participle, masculine, singular, absolute");
  EXPECT_EQ(Westminster("HVNsfpc"),
            "Verb: niphal, passive participle, feminine, plural, construct");
  EXPECT_EQ(Westminster("HR/Vqc"), "Preposition / Verb: qal, infinitive construct");
  EXPECT_EQ(Westminster("HVqa"), "Verb: qal, infinitive absolute");
  // A sequential perfect is a perfect used as waw consecutive; the state
  // position is skipped so that no "absolute" appears.
  EXPECT_EQ(
      Westminster("HC/Vqq3ms"),
      "Conjunction / Verb: qal, perfect, 3rd person, masculine, singular, used as waw consecutive");
  EXPECT_EQ(Westminster("HVqh1cs"),
            "Verb: qal, imperfect, 1st person, common, singular, cohortative form");
  EXPECT_EQ(Westminster("HVqj3ms"),
            "Verb: qal, imperfect, 3rd person, masculine, singular, Jussive");
  EXPECT_EQ(Westminster("HVov2ms"), "Verb: polel, imperative, 2nd person, masculine, singular");
  EXPECT_EQ(Westminster("HVtp3cp"), "Verb: hithpael, perfect, 3rd person, common, plural");
}

TEST(OshbMorphTest, NearestCodesForCategoriesWestminsterLacks) {
  EXPECT_EQ(Westminster("HAcmsa"), "Cardinal numeral: masculine, singular, absolute");
  EXPECT_EQ(Westminster("HAofsa"), "Ordinal numeral: feminine, singular, absolute");
  EXPECT_EQ(Westminster("HPp3ms"), "Independent personal pronoun: 3rd person, masculine, singular");
  EXPECT_EQ(Westminster("HPdxms"), "Adjective: masculine, singular");
  EXPECT_EQ(Westminster("HPi"), "Interrogative pronoun");
  EXPECT_EQ(Westminster("HTm"), "Interjection");
  EXPECT_EQ(Westminster("HTo"), "Direct object marker");
  EXPECT_EQ(Westminster("HNp"), "Proper name");
  EXPECT_EQ(Westminster("HNgmpa"), "Gentilic noun: masculine, plural, absolute");
  EXPECT_EQ(Westminster("AT"), "Aramaic Relative particle");
  // A pronominal suffix written as a word of its own.
  EXPECT_EQ(Westminster("ASp3mp"),
            "Aramaic Independent personal pronoun: 3rd person, masculine, plural");
  // Unknown values ('x') become silent positions.
  EXPECT_EQ(Westminster("HNcxxa"), "Common noun: absolute");
}

TEST(OshbMorphTest, RejectsCodesOutsideTheGrammar) {
  std::string tag = "unchanged", error;
  EXPECT_FALSE(ConvertOshbMorph("", &tag, &error));
  EXPECT_FALSE(ConvertOshbMorph("Ncmsa", &tag, &error));  // no language letter
  EXPECT_NE(error.find("language"), std::string::npos);
  EXPECT_FALSE(ConvertOshbMorph("HVZp3ms", &tag, &error));
  EXPECT_NE(error.find("verb stem 'Z'"), std::string::npos);
  EXPECT_FALSE(ConvertOshbMorph("HNcmsaq", &tag, &error));
  EXPECT_FALSE(ConvertOshbMorph("HSd", &tag, &error));  // a directional heh alone
  EXPECT_FALSE(ConvertOshbMorph("HQ", &tag, &error));
  EXPECT_EQ(tag, "unchanged");
  // A stray trailing separator is tolerated.
  EXPECT_EQ(Oshb("HVtv2fs/"), "vtv2fs");
}

std::string Friberg(std::string_view pos, std::string_view parse, std::u16string_view lemma = u"",
                    char governed = 0) {
  std::string tag, error;
  EXPECT_TRUE(ConvertMorphGnt(pos, parse, lemma, governed, &tag, &error)) << error;
  return tag;
}

TEST(MorphGntMorphTest, VerbsAndNominals) {
  EXPECT_EQ(Friberg("V-", "3AAI-S--"), "VIAA--3S");
  EXPECT_EQ(Friberg("N-", "----NSM-"), "N-NM-S");
  EXPECT_EQ(Friberg("V-", "-PAPNSM-"), "VPPANM-S");
  EXPECT_EQ(Friberg("V-", "-XPN----"), "VNRP");
  EXPECT_EQ(Friberg("V-", "2YAD-P--"), "VMLA--2P");
  EXPECT_EQ(Friberg("A-", "----NSMC"), "A-MNM-S");
  EXPECT_EQ(Friberg("RA", "----GPF-"), "DGFP");
  EXPECT_EQ(Describe(kTagSchemeFriberg, Friberg("V-", "-PAPNSM-")),
            "Verb: Participle, Present, Active, Nominative, Masculine, Singular");
  EXPECT_EQ(Describe(kTagSchemeFriberg, Friberg("V-", "3XPI-S--")),
            "Verb: Indicative, Perfect, Passive, 3rd Person, Singular");
}

TEST(MorphGntMorphTest, LemmaDecidesWhatTheParsingLeavesOpen) {
  EXPECT_EQ(Friberg("RP", "----GS--", u"ἐγώ"), "NPG-1S");
  EXPECT_EQ(Friberg("RP", "----GSM-", u"αὐτός"), "NPGM3S");
  EXPECT_EQ(Describe(kTagSchemeFriberg, Friberg("RP", "----DP--", u"σύ")),
            "Pronoun: Dative, 2nd Person, Plural");
  EXPECT_EQ(Friberg("C-", "--------", u"καί"), "CC");
  EXPECT_EQ(Friberg("C-", "--------", u"ὅτι"), "CS");
  EXPECT_EQ(Friberg("RI", "----NSM-", u"τίς"), "APTNM-S");
  EXPECT_EQ(Friberg("RI", "----NSM-", u"τις"), "APINM-S");
  EXPECT_EQ(Friberg("D-", "--------", u"οὐ"), "QN");
  EXPECT_EQ(Friberg("D-", "--------", u"πῶς"), "ABT");
  EXPECT_EQ(Friberg("X-", "--------", u"ἄν"), "QV");
  EXPECT_EQ(Friberg("I-", "--------", u"ὦ"), "QS");
  EXPECT_EQ(Describe(kTagSchemeFriberg, Friberg("RD", "----ASN-")),
            "(Adjective) Pronominal: Demonstrative, Accusative, Neuter, Singular");
}

TEST(MorphGntMorphTest, PrepositionsTakeTheCaseTheyGovern) {
  EXPECT_EQ(MorphGntCase("----DSF-"), 'D');
  EXPECT_EQ(MorphGntCase("--------"), 0);
  EXPECT_EQ(Friberg("P-", "--------", u"ἐν", 'D'), "PD");
  EXPECT_EQ(Friberg("P-", "--------", u"ἕως", 0), "P");
  EXPECT_EQ(Describe(kTagSchemeFriberg, "PD"), "Preposition: Dative");
}

TEST(MorphGntMorphTest, RejectsMalformedCodes) {
  std::string tag, error;
  EXPECT_FALSE(ConvertMorphGnt("V-", "3AAI-S-", u"", 0, &tag, &error));  // seven characters
  EXPECT_FALSE(ConvertMorphGnt("V-", "3AZI-S--", u"", 0, &tag, &error));
  EXPECT_NE(error.find("voice 'Z'"), std::string::npos);
  EXPECT_FALSE(ConvertMorphGnt("Z-", "--------", u"", 0, &tag, &error));
  EXPECT_FALSE(ConvertMorphGnt("V-", "--------", u"", 0, &tag, &error));
}

std::string Logos(std::string_view code, int strongs = 0) {
  std::string tag, error;
  EXPECT_TRUE(ConvertRobinson(code, strongs, &tag, &error)) << error;
  return tag;
}

TEST(RobinsonMorphTest, VerbsNounsArticles) {
  EXPECT_EQ(Logos("V-IAI-3S"), "VIAI3S");
  EXPECT_EQ(Logos("N-NSM"), "NNSM");
  EXPECT_EQ(Logos("T-NSM"), "DNSM");
  EXPECT_EQ(Logos("V-2AAI-3P"), "VAAI3P");
  EXPECT_EQ(Logos("V-PNP-NPM"), "VPUPPNM");
  EXPECT_EQ(Logos("V-AAN"), "VAAN");
  EXPECT_EQ(Logos("V-RAI-3S-ATT"), "VRAI3S");
  EXPECT_EQ(Describe(kTagSchemeLogosGreek, Logos("V-PAP-NSM")),
            "Verb: Present, Active, Participle, Singular, Nominative, Masculine");
  EXPECT_EQ(Describe(kTagSchemeLogosGreek, Logos("V-ADI-3P")),
            "Verb: Aorist, Middle, Indicative, Third Person, Plural");
  EXPECT_EQ(Describe(kTagSchemeLogosGreek, Logos("A-NSM-C")),
            "Adjective: Nominative, Singular, Masculine, Comparative");
}

TEST(RobinsonMorphTest, PronounsAndParticles) {
  EXPECT_EQ(Logos("P-GSM"), "RP3GSM");
  EXPECT_EQ(Logos("P-1GS"), "RP1GS");
  EXPECT_EQ(Describe(kTagSchemeLogosGreek, Logos("P-2DP")),
            "Pronoun: Personal, Second Person, Dative, Plural");
  EXPECT_EQ(Describe(kTagSchemeLogosGreek, Logos("D-NSM")),
            "Pronoun: Demonstrative, Nominative, Singular, Masculine");
  EXPECT_EQ(Logos("F-3ASM"), "RF3ASM");
  EXPECT_EQ(Logos("S-1SNSF"), "RS1NSF");
  EXPECT_EQ(Logos("K-APN", 5108), "RDAPN");
  EXPECT_EQ(Logos("K-APN", 3745), "RRAPN");
  EXPECT_EQ(Logos("P-1NS-K"), "C,RP1NS");
  EXPECT_EQ(Describe(kTagSchemeLogosGreek, Logos("COND")), "Conjunction (Adverbial Conditional)");
  EXPECT_EQ(Logos("PREP"), "P");
  EXPECT_EQ(Logos("PRT-N"), "TN");
  EXPECT_EQ(Logos("N-PRI"), "XP");
  EXPECT_EQ(Logos("A-NUI"), "XN");
  EXPECT_EQ(Logos("HEB"), "XF");
}

TEST(RobinsonMorphTest, RejectsUnknownCodes) {
  std::string tag, error;
  EXPECT_FALSE(ConvertRobinson("V-ZAI-3S", 0, &tag, &error));
  EXPECT_NE(error.find("V-ZAI-3S"), std::string::npos);
  EXPECT_FALSE(ConvertRobinson("N-NS", 0, &tag, &error));  // noun without gender
  EXPECT_FALSE(ConvertRobinson("N-NSM-Q", 0, &tag, &error));
  EXPECT_FALSE(ConvertRobinson("WORD", 0, &tag, &error));
  EXPECT_FALSE(ConvertRobinson("", 0, &tag, &error));
}

}  // namespace
}  // namespace vorn::build
