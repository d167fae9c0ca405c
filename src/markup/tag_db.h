// One user tag: its identity, its style and label, and the words it marks,
// loaded from and saved to its tag file.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "markup/tag_file.h"
#include "markup/tag_marks.h"
#include "markup/tag_style.h"
#include "platform/message_sink.h"

namespace vorn {

class CTagViewer;

// The longest label a tag may carry, in UTF-16 code units.
inline constexpr size_t kMaxTagLabel = 10;

// The set every tag without a set of its own belongs to.
inline constexpr std::u16string_view kDefaultSetName = u"Miscellaneous";

// The set name as stored: "Miscellaneous" in any case becomes empty.
std::u16string NormalizeSetName(std::u16string_view set);

class CTagDB {
 public:
  // Where a tag comes from and what it belongs to. The strings are copied.
  struct Place {
    std::u16string db_name;   // the database's "/Name"
    std::string db_folder;    // the database's folder
    std::string user_folder;  // the database's user folder
    uint32_t word_count = 0;
  };

  // A new tag of the user (no file yet; its words are loaded and empty).
  // `sink` is borrowed and must outlive the tag.
  CTagDB(const Place& place, std::u16string_view set, std::u16string_view name,
         platform::CMessageSink* sink);
  // The tag stored in the file at `path`, its header read: a database tag
  // when `database_tag`, else a user tag. Null when the header cannot be
  // read or names another database; `*reason` (may be null) then says why.
  static std::unique_ptr<CTagDB> FromFile(const Place& place, const std::string& path,
                                          std::u16string_view set, std::u16string_view name,
                                          bool database_tag, platform::CMessageSink* sink,
                                          std::u16string* reason = nullptr);
  ~CTagDB();
  CTagDB(const CTagDB&) = delete;
  CTagDB& operator=(const CTagDB&) = delete;

  // Identity: name and set compared without regard to case, no set and
  // "Miscellaneous" being the same set.
  bool IsSameTag(std::u16string_view set, std::u16string_view name) const;
  bool IsSameTag(const CTagDB& other) const { return IsSameTag(other.set_name_, other.tag_name_); }
  const std::u16string& GetName() const { return tag_name_; }
  // Empty when the tag belongs to no set.
  const std::u16string& GetSetName() const { return set_name_; }
  // The set name as shown: "Miscellaneous" for none.
  std::u16string GetDisplaySetName() const;
  // "set\name", or the name alone without a set.
  std::u16string GetRelativeName() const;
  // The file the tag is read from (and, for a user tag, written to).
  const std::string& GetFilePath() const { return file_path_; }
  // The file a save writes: in the user folder, under the set's subfolder.
  std::string GetUserFilePath() const;
  bool IsDatabaseTag() const { return !db_folder_.empty(); }
  bool IsNew() const { return new_; }
  bool IsModified() const { return modified_; }
  bool AreWordsLoaded() const { return words_loaded_; }

  const TagStyle& GetStyle() const { return header_.style; }
  const std::u16string& GetLabel() const { return header_.label; }
  // Each marks the tag modified and refreshes its views when it changes
  // something. A label is cut to kMaxTagLabel code units.
  void SetStyle(const TagStyle& style);
  void SetLabel(std::u16string_view label);

  // Reads the header again; false (after nothing is changed) when it cannot
  // be read or names another database.
  [[nodiscard]] bool LoadHeader();
  // Reads the words when they are not loaded yet. On failure (the file
  // cannot be read, is malformed or has ranges outside the database) shows
  // message 304, leaves the tag unloaded and returns false; later questions
  // about words do not retry until LoadWords or Revert is called again.
  [[nodiscard]] bool LoadWords();

