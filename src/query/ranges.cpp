#include "query/ranges.h"

#include <unicode/uchar.h>

#include <algorithm>
#include <limits>
#include <utility>

#include "query/query_context.h"
#include "refs/book_table.h"
#include "textdb/verses.h"
#include "textdb/vorn_db.h"

namespace vorn {

namespace {

// Short forms people write for books whose table name and code they do not
// match.
struct Alias {
  const char16_t* alias;
  const char16_t* code;
};
constexpr Alias kAliases[] = {
    {u"gn", u"GEN"}, {u"ge", u"GEN"},  {u"ex", u"EXO"},  {u"le", u"LEV"},  {u"lv", u"LEV"},
    {u"nu", u"NUM"}, {u"de", u"DEU"},  {u"du", u"DEU"},  {u"js", u"JOS"},  {u"jg", u"JDG"},
    {u"ru", u"RUT"}, {u"1kn", u"1KI"}, {u"2kn", u"2KI"}, {u"ez", u"EZR"},  {u"ne", u"NEH"},
    {u"es", u"EST"}, {u"jb", u"JOB"},  {u"ps", u"PSA"},  {u"pr", u"PRO"},  {u"ec", u"ECC"},
    {u"so", u"SNG"}, {u"ss", u"SNG"},  {u"is", u"ISA"},  {u"je", u"JER"},  {u"la", u"LAM"},
    {u"da", u"DAN"}, {u"ho", u"HOS"},  {u"jl", u"JOL"},  {u"am", u"AMO"},  {u"ob", u"OBA"},
    {u"mc", u"MIC"}, {u"na", u"NAM"},  {u"hb", u"HAB"},  {u"zp", u"ZEP"},  {u"hg", u"HAG"},
    {u"zc", u"ZEC"}, {u"ml", u"MAL"},  {u"mt", u"MAT"},  {u"mk", u"MRK"},  {u"lk", u"LUK"},
    {u"lu", u"LUK"}, {u"jh", u"JHN"},  {u"jn", u"JHN"},  {u"ac", u"ACT"},  {u"rm", u"ROM"},
    {u"ga", u"GAL"}, {u"gl", u"GAL"},  {u"ep", u"EPH"},  {u"tt", u"TIT"},  {u"he", u"HEB"},
    {u"ja", u"JAS"}, {u"jm", u"JAS"},  {u"1jh", u"1JN"}, {u"2jh", u"2JN"}, {u"3jh", u"3JN"},
    {u"ju", u"JUD"}, {u"re", u"REV"},
};
static_assert(std::size(kAliases) == 57);

// Chapter and verse numbers above this say nothing a smaller one would not;
// the cap keeps the arithmetic in range.
constexpr int32_t kMaxNumber = 99999;

char16_t Lower(char16_t c) {
  return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c;
}

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

bool IsLetter(char16_t c) { return u_isalpha(c) != 0; }

// Reads one piece of a range list; positions are indexes into the piece.
class CRangeReader {
 public:
  explicit CRangeReader(std::u16string_view piece) {
    text_.reserve(piece.size());
    for (char16_t c : piece) text_.push_back(Lower(c));
  }

  enum class Book { kNone, kFound, kUnknown };

  size_t size() const { return text_.size(); }
  bool AtEnd() const { return pos_ >= text_.size(); }
  char16_t Peek(size_t ahead = 0) const {
    return pos_ + ahead < text_.size() ? text_[pos_ + ahead] : 0;
  }
  size_t Pos() const { return pos_; }
  void Skip(size_t n) { pos_ += n; }

  void SkipBlanks() {
    while (pos_ < text_.size() && text_[pos_] == u' ') ++pos_;
  }

  int32_t ReadNumber() {
    int32_t value = 0;
    while (!AtEnd() && IsDigit(Peek())) {
      value = std::min(value * 10 + (Peek() - u'0'), kMaxNumber);
      ++pos_;
    }
    return value;
  }

