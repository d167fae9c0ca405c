#include "shell/remote_server.h"

#include <QLocalServer>
#include <QLocalSocket>

#include "links/remote_socket.h"

namespace vorn::shell {

CRemoteServer::CRemoteServer(QObject* parent, Answer answer)
    : QObject(parent), answer_(std::move(answer)) {
  server_ = new QLocalServer(this);
  // The folder already keeps others out; the socket's own mode says so too.
  server_->setSocketOptions(QLocalServer::UserAccessOption);
  connect(server_, &QLocalServer::newConnection, this, &CRemoteServer::Accept);
}

CRemoteServer::~CRemoteServer() = default;

bool CRemoteServer::Listen(const std::string& path, std::string* error) {
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

void CRemoteServer::Read(QLocalSocket* socket) {
  constexpr qint64 kLongest = static_cast<qint64>(links::kMaxRequestBytes) + 2;  // CR, LF
  for (;;) {
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
      reply = answer_(request);
      busy_ = false;
    }
    socket->write(reply.data(), static_cast<qint64>(reply.size()));
    socket->flush();
  }
}

}  // namespace vorn::shell
