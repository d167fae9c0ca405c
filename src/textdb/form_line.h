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
  bool Open() override;

  // The word with its punctuation: a newly allocated text when the word has
  // punctuation, else the text in place. Always give it back through
  // ReleaseWordText.
  const char16_t* GetWordText(WordIndex word, int variant) const override;
  // Frees a text GetWordText allocated; texts in the mapping are left alone.
  void ReleaseWordText(const char16_t* text) const override;

  const CVornDBPunctuation& GetPunctuation() const { return *punctuation_; }

 private:
  std::unique_ptr<CVornDBPunctuation> punctuation_;
};

}  // namespace vorn
