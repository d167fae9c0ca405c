// The formatted query text: the query as typed, each search word wrapped in
// the face of the line it searches ("<Gentium Plus>λόγος</Gentium Plus>"),
// so that a query recalled from the list shows its words in their fonts.
// This is the form the query list and the settings keep.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "query/query_token.h"
#include "textdb/font_format.h"

namespace vorn {

class CFmtStr : public CQueryEchoSink {
 public:
  struct Piece {
    std::u16string text;
    // Empty for a plain piece; else the face name, and whether the tag
    // carried ",R2L".
    std::u16string face;
    bool right_to_left = false;
  };

  CFmtStr() = default;
  // Reads a formatted text back into pieces (see Parse).
  explicit CFmtStr(std::u16string_view formatted) { Parse(formatted); }

  // The parser's echo: a plain piece, or a search word tagged with the face
  // of `line`'s display font.
  void AddPiece(std::u16string_view text, const CVornDBLine* line) override;
  void AddPlain(std::u16string_view text);
  void AddFormatted(std::u16string_view text, std::u16string_view face, bool right_to_left);

  // Replaces the content by the pieces of `formatted`. Tags do not nest: an
  // opening tag counts only while none is open, a closing tag only when it
  // closes the open one; every other "<" is ordinary text, as is a "<"
  // without a ">" after it.
  void Parse(std::u16string_view formatted);

  // The formatted text, tags included.
  const std::u16string& GetText() const { return text_; }
  // The text as the query box shows it: the pieces without their tags.
  std::u16string GetPlainText() const;
  const std::vector<Piece>& GetPieces() const { return pieces_; }

  // The format a piece is shown in: `base` with the piece's face and
  // direction when it has a face.
  static CFontFormat PieceFormat(const Piece& piece, const CFontFormat& base);

 private:
  std::u16string text_;
  std::vector<Piece> pieces_;
};

}  // namespace vorn
