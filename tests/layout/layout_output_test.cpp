// The writers: table rows in both directions, running rich text, plain
// text, and what word boxes, reference lists and user tags put into them.
#include <gtest/gtest.h>

#include <filesystem>

#include "layout/layout_fixture.h"
#include "layout/layout_kinds.h"
#include "layout/layout_tags.h"
#include "layout/layout_units.h"
#include "markup/tag_db.h"
#include "markup/view_tags.h"
#include "metrics/rich_text.h"
#include "temp_folder.h"

namespace vorn {
namespace {

using namespace vorn::testing;

std::u16string Row(const CLayoutLine& line) {
  std::u16string out;
  line.WriteRtfRow(&out);
  return out;
}

TEST(RtfRowTest, LeftToRightCellsRunFromTheIndent) {
  TestView view(MakeGreekTestSource());
  view.Prepare(480, 400);
  CViewMetrics* m = view.metrics();
  ASSERT_EQ(m->GetResolution(), 96);
  ASSERT_EQ(m->GetSpaceUnit(), 10);  // 150 twips: a cell gap of 37

  CLayoutLine line(m, 0, nullptr);
  auto a = Fixed(m, 48, 1, u"A");  // 720 twips
  auto b = Fixed(m, 24, 2, u"B");  // 360 twips
  line.Append(a, false);
  line.Append(b, false);
  EXPECT_EQ(Row(line),
            u"\\pard\\intbl\\keep\\keepn\r\n"
            u"\\trowd\\trgaph37\\trleft0\\cellx720\\cellx1080\r\n"
            u"A\\cell\r\nB\\cell\r\n"
            u"\\row\r\n\\pard\\par\r\n");

  // An indent is an empty first cell; cell formats stand on lines of their
  // own before their cell.
  CLayoutLine indented(m, 24, nullptr);
  auto c = Fixed(m, 48, 1, u"C");
  static_cast<FixedBox*>(c.get())->cell_format = u"\\clbrdrt";
  indented.Append(c, false);
  EXPECT_EQ(Row(indented),
            u"\\pard\\intbl\\keep\\keepn\r\n"
            u"\\trowd\\trgaph37\\trleft0\\cellx360\r\n\\clbrdrt\\cellx1080\r\n"
            u"\\cell\r\nC\\cell\r\n"
            u"\\row\r\n\\pard\\par\r\n");
}

TEST(RtfRowTest, RightToLeftCellsRunFromTheRightEdge) {
  TestView view(MakeGreekTestSource());
  view.Prepare(480, 400);  // 7200 twips
  CViewMetrics* m = view.metrics();
  m->SetRightToLeft(true);

  CLayoutLine line(m, 24, nullptr);  // 360 twips
  auto w = Fixed(m, 96, 1, u"W");    // 1440 twips
  line.Append(w, false);
  EXPECT_EQ(Row(line),
            u"\\pard\\intbl\\keep\\keepn\\qr\\rtlpar\r\n"
            u"\\trowd\\trgaph37\\ltrrow\\trleft5400\\cellx6840\\cellx7200\r\n"
            u"W\\cell\r\n\\cell\r\n"
            u"\\row\r\n\\pard\\par\r\n");

  // The first box is the rightmost cell.
  CLayoutLine two(m, 0, nullptr);
  auto a = Fixed(m, 48, 1, u"A");
  auto b = Fixed(m, 24, 2, u"B");
  two.Append(a, false);
  two.Append(b, false);
  EXPECT_EQ(Row(two),
            u"\\pard\\intbl\\keep\\keepn\\qr\\rtlpar\r\n"
            u"\\trowd\\trgaph37\\ltrrow\\trleft6120\\cellx6480\\cellx7200\r\n"
            u"B\\cell\r\nA\\cell\r\n"
            u"\\row\r\n\\pard\\par\r\n");

  // Boxes wider than the view stop at its left edge.
  CLayoutLine wide(m, 0, nullptr);
  auto x = Fixed(m, 600, 1, u"X");
  wide.Append(x, false);
  EXPECT_NE(Row(wide).find(u"\\trleft0\\cellx7200\r\n"), std::u16string::npos);
}

// A unit of three boxes a, b, c that wraps after b.
class AbcUnit : public CLayoutUnit {
 public:
  AbcUnit(CVornDB* db, CViewMetrics* m, bool break_after_a)
      : CLayoutUnit(db, m), break_(break_after_a) {
    SetRange(0, 3);
  }
  void LayoutBody() override {
    CLayoutLine* line = AddBodyLine(0, nullptr);
    const char16_t* texts[] = {u"a", u"b", u"c"};
    for (WordIndex w = 0; w < 3; ++w) {
      auto box = Fixed(metrics_, 30, w, texts[w]);
      if (!line->Append(box, false)) {
        line = AddBodyLine(0, nullptr);
        line->Append(box, false);
      }
      if (w == 0 && break_) {
        line->SetEndsParagraph(true);
        line = AddBodyLine(0, nullptr);
      }
    }
  }

