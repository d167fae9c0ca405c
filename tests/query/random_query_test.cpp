// The reference evaluator: random queries over random small databases, each
// answered twice — by the engine, and by a direct scan that checks every
// word against what the query means (a term's matches, the same unit or a
// distance of units, a direction, a position in a unit, a range). The scan
// knows nothing of windows, merges or look-ups; it numbers the units of
// every word from the source data and compares numbers.

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <set>

#include "platform/u16.h"
#include "query/query_test_util.h"

namespace vorn::testing {
namespace {

using Rng = std::mt19937;

int Pick(Rng& rng, int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); }
bool Chance(Rng& rng, double p) { return std::uniform_real_distribution<double>(0, 1)(rng) < p; }
template <typename T>
const T& PickOf(Rng& rng, const std::vector<T>& v) {
  return v[static_cast<size_t>(Pick(rng, static_cast<int>(v.size())))];
}

// ---- the random database and what the scan knows of it ----

struct VerseInfo {
  std::string book;
  int chapter = 0;
  int verse = 0;
  uint32_t first = 0;
  uint32_t end = 0;
};

struct Model {
  size_t words = 0;
  std::vector<std::u16string> lines[2];  // Text, Gloss
  std::vector<VerseInfo> verses;
  // Unit numbers of every word: equal numbers make one unit, and the
  // difference of two numbers is the distance in units.
  std::vector<int> sentence, paragraph, verse, chapter, proposition;
  std::vector<FakeContext::Tag> tags;
  std::vector<uint32_t> proposition_starts;
};

const std::vector<std::u16string> kTextWords = {u"a",  u"b",   u"c",  u"ab",
                                                u"ba", u"abc", u"ca", u"bb"};
const std::vector<std::u16string> kGlossWords = {u"x", u"y", u"xy", u"yx", u"z"};
const std::vector<std::string> kBooks = {"GEN", "EXO", "RUT", "1SA", "MAT", "MRK"};

// Numbers words by the starts of their units (a start at 0 is implied).
std::vector<int> NumberByStarts(size_t words, const std::set<uint32_t>& starts) {
  std::vector<int> id(words);
  int current = 0;
  for (uint32_t w = 0; w < words; ++w) {
    if (w > 0 && starts.count(w)) ++current;
    id[w] = current;
  }
  return id;
}

std::vector<WordSpan> RandomSpans(Rng& rng, size_t words, double p) {
  std::vector<WordSpan> spans;
  for (uint32_t w = 0; w < words;) {
    if (Chance(rng, p)) {
      const uint32_t end = std::min<uint32_t>(static_cast<uint32_t>(words),
                                              w + 1 + static_cast<uint32_t>(Pick(rng, 4)));
      spans.push_back({static_cast<WordIndex>(w), static_cast<WordIndex>(end)});
      w = end + static_cast<uint32_t>(Pick(rng, 2));  // spans may touch
    } else {
      ++w;
    }
  }
  if (spans.empty()) spans.push_back({0, 1});
  return spans;
}

// `large` makes enough units (about 70 sentences) for windows wider than
// the engine widens step by step.
DBSource MakeRandomDatabase(Rng& rng, bool large, Model* m) {
  std::vector<std::string> books;
  for (const std::string& b : kBooks)
    if (Chance(rng, 0.6)) books.push_back(b);
  if (books.empty()) books.push_back("GEN");
  std::vector<TestVerse> verses;
  for (const std::string& b : books) {
    const int chapters = 1 + Pick(rng, large ? 8 : 3);
    for (int c = 1; c <= chapters; ++c) {
      const int count = 1 + Pick(rng, large ? 10 : 4);
      for (int v = 1; v <= count; ++v) {
        TestVerse tv{b, c, platform::ToU16(std::to_string(v)), {}, {}};
        const int n = Chance(rng, 0.08) ? 0 : 1 + Pick(rng, 5);
        for (int i = 0; i < n; ++i) {
          tv.text.push_back(PickOf(rng, kTextWords));
          tv.gloss.push_back(PickOf(rng, kGlossWords));
        }
        verses.push_back(tv);
      }
    }
  }
  DBSource s = MakeQuerySource(books, verses);
  m->words = s.lines[0].words.size();
  if (m->words == 0) {  // a text needs words
    s.lines[0].words.push_back(u"a");
    s.lines[1].words.push_back(u"x");
    m->words = 1;
  }
  m->lines[0] = s.lines[0].words;
  m->lines[1] = s.lines[1].words;

  // Verses and chapters in text order, as the source lists them.
  m->verse.assign(m->words, -1);
  m->chapter.assign(m->words, -1);
  int chapter_number = -1;
  for (size_t i = 0; i < s.verses.size(); ++i) {
    const DBVerse& v = s.verses[i];
    if (i == 0 || v.book != s.verses[i - 1].book || v.chapter != s.verses[i - 1].chapter)
      ++chapter_number;
    const uint32_t end =
        i + 1 < s.verses.size() ? s.verses[i + 1].first_word : static_cast<uint32_t>(m->words);
    m->verses.push_back({books[static_cast<size_t>(v.book - 1)], v.chapter,
                         std::stoi(platform::ToUtf8(v.label)), v.first_word, end});
    for (uint32_t w = v.first_word; w < end; ++w) {
      m->verse[w] = static_cast<int>(i);
      m->chapter[w] = chapter_number;
    }
  }

  std::set<uint32_t> sentence_starts, paragraph_starts;
  for (uint32_t w = 0; w < m->words; ++w) {
    if (Chance(rng, 0.25)) sentence_starts.insert(w);
    if (w > 0 && Chance(rng, 0.05)) {
      s.headings.push_back({w, {{2, {u"Section"}}}});
      paragraph_starts.insert(w);
    }
    if (Chance(rng, 0.08)) {
      s.formats.push_back({w, u"p"});
      paragraph_starts.insert(w);
    }
  }
  s.sentence_starts.assign(sentence_starts.begin(), sentence_starts.end());
  m->sentence = NumberByStarts(m->words, sentence_starts);
  m->paragraph = NumberByStarts(m->words, paragraph_starts);

  std::set<uint32_t> props = {0};
  for (uint32_t w = 1; w < m->words; ++w)
    if (Chance(rng, 0.3)) props.insert(w);
  m->proposition_starts.assign(props.begin(), props.end());
  m->proposition = NumberByStarts(m->words, props);

  m->tags = {{u"Theme", true, RandomSpans(rng, m->words, 0.15)},
             {u"Other", true, RandomSpans(rng, m->words, 0.3)},
             {u"Hidden", false, RandomSpans(rng, m->words, 0.3)}};
  return s;
}

// ---- random queries ----

enum Unit { kWord, kSentence, kParagraph, kVerse, kChapter, kUserTag, kProposition };
enum PosUnit { kPosSentence, kPosParagraph, kPosVerse, kPosProposition };

struct Node {
  bool term = true;
  // A term.
  int line = 0;  // 0 Text, 1 Gloss, -1 a user tag
  std::u16string word;
  int position = -1;  // 0 initial .. 5 non-final
  int position_unit = 0;
  int start = 0, end = 0;
  // A compound.
  int kind = 0;  // 0 union, 1 intersect, 2 except
  int direction = 0;
  int amount = 0;
  int unit = kWord;
  size_t tag = 0;  // of the proximity's user tag
  std::unique_ptr<Node> left, right;
};

struct Range {
  uint32_t first = 0, end = 0;
  bool has_last = false;
  int start = 0, last = 0;  // character positions of its text
};

struct Query {
  std::u16string text;
  std::unique_ptr<Node> root;
  std::vector<Range> ranges;
};

std::u16string Cased(Rng& rng, const std::u16string& word) {
  std::u16string out = word;
  const int how = Pick(rng, 4);
  for (size_t i = 0; i < out.size(); ++i) {
    const bool upper = how == 1 || (how == 2 && i == 0);
    if (upper && out[i] >= u'a' && out[i] <= u'z') out[i] = static_cast<char16_t>(out[i] - 32);
  }
  return out;
}

class QueryMaker {
 public:
  QueryMaker(Rng& rng, const Model& m) : rng_(rng), m_(m) {}

