// Punctuation of the running text: what stands before and after a word, and
// which of its letters becomes a capital.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "textdb/mem_map_file.h"
#include "textdb/records.h"
#include "textdb/types.h"

namespace vorn {

// punctndx.ndx lists (word, position) in word order; punct.ndx holds at each
// position: [0] 0, or 1 + the index of the letter to capitalise; [1] prefix
// length n; n code units of prefix; the suffix, 0-terminated.
class CVornDBPunctuation {
 public:
  // Binds punct.ndx and punctndx.ndx in `folder`; nothing is opened.
  explicit CVornDBPunctuation(const std::string& folder);
  virtual ~CVornDBPunctuation();
  CVornDBPunctuation(const CVornDBPunctuation&) = delete;
  CVornDBPunctuation& operator=(const CVornDBPunctuation&) = delete;

  // Maps both files and checks that every entry lies inside punct.ndx and
  // ends there. False when a file is missing or malformed.
  [[nodiscard]] bool Open();

  // Puts the punctuation of `word` around `text` into `out`. False (and
  // `out` untouched) when the word has none.
  bool Apply(WordIndex word, std::u16string_view text, std::u16string* out) const;

  // Makes the letter at `index` of `text` a capital; nothing happens when
  // `index` lies beyond the text. Latin a-z and the Greek small letters
  // (basic and extended up to U+1F87, and U+1FE5) are raised; everything
  // else stays.
  virtual void Capitalise(std::u16string* text, size_t index) const;

 private:
  TMemMapFile<char16_t> entries_;
  TMemMapFile<WordPos> index_;
};

// For the legacy 8-bit Greek of the "Pelorin" font: a small vowel with a
// breathing at the start of a word becomes the breathing sign followed by
// the capital vowel (two code units).
class CVornDBPunctuationGreek : public CVornDBPunctuation {
 public:
  using CVornDBPunctuation::CVornDBPunctuation;
  void Capitalise(std::u16string* text, size_t index) const override;
};

}  // namespace vorn
