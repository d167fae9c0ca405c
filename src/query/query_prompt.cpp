#include "query/query_prompt.h"

#include <fstream>

#include "query/query_box.h"
#include "textdb/line.h"
#include "textdb/utf8.h"

namespace vorn {

CQueryPrompt::CQueryPrompt(std::u16string text, const CFontFormat& format)
    : text_(std::move(text)), text_format_(format), value_format_(format) {}

void CQueryPrompt::SetValue(std::u16string_view value, const CVornDBLine* line) {
  if (!value.empty() && value[0] == u'"') {
    value_ = value;
  } else {
    value_ = u"\"" + std::u16string(value) + u"\"";
  }
  value_format_ = text_format_;
  if (line) {
    value_format_.SetFace(line->GetFont().face());
    value_format_.set_right_to_left(line->GetFont().right_to_left());
  }
}

std::u16string CQueryPrompt::GetInsertText() const {
  std::u16string text = text_;
  if (!text.empty() && text.back() == u')') {
    const size_t open = text.find(u'(');
    text.resize(open == std::u16string::npos ? 0 : open);
    while (!text.empty() && (text.back() == u' ' || text.back() == u'\t')) text.pop_back();
  }
  return text;
}

void CQueryPrompt::UsePrompt(CQueryBox* box, bool select) const {
  int32_t start = 0, end = 0;
  box->GetSelection(&start, &end);
  if (start > 0) {
    const std::u16string current = box->GetText();
    if (start <= static_cast<int32_t>(current.size()) && current[start - 1] == u' ') --start;
    box->SetSelection(start, end);
    box->ReplaceSelection(u" ", text_format_);
  } else {
    box->SetSelection(start, end);
  }
  box->ReplaceSelection(GetInsertText(), text_format_);
  if (!value_.empty()) {
    box->ReplaceSelection(u" ", text_format_);
    box->ReplaceSelection(value_, value_format_);
  }
  box->ReplaceSelection(u" ", text_format_);
  if (select) {
    int32_t after = 0, unused = 0;
    box->GetSelection(&after, &unused);
    box->SetSelection(start, after);
  }
}

CQueryPrompt* CQueryPrompts::AddPrompt(std::u16string text) {
  prompts_.push_back(std::make_unique<CQueryPrompt>(std::move(text), format_));
  return prompts_.back().get();
}

CQueryPrompt* CQueryPrompts::AddPrompt(std::u16string text, std::u16string_view value,
                                       const CVornDBLine* line) {
  CQueryPrompt* p = AddPrompt(std::move(text));
  p->SetValue(value, line);
  return p;
}

bool CQueryPrompts::Load(const std::string& path) {
  if (!prompts_.empty()) return false;
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  Utf8 line;
  bool first = true;
  while (line.ReadLine(in)) {
    std::u16string text = line.Decode();
    if (first && !text.empty() && text[0] == u'\xFEFF') text.erase(0, 1);
    first = false;
    // A file written on Windows ends its lines with CR LF.
    if (!text.empty() && text.back() == u'\r') text.pop_back();
    if (!text.empty()) AddPrompt(std::move(text));
  }
  return true;
}

}  // namespace vorn
