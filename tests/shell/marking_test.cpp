// The Marking menu on a small Greek test database: user-tag menus, the
// proposition commands and keys, the propositions bar, the tag list dialog
// and the save offers of a closing window. The user folders go to a
// temporary working folder.
#include "shell/marking.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest/QTest>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "layout/layout_kinds.h"
#include "markup/propositions.h"
#include "markup/tags_db.h"
#include "platform/message_sink.h"
#include "querystate/query_thing.h"
#include "shell/actions.h"
#include "shell/child_frame.h"
#include "shell/main_frame.h"
#include "shell/propositions_bar.h"
#include "shell/user_tag_menus.h"
#include "shell/user_tags_dialog.h"
#include "shell/vorn_view.h"
#include "textdb/test_db.h"

namespace vorn::shell {
namespace {

using platform::CRecordingMessageSink;
using platform::MsgAnswer;

QMenu* SubMenu(QMenu* menu, const QString& text) {
  for (QAction* a : menu->actions()) {
    if (a->menu() && a->text() == text) return a->menu();
  }
  return nullptr;
}

QAction* ItemWithId(QMenu* menu, int id) {
  for (QAction* a : menu->actions()) {
    if (a->data().toInt() == id && !a->menu()) return a;
  }
  return nullptr;
}

QStringList Texts(QMenu* menu) {
  QStringList out;
  for (QAction* a : menu->actions()) {
    if (!a->isSeparator()) out << a->text();
  }
  return out;
}

class MarkingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(work_.isValid());
    old_folder_ = QDir::currentPath();
    QDir::setCurrent(work_.path());
    files_ = std::make_unique<vorn::testing::TestDatabase>(vorn::testing::MakeGreekTestSource());
    ASSERT_TRUE(files_->ok()) << files_->error();
    MainFrameOptions options;
    options.data_folders = {files_->data_folder()};
    options.sink = &sink_;
    frame_ = std::make_unique<CVornMainFrame>(options);
    frame_->resize(1000, 700);
    frame_->show();
    window_ = OpenTestDatabase();
    ASSERT_NE(window_, nullptr);
    tags_ = TagsOfWindow(window_);
    ASSERT_NE(tags_, nullptr);
    for (QAction* a : frame_->menuBar()->actions()) {
      if (a->text() == QStringLiteral("&Marking")) marking_menu_ = a->menu();
    }
    ASSERT_NE(marking_menu_, nullptr);
  }

  void TearDown() override {
    frame_.reset();
    files_.reset();
    QDir::setCurrent(old_folder_);
  }

  CVornChildFrame* OpenTestDatabase() {
    CVornDBs& dbs = frame_->GetCatalogue();
    for (int i = 0; i < dbs.GetCount(); ++i) {
      if (dbs.GetStats(i)) return frame_->OpenEntry(i);
    }
    return nullptr;
  }

  QAction* Action(int id) { return frame_->GetActions().Get(id); }
  CQueryThing& State() { return window_->GetQueryThing(); }
  CVornView* Text() { return window_->GetTextPane(); }
  CMarking& Marking() { return frame_->GetMarking(); }

  // Drops the Marking menu down, as far as its rebuilding goes.
  void ShowMarkingMenu() { emit marking_menu_->aboutToShow(); }
  QMenu* ShowViewSubmenu() {
    QMenu* view = SubMenu(marking_menu_, QStringLiteral("&View"));
    if (view) emit view->aboutToShow();
    return view;
  }

  void Select(WordIndex first, WordIndex end) {
    Text()->GetMetrics().ClearSelection();
    Text()->GetMetrics().SelectRange(first, end, true);
  }

  // A word inside a sentence of at least three words (not its first).
  WordIndex InnerWord() {
    CPropositions* props = State().GetPropositions();
    for (WordIndex w = 0; w < static_cast<WordIndex>(props->GetWordCount()); ++w) {
      const WordSpan s = props->GetSentence(w);
      if (s.end - s.first >= 3) return s.first + 1;
    }
    return -1;
  }

