#include "query/query_nodes.h"

#include <algorithm>

#include "platform/u16.h"
#include "query/query_context.h"
#include "query/query_token.h"
#include "query/ranges.h"
#include "textdb/ordinary_line.h"

namespace vorn {

namespace {

// A word index of -1 never lies in a window.
constexpr uint32_t kNoWord = 0xFFFFFFFFu;

// Gives the operand's memory back as soon as its compound has used it.
void Release(CDBWordList* list) { std::vector<uint32_t>().swap(list->mutable_words()); }

// The words of `forms`, ascending and without duplicates, as WordsOfForms
// gives them. When the forms cover a good part of the text (a pattern such
// as "*"), marking the words in a bit map and reading it out in order is
// several times faster than sorting hundreds of thousands of indexes.
void CollectWords(const CVornDBLine* line, const FormList& forms, CDBWordList* out) {
  const auto* ordinary = dynamic_cast<const CVornDBOrdinaryLine*>(line);
  if (ordinary) {
    const uint32_t n = ordinary->GetWordCount();
    FormList read_so;  // the forms read as one of them (Qere)
    ordinary->AddQereSources(forms, &read_so);
    uint64_t total = 0;
    for (const FormList* list : {&forms, static_cast<const FormList*>(&read_so)})
      for (uint32_t f : *list) total += ordinary->GetOccurrences(f)[0];
    // Below about one word in sixteen sorting the few indexes wins.
    if (total > n / 16) {
      std::vector<uint64_t> bits((static_cast<size_t>(n) + 63) / 64);
      for (const FormList* forms_of : {&forms, static_cast<const FormList*>(&read_so)}) {
        for (uint32_t f : *forms_of) {
          const uint32_t* list = ordinary->GetOccurrences(f);
          for (uint32_t k = 1; k <= list[0]; ++k) {
            const uint32_t w = list[k];
            if (w < n) bits[w >> 6] |= uint64_t{1} << (w & 63);
          }
        }
      }
      std::vector<uint32_t>& words = out->mutable_words();
      words.clear();
      words.reserve(static_cast<size_t>(std::min<uint64_t>(total, n)));
      for (size_t i = 0; i < bits.size(); ++i) {
        for (uint64_t b = bits[i]; b; b &= b - 1)
          words.push_back(static_cast<uint32_t>(i * 64 + static_cast<size_t>(__builtin_ctzll(b))));
      }
      return;
    }
  }
  line->WordsOfForms(forms, out);
}

void Indent(int indent, std::string* out) { out->append(static_cast<size_t>(indent) * 2, ' '); }

std::string Positions(int32_t start, int32_t end) {
  return " [" + std::to_string(start) + ".." + std::to_string(end) + "]";
}

}  // namespace

// ---- CQCompound ----

CQCompound::CQCompound(int32_t kind, std::unique_ptr<CQProximity> proximity, int32_t start,
                       int32_t end)
    : CQBit(start, end), kind_(kind), proximity_(std::move(proximity)) {}

void CQCompound::ParseChain(CQToken* token, std::unique_ptr<CQBit> left) {
  left_ = std::move(left);
  if (!token->EnterLevel()) return;
  std::unique_ptr<CQBit> right;
  bool group = false;
  if (token->ParseTerm(&right, &group)) {
    if (group) right = ParseGroup(token);
    std::unique_ptr<CQCompound> next;
    if (!token->HasError() && token->ParseOperator(&next) && next) {
      next->ParseChain(token, std::move(right));
      right = std::move(next);
    }
  }
  right_ = std::move(right);
  token->LeaveLevel();
}

std::unique_ptr<CQBit> CQCompound::ParseGroup(CQToken* token) {
  if (!token->EnterLevel()) return nullptr;
  std::unique_ptr<CQBit> term;
  bool group = false;
  if (token->ParseTerm(&term, &group)) {
    if (group) term = ParseGroup(token);
    std::unique_ptr<CQCompound> next;
    if (!token->HasError() && token->ParseOperator(&next) && next) {
      next->ParseChain(token, std::move(term));
      term = std::move(next);
    }
  }
  token->LeaveLevel();
  return term;
}

QErrorPtr CQCompound::Prepare(CQueryContext* context) {
  if (left_) {
    if (QErrorPtr e = left_->Prepare(context)) return e;
  }
  if (right_) {
    if (QErrorPtr e = right_->Prepare(context)) return e;
  }
  if (proximity_) return proximity_->Prepare(context);
  return nullptr;
}

QWindow CQCompound::Window(uint32_t hit) {
  if (proximity_) return proximity_->Window(hit);
  return QWindow{hit, static_cast<int64_t>(hit) + 1};
}

void CQCompound::Evaluate(const CQRanges* ranges) {
  hits_.Clear();
  // Each operand's hits wait while the other operand is evaluated. The
  // deeper operand goes first, so that along a long chain ("A or B or C
  // ...", which nests to the right) or a deep group only a few hit lists
  // are alive at once instead of one per level.
  const int32_t left_levels = left_ ? left_->Levels() : 0;
  const int32_t right_levels = right_ ? right_->Levels() : 0;
  if (right_levels > left_levels) {
    right_->Evaluate(ranges);
    if (left_) left_->Evaluate(ranges);
  } else {
    if (left_) left_->Evaluate(ranges);
    if (right_) right_->Evaluate(ranges);
  }
  CDBWordList none;
  CDBWordList* left = left_ ? left_->MutableHits() : &none;
  CDBWordList* right = right_ ? right_->MutableHits() : &none;
  switch (kind_) {
    case kQUnion:
      hits_.mutable_words().swap(left->mutable_words());
      hits_.Merge(*right);
      break;
    case kQIntersect:
      Intersect(*left, *right);
      break;
    case kQExcept:
      Except(*left, *right);
      break;
    default:
      break;
  }
  Release(left);
  Release(right);
}

int32_t CQCompound::Levels() const {
  return 1 + std::max(left_ ? left_->Levels() : 0, right_ ? right_->Levels() : 0);
}

// Both passes move through the right hits only forward: every window starts
// no earlier than the window of the hit before.
void CQCompound::Intersect(const CDBWordList& left, const CDBWordList& right) {
  const std::vector<uint32_t>& r = right.words();
  const size_t n = r.size();
  size_t j = 0;
  for (uint32_t hit : left.words()) {
    const QWindow w = Window(hit);
    while (j < n && r[j] != kNoWord && r[j] < w.start) ++j;
    if (j == n) break;
    if (w.end == -1 || (r[j] != kNoWord && r[j] < w.end)) hits_.Push(hit);
  }
}

void CQCompound::Except(const CDBWordList& left, const CDBWordList& right) {
  const std::vector<uint32_t>& l = left.words();
  const std::vector<uint32_t>& r = right.words();
  const size_t n = r.size();
  size_t i = 0;
  size_t j = 0;
  for (; i < l.size(); ++i) {
    const QWindow w = Window(l[i]);
    while (j < n && r[j] != kNoWord && r[j] < w.start) ++j;
    if (j == n) break;
    if (w.end != -1 && (r[j] == kNoWord || r[j] >= w.end)) hits_.Push(l[i]);
  }
  // No right hits remain for the rest.
  for (; i < l.size(); ++i) hits_.Push(l[i]);
}

void CQCompound::Dump(int indent, std::string* out) const {
  static const char* const kKinds[] = {"union", "intersect", "except"};
  Indent(indent, out);
  *out += kind_ >= 0 && kind_ <= 2 ? kKinds[kind_] : "?";
  if (proximity_) *out += " " + proximity_->Describe();
  *out += Positions(start_, end_) + "\n";
  if (left_) {
    left_->Dump(indent + 1, out);
  } else {
    Indent(indent + 1, out);
    *out += "-\n";
  }
  if (right_) {
    right_->Dump(indent + 1, out);
  } else {
    Indent(indent + 1, out);
    *out += "-\n";
  }
}

// ---- CQSimple ----

CQSimple::CQSimple(CVornDBLine* line, std::u16string text, std::unique_ptr<CQPosition> position,
                   int32_t start, int32_t end)
    : CQBit(start, end), text_(std::move(text)), position_(std::move(position)), line_(line) {}

QErrorPtr CQSimple::Prepare(CQueryContext* context) {
  if (line_) {
    forms_.clear();
    if (!Match(&forms_)) return NothingMatched();
    match_again_ = forms_.size() > kKeptForms;
    if (match_again_) FormList().swap(forms_);
    return nullptr;
  }
  return LookUpUserTag(context, text_, start_, end_, &tag_spans_);
}

void CQSimple::Evaluate(const CQRanges* ranges) {
  hits_.Clear();
  if (line_) {
    if (match_again_) Match(&forms_);
    CollectWords(line_, forms_, &hits_);
    if (match_again_) FormList().swap(forms_);
  } else {
    for (const WordSpan& s : tag_spans_) {
      if (s.first < 0) continue;
      for (int64_t w = s.first; w < s.end; ++w) hits_.Push(static_cast<uint32_t>(w));
    }
    hits_.Normalize();
  }
  // Both are filters; the ranges go first because they are cheaper and
  // leave the qualifier fewer words to test.
  if (ranges) ranges->Filter(&hits_);
  if (position_) hits_.RemoveIf([this](uint32_t w) { return position_->Rejects(w); });
}

bool CQSimple::Match(FormList* forms) const {
  return loose_ ? line_->MatchFormsLoose(text_, forms) : line_->MatchForms(text_, forms);
}

QErrorPtr CQSimple::NothingMatched() const {
  const std::u16string term = keyword_.empty() ? text_ : keyword_ + u" " + text_;
  FormList loose;
  if (loose_ || !line_->MatchFormsLoose(text_, &loose))
    return MakeQError(u"Word didn't match anything", start_, end_);
  // Say what a reader who did not type every accent and capital meant:
  // the forms that match loosely, most frequent first, with their counts.
  std::vector<std::pair<size_t, uint32_t>> counted;
  size_t total = 0;
  CDBWordList words;
  for (uint32_t f : loose) {
    line_->WordsOfForms({f}, &words);
    counted.emplace_back(words.words().size(), f);
    total += words.words().size();
  }
  std::stable_sort(counted.begin(), counted.end(),
                   [](const auto& a, const auto& b) { return a.first > b.first; });
  constexpr size_t kShown = 6;
  std::u16string list;
  for (size_t i = 0; i < counted.size() && i < kShown; ++i) {
    list += (i ? u", " : u"") + line_->GetFormText(counted[i].second) + u" (" +
            platform::ToU16(std::to_string(counted[i].first)) + u")";
  }
  if (counted.size() > kShown) {
    list += u" and " + platform::ToU16(std::to_string(counted.size() - kShown)) + u" more forms";
  }
  std::u16string message = u"`" + term + u"` matches nothing; ignoring accents and case: " + list;
  if (counted.size() > 1)
    message += u", " + platform::ToU16(std::to_string(total)) + u" words in all";
  if (!keyword_.empty()) message += u". Write `" + keyword_ + u" ~" + text_ + u"` to search so.";
  QErrorPtr error = MakeQError(std::move(message), start_, end_);
  error->SetLooseMarkAt(mark_at_);
  return error;
}

void CQSimple::Dump(int indent, std::string* out) const {
  Indent(indent, out);
  *out += line_ ? "term " + line_->GetName() : std::string("usertag");
  if (loose_) *out += " loose";
  *out += " \"" + platform::ToUtf8(text_) + "\"";
  if (position_) *out += " " + position_->Describe();
  *out += Positions(start_, end_) + "\n";
}

}  // namespace vorn
