#include "platform/message_sink.h"

#include <cstdio>

#include "platform/u16.h"

namespace vorn::platform {

CMessageSink::~CMessageSink() = default;

void CStderrMessageSink::ShowInformation(const std::u16string& text) {
  std::fprintf(stderr, "%s\n", ToUtf8(text).c_str());
}

void CStderrMessageSink::ShowWarning(const std::u16string& text) {
  std::fprintf(stderr, "%s\n", ToUtf8(text).c_str());
}

MsgAnswer CStderrMessageSink::Ask(const std::u16string& text, MsgButtons) {
  std::fprintf(stderr, "%s\n", ToUtf8(text).c_str());
  return default_answer_;
}

void CRecordingMessageSink::ShowInformation(const std::u16string& text) {
  messages_.push_back({Kind::kInformation, text});
}

void CRecordingMessageSink::ShowWarning(const std::u16string& text) {
  messages_.push_back({Kind::kWarning, text});
}

MsgAnswer CRecordingMessageSink::Ask(const std::u16string& text, MsgButtons buttons) {
  messages_.push_back({Kind::kQuestion, text});
  if (answers_.empty()) return MsgAnswer::kNo;
  MsgAnswer a = answers_.front();
  answers_.pop_front();
  if (a == MsgAnswer::kCancel && buttons == MsgButtons::kYesNo) return MsgAnswer::kNo;
  return a;
}

}  // namespace vorn::platform
