// The query state of one document window: the hit list of its latest query
// with the zones that find the hit nearest to a word, its current word, the
// user tags it displays, its propositions and its navigation history. It is
// the window's query context and the source of user-tag marks for the
// window's layouts.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "layout/layout_query_state.h"
#include "markup/markup_context.h"
#include "metrics/word_markup.h"
#include "refs/history.h"
#include "textdb/types.h"
#include "textdb/word_list.h"

namespace vorn {

class CAnnotation;
class CBibleRef;
class CIniFile;
class CTag;
class CTagsDB;
class CVornDB;
class CVornDBLine;
class CWord;
namespace platform {
class CMessageSink;
}

// What the query state needs of its document window; the desktop's window
// implements it.
class CQueryWindow {
 public:
  virtual ~CQueryWindow() = default;
  // The focus word of the window's active pane; -1 when it has none.
  virtual WordIndex GetFocusWord() const = 0;
  // Shows `ref` in the active pane.
  virtual void GoTo(const CBibleRef& ref) = 0;
  // A query replaced the hit list: the hits pane resets its scrolling to the
  // new count, the window adjusts the split between its panes, both panes'
  // layouts take the new list and repaint.
  virtual void HitsReplaced() = 0;
  // Words left the hit list: both panes refresh, the hits pane showing
  // `first_removed`.
  virtual void HitsRemoved(WordIndex first_removed) = 0;
  // A desktop restore emptied the hit list: the hits pane resets its
  // scrolling.
  virtual void HitsCleared() = 0;
  // Something both panes show changed (displayed tags, propositions).
  virtual void RepaintPanes() = 0;
};

class CQueryThing : public CWordMarkupSource, public CLayoutQueryState {
 public:
  // Makes the drawing side of a word's user tags for a view (the layout
  // code's); takes the word's tags.
  using WordTagsMaker = std::function<std::unique_ptr<CWordTags>(std::unique_ptr<CTag> tag,
                                                                 const CViewMetrics& metrics)>;

  // Everything is borrowed and must outlive the query state: `db`; `tags`,
  // the database's user tags (may be null: no user tags); `notes`, its
  // annotations (may be null); `props_list`, the program's analyses;
  // `window` (may be null: nothing is told).
  CQueryThing(CVornDB* db, CTagsDB* tags, CAnnotation* notes, CPropositionsList* props_list,
              CQueryWindow* window);
  // Lets go of the displayed tags and the propositions, with their save
  // prompts.
  ~CQueryThing() override;
  CQueryThing(const CQueryThing&) = delete;
  CQueryThing& operator=(const CQueryThing&) = delete;

  // The context the window's queries run in.
  CQueryContext* GetQueryContext() { return &markup_; }
  CMarkupContext& GetMarkup() { return markup_; }
  CVornDB* GetDatabase() const { return db_; }
  // The first line of the database whose query names contain `name`.
  CVornDBLine* FindLine(std::u16string_view name) const;

  // --- Hits.

  // Copies `hits` (ascending, without duplicates) as the window's hit list
  // and tells the window.
  void SetHits(const std::vector<uint32_t>& hits);
  // Removes the words of `words` (ascending) from the hit list; when the
  // count changed, tells the window, with the first removed word.
  void RemoveHits(const std::vector<uint32_t>& words);
  const std::vector<uint32_t>& GetHits() const { return hits_.words(); }
  size_t GetHitCount() const { return hits_.size(); }
  // The text of the query that made the hits (as the box held it); empty before the first query.
  const std::u16string& GetQueryText() const { return query_text_; }
  void SetQueryText(std::u16string text) { query_text_ = std::move(text); }

  // The zone of the hit at `place`: the words nearer to it than to its
  // neighbours, half-way points going to the later hit. (0, -1) for an empty
  // list; (-1, -1) for a place outside the list.
  WordSpan GetHitZone(int64_t place) const;
  // The place of the first hit not below `word`.
  size_t FindHitAtOrAfter(WordIndex word) const;
  // The place of the hit whose zone holds `word`; -1 as a word stands for
  // the end of the text (the last hit). 0, the end, for an empty list.
  int64_t NearestHitPlace(WordIndex word) const;
  // The same choice: that hit's word (-1 for an empty list) and its zone.
  WordIndex NearestHit(WordIndex word, WordSpan* zone) const;

