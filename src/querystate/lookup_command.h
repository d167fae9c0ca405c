// Look-ups in other programs: each target's command template from the
// settings, expanded for one word into a program and its arguments. The
// arguments are handed to the program as they are, never through a shell,
// so a word or reference with blanks or quotes stays one argument and can
// run nothing else.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vorn {

// What a look-up can pass on about the current word.
struct LookupValues {
  std::u16string word;       // the word's text
  std::u16string lemma;      // its base form
  std::u16string reference;  // its verse, long form ("John 1:1")
  std::u16string program;    // the target's located program ("%p")
};

// Whether `command` names the target's located program ("%p", not "%%p"):
// the program must then be located before the command can run.
bool UsesLocatedProgram(std::u16string_view command);

// Splits `command` at blanks outside double quotes (the quotes group and are
// dropped) and then replaces, inside each piece, "%w" by the word, "%l" by
// the lemma, "%r" by the reference, "%p" by the program and "%%" by "%".
// The first piece is the
// program. Empty for a command with no program.
std::vector<std::u16string> ExpandLookupCommand(std::u16string_view command,
                                                const LookupValues& values);

// `uri` with the same placeholders replaced by the values percent-encoded
// as UTF-8 (letters, digits and "-._~" are kept), for a URL handler.
std::u16string ExpandLookupUri(std::u16string_view uri, const LookupValues& values);

}  // namespace vorn
