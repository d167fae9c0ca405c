#include "morphgnt_morph.h"

#include <algorithm>

namespace vorn::build {
namespace {

// Parsing code positions.
enum { kPerson, kTense, kVoice, kMood, kCase, kNumber, kGender, kDegree, kParseLength };

bool OneOf(std::u16string_view lemma, std::initializer_list<std::u16string_view> list) {
  return std::find(list.begin(), list.end(), lemma) != list.end();
}

bool Fail(std::string* error, const std::string& what, std::string_view pos,
          std::string_view parse) {
  *error = what + " in \"" + std::string(pos) + " " + std::string(parse) + "\"";
  return false;
}

// Conjunctions that introduce a dependent clause; all others count as
// coordinating. MorphGNT does not make the distinction, Friberg does.
bool IsSubordinating(std::u16string_view lemma) {
  return OneOf(lemma,
               {u"ὅτι",      u"ἵνα",    u"ὡς",       u"εἰ",     u"ἐάν",     u"καθώς",  u"ὅταν",
                u"ὅτε",      u"ὥστε",   u"ὅπως",     u"ὅπου",   u"ἕως",     u"ὥσπερ",  u"μήποτε",
                u"ἐπεί",     u"διότι",  u"καθάπερ",  u"ὅθεν",   u"ἐπειδή",  u"ὡσεί",   u"πρίν",
                u"κἄν",      u"καθότι", u"εἴπερ",    u"ἄχρι",   u"οὗ",      u"καίπερ", u"καθό",
                u"ὁσάκις",   u"ἐπάν",   u"ἡνίκα",    u"ἐάνπερ", u"ὡσπερεί", u"ὁπότε",  u"ἐπειδήπερ",
                u"μέχρι(ς)", u"μέχρι",  u"καθώσπερ", u"καθά",   u"μή",      u"πῶς",    u"γάρ",
                u"διόπερ",   u"ἤπερ"});
}

// Friberg particle kinds: negative, interrogative, verbal (the modal ἄν),
// sentential for the rest (interjection-like words included).
char ParticleKind(std::u16string_view lemma) {
  if (OneOf(lemma, {u"οὐ", u"μή", u"οὐχί", u"οὔ"})) return 'N';
  if (OneOf(lemma, {u"μήτι", u"ἆρα", u"ἄρα", u"μήποτε"})) return 'T';
  if (OneOf(lemma, {u"ἄν", u"ἐάν"})) return 'V';
  return 'S';
}

// MorphGNT gives no person for personal pronouns.
char PronounPerson(std::u16string_view lemma) {
  if (OneOf(lemma, {u"ἐγώ", u"κἀγώ", u"ἐμαυτοῦ", u"ἡμεῖς"})) return '1';
  if (OneOf(lemma, {u"σύ", u"σεαυτοῦ", u"ὑμεῖς"})) return '2';
  if (OneOf(lemma, {u"αὐτός", u"ἑαυτοῦ"})) return '3';
  return '-';  // ἀλλήλων, reciprocal: no person
}

// Interrogative (τίς, ποῖος, πόσος, ποταπός, πηλίκος), indefinite (τις) or,
// for the correlatives ὁποῖος and ἡλίκος, relative.
char InterrogativeClass(std::u16string_view lemma) {
  if (lemma == u"τις") return 'I';
  if (OneOf(lemma, {u"ὁποῖος", u"ἡλίκος"})) return 'R';
  return 'T';
}

// Case, gender, person, number as Friberg's nominal tags order them.
std::string CaseGenderPersonNumber(std::string_view p, char person) {
  std::string s;
  s += p[kCase];
  s += p[kGender];
  s += person;
  s += p[kNumber];
  return s;
}

char AdjectiveDegree(char degree) {
  switch (degree) {
    case 'C':
      return 'M';  // comparative
    case 'S':
      return 'S';  // superlative
    default:
      return '-';
  }
}

void TrimTrailingDashes(std::string* s) {
  while (s->size() > 2 && s->back() == '-') s->pop_back();
}

}  // namespace

char MorphGntCase(std::string_view parse) {
  if (parse.size() != kParseLength) return 0;
  const char c = parse[kCase];
  return (c == 'N' || c == 'G' || c == 'D' || c == 'A' || c == 'V') ? c : 0;
}

bool ConvertMorphGnt(std::string_view pos, std::string_view parse, std::u16string_view lemma,
                     char governed_case, std::string* friberg, std::string* error) {
  if (pos.size() != 2) return Fail(error, "part of speech must have two characters", pos, parse);
  if (parse.size() != kParseLength)
    return Fail(error, "parsing code must have eight characters", pos, parse);
  const std::string_view p = parse;
  auto check = [&](int at, std::string_view allowed, const char* what) {
    if (allowed.find(p[at]) != std::string_view::npos) return true;
    Fail(error, std::string("unknown ") + what + " '" + p[at] + "'", pos, parse);
    return false;
  };
  if (!check(kPerson, "-123", "person") || !check(kTense, "-PIFAXY", "tense") ||
      !check(kVoice, "-AMP", "voice") || !check(kMood, "-IDSONP", "mood") ||
      !check(kCase, "-NGDAV", "case") || !check(kNumber, "-SP", "number") ||
      !check(kGender, "-MFN", "gender") || !check(kDegree, "-CS", "degree"))
    return false;

  std::string out;
  if (pos == "V-") {
    static constexpr std::string_view kMoods = "IDSONP", kFribergMoods = "IMSONP";
    static constexpr std::string_view kTenses = "PIFAXY", kFribergTenses = "PIFARL";
    if (p[kMood] == '-' || p[kTense] == '-' || p[kVoice] == '-')
      return Fail(error, "verb without mood, tense or voice", pos, parse);
    out = "V";
    out += kFribergMoods[kMoods.find(p[kMood])];
    out += kFribergTenses[kTenses.find(p[kTense])];
    out += p[kVoice];
    out += p[kCase];
    out += p[kGender];
    out += p[kPerson];
    out += p[kNumber];
    TrimTrailingDashes(&out);
  } else if (pos == "N-") {
    out = "N-" + CaseGenderPersonNumber(p, '-');
  } else if (pos == "A-") {
    out = "A-";
    out += AdjectiveDegree(p[kDegree]);
    out += CaseGenderPersonNumber(p, '-');
  } else if (pos == "RA") {
    out = "D";
    out += p[kCase];
    out += p[kGender];
    out += p[kNumber];
  } else if (pos == "RP") {
    out = "NP" + CaseGenderPersonNumber(p, PronounPerson(lemma));
  } else if (pos == "RD") {
    out = "APD" + CaseGenderPersonNumber(p, '-');
  } else if (pos == "RR") {
    out = "APR" + CaseGenderPersonNumber(p, '-');
  } else if (pos == "RI") {
    out = "AP";
    out += InterrogativeClass(lemma);
    out += CaseGenderPersonNumber(p, '-');
  } else if (pos == "C-") {
    out = IsSubordinating(lemma) ? "CS" : "CC";
  } else if (pos == "D-") {
    // Friberg reads the negatives as particles and marks interrogative
    // adverbs; MorphGNT calls them all adverbs.
    if (ParticleKind(lemma) == 'N') {
      out = "QN";
    } else {
      out = "AB";
      if (p[kDegree] != '-') {
        out += AdjectiveDegree(p[kDegree]);
      } else if (OneOf(lemma, {u"πῶς", u"ποῦ", u"πόθεν", u"πότε", u"ποσάκις"})) {
        out += 'T';
      }
    }
  } else if (pos == "P-") {
    out = "P";
    if (governed_case != 0) out += governed_case;
  } else if (pos == "X-") {
    out = "Q";
    out += ParticleKind(lemma);
  } else if (pos == "I-") {
    out = "QS";  // Friberg has no interjection: sentential particle
  } else {
    return Fail(error, "unknown part of speech", pos, parse);
  }
  *friberg = std::move(out);
  return true;
}

}  // namespace vorn::build
