// The layout model: line breaking and indents, user-tag breaks, mirroring,
// scrolling and rebuilding, hit testing, caret moves and page filling.
#include <gtest/gtest.h>

#include "layout/layout_fixture.h"
#include "layout/layout_kinds.h"
#include "layout/layout_line.h"
#include "layout/layout_units.h"

namespace vorn {
namespace {

using namespace vorn::testing;

// --- Lines.

TEST(LayoutLineTest, BreaksWhenFullAndSqueezesTheIndentWhenForced) {
  TestView view(MakeGreekTestSource());
  view.Prepare(100, 400);
  CViewMetrics* m = view.metrics();

  CLayoutLine line(m, 30, nullptr);
  auto a = Fixed(m, 50, 3);
  EXPECT_TRUE(line.Append(a, false));
  EXPECT_EQ(a, nullptr);
  EXPECT_EQ(line.GetRight(), 80);
  auto b = Fixed(m, 30, 1);
  EXPECT_FALSE(line.Append(b, false));
  ASSERT_NE(b, nullptr);  // a refused box stays with the caller
  EXPECT_TRUE(line.Append(b, true));
  EXPECT_EQ(line.GetIndent(), 20);
  EXPECT_EQ(line.GetRight(), 100);
  EXPECT_EQ(line.GetFirstWord(), 1);
  EXPECT_EQ(line.GetEndWord(), 4);

  // A word wider than the window gets a line of its own, indent 0.
  CLayoutLine wide(m, 40, nullptr);
  auto c = Fixed(m, 150, 7);
  EXPECT_TRUE(wide.Append(c, false));
  EXPECT_EQ(wide.GetIndent(), 0);
  EXPECT_EQ(wide.GetRight(), 150);

  // An indent deeper than the room left shrinks rather than leaving the
  // line empty.
  CLayoutLine deep(m, 90, nullptr);
  auto d = Fixed(m, 30, 8);
  EXPECT_TRUE(deep.Append(d, false));
  EXPECT_EQ(deep.GetIndent(), 70);

  // Prepending within a limit.
  CLayoutLine front(m, 0, nullptr);
  auto e = Fixed(m, 50, 10);
  front.Append(e, false);
  auto f = Fixed(m, 20, 9);
  EXPECT_FALSE(front.Prepend(f, 60, false));
  auto g = Fixed(m, 10, 9);
  EXPECT_TRUE(front.Prepend(g, 60, false));
  EXPECT_EQ(front.GetBoxes().front()->GetWordIndex(), 9);
  EXPECT_EQ(front.GetRight(), 60);
  EXPECT_EQ(front.GetHeight(), 10);
}

TEST(LayoutLineTest, RightToLeftLinesMirrorDrawingHitTestingAndCaretPositions) {
  TestView view(MakeGreekTestSource());
  view.Prepare(200, 400);
  CViewMetrics* m = view.metrics();
  m->SetRightToLeft(true);

  CLayoutLine line(m, 10, nullptr);
  auto a = Fixed(m, 50, 1);
  auto b = Fixed(m, 30, 2);
  auto* pa = static_cast<FixedBox*>(a.get());
  auto* pb = static_cast<FixedBox*>(b.get());
  line.Append(a, false);
  line.Append(b, false);
  ASSERT_TRUE(line.IsRightToLeft());
  line.Draw(0);
  // The first box stands at the right edge, less the indent.
  EXPECT_EQ(pa->drawn_at, 190);
  EXPECT_EQ(pb->drawn_at, 140);
  EXPECT_TRUE(pa->drawn_rtl);

  int left = -1;
  EXPECT_EQ(line.HitTest(185, &left), pa);
  EXPECT_EQ(left, 140);
  EXPECT_EQ(line.HitTest(120, &left), pb);
  EXPECT_EQ(left, 110);
  EXPECT_EQ(line.HitTest(195, &left), nullptr);  // in the indent
  EXPECT_EQ(line.HitTest(50, &left), nullptr);   // past the last box

  EXPECT_EQ(line.WordCentreX(1), 165);
  EXPECT_EQ(line.WordAtX(165), 1);
  EXPECT_EQ(line.WordAtX(199), 1);  // right of the start: the first word
  EXPECT_EQ(line.WordAtX(5), 2);    // past the end: the last word

  // A line with a left-to-right font keeps its direction in this view.
  const CFontFormat& heading = m->GetHeadingFont(1);
  CLayoutLine heading_line(m, 0, &heading);
  EXPECT_FALSE(heading_line.IsRightToLeft());

  m->SetRightToLeft(false);
  line.Draw(0);
  EXPECT_EQ(pa->drawn_at, 10);
  EXPECT_EQ(pb->drawn_at, 60);
  EXPECT_EQ(line.WordAtX(61), 2);
}

TEST(LayoutLineTest, CaretSkipsBlankBoxes) {
  TestView view(MakeGreekTestSource());
  view.Prepare(200, 400);
  CViewMetrics* m = view.metrics();
  CLayoutLine line(m, 0, nullptr);
  std::unique_ptr<CLayoutBox> bar = std::make_unique<CLayoutBoxSpace>(m, 20, 10, true);
  auto word = Fixed(m, 40, 5);
  line.Append(bar, false);
  line.Append(word, false);
  EXPECT_EQ(line.WordAtX(10), 5);
  EXPECT_EQ(line.GetFirstWord(), 5);
  m->SelectWord(5, true);
  EXPECT_EQ(line.GetPreferredWord(), 5);
}

// --- Indents.

TEST(LayoutIndentTest, ParagraphCodesIndentByTheirLastCharacter) {
  struct Case {
    const char16_t* code;
    int first, continuation;
  } cases[] = {{u"", 0, 0},   {u"m", 0, 0},  {u"p", 1, 0},       {u"q", 1, 1}, {u"q2", 2, 2},
               {u"mq", 1, 1}, {u"qm", 0, 0}, {u"poetry1", 1, 1}, {u"x", 0, 0}};
  for (const Case& c : cases) {
    int first = -1, continuation = -1;
    ParagraphIndentSteps(c.code, &first, &continuation);
    EXPECT_EQ(first, c.first) << Utf8(c.code);
    EXPECT_EQ(continuation, c.continuation) << Utf8(c.code);
  }
}

TEST(LayoutIndentTest, WrappedVerseLinesStartOneStepIn) {
  TestView view(MakeGreekTestSource());
  view.Prepare(260, 400);
  CLayoutUnitVerse unit(view.db(), view.metrics(), kMat1v2);
  unit.EnsureLaidOut();
  const int step = view.metrics()->GetStandardIndent();
  ASSERT_GT(step, 0);
  const auto& lines = unit.GetBodyLines();
  ASSERT_GE(lines.size(), 2u);
  EXPECT_EQ(lines[0]->GetIndent(), 0);
  WordIndex next = kMat1v2;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) {
      EXPECT_EQ(lines[i]->GetIndent(), step);
    }
    EXPECT_EQ(lines[i]->GetFirstWord(), next);
    next = lines[i]->GetEndWord();
    EXPECT_TRUE(lines[i]->GetRight() <= 260 || lines[i]->GetBoxes().size() == 1);
  }
  EXPECT_EQ(next, kMat1v3);
}

