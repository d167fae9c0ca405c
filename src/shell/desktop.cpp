#include "shell/desktop.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QStatusBar>
#include <algorithm>

#include "platform/message_sink.h"
#include "platform/string_table.h"
#include "platform/u16.h"
#include "querystate/query_thing.h"
#include "refs/bookmarks.h"
#include "shell/child_frame.h"
#include "shell/exchange_link.h"
#include "shell/main_frame.h"
#include "shell/nav_bar.h"
#include "shell/persistent_view_settings.h"
#include "shell/qt_device.h"
#include "shell/vorn_view.h"
#include "shell/window_placement.h"
#include "textdb/vorn_db.h"

namespace vorn::shell {

namespace {

using platform::LoadString;

constexpr char16_t kTextPaneSuffix[] = u" Text View";
constexpr char16_t kHitsPaneSuffix[] = u" Hits View";

std::u16string Decimal(long long n) { return platform::ToU16(std::to_string(n)); }

std::u16string ViewsSection() { return std::u16string(LoadString(platform::kIdsDesktopViews)); }

std::u16string ViewKey(size_t n) {
  return platform::FormatString(platform::kIdsDesktopView, Decimal(static_cast<long long>(n)));
}

// The bars by the names the main frame gives them; the status bar is the
// frame's own.
struct BarKey {
  const char16_t* key;
  const char* object_name;
};
constexpr BarKey kBars[] = {{u"NavBar", "NavBar"},
                            {u"PropBar", "PropBar"},
                            {u"WordBar", "WordBar"},
                            {u"StatusBar", nullptr}};

QWidget* FindBar(CVornMainFrame* frame, const BarKey& bar) {
  if (!bar.object_name) return frame->findChild<QStatusBar*>(QString(), Qt::FindDirectChildrenOnly);
  return frame->findChild<QWidget*>(QString::fromLatin1(bar.object_name),
                                    Qt::FindDirectChildrenOnly);
}

QMdiSubWindow* SubWindowOf(CVornChildFrame* window) {
  return qobject_cast<QMdiSubWindow*>(window->parentWidget());
}

// "View 2" before "View 10": the number after the last blank decides, then
// the text.
bool ViewKeyOrder(const std::u16string& a, const std::u16string& b) {
  auto number = [](const std::u16string& key) -> long long {
    const size_t blank = key.rfind(u' ');
    const size_t start = blank == std::u16string::npos ? 0 : blank + 1;
    if (start >= key.size()) return -1;
    long long n = 0;
    for (size_t i = start; i < key.size(); ++i) {
      if (key[i] < u'0' || key[i] > u'9') return -1;
      n = std::min(n * 10 + (key[i] - u'0'), 1LL << 40);
    }
    return n;
  };
  const long long na = number(a), nb = number(b);
  if (na != nb) return na < nb;
  return a < b;
}

bool IsGroupName(const std::u16string& group) {
  return group.empty() || (group.size() == 1 && group[0] >= u'A' && group[0] <= u'D');
}

}  // namespace

void SaveMainFrame(CVornMainFrame* frame, CIniFile* settings) {
  settings->SetString(kMainSection, u"WndPos", FromQString(FormatPlacement(GetPlacement(frame))));
  for (const BarKey& bar : kBars) {
    if (QWidget* w = FindBar(frame, bar)) settings->SetBool(kMainSection, bar.key, !w->isHidden());
  }
  frame->GetBookmarks().Save(settings);
  if (CExchangeLink* exchange = frame->GetNavBar()->GetExchange()) exchange->Save(settings);
}

void RestoreMainFrame(CVornMainFrame* frame, const CIniFile& settings) {
  std::u16string text;
  CWindowPlacement placement;
  if (settings.GetString(kMainSection, u"WndPos", &text) &&
      ParsePlacement(ToQString(text), &placement))
    ApplyPlacement(frame, placement);
  for (const BarKey& bar : kBars) {
    bool shown = false;
    QWidget* w = FindBar(frame, bar);
    if (w && settings.GetBool(kMainSection, bar.key, &shown)) w->setVisible(shown);
  }
  // A file that carries no bookmarks (a desktop written by hand or before
  // any bookmark existed) must not wipe out the user's list.
  if (settings.HasSection(CBookmarks::kSection)) frame->GetBookmarks().Load(settings);
  if (CExchangeLink* exchange = frame->GetNavBar()->GetExchange()) exchange->Load(settings);
}

void SavePane(CVornView* pane, CIniFile* settings, std::u16string_view section) {
  settings->SetUnsigned(section, u"Focus Word",
                        static_cast<uint32_t>(std::max(pane->GetFocusWord(), 0)));
  settings->SetInt(section, u"Word Y", pane->GetWordY());
  settings->SetUnsigned(section, u"Layout ID", static_cast<uint32_t>(pane->GetLayoutId()));
  CViewMetrics& metrics = pane->GetMetrics();
  for (int n = 0; n < metrics.GetLineCount(); ++n)
    settings->SetBool(section, u"LineVis " + Decimal(n), metrics.IsLineVisible(n));
  settings->SetBool(section, u"ShowTips", pane->GetShowTips());
  metrics.SaveSettings(settings, section);
}

void RestorePane(CVornView* pane, const CIniFile& settings, std::u16string_view section) {
  uint32_t layout_id = 0;
  if (settings.GetUnsigned(section, u"Layout ID", &layout_id) &&
      static_cast<int>(layout_id) != pane->GetLayoutId()) {
    pane->SetLayoutId(static_cast<int>(layout_id));  // an id of another pane kind is refused
  }
  uint32_t focus = 0;
  int32_t y = 0;
  if (settings.GetUnsigned(section, u"Focus Word", &focus) &&
      settings.GetInt(section, u"Word Y", &y) &&
      focus < pane->GetMetrics().GetDatabase()->GetWordCount()) {
    // A negative offset would ask the pane to keep the word where it is.
    pane->SetFocusWord(static_cast<WordIndex>(focus), std::max(y, 0));
  }
  CViewMetrics& metrics = pane->GetMetrics();
  bool any_visible = false;
  for (int n = 0; n < metrics.GetLineCount(); ++n) {
    bool visible = true;
    settings.GetBool(section, u"LineVis " + Decimal(n), &visible);
    metrics.SetLineVisible(n, visible);
    any_visible = any_visible || visible;
  }
  // A pane always shows at least one line.
  if (!any_visible && metrics.GetLineCount() > 0) metrics.SetLineVisible(0, true);
  metrics.LoadSettings(settings, section);
  bool tips = false;
  if (settings.GetBool(section, u"ShowTips", &tips)) pane->SetShowTips(tips);
  pane->Invalidate();
  // The next new pane starts as this one now stands.
  CPersistentViewSettings& remembered = CPersistentViewSettings::Instance();
  remembered.CopyFrom(metrics, *pane->GetMetrics().GetDatabase());
  remembered.SetShowTips(pane->GetShowTips());
}

void SaveWindow(CVornChildFrame* window, CIniFile* settings, std::u16string_view section) {
  settings->SetString(section, u"ViewPos",
                      FromQString(FormatPlacement(GetPlacement(SubWindowOf(window)))));
  settings->SetString(section, u"ScrollGroup", window->GetScrollGroup());
  window->GetQueryThing().SaveToDesktop(settings, section);
  const std::u16string base(section);
  SavePane(window->GetTextPane(), settings, base + kTextPaneSuffix);
  SavePane(window->GetHitsPane(), settings, base + kHitsPaneSuffix);
}

void RestoreWindow(CVornChildFrame* window, const CIniFile& settings, std::u16string_view section,
                   platform::CMessageSink* messages) {
  if (QMdiSubWindow* sub = SubWindowOf(window)) {
    std::u16string text;
    CWindowPlacement placement;
    const bool read = settings.GetString(section, u"ViewPos", &text) &&
                      ParsePlacement(ToQString(text), &placement);
    if (!read || !ApplyPlacement(sub, placement)) {
      if (read && placement.IsMinimized()) {
        sub->showMinimized();
      } else {
        sub->showNormal();
      }
    }
  }
  std::u16string group;
  if (settings.GetString(section, u"ScrollGroup", &group) && IsGroupName(group))
    window->SetScrollGroup(group);
  window->GetQueryThing().LoadFromDesktop(settings, section, messages);
  const std::u16string base(section);
  RestorePane(window->GetTextPane(), settings, base + kTextPaneSuffix);
  RestorePane(window->GetHitsPane(), settings, base + kHitsPaneSuffix);
}

std::vector<CVornChildFrame*> WindowsTopDown(const CVornMainFrame* frame) {
  std::vector<CVornChildFrame*> out;
  const QList<QMdiSubWindow*> subs = frame->GetMdiArea()->subWindowList(QMdiArea::StackingOrder);
  for (auto it = subs.rbegin(); it != subs.rend(); ++it) {
    if (auto* w = qobject_cast<CVornChildFrame*>((*it)->widget())) out.push_back(w);
  }
  return out;
}

void CloseAllWindows(CVornMainFrame* frame) {
  for (CVornChildFrame* w : WindowsTopDown(frame)) {
    QMdiSubWindow* sub = SubWindowOf(w);
    if (!sub) continue;
    // Deleting now, not later, runs the window's save prompts in order.
    if (sub->close()) delete sub;
  }
}

QString QtFileFilter(std::u16string_view filter) {
  QStringList parts = ToQString(filter).split(QLatin1Char('|'));
  QStringList names;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    if (parts[i].isEmpty()) break;
    names.push_back(parts[i]);
  }
  return names.join(QStringLiteral(";;"));
}

