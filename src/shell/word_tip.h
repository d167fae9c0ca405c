// The word tip: a small pop-up under the word the pointer rests on, with
// what the pane does not already show of that word (its text or gloss when
// those lines are hidden, the tag's description, the links, the user tags).
#pragma once

#include <QRect>
#include <QTimer>
#include <QWidget>
#include <memory>

#include "textdb/types.h"

namespace vorn {
class CViewMetrics;
class CWord;
}  // namespace vorn

namespace vorn::shell {

class CWordTip : public QWidget {
  Q_OBJECT
 public:
  static constexpr int kDefaultDelayMs = 0;
  static constexpr int kDefaultShowSeconds = 5;

  // A hidden pop-up owned by `pane`. It stays inside `client` (the pane's
  // drawing area, in whose coordinates the word boxes are given) and draws
  // with `metrics` (the pane's). Both must outlive the tip.
  CWordTip(QWidget* pane, QWidget* client, const CViewMetrics& metrics);
  ~CWordTip() override;

  // The word under the pointer and its box in client coordinates; -1 for
  // none, which hides the tip and forgets the word. The same word again
  // changes nothing; another word is measured, placed under its box and
  // shown after the delay, or not at all when the tip would be empty.
  void SetWord(WordIndex word, const QRect& box);

  // How long the pointer must rest before the tip shows, in milliseconds
  // (0: at once; negative counts as 0).
  void SetDelay(int milliseconds);
  int GetDelay() const { return delay_ms_; }
  // How long the tip stays, in seconds (negative counts as 0).
  void SetShowTime(int seconds);
  int GetShowTime() const { return show_seconds_; }

  // The word the tip holds (-1: none) and where it goes, in client
  // coordinates (empty when it has nothing to show).
  WordIndex GetWord() const;
  QRect GetTipRect() const { return rect_; }
  // Whether a show or hide is pending.
  bool IsTimerActive() const { return timer_.isActive(); }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void OnTimer();
  void ShowTip();

  QWidget* client_;
  const CViewMetrics& metrics_;
  std::unique_ptr<CWord> word_;
  QTimer timer_;
  int delay_ms_ = kDefaultDelayMs;
  int show_seconds_ = kDefaultShowSeconds;
  QRect rect_;
};

}  // namespace vorn::shell