 private:
  bool break_;
};

TEST(PlainTextTest, LinesOfAUnitRunOnUnlessAForcedBreakEndsThem) {
  TestView view(MakeGreekTestSource());
  view.Prepare(80, 400);
  AbcUnit unit(view.db(), view.metrics(), false);
  unit.EnsureLaidOut();
  ASSERT_EQ(unit.GetBodyLines().size(), 2u);
  std::u16string text;
  unit.WriteText(&text);
  EXPECT_EQ(text, u"a b c\r\n");

  AbcUnit broken(view.db(), view.metrics(), true);
  broken.EnsureLaidOut();
  text.clear();
  broken.WriteText(&text);
  EXPECT_EQ(text, u"a\r\nb c\r\n");

  // A unit cut short is not closed.
  AbcUnit trimmed(view.db(), view.metrics(), false);
  trimmed.SetRange(0, 2);
  trimmed.EnsureLaidOut();
  text.clear();
  trimmed.WriteText(&text);
  EXPECT_EQ(text, u"a b c");

  // Lines that only wrapped run on without their indent.
  view.metrics()->SetSize(260, 400);
  CLayoutUnitVerse verse(view.db(), view.metrics(), kMat1v2);
  verse.EnsureLaidOut();
  ASSERT_GT(verse.GetBodyLines().size(), 1u);
  ASSERT_GT(verse.GetBodyLines()[1]->GetIndent(), 0);
  text.clear();
  verse.WriteText(&text);
  EXPECT_EQ(Utf8(text), "2 Καὶ ὁ λόγος ἦν πρὸς τὸν θεόν.\r\n");

  std::u16string rtf;
  unit.WriteRtfText(&rtf);
  EXPECT_EQ(rtf, u"\\pard\r\na b c\\par\r\n\r\n");
  rtf.clear();
  trimmed.WriteRtfText(&rtf);
  EXPECT_EQ(rtf, u"\\pard\r\na b c\r\n");
}

TEST(PlainTextTest, VerseAndChapterNumbersLeadTheFirstWord) {
  TestView view(MakeGreekTestSource());
  view.Prepare(2000, 400);
  CVerseLayout layout(view.db(), view.metrics());
  layout.BuildForSelection(Words(0, kGreekWords));
  std::u16string text;
  layout.WriteText(&text);
  const std::string t = Utf8(text);
  // Chapter 1 verse 1: the chapter number alone; a verse inside a chapter:
  // its label; the first verse of a chapter with another label: both.
  EXPECT_NE(t.find("\t\t\tΚΑΤΑ ΜΑΘΘΑΙΟΝ According to Matthew\r\n"), std::string::npos) << t;
  EXPECT_NE(t.find("\r\n1 Ἐν ἀρχῇ ἦν ὁ λόγος.\r\n2 Καὶ ὁ λόγος ἦν πρὸς τὸν θεόν.\r\n"),
            std::string::npos);
  EXPECT_NE(t.find("\r\n2 Ἄνθρωπος λέγει.\r\n2a Ὁ Λόγος εἶπεν,\r\n"), std::string::npos);
  EXPECT_NE(t.find("\r\n3:16 Θεὸς λέγει καὶ ἄνθρωπος.\r\n"), std::string::npos);

  // Copy as Text shows the top visible line only.
  view.ShowOnly(kGlossLine);
  layout.BuildForSelection(Words(kJhn3v16, kGreekWords));
  text.clear();
  layout.WriteText(&text);
  EXPECT_EQ(Utf8(text), "3:16 God says and man\r\n");
}

TEST(RunningRtfTest, ParagraphsAndHitVersesIndentAsOnScreen) {
  TestView view(MakeGreekTestSource());
  view.Prepare(2000, 400);
  view.ShowOnly(kTagLine);                             // 9 points: 12 pixels, a space unit of 6
  ASSERT_EQ(view.metrics()->GetStandardIndent(), 24);  // 360 twips

  CParaLayout para(view.db(), view.metrics());
  para.BuildForSelection(Words(kMat1v1, kMat1v3));
  std::u16string rtf;
  para.WriteRtfText(&rtf);
  EXPECT_EQ(rtf.substr(0, 42), RtfDocumentStart().substr(0, 42));
  EXPECT_NE(rtf.find(u"\\pard\\fi360\\li0\r\n"), std::u16string::npos);
  // Headings are paragraphs of their own, centred by their indent.
  EXPECT_NE(rtf.find(u"According to Matthew}\r\n\\par\r\n"), std::u16string::npos);
  // The selection ends inside the paragraph: it stays open.
  EXPECT_EQ(rtf.substr(rtf.size() - 8), u"}\r\n\r\n}\r\n");

  CDBWordList hits;
  hits.Push(kMat1v2 + 3);
  CHitVersesLayout verses(view.db(), view.metrics(), &hits);
  verses.BuildForSelection({kMat1v2 + 3});
  ASSERT_EQ(verses.GetUnits().size(), 1u);
  const CLayoutUnit& unit = *verses.GetUnits()[0];
  ASSERT_FALSE(unit.GetBodyLines().empty());
  const int ref = PixelsToTwips(unit.GetBodyLines()[0]->GetBoxes()[0]->GetWidth(), 96);
  rtf.clear();
  verses.WriteRtfText(&rtf);
  const std::u16string indent =
      platform::ToU16("\\pard\\fi-" + std::to_string(ref) + "\\li" + std::to_string(ref) + "\r\n");
  EXPECT_NE(rtf.find(indent), std::u16string::npos) << Utf8(rtf);
  EXPECT_NE(rtf.find(u"Mat 1:2}\r\n {"), std::u16string::npos);
}

TEST(RtfTableTest, WordCellsStackTheirLinesUnderTheVerseNumber) {
  TestView view(MakeGreekTestSource());
  view.Prepare(2000, 400);
  view.ShowOnly(kFormLine);
  view.metrics()->SetLineVisible(kGlossLine, true);
  CVerseLayout layout(view.db(), view.metrics());
  layout.BuildForSelection(Words(kJhn3v16, kJhn3v16 + 1));
  std::u16string rtf;
  layout.WriteRtfTable(&rtf);
  const CFontFormat& chapter = view.metrics()->GetVerseFont(CViewMetrics::kChapterFont);
  const CFontFormat& verse = view.metrics()->GetVerseFont(CViewMetrics::kVerseFont);
  const CFontFormat& form = view.metrics()->GetLineFont(kFormLine);
  const CFontFormat& gloss = view.metrics()->GetLineFont(kGlossLine);
  const std::u16string cell = RtfRun(chapter, u"3", true) + RtfRun(verse, u"16", true) + u" " +
                              RtfRun(form, u"Θεὸς") + u"\\par\r\n" + RtfRun(gloss, u"God") +
                              u"\\cell\r\n";
  EXPECT_NE(rtf.find(cell), std::u16string::npos) << Utf8(rtf);
  // One row, then the unit's blank lines, then the document's end.
  const std::u16string tail = u"\\row\r\n\\pard\\par\r\n\r\n\r\n}\r\n";
  EXPECT_EQ(rtf.substr(rtf.size() - tail.size()), tail);
}

TEST(RtfTableTest, HebrewRowsRunRightToLeft) {
  TestView view(MakeHebrewTestSource());
  view.Prepare(600, 400);
  CVerseLayout layout(view.db(), view.metrics());
  layout.BuildForSelection(Words(kGen1v2, kGen1v3));
  std::u16string rtf;
  layout.WriteRtfTable(&rtf);
  EXPECT_NE(rtf.find(u"\\pard\\intbl\\keep\\keepn\\qr\\rtlpar\r\n\\trowd"), std::u16string::npos);
  // The last cell ends at the view's right edge, 600 pixels = 9000 twips.
  EXPECT_NE(rtf.find(u"\\cellx9000\r\n"), std::u16string::npos);
  // Right-to-left text keeps its embedding in the runs.
  EXPECT_NE(rtf.find(u"\\rtlch\\cf1 \\u8235?"), std::u16string::npos);
}

TEST(RefsOutputTest, TheHeadingCountsTheHits) {
  TestView view(MakeGreekTestSource());
  view.Prepare(600, 400);
  auto heading = [&](const CDBWordList& hits, WordIndex first, WordIndex end) {
    CRefsLayout layout(view.db(), view.metrics(), &hits);
    std::unique_ptr<CLayoutUnit> unit = layout.CreateUnit(0);
    if (first != 0 || end != -1) unit->SetRange(first, end);
    unit->EnsureLaidOut();
    std::u16string text;
    unit->WriteText(&text);
    // The heading line is centred: its indent comes out as TABs.
    return Utf8(text.substr(text.find_first_not_of(u'\t')));
  };
  CDBWordList none, one, two;
  one.Push(3);
  two.Push(3);
  two.Push(45);
  EXPECT_EQ(heading(none, 0, -1), "0 of 0 occurrences:\r\n\r\n");
  EXPECT_EQ(heading(one, 0, -1), "1 occurrence:\r\nMat 1:1\r\n");
  EXPECT_EQ(heading(two, 0, -1), "2 occurrences:\r\nMat 1:1; Jhn 1:2\r\n");
  // A list cut to part of the text counts what it shows of the whole.
  EXPECT_EQ(heading(two, 0, 10), "1 of 2 occurrences:\r\nMat 1:1");
}

// --- User tags on words.

class TaggedViewTest : public ::testing::Test {
 protected:
  TaggedViewTest()
      : folder_("layout_tags"),
        tag_(CTagDB::Place{u"TGNT", "", folder_.path(), kGreekWords}, u"", u"Theme", &sink_),
        markup_(&shown_),
        view_(MakeGreekTestSource(), &markup_) {
    TagStyle style;
    style.new_line = 1;
    style.indent = 2;
    style.end_line = 1;
    style.indent_next = 1;
    style.bracket_position = kBracketBegin | kBracketEnd | kBracketAbove;
    style.bracket_style = kBracketDots;
    style.bracket_colour = 5;  // Red
    tag_.SetStyle(style);
    tag_.SetLabel(u"Th");
    tag_.ToggleRange(7, 9);
    shown_.ToggleTag(&tag_);
    view_.Prepare(3000, 400);
  }
  ~TaggedViewTest() override {
    sink_.ScriptAnswer(platform::MsgAnswer::kCancel);
    shown_.ReleaseTags();
  }

