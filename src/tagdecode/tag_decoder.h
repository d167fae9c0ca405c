// Turns a word's grammar tag ('vqp3ms', 'N-NM-S') into a readable English
// description ('Verb: qal, perfect, 3rd person, masculine, singular') using
// one of the built-in tag schemes. The grammar-tags line of a database owns
// one decoder, chosen by the database's "TagScheme" setting.
#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace vorn {

struct TagSchemeTable;

// Scheme identifiers handed out by TagSchemeFromName; there are no
// identifiers 4 to 8.
inline constexpr int kTagSchemeWestminster = 0;
inline constexpr int kTagSchemeFriberg = 1;
inline constexpr int kTagSchemeLXX = 2;
inline constexpr int kTagSchemeLogosGreek = 3;
inline constexpr int kTagSchemeLogosHebrew = 9;

// Maps a "TagScheme" value ("Westminster", "Friberg", "LXX", "LogosGreek",
// "LogosHebrew"; case matters) to its identifier, or -1 for any other value,
// including the empty one.
int TagSchemeFromName(std::u16string_view name);

class CTagDecoder {
 public:
  // Null for identifiers other than 0, 1, 2, 3 and 9. The caller owns the
  // decoder; the scheme table it refers to is static.
  static std::unique_ptr<CTagDecoder> Create(int scheme);

  CTagDecoder(const CTagDecoder&) = delete;
  CTagDecoder& operator=(const CTagDecoder&) = delete;

  // Never fails. A segment the scheme cannot read becomes "Unknown Tag" and
  // the rest of the tag is still described; the empty tag gives the empty
  // text. A description keeps the trailing space of a tag that ends with a
  // separator. Safe to call from several threads at once.
  std::u16string Decode(std::u16string_view tag) const;

  int scheme() const;

  // The name of character position `position` (1-based) of a tag, as hit
  // analysis lists it: position 1 holds the part of speech in every
  // scheme; what later positions hold depends on the part of speech, so
  // they are named by number, with the scheme's name. `decoder` may be null
  // (a line without a known scheme). "" for a position below 1.
  static std::u16string GetPositionName(const CTagDecoder* decoder, int position);

 private:
  explicit CTagDecoder(const TagSchemeTable& table) : table_(table) {}

  void AppendSegment(std::u16string_view segment, bool switch_stem, std::u16string& out) const;

  const TagSchemeTable& table_;
};

// False when some segment of the tag decodes to "Unknown Tag"; the empty tag
// counts as decodable. Used to measure how much of a database's tag set a
// scheme covers.
bool IsTagDecodable(const CTagDecoder& decoder, std::u16string_view tag);

}  // namespace vorn
