// The one collator that orders and searches the forms of every word line.
//
// Databases store their form tables sorted by this collator, so the reader
// must use exactly the collator the writer used: a fixed locale and strength,
// never the process's default locale (under another default locale a sorted
// table would give wrong or missing look-ups).
#pragma once

#include <unicode/coll.h>

#include <memory>

namespace vorn {

// The locale every form table is sorted under. Root collation order is the
// same for Greek and Hebrew; en_US is named to keep the choice explicit.
inline constexpr const char* kCollationLocale = "en_US";

// A new collator for kCollationLocale at quaternary strength; null when ICU
// cannot make it. The caller owns it.
std::unique_ptr<icu::Collator> MakeFormCollator();

}  // namespace vorn
