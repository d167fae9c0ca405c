// Word objects on the small test databases: their lines, the interlinear
// stack measured and drawn through the text device, rich and plain text,
// the details panel and the word tip.
#include "wordinfo/word.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "device/text_device.h"
#include "layout/layout_test_util.h"
#include "metrics/details_metrics.h"
#include "metrics/view_metrics.h"
#include "metrics/word_metrics.h"
#include "textdb/tags_line.h"
#include "wordinfo/word_line_factories.h"
#include "wordinfo/word_lines.h"
#include "wordinfo/word_menu.h"

namespace vorn {
namespace {

using testing::OpenedTestDB;

// Greek words: 0 Ἐν (MAT 1:1, text with its capital), 2 ἦν (opens a gloss
// brace), 4 λόγος. (closes it; links Strong and Topic), 20 Λόγος (its form
// occurs once), 52 θεὸς (JHN 3:16: titles with and without links).
constexpr WordIndex kEn = 0, kHn = 2, kHo = 3, kLogos = 4, kOnce = 20, kTheos = 52;

// Lines of the Greek database.
constexpr int kForm = 0, kTlit = 1, kTag = 2, kGlos = 3, kLema = 4, kLinks = 5;

int Width(int pixel_height, std::u16string_view text) {
  return CTextDevice::TextWidth(pixel_height, text);
}
// Pixel heights at 96 pixels per inch: 14 pt -> 19, 12 -> 16, 10 -> 13, 9 -> 12.
constexpr int kPx14 = 19, kPx12 = 16, kPx10 = 13, kPx9 = 12;

class RecordingMenu : public CWordMenu {
 public:
  void AddItem(uint32_t command, const std::u16string& text) override { items[command] = text; }
  std::map<uint32_t, std::u16string> items;
};

// User tags with fixed labels on one word.
class FakeTags : public CWordTags {
 public:
  int GetStyle() const override { return MakeTagStyle(1, 0, 0); }
  std::u16string GetBeginLabels() const override { return u"A"; }
  std::u16string GetEndLabels() const override { return u"B"; }
  int GetBeginMarkWidth() override { return 6; }
  int GetEndMarkWidth() override { return 4; }
  void DrawLabels(const Rect& text, bool) override { *labels = text; }
  void DrawMarks(const Rect&, bool) override {}
  bool StartsNewLine(int*) const override { return false; }
  bool EndsLine(int*) const override { return false; }
  std::u16string GetCellFormat(bool) const override { return {}; }
  std::u16string GetDetailsText() const override { return u"User tags: Theme"; }
  Rect* labels = nullptr;
};

class FakeMarkup : public CWordMarkupSource {
 public:
  explicit FakeMarkup(WordIndex tagged) : tagged_(tagged) {}
  bool IsWordTagged(WordIndex w) const override { return w == tagged_; }
  void GetWordTags(WordIndex, std::vector<CTagDB*>*) const override {}
  std::unique_ptr<CWordTags> MakeWordTags(WordIndex w, const CViewMetrics&) override {
    if (w != tagged_) return nullptr;
    auto tags = std::make_unique<FakeTags>();
    tags->labels = &labels;
    return tags;
  }
  Rect labels;

 private:
  WordIndex tagged_;
};

// Texts drawn, grouped into rows by their top.
// The drawn texts by row: texts whose boxes overlap vertically (texts of
// one row share a baseline, so their tops differ with their fonts) join in
// drawing order.
std::vector<std::u16string> Rows(const CTextDevice& d) {
  std::vector<std::pair<Rect, std::u16string>> rows;  // extent, text
  for (const DrawCall& c : d.calls()) {
    if (c.kind != DrawCall::Kind::kText) continue;
    auto row = std::find_if(rows.begin(), rows.end(), [&c](const auto& r) {
      return c.rect.top < r.first.bottom && r.first.top < c.rect.bottom;
    });
    if (row == rows.end()) {
      rows.push_back({c.rect, c.text});
    } else {
      row->first.top = std::min(row->first.top, c.rect.top);
      row->first.bottom = std::max(row->first.bottom, c.rect.bottom);
      row->second += c.text;
    }
  }
  std::sort(rows.begin(), rows.end(),
            [](const auto& a, const auto& b) { return a.first.top < b.first.top; });
  std::vector<std::u16string> out;
  for (auto& r : rows) out.push_back(r.second);
  return out;
}

const DrawCall* FindText(const CTextDevice& d, std::u16string_view text) {
  for (const DrawCall& c : d.calls())
    if (c.kind == DrawCall::Kind::kText && c.text == text) return &c;
  return nullptr;
}

class WordTest : public ::testing::Test {
 protected:
  WordTest() : greek_(testing::MakeGreekTestSource()), view_(greek_.db(), nullptr) {
    InstallWordLineFactories(greek_.db());
    view_.SetSize(600, 400);
    view_.Prepare(&device_, 0);
  }
  CVornDB* db() { return greek_.db(); }