  Query Make() {
    Query q;
    q.root = MakeNode(0);
    Print(q.root.get(), false);
    // A group still open at the end of the text ends there.
    if (!out_.empty() && out_.back() == u')' && Chance(rng_, 0.5)) out_.pop_back();
    if (Chance(rng_, 0.3)) {
      out_ += Chance(rng_, 0.5) ? u" in " : u" IN  ";
      const int n = 1 + Pick(rng_, 2);
      for (int i = 0; i < n; ++i) {
        if (i) out_ += Chance(rng_, 0.5) ? u", " : u",";
        q.ranges.push_back(AddRange());
      }
    }
    q.text = out_;
    return q;
  }

 private:
  std::unique_ptr<Node> MakeNode(int depth) {
    auto n = std::make_unique<Node>();
    if (depth < 3 && Chance(rng_, depth == 0 ? 0.75 : 0.4)) {
      n->term = false;
      n->kind = Pick(rng_, 3);
      if (n->kind != 0) {
        n->direction = Pick(rng_, 3);
        if (Chance(rng_, 0.75)) {
          n->unit = Pick(rng_, 7);
          // Amounts above 16 make the engine list every unit start first.
          const bool listed =
              n->unit == kSentence || n->unit == kParagraph || n->unit == kProposition;
          n->amount = n->unit == kUserTag           ? 0
                      : listed && Chance(rng_, 0.3) ? 17 + Pick(rng_, 4)
                                                    : Pick(rng_, 4);
          n->tag = static_cast<size_t>(Pick(rng_, 2));
          within_.push_back(true);
        } else {
          n->unit = kWord;
          n->amount = n->direction ? 1 : 0;
          within_.push_back(false);
        }
      }
      n->left = MakeNode(depth + 1);
      n->right = MakeNode(depth + 1);
      return n;
    }
    if (Chance(rng_, 0.12)) {
      n->line = -1;
      n->word = Cased(rng_, m_.tags[static_cast<size_t>(Pick(rng_, 2))].name);
    } else {
      n->line = Chance(rng_, 0.7) ? 0 : 1;
      const std::vector<std::u16string>& vocab = n->line == 0 ? kTextWords : kGlossWords;
      const int r = Pick(rng_, 100);
      if (r < 2) {
        n->word = u"qq";  // matches nothing
      } else if (r < 70) {
        n->word = PickOf(rng_, vocab);
      } else {
        static const std::vector<std::u16string> kText = {u"a*", u"*b",  u"?",   u"??", u"*",
                                                          u"a?", u"*a*", u"b*c", u"?b*"};
        static const std::vector<std::u16string> kGloss = {u"x*", u"*y", u"?", u"*", u"?x"};
        n->word = PickOf(rng_, n->line == 0 ? kText : kGloss);
      }
    }
    if (Chance(rng_, 0.2)) {
      n->position = Pick(rng_, 6);
      n->position_unit = Pick(rng_, 4);
    }
    return n;
  }

