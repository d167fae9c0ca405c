#include "refs/bible_ref.h"

#include <algorithm>
#include <string>

#include "platform/u16.h"
#include "refs/book_table.h"
#include "refs/verse_map.h"
#include "textdb/vorn_db.h"

namespace vorn {

namespace {

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }
bool IsBlank(char16_t c) { return c == u' ' || c == u'\t'; }

// The decimal number at the start of `text` and how many digits it took.
// Long runs saturate instead of overflowing.
int LeadingNumber(std::u16string_view text, size_t* digits = nullptr) {
  size_t i = 0;
  long long value = 0;
  while (i < text.size() && IsDigit(text[i])) {
    if (value < 1000000000) value = value * 10 + (text[i] - u'0');
    ++i;
  }
  if (digits) *digits = i;
  return static_cast<int>(std::min<long long>(value, 1000000000));
}

std::u16string Decimal(int n) { return platform::ToU16(std::to_string(n)); }

std::u16string_view Trim(std::u16string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

// A label as databases write it: digits, then nothing, one letter, or "-"
// and digits.
bool IsWellFormedLabel(std::u16string_view label) {
  size_t n = 0;
  LeadingNumber(label, &n);
  if (n == 0 || n > 6) return false;
  std::u16string_view rest = label.substr(n);
  if (rest.empty()) return true;
  if (rest.size() == 1) {
    char16_t c = rest[0];
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
  }
  if (rest[0] != u'-') return false;
  size_t m = 0;
  LeadingNumber(rest.substr(1), &m);
  return m > 0 && m <= 6 && m + 1 == rest.size();
}

}  // namespace

CBibleRef::CBibleRef(std::u16string_view book, int chapter, int verse)
    : code_(BookCodeFromName(book)), chapter_(chapter), verse_(verse) {}

CBibleRef::CBibleRef(std::u16string_view book, int chapter, std::u16string_view label)
    : code_(BookCodeFromName(book)),
      chapter_(chapter),
      verse_(LeadingNumber(label)),
      label_(label) {
  if (!label_.empty() && !IsDigit(label_.back())) {
    for (char16_t& c : label_)
      if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c + 32);
  }
}

CBibleRef::CBibleRef(CVornDB* db, int book, int chapter, int verse)
    : book_(book), chapter_(chapter), verse_(verse), db_(db) {
  LookUp(verse >= 0 ? Decimal(verse) : std::u16string());
}

CBibleRef::CBibleRef(CVornDB* db, int book, int chapter, std::u16string_view label)
    : book_(book), chapter_(chapter), verse_(LeadingNumber(label)), label_(label), db_(db) {
  LookUp(label);
}

CBibleRef::CBibleRef(CVornDB* db, WordIndex word) : db_(db) {
  const CVornDBVerses* verses = Verses();
  if (verses) Adopt(verses->VerseOfWord(word));
}

CBibleRef::CBibleRef(const CBibleRef& other, CVornDB* target) : CBibleRef(other) {
  if (!target || target == other.db_) return;
  if (other.db_) {
    *this = GetVerseMap(target)->MapReference(other, target);
  } else {
    BindUnbound(target);
  }
}

void CBibleRef::BindUnbound(CVornDB* target) {
  db_ = target;
  entry_ = nullptr;
  book_ = target->GetBookNumber(code_);
  if (book_ == 0) return;
  // The verse the database really has (or its nearest) is adopted whole:
  // keeping the asked-for chapter beside an entry of another chapter would
  // print and store a verse that exists nowhere.
  LookUp(GetVerseLabel());
}

void CBibleRef::FromKeyString(std::u16string_view key) {
  std::u16string_view code = key.substr(0, std::min<size_t>(3, key.size()));
  int chapter = 0;
  std::u16string_view label;
  if (key.size() > 4) {
    std::u16string_view rest = key.substr(4);
    bool negative = !rest.empty() && rest[0] == u'-';
    if (negative) rest.remove_prefix(1);
    size_t digits = 0;
    chapter = LeadingNumber(rest, &digits);
    if (negative) chapter = -chapter;
    rest.remove_prefix(digits);
    // The one separator after the chapter (":") is skipped unseen.
    if (!rest.empty()) label = rest.substr(1);
  }
  *this = CBibleRef(code, chapter, label);
}

CBibleRef CBibleRef::ParseKeyString(std::u16string_view key) {
  CBibleRef ref;
  ref.FromKeyString(key);
  return ref;
}

