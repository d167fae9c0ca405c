#include "refs/verse_map.h"

#include <map>
#include <memory>

#include "platform/file_system.h"
#include "platform/message_sink.h"
#include "platform/u16.h"
#include "refs/book_table.h"
#include "textdb/db_stats.h"
#include "textdb/vorn_db.h"

namespace vorn {

namespace {

// Each field of a verse code holds 0..999; larger numbers would run into the
// next field and decode as another verse.
constexpr int kFieldLimit = 999;

bool IsSpace(char16_t c) {
  return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == u'\v' || c == u'\f';
}

std::u16string Latin1(std::string_view bytes) {
  std::u16string out;
  out.reserve(bytes.size());
  for (unsigned char c : bytes) out.push_back(c);
  return out;
}

// Reads one side of a mapping line the way the pattern "%3s %d:%d-%d:%d"
// does: up to three non-blank characters of code, blanks, chapter ":" verse,
// then optionally "-" and a last verse, or a last chapter ":" last verse.
class SideParser {
 public:
  explicit SideParser(std::u16string_view s) : s_(s) {}

  bool Parse(int32_t* start, int32_t* end) {
    SkipSpace();
    size_t begin = i_;
    while (i_ < s_.size() && i_ - begin < 3 && !IsSpace(s_[i_])) ++i_;
    int book = BookIndexFromCode(s_.substr(begin, i_ - begin));
    if (i_ - begin != 3 || book < 0) return false;
    SkipSpace();
    int chapter, verse;
    if (!Number(&chapter) || !Literal(u':') || !Number(&verse)) return false;
    if (chapter < 1 || chapter > kFieldLimit || verse < 0 || verse > kFieldLimit) return false;
    *start = MakeVerseCode(book, chapter, verse);
    // A single verse spans its own code and one more: "one beyond the end"
    // of a range then never reaches the next verse's code.
    *end = *start + 1;
    int a, b;
    if (!Literal(u'-') || !Number(&a)) return true;
    if (Literal(u':') && Number(&b)) {
      if (a < 1 || a > kFieldLimit || b < 0 || b > kFieldLimit) return false;
      *end = MakeVerseCode(book, a, b);
    } else {
      if (a < 0 || a > kFieldLimit) return false;
      *end = MakeVerseCode(book, chapter, a);
    }
    return true;
  }

 private:
  void SkipSpace() {
    while (i_ < s_.size() && IsSpace(s_[i_])) ++i_;
  }
  bool Literal(char16_t c) {
    if (i_ < s_.size() && s_[i_] == c) {
      ++i_;
      return true;
    }
    return false;
  }
  // A decimal as "%d" reads it: blanks, a sign, digits.
  bool Number(int* out) {
    size_t save = i_;
    SkipSpace();
    bool negative = false;
    if (i_ < s_.size() && (s_[i_] == u'-' || s_[i_] == u'+')) negative = s_[i_++] == u'-';
    size_t digits = 0;
    long long v = 0;
    while (i_ < s_.size() && s_[i_] >= u'0' && s_[i_] <= u'9') {
      if (v < 100000000) v = v * 10 + (s_[i_] - u'0');
      ++i_;
      ++digits;
    }
    if (digits == 0) {
      i_ = save;
      return false;
    }
    *out = static_cast<int>(negative ? -v : v);
    return true;
  }

