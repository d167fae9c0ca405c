// Link kinds and links of the links line: the data that a link to an entry
// of the reference library carries. What a link does in the other program
// is the look-up code's business; this is only what the link is.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>

namespace vorn {

class CVornDBStats;

// Font name -> font description (attributes), from the links line's "Fonts".
using LinkFontMap = std::map<std::u16string, std::u16string>;

// One link kind: its block of entry numbers (H group titles, then N links)
// and its settings, the children of its key in the database description
// ("Search", "Note", "DetailsT", "Tip", "Nfo", ...).
class CLinkParams {
 public:
  // `key` is the kind's full key ("/InterlinearLines/Links/PVlinks/" + name);
  // its children are read from `stats` now. `fonts` is borrowed and must
  // outlive the kind (the links line owns both).
  CLinkParams(const CVornDBStats& stats, std::string key, std::u16string name, uint32_t start,
              uint32_t titles, uint32_t links, const LinkFontMap* fonts);

  const std::u16string& GetName() const { return name_; }
  const std::string& GetKey() const { return key_; }
  uint32_t GetStart() const { return start_; }
  uint32_t GetTitleCount() const { return titles_; }
  uint32_t GetLinkCount() const { return links_; }
  // The first link number, after the group titles.
  uint32_t GetFirstLink() const { return start_ + titles_; }
  // One past the kind's last entry number.
  uint32_t GetEnd() const { return start_ + titles_ + links_; }
  bool IsLink(uint32_t entry) const { return entry >= GetFirstLink() && entry < GetEnd(); }

  // The setting `name` (a child of the kind's key); "" when missing.
  const std::u16string& GetSetting(std::string_view name) const;
  const LinkFontMap& GetFonts() const { return *fonts_; }

 private:
  std::string key_;
  std::u16string name_;
  uint32_t start_;
  uint32_t titles_;
  uint32_t links_;
  const LinkFontMap* fonts_;
  std::map<std::string, std::u16string, std::less<>> settings_;
};

// One link (or one group title without links) of one word.
class CPVLink {
 public:
  // `kind` is borrowed from the links line and must outlive the link. A
  // `text` that begins with a code unit 1 to 8 carries that level; the text
  // proper follows it. `extra` is the link's 8-bit extra data, kept as it is.
  CPVLink(const CLinkParams* kind, std::u16string group_title, std::u16string_view text,
          std::string extra, bool flag);

  const CLinkParams* GetKind() const { return kind_; }
  const std::u16string& GetGroupTitle() const { return group_title_; }
  // The text proper, without its level.
  const std::u16string& GetText() const { return text_; }
  // 1 to 8, or 0 when the text carried no level.
  int GetLevel() const { return level_; }
  const std::string& GetExtraData() const { return extra_; }
  // As given by the links line: true when the link does not directly follow
  // its group title.
  bool GetFlag() const { return flag_; }

  // `pattern` with "%1" replaced by the text and "%2" by the group title.
  std::u16string Expand(std::u16string_view pattern) const;
  // The kind's setting `name`, expanded.
  std::u16string ExpandSetting(std::string_view name) const;
  // What queries and the query dialog match and show: the kind's "Search"
  // expanded, or its "Note" expanded when that gives nothing.
  std::u16string GetSearchText() const;

  // The highest level a text can carry.
  static constexpr char16_t kMaxLevel = 8;
  // `text` without its leading level, if it has one.
  static std::u16string_view TextProper(std::u16string_view text, int* level = nullptr);

 private:
  const CLinkParams* kind_;
  std::u16string group_title_;
  int level_ = 0;  // set while text_ is initialised, so declared before it
  std::u16string text_;
  std::string extra_;
  bool flag_;
};

}  // namespace vorn
