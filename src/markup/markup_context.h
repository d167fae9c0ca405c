// The user markup of one window — the tags it displays and its proposition
// analysis — and the query context through which its queries reach them:
// "usertag" terms, "within the same usertag", "within the same proposition"
// and positions "in a proposition". The window's query state owns one.
#pragma once

#include <functional>
#include <string_view>
#include <vector>

#include "markup/propositions.h"
#include "markup/propositions_list.h"
#include "markup/tags_db.h"
#include "markup/view_tags.h"
#include "query/query_context.h"

namespace vorn {

class CMarkupContext : public CQueryContext, public CPropositionsViewer {
 public:
  // `db`, `tags` (the database's user tags) and `props_list` are borrowed
  // and must outlive this object. `repaint` (may be empty) is called after
  // every change the window shows.
  CMarkupContext(CVornDB* db, CTagsDB* tags, CPropositionsList* props_list,
                 std::function<void()> repaint = {});
  // Lets go of the displayed tags and the analysis, with their save prompts.
  ~CMarkupContext() override;
  CMarkupContext(const CMarkupContext&) = delete;
  CMarkupContext& operator=(const CMarkupContext&) = delete;

  CViewTags& GetViewTags() { return view_tags_; }
  const CViewTags& GetViewTags() const { return view_tags_; }
  CTagsDB* GetTagsDB() const { return tags_; }

  // The window's analysis, a fresh one made on first use.
  CPropositions* GetPropositions();
  // Shows the analysis `name` (see CPropositionsList::Load); false, keeping
  // the current one, when it cannot be read.
  [[nodiscard]] bool LoadPropositions(std::u16string_view name);
  // Save As into the analysis `name`, which the window shows from then on.
  [[nodiscard]] bool SavePropositionsAs(std::u16string_view name);
  // Lets go of the analysis (with the save prompt of a last view).
  void DropPropositions();

  // CQueryContext
  CVornDB* GetDatabase() const override { return db_; }
  TagLookup FindUserTag(std::u16string_view name, std::vector<WordSpan>* spans) override;
  WordSpan GetPropositionRange(WordIndex word) override;

  // CPropositionsViewer
  void PropositionsChanged(CPropositions* props) override;

 private:
  CVornDB* db_;
  CTagsDB* tags_;
  CPropositionsList* props_list_;
  std::function<void()> repaint_;
  CViewTags view_tags_;
  CPropositions* props_ = nullptr;
};

}  // namespace vorn
