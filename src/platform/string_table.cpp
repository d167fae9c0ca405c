#include "platform/string_table.h"

#include <algorithm>
#include <iterator>

#include "platform/u16.h"

namespace vorn::platform {

namespace {
struct Entry {
  int id;
  std::u16string_view text;
};

// Sorted by id for binary search.
constexpr Entry kStrings[] = {
    {kIdsDesktopFilter, u"VORN Desktops (*.vdt)|*.vdt|All Files (*.*)|*.*||"},
    {kIdsDesktopExtension, u"vdt"},
    {kIdsDesktopViews, u"Views"},
    {kIdsDesktopView, u"View %1"},
    {kIdsCantSaveDesktop, u"Couldn't save desktop. Read-only directory?"},
    {kIdsConfirmDeleteTag, u"Are you sure you want to delete the file containing the %1 tag?"},
    {kIdsParvelloName, u"Parvello"},
    {kIdsParvelloKey, u"Software\\Qyx\\%1"},
    {kIdsCommandLine, u"Command Line"},
    {kIdsCurrentDirectory, u"Current Directory"},
    {kIdsSavePropositions, u"Do you want to save the propositions \"%1\" for \"%2\"?"},
    {kIdsFontNotFound, u"Font \"%1\" not found!"},
    {kIdsFocusMessage, u"SantaFeFocus"},
    {kIdsFocusKey, u"Software\\SantaFe\\Focus\\"},
    {kIdsCantOpenDatabase, u"Couldn't open \"%1\" in \"%2\""},
    {kIdsCantReadBible, u"Couldn't read bible in \"%1\""},
    {kIdsCantStart, u"Couldn't start \"%1\""},
    {kIdsCantConnect, u"Couldn't connect to \"%1\""},
    {kIdsCantReadTag, u"Couldn't read file for user tag \"%1\""},
    {kIdsCantCreateDir, u"Couldn't create dir <%1> : %2"},
    {kIdsCantWriteTag, u"Couldn't write file for user tag \"%1\""},
    {kIdsCantRename, u"Couldn't rename <%1> to %2"},
    {kIdsCantCopy, u"Couldn't copy <%1> to %2"},
    {kIdsCantCreateDirProps, u"Couldn't create dir <%1> : %2"},
    {kIdsCantWriteProps, u"Couldn't write file for propositions \"%1\""},
    {kIdsCantReadProps, u"Couldn't read file for propositions \"%1\""},
    {kIdsCantWriteAnnotations, u"Couldn't write annotations file \"%1\""},
    {kIdsSaveAnnotations, u"Do you want to save the annotations for %1?"},
    {kIdsCantOpenLinkedDoc, u"Couldn't open linked document \"%1\" "},
    {kIdsFindRefsInWordsearch, u"Find Refs to \"%1\" in WORDsearch"},
    {kIdsDisplaysVerse, u"Displays the specified verse"},
    {kIdsDisplayUserTag, u"Display %1 user tag"},
    {kIdsNoUserTags, u"No User Tags"},
    {kIdsToggleUserTag, u"Toggle tagging of selected text as %1"},
    {kIdsSaveTagChanges, u"Save changes to %1 tag?"},
    {kIdsTagExists, u"Tag: \"%1/%2\" already exists!"},
    {kIdsBadFileName, u"\"%1\" can't be used as a file name"},
    {kIdsCantDeleteTag, u"Couldn't delete <%1> : %2"},
    {kIdsEnterPropsName, u"Please enter a name for these propositions."},
    {kIdsPropsExist, u"\"%1\" propositions already exist.\nDo you wish to overwrite them?"},
    {kIdsNoPropositionFiles, u"No Proposition files"},
    {kIdsFileUnreadable, u"\"%1\" exists but cannot be read: %2"},
    {kIdsMoveAsideDamaged,
     u"\"%1\" exists but cannot be read: %2\nMove it aside (the name gets \".damaged-\" and "
     u"today's date) so that a new file can be saved?"},
    {kIdsChangedOnDisk,
     u"\"%1\" was changed by another program since it was read.\nKeep your version (Yes) or "
     u"take the other program's (No)?"},
    {kIdsTagUnreadable, u"unreadable: %1"},
};
}  // namespace

std::u16string_view LoadString(int id) {
  auto it = std::lower_bound(std::begin(kStrings), std::end(kStrings), id,
                             [](const Entry& e, int key) { return e.id < key; });
  if (it == std::end(kStrings) || it->id != id) return {};
  return it->text;
}

std::u16string FormatString(int id, std::u16string_view arg1, std::u16string_view arg2) {
  return FormatPlaceholders(LoadString(id), arg1, arg2);
}

}  // namespace vorn::platform