  std::vector<PropEntry> Entries() { return State().GetPropositions()->GetEntries(); }

  QTemporaryDir work_;
  QString old_folder_;
  CRecordingMessageSink sink_;
  std::unique_ptr<vorn::testing::TestDatabase> files_;
  std::unique_ptr<CVornMainFrame> frame_;
  CVornChildFrame* window_ = nullptr;
  CTagsDB* tags_ = nullptr;
  QMenu* marking_menu_ = nullptr;
};

TEST_F(MarkingTest, ViewSubmenuListsTheTagsAndSwitchesTheirDisplay) {
  QMenu* view = ShowViewSubmenu();
  ASSERT_NE(view, nullptr);
  ASSERT_EQ(Texts(view), QStringList{QStringLiteral("No User Tags")});
  EXPECT_FALSE(view->actions()[0]->isEnabled());
  EXPECT_EQ(view->actions()[0]->data().toInt(), kCmdViewTagFirst);

  CTagDB* beta = tags_->CreateTag(u"", u"Beta");
  CTagDB* alpha = tags_->CreateTag(u"", u"Alpha");
  ASSERT_TRUE(alpha && beta);
  ShowViewSubmenu();
  ASSERT_EQ(Texts(view), (QStringList{QStringLiteral("Alpha"), QStringLiteral("Beta")}));
  QAction* beta_item = ItemWithId(view, kCmdViewTagFirst + 1);
  ASSERT_NE(beta_item, nullptr);
  EXPECT_EQ(beta_item->text(), QStringLiteral("Beta"));
  EXPECT_TRUE(beta_item->isCheckable());
  EXPECT_FALSE(beta_item->isChecked());
  EXPECT_EQ(beta_item->statusTip(), QStringLiteral("Display Beta user tag"));

  beta_item->trigger();
  EXPECT_TRUE(State().IsTagDisplayed(beta));
  EXPECT_FALSE(State().IsTagDisplayed(alpha));
  ShowViewSubmenu();
  EXPECT_TRUE(ItemWithId(view, kCmdViewTagFirst + 1)->isChecked());
  EXPECT_FALSE(ItemWithId(view, kCmdViewTagFirst)->isChecked());
  ItemWithId(view, kCmdViewTagFirst + 1)->trigger();
  EXPECT_FALSE(State().IsTagDisplayed(beta));
}

TEST_F(MarkingTest, TooManyTagsAreCutWithAWarningFirst) {
  // 500 tag files, found when a fresh frame opens the database.
  CTagDB* first = tags_->CreateTag(u"", u"T000");
  ASSERT_NE(first, nullptr);
  QFile file(QString::fromStdString(first->GetFilePath()));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QByteArray bytes = file.readAll();
  for (int i = 1; i < 500; ++i) {
    // Written plainly: copies are synced to disk one by one, which is slow.
    QFile copy(
        QFileInfo(file).dir().filePath(QStringLiteral("T%1.vtd").arg(i, 3, 10, QLatin1Char('0'))));
    ASSERT_TRUE(copy.open(QIODevice::WriteOnly));
    ASSERT_EQ(copy.write(bytes), bytes.size());
  }
  frame_.reset();
  MainFrameOptions options;
  options.data_folders = {files_->data_folder()};
  options.sink = &sink_;
  frame_ = std::make_unique<CVornMainFrame>(options);
  window_ = OpenTestDatabase();
  ASSERT_NE(window_, nullptr);
  ASSERT_EQ(TagsOfWindow(window_)->GetCount(), 500u);
  for (QAction* a : frame_->menuBar()->actions()) {
    if (a->text() == QStringLiteral("&Marking")) marking_menu_ = a->menu();
  }

  QMenu* view = ShowViewSubmenu();
  const QList<QAction*> items = view->actions();
  ASSERT_EQ(items.size(), 1 + 499);
  EXPECT_EQ(items[0]->text(), QStringLiteral("Too many tags to fit on menu, sorry!"));
  EXPECT_FALSE(items[0]->isEnabled());
  EXPECT_EQ(items[1]->data().toInt(), kCmdViewTagFirst);
  EXPECT_EQ(items.back()->data().toInt(), kCmdViewTagFirst + kMaxMenuTags - 1);
  // The last tags have no item: a command past the menu does nothing.
  frame_->Dispatch(kCmdViewTagFirst + kMaxMenuTags);
  EXPECT_TRUE(State().GetDisplayedTags().empty());
}

