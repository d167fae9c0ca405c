// Parses arbitrary bytes as a line of the remote requests. What is accepted
// must be within the limits and free of control characters, and a reply
// built from any text must be exactly one line.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "links/remote_request.h"

namespace {

bool HasControl(std::string_view s) {
  for (char c : s) {
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) return true;
  }
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view line(reinterpret_cast<const char*>(data), size);
  vorn::links::RemoteRequest request;
  std::string error;
  if (vorn::links::ParseRemoteRequest(line, &request, &error)) {
    if (line.size() > vorn::links::kMaxRequestBytes + 1 || HasControl(request.argument) ||
        HasControl(request.database) || request.database.size() > vorn::links::kMaxDatabaseName ||
        !vorn::links::IsWellFormedUtf8(request.argument) ||
        (request.verb != vorn::links::RemoteVerb::kWhere && request.argument.empty()))
      std::abort();
  } else if (error.empty()) {
    std::abort();
  }
  const std::string reply = vorn::links::FormatReply(false, line);
  if (reply.find('\n') != reply.size() - 1) std::abort();
  return 0;
}