TEST(LayoutIndentTest, UserTagsForceBreaksWithTheirLevels) {
  HintMarkup markup;
  markup.NewLineBefore(7, 2);
  markup.EndLineAfter(9, 1);
  markup.NewLineBefore(kMat1v3, 1);  // at the start of a unit: only indents
  TestView view(MakeGreekTestSource(), &markup);
  view.Prepare(3000, 400);
  const int step = view.metrics()->GetStandardIndent();

  CLayoutUnitVerse verse(view.db(), view.metrics(), kMat1v2);
  verse.EnsureLaidOut();
  const auto& lines = verse.GetBodyLines();
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0]->GetEndWord(), 7);
  EXPECT_TRUE(lines[0]->EndsParagraph());
  EXPECT_EQ(lines[1]->GetIndent(), 2 * step);
  EXPECT_EQ(lines[1]->GetFirstWord(), 7);
  EXPECT_EQ(lines[1]->GetEndWord(), 10);
  EXPECT_TRUE(lines[1]->EndsParagraph());
  EXPECT_EQ(lines[2]->GetIndent(), step);
  EXPECT_FALSE(lines[2]->EndsParagraph());

  std::u16string text;
  verse.WriteText(&text);
  EXPECT_EQ(Utf8(text), "2 Καὶ ὁ\r\n\t\tλόγος ἦν πρὸς\r\n\tτὸν θεόν.\r\n");

  CLayoutUnitVerse next(view.db(), view.metrics(), kMat1v3);
  next.EnsureLaidOut();
  ASSERT_EQ(next.GetBodyLines().size(), 1u);
  EXPECT_EQ(next.GetBodyLines()[0]->GetIndent(), step);
}

