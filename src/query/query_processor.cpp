#include "query/query_processor.h"

#include "platform/help_messages.h"
#include "platform/message_sink.h"

namespace vorn {

CQueryProcessor::CQueryProcessor(std::u16string text, CQueryContext* context, CQueryEchoSink* sink)
    : text_(std::move(text)), context_(context), sink_(sink) {}

bool CQueryProcessor::Parse() {
  query_ = ParseQuery(text_, context_, sink_);
  error_ = std::move(query_.error);
  parsed_ = !error_;
  prepared_ = false;
  return parsed_;
}

bool CQueryProcessor::Prepare() {
  if (!parsed_ || error_) return false;
  error_ = PrepareQuery(&query_, context_);
  prepared_ = !error_;
  return prepared_;
}

void CQueryProcessor::Run() {
  if (!prepared_ || error_) return;
  EvaluateQuery(&query_);
}

bool CQueryProcessor::Execute() {
  if (!Parse() || !Prepare()) return false;
  Run();
  return true;
}

const std::vector<uint32_t>& CQueryProcessor::GetHits() const {
  static const std::vector<uint32_t> kNone;
  if (!query_.root || error_) return kNone;
  return query_.root->GetHits().words();
}

void CQueryProcessor::ShowError(platform::CMessageSink* messages) const {
  if (!error_ || !messages) return;
  if (auto* help = dynamic_cast<platform::CHelpMessages*>(messages)) {
    help->ShowWarningWithHelp(error_->GetMessage(), "query-language");
  } else {
    messages->ShowWarning(error_->GetMessage());
  }
}

std::u16string CQueryProcessor::StripEmbeddingMarks(std::u16string_view text) {
  std::u16string out;
  out.reserve(text.size());
  for (char16_t c : text) {
    if (c != u'\x202B' && c != u'\x202C') out.push_back(c);
  }
  return out;
}

}  // namespace vorn
