// The pop-up beside a pane's scroll bar while its thumb is dragged: the
// reference the pane will go to when the thumb is let go.
#pragma once

#include <QRect>
#include <QString>
#include <QWidget>
#include <string>

#include "shell/qt_device.h"
#include "textdb/font_format.h"

namespace vorn::shell {

class CScrollPopup : public QWidget {
  Q_OBJECT
 public:
  // A hidden pop-up owned by `pane`.
  explicit CScrollPopup(QWidget* pane);
  ~CScrollPopup() override;

  // Shows `text` in `font` (copied) at the right edge of `client` (the
  // pane's drawing area; borrowed for this call), its vertical centre at
  // index / count of the client's height.
  void ShowText(QWidget* client, const CFontFormat& font, std::u16string_view text, long long index,
                long long count);

  // Where a pop-up of `size` goes in `client`: against its right edge, its
  // vertical centre at index / count of its height, moved back inside when
  // it would stick out at the top or the bottom.
  static QRect Place(QSize size, const QRect& client, long long index, long long count);

  const QString& GetText() const { return text_; }
  // The last placement, in client coordinates.
  QRect GetClientRect() const { return rect_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  CQtDevice device_;
  CFontFormat font_;
  std::u16string u16_text_;
  QString text_;
  QRect rect_;
};

}  // namespace vorn::shell
