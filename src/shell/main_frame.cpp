#include "shell/main_frame.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QDockWidget>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>

#include "markup/propositions_list.h"
#include "refs/bible_ref.h"
#include "shell/actions.h"
#include "shell/bookmark_menu.h"
#include "shell/child_frame.h"
#include "shell/message_box_sink.h"
#include "shell/qt_device.h"
#include "shell/vorn_view.h"
#include "shell/window_placement.h"
#include "textdb/font_format.h"
#include "textdb/vorn_db.h"
#include "wordinfo/word.h"
#include "wordinfo/word_line_factories.h"

namespace vorn::shell {

int SlotOfCommand(int command, bool shift) {
  for (const OpenSlot& s : kOpenSlots) {
    if (s.command == command) return shift ? s.shift_slot : s.slot;
  }
  return -1;
}

namespace {

// Enter runs the query; Up and Down walk the past queries. Acted on when
// the key is released, and the box itself never sees these keys.
class QueryKeyFilter : public QObject {
 public:
  explicit QueryKeyFilter(CVornMainFrame* frame) : QObject(frame), frame_(frame) {}
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease) return false;
    auto* key = static_cast<QKeyEvent*>(event);
    const int k = key->key();
    if (k != Qt::Key_Return && k != Qt::Key_Enter && k != Qt::Key_Up && k != Qt::Key_Down)
      return QObject::eventFilter(watched, event);
    if (event->type() == QEvent::KeyRelease) {
      if (k == Qt::Key_Return || k == Qt::Key_Enter) {
        frame_->RunQueryFromBox();
      } else {
        frame_->Dispatch(k == Qt::Key_Up ? kCmdPreviousQuery : kCmdNextQuery);
      }
    }
    return true;
  }

 private:
  CVornMainFrame* frame_;
};

}  // namespace

CVornMainFrame::CVornMainFrame(const MainFrameOptions& options) {
  setWindowTitle(QStringLiteral("Vorn"));
  ini_ = options.settings_path.empty() ? std::make_unique<CVornIni>()
                                       : std::make_unique<CVornIni>(options.settings_path);
  if (options.sink) {
    messages_ = options.sink;
  } else {
    if (options.quiet) {
      sink_ = std::make_unique<platform::CStderrMessageSink>();
    } else {
      sink_ = std::make_unique<CMessageBoxSink>(this);
    }
    messages_ = sink_.get();
  }
  desktop_path_ = options.desktop_path.empty()
                      ? QDir::current().absoluteFilePath(QStringLiteral("StartUp.vdt")).toStdString()
                      : options.desktop_path;
  SetFontMessageSink(messages_);
  const std::vector<std::string> folders = options.data_folders.empty()
                                               ? DefaultDataFolders(VORN_DEFAULT_DATA_DIR)
                                               : options.data_folders;
  dbs_ = std::make_unique<CVornDBs>(folders, messages_, ini_.get());
  props_ = std::make_unique<CPropositionsList>(QDir::currentPath().toStdString(), messages_);
  actions_ = new CActions(this, [this](int id) { Dispatch(id); });
  for (const auto& [id, action] : actions_->All()) addAction(action);

  mdi_ = new QMdiArea(this);
  mdi_->setViewMode(QMdiArea::SubWindowView);
  setCentralWidget(mdi_);
  connect(mdi_, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow*) {
    if (CVornChildFrame* w = ActiveWindow()) ShowNavigation(w);
    UpdateActions();
  });
  CreateMenus();
  CreateBars();
  resize(1280, 900);
  InitState();
  UpdateActions();
}

CVornMainFrame::~CVornMainFrame() {
  // The windows hold the databases' query states: close them while the
  // catalogue still lives.
  mdi_->closeAllSubWindows();
  for (QMdiSubWindow* sub : mdi_->subWindowList()) delete sub;
  SetFontMessageSink(nullptr);
}

