#include "refs/bookmarks.h"

#include <algorithm>
#include <string>

#include "platform/u16.h"
#include "textdb/ini_file.h"

namespace vorn {

namespace {

bool AllDigits(const std::u16string& s) {
  return !s.empty() &&
         std::all_of(s.begin(), s.end(), [](char16_t c) { return c >= u'0' && c <= u'9'; });
}

// Keys are written as decimal numbers; comparing them as numbers keeps the
// stored order past "9999" ("10000" would sort before "1001" as text).
bool KeyOrder(const std::u16string& a, const std::u16string& b) {
  bool da = AllDigits(a), db = AllDigits(b);
  if (da != db) return da;
  if (!da) return a < b;
  std::u16string_view x(a), y(b);
  while (x.size() > 1 && x[0] == u'0') x.remove_prefix(1);
  while (y.size() > 1 && y[0] == u'0') y.remove_prefix(1);
  if (x.size() != y.size()) return x.size() < y.size();
  if (x != y) return x < y;
  return a < b;
}

}  // namespace

void CBookmarks::Add(const CBibleRef& ref) {
  if (!CanAdd(ref)) return;
  auto it = std::find_if(keys_.begin(), keys_.end(),
                         [&](const std::u16string& key) { return ref.IsBefore(key); });
  keys_.insert(it, ref.GetKeyString());
}

size_t CBookmarks::Find(const CBibleRef& ref) const {
  const std::u16string key = ref.GetKeyString();
  return static_cast<size_t>(std::find(keys_.begin(), keys_.end(), key) - keys_.begin());
}

bool CBookmarks::CanAdd(const CBibleRef& ref) const { return ref.HasEntry() && !Contains(ref); }

void CBookmarks::Remove(const CBibleRef& ref) {
  size_t i = Find(ref);
  if (i < keys_.size()) keys_.erase(keys_.begin() + static_cast<std::ptrdiff_t>(i));
}

CBibleRef CBookmarks::GetBookmark(size_t index, CVornDB* db) const {
  return CBibleRef(CBibleRef::ParseKeyString(keys_[index]), db);
}

CBibleRef CBookmarks::Previous(const CBibleRef& current) const {
  size_t i = 0;
  while (i < keys_.size() && !current.IsBefore(keys_[i])) ++i;
  while (i-- > 0) {
    CBibleRef mapped = GetBookmark(i, current.GetDatabase());
    if (mapped.HasEntry() && !mapped.IsEqual(current)) return mapped;
  }
  return current;
}

CBibleRef CBookmarks::Next(const CBibleRef& current) const {
  size_t i = 0;
  while (i < keys_.size() && !current.IsBefore(keys_[i])) ++i;
  for (; i < keys_.size(); ++i) {
    CBibleRef mapped = GetBookmark(i, current.GetDatabase());
    if (mapped.HasEntry()) return mapped;
  }
  return current;
}

std::vector<CBookmarks::MenuItem> CBookmarks::GetMenuItems(const CBibleRef& current) const {
  std::vector<MenuItem> items;
  for (size_t i = 0; i < keys_.size(); ++i) {
    CBibleRef mapped = GetBookmark(i, current.GetDatabase());
    items.push_back({mapped.FormatLong(), mapped.HasEntry(), mapped.IsEqual(current),
                     kFirstCommand + static_cast<int>(i)});
  }
  return items;
}

void CBookmarks::Load(const CIniFile& settings) {
  keys_.clear();
  std::vector<std::u16string> names;
  settings.GetKeys(kSection, &names);
  std::stable_sort(names.begin(), names.end(), KeyOrder);
  for (const std::u16string& name : names) {
    std::u16string value;
    if (settings.GetString(kSection, name, &value) && !value.empty()) keys_.push_back(value);
  }
}

void CBookmarks::Save(CIniFile* settings) const {
  settings->RemoveSection(kSection);
  for (size_t i = 0; i < keys_.size(); ++i)
    settings->SetString(kSection, platform::ToU16(std::to_string(1000 + i)), keys_[i]);
}

}  // namespace vorn
