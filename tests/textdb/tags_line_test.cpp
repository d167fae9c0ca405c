// The grammar-tags line: tag wildcards, decoder choice and the choices the
// grammar-tag query dialog lists.
#include "textdb/tags_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "aux_test_util.h"

namespace vorn {
namespace {

using aux_testing::MakeStats;
using aux_testing::ScratchFolder;
using aux_testing::WriteOrdinaryLine;

TEST(TagPatternTest, SetsAndNegatedSets) {
  EXPECT_TRUE(MatchTagPattern(u"N[!V]*", u"Ncmsa"));
  EXPECT_TRUE(MatchTagPattern(u"N[!V]*", u"Nc"));
  EXPECT_FALSE(MatchTagPattern(u"N[!V]*", u"NVx"));
  EXPECT_FALSE(MatchTagPattern(u"N[!V]*", u"N"));  // a set never matches the end
  EXPECT_TRUE(MatchTagPattern(u"[ab]x", u"bx"));
  EXPECT_FALSE(MatchTagPattern(u"[ab]x", u"cx"));
  EXPECT_TRUE(MatchTagPattern(u"[!]", u"z"));
  EXPECT_FALSE(MatchTagPattern(u"[!]", u""));
  EXPECT_FALSE(MatchTagPattern(u"[!]", u"zz"));
  EXPECT_FALSE(MatchTagPattern(u"[]", u"a"));
  EXPECT_FALSE(MatchTagPattern(u"[]", u""));
  EXPECT_FALSE(MatchTagPattern(u"[ab", u"a"));  // no closing bracket
  EXPECT_TRUE(MatchTagPattern(u"[*?]", u"*"));  // wildcards stand for themselves in a set
  EXPECT_FALSE(MatchTagPattern(u"[*?]", u"a"));
}

TEST(TagPatternTest, RunWithoutX) {
  EXPECT_TRUE(MatchTagPattern(u"V@s", u"Vqp3ms"));
  EXPECT_TRUE(MatchTagPattern(u"V@s", u"Vs"));  // the run may be empty
  EXPECT_FALSE(MatchTagPattern(u"V@s", u"VqXs"));
  EXPECT_FALSE(MatchTagPattern(u"V@s", u"VXs"));
  EXPECT_TRUE(MatchTagPattern(u"V@Xs", u"VqXs"));  // stops at, not past, an X
  EXPECT_FALSE(MatchTagPattern(u"V@", u"V"));
  EXPECT_FALSE(MatchTagPattern(u"V@", u"Vqp3ms"));
}

TEST(TagPatternTest, StarsAndQuestionMarks) {
  EXPECT_TRUE(MatchTagPattern(u"V*", u"V"));
  EXPECT_TRUE(MatchTagPattern(u"V*3*s", u"Vqp3ms"));
  EXPECT_TRUE(MatchTagPattern(u"V??3ms", u"Vqp3ms"));
  EXPECT_FALSE(MatchTagPattern(u"V?", u"V"));
  EXPECT_FALSE(MatchTagPattern(u"v*", u"Vqp3ms"));  // case matters
}

TEST(TagPatternTest, ManyStarsAndRunsTakeNoDeepRecursionNorRetries) {
  // Once a stack frame per '*' (a crash at tens of thousands) and every
  // split of the tag tried again for each '*' (hours for a few dozen).
  EXPECT_TRUE(MatchTagPattern(std::u16string(40000, u'*') + u"s", u"Vqp3ms"));
  std::u16string tries;
  for (int i = 0; i < 60; ++i) tries += u"*@";
  EXPECT_FALSE(MatchTagPattern(tries + u"b", std::u16string(200, u'a')));
  EXPECT_TRUE(MatchTagPattern(tries + u"a", std::u16string(200, u'a')));
  // Inside the pattern a '*' does not try the end of the tag: a run of them
  // at the end needs one character, whether matched alone or through the
  // line's search.
  EXPECT_FALSE(MatchTagPattern(u"V**", u"V"));
  EXPECT_TRUE(MatchTagPattern(u"V**", u"Vq"));
}

class TagsLineTest : public ::testing::Test {
 protected:
  std::unique_ptr<CVornDBTagsLine> Make(const std::string& scheme) {
    stats_ = MakeStats(folder_.path(), "InterlinearLines:\n Tag: x\n  TagScheme: " + scheme + "\n");
    return std::make_unique<CVornDBTagsLine>(CVornDBLineParams("Tag", stats_.get(), nullptr));
  }

