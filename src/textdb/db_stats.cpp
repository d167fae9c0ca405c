#include "textdb/db_stats.h"

#include <cwctype>

#include "platform/file_system.h"
#include "platform/message_sink.h"
#include "platform/string_table.h"
#include "platform/u16.h"
#include "textdb/formats.h"
#include "textdb/headings.h"
#include "textdb/verses.h"
#include "textdb/vorn_db.h"

namespace vorn {

namespace {
// Keys nest by indentation; nothing real is deeper than a handful of
// levels, so a deeper line is taken for damage and ignored.
constexpr size_t kMaxDepth = 64;

bool IsSpace(unsigned char c) { return std::iswspace(static_cast<wint_t>(c)) != 0; }

std::u16string Widen(std::string_view latin1) {
  std::u16string out(latin1.size(), u'\0');
  for (size_t i = 0; i < latin1.size(); ++i) out[i] = static_cast<unsigned char>(latin1[i]);
  return out;
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsSpace(static_cast<unsigned char>(s.front()))) s.remove_prefix(1);
  while (!s.empty() && IsSpace(static_cast<unsigned char>(s.back()))) s.remove_suffix(1);
  return s;
}

bool IsU16Space(char16_t c) { return c < 0x100 && IsSpace(static_cast<unsigned char>(c)); }

std::u16string_view TrimU16(std::u16string_view s) {
  while (!s.empty() && IsU16Space(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsU16Space(s.back())) s.remove_suffix(1);
  return s;
}
}  // namespace

bool ParseAttributes(std::u16string_view text, AttributeMap* out) {
  size_t i = 0;
  for (;;) {
    while (i < text.size() && (text[i] == u' ' || text[i] == u'\t')) ++i;
    if (i >= text.size()) return true;
    size_t eq = text.find(u'=', i);
    if (eq == std::u16string_view::npos) return false;
    std::u16string name(text.substr(i, eq - i));
    if (eq + 1 >= text.size() || text[eq + 1] != u'"') return false;
    size_t close = text.find(u'"', eq + 2);
    if (close == std::u16string_view::npos) return false;
    (*out)[name] = std::u16string(text.substr(eq + 2, close - eq - 2));
    i = close + 1;
  }
}

CVornDBStats::CVornDBStats(std::string folder) : folder_(platform::WithTrailingSlash(folder)) {}
CVornDBStats::~CVornDBStats() = default;

bool CVornDBStats::Load() {
  std::string bytes;
  if (!platform::ReadWholeFile(platform::JoinPath(folder_, "Stats.txt"), &bytes)) return false;
  return LoadFromText(bytes);
}

bool CVornDBStats::LoadFromText(std::string_view bytes) {
  values_.clear();
  keys_in_order_.clear();
  books_.clear();
  books_loaded_ = false;
  std::vector<std::string> path;
  size_t pos = 0;
  while (pos < bytes.size()) {
    size_t nl = bytes.find('\n', pos);
    std::string_view line =
        bytes.substr(pos, nl == std::string_view::npos ? std::string_view::npos : nl - pos);
    pos = nl == std::string_view::npos ? bytes.size() : nl + 1;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty() || line[0] == '#') continue;
    size_t colon = line.find(':');
    if (colon == std::string_view::npos) continue;
    std::string_view key = line.substr(0, colon);
    size_t depth = 0;
    while (depth < key.size() && IsSpace(static_cast<unsigned char>(key[depth]))) ++depth;
    if (depth > kMaxDepth) continue;
    key.remove_prefix(depth);
    if (path.size() > depth + 1) path.resize(depth + 1);
    if (path.size() < depth + 1) path.resize(depth + 1);
    path[depth] = "/" + std::string(key);
    std::string full;
    for (const std::string& p : path) full += p;
    values_[full] = Widen(Trim(line.substr(colon + 1)));
    keys_in_order_.push_back(std::move(full));
  }
  return GetValue("/Version") == u"4.01";
}

std::u16string CVornDBStats::GetValue(std::string_view full_key) const {
  auto it = values_.find(full_key);
  return it == values_.end() ? std::u16string() : it->second;
}

bool CVornDBStats::HasKey(std::string_view full_key) const {
  return values_.find(full_key) != values_.end();
}

size_t CVornDBStats::GetList(std::string_view full_key, std::vector<std::u16string>* out,
                             std::u16string_view separators) const {
  out->clear();
  std::u16string value = GetValue(full_key);
  size_t i = 0;
  while (i <= value.size()) {
    size_t j = value.find_first_of(separators, i);
    if (j == std::u16string::npos) j = value.size();
    // Only pieces that are empty between separators are skipped; one of
    // white space alone is kept, empty after trimming, so that the pieces
    // after it keep their positions (a book's number is its position).
    std::u16string_view piece = std::u16string_view(value).substr(i, j - i);
    if (!piece.empty()) out->emplace_back(TrimU16(piece));
    i = j + 1;
  }
  return out->size();
}

