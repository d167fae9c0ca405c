// A whole query run as the query processor drives it: parse the text into
// the tree and the ranges, prepare both, evaluate.
#pragma once

#include <memory>
#include <string_view>

#include "query/query_error.h"
#include "query/query_nodes.h"
#include "query/ranges.h"

namespace vorn {

class CQueryContext;
class CQueryEchoSink;

struct QParsed {
  // The root: a union with no left operand. Null only when `error` is set.
  std::unique_ptr<CQCompound> root;
  // Null when the query has no "in" part.
  std::unique_ptr<CQRanges> ranges;
  // The parse error or the range list's error; null when all is well.
  QErrorPtr error;
};

// Parses `text`: the expression, then the ranges after the "in" that ends
// it. `context` (borrowed) names the lines and must outlive the tree;
// `sink` (may be null) receives the echo of the text before this returns.
QParsed ParseQuery(std::u16string_view text, CQueryContext* context, CQueryEchoSink* sink);

// Prepares the tree, then resolves the ranges; the first error or null.
QErrorPtr PrepareQuery(QParsed* query, CQueryContext* context);

// Evaluates a prepared query; the hits are then query->root->GetHits().
void EvaluateQuery(QParsed* query);

}  // namespace vorn
