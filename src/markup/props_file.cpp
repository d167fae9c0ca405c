#include "markup/props_file.h"

#include <cstring>

#include "platform/u16.h"

namespace vorn {

namespace {

uint32_t ReadU32(std::string_view bytes, size_t at) {
  const auto* b = reinterpret_cast<const unsigned char*>(bytes.data() + at);
  return static_cast<uint32_t>(b[0]) | (static_cast<uint32_t>(b[1]) << 8) |
         (static_cast<uint32_t>(b[2]) << 16) | (static_cast<uint32_t>(b[3]) << 24);
}

void AppendU32(std::string* out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out->push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

constexpr size_t kFixedSize = 12;

}  // namespace

bool ParsePropositionsFile(std::string_view bytes, std::u16string_view db_name, uint32_t word_count,
                           PropFileData* out) {
  if (bytes.size() < kFixedSize || ReadU32(bytes, 0) != kPropsFormat) return false;
  const uint64_t name_length = ReadU32(bytes, 4);
  const uint64_t join_count = ReadU32(bytes, 8);
  // 64-bit sums: a huge count must not wrap round into a small offset.
  const uint64_t joins_at = kFixedSize + name_length;
  const uint64_t entries_at = joins_at + 4 * join_count;
  if (name_length == 0 || entries_at > bytes.size()) return false;
  std::string_view name = bytes.substr(kFixedSize, name_length);
  name = name.substr(0, name.find('\0'));
  if (name.size() == name_length || name != platform::ToUtf8(db_name)) return false;

  PropFileData data;
  data.joins.reserve(join_count);
  for (uint64_t i = 0; i < join_count; ++i) {
    uint32_t j = ReadU32(bytes, joins_at + 4 * i);
    if ((!data.joins.empty() && j <= data.joins.back()) || j >= word_count) return false;
    data.joins.push_back(j);
  }
  for (uint64_t at = entries_at; at + 8 <= bytes.size(); at += 8) {
    PropEntry e{ReadU32(bytes, at), static_cast<int32_t>(ReadU32(bytes, at + 4))};
    if (!data.entries.empty() && e.start <= data.entries.back().start) continue;
    if (e.level < 0 || e.level > kMaxPropLevel) return false;
    data.entries.push_back(e);
  }
  if (data.entries.size() < 2 || data.entries.front().start != 0 ||
      data.entries.back().start != word_count) {
    return false;
  }
  *out = std::move(data);
  return true;
}

std::string SerializePropositionsFile(std::u16string_view db_name, const PropFileData& data) {
  std::string name = platform::ToUtf8(db_name);
  name.resize(std::strlen(name.c_str()));
  std::string out;
  out.reserve(kFixedSize + name.size() + 1 + 4 * data.joins.size() + 8 * data.entries.size());
  AppendU32(&out, kPropsFormat);
  AppendU32(&out, static_cast<uint32_t>(name.size() + 1));
  AppendU32(&out, static_cast<uint32_t>(data.joins.size()));
  out += name;
  out.push_back('\0');
  for (uint32_t j : data.joins) AppendU32(&out, j);
  for (const PropEntry& e : data.entries) {
    AppendU32(&out, e.start);
    AppendU32(&out, static_cast<uint32_t>(e.level));
  }
  return out;
}

}  // namespace vorn