CDeskTop::CDeskTop(CVornMainFrame* frame, QString* last_dir)
    : frame_(frame), last_dir_(last_dir), saved_cwd_(QDir::currentPath()) {}

CDeskTop::~CDeskTop() {
  if (QDir::currentPath() != saved_cwd_) QDir::setCurrent(saved_cwd_);
}

void CDeskTop::Capture() {
  settings_.Parse({});
  SaveMainFrame(frame_, &settings_);
  const std::u16string views = ViewsSection();
  const std::vector<CVornChildFrame*> windows = WindowsTopDown(frame_);
  for (size_t i = 0; i < windows.size(); ++i) {
    const std::u16string key = ViewKey(i);
    settings_.SetString(views, key, windows[i]->GetDatabase()->GetTitle());
    SaveWindow(windows[i], &settings_, key);
  }
}

bool CDeskTop::Read(const std::string& path) { return settings_.Load(path); }

bool CDeskTop::Write(const std::string& path) { return settings_.Save(&path); }

bool CDeskTop::Apply() {
  CloseAllWindows(frame_);
  // Cancel on a window's save offer cancels the load: the desktop would
  // otherwise open beside the window the user kept.
  if (!frame_->Windows().empty()) return false;
  RestoreMainFrame(frame_, settings_);
  platform::CMessageSink* messages = frame_->GetMessageSink();
  const std::u16string views = ViewsSection();
  std::vector<std::u16string> keys;
  settings_.GetKeys(views, &keys);
  std::stable_sort(keys.begin(), keys.end(), ViewKeyOrder);
  // The windows come back where they were saved: none may drag the others
  // along while they are being restored.
  frame_->SetScrollGroupsPaused(true);
  std::vector<CVornChildFrame*> opened;
  for (const std::u16string& key : keys) {
    std::u16string title;
    settings_.GetString(views, key, &title);
    const int entry = frame_->GetCatalogue().FindByTitle(title);
    if (entry < 0) {
      if (messages) messages->ShowWarning(u"Couldn't open \"" + title + u"\"");
      continue;
    }
    CVornChildFrame* window = frame_->OpenEntry(entry);
    if (!window) continue;  // the catalogue has said why
    RestoreWindow(window, settings_, key, messages);
    opened.push_back(window);
  }
  // Each new window opened on top; activating them from the last back to
  // the first gives the saved order again. Each shows its restored query.
  frame_->ForgetQueryBoxContents();
  for (auto it = opened.rbegin(); it != opened.rend(); ++it) {
    if (QMdiSubWindow* sub = SubWindowOf(*it)) frame_->GetMdiArea()->setActiveSubWindow(sub);
  }
  frame_->ShowWindowQuery(frame_->ActiveWindow());
  frame_->SetScrollGroupsPaused(false);
  return true;
}