  // An optional digit 1 to 3, blanks, then a run of letters. Without
  // letters nothing is read (a chapter number is no book prefix).
  Book ReadBook(std::u16string* code, size_t* letters_first, size_t* letters_last) {
    SkipBlanks();
    const size_t before = pos_;
    std::u16string name;
    if (!AtEnd() && Peek() >= u'1' && Peek() <= u'3') {
      name.push_back(Peek());
      ++pos_;
      SkipBlanks();
    }
    if (AtEnd() || !IsLetter(Peek())) {
      pos_ = before;
      return Book::kNone;
    }
    *letters_first = pos_;
    while (!AtEnd() && IsLetter(Peek())) name.push_back(text_[pos_++]);
    *letters_last = pos_ - 1;
    *code = RangeBookCode(name);
    return code->empty() ? Book::kUnknown : Book::kFound;
  }

  // Chapter and optional ":" verse, as far as they stand there.
  void ReadChapterVerse(int32_t* chapter, int32_t* verse) {
    SkipBlanks();
    if (AtEnd() || !IsDigit(Peek())) return;
    *chapter = ReadNumber();
    SkipBlanks();
    if (Peek() == u':') {
      ++pos_;
      *verse = ReadNumber();
      SkipBlanks();
    }
  }

 private:
  std::u16string text_;
  size_t pos_ = 0;
};

}  // namespace

std::u16string RangeBookCode(std::u16string_view name) {
  std::u16string text(name);
  if (text.size() >= 4 && text[0] >= u'1' && text[0] <= u'3') text.insert(1, 1, u' ');
  std::u16string code = BookCodeFromName(text);
  if (!code.empty()) return code;
  for (const Alias& a : kAliases) {
    std::u16string_view alias(a.alias);
    if (alias.size() != text.size()) continue;
    bool same = true;
    for (size_t i = 0; i < alias.size() && same; ++i) same = Lower(text[i]) == alias[i];
    if (same) return a.code;
  }
  return {};
}

// ---- CQRange ----

QErrorPtr CQRange::Parse(std::u16string_view piece, int32_t offset) {
  CRangeReader r(piece);
  r.SkipBlanks();
  const size_t first = r.Pos();
  size_t last = piece.size();
  while (last > first && piece[last - 1] == u' ') --last;
  start_ = offset + static_cast<int32_t>(first);
  last_ = last > first ? static_cast<int32_t>(last - 1 - first) : 0;
  auto at = [&](size_t pos) { return offset + static_cast<int32_t>(pos); };
  auto error_at = [&](const char16_t* message, size_t pos) {
    const size_t p = std::min(pos, piece.size());
    return MakeQError(message, at(p), at(p));
  };

  size_t lf = 0, ll = 0;
  switch (r.ReadBook(&first_book_, &lf, &ll)) {
    case CRangeReader::Book::kNone:
      return error_at(u"No book specified", first);
    case CRangeReader::Book::kUnknown:
      return MakeQError(u"Unrecognised book", at(lf), at(ll));
    case CRangeReader::Book::kFound:
      break;
  }
  r.ReadChapterVerse(&first_chapter_, &first_verse_);
  r.SkipBlanks();
  if (r.AtEnd()) return nullptr;
  if (r.Peek() == u'-') {
    r.Skip(1);
  } else if (r.Peek() == u't' && r.Peek(1) == u'o') {
    r.Skip(2);
  } else {
    return error_at(u"Expected \"to\" or \"-\"", r.Pos());
  }
  switch (r.ReadBook(&last_book_, &lf, &ll)) {
    case CRangeReader::Book::kNone:
      last_book_ = first_book_;
      break;
    case CRangeReader::Book::kUnknown:
      return MakeQError(u"Unrecognised book", at(lf), at(ll));
    case CRangeReader::Book::kFound:
      break;
  }
  r.ReadChapterVerse(&last_chapter_, &last_verse_);
  r.SkipBlanks();
  if (!r.AtEnd()) return error_at(u"Unexpected text after range", r.Pos());
  return nullptr;
}

namespace {

// The span of a book, a chapter of it or a verse of that chapter, as far as
// given; false when the database lacks the book.
bool FindSpan(CVornDB* db, const std::u16string& code, int32_t chapter, int32_t verse,
              WordSpan* span) {
  const CVornDBVerses* verses = db ? db->GetVerses() : nullptr;
  if (!verses) return false;
  const int book = db->GetBookNumber(code);
  if (book < 1 || book > verses->GetBookCount()) return false;
  if (chapter == -1) {
    *span = verses->GetBookSpan(book);
    return true;
  }
  // A number below 1 names no chapter or verse: the look-up takes the first.
  const int ch = std::clamp(chapter, 0, 254);
  if (verse == -1) {
    *span = verses->GetChapterSpan(book, ch);
    return true;
  }
  VerseEntry e = verses->FindVerse({static_cast<uint8_t>(book), static_cast<uint8_t>(ch),
                                    static_cast<uint8_t>(std::clamp(verse, 0, 255)), 0});
  if (!e) return false;
  *span = verses->GetWordSpan(e);
  return true;
}

}  // namespace

QErrorPtr CQRange::Resolve(CQueryContext* context) {
  CVornDB* db = context ? context->GetDatabase() : nullptr;
  auto fail = [&](const char16_t* message) { return MakeQError(message, start_, start_ + last_); };
  WordSpan first;
  if (!FindSpan(db, first_book_, first_chapter_, first_verse_, &first))
    return fail(u"Book not in this bible");
  span_start_ = first.first;
  span_end_ = first.end;
  if (last_book_.empty()) return nullptr;
  WordSpan last;
  if (!FindSpan(db, last_book_, last_chapter_, last_verse_, &last))
    return fail(u"Book not in this bible");
  span_end_ = last.end;
  if (span_end_ != -1 && span_start_ >= span_end_) return fail(u"Range must be in canonical order");
  return nullptr;
}

bool CQRange::Contains(int64_t word) const {
  return word != -1 && word >= span_start_ && (span_end_ == -1 || word < span_end_);
}

// ---- CQRanges ----

QErrorPtr CQRanges::ParseList(std::u16string_view text, int32_t start) {
  size_t pos = std::min(static_cast<size_t>(std::max(start, 0)), text.size());
  for (;;) {
    const size_t comma = text.find(u',', pos);
    const size_t end = comma == std::u16string_view::npos ? text.size() : comma;
    CQRange range;
    if (QErrorPtr e = range.Parse(text.substr(pos, end - pos), static_cast<int32_t>(pos))) return e;
    ranges_.push_back(std::move(range));
    if (comma == std::u16string_view::npos) return nullptr;
    pos = comma + 1;
  }
}

QErrorPtr CQRanges::Resolve(CQueryContext* context) {
  for (CQRange& r : ranges_) {
    if (QErrorPtr e = r.Resolve(context)) return e;
  }
  return nullptr;
}

bool CQRanges::Contains(int64_t word) const {
  for (const CQRange& r : ranges_)
    if (r.Contains(word)) return true;
  return false;
}

void CQRanges::Filter(CDBWordList* hits) const {
  std::vector<std::pair<int64_t, int64_t>> spans;
  spans.reserve(ranges_.size());
  for (const CQRange& r : ranges_) {
    const int64_t end = r.GetSpanEnd() == -1 ? std::numeric_limits<int64_t>::max() : r.GetSpanEnd();
    if (end > r.GetSpanStart()) spans.emplace_back(r.GetSpanStart(), end);
  }
  std::sort(spans.begin(), spans.end());
  std::vector<std::pair<int64_t, int64_t>> merged;
  for (const auto& s : spans) {
    if (!merged.empty() && s.first <= merged.back().second)
      merged.back().second = std::max(merged.back().second, s.second);
    else
      merged.push_back(s);
  }
  std::vector<uint32_t>& words = hits->mutable_words();
  size_t k = 0;
  size_t out = 0;
  for (uint32_t w : words) {
    // A word of -1 lies in no range.
    if (w == 0xFFFFFFFFu) continue;
    while (k < merged.size() && merged[k].second <= w) ++k;
    if (k < merged.size() && merged[k].first <= w) words[out++] = w;
  }
  words.resize(out);
}

}  // namespace vorn
