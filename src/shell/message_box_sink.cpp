#include "shell/message_box_sink.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

#include "shell/help.h"
#include "shell/qt_device.h"

namespace vorn::shell {

namespace {
// The stored texts end lines with CR LF; a message box wants LF alone.
QString BoxText(const std::u16string& text) {
  QString s = ToQString(text);
  s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  return s;
}
}  // namespace

void CMessageBoxSink::ShowInformation(const std::u16string& text) {
  QMessageBox::information(parent_, QApplication::applicationName(), BoxText(text));
}

void CMessageBoxSink::ShowWarning(const std::u16string& text) {
  QMessageBox::warning(parent_, QApplication::applicationName(), BoxText(text));
}

void CMessageBoxSink::ShowWarningWithHelp(const std::u16string& text, std::string_view topic) {
  QMessageBox box(QMessageBox::Warning, QApplication::applicationName(), BoxText(text),
                  QMessageBox::Ok, parent_);
  QPushButton* help = box.addButton(QObject::tr("&Help"), QMessageBox::HelpRole);
  box.setDefaultButton(QMessageBox::Ok);
  box.exec();
  // Any button closes the box; the help page opens after it, beside the
  // query box where the user goes on typing.
  if (box.clickedButton() == help) ShowHelpTopic(parent_, topic, this);
}

platform::MsgAnswer CMessageBoxSink::Ask(const std::u16string& text, platform::MsgButtons buttons) {
  QMessageBox::StandardButtons choice = QMessageBox::Yes | QMessageBox::No;
  if (buttons == platform::MsgButtons::kYesNoCancel) choice |= QMessageBox::Cancel;
  const auto answer = QMessageBox::question(parent_, QApplication::applicationName(), BoxText(text),
                                            choice, QMessageBox::Yes);
  if (answer == QMessageBox::Yes) return platform::MsgAnswer::kYes;
  // Closing the box of a Yes/No question counts as No; with Cancel offered,
  // it counts as Cancel (the box maps Escape to it).
  if (answer == QMessageBox::Cancel) return platform::MsgAnswer::kCancel;
  return platform::MsgAnswer::kNo;
}

}  // namespace vorn::shell
