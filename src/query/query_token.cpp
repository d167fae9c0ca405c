#include "query/query_token.h"

#include <limits>

#include "query/proximity.h"
#include "query/query_context.h"
#include "query/query_nodes.h"
#include "textdb/line.h"
#include "textdb/vorn_db.h"

namespace vorn {

namespace {

bool IsOneOf(const std::u16string& t, std::initializer_list<const char16_t*> words) {
  for (const char16_t* w : words)
    if (t == w) return true;
  return false;
}

}  // namespace

CQToken::CQToken(std::u16string text, CQueryContext* context, CQueryEchoSink* sink)
    : text_(std::move(text)), context_(context), sink_(sink) {}

CQToken::~CQToken() { FinishEcho(); }

void CQToken::FinishEcho() {
  const int32_t n = static_cast<int32_t>(text_.GetText().size());
  if (sink_ && echo_ < n)
    sink_->AddPiece(std::u16string_view(text_.GetText()).substr(echo_), nullptr);
  echo_ = n;
}

void CQToken::Echo(const CVornDBLine* line) {
  const int32_t start = text_.GetTokenStart();
  const int32_t after = text_.GetTokenAfter();
  if (sink_) {
    std::u16string_view all(text_.GetText());
    if (start > echo_) sink_->AddPiece(all.substr(echo_, start - echo_), nullptr);
    sink_->AddPiece(all.substr(start, after - start), line);
  }
  echo_ = after;
}

bool CQToken::Fail(const char16_t* message) {
  if (!error_) error_ = MakeQError(message, text_.GetTokenStart(), text_.GetTokenLast());
  return false;
}

std::u16string CQToken::UnknownKeyword(const std::u16string& token) const {
  std::u16string names;
  const CVornDB* db = context_ ? context_->GetDatabase() : nullptr;
  for (int i = 0; db && i < db->GetLineCount(); ++i) {
    const CVornDBLine* line = db->GetLine(i);
    const std::u16string& prompt = line->GetQueryPrompt();
    if (prompt.empty()) continue;
    names += prompt;
    std::u16string others;
    for (const std::u16string& n : line->GetQueryNames())
      if (n != prompt) others += (others.empty() ? u"" : u", ") + n;
    if (!others.empty()) names += u" (" + others + u")";
    names += u", ";
  }
  return std::u16string(kQErrUnrecognisedKeyword) + u" \u201C" + token +
         u"\u201D. A term begins with a line keyword and a word; the keywords here are " + names +
         u"usertag (ut, u), or \u201C(\u201D to open a group.";
}

std::u16string CQToken::EmptyQuery() const {
  // An example from the database itself, so that it finds something.
  std::u16string example = u"text λόγος";
  const CVornDB* db = context_ ? context_->GetDatabase() : nullptr;
  if (db && db->GetLineCount() > 0 && db->GetWordCount() > 0) {
    const CVornDBLine* line = db->GetLine(0);
    FormList forms;
    line->CollectForms({0}, 0, &forms);
    if (!line->GetQueryPrompt().empty() && !forms.empty())
      example = line->GetQueryPrompt() + u" " + line->GetFormText(forms[0]);
  }
  return std::u16string(kQErrUnexpectedEnd) +
         u": the query is empty. Type a line keyword and a word, for example \u201C" + example +
         u"\u201D; join terms with and, or, not; end with in and a passage.";
}

bool CQToken::EnterLevel() {
  if (error_) return false;
  // Every group and every operator of a chain is one level of the tree;
  // parsing, preparing, evaluating and destroying it recurse through them.
  if (++levels_ > kMaxLevels) {
    --levels_;
    return Fail(kQErrTooComplex);
  }
  return true;
}

bool CQToken::ParseTerm(std::unique_ptr<CQBit>* term, bool* group) {
  term->reset();
  *group = false;
  if (error_) return false;
  const std::u16string keyword = text_.NextToken(true);
  if (text_.AtEnd()) {
    // Nothing but blanks before the end: say what a query looks like.
    if (text_.GetText().find_first_not_of(u" \r\n") == std::u16string::npos)
      return Fail(EmptyQuery());
    return Fail(kQErrUnexpectedEnd);
  }
  if (text_.IsBare(u'(')) {
    ++depth_;
    *group = true;
    return true;
  }
  const int32_t start = text_.GetTokenStart();
  CVornDBLine* line = nullptr;
  if (!IsOneOf(keyword, {u"usertag", u"u", u"ut"})) {
    line = context_ ? context_->FindLine(keyword) : nullptr;
    if (!line) return Fail(UnknownKeyword(text_.GetToken(false)));
  }
  std::u16string word = text_.NextToken(false);
  if (text_.AtEnd()) return Fail(kQErrMissingWord);
  if (word.size() > kMaxWordLength) return Fail(kQErrWordTooLong);
  int32_t end = text_.GetTokenLast();
  // A mark before a search word chooses how it is matched: '~' ignoring
  // accents, points, breathings and case, '=' exactly, whatever the
  // default. The mark stays in the echoed text, so a recalled query shows
  // it. Inside quotes it stands after the opening quote.
  const int32_t word_start = text_.GetTokenStart();
  const bool quoted = text_.GetText()[static_cast<size_t>(word_start)] == u'"';
  const int32_t mark_at = word_start + (quoted ? 1 : 0);
  bool loose = context_ && context_->GetLooseMatching();
  bool marked = false;
  if (line && word.size() > 1 && (word[0] == u'~' || word[0] == u'=')) {
    loose = word[0] == u'~';
    marked = true;
    word.erase(0, 1);
  }
  if (line) Echo(line);
  std::unique_ptr<CQPosition> position;
  if (!ParsePosition(&position)) return false;
  if (position) end = LastConsumed();
  auto simple = std::make_unique<CQSimple>(line, std::move(word), std::move(position), start, end);
  if (line) {
    simple->SetLoose(loose);
    simple->SetTyped(keyword, marked ? -1 : mark_at);
  }
  *term = std::move(simple);
  return true;
}

bool CQToken::ParsePosition(std::unique_ptr<CQPosition>* position) {
  position->reset();
  if (error_) return false;
  const std::u16string t = text_.NextToken(true);
  int32_t kind = -1;
  if (t == u"initial")
    kind = kQInitial;
  else if (t == u"non-initial" || t == u"noninitial")
    kind = kQNonInitial;
  else if (t == u"medial")
    kind = kQMedial;
  else if (t == u"non-medial" || t == u"nonmedial")
    kind = kQNonMedial;
  else if (t == u"final")
    kind = kQFinal;
  else if (t == u"non-final" || t == u"nonfinal")
    kind = kQNonFinal;
  if (kind < 0 || text_.AtEnd()) {
    text_.UnreadToken();
    return true;
  }
  if (text_.NextToken(true) != u"in" || text_.AtEnd()) return Fail(kQErrExpectedInA);
  if (text_.NextToken(true) != u"a" || text_.AtEnd()) return Fail(kQErrExpectedInA);
  const std::u16string u = text_.NextToken(true);
  int32_t unit = -1;
  if (u == u"sentence")
    unit = kQPosSentence;
  else if (u == u"paragraph" || u == u"para")
    unit = kQPosParagraph;
  else if (u == u"verse")
    unit = kQPosVerse;
  else if (u == u"proposition" || u == u"prop")
    unit = kQPosProposition;
  if (unit < 0 || text_.AtEnd())
    return Fail(
        std::u16string(kQErrUnrecognisedUnit) +
        u": a position is followed by \u201Cin a\u201D and sentence, paragraph (para), verse or "
        u"proposition (prop).");
  *position = std::make_unique<CQPosition>(kind, unit, context_);
  return true;
}

bool CQToken::ParseOperator(std::unique_ptr<CQCompound>* op) {
  op->reset();
  if (error_) return false;
  const std::u16string t = text_.NextToken(true);
  if (text_.AtEnd()) return true;
  if (t == u"in") {
    // Left current, so that every chain and group still open ends here too
    // and FindRangesStart finds it.
    text_.UnreadToken();
    return true;
  }
  if (text_.IsBare(u')')) {
    if (depth_ > 0) {
      --depth_;
      return true;
    }
    return Fail(kQErrTooManyClosing);
  }
  const int32_t start = text_.GetTokenStart();
  int32_t kind = kQIntersect;
  if (IsOneOf(t, {u"or", u"plus", u"union", u"enlarge"})) {
    kind = kQUnion;
  } else if (t == u"combined") {
    if (text_.NextToken(true) != u"with" || text_.AtEnd()) return Fail(kQErrExpectedWith);
    kind = kQUnion;
  } else if (t == u"enlarged") {
    if (text_.NextToken(true) != u"by" || text_.AtEnd()) return Fail(kQErrExpectedBy);
    kind = kQUnion;
  } else if (IsOneOf(t, {u"not", u"without", u"minus"})) {
    kind = kQExcept;
  } else if (t == u"except") {
    if (text_.NextToken(true) != u"for" || text_.AtEnd()) return Fail(kQErrExpectedFor);
    kind = kQExcept;
  } else if (IsOneOf(t, {u"and", u"intersect", u"intersection"})) {
    kind = kQIntersect;
  } else if (t == u"narrowed") {
    const std::u16string next = text_.NextToken(true);
    if (text_.AtEnd() || (next != u"with" && next != u"by")) text_.UnreadToken();
  } else {
    // Two terms side by side: the token begins the proximity clause or the
    // next term.
    text_.UnreadToken();
  }
  std::unique_ptr<CQProximity> proximity;
  if (kind != kQUnion && !ParseProximity(&proximity)) return false;
  *op = std::make_unique<CQCompound>(kind, std::move(proximity), start, LastConsumed());
  return true;
}

bool CQToken::ParseProximity(std::unique_ptr<CQProximity>* proximity) {
  proximity->reset();
  if (error_) return false;
  std::u16string t = text_.NextToken(true);
  int32_t direction = kQEitherSide;
  if (!text_.AtEnd()) {
    if (t == u"preceding" || t == u"before")
      direction = kQPreceding;
    else if (t == u"following" || t == u"after")
      direction = kQFollowing;
  }
  if (direction != kQEitherSide) t = text_.NextToken(true);
  if (text_.AtEnd() || t != u"within") {
    text_.UnreadToken();
    // Without "within": the very same word, or with a direction the next one.
    *proximity = std::make_unique<CQProximity>(direction, direction == kQEitherSide ? 0 : 1,
                                               kQUnitWord, context_);
    return true;
  }
  t = text_.NextToken(true);
  int64_t amount = 0;
  if (!text_.AtEnd() && !t.empty() && t[0] >= u'0' && t[0] <= u'9') {
    for (char16_t c : t) {
      if (c < u'0' || c > u'9') break;
      amount = amount * 10 + (c - u'0');
      if (amount > std::numeric_limits<int32_t>::max())
        amount = std::numeric_limits<int32_t>::max();
    }
  } else if (!text_.AtEnd() && t == u"the") {
    if (text_.NextToken(true) != u"same" || text_.AtEnd()) return Fail(kQErrExpectedSame);
  } else if (!text_.AtEnd() && t == u"same") {
    amount = 0;
  } else {
    return Fail(kQErrExpectedNumber);
  }
  std::u16string u = text_.NextToken(true);
  if (!u.empty() && u.back() == u's') u.pop_back();
  int32_t unit = -1;
  if (text_.AtEnd())
    unit = -1;
  else if (u == u"word")
    unit = kQUnitWord;
  else if (u == u"sentence")
    unit = kQUnitSentence;
  else if (u == u"paragraph" || u == u"para")
    unit = kQUnitParagraph;
  else if (u == u"verse")
    unit = kQUnitVerse;
  else if (u == u"chapter" || u == u"chap")
    unit = kQUnitChapter;
  else if (u == u"usertag" || u == u"ut")
    unit = kQUnitUserTag;
  else if (u == u"proposition" || u == u"prop")
    unit = kQUnitProposition;
  if (unit < 0)
    return Fail(
        std::u16string(kQErrUnrecognisedUnit) +
        u": within a number of words, verses, sentences, paragraphs (paras), chapters (chaps) "
        u"or propositions (props), or within the same usertag NAME.");
  auto p = std::make_unique<CQProximity>(direction, static_cast<int32_t>(amount), unit, context_);
  if (unit == kQUnitUserTag) {
    if (amount != 0) return Fail(kQErrTagProximity);
    std::u16string name = text_.NextToken(true);
    p->SetTagName(std::move(name), text_.GetTokenStart(), text_.GetTokenLast());
  }
  const std::u16string joiner = text_.NextToken(true);
  if (text_.AtEnd() || (joiner != u"of" && joiner != u"as")) text_.UnreadToken();
  *proximity = std::move(p);
  return true;
}

int32_t CQToken::FindRangesStart() {
  const int32_t n = static_cast<int32_t>(text_.GetText().size());
  for (;;) {
    const std::u16string& t = text_.NextToken(true);
    if (text_.AtEnd()) return n;
    if (t != u"in") continue;
    const int32_t after = text_.GetTokenAfter();
    // "in" promises a range; with none after it the query would silently
    // search everything.
    const std::u16string_view rest = std::u16string_view(text_.GetText()).substr(after);
    if (rest.find_first_not_of(u" \r\n") == std::u16string_view::npos) {
      Fail(kQErrMissingRange);
      return n;
    }
    return after;
  }
}

}  // namespace vorn
