#include "textdb/verses.h"

#include <algorithm>
#include <cstdlib>
#include <functional>

#include "platform/u16.h"

namespace vorn {

namespace {
bool KeyLess(const VerseNdx& a, const VerseNdx& b) { return KeyOf(a) < KeyOf(b); }
}  // namespace

CVornDBVerses::CVornDBVerses(const std::string& folder) : file_(folder, "verses.ndx") {}
CVornDBVerses::~CVornDBVerses() = default;

bool CVornDBVerses::Open(uint32_t word_count) {
  if (!file_.Open()) return false;
  // Everything the look-ups below trust without checking is checked here:
  // whole records, a closing record, text order, book grouping.
  const uint32_t n = file_.GetCount();
  if (file_.GetSize() % sizeof(VerseNdx) != 0 || n == 0) return false;
  const VerseNdx& closing = file_[n - 1];
  if (closing.chapter != kClosingChapter) return false;
  if (word_count != 0 && closing.first_word != word_count) return false;
  uint8_t prev_book = 0;
  uint32_t prev_word = 0;
  for (uint32_t i = 0; i + 1 < n; ++i) {
    const VerseNdx& r = file_[i];
    if (r.book == 0 || r.book < prev_book || r.chapter == kClosingChapter) return false;
    if (r.first_word < prev_word || r.first_word > closing.first_word) return false;
    prev_book = r.book;
    prev_word = r.first_word;
  }
  if (n > 1 && closing.book <= prev_book) return false;
  book_count_ = n > 1 ? file_[n - 2].book : 0;
  book_lists_.assign(static_cast<size_t>(book_count_) + 1, {});
  built_.assign(static_cast<size_t>(book_count_) + 1, false);
  if (book_count_ > 0) GetBookList(1);
  return true;
}

uint32_t CVornDBVerses::LowerBoundKey(VerseKey key) const {
  // Books ascend through the file, so "key below (b, 0, 0, 0)" is monotone
  // even though verses within a book may stand out of order.
  const VerseNdx* b = file_.begin();
  const VerseNdx* e = file_.end();
  const VerseNdx* it =
      std::partition_point(b, e, [&](const VerseNdx& r) { return KeyOf(r) < key; });
  return static_cast<uint32_t>(it - b);
}

const std::vector<VerseNdx>& CVornDBVerses::GetBookList(int book) const {
  static const std::vector<VerseNdx> kEmpty;
  if (book_count_ == 0) return kEmpty;
  book = std::clamp(book, 1, book_count_);
  if (!built_[book]) {
    uint32_t lo = LowerBoundKey({static_cast<uint8_t>(book), 0, 0, 0});
    uint32_t hi = LowerBoundKey({static_cast<uint8_t>(book + 1), 0, 0, 0});
    std::vector<VerseNdx>& list = book_lists_[book];
    list.assign(file_.begin() + lo, file_.begin() + hi);
    std::stable_sort(list.begin(), list.end(), KeyLess);
    list.push_back(file_[std::min(hi, file_.GetCount() - 1)]);
    built_[book] = true;
  }
  return book_lists_[book];
}

VerseEntry CVornDBVerses::FindVerse(VerseKey key) const {
  const std::vector<VerseNdx>& list = GetBookList(key.book);
  if (list.empty()) return nullptr;
  if (list.size() == 1) {
    // A book without verses: the next book's first verse, if any.
    return list[0].chapter == kClosingChapter ? nullptr : &list[0];
  }
  VerseNdx probe{0, key.book, key.chapter, key.verse, key.suffix};
  auto it = std::lower_bound(list.begin(), list.end() - 1, probe, KeyLess);
  if (it == list.end() - 1 && KeyOf(*it) < key) {
    // Keys above the closing copy cannot occur for a clamped book; stay safe.
    return &*(it - 1);
  }
  if (KeyOf(*it) == key || it == list.begin()) return &*it;
  const VerseNdx& before = *(it - 1);
  if (before.chapter != key.chapter && it->book == key.book && it->chapter != kClosingChapter)
    return &*it;
  return &before;
}

VerseEntry CVornDBVerses::FindExactVerse(VerseKey key) const {
  if (key.book < 1 || key.book > book_count_ || key.chapter == kClosingChapter) return nullptr;
  const std::vector<VerseNdx>& list = GetBookList(key.book);
  if (list.size() < 2) return nullptr;
  // The chapter's records are neighbours in the sorted list.
  VerseNdx probe{0, key.book, key.chapter, 0, 0};
  auto it = std::lower_bound(list.begin(), list.end() - 1, probe, KeyLess);
  for (; it != list.end() - 1 && it->chapter == key.chapter; ++it) {
    if (KeyOf(*it) == key) return &*it;
    if (it->verse == key.verse && key.suffix == 0) return &*it;
    const bool range = it->suffix >= 128;
    if (range && it->verse <= key.verse && key.verse <= it->suffix - 128 &&
        (key.suffix == 0 || (key.suffix >= 128 && key.suffix - 128 <= it->suffix - 128)))
      return &*it;
  }
  return nullptr;
}

VerseEntry CVornDBVerses::VerseOfWord(WordIndex word) const {
  const uint32_t n = file_.GetCount();
  if (word < 0 || n < 2 || static_cast<uint32_t>(word) >= file_[n - 1].first_word) return nullptr;
  const VerseNdx* b = file_.begin();
  const VerseNdx* e = b + (n - 1);
  const VerseNdx* it = std::partition_point(
      b, e, [&](const VerseNdx& r) { return r.first_word < static_cast<uint32_t>(word); });
  if (it != e && it->first_word == static_cast<uint32_t>(word)) return it;
  // Words before the first verse (an index that does not start at word 0)
  // belong to no verse.
  if (it == b) return nullptr;
  return it - 1;
}

bool CVornDBVerses::IsWithin(VerseEntry entry, const VerseNdx* begin, const VerseNdx* end) {
  // An entry may point anywhere (a caller's own copy of a record), and
  // only std::less orders pointers into different arrays.
  std::less<const VerseNdx*> less;
  return !less(entry, begin) && less(entry, end);
}

void CVornDBVerses::SequenceOf(VerseEntry entry, const VerseNdx** begin,
                               const VerseNdx** end) const {
  if (IsWithin(entry, file_.begin(), file_.end())) {
    *begin = file_.begin();
    *end = file_.end();
    return;
  }
  for (const auto& list : book_lists_) {
    if (!list.empty() && IsWithin(entry, list.data(), list.data() + list.size())) {
      *begin = list.data();
      *end = list.data() + list.size();
      return;
    }
  }
  *begin = *end = nullptr;
}

VerseEntry CVornDBVerses::ToBookList(VerseEntry entry) const {
  if (!entry) return nullptr;
  const VerseNdx *b, *e;
  SequenceOf(entry, &b, &e);
  if (b && b != file_.begin() && entry + 1 < e) return entry;  // a real record of a list
  if (entry->chapter == kClosingChapter) return nullptr;
  return FindVerse(KeyOf(*entry));
}

VerseEntry CVornDBVerses::NextVerse(VerseEntry entry) const {
  VerseEntry e = ToBookList(entry);
  if (!e) return entry;
  const std::vector<VerseNdx>& list = GetBookList(e->book);
  size_t idx = static_cast<size_t>(e - list.data());
  if (idx + 2 < list.size()) return &list[idx + 1];
  const VerseNdx& copy = list.back();
  if (copy.chapter == kClosingChapter) return e;
  const std::vector<VerseNdx>& next = GetBookList(copy.book);
  return next.size() > 1 ? &next[0] : e;
}

VerseEntry CVornDBVerses::PrevVerse(VerseEntry entry) const {
  VerseEntry e = ToBookList(entry);
  if (!e) return entry;
  const std::vector<VerseNdx>& list = GetBookList(e->book);
  size_t idx = static_cast<size_t>(e - list.data());
  if (idx > 0) return &list[idx - 1];
  for (int book = e->book - 1; book >= 1; --book) {
    const std::vector<VerseNdx>& prev = GetBookList(book);
    if (prev.size() > 1) return &prev[prev.size() - 2];
  }
  return e;
}

bool CVornDBVerses::IsSameVerse(VerseEntry a, VerseEntry b) const {
  VerseEntry x = ToBookList(a), y = ToBookList(b);
  return x && x == y;
}

WordSpan CVornDBVerses::GetWordSpan(VerseEntry entry) const {
  if (!entry) return {};
  // A verse's words run to the next verse in text order. A book list is
  // sorted by key, so for a verse stored out of numeric order its list
  // neighbour is not where its words end: find the record in the file.
  const VerseNdx* b = file_.begin();
  const VerseNdx* e = file_.end();
  const VerseNdx* rec = entry;
  if (!IsWithin(entry, b, e)) {
    const VerseNdx* it = std::partition_point(
        b, e, [&](const VerseNdx& r) { return r.first_word < entry->first_word; });
    while (it != e && it->first_word == entry->first_word && KeyOf(*it) != KeyOf(*entry)) ++it;
    if (it == e || it->first_word != entry->first_word) return {};
    rec = it;
  }
  if (rec + 1 >= e)
    return {static_cast<WordIndex>(rec->first_word), static_cast<WordIndex>(rec->first_word)};
  return {static_cast<WordIndex>(rec->first_word), static_cast<WordIndex>(rec[1].first_word)};
}

bool CVornDBVerses::IsFirstInChapter(VerseEntry entry) const {
  if (!entry) return false;
  const VerseNdx *b, *e;
  SequenceOf(entry, &b, &e);
  if (!b || entry == b) return true;
  // In text order the record before may end another book in a chapter of
  // the same number (a one-chapter book followed by chapter 1).
  return entry[-1].chapter != entry->chapter || entry[-1].book != entry->book;
}

bool CVornDBVerses::IsFirstInBook(VerseEntry entry) const {
  if (!entry) return false;
  const VerseNdx *b, *e;
  SequenceOf(entry, &b, &e);
  if (!b || entry == b) return true;
  return entry[-1].book != entry->book;
}

WordSpan CVornDBVerses::GetBookSpan(int book) const {
  if (book_count_ == 0) return {};
  book = std::clamp(book, 1, book_count_);
  // Text order, not key order: the book runs from its first record in the
  // file to the next book's first record.
  uint32_t lo = LowerBoundKey({static_cast<uint8_t>(book), 0, 0, 0});
  uint32_t hi = LowerBoundKey({static_cast<uint8_t>(book + 1), 0, 0, 0});
  hi = std::min(hi, file_.GetCount() - 1);
  if (lo > hi) lo = hi;
  return {static_cast<WordIndex>(file_[lo].first_word),
          static_cast<WordIndex>(file_[hi].first_word)};
}

WordSpan CVornDBVerses::GetChapterSpan(int book, int chapter) const {
  if (book_count_ == 0) return {};
  const std::vector<VerseNdx>& list = GetBookList(book);
  // The words of every verse of the chapter, wherever they stand.
  WordIndex first = -1, end = -1;
  for (size_t i = 0; i + 1 < list.size(); ++i) {
    if (list[i].chapter != chapter) continue;
    WordSpan s = GetWordSpan(&list[i]);
    if (first == -1 || s.first < first) first = s.first;
    if (s.end > end) end = s.end;
  }
  if (first != -1) return {first, end};
  // No such chapter: the nearest verses by the look-up rule.
  auto clamp8 = [](int v) { return static_cast<uint8_t>(std::clamp(v, 0, 254)); };
  uint8_t b = static_cast<uint8_t>(std::clamp(book, 1, book_count_));
  VerseEntry a = FindVerse({b, clamp8(chapter), 0, 0});
  VerseEntry z = FindVerse({b, clamp8(chapter < 254 ? chapter + 1 : 254), 0, 0});
  if (!a || !z) return {};
  return {static_cast<WordIndex>(a->first_word), static_cast<WordIndex>(z->first_word)};
}

VerseKey CVornDBVerses::MakeKey(int book, int chapter, std::u16string_view label) {
  std::string s = platform::ToUtf8(label);
  const char* p = s.c_str();
  char* rest = nullptr;
  long verse = std::strtol(p, &rest, 10);
  // strtol also skips leading blanks and takes a sign; a label is digits first.
  if (rest == p) verse = 0;
  const char* after = rest;
  // Clamped before its magnitude is taken: strtol gives LONG_MIN for a long
  // run of digits after '-', whose absolute value does not exist.
  long second = std::clamp(std::strtol(after, nullptr, 10), -127L, 127L);
  uint8_t suffix;
  if (second != 0) {
    suffix = static_cast<uint8_t>(128 + std::labs(second));
  } else {
    suffix = static_cast<uint8_t>(static_cast<unsigned char>(*after) & 0x7F);
    if (static_cast<unsigned char>(*after) >= 0x80) suffix = 0;  // not a single-byte letter
  }
  return {static_cast<uint8_t>(book), static_cast<uint8_t>(chapter), static_cast<uint8_t>(verse),
          suffix};
}

bool CVornDBVerses::MakeCheckedKey(int64_t book, int64_t chapter, std::u16string_view label,
                                   VerseKey* key) {
  if (book < 1 || book >= kClosingChapter || chapter < 0 || chapter >= kClosingChapter)
    return false;
  if (label.empty() || label[0] < u'0' || label[0] > u'9') return false;
  size_t i = 0;
  int64_t verse = 0;
  for (; i < label.size() && label[i] >= u'0' && label[i] <= u'9'; ++i) {
    verse = verse * 10 + (label[i] - u'0');
    if (verse > 255) return false;
  }
  // After the number: nothing, one letter, or "-" and the range's last verse.
  const std::u16string_view rest = label.substr(i);
  if (rest.size() > 1 && rest[0] == u'-') {
    int64_t last = 0;
    for (size_t k = 1; k < rest.size(); ++k) {
      if (rest[k] < u'0' || rest[k] > u'9') return false;
      last = last * 10 + (rest[k] - u'0');
      if (last > 127) return false;
    }
    if (last == 0) return false;
  } else if (!rest.empty()) {
    const char16_t c = rest[0];
    if (rest.size() > 1 || !((c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'))) return false;
  }
  *key = MakeKey(static_cast<int>(book), static_cast<int>(chapter), label);
  return true;
}

std::u16string CVornDBVerses::GetVerseLabel(VerseKey key) {
  std::string s = std::to_string(key.verse);
  if (key.suffix >= 128) {
    s += "-" + std::to_string(key.suffix - 128);
  } else if (key.suffix != 0) {
    s.push_back(static_cast<char>(key.suffix));
  }
  return platform::ToU16(s);
}

}  // namespace vorn
