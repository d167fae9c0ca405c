#include "shell/child_frame.h"

#include <QCloseEvent>
#include <QDir>
#include <QFileSystemWatcher>
#include <QSplitter>
#include <QVBoxLayout>
#include <vector>

#include "layout/layout_tags.h"
#include "markup/annotation.h"
#include "markup/tags_db.h"
#include "refs/bible_ref.h"
#include "shell/actions.h"
#include "shell/hit_analysis_dialog.h"
#include "shell/hit_chart.h"
#include "shell/line_fonts_dialog.h"
#include "shell/marking.h"
#include "shell/qt_device.h"
#include "shell/vorn_view.h"
#include "textdb/vorn_db.h"

namespace vorn::shell {

CVornChildFrame::CVornChildFrame(CMarking* marking, CVornDB* db, CPropositionsList* props)
    : marking_(marking), db_(db) {
  // The tags' user folders are beside the propositions'.
  CTagsDB* tags = GetTagsDB(db, props->GetWorkingFolder());
  // The notes too; their marks are drawn after the words.
  CAnnotation* notes = GetAnnotation(db, props->GetWorkingFolder());
  state_ = std::make_unique<CQueryThing>(db, tags, notes, props, this);
  state_->SetWordTagsMaker([](std::unique_ptr<CTag> tag, const CViewMetrics& metrics) {
    return std::make_unique<CTagWordTags>(std::move(tag), metrics);
  });
  auto* box = new QVBoxLayout(this);
  box->setContentsMargins(0, 0, 0, 0);
  splitter_ = new QSplitter(Qt::Vertical, this);
  text_ = new CVornView(this, false, db, state_.get());
  hits_ = new CVornView(this, true, db, state_.get());
  splitter_->addWidget(text_);
  splitter_->addWidget(hits_);
  splitter_->setStretchFactor(0, 5);
  splitter_->setStretchFactor(1, 1);
  box->addWidget(splitter_);
  active_ = text_;
  for (CVornView* pane : {text_, hits_}) {
    connect(pane, &CVornView::FocusWordChanged, this,
            [this, pane](WordIndex old_focus) { FocusChanged(pane, old_focus); });
    connect(pane, &CVornView::Activated, this, [this, pane] { PaneActivated(pane); });
    connect(pane, &CVornView::FocusStepWanted, this, &CVornChildFrame::FocusStepWanted);
    connect(pane, &CVornView::CommandKey, this, &CVornChildFrame::KeyCommand);
    connect(pane, &CVornView::WordMenuWanted, this, &CVornChildFrame::WordMenuWanted);
  }
  // The word prompts and the word details start from the word shown first,
  // not from the first word the user moves to.
  state_->SetCurrentWord(text_->GetFocusWord());
  setWindowTitle(MakeTitle());
  tag_watcher_ = new QFileSystemWatcher(this);
  connect(tag_watcher_, &QFileSystemWatcher::directoryChanged, this, [this] { TagFilesChanged(); });
  connect(tag_watcher_, &QFileSystemWatcher::fileChanged, this, [this] { TagFilesChanged(); });
  WatchTagFiles();
}

void CVornChildFrame::WatchTagFiles() {
  CTagsDB* tags = state_->GetMarkup().GetTagsDB();
  if (!tags || tags->GetUserFolder().empty()) return;
  const QString folder = QString::fromStdString(tags->GetUserFolder());
  QStringList paths;
  if (QDir(folder).exists()) {
    paths << folder;
    for (const QString& set : QDir(folder).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
      paths << folder + u'/' + set;
    }
  }
  for (CTagDB* t : tags->GetTags()) {
    if (!t->IsDatabaseTag()) paths << QString::fromStdString(t->GetFilePath());
  }
  // A save replaces the file by a rename, which ends the watch of the old
  // file: the paths are given again after every change.
  const QStringList watched = tag_watcher_->files() + tag_watcher_->directories();
  QStringList missing;
  for (const QString& p : paths) {
    if (!watched.contains(p)) missing << p;
  }
  if (!missing.isEmpty()) tag_watcher_->addPaths(missing);
}

void CVornChildFrame::TagFilesChanged() {
  CTagsDB* tags = state_->GetMarkup().GetTagsDB();
  if (!tags) return;
  if (tags->ReloadChanged()) RepaintPanes();
  WatchTagFiles();
}

CVornChildFrame::~CVornChildFrame() = default;

void CVornChildFrame::SetOutputServices(const std::function<CPrintSetup&()>& print_setup,
                                        platform::CMessageSink* sink) {
  for (CVornView* pane : {text_, hits_}) pane->SetOutputServices(print_setup, sink);
}

void CVornChildFrame::SetScrollGroup(std::u16string group) {
  group_ = std::move(group);
  setWindowTitle(MakeTitle());
}

QString CVornChildFrame::MakeTitle() const {
  std::u16string title = db_->GetTitle();
  const WordIndex focus = GetFocusWord();
  if (focus >= 0) {
    CBibleRef ref(db_, focus);
    if (ref.HasEntry()) title += u" - " + ref.FormatLong();
  }
  if (!group_.empty()) title += u" (" + group_ + u")";
  return ToQString(title);
}

void CVornChildFrame::SplitAfterQuery() {
  QList<int> sizes = splitter_->sizes();
  if (sizes.size() != 2) return;
  if (sizes[1] * 5 < sizes[0]) {
    const int total = sizes[0] + sizes[1];
    sizes[0] = sizes[0] * 2 / 3;
    sizes[1] = total - sizes[0];
    splitter_->setSizes(sizes);
  }
}

void CVornChildFrame::FocusChanged(CVornView* pane, WordIndex old_focus) {
  const WordIndex focus = pane->GetFocusWord();
  if (focus < 0 || focus == old_focus) return;
  // The sub-window shows its widget's title.
  setWindowTitle(MakeTitle());
  if (pane == active_) {
    CVornView* other = pane == text_ ? hits_ : text_;
    // A caret (one selected word at the focus) shows in both panes; a wider selection or a
    // scrolled-to top word leaves the other pane's selection alone.
    const std::vector<WordIndex>& selection = pane->GetMetrics().GetSelection();
    const bool caret = selection.size() == 1 && selection.front() == focus;
    if (caret && other->GetMetrics().GetSelection() != selection) {
      other->GetMetrics().SetSelection(selection);
      other->Invalidate();
    }
    if (other->GetFocusWord() != focus) {
      // The other pane follows without telling anyone again.
      other->blockSignals(true);
      other->SetFocusWord(focus, -1);
      other->blockSignals(false);
    }
    state_->SetCurrentWord(focus);
    emit FocusWordChanged(this);
  }
  if (!going_through_history_) state_->GetHistory().Add(focus);
}

void CVornChildFrame::PaneActivated(CVornView* pane) {
  active_ = pane;
  emit Activated(this);
}

WordIndex CVornChildFrame::GetFocusWord() const { return active_ ? active_->GetFocusWord() : -1; }

void CVornChildFrame::GoTo(const CBibleRef& ref) {
  CBibleRef here(ref, db_);
  const WordIndex word = here.GetFirstWord();
  if (word >= 0 && active_) active_->SetFocusWord(word, 0);
}

void CVornChildFrame::HitsReplaced() {
  SplitAfterQuery();
  text_->HitsChanged();
  hits_->HitsChanged();
  if (state_->GetHitCount() == 0) return;
  // The hits pane now stands at the first hit; the text pane shows it too,
  // and the window's title, current word and history follow whichever pane
  // is active.
  const WordIndex first = hits_->GetFocusWord();
  // The first hit is the caret in both panes, marked and in view.
  hits_->GetMetrics().SetSelection({first});
  text_->SetCaret(first);
  // The hits pane took its new focus quietly; -1 makes it count as new.
  if (active_ == hits_) FocusChanged(hits_, -1);
}

void CVornChildFrame::HitsRemoved(WordIndex first_removed) {
  text_->HitsChanged();
  hits_->HitsChanged();
  if (first_removed >= 0) hits_->SetFocusWord(first_removed, -1);
}

void CVornChildFrame::HitsCleared() {
  text_->HitsChanged();
  hits_->HitsChanged();
}

void CVornChildFrame::KeyCommand(int id) {
  OnCommand(id);
  emit CommandDone();
}

void CVornChildFrame::closeEvent(QCloseEvent* event) {
  if (!marking_->CloseWindow(this)) {
    event->ignore();
    return;
  }
  // Changed notes are offered for saving book by book (message 315).
  GetAnnotation(db_)->SaveChangedBooks();
  QWidget::closeEvent(event);
}

void CVornChildFrame::RepaintPanes() {
  text_->Invalidate();
  hits_->Invalidate();
}

bool CVornChildFrame::OnCommand(int id) {
  if (marking_->OnCommand(this, id)) return true;
  if (id >= kCmdScrollGroupNone && id <= kCmdScrollGroupD) {
    const int n = id - kCmdScrollGroupNone;
    SetScrollGroup(n == 0 ? std::u16string()
                          : std::u16string(1, static_cast<char16_t>(u'A' + n - 1)));
    return true;
  }
  CHistory& history = state_->GetHistory();
  if (id == kCmdGoBack || id == kCmdGoForward || id == kCmdGoOrigin) {
    const WordIndex word = static_cast<WordIndex>(id == kCmdGoBack      ? history.Back()
                                                  : id == kCmdGoForward ? history.Forward()
                                                                        : history.GoOrigin());
    going_through_history_ = id != kCmdGoOrigin;
    active_->SetCaret(word);
    going_through_history_ = false;
    return true;
  }
  if (id == kCmdAnalyse || id == kCmdHitChart) {
    AnalyseHits(id == kCmdHitChart);
    return true;
  }
  if (id == kCmdLineFonts) {
    CLineFontsDialog dialog(db_, this);
    if (dialog.exec() == QDialog::Accepted && dialog.Apply()) emit LineFontsChanged();
    return true;
  }
  if (id == kCmdRemoveMatch) {
    std::vector<uint32_t> words(hits_->GetMetrics().GetSelection().begin(),
                                hits_->GetMetrics().GetSelection().end());
    hits_->GetMetrics().ClearSelection();
    state_->RemoveHits(words);
    return true;
  }
  // Pane commands go to the active pane; a layout kind of the other pane
  // goes to that pane.
  if (active_->OnCommand(id)) return true;
  CVornView* other = active_ == text_ ? hits_ : text_;
  return other->OnCommand(id);
}

bool CVornChildFrame::UpdateCommand(int id, bool* enabled, bool* checked) {
  *enabled = true;
  *checked = false;
  if (marking_->UpdateCommand(this, id, enabled, checked)) return true;
  if (id >= kCmdScrollGroupNone && id <= kCmdScrollGroupD) {
    const int n = id - kCmdScrollGroupNone;
    *checked =
        n == 0 ? group_.empty() : group_ == std::u16string(1, static_cast<char16_t>(u'A' + n - 1));
    return true;
  }
  CHistory& history = state_->GetHistory();
  switch (id) {
    case kCmdGoBack:
      *enabled = history.CanBack();
      return true;
    case kCmdGoForward:
      *enabled = history.CanForward();
      return true;
    case kCmdGoOrigin:
      *enabled = history.HasOrigin();
      return true;
    case kCmdRemoveMatch:
      *enabled = !hits_->GetMetrics().GetSelection().empty();
      return true;
    case kCmdAnalyse:
    case kCmdHitChart:
    case kCmdLineFonts:
    case kCmdArrangeWindows:  // carried out by the main frame
      return true;
    default:
      break;
  }
  if (active_->UpdateCommand(id, enabled, checked) && *enabled) return true;
  CVornView* other = active_ == text_ ? hits_ : text_;
  if (other->UpdateCommand(id, enabled, checked)) return true;
  // A command nobody here carries out (not built yet) must not look as if
  // it did something.
  *enabled = false;
  *checked = false;
  return false;
}

void CVornChildFrame::AnalyseHits(bool chart) {
  // Both panes follow a bar's click: the text pane goes to the hit.
  auto go_to = [this](int word) { text_->SetCaret(static_cast<WordIndex>(word)); };
  if (chart) {
    CHitChartDialog dialog(db_, state_->GetHits(), this);
    connect(&dialog, &CHitChartDialog::GoToWordWanted, this, go_to);
    dialog.exec();
    return;
  }
  CHitAnalysisDlg dialog(db_, state_->GetHits(), this);
  connect(&dialog, &CHitAnalysisDlg::GoToWordWanted, this, go_to);
  if (dialog.exec() == QDialog::Accepted && dialog.GetChosenLine()) {
    emit QueryPromptWanted(dialog.GetChosenLine(), dialog.GetChosenValue());
  }
}

}  // namespace vorn::shell
