#include "tag_coverage.h"

#include <map>

#include "tagdecode/tag_decoder.h"

namespace vorn::build {

bool MeasureTagCoverage(const InterlinearText& text, TagCoverage* coverage) {
  *coverage = TagCoverage();
  const int tag = text.ValueIndex("Tag");
  if (tag < 0) return false;
  for (const DBLine& line : text.description.lines) {
    if (line.name == "Tag") coverage->scheme = line.tag_scheme;
  }
  const std::unique_ptr<CTagDecoder> decoder =
      CTagDecoder::Create(TagSchemeFromName(coverage->scheme));
  if (!decoder) return false;
  std::map<std::u16string, size_t> counts;
  for (const InterlinearWord& w : text.words) {
    if (!w.values[tag].empty()) ++counts[w.values[tag]];
  }
  constexpr size_t kListed = 20;
  for (const auto& [t, n] : counts) {
    ++coverage->distinct;
    coverage->words += n;
    if (IsTagDecodable(*decoder, t)) {
      ++coverage->distinct_ok;
      coverage->words_ok += n;
    } else if (coverage->failures.size() < kListed) {
      coverage->failures.push_back(t);
    }
  }
  return true;
}

}  // namespace vorn::build
