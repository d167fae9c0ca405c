// Runs one query text end to end for a window: parse, prepare under the
// window's query context, evaluate under the optional ranges; the hits or
// one error come back.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "query/parse_query.h"
#include "query/query_error.h"

namespace vorn {

class CQueryContext;
class CQueryEchoSink;
namespace platform {
class CMessageSink;
}

class CQueryProcessor {
 public:
  // `context` (the running window's query state) and `sink` (may be null;
  // receives the formatted query text while parsing) are borrowed and must
  // outlive the processor.
  CQueryProcessor(std::u16string text, CQueryContext* context, CQueryEchoSink* sink);
  CQueryProcessor(const CQueryProcessor&) = delete;
  CQueryProcessor& operator=(const CQueryProcessor&) = delete;

  // Builds the tree and the ranges; false with the error set.
  [[nodiscard]] bool Parse();
  // Prepares the tree, then resolves the ranges; false with the error set
  // (also when Parse failed or was not called).
  [[nodiscard]] bool Prepare();
  // Evaluates a prepared query; the hits are then GetHits(). Does nothing
  // while there is an error.
  void Run();
  // Parse, Prepare and Run; false when there is an error.
  bool Execute();

  // The hits of the last Run: ascending word indexes without duplicates.
  const std::vector<uint32_t>& GetHits() const;
  size_t GetHitCount() const { return GetHits().size(); }
  const CQError* GetError() const { return error_.get(); }
  // The error's first character; 0 without an error.
  int32_t GetErrorPosition() const { return error_ ? error_->GetFirst() : 0; }
  // Shows the error's message as a warning that leads to the query
  // language's help page; nothing without an error.
  void ShowError(platform::CMessageSink* messages) const;

  const std::u16string& GetText() const { return text_; }
  const QParsed& GetParsed() const { return query_; }

  // The text without right-to-left embedding marks (U+202B, U+202C), which
  // a right-to-left search word brings into the query box.
  static std::u16string StripEmbeddingMarks(std::u16string_view text);

 private:
  std::u16string text_;
  CQueryContext* context_;
  CQueryEchoSink* sink_;
  QParsed query_;
  QErrorPtr error_;
  bool parsed_ = false;
  bool prepared_ = false;
};

}  // namespace vorn
