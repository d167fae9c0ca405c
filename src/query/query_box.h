// The query box as the query tool and the prompts use it: text with a caret
// and a selection, into which pieces are inserted each in its own font. The
// desktop implements it over its rich edit control; CPlainQueryBox keeps the
// text in memory (for tests and tools).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "textdb/font_format.h"

namespace vorn {

class CQueryBox {
 public:
  virtual ~CQueryBox() = default;

  virtual std::u16string GetText() const = 0;
  // The selection [start, end) in UTF-16 code units; start == end is the
  // caret alone.
  virtual void GetSelection(int32_t* start, int32_t* end) const = 0;
  // Positions are clamped to the text.
  virtual void SetSelection(int32_t start, int32_t end) = 0;
  // Replaces the selection by `text` shown in `format`; the caret goes just
  // after the inserted text.
  virtual void ReplaceSelection(std::u16string_view text, const CFontFormat& format) = 0;
  virtual void SetFocus() {}

  // Empties the box.
  void Clear();
};

class CPlainQueryBox : public CQueryBox {
 public:
  std::u16string GetText() const override { return text_; }
  void GetSelection(int32_t* start, int32_t* end) const override;
  void SetSelection(int32_t start, int32_t end) override;
  void ReplaceSelection(std::u16string_view text, const CFontFormat& format) override;

  // What typing would do: replaces the text, caret at its end, every
  // character in the default font.
  void SetText(std::u16string_view text);
  // The font of the character at `pos`; the default font outside the text.
  const CFontFormat& GetFormatAt(int32_t pos) const;

 private:
  std::u16string text_;
  // One entry per character of the text: its index into formats_.
  std::vector<uint16_t> char_formats_;
  std::vector<CFontFormat> formats_{CFontFormat()};
  int32_t sel_start_ = 0;
  int32_t sel_end_ = 0;
};

}  // namespace vorn
