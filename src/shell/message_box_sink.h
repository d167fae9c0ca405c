// The desktop program's message sink: message boxes with the information,
// exclamation and question icons, over the main frame; a warning about a
// query leads to the help page of the query language.
#pragma once

#include "platform/help_messages.h"
#include "platform/message_sink.h"

class QWidget;

namespace vorn::shell {

class CMessageBoxSink : public platform::CMessageSink, public platform::CHelpMessages {
 public:
  // `parent` (may be null) is borrowed and must outlive the sink.
  explicit CMessageBoxSink(QWidget* parent) : parent_(parent) {}
  void ShowInformation(const std::u16string& text) override;
  void ShowWarning(const std::u16string& text) override;
  // The warning box with a Help button that opens the topic's page.
  void ShowWarningWithHelp(const std::u16string& text, std::string_view topic) override;
  platform::MsgAnswer Ask(const std::u16string& text, platform::MsgButtons buttons) override;

 private:
  QWidget* parent_;
};

}  // namespace vorn::shell
