// How much of a text's grammar tags the decoder of its tag scheme reads.
#pragma once

#include <string>
#include <vector>

#include "interlinear.h"

namespace vorn::build {

struct TagCoverage {
  std::u16string scheme;
  size_t distinct = 0;     // distinct tags
  size_t distinct_ok = 0;  // ... that decode without "Unknown Tag"
  size_t words = 0;        // words with a tag
  size_t words_ok = 0;
  std::vector<std::u16string> failures;  // the first undecodable tags
};

// False when the text has no "Tag" line or its scheme is unknown to the
// decoder.
bool MeasureTagCoverage(const InterlinearText& text, TagCoverage* coverage);

}  // namespace vorn::build