  TempFolder folder_;
  platform::CRecordingMessageSink sink_;
  CTagDB tag_;
  CViewTags shown_;
  CViewTagsMarkup markup_;
  TestView view_;
};

TEST_F(TaggedViewTest, TagsBreakLinesAndWriteLabelsAndBorders) {
  CLayoutUnitVerse unit(view_.db(), view_.metrics(), kMat1v2);
  unit.EnsureLaidOut();
  const auto& lines = unit.GetBodyLines();
  ASSERT_EQ(lines.size(), 3u);
  const int step = view_.metrics()->GetStandardIndent();
  EXPECT_EQ(lines[1]->GetFirstWord(), 7);
  EXPECT_EQ(lines[1]->GetIndent(), 2 * step);
  EXPECT_EQ(lines[2]->GetFirstWord(), 10);
  EXPECT_EQ(lines[2]->GetIndent(), step);

  std::u16string text;
  unit.WriteText(&text);
  EXPECT_EQ(Utf8(text), "2 Καὶ ὁ\r\n\t\t<Th>λόγος ἦν πρὸς<Th>\r\n\tτὸν θεόν.\r\n");

  const std::u16string red = u"\\brdrw15\\brdrdot\\brdrcf5";
  const auto& boxes = lines[1]->GetBoxes();
  EXPECT_EQ(boxes[0]->GetCellFormat(false), u"\\clbrdrl" + red + u"\\clbrdrt" + red);
  EXPECT_EQ(boxes[0]->GetCellFormat(true), u"\\clbrdrr" + red + u"\\clbrdrt" + red);
  EXPECT_EQ(boxes[1]->GetCellFormat(false), u"\\clbrdrt" + red);
  EXPECT_EQ(boxes[2]->GetCellFormat(false), u"\\clbrdrr" + red + u"\\clbrdrt" + red);
  EXPECT_EQ(lines[0]->GetBoxes()[0]->GetCellFormat(false), u"");
  EXPECT_NE(Row(*lines[1]).find(u"\\trleft0\\cellx"), std::u16string::npos);
  EXPECT_NE(Row(*lines[1]).find(u"\r\n\\clbrdrl" + red), std::u16string::npos);

  // The begin label widens the first word's box on its leading side.
  const auto* tagged = static_cast<const CLayoutBoxWord*>(boxes[0].get());
  EXPECT_GT(tagged->GetWordMetrics().begin_mark_width(), 0);

  // Drawing: the label before the word, dotted red edges over the box.
  view_.device().ClearCalls();
  unit.Draw(0);
  int dotted = 0;
  bool label = false;
  for (const DrawCall& c : view_.device().calls()) {
    if (c.kind == DrawCall::Kind::kLine && c.pen.style == PenStyle::kDot) {
      EXPECT_EQ(c.pen.colour, RgbOf(255, 0, 0));
      ++dotted;
    }
    if (c.kind == DrawCall::Kind::kText && c.text == u"Th") label = true;
  }
  EXPECT_EQ(dotted, 5);  // three tops, the leading and the trailing edge
  EXPECT_TRUE(label);
}

}  // namespace
}  // namespace vorn
