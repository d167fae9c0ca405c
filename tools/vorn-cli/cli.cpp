#include "cli.h"

#include <cstdio>

namespace vorn::cli {

Args::Args(int argc, char** argv, int first, const std::vector<std::string>& flags) {
  for (int i = first; i < argc; ++i) {
    std::string a = argv[i];
    if (a.size() > 2 && a.compare(0, 2, "--") == 0) {
      bool is_flag = false;
      for (const std::string& f : flags) is_flag |= f == a;
      if (is_flag) {
        options_.emplace(a, "");
      } else if (i + 1 < argc) {
        options_.emplace(a, argv[++i]);
      } else {
        error_ = "option " + a + " needs a value";
      }
    } else {
      positional_.push_back(a);
    }
  }
}

std::string Args::Get(const std::string& name, const std::string& fallback) const {
  auto range = options_.equal_range(name);
  if (range.first == range.second) return fallback;
  return std::prev(range.second)->second;
}

std::vector<std::string> Args::GetAll(const std::string& name) const {
  std::vector<std::string> out;
  auto range = options_.equal_range(name);
  for (auto it = range.first; it != range.second; ++it) out.push_back(it->second);
  return out;
}

bool Args::Has(const std::string& name) const { return options_.count(name) > 0; }

Context::Context(const Args& args) {
  std::vector<std::string> folders = args.GetAll("--data");
  if (folders.empty()) folders = DefaultDataFolders(VORN_DEFAULT_DATA_DIR);
  dbs_ = std::make_unique<CVornDBs>(folders, &sink_, nullptr);
}

CVornDB* Context::OpenDb(const Args& args) {
  std::string name = args.Get("--db");
  if (name.empty()) {
    std::fprintf(stderr, "--db NAME is required\n");
    return nullptr;
  }
  int index = dbs_->FindByName(platform::ToU16(name));
  if (index < 0) {
    std::fprintf(stderr, "No database named \"%s\" in the data folders\n", name.c_str());
    return nullptr;
  }
  return dbs_->GetDatabase(index);
}

}  // namespace vorn::cli
