// Small helpers shared by the corpus readers: line numbers for messages and
// splitting of delimited text.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vorn::build {

// Maps byte offsets of a text to 1-based line numbers.
class CLineIndex {
 public:
  explicit CLineIndex(std::string_view text);
  int LineOf(size_t offset) const;

 private:
  std::vector<size_t> starts_;
};

// Splits at every `separator`; an empty text gives one empty field.
std::vector<std::string_view> SplitFields(std::string_view text, char separator);

// Lines without their line ends (LF or CR LF); a final empty line is dropped.
std::vector<std::string_view> SplitLines(std::string_view text);

// Reads a CSV record of the form used by the Byzantine text: fields separated
// by commas, a field in double quotes may hold commas and doubled quotes.
// False when a quoted field is not closed.
bool ParseCsvLine(std::string_view line, std::vector<std::string>* fields);

// The offset of the first byte of `text` that is not well-formed UTF-8
// (overlong forms, surrogates and code points above U+10FFFF included), or
// npos when the whole text is well formed.
size_t FindInvalidUtf8(std::string_view text);

// Reads a corpus file whole (plain or compressed, see ReadSourceFile) and
// checks that it is UTF-8 throughout. False with the reader's message or
// "<path>:<line>: invalid UTF-8" in `error`.
bool ReadCorpusFile(const std::string& path, std::string* bytes, std::string* error);

// Checks text already read: false with "<origin>:<line>: invalid UTF-8".
bool CheckUtf8(std::string_view text, std::string_view origin, std::string* error);

// Parses a whole decimal number; false for anything else.
bool ParseNumber(std::string_view text, int* value);

}  // namespace vorn::build