// --- Scrolling and rebuilding.

class VerseLayoutTest : public ::testing::Test {
 protected:
  VerseLayoutTest() : view_(MakeGreekTestSource()), layout_(view_.db(), view_.metrics()) {
    view_.Prepare(600, 400);
  }
  int WordY(WordIndex w) {
    int y = -1;
    EXPECT_TRUE(layout_.GetWordY(w, &y)) << w;
    return y;
  }

  TestView view_;
  CVerseLayout layout_;
};

TEST_F(VerseLayoutTest, TheTextNeverStartsBelowTheTop) {
  const int y = layout_.Rebuild(kMat1v2, 1000, false);
  EXPECT_EQ(layout_.GetTop(), 0);
  EXPECT_EQ(y, WordY(kMat1v2));
  EXPECT_LT(y, 1000);
  EXPECT_EQ(layout_.Scroll(50), 0);
  EXPECT_EQ(layout_.GetTop(), 0);
  EXPECT_GE(layout_.GetBottom(), 400);
}

TEST_F(VerseLayoutTest, TheEndOfTheTextStaysAtTheBottom) {
  const int y = layout_.Rebuild(kJhn3v16, 0, false);
  EXPECT_EQ(layout_.GetBottom(), 400);
  EXPECT_EQ(y, WordY(kJhn3v16));
  EXPECT_GT(y, 0);
  EXPECT_EQ(layout_.GetUnits().back()->GetFirstWord(), kJhn3v16);
  EXPECT_EQ(layout_.Scroll(-100), 0);
  EXPECT_EQ(layout_.GetBottom(), 400);
  // Scrolling back up moves as asked.
  EXPECT_EQ(layout_.Scroll(30), 30);
  EXPECT_EQ(layout_.GetBottom(), 430);
}

TEST_F(VerseLayoutTest, AShortTextStartsAtTheTopHoweverFarItIsScrolled) {
  view_.metrics()->SetSize(600, 100000);
  const int y = layout_.Rebuild(kJhn1v2, 500, false);
  EXPECT_EQ(layout_.GetTop(), 0);
  EXPECT_EQ(y, WordY(kJhn1v2));
  EXPECT_EQ(layout_.GetUnits().size(), 13u);
  EXPECT_EQ(layout_.Scroll(300), 0);
  EXPECT_EQ(layout_.Scroll(-300), 0);
  EXPECT_EQ(layout_.GetTop(), 0);
}

TEST_F(VerseLayoutTest, RebuildPutsTheFocusLineOrItsHeadingsAtTheYAskedFor) {
  EXPECT_EQ(layout_.Rebuild(kMat1v3, 100, false), 100);
  EXPECT_EQ(WordY(kMat1v3), 100);

  EXPECT_EQ(layout_.Rebuild(kMrk1v1, 100, false), 100);
  const int headings = layout_.GetUnits()[1]->GetHeadingsHeight();
  ASSERT_GT(headings, 0);
  EXPECT_EQ(layout_.Rebuild(kMrk1v1, 100, true), 100 + headings);
  EXPECT_EQ(WordY(kMrk1v1), 100 + headings);
}

