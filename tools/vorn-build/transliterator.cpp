#include "transliterator.h"

#include <unicode/normalizer2.h>
#include <unicode/translit.h>
#include <unicode/unistr.h>
#include <unicode/utypes.h>

#include <vector>

#include "platform/u16.h"

namespace vorn::build {
namespace {

// Applied after the syllable pre-pass below, which leaves every consonant
// followed by its shin or sin dot, its dagesh and then its vowels, removes
// silent shewas, writes a doubled consonant twice and ends the word with a
// space (so that word-final rules have something to look at).
constexpr char16_t kHebrewRules[] =
    u"$v = [\u05B0-\u05BB\u05C7] ;"
    // Vowel letters (matres lectionis).
    u"\u05B4 \u05D9 } [^$v \u05BC] > \u00EE ;"
    u"\u05B5 \u05D9 } [^$v \u05BC] > \u00EA ;"
    u"\u05B6 \u05D9 } [^$v \u05BC] > \u00EA ;"
    u"\u05B8 \u05D4 } ' ' > \u00E2 ;"
    u"\u05D5 \u05B9 > \u00F4 ;"
    u"\u05D5 \u05BC } [^$v] > \u00FB ;"
    // Furtive patah is read before its guttural.
    u"\u05D7 \u05B7 } ' ' > a\u1E25 ;"
    u"\u05E2 \u05B7 } ' ' > a\u02BF ;"
    u"\u05D4 \u05BC \u05B7 } ' ' > ah ;"
    u"\u05E9 \u05C2 > \u015B ;"
    u"\u05E9 \u05C1 > \u0161 ;"
    u"\u05E9 > \u0161 ;"
    u"\u05D0 > \u02BE ; \u05D1 > b ; \u05D2 > g ; \u05D3 > d ; \u05D4 > h ; \u05D5 > w ;"
    u"\u05D6 > z ; \u05D7 > \u1E25 ; \u05D8 > \u1E6D ; \u05D9 > y ; [\u05DB\u05DA] > k ;"
    u"\u05DC > l ; [\u05DE\u05DD] > m ; [\u05E0\u05DF] > n ; \u05E1 > s ; \u05E2 > \u02BF ;"
    u"[\u05E4\u05E3] > p ; [\u05E6\u05E5] > \u1E63 ; \u05E7 > q ; \u05E8 > r ; \u05EA > t ;"
    u"\u05B0 > \u1D49 ; \u05B1 > \u0115 ; \u05B2 > \u0103 ; \u05B3 > \u014F ; \u05B4 > i ;"
    u"\u05B5 > \u0113 ; \u05B6 > e ; \u05B7 > a ; \u05B8 > \u0101 ; \u05B9 > \u014D ;"
    u"\u05BA > \u014D ; \u05BB > u ; \u05C7 > o ;"
    u"[\u05BC \u05C1 \u05C2] > ;"
    u":: NFC ;";

constexpr char16_t kSheva = 0x05B0, kHiriq = 0x05B4, kTsere = 0x05B5, kSegol = 0x05B6,
                   kQamets = 0x05B8, kHolam = 0x05B9, kHolamHaser = 0x05BA, kDagesh = 0x05BC,
                   kMeteg = 0x05BD, kShinDot = 0x05C1, kSinDot = 0x05C2, kVav = 0x05D5,
                   kYod = 0x05D9, kHe = 0x05D4;

bool IsConsonant(char16_t c) { return c >= 0x05D0 && c <= 0x05EA; }
bool IsVowel(char16_t c) { return (c >= 0x05B1 && c <= 0x05BB) || c == 0x05C7; }

struct Cluster {
  char16_t consonant = 0;
  char16_t dot = 0;
  bool dagesh = false;
  bool meteg = false;
  bool sheva = false;
  std::u16string vowels;  // without shewa
};

// Qamets counts as long: the short qamets (hatuf) before a silent shewa is
// far rarer than a long one before a sounded shewa (šāmᵉrû).
bool IsLongVowel(const Cluster& c) {
  for (char16_t v : c.vowels) {
    if (v == kTsere || v == kHolam || v == kHolamHaser || v == kQamets) return true;
  }
  return c.meteg;
}

// A vav or yod that only lengthens the vowel before it.
bool IsVowelLetter(const Cluster& c, const Cluster* before) {
  if (c.consonant == kVav && c.vowels.empty() && !c.sheva) return true;  // shureq or holam male
  if (c.consonant == kVav && c.vowels == std::u16string(1, kHolam)) return true;
  if (c.consonant == kYod && c.vowels.empty() && !c.sheva && !c.dagesh && before) {
    for (char16_t v : before->vowels) {
      if (v == kHiriq || v == kTsere || v == kSegol) return true;
    }
  }
  return false;
}

// Reads the syllable structure the vowel points give: which shewas are
// sounded and which dageshes double their consonant.
std::u16string PrepareHebrew(const std::u16string& nfd) {
  std::vector<Cluster> clusters;
  for (char16_t c : nfd) {
    if (IsConsonant(c)) {
      clusters.push_back({});
      clusters.back().consonant = c;
    } else if (clusters.empty()) {
      continue;
    } else if (c == kSheva) {
      clusters.back().sheva = true;
    } else if (IsVowel(c)) {
      clusters.back().vowels += c;
    } else if (c == kDagesh) {
      clusters.back().dagesh = true;
    } else if (c == kShinDot || c == kSinDot) {
      clusters.back().dot = c;
    } else if (c == kMeteg) {
      clusters.back().meteg = true;
    }
  }
  std::u16string out;
  for (size_t i = 0; i < clusters.size(); ++i) {
    const Cluster& c = clusters[i];
    const Cluster* before = i > 0 ? &clusters[i - 1] : nullptr;
    const bool last = i + 1 == clusters.size();
    const bool before_has_vowel =
        before &&
        (!before->vowels.empty() || IsVowelLetter(*before, i > 1 ? &clusters[i - 2] : nullptr));
    const bool shureq = c.consonant == kVav && c.dagesh && c.vowels.empty() && !c.sheva;
    const bool mappiq = c.consonant == kHe && c.dagesh && last;
    const bool doubled = c.dagesh && before_has_vowel && !shureq && !mappiq;
    if (doubled) {
      out += c.consonant;
      if (c.dot) out += c.dot;
    }
    out += c.consonant;
    if (c.dot) out += c.dot;
    if (c.dagesh) out += kDagesh;
    out += c.vowels;
    if (c.sheva && !last) {
      const bool vocal =
          i == 0 || c.dagesh || (before && before->sheva) || (before && IsLongVowel(*before));
      if (vocal) out += kSheva;
    }
  }
  out += u' ';
  return out;
}

const icu::Normalizer2* Nfd() {
  UErrorCode status = U_ZERO_ERROR;
  const icu::Normalizer2* n = icu::Normalizer2::getNFDInstance(status);
  return U_SUCCESS(status) ? n : nullptr;
}

}  // namespace

CTransliterator::CTransliterator(std::unique_ptr<icu::Transliterator> t) : t_(std::move(t)) {}
CTransliterator::~CTransliterator() = default;

std::unique_ptr<CTransliterator> CTransliterator::Create(Script script, std::string* error) {
  UErrorCode status = U_ZERO_ERROR;
  std::unique_ptr<icu::Transliterator> t;
  if (script == Script::kGreek) {
    // Greek-Latin writes accents as combining marks on the Latin vowels
    // (ē̂); only the macrons are kept.
    t.reset(icu::Transliterator::createInstance(
        "Greek-Latin; NFD; [\\u0300\\u0301\\u0302\\u0342] Remove; NFC", UTRANS_FORWARD, status));
  } else {
    UParseError parse_error;
    t.reset(icu::Transliterator::createFromRules("Hebrew-Latin/Academic",
                                                 icu::UnicodeString(kHebrewRules), UTRANS_FORWARD,
                                                 parse_error, status));
  }
  if (U_FAILURE(status) || !t) {
    *error = std::string("ICU cannot create the transliterator: ") + u_errorName(status);
    return nullptr;
  }
  return std::unique_ptr<CTransliterator>(new CTransliterator(std::move(t)));
}

std::u16string CTransliterator::Transliterate(std::u16string_view word) const {
  icu::UnicodeString s(false, word.data(), static_cast<int32_t>(word.size()));
  bool hebrew = false;
  for (char16_t c : word) hebrew = hebrew || IsConsonant(c);
  if (hebrew) {
    const icu::Normalizer2* nfd = Nfd();
    UErrorCode status = U_ZERO_ERROR;
    icu::UnicodeString d = nfd ? nfd->normalize(s, status) : s;
    if (U_FAILURE(status)) d = s;
    std::u16string prepared =
        PrepareHebrew(std::u16string(reinterpret_cast<const char16_t*>(d.getBuffer()), d.length()));
    icu::UnicodeString p(prepared.data(), static_cast<int32_t>(prepared.size()));
    t_->transliterate(p);
    std::u16string out(reinterpret_cast<const char16_t*>(p.getBuffer()), p.length());
    while (!out.empty() && out.back() == u' ') out.pop_back();
    return out;
  }
  // Punctuation that may cling to a Greek word is not part of it.
  std::u16string clean;
  for (char16_t c : word) {
    if (c == u'/' || c == u',' || c == u'.' || c == u';' || c == u'\u00B7' || c == u'\u0387')
      continue;
    clean += c;
  }
  icu::UnicodeString g(clean.data(), static_cast<int32_t>(clean.size()));
  t_->transliterate(g);
  return std::u16string(reinterpret_cast<const char16_t*>(g.getBuffer()), g.length());
}

}  // namespace vorn::build
