#include "interlinear.h"

#include <map>
#include <set>
#include <tuple>

#include "platform/u16.h"

namespace vorn::build {

std::vector<int> InterlinearText::ValueLines() const {
  std::vector<int> out;
  for (size_t i = 0; i < description.lines.size(); ++i) {
    if (description.lines[i].name != "Links") out.push_back(static_cast<int>(i));
  }
  return out;
}

int InterlinearText::ValueIndex(std::string_view name) const {
  int index = 0;
  for (const DBLine& line : description.lines) {
    if (line.name == "Links") continue;
    if (line.name == name) return index;
    ++index;
  }
  return -1;
}

int InterlinearText::VariantIndex(std::string_view line, std::string_view name) const {
  for (size_t i = 0; i < variants.size(); ++i) {
    const InterlinearVariant& v = variants[i];
    if (v.name == name && description.lines[v.line].name == line) return static_cast<int>(i);
  }
  return -1;
}

std::string ReferenceOf(const InterlinearWord& word) {
  return word.book + " " + std::to_string(word.chapter) + ":" + platform::ToUtf8(word.verse);
}

namespace {

bool Fail(std::string* error, size_t row, const InterlinearWord& word, const std::string& what) {
  *error = "word " + std::to_string(row + 1) + " (" + ReferenceOf(word) + "): " + what;
  return false;
}

}  // namespace

bool MakeDatabaseSource(const InterlinearText& text, DBSource* source, std::string* error) {
  *source = text.description;
  DBSource& s = *source;
  s.books.clear();
  s.verses.clear();
  s.headings.clear();
  s.formats.clear();
  s.sentence_starts.clear();
  s.punctuation.clear();
  s.gloss_marks.clear();
  s.links.words.clear();

  const std::vector<int> value_lines = text.ValueLines();
  for (int li : value_lines) {
    s.lines[li].words.clear();
    s.lines[li].words.reserve(text.words.size());
    s.lines[li].variants.clear();
  }
  // Variants keep their order within each line.
  std::vector<DBVariant*> variant_of(text.variants.size());
  for (size_t v = 0; v < text.variants.size(); ++v) {
    const InterlinearVariant& wanted = text.variants[v];
    if (wanted.line < 0 || wanted.line >= static_cast<int>(s.lines.size()) ||
        s.lines[wanted.line].name == "Links") {
      *error = "text variant \"" + wanted.name + "\" belongs to no value line";
      return false;
    }
    DBLine& line = s.lines[wanted.line];
    line.variants.push_back({wanted.name, wanted.display, {}});
  }
  for (size_t v = 0; v < text.variants.size(); ++v) {
    DBLine& line = s.lines[text.variants[v].line];
    for (DBVariant& dv : line.variants) {
      if (dv.name == text.variants[v].name) variant_of[v] = &dv;
    }
  }
  std::map<std::string, int> kind_index;
  for (size_t k = 0; k < s.links.kinds.size(); ++k)
    kind_index[s.links.kinds[k].name] = static_cast<int>(k);

  std::set<std::string> finished_books;
  std::set<std::tuple<int, std::u16string>> verses_of_book;
  const InterlinearWord* previous = nullptr;
  for (size_t row = 0; row < text.words.size(); ++row) {
    const InterlinearWord& w = text.words[row];
    const uint32_t index = static_cast<uint32_t>(row);
    if (w.values.size() != value_lines.size())
      return Fail(error, row, w,
                  "has " + std::to_string(w.values.size()) + " values where the text has " +
                      std::to_string(value_lines.size()) + " lines");
    if (w.variants.size() > text.variants.size())
      return Fail(error, row, w, "has more variant values than the text declares");
    const bool new_book = previous == nullptr || previous->book != w.book;
    if (new_book) {
      if (w.book.empty()) return Fail(error, row, w, "has no book");
      if (finished_books.count(w.book))
        return Fail(error, row, w, "book " + w.book + " starts again after another book");
      if (previous) finished_books.insert(previous->book);
      s.books.push_back(w.book);
      verses_of_book.clear();
    }
    if (new_book || previous->chapter != w.chapter || previous->verse != w.verse) {
      if (!verses_of_book.insert({w.chapter, w.verse}).second)
        return Fail(error, row, w, "verse appears twice in its book");
      s.verses.push_back({index, static_cast<int>(s.books.size()), w.chapter, w.verse});
    }
    for (size_t i = 0; i < value_lines.size(); ++i)
      s.lines[value_lines[i]].words.push_back(w.values[i]);
    for (size_t v = 0; v < w.variants.size(); ++v) {
      const std::u16string& alt = w.variants[v];
      if (alt.empty()) continue;
      const int line = text.variants[v].line;
      int value_index = -1;
      for (size_t i = 0; i < value_lines.size(); ++i) {
        if (value_lines[i] == line) value_index = static_cast<int>(i);
      }
      if (alt != w.values[value_index]) variant_of[v]->changes.emplace_back(index, alt);
    }
    if (!w.before.empty() || !w.after.empty())
      s.punctuation.push_back({index, -1, w.before, w.after});
    if (w.sentence_start || row == 0) s.sentence_starts.push_back(index);
    if (!w.format.empty()) s.formats.push_back({index, w.format});
    if (!w.headings.empty()) s.headings.push_back({index, w.headings});
    if (!w.links.empty()) {
      DBWordLinks links;
      links.word = index;
      for (const InterlinearLink& l : w.links) {
        const auto it = kind_index.find(l.kind);
        if (it == kind_index.end())
          return Fail(error, row, w, "has a link of undeclared kind \"" + l.kind + "\"");
        links.entries.push_back({it->second, false, l.text, {}});
      }
      s.links.words.push_back(std::move(links));
    }
    previous = &w;
  }
  if (text.words.empty()) {
    *error = "the text has no words";
    return false;
  }
  return true;
}

}  // namespace vorn::build
