#include "shell/main_frame.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QDockWidget>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QScreen>
#include <QStatusBar>
#include <algorithm>
#include <utility>

#include "layout/layout_kinds.h"
#include "markup/propositions_list.h"
#include "platform/file_system.h"
#include "query/query_prompt.h"
#include "shell/actions.h"
#include "shell/arrange_windows.h"
#include "shell/bcv.h"
#include "shell/bookmark_menu.h"
#include "shell/child_frame.h"
#include "shell/exchange_link.h"
#include "shell/help.h"
#include "shell/marking.h"
#include "shell/message_box_sink.h"
#include "shell/nav_bar.h"
#include "shell/print_metrics.h"
#include "shell/qt_device.h"
#include "shell/query_builders.h"
#include "shell/rich_query_box.h"
#include "shell/scroll_group.h"
#include "shell/vorn_view.h"
#include "shell/window_placement.h"
#include "shell/word_context_menu.h"
#include "shell/word_details_bar.h"
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

// The Open menu's text of entry `index`: its title, and when another entry
// has the same title (the same database found in two data folders), the
// folder it is in, so that the two items can be told apart.
QString OpenMenuText(const CVornDBs& dbs, int index) {
  const CVornDBStats* stats = dbs.GetStats(index);
  QString text = ToQString(stats->GetTitle());
  for (int i = 0; i < dbs.GetCount(); ++i) {
    const CVornDBStats* other = i == index ? nullptr : dbs.GetStats(i);
    if (other && other->GetTitle() == stats->GetTitle()) {
      const QDir folder(QString::fromStdString(stats->GetFolder()));
      return text + QStringLiteral(" (") + QDir::toNativeSeparators(folder.absolutePath()) +
             QStringLiteral(")");
    }
  }
  return text;
}

// Hands every message to a sink the frame does not own.
class ForwardingSink : public platform::CMessageSink {
 public:
  explicit ForwardingSink(platform::CMessageSink* to) : to_(to) {}
  void ShowInformation(const std::u16string& text) override { to_->ShowInformation(text); }
  void ShowWarning(const std::u16string& text) override { to_->ShowWarning(text); }
  platform::MsgAnswer Ask(const std::u16string& text, platform::MsgButtons buttons) override {
    return to_->Ask(text, buttons);
  }

 private:
  platform::CMessageSink* to_;
};

}  // namespace

