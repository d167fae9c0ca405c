#include "markup/propositions.h"

#include <algorithm>

#include "markup/user_folder.h"
#include "platform/file_system.h"
#include "platform/string_table.h"
#include "platform/u16.h"
#include "textdb/db_stats.h"
#include "textdb/vorn_db.h"

namespace vorn {

CPropositionsViewer::~CPropositionsViewer() = default;

CPropositions::CPropositions(CVornDB* db, std::string user_folder, platform::CMessageSink* sink)
    : db_(db), user_folder_(std::move(user_folder)), sink_(sink), word_count_(db->GetWordCount()) {
  state_ = FreshState();
}

CPropositions::~CPropositions() = default;

CPropositions::State CPropositions::FreshState() const {
  State s;
  s.data.entries = {{0, 0}, {word_count_, 0}};
  return s;
}

WordSpan CPropositions::GetSentence(WordIndex word) const {
  if (word < 0 || static_cast<uint32_t>(word) >= word_count_) return {};
  WordSpan s = db_->GetSentenceRange(word, &state_.data.joins);
  // Without sentence data the whole text is one sentence.
  if (s.first < 0 || s.first > word) s.first = 0;
  if (s.end < 0 || static_cast<uint32_t>(s.end) > word_count_ || s.end <= word) {
    s.end = static_cast<WordIndex>(word_count_);
  }
  return s;
}

size_t CPropositions::EntryAtOrBefore(uint32_t word) const {
  const auto& e = state_.data.entries;
  auto it = std::upper_bound(e.begin(), e.end(), word,
                             [](uint32_t w, const PropEntry& x) { return w < x.start; });
  return it == e.begin() ? 0 : static_cast<size_t>(it - e.begin()) - 1;
}

int CPropositions::EntryAt(uint32_t word) const {
  size_t i = EntryAtOrBefore(word);
  return state_.data.entries[i].start == word ? static_cast<int>(i) : -1;
}

WordSpan CPropositions::GetProposition(WordIndex word, int level, int* prop_level) const {
  const WordSpan s = GetSentence(word);
  if (s.IsNone()) return {};
  const auto& e = state_.data.entries;
  const size_t last = e.size() - 1;  // the end marker
  size_t q = EntryAtOrBefore(static_cast<uint32_t>(word));
  size_t r = q + 1;
  if (level != kAllLevels) {
    while (q > 0 && e[q].level > level) --q;
    while (r < last && e[r].level > level) ++r;
  }
  const uint32_t sentence_first = static_cast<uint32_t>(s.first);
  const uint32_t first = std::max(e[q].start, sentence_first);
  const uint32_t end =
      r <= last ? std::min(static_cast<uint32_t>(s.end), e[r].start) : static_cast<uint32_t>(s.end);
  if (prop_level) *prop_level = e[q].start >= sentence_first ? e[q].level : 0;
  return {static_cast<WordIndex>(first), static_cast<WordIndex>(end)};
}

template <typename Edit>
void CPropositions::EditEach(const std::vector<WordIndex>& selection, Edit edit) {
  State before = state_;
  bool changed = false;
  WordSpan handled;
  for (WordIndex w : selection) {
    if (w < 0 || static_cast<uint32_t>(w) >= word_count_) continue;
    if (!handled.IsNone() && w >= handled.first && w < handled.end) continue;
    int level = 0;
    handled = GetProposition(w, kAllLevels, &level);
    changed |= edit(w, handled, level);
  }
  undo_ = std::move(before);
  if (changed) {
    state_.modified = true;
    Refresh();
  }
}

void CPropositions::AddJoin(uint32_t word) {
  auto& j = state_.data.joins;
  auto it = std::lower_bound(j.begin(), j.end(), word);
  if (it == j.end() || *it != word) j.insert(it, word);
}

void CPropositions::Split(const std::vector<WordIndex>& selection) {
  EditEach(selection, [this](WordIndex w, WordSpan prop, int level) {
    if (w == prop.first) return false;
    auto& e = state_.data.entries;
    e.insert(e.begin() + static_cast<long>(EntryAtOrBefore(static_cast<uint32_t>(w))) + 1,
             PropEntry{static_cast<uint32_t>(w), level});
    return true;
  });
}

void CPropositions::ShiftRight(const std::vector<WordIndex>& selection) {
  EditEach(selection, [this](WordIndex, WordSpan prop, int) {
    const auto p = static_cast<uint32_t>(prop.first);
    auto& e = state_.data.entries;
    int at = EntryAt(p);
    if (at >= 0) {
      if (e[at].level >= kMaxPropLevel) return false;
      ++e[at].level;
    } else {
      AddJoin(p);
      e.insert(e.begin() + static_cast<long>(EntryAtOrBefore(p)) + 1, PropEntry{p, 1});
    }
    return true;
  });
}

void CPropositions::ShiftLeft(const std::vector<WordIndex>& selection) {
  EditEach(selection, [this](WordIndex, WordSpan prop, int) {
    int at = EntryAt(static_cast<uint32_t>(prop.first));
    if (at < 0 || state_.data.entries[at].level <= 0) return false;
    --state_.data.entries[at].level;
    return true;
  });
}

void CPropositions::Join(const std::vector<WordIndex>& selection) {
  EditEach(selection, [this](WordIndex w, WordSpan prop, int) {
    const auto p = static_cast<uint32_t>(prop.first);
    if (p == 0) return false;
    auto& e = state_.data.entries;
    size_t q = EntryAtOrBefore(static_cast<uint32_t>(w));
    if (e[q].start == p) {
      e.erase(e.begin() + static_cast<long>(q));
    } else {
      // The proposition starts where its sentence does, without an entry.
      AddJoin(p);
    }
    return true;
  });
}

bool CPropositions::Undo() {
  if (!undo_) return false;
  std::swap(state_, *undo_);
  Refresh();
  return true;
}

std::string CPropositions::GetUserFilePath(std::u16string_view name) const {
  if (user_folder_.empty()) return {};  // no user folder for this database
  return platform::JoinPath(user_folder_, platform::ToUtf8(name) + ".vpo");
}

std::string CPropositions::GetDatabaseFilePath(std::u16string_view name) const {
  return platform::JoinPath(platform::JoinPath(db_->GetStats()->GetFolder(), "Props"),
                            platform::ToUtf8(name) + ".vpo");
}

bool CPropositions::ReadFile(std::u16string_view name, PropFileData* data, std::string* path,
                             std::string* bytes) const {
  std::string read;
  std::string from = GetUserFilePath(name);
  bool ok = !name.empty() && platform::ReadWholeFile(from, &read);
  if (!ok && !name.empty()) {
    from = GetDatabaseFilePath(name);
    ok = platform::ReadWholeFile(from, &read);
  }
  if (ok && ParsePropositionsFile(read, db_->GetName(), word_count_, data)) {
    if (path) *path = from;
    if (bytes) *bytes = std::move(read);
    return true;
  }
  if (sink_) {
    sink_->ShowWarning(platform::FormatString(platform::kIdsCantReadProps,
                                              platform::ToU16(GetUserFilePath(name))));
  }
  return false;
}

bool CPropositions::Load(std::u16string_view name) {
  PropFileData data;
  std::string path, bytes;
  if (!ReadFile(name, &data, &path, &bytes)) return false;
  state_.name = std::u16string(name);
  state_.data = std::move(data);
  state_.modified = false;
  base_path_ = path;
  base_fingerprint_ = platform::Fingerprint(bytes);
  Refresh();
  return true;
}

bool CPropositions::CheckFileBeforeWriting(const std::string& path) {
  std::string bytes, error;
  switch (platform::ReadFileIfPresent(path, &bytes, &error)) {
    case platform::ReadResult::kMissing:
      return true;
    case platform::ReadResult::kFailed:
      return ClearDamagedFile(path, platform::ToU16(error), sink_);
    case platform::ReadResult::kRead:
      break;
  }
  PropFileData theirs;
  if (!ParsePropositionsFile(bytes, db_->GetName(), word_count_, &theirs)) {
    return ClearDamagedFile(path, u"not a proposition analysis of this text", sink_);
  }
  // A file this analysis never read was confirmed for overwriting by Save As.
  if (path != base_path_ || platform::Fingerprint(bytes) == base_fingerprint_) return true;
  if (theirs.joins == state_.data.joins && theirs.entries == state_.data.entries) return true;
  const platform::MsgAnswer answer =
      sink_ ? sink_->Ask(platform::FormatString(platform::kIdsChangedOnDisk, platform::ToU16(path)),
                         platform::MsgButtons::kYesNoCancel)
            : platform::MsgAnswer::kYes;
  if (answer == platform::MsgAnswer::kYes) return true;
  if (answer == platform::MsgAnswer::kNo) {
    state_.data = std::move(theirs);
    state_.modified = false;
    base_fingerprint_ = platform::Fingerprint(bytes);
    Refresh();
  }
  return false;
}

bool CPropositions::Save() {
  if (state_.name.empty()) return false;
  if (!EnsureFolder(user_folder_, platform::kIdsCantCreateDirProps, sink_)) return false;
  const std::string path = GetUserFilePath(state_.name);
  const std::string bytes = SerializePropositionsFile(db_->GetName(), state_.data);
  {
    platform::CFolderLock lock(path);
    if (!CheckFileBeforeWriting(path)) return false;
    if (platform::WriteFileAtomically(path, bytes)) {
      state_.modified = false;
      base_path_ = path;
      base_fingerprint_ = platform::Fingerprint(bytes);
      return true;
    }
  }
  if (sink_) {
    sink_->ShowWarning(platform::FormatString(platform::kIdsCantWriteProps, platform::ToU16(path)));
  }
  return false;
}

bool CPropositions::Reload() {
  if (!state_.modified) return false;
  if (state_.name.empty()) {
    state_ = FreshState();
  } else {
    PropFileData data;
    std::string path, bytes;
    if (!ReadFile(state_.name, &data, &path, &bytes)) return false;
    state_.data = std::move(data);
    state_.modified = false;
    base_path_ = path;
    base_fingerprint_ = platform::Fingerprint(bytes);
  }
  Refresh();
  return true;
}

bool CPropositions::Merge(std::u16string_view name) {
  PropFileData other;
  if (!ReadFile(name, &other)) return false;
  undo_ = state_;
  PropFileData& mine = state_.data;
  const size_t joins_before = mine.joins.size();
  const size_t entries_before = mine.entries.size();

  std::vector<uint32_t> joins;
  std::set_union(mine.joins.begin(), mine.joins.end(), other.joins.begin(), other.joins.end(),
                 std::back_inserter(joins));
  // set_union takes equal elements from the first range: this analysis wins.
  std::vector<PropEntry> entries;
  std::set_union(mine.entries.begin(), mine.entries.end(), other.entries.begin(),
                 other.entries.end(), std::back_inserter(entries),
                 [](const PropEntry& a, const PropEntry& b) { return a.start < b.start; });
  mine.joins = std::move(joins);
  mine.entries = std::move(entries);
  if (mine.joins.size() != joins_before || mine.entries.size() != entries_before) {
    state_.modified = true;
  }
  Refresh();
  return true;
}

void CPropositions::TakeStateFrom(const CPropositions& other, std::u16string_view name) {
  state_.modified = other.state_.modified;
  state_.data = other.state_.data;
  state_.name = std::u16string(name);
  Refresh();
}

void CPropositions::AttachView(CPropositionsViewer* view) {
  if (std::find(views_.begin(), views_.end(), view) == views_.end()) views_.push_back(view);
}

void CPropositions::DetachView(CPropositionsViewer* view) {
  views_.erase(std::remove(views_.begin(), views_.end(), view), views_.end());
}

void CPropositions::Refresh() {
  for (CPropositionsViewer* v : std::vector<CPropositionsViewer*>(views_))
    v->PropositionsChanged(this);
}

}  // namespace vorn
