// Shared pieces of the query tests: a database written with the table
// writer and opened from a temporary folder, and a query context with user
// tags and propositions of the test's choosing.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/message_sink.h"
#include "query/query_context.h"
#include "textdb/db_stats.h"
#include "textdb/table_writer.h"
#include "textdb/test_db.h"
#include "textdb/vorn_db.h"

namespace vorn::testing {

// One verse of a test text: its place and its words, one value per line.
struct TestVerse {
  TestVerse(std::string in_book, int in_chapter, std::u16string verse_label,
            std::vector<std::u16string> words, std::vector<std::u16string> glosses = {})
      : book(std::move(in_book)),
        chapter(in_chapter),
        label(std::move(verse_label)),
        text(std::move(words)),
        gloss(std::move(glosses)) {}
  std::string book;  // a code of the source's book list
  int chapter = 1;
  std::u16string label;
  std::vector<std::u16string> text;   // the Text line
  std::vector<std::u16string> gloss;  // the Gloss line; empty: "g" + text
};

// A source with the lines Text (query names "text", "txt") and Gloss
// ("gloss", "g"), the given verses and books, and a heading at word 0.
DBSource MakeQuerySource(const std::vector<std::string>& books,
                         const std::vector<TestVerse>& verses);

// Writes a source into a temporary folder and opens it; removes the folder
// when destroyed.
using OpenedDatabase = OpenedTestDatabase;

// A window's query state as far as queries see it.
class FakeContext : public CQueryContext {
 public:
  struct Tag {
    std::u16string name;
    bool displayed = true;
    std::vector<WordSpan> spans;
  };

  explicit FakeContext(CVornDB* db) : db_(db) {}

  CVornDB* GetDatabase() const override { return db_; }
  TagLookup FindUserTag(std::u16string_view name, std::vector<WordSpan>* spans) override;
  WordSpan GetPropositionRange(WordIndex word) override;

  std::vector<Tag> tags;
  // Ascending proposition starts, the first 0; empty: the base behaviour.
  std::vector<uint32_t> proposition_starts;

 private:
  CVornDB* db_;
};

// The hits of a query run start to end, or the error message with its
// positions as "message @first-last".
std::string RunQueryText(const std::u16string& text, CQueryContext* context,
                         std::vector<uint32_t>* hits);

}  // namespace vorn::testing
