// The annotation file of one book: plain UTF-8 text, one note after the
// other, each a header line "**GEN 1:1.3" (reference key and the word's
// number within its verse), an optional window-placement line, the text,
// and an empty line.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "textdb/types.h"

namespace vorn {

// The placement of a note's edit window: show command, minimised x and y,
// maximised x and y, normal left, top, right, bottom.
using WindowPlacement = std::array<int32_t, 9>;

struct Note {
  std::u16string text;  // lines separated by CR LF
  std::optional<WindowPlacement> placement;
  friend bool operator==(const Note&, const Note&) = default;
};

// Reads nine signed decimal integers separated by ",", nothing else. False
// (leaving `*out` untouched) for any other text.
[[nodiscard]] bool ParsePlacement(std::u16string_view line, WindowPlacement* out);
std::u16string FormatPlacement(const WindowPlacement& p);

// Turns a header's reference (chapter, verse label, word number within the
// verse) into a word index; -1 when the database has no such word.
using NoteWordResolver = std::function<WordIndex(int chapter, std::u16string_view verse, int word)>;

// Reads the notes of one book from the file's bytes into `notes` (entries
// for other words are left alone). `code` is the book's three-letter code;
// a header must name it (in any letter case) and a word `resolve` finds,
// else the line is text of the note before it. Lines before the first
// header are ignored; a note whose text is only white space is dropped.
void ParseAnnotationFile(std::string_view bytes, std::u16string_view code,
                         const NoteWordResolver& resolve, std::map<WordIndex, Note>* notes);

// One note as written: the header "**" + `key` + "." + `word_number`, the
// placement line when there is one, the text without CR characters, and
// two line feeds.
std::string FormatNote(std::u16string_view key, int word_number, const Note& note);

}  // namespace vorn