  void Blank() { out_ += Chance(rng_, 0.9) ? u" " : u"  "; }

  void Print(Node* n, bool as_left) {
    if (n->term) {
      n->start = static_cast<int>(out_.size());
      static const std::vector<std::u16string> kTextKeys = {u"text", u"txt", u"TEXT", u"Text"};
      static const std::vector<std::u16string> kGlossKeys = {u"gloss", u"g", u"GLOSS"};
      static const std::vector<std::u16string> kTagKeys = {u"usertag", u"u", u"ut", u"UserTag"};
      out_ += PickOf(rng_, n->line == 0 ? kTextKeys : n->line == 1 ? kGlossKeys : kTagKeys);
      Blank();
      if (Chance(rng_, 0.15))
        out_ += u"\"" + n->word + u"\"";
      else
        out_ += n->word;
      if (n->position >= 0) {
        static const std::vector<std::vector<std::u16string>> kWords = {
            {u"initial"},         {u"non-initial", u"noninitial"},
            {u"medial"},          {u"non-medial", u"nonmedial"},
            {u"final", u"Final"}, {u"non-final", u"nonfinal"}};
        static const std::vector<std::vector<std::u16string>> kUnits = {{u"sentence"},
                                                                        {u"paragraph", u"para"},
                                                                        {u"verse", u"VERSE"},
                                                                        {u"proposition", u"prop"}};
        Blank();
        out_ += PickOf(rng_, kWords[static_cast<size_t>(n->position)]) + u" in a ";
        out_ += PickOf(rng_, kUnits[static_cast<size_t>(n->position_unit)]);
      }
      n->end = static_cast<int>(out_.size()) - 1;
      return;
    }
    const bool group = as_left || Chance(rng_, 0.1);
    if (group) out_ += Chance(rng_, 0.5) ? u"(" : u"( ";
    const bool within = n->kind == 0 ? false : within_[next_within_++];
    if (n->left->term && Chance(rng_, 0.1)) {
      out_ += u"(";
      Print(n->left.get(), false);
      out_ += u")";
    } else {
      Print(n->left.get(), !n->left->term);
    }
    Blank();
    static const std::vector<std::u16string> kUnion = {
        u"or", u"plus", u"union", u"enlarge", u"combined with", u"enlarged by", u"OR"};
    static const std::vector<std::u16string> kIntersect = {
        u"and", u"intersect", u"intersection", u"narrowed", u"narrowed with", u"narrowed by",
        u"",    u""};
    static const std::vector<std::u16string> kExcept = {u"not", u"without", u"minus", u"except for",
                                                        u"Not"};
    const std::u16string& op = PickOf(rng_, n->kind == 0   ? kUnion
                                            : n->kind == 1 ? kIntersect
                                                           : kExcept);
    out_ += op;
    if (!op.empty()) Blank();
    if (n->kind != 0) {
      if (n->direction == 1) out_ += Chance(rng_, 0.5) ? u"preceding " : u"before ";
      if (n->direction == 2) out_ += Chance(rng_, 0.5) ? u"following " : u"After ";
      if (within) {
        out_ += u"within ";
        if (n->amount == 0) {
          static const std::vector<std::u16string> kZero = {u"0", u"the same", u"same",
                                                            u"The Same"};
          out_ += PickOf(rng_, kZero);
        } else {
          out_ += platform::ToU16(std::to_string(n->amount));
        }
        out_ += u" ";
        static const std::vector<std::vector<std::u16string>> kUnitWords = {
            {u"word", u"words"},
            {u"sentence", u"sentences"},
            {u"paragraph", u"paras", u"para"},
            {u"verse", u"verses"},
            {u"chapter", u"chaps", u"Chapters"},
            {u"usertag", u"ut"},
            {u"proposition", u"props", u"prop"}};
        out_ += PickOf(rng_, kUnitWords[static_cast<size_t>(n->unit)]);
        if (n->unit == kUserTag) out_ += u" " + Cased(rng_, m_.tags[n->tag].name);
        const int joiner = Pick(rng_, 3);
        out_ += joiner == 0 ? u" of " : joiner == 1 ? u" as " : u" ";
      }
    }
    Print(n->right.get(), false);
    if (group) out_ += u")";
  }

