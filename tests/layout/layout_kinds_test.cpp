// The layout kinds: how each cuts the text or the hits into units.
#include "layout/layout_kinds.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "layout/layout_fixture.h"
#include "layout/layout_units.h"
#include "markup/propositions.h"
#include "temp_folder.h"

namespace vorn {
namespace {

using namespace vorn::testing;

CDBWordList HitList(std::initializer_list<uint32_t> words) {
  CDBWordList list;
  for (uint32_t w : words) list.Push(w);
  return list;
}

std::u16string Text(const CLayout& layout) {
  std::u16string text;
  layout.WriteText(&text);
  return text;
}

TEST(HitZoneTest, EachHitOwnsTheWordsNearestToIt) {
  const CDBWordList hits = HitList({10, 20, 40});
  EXPECT_EQ(HitZone(hits, 0), (WordSpan{0, 15}));
  EXPECT_EQ(HitZone(hits, 1), (WordSpan{15, 30}));
  EXPECT_EQ(HitZone(hits, 2), (WordSpan{30, -1}));
  EXPECT_EQ(HitZone(hits, 3), (WordSpan{-1, -1}));
  EXPECT_EQ(HitZone(CDBWordList(), 0), (WordSpan{0, -1}));
  EXPECT_EQ(NearestHitPlace(hits, 14), 0);
  EXPECT_EQ(NearestHitPlace(hits, 15), 1);
  EXPECT_EQ(NearestHitPlace(hits, 30), 2);
  EXPECT_EQ(NearestHitPlace(hits, 1000), 2);  // past the last hit: the last
  EXPECT_EQ(NearestHitPlace(hits, -1), -1);
  EXPECT_EQ(NearestHitPlace(CDBWordList(), 5), -1);
}

TEST(LayoutKindTest, EachPaneMakesItsOwnKinds) {
  TestView view(MakeGreekTestSource());
  view.Prepare(600, 400);
  const std::pair<int, const char16_t*> text_kinds[] = {{kLayoutParagraphs, u"Paragraphs"},
                                                        {kLayoutVerses, u"Verses"},
                                                        {kLayoutSentences, u"Sentences"},
                                                        {kLayoutPropositions, u"Propositions"}};
  const std::pair<int, const char16_t*> hit_kinds[] = {{kLayoutReferences, u"References"},
                                                       {kLayoutHitVerses, u"Hit Verses"},
                                                       {kLayoutConcordance, u"Concordance"}};
  for (auto [id, name] : text_kinds) {
    auto layout = MakeLayout(id, false, view.db(), view.metrics(), nullptr);
    ASSERT_NE(layout, nullptr);
    EXPECT_EQ(layout->GetName(), name);
    EXPECT_EQ(MakeLayout(id, true, view.db(), view.metrics(), nullptr), nullptr);
  }
  for (auto [id, name] : hit_kinds) {
    auto layout = MakeLayout(id, true, view.db(), view.metrics(), nullptr);
    ASSERT_NE(layout, nullptr);
    EXPECT_EQ(layout->GetName(), name);
    EXPECT_EQ(MakeLayout(id, false, view.db(), view.metrics(), nullptr), nullptr);
  }
  EXPECT_EQ(MakeLayout(57634, false, view.db(), view.metrics(), nullptr), nullptr);
}

TEST(LayoutKindTest, TextKindsDivideTheTextWithoutGaps) {
  TestView view(MakeGreekTestSource());
  view.Prepare(600, 100000);
  for (int id : {kLayoutParagraphs, kLayoutVerses, kLayoutSentences, kLayoutPropositions}) {
    auto layout = MakeLayout(id, false, view.db(), view.metrics(), nullptr);
    layout->Rebuild(kMrk1v1, 0, false);
    WordIndex next = 0;
    for (const auto& unit : layout->GetUnits()) {
      EXPECT_EQ(unit->GetFirstWord(), next) << Utf8(layout->GetName());
      next = unit->GetEndWord();
    }
    EXPECT_EQ(next, kGreekWords) << Utf8(layout->GetName());
  }

  // Paragraphs are cut at headings, which start the next unit.
  CParaLayout para(view.db(), view.metrics());
  para.Rebuild(kMat1v1, 0, false);
  ASSERT_GE(para.GetUnits().size(), 2u);
  EXPECT_EQ(para.GetUnits()[0]->GetEndWord(), kMat2v1);
  EXPECT_NE(para.GetUnits()[1]->GetHeadings(), nullptr);
  EXPECT_FALSE(para.GetUnits()[1]->GetHeadingLines().empty());
  // A sentence runs over verses that do not end one.
  CSentLayout sent(view.db(), view.metrics());
  auto unit = sent.CreateUnit(kMat2v2b);
  ASSERT_NE(unit, nullptr);
  EXPECT_EQ(unit->GetFirstWord(), kMat2v2a);
  EXPECT_EQ(unit->GetEndWord(), kMrk1v1);
  // Outside the text there is no unit.
  EXPECT_EQ(sent.CreateUnit(kGreekWords), nullptr);
  EXPECT_EQ(sent.CreateUnit(-1), nullptr);
}

TEST(HitLayoutTest, EveryHitGetsItsOwnUnitInListOrder) {
  TestView view(MakeGreekTestSource());
  view.Prepare(2000, 400);
  view.ShowOnly(kGlossLine);
  const CDBWordList hits = HitList({6, 9, kJhn1v1});

  CHitVersesLayout verses(view.db(), view.metrics(), &hits);
  verses.BuildForSelection({6, 9, kJhn1v1});
  ASSERT_EQ(verses.GetUnits().size(), 3u);
  // The last unit's range is cut after the selection, so it stays open.
  EXPECT_EQ(Utf8(Text(verses)),
            "Mat 1:2 2 and the word was with the God\r\n"
            "Mat 1:2 2 and the word was with the God\r\n"
            "Jhn 1:1 1 in beginning was the word");
  // Nothing before the first hit, nothing after the last.
  EXPECT_EQ(verses.GetPrevUnit(*verses.GetUnits()[0]), nullptr);
  EXPECT_EQ(verses.GetNextUnit(*verses.GetUnits()[2]), nullptr);
  EXPECT_EQ(verses.Rebuild(6, 100, false), 0);

  CConcordLayout concord(view.db(), view.metrics(), &hits);
  concord.BuildForSelection({6, 9});
  EXPECT_EQ(concord.GetUnits().size(), 2u);
  CDBWordList empty;
  CConcordLayout none(view.db(), view.metrics(), &empty);
  EXPECT_EQ(none.CreateUnit(0), nullptr);
  none.Rebuild(0, 0, false);
  EXPECT_TRUE(none.GetUnits().empty());
}

// The words of each body line of the layout's units, in order.
std::vector<std::vector<WordIndex>> LineWords(const CLayout& layout) {
  std::vector<std::vector<WordIndex>> lines;
  for (const auto& unit : layout.GetUnits()) {
    for (const auto& line : unit->GetBodyLines()) {
      lines.emplace_back();
      for (const auto& box : line->GetBoxes()) lines.back().push_back(box->GetWordIndex());
    }
  }
  return lines;
}

TEST(HitLayoutTest, ReferenceLinesMadeOnDemandMatchTheWholeList) {
  TestView view(MakeGreekTestSource());
  view.Prepare(230, 5000);
  CDBWordList hits;
  std::vector<WordIndex> all;
  for (uint32_t w = 0; w < view.db()->GetWordCount(); ++w) {
    hits.Push(w);
    all.push_back(static_cast<WordIndex>(w));
  }
  CRefsLayout whole(view.db(), view.metrics(), &hits);
  whole.BuildForSelection(all);
  ASSERT_EQ(whole.GetUnits().size(), 1u);
  const auto expected = LineWords(whole);
  ASSERT_GT(expected.size(), 3u);

  // A window taller than the list: every line loaded, one unit each, with
  // the heading over the first.
  CRefsLayout screen(view.db(), view.metrics(), &hits);
  screen.Rebuild(all[all.size() / 2], 0, false);
  EXPECT_EQ(LineWords(screen), expected);
  EXPECT_EQ(screen.GetUnits().size(), expected.size());
  EXPECT_EQ(screen.GetBottom() - screen.GetTop(), whole.GetBottom());
  EXPECT_EQ(screen.GetUnits()[0]->GetHeadingLines().size(),
            whole.GetUnits()[0]->GetHeadingLines().size());

  // A window of two lines loads only what it shows, wherever it is.
  const int line = whole.GetUnits()[0]->GetBodyLines()[0]->GetHeight();
  view.Prepare(230, 2 * line);
  const WordIndex last = all.back();
  screen.Rebuild(last, 0, false);
  EXPECT_LE(screen.GetUnits().size(), 3u);
  int y = -1;
  ASSERT_TRUE(screen.GetWordY(last, &y));
  EXPECT_EQ(y, line);  // the end of the list stays at the window's bottom
  EXPECT_EQ(LineWords(screen).back(), expected.back());
}

TEST(HitLayoutTest, ConcordanceCentresTheHitRightOfTheReference) {
  TestView view(MakeGreekTestSource());
  view.Prepare(800, 400);
  view.ShowOnly(kGlossLine);
  const CDBWordList hits = HitList({0, kMat1v3 + 2});
  CConcordLayout layout(view.db(), view.metrics(), &hits);
  for (WordIndex hit : {WordIndex{0}, kMat1v3 + 2}) {
    auto unit = layout.CreateUnit(hit);
    ASSERT_NE(unit, nullptr);
    unit->EnsureLaidOut();
    ASSERT_EQ(unit->GetBodyLines().size(), 1u);
    const CLayoutLine& line = *unit->GetBodyLines()[0];
    const auto& boxes = line.GetBoxes();
    const int ref = boxes[0]->GetWidth();
    // The reference stands for the hit too; the word's own box follows.
    int left = line.GetIndent();
    const CLayoutBox* box = nullptr;
    for (const auto& b : boxes) {
      if (dynamic_cast<const CLayoutBoxWord*>(b.get()) && b->GetWordIndex() == hit) {
        box = b.get();
        break;
      }
      left += b->GetWidth();
    }
    ASSERT_NE(box, nullptr);
    EXPECT_NEAR(left + box->GetWidth() / 2, (ref + 800) / 2, 1);
    EXPECT_EQ(boxes[0]->GetWordIndex(), hit);  // the reference
    if (hit == 0) {
      // No word before the first word of the text: a blank fills the room.
      EXPECT_TRUE(boxes[1]->IsSpace());
      EXPECT_EQ(boxes[2]->GetWordIndex(), 0);
    } else {
      EXPECT_EQ(line.GetFirstWord() < hit, true);
    }
    EXPECT_GT(line.GetEndWord(), hit + 1);  // context after the hit
    EXPECT_LE(line.GetRight(), 800);
  }
}

class PropositionLayoutTest : public ::testing::Test {
 protected:
  PropositionLayoutTest()
      : folder_("layout_props"),
        view_(MakeGreekTestSource()),
        props_(view_.db(), folder_.path(), &sink_) {
    // MAT 1:2 (words 5 to 11): 5-7 at level 0, 8-9 at level 1, 10-11 at 2.
    props_.Split({8});
    props_.ShiftRight({8});
    props_.Split({10});
    props_.ShiftRight({10});
  }