CVornMainFrame::CVornMainFrame(const MainFrameOptions& options) {
  setWindowTitle(QStringLiteral("Vorn"));
  ini_ = options.settings_path.empty() ? std::make_unique<CVornIni>()
                                       : std::make_unique<CVornIni>(options.settings_path);
  // Named ranges live beside the settings file, which need not exist yet.
  ranges_path_ = options.settings_path.empty()
                     ? std::string("Ranges.ini")
                     : platform::JoinPath(QFileInfo(QString::fromStdString(options.settings_path))
                                              .absolutePath()
                                              .toStdString(),
                                          "Ranges.ini");
  if (options.sink) {
    sink_ = std::make_unique<ForwardingSink>(options.sink);
  } else if (options.quiet) {
    sink_ = std::make_unique<platform::CStderrMessageSink>();
  } else {
    sink_ = std::make_unique<CMessageBoxSink>(this);
  }
  exchange_folder_ = options.exchange_folder;
  desktop_path_ =
      options.desktop_path.empty()
          ? QDir::current().absoluteFilePath(QStringLiteral("StartUp.vdt")).toStdString()
          : options.desktop_path;
  SetFontMessageSink(sink_.get());
  data_folders_ = options.data_folders.empty() ? DefaultDataFolders(VORN_DEFAULT_DATA_DIR)
                                               : options.data_folders;
  dbs_ = std::make_unique<CVornDBs>(data_folders_, sink_.get(), ini_.get());
  user_folder_ =
      options.user_folder.empty() ? QDir::currentPath().toStdString() : options.user_folder;
  props_ = std::make_unique<CPropositionsList>(user_folder_, sink_.get());
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
  nav_bar_->SaveQueries(ini_.get());
  // The windows hold the databases' query states: close them while the
  // catalogue still lives.
  // A window that closes leaves the area's list at once but is deleted
  // only later: take the list first, or the closed ones would outlive the
  // catalogue.
  std::vector<QPointer<QMdiSubWindow>> subs;
  for (QMdiSubWindow* sub : mdi_->subWindowList()) subs.emplace_back(sub);
  mdi_->closeAllSubWindows();
  for (const QPointer<QMdiSubWindow>& sub : subs) delete sub.data();
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
  add(menuBar()->addMenu(tr("&Query")), {kCmdQueryWordList, kCmdQueryTagChooser, kCmdQueryLinkKinds,
                                         kCmdQueryRange, 0, kCmdQueryHistory});
  QMenu* view = menuBar()->addMenu(tr("&View"));
  QMenu* lines = view->addMenu(tr("&Interlinear Lines"));
  add(lines, {kCmdLineFirst, kCmdLineFirst + 1, kCmdLineFirst + 2, kCmdLineFirst + 3,
              kCmdLineFirst + 4, kCmdLineFirst + 5, kCmdLineLast});
  QMenu* mag = view->addMenu(tr("&Magnification"));
  for (int id = kCmdMagnifyFirst; id <= kCmdMagnifyLast; ++id) mag->addAction(actions_->Get(id));
  add(view, {kCmdRightToLeft,
             kCmdNoCantillations,
             kCmdConsonantsOnly,
             kCmdWordTips,
             0,
             kLayoutParagraphs,
             kLayoutVerses,
             kLayoutSentences,
             kLayoutPropositions,
             0,
             kLayoutReferences,
             kLayoutHitVerses,
             kLayoutConcordance,
             0,
             kCmdNavBar,
             kCmdWordBar,
             kCmdPropositionsBar,
             0,
             kCmdPaperWidth,
             kCmdLineFonts,
             kCmdBibleInfo});
  // The layout kinds of each pane are radio items: a pane shows one kind.
  for (auto [first, last] : {std::pair(kLayoutParagraphs, kLayoutPropositions),
                             std::pair(kLayoutReferences, kLayoutConcordance)}) {
    auto* kinds = new QActionGroup(this);
    kinds->setExclusionPolicy(QActionGroup::ExclusionPolicy::Exclusive);
    for (int id = first; id <= last; ++id) kinds->addAction(actions_->Get(id));
  }
  QMenu* nav = menuBar()->addMenu(tr("&Navigate"));
  add(nav, {kCmdNextMatch, kCmdPreviousMatch, 0, kCmdGoBack, kCmdGoForward, kCmdGoOrigin, 0,
            kCmdAddBookmark, kCmdClearBookmark, kCmdClearAllBookmarks, kCmdNextBookmark,
            kCmdPreviousBookmark});
  bookmark_menu_ = new CBookmarkMenu(nav, [this](int id) { Dispatch(id); });
  connect(nav, &QMenu::aboutToShow, this, [this] { BuildBookmarkMenu(); });
  marking_ = new CMarking(this, props_.get());
  word_menu_ = new CWordContextMenu(this);
  marking_->FillMenu(menuBar()->addMenu(tr("&Marking")));
  QMenu* window = menuBar()->addMenu(tr("&Window"));
  QMenu* group = window->addMenu(tr("Scroll &Group"));
  for (int id = kCmdScrollGroupNone; id <= kCmdScrollGroupD; ++id)
    group->addAction(actions_->Get(id));
  add(window, {kCmdCascade, kCmdTile, kCmdArrangeWindows, 0, kCmdAnalyse, kCmdHitChart, 0,
               kCmdSendRefs, kCmdReceiveRefs});
  QMenu* help = menuBar()->addMenu(tr("&Help"));
  add(help, {kCmdHelp, 0, kCmdAbout});
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
  for (int i = CVornDBs::kFixedSlots;
       i < dbs_->GetCount() && i <= kCmdOpenBibleLast - kCmdOpenBibleFirst; ++i) {
    const CVornDBStats* stats = dbs_->GetStats(i);
    if (!stats) continue;
    if (!separated) {
      open_menu_->addSeparator();
      separated = true;
    }
    QAction* item = open_menu_->addAction(OpenMenuText(*dbs_, i));
    item->setData(kCmdOpenBibleFirst + i);
    connect(item, &QAction::triggered, this, [this, i] { OpenEntry(i); });
  }
  for (const OpenSlot& s : kOpenSlots) actions_->Get(s.command)->setEnabled(IsSlotPresent(s.slot));
}