  std::u16string BookName(const std::string& code) {
    static const std::map<std::string, std::vector<std::u16string>> kNames = {
        {"GEN", {u"gen", u"Gen", u"Genesis", u"gn"}},
        {"EXO", {u"exo", u"Ex", u"exodus"}},
        {"RUT", {u"rut", u"Ruth", u"ru"}},
        {"1SA", {u"1sa", u"1 samuel", u"1Samuel", u"1 SA"}},
        {"MAT", {u"mat", u"Matthew", u"mt"}},
        {"MRK", {u"MRK", u"mark", u"mk"}}};
    return PickOf(rng_, kNames.at(code));
  }

  static std::u16string Num(int n) { return platform::ToU16(std::to_string(n)); }

  Range AddRange() {
    Range r;
    r.start = static_cast<int>(out_.size());
    const auto& vs = m_.verses;
    const size_t a = static_cast<size_t>(Pick(rng_, static_cast<int>(vs.size())));
    const VerseInfo& va = vs[a];
    // The last verse of the first verse's book and chapter, and of its book.
    auto book_end = [&](size_t i) {
      size_t j = i;
      while (j + 1 < vs.size() && vs[j + 1].book == vs[i].book) ++j;
      return j;
    };
    auto chapter_first = [&](size_t i) {
      size_t j = i;
      while (j > 0 && vs[j - 1].book == vs[i].book && vs[j - 1].chapter == vs[i].chapter) --j;
      return j;
    };
    auto chapter_last = [&](size_t i) {
      size_t j = i;
      while (j + 1 < vs.size() && vs[j + 1].book == vs[i].book &&
             vs[j + 1].chapter == vs[i].chapter)
        ++j;
      return j;
    };
    auto book_first = [&](size_t i) {
      size_t j = i;
      while (j > 0 && vs[j - 1].book == vs[i].book) --j;
      return j;
    };
    const size_t b = a + static_cast<size_t>(Pick(rng_, static_cast<int>(vs.size() - a)));
    const VerseInfo& vb = vs[b];
    switch (Pick(rng_, 6)) {
      case 0:
        out_ += BookName(va.book);
        r.first = vs[book_first(a)].first;
        r.end = vs[book_end(a)].end;
        break;
      case 1:
        out_ += BookName(va.book) + u" " + Num(va.chapter);
        r.first = vs[chapter_first(a)].first;
        r.end = vs[chapter_last(a)].end;
        break;
      case 2:
        out_ += BookName(va.book) + u" " + Num(va.chapter) + u":" + Num(va.verse);
        r.first = va.first;
        r.end = va.end;
        break;
      case 3:
        if (vb.book != va.book) {
          out_ += BookName(va.book) + u" " + Num(va.chapter) + u"-" + BookName(vb.book);
          r.first = vs[chapter_first(a)].first;
          r.end = vs[book_end(b)].end;
        } else {
          out_ += BookName(va.book) + u" " + Num(va.chapter) + (Chance(rng_, 0.5) ? u"-" : u" - ") +
                  Num(vb.chapter);
          r.first = vs[chapter_first(a)].first;
          r.end = vs[chapter_last(b)].end;
        }
        r.has_last = true;
        break;
      case 4:
        out_ += BookName(va.book) + u" " + Num(va.chapter) + u":" + Num(va.verse) + u" to ";
        if (vb.book != va.book) out_ += BookName(vb.book) + u" ";
        out_ += Num(vb.chapter) + u":" + Num(vb.verse);
        r.first = va.first;
        r.end = vb.end;
        r.has_last = true;
        break;
      default:
        out_ += BookName(va.book) + u" " + Num(va.chapter) + u":" + Num(va.verse) + u"-" +
                BookName(vb.book) + u" " + Num(vb.chapter);
        r.first = va.first;
        r.end = vs[chapter_last(b)].end;
        r.has_last = true;
        break;
    }
    r.last = static_cast<int>(out_.size()) - 1 - r.start;
    return r;
  }

