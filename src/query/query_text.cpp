#include "query/query_text.h"

namespace vorn {

namespace {

bool IsSeparator(char16_t c) { return c == 13 || c == 10 || c == 32; }

}  // namespace

CQText::CQText(std::u16string text) : text_(std::move(text)) {}

const std::u16string& CQText::NextToken(bool lower) {
  prev_start_ = start_;
  prev_after_ = after_;
  const int32_t n = static_cast<int32_t>(text_.size());
  int32_t i = after_;
  while (i < n && IsSeparator(text_[i])) ++i;
  start_ = i;
  if (i < n) {
    const char16_t c = text_[i];
    if (c == u'"') {
      ++i;
      while (i < n && text_[i] != u'"') ++i;
      if (i < n) ++i;  // the closing quote belongs to the token
    } else if (c == u'(' || c == u')') {
      ++i;
    } else {
      // Carriage returns and line feeds inside a word belong to it.
      while (i < n && text_[i] != u' ' && text_[i] != u'"' && text_[i] != u'(' && text_[i] != u')')
        ++i;
    }
  }
  after_ = i;
  TakeToken();
  return GetToken(lower);
}

void CQText::UnreadToken() {
  start_ = prev_start_;
  after_ = prev_after_;
  TakeToken();
}

void CQText::TakeToken() {
  int32_t first = start_;
  int32_t end = after_;
  if (end > first && text_[first] == u'"') {
    ++first;
    if (end > first && text_[end - 1] == u'"') --end;
  }
  token_.assign(text_, first, end - first);
  lower_ = token_;
  for (char16_t& c : lower_)
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
}

}  // namespace vorn
