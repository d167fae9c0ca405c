#include "query/query_context.h"

#include "textdb/line.h"
#include "textdb/vorn_db.h"

namespace vorn {

namespace {

bool EqualIgnoringAsciiCase(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  auto lower = [](char16_t c) {
    return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c;
  };
  for (size_t i = 0; i < a.size(); ++i)
    if (lower(a[i]) != lower(b[i])) return false;
  return true;
}

}  // namespace

CVornDBLine* CQueryContext::FindLine(std::u16string_view name) const {
  CVornDB* db = GetDatabase();
  if (!db) return nullptr;
  if (CVornDBLine* line = db->FindLineByQueryName(name)) return line;
  // The parser lower-cases its keywords, so a line whose query name has
  // capitals ("Greek", as its prompt offers it) would otherwise never be
  // found; such a name answers to its keyword in any case.
  for (int i = 0; i < db->GetLineCount(); ++i) {
    CVornDBLine* line = db->GetLine(i);
    for (const std::u16string& n : line->GetQueryNames())
      if (EqualIgnoringAsciiCase(n, name)) return line;
  }
  return nullptr;
}

CQueryContext::TagLookup CQueryContext::FindUserTag(std::u16string_view,
                                                    std::vector<WordSpan>* spans) {
  spans->clear();
  return TagLookup::kUnknown;
}

WordSpan CQueryContext::GetPropositionRange(WordIndex word) {
  CVornDB* db = GetDatabase();
  return db ? db->GetSentenceRange(word) : WordSpan{};
}

}  // namespace vorn
