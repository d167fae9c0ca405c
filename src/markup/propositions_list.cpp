#include "markup/propositions_list.h"

#include <algorithm>

#include "markup/user_folder.h"
#include "platform/file_system.h"
#include "platform/string_table.h"
#include "platform/u16.h"
#include "textdb/db_stats.h"
#include "textdb/vorn_db.h"

namespace vorn {

namespace {

void AddNames(const std::string& folder, std::vector<std::u16string>* names) {
  std::vector<std::string> files =
      platform::ListDirectory(folder, "*.vpo", platform::EntryKind::kFile);
  std::sort(files.begin(), files.end());
  for (const std::string& f : files) {
    std::u16string name = platform::ToU16(f.substr(0, f.size() - 4));
    if (name.empty()) continue;
    if (std::find(names->begin(), names->end(), name) == names->end()) names->push_back(name);
  }
}

}  // namespace

CPropositionsList::CPropositionsList(std::string working_folder, platform::CMessageSink* sink)
    : working_folder_(std::move(working_folder)), sink_(sink) {}

CPropositionsList::~CPropositionsList() = default;

std::string CPropositionsList::GetUserFolder(const CVornDB* db) const {
  return UserFolder(working_folder_, db->GetName());
}

CPropositions* CPropositionsList::Find(const CVornDB* db, std::u16string_view name) const {
  if (name.empty()) return nullptr;
  for (const auto& p : list_) {
    if (p->GetDatabase() == db && p->GetName() == name) return p.get();
  }
  return nullptr;
}

CPropositions* CPropositionsList::CreateFresh(CVornDB* db, CPropositionsViewer* view) {
  list_.push_back(std::make_unique<CPropositions>(db, GetUserFolder(db), sink_));
  CPropositions* p = list_.back().get();
  if (view) p->AttachView(view);
  return p;
}

CPropositions* CPropositionsList::Load(CVornDB* db, std::u16string_view name,
                                       CPropositionsViewer* view, CPropositions* current) {
  CPropositions* p = Find(db, name);
  if (!p) {
    if (!IsUsableFileName(name)) {
      if (sink_) sink_->ShowWarning(platform::FormatString(platform::kIdsBadFileName, name));
      return nullptr;
    }
    auto loaded = std::make_unique<CPropositions>(db, GetUserFolder(db), sink_);
    if (!loaded->Load(name)) return nullptr;
    list_.push_back(std::move(loaded));
    p = list_.back().get();
  }
  if (p == current) return p;
  if (view) p->AttachView(view);
  if (current) Release(current, view);
  return p;
}

bool CPropositionsList::ConfirmSaveAsName(const CPropositions* current,
                                          std::u16string_view name) const {
  if (name.empty()) {
    if (sink_)
      sink_->ShowWarning(std::u16string(platform::LoadString(platform::kIdsEnterPropsName)));
    return false;
  }
  if (name == current->GetName() || !platform::FileExists(current->GetUserFilePath(name)))
    return true;
  return !sink_ || sink_->Ask(platform::FormatString(platform::kIdsPropsExist, name),
                              platform::MsgButtons::kYesNo) == platform::MsgAnswer::kYes;
}

CPropositions* CPropositionsList::SaveAs(CPropositions* current, std::u16string_view name,
                                         CPropositionsViewer* view) {
  if (!IsUsableFileName(name)) {
    if (sink_) sink_->ShowWarning(platform::FormatString(platform::kIdsBadFileName, name));
    return nullptr;
  }
  // A failed save has been reported and leaves the analysis modified, so it
  // is offered again when its last view lets go.
  if (name == current->GetName()) {
    static_cast<void>(current->Save());
    return current;
  }
  CPropositions* target = Find(current->GetDatabase(), name);
  if (!target) {
    list_.push_back(std::make_unique<CPropositions>(current->GetDatabase(),
                                                    GetUserFolder(current->GetDatabase()), sink_));
    target = list_.back().get();
  }
  target->TakeStateFrom(*current, name);
  static_cast<void>(target->Save());
  if (view) {
    target->AttachView(view);
    Drop(current, view, false);
  }
  return target;
}

bool CPropositionsList::Save(CPropositions* props, CPropositionsViewer* view) {
  if (!props->GetName().empty()) return props->Save();
  std::u16string name = name_provider_ ? name_provider_(props) : std::u16string();
  if (name.empty()) return false;
  CPropositions* saved = SaveAs(props, name, view);
  return saved && !saved->IsModified();
}

void CPropositionsList::Release(CPropositions* props, CPropositionsViewer* view) {
  Drop(props, view, true);
}

void CPropositionsList::Drop(CPropositions* props, CPropositionsViewer* view, bool prompt) {
  if (!props) return;
  if (view) props->DetachView(view);
  if (props->GetViewCount() > 0) return;
  std::unique_ptr<CPropositions> gone = Take(props);
  if (!gone) return;
  if (prompt && gone->IsModified() && sink_ &&
      sink_->Ask(platform::FormatString(
                     platform::kIdsSavePropositions,
                     gone->GetName().empty() ? std::u16string(kUntitled) : gone->GetName(),
                     gone->GetDatabase()->GetName()),
                 platform::MsgButtons::kYesNo) == platform::MsgAnswer::kYes) {
    // A failed save has been reported (message 311). The analysis then
    // stays in the list, still modified, so that opening it again brings the
    // work back instead of losing it with its last view.
    if (!gone->GetName().empty()) {
      if (!gone->Save()) list_.push_back(std::move(gone));
    } else if (name_provider_) {
      std::u16string name = name_provider_(gone.get());
      if (IsUsableFileName(name)) {
        CPropositions* target = Find(gone->GetDatabase(), name);
        if (target) {
          target->TakeStateFrom(*gone, name);
          static_cast<void>(target->Save());
        } else {
          gone->TakeStateFrom(*gone, name);
          if (!gone->Save()) list_.push_back(std::move(gone));
        }
      }
    }
  }
}

std::unique_ptr<CPropositions> CPropositionsList::Take(CPropositions* props) {
  auto it =
      std::find_if(list_.begin(), list_.end(), [props](const auto& p) { return p.get() == props; });
  if (it == list_.end()) return nullptr;
  std::unique_ptr<CPropositions> out = std::move(*it);
  list_.erase(it);
  return out;
}

std::vector<std::u16string> CPropositionsList::ListFiles(const CVornDB* db) const {
  std::vector<std::u16string> names;
  AddNames(GetUserFolder(db), &names);
  AddNames(platform::JoinPath(db->GetStats()->GetFolder(), "Props"), &names);
  return names;
}

}  // namespace vorn
