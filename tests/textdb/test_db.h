// Small databases for tests: a Greek one (New Testament-like) and a Hebrew
// one (Old Testament-like), made in memory and written with the table
// writer into a temporary folder. The texts are made up from a small
// vocabulary; they are no excerpt of any edition.
#pragma once

#include <memory>
#include <string>

#include "platform/message_sink.h"
#include "temp_folder.h"
#include "textdb/db_stats.h"
#include "textdb/table_writer.h"
#include "textdb/vorn_db.h"

namespace vorn::testing {

// Greek: books MAT, MRK, JHN; lines Form, Tlit, Tag, Glos, Lema, Links.
//  - verses: MAT 1:1-3, 2:1, 2:2a, 2:2b; MRK 1:1, 1:3, 1:2 (1:3 stands
//    before 1:2 in the text), 1:4-6; JHN 1:1, 1:2, 3:16;
//  - Form has the variant "FormByz" (display "Byzantine"): every ἦν reads
//    ἐστιν (a form found nowhere else) and every λέγει reads εἶπεν (also a
//    form of the line);
//  - headings at the first word of each book (MAT: a level 1 with two texts
//    followed by a level 2), formats, sentence starts at every verse that
//    ends a sentence, punctuation, gloss marks over words 2..4, and links
//    of the kinds "Strong" (a link per word, by lemma number) and "Topic"
//    (group titles with links).
DBSource MakeGreekTestSource();

// Hebrew: books GEN, EXO, RUT; lines Form, Tlit, Tag, Glos, Lema; right to
// left; Form has the variant "Qere" (display "Qere"). Verses GEN 1:1-3,
// 2:1; EXO 1:1, 1:2; RUT 1:1, 1:2, 4:22.
DBSource MakeHebrewTestSource();

// Writes a source into a new temporary folder as <temp>/<name>.qyx and
// removes the temporary folder again on destruction.
class TestDatabase {
 public:
  explicit TestDatabase(const DBSource& source);
  TestDatabase(const TestDatabase&) = delete;
  TestDatabase& operator=(const TestDatabase&) = delete;

  // False when writing failed; error() says why.
  bool ok() const { return ok_; }
  const std::string& error() const { return error_; }
  // The database folder, without trailing '/'.
  const std::string& folder() const { return folder_; }
  // The temporary folder that holds the database folder (a data folder for
  // the catalogue).
  const std::string& data_folder() const { return data_folder_.path(); }

 private:
  TempFolder data_folder_{"db"};
  std::string folder_;
  std::string error_;
  bool ok_ = false;
};

// A TestDatabase opened as the program opens it, its messages recorded.
class OpenedTestDatabase {
 public:
  explicit OpenedTestDatabase(const DBSource& source);
  ~OpenedTestDatabase();
  OpenedTestDatabase(const OpenedTestDatabase&) = delete;
  OpenedTestDatabase& operator=(const OpenedTestDatabase&) = delete;

  bool ok() const { return db_ != nullptr; }
  // Why the database is not open; empty when it is.
  const std::string& error() const { return error_; }
  CVornDB* db() const { return db_.get(); }
  platform::CRecordingMessageSink& sink() { return sink_; }
  const std::string& folder() const { return files_.folder(); }
  const std::string& data_folder() const { return files_.data_folder(); }

 private:
  TestDatabase files_;  // removed last, after the database lets go of it
  std::string error_;
  platform::CRecordingMessageSink sink_;
  std::unique_ptr<CVornDBStats> stats_;
  std::unique_ptr<CVornDB> db_;
};

}  // namespace vorn::testing
