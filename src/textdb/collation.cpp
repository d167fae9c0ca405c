#include "textdb/collation.h"

#include <unicode/locid.h>
#include <unicode/normalizer2.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>

namespace vorn {

namespace {

const icu::Normalizer2* Nfc() {
  UErrorCode status = U_ZERO_ERROR;
  const icu::Normalizer2* n = icu::Normalizer2::getNFCInstance(status);
  return U_SUCCESS(status) ? n : nullptr;
}

const icu::Normalizer2* Nfd() {
  UErrorCode status = U_ZERO_ERROR;
  const icu::Normalizer2* n = icu::Normalizer2::getNFDInstance(status);
  return U_SUCCESS(status) ? n : nullptr;
}

icu::UnicodeString Alias(std::u16string_view text) {
  return icu::UnicodeString(false, reinterpret_cast<const UChar*>(text.data()),
                            static_cast<int32_t>(text.size()));
}

std::u16string ToU16(const icu::UnicodeString& s) {
  return std::u16string(reinterpret_cast<const char16_t*>(s.getBuffer()),
                        static_cast<size_t>(s.length()));
}

}  // namespace

std::unique_ptr<icu::Collator> MakeFormCollator() {
  UErrorCode status = U_ZERO_ERROR;
  std::unique_ptr<icu::Collator> c(
      icu::Collator::createInstance(icu::Locale(kCollationLocale), status));
  if (U_FAILURE(status) || !c) return nullptr;
  c->setStrength(icu::Collator::QUATERNARY);
  c->setAttribute(UCOL_NORMALIZATION_MODE, UCOL_ON, status);
  if (U_FAILURE(status)) return nullptr;
  return c;
}

bool IsCanonicalText(std::u16string_view text) {
  const icu::Normalizer2* n = Nfc();
  if (!n) return true;
  UErrorCode status = U_ZERO_ERROR;
  const bool yes = n->isNormalized(Alias(text), status);
  return U_FAILURE(status) || yes;
}

std::u16string CanonicalText(std::u16string_view text) {
  const icu::Normalizer2* n = Nfc();
  if (!n) return std::u16string(text);
  UErrorCode status = U_ZERO_ERROR;
  icu::UnicodeString out = n->normalize(Alias(text), status);
  if (U_FAILURE(status)) return std::u16string(text);
  return ToU16(out);
}

std::u16string LooseText(std::u16string_view text) {
  const icu::Normalizer2* nfd = Nfd();
  UErrorCode status = U_ZERO_ERROR;
  icu::UnicodeString d = nfd ? nfd->normalize(Alias(text), status) : Alias(text);
  if (U_FAILURE(status)) d = Alias(text);
  icu::UnicodeString bare;
  for (int32_t i = 0; i < d.length();) {
    const UChar32 c = d.char32At(i);
    if (U_GET_GC_MASK(c) & (U_GC_MN_MASK | U_GC_ME_MASK)) {
      // A mark carries no letter: dropped.
    } else {
      bare.append(c);
    }
    i += U16_LENGTH(c);
  }
  bare.foldCase();
  return CanonicalText(ToU16(bare));
}

}  // namespace vorn
