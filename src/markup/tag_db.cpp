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
  return set.empty() ? base : platform::JoinPath(base, platform::ToUtf8(set));
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
  file_path_ = GetUserFilePath();
}

std::unique_ptr<CTagDB> CTagDB::FromFile(const Place& place, const std::string& path,
                                         std::u16string_view set, std::u16string_view name,
                                         bool database_tag, platform::CMessageSink* sink) {
  std::unique_ptr<CTagDB> tag(new CTagDB(place, set, name, sink));
  tag->new_ = false;
  tag->words_loaded_ = false;
  tag->header_loaded_ = false;
  tag->file_path_ = path;
  if (database_tag) tag->db_folder_ = place.db_folder;
  if (!tag->LoadHeader()) return nullptr;
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
  Changed();
}

void CTagDB::SetLabel(std::u16string_view label) {
  std::u16string cut(label.substr(0, std::min(label.size(), kMaxTagLabel)));
  if (cut == header_.label) return;
  header_.label = cut;
  Changed();
}

bool CTagDB::ReadFile(TagFileHeader* header, std::vector<TagRange>* ranges) const {
  std::string bytes;
  if (!platform::ReadWholeFile(file_path_, &bytes)) return false;
  size_t offset = 0;
  if (!TagHeaderNamesDatabase(bytes, place_.db_name)) return false;
  if (!ParseTagHeader(bytes, header, &offset)) return false;
  if (ranges && !ParseTagRanges(bytes, offset, place_.word_count, ranges)) return false;
  return true;
}

bool CTagDB::LoadHeader() {
  TagFileHeader header;
  if (new_ || !ReadFile(&header, nullptr)) return false;
  header_ = std::move(header);
  header_loaded_ = true;
  return true;
}

bool CTagDB::LoadWords() {
  if (words_loaded_) return true;
  TagFileHeader header;
  std::vector<TagRange> ranges;
  if (!ReadFile(&header, &ranges)) {
    words_failed_ = true;
    if (sink_) {
      sink_->ShowWarning(platform::FormatString(platform::kIdsCantReadTag,
                                                platform::ToU16(file_path_)));
    }
    return false;
  }
  marks_.LoadRanges(place_.word_count, ranges);
  words_loaded_ = true;
  words_failed_ = false;
  return true;
}

bool CTagDB::EnsureWords() {
  if (words_loaded_) return true;
  if (words_failed_) return false;
  return LoadWords();
}

bool CTagDB::Save() {
  // Writing a tag whose words never loaded would replace them with nothing.
  if (!words_loaded_ && !LoadWords()) return false;
  const std::string folder = SetFolder(place_.user_folder, set_name_);
  if (!EnsureFolder(folder, platform::kIdsCantCreateDir, sink_)) return false;
  const std::string path = GetUserFilePath();
  TagFileHeader header = header_;
  header.db_name = place_.db_name;
  header.tag_name = tag_name_;
  if (!platform::WriteFileAtomically(path, SerializeTagFile(header, marks_.GetRanges()))) {
    if (sink_) {
      sink_->ShowWarning(platform::FormatString(platform::kIdsCantWriteTag, platform::ToU16(path)));
    }
    return false;
  }
  header_ = std::move(header);
  db_folder_.clear();
  file_path_ = path;
  new_ = false;
  modified_ = false;
  return true;
}

platform::MsgAnswer CTagDB::SaveWithPrompt() {
  platform::MsgAnswer answer = platform::MsgAnswer::kYes;
  if (sink_) {
    answer = sink_->Ask(platform::FormatString(platform::kIdsSaveTagChanges, GetRelativeName()),
                        platform::MsgButtons::kYesNoCancel);
  }
  // Save and Revert report their own failures (messages 306 and 304); a
  // tag that could not be saved stays modified and is offered again.
  if (answer == platform::MsgAnswer::kYes) {
    static_cast<void>(Save());
  } else if (answer == platform::MsgAnswer::kNo) {
    static_cast<void>(Revert());
  }
  return answer;
}

bool CTagDB::Revert() {
  if (new_) {
    header_.style = TagStyle();
    header_.label.clear();
    marks_.Reset(place_.word_count);
  } else {
    TagFileHeader header;
    std::vector<TagRange> ranges;
    if (!ReadFile(&header, &ranges)) {
      if (sink_) {
        sink_->ShowWarning(platform::FormatString(platform::kIdsCantReadTag,
                                                  platform::ToU16(file_path_)));
      }
      return false;
    }
    header_ = std::move(header);
    marks_.LoadRanges(place_.word_count, ranges);
    header_loaded_ = true;
  }
  words_loaded_ = true;
  words_failed_ = false;
  modified_ = false;
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
