// The parts of a word's context menu that come from the word itself: its
// links, one submenu per link menu title (links that carry a level go into
// a morpheme menu, grouped and aligned by level), and the text variants of
// its Form line. The entries are plain data; the desktop turns them into
// its own menus, so that what a menu offers can be checked without a
// window system.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vorn {

class CPVLink;
class CVornDB;
class CWord;

struct WordMenuItem {
  enum class Kind {
    kCommand,    // chosen, it sends `command`
    kTitle,      // a heading that cannot be chosen
    kFiller,     // an empty row that keeps the groups of a morpheme menu aligned
    kSeparator,  //
    kSubmenu,    // `text` names it; `items` are its entries
  };
  Kind kind = Kind::kCommand;
  uint32_t command = 0;
  std::u16string text;
  bool checked = false;  // shown with a check mark
  std::vector<WordMenuItem> items;
};

// The links of a word that carry a level (the morphemes of a word), each
// with its command. Built, they are sorted by group text, each group opened
// by its title, its links level by level (1, 2, ...), each level filled up
// with empty rows to the most links that level has in any group, so that
// the groups stay aligned row by row. The links are borrowed from the word
// and must outlive the menu.
class CMorphemeMenu {
 public:
  void Add(const CPVLink* link, uint32_t command);
  bool IsEmpty() const { return links_.empty(); }
  // Every link added appears once, under its group.
  std::vector<WordMenuItem> Build() const;

 private:
  struct Entry {
    const CPVLink* link;
    uint32_t command;
  };
  std::vector<Entry> links_;
};

// The text a link shows in a menu: its kind's "MenuL" expanded, or its text
// when that gives nothing.
std::u16string LinkMenuText(const CPVLink& link);
// The submenu a link goes into: its kind's "MenuT" expanded, or the kind's
// name when that gives nothing.
std::u16string LinkMenuTitle(const CPVLink& link);

// The word's links as submenus named by their menu titles, in order of
// their first link; command CWord::kFirstLinkCommand + the link's index.
// Links with an empty text are left out. Empty without links.
std::vector<WordMenuItem> MakeLinkMenus(const CWord& word);

// The text variants of the word's Form line as commands `first_command` + n
// (0 the text itself), the one numbered `current` checked; empty when the
// line has no variant besides the text itself.
std::vector<WordMenuItem> MakeVariantItems(const CWord& word, uint32_t first_command, int current);

// The Strong's numbers a text mentions ("from G575 (ἀπό)", "H7225"): a "G"
// or "H" that no letter or digit precedes, followed by digits, each number
// once in order of first mention.
std::vector<std::u16string> FindStrongNumbers(std::u16string_view text);
// Where `text` mentions Strong's numbers, as above: the [begin, end) range
// of every mention, repeats included, in order.
std::vector<std::pair<size_t, size_t>> FindStrongNumberSpans(std::u16string_view text);
// The first word whose value on some line of `db` is exactly `value` (the
// word that carries Strong's number "G575", say); -1 when none is.
int32_t FirstWordWithValue(const CVornDB& db, std::u16string_view value);
// The texts of the word's links, in link order.
std::vector<std::u16string> LinkTexts(const CWord& word);

}  // namespace vorn