  OpenedTestDB greek_;
  CTextDevice device_;
  CViewMetrics view_;
};

TEST_F(WordTest, HasOneLineOfTheRightKindPerDatabaseLine) {
  CWord word(db(), kLogos);
  ASSERT_EQ(word.GetLineCount(), 6);
  EXPECT_NE(dynamic_cast<CWordOrdinaryLine*>(word.GetLine(kForm)), nullptr);
  EXPECT_NE(dynamic_cast<CWordTagLine*>(word.GetLine(kTag)), nullptr);
  EXPECT_NE(dynamic_cast<CWordGlossLine*>(word.GetLine(kGlos)), nullptr);
  EXPECT_NE(dynamic_cast<CWordLemaLine*>(word.GetLine(kLema)), nullptr);
  EXPECT_NE(dynamic_cast<CWordLinks*>(word.GetLine(kLinks)), nullptr);
  EXPECT_EQ(word.GetLine(kForm)->GetPlainText(), u"λόγος.");
  EXPECT_EQ(word.GetLine(kLinks)->GetPlainText(), u"G3056, Word");
  EXPECT_EQ(word.GetGlossText(), u"word");
  EXPECT_EQ(word.GetLine(kGlos)->GetPlainText(), u"word}");
  EXPECT_TRUE(CWord(db(), kLogos) == CWord(word, -1));
  EXPECT_FALSE(CWord(word, kHn) == word);
  EXPECT_EQ(CWord(db(), -1).GetLineCount(), 0);
  EXPECT_EQ(CWord(db(), 100000).GetLineCount(), 0);
}

TEST_F(WordTest, FactoriesAreInstalledWhenADatabaseHasNone) {
  OpenedTestDB hebrew(testing::MakeHebrewTestSource());
  EXPECT_EQ(hebrew.db()->GetLine(0)->GetFactory(), nullptr);
  CWord word(hebrew.db(), 0);
  EXPECT_EQ(word.GetLineCount(), 5);
  EXPECT_EQ(hebrew.db()->GetLine(2)->GetFactory(), &MakeTagWordLine);
  EXPECT_EQ(word.GetLine(0)->GetPlainText(), u"בְּרֵאשִׁית");
}

TEST_F(WordTest, VariantsCountsAndMenus) {
  CWord word(db(), kHn);
  CWordLine* form = word.GetLine(kForm);
  RecordingMenu menu;
  form->AddToMenu(&menu, 100);
  EXPECT_EQ(menu.items, (std::map<uint32_t, std::u16string>{{100, u"ἦν"}, {101, u"ἐστιν"}}));
  word.SetTextVariant(1);
  EXPECT_EQ(form->GetPlainText(), u"ἐστιν");
  EXPECT_EQ(form->GetOccurrenceCount(), 6u);

  RecordingMenu links;
  CWord(db(), kLogos).AddLinksToMenu(&links);
  EXPECT_EQ(links.items,
            (std::map<uint32_t, std::u16string>{{CWord::kFirstLinkCommand, u"G3056"},
                                                {CWord::kFirstLinkCommand + 1, u"Word"}}));
  CWord theos(db(), kTheos);
  ASSERT_NE(theos.GetLink(2), nullptr);
  EXPECT_EQ(theos.GetLink(2)->GetText(), u"Love");
  EXPECT_EQ(theos.GetLink(99), nullptr);
}

TEST_F(WordTest, MeasuresTheStackOfVisibleLines) {
  CWord word(db(), kHn);
  CWordMetrics wm(kHn, &view_);
  const Size size = word.Measure(&wm);
  const int brace = Width(kPx10, u"{");
  const int tag = Width(kPx9, u"VIIA--ZS");
  EXPECT_EQ(size, (Size{tag + brace, 21 + 14 + 13 + 14 + 18 + 13}));
  EXPECT_EQ(wm.rects()[kForm], (Rect{0, 0, Width(kPx14, u"ἦν"), 21}));
  EXPECT_EQ(wm.rects()[kGlos], (Rect{-brace, 48, Width(kPx10, u"was"), 62}));
  EXPECT_EQ(wm.rects()[kLinks].top, 80);
  EXPECT_EQ(wm.bounds().left, -brace);

  view_.SetLineVisible(kTag, false);
  view_.SetLineVisible(kGlos, false);
  view_.Prepare(&device_, 0);
  CWordMetrics fewer(kHn, &view_);
  EXPECT_EQ(word.Measure(&fewer), (Size{Width(kPx12, u"εἰμί"), 21 + 14 + 18 + 13}));
  EXPECT_EQ(fewer.rects()[kTag], Rect());
  EXPECT_EQ(fewer.rects()[kLema].top, 35);
}

TEST_F(WordTest, DrawsAlignedAtTheStartOfTheReadingDirection) {
  CWord word(db(), kHn);
  CWordMetrics wm(kHn, &view_);
  word.Measure(&wm);
  const int brace = Width(kPx10, u"{");
  word.Draw(wm, 100, 10, false);
  const DrawCall* form = FindText(device_, u"ἦν");
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(form->rect.left, 100 + brace);
  EXPECT_EQ(form->rect.top, 10);
  const DrawCall* mark = FindText(device_, u"{");
  ASSERT_NE(mark, nullptr);
  EXPECT_EQ(mark->rect.left, 100);
  EXPECT_EQ(mark->colour, MakeRgb(110, 110, 110));  // grey marks
  EXPECT_EQ(FindText(device_, u"was")->rect.left, 100 + brace);
  EXPECT_EQ(FindText(device_, u"was")->rect.top, 10 + 48);

  // Right to left: every line ends at the right edge, the opening brace
  // turned round on the far side.
  device_.ClearCalls();
  word.Draw(wm, 300, 10, true);
  EXPECT_EQ(FindText(device_, u"ἦν")->rect.right, 300 - brace);
  EXPECT_EQ(FindText(device_, u"was")->rect.right, 300 - brace);
  const DrawCall* turned = FindText(device_, u"}");
  ASSERT_NE(turned, nullptr);
  EXPECT_EQ(turned->rect.right, 300);
  EXPECT_EQ(FindText(device_, u"G1510")->rect.right, 300 - brace);
}

TEST_F(WordTest, TaggedWordsCarryLabelsAndTheTagFont) {
  FakeMarkup markup(kHo);
  CViewMetrics view(db(), &markup);
  view.SetSize(600, 400);
  view.Prepare(&device_, 0);
  CWord word(db(), kHo);
  CWordMetrics wm(kHo, &view);
  ASSERT_NE(wm.GetTags(), nullptr);
  const Size size = word.Measure(&wm);
  const int text = Width(kPx14, u"ὁ");
  EXPECT_EQ(wm.rects()[kForm], (Rect{-6, 0, text + 4, 21}));
  EXPECT_GE(size.cx, text + 10);
  word.Draw(wm, 0, 0, false);
  const DrawCall* form = FindText(device_, u"ὁ");
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(form->rect.left, 6);
  EXPECT_EQ(form->font.weight, 700);
  EXPECT_EQ(markup.labels, (Rect{6, 0, 6 + text, 21}));

  EXPECT_EQ(word.GetLabelText(wm), u"<A>ὁ<B>");
  const std::u16string rtf = word.GetExportText(wm, u"{lead}");
  EXPECT_EQ(rtf.substr(0, 7), u"{lead} ");
  const size_t a = rtf.find(u" <A>}");
  const size_t o = rtf.find(u" \\u8001?}");
  const size_t b = rtf.find(u" <B>}");
  ASSERT_NE(a, std::u16string::npos);
  EXPECT_LT(a, o);
  EXPECT_LT(o, b);
  EXPECT_LT(b, rtf.find(u"\\par\r\n"));

  // The details name the tags.
  CDetailsMetrics details(view);
  details.Attach(&device_);
  device_.ClearCalls();
  word.DrawDetails(details);
  EXPECT_EQ(Rows(device_).back(), u"User tags: Theme");
}

TEST_F(WordTest, ExportJoinsTheVisibleLinesAsParagraphs) {
  view_.SetLineVisible(kTag, false);
  view_.SetLineVisible(kLinks, false);
  view_.SetLineVisible(kLema, false);
  CWord word(db(), kLogos);
  CWordMetrics wm(kLogos, &view_);
  const std::u16string rtf = word.GetExportText(wm, u"");
  size_t pars = 0;
  for (size_t at = rtf.find(u"\\par\r\n"); at != std::u16string::npos;
       at = rtf.find(u"\\par\r\n", at + 1))
    ++pars;
  EXPECT_EQ(pars, 2u);
  EXPECT_EQ(rtf.substr(0, 9), u"{\\plain\\f");
  // The gloss mark is a run of its own in the mark colour.
  EXPECT_NE(rtf.find(u"\\cf3 \\'7d}"), std::u16string::npos);
  EXPECT_EQ(word.GetLabelText(wm), u"λόγος.");
}

TEST_F(WordTest, DetailsPanelRows) {
  CDetailsMetrics details(view_);
  details.Attach(&device_);
  CWord word(db(), kEn);
  const Size size = word.DrawDetails(details);
  const auto* tags = dynamic_cast<CVornDBTagsLine*>(db()->GetLine(kTag));
  ASSERT_NE(tags, nullptr);
  const std::vector<std::u16string> rows = Rows(device_);
  ASSERT_EQ(rows.size(), 6u);
  EXPECT_EQ(rows[0], u"Ἐν (en) - 3 occurrences");
  EXPECT_EQ(rows[1], u"From: ἐν - 3 occurrences");
  EXPECT_EQ(rows[2], u"\"in\"");
  EXPECT_EQ(rows[3], tags->DescribeTag(u"PD"));
  EXPECT_EQ(rows[4], u"Notes:");
  EXPECT_EQ(rows[5], u"Strong: G1722");
  // Both counts stand in one column; the rows stack by their tallest font.
  const DrawCall* first = nullptr;
  const DrawCall* second = nullptr;
  for (const DrawCall& c : device_.calls()) {
    if (c.text != u" - 3 occurrences") continue;
    (first ? second : first) = &c;
  }
  ASSERT_TRUE(first && second);
  EXPECT_EQ(first->rect.left, second->rect.left);
  // Each row's texts share a baseline whatever their fonts (the test
  // device's ascent is four fifths of the height); row 2 starts below row 1.
  auto baseline = [](const DrawCall& c) {
    const int h = c.rect.bottom - c.rect.top;
    return c.rect.top + h - h / 5;
  };
  const DrawCall* form = FindText(device_, u"Ἐν");
  const DrawCall* tlit = FindText(device_, u"en");
  const DrawCall* lemma = FindText(device_, u"ἐν");
  ASSERT_TRUE(form && tlit && lemma);
  EXPECT_NE(form->rect.bottom - form->rect.top, tlit->rect.bottom - tlit->rect.top);
  EXPECT_EQ(baseline(*first), baseline(*form));
  EXPECT_EQ(baseline(*tlit), baseline(*form));
  EXPECT_EQ(baseline(*second), baseline(*lemma));
  EXPECT_GE(std::min(second->rect.top, lemma->rect.top), form->rect.bottom);
  EXPECT_GT(size.cx, first->rect.right);
  EXPECT_EQ(size.cy, device_.calls().back().rect.top + 13 + 2);

  // Measuring draws nothing.
  device_.ClearCalls();
  details.SetDrawing(false);
  EXPECT_EQ(word.DrawDetails(details), size);
  EXPECT_TRUE(device_.calls().empty());

  details.SetDrawing(true);
  CWord once(db(), kOnce);
  once.DrawDetails(details);
  EXPECT_NE(FindText(device_, u" - 1 occurrence"), nullptr);
}

TEST_F(WordTest, LinksDrawTitlesAndGroups) {
  CDetailsMetrics details(view_);
  details.Attach(&device_);
  CWord word(db(), kTheos);
  const Point end = word.GetLine(kLinks)->DrawDetails(details, 0, 0);
  const std::vector<std::u16string> rows = Rows(device_);
  EXPECT_EQ(rows, (std::vector<std::u16string>{u"Notes:", u"Strong: G2316", u"Deity: God, Love",
                                               u"Gospel", u"Salvation: World"}));
  EXPECT_EQ(end.y, 5 * 13);
  const DrawCall* title = FindText(device_, u"Deity");
  ASSERT_NE(title, nullptr);
  EXPECT_EQ(title->font.weight, 700);
  EXPECT_EQ(title->rect.left, Width(kPx9, u"  "));
  EXPECT_EQ(word.GetLine(kLinks)->GetPlainText(), u"G2316, God, Love, World");
}

TEST_F(WordTest, DetailsTextWrapsAtBlanksWithinTheRoom) {
  CDetailsMetrics details(view_);
  details.Attach(&device_);
  const CFontFormat& font = details.GetPanelFont();
  const int h = font.GetTextHeight();
  details.SetWrapRight(10 + font.GetExtent(u"one two").cx + 1);
  const Point end = details.Text(font, 10, 0, u"one two six ten");
  ASSERT_EQ(device_.calls().size(), 2u);
  // Later lines start where the text did, one line lower.
  EXPECT_EQ(device_.calls()[0].text, u"one two");
  EXPECT_EQ(device_.calls()[1].text, u"six ten");
  EXPECT_EQ(device_.calls()[1].rect.left, 10);
  EXPECT_EQ(device_.calls()[1].rect.top, h);
  EXPECT_EQ(end, (Point{10 + font.GetExtent(u"six ten").cx, 2 * h}));

  // A word wider than the room goes whole on its own line.
  device_.ClearCalls();
  details.SetWrapRight(5);
  EXPECT_EQ(details.Text(font, 0, 0, u"longword x").y, 2 * h);
  EXPECT_EQ(device_.calls()[0].text, u"longword");
  EXPECT_GE(details.GetFurthestX(), font.GetExtent(u"longword").cx);
}

TEST_F(WordTest, TipShowsWhatTheViewHides) {
  CDetailsMetrics details(view_);
  details.Attach(&device_);
  CWord word(db(), kEn);
  const Size measured = word.MeasureTip(details, view_);
  EXPECT_TRUE(device_.calls().empty());
  const Size size = word.DrawTip(details, view_);
  EXPECT_EQ(measured, size);
  std::vector<std::u16string> rows = Rows(device_);
  ASSERT_EQ(rows.size(), 3u);  // tag description, "Notes:", the Strong link
  EXPECT_EQ(device_.calls().front().rect.left, 2);
  EXPECT_EQ(device_.calls().front().rect.top, 2);

  view_.SetLineVisible(kForm, false);
  view_.SetLineVisible(kGlos, false);
  device_.ClearCalls();
  word.DrawTip(details, view_);
  rows = Rows(device_);
  ASSERT_EQ(rows.size(), 5u);
  EXPECT_EQ(rows[0], u"Ἐν");
  EXPECT_EQ(rows[1], u"\"in\"");

  // Without a Tag line or links, a word whose lines are all shown has no tip.
  DBSource source = testing::MakeHebrewTestSource();
  source.lines.erase(source.lines.begin() + 2);
  OpenedTestDB hebrew(source);
  CViewMetrics view(hebrew.db(), nullptr);
  view.Prepare(&device_, 0);
  CDetailsMetrics hebrew_details(view);
  hebrew_details.Attach(&device_);
  EXPECT_EQ(CWord(hebrew.db(), 0).MeasureTip(hebrew_details, view), (Size{0, 0}));
}

TEST(WordLinesTest, GlossAndBaseFormsSplitIntoStyles) {
  DBSource source = testing::MakeGreekTestSource();
  source.lines[kGlos].words[0] = u"he said2;";
  source.lines[kGlos].words[1] = u"beginning (of)";
  source.lines[kGlos].words[5] = u"";
  source.lines[kLema].words[0] = u"λόγος(12)";
  source.lines[kLema].words[1] = u"ἀρχή(a)";
  source.lines[kTag].words[0] = u"V IAA 3S";
  OpenedTestDB opened(source);
  CVornDB* db = opened.db();
  InstallWordLineFactories(db);

  CWord w0(db, 0);
  auto* gloss = dynamic_cast<CWordGlossLine*>(w0.GetLine(kGlos));
  ASSERT_NE(gloss, nullptr);
  EXPECT_EQ(gloss->GetPieces(), (std::vector<std::u16string>{u"he said", u"2", u";"}));
  EXPECT_FALSE(gloss->FirstIsAlternate());
  EXPECT_EQ(gloss->GetDetailsGloss(), u"he said");
  CWord w1(db, 1);
  EXPECT_EQ(dynamic_cast<CWordGlossLine*>(w1.GetLine(kGlos))->GetDetailsGloss(), u"beginning (of)");

  auto* lema = dynamic_cast<CWordLemaLine*>(w0.GetLine(kLema));
  EXPECT_EQ(lema->GetPieces(), (std::vector<std::u16string>{u"λόγος", u"(12)"}));
  EXPECT_TRUE(lema->IsAlternate(1));
  auto* lema1 = dynamic_cast<CWordLemaLine*>(w1.GetLine(kLema));
  EXPECT_EQ(lema1->GetPieces().size(), 1u);

  // Drawn: digits in the small font; right to left the pieces turn round.
  CViewMetrics view(db, nullptr);
  CTextDevice device;
  view.Prepare(&device, 0);
  const CFontFormat& font = view.GetLineFont(kGlos);
  gloss->Draw(font, &view, 0, 0, true);
  ASSERT_EQ(device.calls().size(), 3u);
  EXPECT_EQ(device.calls()[0].text, u";");
  EXPECT_EQ(device.calls()[1].text, u"2");
  EXPECT_LT(device.calls()[1].font.pixel_height, device.calls()[0].font.pixel_height);
  EXPECT_EQ(device.calls()[2].text, u"he said");
  // The small font of 10 points is 9 pixels high.
  EXPECT_EQ(gloss->Measure(font, &view).right,
            Width(kPx10, u"he said") + Width(kPx10, u";") + Width(9, u"2"));
  EXPECT_NE(gloss->GetExportText(font, &view).find(u"\\super 2}"), std::u16string::npos);

  // A tag shown on a line of the other direction has its parts reversed.
  auto* tag = dynamic_cast<CWordTagLine*>(w0.GetLine(kTag));
  EXPECT_EQ(tag->GetShownTag(false), u"V IAA 3S");
  EXPECT_EQ(tag->GetShownTag(true), u"3S IAA V");

  CDetailsMetrics details(view);
  details.Attach(&device);
  device.ClearCalls();
  CWord(db, 5).GetLine(kGlos)->DrawDetails(details, 0, 0);
  EXPECT_EQ(device.calls().back().text, u"No gloss available");
}

TEST(WordLinesTest, LongLinkTextsAreShortenedForTheInterlinearBox) {
  // Short texts stay as they are, also exactly at the limit.
  EXPECT_EQ(CWordLinks::ShortText(u"G3056"), u"G3056");
  EXPECT_EQ(CWordLinks::ShortText(u"12345678901234567890"), u"12345678901234567890");
  EXPECT_EQ(CWordLinks::ShortText(u""), u"");
  // A dictionary article is cut after its last whole word within the limit,
  // and the colon of its head goes.
  EXPECT_EQ(CWordLinks::ShortText(u"G976 βίβλος: properly, the inner bark of the papyrus plant"),
            u"G976 βίβλος\u2026");
  // A limit that falls on a blank keeps the word before it.
  EXPECT_EQ(CWordLinks::ShortText(u"G1078 γένεσις: from the same as G1074"),
            u"G1078 γένεσις: from\u2026");
  // One overlong word is cut inside.
  EXPECT_EQ(CWordLinks::ShortText(u"abcdefghijklmnopqrstuvwxyz"), u"abcdefghijklmnopqrst\u2026");
  // Combining marks count with their base and are never cut off it: twenty
  // pointed letters fit, the cut after them keeps the last letter's points.
  std::u16string pointed;
  for (int i = 0; i < 21; ++i) pointed += u"\u05D1\u05BC\u05B8";
  EXPECT_EQ(CWordLinks::ShortText(pointed), pointed.substr(0, 60) + u"\u2026");
  // Characters outside the basic plane count once and are not split.
  std::u16string astral;
  for (int i = 0; i < 21; ++i) astral += u"\U0001D400";
  EXPECT_EQ(CWordLinks::ShortText(astral), astral.substr(0, 40) + u"\u2026");
}

TEST(WordLinesTest, MirroredMarksAndTipPlacement) {
  EXPECT_EQ(CWordGlossLine::MirrorMark(u"-{[", u"{[", u"}]"), u"]}-");
  EXPECT_EQ(CWordGlossLine::MirrorMark(u"]}-", u"}]", u"{["), u"-{[");
  // Centred under the word, pushed back inside the parent.
  EXPECT_EQ(PlaceWordTip({40, 20}, {100, 10, 120, 30}, {0, 0, 500, 300}), (Rect{90, 30, 130, 50}));
  EXPECT_EQ(PlaceWordTip({40, 20}, {480, 10, 500, 30}, {0, 0, 500, 300}), (Rect{460, 30, 500, 50}));
  EXPECT_EQ(PlaceWordTip({40, 20}, {0, 290, 10, 300}, {0, 0, 500, 300}), (Rect{0, 280, 40, 300}));
}

TEST(MorphemeMenuTest, StrongNumbersAreFoundInsideEntries) {
  EXPECT_EQ(FindStrongNumbers(u"from G575 (ἀπό) and G1537; H7225, G575 XG12 G3a G"),
            (std::vector<std::u16string>{u"G575", u"G1537", u"H7225"}));
}

// Morphemes of a word: each group under its title, level by level, each
// level filled up to the most links it has in any group so that rows align.
TEST(MorphemeMenuTest, GroupsAreTitledAndAlignedByLevel) {
  const CPVLink a1(nullptr, u"A",
                   u"\x01"
                   u"a1",
                   "", false),
      a2(nullptr, u"A",
         u"\x02"
         u"a2",
         "", false),
      a2b(nullptr, u"A",
          u"\x02"
          u"a2b",
          "", false),
      b1(nullptr, u"B",
         u"\x01"
         u"b1",
         "", false),
      b1b(nullptr, u"B",
          u"\x01"
          u"b1b",
          "", false),
      b2(nullptr, u"B",
         u"\x02"
         u"b2",
         "", false);
  CMorphemeMenu menu;
  uint32_t command = 10;
  for (const CPVLink* link : {&b1, &a1, &a2, &b2, &a2b, &b1b}) menu.Add(link, command++);
  std::vector<std::u16string> rows;
  for (const WordMenuItem& item : menu.Build()) {
    using K = WordMenuItem::Kind;
    rows.push_back(item.kind == K::kTitle       ? u"[" + item.text + u"]"
                   : item.kind == K::kFiller    ? u"-"
                   : item.kind == K::kSeparator ? u"|"
                                                : item.text);
  }
  EXPECT_EQ(rows, (std::vector<std::u16string>{u"[A]", u"a1", u"-", u"a2", u"a2b", u"|", u"[B]",
                                               u"b1", u"b1b", u"b2", u"-"}));
}

}  // namespace
}  // namespace vorn
