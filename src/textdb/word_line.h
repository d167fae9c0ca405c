// The root of the word-details lines: what one interlinear line shows about
// one word in the details panel and the word tips. Lines hand these out
// through their factories; the details code derives the concrete classes.
#pragma once

namespace vorn {

class CWordLine {
 public:
  virtual ~CWordLine() = default;
};

}  // namespace vorn
