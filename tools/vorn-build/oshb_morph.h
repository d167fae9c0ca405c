// Open Scriptures Hebrew Bible morphology ("HC/Vqw3ms") to the Westminster
// tag scheme the Hebrew database is searched and described in ("Pc vqw3ms").
#pragma once

#include <string>
#include <string_view>

namespace vorn::build {

// Prefixed morphemes become segments separated by a space, the main morpheme
// follows, pronominal and other suffixes are appended with the 'X' marker,
// and an Aramaic word (language letter 'A') starts with '%' so that its
// verbs are read with the Aramaic stems. Unknown values ('x') become '-'.
// Returns false and describes the first fault in `error` (tag untouched)
// when the code does not follow the OSHB grammar. Empty morphemes left by a
// stray '/' are skipped.
bool ConvertOshbMorph(std::string_view oshb, std::string* westminster, std::string* error);

}  // namespace vorn::build
