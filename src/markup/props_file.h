// The propositions file (*.vpo): a format value, the database name, the
// joined sentence starts and the entries of one analysis. Little-endian.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vorn {

// The only format value the file has ever had.
inline constexpr uint32_t kPropsFormat = 8;

// The deepest indentation an analysis may have. Levels are made one Shift
// Right at a time, so real analyses stay far below it; a file claiming more
// is damaged, and taking it would make every layout of it huge.
inline constexpr int32_t kMaxPropLevel = 99;

// One entry: a proposition (and the deeper ones after it up to the next
// entry) begins at `start` with indentation `level`.
struct PropEntry {
  uint32_t start = 0;
  int32_t level = 0;
  friend bool operator==(const PropEntry&, const PropEntry&) = default;
};

struct PropFileData {
  std::vector<uint32_t> joins;     // strictly ascending
  std::vector<PropEntry> entries;  // strictly ascending by start
};

// Reads a whole file. Accepted when the format value is 8; the name fits
// and equals `db_name` (as UTF-8, up to its terminating zero); the joins fit,
// are strictly ascending and lie inside the database; and of the entries
// that follow (an entry whose start is not above the last one taken is
// skipped, as is a partial entry at the end) at least two were taken, the
// first starting at 0 and the last at `word_count` (so a file made for
// another edition of the text is refused), every level taken lying in
// 0 .. kMaxPropLevel. `*out` is written only when the
// file is accepted.
[[nodiscard]] bool ParsePropositionsFile(std::string_view bytes, std::u16string_view db_name,
                                         uint32_t word_count, PropFileData* out);

std::string SerializePropositionsFile(std::u16string_view db_name, const PropFileData& data);

}  // namespace vorn
