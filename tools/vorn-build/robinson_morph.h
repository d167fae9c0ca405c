// Robinson's parsing codes of the Byzantine text ("V-IAI-3S", "N-NSM") to the
// Logos Greek tag scheme ("VIAI3S", "NNSM").
#pragma once

#include <string>
#include <string_view>

namespace vorn::build {

// `strongs` (0 when unknown) separates the relative correlatives (ὅσος, οἷος,
// ἡλίκος, ὁποῖος) from the demonstrative ones among Robinson's correlative
// pronouns. False with `error` set for a code outside Robinson's grammar.
bool ConvertRobinson(std::string_view robinson, int strongs, std::string* logos,
                     std::string* error);

}  // namespace vorn::build
