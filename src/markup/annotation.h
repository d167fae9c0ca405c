// The user's notes on words of one database, kept in one text file per book
// in the "Annotations" folder of the user folder and read book by book on
// first use.
#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "markup/annotation_file.h"
#include "platform/message_sink.h"
#include "textdb/types.h"
#include "textdb/vorn_db.h"

namespace vorn {

class CAnnotation : public CVornDBAttachment {
 public:
  // `db` and `sink` are borrowed and must outlive the object.
  CAnnotation(CVornDB* db, std::string user_folder, platform::CMessageSink* sink);
  ~CAnnotation() override;
  CAnnotation(const CAnnotation&) = delete;
  CAnnotation& operator=(const CAnnotation&) = delete;

  // Whether the word has a note with text (reading its book first).
  bool HasNote(WordIndex word);
  // The word's note; false when it has none.
  bool GetNote(WordIndex word, Note* note);
  // The note dialog's OK: stores the note (or, with `remove`, removes it)
  // and marks the book changed. False for a word outside every book.
  [[nodiscard]] bool StoreNote(WordIndex word, const Note& note);
  bool RemoveNote(WordIndex word);
  // The note dialog's title: the reference key, " word: " and the word's
  // number within its verse. Empty for a word outside every verse.
  std::u16string GetNoteTitle(WordIndex word) const;

  // For each changed book in book order asks message 315; Yes writes the
  // book's file anew, No forgets the change. A folder that cannot be made
  // (message 305) stops everything; a file that cannot be written (message
  // 314) leaves that book changed, so that a later save can retry.
  void SaveChangedBooks();
  // Writes one book's file without asking (message 305 or 314 on failure).
  // The folder is locked meanwhile; when the file is no longer what was read
  // (another program saved notes of the book), asks whether to keep this
  // program's notes (Yes: written), take the other program's (No: the book
  // is read again from the newer file, unchanged) or neither (Cancel); a
  // file that cannot be read is replaced only when ClearDamagedFile moves
  // it aside. False whenever nothing was written.
  [[nodiscard]] bool SaveBook(int book);
  bool IsBookChanged(int book) const;
  std::vector<int> GetChangedBooks() const;

  // The file of a book: "<user folder>/Annotations/<code>.txt"; empty when
  // the database has no user folder or the code is no plain file name.
  std::string GetBookFilePath(int book) const;
  // The book number of a word (0 outside every verse).
  int BookOfWord(WordIndex word) const;

 private:
  enum : int8_t { kUnread = 0, kRead = -1, kChanged = 1 };

  // "<user folder>/Annotations", or empty without a user folder.
  std::string AnnotationsFolder() const;
  void ReadBook(int book);
  // Replaces the book's notes with those of the file's `bytes`.
  void TakeBook(int book, std::string_view bytes);
  // The verse number of a word within its verse (1-based) and the verse's
  // key; false for a word outside every verse.
  bool DescribeWord(WordIndex word, std::u16string* key, int* number) const;

  CVornDB* db_;
  std::string user_folder_;
  platform::CMessageSink* sink_;
  std::vector<int8_t> books_;
  // Books whose file exists but could not be read: writing them would
  // replace notes never seen.
  std::set<int> unreadable_;
  // The fingerprint of each book's file as last read or written; a book
  // whose file was missing has none.
  std::map<int, uint64_t> read_fingerprints_;
  std::map<WordIndex, Note> notes_;
};

// The annotations of `db`, owned by the database: made on first use for the
// user folder of `working_folder` ("" is the current directory). Later
// calls return the same object whatever folder they name.
CAnnotation* GetAnnotation(CVornDB* db, const std::string& working_folder = {});

}  // namespace vorn