  Rng& rng_;
  const Model& m_;
  std::u16string out_;
  std::vector<bool> within_;
  size_t next_within_ = 0;
};

// ---- the direct scan ----

bool Glob(std::u16string_view p, std::u16string_view t) {
  if (p.empty()) return t.empty();
  if (p[0] == u'*') {
    for (size_t i = 0; i <= t.size(); ++i)
      if (Glob(p.substr(1), t.substr(i))) return true;
    return false;
  }
  if (t.empty()) return false;
  return (p[0] == u'?' || p[0] == t[0]) && Glob(p.substr(1), t.substr(1));
}

class Scanner {
 public:
  Scanner(const Model& m, const Query& q) : m_(m), q_(q) {}

  // "message @first-last" of the first error, or "" and the hits.
  std::string Run(std::vector<uint32_t>* hits) {
    std::string error = FirstError(q_.root.get());
    if (!error.empty()) return error;
    for (const Range& r : q_.ranges) {
      if (r.has_last && r.first >= r.end)
        return "Range must be in canonical order @" + std::to_string(r.start) + "-" +
               std::to_string(r.start + r.last);
    }
    std::set<uint32_t> s = Eval(q_.root.get());
    hits->assign(s.begin(), s.end());
    return "";
  }

 private:
  std::string FirstError(const Node* n) {
    if (!n->term) {
      std::string e = FirstError(n->left.get());
      return e.empty() ? FirstError(n->right.get()) : e;
    }
    if (n->line < 0) return "";
    for (const std::u16string& v : m_.lines[n->line])
      if (Matches(n->word, v)) return "";
    return "Word didn't match anything @" + std::to_string(n->start) + "-" + std::to_string(n->end);
  }

