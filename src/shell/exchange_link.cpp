#include "shell/exchange_link.h"

#include <QFileSystemWatcher>

#include "platform/file_system.h"
#include "textdb/ini_file.h"

namespace vorn::shell {

CExchangeLink::CExchangeLink(QObject* parent, std::string folder)
    : QObject(parent), store_(std::move(folder)), focus_(&store_) {}

CExchangeLink::~CExchangeLink() = default;

void CExchangeLink::SetReceiving(bool on) {
  receive_ = on;
  Watch(on);
}

void CExchangeLink::Watch(bool on) {
  const std::string& folder = store_.GetFolder();
  if (folder.empty()) return;
  if (!on) {
    delete watcher_;
    watcher_ = nullptr;
    return;
  }
  if (watcher_) return;
  // A folder that cannot be made leaves receiving on but deaf; the switch
  // still shows what the user chose. Another program may make it meanwhile.
  (void)platform::CreateFolder(folder);
  if (!platform::DirectoryExists(folder)) return;
  watcher_ = new QFileSystemWatcher(this);
  watcher_->addPath(QString::fromStdString(folder));
  connect(watcher_, &QFileSystemWatcher::directoryChanged, this, [this] { StoreChanged(); });
}

void CExchangeLink::Load(const CIniFile& settings) {
  bool on = false;
  if (settings.GetBool(kSection, u"Receive", &on)) SetReceiving(on);
  if (settings.GetBool(kSection, u"Send", &on)) SetSending(on);
}

void CExchangeLink::Save(CIniFile* settings) const {
  settings->SetBool(kSection, u"Receive", receive_);
  settings->SetBool(kSection, u"Send", send_);
}

bool CExchangeLink::PassageChanged(const CBibleRef& ref) {
  if (!send_ || guard_ || ref.GetBookCode().empty()) return true;
  const bool sent = focus_.Send(ref);
  if (!sent && !failing_) emit SendFailed(QString::fromStdString(store_.GetFolder()));
  failing_ = !sent;
  return sent;
}

void CExchangeLink::StoreChanged() {
  if (!receive_ || guard_) return;
  CBibleRef ref;
  if (!focus_.Receive(&ref)) return;
  guard_ = true;
  if (receiver_) receiver_(ref);
  guard_ = false;
}

}  // namespace vorn::shell
