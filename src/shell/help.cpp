#include "shell/help.h"

#include <QCoreApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextBrowser>
#include <QVBoxLayout>

#include "platform/message_sink.h"
#include "shell/qt_device.h"

namespace vorn::shell {

namespace {

constexpr char kGuide[] = "docs/desktop.md";

}  // namespace

QStringList HelpFolders() {
  return {QCoreApplication::applicationDirPath(), QStringLiteral(VORN_SOURCE_DIR)};
}

QString FindHelpFile(const QStringList& folders) {
  for (const QString& folder : folders) {
    const QString path = QDir(folder).filePath(QString::fromLatin1(kGuide));
    if (QFileInfo(path).isFile()) return path;
  }
  return {};
}

bool ShowHelp(QWidget* parent, platform::CMessageSink* messages) {
  const QStringList folders = HelpFolders();
  const QString path = FindHelpFile(folders);
  QFile file(path);
  if (path.isEmpty() || !file.open(QIODevice::ReadOnly)) {
    const QString shown = path.isEmpty() ? QDir(folders.front()).filePath(QString::fromLatin1(kGuide)) : path;
    if (messages) messages->ShowWarning(u"Couldn't view:\r\n" + FromQString(QDir::toNativeSeparators(shown)));
    return false;
  }
  auto* window = new QDialog(parent);
  window->setAttribute(Qt::WA_DeleteOnClose);
  window->setWindowTitle(QObject::tr("Vorn Help"));
  auto* box = new QVBoxLayout(window);
  auto* browser = new QTextBrowser(window);
  browser->setOpenExternalLinks(true);
  browser->setMarkdown(QString::fromUtf8(file.readAll()));
  box->addWidget(browser);
  window->resize(720, 640);
  window->show();
  return true;
}

}  // namespace vorn::shell