void CVornMainFrame::CreateMenus() {
  auto add = [this](QMenu* menu, std::initializer_list<int> ids) {
    for (int id : ids) {
      if (id == 0) {
        menu->addSeparator();
      } else {
        menu->addAction(actions_->Get(id));
      }
    }
  };
  QMenu* file = menuBar()->addMenu(tr("&File"));
  open_menu_ = file->addMenu(tr("&Open"));
  connect(open_menu_, &QMenu::aboutToShow, this, [this] { BuildOpenMenu(); });
  BuildOpenMenu();
  add(file, {kCmdCloseAll, 0, kCmdLoadDesktop, kCmdSaveDesktop, kCmdSaveOnExit, 0, kCmdPageSetup,
             kCmdPrint, kCmdPrintPreview, 0, kCmdOptions, 0, kCmdExit});
  QMenu* edit = menuBar()->addMenu(tr("&Edit"));
  add(edit, {kCmdCopy, kCmdCopyAsText, 0, kCmdFind, kCmdSelectAllHits, kCmdRemoveMatch});
  QMenu* view = menuBar()->addMenu(tr("&View"));
  QMenu* lines = view->addMenu(tr("&Interlinear Lines"));
  add(lines, {kCmdLineFirst, kCmdLineFirst + 1, kCmdLineFirst + 2, kCmdLineFirst + 3,
              kCmdLineFirst + 4, kCmdLineLast});
  QMenu* mag = view->addMenu(tr("&Magnification"));
  for (int id = kCmdMagnifyFirst; id <= kCmdMagnifyLast; ++id) mag->addAction(actions_->Get(id));
  add(view, {kCmdRightToLeft, kCmdNoCantillations, kCmdConsonantsOnly, kCmdWordTips, 0, 32815,
             32816, 32817, 32818, 0, 32827, 32828, 32829, 0, kCmdNavBar, kCmdWordBar,
             kCmdPropositionsBar, 0, kCmdPaperWidth, kCmdLineFonts, kCmdBibleInfo});
  QMenu* nav = menuBar()->addMenu(tr("&Navigate"));
  add(nav, {kCmdNextMatch, kCmdPreviousMatch, 0, kCmdGoBack, kCmdGoForward, kCmdGoOrigin, 0,
            kCmdAddBookmark, kCmdClearBookmark, kCmdClearAllBookmarks, kCmdNextBookmark,
            kCmdPreviousBookmark});
  bookmark_menu_ = new CBookmarkMenu(nav, [this](int id) { Dispatch(id); });
  connect(nav, &QMenu::aboutToShow, this, [this] { BuildBookmarkMenu(); });
  QMenu* mark = menuBar()->addMenu(tr("&Marking"));
  add(mark, {kCmdUserTags, kCmdRepeatLastTag, 0, 1310, 1311, 1312, 1313, 1314, 0, 1320, 1321,
             1322, 1323, 1324, 0, 33034, 33039, 33035, 33036});
  QMenu* window = menuBar()->addMenu(tr("&Window"));
  QMenu* group = window->addMenu(tr("Scroll &Group"));
  for (int id = kCmdScrollGroupNone; id <= kCmdScrollGroupD; ++id) group->addAction(actions_->Get(id));
  add(window, {kCmdCascade, kCmdTile, kCmdArrangeWindows, 0, kCmdAnalyse, 0, kCmdSendRefs,
               kCmdReceiveRefs});
  QMenu* help = menuBar()->addMenu(tr("&Help"));
  add(help, {kCmdHelp});
  for (QMenu* m : menuBar()->findChildren<QMenu*>()) {
    connect(m, &QMenu::aboutToShow, this, [this] { UpdateActions(); });
  }
}

void CVornMainFrame::BuildOpenMenu() {
  open_menu_->clear();
  // The fixed slots in their menu order (Greek NT first), then every
  // further database.
  for (int id : {kCmdOpenGreekNT, kCmdOpenHebrewOT, kCmdOpenSeptuagintI, kCmdOpenSeptuagintII,
                 kCmdOpenByzantineNT}) {
    open_menu_->addAction(actions_->Get(id));
  }
  bool separated = false;
  for (int i = CVornDBs::kFixedSlots; i < dbs_->GetCount() && i <= kCmdOpenBibleLast - kCmdOpenBibleFirst; ++i) {
    const CVornDBStats* stats = dbs_->GetStats(i);
    if (!stats) continue;
    if (!separated) {
      open_menu_->addSeparator();
      separated = true;
    }
    QAction* item = open_menu_->addAction(ToQString(stats->GetTitle()));
    item->setData(kCmdOpenBibleFirst + i);
    connect(item, &QAction::triggered, this, [this, i] { OpenEntry(i); });
  }
  for (const OpenSlot& s : kOpenSlots) actions_->Get(s.command)->setEnabled(IsSlotPresent(s.slot));
}

