// Book codes of the program's fixed book table and the book names the source
// corpora use for the same books.
#pragma once

#include <string>
#include <string_view>

namespace vorn::build {

// The 0-based canonical position of a three-letter code (exact, upper case),
// or -1. Databases list their books in this order.
int CanonicalBookIndex(std::string_view code);
// The code at a canonical position, or "" outside 0..93.
std::string_view BookCodeAt(int index);
// The English name of a code, or "" for an unknown code.
std::string_view BookNameOf(std::string_view code);

// OSIS book names of the Westminster Leningrad Codex files ("Gen", "1Sam",
// "Song"); "" when unknown.
std::string_view CodeFromOsisName(std::string_view osis);
// The OSIS name of a Hebrew Bible book code ("1SA" -> "1Sam"); "" when none.
std::string_view OsisNameOf(std::string_view code);
// MorphGNT's two-digit book numbers: 1 = Matthew ... 27 = Revelation.
std::string_view CodeFromNtNumber(int number);
// File names of the Byzantine text ("MAT", "MAR", "JOH", "1JO", "JAM").
std::string_view CodeFromByzantineName(std::string_view name);
// The Byzantine file name of a New Testament code ("JHN" -> "JOH").
std::string_view ByzantineNameOf(std::string_view code);
// Folder names of the SBLGNT package ("Matt", "1Cor", "Phlm").
std::string_view CodeFromSblgntName(std::string_view name);
std::string_view SblgntNameOf(std::string_view code);

}  // namespace vorn::build