  // Writes the user's copy: the user folder and the set's subfolder are made
  // when missing and the file is written through a temporary file. The
  // folder is locked meanwhile, and when the file there is no longer what
  // this tag last read or wrote (another program saved the tag), the newer
  // file is read and this tag's own changes since then are applied to it
  // (CTagMarks::MergeChanges; the style and label are this tag's only when
  // it changed them): nothing another program saved is lost. A file there
  // that cannot be read is never replaced unless ClearDamagedFile moves it
  // aside. On success the tag becomes a user tag of that file and
  // unmodified. On failure (words that could not be loaded, a folder that
  // cannot be made: message 305, a write that fails: message 306, a damaged
  // file kept) nothing on disk changes and the tag keeps its file and its
  // modified state.
  [[nodiscard]] bool Save();
  // Asks "Save changes to %1 tag?" (Yes, No, Cancel): Yes saves, No
  // reverts, Cancel keeps the changes in memory. Returns the answer, but
  // Cancel for a Yes whose save failed: the changes are then still only in
  // memory.
  platform::MsgAnswer SaveWithPrompt();
  // Re-reads header and words from the file, discarding changes, and
  // refreshes the views. A tag without a file becomes empty. When the file
  // cannot be read message 304 is shown, nothing changes and false returned.
  [[nodiscard]] bool Revert();
  // For a tag another program may have saved: when its file no longer holds
  // what this tag last read or wrote, and this tag has no unsaved changes,
  // reads it again and refreshes the views. A file that cannot be read
  // changes nothing. True when the tag was read again.
  [[nodiscard]] bool ReloadIfChanged();

  // The word questions load the words first; an unloadable tag marks nothing.
  TagPosition GetPosition(WordIndex w);
  bool IsTagged(WordIndex w);
  // The tag's ranges as word spans (end exclusive), in word order.
  std::vector<WordSpan> GetSpans();
  bool IsEmpty();
  uint32_t GetWordCount() const { return place_.word_count; }

  // Each marks the tag modified and refreshes its views; nothing when the
  // words cannot be loaded or the word lies outside the database.
  void ToggleWord(WordIndex w);
  // Nothing (false) when last < first or the range leaves the database.
  bool ToggleRange(WordIndex first, WordIndex last);

  // Views showing the tag (borrowed; each must detach before it dies).
  // Attaching loads the words.
  void AttachView(CTagViewer* view);
  // Detaching the last view of a modified tag runs SaveWithPrompt.
  void DetachView(CTagViewer* view);
  bool HasViews() const { return !views_.empty(); }
  // Tells every view that the tag is going away and forgets them all.
  void RemoveFromViews();

  // The tag list row: "+name" when `shown`, display set, "*" when modified,
  // foreground, background, font style, bracket position, bracket style,
  // bracket colour, new line, indent, end line, indent next, label, file.
  std::vector<std::u16string> GetListRow(bool shown) const;

 private:
  friend class CTagsDB;  // renames and re-places tags

  // Reads the whole file and parses header and ranges (when `ranges` is not
  // null); false on any fault, with the reason in `*reason` (may be null).
  // `*bytes` (may be null) gets the file's bytes.
  [[nodiscard]] bool ReadFile(TagFileHeader* header, std::vector<TagRange>* ranges,
                              std::string* bytes, std::u16string* reason) const;
  [[nodiscard]] bool ParseFile(std::string_view bytes, TagFileHeader* header,
                               std::vector<TagRange>* ranges, std::u16string* reason) const;
  // Remembers what the file holds as the state later saves merge against.
  void SetBase(const std::string& path, std::string_view bytes);
  // Under the folder lock of a save to `path`: takes a newer file there
  // into memory (see Save). False when a damaged file stays in the way.
  [[nodiscard]] bool TakeNewerFile(const std::string& path, bool* merged);
  void Changed();
  bool EnsureWords();

  Place place_;
  std::u16string set_name_;
  std::u16string tag_name_;
  std::string db_folder_;  // empty for a user tag
  std::string file_path_;
  platform::CMessageSink* sink_;
  TagFileHeader header_;
  bool new_ = false;
  bool header_loaded_ = false;
  bool words_loaded_ = false;
  bool words_failed_ = false;
  bool modified_ = false;
  bool style_changed_ = false;  // style or label changed since the base
  CTagMarks marks_;
  // The words as last read from or written to `base_path_` (the file whose
  // bytes have `base_fingerprint_`): what a save's merge compares against.
  CTagMarks base_marks_;
  std::string base_path_;
  uint64_t base_fingerprint_ = 0;
  std::vector<CTagViewer*> views_;
};

}  // namespace vorn
