// The controller of the query box: runs the box's text against the active
// document window, keeps the list of past queries, and offers the prompts
// (the current word's prompts, then the static ones) that go into the box.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "query/query_list.h"
#include "query/query_prompt.h"
#include "textdb/font_format.h"
#include "textdb/types.h"

namespace vorn {

class CIniFile;
class CQueryBox;
class CQueryThing;
class CVornDB;
class CVornDBLine;
namespace platform {
class CMessageSink;
}

// The value `word` has on `line` as searches see it: the text of its first
// form (or link); "" when it has none.
std::u16string GetLineValue(const CVornDBLine* line, WordIndex word);

// Adds to `prompts` one prompt per line of `db` with a query keyword on
// which `word` has a value (the searches a word offers, user tags aside).
void AddLinePrompts(const CVornDB& db, WordIndex word, CQueryPrompts* prompts);

class CQueryTool {
 public:
  // The file of static prompts in the program's folder.
  static constexpr char kStaticPromptsFile[] = "Static Queries.txt";

  // `box` and `messages` are borrowed and must outlive the tool.
  CQueryTool(CQueryBox* box, platform::CMessageSink* messages);
  // Where the tool's messages go from now on (borrowed; may be null: none
  // are shown); returns the sink used before.
  platform::CMessageSink* SetMessageSink(platform::CMessageSink* messages) {
    return std::exchange(messages_, messages);
  }
  virtual ~CQueryTool();
  CQueryTool(const CQueryTool&) = delete;
  CQueryTool& operator=(const CQueryTool&) = delete;

  // Tells the tool how to find the active document window's query state
  // (null when there is no window). Asked at every run.
  void SetActiveSource(std::function<CQueryThing*()> source) { active_ = std::move(source); }
  // Called after the prompt list changed, so that the prompt combo refills.
  void SetPromptsChanged(std::function<void()> changed) { prompts_changed_ = std::move(changed); }

  // Runs the box's text, without right-to-left embedding marks, against the
  // active window. A parse or preparation error selects the box's text from
  // the error on and is shown as a warning; nothing else changes. Otherwise
  // the query joins the query list, "No matches" is shown when there are no
  // hits, the focus word becomes the history's query origin and the hits
  // replace the window's. False without a window or on an error.
  bool RunQuery();

  bool CanGoPrevious() const;
  bool CanGoNext() const;
  void PreviousQuery();
  void NextQuery();
  void SaveQueries(CIniFile* settings) const { list_.Save(settings); }
  void LoadQueries(const CIniFile& settings) { list_.Load(settings, box_); }
  // The query list newest first, for the history drop-down; false when
  // there is none.
  bool FillHistory(std::vector<std::u16string>* entries) const {
    return list_.GetNewestFirst(entries);
  }
  // Shows entry `newest_first` of FillHistory's list in the box, which it
  // replaces, and makes it the current entry; ignored outside the list.
  void ShowHistoryEntry(size_t newest_first) {
    const size_t n = list_.GetEntries().size();
    if (newest_first < n) list_.Show(static_cast<int32_t>(n - 1 - newest_first), box_);
  }
  const CQueryList& GetQueryList() const { return list_; }

  // --- Prompts: the word prompts, then the static prompts, as one list.

  // Reads the static prompts from kStaticPromptsFile in `program_folder`;
  // false when it cannot be read (the list stays empty).
  bool LoadStaticPrompts(const std::string& program_folder);
  // Rebuilds the word prompts when the active window's current word is not
  // the one they were made for: one prompt per line with a query keyword
  // (its value in the line's font), then one per displayed user tag of the
  // word.
  void UpdateWordPrompts();
  size_t GetPromptCount() const;
  // Null outside the list.
  const CQueryPrompt* GetPrompt(size_t index) const;
  const CQueryPrompts& GetWordPrompts() const { return word_prompts_; }
  const CQueryPrompts& GetStaticPrompts() const { return static_prompts_; }
  // The prompt shown as chosen in the combo; -1 for none.
  int32_t GetComboSelection() const { return combo_selection_; }

  // A prompt chosen from the combo: inserted at the box's caret (see
  // CQueryPrompt::UsePrompt), the box taking the focus.
  void ChoosePrompt(int32_t index, bool select);
  // The prompt replaces the whole query.
  void ReplaceWithPrompt(int32_t index);
  // Ctrl+Q and Ctrl+Shift+Q: the next or previous prompt of the combo,
  // wrapping at either end, inserted and selected.
  void NextPrompt();
  void PreviousPrompt();

 private:
  void RefillPrompts();

  CQueryBox* box_;
  platform::CMessageSink* messages_;
  std::function<CQueryThing*()> active_;
  std::function<void()> prompts_changed_;
  CFontFormat format_;
  CQueryPrompts static_prompts_;
  CQueryPrompts word_prompts_;
  // The word the word prompts were made for.
  const CVornDB* prompt_db_ = nullptr;
  WordIndex prompt_word_ = -1;
  int32_t selected_prompt_ = -1;
  int32_t combo_selection_ = -1;
  CQueryList list_;
};

}  // namespace vorn
