// The one collator that orders and searches the forms of every word line.
//
// Databases store their form tables sorted by this collator, so the reader
// must use exactly the collator the writer used: a fixed locale and strength,
// never the process's default locale (under another default locale a sorted
// table would give wrong or missing look-ups).
#pragma once

#include <unicode/coll.h>

#include <memory>
#include <string>
#include <string_view>

namespace vorn {

// The locale every form table is sorted under. Root collation order is the
// same for Greek and Hebrew; en_US is named to keep the choice explicit.
inline constexpr const char* kCollationLocale = "en_US";

// A new collator for kCollationLocale at quaternary strength, with
// normalisation on so that canonically equivalent spellings (precomposed or
// not, combining marks in any order) sort and compare as one; null when ICU
// cannot make it. The caller owns it. Tables sorted by an older collator
// without normalisation must be compiled again.
std::unique_ptr<icu::Collator> MakeFormCollator();

// `text` in Unicode NFC, the spelling that forms and search words are
// compared in code unit by code unit. Marks typed in another order, or
// decomposed, come out the same. Text that cannot be normalised (an unpaired
// surrogate is kept, not refused) is returned as given.
std::u16string CanonicalText(std::u16string_view text);

// Whether `text` is in NFC already, so that CanonicalText would return it
// unchanged; quick, without copying.
bool IsCanonicalText(std::u16string_view text);

// `text` with the distinctions that loose matching ignores removed:
// combining marks (accents, breathings, diaeresis, Hebrew points and
// cantillation) are dropped and letters are case-folded (final sigma
// becomes sigma). Used where a wildcard pattern is matched loosely; a
// word without wildcards is matched loosely by the collator at primary
// strength instead.
std::u16string LooseText(std::u16string_view text);

}  // namespace vorn
