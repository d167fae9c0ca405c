// The three corpus importers: each reads its sources and produces the
// interlinear text of one database.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "interlinear.h"

namespace vorn::build {

class CStrongsDictionary;

// Where the sources are. `npm` is the node_modules folder holding morphhb,
// strongs and sblgnt; `corpora` the folder with morphgnt-sblgnt and
// byzantine-rp2018, empty when there is none.
struct SourcePaths {
  std::string npm;
  std::string corpora;
};

// Receives one line of progress ("GEN  1/39  20613 words").
using ProgressFn = std::function<void(const std::string&)>;

// What an import found, for the build report.
struct ImportStats {
  size_t words = 0;
  size_t books = 0;
  size_t with_lemma = 0;
  size_t with_gloss = 0;
  size_t with_strongs = 0;
  // Cross-checks against a second source ("word lists agree": 305000 of
  // 305507), in the order made.
  std::vector<std::pair<std::string, std::string>> checks;
};

// Hebrew OT from morphhb (wlc/*.xml, wlc/VerseMap.xml) with glosses, lemmas
// and dictionary links from the Strong's Hebrew dictionary. The word lists
// without cantillation and of consonants only are compared with the
// variants made from the text itself (and reported in `stats`).
bool ImportHebrew(const SourcePaths& paths, const CStrongsDictionary& strongs,
                  const ProgressFn& progress, InterlinearText* text, ImportStats* stats,
                  std::string* error);

// Greek NT. With MorphGNT in `paths.corpora`: its words, tags, lemmas and
// punctuation, with the SBLGNT paragraphs; glosses, Strong's numbers and
// links through the lemma's Strong's entry. Without it: the SBLGNT text of
// the npm package alone (text, transliteration, paragraphs, sentences).
bool ImportGreekNt(const SourcePaths& paths, const CStrongsDictionary& strongs,
                   const ProgressFn& progress, InterlinearText* text, ImportStats* stats,
                   std::string* error);

// Byzantine NT (Robinson–Pierpont 2018) from `paths.corpora`.
bool ImportByzantine(const SourcePaths& paths, const CStrongsDictionary& strongs,
                     const ProgressFn& progress, InterlinearText* text, ImportStats* stats,
                     std::string* error);

// Sets the text variant `variant` of the Form line from each word's Qere
// (`qere[w]` for text->words[w], morpheme slashes removed; empty where the
// word is no Ketiv), without cantillation. The database keeps one variant
// text per form, so a Ketiv form read differently in different places (or
// read as written in some) gets its readings joined by " | " in the order
// they first occur, for every occurrence. Returns "N Ketiv words, M forms
// with more than one reading" for the build report.
std::string SetQereVariant(const std::vector<std::u16string>& qere, int variant,
                           InterlinearText* text);

// A Bible text module of a SWORD library (`library_folder`, or the
// libraries SWORD finds itself when empty) read through libsword: the words
// as the "Form" line with their punctuation around them, the module's
// Strong's numbers as the "Strong" line (with dictionary links when
// `strongs` holds entries), its morphology as a "Morph" line where it has
// any, its headings and paragraphs. The database is named after the
// module's abbreviation; modules numbered in another versification than the
// common one get a verse map made from libsword's own mapping. False with
// `error` on a missing module or a build without libsword.
bool ImportSword(const std::string& module, const std::string& library_folder,
                 const CStrongsDictionary& strongs, const ProgressFn& progress,
                 InterlinearText* text, ImportStats* stats, std::string* error);

// Marks the word after every word whose punctuation ends a sentence (one of
// the characters of `enders` in its after-text) as a sentence start.
void MarkSentences(std::u16string_view enders, InterlinearText* text);

}  // namespace vorn::build
