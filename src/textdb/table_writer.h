// Writes a whole database folder (NAME.qyx) from data held in memory: the
// description Stats.txt and every binary table the readers map. The database
// compiler and the tests that need small databases both go through here, so
// whatever opens in the program was written by this one piece of code.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vorn {

// One key line of Stats.txt below some parent key. `key` is a single name
// (no '/' or ':'); `value` must be 8-bit text (U+0000..U+00FF, no line
// breaks).
struct DBKeyValue {
  std::string key;
  std::u16string value;
};

struct DBVerse {
  uint32_t first_word = 0;  // word index of the verse's first word
  int book = 0;             // 1-based position in DBSource::books
  int chapter = 0;          // 0..254
  std::u16string label;     // "12", "12a", "12-14"
};

// A text variant of a line (for example a Qere reading). Words not listed in
// `changes` read as the line itself. A variant is stored per form, so every
// word of one form must agree on the variant's text.
struct DBVariant {
  std::string name;                                          // file <name>.ndx and key "Alt/<name>"
  std::u16string display;                                    // value of "Alt/<name>"
  std::vector<std::pair<uint32_t, std::u16string>> changes;  // (word, text)
};

// One interlinear line. The line named "Links" carries no words of its own:
// its tables come from DBSource::links.
struct DBLine {
  std::string name;
  std::u16string font;                      // "Font" attributes
  std::u16string query_prompt;              // "QueryPrompt"
  std::vector<std::u16string> query_names;  // "QueryNames", joined by spaces
  std::u16string language;                  // "Language": "Greek", "Hebrew" or empty
  std::u16string tag_scheme;                // "TagScheme" (the Tag line)
  std::vector<DBKeyValue> extra_keys;       // further keys below the line's key
  std::vector<std::u16string> words;        // one value per word of the database
  std::vector<DBVariant> variants;
};

struct DBHeadingLevel {
  int level = 1;                      // 1..10
  std::vector<std::u16string> texts;  // one or more; first code unit above 10
};

// The headings that begin at one word, outermost first.
struct DBHeading {
  uint32_t word = 0;
  std::vector<DBHeadingLevel> chain;
};

struct DBFormat {
  uint32_t word = 0;
  std::u16string code;  // 8-bit characters, no 0
};

// Punctuation of one word of the Form line.
struct DBPunctuation {
  uint32_t word = 0;
  int capital = -1;  // index of the character of the word to upper-case; -1: none
  std::u16string prefix;
  std::u16string suffix;
};

struct DBGlossMark {
  uint32_t word = 0;
  uint8_t brace_start = 0;    // 'B' opens a brace group; other non-zero: inside one
  uint8_t brace_end = 0;      // 'E' closes it
  uint8_t bracket_start = 0;  // 'B' opens a bracket group; other non-zero: inside one
  uint8_t bracket_end = 0;    // non-zero closes it
};

// One entry of a word's link list. Entries with the same kind, title flag,
// text and extra data are one entry of the database, shared by the words.
struct DBLinkEntry {
  int kind = 0;              // index into DBLinks::kinds
  bool group_title = false;  // a group title rather than a link
  std::u16string text;       // may begin with a level code unit 1..8
  std::string extra;         // 8-bit data handed to the link object; no 0 byte
};

struct DBWordLinks {
  uint32_t word = 0;
  std::vector<DBLinkEntry> entries;  // in display order
};

struct DBLinkKind {
  std::string name;              // no spaces: queries split "kind text" at the first one
  std::vector<DBKeyValue> keys;  // "Search", "Note", "DetailsT", ...
};

struct DBLinks {
  std::u16string pvlinks_value;    // value of "/InterlinearLines/Links/PVlinks"
  std::vector<DBKeyValue> fonts;   // "/InterlinearLines/Links/Fonts/<key>"
  std::vector<DBLinkKind> kinds;   // in kind order
  std::vector<DBWordLinks> words;  // any order, each word at most once
};

// Everything a database holds. Word indexes run 0 .. word count-1, the word
// count being the number of values of every ordinary line.
struct DBSource {
  std::u16string name;                     // "/Name"
  std::u16string title;                    // "/Title"
  std::vector<std::string> books;          // book codes in book order ("/Books")
  std::vector<std::u16string> copyrights;  // "/Copyright", "/Copyright1", ...
  std::u16string versification;
  std::u16string compiled;
  std::u16string tag_label_font;
  std::vector<DBKeyValue> heading_fonts;              // "/Headings/Fonts/<key>", in order
  std::u16string verse_font, chapter_font, ref_font;  // "/Verses/Fonts/..."

  std::vector<DBVerse> verses;  // in text order
  std::vector<DBLine> lines;    // in display order; the first one ordinary

  std::vector<DBHeading> headings;         // any order, each word at most once
  std::vector<DBFormat> formats;           // any order, each word at most once
  std::vector<uint32_t> sentence_starts;   // any order; duplicates merged
  std::vector<DBPunctuation> punctuation;  // needs a "Form" line
  std::vector<DBGlossMark> gloss_marks;    // any order, each word at most once
  DBLinks links;                           // needs a "Links" line when not empty
};

// The files of a database as paths relative to its folder ("Stats.txt",
// "PVlinks/LinkRec.ndx") with their complete contents, in writing order.
using DBFiles = std::vector<std::pair<std::string, std::string>>;

class CDBWriter {
 public:
  // `source` is borrowed and must outlive the writer.
  explicit CDBWriter(const DBSource& source) : source_(source) {}
  CDBWriter(const CDBWriter&) = delete;
  CDBWriter& operator=(const CDBWriter&) = delete;

  // Checks the source and makes every file in memory. On the first fault
  // returns false with a description in `*error` and keeps no files.
  bool Build(std::string* error);
  // The files made by the last successful Build.
  const DBFiles& GetFiles() const { return files_; }
  // The contents of one file of GetFiles; null when there is none.
  const std::string* FindFile(std::string_view path) const;

  // Builds and writes the database into `folder` (normally ".../NAME.qyx").
  // The files go to a sibling folder first, which is renamed into place only
  // when all are written; an existing database folder there is replaced. A
  // folder that exists but holds no Stats.txt and is not empty is never
  // touched. On failure nothing at `folder` has changed.
  [[nodiscard]] bool Write(const std::string& folder, std::string* error);

  // Writes `files` into `folder` as Write does.
  [[nodiscard]] static bool WriteFiles(const DBFiles& files, const std::string& folder,
                                       std::string* error);

 private:
  const DBSource& source_;
  DBFiles files_;
};

// The verse number and suffix the verse index stores for a label, read as
// the verse index reads labels: "12" -> (12, 0), "12a" -> (12, 'a'),
// "12-14" -> (12, 128 + 14). False when the label would not read back as
// itself (no leading number, a verse above 255, a second letter, a range end
// of 0 or above 127, a character above U+007F, ...).
[[nodiscard]] bool EncodeVerseLabel(std::u16string_view label, uint8_t* verse, uint8_t* suffix);

// The label of a stored verse number and suffix, as the verse index prints it.
std::u16string FormatVerseLabel(uint8_t verse, uint8_t suffix);

// The Format.ndx records of one word's code, 8 bytes each: records with a
// space as fourth character continue in the next one. False when the code
// has a character 0 or above U+00FF.
[[nodiscard]] bool EncodeFormatCode(uint32_t word, std::u16string_view code, std::string* records);

}  // namespace vorn
