#include "tagdecode/tag_decoder.h"

#include <string>

#include "tagdecode/tag_schemes.h"

namespace vorn {
namespace {

constexpr std::u16string_view kUnknownTag = u"Unknown Tag";

// Zero extension, never truncation: U+01B7 must not match the table's 0xB7.
bool Is(char16_t c, unsigned char table_char) { return c == static_cast<char16_t>(table_char); }

bool InStripSet(std::string_view strip, char16_t c) {
  for (char s : strip) {
    if (Is(c, static_cast<unsigned char>(s))) return true;
  }
  return false;
}

// Texts are joined with single spaces; an empty text adds nothing at all.
void AppendWord(std::u16string_view text, std::u16string& out) {
  if (text.empty()) return;
  out += text;
  out += u' ';
}

const TagCode* FindRow(TagCodeTable table, char16_t c) {
  for (const TagCode& row : table) {
    if (Is(c, row.code)) return &row;
  }
  return nullptr;
}

bool IsWhiteSpace(char16_t c) { return c == u' ' || (c >= u'\t' && c <= u'\r'); }

}  // namespace

int TagSchemeFromName(std::u16string_view name) {
  if (name == u"Westminster") return kTagSchemeWestminster;
  if (name == u"Friberg") return kTagSchemeFriberg;
  if (name == u"LXX") return kTagSchemeLXX;
  if (name == u"LogosGreek") return kTagSchemeLogosGreek;
  if (name == u"LogosHebrew") return kTagSchemeLogosHebrew;
  return -1;
}

std::unique_ptr<CTagDecoder> CTagDecoder::Create(int scheme) {
  const TagSchemeTable* table = FindTagSchemeTable(scheme);
  if (table == nullptr) return nullptr;
  return std::unique_ptr<CTagDecoder>(new CTagDecoder(*table));
}

int CTagDecoder::scheme() const { return table_.scheme; }

std::u16string CTagDecoder::GetPositionName(const CTagDecoder* decoder, int position) {
  if (position < 1) return {};
  std::u16string scheme;
  if (decoder != nullptr) {
    switch (decoder->scheme()) {
      case kTagSchemeWestminster:
        scheme = u"Westminster ";
        break;
      case kTagSchemeFriberg:
        scheme = u"Friberg ";
        break;
      case kTagSchemeLXX:
        scheme = u"LXX ";
        break;
      case kTagSchemeLogosGreek:
      case kTagSchemeLogosHebrew:
        scheme = u"Logos ";
        break;
      default:
        break;
    }
  }
  if (position == 1) return scheme + u"tag: part of speech";
  std::u16string name = scheme + u"tag: character ";
  for (char c : std::to_string(position)) name += static_cast<char16_t>(c);
  return name;
}

std::u16string CTagDecoder::Decode(std::u16string_view tag) const {
  std::u16string out;
  if (tag.empty()) return out;
  // Decided per call and passed down, never stored in the shared table, so
  // concurrent calls cannot see each other's choice.
  const TagStemSwitch& stem_switch = table_.stem_switch;
  const bool switch_stem = stem_switch.table != nullptr && Is(tag[0], stem_switch.marker);

  std::size_t start = 0;
  for (std::size_t i = 0; i < tag.size(); ++i) {
    // After a consumed separator the following character is only compared
    // with the separators further down the list, so in Friberg's "A//B" the
    // second '/' stays in the next segment.
    for (const TagSeparator& separator : table_.separators) {
      if (i >= tag.size()) break;
      if (!Is(tag[i], separator.ch)) continue;
      if (i > start) {
        AppendSegment(tag.substr(start, i - start), switch_stem, out);
        out += u' ';
      }
      if (separator.text != kTagSuffixMarker) {
        out += separator.text;
        out += u' ';
        ++i;
      }
      start = i;
    }
  }
  if (start < tag.size()) AppendSegment(tag.substr(start), switch_stem, out);
  return out;
}

void CTagDecoder::AppendSegment(std::u16string_view segment, bool switch_stem,
                                std::u16string& out) const {
  if (!segment.empty() && InStripSet(table_.strip, segment.front())) segment.remove_prefix(1);
  if (!segment.empty() && InStripSet(table_.strip, segment.back())) segment.remove_suffix(1);

  const TagPartOfSpeech* part = nullptr;
  if (!segment.empty()) {
    for (const TagPartOfSpeech& candidate : table_.parts) {
      if (Is(segment[0], candidate.key)) {
        part = &candidate;
        break;
      }
    }
  }
  if (part == nullptr) {
    out += kUnknownTag;
    return;
  }

  const std::size_t begin = out.size();
  AppendWord(part->lead, out);
  const TagStemSwitch& stem_switch = table_.stem_switch;
  std::size_t k = 1;
  for (std::size_t p = 0; p < part->positions.size() && k < segment.size(); ++p, ++k) {
    TagCodeTable table = part->positions[p];
    if (switch_stem && Is(part->key, stem_switch.key) && p == stem_switch.position) {
      table = *stem_switch.table;
    }
    const char16_t c = segment[k];
    if (const TagCode* row = FindRow(table, c)) {
      AppendWord(row->text, out);
    } else if (c == u'-') {
      // A hyphen holds an empty position open; it is consumed silently.
    } else {
      // '*' supplies a default and leaves the character to the next position;
      // '%' supplies a default and consumes it; any other last row makes the
      // position optional, so the character moves on without text.
      const unsigned char last = table.empty() ? 0 : table.back().code;
      if (last == '*' || last == '%') AppendWord(table.back().text, out);
      if (last != '%') --k;
    }
  }

  while (out.size() > begin && IsWhiteSpace(out.back())) out.pop_back();
  while (out.size() > begin && (out.back() == u',' || out.back() == u':')) out.pop_back();
}

bool IsTagDecodable(const CTagDecoder& decoder, std::u16string_view tag) {
  return decoder.Decode(tag).find(kUnknownTag) == std::u16string::npos;
}

}  // namespace vorn
