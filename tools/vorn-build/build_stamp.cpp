#include "build_stamp.h"

#include <cinttypes>
#include <cstdio>

#include "platform/file_system.h"
#include "source_text.h"

namespace vorn::build {

namespace {

constexpr char kHeader[] = "# vorn-build: what this database was compiled from";

bool ParseHex(std::string_view text, uint64_t* value) {
  if (text.empty() || text.size() > 16) return false;
  uint64_t v = 0;
  for (char c : text) {
    int d;
    if (c >= '0' && c <= '9') {
      d = c - '0';
    } else if (c >= 'a' && c <= 'f') {
      d = c - 'a' + 10;
    } else {
      return false;
    }
    v = v << 4 | static_cast<uint64_t>(d);
  }
  *value = v;
  return true;
}

bool ParseDecimal(std::string_view text, uint64_t* value) {
  if (text.empty() || text.size() > 19) return false;
  uint64_t v = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    v = v * 10 + static_cast<uint64_t>(c - '0');
  }
  *value = v;
  return true;
}

}  // namespace

std::string FormatStamp(const BuildStamp& stamp) {
  std::string out = std::string(kHeader) + "\n";
  out += "compiler " + stamp.compiler + "\n";
  out += "roots " + stamp.roots + "\n";
  for (const SourceInput& in : stamp.inputs) {
    char head[64];
    std::snprintf(head, sizeof head, "file %016" PRIx64 " %" PRIu64 " ", in.hash, in.size);
    out += head + in.path + "\n";
  }
  return out;
}

bool ParseStamp(std::string_view text, BuildStamp* stamp) {
  *stamp = BuildStamp();
  const std::vector<std::string_view> lines = SplitLines(text);
  if (lines.size() < 3 || lines[0] != kHeader) return false;
  if (lines[1].substr(0, 9) != "compiler " || lines[2].substr(0, 6) != "roots ") return false;
  stamp->compiler = std::string(lines[1].substr(9));
  stamp->roots = std::string(lines[2].substr(6));
  for (size_t i = 3; i < lines.size(); ++i) {
    // "file HASH SIZE PATH"; the path may hold spaces.
    std::string_view line = lines[i];
    if (line.substr(0, 5) != "file ") return false;
    line.remove_prefix(5);
    const size_t a = line.find(' ');
    if (a == std::string_view::npos) return false;
    const size_t b = line.find(' ', a + 1);
    if (b == std::string_view::npos || b + 1 >= line.size()) return false;
    SourceInput in;
    if (!ParseHex(line.substr(0, a), &in.hash) ||
        !ParseDecimal(line.substr(a + 1, b - a - 1), &in.size))
      return false;
    in.path = std::string(line.substr(b + 1));
    stamp->inputs.push_back(std::move(in));
  }
  return true;
}

std::string WhyRecompile(const std::string& folder, const std::string& compiler,
                         const std::string& roots) {
  if (!platform::FileExists(platform::JoinPath(folder, "Stats.txt"))) return "not compiled yet";
  std::string text;
  BuildStamp stamp;
  if (!platform::ReadWholeFile(platform::JoinPath(folder, kStampFile), &text) ||
      !ParseStamp(text, &stamp))
    return "no record of what it was compiled from";
  if (stamp.compiler != compiler) return "the compiler changed";
  if (stamp.roots != roots) return "its sources are in other folders now (" + roots + ")";
  if (stamp.inputs.empty()) return "its record names no sources";
  for (const SourceInput& in : stamp.inputs) {
    std::string bytes, error;
    if (!ReadSourceFile(in.path, &bytes, &error)) return in.path + " can no longer be read";
    if (bytes.size() != in.size || HashBytes(bytes) != in.hash) return in.path + " changed";
  }
  return {};
}

}  // namespace vorn::build
