// Readers of the Greek New Testament corpora: MorphGNT's word lines, the
// SBLGNT chapters of the sblgnt npm package and the Byzantine text's
// accented and parsed CSV files.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vorn::build {

// One line of a MorphGNT file: "040101 N- ----NSM- λόγος, λόγος λόγος λόγος".
struct MorphGntWord {
  int book = 0;  // 1 = Matthew ... 27 = Revelation
  int chapter = 0;
  int verse = 0;
  std::string pos;      // "N-"
  std::string parse;    // "----NSM-"
  std::u16string text;  // as printed, with punctuation and critical signs
  std::u16string word;  // without punctuation
  std::u16string normalized;
  std::u16string lemma;
  int line = 0;
};

// Reads a whole MorphGNT file; words are NFC. False with `error` naming the
// file, the line and what was expected.
bool ReadMorphGnt(const std::string& path, std::vector<MorphGntWord>* words, std::string* error);
bool ReadMorphGntText(std::string_view text, std::string_view origin,
                      std::vector<MorphGntWord>* words, std::string* error);

// One word of an SBLGNT chapter file (xml/<Book>/<NNN>.xml): the word, the
// text before it (opening marks, critical signs) and after it (punctuation
// and spacing), and whether a paragraph (<p>) begins with it.
struct SblgntWord {
  int chapter = 0;
  int verse = 0;
  std::u16string word;
  std::u16string prefix;
  std::u16string suffix;
  bool paragraph_start = false;
  int line = 0;
};

bool ReadSblgntChapter(const std::string& path, std::vector<SblgntWord>* words, std::string* error);
bool ReadSblgntChapterText(std::string_view xml, std::string_view origin,
                           std::vector<SblgntWord>* words, std::string* error);

// One word of the Byzantine text: the accented word with the punctuation
// around it (from accented/BOOK.csv) and its Strong's numbers and Robinson
// code (from parsed/BOOK.csv). A word the parsing lists with two analyses
// keeps the first code and both numbers.
struct ByzantineWord {
  int chapter = 0;
  int verse = 0;
  std::u16string word;
  std::u16string before, after;
  std::u16string unaccented;
  std::vector<int> strongs;
  std::string robinson;
  int line = 0;  // of the parsed file
  // The accented text marks the start of a paragraph with "¶" before its
  // first word; the mark is taken out of `before` and kept here.
  bool paragraph = false;
};

// Reads one book from the two files and aligns them word by word, verse by
// verse. A verse whose word counts differ is an error naming both files and
// lines.
bool ReadByzantineBook(const std::string& accented_path, const std::string& parsed_path,
                       std::vector<ByzantineWord>* words, std::string* error);
bool ReadByzantineBookText(std::string_view accented, std::string_view accented_origin,
                           std::string_view parsed, std::string_view parsed_origin,
                           std::vector<ByzantineWord>* words, std::string* error);

// Splits a printed Greek token into leading punctuation, the word and
// trailing punctuation. Letters, combining marks and the elision mark (’)
// belong to the word.
void SplitGreekToken(std::u16string_view token, std::u16string* before, std::u16string* word,
                     std::u16string* after);

}  // namespace vorn::build