TEST_F(MarkingTest, ToggleItemTagsTheSelectionAndRepeatLastTagRepeatsIt) {
  CTagDB* alpha = tags_->CreateTag(u"", u"Alpha");
  CTagDB* beta = tags_->CreateTag(u"", u"Beta");
  ASSERT_TRUE(alpha && beta);
  frame_->UpdateActions();
  EXPECT_FALSE(Action(kCmdRepeatLastTag)->isEnabled());
  ShowMarkingMenu();
  EXPECT_EQ(ItemWithId(marking_menu_, kCmdToggleTagFirst),
            nullptr);  // no tag shown: no toggle items

  State().ToggleTag(alpha);
  Text()->SetFocusWord(3, 0);
  ASSERT_EQ(State().GetCurrentWordIndex(), 3);
  Select(3, 6);
  ShowMarkingMenu();
  QAction* item = ItemWithId(marking_menu_, kCmdToggleTagFirst);
  ASSERT_NE(item, nullptr);
  EXPECT_EQ(ItemWithId(marking_menu_, kCmdToggleTagFirst + 1), nullptr);  // Beta is not shown
  EXPECT_EQ(item->text(), QStringLiteral("Alpha"));
  EXPECT_TRUE(item->isEnabled());
  EXPECT_FALSE(item->isChecked());
  EXPECT_EQ(item->statusTip(), QStringLiteral("Toggle tagging of selected text as Alpha"));

  item->trigger();
  EXPECT_EQ(alpha->GetSpans(), (std::vector<WordSpan>{{3, 6}}));
  EXPECT_TRUE(alpha->IsModified());
  EXPECT_EQ(Marking().GetTagMenus().GetLastTag(), alpha);
  ShowMarkingMenu();
  EXPECT_TRUE(ItemWithId(marking_menu_, kCmdToggleTagFirst)->isChecked());
  EXPECT_EQ(marking_menu_->actions().count(ItemWithId(marking_menu_, kCmdToggleTagFirst)),
            1);  // rebuilt, not added

  // Repeating on the same selection removes the whole range again.
  frame_->UpdateActions();
  ASSERT_TRUE(Action(kCmdRepeatLastTag)->isEnabled());
  Action(kCmdRepeatLastTag)->trigger();
  EXPECT_TRUE(alpha->GetSpans().empty());

  // Without a current word the items are disabled.
  State().SetCurrentWord(-1);
  ShowMarkingMenu();
  EXPECT_FALSE(ItemWithId(marking_menu_, kCmdToggleTagFirst)->isEnabled());

  // Once the window stops showing the tag there is nothing to repeat.
  State().ToggleTag(alpha);
  frame_->UpdateActions();
  EXPECT_FALSE(Action(kCmdRepeatLastTag)->isEnabled());
}

