// The list of past queries behind the query box: the formatted text of each
// query run, oldest first, walked with the Up and Down keys and carried
// from one run of the program to the next in the settings section
// "Queries".
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "textdb/font_format.h"

namespace vorn {

class CIniFile;
class CQueryBox;

class CQueryList {
 public:
  // At most this many of the newest queries are saved.
  static constexpr size_t kMaxSaved = 50;

  // After a successful run: appends `formatted` (and makes it current)
  // unless it is the entry at the current place; `box_text` becomes the text
  // of the last run and the text last shown.
  void Record(std::u16string_view formatted, std::u16string_view box_text);

  // The box's text counts as edited when it differs from the text last
  // shown.
  bool IsEdited(std::u16string_view box_text) const { return box_text != shown_; }
  // Previous: the entry before the current one, or the current one itself
  // when the box's text was edited. Next likewise.
  bool CanGoPrevious(std::u16string_view box_text) const;
  bool CanGoNext(std::u16string_view box_text) const;
  // Each shows the entry in `box` when allowed; false otherwise.
  bool PreviousQuery(CQueryBox* box);
  bool NextQuery(CQueryBox* box);
  // Empties the box, makes entry `k` current and renders its formatted text
  // into the box (Arial 12 as the base format); ignored outside the list.
  void Show(int32_t k, CQueryBox* box);

  // Writes the newest kMaxSaved entries as "Q 0", "Q 1", ... in section
  // "Queries", replacing what the section held.
  void Save(CIniFile* settings) const;
  // Replaces the list with the keys "Q 0", "Q 1", ... up to the first one
  // missing, makes the last entry current and shows it in `box` (may be
  // null).
  void Load(const CIniFile& settings, CQueryBox* box);

  // The list newest first, as the history drop-down shows it; false when it
  // is empty.
  bool GetNewestFirst(std::vector<std::u16string>* out) const;

  const std::vector<std::u16string>& GetEntries() const { return entries_; }
  // -1 while the list is empty.
  int32_t GetCurrent() const { return current_; }
  const std::u16string& GetLastRunText() const { return last_run_; }
  const std::u16string& GetLastShownText() const { return shown_; }

 private:
  std::vector<std::u16string> entries_;
  int32_t current_ = -1;
  std::u16string last_run_;
  std::u16string shown_;
};

}  // namespace vorn
