// Headings: the titles that stand before a word, and the heading units they
// divide the text into.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "textdb/mem_map_file.h"
#include "textdb/records.h"
#include "textdb/types.h"

namespace vorn {

// One heading of a chain of headings that begin at the same word (a section
// title followed by a subsection title, say).
class CHeading {
 public:
  int GetLevel() const { return level_; }
  // The heading's texts, 0-terminated, pointing into the mapped heads.db:
  // valid while the CVornDBHeadings that made the chain stays open.
  const std::vector<const char16_t*>& GetTexts() const { return texts_; }
  // The next heading of the chain, owned by this one; null at the end.
  const CHeading* GetNext() const { return next_.get(); }

 private:
  friend class CVornDBHeadings;

  int level_ = 0;
  std::vector<const char16_t*> texts_;
  std::unique_ptr<CHeading> next_;
};

// heads.ndx lists (word, position) in word order; heads.db holds at each
// position a chain: a level code unit (1 to 10), one or more 0-terminated
// texts whose first code unit is above 10, then either 0 (end of the chain)
// or the level of the next heading.
class CVornDBHeadings {
 public:
  // Binds heads.db and heads.ndx in `folder`; nothing is opened.
  explicit CVornDBHeadings(const std::string& folder);

  // Maps both files and checks every chain heads.ndx points to, so that
  // GetHeading never reads outside heads.db. False when a file is missing
  // or a table is malformed.
  [[nodiscard]] bool Open();

  // The word count of the database: where the last heading unit ends. Until
  // it is set that unit is open (end -1).
  void SetWordCount(uint32_t count) { word_count_ = count; }

  // The chain of headings that begins at `word`, or null when none does. The
  // caller owns the chain; its texts live as long as this object.
  std::unique_ptr<CHeading> GetHeading(WordIndex word) const;

  // The heading unit that holds `word`: from the last listed word not above
  // it (0 when none) to the next listed word above it. (-1, -1) for a
  // negative word.
  WordSpan GetHeadingRange(WordIndex word) const;

  // Heading levels run from 1 to this.
  static constexpr char16_t kMaxLevel = 10;

 private:
  // Walks the chain at `pos` inside heads.db; fills `out` when it is not
  // null. False when the chain is malformed or runs past the end.
  [[nodiscard]] bool ReadChain(uint32_t pos, std::unique_ptr<CHeading>* out) const;

  TMemMapFile<char16_t> texts_;
  TMemMapFile<WordPos> index_;
  uint32_t word_count_ = 0;
};

}  // namespace vorn
