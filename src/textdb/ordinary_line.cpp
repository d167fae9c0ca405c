#include "textdb/ordinary_line.h"

#include <unicode/sortkey.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/u16.h"
#include "textdb/collation.h"

namespace vorn {

namespace {
constexpr uint32_t kNoVariant = 0xFFFFFFFFu;
// Sort keys are built in fixed buffers of this size; a longer key (a form of
// a few hundred characters) falls back to the heap.
constexpr int32_t kSortKeyBuffer = 512;

// Gives a string's sort key at the collator's current strength.
class SortKey {
 public:
  SortKey(const icu::Collator& c, std::u16string_view text) {
    const UChar* s = reinterpret_cast<const UChar*>(text.data());
    int32_t n = c.getSortKey(s, static_cast<int32_t>(text.size()), buf_, kSortKeyBuffer);
    if (n > kSortKeyBuffer) {
      heap_.resize(static_cast<size_t>(n));
      c.getSortKey(s, static_cast<int32_t>(text.size()), heap_.data(), n);
      data_ = heap_.data();
    } else {
      data_ = buf_;
    }
    // The length counts the terminating 0 byte; compare without it.
    len_ = n > 0 ? n - 1 : 0;
  }
  std::string_view view() const {
    return {reinterpret_cast<const char*>(data_), static_cast<size_t>(len_)};
  }