  TempFolder folder_;
  platform::CRecordingMessageSink sink_;
  TestView view_;
  CPropositions props_;
};

TEST_F(PropositionLayoutTest, BarsShowTheNestingAndTheLevel) {
  view_.Prepare(3000, 400);
  CPropLayout layout(view_.db(), view_.metrics(), &props_);
  auto unit = layout.CreateUnit(10);
  ASSERT_NE(unit, nullptr);
  EXPECT_EQ(unit->GetFirstWord(), 10);
  EXPECT_EQ(unit->GetEndWord(), 12);
  unit->EnsureLaidOut();
  const int step = view_.metrics()->GetStandardIndent();
  const CLayoutLine& line = *unit->GetBodyLines()[0];
  ASSERT_EQ(line.GetBoxes().size(), 4u);
  EXPECT_EQ(line.GetIndent(), 0);
  auto* outer = dynamic_cast<const CLayoutBoxSpace*>(line.GetBoxes()[0].get());
  auto* inner = dynamic_cast<const CLayoutBoxSpace*>(line.GetBoxes()[1].get());
  ASSERT_TRUE(outer && inner);
  EXPECT_TRUE(outer->HasBar() && inner->HasBar());
  EXPECT_EQ(outer->GetWidth(), step);
  EXPECT_EQ(outer->GetHeight(), line.GetHeight());
  EXPECT_EQ(outer->GetLabel(), u"");
  EXPECT_EQ(inner->GetLabel(), u"3");
  EXPECT_EQ(line.GetBoxes()[2]->GetWordIndex(), 10);

  // Drawn: two bars, and the level in the innermost one.
  view_.device().ClearCalls();
  unit->Draw(0);
  int bars = 0;
  bool label = false;
  for (const DrawCall& c : view_.device().calls()) {
    if (c.kind == DrawCall::Kind::kLine && c.pen.width == 3) ++bars;
    if (c.kind == DrawCall::Kind::kText && c.text == u"3") label = c.colour == RgbOf(210, 210, 210);
  }
  EXPECT_EQ(bars, 2);
  EXPECT_TRUE(label);
}

TEST_F(PropositionLayoutTest, ContinuationLinesStartAThirdOfAStepIn) {
  view_.Prepare(100, 400);
  CPropLayout layout(view_.db(), view_.metrics(), &props_);
  auto unit = layout.CreateUnit(kMat1v2);
  ASSERT_NE(unit, nullptr);
  EXPECT_EQ(unit->GetEndWord(), 8);
  unit->EnsureLaidOut();
  const auto& lines = unit->GetBodyLines();
  ASSERT_GE(lines.size(), 2u);
  EXPECT_FALSE(lines[0]->GetBoxes()[0]->IsSpace());  // level 0: no bars
  const auto& cont = lines[1]->GetBoxes();
  ASSERT_TRUE(cont[0]->IsSpace());
  EXPECT_EQ(cont[0]->GetWidth(), view_.metrics()->GetStandardIndent() / 3);
  EXPECT_EQ(lines[1]->GetIndent(), 0);
  // In plain text the wrapped line runs on, without its blank.
  std::u16string text;
  unit->WriteText(&text);
  EXPECT_EQ(text.find(u'\t'), std::u16string::npos) << Utf8(text);
}

TEST_F(PropositionLayoutTest, DeeperPropositionsAreHiddenAtAViewLevel) {
  view_.Prepare(3000, 400);
  view_.metrics()->SetPropositionLevel(1);
  CPropLayout layout(view_.db(), view_.metrics(), &props_);
  auto unit = layout.CreateUnit(10);
  ASSERT_NE(unit, nullptr);
  EXPECT_EQ(unit->GetFirstWord(), 8);
  EXPECT_EQ(unit->GetEndWord(), 12);
  unit->EnsureLaidOut();
  EXPECT_EQ(unit->GetShownRange(), (WordSpan{8, 10}));
  EXPECT_EQ(unit->GetFirstWord(), 8);  // the range is restored after layout

  layout.Rebuild(8, 0, false);
  EXPECT_EQ(layout.NearestShownWord(9, true), 9);
  EXPECT_EQ(layout.NearestShownWord(10, true), kMat1v3);
  EXPECT_EQ(layout.NearestShownWord(11, false), 9);
}

}  // namespace
}  // namespace vorn
