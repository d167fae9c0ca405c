#include "textdb/collation.h"

#include <unicode/locid.h>

namespace vorn {

std::unique_ptr<icu::Collator> MakeFormCollator() {
  UErrorCode status = U_ZERO_ERROR;
  std::unique_ptr<icu::Collator> c(
      icu::Collator::createInstance(icu::Locale(kCollationLocale), status));
  if (U_FAILURE(status) || !c) return nullptr;
  c->setStrength(icu::Collator::QUATERNARY);
  return c;
}

}  // namespace vorn