void CVornMainFrame::CreateBars() {
  nav_bar_ = addToolBar(tr("Navigation Bar"));
  nav_bar_->setObjectName(QStringLiteral("NavBar"));
  nav_bar_->addAction(actions_->Get(kCmdGoBack));
  nav_bar_->addAction(actions_->Get(kCmdGoForward));
  ref_box_ = new QLineEdit(nav_bar_);
  ref_box_->setPlaceholderText(tr("Reference"));
  ref_box_->setMaximumWidth(220);
  connect(ref_box_, &QLineEdit::returnPressed, this, [this] {
    CBibleRef ref;
    CVornChildFrame* w = ActiveWindow();
    if (w && CBibleRef::Parse(FromQString(ref_box_->text()), &ref)) {
      w->GoTo(ref);
    } else {
      QApplication::beep();
    }
  });
  nav_bar_->addWidget(ref_box_);
  nav_bar_->addSeparator();
  query_box_ = new QLineEdit(nav_bar_);
  query_box_->setPlaceholderText(tr("Query"));
  query_box_->setMinimumWidth(360);
  query_box_->installEventFilter(new QueryKeyFilter(this));
  nav_bar_->addWidget(query_box_);
  nav_bar_->addAction(actions_->Get(kCmdFind));
  nav_bar_->addSeparator();
  nav_bar_->addAction(actions_->Get(kCmdPreviousMatch));
  nav_bar_->addAction(actions_->Get(kCmdNextMatch));

  word_bar_ = new QDockWidget(tr("Word Analysis"), this);
  word_bar_->setObjectName(QStringLiteral("WordBar"));
  word_details_ = new QLabel(word_bar_);
  word_details_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  word_details_->setMargin(4);
  word_details_->setMinimumSize(300, 100);
  word_bar_->setWidget(word_details_);
  addDockWidget(Qt::BottomDockWidgetArea, word_bar_);
  statusBar()->showMessage(tr("Ready"));
}

bool CVornMainFrame::IsSlotPresent(int slot) const {
  return slot >= 0 && slot < dbs_->GetCount() && dbs_->GetStats(slot) != nullptr;
}

CVornChildFrame* CVornMainFrame::OpenEntry(int index) {
  if (index < 0 || index >= dbs_->GetCount() || !dbs_->GetStats(index)) return nullptr;
  CVornDB* db = dbs_->GetDatabase(index);
  if (!db) return nullptr;
  InstallWordLineFactories(db);
  if (!dbs_->GetDocument(index)) {
    documents_.push_back(std::make_unique<int>(index));
    dbs_->SetDocument(index, documents_.back().get());
  }
  auto* window = new CVornChildFrame(this, db, props_.get());
  QMdiSubWindow* sub = mdi_->addSubWindow(window);
  TrackNormalGeometry(sub);
  sub->setAttribute(Qt::WA_DeleteOnClose);
  sub->setWindowTitle(window->MakeTitle());
  sub->resize(640, 480);
  sub->show();
  window->GetTextPane()->setFocus();
  ShowNavigation(window);
  UpdateActions();
  return window;
}

CVornChildFrame* CVornMainFrame::OpenSlotCommand(int command, bool shift) {
  const int slot = SlotOfCommand(command, shift);
  if (!IsSlotPresent(slot)) return nullptr;
  return OpenEntry(slot);
}

CVornChildFrame* CVornMainFrame::ActiveWindow() const {
  QMdiSubWindow* sub = mdi_->activeSubWindow();
  if (!sub) sub = mdi_->currentSubWindow();
  if (!sub) {
    const auto list = mdi_->subWindowList(QMdiArea::ActivationHistoryOrder);
    if (!list.isEmpty()) sub = list.back();
  }
  return sub ? qobject_cast<CVornChildFrame*>(sub->widget()) : nullptr;
}

std::vector<CVornChildFrame*> CVornMainFrame::Windows() const {
  std::vector<CVornChildFrame*> out;
  for (QMdiSubWindow* sub : mdi_->subWindowList()) {
    if (auto* w = qobject_cast<CVornChildFrame*>(sub->widget())) out.push_back(w);
  }
  return out;
}

bool CVornMainFrame::RunQueryFromBox() {
  CVornChildFrame* w = ActiveWindow();
  if (!w) return false;
  const std::u16string text = FromQString(query_box_->text());
  const int error = w->RunQuery(text);
  if (error >= 0) {
    // The error span is selected from where the error starts onwards.
    query_box_->setSelection(error, query_box_->text().size() - error);
    return false;
  }
  statusBar()->showMessage(tr("%1 matches").arg(w->GetQueryThing().GetHitCount()));
  UpdateActions();
  return true;
}

