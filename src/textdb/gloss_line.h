// The gloss line ("Glos"): English glosses, with the marks that group the
// glosses of several words into one phrase.
#pragma once

#include <string>

#include "textdb/mem_map_file.h"
#include "textdb/ordinary_line.h"
#include "textdb/records.h"

namespace vorn {

// PVlinks/GlossMark.ndx (optional) holds MarkT records in word order. A
// brace group {…} or bracket group […] spans adjacent marked words; a dash
// ("-{", "}-") shows that a group goes on past a word whose neighbour is
// not adjacent or not marked.
class CVornDBGlossLine : public CVornDBOrdinaryLine {
 public:
  // The word-details factory is left for the word-details code to set.
  explicit CVornDBGlossLine(const CVornDBLineParams& params);
  ~CVornDBGlossLine() override;

  // The ordinary tables must open; GlossMark.ndx may be missing (no marks)
  // but, when present, must be whole records in word order.
  [[nodiscard]] bool Open() override;

  // The marks to show before (`prefix`) and after (`suffix`) the gloss of
  // `word`; both are emptied first and stay empty when the word has none.
  void GetGlossMarks(WordIndex word, std::u16string* prefix, std::u16string* suffix) const;

  bool HasGlossMarks() const { return has_marks_; }

 private:
  TMemMapFile<MarkT> marks_;
  bool has_marks_ = false;
};

}  // namespace vorn
