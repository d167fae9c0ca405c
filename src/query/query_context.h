// What the query engine needs from the window that runs a query: its
// database, the user tags it displays and its propositions. The window's
// query state implements it; tests use small fakes.
#pragma once

#include <string_view>
#include <vector>

#include "textdb/types.h"

namespace vorn {

class CVornDB;
class CVornDBLine;

class CQueryContext {
 public:
  virtual ~CQueryContext() = default;

  // The database the query searches; must stay open while the query's nodes
  // live. Never null for a context that runs queries.
  virtual CVornDB* GetDatabase() const = 0;

  // The first line of the database, in its order, whose query names contain
  // `name` exactly; null when none does.
  virtual CVornDBLine* FindLine(std::u16string_view name) const;

  enum class TagLookup {
    kFound,         // displayed; the spans were filled (possibly none)
    kUnknown,       // the database has no user tag of that name
    kNotDisplayed,  // the tag exists but this window does not show it
  };
  // Looks `name` up, ignoring case, among all user tags of the database.
  // When the tag is displayed in this window, fills `spans` with its marked
  // word spans (ascending, disjoint, end exclusive; see MakeTagSpans). The
  // base class knows no user tags.
  virtual TagLookup FindUserTag(std::u16string_view name, std::vector<WordSpan>* spans);

  // The proposition that holds `word` with every level counted; (-1, -1)
  // when no proposition holds it. The base class has the analysis a window
  // starts with, in which every sentence is one proposition.
  virtual WordSpan GetPropositionRange(WordIndex word);

  // How a search word without a mark of its own is matched: exactly (the
  // default) or loosely, ignoring accents, points, breathings and case. A
  // word written ~word is always matched loosely, =word always exactly.
  bool GetLooseMatching() const { return loose_matching_; }
  void SetLooseMatching(bool loose) { loose_matching_ = loose; }

 private:
  bool loose_matching_ = false;
};

}  // namespace vorn
