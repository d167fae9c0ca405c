// What a running Vorn does for each request of its local socket: goto moves
// a window and raises the program, query runs in a window and counts the
// hits, where tells the active window's database and verse, show gives the
// text of a verse. Requests that name a database act on its window (opened
// from the catalogue when none shows it); the others on the active window.
// A request that cannot be done gets an error reply and changes nothing.
#pragma once

#include <string>

#include "links/remote_request.h"

namespace vorn::shell {

class CVornMainFrame;

// The reply line (links::FormatReply) to `request`, done in `frame`.
std::string AnswerRemoteRequest(CVornMainFrame* frame, const links::RemoteRequest& request);

}  // namespace vorn::shell
