// Format marks: a short code at the words where the presentation of the text
// changes (poetry, prose, quotation), and the format units they make.
#pragma once

#include <cstdint>
#include <string>

#include "textdb/mem_map_file.h"
#include "textdb/records.h"
#include "textdb/types.h"

namespace vorn {

// Format.ndx: Format_t records in word order. A code longer than four
// characters runs on into the following records (see Format_t).
class CVornDBFormats {
 public:
  // Binds Format.ndx in `folder`; nothing is opened.
  explicit CVornDBFormats(const std::string& folder);

  // Maps Format.ndx and checks its order and that no code runs on past the
  // last record. False when missing or malformed.
  [[nodiscard]] bool Open();

  // The number of records.
  uint32_t GetCount() const { return table_.GetCount(); }

  // Where the last format unit ends; until set that unit is open (end -1).
  void SetWordCount(uint32_t count) { word_count_ = count; }

  // The format code of `word` when a record starts at exactly that word,
  // else "". The 8-bit characters are taken as Latin-1.
  std::u16string GetFormatCode(WordIndex word) const;

  // The format unit that holds `word` (as for headings).
  WordSpan GetFormatRange(WordIndex word) const;

 private:
  TMemMapFile<Format_t> table_;
  uint32_t word_count_ = 0;
};

}  // namespace vorn
