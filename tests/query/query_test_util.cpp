#include "query/query_test_util.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "platform/u16.h"
#include "query/parse_query.h"

namespace vorn::testing {

DBSource MakeQuerySource(const std::vector<std::string>& books,
                         const std::vector<TestVerse>& verses) {
  DBSource s;
  s.name = u"QRY";
  s.title = u"Query test";
  s.books = books;
  DBLine text;
  text.name = "Text";
  text.query_prompt = u"text";
  text.query_names = {u"txt"};
  DBLine gloss;
  gloss.name = "Gloss";
  gloss.query_prompt = u"gloss";
  gloss.query_names = {u"g"};
  for (const TestVerse& v : verses) {
    const auto book = std::find(books.begin(), books.end(), v.book);
    s.verses.push_back({static_cast<uint32_t>(text.words.size()),
                        static_cast<int>(book - books.begin()) + 1, v.chapter, v.label});
    for (size_t i = 0; i < v.text.size(); ++i) {
      text.words.push_back(v.text[i]);
      gloss.words.push_back(i < v.gloss.size() ? v.gloss[i] : u"g" + v.text[i]);
    }
  }
  s.lines = {text, gloss};
  s.headings.push_back({0, {{1, {u"Start"}}}});
  return s;
}

CQueryContext::TagLookup FakeContext::FindUserTag(std::u16string_view name,
                                                  std::vector<WordSpan>* spans) {
  spans->clear();
  auto lower = [](std::u16string_view s) {
    std::u16string out(s);
    for (char16_t& c : out)
      if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
    return out;
  };
  for (const Tag& t : tags) {
    if (lower(t.name) != lower(name)) continue;
    if (!t.displayed) return TagLookup::kNotDisplayed;
    *spans = t.spans;
    return TagLookup::kFound;
  }
  return TagLookup::kUnknown;
}

WordSpan FakeContext::GetPropositionRange(WordIndex word) {
  if (proposition_starts.empty()) return CQueryContext::GetPropositionRange(word);
  auto it = std::upper_bound(proposition_starts.begin(), proposition_starts.end(),
                             static_cast<uint32_t>(word));
  const uint32_t start = *(it - 1);
  const uint32_t end = it == proposition_starts.end() ? db_->GetWordCount() : *it;
  return {static_cast<WordIndex>(start), static_cast<WordIndex>(end)};
}

std::string RunQueryText(const std::u16string& text, CQueryContext* context,
                         std::vector<uint32_t>* hits) {
  hits->clear();
  QParsed q = ParseQuery(text, context, nullptr);
  QErrorPtr error = q.error ? std::move(q.error) : PrepareQuery(&q, context);
  if (error) {
    return platform::ToUtf8(error->GetMessage()) + " @" + std::to_string(error->GetFirst()) + "-" +
           std::to_string(error->GetLast());
  }
  EvaluateQuery(&q);
  *hits = q.root->GetHits().words();
  return {};
}

}  // namespace vorn::testing
