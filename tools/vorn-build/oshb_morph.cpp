#include "oshb_morph.h"

#include <vector>

namespace vorn::build {
namespace {

// Hebrew stems: OSHB letter, Westminster letter. Nithpalel and nithpoel have
// no Westminster stem; both are read as nithpael, the stem nearest in form.
constexpr std::string_view kHebrewStems[][2] = {
    {"q", "q"}, {"N", "n"}, {"p", "p"}, {"P", "P"}, {"h", "h"}, {"H", "H"}, {"t", "t"},
    {"o", "e"}, {"O", "f"}, {"r", "v"}, {"m", "k"}, {"M", "l"}, {"k", "a"}, {"K", "i"},
    {"Q", "Q"}, {"l", "d"}, {"L", "g"}, {"f", "w"}, {"D", "x"}, {"j", "b"}, {"i", "c"},
    {"u", "u"}, {"c", "m"}, {"v", "s"}, {"w", "x"}, {"y", "x"}, {"z", "y"},
};

// Aramaic stems. Westminster lacks hithaphel, hithpalpel, hephal, tiphel,
// poel, palpel, ithpalpel, ithpolel and ittaphal; each goes to the stem of
// the same pattern family (reflexive t-stems to hithpaal/ithpeel, causatives
// to haphel/aphel, reduplicated stems to polel).
constexpr std::string_view kAramaicStems[][2] = {
    {"q", "N"}, {"Q", "O"}, {"u", "F"}, {"p", "M"}, {"P", "K"}, {"M", "S"}, {"a", "A"},
    {"h", "B"}, {"s", "Q"}, {"e", "R"}, {"H", "D"}, {"i", "L"}, {"t", "H"}, {"v", "I"},
    {"z", "V"}, {"r", "G"}, {"o", "P"}, {"w", "S"}, {"f", "G"}, {"b", "B"}, {"c", "A"},
    {"m", "P"}, {"l", "P"}, {"L", "G"}, {"O", "G"}, {"G", "L"},
};

char MapStem(char stem, bool aramaic) {
  if (aramaic) {
    for (const auto& row : kAramaicStems)
      if (row[0][0] == stem) return row[1][0];
  } else {
    for (const auto& row : kHebrewStems)
      if (row[0][0] == stem) return row[1][0];
  }
  return 0;
}

bool IsIn(char c, std::string_view set) { return c != 0 && set.find(c) != std::string_view::npos; }

// One morpheme's fields, read position by position; `pos` is the next index.
class MorphemeReader {
 public:
  MorphemeReader(std::string_view text, std::string_view whole, std::string* error)
      : text_(text), whole_(whole), error_(error) {}

  bool AtEnd() const { return pos_ >= text_.size(); }

  // Reads one character that must be in `allowed` ('x' always allowed and
  // returned as '-'). An absent optional field gives 0.
  bool Field(std::string_view what, std::string_view allowed, bool optional, char* out) {
    if (AtEnd()) {
      if (optional) {
        *out = 0;
        return true;
      }
      return Fail("missing " + std::string(what));
    }
    const char c = text_[pos_++];
    if (c == 'x') {
      *out = '-';
      return true;
    }
    if (!IsIn(c, allowed)) return Fail("unknown " + std::string(what) + " '" + c + "'");
    *out = c;
    return true;
  }

  bool ExpectEnd() {
    if (AtEnd()) return true;
    return Fail("unexpected '" + std::string(text_.substr(pos_)) + "' after the fields");
  }

  bool Fail(const std::string& what) {
    *error_ = what + " in morphology \"" + std::string(whole_) + "\"";
    return false;
  }

