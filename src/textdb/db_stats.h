// The description of one database folder, read from its Stats.txt.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "textdb/font_format.h"

namespace vorn {

class CVornDB;
class CVornDBHeadings;
class CVornDBVerses;
class CVornDBFormats;
class CIniFile;
namespace platform {
class CMessageSink;
}

// Parses a list of name="value" attributes separated by spaces or tabs into
// `out` (later names replace earlier ones). Returns false at the first
// malformed attribute; what was stored before it stays.
[[nodiscard]] bool ParseAttributes(std::u16string_view text, AttributeMap* out);

// Stats.txt is 8-bit text: every byte is one character (ISO 8859-1), keys
// form a tree by their indentation, and each line's value is stored under
// its full key ("/InterlinearLines/Text/Font").
class CVornDBStats {
 public:
  // `folder` is the database folder; a trailing '/' is added when missing.
  explicit CVornDBStats(std::string folder);
  ~CVornDBStats();

  // Reads Stats.txt in the folder. False when it cannot be read or its
  // "/Version" is not "4.01".
  [[nodiscard]] bool Load();
  // Parses the text of a Stats.txt (Load without the file); same result.
  [[nodiscard]] bool LoadFromText(std::string_view bytes);

  const std::string& GetFolder() const { return folder_; }
  std::u16string GetValue(std::string_view full_key) const;
  bool HasKey(std::string_view full_key) const;
  // Splits the value at any separator character, skipping empty pieces, and
  // trims each piece (one of white space alone becomes ""); returns the count.
  size_t GetList(std::string_view full_key, std::vector<std::u16string>* out,
                 std::u16string_view separators) const;
  bool GetAttributes(std::string_view full_key, AttributeMap* out) const;
  // The names of the direct children of `prefix`, in file order.
  size_t GetChildren(std::string_view prefix, std::vector<std::string>* out) const;

  std::u16string GetName() const { return GetValue("/Name"); }
  std::u16string GetTitle() const { return GetValue("/Title"); }
  // The code of 1-based book `book`; "" when out of range.
  std::u16string GetBookCode(int book) const;
  // 1-based position of `code`, searched from the last code backwards; 0 when absent.
  int GetBookNumber(std::u16string_view code) const;
  // The number of codes in "/Books". A verse key numbers books in one byte,
  // so at most kMaxBooks codes are read; a longer list (a damaged file) is
  // counted as kMaxBooks + 1, with only kMaxBooks codes kept in memory.
  int GetBookCount() const;
  static constexpr int kMaxBooks = 254;
  bool GetCopyrights(std::vector<std::u16string>* out) const;

  // Creates and opens the database. On failure shows message 300 through
  // `sink` and returns null. `settings` (may be null) supplies the user's
  // font choices; it and `sink` must outlive the database.
  std::unique_ptr<CVornDB> OpenDatabase(platform::CMessageSink* sink, CIniFile* settings);

  // Factories used while a database opens; each returns null when its object
  // does not open.
  std::unique_ptr<CVornDBHeadings> OpenHeadings(std::vector<CFontFormat>* fonts) const;
  std::unique_ptr<CVornDBVerses> OpenVerses(std::vector<CFontFormat>* fonts) const;
  std::unique_ptr<CVornDBFormats> OpenFormats() const;
  size_t GetLineNames(std::vector<std::string>* names) const {
    return GetChildren("/InterlinearLines/", names);
  }
  CFontFormat GetTagLabelFont() const;
  // A font that starts as Arial 12 and takes the attributes under `full_key`.
  CFontFormat GetFont(std::string_view full_key) const;

 private:
  std::string folder_;
  std::map<std::string, std::u16string, std::less<>> values_;
  std::vector<std::string> keys_in_order_;
  mutable std::vector<std::u16string> books_;
  mutable bool books_loaded_ = false;
  mutable bool books_overflow_ = false;
};

}  // namespace vorn
