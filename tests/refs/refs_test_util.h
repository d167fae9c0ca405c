// Small databases for the reference tests, written with the table writer
// into one temporary data folder so that they share its verse maps.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "platform/file_system.h"
#include "platform/message_sink.h"
#include "platform/u16.h"
#include "refs/verse_map.h"
#include "temp_folder.h"
#include "textdb/db_stats.h"
#include "textdb/table_writer.h"
#include "textdb/textdb_test_util.h"
#include "textdb/vorn_db.h"

namespace vorn::testing {

// One verse: book number (1-based in the database's list), chapter, label
// and how many words it has. Verses are given in text order.
struct VerseSpec {
  int book;
  int chapter;
  std::u16string label;
  int words;
};

class RefsTestData {
 public:
  RefsTestData() : root_(temp_.path()) {}
  ~RefsTestData() {
    // The databases close before their folder goes.
    dbs_.clear();
    stats_.clear();
  }

  // Writes and opens a database; null (after a test failure) when that fails.
  CVornDB* Add(const std::string& name, const std::vector<std::string>& books,
               const std::vector<VerseSpec>& verses, const std::u16string& versification = u"") {
    DBSource s;
    s.name = platform::ToU16(name);
    s.title = s.name;
    s.books = books;
    s.versification = versification;
    DBLine line;
    line.name = "Text";
    uint32_t word = 0;
    for (const VerseSpec& v : verses) {
      s.verses.push_back({word, v.book, v.chapter, v.label});
      for (int i = 0; i < v.words; ++i)
        line.words.push_back(u"w" + platform::ToU16(std::to_string(word + i)));
      word += static_cast<uint32_t>(v.words);
    }
    s.lines.push_back(std::move(line));
    std::string folder = platform::JoinPath(root_, name + ".qyx");
    std::string error;
    CDBWriter writer(s);
    EXPECT_TRUE(writer.Write(folder, &error)) << error;
    auto stats = std::make_unique<CVornDBStats>(folder);
    EXPECT_TRUE(stats->Load());
    auto db = stats->OpenDatabase(&sink_, nullptr);
    EXPECT_NE(db, nullptr);
    stats_.push_back(std::move(stats));
    dbs_.push_back(std::move(db));
    return dbs_.back().get();
  }

  void WriteMap(const std::string& scheme, const std::string& text) {
    std::string folder = platform::JoinPath(root_, "VerseMaps");
    ASSERT_TRUE(platform::CreateFolder(folder));
    WriteText(platform::JoinPath(folder, scheme + ".vrs"), text);
  }

  const std::string& root() const { return root_; }
  platform::CRecordingMessageSink& sink() { return sink_; }

 private:
  TempFolder temp_{"refs"};
  std::string root_;
  platform::CRecordingMessageSink sink_;
  std::vector<std::unique_ptr<CVornDBStats>> stats_;
  std::vector<std::unique_ptr<CVornDB>> dbs_;
};

}  // namespace vorn::testing
