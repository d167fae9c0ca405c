// All user tags of one database: found in the user folder and the database
// folder, kept sorted by name, created, copied, renamed and deleted here.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "markup/tag_db.h"
#include "platform/message_sink.h"
#include "textdb/vorn_db.h"

namespace vorn {

class CTagsDB : public CVornDBAttachment {
 public:
  // A "*.vtd" file found where tags are searched that could not be taken as
  // a tag of this database.
  struct UnreadableFile {
    std::string path;
    std::u16string set;      // empty: no set
    std::u16string name;     // the file name without ".vtd"
    std::u16string reason;   // why it was not taken
    bool user_file = false;  // in the user folder, not the database's
  };

  // Searches the user folder and its direct subfolders (one per set), then
  // the database folder and its subfolders, for "*.vtd" files whose header
  // reads and names `db_name`; a tag whose identity is already listed is
  // skipped, so a user's copy hides the database's own. `sink` is borrowed
  // and must outlive the object. Views still showing a tag when this
  // object is destroyed are told that the tag is removed.
  CTagsDB(const std::string& db_folder, std::u16string_view db_name, uint32_t word_count,
          const std::string& user_folder, platform::CMessageSink* sink);
  ~CTagsDB() override;
  CTagsDB(const CTagsDB&) = delete;
  CTagsDB& operator=(const CTagsDB&) = delete;

  // The tags, sorted by name without regard to case. The pointers stay
  // valid until the tag is deleted or this object is destroyed.
  std::vector<CTagDB*> GetTags() const;
  size_t GetCount() const { return tags_.size(); }
  bool Contains(const CTagDB* tag) const;
  // The first tag (in list order) of that name, compared without regard to
  // case, whatever its set; null when none.
  CTagDB* FindTag(std::u16string_view name) const;
  // The tag of that identity; null when none.
  CTagDB* FindTag(std::u16string_view set, std::u16string_view name) const;
  // The tag files of the user folder and the database folder that could
  // not be read as tags of this database, in the order they were found;
  // they are not listed as tags, and a save never replaces one unseen.
  const std::vector<UnreadableFile>& GetUnreadable() const { return unreadable_; }
  // For tag files another program may have saved: reads again every tag
  // whose file changed and that has no unsaved changes (CTagDB::
  // ReloadIfChanged), and lists user tags that appeared. True when
  // anything changed.
  bool ReloadChanged();
  // Every set name (no set shown as "Miscellaneous"), plus "Miscellaneous",
  // sorted without regard to case, without duplicates.
  std::vector<std::u16string> GetSetNames() const;

  // A new empty tag in the user folder, saved at once. Null after a message
  // when the identity exists ("Tag: "set/name" already exists!"), when a
  // name cannot be a file name, or when the save fails.
  CTagDB* CreateTag(std::u16string_view set, std::u16string_view name);
  // Copies the tag's file into the user folder under the new set and name
  // and lists the copy; null after a message on failure (message 308 when
  // the copy fails). Changes not yet saved are not copied.
  CTagDB* CopyTag(CTagDB* tag, std::u16string_view set, std::u16string_view name);
  // Moves the tag's file within its folder to the new set and name (message
  // 307 on failure) and renames the tag. Changing only the letter case of
  // the tag's own identity is allowed.
  [[nodiscard]] bool RenameTag(CTagDB* tag, std::u16string_view set, std::u16string_view name);
  // With `confirm`, first asks message 144 (No: false). Deletes the tag's
  // file (a tag never saved has none), removes it from every view and from
  // the list, then lists the database's tag of the same identity if one
  // exists. When the file cannot be deleted the tag stays, after a message.
  [[nodiscard]] bool DeleteTag(CTagDB* tag, bool confirm);

  const std::string& GetUserFolder() const { return place_.user_folder; }
  const std::string& GetDatabaseFolder() const { return place_.db_folder; }
  const std::u16string& GetDatabaseName() const { return place_.db_name; }

 private:
  // Lists the tags of `folder` and its subfolders not listed yet; with
  // `only`, just tags of that identity.
  void Scan(const std::string& folder, bool database_tags, const CTagDB* only_like);
  void ScanFolder(const std::string& folder, std::u16string_view set, bool database_tags,
                  const CTagDB* only_like);
  void Sort();
  // Refuses (with a message) names that cannot be files and identities that
  // exist; `except` may keep its own identity.
  bool CheckNewIdentity(std::u16string_view set, std::u16string_view name, const CTagDB* except);
  [[nodiscard]] bool MakeFolder(const std::string& folder);
  std::u16string Describe(std::u16string_view set, std::u16string_view name) const;

  CTagDB::Place place_;
  platform::CMessageSink* sink_;
  std::vector<std::unique_ptr<CTagDB>> tags_;
  std::vector<UnreadableFile> unreadable_;
};

// The user tags of `db`, owned by the database: made on first use for the
// user folder of `working_folder` (the program's working folder; "" is the
// current directory). Later calls return the same object whatever folder
// they name.
CTagsDB* GetTagsDB(CVornDB* db, const std::string& working_folder = {});

}  // namespace vorn
