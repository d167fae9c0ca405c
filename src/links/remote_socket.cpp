#include "links/remote_socket.h"

#include <errno.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>

#include "links/remote_request.h"

namespace vorn::links {

namespace {

// Makes `path` (mode 0700) when missing and checks that only the user may
// enter it.
bool MakePrivateFolder(const std::string& path, std::string* error) {
  if (::mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) {
    if (error) *error = "cannot make " + path;
    return false;
  }
  struct stat st {};
  if (::lstat(path.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
    if (error) *error = path + " is not a folder";
    return false;
  }
  if (st.st_uid != ::getuid() || (st.st_mode & 077) != 0) {
    if (error) *error = path + " is not private to this user (owner and mode 0700 needed)";
    return false;
  }
  return true;
}

}  // namespace

bool IsInstanceName(std::string_view name) {
  if (name.empty() || name.size() > 32 || name.front() == '.') return false;
  for (char c : name) {
    const bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                    c == '.' || c == '_' || c == '-';
    if (!ok) return false;
  }
  return true;
}

std::string RemoteSocketFolder(std::string* error) {
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  const std::string folder = runtime && runtime[0] == '/'
                                 ? std::string(runtime) + "/vorn"
                                 : "/tmp/vorn-" + std::to_string(::getuid());
  return MakePrivateFolder(folder, error) ? folder : std::string();
}

std::string RemoteSocketPath(std::string_view instance, std::string* error) {
  if (!IsInstanceName(instance)) {
    if (error) *error = "bad instance name";
    return {};
  }
  const std::string folder = RemoteSocketFolder(error);
  if (folder.empty()) return {};
  std::string path = folder + "/" + std::string(instance) + ".sock";
  if (path.size() >= sizeof(sockaddr_un{}.sun_path)) {
    if (error) *error = "socket path too long: " + path;
    return {};
  }
  return path;
}

CallResult RemoteCall(const std::string& socket_path, std::string_view request, std::string* reply,
                      int timeout_ms) {
  sockaddr_un address{};
  if (socket_path.size() >= sizeof(address.sun_path)) return CallResult::kNoServer;
  address.sun_family = AF_UNIX;
  socket_path.copy(address.sun_path, socket_path.size());
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
  auto left = [&] {
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                        deadline - std::chrono::steady_clock::now())
                        .count();
    return ms > 0 ? static_cast<int>(ms) : 0;
  };
  // The connection is made without blocking: an instance that hangs with a
  // full queue of connections must not hang its caller past the deadline.
  const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  if (fd < 0) return CallResult::kFailed;
  for (;;) {
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) == 0) break;
    if (errno == EINPROGRESS) {
      pollfd p{fd, POLLOUT, 0};
      int error = 0;
      socklen_t size = sizeof error;
      if (::poll(&p, 1, left()) == 1 &&
          ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &size) == 0 && error == 0)
        break;
      ::close(fd);
      return CallResult::kFailed;
    }
    if ((errno == EAGAIN || errno == EINTR) && left() > 0) {
      ::poll(nullptr, 0, 10);  // the server's queue is full: try again shortly
      continue;
    }
    // Still full at the deadline: someone listens but does not take calls.
    const bool busy = errno == EAGAIN || errno == EINTR;
    ::close(fd);
    return busy ? CallResult::kFailed : CallResult::kNoServer;
  }
  // A request line is far smaller than the socket's buffer, so sending
  // blocking cannot wait on the server; replies are awaited with poll.
  ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  std::string line(request);
  line += '\n';
  size_t sent = 0;
  while (sent < line.size()) {
    const ssize_t n = ::send(fd, line.data() + sent, line.size() - sent, MSG_NOSIGNAL);
    if (n <= 0) {
      ::close(fd);
      return CallResult::kFailed;
    }
    sent += static_cast<size_t>(n);
  }
  std::string got;
  for (;;) {
    pollfd p{fd, POLLIN, 0};
    const int ready = ::poll(&p, 1, left());
    if (ready < 0 && errno == EINTR) continue;
    if (ready <= 0) break;
    char buffer[4096];
    const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
    if (n <= 0) break;
    got.append(buffer, static_cast<size_t>(n));
    if (const size_t end = got.find('\n'); end != std::string::npos) {
      ::close(fd);
      *reply = got.substr(0, end);
      return CallResult::kReplied;
    }
    // A verse is long, but no reply is this long.
    if (got.size() > 1 << 20) break;
  }
  ::close(fd);
  return CallResult::kFailed;
}

bool PeerIsSameUser(int fd) {
  ucred credentials{};
  socklen_t size = sizeof credentials;
  if (::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &credentials, &size) != 0) return false;
  return credentials.uid == ::getuid();
}

}  // namespace vorn::links
