// The catalogue of database folders: fixed slots for the five well-known
// databases, then every other database in the order found.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "textdb/db_stats.h"
#include "textdb/vorn_db.h"

namespace vorn {

class CIniFile;
namespace platform {
class CMessageSink;
}

class CVornDBs {
 public:
  // Slots 0..4 hold the databases named HEB, LXX_I, LXX_II, GNT and BYZ.
  static constexpr int kFixedSlots = 5;

  // Reads the description of every "*.qyx" folder in each of `folders`, in
  // order. A folder whose Stats.txt cannot be read is reported with message
  // 301 and skipped. `sink` and `settings` (may be null) are borrowed and
  // must outlive the catalogue.
  CVornDBs(const std::vector<std::string>& folders, platform::CMessageSink* sink,
           CIniFile* settings);
  ~CVornDBs();

  int GetCount() const { return static_cast<int>(entries_.size()); }
  // Null for an empty slot or an index out of range.
  const CVornDBStats* GetStats(int index) const;
  // The entry's database, opened on first request; null (after message 300)
  // when it does not open. The catalogue owns it.
  CVornDB* GetDatabase(int index);
  // Index of the first entry whose "/Name" equals `name`; -1 when none.
  int FindByName(std::u16string_view name) const;
  // Index of the first entry whose "/Title" equals `title` ignoring case; -1 when none.
  int FindByTitle(std::u16string_view title) const;
  void CollectCopyrights(std::vector<std::u16string>* out) const;

  // Document bookkeeping for the shell: the document showing an entry.
  void* GetDocument(int index) const;
  void SetDocument(int index, void* document);
  void DocumentClosed(void* document);

 private:
  struct Entry {
    std::unique_ptr<CVornDBStats> stats;
    void* document = nullptr;  // not owned
    std::unique_ptr<CVornDB> db;
  };
  std::vector<Entry> entries_;
  platform::CMessageSink* sink_;
  CIniFile* settings_;
};

// The folders the catalogue searches: the program's folder, then VORN_DATA
// when set, then the installed data folder <prefix>/share/vorn/data of a
// program in <prefix>/bin when it exists, else `built_in` (the build's data
// folder) when not empty.
std::vector<std::string> DefaultDataFolders(const std::string& built_in);

}  // namespace vorn
