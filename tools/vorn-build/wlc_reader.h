// The Westminster Leningrad Codex in the OSIS files of the Open Scriptures
// Hebrew Bible (morphhb's wlc/*.xml): words with lemma and morphology, the
// marks between them, paragraph marks and the Hebrew/English verse map.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vorn::build {

struct WlcWord {
  int chapter = 0;
  int verse = 0;
  std::u16string text;  // pointed, with '/' between morphemes
  std::string lemma;    // "c/1961", "1254 a"
  std::string morph;    // "HC/Vqw3ms"
  // Marks around the word: maqqef, sof pasuq, paseq and the paragraph
  // letters after it, an inverted nun before or after it.
  std::u16string before, after;
  // The Qere when this word is (the first of) a Ketiv: the reading's words,
  // pointed, with '/' between morphemes and a space between words; empty
  // for every other word.
  std::u16string qere;
  // 'p' when an open paragraph (petuhah) ends before this word, 'm' after a
  // closed one (setumah), 0 otherwise.
  char paragraph = 0;
  int line = 0;  // of the source file, for messages
};

struct WlcBook {
  std::string osis_name;  // "Gen"
  std::vector<WlcWord> words;
  // Qere notes with no written word to carry them: a word read but not
  // written, or a written word not read (an empty reading).
  int unplaced_qere = 0;
};

// Reads one book file. The words of readings in notes (Qere) are not part of
// the text: a Qere goes to WlcWord::qere of the first Ketiv word its note
// names (its catchword may span several words). False with `error` naming the file, the line and
// what was expected.
bool ReadWlcBook(const std::string& path, WlcBook* book, std::string* error);
bool ReadWlcBookText(std::string_view xml, std::string_view origin, WlcBook* book,
                     std::string* error);

// One line of the word lists of morphhb's oxlos-import folder
// ("Gen 1:1.1<TAB>7225<TAB>בְּ/רֵאשִׁית"): the words without cantillation or
// of consonants only.
struct WordListEntry {
  std::string osis_name;
  int chapter = 0;
  int verse = 0;
  int index = 0;  // 1-based within the verse
  std::u16string text;
};

bool ReadWordList(const std::string& path, std::vector<WordListEntry>* entries, std::string* error);
bool ReadWordListText(std::string_view text, std::string_view origin,
                      std::vector<WordListEntry>* entries, std::string* error);

// One line of the verse map: a WLC verse and the English (KJV) verse it
// corresponds to, as OSIS references ("Gen.32.1").
struct VerseMapping {
  std::string wlc;
  std::string kjv;
};

bool ReadWlcVerseMap(const std::string& path, std::vector<VerseMapping>* mappings,
                     std::string* error);
bool ReadWlcVerseMapText(std::string_view xml, std::string_view origin,
                         std::vector<VerseMapping>* mappings, std::string* error);

// The verse map file of the Hebrew database ("GEN 32:1-33 = GEN 31:55-32:32"
// style lines, own scheme on the left): runs of verses that move together
// become one range line. False when a reference names an unknown book.
bool MakeVrsText(const std::vector<VerseMapping>& mappings, std::string* vrs, std::string* error);

}  // namespace vorn::build
