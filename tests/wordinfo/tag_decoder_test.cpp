#include "tagdecode/tag_decoder.h"

#include <gtest/gtest.h>

#include <string>

namespace vorn {
namespace {

// UTF-8 both ways (BMP only) so that expectations read as plain literals and
// failures print legibly.
std::u16string U16(std::string_view utf8) {
  std::u16string out;
  for (std::size_t i = 0; i < utf8.size();) {
    const unsigned char c = utf8[i];
    if (c < 0x80) {
      out += char16_t(c);
      i += 1;
    } else if (c < 0xE0) {
      out += char16_t(((c & 0x1F) << 6) | (utf8[i + 1] & 0x3F));
      i += 2;
    } else {
      out += char16_t(((c & 0x0F) << 12) | ((utf8[i + 1] & 0x3F) << 6) | (utf8[i + 2] & 0x3F));
      i += 3;
    }
  }
  return out;
}

std::string Utf8(std::u16string_view text) {
  std::string out;
  for (char16_t c : text) {
    if (c < 0x80) {
      out += char(c);
    } else if (c < 0x800) {
      out += char(0xC0 | (c >> 6));
      out += char(0x80 | (c & 0x3F));
    } else {
      out += char(0xE0 | (c >> 12));
      out += char(0x80 | ((c >> 6) & 0x3F));
      out += char(0x80 | (c & 0x3F));
    }
  }
  return out;
}

class TagDecoderTest : public ::testing::Test {
 protected:
  std::string Decode(int scheme, std::string_view tag) {
    std::unique_ptr<CTagDecoder> decoder = CTagDecoder::Create(scheme);
    if (!decoder) return "<no decoder>";
    return Utf8(decoder->Decode(U16(tag)));
  }
  std::string Westminster(std::string_view tag) { return Decode(kTagSchemeWestminster, tag); }
  std::string Friberg(std::string_view tag) { return Decode(kTagSchemeFriberg, tag); }
  std::string Lxx(std::string_view tag) { return Decode(kTagSchemeLXX, tag); }
  std::string LogosGreek(std::string_view tag) { return Decode(kTagSchemeLogosGreek, tag); }
  std::string LogosHebrew(std::string_view tag) { return Decode(kTagSchemeLogosHebrew, tag); }
};

TEST(TagSchemeTest, NamesAreExactAndCaseSensitive) {
  EXPECT_EQ(TagSchemeFromName(u"Westminster"), 0);
  EXPECT_EQ(TagSchemeFromName(u"Friberg"), 1);
  EXPECT_EQ(TagSchemeFromName(u"LXX"), 2);
  EXPECT_EQ(TagSchemeFromName(u"LogosGreek"), 3);
  EXPECT_EQ(TagSchemeFromName(u"LogosHebrew"), 9);
  EXPECT_EQ(TagSchemeFromName(u"westminster"), -1);
  EXPECT_EQ(TagSchemeFromName(u"LXX "), -1);
  EXPECT_EQ(TagSchemeFromName(u""), -1);
}

TEST(TagSchemeTest, FactoryAcceptsOnlyKnownIdentifiers) {
  for (int scheme : {0, 1, 2, 3, 9}) {
    std::unique_ptr<CTagDecoder> decoder = CTagDecoder::Create(scheme);
    ASSERT_NE(decoder, nullptr) << scheme;
    EXPECT_EQ(decoder->scheme(), scheme);
  }
  for (int scheme : {-1, 4, 5, 6, 7, 8, 10})
    EXPECT_EQ(CTagDecoder::Create(scheme), nullptr) << scheme;
}

TEST_F(TagDecoderTest, EmptyTagAndUnknownPartOfSpeech) {
  for (int scheme : {0, 1, 2, 3, 9}) {
    EXPECT_EQ(Decode(scheme, ""), "") << scheme;
    EXPECT_EQ(Decode(scheme, "zzz"), "Unknown Tag") << scheme;
  }
}

TEST_F(TagDecoderTest, WestminsterNouns) {
  // The unmatched 'a' falls to the state's '*' default; no character, no default.
  EXPECT_EQ(Westminster("ncmsa"), "Common noun: masculine, singular, absolute");
  EXPECT_EQ(Westminster("ncms"), "Common noun: masculine, singular");
  EXPECT_EQ(Westminster("nc"), "Common noun");
  EXPECT_EQ(Westminster("np"), "Proper name");
  EXPECT_EQ(Westminster("ncmpc"), "Common noun: masculine, plural, construct");
  EXPECT_EQ(Westminster("afpd"), "Adjective: feminine, plural, determined");
  EXPECT_EQ(Westminster("ucmsa"), "Cardinal numeral: masculine, singular, absolute");
  EXPECT_EQ(Westminster("x"), "Paragraph marker");
  EXPECT_EQ(Westminster("Pcxyz"), "Conjunction");  // left-over characters are ignored
}

TEST_F(TagDecoderTest, WestminsterVerbs) {
  EXPECT_EQ(Westminster("vqp3ms"), "Verb: qal, perfect, 3rd person, masculine, singular");
  EXPECT_EQ(Westminster("vhw3fp"), "Verb: hiphil, waw consecutive, 3rd person, feminine, plural");
  // The hyphen holds the state open; 'J' then passes form, waw use and closing.
  EXPECT_EQ(Westminster("vqi3ms-J"),
            "Verb: qal, imperfect, 3rd person, masculine, singular, Jussive");
  // The Hebrew stem table's '%' default consumes the unknown stem letter.
  EXPECT_EQ(Westminster("vzp3ms"), "Verb: Aramaic stem, perfect, 3rd person, masculine, singular");
}

TEST_F(TagDecoderTest, WestminsterAramaicStemSwitch) {
  EXPECT_EQ(Westminster("%vNp3ms"), "Aramaic Verb: peal, perfect, 3rd person, masculine, singular");
  // Chosen afresh each call: the same letters without the marker read Hebrew.
  EXPECT_EQ(Westminster("vNp3ms"), "Verb: Aramaic stem, perfect, 3rd person, masculine, singular");
  // The switch covers every verb of a marked tag.
  EXPECT_EQ(Westminster("%Pc vMp3ms"),
            "Aramaic Conjunction / Verb: pael, perfect, 3rd person, masculine, singular");
  // The Aramaic table has no default, so an unknown letter is passed along
  // until the state's '*' default speaks for it.
  EXPECT_EQ(Westminster("%vq"), "Aramaic Verb: absolute");
}

TEST_F(TagDecoderTest, WestminsterSeparatorsAndSuffixes) {
  EXPECT_EQ(Westminster("Pc vqw3ms"),
            "Conjunction / Verb: qal, waw consecutive, 3rd person, masculine, singular");
  // 'X' starts the suffix segment without being consumed; the '*' default of
  // the suffix kind then leaves '3' to the person.
  EXPECT_EQ(Westminster("ncfsaX3ms"),
            "Common noun: feminine, singular, absolute with suffix Pronominal or Object: "
            "3rd person, masculine, singular");
  EXPECT_EQ(Westminster("ncmsX"), "Common noun: masculine, singular with suffix");
  EXPECT_EQ(Westminster("Pp+X1cs"),
            "Preposition AND with suffix Pronominal or Object: 1st person, common, singular");
  EXPECT_EQ(Westminster("vqp3ms+"),
            "Verb: qal, perfect, 3rd person, masculine, singular AND ");  // trailing space kept
  // After a consumed separator only later separators are tried: '+' follows
  // ' ' in the list, but ' ' does not follow '+'.
  EXPECT_EQ(Westminster("Pc +vqp3ms"),
            "Conjunction / AND Verb: qal, perfect, 3rd person, masculine, singular");
  EXPECT_EQ(Westminster("Pc+ vqp3ms"), "Conjunction AND Unknown Tag");
}

TEST_F(TagDecoderTest, WestminsterPronouns) {
  EXPECT_EQ(Westminster("pii"), "Interrogative pronoun");
  EXPECT_EQ(Westminster("p3ms"), "Independent personal pronoun: 3rd person, masculine, singular");
}

TEST_F(TagDecoderTest, Friberg) {
  EXPECT_EQ(Friberg("N-NM-S"), "Noun: Nominative, Masculine, Singular");
  EXPECT_EQ(Friberg("VIAA--3S"), "Verb: Indicative, Aorist, Active, 3rd Person, Singular");
  EXPECT_EQ(Friberg("A--NM-S^N-NM-S"),
            "Adjective: Nominative, Masculine, Singular USED AS Noun: Nominative, Masculine, "
            "Singular");
  EXPECT_EQ(Friberg("VIPM--3S!VIPE--3S"),
            "Verb: Indicative, Present, Middle, 3rd Person, Singular OR PERHAPS Verb: Indicative, "
            "Present, Middle or Passive, 3rd Person, Singular");
  EXPECT_EQ(Friberg("VPPANM-S"),
            "Verb: Participle, Present, Active, Nominative, Masculine, Singular");
  EXPECT_EQ(Friberg("NPGM3S"), "Pronoun: Genitive, Masculine, 3rd Person, Singular");
  EXPECT_EQ(Friberg("APDNN-S"),
            "(Adjective) Pronominal: Demonstrative, Nominative, Neuter, Singular");
  EXPECT_EQ(Friberg("AB"), "Adverb");
  EXPECT_EQ(Friberg("CC"), "Conjunction (Coordinating)");
  EXPECT_EQ(Friberg("QN"), "Particle (Negative)");
  EXPECT_EQ(Friberg("DNMS"), "Determiner: Nominative, Masculine, Singular");
  EXPECT_EQ(Friberg("PG"), "Preposition: Genitive");
}

TEST_F(TagDecoderTest, FribergStripsAndSeparators) {
  // One '+' or '-' is dropped at each end of a segment.
  EXPECT_EQ(Friberg("-N-NM-S+"), "Noun: Nominative, Masculine, Singular");
  EXPECT_EQ(Friberg("N-NM-S&-"), "Noun: Nominative, Masculine, Singular AND Unknown Tag");
  EXPECT_EQ(Friberg("N-NM-S(A--NM-S)"),
            "Noun: Nominative, Masculine, Singular ( Adjective: Nominative, Masculine, "
            "Singular ) ");
  EXPECT_EQ(Friberg("N-NM-S/!N-NF-S"),
            "Noun: Nominative, Masculine, Singular OR OR PERHAPS Noun: Nominative, Feminine, "
            "Singular");
  EXPECT_EQ(Friberg("N-NM-S//N-NF-S"), "Noun: Nominative, Masculine, Singular OR Unknown Tag");
}

TEST_F(TagDecoderTest, Lxx) {
  EXPECT_EQ(Lxx("N1  NSF"), "Noun: 1st declension, nominative, singular, feminine");
  EXPECT_EQ(Lxx("V1  PAI3S"), "Verb: present, active, indicative, 3rd person, singular");
  EXPECT_EQ(Lxx("N   NSM"), "Noun: indeclinable, nominative, singular, masculine");
  EXPECT_EQ(Lxx("A1A NSMC"),
            "Adjective: 1st declension, nominative, singular, masculine, comparative");
  EXPECT_EQ(Lxx("RA  GSM"), "Article: genitive, singular, masculine");
  EXPECT_EQ(Lxx("P+RA  GSM"), "Preposition AND Article: genitive, singular, masculine");
  EXPECT_EQ(Lxx("C"), "Conjunction");
  EXPECT_EQ(Lxx("M   NPM"), "Indeclinable Number: nominative, plural, masculine");
}

TEST_F(TagDecoderTest, LogosGreek) {
  EXPECT_EQ(LogosGreek("CAC"), "Conjunction (Adverbial Conditional)");
  EXPECT_EQ(LogosGreek("CSE"), "Conjunction (Substantival Epexegetical)");
  EXPECT_EQ(LogosGreek("NNSM"), "Noun: Nominative, Singular, Masculine");
  EXPECT_EQ(LogosGreek("VAAI3S"), "Verb: Aorist, Active, Indicative, Third Person, Singular");
  EXPECT_EQ(LogosGreek("RP1NS"), "Pronoun: Personal, First Person, Nominative, Singular");
  EXPECT_EQ(LogosGreek("XF"), "Indeclinable: Foreign");
  EXPECT_EQ(LogosGreek("P"), "Preposition");
  EXPECT_EQ(LogosGreek("CLI,DNSM"),
            "Conjunction (Logical Inferential) AND Article: Nominative, Singular, Masculine");
  EXPECT_EQ(LogosGreek("DNSM,"), "Article: Nominative, Singular, Masculine AND ");
}

TEST_F(TagDecoderTest, LogosHebrew) {
  EXPECT_EQ(LogosHebrew("NCMSA"), "Common Noun: Masculine, Singular, Absolute");
  EXPECT_EQ(LogosHebrew("C·VaW3MS"),
            "Conjunction / Verb: Qal, Wayyiqtol (Waw-Consecutive + Imperfect), Third Person, "
            "Masculine, Singular");
  EXPECT_EQ(LogosHebrew("VbP3MS"),
            "Verb: Pi`el, Qatal (Perfect), Third Person, Masculine, Singular");
  EXPECT_EQ(LogosHebrew("NPMSAH"), "Proper Name: Masculine, Singular, Absolute, Locative HE");
  EXPECT_EQ(LogosHebrew("P·A·NCMSA"),
            "Preposition / Article / Common Noun: Masculine, Singular, Absolute");
  // One space is stripped at each end of a segment, not two.
  EXPECT_EQ(LogosHebrew("C · VaW3MS "),
            "Conjunction / Verb: Qal, Wayyiqtol (Waw-Consecutive + Imperfect), Third Person, "
            "Masculine, Singular");
  EXPECT_EQ(LogosHebrew("C·  Va"), "Conjunction / Unknown Tag");
  // Only U+00B7 separates; another character with the same low byte does not.
  EXPECT_EQ(LogosHebrew("C\u01B7Va"), "Conjunction");
}

TEST_F(TagDecoderTest, IsTagDecodableFlagsUnknownSegments) {
  std::unique_ptr<CTagDecoder> decoder = CTagDecoder::Create(kTagSchemeWestminster);
  ASSERT_NE(decoder, nullptr);
  EXPECT_TRUE(IsTagDecodable(*decoder, u"vqp3ms"));
  EXPECT_TRUE(IsTagDecodable(*decoder, u""));
  EXPECT_FALSE(IsTagDecodable(*decoder, u"zzz"));
  EXPECT_FALSE(IsTagDecodable(*decoder, u"Pc zzz"));
}

}  // namespace
}  // namespace vorn
