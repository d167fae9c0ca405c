// The navigation bar's side of the reference exchange with other Bible
// programs: the Receive and Send switches, the re-entry guard and the
// exchange object, and the watch on the store through which other programs'
// passages arrive.
//
// Other programs are noticed by watching the store's folder (a
// QFileSystemWatcher, inotify underneath) rather than by a session-bus
// signal: every writer, this program included, replaces the item's file by a
// rename, which the folder's watch always sees, while a watch on the file
// itself would stay on the replaced file; and peers need nothing but to
// write a file, with no bus connection or agreed interface.
#pragma once

#include <QObject>
#include <functional>
#include <memory>

#include "links/exchange_store.h"
#include "links/sf_focus.h"
#include "refs/bible_ref.h"

class QFileSystemWatcher;

namespace vorn {
class CIniFile;
}

namespace vorn::shell {

class CExchangeLink : public QObject {
  Q_OBJECT
 public:
  // The section and keys the switches persist in (settings and desktops).
  static constexpr std::u16string_view kSection = u"Focus";

  // `folder`: the store's folder (empty: nothing is exchanged).
  CExchangeLink(QObject* parent, std::string folder);
  ~CExchangeLink() override;

  bool IsReceiving() const { return receive_; }
  bool IsSending() const { return send_; }
  // Receiving on watches the store (its folder is made when missing); off
  // stops watching.
  void SetReceiving(bool on);
  void SetSending(bool on) { send_ = on; }
  // The switches from section Focus; a missing key leaves its switch as it is.
  void Load(const CIniFile& settings);
  void Save(CIniFile* settings) const;

  // The active window's passage changed: sent when sending is on and no
  // received reference is being shown. False when it could not be written.
  bool PassageChanged(const CBibleRef& ref);
  // What the store says now, acted on when receiving is on and the guard is
  // off: a new reference is handed to the receiver with the guard set.
  void StoreChanged();
  // Who shows a received (unbound) reference; called with the guard set.
  void SetReceiver(std::function<void(const CBibleRef&)> receiver) {
    receiver_ = std::move(receiver);
  }
  const links::CExchangeStore& GetStore() const { return store_; }

 signals:
  // A reference could not be written into the store's `folder`; told once
  // until a send succeeds again, so a user moving about is not told twice.
  void SendFailed(const QString& folder);

 private:
  void Watch(bool on);

  links::CExchangeStore store_;
  links::CSFFocus focus_;
  QFileSystemWatcher* watcher_ = nullptr;
  std::function<void(const CBibleRef&)> receiver_;
  bool receive_ = false;
  bool send_ = false;
  bool guard_ = false;
  bool failing_ = false;
};

}  // namespace vorn::shell