 private:
  uint8_t buf_[kSortKeyBuffer];
  std::vector<uint8_t> heap_;
  const uint8_t* data_;
  int32_t len_;
};

// Compares unsigned bytes, as sort keys must be compared.
int CompareBytes(std::string_view a, std::string_view b) {
  size_t n = std::min(a.size(), b.size());
  int c = n ? std::memcmp(a.data(), b.data(), n) : 0;
  if (c != 0) return c;
  return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
}
}  // namespace

CVornDBOrdinaryLine::CVornDBOrdinaryLine(const CVornDBLineParams& params, WordLineFactory factory)
    : CVornDBLine(params, factory),
      strings_(params.GetFolder(), params.GetName() + "s.db"),
      word_forms_(params.GetFolder(), params.GetName() + "db.ndx"),
      lists_(params.GetFolder(), params.GetName() + "ndx.ndx"),
      forms_(params.GetFolder(), params.GetName() + "ndxx.ndx") {
  std::vector<std::string> alts;
  params.GetChildren("Alt", &alts);
  for (const std::string& v : alts) {
    variants_.push_back(std::make_unique<TMemMapFile<uint32_t>>(params.GetFolder(), v + ".ndx"));
    variant_names_.push_back(platform::ToU16(v));
    variant_display_names_.push_back(query_prompt_ + u" (" + params.GetValue("Alt/" + v) + u")");
  }
  qere_ = FindAltIndex(u"Qere");
  hebrew_ = language_ == u"Hebrew";
  greek_ = language_ == u"Greek";
}

CVornDBOrdinaryLine::~CVornDBOrdinaryLine() = default;

bool CVornDBOrdinaryLine::Open() {
  for (auto& v : variants_)
    if (!v->Open()) return false;
  if (!strings_.Open() || !word_forms_.Open() || !lists_.Open() || !forms_.Open()) return false;

  // Check once what every look-up trusts afterwards. A table whose size is
  // not a whole number of records was cut short.
  if (strings_.GetSize() % 2 || word_forms_.GetSize() % 4 || lists_.GetSize() % 4 ||
      forms_.GetSize() % sizeof(XndxxT))
    return false;
  const uint32_t nforms = forms_.GetCount();
  const uint32_t nwords = word_forms_.GetCount();
  const uint32_t nstrings = strings_.GetCount();
  const uint32_t nlists = lists_.GetCount();
  // Every string is read up to its 0; a 0 at the very end bounds them all.
  if (nforms > 0 && (nstrings == 0 || strings_[nstrings - 1] != 0)) return false;
  for (uint32_t w = 0; w < nwords; ++w)
    if (word_forms_[w] >= nforms) return false;
  // Each word is listed under its own form, and the lists together hold as
  // many entries as there are words. A zero-filled word table (every word
  // the first form), form table (every form the same list) or list table
  // fails this; the sort order and the rest are left to the full check.
  uint64_t listed = 0;
  const char16_t* previous = nullptr;
  for (uint32_t f = 0; f < nforms; ++f) {
    const XndxxT& r = forms_[f];
    if (r.string_pos >= nstrings || r.list_pos >= nlists) return false;
    uint32_t k = lists_[r.list_pos];
    if (k > nlists - r.list_pos - 1) return false;
    listed += k;
    const uint32_t* occ = lists_.begin() + r.list_pos + 1;  // may be the end when k is 0
    for (uint32_t i = 0; i < k; ++i)
      if (occ[i] >= nwords || word_forms_[occ[i]] != f) return false;
    // Forms are distinct; neighbours in the sorted table that are equal mean
    // a zero-filled string table.
    const char16_t* text = &strings_[r.string_pos];
    if (previous && std::u16string_view(previous) == std::u16string_view(text)) return false;
    previous = text;
  }
  if (listed != nwords) return false;
  for (auto& v : variants_) {
    if (v->GetSize() % 4 || v->GetCount() < nforms) return false;
    for (uint32_t f = 0; f < nforms; ++f) {
      uint32_t g = (*v)[f];
      if (g != kNoVariant && g >= nforms) return false;
    }
  }

  collator_ = MakeFormCollator();
  if (!collator_) return false;
  primary_.reset(collator_->clone());
  if (!primary_) return false;
  primary_->setStrength(icu::Collator::PRIMARY);
  return true;
}

uint32_t CVornDBOrdinaryLine::GetWordCount() const { return word_forms_.GetCount(); }

std::u16string CVornDBOrdinaryLine::GetFormText(uint32_t form) const {
  if (form >= forms_.GetCount()) return {};
  return GetFormString(form);
}

std::u16string_view CVornDBOrdinaryLine::GetStoredText(WordIndex word, int variant) const {
  uint32_t f = word_forms_[static_cast<uint32_t>(word)];
  if (variant >= 1 && static_cast<size_t>(variant) <= variants_.size()) {
    uint32_t g = (*variants_[static_cast<size_t>(variant - 1)])[f];
    if (g != kNoVariant) f = g;
  }
  return GetFormString(f);
}

std::u16string CVornDBOrdinaryLine::GetWordString(WordIndex word, int variant) const {
  return std::u16string(GetStoredText(word, variant));
}

void CVornDBOrdinaryLine::CollectForms(const std::vector<uint32_t>& words, int variant,
                                       FormList* out) const {
  out->clear();
  out->reserve(words.size());
  for (uint32_t w : words) {
    uint32_t f = word_forms_[w];
    if (variant >= 1 && static_cast<size_t>(variant) <= variants_.size()) {
      uint32_t g = (*variants_[static_cast<size_t>(variant - 1)])[f];
      if (g != kNoVariant) f = g;
    }
    out->push_back(f);
  }
}

uint32_t CVornDBOrdinaryLine::GetFormFrequency(WordIndex word) const {
  return lists_[forms_[word_forms_[static_cast<uint32_t>(word)]].list_pos];
}

void CVornDBOrdinaryLine::AddQereSources(const FormList& forms, FormList* out) const {
  if (qere_ == 0) return;
  if (!qere_sources_built_) {
    // Only the Qere is searched: the other variants (no accents, consonants
    // only) are ways of showing the text, and finding words by them would
    // change what every search of the written text counts.
    const TMemMapFile<uint32_t>& table = *variants_[static_cast<size_t>(qere_ - 1)];
    for (uint32_t f = 0; f < forms_.GetCount(); ++f) {
      const uint32_t g = table[f];
      if (g != kNoVariant && g != f) qere_sources_.emplace_back(g, f);
    }
    std::sort(qere_sources_.begin(), qere_sources_.end());
    qere_sources_built_ = true;
  }
  if (qere_sources_.empty()) return;
  for (uint32_t g : forms) {
    auto it = std::lower_bound(qere_sources_.begin(), qere_sources_.end(),
                               std::pair<uint32_t, uint32_t>(g, 0));
    for (; it != qere_sources_.end() && it->first == g; ++it) out->push_back(it->second);
  }
}

void CVornDBOrdinaryLine::WordsOfForms(const FormList& forms, CDBWordList* out) const {
  out->Clear();
  FormList read_so;
  AddQereSources(forms, &read_so);
  for (const FormList* list : {&forms, static_cast<const FormList*>(&read_so)}) {
    for (uint32_t f : *list) {
      if (f >= forms_.GetCount()) continue;
      const uint32_t* occ = GetOccurrences(f);
      out->Append(occ + 1, occ[0]);
    }
  }
  out->Normalize();
}

int CVornDBOrdinaryLine::FindAltIndex(std::u16string_view name) const {
  for (size_t i = 0; i < variant_names_.size(); ++i)
    if (variant_names_[i] == name) return static_cast<int>(i + 1);
  return 0;
}

std::u16string CVornDBOrdinaryLine::GetAltName(int index) const {
  if (index < 1 || static_cast<size_t>(index) > variant_display_names_.size()) return {};
  return variant_display_names_[static_cast<size_t>(index - 1)];
}

std::u16string_view CVornDBOrdinaryLine::GetWildcards() const {
  if (hebrew_) return u"?*!";
  if (greek_) return u"?*&";
  return u"*?";
}

void CVornDBOrdinaryLine::FillFormList(const FormList& forms, CFormListSink* list, size_t first,
                                       size_t count) const {
  list->SetRedraw(false);
  list->Clear();
  if (first > 0) list->AddString(u"...");
  // Written so that a count meaning "all" (SIZE_MAX) cannot wrap around.
  const size_t end =
      first < forms.size() ? first + std::min(count, forms.size() - first) : forms.size();
  for (size_t i = first; i < end; ++i) list->AddString(GetDrawnText(font_, GetFormText(forms[i])));
  if (end < forms.size()) list->AddString(u"...");
  list->SetRedraw(true);
}

uint32_t CVornDBOrdinaryLine::LowerBound(std::u16string_view pattern) const {
  UErrorCode status = U_ZERO_ERROR;
  uint32_t lo = 0, hi = forms_.GetCount();
  const UChar* p = reinterpret_cast<const UChar*>(pattern.data());
  const int32_t plen = static_cast<int32_t>(pattern.size());
  while (lo < hi) {
    uint32_t mid = lo + (hi - lo) / 2;
    const UChar* f = reinterpret_cast<const UChar*>(GetFormString(mid));
    if (collator_->compare(f, -1, p, plen, status) == UCOL_LESS)
      lo = mid + 1;
    else
      hi = mid;
  }
  return lo;
}

void CVornDBOrdinaryLine::FindPrefixRange(std::u16string_view prefix, uint32_t* first,
                                          uint32_t* end) const {
  SortKey key(*collator_, prefix);
  // Bounds of one level: every string whose primary weights begin with the
  // prefix's lies in [lower, upper).
  std::string pk(key.view());
  pk.push_back('\0');
  // A bound is a part of the key plus at most two bytes and a 0. The key of
  // a long prefix outgrows any fixed buffer, and getBound tells of a buffer
  // that is too small only through its result, writing nothing.
  const int32_t capacity = static_cast<int32_t>(pk.size()) + 3;
  std::vector<uint8_t> lower(static_cast<size_t>(capacity)), upper(static_cast<size_t>(capacity));
  UErrorCode status = U_ZERO_ERROR;
  int32_t nl = icu::Collator::getBound(reinterpret_cast<const uint8_t*>(pk.data()), -1,
                                       UCOL_BOUND_LOWER, 1, lower.data(), capacity, status);
  int32_t nu = icu::Collator::getBound(reinterpret_cast<const uint8_t*>(pk.data()), -1,
                                       UCOL_BOUND_UPPER_LONG, 1, upper.data(), capacity, status);
  if (U_FAILURE(status) || nl <= 0 || nu <= 0 || nl > capacity || nu > capacity) {
    *first = 0;
    *end = forms_.GetCount();
    return;
  }
  std::string_view lo_key(reinterpret_cast<const char*>(lower.data()), static_cast<size_t>(nl - 1));
  std::string_view hi_key(reinterpret_cast<const char*>(upper.data()), static_cast<size_t>(nu - 1));
  auto key_of = [&](uint32_t f) { return SortKey(*collator_, GetFormString(f)); };
  uint32_t lo = 0, hi = forms_.GetCount();
  while (lo < hi) {
    uint32_t mid = lo + (hi - lo) / 2;
    if (CompareBytes(key_of(mid).view(), lo_key) < 0)
      lo = mid + 1;
    else
      hi = mid;
  }
  *first = lo;
  hi = forms_.GetCount();
  while (lo < hi) {
    uint32_t mid = lo + (hi - lo) / 2;
    if (CompareBytes(key_of(mid).view(), hi_key) < 0)
      lo = mid + 1;
    else
      hi = mid;
  }
  *end = lo;
}

bool CVornDBOrdinaryLine::MatchForms(std::u16string_view pattern, FormList* out) const {
  out->clear();
  std::u16string_view wild = GetWildcards();
  size_t p = pattern.find_first_of(wild);
  // A search word matches every form that is the same text by Unicode's
  // definition: typed precomposed or decomposed, or with its marks in
  // another order than the database keeps them (Hebrew input methods put
  // vowels before dagesh; the texts often store dagesh first). Both sides
  // are compared in NFC; the collator, with normalisation on, already
  // treats such spellings as equal.
  const std::u16string canonical = CanonicalText(pattern);
  if (p == std::u16string_view::npos) {
    UErrorCode status = U_ZERO_ERROR;
    const UChar* pu = reinterpret_cast<const UChar*>(pattern.data());
    const int32_t plen = static_cast<int32_t>(pattern.size());
    for (uint32_t f = LowerBound(pattern); f < forms_.GetCount(); ++f) {
      const char16_t* s = GetFormString(f);
      if (collator_->compare(reinterpret_cast<const UChar*>(s), -1, pu, plen, status) != UCOL_EQUAL)
        break;
      // Equal forms that differ in a way canonical equivalence does not
      // cover (a character the collator ignores) are not this word. The
      // walk goes on: a text may hold the same word in two spellings.
      const std::u16string_view sv(s);
      if (sv == pattern || (IsCanonicalText(sv) ? sv == canonical : CanonicalText(sv) == canonical))
        out->push_back(f);
    }
    return !out->empty();
  }
  uint32_t first = 0, end = forms_.GetCount();
  if (p > 0) FindPrefixRange(pattern.substr(0, p), &first, &end);
  const std::u16string simple = SimplifyPattern(canonical);
  if (simple == u"*") {
    // Every form; no need to ask each one.
    for (uint32_t f = first; f < end; ++f) out->push_back(f);
    return !out->empty();
  }
  for (uint32_t f = first; f < end; ++f) {
    const std::u16string_view s(GetFormString(f));
    if (IsCanonicalText(s) ? MatchForm(simple, s) : MatchForm(simple, CanonicalText(s)))
      out->push_back(f);
  }
  return !out->empty();
}

void CVornDBOrdinaryLine::FindPrimaryRange(std::u16string_view word, uint32_t* first,
                                           uint32_t* end) const {
  // The table is sorted at quaternary strength, whose keys begin with the
  // primary weights, so the forms equal at primary strength stand together.
  SortKey key(*primary_, word);
  const std::string k(key.view());
  auto compare = [&](uint32_t f) {
    return CompareBytes(SortKey(*primary_, GetFormString(f)).view(), k);
  };
  uint32_t lo = 0, hi = forms_.GetCount();
  while (lo < hi) {
    uint32_t mid = lo + (hi - lo) / 2;
    if (compare(mid) < 0)
      lo = mid + 1;
    else
      hi = mid;
  }
  *first = lo;
  hi = forms_.GetCount();
  while (lo < hi) {
    uint32_t mid = lo + (hi - lo) / 2;
    if (compare(mid) <= 0)
      lo = mid + 1;
    else
      hi = mid;
  }
  *end = lo;
}

bool CVornDBOrdinaryLine::MatchFormsLoose(std::u16string_view pattern, FormList* out) const {
  out->clear();
  if (pattern.empty()) return false;
  const size_t p = pattern.find_first_of(GetWildcards());
  if (p == std::u16string_view::npos) {
    uint32_t first = 0, end = 0;
    FindPrimaryRange(pattern, &first, &end);
    for (uint32_t f = first; f < end; ++f) out->push_back(f);
    return !out->empty();
  }
  // With wildcards: the forms that begin like the pattern at primary
  // strength, each folded and matched against the folded pattern.
  uint32_t first = 0, end = forms_.GetCount();
  if (p > 0) FindPrefixRange(pattern.substr(0, p), &first, &end);
  const std::u16string simple = SimplifyPattern(LooseText(pattern));
  for (uint32_t f = first; f < end; ++f)
    if (MatchForm(simple, LooseText(GetFormString(f)))) out->push_back(f);
  return !out->empty();
}

bool CVornDBOrdinaryLine::MatchFormsPrefix(std::u16string_view pattern, FormList* out) const {
  out->clear();
  if (pattern.find_first_of(GetWildcards()) != std::u16string_view::npos) {
    std::u16string p(pattern);
    p.push_back(u'*');
    return MatchForms(p, out);
  }
  uint32_t first = 0, end = forms_.GetCount();
  if (!pattern.empty()) {
    icu::Collator::ECollationStrength saved = collator_->getStrength();
    collator_->setStrength(icu::Collator::PRIMARY);
    FindPrefixRange(pattern, &first, &end);
    collator_->setStrength(saved);
  }
  for (uint32_t f = first; f < end; ++f) out->push_back(f);
  return !out->empty();
}

std::u16string CVornDBOrdinaryLine::SimplifyPattern(std::u16string_view pattern) const {
  // A run of '*' and run operators that holds a '*' matches what one '*'
  // matches, and a run of one run operator what one does (a text holding
  // the wildcard characters themselves aside, which no form of the texts we
  // compile does). On a Greek line a '&' right after a character also makes
  // that character match at primary strength, so it stays.
  auto is_run_op = [&](char16_t c) { return (hebrew_ && c == u'!') || (greek_ && c == u'&'); };
  std::u16string out;
  out.reserve(pattern.size());
  size_t i = 0;
  while (i < pattern.size()) {
    const char16_t c = pattern[i];
    if (c != u'*' && !is_run_op(c)) {
      out.push_back(c);
      ++i;
      continue;
    }
    size_t j = i;
    bool star = false;
    while (j < pattern.size() && (pattern[j] == u'*' || is_run_op(pattern[j])))
      star |= pattern[j++] == u'*';
    if (!star) {
      out.push_back(c);  // one run operator for the run
    } else {
      if (greek_ && c == u'&' && i > 0) out.push_back(c);
      out.push_back(u'*');
    }
    i = j;
  }
  return out;
}

bool CVornDBOrdinaryLine::IsEmptyPrimary(char16_t c) const {
  uint8_t key[32];
  UChar u = c;
  int32_t n = collator_->getSortKey(&u, 1, key, sizeof key);
  // A character without primary weight starts its key with the level separator.
  return n > 0 && key[0] == 1;
}

bool CVornDBOrdinaryLine::MatchForm(std::u16string_view pattern, std::u16string_view form) const {
  const size_t np = pattern.size(), nt = form.size();
  const bool run_op_hebrew = hebrew_, run_op_greek = greek_;
  auto is_run_op = [&](char16_t c) {
    return (run_op_hebrew && c == u'!') || (run_op_greek && c == u'&');
  };
  // Every pattern character other than '*' and a run operator takes at
  // least one text character, so a shorter text cannot match. This spares
  // the table below for most forms when the pattern is long.
  size_t least = 0;
  for (char16_t c : pattern)
    if (c != u'*' && !is_run_op(c)) ++least;
  if (least > nt) return false;

  // The match is computed backwards as a table: m[pi] after the step for
  // text position ti tells whether pattern[pi..] matches form[ti..]. Each
  // cell needs only the column of ti + 1 and the cells of higher pi in its
  // own column, so two columns suffice and the work is pattern x form,
  // without recursion, whatever the pattern holds.
  //   any[pi]: some k >= ti has m[pi] at k ('*' tries every later position);
  //   run[pi]: the run operator at pi matches from ti (m[pi + 1] at ti, or
  //            an empty-primary character at ti and run[pi] at ti + 1).
  std::vector<char> m(np + 1), m_next(np + 1), any(np + 1), any_next(np + 1), run(np + 1),
      run_next(np + 1);
  // One-character primary sort keys, asked of the collator only when a rule
  // needs them and once per character: they tell whether a character
  // carries no primary weight (its key is empty) and
  // whether two characters are equal at primary strength.
  std::vector<std::string> text_keys(nt), pattern_keys(np);
  std::vector<char> text_known(nt, 0), pattern_known(np, 0);
  auto key_of = [&](char16_t c, std::string* key) {
    uint8_t buf[32];
    const UChar u = c;
    const int32_t n = primary_->getSortKey(&u, 1, buf, sizeof buf);
    key->assign(reinterpret_cast<const char*>(buf), n > 0 && n <= 32 ? static_cast<size_t>(n) : 0);
  };
  auto text_key = [&](size_t ti) -> const std::string& {
    if (!text_known[ti]) key_of(form[ti], &text_keys[ti]), text_known[ti] = 1;
    return text_keys[ti];
  };
  auto is_empty_primary = [&](size_t ti) {
    // At primary strength such a character's key is the terminator alone.
    const std::string& k = text_key(ti);
    return k.empty() || k[0] == 0;
  };
  auto equal_at_primary = [&](size_t pi, size_t ti) {
    if (!pattern_known[pi]) key_of(pattern[pi], &pattern_keys[pi]), pattern_known[pi] = 1;
    return pattern_keys[pi] == text_key(ti);
  };
  for (size_t step = 0; step <= nt; ++step) {
    const size_t ti = nt - step;
    const bool t_end = ti == nt;
    for (size_t k = np + 1; k-- > 0;) {
      const size_t pi = k;
      bool r = false;
      if (pi == np) {
        r = t_end;
      } else if (!t_end && pattern[pi] == form[ti]) {
        r = m_next[pi + 1];
      } else if (greek_ && !t_end && pi + 1 < np && pattern[pi + 1] == u'&' && pattern[pi] != 0 &&
                 !is_empty_primary(ti) && equal_at_primary(pi, ti)) {
        // A letter followed by '&' matches that letter with any accent.
        r = m_next[pi + 1];
      } else {
        const char16_t pc = pattern[pi];
        if (pc == u'?') {
          r = !t_end && m_next[pi + 1];
        } else if (pc == u'*') {
          // A trailing '*' takes the rest of the text.
          r = pi + 1 == np || any[pi + 1];
        } else if (is_run_op(pc)) {
          run[pi] = m[pi + 1] || (!t_end && is_empty_primary(ti) && run_next[pi]);
          r = run[pi];
        }
      }
      m[pi] = r;
      any[pi] = r || (!t_end && any_next[pi]);
    }
    m.swap(m_next);
    any.swap(any_next);
    run.swap(run_next);
  }
  return m_next[0];
}

}  // namespace vorn
