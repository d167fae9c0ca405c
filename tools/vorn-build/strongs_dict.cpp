#include "strongs_dict.h"

#include <unicode/normalizer2.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>

#include <nlohmann/json.hpp>
#include <vector>

#include "platform/file_system.h"
#include "platform/u16.h"
#include "source_text.h"

namespace vorn::build {
namespace {

bool IsSpace(char16_t c) { return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r'; }

std::u16string Trim(std::u16string_view s) {
  size_t b = 0, e = s.size();
  while (b < e && IsSpace(s[b])) ++b;
  while (e > b && IsSpace(s[e - 1])) --e;
  return std::u16string(s.substr(b, e - b));
}

bool StartsWith(std::u16string_view s, std::u16string_view prefix) {
  return s.size() >= prefix.size() && s.substr(0, prefix.size()) == prefix;
}

std::u16string CollapseSpaces(std::u16string_view s) {
  std::u16string out;
  for (char16_t c : s) {
    if (IsSpace(c)) {
      if (!out.empty() && out.back() != u' ') out += u' ';
    } else {
      out += c;
    }
  }
  return Trim(out);
}

// Removes parenthetical remarks, brackets of either kind and their contents
// ("(-ness)", "[idiom]"), plus braces and quotation marks (keeping what they
// enclose). An unbalanced ')' is dropped.
std::u16string RemoveRemarks(std::u16string_view s) {
  std::u16string out;
  int depth = 0;
  for (char16_t c : s) {
    if (c == u'(' || c == u'[') {
      ++depth;
    } else if (c == u')' || c == u']') {
      if (depth > 0) --depth;
    } else if (depth == 0 && c != u'{' && c != u'}' && c != u'"' && c != u'\u201C' &&
               c != u'\u201D') {
      out += c;
    }
  }
  return CollapseSpaces(out);
}

std::vector<std::u16string> SplitSenses(std::u16string_view s) {
  std::vector<std::u16string> items;
  std::u16string current;
  for (size_t i = 0; i < s.size(); ++i) {
    const char16_t c = s[i];
    const bool ie = c == u' ' && s.substr(i, 6) == u" i.e. ";
    if (c == u',' || c == u';' || c == u':' || ie) {
      items.push_back(Trim(current));
      current.clear();
      if (ie) i += 5;
    } else {
      current += c;
    }
  }
  items.push_back(Trim(current));
  return items;
}

// Words that introduce a sense rather than give it.
constexpr std::u16string_view kQualifiers[] = {
    u"properly",   u"literally",      u"figuratively", u"specifically", u"specially",
    u"especially", u"by implication", u"by extension", u"by analogy",   u"by Hebraism",
    u"apparently", u"also",           u"hence",        u"often",        u"usually",
    u"generally",  u"chiefly",        u"concretely",   u"abstractly",   u"collectively",
    u"primarily",  u"originally",     u"as noun",      u"adverbially",  u"perhaps",
    u"passively",  u"reflexively",    u"causatively",  u"intensively",  u"very widely",
};

// Grammatical descriptions ("the reflexive pronoun self", "a primary
// preposition denoting origin") are not glosses; what follows the
// grammatical word is, unless it only continues the description.
constexpr std::u16string_view kGrammarWords[] = {
    u"preposition", u"particle", u"pronoun", u"conjunction",  u"article",
    u"adverb",      u"prefix",   u"suffix",  u"interjection",
};
constexpr std::u16string_view kDescriptionWords[] = {
    u"denoting", u"indicating", u"of ",  u"used", u"expressing",
    u"implying", u"marking",    u"with", u"in ",  u"properly",
    u"prefixed", u"affixed",    u"and",  u"or ",  u"having",
};
// Senses that only refer to another entry.
constexpr std::u16string_view kReferences[] = {
    u"corresponding to",
    u"equivalent to",
    u"the same as",
    u"a form of",
    u"from ",
    u"compare",
    u"see ",
    u"another form",
    u"a variation",
    u"used",
    u"for ",
    u"contracted",
    u"(",
    u"G",
    u"H",
};

std::u16string StripQualifiers(std::u16string s) {
  bool again = true;
  while (again) {
    again = false;
    for (std::u16string_view q : kQualifiers) {
      if (StartsWith(s, q) && (s.size() == q.size() || s[q.size()] == u' ')) {
        s = Trim(std::u16string_view(s).substr(q.size()));
        again = true;
      }
    }
  }
  return s;
}

bool IsWordBoundary(std::u16string_view s, size_t at) {
  return at >= s.size() || !((s[at] >= u'a' && s[at] <= u'z') || (s[at] >= u'A' && s[at] <= u'Z'));
}

size_t FindWord(std::u16string_view s, std::u16string_view word) {
  for (size_t at = s.find(word); at != std::u16string_view::npos; at = s.find(word, at + 1)) {
    if ((at == 0 || IsWordBoundary(s, at - 1)) && IsWordBoundary(s, at + word.size())) return at;
  }
  return std::u16string_view::npos;
}

// Grammatical labels that stand as a sense of their own ("demonstrative,
// that; causative, because").
constexpr std::u16string_view kLabels[] = {
    u"demonstrative",      u"causative",   u"interrogative",     u"relative",
    u"intensive",          u"comparative", u"superlative",       u"negative",
    u"conjunctive",        u"reflexive",   u"distributive",      u"collective",
    u"adverbial",          u"emphatic",    u"redundant",         u"literal or figurative",
    u"direct or remote",   u"disjunctive", u"intensive form of", u"active participle",
    u"passive participle",
};

// Phrases after which a long sense only qualifies the gloss.
constexpr std::u16string_view kCuts[] = {
    u" in the ",   u" in a ",        u" in ",         u" of the ",      u" by ",
    u" as ",       u" with ",        u" especially ", u" transitively", u" intransitively",
    u" literally", u" figuratively",
};

// The gloss of one comma-separated item, or "" when it is no gloss.
std::u16string GlossOfItem(std::u16string item) {
  item = StripQualifiers(Trim(item));
  for (std::u16string_view r : kReferences) {
    if (StartsWith(item, r)) return {};
  }
  for (std::u16string_view l : kLabels) {
    if (item == l) return {};
    // "interrogative what?": the label goes, the gloss stays.
    if (StartsWith(item, l) && item.size() > l.size() && item[l.size()] == u' ')
      item = Trim(std::u16string_view(item).substr(l.size()));
  }
  // A sense that refers to another entry ("active participle of H3547").
  for (size_t at = item.find_first_of(u"GH"); at != std::u16string::npos;
       at = item.find_first_of(u"GH", at + 1)) {
    if (at + 1 < item.size() && item[at + 1] >= u'0' && item[at + 1] <= u'9') return {};
  }
  // "him- self": a word broken around a removed remark.
  for (size_t at = item.find(u"- "); at != std::u16string::npos; at = item.find(u"- "))
    item.erase(at + 1, 1);
  // "assigning a reason", "denoting origin": descriptions of a function.
  for (std::u16string_view d :
       {u"assigning ", u"denoting ", u"meaning ", u"indicating ", u"expressing ", u"implying ",
        u"marking ", u"signifying ", u"referring ", u"being "}) {
    if (StartsWith(item, d)) return {};
  }
  for (std::u16string_view g : kGrammarWords) {
    const size_t at = FindWord(item, g);
    if (at == std::u16string::npos) continue;
    std::u16string rest = Trim(std::u16string_view(item).substr(at + g.size()));
    for (std::u16string_view d : kDescriptionWords) {
      if (StartsWith(rest, d)) return {};
    }
    item = rest;
    break;
  }
  // Leading articles go, unless nothing else is left ("the" is the gloss of
  // the article itself).
  for (std::u16string_view a : {u"a ", u"an ", u"the "}) {
    if (StartsWith(item, a) && item.size() > a.size()) {
      item = item.substr(a.size());
      break;
    }
  }
  while (!item.empty() && (item.back() == u'.' || item.back() == u'-' || item.back() == u'\''))
    item.pop_back();
  if (!item.empty() && (item.front() == u'-' || item.front() == u'\'')) item.erase(0, 1);
  item = Trim(item);
  // A longer sense keeps what stands before its first qualifying phrase
  // ("gods in the ordinary sense", "to turn back transitively or ...");
  // what is still long is a description, not a gloss.
  int words = 1;
  for (char16_t c : item) words += c == u' ';
  if (words > 2) {
    for (std::u16string_view cut : kCuts) {
      const size_t at = item.find(cut);
      if (at != std::u16string::npos && at > 0 && !(cut == u" in " && at + 4 >= item.size()) &&
          !(StartsWith(item, u"to ") && item.find(u' ', 3) == at)) {
        item = item.substr(0, at);
        break;
      }
    }
    words = 1;
    for (char16_t c : item) words += c == u' ';
  }
  if (words > 5 || item == u"a" || item == u"an") return {};
  return item;
}

std::u16string FirstGloss(std::u16string_view text) {
  const std::u16string clean = RemoveRemarks(text);
  const std::vector<std::u16string> items = SplitSenses(clean);
  // "properly, to stare at, i.e. to discern clearly": the word's root sense
  // comes first, its use after "i.e." or "hence".
  if (StartsWith(Trim(text), u"properly")) {
    const size_t ie = clean.find(u" i.e. ");
    const size_t hence = FindWord(clean, u"hence");
    const size_t at = std::min(ie, hence);
    if (at != std::u16string::npos) {
      for (const std::u16string& item :
           SplitSenses(std::u16string_view(clean).substr(at + (at == ie ? 6 : 5)))) {
        std::u16string g = GlossOfItem(item);
        if (!g.empty()) return g;
      }
    }
  }
  for (const std::u16string& item : items) {
    std::u16string g = GlossOfItem(item);
    if (!g.empty()) return g;
  }
  return {};
}

// In the Greek dictionary the definition proper sometimes begins inside the
// derivation ("of uncertain affinity; a deity, ..."), the definition field
// then continuing with a later sense ("figuratively, a magistrate") or a
// fragment ("literal or figurative; direct or remote)").
constexpr std::u16string_view kDerivationWords[] = {
    u"of ",
    u"from",
    u"akin",
    u"probably",
    u"apparently",
    u"perhaps",
    u"neuter",
    u"feminine",
    u"masculine",
    u"compare",
    u"a prolonged",
    u"middle voice",
    u"prolonged",
    u"a form",
    u"the same",
    u"contracted",
    u"reduplicated",
    u"a derivative",
    u"an orthographical",
    u"imperative",
    u"comparative",
    u"superlative",
    u"accusative",
    u"genitive",
    u"dative",
    u"plural",
    u"the first person",
    u"a primitive",
    u"an primary",
    u"a root",
    u"the base",
    u"as if",
    u"i.e",
    u"a variation",
    u"another form",
    u"used",
    u"or ",
    u"and ",
    u"by ",
};

bool LooksLikeContinuation(std::u16string_view def) {
  for (std::u16string_view w :
       {u"figuratively", u"by ", u"specially", u"especially", u"and (", u"and G", u"used ",
        u"equivalent to", u"corresponding to", u"or ", u")", u"(", u"also", u"hence", u"literal"}) {
    if (StartsWith(def, w)) return true;
  }
  int depth = 0;
  for (char16_t c : def) {
    if (c == u'(') ++depth;
    if (c == u')' && --depth < 0) return true;
  }
  return def.empty();
}

bool IsDerivational(std::u16string_view piece) {
  for (std::u16string_view w : kDerivationWords) {
    if (StartsWith(piece, w)) return true;
  }
  // "a primary verb", "a primary particle": no sense in it.
  return (FindWord(piece, u"primary") != std::u16string_view::npos ||
          FindWord(piece, u"primitive") != std::u16string_view::npos) &&
         piece.find(u',') == std::u16string_view::npos;
}

std::u16string SenseInDerivation(std::u16string_view derivation) {
  std::u16string_view rest = derivation;
  while (!rest.empty()) {
    const size_t semi = rest.find(u';');
    const std::u16string piece = Trim(rest.substr(0, semi));
    rest = semi == std::u16string_view::npos ? std::u16string_view() : rest.substr(semi + 1);
    if (piece.empty() || IsDerivational(piece)) continue;
    std::u16string g = FirstGloss(piece);
    if (!g.empty()) return g;
  }
  return {};
}

// The first King James rendering: the renderings are alphabetical, so this
// is the last resort.
std::u16string FirstRendering(std::u16string_view kjv) {
  std::u16string s(kjv);
  if (StartsWith(Trim(s), u"--")) s = Trim(s).substr(2);
  for (const std::u16string& item : SplitSenses(RemoveRemarks(s))) {
    std::u16string t = Trim(item);
    while (!t.empty() && (t.front() == u'X' || t.front() == u'+') && (t.size() < 2 || t[1] == u' '))
      t = Trim(std::u16string_view(t).substr(1));
    while (!t.empty() && t.back() == u'.') t.pop_back();
    if (!t.empty() && t != u"a" && t != u"an") return t;
  }
  return {};
}

const icu::Normalizer2* Nfd() {
  UErrorCode status = U_ZERO_ERROR;
  const icu::Normalizer2* n = icu::Normalizer2::getNFDInstance(status);
  return U_SUCCESS(status) ? n : nullptr;
}

std::string JsonString(const nlohmann::json& object, const char* key) {
  const auto it = object.find(key);
  if (it == object.end() || !it->is_string()) return {};
  return it->get<std::string>();
}

// Entries whose first sense describes the word's function or etymology
// rather than translating it ("assigning a reason" for γάρ, "man-faced" for
// ἄνθρωπος) and that occur too often to show such a text.
struct GlossCorrection {
  std::string_view number;
  std::u16string_view gloss;
};
constexpr GlossCorrection kCorrections[] = {
    {"G1063", u"for"},      {"G235", u"but"},
    {"G444", u"man"},       {"G2962", u"lord"},
    {"G5613", u"as"},       {"G3767", u"therefore"},
    {"G3778", u"this"},     {"G846", u"he"},
    {"G3004", u"to say"},   {"G1510", u"to be"},
    {"H3588", u"that"},     {"H518", u"if"},
    {"H1696", u"to speak"}, {"H853", u"(object marker)"},
    {"H430", u"God"},       {"H4480", u"from"},
    {"H1961", u"to be"},
};

}  // namespace

std::string NormalizeStrongs(char language, std::string_view number) {
  size_t i = 0;
  while (i < number.size() && (number[i] < '0' || number[i] > '9')) ++i;
  while (i < number.size() && number[i] == '0') ++i;
  std::string digits;
  while (i < number.size() && number[i] >= '0' && number[i] <= '9') digits += number[i++];
  if (digits.empty()) return {};
  return std::string(1, language) + digits;
}

std::u16string BareLetters(std::u16string_view text) {
  const icu::Normalizer2* nfd = Nfd();
  icu::UnicodeString s(false, text.data(), static_cast<int32_t>(text.size()));
  UErrorCode status = U_ZERO_ERROR;
  icu::UnicodeString d = nfd ? nfd->normalize(s, status) : s;
  if (U_FAILURE(status)) d = s;
  std::u16string out;
  for (int32_t i = 0; i < d.length(); ++i) {
    const char16_t c = d.charAt(i);
    if (u_charType(c) == U_NON_SPACING_MARK) continue;
    if (c == u'\u2019' || c == u'\u02BC' || c == u'\'') continue;
    char16_t lower = static_cast<char16_t>(u_tolower(c));
    if (lower == u'\u03C2') lower = u'\u03C3';  // final sigma
    out += lower;
  }
  return out;
}

bool CStrongsDictionary::LoadFile(const std::string& path, std::string* error) {
  std::string bytes;
  if (!ReadCorpusFile(path, &bytes, error)) return false;
  return LoadText(bytes, path, error);
}

bool CStrongsDictionary::LoadText(std::string_view text, std::string_view origin,
                                  std::string* error) {
  // The object literal follows "var <name> =" and ends at the last '}'.
  const size_t var = text.find("var ");
  const size_t open = var == std::string_view::npos ? var : text.find('{', var);
  const size_t close = text.rfind('}');
  if (open == std::string_view::npos || close == std::string_view::npos || close < open) {
    *error = std::string(origin) + ": expected \"var <name> = {...}\"";
    return false;
  }
  nlohmann::json doc = nlohmann::json::parse(text.substr(open, close - open + 1), nullptr, false);
  if (doc.is_discarded() || !doc.is_object()) {
    *error = std::string(origin) + ": the dictionary object is not valid JSON";
    return false;
  }
  for (auto it = doc.begin(); it != doc.end(); ++it) {
    const std::string& key = it.key();
    if (key.size() < 2 || (key[0] != 'H' && key[0] != 'G') || !it->is_object()) {
      *error = std::string(origin) + ": entry \"" + key + "\" is not a Strong's entry";
      return false;
    }
    const std::string number = NormalizeStrongs(key[0], key);
    if (number.empty()) {
      *error = std::string(origin) + ": entry \"" + key + "\" has no number";
      return false;
    }
    StrongsEntry e;
    e.lemma = platform::ToU16(JsonString(*it, "lemma"));
    e.xlit = platform::ToU16(JsonString(*it, "xlit"));
    e.derivation = Trim(platform::ToU16(JsonString(*it, "derivation")));
    e.definition = Trim(platform::ToU16(JsonString(*it, "strongs_def")));
    e.kjv = Trim(platform::ToU16(JsonString(*it, "kjv_def")));
    if (number[0] == 'G' && !e.lemma.empty()) {
      greek_lemmas_.emplace(e.lemma, number);
      greek_bare_lemmas_.emplace(BareLetters(e.lemma), number);
    }
    entries_[number] = std::move(e);
  }
  return true;
}

const StrongsEntry* CStrongsDictionary::Find(std::string_view number) const {
  if (number.empty()) return nullptr;
  const auto it = entries_.find(NormalizeStrongs(number[0], number));
  return it == entries_.end() ? nullptr : &it->second;
}

std::string CStrongsDictionary::FindGreekLemma(std::u16string_view lemma) const {
  if (const auto it = greek_lemmas_.find(std::u16string(lemma)); it != greek_lemmas_.end())
    return it->second;
  // Lexicons of the New Testament list some words under another headword
  // than Strong's: optional final letters ("οὕτω(ς)"), deponent verbs under
  // their middle form ("φοβέομαι" for φοβέω, "ἀφίσταμαι" for ἀφίστημι).
  std::vector<std::u16string> candidates;
  const std::u16string bare = BareLetters(lemma);
  candidates.push_back(bare);
  const size_t open = bare.find(u'(');
  const size_t close = bare.find(u')', open == std::u16string::npos ? 0 : open);
  if (open != std::u16string::npos && close != std::u16string::npos) {
    const std::u16string inner = bare.substr(open + 1, close - open - 1);
    candidates.push_back(bare.substr(0, open) + inner + bare.substr(close + 1));
    candidates.push_back(bare.substr(0, open) + bare.substr(close + 1));
  }
  static constexpr std::u16string_view kMiddleEndings[][2] = {
      {u"ομαι", u"ω"}, {u"αμαι", u"ημι"}, {u"εμαι", u"ημι"}, {u"υμαι", u"υμι"}, {u"ομαι", u"ομι"}};
  for (const auto& [middle, active] : kMiddleEndings) {
    if (bare.size() > middle.size() &&
        bare.compare(bare.size() - middle.size(), middle.size(), middle) == 0)
      candidates.push_back(bare.substr(0, bare.size() - middle.size()) + std::u16string(active));
  }
  // Strong's files οἶδα under the unused present εἴδω.
  if (bare == u"\u03BF\u03B9\u03B4\u03B1") candidates.push_back(u"\u03B5\u03B9\u03B4\u03C9");
  for (const std::u16string& c : candidates) {
    if (const auto it = greek_bare_lemmas_.find(c); it != greek_bare_lemmas_.end())
      return it->second;
  }
  return {};
}

std::u16string ShortGloss(std::string_view number, const StrongsEntry& entry) {
  for (const GlossCorrection& c : kCorrections) {
    if (c.number == number) return std::u16string(c.gloss);
  }
  return ShortGloss(entry);
}

std::u16string ShortGloss(const StrongsEntry& entry) {
  const std::u16string def = Trim(entry.definition);
  std::u16string gloss;
  if (LooksLikeContinuation(def)) gloss = SenseInDerivation(entry.derivation);
  if (gloss.empty()) gloss = FirstGloss(def);
  if (gloss.empty()) gloss = FirstRendering(entry.kjv);
  return gloss;
}

std::u16string StrongsLinkText(std::string_view number, const StrongsEntry& entry) {
  std::u16string text = platform::ToU16(number);
  if (!entry.lemma.empty()) text += u" " + entry.lemma;
  if (!entry.xlit.empty()) text += u" (" + entry.xlit + u")";
  // The derivation first: in the Greek dictionary it often holds the first
  // sense of the definition.
  std::u16string body = CollapseSpaces(entry.derivation);
  const std::u16string def = CollapseSpaces(entry.definition);
  if (!def.empty()) body += (body.empty() ? u"" : u" ") + def;
  if (!body.empty()) text += u": " + body;
  std::u16string kjv = CollapseSpaces(entry.kjv);
  if (StartsWith(kjv, u"--")) kjv = Trim(std::u16string_view(kjv).substr(2));
  if (!kjv.empty()) {
    if (text.back() != u'.') text += u'.';
    text += u" KJV: " + kjv;
  }
  return text;
}

}  // namespace vorn::build