bool CBibleRef::Parse(std::u16string_view text, CBibleRef* out) {
  text = Trim(text);
  size_t blank = text.find_last_of(u" \t");
  if (blank == std::u16string_view::npos) return false;
  std::u16string_view book = Trim(text.substr(0, blank));
  std::u16string_view cv = text.substr(blank + 1);
  std::u16string code = BookCodeFromName(book);
  if (code.empty()) return false;
  size_t digits = 0;
  int chapter = LeadingNumber(cv, &digits);
  if (digits == 0 || digits > 6 || digits >= cv.size() || cv[digits] != u':') return false;
  std::u16string_view label = cv.substr(digits + 1);
  if (!IsWellFormedLabel(label)) return false;
  *out = CBibleRef(code, chapter, label);
  return true;
}

std::u16string CBibleRef::GetBookCode() const {
  if (!code_.empty()) return code_;
  if (book_ != 0 && db_) return db_->GetBookCode(book_);
  return {};
}

std::u16string CBibleRef::GetVerseLabel() const {
  if (entry_) return CVornDBVerses::GetVerseLabel(entry_);
  if (!label_.empty()) return label_;
  return Decimal(verse_);
}

std::u16string CBibleRef::GetBookName() const { return BookNameFromCode(GetBookCode()); }

std::u16string CBibleRef::GetKeyString() const {
  return GetBookCode() + u" " + Decimal(chapter_) + u":" + GetVerseLabel();
}

std::u16string CBibleRef::FormatLong() const {
  return GetBookName() + u" " + Decimal(chapter_) + u":" + GetVerseLabel();
}

std::u16string CBibleRef::FormatShort() const {
  return ShortBookName(GetBookCode()) + u" " + Decimal(chapter_) + u":" + GetVerseLabel();
}

bool CBibleRef::IsInText(CVornDB* db, int book, std::u16string_view chapter,
                         std::u16string_view label, std::u16string* message) {
  const CVornDBVerses* verses = db ? db->GetVerses() : nullptr;
  int64_t number = 0;
  bool numeric = !chapter.empty() && chapter.size() <= 4;
  for (char16_t c : chapter) {
    if (c < u'0' || c > u'9')
      numeric = false;
    else
      number = number * 10 + (c - u'0');
  }
  VerseKey key;
  if (verses && numeric && CVornDBVerses::MakeCheckedKey(book, number, label, &key) &&
      verses->FindExactVerse(key))
    return true;
  if (message) {
    const std::u16string code = db ? db->GetBookCode(book) : std::u16string();
    std::u16string name = ShortBookName(code);
    if (name.empty()) name = code;
    *message = name + u" " + std::u16string(chapter) + u":" + std::u16string(label) +
               u" is not in this text";
  }
  return false;
}

const CVornDBVerses* CBibleRef::Verses() const {
  if (!db_) return nullptr;
  const CVornDBVerses* verses = db_->GetVerses();
  return verses && verses->GetBookCount() > 0 ? verses : nullptr;
}

VerseEntry CBibleRef::Find(int book, int chapter, int verse, int suffix) const {
  const CVornDBVerses* verses = Verses();
  // The index would clamp a book number outside its books onto another
  // book's verses; such a reference has no verse instead.
  if (!verses || book < 1 || book > verses->GetBookCount()) return nullptr;
  // Key bytes hold 0..255 and chapter 255 marks the closing record; larger
  // numbers become the largest key, which finds the nearest verse before.
  if (chapter > 254) {
    chapter = 254;
    verse = suffix = 255;
  }
  if (verse > 255) verse = suffix = 255;
  auto byte = [](int v) { return static_cast<uint8_t>(std::clamp(v, 0, 255)); };
  return verses->FindVerse({byte(book), byte(chapter), byte(verse), byte(suffix)});
}

void CBibleRef::LookUp(std::u16string_view label) {
  int verse = 0, suffix = 0;
  size_t digits = 0;
  int number = LeadingNumber(label, &digits);
  if (digits > 0) {
    VerseKey key = CVornDBVerses::MakeKey(0, 0, label);
    verse = number;
    suffix = key.suffix;
  }
  Adopt(Find(book_, chapter_, verse, suffix));
}

void CBibleRef::Adopt(VerseEntry e) {
  if (!e) return;
  if (e->book != book_) code_.clear();
  book_ = e->book;
  chapter_ = e->chapter;
  verse_ = e->verse;
  label_ = CVornDBVerses::GetVerseLabel(e);
  entry_ = e;
}

