// The program's string table: fixed texts addressed by their resource ids.
#pragma once

#include <string>
#include <string_view>

namespace vorn::platform {

// String ids in use; the texts live in string_table.cpp.
enum StringId : int {
  kIdsDesktopFilter = 48,
  kIdsDesktopExtension = 49,
  kIdsDesktopViews = 50,
  kIdsDesktopView = 51,
  kIdsCantSaveDesktop = 70,
  kIdsConfirmDeleteTag = 144,
  kIdsParvelloName = 145,
  kIdsParvelloKey = 147,
  kIdsCommandLine = 148,
  kIdsCurrentDirectory = 149,
  kIdsSavePropositions = 150,
  kIdsFontNotFound = 200,
  kIdsFocusMessage = 201,
  kIdsFocusKey = 202,
  kIdsCantOpenDatabase = 300,
  kIdsCantReadBible = 301,
  kIdsCantStart = 302,
  kIdsCantConnect = 303,
  kIdsCantReadTag = 304,
  kIdsCantCreateDir = 305,
  kIdsCantWriteTag = 306,
  kIdsCantRename = 307,
  kIdsCantCopy = 308,
  kIdsCantCreateDirProps = 309,
  kIdsCantWriteProps = 311,
  kIdsCantReadProps = 312,
  kIdsCantWriteAnnotations = 314,
  kIdsSaveAnnotations = 315,
  kIdsCantOpenLinkedDoc = 422,
  kIdsFindRefsInWordsearch = 32974,
  kIdsDisplaysVerse = 35700,
  kIdsDisplayUserTag = 36100,
  kIdsNoUserTags = 36599,
  kIdsToggleUserTag = 36600,
  // User markup texts the resources give without an id of their own; the
  // ids are the program's and only need to stay unique.
  kIdsSaveTagChanges = 61000,
  kIdsTagExists = 61001,
  kIdsBadFileName = 61002,
  kIdsCantDeleteTag = 61003,
  kIdsEnterPropsName = 61010,
  kIdsPropsExist = 61011,
  kIdsNoPropositionFiles = 61012,
  kIdsFileUnreadable = 61020,
  kIdsMoveAsideDamaged = 61021,
  kIdsChangedOnDisk = 61022,
  kIdsTagUnreadable = 61023,
};

// The text of `id`; empty for an unknown id. The returned view stays valid
// for the whole run.
std::u16string_view LoadString(int id);

// LoadString(id) with "%1" and "%2" replaced by the arguments.
std::u16string FormatString(int id, std::u16string_view arg1, std::u16string_view arg2 = {});

}  // namespace vorn::platform
