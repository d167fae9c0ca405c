#include "textdb/link_params.h"

#include <vector>

#include "platform/u16.h"
#include "textdb/db_stats.h"

namespace vorn {

CLinkParams::CLinkParams(const CVornDBStats& stats, std::string key, std::u16string name,
                         uint32_t start, uint32_t titles, uint32_t links, const LinkFontMap* fonts)
    : key_(std::move(key)),
      name_(std::move(name)),
      start_(start),
      titles_(titles),
      links_(links),
      fonts_(fonts) {
  std::vector<std::string> children;
  stats.GetChildren(key_, &children);
  for (const std::string& child : children) {
    settings_[child] = stats.GetValue(key_ + "/" + child);
  }
}

const std::u16string& CLinkParams::GetSetting(std::string_view name) const {
  static const std::u16string kEmpty;
  auto it = settings_.find(name);
  return it == settings_.end() ? kEmpty : it->second;
}

CPVLink::CPVLink(const CLinkParams* kind, std::u16string group_title, std::u16string_view text,
                 std::string extra, bool flag)
    : kind_(kind),
      group_title_(std::move(group_title)),
      level_(0),
      text_(TextProper(text, &level_)),
      extra_(std::move(extra)),
      flag_(flag) {}

std::u16string_view CPVLink::TextProper(std::u16string_view text, int* level) {
  int found = 0;
  if (!text.empty() && text[0] >= 1 && text[0] <= kMaxLevel) {
    found = text[0];
    text.remove_prefix(1);
  }
  if (level) *level = found;
  return text;
}

std::u16string CPVLink::Expand(std::u16string_view pattern) const {
  return platform::FormatPlaceholders(pattern, text_, group_title_);
}

std::u16string CPVLink::ExpandSetting(std::string_view name) const {
  return Expand(kind_->GetSetting(name));
}

std::u16string CPVLink::GetSearchText() const {
  std::u16string text = ExpandSetting("Search");
  if (text.empty()) text = ExpandSetting("Note");
  return text;
}

}  // namespace vorn
