#include "shell/remote_server.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <QLocalServer>
#include <QLocalSocket>
#include <QPointer>

#include "links/remote_socket.h"

namespace vorn::shell {

CRemoteServer::CRemoteServer(QObject* parent, Answer answer)
    : QObject(parent), answer_(std::move(answer)) {
  server_ = new QLocalServer(this);
  // The folder already keeps others out; the socket's own mode says so too.
  server_->setSocketOptions(QLocalServer::UserAccessOption);
  connect(server_, &QLocalServer::newConnection, this, &CRemoteServer::Accept);
}

CRemoteServer::~CRemoteServer() {
  if (lock_fd_ >= 0) ::close(lock_fd_);
}

bool CRemoteServer::Listen(const std::string& path, std::string* error) {
  if (lock_fd_ < 0) {
    const std::string lock_path = path + ".lock";
    const int fd = ::open(lock_path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0 || ::flock(fd, LOCK_EX | LOCK_NB) != 0) {
      if (fd >= 0) ::close(fd);
      if (error) *error = "another Vorn serves this instance (" + lock_path + ")";
      return false;
    }
    lock_fd_ = fd;
  }
  const QString name = QString::fromStdString(path);
  if (!server_->listen(name)) {
    // Only a socket nobody answers on may be taken over.
    std::string reply;
    if (server_->serverError() == QAbstractSocket::AddressInUseError &&
        links::RemoteCall(path, "where", &reply, 1000) == links::CallResult::kNoServer) {
      QLocalServer::removeServer(name);
      if (server_->listen(name)) return true;
    }
    if (error) *error = server_->errorString().toStdString();
    return false;
  }
  return true;
}

void CRemoteServer::Accept() {
  while (QLocalSocket* socket = server_->nextPendingConnection()) {
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    if (!links::PeerIsSameUser(static_cast<int>(socket->socketDescriptor()))) {
      socket->abort();
      continue;
    }
    connect(socket, &QLocalSocket::readyRead, this, [this, socket] { Read(socket); });
    if (socket->bytesAvailable() > 0) Read(socket);
  }
}

void CRemoteServer::Read(QLocalSocket* raw_socket) {
  // Answering may open a message box, whose loop delivers this socket's
  // later lines (they wait) and its disconnection (it is then gone).
  if (raw_socket == answering_) return;
  const QPointer<QLocalSocket> socket(raw_socket);
  constexpr qint64 kLongest = static_cast<qint64>(links::kMaxRequestBytes) + 2;  // CR, LF
  while (socket) {
    const QByteArray head = socket->peek(kLongest + 1);
    const qsizetype end = head.indexOf('\n');
    if (end < 0) {
      // A line that does not end within the limit is not read on: the reply
      // says why and the connection closes.
      if (head.size() > kLongest) {
        const std::string reply = links::FormatReply(false, "request too long");
        socket->write(reply.data(), static_cast<qint64>(reply.size()));
        socket->flush();
        socket->disconnectFromServer();
      }
      return;
    }
    const QByteArray line = socket->read(end + 1);
    std::string reply;
    links::RemoteRequest request;
    std::string error;
    if (!links::ParseRemoteRequest(std::string_view(line.constData(), static_cast<size_t>(end)),
                                   &request, &error)) {
      reply = links::FormatReply(false, error);
    } else if (busy_) {
      reply = links::FormatReply(false, "busy with another request");
    } else {
      busy_ = true;
      answering_ = raw_socket;
      reply = answer_(request);
      answering_ = nullptr;
      busy_ = false;
      if (!socket) return;  // the caller went away meanwhile
    }
    socket->write(reply.data(), static_cast<qint64>(reply.size()));
    socket->flush();
  }
}

}  // namespace vorn::shell