bool CVornDBStats::GetAttributes(std::string_view full_key, AttributeMap* out) const {
  return ParseAttributes(GetValue(full_key), out);
}

size_t CVornDBStats::GetChildren(std::string_view prefix, std::vector<std::string>* out) const {
  out->clear();
  std::string p(prefix);
  if (p.empty() || p.back() != '/') p.push_back('/');
  for (const std::string& key : keys_in_order_) {
    // A key equal to the prefix (a child with an empty name) is a child too.
    if (key.size() < p.size() || key.compare(0, p.size(), p) != 0) continue;
    std::string_view rest = std::string_view(key).substr(p.size());
    if (rest.find('/') != std::string_view::npos) continue;
    out->emplace_back(rest);
  }
  return out->size();
}

int CVornDBStats::GetBookCount() const {
  if (!books_loaded_) {
    // Split here rather than with GetList, which would hold every piece of
    // a list of any length.
    const std::u16string value = GetValue("/Books");
    std::u16string_view rest(value);
    books_.clear();
    books_overflow_ = false;
    while (!rest.empty()) {
      const size_t start = rest.find_first_not_of(u' ');
      if (start == std::u16string_view::npos) break;
      rest.remove_prefix(start);
      const size_t end = std::min(rest.find(u' '), rest.size());
      if (static_cast<int>(books_.size()) == kMaxBooks) {
        books_overflow_ = true;
        break;
      }
      // As GetList splits: a piece of white space alone stays, empty, so
      // that the codes after it keep their numbers.
      books_.emplace_back(TrimU16(rest.substr(0, end)));
      rest.remove_prefix(end);
    }
    books_loaded_ = true;
  }
  return static_cast<int>(books_.size()) + (books_overflow_ ? 1 : 0);
}

std::u16string CVornDBStats::GetBookCode(int book) const {
  GetBookCount();
  if (book < 1 || static_cast<size_t>(book) > books_.size()) return {};
  return books_[static_cast<size_t>(book - 1)];
}

int CVornDBStats::GetBookNumber(std::u16string_view code) const {
  GetBookCount();
  for (int i = static_cast<int>(books_.size()); i >= 1; --i)
    if (books_[static_cast<size_t>(i - 1)] == code) return i;
  return 0;
}

bool CVornDBStats::GetCopyrights(std::vector<std::u16string>* out) const {
  bool any = false;
  std::u16string v = GetValue("/Copyright");
  for (int i = 1; !v.empty(); ++i) {
    out->push_back(v);
    any = true;
    v = GetValue("/Copyright" + std::to_string(i));
  }
  return any;
}

CFontFormat CVornDBStats::GetFont(std::string_view full_key) const {
  AttributeMap attributes;
  GetAttributes(full_key, &attributes);  // what parsed before a fault still counts
  CFontFormat font;
  font.LoadFromSettings(attributes);
  return font;
}

CFontFormat CVornDBStats::GetTagLabelFont() const { return GetFont("/TagLabelFont"); }

std::unique_ptr<CVornDB> CVornDBStats::OpenDatabase(platform::CMessageSink* sink,
                                                    CIniFile* settings) {
  auto db = std::make_unique<CVornDB>(this, sink, settings);
  if (!db->Open()) {
    if (sink)
      sink->ShowWarning(platform::FormatString(platform::kIdsCantOpenDatabase, GetName(),
                                               platform::ToU16(folder_)));
    return nullptr;
  }
  return db;
}

std::unique_ptr<CVornDBHeadings> CVornDBStats::OpenHeadings(std::vector<CFontFormat>* fonts) const {
  fonts->clear();
  auto headings = std::make_unique<CVornDBHeadings>(folder_);
  if (!headings->Open()) return nullptr;
  std::vector<std::string> names;
  GetChildren("/Headings/Fonts/", &names);
  for (const std::string& n : names) fonts->push_back(GetFont("/Headings/Fonts/" + n));
  return headings;
}

std::unique_ptr<CVornDBVerses> CVornDBStats::OpenVerses(std::vector<CFontFormat>* fonts) const {
  fonts->clear();
  auto verses = std::make_unique<CVornDBVerses>(folder_);
  if (!verses->Open()) return nullptr;
  for (const char* n : {"Verse", "Chapter", "Ref"})
    fonts->push_back(GetFont(std::string("/Verses/Fonts/") + n));
  return verses;
}

std::unique_ptr<CVornDBFormats> CVornDBStats::OpenFormats() const {
  if (GetValue("/Formats").empty()) return nullptr;
  auto formats = std::make_unique<CVornDBFormats>(folder_);
  if (!formats->Open()) return nullptr;
  return formats;
}

}  // namespace vorn
