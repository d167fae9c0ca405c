// One proposition analysis of a database: its sentences divided into
// indented propositions, with the editing commands of the propositions view.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "markup/props_file.h"
#include "platform/message_sink.h"
#include "textdb/types.h"

namespace vorn {

class CVornDB;
class CPropositions;

// Something that shows an analysis and repaints when it changes.
class CPropositionsViewer {
 public:
  virtual ~CPropositionsViewer();
  virtual void PropositionsChanged(CPropositions* props) = 0;
};

// The level that counts every proposition, however deep.
inline constexpr int kAllLevels = -1;

class CPropositions {
 public:
  // A fresh, unnamed analysis: one entry at word 0 and the end marker at
  // the word count, no joins. `db` and `sink` are borrowed and must outlive
  // the object; `user_folder` is where the analysis is saved.
  CPropositions(CVornDB* db, std::string user_folder, platform::CMessageSink* sink);
  ~CPropositions();
  CPropositions(const CPropositions&) = delete;
  CPropositions& operator=(const CPropositions&) = delete;

  CVornDB* GetDatabase() const { return db_; }
  const std::u16string& GetName() const { return state_.name; }
  bool IsModified() const { return state_.modified; }
  const std::vector<PropEntry>& GetEntries() const { return state_.data.entries; }
  const std::vector<uint32_t>& GetJoins() const { return state_.data.joins; }
  uint32_t GetWordCount() const { return word_count_; }

  // The sentence of `word`, the analysis' joins cancelling sentence breaks;
  // (-1, -1) for a word outside the database.
  WordSpan GetSentence(WordIndex word) const;
  // The proposition of `word` at view level `level` (1 to 4, or kAllLevels):
  // deeper propositions than the level count as part of the one before.
  // `*prop_level` (may be null) gets its level; a sentence start without an
  // entry of its own has level 0. (-1, -1) for a word outside the database.
  WordSpan GetProposition(WordIndex word, int level, int* prop_level = nullptr) const;

  // The editing commands. Each takes a view's selection (ascending word
  // indexes), first keeps the current state as the undo copy, then treats
  // each proposition the selection touches once. A change sets the modified
  // flag and refreshes the views.
  // Cuts the proposition before each selected word that does not begin it;
  // both parts keep its level.
  void Split(const std::vector<WordIndex>& selection);
  // Indents each touched proposition one level deeper; a sentence that
  // starts without an entry is joined to the sentence before and becomes a
  // level-1 proposition of it. A proposition at kMaxPropLevel stays there.
  void ShiftRight(const std::vector<WordIndex>& selection);
  // Takes one level off each touched proposition that has an entry above 0.
  void ShiftLeft(const std::vector<WordIndex>& selection);
  // Joins each touched proposition to the one before: its entry is removed,
  // or, when it is a sentence of its own, the sentence is joined to the one
  // before. The first proposition of the text has nothing to join.
  void Join(const std::vector<WordIndex>& selection);
  // Exchanges the state with the undo copy (so a second Undo redoes). False
  // when there is no undo copy.
  bool Undo();
  bool CanUndo() const { return undo_.has_value(); }

  // The file of the analysis `name` in the user folder, and in the
  // database's "Props" subfolder.
  std::string GetUserFilePath(std::u16string_view name) const;
  std::string GetDatabaseFilePath(std::u16string_view name) const;

  // Reads the analysis `name` from the user folder, else from the
  // database's "Props" subfolder, and takes its name, joins and entries
  // (unmodified). When neither file can be read or the one read is not
  // accepted (see ParsePropositionsFile), shows message 312 and changes
  // nothing.
  [[nodiscard]] bool Load(std::u16string_view name);
  // Writes the analysis under its name into the user folder (made when
  // missing: message 309 on failure) through a temporary file (message 311
  // when that fails); clears the modified flag on success. False, changing
  // nothing, without a name. The folder is locked meanwhile; when the file
  // this analysis was read from or last written to has been changed by
  // another program, asks whether to keep this version (Yes: written), take
  // the other program's (No: it is read in, unmodified, nothing written) or
  // neither (Cancel). A file there that cannot be read as an analysis of
  // this database is replaced only when ClearDamagedFile moves it aside.
  // False whenever nothing was written.
  [[nodiscard]] bool Save();
  // Only when modified: reads the named file again (as Load), or returns an
  // unnamed analysis to the fresh state. Views are refreshed.
  [[nodiscard]] bool Reload();
  // Reads the analysis `name` and adds its joins and entries to these (an
  // entry of this analysis wins over one of the file with the same start);
  // the state before goes to the undo copy. Modified when either list grew.
  // Message 312 and no change when the file is not read.
  [[nodiscard]] bool Merge(std::u16string_view name);

  // Copies modified flag, joins and entries from `other` and takes `name`
  // (the Save As of another analysis into this one).
  void TakeStateFrom(const CPropositions& other, std::u16string_view name);

  void AttachView(CPropositionsViewer* view);
  void DetachView(CPropositionsViewer* view);
  size_t GetViewCount() const { return views_.size(); }

 private:
  struct State {
    std::u16string name;
    bool modified = false;
    PropFileData data;
  };

  State FreshState() const;
  // Reads and parses the analysis `name` (message 312 on failure); `*path`
  // and `*bytes` (may be null) get the file read and its bytes.
  [[nodiscard]] bool ReadFile(std::u16string_view name, PropFileData* data,
                              std::string* path = nullptr, std::string* bytes = nullptr) const;
  // Under the folder lock of a save to `path`: false when the save must not
  // write (see Save).
  [[nodiscard]] bool CheckFileBeforeWriting(const std::string& path);
  // The index of the last entry whose start is not above `word`.
  size_t EntryAtOrBefore(uint32_t word) const;
  // The index of the entry starting at `word`, or -1.
  int EntryAt(uint32_t word) const;
  // Runs `edit` on each proposition the selection touches (skipping words
  // inside the proposition handled just before); keeps the undo copy and
  // refreshes when something changed.
  template <typename Edit>
  void EditEach(const std::vector<WordIndex>& selection, Edit edit);
  void AddJoin(uint32_t word);
  void Refresh();

  CVornDB* db_;
  std::string user_folder_;
  platform::CMessageSink* sink_;
  uint32_t word_count_;
  State state_;
  // The file the analysis was last read from or written to, and the
  // fingerprint of its bytes then: a save notices another program's.
  std::string base_path_;
  uint64_t base_fingerprint_ = 0;
  std::optional<State> undo_;
  std::vector<CPropositionsViewer*> views_;
};

}  // namespace vorn
