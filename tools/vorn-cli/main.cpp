// vorn-cli: the engine of the desktop program from a terminal, so that
// searches and passages can be scripted and checked.
//
// Exit status: 0 success, 1 nothing found, 2 bad usage or unreadable data.
#include <cstdio>
#include <cstring>

#include "cli.h"

namespace {

struct Command {
  const char* name;
  int (*run)(const vorn::cli::Args&);
  std::vector<std::string> flags;  // options without a value
  const char* usage;
};

const Command kCommands[] = {
    {"list", vorn::cli::RunList, {}, "vorn-cli list [--data DIR]"},
    {"words",
     vorn::cli::RunWords,
     {},
     "vorn-cli words [--data DIR] --db NAME [--from WORD] [--count N] | "
     "[--line KEYWORD] [--match exact|loose] WORD (the forms it matches, with counts)"},
    {"verse", vorn::cli::RunVerse, {}, "vorn-cli verse [--data DIR] --db NAME BOOK CHAPTER VERSE"},
    {"query",
     vorn::cli::RunQuery,
     {"--count"},
     "vorn-cli query [--data DIR] --db NAME [--work DIR] [--props NAME] [--format refs|tsv|json] "
     "[--match exact|loose] [--count] "
     "QUERY"},
    {"analyse",
     vorn::cli::RunAnalyse,
     {},
     "vorn-cli analyse [--data DIR] --db NAME [--work DIR] [--line LINE] [--part N|NAME] "
     "[--by book|chapter] [--format tsv|json] QUERY (counts per value, in the order of the "
     "desktop's analysis)"},
    {"range", vorn::cli::RunRange, {}, "vorn-cli range [--data DIR] --db NAME RANGES"},
    {"show",
     vorn::cli::RunShow,
     {"--rtl", "--text", "--rtf", "--rtf-text"},
     "vorn-cli show [--data DIR] --db NAME [--work DIR] [--props NAME] "
     "[--layout paragraphs|verses|sentences|propositions] [--lines text,trans,tag,gloss,base,...] "
     "[--width PIXELS] [--rtl] [--text|--rtf|--rtf-text] [--page-width TWIPS] [--out FILE] PASSAGE "
     "(\"JHN 1:1-5\", "
     "\"Gen 1\", ...)"},
    {"hits",
     vorn::cli::RunHits,
     {"--rtl", "--text", "--rtf", "--rtf-text"},
     "vorn-cli hits [--data DIR] --db NAME [--work DIR] [--props NAME] "
     "[--layout refs|hitverses|concordance] [--lines ...] [--width PIXELS] [--rtl] "
     "[--text|--rtf|--rtf-text] [--page-width TWIPS] [--out FILE] QUERY"},
    {"check", vorn::cli::RunCheck, {}, "vorn-cli check [--data DIR] --db NAME"},
    {"describe-tag",
     vorn::cli::RunDescribeTag,
     {},
     "vorn-cli describe-tag [--data DIR] --db NAME TAG (a partial tag, '?' for an open position, "
     "lists the choices per position)"},
    {"usertag",
     vorn::cli::RunUserTag,
     {},
     "vorn-cli usertag [--data DIR] --db NAME [--work DIR] list | show TAG | toggle TAG "
     "WORDS-OR-RANGE "
     "[--current WORD] | create [SET/]NAME"},
    {"props",
     vorn::cli::RunProps,
     {},
     "vorn-cli props [--data DIR] --db NAME [--work DIR] --name NAME "
     "split|join|shift-left|shift-right|show [--level N] WORDS-OR-RANGE | merge OTHER"},
    {"notes",
     vorn::cli::RunNotes,
     {},
     "vorn-cli notes [--data DIR] --db NAME [--work DIR] add WORD TEXT | show WORD | list | "
     "delete WORD (WORD: a word index)"},
    {"remote",
     vorn::cli::RunRemote,
     {},
     "vorn-cli remote [--instance NAME] [--db NAME] goto REF | query TEXT | where | show REF "
     "(asks a running Vorn; see docs/remote.md)"},
};

int Usage() {
  std::fprintf(stderr, "usage:\n");
  for (const Command& c : kCommands) std::fprintf(stderr, "  %s\n", c.usage);
  return vorn::cli::kBadInput;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return Usage();
  for (const Command& c : kCommands) {
    if (std::strcmp(argv[1], c.name) != 0) continue;
    vorn::cli::Args args(argc, argv, 2, c.flags);
    if (!args.ok()) {
      std::fprintf(stderr, "%s\nusage: %s\n", args.error().c_str(), c.usage);
      return vorn::cli::kBadInput;
    }
    return c.run(args);
  }
  return Usage();
}
