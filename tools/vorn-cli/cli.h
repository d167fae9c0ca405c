// The pieces shared by the subcommands of vorn-cli.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/message_sink.h"
#include "platform/u16.h"
#include "textdb/catalogue.h"
#include "textdb/ini_file.h"

namespace vorn {
class CMarkupContext;
class CPropositionsList;
class CQueryContext;
class CTagsDB;
}  // namespace vorn

namespace vorn::cli {

// Exit statuses every subcommand uses.
inline constexpr int kOk = 0;
inline constexpr int kNothingFound = 1;
inline constexpr int kBadInput = 2;

// The command line after the subcommand name: options with values
// ("--db GNT"), flags ("--count") and positional arguments, in order.
class Args {
 public:
  // `flags` names the options that take no value.
  Args(int argc, char** argv, int first, const std::vector<std::string>& flags);
  bool ok() const { return error_.empty(); }
  const std::string& error() const { return error_; }
  // The last value of `name` ("--db"), or `fallback`.
  std::string Get(const std::string& name, const std::string& fallback = {}) const;
  std::vector<std::string> GetAll(const std::string& name) const;
  bool Has(const std::string& name) const;
  const std::vector<std::string>& positional() const { return positional_; }

 private:
  std::multimap<std::string, std::string> options_;
  std::vector<std::string> positional_;
  std::string error_;
};

// What every subcommand gets: the catalogue over the data folders (--data
// DIR, repeatable; the default folders otherwise), messages to stderr.
class Context {
 public:
  explicit Context(const Args& args);
  CVornDBs& dbs() { return *dbs_; }
  platform::CMessageSink& sink() { return sink_; }
  // The database named by --db, opened; null after a message on stderr.
  CVornDB* OpenDb(const Args& args);

 private:
  platform::CStderrMessageSink sink_;
  std::unique_ptr<CVornDBs> dbs_;
};

// The subcommands; each lives in its own file and is listed in main.cpp.
int RunList(const Args& args);
int RunWords(const Args& args);
int RunVerse(const Args& args);
int RunDescribeTag(const Args& args);
// Reads every table of the database through and prints each fault found;
// exit 2 (unreadable data) when there is any.
int RunCheck(const Args& args);
int RunUserTag(const Args& args);
int RunProps(const Args& args);
// Notes on words: add WORD TEXT, show WORD, list, delete WORD (WORD a word index).
int RunNotes(const Args& args);
int RunQuery(const Args& args);
int RunRange(const Args& args);
int RunShow(const Args& args);
int RunHits(const Args& args);
// Counts the hits of a query per value of a line's part, or per book or
// chapter, as the desktop's hit analysis does.
int RunAnalyse(const Args& args);
int RunRemote(const Args& args);

// The user markup of one database as queries from the command line see it:
// every user tag found in the user folder (--work DIR, the current folder by
// default) and the database folder is displayed, and the proposition
// analysis named by --props, when given, is loaded. `db` and `sink` are
// borrowed and must outlive the session.
class MarkupSession {
 public:
  MarkupSession(const Args& args, CVornDB* db, platform::CMessageSink* sink);
  ~MarkupSession();
  // False when the analysis named by --props could not be read (a message
  // has been shown); the session then has a fresh analysis.
  bool ok() const { return ok_; }
  CQueryContext* context();
  // The session's displayed tags and analysis, for laying out text.
  CMarkupContext* markup() { return context_.get(); }

 private:
  std::unique_ptr<CPropositionsList> props_;
  std::unique_ptr<CMarkupContext> context_;
  bool ok_;
};

}  // namespace vorn::cli
