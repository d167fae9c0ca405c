// The grammar-tag schemes. The texts are what users see in the word-details
// panel and the grammar-tag query dialog, and databases are measured against
// them, so capitalisation, trailing commas and colons and the order of tables
// and rows are kept as they are: the first matching row wins, and a last row
// coded '*' or '%' is a position's default.
#include "tagdecode/tag_schemes.h"

namespace vorn {
namespace {

// Hebrew Old Testament, Westminster morphology.
namespace westminster {

constexpr TagCode kNounKind[] = {
    {'p', u"Proper name"}, {'g', u"Gentilic noun:"}, {'c', u"Common noun:"}};
constexpr TagCode kGender[] = {
    {'m', u"masculine,"}, {'f', u"feminine,"}, {'b', u"both genders,"}, {'c', u"common,"}};
constexpr TagCode kNumber[] = {{'s', u"singular,"}, {'p', u"plural,"}, {'d', u"dual,"}};
constexpr TagCode kState[] = {{'c', u"construct,"}, {'d', u"determined,"}, {'*', u"absolute,"}};
constexpr TagCode kHebrewStem[] = {
    {'q', u"qal,"},       {'p', u"piel,"},        {'P', u"pual,"},        {'n', u"niphal,"},
    {'h', u"hiphil,"},    {'H', u"hophal,"},      {'Q', u"qal passive,"}, {'t', u"hithpael,"},
    {'a', u"palel,"},     {'b', u"pealal,"},      {'c', u"pilel,"},       {'d', u"pilpel,"},
    {'e', u"polel,"},     {'k', u"poel,"},        {'m', u"tiphil,"},      {'f', u"polal,"},
    {'g', u"polpal,"},    {'i', u"pulal,"},       {'l', u"poal,"},        {'u', u"hothpaal,"},
    {'v', u"hithpolel,"}, {'y', u"hithpoel,"},    {'w', u"hithpalpel,"},  {'s', u"hishtaphel,"},
    {'x', u"nithpael,"},  {'%', u"Aramaic stem,"}};
constexpr TagCode kAramaicStem[] = {
    {'A', u"aphel,"},    {'B', u"haphel,"},    {'H', u"hishtaphel,"}, {'S', u"hithpaal,"},
    {'F', u"hithpeel,"}, {'G', u"hithpolel,"}, {'I', u"ishtaphel,"},  {'L', u"ithpeel,"},
    {'P', u"polel,"},    {'R', u"shaphel,"},   {'N', u"peal,"},       {'M', u"pael,"},
    {'O', u"peil,"},     {'D', u"hophal,"},    {'Q', u"saphal,"},     {'K', u"ithpaal,"},
    {'V', u"itpoel,"}};
constexpr TagCode kConjugation[] = {{'p', u"perfect,"},
                                    {'i', u"imperfect,"},
                                    {'w', u"waw consecutive,"},
                                    {'v', u"imperative,"},
                                    {'c', u"infinitive construct,"},
                                    {'a', u"infinitive absolute,"},
                                    {'s', u"passive participle,"},
                                    {'P', u"participle,"}};
constexpr TagCode kPerson[] = {{'1', u"1st person,"}, {'2', u"2nd person,"}, {'3', u"3rd person,"}};
constexpr TagCode kForm[] = {{'j', u"apocopated form"}, {'h', u"cohortative form"}, {'{', u""}};
constexpr TagCode kWawUse[] = {{'1', u""}, {'2', u"used as waw consecutive"}};
constexpr TagCode kClosing[] = {{'}', u""}};
constexpr TagCode kMood[] = {{'J', u"Jussive"}, {'C', u"Cohortative"}};
constexpr TagCode kSense[] = {{'t', u"in form & meaning"}, {'f', u"in form"}, {'m', u"in meaning"}};
constexpr TagCode kParticle[] = {{'a', u"Article"},
                                 {'c', u"Conjunction"},
                                 {'d', u"Adverb"},
                                 {'g', u"Interrogative particle"},
                                 {'i', u"Interjection"},
                                 {'n', u"Negative particle"},
                                 {'o', u"Direct object marker"},
                                 {'p', u"Preposition"},
                                 {'r', u"Relative particle"}};
constexpr TagCode kPronounMarker[] = {{'i', u""}};
constexpr TagCode kPronounKind[] = {{'i', u"Interrogative pronoun:"},
                                    {'*', u"Independent personal pronoun:"}};
constexpr TagCode kNumeral[] = {{'c', u"Cardinal numeral:"}, {'o', u"Ordinal numeral:"}};
constexpr TagCode kSuffixKind[] = {{'a', u"(apocopated),"},
                                   {'d', u"Directional heh,"},
                                   {'h', u"Paragogic heh,"},
                                   {'n', u"Paragogic nun,"},
                                   {'*', u"Pronominal or Object:"}};

constexpr TagCodeTable kNounPositions[] = {kNounKind, kGender, kNumber, kState};
constexpr TagCodeTable kVerbPositions[] = {kHebrewStem, kConjugation, kPerson, kGender,
                                           kNumber,     kState,       kForm,   kWawUse,
                                           kClosing,    kMood,        kSense};
constexpr TagCodeTable kAdjectivePositions[] = {kGender, kNumber, kState};
constexpr TagCodeTable kParticlePositions[] = {kParticle};
constexpr TagCodeTable kPronounPositions[] = {kPronounMarker, kPronounKind, kPerson, kGender,
                                              kNumber};
constexpr TagCodeTable kNumeralPositions[] = {kNumeral, kGender, kNumber, kState};
constexpr TagCodeTable kSuffixPositions[] = {kSuffixKind, kPerson,  kGender, kNumber, kForm,
                                             kWawUse,     kClosing, kMood,   kSense};

constexpr TagPartOfSpeech kParts[] = {
    {'n', u"", kNounPositions},
    {'v', u"Verb:", kVerbPositions},
    {'a', u"Adjective:", kAdjectivePositions},
    {'P', u"", kParticlePositions},
    {'p', u"", kPronounPositions},
    {'u', u"", kNumeralPositions},
    {'X', u"with suffix", kSuffixPositions},
    {'x', u"Paragraph marker", {}},
    {'q', u"Qere w-lo Kethiv", {}},
    {'k', u"Kethiv w-lo Qere", {}},
};

constexpr TagSeparator kSeparators[] = {
    {' ', u"/"}, {'%', u"Aramaic"}, {'+', u"AND"}, {'X', u"SUFFIX"}};
// Replaces kHebrewStem in the verb's first position for tags marked Aramaic.
constexpr TagCodeTable kAramaicStemTable(kAramaicStem);

}  // namespace westminster

// Greek New Testament, Friberg analytical tags.
namespace friberg {

constexpr TagCode kNominalKind[] = {{'P', u"Pronoun:"}, {'-', u"Noun:"}};
constexpr TagCode kCase[] = {{'N', u"Nominative,"},
                             {'G', u"Genitive,"},
                             {'D', u"Dative,"},
                             {'A', u"Accusative,"},
                             {'V', u"Vocative,"}};
constexpr TagCode kGender[] = {{'M', u"Masculine,"}, {'F', u"Feminine,"}, {'N', u"Neuter,"}};
constexpr TagCode kPerson[] = {{'1', u"1st Person,"}, {'2', u"2nd Person,"}, {'3', u"3rd Person,"}};
constexpr TagCode kNumber[] = {{'S', u"Singular,"}, {'P', u"Plural,"}};
constexpr TagCode kMood[] = {{'I', u"Indicative,"},
                             {'S', u"Subjunctive,"},
                             {'O', u"Optative,"},
                             {'M', u"Imperative,"},
                             {'N', u"Infinitive,"},
                             {'P', u"Participle,"},
                             {'R', u"Participle (Imperative Sense),"}};
constexpr TagCode kTense[] = {{'P', u"Present,"}, {'I', u"Imperfect,"}, {'F', u"Future,"},
                              {'A', u"Aorist,"},  {'R', u"Perfect,"},   {'L', u"Pluperfect,"}};
constexpr TagCode kVoice[] = {{'A', u"Active,"},
                              {'M', u"Middle,"},
                              {'P', u"Passive,"},
                              {'E', u"Middle or Passive,"},
                              {'D', u"Middle Deponent,"},
                              {'O', u"Passive Deponent,"},
                              {'N', u"Middle or Passive Deponent,"}};
constexpr TagCode kAdjectivalKind[] = {
    {'P', u"(Adjective) Pronominal:"}, {'B', u"Adverb:"}, {'-', u"Adjective:"}};
constexpr TagCode kAdjectiveClass[] = {{'C', u"Cardinal,"},      {'O', u"Ordinal,"},
                                       {'R', u"Relative,"},      {'I', u"Indefinite,"},
                                       {'T', u"Interrogative,"}, {'D', u"Demonstrative,"},
                                       {'M', u"Comparative,"},   {'S', u"Superlative,"}};
constexpr TagCode kConjunction[] = {{'S', u"Conjunction (Subordinating)"},
                                    {'C', u"Conjunction (Coordinating)"},
                                    {'H', u"Conjunction (Superordinating)"}};
constexpr TagCode kParticle[] = {{'S', u"Particle (Sentential)"},
                                 {'T', u"Particle (Interrogative)"},
                                 {'V', u"Particle (Verbal)"},
                                 {'N', u"Particle (Negative)"}};

constexpr TagCodeTable kNominalPositions[] = {kNominalKind, kCase, kGender, kPerson, kNumber};
constexpr TagCodeTable kVerbPositions[] = {kMood, kTense, kVoice, kCase, kGender, kPerson, kNumber};
constexpr TagCodeTable kAdjectivalPositions[] = {kAdjectivalKind, kAdjectiveClass, kCase,
                                                 kGender,         kPerson,         kNumber};
constexpr TagCodeTable kDeterminerPositions[] = {kCase, kGender, kNumber};
constexpr TagCodeTable kPrepositionPositions[] = {kCase};
constexpr TagCodeTable kConjunctionPositions[] = {kConjunction};
constexpr TagCodeTable kParticlePositions[] = {kParticle};

constexpr TagPartOfSpeech kParts[] = {
    {'N', u"", kNominalPositions},
    {'V', u"Verb:", kVerbPositions},
    {'A', u"", kAdjectivalPositions},
    {'D', u"Determiner:", kDeterminerPositions},
    {'P', u"Preposition:", kPrepositionPositions},
    {'C', u"", kConjunctionPositions},
    {'Q', u"", kParticlePositions},
};

constexpr TagSeparator kSeparators[] = {{'/', u"OR"},  {'!', u"OR PERHAPS"}, {'^', u"USED AS"},
                                        {'&', u"AND"}, {'(', u"("},          {')', u")"}};

}  // namespace friberg

// Septuagint morphology. The tags are column aligned, so a space is a code of its own.
namespace lxx {

constexpr TagCode kDeclension[] = {{'1', u"1st declension,"},
                                   {'2', u"2nd declension,"},
                                   {'3', u"3rd declension,"},
                                   {' ', u"indeclinable,"}};
constexpr TagCode kStemClass[] = {{'A', u""}, {'M', u""}, {'S', u""}, {'T', u""}, {'N', u""},
                                  {'D', u""}, {'E', u""}, {'G', u""}, {'H', u""}, {'I', u""},
                                  {'K', u""}, {'P', u""}, {'R', u""}, {'U', u""}, {'V', u""},
                                  {'W', u""}, {'B', u""}, {'C', u""}, {' ', u""}};
constexpr TagCode kBlank[] = {{' ', u""}};
constexpr TagCode kCaseOrPerson[] = {
    {'N', u"nominative,"}, {'G', u"genitive,"},   {'D', u"dative,"},     {'A', u"accusative,"},
    {'V', u"vocative,"},   {'1', u"1st person,"}, {'2', u"2nd person,"}, {'3', u"3rd person,"}};
constexpr TagCode kNumber[] = {{'S', u"singular,"}, {'D', u"dual,"}, {'P', u"plural,"}};
constexpr TagCode kGender[] = {{'M', u"masculine,"}, {'F', u"feminine,"}, {'N', u"neuter,"}};
constexpr TagCode kDegree[] = {{'C', u"comparative,"}, {'S', u"superlative,"}};
constexpr TagCode kVerbClass[] = {
    {'1', u""}, {'2', u""}, {'3', u""}, {'4', u""}, {'5', u""}, {'6', u""}, {'7', u""},
    {'8', u""}, {'9', u""}, {'A', u""}, {'B', u""}, {'Z', u""}, {'H', u""}, {'E', u""},
    {'O', u""}, {'C', u""}, {'D', u""}, {'V', u""}, {'S', u""}, {'Q', u""}, {'X', u""},
    {'M', u""}, {'P', u""}, {'T', u""}, {'K', u""}, {'F', u""}};
constexpr TagCode kVerbClass2[] = {{'I', u""}, {'2', u""}, {'3', u""}, {'X', u""}, {' ', u""}};
constexpr TagCode kTense[] = {{'P', u"present,"}, {'I', u"imperfect,"}, {'F', u"future,"},
                              {'A', u"aorist,"},  {'X', u"perfect,"},   {'Y', u"pluperfect,"}};
constexpr TagCode kVoice[] = {{'A', u"active,"}, {'M', u"middle,"}, {'P', u"passive,"}};
constexpr TagCode kMood[] = {{'I', u"indicative,"}, {'D', u"imperative,"}, {'S', u"subjunctive,"},
                             {'O', u"optative,"},   {'N', u"infinitive,"}, {'P', u"participle,"}};
constexpr TagCode kPronounKind[] = {{'A', u"Article:"},
                                    {'D', u"Demonstrative pronoun:"},
                                    {'I', u"Interrogative/Indefinite pronoun:"},
                                    {'P', u"Personal/Possessive pronoun:"},
                                    {'R', u"Relative pronoun:"},
                                    {'X', u"Demonstrative pronoun:"}};

constexpr TagCodeTable kNounPositions[] = {kDeclension,   kStemClass, kBlank,
                                           kCaseOrPerson, kNumber,    kGender};
constexpr TagCodeTable kVerbPositions[] = {kVerbClass, kVerbClass2,   kBlank,  kTense, kVoice,
                                           kMood,      kCaseOrPerson, kNumber, kGender};
constexpr TagCodeTable kAdjectivePositions[] = {kDeclension, kStemClass, kBlank, kCaseOrPerson,
                                                kNumber,     kGender,    kDegree};
constexpr TagCodeTable kPronounPositions[] = {kPronounKind,  kBlank,  kBlank,
                                              kCaseOrPerson, kNumber, kGender};
constexpr TagCodeTable kIndeclinableNumberPositions[] = {kBlank,        kBlank,  kBlank,
                                                         kCaseOrPerson, kNumber, kGender};
constexpr TagCodeTable kAdverbPositions[] = {kBlank,        kBlank,  kBlank,
                                             kCaseOrPerson, kNumber, kGender};

constexpr TagPartOfSpeech kParts[] = {
    {'N', u"Noun:", kNounPositions},
    {'V', u"Verb:", kVerbPositions},
    {'A', u"Adjective:", kAdjectivePositions},
    {'R', u"", kPronounPositions},
    {'C', u"Conjunction", {}},
    {'X', u"Particle", {}},
    {'I', u"Interjection", {}},
    {'M', u"Indeclinable Number:", kIndeclinableNumberPositions},
    {'P', u"Preposition", {}},
    {'D', u"Adverb:", kAdverbPositions},
};

constexpr TagSeparator kSeparators[] = {{'+', u"AND"}};

}  // namespace lxx

// Logos Greek morphology.
namespace logos_greek {

constexpr TagCode kParticleKind[] = {
    {'C', u"Conditional,"}, {'E', u"Emphatic,"}, {'I', u"Interrogative,"}, {'K', u"Correlative,"},
    {'N', u"Negative,"},    {'P', u"Place,"},    {'S', u"Superlative,"},   {'X', u"Indefinite,"}};
constexpr TagCode kConjunctionClass[] = {
    {'A', u"(Adverbial"}, {'L', u"(Logical"}, {'S', u"(Substantival"}};
constexpr TagCode kConjunctionSense[] = {
    {'C', u"Conditional)"}, {'D', u"Declarative)"}, {'L', u"Local)"},       {'M', u"Comparative)"},
    {'N', u"Concessive)"},  {'P', u"Purpose)"},     {'R', u"Result)"},      {'T', u"Temporal)"},
    {'Z', u"Causal)"},      {'A', u"Ascensive)"},   {'I', u"Inferential)"}, {'K', u"Correlative)"},
    {'X', u"Explanatory)"}, {'E', u"Epexegetical)"}};
constexpr TagCode kCase[] = {{'A', u"Accusative,"},
                             {'D', u"Dative,"},
                             {'G', u"Genitive,"},
                             {'N', u"Nominative,"},
                             {'V', u"Vocative,"}};
constexpr TagCode kNumber[] = {{'D', u"Dual,"}, {'P', u"Plural,"}, {'S', u"Singular,"}};
constexpr TagCode kGender[] = {{'F', u"Feminine,"}, {'M', u"Masculine,"}, {'N', u"Neuter,"}};
constexpr TagCode kDegree[] = {
    {'C', u"Comparative,"}, {'O', u"Other,"}, {'P', u"Positive,"}, {'S', u"Superlative,"}};
constexpr TagCode kPronounKind[] = {
    {'C', u"Reciprocal,"},    {'D', u"Demonstrative,"}, {'F', u"Reflexive,"},
    {'I', u"Interrogative,"}, {'N', u"Negative,"},      {'P', u"Personal,"},
    {'R', u"Relative,"},      {'S', u"Possessive,"},    {'X', u"Indefinite,"}};
constexpr TagCode kPerson[] = {
    {'1', u"First Person,"}, {'2', u"Second Person,"}, {'3', u"Third Person,"}};
constexpr TagCode kIntensive[] = {{'A', u"Intensive Attributive,"},
                                  {'P', u"Intensive Predicative,"}};
constexpr TagCode kTense[] = {{'A', u"Aorist,"},        {'F', u"Future,"},  {'I', u"Imperfect,"},
                              {'L', u"Pluperfect,"},    {'P', u"Present,"}, {'R', u"Perfect,"},
                              {'T', u"Future Perfect,"}};
constexpr TagCode kVoice[] = {
    {'A', u"Active,"}, {'M', u"Middle,"}, {'P', u"Passive,"}, {'U', u"Either Middle or Passive,"}};
constexpr TagCode kMood[] = {{'I', u"Indicative,"}, {'M', u"Imperative,"}, {'N', u"Infinitive,"},
                             {'O', u"Optative,"},   {'P', u"Participle,"}, {'S', u"Subjunctive,"}};
constexpr TagCode kIndeclinableKind[] = {{'F', u"Foreign,"},
                                         {'L', u"Letter,"},
                                         {'N', u"Numeral,"},
                                         {'O', u"Other,"},
                                         {'P', u"Proper Noun,"}};

constexpr TagCodeTable kAdverbPositions[] = {kParticleKind};
constexpr TagCodeTable kConjunctionPositions[] = {kConjunctionClass, kConjunctionSense};
constexpr TagCodeTable kArticlePositions[] = {kCase, kNumber, kGender};
constexpr TagCodeTable kAdjectivePositions[] = {kCase, kNumber, kGender, kDegree};
constexpr TagCodeTable kNounPositions[] = {kCase, kNumber, kGender, kDegree};
constexpr TagCodeTable kPronounPositions[] = {kPronounKind, kPerson, kCase,
                                              kNumber,      kGender, kIntensive};
constexpr TagCodeTable kParticlePositions[] = {kParticleKind};
constexpr TagCodeTable kVerbPositions[] = {kTense, kVoice, kMood, kPerson, kNumber, kCase, kGender};
constexpr TagCodeTable kIndeclinablePositions[] = {kIndeclinableKind};

constexpr TagPartOfSpeech kParts[] = {
    {'B', u"Adverb:", kAdverbPositions},
    {'C', u"Conjunction", kConjunctionPositions},
    {'D', u"Article:", kArticlePositions},
    {'I', u"Interjection:", {}},
    {'J', u"Adjective:", kAdjectivePositions},
    {'N', u"Noun:", kNounPositions},
    {'P', u"Preposition:", {}},
    {'R', u"Pronoun:", kPronounPositions},
    {'T', u"Particle:", kParticlePositions},
    {'V', u"Verb:", kVerbPositions},
    {'X', u"Indeclinable:", kIndeclinablePositions},
};

constexpr TagSeparator kSeparators[] = {{',', u"AND"}};

}  // namespace logos_greek

// Logos Hebrew morphology.
namespace logos_hebrew {

constexpr TagCode kRelative[] = {{'R', u"Relative"}};
constexpr TagCode kLocative[] = {{'H', u"Locative HE"}};
constexpr TagCode kGender[] = {{'M', u"Masculine,"}, {'F', u"Feminine,"}};
constexpr TagCode kNumber[] = {{'S', u"Singular,"}, {'P', u"Plural,"}, {'D', u"Dual,"}};
constexpr TagCode kState[] = {{'A', u"Absolute,"}, {'C', u"Construct,"}, {'D', u"Determined,"}};
constexpr TagCode kNounKind[] = {{'P', u"Proper Name:"}, {'C', u"Common Noun:"}};
constexpr TagCode kObjectMarker[] = {{'O', u"Object Marker"}};
constexpr TagCode kPronounKind[] = {{'D', u"Demonstrative Pronoun:"},
                                    {'I', u"Interrogative Pronoun:"},
                                    {'P', u"Personal Pronoun:"},
                                    {'S', u"Suffixed Pronoun:"}};
constexpr TagCode kPerson[] = {
    {'1', u"First Person,"}, {'2', u"Second Person,"}, {'3', u"Third Person,"}};
constexpr TagCode kConjugation[] = {{'P', u"Qatal (Perfect),"},
                                    {'p', u"Weqatal (Waw + Perfect),"},
                                    {'I', u"Yiqtol (Imperfect),"},
                                    {'W', u"Wayyiqtol (Waw-Consecutive + Imperfect),"},
                                    {'w', u"Weyiqtol (Waw-Conjunctive + Imperfect),"},
                                    {'M', u"Imperative,"},
                                    {'F', u"Infinitive,"},
                                    {'R', u"Participle,"},
                                    {'S', u"Passive Participle,"}};
constexpr TagCode kMood[] = {{'C', u"Cohortative,"}, {'J', u"Jussive,"}};
constexpr TagCode kParagogic[] = {{'H', u"Paragogic He"}};
constexpr TagCode kStem[] = {
    {'a', u"Qal,"},       {'b', u"Pi`el,"},     {'c', u"Hif'il,"},     {'d', u"Nif'al,"},
    {'e', u"Pu`al,"},     {'g', u"Hithpa`el,"}, {'i', u"Hophal,"},     {'l', u"Hothpa`al,"},
    {'m', u"Nithpa`el,"}, {'n', u"'Ethpa`al,"}, {'o', u"Tif'al,"},     {'w', u"Pu'lal,"},
    {'x', u"Polel,"},     {'y', u"Pi'lel,"},    {'z', u"Pilpel,"},     {'A', u"Polal,"},
    {'B', u"Hithpolel,"}, {'C', u"Po'el,"},     {'D', u"Hithpolal,"},  {'E', u"Hithpalpel,"},
    {'F', u"Po'al,"},     {'G', u"Pe'al'al,"},  {'H', u"Eshtaf'el,"},  {'I', u"Pe'al'al,"},
    {'K', u"Pu'alal,"},   {'L', u"Polpal,"},    {'N', u"Pi'lal,"},     {'O', u"Hithpa'el,"},
    {'P', u"Hothpa'el,"}, {'Q', u"Palpel,"},    {'R', u"Pa'lal,"},     {'S', u"Hithpilpel,"},
    {'T', u"Hithpo'el,"}, {'U', u"'Ethpo'el,"}, {'Z', u"Qal Passive,"}};

constexpr TagCodeTable kConjunctionPositions[] = {kRelative};
constexpr TagCodeTable kAdverbPositions[] = {kLocative};
constexpr TagCodeTable kAdjectivePositions[] = {kGender, kNumber, kState, kLocative};
constexpr TagCodeTable kNounPositions[] = {kNounKind, kGender, kNumber, kState, kLocative};
constexpr TagCodeTable kPrepositionPositions[] = {kObjectMarker};
constexpr TagCodeTable kPronounPositions[] = {kPronounKind, kPerson, kGender,
                                              kNumber,      kState,  kLocative};
constexpr TagCodeTable kVerbPositions[] = {kStem,   kConjugation, kPerson, kGender,
                                           kNumber, kState,       kMood,   kParagogic};

constexpr TagPartOfSpeech kParts[] = {
    {'A', u"Article", {}},
    {'C', u"Conjunction:", kConjunctionPositions},
    {'D', u"Adverb:", kAdverbPositions},
    {'G', u"Negation", {}},
    {'I', u"Interrogative", {}},
    {'J', u"Adjective:", kAdjectivePositions},
    {'N', u"", kNounPositions},
    {'P', u"Preposition:", kPrepositionPositions},
    {'R', u"", kPronounPositions},
    {'V', u"Verb:", kVerbPositions},
    {'X', u"Interjection", {}},
};

constexpr TagSeparator kSeparators[] = {{0xB7 /* U+00B7 MIDDLE DOT */, u"/"}};

}  // namespace logos_hebrew

// Only Westminster switches a stem table: a leading '%' marks an Aramaic verb.
constexpr TagSchemeTable kSchemes[] = {
    {0,
     westminster::kSeparators,
     "",
     westminster::kParts,
     {'%', 'v', 0, &westminster::kAramaicStemTable}},
    {1, friberg::kSeparators, "+-", friberg::kParts, {}},
    {2, lxx::kSeparators, "", lxx::kParts, {}},
    {3, logos_greek::kSeparators, "", logos_greek::kParts, {}},
    {9, logos_hebrew::kSeparators, " ", logos_hebrew::kParts, {}},
};

}  // namespace

const TagSchemeTable* FindTagSchemeTable(int scheme) {
  for (const TagSchemeTable& table : kSchemes) {
    if (table.scheme == scheme) return &table;
  }
  return nullptr;
}

}  // namespace vorn
