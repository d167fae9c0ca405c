// A small database for the markup tests, opened from a temporary folder
// that also serves as the working folder holding the user folder.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/message_sink.h"
#include "textdb/db_stats.h"
#include "textdb/table_writer.h"
#include "textdb/test_db.h"
#include "textdb/vorn_db.h"

namespace vorn::testing {

// `word_count` words w0, w1, ... on a line "Text" (query name "text"); books
// MAT and MRK, each half of the words, verses of five words (the last verse
// of a book may be shorter), chapters of four verses; sentences start at
// `sentence_starts`.
DBSource MakeMarkupSource(uint32_t word_count, const std::vector<uint32_t>& sentence_starts);

// The temporary folder is also the working folder holding the user folder.
class MarkupDatabase : public OpenedTestDatabase {
 public:
  using OpenedTestDatabase::OpenedTestDatabase;
  const std::string& work() const { return data_folder(); }
  const std::string& db_folder() const { return folder(); }
  // "<work>/<name>".
  std::string user_folder() const;
};

std::string ReadFileOrEmpty(const std::string& path);
void WriteFileOrDie(const std::string& path, const std::string& bytes);
// Little-endian bytes of 32-bit values.
std::string U32s(std::initializer_list<uint32_t> values);

}  // namespace vorn::testing
