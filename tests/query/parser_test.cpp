// The query language: every error message with its exact positions, the
// shape of the trees the grammar builds, and the echo of the text.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/help_messages.h"
#include "platform/u16.h"
#include "query/parse_query.h"
#include "query/query_processor.h"
#include "query/query_test_util.h"
#include "query/query_text.h"
#include "query/query_token.h"

namespace vorn::testing {
namespace {

class ParserTest : public ::testing::Test {
 protected:
  void SetUp() override {
    opened_ = std::make_unique<OpenedDatabase>(
        MakeQuerySource({"GEN", "EXO"}, {{"GEN", 1, u"1", {u"a", u"b", u"c"}},
                                         {"GEN", 1, u"2", {u"b", u"a"}},
                                         {"EXO", 1, u"1", {u"c", u"a", u"b", u"d"}}}));
    ASSERT_NE(opened_->db(), nullptr) << opened_->error();
    context_ = std::make_unique<FakeContext>(opened_->db());
    // Words: GEN 1:1 a b c (0-2), 1:2 b a (3-4), EXO 1:1 c a b d (5-8).
    context_->tags = {
        {u"Theme", true, {{0, 2}}}, {u"Hidden", false, {{1, 2}}}, {u"Empty", true, {}}};
  }

  // "message @first-last" of the parse (or range) error; "" when none.
  // Unless `full`, the message stops before what it adds to teach (": …"
  // or " “…").
  std::string ParseError(const std::u16string& text, bool full = false) {
    QParsed q = ParseQuery(text, context_.get(), nullptr);
    if (!q.error) return "";
    std::u16string message = q.error->GetMessage();
    if (!full) message = message.substr(0, std::min(message.find(u": "), message.find(u" \u201C")));
    return platform::ToUtf8(message) + " @" + std::to_string(q.error->GetFirst()) + "-" +
           std::to_string(q.error->GetLast());
  }

  std::string Dump(const std::u16string& text) {
    QParsed q = ParseQuery(text, context_.get(), nullptr);
    if (q.error) return "error: " + platform::ToUtf8(q.error->GetMessage());
    std::string out;
    q.root->Dump(0, &out);
    return out;
  }

  // The dump without the character positions.
  std::string Shape(const std::u16string& text) {
    std::string d = Dump(text);
    std::string out;
    for (size_t i = 0; i < d.size(); ++i) {
      if (d[i] == ' ' && i + 1 < d.size() && d[i + 1] == '[') {
        i = d.find(']', i);
        continue;
      }
      out += d[i];
    }
    return out;
  }

  std::string Run(const std::u16string& text) {
    std::vector<uint32_t> hits;
    std::string error = RunQueryText(text, context_.get(), &hits);
    if (!error.empty()) return error;
    std::string out;
    for (uint32_t h : hits) out += (out.empty() ? "" : " ") + std::to_string(h);
    return out;
  }

