// Matching at the edges: verses without words, windows that reach the ends
// of the text or cross chapters, wide windows, user-tag spans, positions in
// short units, and a database without sentence data.

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/u16.h"
#include "query/query_test_util.h"
#include "query/tag_spans.h"

namespace vorn::testing {
namespace {

std::string Hits(const std::u16string& text, CQueryContext* context) {
  std::vector<uint32_t> hits;
  std::string error = RunQueryText(text, context, &hits);
  if (!error.empty()) return error;
  std::string out;
  for (uint32_t h : hits) out += (out.empty() ? "" : " ") + std::to_string(h);
  return out;
}

TEST(TagSpansTest, SpansFollowTheMarksAndBeginPositions) {
  const uint8_t tagged[] = {1, 1, 1, 0, 1, 1, 1, 1, 0, 1};
  const uint8_t starts[] = {1, 0, 0, 0, 0, 0, 1, 0, 0, 0};
  std::vector<WordSpan> spans;
  MakeTagSpans(tagged, starts, 10, &spans);
  // Word 4 follows a gap without a begin position: it starts a span itself.
  EXPECT_EQ(spans, (std::vector<WordSpan>{{0, 3}, {4, 6}, {6, 8}, {9, 10}}));
  MakeTagSpans(tagged, nullptr, 4, &spans);
  EXPECT_EQ(spans, (std::vector<WordSpan>{{0, 1}, {1, 2}, {2, 3}}));
}

class EdgeTest : public ::testing::Test {
 protected:
  // GEN 1:1 a b (0-1), 1:2 without words, 1:3 c d (2-3), 1:4 e (4), 2:1 f g h
  // (5-7), 2:2 i (8); EXO 1:1 j k (9-10).
  void SetUp() override {
    DBSource s = MakeQuerySource({"GEN", "EXO"}, {{"GEN", 1, u"1", {u"a", u"b"}},
                                                  {"GEN", 1, u"2", {}},
                                                  {"GEN", 1, u"3", {u"c", u"d"}},
                                                  {"GEN", 1, u"4", {u"e"}},
                                                  {"GEN", 2, u"1", {u"f", u"g", u"h"}},
                                                  {"GEN", 2, u"2", {u"i"}},
                                                  {"EXO", 1, u"1", {u"j", u"k"}}});
    s.sentence_starts = {0, 3, 8};
    opened_ = std::make_unique<OpenedDatabase>(s);
    ASSERT_NE(opened_->db(), nullptr) << opened_->error();
    context_ = std::make_unique<FakeContext>(opened_->db());
  }

  std::string Run(const std::u16string& text) { return Hits(text, context_.get()); }

