#include "kjv_glosses.h"

#include <algorithm>
#include <cctype>
#include <set>

#include "book_codes.h"
#include "platform/u16.h"
#include "source_text.h"
#include "strongs_dict.h"

namespace vorn::build {
namespace {

// Families the derivations do not state: the oblique cases of the personal
// pronouns are entries of their own, derived from each other rather than
// from the nominative our texts carry; the verbs that borrow tenses from
// other stems (εἶπον for λέγω, εἶδον and οἶδα for ὁράω, φάγω for ἐσθίω)
// are entries of their own in the English Bible's tagging, while the Greek
// texts file them under the verb of the present tense.
const std::unordered_map<std::string, std::string> kFamilyTable = {
    {"G3165", "G1473"}, {"G1691", "G1473"}, {"G3427", "G1473"}, {"G1698", "G1473"},
    {"G3450", "G1473"}, {"G1700", "G1473"}, {"G4571", "G4771"}, {"G4671", "G4771"},
    {"G4675", "G4771"}, {"G2036", "G3004"}, {"G2046", "G3004"}, {"G1492", "G3708"},
    {"G3700", "G3708"}, {"G5315", "G2068"},
};

// The article and the object marker: the English renders them with untagged
// words or not at all, and tags them only where they stand for something
// else ("which", "and"), so their most frequent tagged rendering misleads.
const std::set<std::string> kUsuallyUntagged = {"G3588", "H853"};

// Words of a derivation that call an entry an inflected form of another.
const std::set<std::string> kInflection = {
    "imperfect", "future",     "aorist",     "perfect",    "pluperfect", "subjunctive",
    "optative",  "imperative", "infinitive", "participle", "person",     "singular",
    "plural",    "indicative", "accusative", "genitive",   "dative",     "nominative",
    "vocative",  "case",       "shorter",    "simpler",    "prolonged",  "form",
    "masculine", "feminine",   "neuter",     "irregular"};
// Words that may stand beside them.
const std::set<std::string> kFiller = {"the",      "a",        "an",         "and",     "or",
                                       "probably", "original", "originally", "present", "first",
                                       "second",   "third",    "contracted"};

// The base an entry's derivation names when it calls the entry an inflected
// form of it ("third person singular present indicative of G1510 (εἰμί)"),
// or "".
std::string BaseOfForm(const StrongsEntry& entry) {
  std::string der;
  int depth = 0;
  for (char c : platform::ToUtf8(entry.derivation)) {
    if (c == ';') break;
    if (c == '(') ++depth;
    if (depth == 0) der += c;
    if (c == ')' && depth > 0) --depth;
  }
  size_t best = std::string::npos, link = 0;
  for (const char* word : {" of ", " from "}) {
    for (const char letter : {'G', 'H'}) {
      const size_t at = der.find(std::string(word) + letter);
      if (at != std::string::npos && at < best) {
        best = at;
        link = std::char_traits<char>::length(word);
      }
    }
  }
  if (best == std::string::npos) return {};
  bool inflected = false;
  for (std::string_view w : SplitFields(std::string_view(der).substr(0, best), ' ')) {
    std::string word(w);
    std::transform(word.begin(), word.end(), word.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    while (!word.empty() && (word.back() == ',' || word.back() == '.')) word.pop_back();
    if (word.empty()) continue;
    if (kInflection.count(word)) {
      inflected = true;
    } else if (!kFiller.count(word)) {
      return {};
    }
  }
  if (!inflected) return {};
  const size_t number = best + link;
  size_t end = number + 1;
  while (end < der.size() && der[end] >= '0' && der[end] <= '9') ++end;
  return NormalizeStrongs(der[number], std::string_view(der).substr(number + 1, end - number - 1));
}

VerseKey KeyOf(const InterlinearWord& w) {
  int verse = 0;
  ParseNumber(platform::ToUtf8(w.verse), &verse);
  return {w.book, w.chapter, verse};
}

// Punctuation around an English word: ASCII marks, the pilcrow, curly quotes.
bool IsWordEdge(char16_t c) {
  if (c < 0x80) return !std::isalnum(c);
  return c == 0x00B6 || (c >= 0x2018 && c <= 0x201F) || c == 0x00A0;
}

std::u16string Trimmed(std::u16string_view s) {
  while (!s.empty() && IsWordEdge(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsWordEdge(s.back())) s.remove_suffix(1);
  return std::u16string(s);
}

void AddTaggedWords(const std::vector<SwordWord>& words, TaggedVerse* out) {
  bool kept = false;  // the word before was kept: a continuation joins it
  bool sentence_start = true;
  for (const SwordWord& w : words) {
    const std::u16string text = Trimmed(platform::ToU16(w.text_utf8));
    const bool starts = sentence_start;
    sentence_start = w.text_utf8.find_last_of(".?!") != std::string::npos &&
                     w.text_utf8.find_last_of(".?!") + 3 >= w.text_utf8.size();
    if (w.continues_previous) {
      if (kept && !text.empty()) {
        std::u16string& last = out->words.back().text;
        last += (last.empty() ? u"" : u" ") + text;
      }
      continue;
    }
    kept = !w.strongs.empty();
    if (kept) out->words.push_back({text, w.strongs, starts});
  }
}

}  // namespace

std::vector<TaggedVerse> TaggedVersesOf(const SwordVerse& verse) {
  std::string code(CodeFromOsisName(verse.osis_book));
  if (code.empty()) code = CodeFromSblgntName(verse.osis_book);  // the same names
  std::vector<TaggedVerse> out;
  if (code.empty()) return out;
  if (!verse.title_words.empty()) {
    out.push_back({code, verse.chapter, 0, {}});
    AddTaggedWords(verse.title_words, &out.back());
  }
  out.push_back({code, verse.chapter, verse.verse, {}});
  AddTaggedWords(verse.words, &out.back());
  return out;
}

CKjvRenderings::CKjvRenderings(const CStrongsDictionary& strongs) : strongs_(strongs) {}

std::string CKjvRenderings::FamilyOf(const std::string& number) const {
  const auto known = families_.find(number);
  if (known != families_.end()) return known->second;
  std::vector<std::string> chain = {number};
  std::string family = number;
  for (;;) {
    const std::string& last = chain.back();
    std::string base;
    if (const auto t = kFamilyTable.find(last); t != kFamilyTable.end()) {
      base = t->second;
    } else if (const StrongsEntry* e = strongs_.Find(last)) {
      base = BaseOfForm(*e);
    }
    if (base.empty()) {
      family = last;
      break;
    }
    const auto seen = std::find(chain.begin(), chain.end(), base);
    if (seen != chain.end()) {
      // Two entries that call each other forms of one another: the family
      // is the lower number, whichever one we started from.
      family = *std::min_element(seen, chain.end());
      break;
    }
    chain.push_back(std::move(base));
  }
  families_.emplace(number, family);
  return family;
}

void CKjvRenderings::AddVerse(const TaggedVerse& verse) {
  auto& renderings = verses_[{verse.book, verse.chapter, verse.verse}];
  for (const TaggedWord& w : verse.words) {
    if (w.text.empty()) continue;
    for (const std::string& number : w.strongs) {
      std::string family = FamilyOf(number);
      ++counts_[family][w.text];
      renderings.push_back({std::move(family), w.text, w.sentence_start});
    }
  }
  most_frequent_.clear();
}

GlossCoverage CKjvRenderings::Apply(const std::function<VerseKey(const VerseKey&)>& to_kjv,
                                    InterlinearText* text) const {
  if (most_frequent_.empty()) {
    for (const auto& [family, counts] : counts_) {
      const auto best = std::max_element(counts.begin(), counts.end(),
                                         [](auto& a, auto& b) { return a.second < b.second; });
      most_frequent_.emplace(family, best->first);
    }
  }
  GlossCoverage coverage;
  const int glos = text->ValueIndex("Glos"), strong = text->ValueIndex("Strong");
  if (glos < 0 || strong < 0) return coverage;
  auto family_of = [&](const InterlinearWord& w) {
    const std::u16string& numbers = w.values[strong];
    return FamilyOf(platform::ToUtf8(numbers.substr(0, numbers.find(u' '))));
  };
  static const std::vector<Rendering> kNoVerse;
  for (size_t first = 0; first < text->words.size();) {
    const VerseKey key = KeyOf(text->words[first]);
    size_t end = first + 1;
    while (end < text->words.size() && text->words[end].book == text->words[first].book &&
           text->words[end].chapter == text->words[first].chapter &&
           text->words[end].verse == text->words[first].verse)
      ++end;
    const auto found = verses_.find(to_kjv ? to_kjv(key) : key);
    const auto& english = found == verses_.end() ? kNoVerse : found->second;
    std::map<std::string, size_t> seen;      // family -> words of it so far in the verse
    std::map<std::string, size_t> in_verse;  // family -> words of it in the whole verse
    for (size_t i = first; i < end; ++i)
      if (!text->words[i].values[strong].empty()) ++in_verse[family_of(text->words[i])];
    for (size_t i = first; i < end; ++i) {
      InterlinearWord& w = text->words[i];
      if (w.values[strong].empty()) continue;
      const std::string family = family_of(w);
      const size_t k = seen[family]++;
      const Rendering* choice = nullptr;
      size_t matches = 0;
      for (const Rendering& r : english) {
        if (r.family != family) continue;
        choice = &r;
        if (matches++ == k) break;
      }
      // The few tagged articles of a verse stand for themselves, but which
      // words they stand for is known only when the English tags every one
      // of them ("and the earth" renders the second object marker of
      // Genesis 1:1, not the first).
      if (kUsuallyUntagged.count(family)) {
        size_t renderings = 0;
        for (const Rendering& r : english) renderings += r.family == family;
        if (renderings != in_verse[family]) choice = nullptr;
      }
      std::u16string& gloss = w.values[glos];
      if (choice) {
        gloss = choice->text;
        if (choice->sentence_start && !gloss.empty() && gloss[0] >= u'A' && gloss[0] <= u'Z') {
          std::u16string lower = gloss;
          lower[0] = static_cast<char16_t>(lower[0] - u'A' + u'a');
          const auto& counts = counts_.at(family);
          const auto upper_count = counts.find(gloss), lower_count = counts.find(lower);
          if (lower_count != counts.end() &&
              (upper_count == counts.end() || lower_count->second > upper_count->second))
            gloss = std::move(lower);
        }
        ++coverage.same_verse;
      } else if (const auto m = most_frequent_.find(family);
                 m != most_frequent_.end() && !kUsuallyUntagged.count(family)) {
        gloss = m->second;
        ++coverage.most_frequent;
      } else if (!gloss.empty()) {
        gloss += kDictionaryGlossMark;
        ++coverage.dictionary;
      } else {
        ++coverage.none;
      }
    }
    first = end;
  }
  return coverage;
}

std::function<VerseKey(const VerseKey&)> MakeWlcToKjv(const std::vector<VerseMapping>& mappings) {
  // Partial mappings ("1Kgs.18.34!a") count for the whole verse.
  auto parse = [](const std::string& osis, VerseKey* key) {
    const std::vector<std::string_view> p = SplitFields(osis.substr(0, osis.find('!')), '.');
    int c = 0, v = 0;
    if (p.size() != 3 || !ParseNumber(p[1], &c) || !ParseNumber(p[2], &v)) return false;
    const std::string_view code = CodeFromOsisName(p[0]);
    if (code.empty()) return false;
    *key = {std::string(code), c, v};
    return true;
  };
  std::map<VerseKey, VerseKey> map;
  for (const VerseMapping& m : mappings) {
    VerseKey wlc, kjv;
    if (parse(m.wlc, &wlc) && parse(m.kjv, &kjv)) map.emplace(wlc, kjv);
  }
  std::map<std::pair<std::string, int>, int> first_mapped;  // psalm chapter -> first mapped verse
  for (const auto& [wlc, kjv] : map) {
    const auto& [book, chapter, verse] = wlc;
    if (book != "PSA") continue;
    auto [it, added] = first_mapped.emplace(std::pair{book, chapter}, verse);
    if (!added) it->second = std::min(it->second, verse);
  }
  return [map = std::move(map), first_mapped = std::move(first_mapped)](const VerseKey& key) {
    if (const auto it = map.find(key); it != map.end()) return it->second;
    const auto& [book, chapter, verse] = key;
    const auto title = first_mapped.find({book, chapter});
    if (title != first_mapped.end() && verse < title->second) return VerseKey{book, chapter, 0};
    return key;
  };
}

}  // namespace vorn::build
