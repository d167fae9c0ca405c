// The scripture reference value passed around the whole program: a book, a
// chapter and a verse, optionally bound to an open database and to the verse
// of its index that it names.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "textdb/types.h"
#include "textdb/verses.h"

namespace vorn {

class CVornDB;

class CBibleRef {
 public:
  // An empty unbound reference: no book, chapter and verse 0.
  CBibleRef() = default;

  // Unbound. `book` is an English name or a code of the book table (any
  // case); an unknown book leaves the code empty.
  CBibleRef(std::u16string_view book, int chapter, int verse);
  // Unbound, with the verse given as a label ("12", "12a", "12-14"). The
  // verse number is the label's leading decimal number; a label ending in a
  // non-digit is lower-cased (12A becomes 12a) as databases label suffixes.
  CBibleRef(std::u16string_view book, int chapter, std::u16string_view label);

  // Bound to `db` (borrowed; must outlive the reference and its copies) and
  // looked up in its verse index by book number (1-based, the database's own
  // order), chapter and verse. When the database has no such verse the
  // nearest one is taken as the verse index finds it; when it has none at all
  // (no verse index, or a book number outside its books) the numbers stay as
  // given and the reference has no verse entry.
  CBibleRef(CVornDB* db, int book, int chapter, int verse);
  CBibleRef(CVornDB* db, int book, int chapter, std::u16string_view label);
  // Bound to the verse that holds `word`; without one, book number, chapter
  // and verse are 0 and there is no entry.
  CBibleRef(CVornDB* db, WordIndex word);

  // A copy carried onto `target` (null or the same database: a plain copy).
  // A bound reference goes through the two databases' verse maps; an unbound
  // one is looked up in `target` by its book code, chapter and label. A book
  // `target` lacks leaves the copy without entry and with book number 0.
  CBibleRef(const CBibleRef& other, CVornDB* target);

  CBibleRef(const CBibleRef&) = default;
  CBibleRef& operator=(const CBibleRef&) = default;

  // Makes this the unbound reference of a key string "GEN 12:3": three
  // characters of code, a blank, the chapter, one separator, the label. Text
  // too short for a code gives an empty reference.
  void FromKeyString(std::u16string_view key);
  static CBibleRef ParseKeyString(std::u16string_view key);

  // Reads the printed forms: long ("Genesis 12:3", "Song of Songs 2:1"),
  // short ("Gen 12:3", "1Sa 3:4") and key ("GEN 12:3") — a book name or code
  // (any case), blank(s), chapter ":" verse label. Surrounding blanks are
  // allowed. False, leaving `*out` untouched, when the book is unknown or the
  // chapter and verse are not "digits:digits" with an optional suffix.
  [[nodiscard]] static bool Parse(std::u16string_view text, CBibleRef* out);

  // Whether `db`'s verse index holds the verse a person typed as book number
  // (1-based), chapter text and verse label, exactly (CVornDBVerses::
  // FindExactVerse): false for a chapter or verse the text lacks, for text
  // that is not a number, and for numbers too large for a verse key. When
  // false and `message` is given, it becomes "Jhn 22:1 is not in this text"
  // with the book's short name and the typed numbers.
  static bool IsInText(CVornDB* db, int book, std::u16string_view chapter,
                       std::u16string_view label, std::u16string* message = nullptr);

  // The code as stored; when empty, the bound database's code for the book
  // number; "" when neither is known.
  std::u16string GetBookCode() const;
  int GetBookNumber() const { return book_; }
  int GetChapter() const { return chapter_; }
  int GetVerse() const { return verse_; }
  // The entry's label; else the stored label; else the verse number.
  std::u16string GetVerseLabel() const;
  std::u16string GetBookName() const;
  CVornDB* GetDatabase() const { return db_; }
  VerseEntry GetVerseEntry() const { return entry_; }
  bool HasEntry() const { return entry_ != nullptr; }

  // "%s %d:%s" of code, chapter and label: "GEN 12:3", "PSA 9:21a". What
  // bookmarks, annotations and the reference exchange store.
  std::u16string GetKeyString() const;
  // "Genesis 12:3".
  std::u16string FormatLong() const;
  // "Gen 12:3", "1Sa 3:4".
  std::u16string FormatShort() const;

  // Word positions from the verse index; -1 and (-1, -1) without an entry
  // (the book and chapter spans: without a bound database with a verse index).
  WordIndex GetFirstWord() const;
  WordSpan GetWordSpan() const;
  WordSpan GetBookSpan() const;
  WordSpan GetChapterSpan() const;
  bool IsFirstInChapter() const;
  bool IsFirstInBook() const;

  // Two references with entries are equal when they name the same verse of
  // the same database; otherwise when code (exact), chapter, verse number and
  // label are equal.
  bool IsEqual(const CBibleRef& other) const;
  // Canonical order (book table, then chapter, verse number, label) against
  // the reference of a key string. Unknown books sort first. Equal references
  // are not before each other.
  bool IsBefore(std::u16string_view key) const;
  bool IsBefore(const CBibleRef& other) const { return IsBefore(other.GetKeyString()); }

  // Moves through the verses the bound database really has, across chapter
  // and book ends; at the first or last verse of the database a move stays
  // put. Without an entry NextVerse/PrevVerse and NextChapter/PrevChapter
  // only count the number up or down, and the book moves do nothing.
  void NextVerse();
  void PrevVerse();
  // To the first verse of the next chapter (of the next book after a book's
  // last chapter).
  void NextChapter();
  // To the first verse of the previous chapter.
  void PrevChapter();
  // To the first verse of the next or previous book; the last and the first
  // book go to their own start.
  void NextBook();
  void PrevBook();
  // To the first verse of the book, with or without an entry.
  void StartOfBook();
  // `steps` NextVerse (positive) or PrevVerse (negative) moves, as the verse
  // spin of the go-to control makes them; only while there is an entry.
  void StepVerses(int steps);
  // The same with NextChapter/PrevChapter.
  void StepChapters(int steps);

  // The entries of the go-to control's book list: the English name of each
  // book of the bound database in its order; for an unbound reference the
  // stored code alone.
  std::vector<std::u16string> GetBookListNames() const;

 private:
  // Looks up (book_, chapter_, label) in the bound database and adopts what
  // is found; leaves the numbers when nothing is.
  void LookUp(std::u16string_view label);
  // Makes `e` the entry and takes book, chapter, verse and label from it.
  void Adopt(VerseEntry e);
  // The verse index of the bound database, or null.
  const CVornDBVerses* Verses() const;
  // The database's nearest entry to the key; null without a usable index.
  VerseEntry Find(int book, int chapter, int verse, int suffix) const;
  // Re-targets an unbound copy onto `target`.
  void BindUnbound(CVornDB* target);

  std::u16string code_;
  int book_ = 0;
  int chapter_ = 0;
  int verse_ = 0;
  std::u16string label_;
  CVornDB* db_ = nullptr;
  VerseEntry entry_ = nullptr;

  friend class CVerseMap;
};

// The spin controls of the go-to control sit at this position between
// moves; the distance from it is the number of steps.
inline constexpr int kSpinCentre = 2000;

}  // namespace vorn
