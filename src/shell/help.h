// The Help menu: Help Topics shows the user guide (docs/desktop.md) in a
// window of its own, looked for beside the program, in the installed data
// folder and in the source tree it was built from; About shows the
// program's version and where its texts come from, with their licences.
#pragma once

#include <QString>
#include <QStringList>
#include <string_view>

class QWidget;

namespace vorn::platform {
class CMessageSink;
}

namespace vorn::shell {

// The folders searched for the guide, in order.
QStringList HelpFolders();

// The guide's path in the first of `folders` that has it; empty when none.
QString FindHelpFile(const QStringList& folders);
// Likewise for any page, `page` relative to a folder ("docs/desktop.md").
QString FindHelpPage(const QStringList& folders, const QString& page);

// Shows the guide, a non-modal window owned by `parent`. When there is no
// guide, says "Couldn't view:" with the path looked for through `messages`
// and returns false.
bool ShowHelp(QWidget* parent, platform::CMessageSink* messages);
// Shows `page` (relative to a help folder) as ShowHelp shows the guide.
bool ShowHelpPage(QWidget* parent, const QString& page, platform::CMessageSink* messages);
// Shows the page of `topic`: docs/<topic>.md.
bool ShowHelpTopic(QWidget* parent, std::string_view topic, platform::CMessageSink* messages);

// The About box's text: version, the texts' sources and licences.
QString AboutText();

// Shows AboutText() in a modal box over `parent`.
void ShowAbout(QWidget* parent);

}  // namespace vorn::shell
