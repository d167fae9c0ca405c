#include "robinson_morph.h"

#include <vector>

namespace vorn::build {
namespace {

bool IsIn(char c, std::string_view set) { return c != 0 && set.find(c) != std::string_view::npos; }

std::vector<std::string_view> SplitDash(std::string_view s) {
  std::vector<std::string_view> parts;
  while (true) {
    const size_t d = s.find('-');
    parts.push_back(s.substr(0, d));
    if (d == std::string_view::npos) break;
    s.remove_prefix(d + 1);
  }
  return parts;
}

class Converter {
 public:
  Converter(std::string_view code, int strongs, std::string* error)
      : code_(code), strongs_(strongs), error_(error), parts_(SplitDash(code)) {}

  bool Run(std::string* out);

 private:
  bool Fail(const std::string& what) {
    *error_ = what + " in Robinson code \"" + std::string(code_) + "\"";
    return false;
  }
  // Case, number, gender ("NSM"); the gender may be missing for first and
  // second person pronouns.
  bool CaseNumberGender(std::string_view cng, bool gender_optional, std::string* out) {
    if (cng.size() < 2 || cng.size() > 3 || !IsIn(cng[0], "NGDAV") || !IsIn(cng[1], "SP") ||
        (cng.size() == 3 && !IsIn(cng[2], "MFN")) || (cng.size() == 2 && !gender_optional))
      return Fail("expected case, number and gender, found \"" + std::string(cng) + "\"");
    *out += cng;
    return true;
  }
  bool Verb(std::string* out);
  bool Nominal(char key, std::string* out);
  bool Pronoun(char kind, bool with_person, std::string* out);
  bool Possessive(std::string* out);
  // Optional trailing markers: "C"/"S" degree, "ATT" Attic form, "K" crasis
  // with καί, "N" negative, "I" interrogative. Returns the letters to keep.
  bool Extras(size_t from, std::string* degree, bool* crasis);

