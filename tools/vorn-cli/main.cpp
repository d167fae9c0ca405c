// vorn-cli: the database engine from a terminal.
//
//   vorn-cli list [--data DIR]
//   vorn-cli words [--data DIR] --db NAME [--from WORD] [--count N]
//   vorn-cli verse [--data DIR] --db NAME BOOK CHAPTER VERSE
//   vorn-cli describe-tag [--data DIR] --db NAME TAG
//
// Exit status: 0 success, 1 nothing found, 2 bad usage or unreadable data.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "platform/message_sink.h"
#include "platform/u16.h"
#include "textdb/catalogue.h"
#include "textdb/ordinary_line.h"
#include "textdb/tags_line.h"
#include "textdb/verses.h"

using namespace vorn;

namespace {

struct Options {
  std::string command;
  std::vector<std::string> data;
  std::string db;
  long from = 0;
  long count = 20;
  std::vector<std::string> args;
};

int Usage() {
  std::fprintf(stderr,
               "usage: vorn-cli list [--data DIR]\n"
               "       vorn-cli words [--data DIR] --db NAME [--from WORD] [--count N]\n"
               "       vorn-cli verse [--data DIR] --db NAME BOOK CHAPTER VERSE\n"
               "       vorn-cli describe-tag [--data DIR] --db NAME TAG\n");
  return 2;
}

bool Parse(int argc, char** argv, Options* o) {
  if (argc < 2) return false;
  o->command = argv[1];
  for (int i = 2; i < argc; ++i) {
    std::string a = argv[i];
    auto value = [&](std::string* out) {
      if (i + 1 >= argc) return false;
      *out = argv[++i];
      return true;
    };
    std::string v;
    if (a == "--data") {
      if (!value(&v)) return false;
      o->data.push_back(v);
    } else if (a == "--db") {
      if (!value(&o->db)) return false;
    } else if (a == "--from") {
      if (!value(&v)) return false;
      o->from = std::strtol(v.c_str(), nullptr, 10);
    } else if (a == "--count") {
      if (!value(&v)) return false;
      o->count = std::strtol(v.c_str(), nullptr, 10);
    } else {
      o->args.push_back(a);
    }
  }
  return true;
}

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

CVornDB* OpenNamed(CVornDBs& dbs, const std::string& name) {
  int index = dbs.FindByName(platform::ToU16(name));
  if (index < 0) {
    std::fprintf(stderr, "No database named \"%s\" in the data folders\n", name.c_str());
    return nullptr;
  }
  return dbs.GetDatabase(index);
}

}  // namespace

int main(int argc, char** argv) {
  Options o;
  if (!Parse(argc, argv, &o)) return Usage();
  if (o.data.empty()) o.data = DefaultDataFolders(VORN_DEFAULT_DATA_DIR);
  platform::CStderrMessageSink sink;
  CVornDBs dbs(o.data, &sink, nullptr);

  if (o.command == "list") {
    int shown = 0;
    for (int i = 0; i < dbs.GetCount(); ++i) {
      const CVornDBStats* s = dbs.GetStats(i);
      if (!s) continue;
      CVornDB* db = dbs.GetDatabase(i);
      std::printf("%d\t%s\t%s\t%u words\t%s\n", i, platform::ToUtf8(s->GetName()).c_str(),
                  platform::ToUtf8(s->GetTitle()).c_str(), db ? db->GetWordCount() : 0,
                  s->GetFolder().c_str());
      ++shown;
    }
    if (shown == 0) {
      std::fprintf(stderr, "No databases found\n");
      return 1;
    }
    return 0;
  }

  if (o.db.empty()) return Usage();
  CVornDB* db = OpenNamed(dbs, o.db);
  if (!db) return 2;

  if (o.command == "words") {
    uint32_t n = db->GetWordCount();
    if (o.from < 0 || static_cast<uint32_t>(o.from) >= n) {
      std::fprintf(stderr, "Word %ld is outside the database (0..%u)\n", o.from, n ? n - 1 : 0);
      return 1;
    }
    for (uint32_t w = static_cast<uint32_t>(o.from); w < n && w < o.from + o.count; ++w) PrintWord(db, w);
    return 0;
  }
  if (o.command == "verse") {
    if (o.args.size() != 3 || !db->GetVerses()) return Usage();
    int book = db->GetBookNumber(platform::ToU16(o.args[0]));
    if (book == 0) {
      std::fprintf(stderr, "No book \"%s\" in %s\n", o.args[0].c_str(), o.db.c_str());
      return 1;
    }
    VerseKey key = CVornDBVerses::MakeKey(book, std::atoi(o.args[1].c_str()), platform::ToU16(o.args[2]));
    VerseEntry e = db->GetVerses()->FindVerse(key);
    if (!e) return 1;
    WordSpan span = db->GetVerses()->GetWordSpan(e);
    for (WordIndex w = span.first; w < span.end; ++w) PrintWord(db, static_cast<uint32_t>(w));
    return 0;
  }
  if (o.command == "describe-tag") {
    if (o.args.size() != 1) return Usage();
    int index = db->GetTagLineIndex();
    if (index < 0) {
      std::fprintf(stderr, "%s has no grammar-tag line\n", o.db.c_str());
      return 1;
    }
    auto* tags = static_cast<CVornDBTagsLine*>(db->GetLine(index));
    std::printf("%s\n", platform::ToUtf8(tags->DescribeTag(platform::ToU16(o.args[0]))).c_str());
    return 0;
  }
  return Usage();
}
