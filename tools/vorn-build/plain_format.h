// The plain interlinear format: a UTF-8 text file with which users compile
// texts of their own (docs/interlinear-format.md). Sections:
//   [Description]  the database description, Stats.txt style (keys indented
//                  by depth, "Key: value"), without word data;
//   [VerseMap]     optional: the lines of the text's verse map file;
//   [Words]        a tab-separated header naming the columns, then one row
//                  per word.
#pragma once

#include <string>
#include <string_view>

#include "interlinear.h"

namespace vorn::build {

// Reads a whole file into `text`. On the first fault returns false with
// `error` naming the origin, the 1-based line and what was expected.
bool ReadPlainInterlinear(std::string_view file_text, std::string_view origin,
                          InterlinearText* text, std::string* error);
bool ReadPlainInterlinearFile(const std::string& path, InterlinearText* text, std::string* error);

// Writes `text` in the plain format; ReadPlainInterlinear reads it back to
// the same text.
std::string WritePlainInterlinear(const InterlinearText& text);

}  // namespace vorn::build
