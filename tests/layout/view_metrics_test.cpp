// View metrics on the small Greek and Hebrew test databases, measured with
// the text device at 96 pixels per inch. Line fonts of the Greek database:
// Form 14 pt (text height 21, "x" 10), Tlit 10 (14), Tag 9 (13), Glos 10
// (14), Lema 12 (18), Links 9 (13).
#include "metrics/view_metrics.h"

#include <gtest/gtest.h>

#include "device/text_device.h"
#include "layout/layout_test_util.h"
#include "metrics/word_metrics.h"
#include "textdb/ini_file.h"

namespace vorn {
namespace {

using testing::OpenedTestDB;

// Marks words 3 and 4; tag styles make fonts bold and count the requests.
class FakeMarkup : public CWordMarkupSource {
 public:
  bool IsWordTagged(WordIndex w) const override { return w == 3 || w == 4; }
  void GetWordTags(WordIndex w, std::vector<CTagDB*>* tags) const override {
    if (IsWordTagged(w)) tags->push_back(nullptr);
  }
  std::unique_ptr<CWordTags> MakeWordTags(WordIndex, const CViewMetrics&) override {
    return nullptr;
  }
  void ApplyTagStyle(int style, CFontFormat* font) const override {
    ++styled;
    CWordMarkupSource::ApplyTagStyle(style, font);
  }
  bool HasNote(WordIndex w) const override { return w == 7; }
  mutable int styled = 0;
};

class ViewMetricsTest : public ::testing::Test {
 protected:
  ViewMetricsTest() : greek_(testing::MakeGreekTestSource()) {}
  OpenedTestDB greek_;
  CTextDevice device_;
};

TEST_F(ViewMetricsTest, StartsFromTheDatabase) {
  CViewMetrics m(greek_.db(), nullptr);
  EXPECT_FALSE(m.IsRightToLeft());
  EXPECT_EQ(m.GetWidth(), 80);
  EXPECT_EQ(m.GetMagnification(), 100);
  EXPECT_EQ(m.GetLineCount(), 6);
  EXPECT_EQ(m.GetLineFont(0).face(), u"Gentium Plus");
  EXPECT_EQ(m.GetVerseFont(CViewMetrics::kChapterFont).height(), 140);
  EXPECT_EQ(m.GetTagLabelFont().height(), 80);
  EXPECT_EQ(m.GetPanelFont().height(), 100);
  EXPECT_EQ(m.GetHeadingFont(1).height(), 160);
  EXPECT_EQ(m.GetHeadingFont(2).height(), 120);
  EXPECT_EQ(m.GetHeadingFont(0).height(), 120);  // 0 and beyond: the last
  EXPECT_EQ(m.GetHeadingFont(7).height(), 120);
  EXPECT_EQ(m.GetPropositionLevel(), -1);

  OpenedTestDB hebrew(testing::MakeHebrewTestSource());
  EXPECT_TRUE(CViewMetrics(hebrew.db(), nullptr).IsRightToLeft());
}

TEST_F(ViewMetricsTest, PrepareMeasuresTheVisibleLines) {
  CViewMetrics m(greek_.db(), nullptr);
  EXPECT_TRUE(m.SetSize(50, 300));
  EXPECT_EQ(m.GetWidth(), 80);  // narrower areas count as 80
  EXPECT_FALSE(m.SetSize(80, 300));
  EXPECT_TRUE(m.Prepare(&device_, 0));
  EXPECT_EQ(m.GetRowHeight(), 21 + 14 + 13 + 14 + 18 + 13 + 5);
  EXPECT_EQ(m.GetSpaceUnit(), 10);
  EXPECT_EQ(m.GetStandardIndent(), 40);
  EXPECT_EQ(m.GetRowsHeight(), 3 * 98);
  EXPECT_FALSE(m.Prepare(&device_, 100));
  EXPECT_TRUE(m.SetSize(200, 150));
  EXPECT_EQ(m.GetRowsHeight(), 98);
  EXPECT_TRUE(m.SetSize(200, 50));
  EXPECT_EQ(m.GetRowsHeight(), 98);  // at least one row

  // 150 %: a 12-point line is made at 18 points.
  EXPECT_TRUE(m.Prepare(&device_, 150));
  EXPECT_EQ(m.GetLineFont(4).GetDeviceDescription(false).point_tenths, 180);
  EXPECT_EQ(m.GetLineFont(4).GetDeviceDescription(true).point_tenths, 120);
  EXPECT_EQ(m.GetHeadingFont(1).magnification(), 150);
  EXPECT_EQ(m.GetPanelFont().device(), &device_);
}

TEST_F(ViewMetricsTest, HidingLinesChangesTheRowAndTheTopLine) {
  CViewMetrics m(greek_.db(), nullptr);
  m.SetSize(300, 200);
  m.Prepare(&device_, 0);
  m.SetLineVisible(0, false);
  // The device is forgotten until the next paint.
  EXPECT_EQ(m.GetDevice(), nullptr);
  EXPECT_EQ(m.GetRowHeight(), 5);
  EXPECT_EQ(m.GetTopVisibleLine(), 1);
  EXPECT_TRUE(m.Prepare(&device_, 0));
  EXPECT_EQ(m.GetRowHeight(), 98 - 21);
  EXPECT_EQ(m.GetSpaceUnit(), 7);
  EXPECT_EQ(m.GetRowsHeight(), 2 * 77);
  for (int i = 1; i < 5; ++i) m.SetLineVisible(i, false);
  EXPECT_TRUE(m.IsSingleLineVisible());
  EXPECT_EQ(m.GetTopVisibleLine(), 5);
  m.SetLineVisible(5, true);  // unchanged: nothing happens
  EXPECT_FALSE(m.IsLineVisible(0));
  EXPECT_FALSE(m.IsLineVisible(17));
}

TEST(MagnificationTest, WheelStepsStayOnTheSixSteps) {
  EXPECT_EQ(CViewMetrics::StepMagnification(100, 1), 130);
  EXPECT_EQ(CViewMetrics::StepMagnification(110, 0), 130);
  EXPECT_EQ(CViewMetrics::StepMagnification(110, -1), 100);
  EXPECT_EQ(CViewMetrics::StepMagnification(100, 9), 200);
  EXPECT_EQ(CViewMetrics::StepMagnification(300, 1), 200);
  EXPECT_EQ(CViewMetrics::StepMagnification(20, -3), 65);
}

TEST_F(ViewMetricsTest, VisibilityTestsOfPositions) {
  CViewMetrics m(greek_.db(), nullptr);
  m.SetSize(300, 300);
  m.Prepare(&device_, 0);
  // Half the top line's text height (21) decides.
  EXPECT_TRUE(m.IsYVisible(-10));
  EXPECT_FALSE(m.IsYVisible(-11));
  EXPECT_TRUE(m.IsYVisible(289));
  EXPECT_FALSE(m.IsYVisible(290));
  EXPECT_TRUE(m.IsRowVisible(201));
  EXPECT_FALSE(m.IsRowVisible(202));
  EXPECT_FALSE(m.IsRowVisible(-1));
}

TEST_F(ViewMetricsTest, TagFontsComeFromTheTopLineAndAreCached) {
  FakeMarkup markup;
  CViewMetrics m(greek_.db(), &markup);
  m.Prepare(&device_, 0);
  const int bold = MakeTagStyle(1, 5, 0);
  const CFontFormat& f = m.GetTagFont(bold);
  EXPECT_EQ(f.face(), u"Gentium Plus");
  EXPECT_TRUE(f.bold());
  EXPECT_EQ(f.colour(), 5u);
  EXPECT_EQ(f.device(), &device_);
  EXPECT_EQ(&m.GetTagFont(bold), &f);
  EXPECT_EQ(markup.styled, 1);
  m.SetLineVisible(0, false);
  m.Prepare(&device_, 0);
  EXPECT_EQ(m.GetTagFont(bold).face(), u"Arial");
  EXPECT_EQ(markup.styled, 2);

  EXPECT_TRUE(m.IsWordTagged(3));
  EXPECT_FALSE(m.IsWordTagged(5));
  std::vector<CTagDB*> tags{nullptr, nullptr};
  m.GetWordTags(5, &tags);
  EXPECT_TRUE(tags.empty());
  EXPECT_TRUE(m.HasNote(7));
  CWordMetrics wm(7, &m);
  EXPECT_TRUE(wm.HasNote());
  EXPECT_EQ(wm.GetTags(), nullptr);
  EXPECT_EQ(wm.rects().size(), 6u);
  EXPECT_EQ(wm.GetFirstVisibleLine(), 1);

  CViewMetrics bare(greek_.db(), nullptr);
  EXPECT_FALSE(bare.IsWordTagged(3));
  EXPECT_TRUE(bare.GetTagFont(MakeTagStyle(2, 0, 0)).italic());
}

TEST_F(ViewMetricsTest, SelectionKeepsOrderWithoutDuplicates) {
  CViewMetrics m(greek_.db(), nullptr);
  m.SelectWord(9, true);
  m.SelectWord(5, true);
  m.SelectWord(5, true);
  m.SelectRange(6, 8, true);
  EXPECT_EQ(m.GetSelection(), (std::vector<WordIndex>{5, 6, 7, 9}));
  m.SelectRange(6, 10, false);
  m.SelectWord(4, false);
  EXPECT_EQ(m.GetSelection(), (std::vector<WordIndex>{5}));
  m.SetSelection({3, 1, 3});
  EXPECT_TRUE(m.IsSelected(1));
  EXPECT_FALSE(m.IsSelected(2));
  EXPECT_EQ(m.GetSelection().size(), 2u);

  // A copy has no selection and no device, but keeps the settings.
  m.Prepare(&device_, 130);
  m.SetLineVisible(2, false);
  CViewMetrics copy(m);
  EXPECT_TRUE(copy.GetSelection().empty());
  EXPECT_EQ(copy.GetDevice(), nullptr);
  EXPECT_EQ(copy.GetMagnification(), 130);
  EXPECT_FALSE(copy.IsLineVisible(2));
}

TEST_F(ViewMetricsTest, SettingsRoundTripWithRunLengthSelection) {
  CViewMetrics m(greek_.db(), nullptr);
  m.SetSelection({5, 6, 7, 9});
  m.Prepare(&device_, 150);
  m.SetRightToLeft(true);
  CIniFile ini;
  // Keys of an older, longer selection must not come back.
  ini.SetInt(u"Pane Selection", u"Sel 3", 40);
  m.SaveSettings(&ini, u"Pane");
  int32_t v = 0;
  EXPECT_TRUE(ini.GetInt(u"Pane Selection", u"Sel 0", &v) && v == 5);
  EXPECT_TRUE(ini.GetInt(u"Pane Selection", u"Sel 1", &v) && v == -7);
  EXPECT_TRUE(ini.GetInt(u"Pane Selection", u"Sel 2", &v) && v == 9);
  EXPECT_FALSE(ini.GetInt(u"Pane Selection", u"Sel 3", &v));
  EXPECT_TRUE(ini.GetInt(u"Pane", u"Magnification", &v) && v == 150);

  CViewMetrics n(greek_.db(), nullptr);
  n.Prepare(&device_, 0);
  n.SelectWord(1, true);
  n.LoadSettings(ini, u"Pane");
  EXPECT_EQ(n.GetSelection(), (std::vector<WordIndex>{5, 6, 7, 9}));
  EXPECT_EQ(n.GetMagnification(), 150);
  EXPECT_TRUE(n.IsRightToLeft());
  EXPECT_EQ(n.GetDevice(), nullptr);  // measured again at the next paint
}

TEST_F(ViewMetricsTest, SavedSelectionIsLimitedAndLoadingIsGuarded) {
  CViewMetrics m(greek_.db(), nullptr);
  std::vector<WordIndex> words;
  for (WordIndex w = 0; w < 520; ++w) words.push_back(2 * w);  // no runs
  m.SetSelection(words);
  CIniFile ini;
  m.SaveSettings(&ini, u"A");
  std::vector<std::u16string> keys;
  ini.GetKeys(u"A Selection", &keys);
  EXPECT_EQ(keys.size(), 500u);

  // A run cut by the limit keeps only its first word.
  words.clear();
  words.push_back(0);
  for (WordIndex w = 10; w < 1000; ++w) words.push_back(w);
  m.SetSelection(words);
  ini.RemoveSection(u"B Selection");
  m.SaveSettings(&ini, u"B");
  keys.clear();
  ini.GetKeys(u"B Selection", &keys);
  EXPECT_EQ(keys.size(), 2u);

  // Damaged values: runs before any word, words past the end, a run to
  // the largest negative number.
  const int32_t count = static_cast<int32_t>(greek_.db()->GetWordCount());
  ini.SetInt(u"C Selection", u"Sel 0", -3);
  ini.SetInt(u"C Selection", u"Sel 1", count + 5);
  ini.SetInt(u"C Selection", u"Sel 2", count - 3);
  ini.SetInt(u"C Selection", u"Sel 3", INT32_MIN);
  ini.SetInt(u"C", u"Magnification", 100000);
  m.LoadSettings(ini, u"C");
  EXPECT_EQ(m.GetSelection(), (std::vector<WordIndex>{count - 3, count - 2, count - 1}));
  EXPECT_EQ(m.GetMagnification(), 100);
}

}  // namespace
}  // namespace vorn