TEST_F(VerseLayoutTest, ScrollingToTheEndStopsAtTheLastVerse) {
  layout_.Rebuild(kMat1v1, 0, false);
  int moved = 0;
  for (int i = 0; i < 100; ++i) moved += layout_.Scroll(-200);
  EXPECT_LT(moved, 0);
  EXPECT_EQ(layout_.GetBottom(), 400);
  EXPECT_EQ(layout_.GetUnits().back()->GetFirstWord(), kJhn3v16);
  EXPECT_EQ(layout_.Scroll(-200), 0);
}

TEST_F(VerseLayoutTest, HitTestFindsTheBoxAndItsLine) {
  layout_.Rebuild(kMat1v2, 100, false);
  int left = -1, top = -1;
  CLayoutBox* box = layout_.HitTest(5, 110, &left, &top);
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(box->GetWordIndex(), kMat1v2);
  EXPECT_EQ(left, 0);
  EXPECT_EQ(top, 100);
  const int w = box->GetWidth();
  box = layout_.HitTest(w + 1, 110, &left, &top);
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(box->GetWordIndex(), kMat1v2 + 1);
  EXPECT_EQ(left, w);
  EXPECT_EQ(layout_.HitTest(599, 110, &left, &top), nullptr);  // past the line's end

  // Headings give no box; the MAT heading lines stand above MAT 1:1.
  layout_.Rebuild(kMat1v1, 0, true);
  EXPECT_EQ(layout_.HitTest(300, 1, &left, &top), nullptr);
  EXPECT_NE(layout_.HitTest(5, WordY(kMat1v1) + 5, &left, &top), nullptr);
}

TEST(RightToLeftLayoutTest, HebrewVersesStartAtTheRightEdge) {
  TestView view(MakeHebrewTestSource());
  view.Prepare(500, 400);
  ASSERT_TRUE(view.metrics()->IsRightToLeft());
  CVerseLayout layout(view.db(), view.metrics());
  EXPECT_EQ(layout.Rebuild(kGen1v2, 100, false), 100);
  int left = -1, top = -1;
  CLayoutBox* box = layout.HitTest(495, 110, &left, &top);
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(box->GetWordIndex(), kGen1v2);
  EXPECT_EQ(left, 500 - box->GetWidth());
  CLayoutBox* second = layout.HitTest(left - 1, 110, &left, &top);
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(second->GetWordIndex(), kGen1v2 + 1);

  // The verse number stands right of the word, the chapter number right of
  // that: reading from the right, the prefix comes first.
  view.device().ClearCalls();
  layout.Rebuild(kGen2v1, 0, false);
  layout.Draw();
  int chapter_x = -1, word_x = -1;
  for (const DrawCall& c : view.device().calls()) {
    if (c.kind != DrawCall::Kind::kText) continue;
    if (c.text == u"2" && chapter_x < 0) chapter_x = c.rect.left;
    if (c.text.find(u"\u05D5\u05B7") != std::u16string::npos && word_x < 0) word_x = c.rect.left;
  }
  ASSERT_GE(chapter_x, 0);
  ASSERT_GE(word_x, 0);
  EXPECT_GT(chapter_x, word_x);
}

