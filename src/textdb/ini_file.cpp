#include "textdb/ini_file.h"

#include <algorithm>
#include <limits>

#include "platform/u16.h"

namespace vorn {
namespace {

// Both the file and GetKeys order names by UTF-16 code unit, case-sensitive;
// char16_t is unsigned, so the string's own comparison is exactly that.
void SortOrdinal(std::vector<std::u16string>* names) { std::sort(names->begin(), names->end()); }

bool IsCSpace(char16_t c) { return c == u' ' || (c >= u'\t' && c <= u'\r'); }

// Skips leading white space and an optional sign; returns the position of the
// first digit candidate and whether the sign was '-'.
size_t SkipSpaceAndSign(std::u16string_view s, bool* negative) {
  size_t i = 0;
  while (i < s.size() && IsCSpace(s[i])) ++i;
  *negative = false;
  if (i < s.size() && (s[i] == u'+' || s[i] == u'-')) {
    *negative = s[i] == u'-';
    ++i;
  }
  return i;
}

// The decimal digits from `i` on, saturated just above `limit` so that an
// overflow is still seen as one.
uint64_t ReadDigits(std::u16string_view s, size_t i, uint64_t limit) {
  uint64_t magnitude = 0;
  for (; i < s.size() && s[i] >= u'0' && s[i] <= u'9'; ++i) {
    magnitude = magnitude * 10 + static_cast<uint64_t>(s[i] - u'0');
    if (magnitude > limit) return limit + 1;
  }
  return magnitude;
}

// As the C library's atol reads a 32-bit long: no digits give 0; values
// beyond the range are clamped to it.
int32_t ParseLong(std::u16string_view s) {
  bool negative = false;
  const size_t i = SkipSpaceAndSign(s, &negative);
  const uint64_t max_magnitude = negative ? uint64_t{1} << 31 : (uint64_t{1} << 31) - 1;
  const uint64_t magnitude = ReadDigits(s, i, max_magnitude);
  if (magnitude > max_magnitude) {
    return negative ? std::numeric_limits<int32_t>::min() : std::numeric_limits<int32_t>::max();
  }
  return negative ? static_cast<int32_t>(-static_cast<int64_t>(magnitude))
                  : static_cast<int32_t>(magnitude);
}

// As wcstoul reads a 32-bit unsigned long in base 10: a '-' negates the value
// in unsigned arithmetic ("-1" gives 4294967295); an overflow gives the maximum.
uint32_t ParseUnsignedLong(std::u16string_view s) {
  bool negative = false;
  const size_t i = SkipSpaceAndSign(s, &negative);
  const uint64_t max = std::numeric_limits<uint32_t>::max();
  const uint64_t magnitude = ReadDigits(s, i, max);
  if (magnitude > max) return std::numeric_limits<uint32_t>::max();
  const uint32_t value = static_cast<uint32_t>(magnitude);
  return negative ? static_cast<uint32_t>(0u - value) : value;
}

std::u16string Decimal(const std::string& digits) { return platform::ToU16(digits); }

// Another program may have saved the file with a byte-order mark; without
// this the first header would be taken for a malformed line.
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

}  // namespace

CIniFile::CIniFile() : sections_(10) {}

CIniFile::~CIniFile() = default;

bool CIniFile::Load(const std::string& path) {
  sections_.clear();
  path_.clear();
  status_ = platform::FileStatus{};
  ++generation_;
  std::string bytes;
  if (platform::DirectoryExists(path) || !platform::ReadWholeFile(path, &bytes)) return false;
  Parse(bytes);
  path_ = path;
  platform::GetFileStatus(path, &status_);
  return true;
}

bool CIniFile::Save(const std::string* path) {
  const std::string& target = path ? *path : path_;
  if (target.empty()) return false;
  {
    // Two programs writing the same settings file take turns.
    platform::CFolderLock lock(target);
    if (!platform::WriteFileAtomically(target, Serialize())) return false;
  }
  if (path) path_ = *path;
  platform::GetFileStatus(path_, &status_);
  return true;
}

void CIniFile::Parse(std::string_view bytes) {
  sections_.clear();
  ++generation_;
  if (bytes.substr(0, kUtf8Bom.size()) == kUtf8Bom) bytes.remove_prefix(kUtf8Bom.size());
  Section* current = nullptr;
  // Lines are taken whole whatever their length: cutting a long line would
  // turn its tail into a line of its own, which could be read as a header or
  // as another key.
  while (!bytes.empty()) {
    const size_t lf = bytes.find('\n');
    std::string_view raw = bytes.substr(0, lf);
    bytes.remove_prefix(lf == std::string_view::npos ? bytes.size() : lf + 1);
    if (!raw.empty() && raw.back() == '\r') raw.remove_suffix(1);
    if (raw.empty() || raw.front() == ';') continue;
    const std::u16string line = platform::ToU16(raw);
    if (line.front() == u'[') {
      const size_t close = line.find(u']', 1);
      const std::u16string name =
          line.substr(1, close == std::u16string::npos ? std::u16string::npos : close - 1);
      current = &SectionFor(name);
      continue;
    }
    const size_t equals = line.find(u'=');
    if (equals == std::u16string::npos) continue;
    if (!current) current = &SectionFor(u"");
    (*current)[line.substr(0, equals)] = line.substr(equals + 1);
  }
}

std::string CIniFile::Serialize() const {
  std::vector<std::u16string> names;
  names.reserve(sections_.size());
  for (const auto& [name, section] : sections_) names.push_back(name);
  SortOrdinal(&names);

  std::u16string out;
  std::vector<std::u16string> keys;
  for (size_t i = 0; i < names.size(); ++i) {
    if (i > 0) out += u"\r\n";
    out += u'[';
    out += names[i];
    out += u"]\r\n";
    const Section& section = sections_.at(names[i]);
    keys.clear();
    for (const auto& [key, value] : section) keys.push_back(key);
    SortOrdinal(&keys);
    for (const std::u16string& key : keys) {
      out += key;
      out += u'=';
      out += section.at(key);
      out += u"\r\n";
    }
  }
  return platform::ToUtf8(out);
}

CIniFile::Section& CIniFile::SectionFor(std::u16string_view name) {
  auto it = sections_.find(std::u16string(name));
  if (it == sections_.end()) it = sections_.emplace(std::u16string(name), Section(10)).first;
  return it->second;
}

const CIniFile::Section* CIniFile::FindSection(std::u16string_view name) const {
  auto it = sections_.find(std::u16string(name));
  return it == sections_.end() ? nullptr : &it->second;
}

const std::u16string* CIniFile::FindValue(std::u16string_view section,
                                          std::u16string_view key) const {
  const Section* s = FindSection(section);
  if (!s) return nullptr;
  auto it = s->find(std::u16string(key));
  return it == s->end() ? nullptr : &it->second;
}

bool CIniFile::GetString(std::u16string_view section, std::u16string_view key,
                         std::u16string* value) const {
  value->clear();
  const std::u16string* found = FindValue(section, key);
  if (!found) return false;
  *value = *found;
  return true;
}

bool CIniFile::GetInt(std::u16string_view section, std::u16string_view key, int32_t* value) const {
  const std::u16string* found = FindValue(section, key);
  if (!found) return false;
  *value = ParseLong(*found);
  return true;
}

bool CIniFile::GetUnsigned(std::u16string_view section, std::u16string_view key,
                           uint32_t* value) const {
  const std::u16string* found = FindValue(section, key);
  if (!found) return false;
  *value = ParseUnsignedLong(*found);
  return true;
}

bool CIniFile::GetBool(std::u16string_view section, std::u16string_view key, bool* value) const {
  const std::u16string* found = FindValue(section, key);
  if (!found) return false;
  *value = ParseLong(*found) != 0;
  return true;
}

void CIniFile::SetString(std::u16string_view section, std::u16string_view key,
                         const std::u16string* value) {
  if (value) {
    SetString(section, key, std::u16string_view(*value));
    return;
  }
  auto it = sections_.find(std::u16string(section));
  if (it == sections_.end()) return;
  ++generation_;
  it->second.erase(std::u16string(key));
}

void CIniFile::SetString(std::u16string_view section, std::u16string_view key,
                         std::u16string_view value) {
  ++generation_;
  SectionFor(section)[std::u16string(key)] = std::u16string(value);
}

void CIniFile::SetInt(std::u16string_view section, std::u16string_view key, int32_t value) {
  SetString(section, key, std::u16string_view(Decimal(std::to_string(value))));
}

void CIniFile::SetUnsigned(std::u16string_view section, std::u16string_view key, uint32_t value) {
  SetString(section, key, std::u16string_view(Decimal(std::to_string(value))));
}

void CIniFile::SetBool(std::u16string_view section, std::u16string_view key, bool value) {
  SetString(section, key, std::u16string_view(value ? u"1" : u"0"));
}

void CIniFile::RemoveSection(std::u16string_view section) {
  ++generation_;
  sections_.erase(std::u16string(section));
}

bool CIniFile::HasSection(std::u16string_view section) const {
  return FindSection(section) != nullptr;
}

void CIniFile::GetKeys(std::u16string_view section, std::vector<std::u16string>* keys) const {
  const Section* s = FindSection(section);
  if (!s) return;
  for (const auto& [key, value] : *s) keys->push_back(key);
  SortOrdinal(keys);
}

// Positions are 1 + the index in the map's iteration order. The iterator of
// the last step is remembered, so a walk from first to last costs linear
// time rather than quadratic.
template <typename Map>
typename Map::const_iterator CIniFile::Seek(const Map& map, size_t index,
                                            IterationCache<Map>* cache) const {
  if (cache->map == &map && cache->generation == generation_ && cache->index <= index) {
    auto it = cache->it;
    for (size_t i = cache->index; i < index && it != map.end(); ++i) ++it;
    *cache = {&map, generation_, index, it};
    return it;
  }
  auto it = map.begin();
  for (size_t i = 0; i < index && it != map.end(); ++i) ++it;
  *cache = {&map, generation_, index, it};
  return it;
}

CIniFile::Position CIniFile::GetFirstSectionPosition() const { return sections_.empty() ? 0 : 1; }

std::u16string CIniFile::GetNextSection(Position* pos) const {
  if (*pos == 0 || *pos > sections_.size()) {
    *pos = 0;
    return {};
  }
  auto it = Seek(sections_, *pos - 1, &section_cache_);
  std::u16string name = it->first;
  *pos = *pos < sections_.size() ? *pos + 1 : 0;
  return name;
}

CIniFile::Position CIniFile::GetFirstKeyPosition(std::u16string_view section) const {
  const Section* s = FindSection(section);
  return s && !s->empty() ? 1 : 0;
}

std::u16string CIniFile::GetNextKey(std::u16string_view section, Position* pos) const {
  const Section* s = FindSection(section);
  if (!s || *pos == 0 || *pos > s->size()) {
    *pos = 0;
    return {};
  }
  auto it = Seek(*s, *pos - 1, &key_cache_);
  std::u16string key = it->first;
  *pos = *pos < s->size() ? *pos + 1 : 0;
  return key;
}

namespace {

// The settings file lives in the working folder.
constexpr char kVornIniPath[] = "Vorn.ini";

}  // namespace

CVornIni::CVornIni() : CVornIni(kVornIniPath) {}

// A settings file that is not there yet starts the settings empty.
CVornIni::CVornIni(std::string path) : own_path_(std::move(path)) {
  static_cast<void>(Load(own_path_));
}

// SaveOnExit governs the start-up desktop, not this file: the settings, that
// switch included, are written whatever it says. At exit there is no one
// left to tell of a failed write, which leaves the old file whole.
CVornIni::~CVornIni() { static_cast<void>(Save(&own_path_)); }

bool CVornIni::GetSaveOnExit() const {
  bool on = true;
  GetBool(u"Main", u"SaveOnExit", &on);
  return on;
}

void CVornIni::ToggleSaveOnExit() {
  bool on = true;
  const bool present = GetBool(u"Main", u"SaveOnExit", &on);
  SetBool(u"Main", u"SaveOnExit", present && !on);
}

}  // namespace vorn
