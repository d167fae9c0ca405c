// How the core tells the user something or asks a question. The core never
// shows UI itself: the front end installs one sink (message boxes in the
// desktop program, stderr in the command line, a recorder in tests) and
// hands it to the objects that may need to speak.
#pragma once

#include <deque>
#include <string>
#include <vector>

namespace vorn::platform {

enum class MsgButtons { kYesNo, kYesNoCancel };
enum class MsgAnswer { kYes, kNo, kCancel };

class CMessageSink {
 public:
  virtual ~CMessageSink();
  // An information message (information icon).
  virtual void ShowInformation(const std::u16string& text) = 0;
  // An error or warning (exclamation icon).
  virtual void ShowWarning(const std::u16string& text) = 0;
  // A question; returns the user's answer. kCancel only for kYesNoCancel.
  virtual MsgAnswer Ask(const std::u16string& text, MsgButtons buttons) = 0;
  // False when questions only get a fixed answer (a terminal program), so
  // that a caller can say what it refuses instead of asking.
  virtual bool CanAsk() const { return true; }
};

// Writes every message to stderr, one line each. Questions are answered with
// the answer given at construction (a terminal program cannot ask).
class CStderrMessageSink : public CMessageSink {
 public:
  explicit CStderrMessageSink(MsgAnswer default_answer = MsgAnswer::kNo)
      : default_answer_(default_answer) {}
  void ShowInformation(const std::u16string& text) override;
  void ShowWarning(const std::u16string& text) override;
  MsgAnswer Ask(const std::u16string& text, MsgButtons buttons) override;
  bool CanAsk() const override { return false; }

 private:
  MsgAnswer default_answer_;
};

// Records every message; questions take the scripted answers in order, and
// kNo once the script runs out. For tests.
class CRecordingMessageSink : public CMessageSink {
 public:
  enum class Kind { kInformation, kWarning, kQuestion };
  struct Message {
    Kind kind;
    std::u16string text;
  };

  void ShowInformation(const std::u16string& text) override;
  void ShowWarning(const std::u16string& text) override;
  MsgAnswer Ask(const std::u16string& text, MsgButtons buttons) override;

  void ScriptAnswer(MsgAnswer answer) { answers_.push_back(answer); }
  const std::vector<Message>& messages() const { return messages_; }
  void Clear() { messages_.clear(); }

 private:
  std::vector<Message> messages_;
  std::deque<MsgAnswer> answers_;
};

}  // namespace vorn::platform
