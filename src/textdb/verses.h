// The verse index (verses.ndx): ties book, chapter and verse to word spans.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "textdb/mem_map_file.h"
#include "textdb/records.h"
#include "textdb/types.h"

namespace vorn {

struct VerseKey {
  uint8_t book = 0, chapter = 0, verse = 0, suffix = 0;
  friend auto operator<=>(const VerseKey&, const VerseKey&) = default;
};

inline VerseKey KeyOf(const VerseNdx& r) { return {r.book, r.chapter, r.verse, r.suffix}; }

// A verse entry is a pointer to one record, either in the mapped file or in
// a book list; every operation accepts both. Null means no verse.
using VerseEntry = const VerseNdx*;

class CVornDBVerses {
 public:
  explicit CVornDBVerses(const std::string& folder);
  ~CVornDBVerses();

  // Maps the file and checks it: whole records, first words ascending, books
  // in increasing order, a closing record whose first word is `word_count`
  // (when not 0) and whose book is above every real book. False when any
  // check fails.
  [[nodiscard]] bool Open(uint32_t word_count = 0);

  int GetBookCount() const { return book_count_; }
  // The word count the closing record announces.
  uint32_t GetClosingWord() const { return file_[file_.GetCount() - 1].first_word; }
  // The sorted records of `book` (clamped to 1..book count) followed by a
  // copy of the record after the book.
  const std::vector<VerseNdx>& GetBookList(int book) const;
  VerseEntry FindVerse(VerseKey key) const;
  // The verse the key names, never a neighbour: the record with this key;
  // for a key without suffix the chapter's first record of that verse
  // number ("16" finds "16a"); else a range record that covers the verse
  // ("13" finds "12-14"). Null when the book, chapter or verse is not in
  // the index.
  VerseEntry FindExactVerse(VerseKey key) const;
  VerseEntry VerseOfWord(WordIndex word) const;
  VerseEntry NextVerse(VerseEntry entry) const;
  VerseEntry PrevVerse(VerseEntry entry) const;
  bool IsSameVerse(VerseEntry a, VerseEntry b) const;
  WordSpan GetWordSpan(VerseEntry entry) const;
  bool IsFirstInChapter(VerseEntry entry) const;
  bool IsFirstInBook(VerseEntry entry) const;
  WordSpan GetBookSpan(int book) const;
  WordSpan GetChapterSpan(int book, int chapter) const;

  // The records of the file in text order, closing record included.
  const VerseNdx* FileBegin() const { return file_.begin(); }
  uint32_t FileCount() const { return file_.GetCount(); }

  static VerseKey MakeKey(int book, int chapter, std::u16string_view label);
  // MakeKey for numbers a person typed: false, leaving `key` alone, when the
  // label does not begin with a digit, when book, chapter or verse number do
  // not fit a key (books 1..254, chapters 0..254, verses 0..255), or when
  // the label's range end does not. Bytes are never wrapped.
  static bool MakeCheckedKey(int64_t book, int64_t chapter, std::u16string_view label,
                             VerseKey* key);
  static std::u16string GetVerseLabel(VerseKey key);
  static std::u16string GetVerseLabel(VerseEntry entry) { return GetVerseLabel(KeyOf(*entry)); }

 private:
  // The entry as a record of its book list.
  VerseEntry ToBookList(VerseEntry entry) const;
  static bool IsWithin(VerseEntry entry, const VerseNdx* begin, const VerseNdx* end);
  // Which sequence `entry` lies in: the file or a book list; its bounds.
  void SequenceOf(VerseEntry entry, const VerseNdx** begin, const VerseNdx** end) const;
  uint32_t LowerBoundKey(VerseKey key) const;

  TMemMapFile<VerseNdx> file_;
  int book_count_ = 0;
  mutable std::vector<std::vector<VerseNdx>> book_lists_;
  mutable std::vector<bool> built_;
};

}  // namespace vorn
