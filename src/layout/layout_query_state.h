// What the layouts of a window ask of its query state: the hit list of its
// latest query, the markup of its words and its proposition analysis. The
// window's query state implements it (tests and the command line use small
// implementations of their own). Header only and abstract, so that the
// query state can implement it without linking the layout model.
#pragma once

#include "metrics/word_markup.h"
#include "textdb/word_list.h"

namespace vorn {

class CPropositions;

class CLayoutQueryState {
 public:
  virtual ~CLayoutQueryState() = default;

  // The hits, ascending and without duplicates. The hit layouts keep a
  // pointer to this list: it must live as long as they do (a new query
  // replaces the layouts).
  virtual const CDBWordList& GetHitList() const = 0;
  // The user tags and notes of the window's words; null for none.
  virtual CWordMarkupSource* GetWordMarkup() = 0;
  // The window's analysis; null when it has none (every sentence is then
  // one proposition).
  virtual CPropositions* GetLayoutPropositions() = 0;
};

}  // namespace vorn
