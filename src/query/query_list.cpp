#include "query/query_list.h"

#include <string>

#include "query/fmt_str.h"
#include "query/query_box.h"
#include "textdb/ini_file.h"

namespace vorn {

namespace {

constexpr std::u16string_view kSection = u"Queries";

std::u16string KeyOf(size_t n) {
  const std::string digits = std::to_string(n);
  return u"Q " + std::u16string(digits.begin(), digits.end());
}

}  // namespace

void CQueryList::Record(std::u16string_view formatted, std::u16string_view box_text) {
  if (entries_.empty() || current_ < 0 || entries_[current_] != formatted) {
    entries_.emplace_back(formatted);
    current_ = static_cast<int32_t>(entries_.size()) - 1;
  }
  last_run_ = box_text;
  shown_ = box_text;
}

bool CQueryList::CanGoPrevious(std::u16string_view box_text) const {
  return !entries_.empty() && (current_ > 0 || IsEdited(box_text));
}

bool CQueryList::CanGoNext(std::u16string_view box_text) const {
  return !entries_.empty() &&
         (current_ < static_cast<int32_t>(entries_.size()) - 1 || IsEdited(box_text));
}

bool CQueryList::PreviousQuery(CQueryBox* box) {
  const std::u16string text = box->GetText();
  if (!CanGoPrevious(text)) return false;
  Show(IsEdited(text) ? current_ : current_ - 1, box);
  return true;
}

bool CQueryList::NextQuery(CQueryBox* box) {
  const std::u16string text = box->GetText();
  if (!CanGoNext(text)) return false;
  Show(IsEdited(text) ? current_ : current_ + 1, box);
  return true;
}

void CQueryList::Show(int32_t k, CQueryBox* box) {
  if (k < 0 || k >= static_cast<int32_t>(entries_.size())) return;
  current_ = k;
  if (!box) {
    shown_ = CFmtStr(entries_[k]).GetPlainText();
    return;
  }
  box->Clear();
  const CFontFormat base(u"Arial", 12, kColourBlack);
  const CFmtStr formatted(entries_[k]);
  for (const CFmtStr::Piece& piece : formatted.GetPieces()) {
    box->ReplaceSelection(piece.text, CFmtStr::PieceFormat(piece, base));
  }
  shown_ = box->GetText();
}

void CQueryList::Save(CIniFile* settings) const {
  // Keys left over from a longer list would come back on the next load.
  settings->RemoveSection(kSection);
  const size_t first = entries_.size() > kMaxSaved ? entries_.size() - kMaxSaved : 0;
  for (size_t i = first; i < entries_.size(); ++i) {
    settings->SetString(kSection, KeyOf(i - first), std::u16string_view(entries_[i]));
  }
}

void CQueryList::Load(const CIniFile& settings, CQueryBox* box) {
  entries_.clear();
  current_ = -1;
  std::u16string value;
  for (size_t n = 0; settings.GetString(kSection, KeyOf(n), &value); ++n) entries_.push_back(value);
  if (!entries_.empty()) Show(static_cast<int32_t>(entries_.size()) - 1, box);
}

bool CQueryList::GetNewestFirst(std::vector<std::u16string>* out) const {
  out->assign(entries_.rbegin(), entries_.rend());
  return !entries_.empty();
}

}  // namespace vorn
