// MorphGNT parsing ("V-" + "3AAI-S--") to the Friberg tag scheme the Greek NT
// database is searched and described in ("VIAA--3S").
#pragma once

#include <string>
#include <string_view>

namespace vorn::build {

// The case letter ('N', 'G', 'D', 'A', 'V') of a declined MorphGNT word, or
// 0 when the word has no case. Prepositions take the case of the next word.
char MorphGntCase(std::string_view parse);

// `pos` is the two-letter part of speech, `parse` the eight-character code
// (person, tense, voice, mood, case, number, gender, degree). The lemma picks
// what MorphGNT leaves open: coordinating or subordinating conjunctions,
// interrogative or indefinite pronouns, the kind of a particle and the
// person of a personal pronoun. `governed_case` is the case a preposition
// governs (0 when unknown). False with `error` set for a malformed code.
bool ConvertMorphGnt(std::string_view pos, std::string_view parse, std::u16string_view lemma,
                     char governed_case, std::string* friberg, std::string* error);

}  // namespace vorn::build
