#include "shell/propositions_bar.h"

#include <QLineEdit>

#include "markup/propositions.h"
#include "shell/actions.h"
#include "shell/qt_device.h"

namespace vorn::shell {

int PropositionKeyCommand(int key, Qt::KeyboardModifiers modifiers, bool right_to_left) {
  const Qt::KeyboardModifiers held =
      modifiers & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
  const bool ctrl = held == Qt::ControlModifier;
  if (held != Qt::NoModifier && !ctrl) return 0;
  // "<" and ">" are the shifted comma and full stop.
  const bool comma = key == Qt::Key_Comma || key == Qt::Key_Less;
  const bool stop = key == Qt::Key_Period || key == Qt::Key_Greater;
  if (ctrl) {
    if (key == Qt::Key_Comma) return kCmdPropSplit;
    if (key == Qt::Key_Period) return kCmdPropJoin;
    if (key == Qt::Key_Z) return kCmdPropUndo;
    return 0;
  }
  if (key == Qt::Key_S) return kCmdPropSplit;
  if (key == Qt::Key_J) return kCmdPropJoin;
  if (comma || stop) {
    // The keys point the way the indent moves on screen.
    const bool left = comma != right_to_left;
    return left ? kCmdPropShiftLeft : kCmdPropShiftRight;
  }
  return 0;
}

QString PropositionsCaption(const CPropositions* props) {
  if (!props) return QString();
  QString caption = ToQString(props->GetName());
  if (props->IsModified()) caption += QStringLiteral(" *");
  return caption;
}

CPropositionsBar::CPropositionsBar(QWidget* parent, CActions* actions)
    : QToolBar(tr("Propositions Bar"), parent) {
  setObjectName(QStringLiteral("PropositionsBar"));
  name_ = new QLineEdit(this);
  name_->setObjectName(QStringLiteral("PropositionsName"));
  name_->setReadOnly(true);
  name_->setFocusPolicy(Qt::NoFocus);
  name_->setMaximumWidth(220);
  name_->setToolTip(tr("Propositions"));
  addWidget(name_);
  addSeparator();
  for (int id :
       {kCmdPropSplit, kCmdPropJoin, kCmdPropShiftLeft, kCmdPropShiftRight, kCmdPropUndo}) {
    addAction(actions->Get(id));
  }
  addSeparator();
  for (int id = kCmdPropLevelFirst; id <= kCmdPropLevelAll; ++id) addAction(actions->Get(id));
  addSeparator();
  for (int id : {kCmdPropSave, kCmdPropSaveAs, kCmdPropReload, kCmdPropUnload})
    addAction(actions->Get(id));
}

void CPropositionsBar::ShowPropositions(const CPropositions* props) {
  const QString caption = PropositionsCaption(props);
  if (name_->text() != caption) name_->setText(caption);
  name_->setEnabled(props != nullptr);
}

}  // namespace vorn::shell
