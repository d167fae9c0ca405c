#include "markup/markup_test_util.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "markup/user_folder.h"
#include "platform/file_system.h"
#include "platform/u16.h"

namespace vorn::testing {

DBSource MakeMarkupSource(uint32_t word_count, const std::vector<uint32_t>& sentence_starts) {
  DBSource s;
  s.name = u"MKP";
  s.title = u"Markup test";
  s.books = {"MAT", "MRK"};
  DBLine text;
  text.name = "Text";
  text.query_prompt = u"text";
  const uint32_t half = word_count / 2;
  for (int book = 1; book <= 2; ++book) {
    uint32_t first = book == 1 ? 0 : half;
    uint32_t end = book == 1 ? half : word_count;
    for (uint32_t w = first, v = 0; w < end; w += 5, ++v) {
      s.verses.push_back(
          {w, book, static_cast<int>(v / 4) + 1, platform::ToU16(std::to_string(v % 4 + 1))});
    }
  }
  for (uint32_t w = 0; w < word_count; ++w)
    text.words.push_back(platform::ToU16("w" + std::to_string(w)));
  s.lines = {text};
  s.headings.push_back({0, {{1, {u"Start"}}}});
  s.sentence_starts = sentence_starts;
  return s;
}

std::string MarkupDatabase::user_folder() const {
  return UserFolder(work(), db() ? db()->GetName() : u"");
}

std::string ReadFileOrEmpty(const std::string& path) {
  std::string bytes;
  if (!platform::ReadWholeFile(path, &bytes)) return {};
  return bytes;
}

void WriteFileOrDie(const std::string& path, const std::string& bytes) {
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  std::ofstream out(path, std::ios::binary);
  out << bytes;
  ASSERT_TRUE(out.good()) << path;
}

std::string U32s(std::initializer_list<uint32_t> values) {
  std::string out;
  for (uint32_t v : values) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
  }
  return out;
}

}  // namespace vorn::testing
