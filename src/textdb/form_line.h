// The running text line ("Form"): the words as they stand, with their
// punctuation and capitals put back.
#pragma once

#include <memory>

#include "textdb/ordinary_line.h"
#include "textdb/punctuation.h"

namespace vorn {

class CVornDBFormLine : public CVornDBOrdinaryLine {
 public:
  // An ordinary line plus the punctuation tables of the database folder;
  // the Pelorin-encoded Greek punctuation when the line's font (after the
  // user's choice) is "Pelorin".
  explicit CVornDBFormLine(const CVornDBLineParams& params);
  ~CVornDBFormLine() override;

  // The ordinary tables and the punctuation tables must all open.
  [[nodiscard]] bool Open() override;

  // The word with its punctuation and capital put back.
  std::u16string GetWordString(WordIndex word, int variant = 0) const override;

  const CVornDBPunctuation& GetPunctuation() const { return *punctuation_; }

 private:
  std::unique_ptr<CVornDBPunctuation> punctuation_;
};

}  // namespace vorn
