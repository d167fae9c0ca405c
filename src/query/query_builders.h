// What the query dialogs put into the query box, made from what the user
// picked: a term for each chosen form ("base λόγος", or several joined by
// "or"), a grammar tag built position by position with wildcards where
// nothing was chosen, a link of a chosen kind, and the passages after "in".
// The dialogs show lists and pass choices here; every text they insert is
// made by these functions, so that it parses as the query language says.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "textdb/line.h"

namespace vorn {

class CVornDB;
class CVornDBLine;
class CVornDBLinks;
class CVornDBTagsLine;

// The keyword that names `line` in queries ("text", "tag", ...): its query
// prompt, else its first query name; "" for a line that cannot be searched.
std::u16string LineKeyword(const CVornDBLine& line);

// `word` as the query language reads one word: in double quotes when it
// holds a blank, a parenthesis, a comma or a semicolon.
std::u16string QuoteQueryWord(std::u16string_view word);

// "keyword word" for one word; "(keyword a or keyword b ...)" for several,
// in parentheses so that the union stays one term wherever it is inserted.
// "" when `words` is empty.
std::u16string BuildTermQuery(std::u16string_view keyword,
                              const std::vector<std::u16string>& words);

// One form of a line with how many words of the text carry it.
struct FormCount {
  uint32_t form = 0;
  std::u16string text;  // as a query word spells it
  size_t words = 0;
};

// The forms of `line` that begin with `prefix` (canonically equivalent
// spellings alike, wildcards as in queries; for the links line the prefix
// begins with a kind's name and a blank), in the line's order, at most
// `limit` of them, each with its word count. `*total` (may be null) gets how
// many forms matched. False, `out` empty, when none does.
bool ListFormsWithCounts(const CVornDBLine& line, std::u16string_view prefix, size_t limit,
                         std::vector<FormCount>* out, size_t* total = nullptr);

// The names of the link kinds that can be searched, in the database's order.
std::vector<std::u16string> ListLinkKinds(const CVornDBLinks& links);

// The query term of links of `kind`: `note "Kind *"` (every link of the
// kind) when `entries` is empty, else one term per entry (joined as
// BuildTermQuery joins them). An entry's text is cut at its first ':' and
// ends in '*' there, since the links line spells out whole notes ("G3056
// λόγος: from G3004; something said...") that nobody wants in a query.
std::u16string BuildLinkQuery(const CVornDBLine& links, std::u16string_view kind,
                              const std::vector<std::u16string>& entries);

// A grammar tag built one position at a time from what the line's tags
// hold. A position left unchosen matches any character; so does the rest of
// the tag after the last choice. The line is borrowed and must outlive the
// builder.
class CTagBuilder {
 public:
  struct Choice {
    char16_t code = 0;
    std::u16string description;  // what the code adds to the tag's meaning
  };

  explicit CTagBuilder(const CVornDBTagsLine& line);

  // The length of the longest tag of the line.
  int GetPositionCount() const { return position_count_; }
  // The codes that some tag matching the choices before `position` holds at
  // `position`, each once, in the order the tags come; empty outside the
  // tag.
  std::vector<Choice> GetChoices(int position) const;
  // Chooses `code` at `position`; 0 makes the position unchosen again.
  // Ignored outside the tag.
  void Choose(int position, char16_t code);
  // Every position unchosen.
  void Reset();
  char16_t GetChosen(int position) const;

  // The tag pattern: the chosen codes, '?' for an unchosen position before
  // the last choice, and '*' after it unless no matching tag is longer.
  // "*" when nothing is chosen.
  std::u16string GetPattern() const;
  // The meaning of the choices in words: the decoder's description of the
  // chosen codes while they have no gaps, else each choice's own part.
  std::u16string Describe() const;
  // How many forms of the line the pattern matches.
  size_t CountForms() const;
  // "tag PATTERN" with the line's keyword.
  std::u16string BuildQuery() const;

 private:
  // The pattern of the choices before `end`, ending in '*'.
  std::u16string PatternBefore(int end) const;
  // What `code` at `position` means, read from a longer tag of `forms`
  // holding it, for a code the decoder names only once more is known; ""
  // when no tag tells.
  std::u16string NameByLongerTag(const FormList& forms, int position, char16_t code) const;

  const CVornDBTagsLine& line_;
  int position_count_ = 0;
  std::vector<char16_t> chosen_;
};

// The passage list after "in" for a span of chapters of one book, in the
// database's book codes: "in JHN", "in JHN 3", "in JHN 3-5". A chapter of
// 0 leaves it out; `last` below `first` counts as `first`. "" for a book
// the database does not have.
std::u16string BuildRangeQuery(const CVornDB& db, int book, int first_chapter, int last_chapter);
// "in " and a named range's list.
std::u16string BuildNamedRangeQuery(std::u16string_view ranges);
// The number of the last chapter of `book`; 0 when the book is missing.
int LastChapterOf(const CVornDB& db, int book);

}  // namespace vorn
