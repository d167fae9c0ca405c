#include "textdb/form_line.h"

#include <algorithm>
#include <functional>
#include <string>

namespace vorn {

CVornDBFormLine::CVornDBFormLine(const CVornDBLineParams& params)
    : CVornDBOrdinaryLine(params, nullptr) {
  if (font_.face() == u"Pelorin") {
    punctuation_ = std::make_unique<CVornDBPunctuationGreek>(params.GetFolder());
  } else {
    punctuation_ = std::make_unique<CVornDBPunctuation>(params.GetFolder());
  }
}

CVornDBFormLine::~CVornDBFormLine() = default;

bool CVornDBFormLine::Open() {
  return CVornDBOrdinaryLine::Open() && punctuation_->Open();
}

const char16_t* CVornDBFormLine::GetWordText(WordIndex word, int variant) const {
  const char16_t* text = CVornDBOrdinaryLine::GetWordText(word, variant);
  std::u16string punctuated;
  if (!punctuation_->Apply(word, text, &punctuated)) return text;
  char16_t* copy = new char16_t[punctuated.size() + 1];
  std::copy(punctuated.begin(), punctuated.end(), copy);
  copy[punctuated.size()] = 0;
  return copy;
}

void CVornDBFormLine::ReleaseWordText(const char16_t* text) const {
  // std::less gives a total order even over pointers into different objects.
  const std::less<const char16_t*> below;
  const char16_t* mapped = strings_.begin();
  if (!below(text, mapped) && below(text, mapped + strings_.GetCount())) return;
  delete[] text;
}

}  // namespace vorn