TEST(SelectionDrawingTest, SelectedWordsAreInvertedOrFilled) {
  TestView view(MakeGreekTestSource());
  view.Prepare(600, 400);
  CVerseLayout layout(view.db(), view.metrics());
  layout.Rebuild(kMat1v2, 100, false);
  const WordIndex w = kMat1v2 + 1;
  view.metrics()->SelectWord(w, true);
  int y = 0, left = 0;
  ASSERT_TRUE(layout.GetWordY(w, &y));
  const CLayoutBox* box = nullptr;
  for (const auto& unit : layout.GetUnits())
    if (const CLayoutLine* line = unit->FindBodyLine(w)) box = line->FindBox(w, &left);
  ASSERT_NE(box, nullptr);
  const Rect cell{left, y, left + box->GetWidth(), y + box->GetHeight()};

  auto find = [&](DrawCall::Kind kind) -> const DrawCall* {
    for (const DrawCall& c : view.device().calls())
      if (c.kind == kind) return &c;
    return nullptr;
  };
  view.device().ClearCalls();
  layout.Draw();
  const DrawCall* invert = find(DrawCall::Kind::kInvert);
  ASSERT_NE(invert, nullptr);
  EXPECT_EQ(invert->rect, (Rect{cell.left, cell.top + 1, cell.right, cell.bottom}));
  EXPECT_EQ(find(DrawCall::Kind::kRectangle), nullptr);

  SetSelectionFill(true);
  view.device().ClearCalls();
  layout.Draw();
  SetSelectionFill(false);
  const DrawCall* fill = find(DrawCall::Kind::kRectangle);
  ASSERT_NE(fill, nullptr);
  EXPECT_EQ(fill->rect, cell);
  EXPECT_EQ(fill->colour, RgbOf(255, 255, 0));
  EXPECT_EQ(find(DrawCall::Kind::kInvert), nullptr);
}

// --- Caret moves.

TEST(CaretTest, LineEndsAndVerticalMovesCrossUnits) {
  TestView view(MakeGreekTestSource());
  view.Prepare(260, 400);
  CVerseLayout layout(view.db(), view.metrics());
  layout.Rebuild(kMat1v2, 0, false);

  CLayoutUnitVerse probe(view.db(), view.metrics(), kMat1v2);
  probe.EnsureLaidOut();
  const auto& lines = probe.GetBodyLines();
  ASSERT_GE(lines.size(), 2u);
  const WordIndex second_start = lines[1]->GetFirstWord();
  const WordIndex second_last = lines[1]->GetEndWord() - 1;
  EXPECT_EQ(layout.LineStartWord(second_last), second_start);
  EXPECT_EQ(layout.LineEndWord(second_start), second_last);

  // Up from the first line lands in the previous unit's last line; down
  // from the last line in the next unit's first line.
  const WordIndex above = layout.WordAbove(kMat1v3);
  EXPECT_GE(above, lines.back()->GetFirstWord());
  EXPECT_LT(above, kMat1v3);
  EXPECT_EQ(layout.LineStartWord(layout.WordBelow(above)), kMat1v3);
  const WordIndex below = layout.WordBelow(second_start);
  EXPECT_EQ(layout.LineStartWord(below), lines.size() > 2 ? lines[2]->GetFirstWord() : kMat1v3);
  EXPECT_EQ(layout.WordAbove(below), second_start);

  // At the ends of the text the word stays.
  EXPECT_EQ(layout.WordAbove(kMat1v1 + 1), kMat1v1 + 1);
  EXPECT_EQ(layout.WordBelow(kGreekWords - 1), kGreekWords - 1);
  // A word the layout has not loaded is loaded first, as the only unit.
  const WordIndex start = layout.LineStartWord(kGreekWords - 1);
  EXPECT_GE(start, kJhn3v16);
  EXPECT_EQ(layout.GetUnits().size(), 1u);
  EXPECT_EQ(layout.GetUnits()[0]->GetFirstWord(), kJhn3v16);
}

TEST(CaretTest, TopWordPrefersTheSelection) {
  TestView view(MakeGreekTestSource());
  view.Prepare(600, 400);
  CVerseLayout layout(view.db(), view.metrics());
  layout.Rebuild(kMat1v3, 0, false);
  int y = -1;
  EXPECT_EQ(layout.GetTopWord(&y), kMat1v3);
  EXPECT_EQ(y, 0);
  view.metrics()->SelectWord(kMat1v3 + 2, true);
  EXPECT_EQ(layout.GetTopWord(&y), kMat1v3 + 2);
  // A line partly above the window is passed over for the next one.
  layout.Rebuild(kMat1v3, -10, false);
  EXPECT_EQ(layout.GetTopWord(&y), kMat2v1);
  EXPECT_GT(y, 0);
}

