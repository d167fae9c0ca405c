// The interlinear text in memory: a database description and one row per
// word with its reference, its value on every interlinear line, its
// punctuation, marks and links. Every importer produces this model, the plain
// interlinear format reads into it, and MakeDatabaseSource turns it into what
// the table writer stores.
#pragma once

#include <string>
#include <vector>

#include "textdb/table_writer.h"

namespace vorn::build {

struct InterlinearLink {
  std::string kind;     // a kind of InterlinearText::description.links.kinds
  std::u16string text;  // the link's text; word details and searches show it
};

struct InterlinearWord {
  std::string book;  // book-table code ("GEN", "JHN")
  int chapter = 0;
  std::u16string verse;  // verse label: "1", "12a", "12-14"
  // One value per value line of the text (InterlinearText::value_lines).
  std::vector<std::u16string> values;
  // One per InterlinearText::variants; empty where the variant does not
  // differ from the line's own value.
  std::vector<std::u16string> variants;
  std::u16string before, after;  // punctuation around the word
  bool sentence_start = false;
  std::u16string format;                 // paragraph code starting at this word ("p", "m", "q1")
  std::vector<DBHeadingLevel> headings;  // headings beginning here, outermost first
  std::vector<InterlinearLink> links;
};

struct InterlinearVariant {
  int line = 0;  // index into description.lines
  std::string name;
  std::u16string display;
};

struct InterlinearText {
  // Every key of the database: name, title, copyrights, fonts, the lines
  // (without words) and the link kinds. Its word tables stay empty.
  DBSource description;
  std::vector<InterlinearVariant> variants;
  std::vector<InterlinearWord> words;
  // The verse map file of the text's versification ("GEN 32:1 = GEN 31:55"
  // lines); empty for a text numbered like the common scheme.
  std::string verse_map;

  // Positions in description.lines of the lines whose values the words
  // carry: every line except "Links", in order.
  std::vector<int> ValueLines() const;
  // The index into InterlinearWord::values of the line named `name`, or -1.
  int ValueIndex(std::string_view name) const;
  // The index into InterlinearWord::variants of the named variant of a line, or -1.
  int VariantIndex(std::string_view line, std::string_view name) const;
};

// Word positions of the text's verses, paragraphs, sentences, headings,
// punctuation, variants and links, in the table writer's terms. Books are
// listed in the order they first appear; a book that starts again after
// another book, a verse that appears twice, a word with the wrong number of
// values or a link of an undeclared kind is an error naming the word's row
// (1-based) and reference. False with `error` set; `source` is then unusable.
bool MakeDatabaseSource(const InterlinearText& text, DBSource* source, std::string* error);

// "GEN 1:1" for messages.
std::string ReferenceOf(const InterlinearWord& word);

}  // namespace vorn::build