WordIndex CBibleRef::GetFirstWord() const {
  return entry_ ? static_cast<WordIndex>(entry_->first_word) : -1;
}

WordSpan CBibleRef::GetWordSpan() const {
  const CVornDBVerses* verses = Verses();
  return entry_ && verses ? verses->GetWordSpan(entry_) : WordSpan{};
}

WordSpan CBibleRef::GetBookSpan() const {
  const CVornDBVerses* verses = Verses();
  if (!verses || book_ < 1 || book_ > verses->GetBookCount()) return {};
  return verses->GetBookSpan(book_);
}

WordSpan CBibleRef::GetChapterSpan() const {
  const CVornDBVerses* verses = Verses();
  if (!verses || book_ < 1 || book_ > verses->GetBookCount()) return {};
  return verses->GetChapterSpan(book_, chapter_);
}

bool CBibleRef::IsFirstInChapter() const {
  const CVornDBVerses* verses = Verses();
  return entry_ && verses && verses->IsFirstInChapter(entry_);
}

bool CBibleRef::IsFirstInBook() const {
  const CVornDBVerses* verses = Verses();
  return entry_ && verses && verses->IsFirstInBook(entry_);
}

bool CBibleRef::IsEqual(const CBibleRef& other) const {
  if (entry_ && other.entry_) {
    const CVornDBVerses* verses = Verses();
    return db_ == other.db_ && verses && verses->IsSameVerse(entry_, other.entry_);
  }
  return GetBookCode() == other.GetBookCode() && chapter_ == other.chapter_ &&
         verse_ == other.verse_ && GetVerseLabel() == other.GetVerseLabel();
}

bool CBibleRef::IsBefore(std::u16string_view key) const {
  CBibleRef o = ParseKeyString(key);
  int a = BookIndexFromCode(GetBookCode()), b = BookIndexFromCode(o.GetBookCode());
  if (a != b) return a < b;
  if (chapter_ != o.chapter_) return chapter_ < o.chapter_;
  if (verse_ != o.verse_) return verse_ < o.verse_;
  return GetVerseLabel() < o.GetVerseLabel();
}

void CBibleRef::NextVerse() {
  ++verse_;
  label_.clear();
  if (entry_) Adopt(Verses()->NextVerse(entry_));
}

void CBibleRef::PrevVerse() {
  --verse_;
  label_.clear();
  if (entry_) Adopt(Verses()->PrevVerse(entry_));
}

void CBibleRef::NextChapter() {
  if (!entry_) {
    ++chapter_;
    return;
  }
  // The largest key of the chapter finds its last verse.
  VerseEntry last = Find(book_, chapter_, 255, 255);
  label_.clear();
  if (last) Adopt(Verses()->NextVerse(last));
}

void CBibleRef::PrevChapter() {
  if (!entry_) {
    --chapter_;
    return;
  }
  VerseEntry first = Find(book_, chapter_, 0, 0);
  if (!first) return;
  // The verse before the chapter's first lies in the previous chapter (or
  // book); that chapter's first verse is the goal.
  Adopt(Verses()->PrevVerse(first));
  Adopt(Find(book_, chapter_, 0, 0));
}

void CBibleRef::NextBook() {
  if (!entry_) return;
  Adopt(Find(std::min(book_ + 1, Verses()->GetBookCount()), 0, 0, 0));
}

void CBibleRef::PrevBook() {
  if (!entry_) return;
  Adopt(Find(std::max(book_ - 1, 1), 0, 0, 0));
}

void CBibleRef::StartOfBook() { Adopt(Find(book_, 0, 0, 0)); }

void CBibleRef::StepVerses(int steps) {
  if (!entry_) return;
  for (; steps > 0; --steps) NextVerse();
  for (; steps < 0; ++steps) PrevVerse();
}

void CBibleRef::StepChapters(int steps) {
  if (!entry_) return;
  for (; steps > 0; --steps) NextChapter();
  for (; steps < 0; ++steps) PrevChapter();
}

std::vector<std::u16string> CBibleRef::GetBookListNames() const {
  std::vector<std::u16string> names;
  if (!db_) {
    names.push_back(code_);
    return names;
  }
  for (int book = 1;; ++book) {
    std::u16string code = db_->GetBookCode(book);
    if (code.empty()) break;
    names.push_back(BookNameFromCode(code));
  }
  return names;
}

}  // namespace vorn
