#include "textdb/db_check.h"

#include <unicode/coll.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string_view>

#include "platform/file_system.h"
#include "platform/u16.h"
#include "textdb/collation.h"
#include "textdb/db_stats.h"
#include "textdb/formats.h"
#include "textdb/headings.h"
#include "textdb/mem_map_file.h"
#include "textdb/punctuation.h"
#include "textdb/records.h"
#include "textdb/vorn_db.h"

namespace vorn {

namespace {

constexpr uint32_t kNoVariant = 0xFFFFFFFFu;
// Faults listed per table before the rest are only counted: one damaged
// table would otherwise bury everything else.
constexpr int kShownPerTable = 5;

// Collects the faults of one table.
class TableReport {
 public:
  TableReport(std::string file, std::vector<std::string>* problems)
      : file_(std::move(file)), problems_(problems) {}
  ~TableReport() {
    if (count_ > kShownPerTable)
      problems_->push_back(file_ + ": " + std::to_string(count_ - kShownPerTable) + " more faults");
  }
  void Add(const std::string& problem) {
    if (++count_ <= kShownPerTable) problems_->push_back(file_ + ": " + problem);
  }
  int count() const { return count_; }

 private:
  std::string file_;
  std::vector<std::string>* problems_;
  int count_ = 0;
};

// Maps one table; a missing or unreadable file, or one that is not a whole
// number of records, is reported and gives false.
template <typename T>
bool MapTable(TMemMapFile<T>* table, TableReport* report) {
  if (!table->Open()) {
    report->Add("missing or unreadable");
    return false;
  }
  if (table->GetSize() % sizeof(T) != 0) {
    report->Add("cut short (not a whole number of records)");
    return false;
  }
  return true;
}

std::string Text(std::u16string_view s) { return platform::ToUtf8(s); }

// The tables of one ordinary line: form strings, word forms, occurrence
// lists, form records and the variant tables. `word_count` is the count of
// the first line (0 while unknown: this line then sets it).
void CheckOrdinaryLine(const CVornDBStats& stats, const std::string& name, uint32_t* word_count,
                       std::vector<std::string>* problems) {
  const std::string& folder = stats.GetFolder();
  TMemMapFile<char16_t> strings(folder, name + "s.db");
  TMemMapFile<uint32_t> word_forms(folder, name + "db.ndx");
  TMemMapFile<uint32_t> lists(folder, name + "ndx.ndx");
  TMemMapFile<XndxxT> forms(folder, name + "ndxx.ndx");
  TableReport rs(name + "s.db", problems), rw(name + "db.ndx", problems),
      rl(name + "ndx.ndx", problems), rf(name + "ndxx.ndx", problems);
  // Each table is mapped (and reported) even when another is missing.
  const bool s_ok = MapTable(&strings, &rs), w_ok = MapTable(&word_forms, &rw);
  const bool l_ok = MapTable(&lists, &rl), f_ok = MapTable(&forms, &rf);
  if (!s_ok || !w_ok || !l_ok || !f_ok) return;
  const uint32_t nwords = word_forms.GetCount();
  const uint32_t nforms = forms.GetCount();
  const uint32_t nstrings = strings.GetCount();
  const uint32_t nlists = lists.GetCount();
  if (*word_count == 0) *word_count = nwords;
  if (nwords != *word_count)
    rw.Add(std::to_string(nwords) + " words where the first line has " +
           std::to_string(*word_count));
  if (nforms > 0 && (nstrings == 0 || strings[nstrings - 1] != 0))
    rs.Add("the last string is not terminated");

  // Form records: each string starts a string, each list lies in the file.
  std::vector<bool> form_ok(nforms, false);
  for (uint32_t f = 0; f < nforms; ++f) {
    const XndxxT& r = forms[f];
    if (r.string_pos >= nstrings || (r.string_pos > 0 && strings[r.string_pos - 1] != 0)) {
      rf.Add("form " + std::to_string(f) + " has string position " + std::to_string(r.string_pos) +
             ", which does not begin a string");
      continue;
    }
    if (r.list_pos >= nlists || lists[r.list_pos] > nlists - r.list_pos - 1) {
      rf.Add("form " + std::to_string(f) + " has list position " + std::to_string(r.list_pos) +
             ", whose list runs past the end of " + name + "ndx.ndx");
      continue;
    }
    form_ok[f] = true;
  }

  // Sort order: strictly ascending by the collator the searches use.
  std::unique_ptr<icu::Collator> collator = MakeFormCollator();
  if (collator) {
    UErrorCode status = U_ZERO_ERROR;
    for (uint32_t f = 1; f < nforms; ++f) {
      if (!form_ok[f] || !form_ok[f - 1]) continue;
      const char16_t* a = &strings[forms[f - 1].string_pos];
      const char16_t* b = &strings[forms[f].string_pos];
      const UCollationResult c = collator->compare(reinterpret_cast<const UChar*>(a), -1,
                                                   reinterpret_cast<const UChar*>(b), -1, status);
      // Forms that collate equal (the same marks in another order) stand
      // in code-unit order.
      if (c == UCOL_LESS || (c == UCOL_EQUAL && std::u16string_view(a) < std::u16string_view(b)))
        continue;
      if (std::u16string_view(a) == std::u16string_view(b))
        rs.Add("forms " + std::to_string(f - 1) + " and " + std::to_string(f) +
               " are the same, \"" + Text(a) + "\"");
      else
        rf.Add("form " + std::to_string(f) + " (\"" + Text(b) + "\") is out of order");
    }
  }

  // Every word's form exists; every word is listed once, under its form.
  std::vector<uint8_t> listed(nwords, 0);
  for (uint32_t w = 0; w < nwords; ++w)
    if (word_forms[w] >= nforms)
      rw.Add("word " + std::to_string(w) + " has form " + std::to_string(word_forms[w]) + " of " +
             std::to_string(nforms));
  for (uint32_t f = 0; f < nforms; ++f) {
    if (!form_ok[f]) continue;
    const uint32_t* list = &lists[forms[f].list_pos];
    for (uint32_t i = 1; i <= list[0]; ++i) {
      const uint32_t w = list[i];
      if (w >= nwords) {
        rl.Add("form " + std::to_string(f) + " lists word " + std::to_string(w) +
               " beyond the text");
        continue;
      }
      if (i > 1 && w <= list[i - 1])
        rl.Add("the list of form " + std::to_string(f) + " is not in ascending order");
      if (word_forms[w] != f)
        rw.Add("word " + std::to_string(w) + " is listed under form " + std::to_string(f) +
               " but has form " + std::to_string(word_forms[w]));
      if (listed[w]++ == 1) rl.Add("word " + std::to_string(w) + " is listed more than once");
    }
  }
  uint32_t unlisted = 0;
  for (uint32_t w = 0; w < nwords; ++w) unlisted += listed[w] == 0;
  if (unlisted > 0) rl.Add(std::to_string(unlisted) + " words are listed under no form");

  // Text variants: each names another form, or none.
  std::vector<std::string> alts;
  stats.GetChildren("/InterlinearLines/" + name + "/Alt", &alts);
  for (const std::string& v : alts) {
    TMemMapFile<uint32_t> table(folder, v + ".ndx");
    TableReport rv(v + ".ndx", problems);
    if (!MapTable(&table, &rv)) continue;
    if (table.GetCount() < nforms) {
      rv.Add(std::to_string(table.GetCount()) + " entries for " + std::to_string(nforms) +
             " forms");
      continue;
    }
    for (uint32_t f = 0; f < nforms; ++f) {
      const uint32_t g = table[f];
      if (g != kNoVariant && (g >= nforms || g == f))
        rv.Add("form " + std::to_string(f) + " has variant form " + std::to_string(g));
    }
  }
}

// A table of records keyed by word: keys must rise (strictly when `strict`)
// and name words of the text.
template <typename T>
void CheckWordKeys(const std::string& folder, const std::string& file, uint32_t word_count,
                   bool strict, std::vector<std::string>* problems) {
  TMemMapFile<T> table(folder, file);
  TableReport report(file, problems);
  if (!MapTable(&table, &report)) return;
  for (uint32_t i = 0; i < table.GetCount(); ++i) {
    const uint32_t w = *reinterpret_cast<const uint32_t*>(&table[i]);
    if (w >= word_count) {
      report.Add("record " + std::to_string(i) + " names word " + std::to_string(w) +
                 " beyond the text");
      continue;
    }
    if (i == 0) continue;
    const uint32_t before = *reinterpret_cast<const uint32_t*>(&table[i - 1]);
    if (w < before || (strict && w == before))
      report.Add("record " + std::to_string(i) + " (word " + std::to_string(w) +
                 ") is out of order");
  }
}

void CheckVerses(const CVornDBStats& stats, uint32_t word_count,
                 std::vector<std::string>* problems) {
  TMemMapFile<VerseNdx> file(stats.GetFolder(), "verses.ndx");
  TableReport report("verses.ndx", problems);
  if (!MapTable(&file, &report)) return;
  const uint32_t n = file.GetCount();
  if (n == 0 || file[n - 1].chapter != kClosingChapter) {
    report.Add("the closing record is missing");
    return;
  }
  const VerseNdx& closing = file[n - 1];
  if (closing.first_word != word_count)
    report.Add("the closing record gives " + std::to_string(closing.first_word) +
               " words where the text has " + std::to_string(word_count));
  uint8_t book = 0;
  uint32_t word = 0;
  for (uint32_t i = 0; i + 1 < n; ++i) {
    const VerseNdx& r = file[i];
    const std::string at = "record " + std::to_string(i);
    if (r.book == 0 || r.book < book)
      report.Add(at + " has book " + std::to_string(r.book) + " out of order");
    if (r.chapter == kClosingChapter) report.Add(at + " is a second closing record");
    if (r.first_word < word || r.first_word > closing.first_word)
      report.Add(at + " has first word " + std::to_string(r.first_word) + " out of order");
    book = std::max(book, r.book);
    word = std::max(word, r.first_word);
  }
  if (n > 1 && closing.book <= book)
    report.Add("the closing record's book is not above the last book");
  if (book > stats.GetBookCount())
    report.Add(std::to_string(book) + " books where \"Books\" in Stats.txt lists only " +
               std::to_string(stats.GetBookCount()));
}

}  // namespace

bool CheckDatabase(const CVornDBStats& stats, std::vector<std::string>* problems) {
  const size_t before = problems->size();
  const std::string& folder = stats.GetFolder();
  std::vector<std::string> names;
  stats.GetChildren("/InterlinearLines/", &names);
  uint32_t word_count = 0;
  bool has_form = false;
  for (const std::string& name : names) {
    // The links line keeps its own tables, checked when the database opens.
    if (name == "Links") continue;
    has_form |= name == "Form";
    CheckOrdinaryLine(stats, name, &word_count, problems);
    if (name == "Glos" && platform::FileExists(platform::JoinPath(folder, "GlossMark.ndx")))
      CheckWordKeys<MarkT>(folder, "GlossMark.ndx", word_count, true, problems);
  }
  if (names.empty()) problems->push_back("Stats.txt: no interlinear lines");

  CheckVerses(stats, word_count, problems);
  CheckWordKeys<WordPos>(folder, "heads.ndx", word_count, true, problems);
  if (has_form) CheckWordKeys<WordPos>(folder, "punctndx.ndx", word_count, true, problems);
  if (!stats.GetValue("/Formats").empty())
    CheckWordKeys<Format_t>(folder, "Format.ndx", word_count, false, problems);
  // Sentence data may be missing (the program then says so when it is
  // needed); present, it must be sound.
  if (platform::FileExists(platform::JoinPath(folder, "Sentence.ndx"))) {
    CheckWordKeys<uint32_t>(folder, "Sentence.ndx", word_count, true, problems);
    TMemMapFile<uint32_t> starts(folder, "Sentence.ndx");
    if (word_count > 0 && starts.Open() && starts.GetCount() == 0)
      problems->push_back("Sentence.ndx: empty, so the text has no sentences");
  }

  // Tables read whole by their own open checks: named one by one, so that
  // the report says which of them is damaged.
  if (!CVornDBHeadings(folder).Open())
    problems->push_back("heads.db, heads.ndx: damaged or emptied");
  if (has_form && !CVornDBPunctuation(folder).Open())
    problems->push_back("punct.ndx, punctndx.ndx: damaged or emptied");
  if (!stats.GetValue("/Formats").empty() && !CVornDBFormats(folder).Open())
    problems->push_back("Format.ndx: damaged");

  // Whatever the checks above do not read (word links, the emptiness of
  // tables the description promises) the database's own open checks.
  if (problems->size() == before) {
    CVornDB db(&stats, nullptr, nullptr);
    if (!db.Open()) problems->push_back(folder + ": the database does not open");
  }
  return problems->size() == before;
}

}  // namespace vorn