 private:
  std::string_view text_;
  std::string_view whole_;
  std::string* error_;
  size_t pos_ = 1;  // after the part-of-speech letter
};

constexpr std::string_view kGender = "mfbcl";
constexpr std::string_view kNumber = "spd";
constexpr std::string_view kState = "acd";
constexpr std::string_view kPerson = "123";

void AppendIf(std::string& out, char c) {
  if (c != 0) out += c;
}

// Person, gender, number as far as given; a gender the Westminster table
// lacks ('l' location) is left out.
void AppendPgn(std::string& out, char person, char gender, char number) {
  AppendIf(out, person);
  if (gender != 'l') AppendIf(out, gender);
  AppendIf(out, number);
}

enum class Role { kPrefix, kMain, kSuffix };

// Converts one morpheme. Prepositions with the article's vowel become two
// segments ("Pp Pa").
bool ConvertMorpheme(std::string_view m, std::string_view whole, bool aramaic, std::string* out,
                     std::string* error) {
  MorphemeReader r(m, whole, error);
  char type = 0, person = 0, gender = 0, number = 0, state = 0;
  switch (m[0]) {
    case 'A': {  // adjective
      if (!r.Field("adjective type", "acgo", false, &type) ||
          !r.Field("gender", kGender, true, &gender) ||
          !r.Field("number", kNumber, true, &number) || !r.Field("state", kState, true, &state) ||
          !r.ExpectEnd())
        return false;
      // Numerals are their own part of speech in the Westminster scheme and
      // gentilic adjectives are read as gentilic nouns.
      if (type == 'c' || type == 'o') {
        *out = std::string("u") + type;
      } else if (type == 'g') {
        *out = "ng";
      } else {
        *out = "a";
      }
      AppendPgn(*out, 0, gender, number);
      AppendIf(*out, state);
      return true;
    }
    case 'C':
      *out = "Pc";
      return r.ExpectEnd();
    case 'D':
      *out = "Pd";
      return r.ExpectEnd();
    case 'N': {
      if (!r.Field("noun type", "cgp", false, &type)) return false;
      if (!r.Field("gender", kGender, true, &gender) ||
          !r.Field("number", kNumber, true, &number) || !r.Field("state", kState, true, &state) ||
          !r.ExpectEnd())
        return false;
      *out = "n";
      *out += type == '-' ? 'c' : type;
      AppendPgn(*out, 0, gender, number);
      AppendIf(*out, state);
      return true;
    }
    case 'P': {  // pronoun
      if (!r.Field("pronoun type", "dfipr", false, &type) ||
          !r.Field("person", kPerson, true, &person) ||
          !r.Field("gender", kGender, true, &gender) ||
          !r.Field("number", kNumber, true, &number) || !r.ExpectEnd())
        return false;
      switch (type) {
        case 'p':  // personal: the kind position's default names it
          *out = "p";
          break;
        case 'i':  // interrogative
        case 'f':  // indefinite (mah "whatever", peloni "such a one"): nearest is interrogative
          *out = "pii";
          break;
        case 'd':  // demonstrative: Westminster has none; read as an adjective
          *out = "a";
          AppendPgn(*out, 0, gender, number);
          return true;
        case 'r':  // relative pronoun: the relative particle
          *out = "Pr";
          return true;
        default:
          return r.Fail("unknown pronoun type");
      }
      // Without a person the gender or number triggers the kind's default.
      if (type == 'p' && person == '-') person = 0;
      AppendPgn(*out, person, gender, number);
      return true;
    }
    case 'R': {
      if (!r.Field("preposition type", "d", true, &type) || !r.ExpectEnd()) return false;
      *out = type == 'd' ? "Pp Pa" : "Pp";
      return true;
    }
    case 'S': {
      if (!r.Field("suffix type", "dhnp", false, &type)) return false;
      if (type == 'p') {
        if (!r.Field("person", kPerson, true, &person) ||
            !r.Field("gender", kGender, true, &gender) ||
            !r.Field("number", kNumber, true, &number) || !r.ExpectEnd())
          return false;
        // No suffix-kind letter: the person triggers the kind's default
        // ("Pronominal or Object").
        *out = "X";
        AppendPgn(*out, person == '-' ? 0 : person, gender, number);
        if (out->size() == 1) *out += '-';
        return true;
      }
      if (!r.ExpectEnd()) return false;
      *out = std::string("X") + type;
      return true;
    }
    case 'T': {  // particle
      if (!r.Field("particle type", "adeijmnor", true, &type) || !r.ExpectEnd()) return false;
      switch (type) {
        case 'a':
          *out = "Pd";
          break;  // affirmation: an adverb
        case 'd':
          *out = "Pa";
          break;
        case 'e':
          *out = "Pi";
          break;  // exhortation (na): an interjection
        case 'i':
          *out = "Pg";
          break;
        case 'j':
          *out = "Pi";
          break;
        case 'm':
          *out = "Pi";
          break;  // demonstrative (hinneh): an interjection
        case 'n':
          *out = "Pn";
          break;
        case 'o':
          *out = "Po";
          break;
        case 'r':
          *out = "Pr";
          break;
        case 0:
          *out = "Pr";
          break;  // untyped: only Aramaic di, a relative
        default:
          return r.Fail("unknown particle type");
      }
      return true;
    }
    case 'V': {
      char stem = 0, conj = 0;
      if (!r.Field("verb stem",
                   aramaic ? "qQupPMahseHitvwozrfbcmlLOG" : "qNpPhHtoOrmMkKQlLfDjiucvwyz", false,
                   &stem) ||
          !r.Field("verb conjugation", "pqiwhjvrsac", false, &conj))
        return false;
      const char w_stem = MapStem(stem, aramaic);
      if (w_stem == 0) return r.Fail("unknown verb stem");
      *out = "v";
      *out += w_stem;
      const bool participle = conj == 'r' || conj == 's';
      const bool infinitive = conj == 'a' || conj == 'c';
      if (participle) {
        if (!r.Field("gender", kGender, true, &gender) ||
            !r.Field("number", kNumber, true, &number) || !r.Field("state", kState, true, &state) ||
            !r.ExpectEnd())
          return false;
        *out += conj == 'r' ? 'P' : 's';
        // The person position is skipped explicitly so that an unknown
        // gender cannot slide into it.
        if (gender == '-' || gender == 0) *out += '-';
        AppendPgn(*out, 0, gender, number);
        AppendIf(*out, state);
        return true;
      }
      if (infinitive) {
        if (!r.ExpectEnd()) return false;
        *out += conj;
        return true;
      }
      if (!r.Field("person", kPerson, true, &person) ||
          !r.Field("gender", kGender, true, &gender) ||
          !r.Field("number", kNumber, true, &number) || !r.ExpectEnd())
        return false;
      // Sequential perfect: a perfect used as waw consecutive; cohortative
      // and jussive: an imperfect with the form or mood marked. The state
      // position gets '-' so that it gives no "absolute".
      std::string tail;
      switch (conj) {
        case 'p':
          *out += 'p';
          break;
        case 'q':
          *out += 'p';
          tail = "-{2}";
          break;
        case 'i':
          *out += 'i';
          break;
        case 'w':
          *out += 'w';
          break;
        case 'h':
          *out += 'i';
          tail = "-h";
          break;
        case 'j':
          *out += 'i';
          tail = "----J";
          break;
        case 'v':
          *out += 'v';
          break;
        default:
          return r.Fail("unknown verb conjugation");
      }
      if (tail.empty()) {
        AppendPgn(*out, person, gender, number);
      } else {
        // Every position up to the marked one must be present.
        *out += person ? person : '-';
        *out += gender ? gender : '-';
        *out += number ? number : '-';
        *out += tail;
      }
      return true;
    }
    default:
      *error = std::string("unknown part of speech '") + m[0] + "' in morphology \"" +
               std::string(whole) + "\"";
      return false;
  }
}

}  // namespace

bool ConvertOshbMorph(std::string_view oshb, std::string* westminster, std::string* error) {
  if (oshb.empty()) {
    *error = "empty morphology";
    return false;
  }
  const char lang = oshb[0];
  if (lang != 'H' && lang != 'A') {
    *error = std::string("morphology \"") + std::string(oshb) +
             "\" does not start with the language letter H or A";
    return false;
  }
  const bool aramaic = lang == 'A';
  std::vector<std::string_view> morphemes;
  std::string_view rest = oshb.substr(1);
  while (true) {
    const size_t slash = rest.find('/');
    std::string_view m = rest.substr(0, slash);
    if (!m.empty()) morphemes.push_back(m);
    if (slash == std::string_view::npos) break;
    rest.remove_prefix(slash + 1);
  }
  if (morphemes.empty()) {
    *error = std::string("morphology \"") + std::string(oshb) + "\" has no morpheme";
    return false;
  }
  // Suffixes are the trailing 'S' morphemes; the main morpheme stands before
  // them and everything earlier is a prefix.
  size_t main = morphemes.size();
  while (main > 0 && morphemes[main - 1][0] == 'S') --main;
  if (main == 0) {
    // A pronominal suffix standing alone (Aramaic himmon, "them") is an
    // independent pronoun.
    if (morphemes.size() == 1 && morphemes[0].size() > 1 && morphemes[0][1] == 'p') {
      std::string piece;
      if (!ConvertMorpheme(morphemes[0], oshb, aramaic, &piece, error)) return false;
      piece[0] = 'p';
      *westminster = (aramaic ? "%" : "") + piece;
      return true;
    }
    *error = std::string("morphology \"") + std::string(oshb) + "\" has only suffixes";
    return false;
  }
  --main;
  std::string out = aramaic ? "%" : "";
  for (size_t i = 0; i < morphemes.size(); ++i) {
    std::string piece;
    if (!ConvertMorpheme(morphemes[i], oshb, aramaic, &piece, error)) return false;
    if (i < main) {
      out += piece;
      out += ' ';
    } else {
      out += piece;
    }
  }
  *westminster = std::move(out);
  return true;
}

}  // namespace vorn::build
