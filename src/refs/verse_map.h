// Verse maps: how one versification scheme numbers its verses against a
// common scheme, so that a reference can be carried between databases that
// count verses differently (a psalm's title as verse 1, a verse that another
// tradition puts at the end of the previous chapter).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "refs/bible_ref.h"
#include "textdb/vorn_db.h"

namespace vorn {

class CVornDB;
namespace platform {
class CMessageSink;
}

// A verse as one number: ((book index * 1000 + chapter) * 1000 + verse) * 10,
// the book index being the book table's canonical index. Genesis 1:1 is
// 10010. The factor 10 leaves room for the "+ 1" end of a single-verse span.
int32_t MakeVerseCode(int book_index, int chapter, int verse);
void DecodeVerseCode(int32_t code, int* book_index, int* chapter, int* verse);

class CVerseMap : public CVornDBAttachment {
 public:
  // An empty map: every code passes unchanged.
  CVerseMap() = default;
  // Reads `<root>/VerseMaps/<scheme>.vrs`, `root` being the folder the
  // databases are found in. Problems go to `sink` (may be null): a file that
  // cannot be read leaves the map empty; a mapping line whose sides do not
  // parse is skipped. An empty scheme name gives an empty map silently.
  CVerseMap(const std::string& root, std::u16string_view scheme, platform::CMessageSink* sink);

  // Reads a map file into this map (adding to what it holds). False, after a
  // message, when the file cannot be read.
  [[nodiscard]] bool ReadFile(const std::string& path, platform::CMessageSink* sink);
  // Reads map lines from text (8-bit, one character per byte); the messages
  // are those of ReadFile.
  void ReadText(std::string_view bytes, platform::CMessageSink* sink);

  int GetLineCount() const { return static_cast<int>(common_start_.size()); }
  // A code of this map's own scheme in the common scheme, and back.
  int32_t ToCommon(int32_t code) const;
  int32_t FromCommon(int32_t code) const;

  // `ref`, bound to a source database, carried onto `target`, whose map this
  // is: into the common scheme with the source's map (only when `ref` has a
  // verse entry), then into this scheme, then looked up in `target`. A
  // reference already bound to `target` comes back as a plain copy.
  CBibleRef MapReference(const CBibleRef& ref, CVornDB* target) const;

  // The file a database's map is read from: "VerseMaps/<scheme>.vrs" in the
  // folder that holds the database folder; "" when the database names no
  // scheme or a name that is not a plain file name.
  static std::string MapPathFor(const CVornDB* db);

 private:
  static int32_t Lookup(int32_t code, const std::vector<int32_t>& from_start,
                        const std::vector<int32_t>& from_end, const std::vector<int32_t>& to_start,
                        const std::vector<int32_t>& to_end);

  std::vector<int32_t> common_start_, common_end_, own_start_, own_end_;
};

// The verse map of `db`, read on first request from MapPathFor(db) and owned
// by the database from then on; problems go to the database's message sink.
// Never null: a database without a readable map gets an empty one.
const CVerseMap* GetVerseMap(const CVornDB* db);

}  // namespace vorn