  static bool Matches(const std::u16string& pattern, const std::u16string& value) {
    if (pattern.find_first_of(u"*?") == std::u16string::npos) return pattern == value;
    return Glob(pattern, value);
  }

  bool InRanges(uint32_t w) const {
    if (q_.ranges.empty()) return true;
    for (const Range& r : q_.ranges)
      if (w >= r.first && w < r.end) return true;
    return false;
  }

  const std::vector<int>& Ids(int position_unit) const {
    switch (position_unit) {
      case kPosSentence:
        return m_.sentence;
      case kPosParagraph:
        return m_.paragraph;
      case kPosVerse:
        return m_.verse;
      default:
        return m_.proposition;
    }
  }

  bool PositionHolds(const Node* n, uint32_t w) const {
    const std::vector<int>& id = Ids(n->position_unit);
    const bool first = w == 0 || id[w - 1] != id[w];
    const bool last = w + 1 == m_.words || id[w + 1] != id[w];
    switch (n->position) {
      case 0:
        return first;
      case 1:
        return !first;
      case 2:
        return !first && !last;
      case 3:
        return first || last;
      case 4:
        return last;
      default:
        return !last;
    }
  }

  const std::vector<WordSpan>& TagSpans(const std::u16string& name) const {
    for (const auto& t : m_.tags) {
      std::u16string a = t.name, b = name;
      for (auto* s : {&a, &b})
        for (char16_t& c : *s)
          if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c + 32);
      if (a == b) return t.spans;
    }
    static const std::vector<WordSpan> none;
    return none;
  }

  // The tag span that holds w, or (-1, -1).
  static WordSpan SpanOf(const std::vector<WordSpan>& spans, uint32_t w) {
    for (const WordSpan& s : spans)
      if (static_cast<int64_t>(w) >= s.first && static_cast<int64_t>(w) < s.end) return s;
    return {};
  }