  std::string_view code_;
  int strongs_;
  std::string* error_;
  std::vector<std::string_view> parts_;
};

bool Converter::Extras(size_t from, std::string* degree, bool* crasis) {
  for (size_t i = from; i < parts_.size(); ++i) {
    const std::string_view x = parts_[i];
    if (x == "C" || x == "S") {
      *degree = std::string(x);
    } else if (x == "K") {
      *crasis = true;
    } else if (x == "ATT" || x == "N" || x == "ABB" || x == "I") {
      // Attic spelling, abbreviation, negative and interrogative adjectives
      // have no Logos counterpart; the word keeps its plain parsing.
    } else {
      return Fail("unknown suffix \"" + std::string(x) + "\"");
    }
  }
  return true;
}

bool Converter::Verb(std::string* out) {
  if (parts_.size() < 2) return Fail("verb without tense, voice and mood");
  std::string_view tvm = parts_[1];
  // A leading digit marks a second aorist, perfect or future; Logos does not
  // distinguish the forms.
  if (!tvm.empty() && (tvm[0] == '1' || tvm[0] == '2')) tvm.remove_prefix(1);
  if (tvm.size() != 3 || !IsIn(tvm[0], "PIFARL") || !IsIn(tvm[1], "AMPEDON") ||
      !IsIn(tvm[2], "ISOMNP"))
    return Fail("expected tense, voice and mood, found \"" + std::string(parts_[1]) + "\"");
  *out = "V";
  *out += tvm[0];
  switch (tvm[1]) {
    case 'A':
    case 'M':
    case 'P':
      *out += tvm[1];
      break;
    case 'E':
      *out += 'U';
      break;  // middle or passive: either
    case 'D':
      *out += 'M';
      break;  // middle deponent
    case 'O':
      *out += 'P';
      break;  // passive deponent
    case 'N':
      *out += 'U';
      break;  // middle or passive deponent
  }
  *out += tvm[2];
  size_t next = 2;
  if (tvm[2] == 'P') {
    // Participles: Logos orders number, case, gender after the (empty)
    // person position.
    if (parts_.size() < 3) return Fail("participle without case, number and gender");
    const std::string_view cng = parts_[2];
    std::string tmp;
    if (!CaseNumberGender(cng, false, &tmp)) return false;
    *out += tmp[1];
    *out += tmp[0];
    *out += tmp[2];
    next = 3;
  } else if (tvm[2] != 'N') {
    if (parts_.size() < 3) return Fail("finite verb without person and number");
    const std::string_view pn = parts_[2];
    if (pn.size() != 2 || !IsIn(pn[0], "123") || !IsIn(pn[1], "SP"))
      return Fail("expected person and number, found \"" + std::string(pn) + "\"");
    *out += pn;
    next = 3;
  }
  std::string degree;
  bool crasis = false;
  return Extras(next, &degree, &crasis);
}

bool Converter::Nominal(char key, std::string* out) {
  if (parts_.size() < 2) return Fail("missing case, number and gender");
  // Indeclinables: proper names, numerals, letters, other.
  static constexpr std::string_view kIndeclinable[][2] = {
      {"PRI", "XP"}, {"NUI", "XN"}, {"LI", "XL"}, {"OI", "XO"}};
  for (const auto& row : kIndeclinable) {
    if (parts_[1] != row[0]) continue;
    if (parts_.size() > 2) return Fail("unexpected suffix");
    *out = std::string(row[1]);
    return true;
  }
  *out = key;
  if (!CaseNumberGender(parts_[1], false, out)) return false;
  std::string degree;
  bool crasis = false;
  if (!Extras(2, &degree, &crasis)) return false;
  *out += degree;
  if (crasis) *out = "C," + *out;
  return true;
}

bool Converter::Pronoun(char kind, bool with_person, std::string* out) {
  if (parts_.size() < 2) return Fail("pronoun without case, number and gender");
  std::string_view rest = parts_[1];
  *out = "R";
  *out += kind;
  if (with_person) {
    if (rest.empty() || !IsIn(rest[0], "123")) {
      // Robinson writes the third person of αὐτός without a digit.
      if (kind != 'P') return Fail("pronoun without person");
      *out += '3';
    } else {
      *out += rest[0];
      rest.remove_prefix(1);
    }
  }
  // Without a person, the case letter passes the person position silently.
  if (!CaseNumberGender(rest, with_person, out)) return false;
  std::string degree;
  bool crasis = false;
  if (!Extras(2, &degree, &crasis)) return false;
  if (crasis) *out = "C," + *out;
  return true;
}

bool Converter::Possessive(std::string* out) {
  // S-1SNSF: person, the possessor's number, then the case, number and
  // gender of the word itself. Logos keeps only the person.
  if (parts_.size() < 2 || parts_[1].size() < 4 || !IsIn(parts_[1][0], "123") ||
      !IsIn(parts_[1][1], "SP"))
    return Fail("expected person, possessor number, case, number and gender");
  *out = "RS";
  *out += parts_[1][0];
  if (!CaseNumberGender(parts_[1].substr(2), false, out)) return false;
  std::string degree;
  bool crasis = false;
  return Extras(2, &degree, &crasis);
}

bool Converter::Run(std::string* out) {
  const std::string_view head = parts_[0];
  if (head == "V") return Verb(out);
  if (head == "N") return Nominal('N', out);
  if (head == "A") return Nominal('J', out);
  if (head == "T") return Nominal('D', out);
  if (head == "P") return Pronoun('P', true, out);
  if (head == "F") return Pronoun('F', true, out);
  if (head == "D") return Pronoun('D', false, out);
  if (head == "R") return Pronoun('R', false, out);
  if (head == "C") return Pronoun('C', false, out);
  if (head == "I") return Pronoun('I', false, out);
  if (head == "X") return Pronoun('X', false, out);
  if (head == "Q") return Pronoun('I', false, out);  // correlative or interrogative: ποῖος, πόσος
  if (head == "K") {
    // Correlatives: the relative ones (ὅσος 3745, οἷος 3634, ὁποῖος 3697,
    // ἡλίκος 2245) as relatives, τοιοῦτος and its kin as demonstratives.
    const bool relative =
        strongs_ == 3745 || strongs_ == 3634 || strongs_ == 3697 || strongs_ == 2245;
    return Pronoun(relative ? 'R' : 'D', false, out);
  }
  if (head == "S") return Possessive(out);
  if (parts_.size() > 2) return Fail("unexpected suffix");
  const std::string_view sub = parts_.size() > 1 ? parts_[1] : std::string_view();
  if (head == "PREP" && sub.empty()) {
    *out = "P";
    return true;
  }
  if (head == "CONJ") {
    if (sub.empty()) {
      *out = "C";
      return true;
    }
    if (sub == "N") {
      *out = "C,TN";
      return true;
    }  // οὐδέ, μηδέ, οὔτε: and not
  }
  if (head == "COND") {
    if (sub.empty()) {
      *out = "CAC";
      return true;
    }
    if (sub == "K") {
      *out = "C,CAC";
      return true;
    }  // κἄν
  }
  if (head == "ADV") {
    if (sub.empty() || sub == "C") {
      *out = "B";
      return true;
    }  // no comparative adverb kind
    if (sub == "I" || sub == "N" || sub == "S" || sub == "K") {
      *out = "B";
      *out += sub;
      return true;
    }
  }
  if (head == "PRT") {
    if (sub.empty()) {
      *out = "T";
      return true;
    }
    if (sub == "N" || sub == "I") {
      *out = "T";
      *out += sub;
      return true;
    }
  }
  if (head == "INJ" && sub.empty()) {
    *out = "I";
    return true;
  }
  if ((head == "HEB" || head == "ARAM") && sub.empty()) {
    *out = "XF";
    return true;
  }
  return Fail("unknown part of speech");
}

}  // namespace

bool ConvertRobinson(std::string_view robinson, int strongs, std::string* logos,
                     std::string* error) {
  if (robinson.empty()) {
    *error = "empty Robinson code";
    return false;
  }
  std::string out;
  if (!Converter(robinson, strongs, error).Run(&out)) return false;
  *logos = std::move(out);
  return true;
}

}  // namespace vorn::build
