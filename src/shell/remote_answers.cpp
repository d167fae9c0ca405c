#include "shell/remote_answers.h"

#include <QMdiArea>
#include <QMdiSubWindow>

#include "platform/message_sink.h"
#include "platform/u16.h"
#include "querystate/query_thing.h"
#include "querystate/query_tool.h"
#include "refs/bible_ref.h"
#include "shell/child_frame.h"
#include "shell/main_frame.h"
#include "shell/rich_query_box.h"
#include "shell/vorn_view.h"
#include "textdb/catalogue.h"
#include "textdb/db_stats.h"
#include "textdb/ordinary_line.h"
#include "textdb/verses.h"
#include "textdb/vorn_db.h"

namespace vorn::shell {

namespace {

using links::FormatReply;
using links::RemoteVerb;

bool SameName(const std::u16string& a, const std::u16string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    auto lower = [](char16_t c) { return c >= u'A' && c <= u'Z' ? char16_t(c - u'A' + u'a') : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

// The window a request acts on: the active one, or the first on the named
// database (by name or title, any case), opened when none shows it. Null,
// with the reason in `*error`, when there is none.
CVornChildFrame* TargetWindow(CVornMainFrame* frame, const std::string& database, bool open,
                              std::string* error) {
  if (database.empty()) {
    CVornChildFrame* w = frame->ActiveWindow();
    if (!w) *error = "no window is open";
    return w;
  }
  const std::u16string name = platform::ToU16(database);
  for (CVornChildFrame* w : frame->Windows()) {
    if (SameName(w->GetDatabase()->GetName(), name) || SameName(w->GetDatabase()->GetTitle(), name))
      return w;
  }
  CVornDBs& dbs = frame->GetCatalogue();
  int entry = -1;
  for (int i = 0; i < dbs.GetCount() && entry < 0; ++i) {
    if (const CVornDBStats* stats = dbs.GetStats(i); stats && SameName(stats->GetName(), name))
      entry = i;
  }
  if (entry < 0) entry = dbs.FindByTitle(name);
  CVornChildFrame* w = entry >= 0 && open ? frame->OpenEntry(entry) : nullptr;
  if (!w) *error = "no database " + database;
  return w;
}

std::string Where(CVornChildFrame* w) {
  const CBibleRef ref(w->GetDatabase(), w->GetFocusWord());
  return platform::ToUtf8(w->GetDatabase()->GetName()) + " " + platform::ToUtf8(ref.GetKeyString());
}

// `text` read as a reference and carried into `w`'s database; false, with the
// reason in `*error`, when it is not a reference or the database lacks it.
bool ReferenceIn(CVornChildFrame* w, const std::string& text, CBibleRef* out, std::string* error) {
  CBibleRef ref;
  if (!CBibleRef::Parse(platform::ToU16(text), &ref)) {
    *error = "not a reference: " + text;
    return false;
  }
  // The verse asked for, not the nearest one the database has.
  const CBibleRef mapped(ref, w->GetDatabase());
  if (!mapped.HasEntry() || !CBibleRef::IsInText(w->GetDatabase(), mapped.GetBookNumber(),
                                                 platform::ToU16(std::to_string(ref.GetChapter())),
                                                 ref.GetVerseLabel())) {
    *error = text + " is not in " + platform::ToUtf8(w->GetDatabase()->GetName());
    return false;
  }
  *out = mapped;
  return true;
}

// Keeps the messages it is given, without asking anything.
class CCollectingSink : public platform::CMessageSink {
 public:
  void ShowInformation(const std::u16string& message) override { Keep(message); }
  void ShowWarning(const std::u16string& message) override { Keep(message); }
  platform::MsgAnswer Ask(const std::u16string& message, platform::MsgButtons) override {
    Keep(message);
    return platform::MsgAnswer::kCancel;
  }
  bool CanAsk() const override { return false; }
  std::string text;

 private:
  void Keep(const std::u16string& message) {
    if (!text.empty()) text += "; ";
    text += platform::ToUtf8(message);
  }
};

void Activate(CVornMainFrame* frame, CVornChildFrame* w) {
  if (auto* sub = qobject_cast<QMdiSubWindow*>(w->parentWidget()))
    frame->GetMdiArea()->setActiveSubWindow(sub);
}

std::string VerseText(const CBibleRef& ref) {
  CVornDB* db = ref.GetDatabase();
  auto* line =
      db->GetLineCount() > 0 ? dynamic_cast<CVornDBOrdinaryLine*>(db->GetLine(0)) : nullptr;
  if (!line) return {};
  std::u16string text;
  const WordSpan span = ref.GetWordSpan();
  for (WordIndex word = span.first; word < span.end; ++word) {
    if (!text.empty()) text += u' ';
    text += line->GetWordString(word);
  }
  return platform::ToUtf8(text);
}

}  // namespace

std::string AnswerRemoteRequest(CVornMainFrame* frame, const links::RemoteRequest& request) {
  std::string error;
  // A request that fails changes nothing: a reference that is none is
  // refused before a window is opened for it.
  if (request.verb == RemoteVerb::kShow || request.verb == RemoteVerb::kGoto) {
    CBibleRef parsed;
    if (!CBibleRef::Parse(platform::ToU16(request.argument), &parsed))
      return FormatReply(false, "not a reference: " + request.argument);
  }
  CVornChildFrame* w =
      TargetWindow(frame, request.database, request.verb != RemoteVerb::kWhere, &error);
  if (!w) return FormatReply(false, error);
  switch (request.verb) {
    case RemoteVerb::kWhere:
      return FormatReply(true, Where(w));
    case RemoteVerb::kShow: {
      CBibleRef ref;
      if (!ReferenceIn(w, request.argument, &ref, &error)) return FormatReply(false, error);
      return FormatReply(true, VerseText(ref));
    }
    case RemoteVerb::kGoto: {
      CBibleRef ref;
      if (!ReferenceIn(w, request.argument, &ref, &error)) return FormatReply(false, error);
      Activate(frame, w);
      w->GoTo(ref);
      w->GetActivePane()->setFocus(Qt::OtherFocusReason);
      if (frame->isMinimized()) frame->showNormal();
      frame->raise();
      frame->activateWindow();
      return FormatReply(true, Where(w));
    }
    case RemoteVerb::kQuery: {
      Activate(frame, w);
      frame->GetQueryBox()->setPlainText(QString::fromStdString(request.argument));
      // The query's messages (an error, "No matches") belong in the reply:
      // a message box would keep the caller waiting for someone to close it.
      CCollectingSink collected;
      CQueryTool& tool = frame->GetQueryTool();
      platform::CMessageSink* before = tool.SetMessageSink(&collected);
      const bool ran = frame->RunQueryFromBox();
      tool.SetMessageSink(before);
      if (!ran)
        return FormatReply(false,
                           collected.text.empty() ? "the query did not run" : collected.text);
      return FormatReply(true, std::to_string(w->GetQueryThing().GetHitCount()));
    }
  }
  return FormatReply(false, "unknown request");
}

}  // namespace vorn::shell
