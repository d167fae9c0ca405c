// The program-wide bookmark list: verses the user marked, kept as reference
// key strings ("GEN 12:3") in canonical reference order, so that one list
// serves every database and survives between runs.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "refs/bible_ref.h"

namespace vorn {

class CIniFile;
class CVornDB;

class CBookmarks {
 public:
  // The settings section that holds the list, one key per bookmark.
  static constexpr char16_t kSection[] = u"Bookmarks";
  // Command id of the first bookmark's menu item; the n-th is this + n.
  static constexpr int kFirstCommand = 35700;

  struct MenuItem {
    std::u16string text;  // the long form of the bookmark in the current database
    bool enabled;         // the current database has the verse
    bool checked;         // it is the current reference
    int command;
  };

  // Inserts the reference's key string at its place in reference order.
  // Ignored for a reference not bound to a verse, and for one already stored.
  void Add(const CBibleRef& ref);
  // The index of the bookmark whose key string equals the reference's, or
  // GetCount() when there is none.
  size_t Find(const CBibleRef& ref) const;
  // Whether Add would store the reference.
  bool CanAdd(const CBibleRef& ref) const;
  bool Contains(const CBibleRef& ref) const { return Find(ref) < GetCount(); }
  void Remove(const CBibleRef& ref);
  void Clear() { keys_.clear(); }

  size_t GetCount() const { return keys_.size(); }
  bool IsEmpty() const { return keys_.empty(); }
  const std::u16string& GetKey(size_t index) const { return keys_[index]; }
  // Bookmark `index` (below GetCount()) carried into `db` (may be null: the
  // unbound reference).
  CBibleRef GetBookmark(size_t index, CVornDB* db) const;

  // The nearest bookmark before the current reference that the current
  // database has and that is not the current verse; the current reference
  // itself when there is none.
  CBibleRef Previous(const CBibleRef& current) const;
  // The nearest bookmark after the current reference that the current
  // database has; the current reference itself when there is none.
  CBibleRef Next(const CBibleRef& current) const;

  // One item per bookmark, in stored order, for the Navigate menu.
  std::vector<MenuItem> GetMenuItems(const CBibleRef& current) const;

  // Replaces the list with the section's values, in the order of their
  // keys. Empty values are skipped.
  void Load(const CIniFile& settings);
  // Replaces the section with keys "1000", "1001", ... in stored order.
  void Save(CIniFile* settings) const;

 private:
  std::vector<std::u16string> keys_;
};

}  // namespace vorn
