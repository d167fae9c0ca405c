#include "shell/help.h"

#include <QCoreApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include "platform/message_sink.h"
#include "shell/qt_device.h"

namespace vorn::shell {

namespace {

constexpr char kGuide[] = "docs/desktop.md";

}  // namespace

QStringList HelpFolders() {
  const QString program = QCoreApplication::applicationDirPath();
  // An installed program keeps its guide in <prefix>/share/vorn/docs.
  return {program, QDir(program).filePath(QStringLiteral("../share/vorn")),
          QStringLiteral(VORN_SOURCE_DIR)};
}

QString FindHelpFile(const QStringList& folders) {
  return FindHelpPage(folders, QString::fromLatin1(kGuide));
}

QString FindHelpPage(const QStringList& folders, const QString& page) {
  for (const QString& folder : folders) {
    const QString path = QDir(folder).filePath(page);
    if (QFileInfo(path).isFile()) return path;
  }
  return {};
}

bool ShowHelp(QWidget* parent, platform::CMessageSink* messages) {
  return ShowHelpPage(parent, QString::fromLatin1(kGuide), messages);
}

bool ShowHelpTopic(QWidget* parent, std::string_view topic, platform::CMessageSink* messages) {
  return ShowHelpPage(parent,
                      QStringLiteral("docs/") +
                          QString::fromUtf8(topic.data(), static_cast<qsizetype>(topic.size())) +
                          QStringLiteral(".md"),
                      messages);
}

bool ShowHelpPage(QWidget* parent, const QString& page, platform::CMessageSink* messages) {
  const QStringList folders = HelpFolders();
  const QString path = FindHelpPage(folders, page);
  QFile file(path);
  if (path.isEmpty() || !file.open(QIODevice::ReadOnly)) {
    const QString shown = path.isEmpty() ? QDir(folders.front()).filePath(page) : path;
    if (messages)
      messages->ShowWarning(u"Couldn't view:\r\n" + FromQString(QDir::toNativeSeparators(shown)));
    return false;
  }
  auto* window = new QDialog(parent);
  window->setAttribute(Qt::WA_DeleteOnClose);
  window->setWindowTitle(QObject::tr("Vorn Help"));
  auto* box = new QVBoxLayout(window);
  auto* browser = new QTextBrowser(window);
  browser->setOpenExternalLinks(true);
  // Loaded by its path, so that the guide's links to the pages beside it
  // (the query language) open in the same window.
  file.close();
  browser->setSource(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()),
                     QTextDocument::MarkdownResource);
  box->addWidget(browser);
  window->resize(720, 640);
  window->show();
  return true;
}

QString AboutText() {
  return QStringLiteral(
             "<h3>Vorn %1</h3>"
             "<p>A study tool for the Bible in Hebrew and Greek.</p>"
             "<p><b>Texts</b></p><ul>"
             "<li>Hebrew OT: the Westminster Leningrad Codex (public domain), with morphology and "
             "lemmas from the Open Scriptures Hebrew Bible (CC BY 4.0).</li>"
             "<li>Greek NT: the SBL Greek New Testament, Copyright &copy; 2010 Society of Biblical "
             "Literature and Logos Bible Software; morphology and lemmas from MorphGNT: SBLGNT "
             "Edition 6.12, J. K. Tauber (ed.), licensed CC BY-SA 3.0.</li>"
             "<li>Byzantine NT: the Robinson&ndash;Pierpont Byzantine Textform 2018 with its "
             "parsing and Strong's numbers (public domain).</li>"
             "<li>Glosses and dictionary: Strong's Hebrew and Greek dictionaries (public domain); "
             "JSON edition by Open Scriptures (CC BY-SA).</li></ul>"
             "<p>The sources and their licences are listed in the user guide's "
             "\"Texts and licences\" section.</p>")
      .arg(QCoreApplication::applicationVersion());
}

void ShowAbout(QWidget* parent) {
  QMessageBox::about(parent, QObject::tr("About Vorn"), AboutText());
}

}  // namespace vorn::shell
