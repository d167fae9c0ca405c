// Reading the text: list, words, verse, describe-tag.
#include <cstdio>
#include <cstdlib>

#include "cli.h"
#include "platform/u16.h"
#include "textdb/ordinary_line.h"
#include "textdb/tags_line.h"
#include "textdb/verses.h"

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
  for (int i = 0; i < ctx.dbs().GetCount(); ++i) {
    const CVornDBStats* s = ctx.dbs().GetStats(i);
    if (!s) continue;
    CVornDB* db = ctx.dbs().GetDatabase(i);
    std::printf("%d\t%s\t%s\t%u words\t%s\n", i, platform::ToUtf8(s->GetName()).c_str(),
                platform::ToUtf8(s->GetTitle()).c_str(), db ? db->GetWordCount() : 0,
                s->GetFolder().c_str());
    ++shown;
  }
  if (shown == 0) {
    std::fprintf(stderr, "No databases found\n");
    return kNothingFound;
  }
  return kOk;
}

int RunWords(const Args& args) {
  Context ctx(args);
  CVornDB* db = ctx.OpenDb(args);
  if (!db) return kBadInput;
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
  VerseKey key = CVornDBVerses::MakeKey(book, std::atoi(p[1].c_str()), platform::ToU16(p[2]));
  VerseEntry e = db->GetVerses()->FindVerse(key);
  if (!e) return kNothingFound;
  WordSpan span = db->GetVerses()->GetWordSpan(e);
  for (WordIndex w = span.first; w < span.end; ++w) PrintWord(db, static_cast<uint32_t>(w));
  return kOk;
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
  std::printf("%s\n", platform::ToUtf8(tags->DescribeTag(platform::ToU16(args.positional()[0]))).c_str());
  return kOk;
}

}  // namespace vorn::cli
