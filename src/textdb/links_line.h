// The links line ("Links"): connects words to entries of the reference
// library, grouped under group titles and sorted into link kinds. A link
// number stands where other lines have form numbers, so links can be
// searched, listed and shown like forms.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "textdb/line.h"
#include "textdb/link_params.h"
#include "textdb/mem_map_file.h"
#include "textdb/records.h"

namespace vorn {

// Entry numbers run over all kinds in one sequence; each kind's block holds
// its H group titles and then its N links, the links in ordinal order of
// their texts. The tables lie in the folder PVlinks of the database:
//   WordLink.ndx  per word: position of its list in LinkRec.ndx
//   LinkRec.ndx   lists: count, then entry numbers in display order
//   LinkFreq.ndx  per entry: DblNdx (text position, occurrence list position)
//   LinkText.db   entry texts, 0-terminated; a first code unit 1..8 is a level
//   Freq.db       occurrence lists: count, then word indexes
//   L8Data.ndx    per entry: byte position of its extra data in L8Data.db
//   L8Data.db     extra data, 0-terminated 8-bit texts
class CVornDBLinks : public CVornDBLine {
 public:
  // Binds the seven tables; nothing is opened. The word-details factory is
  // left for the word-details code to set.
  explicit CVornDBLinks(const CVornDBLineParams& params);
  ~CVornDBLinks() override;

  // Reads the fonts and the kinds ("H N" each) from the description, maps
  // the tables and checks that they agree: one LinkFreq and one L8Data
  // entry per entry number, one WordLink entry per word of the database
  // (when its word count is known), every list, text and extra datum inside
  // its file. False on any fault, including a kind value that is not two
  // numbers.
  [[nodiscard]] bool Open() override;

  // The number of words WordLink.ndx must cover. By default the database's
  // word count is used when it knows one.
  void SetDatabaseWordCount(uint32_t count) { expected_words_ = count; }

  // Appends the links of `word` to `out` in display order, each under its
  // group title; a group title without links yields one link with an empty
  // text. Nothing for a word without links or outside the table. The links
  // refer to this line's kinds and must not outlive it.
  void GetLinks(WordIndex word, std::vector<CPVLink>* out) const;

  // The search text of link `link`; "" for a group title or an unknown number.
  std::u16string GetFormText(uint32_t link) const override;
  // The links (not group titles) of `words` that have a search text, in word
  // and list order; `variant` is not used.
  void CollectForms(const std::vector<uint32_t>& words, int variant, FormList* out) const override;
  // Each kind name and its link's text, with "..." before and after when
  // the shown part does not start at the beginning or reach the end.
  void FillFormList(const FormList& links, CFormListSink* list, size_t first,
                    size_t count) const override;
  // The words that carry any of `links` (numbers that are not links add none).
  void WordsOfForms(const FormList& links, CDBWordList* out) const override;
  // `pattern` is a kind name, a space and a text pattern ('*', '?'). True
  // when a link of that kind matched; false for a pattern without a space or
  // with an unknown kind.
  bool MatchForms(std::u16string_view pattern, FormList* out) const override;

  // A link's value text is its kind's name, a space and its search text,
  // the form a query on this line takes.
  std::u16string GetValueText(int part, uint32_t link) const override;

  // Adds "<kind> " for every kind that can be searched (has "Search").
  void FillKindList(CFormListSink* list) const;

  const std::vector<std::unique_ptr<CLinkParams>>& GetKinds() const { return kinds_; }
  // The kind of entry `entry` and whether the entry is a group title; null
  // when no kind holds it.
  const CLinkParams* FindKind(uint32_t entry, bool* is_title = nullptr) const;
  const CLinkParams* FindKindByName(std::u16string_view name) const;
  // The number of entries (group titles and links) over all kinds.
  uint32_t GetEntryCount() const { return entry_count_; }
  // The stored text of an entry, level included; `entry` below GetEntryCount.
  std::u16string_view GetEntryText(uint32_t entry) const;
  const LinkFontMap& GetFontMap() const { return fonts_; }
  const CVornDBLineParams& GetParams() const { return params_; }

 private:
  [[nodiscard]] bool ReadKinds();
  [[nodiscard]] bool CheckTables() const;
  // The word's list in LinkRec.ndx (count, then entries), or null.
  const uint32_t* GetWordList(uint32_t word) const;
  std::string GetExtraData(uint32_t entry) const;

  TMemMapFile<uint32_t> word_links_;
  TMemMapFile<uint32_t> records_;
  TMemMapFile<DblNdx> entries_;
  TMemMapFile<char16_t> texts_;
  TMemMapFile<uint32_t> freq_;
  TMemMapFile<uint32_t> extra_index_;
  TMemMapFile<char> extra_;
  CVornDBLineParams params_;
  std::vector<std::unique_ptr<CLinkParams>> kinds_;
  LinkFontMap fonts_;
  uint32_t entry_count_ = 0;
  uint32_t expected_words_ = 0;
};

}  // namespace vorn
