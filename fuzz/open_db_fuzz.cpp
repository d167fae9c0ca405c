// Damages one table of a small, valid database and opens it. A database
// that opens must then answer every read without leaving its mappings;
// one that does not open must be refused with a message, never crash.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/file_system.h"
#include "platform/message_sink.h"
#include "textdb/db_stats.h"
#include "textdb/form_line.h"
#include "textdb/formats.h"
#include "textdb/gloss_line.h"
#include "textdb/headings.h"
#include "textdb/links_line.h"
#include "textdb/ordinary_line.h"
#include "textdb/table_writer.h"
#include "textdb/tags_line.h"
#include "textdb/verses.h"
#include "textdb/vorn_db.h"

using namespace vorn;

namespace {

DBSource MakeSource() {
  DBSource s;
  s.name = u"GNT";
  s.title = u"Fuzz";
  s.books = {"MAT", "JHN"};
  s.verses = {
      {0, 1, 1, u"1"}, {3, 1, 1, u"2a"}, {5, 1, 2, u"1-3"}, {7, 2, 1, u"2"}, {9, 2, 1, u"1"}};
  const std::u16string words[] = {u"ἐν", u"ἀρχῇ",  u"ἦν", u"ὁ",    u"λόγος", u"καὶ",
                                  u"ὁ",  u"λόγος", u"ἦν", u"πρὸς", u"τὸν",   u"θεόν"};
  DBLine form{"Form", u"Face=\"Gentium\"", u"text", {u"form"}, u"Greek", u"", {}, {}, {}};
  DBLine tag{"Tag", u"", u"tag", {}, u"", u"Friberg", {}, {}, {}};
  DBLine gloss{"Glos", u"", u"gloss", {}, u"", u"", {}, {}, {}};
  DBLine links{"Links", u"", u"note", {}, u"", u"", {}, {}, {}};
  for (size_t i = 0; i < std::size(words); ++i) {
    form.words.push_back(words[i]);
    tag.words.push_back(i % 2 ? u"N-NM-S" : u"VIAA--3S");
    gloss.words.push_back(i % 3 ? u"word" : u"in");
  }
  form.variants.push_back({"Alt1", u"Other", {{2, u"ἐστιν"}, {8, u"ἐστιν"}}});
  s.lines = {form, tag, gloss, links};
  s.headings = {{0, {{1, {u"Matthew", u"Sub"}}, {2, {u"Part"}}}}, {7, {{1, {u"John"}}}}};
  s.formats = {{0, u"P"}, {5, u"longcode"}};
  s.sentence_starts = {0, 5, 9};
  s.punctuation = {{0, 0, u"(", u""}, {4, -1, u"", u"."}};
  s.gloss_marks = {{1, 'B', 0, 0, 0}, {2, 1, 'E', 'B', 1}};
  s.links.kinds = {{"Strong", {{"Search", u"Strong %1"}}}, {"Topic", {{"Note", u"%2: %1"}}}};
  s.links.words = {{1,
                    {{0, false, u"G746", ""},
                     {1, true, u"Creation", ""},
                     {1, false,
                      u"\x02"
                      u"Beginning",
                      "x"}}},
                   {4, {{0, false, u"G3056", ""}}}};
  return s;
}

struct Seed {
  DBFiles files;
  std::string folder;
};

Seed* TheSeed() {
  static Seed* seed = [] {
    auto* s = new Seed;
    DBSource source = MakeSource();
    CDBWriter writer(source);
    std::string error;
    if (!writer.Build(&error)) {
      std::fprintf(stderr, "seed database: %s\n", error.c_str());
      std::abort();
    }
    s->files = writer.GetFiles();
    s->folder = "/tmp/vorn_open_db_fuzz_" + std::to_string(::getpid()) + "/GNT.qyx";
    return s;
  }();
  return seed;
}

// Reads everything a database offers, so that a sanitizer sees every access.
void Exercise(CVornDB* db) {
  const uint32_t n = db->GetWordCount();
  for (int i = 0; i < db->GetLineCount(); ++i) {
    CVornDBLine* line = db->GetLine(i);
    if (auto* ord = dynamic_cast<CVornDBOrdinaryLine*>(line)) {
      for (uint32_t w = 0; w < n; ++w)
        for (int v = 0; v <= static_cast<int>(ord->GetVariantCount()); ++v)
          (void)ord->GetWordString(static_cast<WordIndex>(w), v);
      for (uint32_t w = 0; w < n; ++w) ord->GetFormFrequency(static_cast<WordIndex>(w));
      FormList forms;
      for (const char16_t* p : {u"λόγος", u"λ*", u"*", u"?&", u"N*", u"V@S", u"[!N]*"}) {
        ord->MatchForms(p, &forms);
        CDBWordList words;
        ord->WordsOfForms(forms, &words);
        ord->MatchFormsPrefix(p, &forms);
      }
      if (auto* gloss = dynamic_cast<CVornDBGlossLine*>(ord)) {
        std::u16string a, b;
        for (uint32_t w = 0; w < n; ++w) gloss->GetGlossMarks(static_cast<WordIndex>(w), &a, &b);
      }
      if (auto* tags = dynamic_cast<CVornDBTagsLine*>(ord)) {
        std::vector<std::u16string> prefixes, choices;
        FormList all;
        for (uint32_t f = 0; f < ord->GetFormCount(); ++f) all.push_back(f);
        for (int pos = 0; pos < 4; ++pos) tags->ListTagChoices(all, &prefixes, &choices, pos);
      }
    } else if (auto* links = dynamic_cast<CVornDBLinks*>(line)) {
      std::vector<CPVLink> out;
      for (uint32_t w = 0; w < n; ++w) links->GetLinks(static_cast<WordIndex>(w), &out);
      std::vector<uint32_t> all(n);
      for (uint32_t w = 0; w < n; ++w) all[w] = w;
      FormList forms;
      links->CollectForms(all, 0, &forms);
      for (uint32_t f : forms) (void)links->GetFormText(f);
      CDBWordList words;
      links->WordsOfForms(forms, &words);
      links->MatchForms(u"Strong G*", &forms);
      links->MatchForms(u"Topic Beginning", &forms);
    }
  }
  for (uint32_t w = 0; w < n; ++w) {
    db->GetHeading(static_cast<WordIndex>(w));
    db->GetFormatCode(static_cast<WordIndex>(w));
    db->GetUnitBounds(static_cast<WordIndex>(w));
    db->GetSentenceRange(static_cast<WordIndex>(w));
  }
  if (CVornDBVerses* verses = db->GetVerses()) {
    for (uint32_t w = 0; w < n; ++w) {
      VerseEntry e = verses->VerseOfWord(static_cast<WordIndex>(w));
      verses->GetWordSpan(e);
      verses->NextVerse(e);
      verses->PrevVerse(e);
    }
    for (int b = 0; b <= verses->GetBookCount() + 1; ++b) {
      verses->GetBookSpan(b);
      for (int c = 0; c < 4; ++c) {
        verses->GetChapterSpan(b, c);
        verses->FindVerse({static_cast<uint8_t>(b), static_cast<uint8_t>(c), 1, 0});
      }
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Seed* seed = TheSeed();
  if (size < 2) return 0;
  DBFiles files = seed->files;
  // Byte 0 picks the table, byte 1 how to damage it; the rest is the damage.
  std::string& target = files[data[0] % files.size()].second;
  std::string payload(reinterpret_cast<const char*>(data + 2), size - 2);
  switch (data[1] % 4) {
    case 0:  // replace the whole table
      target = payload;
      break;
    case 1:  // cut it short
      target.resize(payload.empty() ? 0
                                    : static_cast<unsigned char>(payload[0]) % (target.size() + 1));
      break;
    case 2: {  // overwrite bytes at an offset
      size_t at =
          payload.empty() ? 0 : static_cast<unsigned char>(payload[0]) % (target.size() + 1);
      for (size_t i = 1; i < payload.size() && at < target.size(); ++i) target[at++] = payload[i];
      break;
    }
    default:  // append
      target += payload;
  }
  // Written plainly: the writer's safe replacement syncs every file, which
  // would make each run a hundred times slower.
  std::filesystem::remove_all(seed->folder);
  for (const auto& [path, bytes] : files) {
    std::string full = seed->folder + "/" + path;
    std::filesystem::create_directories(std::filesystem::path(full).parent_path());
    std::ofstream(full, std::ios::binary)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }
  CVornDBStats stats(seed->folder);
  if (!stats.Load()) return 0;
  platform::CRecordingMessageSink sink;
  std::unique_ptr<CVornDB> db = stats.OpenDatabase(&sink, nullptr);
  if (db) {
    Exercise(db.get());
  } else if (sink.messages().empty()) {
    std::abort();  // a refused database must say so
  }
  return 0;
}
