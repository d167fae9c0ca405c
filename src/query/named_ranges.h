// The named range lists the range dialog offers ("Gospels": "Mat, Mrk, Luk,
// Jhn"), kept in the settings file Ranges.ini, section "Ranges", under keys
// "%03d <name>" whose numbers give the order.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vorn {

class CVornDB;

class CNamedRanges {
 public:
  struct Entry {
    std::u16string name;
    std::u16string ranges;  // a range list in query syntax
  };

  // Reads `working_path` (normally "Ranges.ini" in the current folder), or
  // when that cannot be loaded `program_path` (the copy beside the program).
  // Neither loading leaves the list empty. Saving always goes to
  // `working_path`. Returns whether a file was read.
  [[nodiscard]] bool Load(const std::string& working_path, const std::string& program_path);

  const std::vector<Entry>& GetEntries() const { return entries_; }

  // Whether the entry suits `db`: every three-character book code in its
  // text (a letter or digit and two letters, upper-cased, standing alone)
  // names a book of the database.
  static bool IsOffered(std::u16string_view ranges, const CVornDB& db);

  // Each change renumbers all keys from 000 in the new order and saves the
  // file; false when it could not be written (the list has changed all the
  // same). `after` is the selected entry or -1: the new entry goes after it,
  // or at the end.
  bool Add(int after, std::u16string name, std::u16string ranges);
  // Gives entry `index` a new name; false outside the list or when it could
  // not be saved.
  [[nodiscard]] bool Rename(int index, std::u16string name);
  [[nodiscard]] bool Delete(int index);
  bool MoveUp(int index);
  bool MoveDown(int index);

  // Why the last change was not saved: the file could not be written, or
  // it exists but could not be read, so that writing it would lose its
  // other sections (the file is then left alone).
  enum class SaveFailure { kNone, kUnwritable, kUnreadable };
  SaveFailure GetSaveFailure() const { return save_failure_; }
  // A sentence for the user about the last failed save; "" after a success.
  std::u16string DescribeSaveFailure() const;

 private:
  [[nodiscard]] bool Save();

  std::vector<Entry> entries_;
  std::string working_path_;
  SaveFailure save_failure_ = SaveFailure::kNone;
};

}  // namespace vorn
