// Sentence starts and the sentence that holds a word.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "textdb/mem_map_file.h"
#include "textdb/types.h"

namespace vorn {

// Sentence.ndx: the word indexes of sentence starts, ascending.
class CVornDBSent {
 public:
  // Binds Sentence.ndx in `folder`; nothing is opened.
  explicit CVornDBSent(const std::string& folder);

  // Maps Sentence.ndx and checks its order. False when missing or malformed.
  [[nodiscard]] bool Open();

  // Where the last sentence ends; until set that sentence is open (end -1).
  void SetWordCount(uint32_t count) { word_count_ = count; }

  // The sentence that holds `word`: from the last start not above it (0 when
  // none) to the next start above it. `merged` (ascending, may be null) lists
  // starts that do not count, because the user joined those sentences to the
  // ones before them: the range then stretches over them.
  WordSpan GetSentenceRange(WordIndex word, const std::vector<uint32_t>* merged = nullptr) const;

 private:
  TMemMapFile<uint32_t> starts_;
  uint32_t word_count_ = 0;
};

}  // namespace vorn
