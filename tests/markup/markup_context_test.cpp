// Queries over user-tag and proposition units, through the markup context,
// against answers worked out word by word.
#include "markup/markup_context.h"

#include <gtest/gtest.h>

#include <random>

#include "markup/markup_test_util.h"
#include "platform/u16.h"
#include "query/parse_query.h"

namespace vorn {
namespace {

constexpr uint32_t kWords = 60;

std::string RunQuery(const std::u16string& text, CQueryContext* context,
                     std::vector<uint32_t>* hits) {
  hits->clear();
  QParsed q = ParseQuery(text, context, nullptr);
  QErrorPtr error = q.error ? std::move(q.error) : PrepareQuery(&q, context);
  if (error) return platform::ToUtf8(error->GetMessage());
  EvaluateQuery(&q);
  *hits = q.root->GetHits().words();
  return {};
}

class MarkupContextTest : public ::testing::Test {
 protected:
  MarkupContextTest()
      : mdb_(testing::MakeMarkupSource(kWords, {0, 21, 40})), list_(mdb_.work(), &mdb_.sink()) {}
  void SetUp() override {
    ASSERT_TRUE(mdb_.ok()) << mdb_.error();
    tags_ = std::make_unique<CTagsDB>(mdb_.db_folder(), u"MKP", kWords, mdb_.user_folder(),
                                      &mdb_.sink());
  }

  // The words h for which `same(h, w)` holds for some w in `others`.
  static std::vector<uint32_t> Expect(const std::vector<uint32_t>& others,
                                      const std::function<bool(uint32_t, uint32_t)>& same) {
    std::vector<uint32_t> out;
    for (uint32_t h = 0; h < kWords; ++h) {
      for (uint32_t w : others) {
        if (same(h, w)) {
          out.push_back(h);
          break;
        }
      }
    }
    return out;
  }

  testing::MarkupDatabase mdb_;
  CPropositionsList list_;
  std::unique_ptr<CTagsDB> tags_;
};

TEST_F(MarkupContextTest, UserTagTermsAndUnits) {
  CTagDB* theme = tags_->CreateTag(u"Set", u"Theme");
  ASSERT_NE(theme, nullptr);
  ASSERT_NE(tags_->CreateTag(u"", u"Hidden"), nullptr);
  std::mt19937 random(7);
  for (int i = 0; i < 25; ++i) {
    WordIndex a = static_cast<WordIndex>(random() % kWords);
    WordIndex b = std::min<WordIndex>(kWords - 1, a + static_cast<WordIndex>(random() % 4));
    if (i % 3 == 0) {
      theme->ToggleWord(a);
    } else {
      theme->ToggleRange(a, b);
    }
  }
  CMarkupContext context(mdb_.db(), tags_.get(), &list_);
  std::vector<uint32_t> hits;
  EXPECT_EQ(RunQuery(u"usertag theme", &context, &hits), "User tag not displayed");
  EXPECT_EQ(RunQuery(u"usertag nope", &context, &hits), "Unknown user tag");
  context.GetViewTags().ToggleTag(theme);
  EXPECT_EQ(RunQuery(u"usertag Hidden", &context, &hits), "User tag not displayed");

  ASSERT_EQ(RunQuery(u"usertag THEME", &context, &hits), "");
  std::vector<uint32_t> tagged;
  for (uint32_t w = 0; w < kWords; ++w) {
    if (theme->IsTagged(static_cast<WordIndex>(w))) tagged.push_back(w);
  }
  EXPECT_EQ(hits, tagged);
  ASSERT_FALSE(tagged.empty());

  const std::vector<WordSpan> spans = theme->GetSpans();
  auto span_of = [&](uint32_t w) {
    for (const WordSpan& s : spans) {
      if (static_cast<WordIndex>(w) >= s.first && static_cast<WordIndex>(w) < s.end) return s;
    }
    return WordSpan{};
  };
  for (uint32_t probe : {tagged.front(), tagged[tagged.size() / 2], tagged.back()}) {
    SCOPED_TRACE(probe);
    const std::u16string word = u"w" + platform::ToU16(std::to_string(probe));
    ASSERT_EQ(RunQuery(u"text w* within the same usertag theme as text " + word, &context, &hits),
              "");
    EXPECT_EQ(hits, Expect({probe}, [&](uint32_t h, uint32_t w) {
                const WordSpan s = span_of(h);
                return !s.IsNone() && s == span_of(w);
              }));
  }
  context.GetViewTags().ReleaseTags();
}

TEST_F(MarkupContextTest, PropositionUnitsAndPositions) {
  CMarkupContext context(mdb_.db(), tags_.get(), &list_);
  CPropositions* p = context.GetPropositions();
  EXPECT_EQ(context.GetPropositions(), p);  // made once
  p->Split({7});
  p->Split({15});
  p->ShiftRight({16});
  p->ShiftRight({30});  // joins the second sentence to the first
  p->Split({50});

  std::vector<uint32_t> hits;
  ASSERT_EQ(RunQuery(u"text w* initial in a proposition", &context, &hits), "");
  EXPECT_EQ(hits, Expect({0}, [&](uint32_t h, uint32_t) {
              return p->GetProposition(static_cast<WordIndex>(h), kAllLevels).first ==
                     static_cast<WordIndex>(h);
            }));
  EXPECT_EQ(hits, (std::vector<uint32_t>{0, 7, 15, 21, 40, 50}));

  ASSERT_EQ(RunQuery(u"text w* final in a prop", &context, &hits), "");
  EXPECT_EQ(hits, (std::vector<uint32_t>{6, 14, 20, 39, 49, 59}));

  for (uint32_t probe : {3u, 16u, 30u, 55u}) {
    SCOPED_TRACE(probe);
    const std::u16string word = u"w" + platform::ToU16(std::to_string(probe));
    ASSERT_EQ(RunQuery(u"text w* within the same proposition as text " + word, &context, &hits),
              "");
    EXPECT_EQ(hits, Expect({probe}, [&](uint32_t h, uint32_t w) {
                return p->GetProposition(static_cast<WordIndex>(h), kAllLevels) ==
                       p->GetProposition(static_cast<WordIndex>(w), kAllLevels);
              }));
    ASSERT_EQ(RunQuery(u"text w* within 1 proposition of text " + word, &context, &hits), "");
    EXPECT_FALSE(hits.empty());
  }

  // A loaded analysis replaces the window's own.
  ASSERT_TRUE(context.SavePropositionsAs(u"Saved"));
  EXPECT_EQ(context.GetPropositions()->GetName(), u"Saved");
  context.DropPropositions();
  ASSERT_TRUE(context.LoadPropositions(u"Saved"));
  ASSERT_EQ(RunQuery(u"text w* initial in a proposition", &context, &hits), "");
  EXPECT_EQ(hits, (std::vector<uint32_t>{0, 7, 15, 21, 40, 50}));
  EXPECT_FALSE(context.LoadPropositions(u"Missing"));
  EXPECT_EQ(context.GetPropositions()->GetName(), u"Saved");
}

}  // namespace
}  // namespace vorn
