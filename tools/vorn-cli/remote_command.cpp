// vorn-cli remote: hands one request to a running Vorn over its local socket
// and prints the reply, so that scripts and editors can move it and ask it.
#include <cstdio>

#include "cli.h"
#include "links/remote_request.h"
#include "links/remote_socket.h"

namespace vorn::cli {

int RunRemote(const Args& args) {
  const auto& p = args.positional();
  const std::string instance = args.Get("--instance", std::string(links::kDefaultInstance));
  const std::string database = args.Get("--db");
  std::string request = p.empty() ? std::string() : p[0];
  for (size_t i = 1; i < p.size(); ++i) request += " " + p[i];
  if (!database.empty()) request += "\t" + database;
  links::RemoteRequest parsed;
  std::string error;
  // Refused here as the program would refuse it, without bothering it.
  if (p.empty() || !links::ParseRemoteRequest(request, &parsed, &error)) {
    std::fprintf(stderr, "%s\n", p.empty() ? "a request is needed" : error.c_str());
    return kBadInput;
  }
  const std::string path = links::RemoteSocketPath(instance, &error);
  if (path.empty()) {
    std::fprintf(stderr, "%s\n", error.c_str());
    return kBadInput;
  }
  std::string reply;
  switch (links::RemoteCall(path, request, &reply, 30000)) {
    case links::CallResult::kNoServer:
      std::fprintf(stderr, "no Vorn instance \"%s\" is running\n", instance.c_str());
      return kBadInput;
    case links::CallResult::kFailed:
      std::fprintf(stderr, "the running Vorn did not answer\n");
      return kBadInput;
    case links::CallResult::kReplied:
      break;
  }
  if (reply == "ok") return kOk;
  if (reply.rfind("ok ", 0) == 0) {
    std::printf("%s\n", reply.c_str() + 3);
    return kOk;
  }
  std::fprintf(stderr, "%s\n", reply.rfind("error ", 0) == 0 ? reply.c_str() + 6 : reply.c_str());
  return kNothingFound;
}

}  // namespace vorn::cli
