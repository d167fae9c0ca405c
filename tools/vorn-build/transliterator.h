// Latin transliteration of Greek and Hebrew words through ICU transliterators.
#pragma once

#include <unicode/uversion.h>

#include <memory>
#include <string>
#include <string_view>

U_NAMESPACE_BEGIN
class Transliterator;
U_NAMESPACE_END

namespace vorn::build {

class CTransliterator {
 public:
  enum class Script { kGreek, kHebrew };

  // Greek: ICU's "Greek-Latin" (the scholarly scheme: ē, ō, h for the rough
  // breathing, ch, ph, th) with accents removed. Hebrew: a rule set in ICU's
  // own transliteration language that writes the academic consonants (ʾ, ḥ,
  // ṭ, ʿ, ṣ, š, ś) and the long vowels with macrons and circumflexes
  // (matres lectionis); ICU's built-in "Hebrew-Latin" keeps cantillation and
  // marks dagesh with stray dots. Null with `error` set when ICU refuses.
  static std::unique_ptr<CTransliterator> Create(Script script, std::string* error);
  ~CTransliterator();

  // Cantillation, morpheme separators ('/') and punctuation are dropped
  // before transliterating.
  std::u16string Transliterate(std::u16string_view word) const;

 private:
  explicit CTransliterator(std::unique_ptr<icu::Transliterator> t);
  std::unique_ptr<icu::Transliterator> t_;
};

}  // namespace vorn::build
