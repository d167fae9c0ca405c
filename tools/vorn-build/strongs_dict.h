// Strong's Hebrew and Greek dictionaries as published in the "strongs" npm
// package: JavaScript files holding one object literal of entries keyed
// "H1".."H8674" and "G1".."G5624".
#pragma once

#include <string>
#include <string_view>
#include <unordered_map>

namespace vorn::build {

struct StrongsEntry {
  std::u16string lemma;  // the headword, pointed or accented
  std::u16string xlit;   // transliteration as the dictionary gives it
  std::u16string derivation;
  std::u16string definition;  // Strong's own definition ("strongs_def")
  std::u16string kjv;         // the King James renderings ("kjv_def")
};

class CStrongsDictionary {
 public:
  // Reads a dictionary file ("var name = {...};"). Several files may be
  // loaded into one dictionary. False with `error` naming the file and the
  // fault; entries read before stay.
  bool LoadFile(const std::string& path, std::string* error);
  // The same on the file's text; `origin` names it in messages.
  bool LoadText(std::string_view text, std::string_view origin, std::string* error);

  // "H1961", "G3056"; leading zeros of the number are ignored. Null when absent.
  const StrongsEntry* Find(std::string_view number) const;
  // The Greek number whose headword is `lemma` (compared as given, then
  // without accents, breathings and case); "" when none.
  std::string FindGreekLemma(std::u16string_view lemma) const;
  size_t size() const { return entries_.size(); }

 private:
  std::unordered_map<std::string, StrongsEntry> entries_;
  std::unordered_map<std::u16string, std::string> greek_lemmas_;
  std::unordered_map<std::u16string, std::string> greek_bare_lemmas_;
};

// "H1961" from "1961", "01961", "1961 a" or "1961+"; "" when there is no number.
std::string NormalizeStrongs(char language, std::string_view number);

// A short gloss for interlinear display: the first sense of the definition,
// without qualifiers ("properly,", "figuratively,"), parenthetical remarks,
// quotes and leading articles; the renderings stand in when the definition
// gives no sense of its own. Empty when neither yields anything.
std::u16string ShortGloss(const StrongsEntry& entry);
// The same, with a correction for the few frequent entries whose first
// sense describes the word instead of translating it (γάρ "for", כִּי
// "that").
std::u16string ShortGloss(std::string_view number, const StrongsEntry& entry);

// The text of a word's dictionary link: the number first (so that searches
// for "H1961*" find it), then headword, transliteration, definition and the
// King James renderings.
std::u16string StrongsLinkText(std::string_view number, const StrongsEntry& entry);

// Letters without accents, breathings, vowel points or case, for loose
// comparisons of headwords.
std::u16string BareLetters(std::u16string_view text);

}  // namespace vorn::build
