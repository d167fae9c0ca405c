#include "shell/rich_query_box.h"

#include <QKeyEvent>
#include <QMimeData>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>

#include "shell/qt_device.h"

namespace vorn::shell {

namespace {

constexpr int kDocumentMargin = 2;
constexpr int kPreferredWidth = 360;

}  // namespace

QFont ToQFont(const CFontFormat& format) {
  QFont font(ToQString(format.face()));
  font.setPointSizeF(std::max(1, format.height()) / 10.0);
  font.setBold(format.bold());
  font.setItalic(format.italic());
  return font;
}

QTextCharFormat ToCharFormat(const CFontFormat& format) {
  QTextCharFormat chars;
  chars.setFont(ToQFont(format), QTextCharFormat::FontPropertiesAll);
  // Colour 0 is "Default": the box's own text colour.
  if (format.colour() != 0) chars.setForeground(ToQColor(ResolveColour(format.colour())));
  return chars;
}

CRichQueryBox::CRichQueryBox(QWidget* parent) : QTextEdit(parent) {
  setAcceptRichText(false);
  setLineWrapMode(QTextEdit::NoWrap);
  setWordWrapMode(QTextOption::NoWrap);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setTabChangesFocus(true);
  document()->setDocumentMargin(kDocumentMargin);
  document()->setDefaultFont(ToQFont(DefaultFormat()));
  setCurrentCharFormat(ToCharFormat(DefaultFormat()));
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
  setFixedHeight(LineHeight());
}

CRichQueryBox::~CRichQueryBox() = default;

CFontFormat CRichQueryBox::DefaultFormat() { return CFontFormat(u"Arial", 11, 0); }

std::u16string CRichQueryBox::GetText() const { return FromQString(toPlainText()); }

void CRichQueryBox::GetSelection(int32_t* start, int32_t* end) const {
  const QTextCursor cursor = textCursor();
  *start = cursor.selectionStart();
  *end = cursor.selectionEnd();
}

void CRichQueryBox::SetSelection(int32_t start, int32_t end) {
  const int32_t n = static_cast<int32_t>(toPlainText().size());
  start = std::clamp(start, 0, n);
  end = std::clamp(end, 0, n);
  if (end < start) std::swap(start, end);
  QTextCursor cursor(document());
  cursor.setPosition(start);
  cursor.setPosition(end, QTextCursor::KeepAnchor);
  setTextCursor(cursor);
}

void CRichQueryBox::ReplaceSelection(std::u16string_view text, const CFontFormat& format) {
  QTextCursor cursor = textCursor();
  // Line breaks would make a second line the query box never shows.
  QString piece = ToQString(text);
  piece.replace(QLatin1Char('\n'), QLatin1Char(' ')).replace(QLatin1Char('\r'), QLatin1Char(' '));
  cursor.insertText(piece, ToCharFormat(format));
  setTextCursor(cursor);
  ResetFormatIfEmpty();
}

void CRichQueryBox::SetFocus() { setFocus(Qt::OtherFocusReason); }

int CRichQueryBox::LineHeight() const {
  const QFontMetrics metrics(ToQFont(DefaultFormat()));
  return metrics.lineSpacing() + 2 * (frameWidth() + kDocumentMargin) + 2;
}

QSize CRichQueryBox::sizeHint() const { return {kPreferredWidth, LineHeight()}; }

QSize CRichQueryBox::minimumSizeHint() const { return {kPreferredWidth / 3, LineHeight()}; }

bool CRichQueryBox::canInsertFromMimeData(const QMimeData* source) const {
  return source->hasText();
}

void CRichQueryBox::insertFromMimeData(const QMimeData* source) {
  if (!source->hasText()) return;
  QString text = source->text();
  text.replace(QLatin1String("\r\n"), QLatin1String(" "));
  text.replace(QLatin1Char('\n'), QLatin1Char(' ')).replace(QLatin1Char('\r'), QLatin1Char(' '));
  text.replace(QLatin1Char('\t'), QLatin1Char(' '));
  textCursor().insertText(text);
  ensureCursorVisible();
}

void CRichQueryBox::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    event->ignore();
    return;
  }
  QTextEdit::keyPressEvent(event);
  ResetFormatIfEmpty();
}

void CRichQueryBox::ResetFormatIfEmpty() {
  if (document()->isEmpty()) setCurrentCharFormat(ToCharFormat(DefaultFormat()));
}

}  // namespace vorn::shell