  std::unique_ptr<OpenedDatabase> opened_;
  std::unique_ptr<FakeContext> context_;
};

TEST(QueryTextTest, CutsTokensAtBlanksQuotesAndParentheses) {
  CQText t(u"  Text(\"a b)\" x\r\nY)\"open");
  EXPECT_EQ(t.NextToken(false), u"Text");
  EXPECT_EQ(t.GetTokenStart(), 2);
  EXPECT_EQ(t.GetTokenLast(), 5);
  EXPECT_EQ(t.NextToken(false), u"(");
  EXPECT_EQ(t.NextToken(false), u"a b)");  // quotes excluded, blanks and ")" kept
  EXPECT_EQ(t.GetTokenStart(), 7);
  EXPECT_EQ(t.GetTokenAfter(), 13);
  // Carriage return and line feed separate only where a token begins.
  EXPECT_EQ(t.NextToken(false), u"x\r\nY");
  EXPECT_TRUE(t.IsBare(u'x') == false);
  EXPECT_EQ(t.NextToken(false), u")");
  EXPECT_TRUE(t.IsBare(u')'));
  EXPECT_EQ(t.NextToken(true), u"open");  // a quote left open runs to the end
  EXPECT_FALSE(t.AtEnd());
  t.UnreadToken();
  EXPECT_EQ(t.GetToken(false), u")");
  EXPECT_EQ(t.NextToken(false), u"open");
  EXPECT_EQ(t.NextToken(false), u"");
  EXPECT_TRUE(t.AtEnd());
  EXPECT_EQ(t.GetTokenStart(), 24);
  EXPECT_EQ(t.GetTokenLast(), 24);
}

TEST(QueryTextTest, LowerCasesOnlyAsciiCapitals) {
  CQText t(u"WITHIN ÄΛΌΓΟΣ");
  EXPECT_EQ(t.NextToken(true), u"within");
  EXPECT_EQ(t.NextToken(true), u"ÄΛΌΓΟΣ");
  EXPECT_EQ(t.GetToken(false), u"ÄΛΌΓΟΣ");
}

TEST_F(ParserTest, SyntaxErrorsCarryTheTokenPositions) {
  EXPECT_EQ(ParseError(u""), "Unexpected end @0-0");
  EXPECT_EQ(ParseError(u"   "), "Unexpected end @3-3");
  EXPECT_EQ(ParseError(u"text a or"), "Unexpected end @9-9");
  EXPECT_EQ(ParseError(u"text a and ("), "Unexpected end @12-12");
  EXPECT_EQ(ParseError(u"foo a"), "Unrecognised keyword @0-2");
  EXPECT_EQ(ParseError(u"text a or Bar b"), "Unrecognised keyword @10-12");
  EXPECT_EQ(ParseError(u"\"text\" a or \"(\" b"), "Unrecognised keyword @12-14");
  EXPECT_EQ(ParseError(u"text"), "Missing word @4-4");
  // The messages say what would have been valid.
  EXPECT_EQ(
      ParseError(u" ", true),
      "Unexpected end: the query is empty. Type a line keyword and a word, for example \u201Ctext "
      "a\u201D; join terms with and, or, not; end with in and a passage. @1-1");
  EXPECT_EQ(
      ParseError(u"foo a", true),
      "Unrecognised keyword \u201Cfoo\u201D. A term begins with a line keyword and a word; the "
      "keywords here are text (txt), gloss (g), usertag (ut, u), or \u201C(\u201D to open a group. "
      "@0-2");
  EXPECT_THAT(ParseError(u"text a within 2 furlongs of text b", true),
              ::testing::HasSubstr("within a number of words, verses, sentences"));
  EXPECT_THAT(ParseError(u"text a initial in a verses", true),
              ::testing::HasSubstr("sentence, paragraph (para), verse or proposition (prop)"));
  EXPECT_EQ(ParseError(u"text a or gloss  "), "Missing word @17-17");
  EXPECT_EQ(ParseError(u"text a)"), "Too many closing parentheses @6-6");
  EXPECT_EQ(ParseError(u"(text a)) or text b"), "Too many closing parentheses @8-8");
  EXPECT_EQ(ParseError(u"text a combined text b"), "Expected \"with\" @16-19");
  EXPECT_EQ(ParseError(u"text a combined"), "Expected \"with\" @15-15");
  EXPECT_EQ(ParseError(u"text a enlarged with text b"), "Expected \"by\" @16-19");
  EXPECT_EQ(ParseError(u"text a except text b"), "Expected \"for\" @14-17");
  EXPECT_EQ(ParseError(u"text a within x words of text b"),
            "Expected a number or \"{the} same\" @14-14");
  EXPECT_EQ(ParseError(u"text a within"), "Expected a number or \"{the} same\" @13-13");
  EXPECT_EQ(ParseError(u"text a within the verse text b"), "Expected \"same\" @18-22");
  EXPECT_EQ(ParseError(u"text a within 2 furlongs of text b"), "Unrecognised unit @16-23");
  EXPECT_EQ(ParseError(u"text a within 2"), "Unrecognised unit @15-15");
  EXPECT_EQ(ParseError(u"text a within 2 usertag Theme text b"),
            "Sorry, user tags used for proximity must be 'within the same usertag <name>.' @16-22");
  EXPECT_EQ(ParseError(u"text a within 1 uts theme text b"),
            "Sorry, user tags used for proximity must be 'within the same usertag <name>.' @16-18");
  EXPECT_EQ(ParseError(u"text a initial in verse"), "Expected \"in a\" @18-22");
  EXPECT_EQ(ParseError(u"text a final on a verse"), "Expected \"in a\" @13-14");
  EXPECT_EQ(ParseError(u"text a medial"), "Expected \"in a\" @13-13");
  EXPECT_EQ(ParseError(u"text a initial in a verses"), "Unrecognised unit @20-25");
  EXPECT_EQ(ParseError(u"text a initial in a"), "Unrecognised unit @19-19");
  // The first error wins: nothing after it is looked at.
  EXPECT_EQ(ParseError(u"text a combined by foo b"), "Expected \"with\" @16-17");
}

TEST_F(ParserTest, PreparationErrorsCarryTheTermPositions) {
  EXPECT_EQ(Run(u"text a or text zz initial in a verse"), "Word didn't match anything @10-35");
  EXPECT_EQ(Run(u"gloss \"x y\""), "Word didn't match anything @0-10");
  EXPECT_EQ(Run(u"text a or usertag Nope"), "Unknown user tag @10-21");
  EXPECT_EQ(Run(u"u hidden"), "User tag not displayed @0-7");
  EXPECT_EQ(Run(u"ut EMPTY"), "No words marked with this user tag @0-7");
  EXPECT_EQ(Run(u"text a within the same usertag nope as text b"), "Unknown user tag @31-34");
  EXPECT_EQ(Run(u"text a within same ut hidden text b"), "User tag not displayed @22-27");
  // The left operand is prepared before the right, the proximity last.
  EXPECT_EQ(Run(u"text zz within the same ut nope as text yy"), "Word didn't match anything @0-6");
  EXPECT_EQ(Run(u"text a within the same ut nope as text yy"), "Word didn't match anything @34-40");
}

TEST_F(ParserTest, OperatorsChainToTheRightWithoutPrecedence) {
  EXPECT_EQ(Dump(u"text a or text b and text c"),
            "union [0..0]\n"
            "  -\n"
            "  union [7..8]\n"
            "    term Text \"a\" [0..5]\n"
            "    intersect within 0 word [17..19]\n"
            "      term Text \"b\" [10..15]\n"
            "      term Text \"c\" [21..26]\n");
  EXPECT_EQ(Dump(u"(text a or text b) and text c"),
            "union [0..0]\n"
            "  -\n"
            "  intersect within 0 word [19..21]\n"
            "    union [8..9]\n"
            "      term Text \"a\" [1..6]\n"
            "      term Text \"b\" [11..16]\n"
            "    term Text \"c\" [23..28]\n");
  EXPECT_EQ(Run(u"text a or text b and text c"), "0 4 6");
  EXPECT_EQ(Run(u"(text a or text b) and text c"), "");
  EXPECT_EQ(Run(u"text a or text b not text c"), "0 1 3 4 6 7");
}

TEST_F(ParserTest, OperatorSpellingsAndClausesParseAlike) {
  const std::string same_word = Dump(u"text a and text b");
  EXPECT_NE(same_word.find("intersect within 0 word"), std::string::npos);
  for (const char16_t* op :
       {u"intersect", u"intersection", u"narrowed", u"narrowed with", u"narrowed by"}) {
    std::u16string q = std::u16string(u"text a ") + op + u" text b";
    EXPECT_NE(Dump(q).find("intersect within 0 word"), std::string::npos) << platform::ToUtf8(q);
  }
  for (const char16_t* op :
       {u"or", u"plus", u"union", u"enlarge", u"combined with", u"enlarged by", u"OR"}) {
    std::u16string q = std::u16string(u"text a ") + op + u" text b";
    EXPECT_NE(Dump(q).find("  union"), std::string::npos) << platform::ToUtf8(q);
  }
  for (const char16_t* op : {u"not", u"without", u"minus", u"except for", u"Except For"}) {
    std::u16string q = std::u16string(u"text a ") + op + u" text b";
    EXPECT_NE(Dump(q).find("except within 0 word"), std::string::npos) << platform::ToUtf8(q);
  }
  // Two terms side by side are an intersect at the same word.
  EXPECT_NE(Dump(u"text a gloss gb").find("intersect within 0 word"), std::string::npos);
  EXPECT_EQ(Run(u"text a gloss ga"), "0 4 6");
  EXPECT_EQ(Run(u"text b gloss ga"), "");

  const std::string three_words = Shape(u"text a within 3 words of text b");
  EXPECT_NE(three_words.find("intersect within 3 word"), std::string::npos);
  for (const char16_t* q :
       {u"text a within 3 word text b", u"text a within 3 words as text b",
        u"TEXT a WITHIN 3 WORDS OF TEXT b", u"text a and within 3 words text b"}) {
    EXPECT_EQ(Shape(q), three_words) << platform::ToUtf8(q);
  }
  EXPECT_NE(Dump(u"text a preceding text b").find("intersect preceding within 1 word"),
            std::string::npos);
  EXPECT_NE(Dump(u"text a after text b").find("intersect following within 1 word"),
            std::string::npos);
  EXPECT_NE(Dump(u"text a before within the same verse as text b")
                .find("intersect preceding within 0 verse"),
            std::string::npos);
  EXPECT_NE(Dump(u"text a not following within same chaps of text b")
                .find("except following within 0 chapter"),
            std::string::npos);
  EXPECT_NE(Dump(u"text a within 2 paras of text b").find("within 2 paragraph"), std::string::npos);
  EXPECT_NE(Dump(u"text a within 2 props of text b").find("within 2 proposition"),
            std::string::npos);
  EXPECT_NE(Dump(u"text a within 12x sentences of text b").find("within 12 sentence"),
            std::string::npos);
  // The tag name of a proximity is read in lower case.
  EXPECT_NE(Dump(u"text a within the same usertag Theme as text b").find("within 0 usertag theme"),
            std::string::npos);
  EXPECT_NE(Dump(u"text a non-initial in a para").find("non-initial in a paragraph"),
            std::string::npos);
  EXPECT_NE(Dump(u"usertag Theme nonfinal in a prop")
                .find("usertag \"Theme\" non-final in a proposition [0..31]"),
            std::string::npos);
}

TEST_F(ParserTest, ParenthesesGroupAndMayStayOpen) {
  EXPECT_EQ(Run(u"text a and (text a or text b"), "0 4 6");
  EXPECT_EQ(Run(u"((text c)) or ((text d"), "2 5 8");
  // A group left open still ends at the ranges.
  EXPECT_EQ(Run(u"text b or (text c in exo"), "5 7");
}

TEST_F(ParserTest, TheRangePartBeginsAfterTheTopLevelIn) {
  EXPECT_EQ(Run(u"text a in Gen 1"), "0 4");
  EXPECT_EQ(Run(u"text a in exo"), "6");
  EXPECT_EQ(Run(u"text a initial in a verse in exo"), "");
  EXPECT_EQ(Run(u"text a non-initial in a verse in gen"), "4");
  // "in" as a search word is the word, not the range part.
  EXPECT_EQ(Run(u"text in in gen"), "Word didn't match anything @0-6");
  // "in" with nothing after it once searched everything.
  EXPECT_EQ(ParseError(u"text a in"), "Missing range after \"in\" @7-8");
  EXPECT_EQ(ParseError(u"text a in \r\n"), "Missing range after \"in\" @7-8");
  std::u16string long_word(CQToken::kMaxWordLength + 1, u'*');
  EXPECT_EQ(ParseError(u"text " + long_word),
            "Search word too long @5-" + std::to_string(4 + long_word.size()));
}

TEST_F(ParserTest, DeepNestingIsRefusedNotOverflowed) {
  std::u16string deep(2000, u'(');
  deep += u"text a";
  EXPECT_NE(ParseError(deep).find("Query too complex"), std::string::npos);
  std::u16string chain = u"text a";
  for (int i = 0; i < 3000; ++i) chain += u" or text b";
  EXPECT_NE(ParseError(chain).find("Query too complex"), std::string::npos);
  std::u16string fine = u"text a";
  for (int i = 0; i < 300; ++i) fine += u" or (text b)";
  EXPECT_EQ(Run(fine), "0 1 3 4 6 7");
}

class RecordingEcho : public CQueryEchoSink {
 public:
  void AddPiece(std::u16string_view text, const CVornDBLine* line) override {
    out += line ? "<" + line->GetName() + ">" + platform::ToUtf8(text) + "</>"
                : platform::ToUtf8(text);
  }
  std::string out;
};

TEST_F(ParserTest, EchoMarksEverySearchWordWithItsLine) {
  RecordingEcho echo;
  {
    QParsed q = ParseQuery(u"text λόγος or (Gloss \"a b\") within 2 words of ut Theme in John 1",
                           context_.get(), &echo);
  }
  EXPECT_EQ(
      echo.out,
      "text <Text>λόγος</> or (Gloss <Gloss>\"a b\"</>) within 2 words of ut Theme in John 1");
  RecordingEcho failed;
  { QParsed q = ParseQuery(u"txt a or foo b", context_.get(), &failed); }
  EXPECT_EQ(failed.out, "txt <Text>a</> or foo b");
}

}  // namespace
}  // namespace vorn::testing

