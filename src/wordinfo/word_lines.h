// The word lines: what each kind of database line shows about one word in
// the interlinear stack, in rich and plain text, and in the word-details
// panel and tips. The database lines make them through the factories of
// word_line_factories.h.
#pragma once

#include <string>
#include <vector>

#include "textdb/link_params.h"
#include "textdb/word_line.h"

namespace vorn {

class CVornDBOrdinaryLine;

// A line whose value is the word's text in it: "Form", "Tlit" and every
// line without a role.
class CWordOrdinaryLine : public CWordLine {
 public:
  // Holds the word's text in variant 0; a line that is not a form line
  // gives an empty text.
  CWordOrdinaryLine(WordIndex word, CVornDBLine* line);

  // " - 1 occurrence" or " - N occurrences" in the panel font.
  int DrawCount(CDetailsMetrics& details, int x, int y) override;
  Point DrawDetails(CDetailsMetrics& details, int x, int y) override;
  // (0, 0, text width, text height of the font).
  Rect Measure(const CFontFormat& font, const CViewMetrics* metrics) override;
  void Draw(const CFontFormat& font, const CViewMetrics* metrics, int x, int y,
            bool right_to_left) override;
  std::u16string GetExportText(const CFontFormat& font, const CViewMetrics* metrics) override;
  std::u16string GetPlainText() override { return text_; }
  // Fetches the text of variant n (the main text when the line has no such
  // variant).
  void SetVariant(int variant) override;
  // One entry per variant text, from variant 0 on, up to the line's last
  // variant; empty texts are left out.
  void AddToMenu(CWordMenu* menu, uint32_t first_command) override;
  uint32_t GetOccurrenceCount() const override;

  const std::u16string& GetText() const { return text_; }
  int GetVariant() const { return variant_; }

 protected:
  // The position of the line in its database, for the details fonts.
  int GetLineIndex() const { return line_index_; }

  std::u16string text_;

 private:
  CVornDBOrdinaryLine* ordinary_;
  int variant_ = 0;
  int line_index_ = -1;
};

// "Tag": the grammar tag. The interlinear line shows it as stored when the
// drawing direction matches the database line's, else its space-separated
// parts in reverse order; details and tips show its description.
class CWordTagLine : public CWordOrdinaryLine {
 public:
  using CWordOrdinaryLine::CWordOrdinaryLine;

  Point DrawDetails(CDetailsMetrics& details, int x, int y) override;
  void Draw(const CFontFormat& font, const CViewMetrics* metrics, int x, int y,
            bool right_to_left) override;
  std::u16string GetExportText(const CFontFormat& font, const CViewMetrics* metrics) override;

  // The decoder's reading of the tag; the tag itself without a decoder.
  std::u16string GetDescription() const;
  // The tag as shown on a line of the given direction.
  std::u16string GetShownTag(bool right_to_left) const;
};

// A value split into pieces that alternate between the main style (the
// line's font) and the alternate style (its small font, raised to the top
// of the line). Right-to-left lines draw the pieces in reverse order.
class CWordLineSS : public CWordOrdinaryLine {
 public:
  using CWordOrdinaryLine::CWordOrdinaryLine;

  Rect Measure(const CFontFormat& font, const CViewMetrics* metrics) override;
  void Draw(const CFontFormat& font, const CViewMetrics* metrics, int x, int y,
            bool right_to_left) override;
  std::u16string GetExportText(const CFontFormat& font, const CViewMetrics* metrics) override;
  void SetVariant(int variant) override;

  // The pieces, split on first use, and whether the first is in the
  // alternate style.
  const std::vector<std::u16string>& GetPieces();
  bool FirstIsAlternate();
  // Whether piece i is in the alternate style.
  bool IsAlternate(size_t i);

 protected:
  virtual void Split(const std::u16string& text, std::vector<std::u16string>* pieces,
                     bool* first_alternate) const = 0;
  int PiecesWidth(const CFontFormat& font);
  void DrawPieces(const CFontFormat& font, int x, int y, bool right_to_left);
  std::u16string PiecesRtf(const CFontFormat& font);

 private:
  void EnsureSplit();
  bool split_ = false;
  bool first_alternate_ = false;
  std::vector<std::u16string> pieces_;
};

// "Glos": the gloss, split into runs of non-digits and digits (the digits in
// the alternate style), with the marks that group the glosses of several
// words drawn before and after it in the view's mark colour.
class CWordGlossLine : public CWordLineSS {
 public:
  CWordGlossLine(WordIndex word, CVornDBLine* line);

