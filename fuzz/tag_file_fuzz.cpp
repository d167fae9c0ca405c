// Feeds arbitrary bytes to the user tag file reader; what it accepts must
// load into word marks whose ranges cover every tagged word and survive
// being written and read again.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "markup/tag_file.h"
#include "markup/tag_marks.h"

using namespace vorn;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  constexpr uint32_t kWordCount = 64;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  TagFileHeader header;
  size_t offset = 0;
  if (!ParseTagHeader(bytes, &header, &offset)) return 0;
  (void)TagHeaderNamesDatabase(bytes, u"GNT");
  if (offset > size) std::abort();
  std::vector<TagRange> ranges;
  if (!ParseTagRanges(bytes, offset, kWordCount, &ranges)) return 0;

  CTagMarks marks;
  marks.LoadRanges(kWordCount, ranges);
  // The ranges' bytes double as toggles, so that edits are fuzzed too.
  for (const TagRange& r : ranges) {
    if (r.first % 2) {
      marks.ToggleWord(r.last);
    } else {
      marks.ToggleRange(r.first, r.last);
    }
  }
  const std::vector<TagRange> out = marks.GetRanges();
  uint32_t covered = 0;
  int32_t previous_last = -1;
  for (const TagRange& r : out) {
    if (r.first <= previous_last || r.last < r.first) std::abort();
    for (int32_t w = r.first; w <= r.last; ++w) {
      if (!marks.IsTagged(w)) std::abort();
      ++covered;
    }
    previous_last = r.last;
  }
  uint32_t tagged = 0;
  for (uint32_t w = 0; w < kWordCount; ++w) tagged += marks.IsTagged(static_cast<WordIndex>(w));
  if (covered != tagged) std::abort();

  const std::string written = SerializeTagFile(header, out);
  TagFileHeader again;
  std::vector<TagRange> reread;
  if (!ParseTagHeader(written, &again, &offset) ||
      !ParseTagRanges(written, offset, kWordCount, &reread) || reread != out ||
      !(again.style == header.style)) {
    std::abort();
  }
  return 0;
}
