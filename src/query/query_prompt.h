// Query prompts: ready-made pieces of query text that the prompt list
// offers and that go into the query box at the caret. Static prompts come
// from "Static Queries.txt" beside the program; word prompts are made from
// the current word's lines and user tags.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "textdb/font_format.h"

namespace vorn {

class CQueryBox;
class CVornDBLine;

class CQueryPrompt {
 public:
  explicit CQueryPrompt(std::u16string text, const CFontFormat& format);

  // The value becomes `value` itself when it already begins with a double
  // quote, else `value` in double quotes; its format is the text format
  // with, when `line` (may be null) is given, the face and direction of the
  // line's font.
  void SetValue(std::u16string_view value, const CVornDBLine* line);

  const std::u16string& GetText() const { return text_; }
  const CFontFormat& GetTextFormat() const { return text_format_; }
  const std::u16string& GetValue() const { return value_; }
  const CFontFormat& GetValueFormat() const { return value_format_; }

  // The text a prompt inserts: a text ending in ")" loses everything from
  // its first "(" on (all of it when there is none) and the blanks before
  // that, so that "text λόγος (noun)" inserts "text λόγος".
  std::u16string GetInsertText() const;

  // Inserts the prompt into `box` in place of its selection: a blank first
  // unless the selection starts the text (the blank before the selection,
  // if any, is reused rather than doubled), the text, a blank and the value
  // when there is one, and a closing blank. With `select` the inserted piece
  // is selected afterwards, else the caret follows it.
  void UsePrompt(CQueryBox* box, bool select) const;

 private:
  std::u16string text_;
  CFontFormat text_format_;
  std::u16string value_;
  CFontFormat value_format_;
};

class CQueryPrompts {
 public:
  // `format` is the text format every prompt starts with (the query tool's
  // Arial 10 points).
  explicit CQueryPrompts(const CFontFormat& format) : format_(format) {}

  CQueryPrompt* AddPrompt(std::u16string text);
  CQueryPrompt* AddPrompt(std::u16string text, std::u16string_view value, const CVornDBLine* line);
  void Clear() { prompts_.clear(); }

  // Reads one prompt per line of the UTF-8 file at `path`, only while the
  // list is empty; empty lines are skipped, and so are a byte-order mark and
  // a carriage return at a line's end. A missing or unreadable file leaves
  // the list as it is; returns whether the file was read.
  [[nodiscard]] bool Load(const std::string& path);

  size_t GetCount() const { return prompts_.size(); }
  // Null outside the list.
  const CQueryPrompt* Get(size_t index) const {
    return index < prompts_.size() ? prompts_[index].get() : nullptr;
  }
  const CFontFormat& GetFormat() const { return format_; }

 private:
  CFontFormat format_;
  std::vector<std::unique_ptr<CQueryPrompt>> prompts_;
};

}  // namespace vorn