  // The gloss in quotation marks, main-style pieces only, without a final
  // punctuation mark other than ")" and "]"; "No gloss available" for an
  // empty gloss.
  Point DrawDetails(CDetailsMetrics& details, int x, int y) override;
  // Widened to the left by the prefix mark and to the right by the suffix.
  Rect Measure(const CFontFormat& font, const CViewMetrics* metrics) override;
  void Draw(const CFontFormat& font, const CViewMetrics* metrics, int x, int y,
            bool right_to_left) override;
  std::u16string GetExportText(const CFontFormat& font, const CViewMetrics* metrics) override;
  // Marks, gloss, marks.
  std::u16string GetPlainText() override { return prefix_ + text_ + suffix_; }

  // What the details show, without the quotation marks.
  std::u16string GetDetailsGloss();
  const std::u16string& GetPrefixMark() const { return prefix_; }
  const std::u16string& GetSuffixMark() const { return suffix_; }

  // A mark as a right-to-left line shows it: reversed, with the opening and
  // closing characters of `from` turned into those of `to`.
  static std::u16string MirrorMark(std::u16string_view mark, std::u16string_view from,
                                   std::u16string_view to);

 protected:
  void Split(const std::u16string& text, std::vector<std::u16string>* pieces,
             bool* first_alternate) const override;

 private:
  std::u16string prefix_;
  std::u16string suffix_;
};

// "Lema": the base form; groups "(" digit ... ")" (homonym numbers) are in
// the alternate style.
class CWordLemaLine : public CWordLineSS {
 public:
  using CWordLineSS::CWordLineSS;

 protected:
  void Split(const std::u16string& text, std::vector<std::u16string>* pieces,
             bool* first_alternate) const override;
};

// "Links": the word's notes and links to other programs.
class CWordLinks : public CWordLine {
 public:
  // Reads the word's links from the links line (none from another line).
  CWordLinks(WordIndex word, CVornDBLine* line);

  // "Notes:" in bold on a row of its own when any link has a details text;
  // then each link with a details text on a new row indented by two spaces
  // ("title: text"), unless it follows a link of the same group, which it
  // joins on the same row; other links join the current row. Returns the x
  // after the widest row; nothing (y unchanged) when no link shows anything.
  Point DrawDetails(CDetailsMetrics& details, int x, int y) override;
  // The same, a link's line made from its kind's "Tip" template where the
  // kind has one.
  Point DrawTip(CDetailsMetrics& details, int x, int y) override;
  Rect Measure(const CFontFormat& font, const CViewMetrics* metrics) override;
  void Draw(const CFontFormat& font, const CViewMetrics* metrics, int x, int y,
            bool right_to_left) override;
  std::u16string GetExportText(const CFontFormat& font, const CViewMetrics* metrics) override;
  // The full texts of the links, joined with ", ". The interlinear box
  // (Measure, Draw, GetExportText) shows each link shortened instead.
  std::u16string GetPlainText() override;
  // What the interlinear box shows: each link's ShortText, joined with ", ".
  std::u16string GetInterlinearText() const;
  // Each link with a text; the command is first_command + its index.
  void AddToMenu(CWordMenu* menu, uint32_t first_command) override;

  const std::vector<CPVLink>& GetLinks() const { return links_; }
  // A link's title and line in the details panel: its kind's "DetailsT" and
  // "DetailsL" expanded ("" when the kind has none).
  static std::u16string DetailsTitle(const CPVLink& link);
  static std::u16string DetailsLine(const CPVLink& link);

  // Link texts can be whole dictionary articles; a word box as wide as one
  // would run far past the pane. A text of more than kMaxShortChars
  // characters (combining marks belong to their base) is cut after its last
  // whole word within that many, or inside the word when the first word is
  // already longer; trailing blanks and punctuation go and "…" follows.
  // Shorter texts come back unchanged.
  static constexpr size_t kMaxShortChars = 20;
  static std::u16string ShortText(std::u16string_view text);

 private:
  // The details rows, or the tip's (`tip`).
  Point DrawLinks(CDetailsMetrics& details, int x, int y, bool tip);

  std::vector<CPVLink> links_;
  int line_index_ = -1;
};

}  // namespace vorn
