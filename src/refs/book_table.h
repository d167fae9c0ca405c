// The fixed book table: every book the system knows, with its English name
// and three-letter code, in the canonical order used to sort references
// across databases (the deuterocanonical and Septuagint books stand between
// Malachi and Matthew, whatever order a database keeps).
#pragma once

#include <string>
#include <string_view>

namespace vorn {

// Number of real books; the table has one more row, the terminator
// ("No Book!", "") at index kBookCount.
inline constexpr int kBookCount = 94;

struct BookRow {
  const char16_t* name;
  const char16_t* code;
};

// The row at `index` (0-based canonical order). Any index outside
// 0..kBookCount - 1 gives the terminator row ("No Book!", ""). The strings are
// static and live for the whole program.
const BookRow& GetBookRow(int index);

// The English name of the book whose code equals `code` ignoring case;
// "No Book!" for an unknown code.
std::u16string BookNameFromCode(std::u16string_view code);

// Accepts an English name or a code: first a row whose name equals `text`
// ignoring case, then one whose code does. The row's code (upper case), or ""
// when neither matches. "genesis" and "gen" give "GEN"; "Gn" gives "".
std::u16string BookCodeFromName(std::u16string_view text);

// The 0-based canonical index of `code` ignoring case, or -1.
int BookIndexFromCode(std::u16string_view code);

// As BookCodeFromName, but the canonical index of the row, or -1.
int BookIndexFromName(std::u16string_view text);

// The code of row `index`; "" outside 0..kBookCount - 1.
std::u16string BookCodeFromIndex(int index);

// The short printed form of a code: lower case, then its first character upper
// case, or its second when the first is a digit ("GEN" -> "Gen",
// "1SA" -> "1Sa"). Works on any text, not only codes of the table.
std::u16string ShortBookName(std::u16string_view code);

}  // namespace vorn
