#include "source_text.h"

#include <unicode/utf8.h>

#include <algorithm>

#include "platform/file_system.h"
#include "source_files.h"

namespace vorn::build {

CLineIndex::CLineIndex(std::string_view text) {
  starts_.push_back(0);
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n') starts_.push_back(i + 1);
  }
}

int CLineIndex::LineOf(size_t offset) const {
  const auto it = std::upper_bound(starts_.begin(), starts_.end(), offset);
  return static_cast<int>(it - starts_.begin());
}

std::vector<std::string_view> SplitFields(std::string_view text, char separator) {
  std::vector<std::string_view> out;
  while (true) {
    const size_t at = text.find(separator);
    out.push_back(text.substr(0, at));
    if (at == std::string_view::npos) break;
    text.remove_prefix(at + 1);
  }
  return out;
}

std::vector<std::string_view> SplitLines(std::string_view text) {
  std::vector<std::string_view> out = SplitFields(text, '\n');
  if (!out.empty() && out.back().empty()) out.pop_back();
  for (std::string_view& line : out) {
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  }
  return out;
}

bool ParseCsvLine(std::string_view line, std::vector<std::string>* fields) {
  fields->clear();
  std::string current;
  bool quoted = false;
  bool in_quotes = false;
  for (size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (in_quotes) {
      if (c == '"') {
        if (i + 1 < line.size() && line[i + 1] == '"') {
          current += '"';
          ++i;
        } else {
          in_quotes = false;
        }
      } else {
        current += c;
      }
    } else if (c == '"' && current.empty() && !quoted) {
      in_quotes = quoted = true;
    } else if (c == ',') {
      fields->push_back(std::move(current));
      current.clear();
      quoted = false;
    } else {
      current += c;
    }
  }
  if (in_quotes) return false;
  fields->push_back(std::move(current));
  return true;
}

size_t FindInvalidUtf8(std::string_view text) {
  const auto* s = reinterpret_cast<const uint8_t*>(text.data());
  const int32_t n = static_cast<int32_t>(text.size());
  // Corpus files are far below 2 GiB; a larger one is refused as a whole.
  if (text.size() > static_cast<size_t>(INT32_MAX)) return 0;
  int32_t i = 0;
  while (i < n) {
    const int32_t at = i;
    UChar32 c;
    U8_NEXT(s, i, n, c);
    if (c < 0) return static_cast<size_t>(at);
  }
  return std::string_view::npos;
}

bool CheckUtf8(std::string_view text, std::string_view origin, std::string* error) {
  const size_t bad = FindInvalidUtf8(text);
  if (bad == std::string_view::npos) return true;
  *error =
      std::string(origin) + ":" + std::to_string(CLineIndex(text).LineOf(bad)) + ": invalid UTF-8";
  return false;
}

bool ReadCorpusFile(const std::string& path, std::string* bytes, std::string* error) {
  return ReadSourceFile(path, bytes, error) && CheckUtf8(*bytes, path, error);
}

bool ParseNumber(std::string_view text, int* value) {
  if (text.empty() || text.size() > 9) return false;
  int v = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    v = v * 10 + (c - '0');
  }
  *value = v;
  return true;
}

}  // namespace vorn::build
