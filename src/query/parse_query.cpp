#include "query/parse_query.h"

#include "query/query_token.h"

namespace vorn {

QParsed ParseQuery(std::u16string_view text, CQueryContext* context, CQueryEchoSink* sink) {
  QParsed q;
  CQToken token(std::u16string(text), context, sink);
  q.root = std::make_unique<CQCompound>(kQUnion, nullptr, 0, 0);
  q.root->ParseChain(&token, nullptr);
  if (token.HasError()) {
    q.error = token.TakeError();
    return q;
  }
  const int32_t start = token.FindRangesStart();
  if (token.HasError()) {
    q.error = token.TakeError();
    return q;
  }
  if (start < static_cast<int32_t>(text.size())) {
    q.ranges = std::make_unique<CQRanges>();
    q.error = q.ranges->ParseList(text, start);
  }
  return q;
}

QErrorPtr PrepareQuery(QParsed* query, CQueryContext* context) {
  if (query->error) return nullptr;
  if (!query->root) return nullptr;
  if (QErrorPtr e = query->root->Prepare(context)) return e;
  if (query->ranges) return query->ranges->Resolve(context);
  return nullptr;
}

void EvaluateQuery(QParsed* query) {
  if (query->root) query->root->Evaluate(query->ranges.get());
}

}  // namespace vorn