TEST_F(MarkingTest, PropositionCommandsWorkOnlyInThePropositionsLayout) {
  frame_->UpdateActions();
  for (int id = kCmdPropSplit; id <= kCmdPropLevelAll; ++id) {
    if (QAction* a = Action(id)) {
      EXPECT_FALSE(a->isEnabled()) << id;
    }
  }
  EXPECT_TRUE(Action(kCmdPropSave)->isEnabled());
  EXPECT_FALSE(Action(kCmdPropReload)->isEnabled());
  const WordIndex w = InnerWord();
  ASSERT_GE(w, 0);
  Select(w, w + 1);
  QTest::keyClick(Text(), Qt::Key_S);
  frame_->Dispatch(kCmdPropSplit);
  EXPECT_EQ(Entries().size(), 2u);

  frame_->Dispatch(kLayoutPropositions);
  ASSERT_EQ(Text()->GetLayoutId(), kLayoutPropositions);
  for (int id = kCmdPropSplit; id <= kCmdPropShiftRight; ++id)
    EXPECT_TRUE(Action(id)->isEnabled()) << id;
  EXPECT_FALSE(Action(kCmdPropUndo)->isEnabled());  // nothing to undo yet
  EXPECT_TRUE(Action(kCmdPropLevelAll)->isEnabled());
  EXPECT_TRUE(Action(kCmdPropLevelAll)->isChecked());
  frame_->Dispatch(kCmdPropLevelFirst + 1);
  EXPECT_EQ(Text()->GetMetrics().GetPropositionLevel(), 2);
  EXPECT_TRUE(Action(kCmdPropLevelFirst + 1)->isChecked());
  EXPECT_FALSE(Action(kCmdPropLevelAll)->isChecked());

  frame_->Dispatch(kLayoutVerses);
  frame_->Dispatch(kCmdPropLevelAll);
  EXPECT_EQ(Text()->GetMetrics().GetPropositionLevel(), 2);
}