namespace vorn::testing {
namespace {

TEST(QueryKeywordTest, LineNamesWithCapitalsAnswerToTheirKeywordInAnyCase) {
  // The Greek test database names its lines "Greek" (a prompt) and "T".
  OpenedDatabase opened(MakeGreekTestSource());
  ASSERT_TRUE(opened.ok()) << opened.error();
  FakeContext context(opened.db());
  std::vector<uint32_t> lower, typed;
  EXPECT_EQ(RunQueryText(u"greek λόγος", &context, &lower), "");
  EXPECT_EQ(RunQueryText(u"Greek λόγος", &context, &typed), "");
  EXPECT_FALSE(lower.empty());
  EXPECT_EQ(lower, typed);
  EXPECT_THAT(RunQueryText(u"grek λόγος", &context, &lower),
              ::testing::StartsWith("Unrecognised keyword \u201Cgrek\u201D. A term begins"));
}

TEST(QereTest, AKetivIsFoundByItsQereExactlyLooselyAndByWildcards) {
  // Every הוא of the Hebrew test database reads הִיא, a form no word carries.
  OpenedDatabase opened(MakeHebrewTestSource());
  ASSERT_TRUE(opened.ok()) << opened.error();
  FakeContext context(opened.db());
  std::vector<uint32_t> ketiv, hits;
  EXPECT_EQ(RunQueryText(u"hebrew הוא", &context, &ketiv), "");
  ASSERT_EQ(ketiv.size(), 3u);
  for (const char16_t* q : {u"hebrew הִיא", u"hebrew ~היא", u"hebrew הִי*"}) {
    EXPECT_EQ(RunQueryText(q, &context, &hits), "") << platform::ToUtf8(q);
    EXPECT_EQ(hits, ketiv) << platform::ToUtf8(q);
  }
}

// Where the front end has help pages, a query's error leads to the page of
// the query language; elsewhere it is a plain warning.
TEST(QueryErrorTest, TheMessageLeadsToTheQueryLanguagePageWhereThereIsOne) {
  struct HelpSink : platform::CRecordingMessageSink, platform::CHelpMessages {
    void ShowWarningWithHelp(const std::u16string& text, std::string_view topic) override {
      ShowWarning(text);
      topics.emplace_back(topic);
    }
    std::vector<std::string> topics;
  };
  OpenedDatabase opened(MakeGreekTestSource());
  ASSERT_TRUE(opened.ok()) << opened.error();
  FakeContext context(opened.db());
  CQueryProcessor processor(u"grek λόγος", &context, nullptr);
  ASSERT_FALSE(processor.Parse());
  HelpSink helpful;
  processor.ShowError(&helpful);
  EXPECT_EQ(helpful.topics, std::vector<std::string>{"query-language"});
  platform::CRecordingMessageSink plain;
  processor.ShowError(&plain);
  ASSERT_EQ(plain.messages().size(), 1u);
  EXPECT_EQ(plain.messages()[0].text, helpful.messages()[0].text);
}

}  // namespace
}  // namespace vorn::testing
