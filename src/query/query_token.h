// The parser state of one query: the scanner, the context that names the
// lines, the open-parenthesis depth, the first error and the echo of the
// query text to a display sink.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "query/query_error.h"
#include "query/query_text.h"

namespace vorn {

class CQueryContext;
class CVornDBLine;
class CQBit;
class CQCompound;
class CQProximity;
class CQPosition;

// Receives the query text back in pieces while it is parsed, so that the
// query list can show each search word in the font of the line it searches.
class CQueryEchoSink {
 public:
  virtual ~CQueryEchoSink() = default;
  // `line` is null for plain text, else the line whose display font the
  // piece (a search word, quotes included) is shown in.
  virtual void AddPiece(std::u16string_view text, const CVornDBLine* line) = 0;
};

// The error messages of the parser, exactly as the user sees them.
inline constexpr char16_t kQErrUnexpectedEnd[] = u"Unexpected end";
inline constexpr char16_t kQErrUnrecognisedKeyword[] = u"Unrecognised keyword";
inline constexpr char16_t kQErrMissingWord[] = u"Missing word";
inline constexpr char16_t kQErrTooManyClosing[] = u"Too many closing parentheses";
inline constexpr char16_t kQErrExpectedWith[] = u"Expected \"with\"";
inline constexpr char16_t kQErrExpectedBy[] = u"Expected \"by\"";
inline constexpr char16_t kQErrExpectedFor[] = u"Expected \"for\"";
inline constexpr char16_t kQErrExpectedNumber[] = u"Expected a number or \"{the} same\"";
inline constexpr char16_t kQErrExpectedSame[] = u"Expected \"same\"";
inline constexpr char16_t kQErrUnrecognisedUnit[] = u"Unrecognised unit";
inline constexpr char16_t kQErrTagProximity[] =
    u"Sorry, user tags used for proximity must be 'within the same usertag <name>.'";
inline constexpr char16_t kQErrExpectedInA[] = u"Expected \"in a\"";
// Raised at a search word or tag name longer than kMaxWordLength.
inline constexpr char16_t kQErrWordTooLong[] = u"Search word too long";
// Raised when "in" ends the query with no range after it.
inline constexpr char16_t kQErrMissingRange[] = u"Missing range after \"in\"";
// Raised at the token where the tree would grow deeper than kMaxLevels.
inline constexpr char16_t kQErrTooComplex[] = u"Query too complex";

class CQToken {
 public:
  // `context` (borrowed) names the lines and is handed to the nodes made;
  // it must outlive them. `sink` (may be null) receives the echo.
  CQToken(std::u16string text, CQueryContext* context, CQueryEchoSink* sink);
  // Hands the rest of the text to the sink.
  virtual ~CQToken();
  CQToken(const CQToken&) = delete;
  CQToken& operator=(const CQToken&) = delete;

  // Each parse operation returns false when it failed; the error is then
  // set. Later operations fail at once while an error is set.

  // A term: on "(" sets `*group` and makes no node (the caller parses the
  // group); else a term node in `*term`.
  [[nodiscard]] bool ParseTerm(std::unique_ptr<CQBit>* term, bool* group);
  // An operator with its proximity clause: `*op` is the new compound, or
  // null when the chain ends here (end of text, "in", or the ")" of an open
  // group).
  [[nodiscard]] bool ParseOperator(std::unique_ptr<CQCompound>* op);
  // The optional clause after intersect or except; always makes a proximity
  // on success.
  [[nodiscard]] bool ParseProximity(std::unique_ptr<CQProximity>* proximity);
  // The optional qualifier after a search word; `*position` stays null when
  // none stands there.
  [[nodiscard]] bool ParsePosition(std::unique_ptr<CQPosition>* position);

  // After the expression: skips to the "in" that ends it and returns the
  // index just after that token; the text's length when there is none.
  // An "in" with nothing but blanks after it sets the error.
  int32_t FindRangesStart();

  bool HasError() const { return error_ != nullptr; }
  const CQError* GetError() const { return error_.get(); }
  QErrorPtr TakeError() { return std::move(error_); }
  CQText& GetScanner() { return text_; }
  CQueryContext* GetContext() const { return context_; }
  int32_t GetDepth() const { return depth_; }

  // Hands the text not yet echoed to the sink (done by the destructor too).
  void FinishEcho();

  // Groups and operators nest the tree one level each, and every walk over
  // the tree recurses through its levels; a pasted text of thousands of
  // operators must not exhaust the stack.
  static constexpr int32_t kMaxLevels = 500;
  // No form, gloss or tag name comes near this many UTF-16 code units; a
  // longer search word is a pasted accident and would only cost matching
  // time over every form.
  static constexpr size_t kMaxWordLength = 256;
  // Counts one more level for the chain or group being parsed; false (with
  // the error set) beyond kMaxLevels. Each successful call is paired with
  // LeaveLevel.
  bool EnterLevel();
  void LeaveLevel() { --levels_; }

 private:
  // Sets the error at the current token; false, for `return Fail(...)`.
  bool Fail(const char16_t* message);
  bool Fail(const std::u16string& message) { return Fail(message.c_str()); }
  // The messages that say what would have been valid where the query went
  // wrong: the keywords of this database, the units, what to type.
  std::u16string UnknownKeyword(const std::u16string& token) const;
  std::u16string EmptyQuery() const;
  // The last character index of the token just consumed.
  int32_t LastConsumed() const { return text_.GetTokenLast(); }
  void Echo(const CVornDBLine* line);

  CQText text_;
  CQueryContext* context_;
  int32_t depth_ = 0;
  int32_t levels_ = 0;
  QErrorPtr error_;
  CQueryEchoSink* sink_;
  int32_t echo_ = 0;
};

}  // namespace vorn
