// The query box of the navigation bar: one line of text in which each piece
// may stand in its own font (the search words of a recalled query in the
// fonts of their lines), so that Greek and Hebrew read as they do in the
// panes.
#pragma once

#include <QFont>
#include <QTextCharFormat>
#include <QTextEdit>

#include "query/query_box.h"
#include "textdb/font_format.h"

namespace vorn::shell {

// The Qt font of a font description: face, size in points, weight, slant.
QFont ToQFont(const CFontFormat& format);
// The character format of a font description: the font and, unless it is
// the default colour, the text colour.
QTextCharFormat ToCharFormat(const CFontFormat& format);

class CRichQueryBox : public QTextEdit, public CQueryBox {
  Q_OBJECT
 public:
  explicit CRichQueryBox(QWidget* parent);
  ~CRichQueryBox() override;

  // The format of typed text in an empty box: Arial, 11 points.
  static CFontFormat DefaultFormat();

  // CQueryBox. Positions count UTF-16 code units, as the text does.
  std::u16string GetText() const override;
  void GetSelection(int32_t* start, int32_t* end) const override;
  void SetSelection(int32_t start, int32_t end) override;
  void ReplaceSelection(std::u16string_view text, const CFontFormat& format) override;
  void SetFocus() override;

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

 protected:
  // Only plain text comes in, on one line.
  bool canInsertFromMimeData(const QMimeData* source) const override;
  void insertFromMimeData(const QMimeData* source) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  // The height of one line of the default font inside the frame.
  int LineHeight() const;
  // An emptied box types in the default format again.
  void ResetFormatIfEmpty();
};

}  // namespace vorn::shell
