#include "query/query_context.h"

#include "textdb/vorn_db.h"

namespace vorn {

CVornDBLine* CQueryContext::FindLine(std::u16string_view name) const {
  CVornDB* db = GetDatabase();
  return db ? db->FindLineByQueryName(name) : nullptr;
}

CQueryContext::TagLookup CQueryContext::FindUserTag(std::u16string_view, std::vector<WordSpan>* spans) {
  spans->clear();
  return TagLookup::kUnknown;
}

WordSpan CQueryContext::GetPropositionRange(WordIndex word) {
  CVornDB* db = GetDatabase();
  return db ? db->GetSentenceRange(word) : WordSpan{};
}

}  // namespace vorn