  std::unique_ptr<OpenedDatabase> opened_;
  std::unique_ptr<FakeContext> context_;
};

TEST_F(EdgeTest, AVerseWithoutWordsDoesNotHideTheNextVerse) {
  // Words 2 and 3 belong to 1:3, which begins where the empty 1:2 does.
  EXPECT_EQ(Run(u"text c within the same verse as text d"), "2");
  EXPECT_EQ(Run(u"text c initial in a verse"), "2");
  EXPECT_EQ(Run(u"text d final in a verse"), "3");
  // The empty verse still counts as a verse between 1:1 and 1:3.
  EXPECT_EQ(Run(u"text c within 1 verse of text b"), "");
  EXPECT_EQ(Run(u"text c within 2 verses of text b"), "2");
  EXPECT_EQ(Run(u"text * in Gen 1:2"), "");
  EXPECT_EQ(Run(u"text * in Gen 1:2-1:3"), "2 3");
}

TEST_F(EdgeTest, WindowsStopAtTheEndsOfTheText) {
  EXPECT_EQ(Run(u"text a within 50 words of text k"), "0");
  EXPECT_EQ(Run(u"text k following within 10 words of text a"), "10");
  EXPECT_EQ(Run(u"text a following text *"), "");
  EXPECT_EQ(Run(u"text k preceding text *"), "");
  EXPECT_EQ(Run(u"text k within 6 verses of text a"), "10");  // the empty 1:2 counts
  EXPECT_EQ(Run(u"text k within 5 verses of text a"), "");
  EXPECT_EQ(Run(u"text a within 9 chapters of text k"), "0");
  EXPECT_EQ(Run(u"text a within 2147483647 sentences of text k"), "0");
  EXPECT_EQ(Run(u"text a within 99999999999 words of text k"), "0");
}

TEST_F(EdgeTest, VersesAndChaptersCountAcrossChapterAndBookEnds) {
  EXPECT_EQ(Run(u"text f within 1 verse of text e"), "5");
  EXPECT_EQ(Run(u"text f preceding within 1 verse of text e"), "");
  EXPECT_EQ(Run(u"text f following within 1 verse of text e"), "5");
  EXPECT_EQ(Run(u"text i within 1 verse of text j"), "8");
  EXPECT_EQ(Run(u"text a within 1 chapter of text g"), "0");
  EXPECT_EQ(Run(u"text a within 1 chapter of text j"), "");
  EXPECT_EQ(Run(u"text * within the same chapter as text j"), "9 10");
  EXPECT_EQ(Run(u"text * not within the same chapter as text f"), "0 1 2 3 4 9 10");
}

TEST_F(EdgeTest, SameWordAndAdjacentWords) {
  EXPECT_EQ(Run(u"text * text a"), "0");
  EXPECT_EQ(Run(u"text a not text a"), "");
  EXPECT_EQ(Run(u"text * preceding text d"), "2");
  EXPECT_EQ(Run(u"text * following text d"), "4");
  EXPECT_EQ(Run(u"text * not preceding within 3 words of text *"), "10");
}

TEST_F(EdgeTest, PositionsInShortUnits) {
  EXPECT_EQ(Run(u"text * medial in a verse"), "6");
  EXPECT_EQ(Run(u"text * non-medial in a verse"), "0 1 2 3 4 5 7 8 9 10");
  EXPECT_EQ(Run(u"text * initial in a verse"), "0 2 4 5 8 9");
  EXPECT_EQ(Run(u"text * final in a verse"), "1 3 4 7 8 10");
  EXPECT_EQ(Run(u"text * non-final in a sentence"), "0 1 3 4 5 6 8 9");
  EXPECT_EQ(Run(u"text * initial in a sentence"), "0 3 8");
  // Without an analysis of its own, a window's propositions are its sentences.
  EXPECT_EQ(Run(u"text * initial in a proposition"), "0 3 8");
  EXPECT_EQ(Run(u"text * final in a paragraph"), "10");
}

TEST_F(EdgeTest, UserTagWindowsAreTheSpanThatHoldsTheHit) {
  context_->tags = {{u"Theme", true, {{1, 4}, {5, 8}}}};
  EXPECT_EQ(Run(u"text * within the same usertag theme as text c"), "1 2 3");
  // Outside every span the window is empty: intersect drops, except keeps.
  EXPECT_EQ(Run(u"text * within the same usertag theme as text *"), "1 2 3 5 6 7");
  EXPECT_EQ(Run(u"text * not within the same usertag THEME as text *"), "0 4 8 9 10");
  EXPECT_EQ(Run(u"text * preceding within the same ut theme as text *"), "1 2 5 6");
  EXPECT_EQ(Run(u"text * following within the same ut theme as text *"), "2 3 6 7");
  EXPECT_EQ(Run(u"usertag theme final in a verse"), "1 3 7");
  EXPECT_EQ(Run(u"ut Theme not ut theme"), "");
}

TEST_F(EdgeTest, WithoutSentenceDataTheTextIsOneSentenceAndWarnsOnce) {
  std::filesystem::remove(opened_->folder() + "/Sentence.ndx");
  EXPECT_EQ(Run(u"text a within the same sentence as text k"), "0");
  EXPECT_EQ(Run(u"text * initial in a sentence"), "0");
  int warnings = 0;
  for (const auto& m : opened_->sink().messages())
    warnings += m.text == u"Couldn't read Sentence data!";
  EXPECT_EQ(warnings, 2);  // one per node that measures sentences, not one per word
}

// Two words a sentence, paragraph and proposition; widening by more than
// the engine steps through one by one goes through a table of unit starts.
class WideWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::vector<std::u16string> words(120, u"a");
    words[60] = u"x";   // unit 30
    words[20] = u"y";   // unit 10
    words[101] = u"z";  // unit 50
    words[53] = u"v";   // unit 26
    words[67] = u"w";   // unit 33
    DBSource s = MakeQuerySource({"GEN"}, {{"GEN", 1, u"1", words}});
    for (uint32_t w = 0; w < 120; w += 2) {
      s.sentence_starts.push_back(w);
      if (w) s.formats.push_back({w, u"p"});
    }
    opened_ = std::make_unique<OpenedDatabase>(s);
    ASSERT_NE(opened_->db(), nullptr) << opened_->error();
    context_ = std::make_unique<FakeContext>(opened_->db());
    for (uint32_t w = 0; w < 120; w += 2) context_->proposition_starts.push_back(w);
  }

  std::unique_ptr<OpenedDatabase> opened_;
  std::unique_ptr<FakeContext> context_;
};

TEST_F(WideWindowTest, WindowsEndExactlyAtTheAmount) {
  for (const char16_t* unit : {u"sentences", u"paragraphs", u"propositions"}) {
    auto q = [&](const char16_t* head, int amount, const char16_t* other) {
      return Hits(std::u16string(u"text x ") + head + u"within " +
                      platform::ToU16(std::to_string(amount)) + u" " + unit + u" of text " + other,
                  context_.get());
    };
    SCOPED_TRACE(platform::ToUtf8(unit));
    EXPECT_EQ(q(u"", 20, u"y"), "60");
    EXPECT_EQ(q(u"", 19, u"y"), "");
    EXPECT_EQ(q(u"", 20, u"z"), "60");
    EXPECT_EQ(q(u"", 19, u"z"), "");
    EXPECT_EQ(q(u"following ", 20, u"y"), "60");
    EXPECT_EQ(q(u"following ", 40, u"z"), "");
    EXPECT_EQ(q(u"preceding ", 20, u"z"), "60");
    EXPECT_EQ(q(u"preceding ", 40, u"y"), "");
    EXPECT_EQ(q(u"", 4, u"v"), "60");
    EXPECT_EQ(q(u"", 3, u"v"), "");
    EXPECT_EQ(q(u"", 3, u"w"), "60");
    EXPECT_EQ(q(u"", 2, u"w"), "");
  }
}

}  // namespace
}  // namespace vorn::testing
