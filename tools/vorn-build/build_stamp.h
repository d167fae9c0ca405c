// What a compiled database was built from. vorn-build writes "Sources.txt"
// into each database folder it compiles: the compiler's identity, the source
// folders it read and every input file with its size and hash. A later run
// compares them with what is on disk now and compiles again only when
// something differs, saying what. The program itself never reads the file.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "source_files.h"

namespace vorn::build {

inline constexpr char kStampFile[] = "Sources.txt";

struct BuildStamp {
  std::string compiler;  // identity of the compiler that wrote the database
  std::string roots;     // the source folders, as one line of text
  std::vector<SourceInput> inputs;
};

// The stamp as text, one item a line.
std::string FormatStamp(const BuildStamp& stamp);

// Reads a stamp written by FormatStamp; false for any other text.
[[nodiscard]] bool ParseStamp(std::string_view text, BuildStamp* stamp);

// Why the database folder `folder` must be compiled again for a compile
// with `compiler` from `roots`: "not compiled yet", "the compiler changed",
// "<file> changed" … Empty when the folder holds a database whose
// stamp matches and whose every input still reads to the same bytes.
std::string WhyRecompile(const std::string& folder, const std::string& compiler,
                         const std::string& roots);

}  // namespace vorn::build
