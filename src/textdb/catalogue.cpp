#include "textdb/catalogue.h"

#include <unicode/uchar.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "platform/file_system.h"
#include "platform/message_sink.h"
#include "platform/string_table.h"
#include "platform/u16.h"

namespace vorn {

namespace {
constexpr const char16_t* kSlotNames[CVornDBs::kFixedSlots] = {u"HEB", u"LXX_I", u"LXX_II", u"GNT",
                                                               u"BYZ"};

bool EqualsIgnoreCase(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (u_foldCase(a[i], U_FOLD_CASE_DEFAULT) != u_foldCase(b[i], U_FOLD_CASE_DEFAULT))
      return false;
  return true;
}
}  // namespace

CVornDBs::CVornDBs(const std::vector<std::string>& folders, platform::CMessageSink* sink,
                   CIniFile* settings)
    : entries_(kFixedSlots), sink_(sink), settings_(settings) {
  std::vector<std::string> seen;
  for (const std::string& folder : folders) {
    // The same folder reached by two names is searched once.
    std::error_code ec;
    std::string canonical = std::filesystem::weakly_canonical(folder, ec).string();
    if (ec) canonical = folder;
    if (std::find(seen.begin(), seen.end(), canonical) != seen.end()) continue;
    seen.push_back(canonical);

    std::vector<std::string> names =
        platform::ListDirectory(folder, "*.qyx", platform::EntryKind::kDirectory);
    // Directory order is arbitrary; a stable order keeps the Open menu stable.
    std::sort(names.begin(), names.end());
    for (const std::string& name : names) {
      auto stats = std::make_unique<CVornDBStats>(platform::JoinPath(folder, name));
      if (!stats->Load()) {
        if (sink_)
          sink_->ShowWarning(platform::FormatString(platform::kIdsCantReadBible,
                                                    platform::ToU16(stats->GetFolder())));
        continue;
      }
      const std::u16string db_name = stats->GetName();
      int slot = -1;
      for (int i = 0; i < kFixedSlots; ++i)
        if (db_name == kSlotNames[i] && !entries_[static_cast<size_t>(i)].stats) slot = i;
      if (slot >= 0) {
        entries_[static_cast<size_t>(slot)].stats = std::move(stats);
      } else {
        entries_.push_back(Entry{std::move(stats), nullptr, nullptr});
      }
    }
  }
}

CVornDBs::~CVornDBs() = default;

const CVornDBStats* CVornDBs::GetStats(int index) const {
  if (index < 0 || index >= GetCount()) return nullptr;
  return entries_[static_cast<size_t>(index)].stats.get();
}

CVornDB* CVornDBs::GetDatabase(int index) {
  if (index < 0 || index >= GetCount()) return nullptr;
  Entry& e = entries_[static_cast<size_t>(index)];
  if (!e.stats) return nullptr;
  if (!e.db) e.db = e.stats->OpenDatabase(sink_, settings_);
  return e.db.get();
}

int CVornDBs::FindByName(std::u16string_view name) const {
  for (int i = 0; i < GetCount(); ++i)
    if (entries_[static_cast<size_t>(i)].stats &&
        entries_[static_cast<size_t>(i)].stats->GetName() == name)
      return i;
  return -1;
}

int CVornDBs::FindByTitle(std::u16string_view title) const {
  for (int i = 0; i < GetCount(); ++i)
    if (entries_[static_cast<size_t>(i)].stats &&
        EqualsIgnoreCase(entries_[static_cast<size_t>(i)].stats->GetTitle(), title))
      return i;
  return -1;
}

void CVornDBs::CollectCopyrights(std::vector<std::u16string>* out) const {
  for (const Entry& e : entries_)
    if (e.stats) e.stats->GetCopyrights(out);
}

void* CVornDBs::GetDocument(int index) const {
  if (index < 0 || index >= GetCount()) return nullptr;
  return entries_[static_cast<size_t>(index)].document;
}

void CVornDBs::SetDocument(int index, void* document) {
  if (index >= 0 && index < GetCount()) entries_[static_cast<size_t>(index)].document = document;
}

void CVornDBs::DocumentClosed(void* document) {
  for (Entry& e : entries_)
    if (e.document == document) e.document = nullptr;
}

std::vector<std::string> DefaultDataFolders(const std::string& built_in) {
  std::vector<std::string> folders;
  std::string program = platform::ProgramFolder();
  if (!program.empty()) folders.push_back(program);
  if (const char* env = std::getenv("VORN_DATA"); env && *env) folders.push_back(env);
  // An installed program (<prefix>/bin) has its databases in
  // <prefix>/share/vorn/data; the build's own folder is then not its data.
  const std::string installed =
      program.empty() ? std::string()
                      : (std::filesystem::path(program).parent_path() / "share/vorn/data").string();
  if (!installed.empty() && platform::DirectoryExists(installed)) {
    folders.push_back(installed);
  } else if (!built_in.empty()) {
    folders.push_back(built_in);
  }
  return folders;
}

}  // namespace vorn