  ScratchFolder folder_{"tags"};
  std::unique_ptr<CVornDBStats> stats_;
};

TEST_F(TagsLineTest, DecoderByExactSchemeName) {
  EXPECT_NE(Make("Westminster")->GetDecoder(), nullptr);
  EXPECT_NE(Make("LogosHebrew")->GetDecoder(), nullptr);
  EXPECT_EQ(Make("westminster")->GetDecoder(), nullptr);
  EXPECT_EQ(Make("")->GetDecoder(), nullptr);
  auto plain = Make("Unknown");
  EXPECT_EQ(plain->DescribeTag(u"Vqp3ms"), u"Vqp3ms");
  EXPECT_EQ(plain->GetWildcards(), u"*?@[");
}

TEST_F(TagsLineTest, ListTagChoices) {
  WriteOrdinaryLine(folder_.path(), "Tag", {u"Vqp3ms", u"Ncmsa", u"Ncmsc", u"Ncmsa"});
  auto line = Make("Unknown");
  ASSERT_TRUE(line->Open());
  const FormList forms{0, 1, 2};
  ASSERT_EQ(line->GetFormText(0), u"Ncmsa");
  ASSERT_EQ(line->GetFormText(2), u"Vqp3ms");

  std::vector<std::u16string> prefixes{u"old"}, choices{u"old"};
  line->ListTagChoices(forms, &prefixes, &choices, 0);
  EXPECT_TRUE(prefixes.empty());
  EXPECT_EQ(choices, (std::vector<std::u16string>{u"N\t\"N\"", u"V\t\"V\""}));

  line->ListTagChoices(forms, &prefixes, &choices, 1);
  EXPECT_EQ(prefixes, (std::vector<std::u16string>{u"N", u"V"}));
  EXPECT_EQ(choices, (std::vector<std::u16string>{u"c\t\"c\"", u"q\t\"q\""}));

  // Past the end of the shorter tags only the longer ones offer choices.
  line->ListTagChoices(forms, &prefixes, &choices, 5);
  EXPECT_EQ(prefixes, (std::vector<std::u16string>{u"Ncmsa", u"Ncmsc", u"Vqp3m"}));
  EXPECT_EQ(choices, (std::vector<std::u16string>{u"s\t\"s\""}));

  line->ListTagChoices(forms, &prefixes, &choices, -1);
  EXPECT_TRUE(prefixes.empty());
  EXPECT_TRUE(choices.empty());
  line->ListTagChoices({}, &prefixes, &choices, 0);
  EXPECT_TRUE(choices.empty());
}

TEST_F(TagsLineTest, SearchUsesTagWildcards) {
  WriteOrdinaryLine(folder_.path(), "Tag", {u"Ncmsa", u"Ncmsc", u"Vqp3ms", u"VqX3ms", u"NVx"});
  auto line = Make("Unknown");
  ASSERT_TRUE(line->Open());
  auto texts = [&](const FormList& forms) {
    std::vector<std::u16string> out;
    for (uint32_t f : forms) out.push_back(line->GetFormText(f));
    return out;
  };
  FormList forms;
  EXPECT_TRUE(line->MatchForms(u"N[!V]*", &forms));
  EXPECT_EQ(texts(forms), (std::vector<std::u16string>{u"Ncmsa", u"Ncmsc"}));
  EXPECT_TRUE(line->MatchForms(u"V@s", &forms));
  EXPECT_EQ(texts(forms), (std::vector<std::u16string>{u"Vqp3ms"}));
  EXPECT_FALSE(line->MatchForms(u"V@", &forms));
  EXPECT_FALSE(line->MatchForms(u"[]*", &forms));
  EXPECT_TRUE(line->MatchForms(u"Ncmsc", &forms));
  EXPECT_EQ(texts(forms), (std::vector<std::u16string>{u"Ncmsc"}));
  EXPECT_FALSE(line->MatchForms(u"NVx***", &forms));  // as MatchTagPattern says
  EXPECT_TRUE(line->MatchForms(u"V*****s", &forms));
  EXPECT_EQ(texts(forms), (std::vector<std::u16string>{u"Vqp3ms", u"VqX3ms"}));
}

}  // namespace
}  // namespace vorn