TEST_F(MarkingTest, KeysSplitJoinShiftAndUndoInThePropositionsLayout) {
  frame_->Dispatch(kLayoutPropositions);
  const WordIndex w = InnerWord();
  ASSERT_GE(w, 0);
  const uint32_t end = State().GetPropositions()->GetWordCount();
  const uint32_t at = static_cast<uint32_t>(w);
  Select(w, w + 1);

  QTest::keyClick(Text(), Qt::Key_S);
  EXPECT_EQ(Entries(), (std::vector<PropEntry>{{0, 0}, {at, 0}, {end, 0}}));
  QTest::keyClick(Text(), Qt::Key_Period);  // ">" indents
  EXPECT_EQ(Entries()[1].level, 1);
  QTest::keyClick(Text(), Qt::Key_Comma);
  EXPECT_EQ(Entries()[1].level, 0);
  // Right to left, the keys point the other way.
  Text()->GetMetrics().SetRightToLeft(true);
  QTest::keyClick(Text(), Qt::Key_Comma);
  EXPECT_EQ(Entries()[1].level, 1);
  Text()->GetMetrics().SetRightToLeft(false);
  QTest::keyClick(Text(), Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(Entries()[1].level, 0);

  QTest::keyClick(Text(), Qt::Key_J);
  EXPECT_EQ(Entries(), (std::vector<PropEntry>{{0, 0}, {end, 0}}));
  QTest::keyClick(Text(), Qt::Key_Comma, Qt::ControlModifier);
  EXPECT_EQ(Entries().size(), 3u);
  QTest::keyClick(Text(), Qt::Key_Period, Qt::ControlModifier);
  EXPECT_EQ(Entries().size(), 2u);
  // Other keys still move the caret.
  const WordIndex focus = Text()->GetFocusWord();
  QTest::keyClick(Text(), Qt::Key_Right);
  EXPECT_NE(Text()->GetFocusWord(), focus);
}

TEST_F(MarkingTest, NameFieldMarksUnsavedPropositionsAndSaveClearsTheMark) {
  EXPECT_FALSE(Marking().GetBar()->isVisible());
  frame_->Dispatch(kCmdPropositionsBar);
  EXPECT_TRUE(Marking().GetBar()->isVisible());
  EXPECT_TRUE(Action(kCmdPropositionsBar)->isChecked());
  QLineEdit* name = Marking().GetBar()->GetNameField();
  EXPECT_EQ(name->text(), QString());

  frame_->Dispatch(kLayoutPropositions);
  const WordIndex w = InnerWord();
  Select(w, w + 1);
  QTest::keyClick(Text(), Qt::Key_S);
  EXPECT_EQ(name->text(), QStringLiteral(" *"));

  // Save without a name asks for one; an empty answer is refused first.
  std::vector<std::u16string> answers = {u"", u"Mine"};
  int asked = 0;
  Marking().SetNameAsker([&](const std::u16string&) -> std::optional<std::u16string> {
    return asked < static_cast<int>(answers.size()) ? std::optional(answers[asked++])
                                                    : std::nullopt;
  });
  frame_->Dispatch(kCmdPropSave);
  EXPECT_EQ(asked, 2);
  ASSERT_FALSE(sink_.messages().empty());
  EXPECT_EQ(sink_.messages().back().text, u"Please enter a name for these propositions.");
  EXPECT_EQ(name->text(), QStringLiteral("Mine"));
  EXPECT_TRUE(QFileInfo::exists(work_.filePath(QStringLiteral("TGNT/Mine.vpo"))));

  Select(w + 1, w + 2);
  QTest::keyClick(Text(), Qt::Key_S);
  EXPECT_EQ(name->text(), QStringLiteral("Mine *"));
  EXPECT_TRUE(Action(kCmdPropReload)->isEnabled());
  frame_->Dispatch(kCmdPropSave);
  EXPECT_EQ(name->text(), QStringLiteral("Mine"));
  EXPECT_EQ(asked, 2);  // a named analysis is saved under its name
  const std::vector<PropEntry> saved = Entries();

  // Unload, then load it again from the Load submenu.
  frame_->Dispatch(kCmdPropUnload);
  EXPECT_EQ(Entries().size(), 2u);
  EXPECT_EQ(name->text(), QString());
  QMenu* load = Marking().GetLoadMenu();
  emit load->aboutToShow();
  ASSERT_EQ(Texts(load), QStringList{QStringLiteral("Mine")});
  ItemWithId(load, kCmdPropLoadFirst)->trigger();
  EXPECT_EQ(Entries(), saved);
  EXPECT_EQ(name->text(), QStringLiteral("Mine"));
  // The pane now lays out the loaded analysis.
  EXPECT_FALSE(Text()->grab().isNull());

  // Merging into a fresh analysis brings the saved entries in.
  frame_->Dispatch(kCmdPropUnload);
  QMenu* merge = Marking().GetMergeMenu();
  emit merge->aboutToShow();
  ASSERT_NE(ItemWithId(merge, kCmdPropMergeFirst), nullptr);
  ItemWithId(merge, kCmdPropMergeFirst)->trigger();
  EXPECT_EQ(Entries(), saved);
  EXPECT_EQ(name->text(), QStringLiteral(" *"));
}

TEST_F(MarkingTest, ClosingAWindowOffersToSaveTagsNoOtherWindowShows) {
  CTagDB* alpha = tags_->CreateTag(u"", u"Alpha");
  ASSERT_NE(alpha, nullptr);
  Text()->SetFocusWord(3, 0);
  Select(3, 5);
  Marking().GetTagMenus().ToggleSelection(window_, alpha);
  ASSERT_TRUE(alpha->IsModified());

  CVornChildFrame* second = OpenTestDatabase();
  ASSERT_NE(second, nullptr);
  second->GetQueryThing().ToggleTag(alpha);
  sink_.Clear();
  // Shown elsewhere: no question.
  ASSERT_TRUE(window_->parentWidget()->close());
  EXPECT_TRUE(sink_.messages().empty());
  EXPECT_TRUE(alpha->IsModified());

  auto* sub = qobject_cast<QMdiSubWindow*>(second->parentWidget());
  sink_.ScriptAnswer(MsgAnswer::kCancel);
  EXPECT_FALSE(sub->close());
  ASSERT_EQ(sink_.messages().size(), 1u);
  EXPECT_EQ(sink_.messages()[0].text, u"Save changes to Alpha tag?");
  EXPECT_TRUE(second->GetQueryThing().IsTagDisplayed(alpha));

  sink_.ScriptAnswer(MsgAnswer::kYes);
  EXPECT_TRUE(sub->close());
  EXPECT_FALSE(alpha->IsModified());
  EXPECT_EQ(alpha->GetSpans(), (std::vector<WordSpan>{{3, 5}}));
}

TEST_F(MarkingTest, ClosingTheFrameOffersToSaveTagsAndPropositions) {
  CTagDB* alpha = tags_->CreateTag(u"", u"Alpha");
  ASSERT_NE(alpha, nullptr);
  Text()->SetFocusWord(3, 0);
  Select(3, 5);
  Marking().GetTagMenus().ToggleSelection(window_, alpha);
  frame_->Dispatch(kLayoutPropositions);
  QTest::keyClick(Text(), Qt::Key_S);
  ASSERT_TRUE(State().GetPropositions()->IsModified());

  sink_.Clear();
  sink_.ScriptAnswer(MsgAnswer::kCancel);
  EXPECT_FALSE(frame_->close());
  EXPECT_EQ(frame_->Windows().size(), 1u);

  sink_.Clear();
  sink_.ScriptAnswer(MsgAnswer::kNo);  // the tag: reverted
  sink_.ScriptAnswer(MsgAnswer::kNo);  // the propositions: not saved
  EXPECT_TRUE(frame_->close());
  ASSERT_EQ(sink_.messages().size(), 2u);
  EXPECT_EQ(sink_.messages()[0].text, u"Save changes to Alpha tag?");
  // An analysis never saved is named for what it is, not by an empty "".
  EXPECT_EQ(sink_.messages()[1].text.rfind(u"Do you want to save the propositions \"Untitled\"", 0),
            0u);
  EXPECT_FALSE(alpha->IsModified());
  EXPECT_TRUE(alpha->GetSpans().empty());
}

TEST_F(MarkingTest, CancelOnAWindowsSaveOfferCancelsLoadingADesktop) {
  // A desktop of two windows on the test database.
  OpenTestDatabase();
  const std::string desktop = QDir(work_.path()).filePath(QStringLiteral("Two.vdt")).toStdString();
  ASSERT_TRUE(frame_->SaveDesktopFile(desktop));
  frame_->GetMdiArea()->closeAllSubWindows();
  window_ = OpenTestDatabase();
  ASSERT_EQ(frame_->Windows().size(), 1u);

  CTagDB* alpha = tags_->CreateTag(u"", u"Alpha");
  ASSERT_NE(alpha, nullptr);
  Text()->SetFocusWord(3, 0);
  Select(3, 5);
  Marking().GetTagMenus().ToggleSelection(window_, alpha);
  ASSERT_TRUE(alpha->IsModified());

  sink_.Clear();
  sink_.ScriptAnswer(MsgAnswer::kCancel);
  EXPECT_FALSE(frame_->LoadDesktopFile(desktop));
  ASSERT_EQ(sink_.messages().size(), 1u);
  EXPECT_EQ(frame_->Windows(), std::vector<CVornChildFrame*>{window_});
  EXPECT_TRUE(alpha->IsModified());

  sink_.ScriptAnswer(MsgAnswer::kNo);
  EXPECT_TRUE(frame_->LoadDesktopFile(desktop));
  EXPECT_EQ(frame_->Windows().size(), 2u);
}

TEST_F(MarkingTest, TagListDialogCreatesEditsRenamesAndDeletesTags) {
  CUserTagsDialog dialog(frame_.get(), tags_, &State(), &sink_);
  QTableWidget* table = dialog.GetTable();
  ASSERT_EQ(table->columnCount(), 15);
  EXPECT_EQ(table->horizontalHeaderItem(0)->text(), QStringLiteral("Tag Name"));
  EXPECT_EQ(table->horizontalHeaderItem(14)->text(), QStringLiteral("File"));
  EXPECT_EQ(table->rowCount(), 0);

  ASSERT_TRUE(dialog.CreateTag(u"", u"Gamma"));
  ASSERT_EQ(table->rowCount(), 1);
  EXPECT_EQ(table->item(0, 0)->text(), QStringLiteral("Gamma"));
  EXPECT_EQ(table->item(0, 1)->text(), QStringLiteral("Miscellaneous"));
  EXPECT_FALSE(dialog.CreateTag(u"Miscellaneous", u"gamma"));  // the same tag
  EXPECT_EQ(table->rowCount(), 1);

  dialog.SelectTag(tags_->FindTag(u"Gamma"));
  dialog.ToggleSelectedDisplay();
  EXPECT_EQ(table->item(0, 0)->text(), QStringLiteral("+Gamma"));
  TagStyle style;
  style.foreground = 5;
  ASSERT_TRUE(dialog.SetSelectedStyle(style, u"G"));
  EXPECT_EQ(table->item(0, 2)->text(), QStringLiteral("*"));
  EXPECT_EQ(table->item(0, 3)->text(), QStringLiteral("Red"));
  EXPECT_EQ(table->item(0, 13)->text(), QStringLiteral("G"));
  ASSERT_TRUE(dialog.SaveSelected());
  EXPECT_EQ(table->item(0, 2)->text(), QString());

  ASSERT_TRUE(dialog.RenameSelected(u"Themes", u"Delta"));
  EXPECT_EQ(table->item(0, 0)->text(), QStringLiteral("+Delta"));
  EXPECT_EQ(table->item(0, 1)->text(), QStringLiteral("Themes"));
  EXPECT_TRUE(QFileInfo::exists(work_.filePath(QStringLiteral("TGNT/Themes/Delta.vtd"))));

  sink_.ScriptAnswer(MsgAnswer::kNo);
  EXPECT_FALSE(dialog.DeleteSelected());
  EXPECT_EQ(table->rowCount(), 1);
  dialog.SelectTag(tags_->FindTag(u"Delta"));
  sink_.ScriptAnswer(MsgAnswer::kYes);
  EXPECT_TRUE(dialog.DeleteSelected());
  EXPECT_EQ(table->rowCount(), 0);
  EXPECT_TRUE(State().GetDisplayedTags().empty());
}

TEST(PropositionKeys, MapToTheEditingCommands) {
  EXPECT_EQ(PropositionKeyCommand(Qt::Key_S, Qt::NoModifier, false), kCmdPropSplit);
  EXPECT_EQ(PropositionKeyCommand(Qt::Key_S, Qt::ShiftModifier, false), kCmdPropSplit);
  EXPECT_EQ(PropositionKeyCommand(Qt::Key_S, Qt::ControlModifier, false), 0);
  EXPECT_EQ(PropositionKeyCommand(Qt::Key_J, Qt::NoModifier, true), kCmdPropJoin);
  EXPECT_EQ(PropositionKeyCommand(Qt::Key_Less, Qt::ShiftModifier, false), kCmdPropShiftLeft);
  EXPECT_EQ(PropositionKeyCommand(Qt::Key_Greater, Qt::ShiftModifier, false), kCmdPropShiftRight);
  EXPECT_EQ(PropositionKeyCommand(Qt::Key_Greater, Qt::ShiftModifier, true), kCmdPropShiftLeft);
  EXPECT_EQ(PropositionKeyCommand(Qt::Key_Comma, Qt::ControlModifier, true), kCmdPropSplit);
  EXPECT_EQ(PropositionKeyCommand(Qt::Key_Period, Qt::ControlModifier, false), kCmdPropJoin);
  EXPECT_EQ(PropositionKeyCommand(Qt::Key_Z, Qt::ControlModifier, false), kCmdPropUndo);
  EXPECT_EQ(PropositionKeyCommand(Qt::Key_Z, Qt::NoModifier, false), 0);
  EXPECT_EQ(PropositionKeyCommand(Qt::Key_S, Qt::AltModifier, false), 0);
}

}  // namespace
}  // namespace vorn::shell
