#include "markup/tag_db.h"

#include <algorithm>

#include "markup/tag_viewer.h"
#include "markup/user_folder.h"
#include "platform/file_system.h"
#include "platform/string_table.h"
#include "platform/u16.h"

namespace vorn {

CTagViewer::~CTagViewer() = default;

namespace {

std::u16string YesNo(int8_t v) { return v ? u"Yes" : u"No"; }

std::u16string Decimal(int v) { return platform::ToU16(std::to_string(v)); }

std::string SetFolder(const std::string& base, std::u16string_view set) {
  // No user folder (see UserFolder) stays none.
  return set.empty() || base.empty() ? base : platform::JoinPath(base, platform::ToUtf8(set));
}

}  // namespace

std::u16string NormalizeSetName(std::u16string_view set) {
  if (EqualsNoCase(set, kDefaultSetName)) return {};
  return std::u16string(set);
}

CTagDB::CTagDB(const Place& place, std::u16string_view set, std::u16string_view name,
               platform::CMessageSink* sink)
    : place_(place), set_name_(NormalizeSetName(set)), tag_name_(name), sink_(sink) {
  new_ = true;
  header_loaded_ = true;
  words_loaded_ = true;
  header_.db_name = place_.db_name;
  header_.tag_name = tag_name_;
  marks_.Reset(place_.word_count);
  base_marks_.Reset(place_.word_count);
  file_path_ = GetUserFilePath();
}

std::unique_ptr<CTagDB> CTagDB::FromFile(const Place& place, const std::string& path,
                                         std::u16string_view set, std::u16string_view name,
                                         bool database_tag, platform::CMessageSink* sink,
                                         std::u16string* reason) {
  std::unique_ptr<CTagDB> tag(new CTagDB(place, set, name, sink));
  tag->new_ = false;
  tag->words_loaded_ = false;
  tag->header_loaded_ = false;
  tag->file_path_ = path;
  if (database_tag) tag->db_folder_ = place.db_folder;
  TagFileHeader header;
  if (!tag->ReadFile(&header, nullptr, nullptr, reason)) return nullptr;
  tag->header_ = std::move(header);
  tag->header_loaded_ = true;
  return tag;
}

CTagDB::~CTagDB() = default;

bool CTagDB::IsSameTag(std::u16string_view set, std::u16string_view name) const {
  return EqualsNoCase(tag_name_, name) && EqualsNoCase(set_name_, NormalizeSetName(set));
}

std::u16string CTagDB::GetDisplaySetName() const {
  return set_name_.empty() ? std::u16string(kDefaultSetName) : set_name_;
}

std::u16string CTagDB::GetRelativeName() const {
  return set_name_.empty() ? tag_name_ : set_name_ + u"\\" + tag_name_;
}

std::string CTagDB::GetUserFilePath() const {
  return platform::JoinPath(SetFolder(place_.user_folder, set_name_),
                            platform::ToUtf8(tag_name_) + ".vtd");
}

void CTagDB::SetStyle(const TagStyle& style) {
  if (header_.style == style) return;
  header_.style = style;
  style_changed_ = true;
  Changed();
}

void CTagDB::SetLabel(std::u16string_view label) {
  std::u16string cut(label.substr(0, std::min(label.size(), kMaxTagLabel)));
  if (cut == header_.label) return;
  header_.label = cut;
  style_changed_ = true;
  Changed();
}

bool CTagDB::ParseFile(std::string_view bytes, TagFileHeader* header, std::vector<TagRange>* ranges,
                       std::u16string* reason) const {
  auto fail = [reason](std::u16string_view why) {
    if (reason) *reason = std::u16string(why);
    return false;
  };
  size_t offset = 0;
  if (!ParseTagHeader(bytes, header, &offset)) return fail(u"damaged header");
  if (!TagHeaderNamesDatabase(bytes, place_.db_name)) {
    return fail(u"made for the database \"" + header->db_name + u"\"");
  }
  if (ranges && !ParseTagRanges(bytes, offset, place_.word_count, ranges)) {
    return fail(u"word ranges damaged or outside the database");
  }
  return true;
}

bool CTagDB::ReadFile(TagFileHeader* header, std::vector<TagRange>* ranges, std::string* bytes,
                      std::u16string* reason) const {
  std::string read, error;
  switch (platform::ReadFileIfPresent(file_path_, &read, &error)) {
    case platform::ReadResult::kMissing:
      if (reason) *reason = u"missing";
      return false;
    case platform::ReadResult::kFailed:
      if (reason) *reason = platform::ToU16(error);
      return false;
    case platform::ReadResult::kRead:
      break;
  }
  if (!ParseFile(read, header, ranges, reason)) return false;
  if (bytes) *bytes = std::move(read);
  return true;
}

void CTagDB::SetBase(const std::string& path, std::string_view bytes) {
  base_marks_ = marks_;
  base_path_ = path;
  base_fingerprint_ = platform::Fingerprint(bytes);
  style_changed_ = false;
}

bool CTagDB::LoadHeader() {
  TagFileHeader header;
  if (new_ || !ReadFile(&header, nullptr, nullptr, nullptr)) return false;
  header_ = std::move(header);
  header_loaded_ = true;
  return true;
}

bool CTagDB::LoadWords() {
  if (words_loaded_) return true;
  TagFileHeader header;
  std::vector<TagRange> ranges;
  std::string bytes;
  if (!ReadFile(&header, &ranges, &bytes, nullptr)) {
    words_failed_ = true;
    if (sink_) {
      sink_->ShowWarning(
          platform::FormatString(platform::kIdsCantReadTag, platform::ToU16(file_path_)));
    }
    return false;
  }
  // Header and words from one reading, so that both are one version.
  if (!style_changed_) {
    header_ = std::move(header);
    header_loaded_ = true;
  }
  marks_.LoadRanges(place_.word_count, ranges);
  SetBase(file_path_, bytes);
  words_loaded_ = true;
  words_failed_ = false;
  return true;
}

bool CTagDB::EnsureWords() {
  if (words_loaded_) return true;
  if (words_failed_) return false;
  return LoadWords();
}

bool CTagDB::TakeNewerFile(const std::string& path, bool* merged) {
  std::string bytes, error;
  switch (platform::ReadFileIfPresent(path, &bytes, &error)) {
    case platform::ReadResult::kMissing:
      return true;
    case platform::ReadResult::kFailed:
      return ClearDamagedFile(path, platform::ToU16(error), sink_);
    case platform::ReadResult::kRead:
      break;
  }
  if (path == base_path_ && platform::Fingerprint(bytes) == base_fingerprint_) return true;
  TagFileHeader theirs_header;
  std::vector<TagRange> ranges;
  std::u16string reason;
  if (!ParseFile(bytes, &theirs_header, &ranges, &reason)) {
    return ClearDamagedFile(path, reason, sink_);
  }
  CTagMarks theirs;
  theirs.LoadRanges(place_.word_count, ranges);
  theirs.MergeChanges(base_marks_, marks_);
  marks_ = std::move(theirs);
  if (!style_changed_) header_ = std::move(theirs_header);
  *merged = true;
  return true;
}

bool CTagDB::Save() {
  // Writing a tag whose words never loaded would replace them with nothing.
  if (!words_loaded_ && !LoadWords()) return false;
  const std::string folder = SetFolder(place_.user_folder, set_name_);
  if (!EnsureFolder(folder, platform::kIdsCantCreateDir, sink_)) return false;
  const std::string path = GetUserFilePath();
  bool merged = false;
  bool written = false;
  std::string bytes;
  {
    platform::CFolderLock lock(path);
    if (TakeNewerFile(path, &merged)) {
      TagFileHeader header = header_;
      header.db_name = place_.db_name;
      header.tag_name = tag_name_;
      bytes = SerializeTagFile(header, marks_.GetRanges());
      written = platform::WriteFileAtomically(path, bytes);
      if (written) header_ = std::move(header);
    } else {
      if (merged) Changed();
      return false;
    }
  }
  if (!written) {
    if (sink_) {
      sink_->ShowWarning(platform::FormatString(platform::kIdsCantWriteTag, platform::ToU16(path)));
    }
    // What another program saved is in memory now, still to be saved.
    if (merged) Changed();
    return false;
  }
  db_folder_.clear();
  file_path_ = path;
  new_ = false;
  modified_ = false;
  SetBase(path, bytes);
  if (merged) {
    for (CTagViewer* v : std::vector<CTagViewer*>(views_)) v->TagChanged(this);
  }
  return true;
}

platform::MsgAnswer CTagDB::SaveWithPrompt() {
  platform::MsgAnswer answer = platform::MsgAnswer::kYes;
  if (sink_) {
    answer = sink_->Ask(platform::FormatString(platform::kIdsSaveTagChanges, GetRelativeName()),
                        platform::MsgButtons::kYesNoCancel);
  }
  // Save and Revert report their own failures (messages 306 and 304). A
  // tag that could not be saved stays modified and answers Cancel, so that
  // a caller about to close what shows it keeps it open instead.
  if (answer == platform::MsgAnswer::kYes) {
    if (!Save()) return platform::MsgAnswer::kCancel;
  } else if (answer == platform::MsgAnswer::kNo) {
    static_cast<void>(Revert());
  }
  return answer;
}

bool CTagDB::Revert() {
  std::string bytes;
  if (new_) {
    header_.style = TagStyle();
    header_.label.clear();
    marks_.Reset(place_.word_count);
  } else {
    TagFileHeader header;
    std::vector<TagRange> ranges;
    if (!ReadFile(&header, &ranges, &bytes, nullptr)) {
      if (sink_) {
        sink_->ShowWarning(
            platform::FormatString(platform::kIdsCantReadTag, platform::ToU16(file_path_)));
      }
      return false;
    }
    header_ = std::move(header);
    marks_.LoadRanges(place_.word_count, ranges);
    header_loaded_ = true;
  }
  if (new_) {
    base_marks_ = marks_;
    style_changed_ = false;
  } else {
    SetBase(file_path_, bytes);
  }
  words_loaded_ = true;
  words_failed_ = false;
  modified_ = false;
  for (CTagViewer* v : std::vector<CTagViewer*>(views_)) v->TagChanged(this);
  return true;
}

bool CTagDB::ReloadIfChanged() {
  if (new_ || modified_ || !words_loaded_) return false;
  std::string bytes;
  if (platform::ReadFileIfPresent(file_path_, &bytes) != platform::ReadResult::kRead) return false;
  if (file_path_ == base_path_ && platform::Fingerprint(bytes) == base_fingerprint_) return false;
  TagFileHeader header;
  std::vector<TagRange> ranges;
  if (!ParseFile(bytes, &header, &ranges, nullptr)) return false;
  header_ = std::move(header);
  marks_.LoadRanges(place_.word_count, ranges);
  SetBase(file_path_, bytes);
  for (CTagViewer* v : std::vector<CTagViewer*>(views_)) v->TagChanged(this);
  return true;
}

TagPosition CTagDB::GetPosition(WordIndex w) {
  return EnsureWords() ? marks_.GetPosition(w) : TagPosition::kNone;
}

bool CTagDB::IsTagged(WordIndex w) { return EnsureWords() && marks_.IsTagged(w); }

std::vector<WordSpan> CTagDB::GetSpans() {
  return EnsureWords() ? marks_.GetSpans() : std::vector<WordSpan>();
}

bool CTagDB::IsEmpty() { return !EnsureWords() || marks_.IsEmpty(); }

void CTagDB::ToggleWord(WordIndex w) {
  if (!EnsureWords() || w < 0 || static_cast<uint32_t>(w) >= marks_.word_count()) return;
  marks_.ToggleWord(w);
  Changed();
}

bool CTagDB::ToggleRange(WordIndex first, WordIndex last) {
  if (!EnsureWords() || !marks_.ToggleRange(first, last)) return false;
  Changed();
  return true;
}

void CTagDB::Changed() {
  modified_ = true;
  for (CTagViewer* v : std::vector<CTagViewer*>(views_)) v->TagChanged(this);
}

void CTagDB::AttachView(CTagViewer* view) {
  if (std::find(views_.begin(), views_.end(), view) == views_.end()) views_.push_back(view);
  EnsureWords();
}

void CTagDB::DetachView(CTagViewer* view) {
  auto it = std::find(views_.begin(), views_.end(), view);
  if (it == views_.end()) return;
  views_.erase(it);
  if (views_.empty() && modified_) SaveWithPrompt();
}

void CTagDB::RemoveFromViews() {
  std::vector<CTagViewer*> views;
  views.swap(views_);
  for (CTagViewer* v : views) v->TagRemoved(this);
}

std::vector<std::u16string> CTagDB::GetListRow(bool shown) const {
  const TagStyle& s = header_.style;
  return {(shown ? u"+" : u"") + tag_name_,
          GetDisplaySetName(),
          modified_ ? u"*" : u"",
          TagColourName(s.foreground),
          TagColourName(s.background),
          FontStyleName(s.font_style),
          BracketPositionName(s.bracket_position),
          BracketStyleName(s.bracket_style),
          TagColourName(s.bracket_colour),
          YesNo(s.new_line),
          Decimal(s.indent),
          YesNo(s.end_line),
          Decimal(s.indent_next),
          header_.label,
          platform::ToU16(file_path_)};
}

}  // namespace vorn
