#include "query/named_ranges.h"

#include <cstdio>

#include "platform/file_system.h"
#include "platform/u16.h"
#include "textdb/ini_file.h"
#include "textdb/vorn_db.h"

namespace vorn {

namespace {

constexpr char16_t kSection[] = u"Ranges";

bool IsUpperLetter(char16_t c) { return c >= u'A' && c <= u'Z'; }
bool IsAlnum(char16_t c) {
  return IsUpperLetter(c) || (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9');
}

}  // namespace

bool CNamedRanges::Load(const std::string& working_path, const std::string& program_path) {
  entries_.clear();
  working_path_ = working_path;
  CIniFile file;
  if (!file.Load(working_path) && (program_path.empty() || !file.Load(program_path))) return false;
  // The keys begin with their three-digit place, so their sorted order is
  // the order the entries were saved in.
  std::vector<std::u16string> keys;
  file.GetKeys(kSection, &keys);
  for (const std::u16string& key : keys) {
    Entry e;
    e.name = key.size() > 4 ? key.substr(4) : std::u16string();
    file.GetString(kSection, key, &e.ranges);
    entries_.push_back(std::move(e));
  }
  return true;
}

bool CNamedRanges::IsOffered(std::u16string_view ranges, const CVornDB& db) {
  std::u16string text(ranges);
  for (char16_t& c : text)
    if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - u'a' + u'A');
  for (size_t i = 0; i + 3 <= text.size(); ++i) {
    const bool alone =
        (i == 0 || !IsAlnum(text[i - 1])) && (i + 3 == text.size() || !IsAlnum(text[i + 3]));
    if (!alone) continue;
    const bool code = (IsUpperLetter(text[i]) || (text[i] >= u'0' && text[i] <= u'9')) &&
                      IsUpperLetter(text[i + 1]) && IsUpperLetter(text[i + 2]);
    if (code && db.GetBookNumber(std::u16string_view(text).substr(i, 3)) == 0) return false;
  }
  return true;
}

bool CNamedRanges::Add(int after, std::u16string name, std::u16string ranges) {
  size_t at = after >= 0 && static_cast<size_t>(after) < entries_.size()
                  ? static_cast<size_t>(after) + 1
                  : entries_.size();
  entries_.insert(entries_.begin() + static_cast<std::ptrdiff_t>(at),
                  Entry{std::move(name), std::move(ranges)});
  return Save();
}

bool CNamedRanges::Rename(int index, std::u16string name) {
  if (index < 0 || static_cast<size_t>(index) >= entries_.size()) return false;
  entries_[static_cast<size_t>(index)].name = std::move(name);
  return Save();
}

bool CNamedRanges::Delete(int index) {
  if (index < 0 || static_cast<size_t>(index) >= entries_.size()) return false;
  entries_.erase(entries_.begin() + index);
  return Save();
}

bool CNamedRanges::MoveUp(int index) {
  if (index < 1 || static_cast<size_t>(index) >= entries_.size()) return false;
  std::swap(entries_[static_cast<size_t>(index)], entries_[static_cast<size_t>(index) - 1]);
  return Save();
}

bool CNamedRanges::MoveDown(int index) {
  if (index < 0 || static_cast<size_t>(index) + 1 >= entries_.size()) return false;
  std::swap(entries_[static_cast<size_t>(index)], entries_[static_cast<size_t>(index) + 1]);
  return Save();
}

std::u16string CNamedRanges::DescribeSaveFailure() const {
  const std::u16string path = platform::ToU16(working_path_);
  switch (save_failure_) {
    case SaveFailure::kNone:
      return {};
    case SaveFailure::kUnwritable:
      return u"The named ranges could not be saved to " + path + u".";
    case SaveFailure::kUnreadable:
      return u"The named ranges were not saved: " + path +
             u" exists but could not be read, and saving would replace what else it holds.";
  }
  return {};
}

bool CNamedRanges::Save() {
  save_failure_ = SaveFailure::kUnwritable;
  if (working_path_.empty()) return false;
  // Only the section of named ranges is rewritten; whatever else the file
  // holds stays.
  CIniFile file;
  // A file not written yet starts empty; one that is there but cannot be
  // read is left alone, since writing it would drop its other sections.
  std::string bytes;
  const platform::ReadResult read = platform::ReadFileIfPresent(working_path_, &bytes);
  if (read == platform::ReadResult::kFailed ||
      (read == platform::ReadResult::kRead && !file.Load(working_path_))) {
    save_failure_ = SaveFailure::kUnreadable;
    return false;
  }
  file.RemoveSection(kSection);
  for (size_t i = 0; i < entries_.size(); ++i) {
    char number[32];
    std::snprintf(number, sizeof number, "%03zu ", i);
    std::u16string key(number, number + std::char_traits<char>::length(number));
    key += entries_[i].name;
    file.SetString(kSection, key, entries_[i].ranges);
  }
  if (!file.Save(&working_path_)) return false;
  save_failure_ = SaveFailure::kNone;
  return true;
}

}  // namespace vorn