  bool Near(const Node* n, uint32_t l, uint32_t r) const {
    const int64_t L = l, R = r;
    const int64_t a = n->amount;
    if (n->direction == 1 && R <= L) return false;
    if (n->direction == 2 && R >= L) return false;
    if (n->unit == kWord) return std::llabs(R - L) <= a;
    if (n->unit == kUserTag) {
      const WordSpan s = SpanOf(m_.tags[n->tag].spans, l);
      return !s.IsNone() && R >= s.first && R < s.end;
    }
    const std::vector<int>* id = nullptr;
    switch (n->unit) {
      case kSentence:
        id = &m_.sentence;
        break;
      case kParagraph:
        id = &m_.paragraph;
        break;
      case kVerse:
        id = &m_.verse;
        break;
      case kChapter:
        id = &m_.chapter;
        break;
      default:
        id = &m_.proposition;
        break;
    }
    return std::llabs(static_cast<int64_t>((*id)[r]) - (*id)[l]) <= a;
  }

  std::set<uint32_t> Eval(const Node* n) {
    std::set<uint32_t> out;
    if (n->term) {
      if (n->line < 0) {
        for (const WordSpan& s : TagSpans(n->word))
          for (int64_t w = s.first; w < s.end; ++w) out.insert(static_cast<uint32_t>(w));
      } else {
        for (uint32_t w = 0; w < m_.words; ++w)
          if (Matches(n->word, m_.lines[n->line][w])) out.insert(w);
      }
      std::set<uint32_t> kept;
      for (uint32_t w : out)
        if (InRanges(w) && (n->position < 0 || PositionHolds(n, w))) kept.insert(w);
      return kept;
    }
    const std::set<uint32_t> left = Eval(n->left.get());
    const std::set<uint32_t> right = Eval(n->right.get());
    if (n->kind == 0) {
      out = left;
      out.insert(right.begin(), right.end());
      return out;
    }
    for (uint32_t l : left) {
      bool any = false;
      for (uint32_t r : right) {
        if (Near(n, l, r)) {
          any = true;
          break;
        }
      }
      if (any == (n->kind == 1)) out.insert(l);
    }
    return out;
  }

  const Model& m_;
  const Query& q_;
};

std::string Join(const std::vector<uint32_t>& v) {
  std::string s;
  for (uint32_t w : v) s += (s.empty() ? "" : " ") + std::to_string(w);
  return s;
}

TEST(RandomQueryTest, EngineAgreesWithADirectScan) {
  constexpr int kDatabases = 10;
  constexpr int kQueriesEach = 300;
  int failures = 0, errors = 0, nonempty = 0;
  for (int d = 0; d < kDatabases; ++d) {
    const unsigned seed = 1000u + static_cast<unsigned>(d);
    Rng rng(seed);
    Model model;
    DBSource source = MakeRandomDatabase(rng, d % 3 == 0, &model);
    OpenedDatabase opened(source);
    ASSERT_NE(opened.db(), nullptr) << opened.error();
    FakeContext context(opened.db());
    context.tags = model.tags;
    context.proposition_starts = model.proposition_starts;
    for (int i = 0; i < kQueriesEach; ++i) {
      Query q = QueryMaker(rng, model).Make();
      std::vector<uint32_t> expected, got;
      const std::string expected_error = Scanner(model, q).Run(&expected);
      const std::string got_error = RunQueryText(q.text, &context, &got);
      if (!expected_error.empty()) ++errors;
      if (!expected.empty()) ++nonempty;
      if (expected_error != got_error || expected != got) {
        if (++failures <= 10) {
          ADD_FAILURE() << "database seed " << seed << ", query " << i << ": "
                        << platform::ToUtf8(q.text) << "\n  scan:   " << expected_error << " ["
                        << Join(expected) << "]"
                        << "\n  engine: " << got_error << " [" << Join(got) << "]";
        }
      }
    }
  }
  EXPECT_EQ(failures, 0);
  // The random mix must stay useful: mostly answers, many of them hits.
  EXPECT_LT(errors, kDatabases * kQueriesEach / 5);
  EXPECT_GT(nonempty, kDatabases * kQueriesEach / 3);
}

}  // namespace
}  // namespace vorn::testing