void CDeskTop::RememberFolder(const QString& file) {
  if (last_dir_) *last_dir_ = QFileInfo(file).absolutePath();
}

bool CDeskTop::SaveWithDialog(QWidget* parent) {
  Capture();
  QFileDialog dialog(parent, QObject::tr("Save Desktop"),
                     last_dir_ ? *last_dir_ : QDir::currentPath(),
                     QtFileFilter(LoadString(platform::kIdsDesktopFilter)));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setDefaultSuffix(ToQString(LoadString(platform::kIdsDesktopExtension)));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
  const QString path = dialog.selectedFiles().front();
  if (!Write(path.toStdString())) {
    settings_.Parse({});
    if (platform::CMessageSink* messages = frame_->GetMessageSink())
      messages->ShowWarning(std::u16string(LoadString(platform::kIdsCantSaveDesktop)));
    return false;
  }
  RememberFolder(path);
  return true;
}

bool CDeskTop::LoadWithDialog(QWidget* parent) {
  QFileDialog dialog(parent, QObject::tr("Load Desktop"),
                     last_dir_ ? *last_dir_ : QDir::currentPath(),
                     QtFileFilter(LoadString(platform::kIdsDesktopFilter)));
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setDefaultSuffix(ToQString(LoadString(platform::kIdsDesktopExtension)));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
  const QString path = dialog.selectedFiles().front();
  RememberFolder(path);
  if (!Read(path.toStdString())) {
    // Nothing has been closed yet: a file that cannot be read leaves the
    // desktop as it is.
    if (platform::CMessageSink* messages = frame_->GetMessageSink())
      messages->ShowWarning(u"Couldn't open \"" + FromQString(QDir::toNativeSeparators(path)) +
                            u"\"");
    return false;
  }
  return Apply();
}

}  // namespace vorn::shell
