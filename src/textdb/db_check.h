// The full integrity check of a database folder: every table read through
// and cross-checked against the others, as a database's own integrity check
// would. Opening a database checks only what is cheap (sizes, offsets, sums,
// the book list); this check reads everything, takes a few seconds on a
// large text, and names each fault it finds instead of stopping at the
// first, so that a damaged folder can be diagnosed rather than just refused.
#pragma once

#include <string>
#include <vector>

namespace vorn {

class CVornDBStats;

// Checks the database described by `stats` (loaded; borrowed for the call).
// Appends one line per fault to `problems`, each beginning with the file it
// concerns ("Formdb.ndx: word 17 is listed under form 3 but has form 0");
// at most a few faults per table are listed, then how many more there were.
// Returns true when nothing was found. Never writes to the folder.
bool CheckDatabase(const CVornDBStats& stats, std::vector<std::string>* problems);

}  // namespace vorn
