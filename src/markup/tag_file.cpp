#include "markup/tag_file.h"

#include <cstring>

#include "platform/u16.h"

namespace vorn {

namespace {

uint32_t ReadU32(const char* p) {
  const auto* b = reinterpret_cast<const unsigned char*>(p);
  return static_cast<uint32_t>(b[0]) | (static_cast<uint32_t>(b[1]) << 8) |
         (static_cast<uint32_t>(b[2]) << 16) | (static_cast<uint32_t>(b[3]) << 24);
}

void AppendU32(std::string* out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out->push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

// Splits the string area of a header into its first three zero-terminated
// strings; false when fewer than three terminators are found.
bool SplitStrings(std::string_view area, std::string_view out[3]) {
  size_t at = 0;
  for (int i = 0; i < 3; ++i) {
    size_t zero = area.find('\0', at);
    if (zero == std::string_view::npos) return false;
    out[i] = area.substr(at, zero - at);
    at = zero + 1;
  }
  return true;
}

bool HeaderStrings(std::string_view bytes, std::string_view strings[3], size_t* length) {
  if (bytes.size() < kTagHeaderFixedSize) return false;
  uint32_t h = ReadU32(bytes.data());
  // Three empty strings take a terminator each.
  if (h < kTagHeaderFixedSize + 3 || h > bytes.size()) return false;
  if (!SplitStrings(bytes.substr(kTagHeaderFixedSize, h - kTagHeaderFixedSize), strings))
    return false;
  *length = h;
  return true;
}

}  // namespace

bool ParseTagHeader(std::string_view bytes, TagFileHeader* header, size_t* ranges_offset) {
  std::string_view strings[3];
  size_t length = 0;
  if (!HeaderStrings(bytes, strings, &length)) return false;
  TagFileHeader h;
  const char* p = bytes.data();
  h.style.new_line = static_cast<int8_t>(p[4]);
  h.style.end_line = static_cast<int8_t>(p[5]);
  h.style.indent_next = static_cast<int8_t>(p[6]);
  h.reserved7 = static_cast<uint8_t>(p[7]);
  h.style.indent = static_cast<int8_t>(p[8]);
  h.style.bracket_style = static_cast<int8_t>(p[9]);
  h.style.bracket_position = static_cast<int8_t>(p[10]);
  h.style.bracket_colour = static_cast<int8_t>(p[11]);
  h.style.background = static_cast<int8_t>(p[12]);
  h.style.foreground = static_cast<int8_t>(p[13]);
  h.style.font_style = static_cast<int8_t>(p[14]);
  bool label_present = p[15] != 0;
  h.reserved16 = ReadU32(p + 16);
  h.db_name = platform::ToU16(strings[0]);
  h.tag_name = platform::ToU16(strings[1]);
  if (label_present) h.label = platform::ToU16(strings[2]);
  *header = std::move(h);
  *ranges_offset = length;
  return true;
}

bool TagHeaderNamesDatabase(std::string_view bytes, std::u16string_view db_name) {
  std::string_view strings[3];
  size_t length = 0;
  return HeaderStrings(bytes, strings, &length) && strings[0] == platform::ToUtf8(db_name);
}

bool ParseTagRanges(std::string_view bytes, size_t ranges_offset, uint32_t word_count,
                    std::vector<TagRange>* ranges) {
  if (ranges_offset > bytes.size()) return false;
  size_t size = bytes.size() - ranges_offset;
  if (size % 8 != 0) return false;
  std::vector<TagRange> out;
  out.reserve(size / 8);
  for (size_t at = ranges_offset; at < bytes.size(); at += 8) {
    auto first = static_cast<int32_t>(ReadU32(bytes.data() + at));
    auto last = static_cast<int32_t>(ReadU32(bytes.data() + at + 4));
    if (first < 0 || last < first || static_cast<uint32_t>(last) >= word_count) return false;
    out.push_back({first, last});
  }
  *ranges = std::move(out);
  return true;
}

std::string SerializeTagFile(const TagFileHeader& header, const std::vector<TagRange>& ranges) {
  std::string db = platform::ToUtf8(header.db_name);
  std::string tag = platform::ToUtf8(header.tag_name);
  std::string label = platform::ToUtf8(header.label);
  // A zero byte inside a name would end it early on reading.
  for (std::string* s : {&db, &tag, &label}) s->resize(std::strlen(s->c_str()));
  std::string out;
  const uint32_t h =
      static_cast<uint32_t>(kTagHeaderFixedSize + db.size() + tag.size() + label.size() + 3);
  out.reserve(h + ranges.size() * 8);
  AppendU32(&out, h);
  const TagStyle& s = header.style;
  out.push_back(static_cast<char>(s.new_line));
  out.push_back(static_cast<char>(s.end_line));
  out.push_back(static_cast<char>(s.indent_next));
  out.push_back(static_cast<char>(header.reserved7));
  out.push_back(static_cast<char>(s.indent));
  out.push_back(static_cast<char>(s.bracket_style));
  out.push_back(static_cast<char>(s.bracket_position));
  out.push_back(static_cast<char>(s.bracket_colour));
  out.push_back(static_cast<char>(s.background));
  out.push_back(static_cast<char>(s.foreground));
  out.push_back(static_cast<char>(s.font_style));
  out.push_back(static_cast<char>(label.empty() ? 0 : 1));
  AppendU32(&out, header.reserved16);
  for (const std::string* str : {&db, &tag, &label}) {
    out += *str;
    out.push_back('\0');
  }
  for (const TagRange& r : ranges) {
    AppendU32(&out, static_cast<uint32_t>(r.first));
    AppendU32(&out, static_cast<uint32_t>(r.last));
  }
  return out;
}

}  // namespace vorn