  // --- Current word.

  // The current word's index, or -1.
  WordIndex GetCurrentWordIndex() const;
  CWord* GetCurrentWord() const { return current_.get(); }
  // Replaces the current word unless it is already `word`; -1 clears it.
  // True when it changed.
  bool SetCurrentWord(WordIndex word);
  // A new word object for the focus word of the active pane; null without
  // a window or focus word.
  std::unique_ptr<CWord> GetActiveWord() const;
  // Shows `ref` in the active pane (nothing without a window).
  void GoTo(const CBibleRef& ref);

  // --- Displayed user tags, sorted by name (ordinal order).

  const std::vector<CTagDB*>& GetDisplayedTags() const;
  bool IsTagDisplayed(const CTagDB* tag) const;
  // Shows a hidden tag (loading its marks) or hides a shown one; the panes
  // repaint.
  void ToggleTag(CTagDB* tag);
  // Hides every tag (when the window closes).
  void ReleaseTags();
  bool WordHasTag(WordIndex word) const;
  void TagsOfWord(WordIndex word, std::vector<CTagDB*>* tags) const;
  // The displayed tag of that name, ignoring case; null when none.
  CTagDB* FindDisplayedTag(std::u16string_view name) const;

  // --- Propositions.

  // The window's analysis, a fresh one made on first use.
  CPropositions* GetPropositions();
  // Shows the analysis `name`; false (keeping the current one, after a
  // message) when it cannot be read.
  bool SetPropositions(std::u16string_view name);
  void DropPropositions();

  CHistory& GetHistory() { return history_; }
  // Records the active pane's focus word as the origin of a query.
  void RecordQueryOrigin();

  // --- Desktop keys.

  // Key "Propositions" in `section` (the analysis' name), key "Query" (the text of the query
  // that made the hits; removed when there is none), and in section
  // `section` + " Tags" one key "UserTag <n>" per displayed tag holding its
  // name (the section is rewritten).
  void SaveToDesktop(CIniFile* settings, std::u16string_view section);
  // Loads the analysis named by "Propositions" (when the key reads and names
  // one), shows every tag listed under `section` + " Tags" (a name the
  // database has no tag of is reported to `messages`: "Couldn't open tag
  // \"name\""), empties the hit list and runs the "Query" again, its hits becoming the window's.
  // A stored query that no longer runs (a tag it names is gone) leaves the hit list empty and
  // its text as the window's query, without a message: the user sees it and may correct it.
  void LoadFromDesktop(const CIniFile& settings, std::u16string_view section,
                       platform::CMessageSink* messages);

  // --- CWordMarkupSource.

  bool IsWordTagged(WordIndex word) const override { return WordHasTag(word); }
  void GetWordTags(WordIndex word, std::vector<CTagDB*>* tags) const override {
    TagsOfWord(word, tags);
  }
  // Null when the word carries no displayed tag or no maker is installed.
  std::unique_ptr<CWordTags> MakeWordTags(WordIndex word, const CViewMetrics& metrics) override;
  bool HasNote(WordIndex word) const override;
  void SetWordTagsMaker(WordTagsMaker maker) { tags_maker_ = std::move(maker); }

  // --- CLayoutQueryState. The hit list keeps its address for the life of
  // the query state.

  const CDBWordList& GetHitList() const override { return hits_; }
  CWordMarkupSource* GetWordMarkup() override { return this; }
  CPropositions* GetLayoutPropositions() override { return GetPropositions(); }

 private:
  void Repaint();

  CVornDB* db_;
  CTagsDB* tags_;
  CAnnotation* notes_;
  CQueryWindow* window_;
  CMarkupContext markup_;
  CDBWordList hits_;
  std::u16string query_text_;
  std::unique_ptr<CWord> current_;
  CHistory history_;
  WordTagsMaker tags_maker_;
};

}  // namespace vorn
