// Runs fuzzed query text, wildcards and all, against real lines: a Greek
// text line, a Hebrew one and a grammar-tag line of small databases. The
// whole query is parsed, prepared and evaluated, and the text is also
// matched as one search word against every form. Nothing may crash, recurse
// without bound or take longer than the fuzzer's time limit.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/message_sink.h"
#include "platform/u16.h"
#include "query/parse_query.h"
#include "query/query_context.h"
#include "textdb/db_stats.h"
#include "textdb/ordinary_line.h"
#include "textdb/table_writer.h"
#include "textdb/vorn_db.h"

using namespace vorn;

namespace {

DBSource MakeSource(bool hebrew) {
  DBSource s;
  s.name = hebrew ? u"HEB" : u"GNT";
  s.title = u"Fuzz";
  s.books = {hebrew ? "GEN" : "JHN"};
  s.verses = {{0, 1, 1, u"1"}, {4, 1, 2, u"2"}};
  const std::u16string greek[] = {u"ἐν", u"ἀρχῇ", u"ἦν", u"ὁ", u"λόγος", u"καὶ", u"ὁ", u"Λόγος"};
  const std::u16string hebrew_words[] = {u"בְּרֵאשִׁ֖ית", u"בָּרָ֣א", u"אֱלֹהִ֑ים", u"אֵ֥ת",
                                         u"הַשָּׁמַ֖יִם",  u"וְאֵ֥ת", u"הָאָֽרֶץ",  u"אֵת"};
  DBLine form{"Form", u"", u"text", {}, hebrew ? u"Hebrew" : u"Greek", u"", {}, {}, {}};
  DBLine tag{"Tag", u"", u"tag", {}, u"", u"Friberg", {}, {}, {}};
  for (size_t i = 0; i < 8; ++i) {
    form.words.push_back(hebrew ? hebrew_words[i] : greek[i]);
    tag.words.push_back(i % 2 ? u"N-NM-S" : (i % 3 ? u"VIAA--3S" : u"XVX"));
  }
  s.lines = {form, tag};
  s.headings = {{0, {{1, {u"Book"}}}}};
  s.sentence_starts = {0, 4};
  return s;
}

// A query context that knows the database and nothing more.
class DatabaseContext : public CQueryContext {
 public:
  explicit DatabaseContext(CVornDB* db) : db_(db) {}
  CVornDB* GetDatabase() const override { return db_; }

 private:
  CVornDB* db_;
};

struct Opened {
  std::unique_ptr<CVornDBStats> stats;
  std::unique_ptr<CVornDB> db;
};

Opened* Open(bool hebrew) {
  static platform::CRecordingMessageSink sink;
  auto* o = new Opened;
  const std::string folder = "/tmp/vorn_query_match_fuzz_" + std::to_string(::getpid()) +
                             (hebrew ? "/HEB.qyx" : "/GNT.qyx");
  std::string error;
  if (!CDBWriter(MakeSource(hebrew)).Write(folder, &error)) {
    std::fprintf(stderr, "seed database: %s\n", error.c_str());
    std::abort();
  }
  o->stats = std::make_unique<CVornDBStats>(folder);
  if (!o->stats->Load() || !(o->db = o->stats->OpenDatabase(&sink, nullptr))) std::abort();
  return o;
}

void Run(CVornDB* db, const std::u16string& text) {
  // The whole text as a query.
  DatabaseContext context(db);
  QParsed query = ParseQuery(text, &context, nullptr);
  if (!query.error && !PrepareQuery(&query, &context)) EvaluateQuery(&query);
  // And as one search word of every line.
  for (int i = 0; i < db->GetLineCount(); ++i) {
    auto* line = dynamic_cast<CVornDBOrdinaryLine*>(db->GetLine(i));
    if (!line) continue;
    FormList forms;
    line->MatchForms(text, &forms);
    line->MatchFormsPrefix(text, &forms);
    for (uint32_t f = 0; f < line->GetFormCount(); ++f)
      line->MatchForm(text, line->GetFormString(f));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static Opened* greek = Open(false);
  static Opened* hebrew = Open(true);
  const std::u16string text =
      platform::ToU16(std::string(reinterpret_cast<const char*>(data), size));
  Run(greek->db.get(), text);
  Run(hebrew->db.get(), text);
  return 0;
}
