// The desktop program's message sink: message boxes with the information,
// exclamation and question icons, over the main frame.
#pragma once

#include "platform/message_sink.h"

class QWidget;

namespace vorn::shell {

class CMessageBoxSink : public platform::CMessageSink {
 public:
  // `parent` (may be null) is borrowed and must outlive the sink.
  explicit CMessageBoxSink(QWidget* parent) : parent_(parent) {}
  void ShowInformation(const std::u16string& text) override;
  void ShowWarning(const std::u16string& text) override;
  platform::MsgAnswer Ask(const std::u16string& text, platform::MsgButtons buttons) override;

 private:
  QWidget* parent_;
};

}  // namespace vorn::shell
