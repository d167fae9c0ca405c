#include "markup/tags_db.h"

#include <algorithm>

#include "markup/tag_viewer.h"
#include "markup/user_folder.h"
#include "platform/file_system.h"
#include "platform/string_table.h"
#include "platform/u16.h"
#include "textdb/db_stats.h"

namespace vorn {

namespace {

constexpr std::string_view kTagExtension = ".vtd";

std::vector<std::string> SortedList(const std::string& folder, std::string_view pattern,
                                    platform::EntryKind kind) {
  std::vector<std::string> names = platform::ListDirectory(folder, pattern, kind);
  std::sort(names.begin(), names.end());
  return names;
}

std::string SetFolder(const std::string& base, std::u16string_view set) {
  // No user folder (see UserFolder) stays none.
  return set.empty() || base.empty() ? base : platform::JoinPath(base, platform::ToUtf8(set));
}

}  // namespace

CTagsDB::CTagsDB(const std::string& db_folder, std::u16string_view db_name, uint32_t word_count,
                 const std::string& user_folder, platform::CMessageSink* sink)
    : sink_(sink) {
  place_.db_name = std::u16string(db_name);
  place_.db_folder = db_folder;
  place_.user_folder = user_folder;
  place_.word_count = word_count;
  if (!user_folder.empty()) Scan(user_folder, false, nullptr);
  if (!db_folder.empty()) Scan(db_folder, true, nullptr);
  Sort();
}

CTagsDB::~CTagsDB() {
  // Views still showing a tag must not keep a pointer to it.
  for (auto& t : tags_) t->RemoveFromViews();
}

void CTagsDB::Scan(const std::string& folder, bool database_tags, const CTagDB* only_like) {
  ScanFolder(folder, u"", database_tags, only_like);
  for (const std::string& sub : SortedList(folder, "*", platform::EntryKind::kDirectory)) {
    ScanFolder(platform::JoinPath(folder, sub), platform::ToU16(sub), database_tags, only_like);
  }
}

void CTagsDB::ScanFolder(const std::string& folder, std::u16string_view set, bool database_tags,
                         const CTagDB* only_like) {
  for (const std::string& file : SortedList(folder, "*.vtd", platform::EntryKind::kFile)) {
    std::u16string name = platform::ToU16(file.substr(0, file.size() - kTagExtension.size()));
    if (name.empty()) continue;
    if (only_like && !only_like->IsSameTag(set, name)) continue;
    if (FindTag(set, name)) continue;
    const std::string path = platform::JoinPath(folder, file);
    std::u16string reason;
    std::unique_ptr<CTagDB> tag =
        CTagDB::FromFile(place_, path, set, name, database_tags, sink_, &reason);
    if (tag) {
      tags_.push_back(std::move(tag));
    } else if (std::none_of(unreadable_.begin(), unreadable_.end(),
                            [&path](const UnreadableFile& u) { return u.path == path; })) {
      unreadable_.push_back({path, std::u16string(set), name, reason, !database_tags});
    }
  }
}

void CTagsDB::Sort() {
  std::stable_sort(tags_.begin(), tags_.end(), [](const auto& a, const auto& b) {
    int c = CompareNoCase(a->GetName(), b->GetName());
    if (c != 0) return c < 0;
    return CompareNoCase(a->GetSetName(), b->GetSetName()) < 0;
  });
}

std::vector<CTagDB*> CTagsDB::GetTags() const {
  std::vector<CTagDB*> out;
  out.reserve(tags_.size());
  for (const auto& t : tags_) out.push_back(t.get());
  return out;
}

bool CTagsDB::Contains(const CTagDB* tag) const {
  return std::any_of(tags_.begin(), tags_.end(), [tag](const auto& t) { return t.get() == tag; });
}

CTagDB* CTagsDB::FindTag(std::u16string_view name) const {
  for (const auto& t : tags_) {
    if (EqualsNoCase(t->GetName(), name)) return t.get();
  }
  return nullptr;
}

CTagDB* CTagsDB::FindTag(std::u16string_view set, std::u16string_view name) const {
  for (const auto& t : tags_) {
    if (t->IsSameTag(set, name)) return t.get();
  }
  return nullptr;
}

bool CTagsDB::ReloadChanged() {
  bool changed = false;
  for (const auto& t : tags_) changed |= t->ReloadIfChanged();
  const size_t before = tags_.size();
  // A file that has become readable may be listed now.
  unreadable_.clear();
  if (!place_.user_folder.empty()) Scan(place_.user_folder, false, nullptr);
  if (!place_.db_folder.empty()) Scan(place_.db_folder, true, nullptr);
  if (tags_.size() != before) {
    Sort();
    changed = true;
  }
  return changed;
}

std::vector<std::u16string> CTagsDB::GetSetNames() const {
  std::vector<std::u16string> out{std::u16string(kDefaultSetName)};
  for (const auto& t : tags_) out.push_back(t->GetDisplaySetName());
  std::sort(out.begin(), out.end(),
            [](const auto& a, const auto& b) { return CompareNoCase(a, b) < 0; });
  out.erase(std::unique(out.begin(), out.end(),
                        [](const auto& a, const auto& b) { return EqualsNoCase(a, b); }),
            out.end());
  return out;
}

std::u16string CTagsDB::Describe(std::u16string_view set, std::u16string_view name) const {
  std::u16string s = NormalizeSetName(set);
  return (s.empty() ? std::u16string(kDefaultSetName) : s) + u"/" + std::u16string(name);
}

bool CTagsDB::CheckNewIdentity(std::u16string_view set, std::u16string_view name,
                               const CTagDB* except) {
  std::u16string_view bad;
  if (!IsUsableFileName(name)) {
    bad = name;
  } else if (!set.empty() && !IsUsableFileName(set)) {
    bad = set;
  }
  if (!bad.empty() || name.empty()) {
    if (sink_) sink_->ShowWarning(platform::FormatString(platform::kIdsBadFileName, bad));
    return false;
  }
  // A file of that identity that could not be read is never replaced
  // unseen: it is moved aside first, or the name is refused.
  for (auto it = unreadable_.begin(); it != unreadable_.end(); ++it) {
    if (EqualsNoCase(it->name, name) &&
        EqualsNoCase(NormalizeSetName(it->set), NormalizeSetName(set)) && it->user_file) {
      if (!ClearDamagedFile(it->path, it->reason, sink_)) return false;
      unreadable_.erase(it);
      break;
    }
  }
  CTagDB* existing = FindTag(set, name);
  if (existing && existing != except) {
    if (sink_) {
      std::u16string s = NormalizeSetName(set);
      sink_->ShowWarning(platform::FormatString(
          platform::kIdsTagExists, s.empty() ? std::u16string(kDefaultSetName) : s, name));
    }
    return false;
  }
  return true;
}

bool CTagsDB::MakeFolder(const std::string& folder) {
  return EnsureFolder(folder, platform::kIdsCantCreateDir, sink_);
}

CTagDB* CTagsDB::CreateTag(std::u16string_view set, std::u16string_view name) {
  if (!CheckNewIdentity(set, name, nullptr)) return nullptr;
  auto tag = std::make_unique<CTagDB>(place_, set, name, sink_);
  tag->SetStyle(NewTagStyle(tags_.size()));
  if (!tag->Save()) return nullptr;
  CTagDB* out = tag.get();
  tags_.push_back(std::move(tag));
  Sort();
  return out;
}

CTagDB* CTagsDB::CopyTag(CTagDB* tag, std::u16string_view set, std::u16string_view name) {
  if (!Contains(tag) || !CheckNewIdentity(set, name, nullptr)) return nullptr;
  const std::u16string stored_set = NormalizeSetName(set);
  const std::string folder = SetFolder(place_.user_folder, stored_set);
  if (!MakeFolder(folder)) return nullptr;
  const std::string target = platform::JoinPath(folder, platform::ToUtf8(name) + ".vtd");
  std::string error;
  if (!platform::CopyFile(tag->GetFilePath(), target, &error)) {
    if (sink_) {
      sink_->ShowWarning(
          platform::FormatString(platform::kIdsCantCopy, platform::ToU16(tag->GetFilePath()),
                                 u"<" + Describe(set, name) + u">: " + platform::ToU16(error)));
    }
    return nullptr;
  }
  std::unique_ptr<CTagDB> copy = CTagDB::FromFile(place_, target, stored_set, name, false, sink_);
  if (!copy) {
    if (sink_)
      sink_->ShowWarning(
          platform::FormatString(platform::kIdsCantReadTag, platform::ToU16(target)));
    return nullptr;
  }
  CTagDB* out = copy.get();
  tags_.push_back(std::move(copy));
  Sort();
  return out;
}

bool CTagsDB::RenameTag(CTagDB* tag, std::u16string_view set, std::u16string_view name) {
  if (!Contains(tag) || !CheckNewIdentity(set, name, tag)) return false;
  const std::u16string stored_set = NormalizeSetName(set);
  const std::string base = tag->IsDatabaseTag() ? place_.db_folder : place_.user_folder;
  const std::string folder = SetFolder(base, stored_set);
  if (!MakeFolder(folder)) return false;
  const std::string target = platform::JoinPath(folder, platform::ToUtf8(name) + ".vtd");
  std::string error;
  if (target != tag->GetFilePath() && !platform::MoveFile(tag->GetFilePath(), target, &error)) {
    if (sink_) {
      sink_->ShowWarning(
          platform::FormatString(platform::kIdsCantRename, platform::ToU16(tag->GetFilePath()),
                                 u"<" + Describe(set, name) + u">: " + platform::ToU16(error)));
    }
    return false;
  }
  tag->set_name_ = stored_set;
  tag->tag_name_ = std::u16string(name);
  tag->file_path_ = target;
  Sort();
  for (CTagViewer* v : std::vector<CTagViewer*>(tag->views_)) v->TagChanged(tag);
  return true;
}

bool CTagsDB::DeleteTag(CTagDB* tag, bool confirm) {
  if (!Contains(tag)) return false;
  if (confirm && sink_ &&
      sink_->Ask(platform::FormatString(platform::kIdsConfirmDeleteTag, tag->GetRelativeName()),
                 platform::MsgButtons::kYesNo) != platform::MsgAnswer::kYes) {
    return false;
  }
  if (!tag->IsNew() || platform::FileExists(tag->GetFilePath())) {
    std::string error;
    if (!platform::DeleteFile(tag->GetFilePath(), &error)) {
      if (sink_) {
        sink_->ShowWarning(platform::FormatString(platform::kIdsCantDeleteTag,
                                                  platform::ToU16(tag->GetFilePath()),
                                                  platform::ToU16(error)));
      }
      return false;
    }
  }
  tag->RemoveFromViews();
  auto it =
      std::find_if(tags_.begin(), tags_.end(), [tag](const auto& t) { return t.get() == tag; });
  std::unique_ptr<CTagDB> gone = std::move(*it);
  tags_.erase(it);
  if (!place_.db_folder.empty()) Scan(place_.db_folder, true, gone.get());
  Sort();
  return true;
}

CTagsDB* GetTagsDB(CVornDB* db, const std::string& working_folder) {
  return db->GetAttachment<CTagsDB>(DBAttachment::kUserTags, [db, &working_folder] {
    return std::make_unique<CTagsDB>(db->GetStats()->GetFolder(), db->GetName(), db->GetWordCount(),
                                     UserFolder(working_folder, db->GetName()), db->GetSink());
  });
}

}  // namespace vorn