  std::u16string_view s_;
  size_t i_ = 0;
};

bool IsPlainFileName(std::u16string_view name) {
  if (name == u"." || name == u"..") return false;
  return name.find_first_of(u"/\\") == std::u16string_view::npos &&
         name.find(u'\0') == std::u16string_view::npos;
}

std::string RootOf(const CVornDB* db) {
  std::string folder = db->GetStats()->GetFolder();
  while (!folder.empty() && folder.back() == '/') folder.pop_back();
  size_t slash = folder.find_last_of('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? std::string("/") : folder.substr(0, slash);
}

std::string PathOf(const std::string& root, std::u16string_view scheme) {
  return platform::JoinPath(platform::JoinPath(root, "VerseMaps"),
                            platform::ToUtf8(scheme) + ".vrs");
}

}  // namespace

int32_t MakeVerseCode(int book_index, int chapter, int verse) {
  return ((book_index * 1000 + chapter) * 1000 + verse) * 10;
}

void DecodeVerseCode(int32_t code, int* book_index, int* chapter, int* verse) {
  *book_index = code / 10000000;
  *chapter = (code % 10000000) / 10000;
  *verse = (code % 10000) / 10;
}

CVerseMap::CVerseMap(const std::string& root, std::u16string_view scheme,
                     platform::CMessageSink* sink) {
  if (scheme.empty()) return;
  std::string path = PathOf(root, scheme);
  if (!IsPlainFileName(scheme)) {
    // A scheme name that climbs out of the map folder is not followed.
    if (sink) sink->ShowWarning(u"Couldn't read Verse map file: " + platform::ToU16(path));
    return;
  }
  // ReadFile has told the sink when the file cannot be read.
  static_cast<void>(ReadFile(path, sink));
}

bool CVerseMap::ReadFile(const std::string& path, platform::CMessageSink* sink) {
  std::string bytes;
  if (platform::DirectoryExists(path) || !platform::ReadWholeFile(path, &bytes)) {
    if (sink) sink->ShowWarning(u"Couldn't read Verse map file: " + platform::ToU16(path));
    return false;
  }
  ReadText(bytes, sink);
  return true;
}

void CVerseMap::ReadText(std::string_view bytes, platform::CMessageSink* sink) {
  size_t pos = 0;
  while (pos < bytes.size()) {
    size_t nl = bytes.find('\n', pos);
    if (nl == std::string_view::npos) nl = bytes.size();
    std::string_view raw = bytes.substr(pos, nl - pos);
    pos = nl + 1;
    if (!raw.empty() && raw.back() == '\r') raw.remove_suffix(1);
    if (raw.empty() || raw[0] == '#') continue;
    std::u16string line = Latin1(raw);
    size_t eq = line.find(u'=');
    if (eq == std::u16string::npos) continue;
    std::u16string_view own = std::u16string_view(line).substr(0, eq);
    std::u16string_view common = std::u16string_view(line).substr(eq + 1);
    bool nothing_after = true;
    for (char16_t c : common) nothing_after = nothing_after && IsSpace(c);
    if (nothing_after) continue;
    int32_t os, oe, cs, ce;
    if (!SideParser(own).Parse(&os, &oe) || !SideParser(common).Parse(&cs, &ce)) {
      if (sink) {
        sink->ShowWarning(u"Bad verse mapping: " + std::u16string(own) + u" = " +
                          std::u16string(common));
      }
      continue;
    }
    common_start_.push_back(cs);
    common_end_.push_back(ce);
    own_start_.push_back(os);
    own_end_.push_back(oe);
  }
}

int32_t CVerseMap::Lookup(int32_t code, const std::vector<int32_t>& from_start,
                          const std::vector<int32_t>& from_end,
                          const std::vector<int32_t>& to_start,
                          const std::vector<int32_t>& to_end) {
  size_t best = from_start.size();
  for (size_t i = 0; i < from_start.size(); ++i) {
    if (from_start[i] <= code && int64_t{code} <= int64_t{from_end[i]} + 1 &&
        (best == from_start.size() || from_start[i] < from_start[best]))
      best = i;
  }
  if (best == from_start.size()) return code;
  if (code == from_end[best]) return to_end[best];
  if (code == from_start[best]) return to_start[best];
  return static_cast<int32_t>(int64_t{to_start[best]} + (int64_t{code} - from_start[best]));
}

int32_t CVerseMap::ToCommon(int32_t code) const {
  return Lookup(code, own_start_, own_end_, common_start_, common_end_);
}

int32_t CVerseMap::FromCommon(int32_t code) const {
  return Lookup(code, common_start_, common_end_, own_start_, own_end_);
}

CBibleRef CVerseMap::MapReference(const CBibleRef& ref, CVornDB* target) const {
  if (!target || ref.db_ == target) return ref;
  const int book = BookIndexFromCode(ref.GetBookCode());
  const int chapter = ref.chapter_, verse = ref.verse_;
  CBibleRef out;
  if (book < 0 || chapter < 0 || chapter > kFieldLimit || verse < 0 || verse > kFieldLimit) {
    // A book outside the table or numbers that do not fit a verse code cannot
    // go through the maps; the reference is looked up as it stands.
    out.code_ = ref.GetBookCode();
    out.chapter_ = chapter;
    out.verse_ = verse;
  } else {
    int32_t code = MakeVerseCode(book, chapter, verse);
    if (ref.entry_ && ref.db_) code = GetVerseMap(ref.db_)->ToCommon(code);
    code = FromCommon(code);
    int b, c, v;
    DecodeVerseCode(code, &b, &c, &v);
    out = CBibleRef(BookCodeFromIndex(b), c, v);
  }
  out.BindUnbound(target);
  return out;
}

std::string CVerseMap::MapPathFor(const CVornDB* db) {
  std::u16string scheme = db->GetStats()->GetValue("/Versification");
  if (scheme.empty() || !IsPlainFileName(scheme)) return {};
  return PathOf(RootOf(db), scheme);
}

const CVerseMap* GetVerseMap(const CVornDB* db) {
  return db->GetAttachment<CVerseMap>(DBAttachment::kVerseMap, [db] {
    return std::make_unique<CVerseMap>(RootOf(db), db->GetStats()->GetValue("/Versification"),
                                       db->GetSink());
  });
}

}  // namespace vorn
