// Reading the text: list, words, verse, describe-tag.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "cli.h"
#include "platform/u16.h"
#include "query/query_builders.h"
#include "textdb/db_check.h"
#include "textdb/db_stats.h"
#include "textdb/ordinary_line.h"
#include "textdb/tags_line.h"
#include "textdb/verses.h"
#include "textdb/word_list.h"

namespace vorn::cli {

namespace {
void PrintWord(CVornDB* db, uint32_t w) {
  std::string row = std::to_string(w);
  if (CVornDBVerses* verses = db->GetVerses()) {
    if (VerseEntry e = verses->VerseOfWord(static_cast<WordIndex>(w))) {
      row += "\t" + platform::ToUtf8(db->GetBookCode(e->book)) + " " + std::to_string(e->chapter) +
             ":" + platform::ToUtf8(CVornDBVerses::GetVerseLabel(e));
    }
  }
  for (int i = 0; i < db->GetLineCount(); ++i) {
    auto* line = dynamic_cast<CVornDBOrdinaryLine*>(db->GetLine(i));
    row += "\t";
    if (line) row += platform::ToUtf8(line->GetWordString(static_cast<WordIndex>(w)));
  }
  std::printf("%s\n", row.c_str());
}
}  // namespace

int RunList(const Args& args) {
  Context ctx(args);
  int shown = 0;
  bool all_open = true;
  for (int i = 0; i < ctx.dbs().GetCount(); ++i) {
    const CVornDBStats* s = ctx.dbs().GetStats(i);
    if (!s) continue;
    CVornDB* db = ctx.dbs().GetDatabase(i);
    // A database that does not open is listed as such, not as an empty one.
    const std::string words =
        db ? std::to_string(db->GetWordCount()) + " words" : "cannot be opened";
    if (!db) all_open = false;
    std::printf("%d\t%s\t%s\t%s\t%s\n", i, platform::ToUtf8(s->GetName()).c_str(),
                platform::ToUtf8(s->GetTitle()).c_str(), words.c_str(), s->GetFolder().c_str());
    ++shown;
  }
  if (shown == 0) {
    std::fprintf(stderr, "No databases found\n");
    return kNothingFound;
  }
  return all_open ? kOk : kBadInput;
}

// The forms of one line that a word matches, with how many words carry
// each: those beginning with it (exact), or equal to it ignoring accents,
// points and case (loose); wildcards as in queries.
int RunFormList(const Args& args, CVornDB* db) {
  const std::string match = args.Get("--match", "exact");
  const std::u16string keyword = platform::ToU16(args.Get("--line", "text"));
  CVornDBLine* line = db->FindLineByQueryName(keyword);
  if ((match != "exact" && match != "loose") || !line || args.positional().size() != 1) {
    std::fprintf(stderr,
                 "usage: vorn-cli words --db NAME [--line KEYWORD] [--match exact|loose] WORD\n");
    return kBadInput;
  }
  const std::u16string word = platform::ToU16(args.positional()[0]);
  FormList forms;
  const bool found =
      match == "loose" ? line->MatchFormsLoose(word, &forms) : line->MatchFormsPrefix(word, &forms);
  if (!found) {
    std::fprintf(stderr, "No forms match\n");
    return kNothingFound;
  }
  CDBWordList words;
  for (uint32_t f : forms) {
    line->WordsOfForms({f}, &words);
    std::printf("%s\t%zu\n", platform::ToUtf8(line->GetFormText(f)).c_str(), words.words().size());
  }
  return kOk;
}

int RunWords(const Args& args) {
  Context ctx(args);
  CVornDB* db = ctx.OpenDb(args);
  if (!db) return kBadInput;
  if (!args.positional().empty()) return RunFormList(args, db);
  long from = std::strtol(args.Get("--from", "0").c_str(), nullptr, 10);
  long count = std::strtol(args.Get("--count", "20").c_str(), nullptr, 10);
  uint32_t n = db->GetWordCount();
  if (from < 0 || static_cast<uint32_t>(from) >= n) {
    std::fprintf(stderr, "Word %ld is outside the database (0..%u)\n", from, n ? n - 1 : 0);
    return kNothingFound;
  }
  for (uint32_t w = static_cast<uint32_t>(from); w < n && w < from + count; ++w) PrintWord(db, w);
  return kOk;
}

int RunVerse(const Args& args) {
  Context ctx(args);
  CVornDB* db = ctx.OpenDb(args);
  if (!db) return kBadInput;
  const auto& p = args.positional();
  if (p.size() != 3 || !db->GetVerses()) {
    std::fprintf(stderr, "usage: vorn-cli verse --db NAME BOOK CHAPTER VERSE\n");
    return kBadInput;
  }
  int book = db->GetBookNumber(platform::ToU16(p[0]));
  if (book == 0) {
    std::fprintf(stderr, "No book \"%s\" in %s\n", p[0].c_str(), args.Get("--db").c_str());
    return kNothingFound;
  }
  // The chapter and verse must name a verse of this text; the nearest verse
  // is what a reader moving about wants, not an answer to "show me 22:1".
  const std::u16string label = platform::ToU16(p[2]);
  char* end = nullptr;
  errno = 0;
  const long long chapter = std::strtoll(p[1].c_str(), &end, 10);
  VerseKey key;
  VerseEntry e = nullptr;
  if (errno == 0 && end != p[1].c_str() && *end == '\0' &&
      CVornDBVerses::MakeCheckedKey(book, chapter, label, &key))
    e = db->GetVerses()->FindExactVerse(key);
  if (!e) {
    std::fprintf(stderr, "%s %s:%s is not in this text\n", p[0].c_str(), p[1].c_str(),
                 p[2].c_str());
    return kNothingFound;
  }
  WordSpan span = db->GetVerses()->GetWordSpan(e);
  for (WordIndex w = span.first; w < span.end; ++w) PrintWord(db, static_cast<uint32_t>(w));
  return kOk;
}

int RunCheck(const Args& args) {
  Context ctx(args);
  const std::string name = args.Get("--db");
  if (name.empty() || !args.positional().empty()) {
    std::fprintf(stderr, "usage: vorn-cli check --db NAME\n");
    return kBadInput;
  }
  // The check reads the folder itself: a database that no longer opens is
  // exactly the one whose faults are wanted.
  const int index = ctx.dbs().FindByName(platform::ToU16(name));
  const CVornDBStats* stats = index >= 0 ? ctx.dbs().GetStats(index) : nullptr;
  if (!stats) {
    std::fprintf(stderr, "No database named \"%s\" in the data folders\n", name.c_str());
    return kBadInput;
  }
  std::vector<std::string> problems;
  if (CheckDatabase(*stats, &problems)) {
    std::printf("%s: no faults found\n", stats->GetFolder().c_str());
    return kOk;
  }
  for (const std::string& p : problems) std::printf("%s\n", p.c_str());
  std::fprintf(stderr, "%s: %zu faults\n", name.c_str(), problems.size());
  return kBadInput;
}

int RunDescribeTag(const Args& args) {
  Context ctx(args);
  CVornDB* db = ctx.OpenDb(args);
  if (!db) return kBadInput;
  if (args.positional().size() != 1) {
    std::fprintf(stderr, "usage: vorn-cli describe-tag --db NAME TAG\n");
    return kBadInput;
  }
  int index = db->GetTagLineIndex();
  if (index < 0) {
    std::fprintf(stderr, "%s has no grammar-tag line\n", args.Get("--db").c_str());
    return kNothingFound;
  }
  auto* tags = static_cast<CVornDBTagsLine*>(db->GetLine(index));
  const std::u16string tag = platform::ToU16(args.positional()[0]);
  FormList exact;
  if (tags->MatchForms(tag, &exact) && exact.size() == 1 && tags->GetFormText(exact[0]) == tag) {
    std::printf("%s\n", platform::ToUtf8(tags->DescribeTag(tag)).c_str());
    return kOk;
  }
  // A partial tag: '?' (or a missing end) leaves a position open. Its
  // meaning so far, then what each position may hold after the choices
  // before it, the chosen code marked.
  CTagBuilder builder(*tags);
  for (size_t i = 0; i < tag.size(); ++i)
    if (tag[i] != u'?' && tag[i] != u'*') builder.Choose(static_cast<int>(i), tag[i]);
  const std::u16string pattern = builder.GetPattern();
  const size_t forms = builder.CountForms();
  std::printf("%s\t%s\t%zu tags\n", platform::ToUtf8(pattern).c_str(),
              platform::ToUtf8(builder.Describe()).c_str(), forms);
  if (forms == 0) {
    std::fprintf(stderr, "No tag of %s matches %s\n", args.Get("--db").c_str(),
                 args.positional()[0].c_str());
    return kNothingFound;
  }
  for (int p = 0; p < builder.GetPositionCount(); ++p) {
    std::printf("position %d:\n", p + 1);
    for (const CTagBuilder::Choice& c : builder.GetChoices(p)) {
      const char* mark = builder.GetChosen(p) == c.code ? "*" : " ";
      std::printf(" %s%s\t%s\n", mark, platform::ToUtf8(std::u16string(1, c.code)).c_str(),
                  platform::ToUtf8(c.description).c_str());
    }
  }
  return kOk;
}

}  // namespace vorn::cli
