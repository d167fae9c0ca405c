// The grammar-tags line ("Tag"): each word's morphological tag, decoded by
// the line's tag scheme, with a wildcard syntax suited to tag codes.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "textdb/ordinary_line.h"

namespace vorn {

class CTagDecoder;

// Tag wildcards: '?' one character; '*' any run; '@' a run without 'X' that
// does not reach the end of the tag; '[abc]' one of the characters; '[!abc]'
// one character that is none of them. Everything else matches itself.
bool MatchTagPattern(std::u16string_view pattern, std::u16string_view tag);

class CVornDBTagsLine : public CVornDBOrdinaryLine {
 public:
  // An ordinary line; its decoder is chosen by the line's "TagScheme" value
  // (none for an unknown or missing scheme). The word-details factory is
  // left for the word-details code to set.
  explicit CVornDBTagsLine(const CVornDBLineParams& params);
  ~CVornDBTagsLine() override;

  bool MatchText(std::u16string_view pattern, std::u16string_view text) const override;
  std::u16string_view GetWildcards() const override { return u"*?@["; }
  // Tag codes have no accents, and their case means something ('N' noun,
  // 'n' another value), so a loose match is the exact one.
  bool MatchFormsLoose(std::u16string_view pattern, FormList* out) const override {
    return MatchForms(pattern, out);
  }
  bool MatchForm(std::u16string_view pattern, std::u16string_view form) const override;
  std::u16string SimplifyPattern(std::u16string_view pattern) const override;

  // The decoder's reading of `tag`, or the tag itself without a decoder.
  std::u16string DescribeTag(std::u16string_view tag) const;

  // For the grammar-tag query dialog: what may stand at position `position`
  // of a tag, given the tags `forms` (form numbers in form order). Appends
  // to `prefixes` the description of each distinct prefix of `position`
  // characters, and to `choices` each distinct choice as the character, a
  // tab and the quoted part of the description that the character adds.
  // Both are emptied first; they stay empty for a negative position.
  void ListTagChoices(const FormList& forms, std::vector<std::u16string>* prefixes,
                      std::vector<std::u16string>* choices, int position) const;

  const CTagDecoder* GetDecoder() const { return decoder_.get(); }

  // Parts 1 .. the longest tag's length are the tags' character positions,
  // named by the decoder. A position's value identifier is the character
  // code standing there, 0 for a tag too short to have one; its text is the
  // tag pattern that finds it ("??p*"), "-" for the missing character.
  std::u16string GetPartName(int part) const override;
  void CollectValueIds(const std::vector<uint32_t>& words, int part,
                       std::vector<uint32_t>* out) const override;
  std::u16string GetValueText(int part, uint32_t id) const override;
  // The length of the longest tag of the line (found once, on first use).
  int GetLongestTag() const;

 private:
  mutable int longest_tag_ = -1;
  std::unique_ptr<CTagDecoder> decoder_;
};

}  // namespace vorn