// --- Pages.

TEST(FillPageTest, PagesFollowEachOtherAndCutUnitsAtLines) {
  TestView view(MakeGreekTestSource());
  view.Prepare(260, 300);
  CVerseLayout layout(view.db(), view.metrics());

  // Page after page covers the whole text, each starting where the last
  // one ended and none overflowing.
  WordIndex first = 0;
  int pages = 0;
  while (first < kGreekWords && pages < 100) {
    const WordIndex end = layout.FillPage(first, -1);
    ASSERT_GT(end, first);
    int height = 0;
    for (const auto& u : layout.GetUnits()) height += u->GetHeight();
    EXPECT_LE(height, 300);
    EXPECT_EQ(layout.GetUnits().front()->GetFirstWord(), first);
    first = end;
    ++pages;
  }
  EXPECT_EQ(first, kGreekWords);
  EXPECT_GT(pages, 1);

  // An end word inside a unit trims it.
  EXPECT_EQ(layout.FillPage(kMat1v1, 3), 3);
  ASSERT_EQ(layout.GetUnits().size(), 1u);
  EXPECT_TRUE(layout.GetUnits()[0]->IsEndTrimmed());
}

TEST(FillPageTest, AUnitTallerThanThePageIsCutAtALineBoundary) {
  TestView view(MakeGreekTestSource());
  view.Prepare(260, 400);
  CLayoutUnitVerse probe(view.db(), view.metrics(), kMat1v2);
  probe.EnsureLaidOut();
  const auto& lines = probe.GetBodyLines();
  ASSERT_GE(lines.size(), 2u);

  view.metrics()->SetSize(260, lines[0]->GetHeight() + 5);
  CVerseLayout layout(view.db(), view.metrics());
  EXPECT_EQ(layout.FillPage(kMat1v2, -1), lines[1]->GetFirstWord());
  ASSERT_EQ(layout.GetUnits().size(), 1u);
  EXPECT_EQ(layout.GetUnits()[0]->GetBodyLines().size(), 1u);
  EXPECT_TRUE(layout.GetUnits()[0]->IsEndTrimmed());

  // The next page starts in the middle of the verse, without headings.
  EXPECT_GT(layout.FillPage(lines[1]->GetFirstWord(), -1), lines[1]->GetFirstWord());

  // Not even the headings and the first line of MAT 1:1 fit.
  view.metrics()->SetSize(260, 30);
  EXPECT_EQ(layout.FillPage(kMat1v1, -1), kMat1v1);
  EXPECT_TRUE(layout.GetUnits().empty());
}

TEST(FillPageTest, TruncateToHeight) {
  TestView view(MakeGreekTestSource());
  view.Prepare(260, 400);
  CLayoutUnitVerse unit(view.db(), view.metrics(), kMat1v1);
  unit.EnsureLaidOut();
  const int headings = unit.GetHeadingsHeight();
  ASSERT_GT(headings, 0);
  EXPECT_TRUE(unit.TruncateToHeight(headings));
  EXPECT_TRUE(unit.TruncateToHeight(headings + 1));  // the first line does not fit
  EXPECT_FALSE(unit.TruncateToHeight(unit.GetHeight()));
  EXPECT_FALSE(unit.IsEndTrimmed());
  const auto& lines = unit.GetBodyLines();
  ASSERT_GE(lines.size(), 2u);
  const WordIndex cut = lines[1]->GetFirstWord();
  EXPECT_FALSE(unit.TruncateToHeight(headings + lines[0]->GetHeight()));
  EXPECT_EQ(unit.GetBodyLines().size(), 1u);
  EXPECT_EQ(unit.GetEndWord(), cut);
  EXPECT_TRUE(unit.IsEndTrimmed());
}

}  // namespace
}  // namespace vorn
