#include "markup/annotation.h"

#include <algorithm>

#include "markup/user_folder.h"
#include "platform/file_system.h"
#include "platform/string_table.h"
#include "platform/u16.h"
#include "refs/bible_ref.h"
#include "refs/book_table.h"
#include "textdb/verses.h"
#include "textdb/vorn_db.h"

namespace vorn {

namespace {
constexpr const char* kAnnotationsFolder = "Annotations";
}  // namespace

CAnnotation::CAnnotation(CVornDB* db, std::string user_folder, platform::CMessageSink* sink)
    : db_(db), user_folder_(std::move(user_folder)), sink_(sink) {
  uint32_t n = db_->GetWordCount();
  int last_book = n > 0 ? BookOfWord(static_cast<WordIndex>(n - 1)) : 0;
  books_.assign(static_cast<size_t>(last_book) + 1, kUnread);
}

CAnnotation::~CAnnotation() = default;

int CAnnotation::BookOfWord(WordIndex word) const {
  const CVornDBVerses* verses = db_->GetVerses();
  if (!verses) return 0;
  VerseEntry e = verses->VerseOfWord(word);
  return e ? e->book : 0;
}

std::string CAnnotation::AnnotationsFolder() const {
  return user_folder_.empty() ? std::string()
                              : platform::JoinPath(user_folder_, kAnnotationsFolder);
}

std::string CAnnotation::GetBookFilePath(int book) const {
  // The book code comes from the database's description.
  const std::string code = platform::ToUtf8(db_->GetBookCode(book));
  if (user_folder_.empty() || !platform::IsPlainFileName(code)) return {};
  return platform::JoinPath(AnnotationsFolder(), code + ".txt");
}

void CAnnotation::ReadBook(int book) {
  if (book <= 0 || static_cast<size_t>(book) >= books_.size() || books_[book] != kUnread) return;
  books_[book] = kRead;
  std::string bytes;
  switch (platform::ReadFileIfPresent(GetBookFilePath(book), &bytes)) {
    case platform::ReadResult::kMissing:
      return;
    case platform::ReadResult::kFailed:
      unreadable_.insert(book);
      return;
    case platform::ReadResult::kRead:
      break;
  }
  TakeBook(book, bytes);
}

void CAnnotation::TakeBook(int book, std::string_view bytes) {
  const CVornDBVerses* verses = db_->GetVerses();
  if (!verses) return;
  auto resolve = [verses, book](int chapter, std::u16string_view label, int number) -> WordIndex {
    if (chapter > 255) return -1;
    VerseKey key = CVornDBVerses::MakeKey(book, chapter, label);
    VerseEntry e = verses->FindVerse(key);
    if (!e || KeyOf(*e) != key || CVornDBVerses::GetVerseLabel(e) != label) return -1;
    WordSpan span = verses->GetWordSpan(e);
    int64_t w = static_cast<int64_t>(span.first) + number - 1;
    return w < span.end ? static_cast<WordIndex>(w) : -1;
  };
  const WordSpan span = verses->GetBookSpan(book);
  notes_.erase(notes_.lower_bound(span.first), notes_.lower_bound(span.end));
  std::map<WordIndex, Note> notes;
  ParseAnnotationFile(bytes, db_->GetBookCode(book), resolve, &notes);
  // Only words of this book: a header cannot name another.
  for (auto& [word, note] : notes) notes_[word] = std::move(note);
  read_fingerprints_[book] = platform::Fingerprint(bytes);
  unreadable_.erase(book);
}

bool CAnnotation::HasNote(WordIndex word) {
  ReadBook(BookOfWord(word));
  auto it = notes_.find(word);
  return it != notes_.end() && !it->second.text.empty();
}

bool CAnnotation::GetNote(WordIndex word, Note* note) {
  ReadBook(BookOfWord(word));
  auto it = notes_.find(word);
  if (it == notes_.end()) return false;
  *note = it->second;
  return true;
}

bool CAnnotation::StoreNote(WordIndex word, const Note& note) {
  int book = BookOfWord(word);
  if (book <= 0 || static_cast<size_t>(book) >= books_.size()) return false;
  ReadBook(book);
  notes_[word] = note;
  books_[book] = kChanged;
  return true;
}

bool CAnnotation::RemoveNote(WordIndex word) {
  int book = BookOfWord(word);
  if (book <= 0 || static_cast<size_t>(book) >= books_.size()) return false;
  ReadBook(book);
  notes_.erase(word);
  books_[book] = kChanged;
  return true;
}

bool CAnnotation::DescribeWord(WordIndex word, std::u16string* key, int* number) const {
  const CVornDBVerses* verses = db_->GetVerses();
  VerseEntry e = verses ? verses->VerseOfWord(word) : nullptr;
  if (!e) return false;
  *key = CBibleRef(db_, word).GetKeyString();
  *number = static_cast<int>(word - static_cast<WordIndex>(e->first_word)) + 1;
  return true;
}

std::u16string CAnnotation::GetNoteTitle(WordIndex word) const {
  std::u16string key;
  int number = 0;
  if (!DescribeWord(word, &key, &number)) return {};
  return key + u" word: " + platform::ToU16(std::to_string(number));
}

bool CAnnotation::IsBookChanged(int book) const {
  return book > 0 && static_cast<size_t>(book) < books_.size() && books_[book] == kChanged;
}

std::vector<int> CAnnotation::GetChangedBooks() const {
  std::vector<int> out;
  for (size_t b = 1; b < books_.size(); ++b) {
    if (books_[b] == kChanged) out.push_back(static_cast<int>(b));
  }
  return out;
}

bool CAnnotation::SaveBook(int book) {
  if (book <= 0 || static_cast<size_t>(book) >= books_.size()) return false;
  const std::string path = GetBookFilePath(book);
  auto cant_write = [&] {
    if (sink_) {
      sink_->ShowWarning(
          platform::FormatString(platform::kIdsCantWriteAnnotations, platform::ToU16(path)));
    }
    return false;
  };
  const std::string folder = AnnotationsFolder();
  if (!EnsureFolder(folder, platform::kIdsCantCreateDir, sink_)) return false;
  if (path.empty()) return cant_write();
  ReadBook(book);
  platform::CFolderLock lock(path);
  std::string theirs, error;
  switch (platform::ReadFileIfPresent(path, &theirs, &error)) {
    case platform::ReadResult::kMissing:
      break;
    case platform::ReadResult::kFailed:
      if (!ClearDamagedFile(path, platform::ToU16(error), sink_)) return false;
      unreadable_.erase(book);
      break;
    case platform::ReadResult::kRead: {
      auto seen = read_fingerprints_.find(book);
      if (unreadable_.count(book)) {
        // Readable now, but its notes were never seen: they must not be lost.
        TakeBook(book, theirs);
        books_[book] = kRead;
        return false;
      }
      if (seen != read_fingerprints_.end() && seen->second == platform::Fingerprint(theirs)) break;
      const platform::MsgAnswer answer =
          sink_ ? sink_->Ask(
                      platform::FormatString(platform::kIdsChangedOnDisk, platform::ToU16(path)),
                      platform::MsgButtons::kYesNoCancel)
                : platform::MsgAnswer::kYes;
      if (answer == platform::MsgAnswer::kCancel) return false;
      if (answer == platform::MsgAnswer::kNo) {
        TakeBook(book, theirs);
        books_[book] = kRead;
        return false;
      }
      break;
    }
  }
  std::string bytes;
  const WordSpan span = db_->GetVerses() ? db_->GetVerses()->GetBookSpan(book) : WordSpan{};
  for (auto it = notes_.lower_bound(span.first); it != notes_.end() && it->first < span.end; ++it) {
    std::u16string key;
    int number = 0;
    if (DescribeWord(it->first, &key, &number)) bytes += FormatNote(key, number, it->second);
  }
  if (!platform::WriteFileAtomically(path, bytes)) return cant_write();
  read_fingerprints_[book] = platform::Fingerprint(bytes);
  books_[book] = kRead;
  return true;
}

void CAnnotation::SaveChangedBooks() {
  for (int book : GetChangedBooks()) {
    std::u16string code = db_->GetBookCode(book);
    std::u16string name = BookIndexFromCode(code) >= 0 ? BookNameFromCode(code) : code;
    if (sink_ && sink_->Ask(platform::FormatString(platform::kIdsSaveAnnotations, name),
                            platform::MsgButtons::kYesNo) != platform::MsgAnswer::kYes) {
      books_[book] = kRead;
      continue;
    }
    const std::string folder = AnnotationsFolder();
    if (!SaveBook(book) && !platform::DirectoryExists(folder)) return;
  }
}

CAnnotation* GetAnnotation(CVornDB* db, const std::string& working_folder) {
  return db->GetAttachment<CAnnotation>(DBAttachment::kAnnotations, [db, &working_folder] {
    return std::make_unique<CAnnotation>(db, UserFolder(working_folder, db->GetName()),
                                         db->GetSink());
  });
}

}  // namespace vorn
