// The program-wide font and colour tables of every rich-text document the
// program writes. Fonts register their faces here as they get them, which is
// why the tables live beside the fonts and not with the rich-text writers.
// Both tables only grow during a run, so a face or colour keeps its number
// for every later document. User-interface thread only.
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "textdb/font_format.h"

namespace vorn {

class CRtfFontTable {
 public:
  static CRtfFontTable& Get();

  // Adds a face that is not registered yet and returns its number (the
  // count of faces registered before it); a known face keeps its number and
  // charset. Empty faces are never registered: -1.
  int Register(std::u16string_view face, int charset);
  // The number of a registered face, or -1.
  int Find(std::u16string_view face) const;
  int GetCount() const { return static_cast<int>(entries_.size()); }
  // "{\f<n>\fnil[\fcharset2] <face>;}".
  const std::u16string& GetEntry(int number) const { return entries_[static_cast<size_t>(number)]; }
  // "{\fonttbl" CR LF, every entry followed by CR LF, "}" CR LF CR LF.
  std::u16string GetText() const;

 private:
  std::vector<std::u16string> entries_;
  std::map<std::u16string, int, std::less<>> numbers_;
};

class CRtfColourTable {
 public:
  static CRtfColourTable& Get();

  // The index of a colour value (named or RGB): the first entry from 1 on
  // with its RGB value, appended when there is none. Starts from the 17
  // named colours, so a named colour's index is its own (Default gives 1,
  // black, because entry 0 is the automatic colour of the document).
  int IndexOf(ColourValue colour);
  int GetCount() const { return static_cast<int>(entries_.size()); }
  ColourValue GetEntry(int index) const { return entries_[static_cast<size_t>(index)]; }
  // "{\colortbl ;" CR LF, "\redR\greenG\blueB;" CR LF for every entry from 1
  // on, "}" CR LF CR LF.
  std::u16string GetText();

 private:
  void Fill();
  std::vector<ColourValue> entries_;  // RGB values
};

}  // namespace vorn
