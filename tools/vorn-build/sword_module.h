// A Bible text module of a SWORD library (the KJV of Debian's sword-text-kjv,
// for instance) read through libsword, verse by verse: the words with their
// punctuation, the Strong's numbers and morphology the module tags them with,
// the headings and paragraph marks. The module's OSIS markup is read by a
// tolerant scanner of its own, because a verse entry is a fragment whose
// elements may open in one verse and close in another.
//
// When the program is built without libsword every reading operation fails
// with a message that says so (SwordSupported() tells beforehand).
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace vorn::build {

struct SwordWord {
  std::string text_utf8;             // the word with the punctuation around it: "Word,"
  std::vector<std::string> strongs;  // "G746", "H430": without leading zeros or suffixes
  std::string morph;                 // the module's morphology code, scheme prefix removed
  // True when the word belongs to the same tagged element as the word before
  // it ("the poor" rendering one Greek word), so a rendering can be rebuilt.
  bool continues_previous = false;
  bool red_letter = false;  // spoken by Jesus (the module's <q who="Jesus">)
  bool added = false;       // supplied by the translators (italics in print)
};

struct SwordVerse {
  std::string osis_book;  // "Gen", "John"
  int chapter = 0;
  int verse = 0;
  std::vector<SwordWord> words;
  // The titles before the verse's text, as plain text: section headings and
  // canonical titles (a psalm's title) alike.
  std::vector<std::string> headings;
  // The words of a canonical title before the verse (a psalm's "A Psalm of
  // David ..."), tagged like the verse's words; the versifications of the
  // Hebrew Bible count such a title as a verse of its own.
  std::vector<SwordWord> title_words;
  bool paragraph_start = false;  // a paragraph begins with this verse
};

// What a module's configuration says about it.
struct SwordModuleInfo {
  std::string name;             // the module's own name: "engKJV2006eb"
  std::string abbreviation;     // "KJV"; the name when the module gives none
  std::string description;      // "King James Version"
  std::string versification;    // "KJV" when the module names none
  std::string language;         // "en"
  bool has_strongs = false;     // the module declares Strong's numbers
  bool has_morphology = false;  // the module declares morphology
  std::string version;          // the module's own version ("14.3"); "" when it gives none
  std::string data_path;        // the folder of the module's data files
};

// False when the program was built without libsword.
bool SwordSupported();

// Finds `module_name` (its name or its abbreviation, case ignored) in the
// SWORD library at `library_folder` (a folder with mods.d/ and modules/), or
// in the libraries SWORD finds itself (SWORD_PATH, ~/.sword, /etc/sword.conf)
// when the folder is empty. On failure (no such module, not a Bible text,
// no libsword) returns false with the reason in `error`.
[[nodiscard]] bool DescribeSwordModule(const std::string& module_name, SwordModuleInfo* info,
                                       std::string* error, const std::string& library_folder = {});

// Calls `each_verse` for every verse of the module that has text, in the
// order of its versification; book and chapter introductions are skipped.
// The verse passed is valid during the call only. On failure, before the
// first verse, returns false with the reason in `error`.
[[nodiscard]] bool ReadSwordModule(const std::string& module_name,
                                   const std::function<void(const SwordVerse&)>& each_verse,
                                   std::string* error, const std::string& library_folder = {});

// A verse of a versification, as SWORD names its books ("Mal", 3, 19).
struct SwordVerseRef {
  std::string osis_book;
  int chapter = 0;
  int verse = 0;
};

// Every verse of the versification `versification` ("Leningrad", "NRSV")
// that libsword's own mapping puts at another place in the KJV's, in the
// order of the versification, with the KJV verse it maps to (the first of
// several). Empty for the KJV itself, and for the versifications libsword
// carries no mapping for (it has them for the NRSV, Synodal and Vulgate). False with `error` for a
// versification libsword does not know, or without libsword.
[[nodiscard]] bool SwordMappingToKjv(const std::string& versification,
                                     std::vector<std::pair<SwordVerseRef, SwordVerseRef>>* mapping,
                                     std::string* error);

// The same for one entry's OSIS markup, as the module stores it: reads the
// verse's words, headings and paragraph marks into `verse` (whose reference
// the caller fills). `state` carries what an element opened in an earlier
// verse still means (red letters, a paragraph that ended with the verse
// before); pass the same object for the verses of one module in order.
struct SwordMarkupState {
  int red_letter_depth = 0;
  bool paragraph_pending = false;
};
void ParseSwordEntry(const std::string& osis_markup, SwordMarkupState* state, SwordVerse* verse);

}  // namespace vorn::build
