// The scanner that cuts a query text into tokens.
#pragma once

#include <cstdint>
#include <string>

namespace vorn {

// Tokens are separated by blanks, carriage returns and line feeds; "(" and
// ")" are tokens of their own; a double-quoted token runs to the next double
// quote (or the end of the text) and may hold blanks and parentheses.
class CQText {
 public:
  explicit CQText(std::u16string text);
  virtual ~CQText() = default;

  // Moves to the next token and returns its text: lower-cased (A to Z only)
  // when `lower` is set, else as typed; the quotes of a quoted token are not
  // part of its text. At the end of the text the token is empty. The
  // returned reference lives until the next move.
  const std::u16string& NextToken(bool lower);
  // Makes the token before the current one current again; one step only.
  void UnreadToken();

  const std::u16string& GetToken(bool lower) const { return lower ? lower_ : token_; }
  // Index of the current token's first character (for a quoted token, the
  // opening quote).
  int32_t GetTokenStart() const { return start_; }
  // Index just after the current token.
  int32_t GetTokenAfter() const { return after_; }
  // Index of the current token's last character; for the empty token at the
  // end of the text, the text's length.
  int32_t GetTokenLast() const { return after_ > start_ ? after_ - 1 : start_; }
  // True when the current token is the empty one at the end of the text.
  bool AtEnd() const { return start_ >= static_cast<int32_t>(text_.size()); }
  // True when the current token is the unquoted one-character token `c`
  // ("(" or ")"); a quoted "(" is a word like any other.
  bool IsBare(char16_t c) const { return after_ == start_ + 1 && text_[start_] == c; }
  const std::u16string& GetText() const { return text_; }

 private:
  // Fills both token texts from the current bounds.
  void TakeToken();

  std::u16string text_;
  std::u16string token_;
  std::u16string lower_;
  int32_t start_ = 0;
  int32_t after_ = 0;
  int32_t prev_start_ = 0;
  int32_t prev_after_ = 0;
};

}  // namespace vorn