void CVornMainFrame::CreateBars() {
  nav_bar_ = new CNavBar(this, *actions_, sink_.get());
  query_builders_ = new CQueryBuilders(
      this, nav_bar_, sink_.get(),
      [this]() -> const CVornDB* {
        CVornChildFrame* w = ActiveWindow();
        return w ? w->GetDatabase() : nullptr;
      },
      ranges_path_, platform::JoinPath(platform::ProgramFolder(), "Ranges.ini"));
  nav_bar_->GetQueryTool().SetActiveSource([this]() -> CQueryThing* {
    CVornChildFrame* w = ActiveWindow();
    return w ? &w->GetQueryThing() : nullptr;
  });
  connect(nav_bar_, &CNavBar::QueryWanted, this, [this] { RunQueryFromBox(); });
  connect(nav_bar_, &CNavBar::CommandWanted, this, &CVornMainFrame::Dispatch);
  connect(nav_bar_, &CNavBar::ReferenceChosen, this, [this](const CBibleRef& ref) {
    if (CVornChildFrame* w = ActiveWindow()) w->GoTo(ref);
  });
  nav_bar_->InitExchange(exchange_folder_);
  connect(nav_bar_->GetExchange(), &CExchangeLink::SendFailed, this, [this](const QString& folder) {
    statusBar()->showMessage(
        tr("Couldn't send the reference to other programs: %1 cannot be written").arg(folder),
        10000);
  });
  connect(nav_bar_, &CNavBar::ReferenceReceived, this, &CVornMainFrame::ShowReceivedReference);
  addToolBar(nav_bar_);
  nav_bar_->LoadStaticPrompts(data_folders_);
  nav_bar_->LoadQueries(*ini_);

  word_bar_ = new CWordDetailsBar(this);
  addDockWidget(Qt::BottomDockWidgetArea, word_bar_);
  // A search chosen in the bar runs in the active window, as one typed would.
  connect(word_bar_->GetView(), &CWordDetailsView::SearchRequested, this, [this](const QString& q) {
    if (!ActiveWindow()) return;
    GetQueryBox()->setPlainText(q);
    static_cast<void>(RunQueryFromBox());
  });
  // Tall enough at the bottom for the rows down to the decoded tag in the
  // databases' own fonts; the bar's 100 pixels would show only three.
  resizeDocks({word_bar_}, {170}, Qt::Vertical);
  marking_->CreateBar();
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
  auto* window = new CVornChildFrame(marking_, db, props_.get());
  connect(window, &CVornChildFrame::FocusWordChanged, this, [this](CVornChildFrame* w) {
    ActiveFocusChanged(w);
    ScrollGroupFocusChanged(w);
  });
  connect(window, &CVornChildFrame::Activated, this, &CVornMainFrame::WindowActivated);
  connect(window, &CVornChildFrame::FocusStepWanted, this,
          [this](bool next) { static_cast<void>(StepKeyboardFocus(next)); });
  connect(window, &CVornChildFrame::CommandDone, this, &CVornMainFrame::UpdateActions);
  connect(window, &CVornChildFrame::WordMenuWanted, this,
          [this, window](QPoint global) { word_menu_->Show(window, global); });
  connect(window, &CVornChildFrame::LineFontsChanged, this, [this, db] { LineFontsChanged(db); });
  connect(window, &CVornChildFrame::QueryPromptWanted, this,
          [this](const CVornDBLine* line, const std::u16string& value) {
            // The value joins the end of the query, which it narrows.
            CRichQueryBox* box = GetQueryBox();
            CQueryPrompt prompt(line->GetQueryPrompt(), CRichQueryBox::DefaultFormat());
            prompt.SetValue(value, line);
            const auto end = static_cast<int32_t>(box->GetText().size());
            box->SetSelection(end, end);
            prompt.UsePrompt(box, true);
            box->SetFocus();
          });
  ApplyOptions(window);
  window->SetBookmarks(&bookmarks_);
  window->SetOutputServices([this]() -> CPrintSetup& { return GetPrintSetup(); }, sink_.get());
  // A window joining a scroll group starts at the group's passage: the active window's when it
  // is in the group, else that of the first window in it.
  CVornChildFrame* leader = ActiveWindow();
  if (!leader || leader->GetScrollGroup() != window->GetScrollGroup()) {
    leader = nullptr;
    for (CVornChildFrame* w : Windows()) {
      if (w->GetScrollGroup() == window->GetScrollGroup()) {
        leader = w;
        break;
      }
    }
  }
  if (leader && !scroll_groups_paused_ && !window->GetScrollGroup().empty()) {
    following_group_ = true;  // the newcomer follows; it leads no one
    FollowScrollGroup(leader, {window});
    following_group_ = false;
  }
  QMdiSubWindow* sub = mdi_->addSubWindow(window);
  TrackNormalGeometry(sub);
  sub->setAttribute(Qt::WA_DeleteOnClose);
  // A new window fits the area: at 1024 by 600 the area is far lower than 480.
  const QSize room = mdi_->viewport()->size();
  sub->resize(room.width() > 0 ? std::min(640, room.width()) : 640,
              room.height() > 0 ? std::min(480, room.height()) : 480);
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

CRichQueryBox* CVornMainFrame::GetQueryBox() const { return nav_bar_->GetQueryBox(); }

bool CVornMainFrame::RunQueryFromBox() {
  CVornChildFrame* w = ActiveWindow();
  if (!w || !nav_bar_->RunQuery()) return false;
  ShowQueryStatus(w);
  UpdateActions();
  return true;
}

void CVornMainFrame::Dispatch(int id) {
  if (!OnFrameCommand(id)) {
    if (CVornChildFrame* w = ActiveWindow()) w->OnCommand(id);
  }
  // A command may have changed the fonts or the tags the details show.
  word_bar_->Refresh();
  UpdateActions();
}

bool CVornMainFrame::OnFrameCommand(int id) {
  if (marking_->OnFrameCommand(id)) return true;
  if (word_menu_->OnCommand(ActiveWindow(), id)) return true;
  if (query_builders_ && query_builders_->OnCommand(id)) return true;
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
      // With nothing to run, Find leads to the box instead.
      if (GetQueryBox()->GetText().empty()) {
        GetQueryBox()->setFocus();
      } else {
        RunQueryFromBox();
      }
      return true;
    case kCmdPreviousQuery:
    case kCmdNextQuery:
      return nav_bar_->OnCommand(id);
    case kCmdSendRefs:
    case kCmdReceiveRefs:
      return nav_bar_->OnExchangeCommand(id);
    case kCmdCascade:
      ArrangeWindows(mdi_, Arrangement::kCascade);
      return true;
    case kCmdTile:
      mdi_->tileSubWindows();
      return true;
    case kCmdHelp:
      ShowHelp(this, sink_.get());
      return true;
    case kCmdAbout:
      ShowAbout(this);
      return true;
    case kCmdArrangeWindows: {
      CArrangeDialog dialog(this);
      if (dialog.exec() == QDialog::Accepted) ArrangeWindows(mdi_, dialog.GetChoice());
      return true;
    }
    case kCmdPageSetup:
      GetPrintSetup().RunPageSetup(this);
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
    if (def->target == CommandTarget::kFrame &&
        (marking_->UpdateFrameCommand(id, &enabled, &checked) ||
         (query_builders_ && query_builders_->UpdateCommand(id, &enabled)) ||
         word_menu_->UpdateCommand(w, id, &enabled))) {
      // The Marking and Query menus' own frame commands.
    } else if (def->target == CommandTarget::kFrame) {
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
          case kCmdHelp:
          case kCmdAbout:
          case kCmdPageSetup:
            enabled = true;
            break;
          case kCmdPreviousQuery:
          case kCmdNextQuery:
            nav_bar_->UpdateCommand(id, &enabled);
            break;
          case kCmdSendRefs:
          case kCmdReceiveRefs:
            nav_bar_->UpdateExchangeCommand(id, &enabled, &checked);
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
  marking_->UpdateBar(w);
}

void CVornMainFrame::ForgetQueryBoxContents() {
  query_owner_ = nullptr;
  query_box_claimed_ = true;
  for (CVornChildFrame* w : Windows()) w->SetQueryBoxContent(QString());
}

void CVornMainFrame::ShowWindowQuery(CVornChildFrame* window) {
  if (!window || window == query_owner_) return;
  CRichQueryBox* box = GetQueryBox();
  if (query_owner_) query_owner_->SetQueryBoxContent(box->toHtml());
  // The first window of the program takes what the box shows (the last query of the session
  // before) unless it has a query of its own.
  const bool adopt = !query_owner_ && !query_box_claimed_ &&
                     window->GetQueryBoxContent().isEmpty() &&
                     window->GetQueryThing().GetQueryText().empty();
  query_owner_ = window;
  query_box_claimed_ = true;
  if (adopt) {
    ShowQueryStatus(window);
    return;
  }
  if (!window->GetQueryBoxContent().isEmpty()) {
    box->setHtml(window->GetQueryBoxContent());
  } else {
    // A window not left yet shows the query that made its hits (one restored from a desktop).
    box->clear();
    const std::u16string& text = window->GetQueryThing().GetQueryText();
    if (!text.empty()) box->ReplaceSelection(text, CRichQueryBox::DefaultFormat());
  }
  ShowQueryStatus(window);
}

void CVornMainFrame::ShowQueryStatus(CVornChildFrame* window) {
  const CQueryThing& state = window->GetQueryThing();
  const std::vector<uint32_t>& hits = state.GetHits();
  const WordIndex focus = window->GetFocusWord();
  const auto at = std::lower_bound(hits.begin(), hits.end(), static_cast<uint32_t>(focus));
  if (state.GetQueryText().empty() && hits.empty()) {
    statusBar()->showMessage(tr("Ready"));
  } else if (focus >= 0 && at != hits.end() && *at == static_cast<uint32_t>(focus)) {
    statusBar()->showMessage(tr("Match %1 of %2").arg(at - hits.begin() + 1).arg(hits.size()));
  } else {
    statusBar()->showMessage(tr("%1 matches").arg(hits.size()));
  }
}

void CVornMainFrame::ShowNavigation(CVornChildFrame* window) {
  ShowWindowQuery(window);
  ShowQueryStatus(window);
  nav_bar_->ShowWindow(window);
  const WordIndex focus = window->GetFocusWord();
  word_bar_->ShowWord(window->GetActivePane(), focus);
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

void CVornMainFrame::FocusQueryBox() { GetQueryBox()->setFocus(Qt::TabFocusReason); }

bool CVornMainFrame::StepKeyboardFocus(bool next) {
  std::vector<QWidget*> stops;
  const Cbcv* bcv = nav_bar_->GetBcv();
  if (nav_bar_->isVisible()) {
    stops = {bcv->GetBookCombo(), bcv->GetChapterEdit(), bcv->GetVerseEdit(), GetQueryBox(),
             nav_bar_->GetPromptCombo()};
  }
  if (CVornChildFrame* w = ActiveWindow()) {
    stops.push_back(w->GetTextPane());
    stops.push_back(w->GetHitsPane());
  }
  QWidget* focus = QApplication::focusWidget();
  if (!focus || stops.empty()) return false;
  const auto at = std::find_if(stops.begin(), stops.end(), [focus](QWidget* stop) {
    return stop == focus || stop->isAncestorOf(focus);
  });
  if (at == stops.end()) return false;
  const size_t n = stops.size();
  size_t i = static_cast<size_t>(at - stops.begin());
  // A stop that cannot take the focus (a disabled picker without a window) is passed over.
  for (size_t tries = 0; tries < n; ++tries) {
    i = next ? (i + 1) % n : (i + n - 1) % n;
    QWidget* stop = stops[i];
    if (stop->isEnabled() && stop->isVisible()) {
      stop->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
      return true;
    }
  }
  return false;
}

bool CVornMainFrame::focusNextPrevChild(bool next) {
  return StepKeyboardFocus(next) || QMainWindow::focusNextPrevChild(next);
}

void CVornMainFrame::LineFontsChanged(CVornDB* db) {
  for (CVornChildFrame* w : Windows()) {
    if (w->GetDatabase() != db) continue;
    for (CVornView* pane : {w->GetTextPane(), w->GetHitsPane()}) {
      pane->GetMetrics().ReloadLineFonts();
      pane->Invalidate();
    }
  }
  if (CVornChildFrame* w = ActiveWindow()) ShowNavigation(w);
}

CQueryTool& CVornMainFrame::GetQueryTool() { return nav_bar_->GetQueryTool(); }

CPrintSetup& CVornMainFrame::GetPrintSetup() {
  if (!print_setup_) print_setup_ = std::make_unique<CPrintSetup>();
  return *print_setup_;
}

void CVornMainFrame::FitToScreen() {
  const QScreen* where = screen();
  if (!where || isMaximized() || isFullScreen()) return;
  // The window's frame (title bar, borders) is not known before it is shown: a generous
  // allowance for it.
  const QSize room = where->availableGeometry().size();
  if (width() + 16 <= room.width() && height() + 64 <= room.height()) return;
  // The normal size keeps room to move the window once it is restored.
  resize(size().boundedTo(room * 0.85));
  setWindowState(windowState() | Qt::WindowMaximized);
}

void CVornMainFrame::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  FitDocks();
}

void CVornMainFrame::FitDocks() {
  // The text comes first: a docked Word Analysis takes at most a quarter of the frame's height
  // (170 pixels, as it starts, on a large screen).
  if (!word_bar_ || word_bar_->isHidden() || word_bar_->isFloating()) return;
  const Qt::DockWidgetArea where = dockWidgetArea(word_bar_);
  if (where != Qt::TopDockWidgetArea && where != Qt::BottomDockWidgetArea) return;
  const int most = std::max(word_bar_->minimumSizeHint().height(), height() / 4);
  if (word_bar_->height() > most) resizeDocks({word_bar_}, {most}, Qt::Vertical);
}

void CVornMainFrame::closeEvent(QCloseEvent* event) {
  // Tags shown in several windows are offered once, before any window goes.
  if (!marking_->OfferToSaveAllTags()) {
    event->ignore();
    return;
  }
  SaveStateForExit(QApplication::queryKeyboardModifiers() & Qt::ShiftModifier);
  // A window whose user chose Cancel on a save offer keeps the program open.
  if (!Windows().empty()) {
    event->ignore();
    return;
  }
  event->accept();
}

}  // namespace vorn::shell
