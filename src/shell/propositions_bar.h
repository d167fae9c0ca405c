// The propositions bar: the name of the active window's propositions (with
// " *" while they are unsaved) and the proposition commands as buttons.
// Also the command ids of the propositions and the keys of the text pane's
// Propositions layout.
#pragma once

#include <QToolBar>

class QLineEdit;

namespace vorn {
class CPropositions;
}

namespace vorn::shell {

class CActions;

enum PropositionCommand : int {
  kCmdPropSplit = 1310,
  kCmdPropJoin = 1311,
  kCmdPropShiftLeft = 1312,
  kCmdPropShiftRight = 1313,
  kCmdPropUndo = 1314,
  kCmdPropLevelFirst = 1320,  // 1320..1323: View 1..4
  kCmdPropLevelAll = 1324,
  kCmdPropositionsName = 1397,
  kCmdPropSave = 33034,
  kCmdPropReload = 33035,
  kCmdPropUnload = 33036,
  kCmdPropSaveAs = 33039,
  kCmdPropLoadFirst = 35400,  // 35400 + i: load proposition file i
  kCmdPropLoadLast = 35499,
  kCmdPropMergeFirst = 35500,  // 35500 + i: merge proposition file i
  kCmdPropMergeLast = 35599,
};

// The proposition command of a key pressed in the Propositions layout, or
// 0: S or Ctrl+comma splits, J or Ctrl+full stop joins, comma ("<") shifts
// left and full stop (">") shifts right — the two swapped in a right-to-left
// pane — and Ctrl+Z undoes.
int PropositionKeyCommand(int key, Qt::KeyboardModifiers modifiers, bool right_to_left);

// The name field's text: the name, with " *" while modified.
QString PropositionsCaption(const CPropositions* props);

class CPropositionsBar : public QToolBar {
  Q_OBJECT
 public:
  // The buttons are the commands' actions of `actions` (borrowed; must
  // outlive the bar).
  CPropositionsBar(QWidget* parent, CActions* actions);

  QLineEdit* GetNameField() const { return name_; }
  // Shows `props`' caption; null empties and disables the field.
  void ShowPropositions(const CPropositions* props);

 private:
  QLineEdit* name_;
};

}  // namespace vorn::shell
