#include "shell/word_tip.h"

#include <QPainter>
#include <algorithm>

#include "metrics/details_metrics.h"
#include "metrics/view_metrics.h"
#include "shell/qt_device.h"
#include "wordinfo/word.h"

namespace vorn::shell {

CWordTip::CWordTip(QWidget* pane, QWidget* client, const CViewMetrics& metrics)
    : QWidget(pane, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                        Qt::WindowDoesNotAcceptFocus | Qt::WindowTransparentForInput),
      client_(client),
      metrics_(metrics) {
  // The tip never takes the focus, and the pointer passes through it: a tip
  // pushed up over its own word must not make the pane think the pointer
  // left.
  setAttribute(Qt::WA_ShowWithoutActivating);
  setAttribute(Qt::WA_TransparentForMouseEvents);
  setFocusPolicy(Qt::NoFocus);
  timer_.setSingleShot(true);
  connect(&timer_, &QTimer::timeout, this, &CWordTip::OnTimer);
  hide();
}

CWordTip::~CWordTip() = default;

void CWordTip::SetDelay(int milliseconds) { delay_ms_ = std::max(0, milliseconds); }

void CWordTip::SetShowTime(int seconds) { show_seconds_ = std::max(0, seconds); }

WordIndex CWordTip::GetWord() const { return word_ ? word_->GetWordIndex() : -1; }

void CWordTip::SetWord(WordIndex word, const QRect& box) {
  if (word < 0) {
    timer_.stop();
    hide();
    // Forgotten, so that coming back to the same word shows it again.
    word_.reset();
    rect_ = QRect();
    return;
  }
  CVornDB* db = metrics_.GetDatabase();
  if (word_ && word_->GetDatabase() == db && word_->GetWordIndex() == word) return;
  word_ = std::make_unique<CWord>(db, word);
  hide();
  CQtDevice device(this);
  CDetailsMetrics details(metrics_);
  details.Attach(&device);
  const Size size = word_->MeasureTip(details, metrics_);
  if (size.cx <= 0 || size.cy <= 0) {
    timer_.stop();
    rect_ = QRect();
    return;
  }
  const Rect word_box{box.left(), box.top(), box.left() + box.width(), box.top() + box.height()};
  const QRect area = client_->rect();
  const Rect client{area.left(), area.top(), area.left() + area.width(),
                    area.top() + area.height()};
  const Rect r = PlaceWordTip(size, word_box, client);
  rect_ = QRect(r.left, r.top, r.Width(), r.Height());
  setGeometry(QRect(client_->mapToGlobal(rect_.topLeft()), rect_.size()));
  if (delay_ms_ != 0) {
    timer_.start(delay_ms_);
  } else {
    ShowTip();
  }
}

void CWordTip::ShowTip() {
  show();
  timer_.start(show_seconds_ * 1000);
}

void CWordTip::OnTimer() {
  // One timer: while hidden it is the delay, while shown the show time.
  // After the show time the tip stays hidden until another word comes.
  if (isVisible()) {
    hide();
  } else if (word_) {
    ShowTip();
  }
}

void CWordTip::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), Qt::white);
  painter.setPen(Qt::black);
  painter.drawRect(rect().adjusted(0, 0, -1, -1));
  if (!word_) return;
  painter.setRenderHint(QPainter::TextAntialiasing);
  CQtDevice device(this);
  device.SetPainter(&painter);
  CDetailsMetrics details(metrics_);
  details.Attach(&device);
  word_->DrawTip(details, metrics_);
  device.SetPainter(nullptr);
}

}  // namespace vorn::shell
