// A line stored as a table of distinct forms: each word points at its form,
// each form lists the words that carry it. Text, transliteration, base forms
// and most other lines are of this kind.
#pragma once

#include <unicode/coll.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "textdb/line.h"
#include "textdb/mem_map_file.h"
#include "textdb/records.h"

namespace vorn {

class CVornDBOrdinaryLine : public CVornDBLine {
 public:
  // Binds the tables <name>s.db, <name>db.ndx, <name>ndx.ndx, <name>ndxx.ndx
  // and one <variant>.ndx per "Alt" child; nothing is opened yet.
  CVornDBOrdinaryLine(const CVornDBLineParams& params, WordLineFactory factory);
  ~CVornDBOrdinaryLine() override;

  // Maps every table and checks that they agree with each other (offsets
  // inside their files, form numbers below the form count, strings
  // terminated), so that later look-ups need no checks. False on any fault.
  [[nodiscard]] bool Open() override;

  std::u16string GetFormText(uint32_t form) const override;
  void CollectForms(const std::vector<uint32_t>& words, int variant, FormList* out) const override;
  void FillFormList(const FormList& forms, CFormListSink* list, size_t first,
                    size_t count) const override;
  int FindAltIndex(std::u16string_view name) const override;
  // The words of `forms` and those whose "Qere" reading is one of them: a
  // search finds a Ketiv by its reading as well as by its written form.
  void WordsOfForms(const FormList& forms, CDBWordList* out) const override;
  bool MatchForms(std::u16string_view pattern, FormList* out) const override;
  bool MatchFormsPrefix(std::u16string_view pattern, FormList* out) const override;
  bool MatchFormsLoose(std::u16string_view pattern, FormList* out) const override;
  uint32_t GetWordCount() const override;
  std::u16string GetAltName(int index) const override;
  uint32_t GetFormFrequency(WordIndex word) const override;
  std::u16string_view GetWildcards() const override;

  // The word's form as stored, in the given variant (0 = the line itself):
  // a view into the mapping, valid while the line is open, followed there by
  // a 0 code unit.
  std::u16string_view GetStoredText(WordIndex word, int variant = 0) const;
  // The word's text as the line shows it in the given variant: the stored
  // form here; a derived line may add to it (the running text puts back the
  // punctuation).
  virtual std::u16string GetWordString(WordIndex word, int variant = 0) const;
  // The language-aware wildcard match used for forms. Takes time and memory
  // in proportion to pattern x form, whatever the pattern holds.
  virtual bool MatchForm(std::u16string_view pattern, std::u16string_view form) const;
  // The pattern with what MatchForm needs not see removed (a run of '*'
  // becomes one), for MatchForms to use on every form.
  virtual std::u16string SimplifyPattern(std::u16string_view pattern) const;

  uint32_t GetFormCount() const { return forms_.GetCount(); }
  uint32_t GetFormOfWord(WordIndex word) const { return word_forms_[word]; }
  // The form's text in place, 0-terminated.
  const char16_t* GetFormString(uint32_t form) const { return &strings_[forms_[form].string_pos]; }
  // The occurrence list of a form: count, then that many word indexes.
  const uint32_t* GetOccurrences(uint32_t form) const { return &lists_[forms_[form].list_pos]; }
  size_t GetVariantCount() const { return variants_.size(); }
  const std::vector<std::u16string>& GetVariantNames() const { return variant_names_; }
  bool IsHebrew() const { return hebrew_; }
  bool IsGreek() const { return greek_; }

  // Appends to `out` the forms whose "Qere" reading is one of `forms`. A
  // reading is stored as a form no word carries, so its words are those of
  // the forms read so. Appends nothing on a line without that variant (no
  // copy is made there, searches call this for every line); a form out of
  // range adds nothing.
  void AddQereSources(const FormList& forms, FormList* out) const;

  // The form records whose forms begin with `prefix` at primary strength:
  // [*first, *end) of the form records.
  void FindPrefixRange(std::u16string_view prefix, uint32_t* first, uint32_t* end) const;
  // The form records equal to `word` at primary strength (the same base
  // letters, whatever the marks and case): [*first, *end).
  void FindPrimaryRange(std::u16string_view word, uint32_t* first, uint32_t* end) const;
  // The first form record not below `pattern` by the collator.
  uint32_t LowerBound(std::u16string_view pattern) const;

 protected:
  bool IsEmptyPrimary(char16_t c) const;
  icu::Collator* collator() const { return collator_.get(); }

  TMemMapFile<char16_t> strings_;
  TMemMapFile<uint32_t> word_forms_;
  TMemMapFile<uint32_t> lists_;
  TMemMapFile<XndxxT> forms_;
  std::vector<std::unique_ptr<TMemMapFile<uint32_t>>> variants_;
  std::vector<std::u16string> variant_names_;
  std::vector<std::u16string> variant_display_names_;
  bool hebrew_ = false;
  bool greek_ = false;
  std::unique_ptr<icu::Collator> collator_;
  // The same collator at primary strength, for the wildcard match.
  std::unique_ptr<icu::Collator> primary_;

 private:
  // The "Qere" variant (0 when the line has none) and, built on first use,
  // its table inverted: (reading form, form read so) pairs in order.
  int qere_ = 0;
  mutable bool qere_sources_built_ = false;
  mutable std::vector<std::pair<uint32_t, uint32_t>> qere_sources_;
};

}  // namespace vorn
