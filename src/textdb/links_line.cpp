#include "textdb/links_line.h"

#include <algorithm>
#include <limits>

#include "platform/file_system.h"
#include "textdb/db_stats.h"
#include "textdb/sorted_tables.h"
#include "textdb/vorn_db.h"

namespace vorn {

namespace {

// Keys of the description are 8-bit text: one byte, one character.
std::u16string Widen(std::string_view bytes) {
  std::u16string out;
  out.reserve(bytes.size());
  for (char c : bytes) out.push_back(static_cast<unsigned char>(c));
  return out;
}

// Reads a decimal number without sign at `*pos`; false when there is none
// or it does not fit in 32 bits.
bool ReadNumber(std::u16string_view text, size_t* pos, uint32_t* value) {
  uint64_t v = 0;
  const size_t start = *pos;
  while (*pos < text.size() && text[*pos] >= u'0' && text[*pos] <= u'9') {
    v = v * 10 + (text[*pos] - u'0');
    if (v > std::numeric_limits<uint32_t>::max()) return false;
    ++*pos;
  }
  *value = static_cast<uint32_t>(v);
  return *pos > start;
}

// "H N": the numbers of group titles and of links of a kind.
bool ParseKindValue(std::u16string_view text, uint32_t* titles, uint32_t* links) {
  size_t pos = 0;
  if (!ReadNumber(text, &pos, titles)) return false;
  const size_t gap = pos;
  while (pos < text.size() && (text[pos] == u' ' || text[pos] == u'\t')) ++pos;
  if (pos == gap) return false;
  return ReadNumber(text, &pos, links) && pos == text.size();
}

// True when the list at `pos` (count, then that many values) lies inside
// `table`.
bool ListInside(const TMemMapFile<uint32_t>& table, uint32_t pos) {
  return pos < table.GetCount() && uint64_t{pos} + 1 + table[pos] <= table.GetCount();
}

// The first number in [lo, hi) for which `below` is false (`below` holds
// for a leading run of the range).
template <typename Below>
uint32_t PartitionPoint(uint32_t lo, uint32_t hi, Below below) {
  while (lo < hi) {
    const uint32_t mid = lo + (hi - lo) / 2;
    if (below(mid)) {
      lo = mid + 1;
    } else {
      hi = mid;
    }
  }
  return lo;
}

}  // namespace

CVornDBLinks::CVornDBLinks(const CVornDBLineParams& params)
    : CVornDBLine(params, nullptr),
      word_links_(platform::JoinPath(params.GetFolder(), "PVlinks"), "WordLink.ndx"),
      records_(platform::JoinPath(params.GetFolder(), "PVlinks"), "LinkRec.ndx"),
      entries_(platform::JoinPath(params.GetFolder(), "PVlinks"), "LinkFreq.ndx"),
      texts_(platform::JoinPath(params.GetFolder(), "PVlinks"), "LinkText.db"),
      freq_(platform::JoinPath(params.GetFolder(), "PVlinks"), "Freq.db"),
      extra_index_(platform::JoinPath(params.GetFolder(), "PVlinks"), "L8Data.ndx"),
      extra_(platform::JoinPath(params.GetFolder(), "PVlinks"), "L8Data.db"),
      params_(params) {}

CVornDBLinks::~CVornDBLinks() = default;

bool CVornDBLinks::ReadKinds() {
  fonts_.clear();
  kinds_.clear();
  entry_count_ = 0;
  std::vector<std::string> names;
  params_.GetChildren("Fonts", &names);
  for (const std::string& name : names) fonts_[Widen(name)] = params_.GetValue("Fonts/" + name);

  params_.GetChildren("PVlinks", &names);
  uint64_t start = 0;
  for (const std::string& name : names) {
    const std::string sub_key = "PVlinks/" + name;
    uint32_t titles = 0, links = 0;
    if (!ParseKindValue(params_.GetValue(sub_key), &titles, &links)) return false;
    const uint64_t end = start + titles + links;
    if (end > std::numeric_limits<uint32_t>::max()) return false;
    kinds_.push_back(std::make_unique<CLinkParams>(*params_.GetStats(), params_.GetKey(sub_key),
                                                   Widen(name), static_cast<uint32_t>(start),
                                                   titles, links, &fonts_));
    start = end;
  }
  entry_count_ = static_cast<uint32_t>(start);
  return true;
}

bool CVornDBLinks::Open() {
  if (!ReadKinds()) return false;
  if (!word_links_.Open() || !records_.Open() || !entries_.Open() || !texts_.Open() ||
      !freq_.Open() || !extra_index_.Open() || !extra_.Open()) {
    return false;
  }
  return CheckTables();
}

bool CVornDBLinks::CheckTables() const {
  if (!HasWholeRecords(word_links_) || !HasWholeRecords(records_) || !HasWholeRecords(entries_) ||
      !HasWholeRecords(texts_) || !HasWholeRecords(freq_) || !HasWholeRecords(extra_index_)) {
    return false;
  }
  if (entries_.GetCount() != entry_count_ || extra_index_.GetCount() != entry_count_) return false;

  uint32_t words = expected_words_;
  if (words == 0 && params_.GetDB() != nullptr) words = params_.GetDB()->GetWordCount();
  if (words != 0 && word_links_.GetCount() != words) return false;

  // A position outside LinkRec.ndx is how a word without links may be
  // stored; a list that starts inside must end inside.
  for (uint32_t pos : word_links_) {
    if (pos < records_.GetCount() && !ListInside(records_, pos)) return false;
  }

  // Texts of every entry are read (group titles too); occurrence lists and
  // extra data only of links. A final 0 ends every text that starts inside.
  if (entry_count_ > 0 && !EndsWithZero(texts_)) return false;
  for (const DblNdx& e : entries_) {
    if (e.text_pos >= texts_.GetCount()) return false;
  }
  bool any_link = false;
  for (const auto& kind : kinds_) {
    for (uint32_t x = kind->GetFirstLink(); x < kind->GetEnd(); ++x) {
      if (!ListInside(freq_, entries_[x].freq_pos)) return false;
      any_link = true;
      // A link names something; an empty text is what a zero-filled text
      // table leaves.
      if (texts_[entries_[x].text_pos] == 0) return false;
      // Each word a link lists carries the link in its own list. A
      // zero-filled word or entry table gives every word and every link the
      // same list, which fails this at once; the lists are short, so this
      // costs about one pass over the occurrences.
      const uint32_t* occ = &freq_[entries_[x].freq_pos];
      for (uint32_t i = 1; i <= occ[0]; ++i) {
        const uint32_t w = occ[i];
        if (w >= word_links_.GetCount()) return false;
        const uint32_t pos = word_links_[w];
        if (pos >= records_.GetCount()) return false;
        const uint32_t* list = &records_[pos];
        if (std::find(list + 1, list + 1 + list[0], x) == list + 1 + list[0]) return false;
      }
    }
  }
  // And the other way round: the words' lists hold as many links as the
  // links' occurrence lists hold words (a zero-filled Freq.db lists none).
  uint64_t listed = 0, carried = 0;
  for (const auto& kind : kinds_)
    for (uint32_t x = kind->GetFirstLink(); x < kind->GetEnd(); ++x)
      listed += freq_[entries_[x].freq_pos];
  for (uint32_t pos : word_links_) {
    if (pos >= records_.GetCount()) continue;
    for (uint32_t i = 1; i <= records_[pos]; ++i) {
      bool is_title = true;
      if (FindKind(records_[pos + i], &is_title) && !is_title) ++carried;
    }
  }
  if (listed != carried) return false;
  if (!any_link) return true;
  if (!EndsWithZero(extra_)) return false;
  for (const auto& kind : kinds_) {
    for (uint32_t x = kind->GetFirstLink(); x < kind->GetEnd(); ++x) {
      if (extra_index_[x] >= extra_.GetCount()) return false;
    }
  }
  return true;
}

const CLinkParams* CVornDBLinks::FindKind(uint32_t entry, bool* is_title) const {
  for (const auto& kind : kinds_) {
    if (entry < kind->GetFirstLink()) {
      if (is_title) *is_title = true;
      return kind.get();
    }
    if (entry < kind->GetEnd()) {
      if (is_title) *is_title = false;
      return kind.get();
    }
  }
  return nullptr;
}

const CLinkParams* CVornDBLinks::FindKindByName(std::u16string_view name) const {
  for (const auto& kind : kinds_) {
    if (kind->GetName() == name) return kind.get();
  }
  return nullptr;
}

std::u16string_view CVornDBLinks::GetEntryText(uint32_t entry) const {
  return std::u16string_view(&texts_[entries_[entry].text_pos]);
}

std::string CVornDBLinks::GetExtraData(uint32_t entry) const {
  return std::string(&extra_[extra_index_[entry]]);
}

const uint32_t* CVornDBLinks::GetWordList(uint32_t word) const {
  if (word >= word_links_.GetCount()) return nullptr;
  const uint32_t pos = word_links_[word];
  if (pos >= records_.GetCount()) return nullptr;
  return &records_[pos];
}

void CVornDBLinks::GetLinks(WordIndex word, std::vector<CPVLink>* out) const {
  if (word < 0) return;
  const uint32_t* list = GetWordList(static_cast<uint32_t>(word));
  if (!list) return;
  std::u16string title;
  const CLinkParams* pending = nullptr;  // kind of a title not yet followed by a link
  for (uint32_t i = 1; i <= list[0]; ++i) {
    const uint32_t x = list[i];
    bool is_title = false;
    const CLinkParams* kind = FindKind(x, &is_title);
    if (!kind) continue;
    if (is_title) {
      if (pending) out->emplace_back(pending, title, std::u16string_view(), std::string(), false);
      title = CPVLink::TextProper(GetEntryText(x));
      pending = kind;
    } else {
      out->emplace_back(kind, title, GetEntryText(x), GetExtraData(x), pending == nullptr);
      pending = nullptr;
    }
  }
  if (pending) out->emplace_back(pending, title, std::u16string_view(), std::string(), false);
}

std::u16string CVornDBLinks::GetValueText(int part, uint32_t link) const {
  bool is_title = false;
  const CLinkParams* kind = FindKind(link, &is_title);
  if (part != 0 || !kind || is_title) return std::u16string();
  return kind->GetName() + u" " + GetFormText(link);
}

std::u16string CVornDBLinks::GetFormText(uint32_t link) const {
  bool is_title = false;
  const CLinkParams* kind = FindKind(link, &is_title);
  if (!kind || is_title) return std::u16string();
  return CPVLink(kind, std::u16string(), GetEntryText(link), std::string(), false).GetSearchText();
}

void CVornDBLinks::CollectForms(const std::vector<uint32_t>& words, int /*variant*/,
                                FormList* out) const {
  out->clear();
  for (uint32_t word : words) {
    const uint32_t* list = GetWordList(word);
    if (!list) continue;
    for (uint32_t i = 1; i <= list[0]; ++i) {
      if (!GetFormText(list[i]).empty()) out->push_back(list[i]);
    }
  }
}

void CVornDBLinks::WordsOfForms(const FormList& links, CDBWordList* out) const {
  out->Clear();
  for (uint32_t link : links) {
    bool is_title = true;
    if (!FindKind(link, &is_title) || is_title) continue;
    const uint32_t* list = &freq_[entries_[link].freq_pos];
    out->Append(list + 1, list[0]);
  }
  out->Normalize();
}

bool CVornDBLinks::MatchForms(std::u16string_view pattern, FormList* out) const {
  out->clear();
  const size_t space = pattern.find(u' ');
  if (space == std::u16string_view::npos) return false;
  const CLinkParams* kind = FindKindByName(pattern.substr(0, space));
  if (!kind) return false;
  const std::u16string_view text = pattern.substr(space + 1);
  uint32_t lo = kind->GetFirstLink();
  uint32_t hi = kind->GetEnd();

  const size_t wild = text.find_first_of(GetWildcards());
  if (wild == std::u16string_view::npos) {
    const uint32_t x = PartitionPoint(lo, hi, [&](uint32_t n) { return GetEntryText(n) < text; });
    if (x < hi && GetEntryText(x) == text) out->push_back(x);
    return !out->empty();
  }
  if (wild > 0) {
    const std::u16string_view prefix = text.substr(0, wild);
    auto head = [&](uint32_t n) { return GetEntryText(n).substr(0, wild); };
    lo = PartitionPoint(lo, hi, [&](uint32_t n) { return head(n) < prefix; });
    hi = PartitionPoint(lo, hi, [&](uint32_t n) { return head(n) <= prefix; });
  }
  const std::u16string_view rest = text.substr(wild);
  for (uint32_t x = lo; x < hi; ++x) {
    if (MatchText(rest, GetEntryText(x).substr(wild))) out->push_back(x);
  }
  return !out->empty();
}

void CVornDBLinks::FillFormList(const FormList& links, CFormListSink* list, size_t first,
                                size_t count) const {
  list->SetRedraw(false);
  list->Clear();
  const size_t size = links.size();
  const size_t last = first < size ? first + std::min(count, size - first) : size;
  if (first > 0) list->AddString(u"...");
  std::u16string name;
  if (!links.empty()) {
    if (const CLinkParams* kind = FindKind(links[0])) name = kind->GetName();
  }
  for (size_t i = first; i < last; ++i) {
    std::u16string text = name + u" ";
    if (links[i] < entry_count_) {
      text += CPVLink::TextProper(GetEntryText(links[i]));
    }
    list->AddString(text);
  }
  if (last < size) list->AddString(u"...");
  list->SetRedraw(true);
}

void CVornDBLinks::FillKindList(CFormListSink* list) const {
  for (const auto& kind : kinds_) {
    if (!kind->GetSetting("Search").empty()) list->AddString(kind->GetName() + u" ");
  }
}

}  // namespace vorn
