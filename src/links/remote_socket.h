// Where a running Vorn listens for requests, and the client side of the
// conversation. Each instance has one socket, "<instance>.sock", in a folder
// only its user may enter: $XDG_RUNTIME_DIR/vorn, or /tmp/vorn-<uid> when the
// session has no runtime folder. The folder is made with mode 0700 and
// checked on every use (a directory, not a link, owned by the user, no access
// for group or others), so a folder someone else prepared is refused rather
// than used. The server also checks each peer's user id (PeerIsSameUser).
#pragma once

#include <string>
#include <string_view>

namespace vorn::links {

// The instance a program is when none is named.
inline constexpr std::string_view kDefaultInstance = "default";

// Whether `name` may name an instance: 1 to 32 of A-Z a-z 0-9 . _ -, not
// starting with a dot (it becomes part of file and folder names).
bool IsInstanceName(std::string_view name);

// The socket folder of the current user, made when missing. Empty, with the
// reason in `*error` (may be null), when it cannot be made or fails the check.
std::string RemoteSocketFolder(std::string* error);

// The socket path of `instance` in the checked folder; empty, with the
// reason in `*error`, when the folder fails or the path is too long for a
// local socket.
std::string RemoteSocketPath(std::string_view instance, std::string* error);

enum class CallResult {
  kReplied,   // `*reply` holds the reply line, without its line feed
  kNoServer,  // nobody listens there (no socket, or a stale one)
  kFailed,    // connected, but the request or reply did not get through in time
};

// Sends one request line to the socket at `socket_path` and waits up to
// `timeout_ms` for the one reply line.
CallResult RemoteCall(const std::string& socket_path, std::string_view request, std::string* reply,
                      int timeout_ms);

// Whether the process at the other end of the connected local socket `fd`
// runs as the current user; false when the system cannot tell.
bool PeerIsSameUser(int fd);

}  // namespace vorn::links
