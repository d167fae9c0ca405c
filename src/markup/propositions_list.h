// Every proposition analysis in memory. Views of the same analysis (same
// database, same name) share one object; the last view to let go of it
// deletes it, after offering to save it.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "markup/propositions.h"
#include "platform/message_sink.h"

namespace vorn {

// What the save prompt calls an analysis that was never saved under a name.
inline constexpr char16_t kUntitled[] = u"Untitled";

class CPropositionsList {
 public:
  // `working_folder` holds the user folders; `sink` is borrowed and must
  // outlive the list.
  CPropositionsList(std::string working_folder, platform::CMessageSink* sink);
  ~CPropositionsList();
  CPropositionsList(const CPropositionsList&) = delete;
  CPropositionsList& operator=(const CPropositionsList&) = delete;

  // The folder that holds the user folders, as given at construction.
  const std::string& GetWorkingFolder() const { return working_folder_; }
  std::string GetUserFolder(const CVornDB* db) const;

  // The named analysis of `db` in memory, or null (never an unnamed one).
  CPropositions* Find(const CVornDB* db, std::u16string_view name) const;
  size_t GetCount() const { return list_.size(); }

  // A fresh unnamed analysis of `db`, shown by `view`.
  CPropositions* CreateFresh(CVornDB* db, CPropositionsViewer* view);
  // The analysis `name` for `view`: the one in memory, else a new one read
  // from its file. On success the view lets go of `current` (may be null)
  // and shows the result; on failure (message 312) null, and the view keeps
  // `current`.
  CPropositions* Load(CVornDB* db, std::u16string_view name, CPropositionsViewer* view,
                      CPropositions* current);
  // Save As. The same name: a plain Save of `current`. A new name: the
  // state of `current` goes into the analysis of that name in memory (or a
  // new one), which is saved and shown by `view` instead of `current`, which
  // the view lets go of without a prompt (its state has just been saved).
  // Null when the name cannot be a file name (after a message); when the
  // save fails the analysis of the new name is kept and returned, modified.
  CPropositions* SaveAs(CPropositions* current, std::u16string_view name,
                        CPropositionsViewer* view);
  // The checks of the Save As dialog: refuses an empty name ("Please enter a
  // name ...") and asks before overwriting an existing file of the user
  // folder. True to go ahead.
  bool ConfirmSaveAsName(const CPropositions* current, std::u16string_view name) const;
  // Save: under the current name, or Save As with the name the name
  // provider gives (none: nothing is saved, false).
  [[nodiscard]] bool Save(CPropositions* props, CPropositionsViewer* view);

  // The view lets go. The last view of a modified analysis is asked message
  // 150 (Yes saves, Save As when unnamed); then the analysis is deleted,
  // unless its save failed: it then stays in the list, modified, and
  // loading it again gives it back as it was.
  void Release(CPropositions* props, CPropositionsViewer* view);

  // Asked for a name when an unnamed analysis is to be saved; an empty
  // answer cancels. Without one, unnamed analyses cannot be saved.
  void SetNameProvider(std::function<std::u16string(CPropositions*)> provider) {
    name_provider_ = std::move(provider);
  }

  // The names for the Load and Merge menus: "*.vpo" files of the user
  // folder, then those of the database's "Props" folder not listed yet,
  // without their extension.
  std::vector<std::u16string> ListFiles(const CVornDB* db) const;

 private:
  std::unique_ptr<CPropositions> Take(CPropositions* props);
  void Drop(CPropositions* props, CPropositionsViewer* view, bool prompt);

  std::string working_folder_;
  platform::CMessageSink* sink_;
  std::vector<std::unique_ptr<CPropositions>> list_;
  std::function<std::u16string(CPropositions*)> name_provider_;
};

}  // namespace vorn
