// The local socket on which a running Vorn answers requests from scripts and
// editors (the line language of links/remote_request.h). Only processes of
// the same user get an answer: the socket lies in a folder private to the
// user, and each connecting process's user id is checked as well. Requests
// are answered one at a time on the user-interface thread; one that arrives
// while another is being answered (a message box may be open) is refused;
// further lines of the connection being answered wait their turn. One
// program at a time serves an instance: a lock beside the socket, held for
// the program's life, keeps two that start together from taking over each
// other's socket.
#pragma once

#include <QByteArray>
#include <QObject>
#include <functional>
#include <string>

#include "links/remote_request.h"

class QLocalServer;
class QLocalSocket;

namespace vorn::shell {

class CRemoteServer : public QObject {
  Q_OBJECT
 public:
  // What a well-formed request gets: the whole reply line (links::FormatReply).
  using Answer = std::function<std::string(const links::RemoteRequest&)>;

  CRemoteServer(QObject* parent, Answer answer);
  ~CRemoteServer() override;

  // Listens at `path` (a socket left there by a program that is gone is
  // replaced). False, with the reason in `*error`, when it cannot listen or
  // another program holds the instance's lock (`path` + ".lock").
  [[nodiscard]] bool Listen(const std::string& path, std::string* error);

 private:
  void Accept();
  void Read(QLocalSocket* socket);

  QLocalServer* server_ = nullptr;
  Answer answer_;
  bool busy_ = false;
  QLocalSocket* answering_ = nullptr;  // whose request is being answered
  int lock_fd_ = -1;
};

}  // namespace vorn::shell
