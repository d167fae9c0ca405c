#include "textdb/form_line.h"

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

bool CVornDBFormLine::Open() { return CVornDBOrdinaryLine::Open() && punctuation_->Open(); }

std::u16string CVornDBFormLine::GetWordString(WordIndex word, int variant) const {
  const std::u16string_view text = GetStoredText(word, variant);
  std::u16string punctuated;
  if (!punctuation_->Apply(word, text, &punctuated)) return std::u16string(text);
  return punctuated;
}

}  // namespace vorn
