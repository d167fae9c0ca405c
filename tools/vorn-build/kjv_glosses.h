// Contextual English glosses from an English Bible whose words carry
// Strong's numbers (the King James Version of the SWORD library): a word of
// the Hebrew or Greek text is glossed by the English words of the same verse
// that carry its number; where the verse has none, by the number's most
// frequent English rendering in the whole Bible; the dictionary's first
// sense stays only as the last resort and is marked as such.
//
// The English Bible and the original texts number some Strong's entries
// differently: the English tags inflected forms with entries of their own
// (ἦν as G2258, "imperfect of G1510"), where our texts carry the lexical
// entry. Numbers are therefore compared by their family, the entry that the
// dictionary's derivation names as the form's base.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <tuple>
#include <unordered_map>
#include <vector>

#include "interlinear.h"
#include "sword_module.h"
#include "wlc_reader.h"

namespace vorn::build {

class CStrongsDictionary;

// One English word or phrase of the tagged Bible and the Strong's numbers it
// renders, normalised ("G3056", "H430").
struct TaggedWord {
  std::u16string text;
  std::vector<std::string> strongs;
  // The word begins a sentence, so its capital may be the sentence's.
  bool sentence_start = false;
};

// A verse of the tagged Bible in its own numbering; `book` is a book-table
// code ("GEN").
struct TaggedVerse {
  std::string book;
  int chapter = 0;
  int verse = 0;
  std::vector<TaggedWord> words;
};

// (book code, chapter, verse).
using VerseKey = std::tuple<std::string, int, int>;

// Where each gloss came from; `none` counts words with a Strong's number
// that none of the three sources glosses.
struct GlossCoverage {
  size_t same_verse = 0;
  size_t most_frequent = 0;
  size_t dictionary = 0;
  size_t none = 0;
};

// The mark appended to a gloss taken from the dictionary's first sense.
inline constexpr char16_t kDictionaryGlossMark = u'\u00B0';

// The renderings of the tagged Bible, by verse and by number family.
class CKjvRenderings {
 public:
  // `strongs` supplies the derivations that relate numbers; it must outlive
  // this object.
  explicit CKjvRenderings(const CStrongsDictionary& strongs);

  // Adds a verse; a verse given twice adds its words to the first.
  void AddVerse(const TaggedVerse& verse);
  size_t VerseCount() const { return verses_.size(); }

  // The family of a number: the entry its derivation names as its base when
  // the derivation calls it an inflected form ("imperfect of G1510",
  // "accusative case plural of G1473"), followed to the end, or the number
  // itself.
  std::string FamilyOf(const std::string& number) const;

  // Rewrites the "Glos" line of `text` from the words' first Strong's number
  // (the "Strong" line): `to_kjv` gives the tagged Bible's verse for a
  // word's verse (null: the same reference). Within a verse, the k-th word
  // of a family takes the k-th English rendering of it (the last when the
  // English has fewer, but for the article and the object marker), lower-cased when its capital is
  // only the sentence's (the English writes the word in lower case more often). The most frequent
  // rendering stands in for a verse without one, except for the article and the object marker.
  // Words without a number keep their gloss.
  GlossCoverage Apply(const std::function<VerseKey(const VerseKey&)>& to_kjv,
                      InterlinearText* text) const;

 private:
  const CStrongsDictionary& strongs_;
  mutable std::unordered_map<std::string, std::string> families_;
  struct Rendering {
    std::string family;
    std::u16string text;
    bool sentence_start;
  };
  std::map<VerseKey, std::vector<Rendering>> verses_;
  // Per family: rendering -> count, and the most frequent one.
  std::unordered_map<std::string, std::map<std::u16string, size_t>> counts_;
  mutable std::unordered_map<std::string, std::u16string> most_frequent_;
};

// The tagged words of a verse read from a SWORD module: the words of one
// tagged element joined into one rendering, without the punctuation around
// it; untagged words are left out. A psalm's title becomes verse 0 of its
// chapter.
std::vector<TaggedVerse> TaggedVersesOf(const SwordVerse& verse);

// A map from the Hebrew OT's verses to the English Bible's, from the verse
// map morphhb publishes (VerseMap.xml); verses not listed keep their number,
// except a psalm's title (the verses of a chapter before its first mapped
// one), which maps to the title, verse 0.
std::function<VerseKey(const VerseKey&)> MakeWlcToKjv(const std::vector<VerseMapping>& mappings);

}  // namespace vorn::build
