// The user tags of one word in one view: which of the view's shown tags
// mark the word and at which position, and what follows for its look, its
// labels and the layout's line breaks. Made afresh whenever a word is
// measured, drawn or exported.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "markup/tag_db.h"
#include "markup/tag_style.h"

namespace vorn {

class CTag {
 public:
  struct Entry {
    CTagDB* tag;  // borrowed from the database's tags
    TagPosition position;
  };

  // Keeps, in the order given, the tags of `shown` that mark `word`.
  // The tags must outlive this object.
  CTag(WordIndex word, const std::vector<CTagDB*>& shown);

  WordIndex GetWord() const { return word_; }
  bool IsEmpty() const { return tags_.empty(); }
  const std::vector<Entry>& GetTags() const { return tags_; }

  // The non-empty labels of the tags that begin at the word, joined by
  // single spaces.
  std::u16string GetBeginLabels() const;
  // The same for the tags that end at the word without beginning there.
  std::u16string GetEndLabels() const;

  // Colours and font style: a later tag's colour replaces an earlier one,
  // font style bits add up.
  TagLook GetLook() const;

  // Layout hints. A line starts before the word when one of its tags asks
  // for a new line and begins here; `*indent` gets the first such tag's
  // indent. The line ends after the word when a tag asking for an end line
  // ends here; `*indent_next` gets that tag's indent next.
  bool StartsLine(int* indent) const;
  bool EndsLine(int* indent_next) const;

  // "User tags: " and the tag names joined with ", ".
  std::u16string GetDetailsRow() const;
  // One (keyword, text) query entry per tag: ("usertag", tag name).
  std::vector<std::pair<std::u16string, std::u16string>> GetQueryEntries() const;

 private:
  WordIndex word_;
  std::vector<Entry> tags_;
};

bool IsBeginPosition(TagPosition p);
bool IsEndPosition(TagPosition p);

}  // namespace vorn