void CVornMainFrame::Dispatch(int id) {
  if (!OnFrameCommand(id)) {
    if (CVornChildFrame* w = ActiveWindow()) w->OnCommand(id);
  }
  UpdateActions();
}

bool CVornMainFrame::OnFrameCommand(int id) {
  const bool shift = QApplication::keyboardModifiers() & Qt::ShiftModifier;
  if (SlotOfCommand(id, shift) >= 0) {
    OpenSlotCommand(id, shift);
    return true;
  }
  if (OnStateCommand(id)) return true;
  switch (id) {
    case kCmdCloseAll:
      mdi_->closeAllSubWindows();
      return true;
    case kCmdSaveOnExit:
      ini_->ToggleSaveOnExit();
      return true;
    case kCmdExit:
      close();
      return true;
    case kCmdNavBar:
      nav_bar_->setVisible(!nav_bar_->isVisible());
      return true;
    case kCmdWordBar:
      word_bar_->setVisible(!word_bar_->isVisible());
      return true;
    case kCmdFind:
      if (!query_box_->hasFocus()) {
        query_box_->setFocus();
        query_box_->selectAll();
      } else {
        RunQueryFromBox();
      }
      return true;
    case kCmdCascade:
      mdi_->cascadeSubWindows();
      return true;
    case kCmdTile:
      mdi_->tileSubWindows();
      return true;
    default:
      return false;
  }
}

void CVornMainFrame::UpdateActions() {
  CVornChildFrame* w = ActiveWindow();
  for (const auto& [id, action] : actions_->All()) {
    const CommandDef* def = FindCommand(id);
    if (!def) continue;
    bool enabled = false;
    bool checked = false;
    if (def->target == CommandTarget::kFrame) {
      const int slot = SlotOfCommand(id, false);
      if (slot >= 0) {
        enabled = IsSlotPresent(slot);
      } else {
        switch (id) {
          case kCmdSaveOnExit:
            enabled = true;
            checked = ini_->GetSaveOnExit();
            break;
          case kCmdNavBar:
            enabled = true;
            checked = nav_bar_ && nav_bar_->isVisible();
            break;
          case kCmdWordBar:
            enabled = true;
            checked = word_bar_ && word_bar_->isVisible();
            break;
          case kCmdFind:
          case kCmdCloseAll:
          case kCmdCascade:
          case kCmdTile:
            enabled = w != nullptr;
            break;
          case kCmdExit:
            enabled = true;
            break;
          default:
            if (!UpdateStateCommand(id, &enabled, &checked)) enabled = false;  // not available yet
            break;
        }
      }
    } else if (w) {
      w->UpdateCommand(id, &enabled, &checked);
    }
    action->setEnabled(enabled);
    if (action->isCheckable()) action->setChecked(checked);
  }
}

void CVornMainFrame::ShowNavigation(CVornChildFrame* window) {
  const WordIndex focus = window->GetFocusWord();
  CBibleRef ref(window->GetDatabase(), focus);
  ref_box_->setText(ref.HasEntry() ? ToQString(ref.FormatLong()) : QString());
  QString details;
  if (focus >= 0) {
    CWord word(window->GetDatabase(), focus);
    for (int i = 0; i < word.GetLineCount(); ++i) {
      if (CWordLine* line = word.GetLine(i)) {
        const QString text = ToQString(line->GetPlainText());
        if (!text.isEmpty()) details += text + QLatin1Char('\n');
      }
    }
  }
  word_details_->setText(details);
}

void CVornMainFrame::ActiveFocusChanged(CVornChildFrame* window) {
  if (window != ActiveWindow()) return;
  ShowNavigation(window);
  // Shortcuts act on the enabled state: it must follow the verse (Add
  // Bookmark, the bookmark steps).
  UpdateActions();
}

void CVornMainFrame::WindowActivated(CVornChildFrame* window) {
  ShowNavigation(window);
  UpdateActions();
}

void CVornMainFrame::FocusQueryBox() { query_box_->setFocus(); }

void CVornMainFrame::closeEvent(QCloseEvent* event) {
  SaveStateForExit(QApplication::queryKeyboardModifiers() & Qt::ShiftModifier);
  event->accept();
}

}  // namespace vorn::shell
