// Searching from a terminal: query runs a query through the same processor
// as the desktop's query box, with the user tags of the user folder shown;
// range resolves a range list on its own.
#include <unicode/uchar.h>

#include <algorithm>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "cli.h"
#include "platform/u16.h"
#include "query/fmt_str.h"
#include "query/hit_analysis.h"
#include "query/query_context.h"
#include "query/query_processor.h"
#include "query/ranges.h"
#include "refs/bible_ref.h"
#include "textdb/ordinary_line.h"
#include "textdb/verses.h"

namespace vorn::cli {

namespace {

using platform::ToU16;
using platform::ToUtf8;

std::string JoinPositional(const Args& args) {
  std::string text;
  for (const std::string& p : args.positional()) text += (text.empty() ? "" : " ") + p;
  return text;
}

std::string ShortRef(CVornDB* db, WordIndex w) {
  if (!db->GetVerses() || !db->GetVerses()->VerseOfWord(w)) return "";
  return ToUtf8(CBibleRef(db, w).FormatShort());
}

// What a word shows on a line: its text as stored for a line of forms, else
// its form's (or link's) text.
std::string LineValue(CVornDB* db, int line_index, WordIndex w) {
  CVornDBLine* line = db->GetLine(line_index);
  if (auto* ordinary = dynamic_cast<CVornDBOrdinaryLine*>(line))
    return ToUtf8(ordinary->GetWordString(w));
  FormList forms;
  line->CollectForms({static_cast<uint32_t>(w)}, 0, &forms);
  std::u16string out;
  for (uint32_t f : forms) out += (out.empty() ? u"" : u"; ") + line->GetFormText(f);
  return ToUtf8(out);
}

std::string JsonString(const std::string& s) {
  std::string out = "\"";
  for (unsigned char c : s) {
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (c < 0x20) {
          char buf[8];
          std::snprintf(buf, sizeof buf, "\\u%04x", c);
          out += buf;
        } else {
          out += static_cast<char>(c);
        }
    }
  }
  return out + "\"";
}

// The columns a terminal gives the first `n` code units of `text`:
// combining marks and format characters take none.
size_t Columns(const std::u16string& text, size_t n) {
  size_t columns = 0;
  for (size_t i = 0; i < n && i < text.size(); ++i) {
    UChar32 c = text[i];
    if (U16_IS_LEAD(text[i]) && i + 1 < text.size() && U16_IS_TRAIL(text[i + 1])) {
      c = U16_GET_SUPPLEMENTARY(text[i], text[i + 1]);
      ++i;
    }
    const int8_t type = u_charType(c);
    if (type != U_NON_SPACING_MARK && type != U_ENCLOSING_MARK && type != U_FORMAT_CHAR) ++columns;
  }
  return columns;
}

// The message, then the text with a line of carets under the characters
// the error concerns (one caret after the text for an error at its end).
void PrintError(const CQError& error, const std::u16string& text) {
  const size_t n = text.size();
  const size_t first = std::min(static_cast<size_t>(std::max(error.GetFirst(), 0)), n);
  const size_t last = std::min(static_cast<size_t>(std::max(error.GetLast(), error.GetFirst())), n);
  const size_t from = Columns(text, first);
  const size_t to = first >= n ? from + 1 : Columns(text, last + 1);
  std::fprintf(stderr, "%s (characters %d-%d)\n  %s\n  %s%s\n", ToUtf8(error.GetMessage()).c_str(),
               error.GetFirst(), error.GetLast(), ToUtf8(text).c_str(),
               std::string(from, ' ').c_str(),
               std::string(std::max(to, from + 1) - from, '^').c_str());
}

// Runs `text` over `context`: its hits, or nullopt after the error was
// printed under the text.
std::optional<std::vector<uint32_t>> ExecuteQuery(const std::u16string& text,
                                                  CQueryContext* context) {
  CFmtStr display;
  CQueryProcessor processor(text, context, &display);
  if (!processor.Execute()) {
    PrintError(*processor.GetError(), text);
    return std::nullopt;
  }
  return processor.GetHits();
}

// A query context for the range command: the database alone.
class DatabaseContext : public CQueryContext {
 public:
  explicit DatabaseContext(CVornDB* db) : db_(db) {}
  CVornDB* GetDatabase() const override { return db_; }

 private:
  CVornDB* db_;
};

}  // namespace

int RunQuery(const Args& args) {
  const std::string format = args.Get("--format", "refs");
  if (format != "refs" && format != "tsv" && format != "json") {
    std::fprintf(stderr, "--format is refs, tsv or json\n");
    return kBadInput;
  }
  const std::u16string text = CQueryProcessor::StripEmbeddingMarks(ToU16(JoinPositional(args)));
  if (text.empty()) {
    std::fprintf(stderr,
                 "usage: vorn-cli query --db NAME [--format refs|tsv|json] [--match exact|loose] "
                 "[--count] QUERY\n");
    return kBadInput;
  }
  const std::string match = args.Get("--match", "exact");
  if (match != "exact" && match != "loose") {
    std::fprintf(stderr, "--match is exact or loose\n");
    return kBadInput;
  }
  Context ctx(args);
  CVornDB* db = ctx.OpenDb(args);
  if (!db) return kBadInput;
  MarkupSession markup(args, db, &ctx.sink());
  if (!markup.ok()) return kBadInput;
  markup.context()->SetLooseMatching(match == "loose");

  const std::optional<std::vector<uint32_t>> found = ExecuteQuery(text, markup.context());
  if (!found) return kBadInput;
  const std::vector<uint32_t>& hits = *found;
  if (args.Has("--count")) std::printf("%zu\n", hits.size());
  if (hits.empty()) {
    std::fprintf(stderr, "No matches\n");
    return kNothingFound;
  }
  if (args.Has("--count")) return kOk;

  const int lines = db->GetLineCount();
  if (format == "refs") {
    for (uint32_t w : hits) {
      const WordIndex word = static_cast<WordIndex>(w);
      std::printf("%s\t%s\n", ShortRef(db, word).c_str(),
                  lines > 0 ? LineValue(db, 0, word).c_str() : "");
    }
  } else if (format == "tsv") {
    std::string header = "word\tref";
    for (int i = 0; i < lines; ++i) header += "\t" + db->GetLineName(i);
    std::printf("%s\n", header.c_str());
    for (uint32_t w : hits) {
      const WordIndex word = static_cast<WordIndex>(w);
      std::string row = std::to_string(w) + "\t" + ShortRef(db, word);
      for (int i = 0; i < lines; ++i) row += "\t" + LineValue(db, i, word);
      std::printf("%s\n", row.c_str());
    }
  } else {
    std::printf("[\n");
    for (size_t k = 0; k < hits.size(); ++k) {
      const WordIndex word = static_cast<WordIndex>(hits[k]);
      std::string row = "  {\"word\": " + std::to_string(hits[k]) +
                        ", \"ref\": " + JsonString(ShortRef(db, word)) + ", \"lines\": {";
      for (int i = 0; i < lines; ++i) {
        row += (i ? ", " : "") + JsonString(db->GetLineName(i)) + ": " +
               JsonString(LineValue(db, i, word));
      }
      row += k + 1 < hits.size() ? "}},\n" : "}}\n";
      std::fputs(row.c_str(), stdout);
    }
    std::printf("]\n");
  }
  return kOk;
}

namespace {

// The line and part that --line and --part name: a line by its name or
// query keyword (the first line by default), a part by number or by the
// name the analysis lists. False after a message.
bool ChooseAnalysisPart(CVornDB* db, const Args& args, AnalysisPart* chosen) {
  const std::string line_name = args.Get("--line");
  chosen->line = 0;
  if (!line_name.empty()) {
    chosen->line = -1;
    for (int i = 0; i < db->GetLineCount(); ++i) {
      if (db->GetLineName(i) == line_name) chosen->line = i;
    }
    if (chosen->line < 0) {
      const CVornDBLine* line = db->FindLineByQueryName(ToU16(line_name));
      for (int i = 0; i < db->GetLineCount(); ++i) {
        if (line && db->GetLine(i) == line) chosen->line = i;
      }
    }
    if (chosen->line < 0) {
      // A part's whole name ("Friberg tag: character 2") names its line too.
      if (!FindAnalysisPart(*db, ToU16(line_name), chosen)) {
        std::fprintf(stderr, "No line named \"%s\"\n", line_name.c_str());
        return false;
      }
    }
  }
  if (db->GetLineCount() == 0) {
    std::fprintf(stderr, "The database has no lines\n");
    return false;
  }
  const std::string part = args.Get("--part");
  if (part.empty()) return true;
  const CVornDBLine* line = db->GetLine(chosen->line);
  for (int p = 0;; ++p) {
    const std::u16string name = line->GetPartName(p);
    if (name.empty()) break;
    if (ToUtf8(name) == part || std::to_string(p) == part) {
      chosen->part = p;
      return true;
    }
  }
  std::fprintf(stderr, "Line \"%s\" has no part \"%s\"\n", db->GetLineName(chosen->line).c_str(),
               part.c_str());
  return false;
}

std::string FormatShare(double value) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.2f", value);
  return buf;
}

}  // namespace

int RunAnalyse(const Args& args) {
  const std::string format = args.Get("--format", "tsv");
  const std::string by = args.Get("--by");
  const std::u16string text = CQueryProcessor::StripEmbeddingMarks(ToU16(JoinPositional(args)));
  if (text.empty() || (format != "tsv" && format != "json") ||
      (!by.empty() && by != "book" && by != "chapter")) {
    std::fprintf(stderr,
                 "usage: vorn-cli analyse --db NAME [--line LINE] [--part N|NAME] "
                 "[--by book|chapter] [--format tsv|json] QUERY\n");
    return kBadInput;
  }
  Context ctx(args);
  CVornDB* db = ctx.OpenDb(args);
  if (!db) return kBadInput;
  AnalysisPart chosen;
  if (by.empty() && !ChooseAnalysisPart(db, args, &chosen)) return kBadInput;
  MarkupSession markup(args, db, &ctx.sink());
  if (!markup.ok()) return kBadInput;
  const std::optional<std::vector<uint32_t>> found = ExecuteQuery(text, markup.context());
  if (!found) return kBadInput;
  const std::vector<uint32_t>& hits = *found;

  // Rows of value, count and (by place) hits per 1,000 words, in the order
  // the desktop's analysis lists them.
  std::vector<std::vector<std::string>> rows;
  if (by.empty()) {
    const CVornDBLine* line = db->GetLine(chosen.line);
    for (const HitValueCount& c : CountHitValues(*line, chosen.part, hits)) {
      rows.push_back({ToUtf8(line->GetValueText(chosen.part, c.id)), std::to_string(c.count)});
    }
  } else {
    if (!db->GetVerses()) {
      std::fprintf(stderr, "The database has no verse index\n");
      return kBadInput;
    }
    for (const HitPlaceCount& p : CountHitPlaces(*db, hits, by == "chapter")) {
      std::string place = ToUtf8(db->GetBookCode(p.book));
      if (by == "chapter") place += " " + std::to_string(p.chapter);
      rows.push_back({place, std::to_string(p.hits), FormatShare(p.PerThousand())});
    }
  }
  std::vector<std::string> header = {"value", "count"};
  if (!by.empty()) header = {by, "count", "per1000"};
  if (format == "tsv") {
    rows.insert(rows.begin(), header);
    for (const auto& row : rows) {
      std::string out;
      for (const std::string& cell : row) out += (out.empty() ? "" : "\t") + cell;
      std::printf("%s\n", out.c_str());
    }
  } else {
    std::printf("{\"hits\": %zu, \"rows\": [", hits.size());
    for (size_t r = 0; r < rows.size(); ++r) {
      std::string out = r ? ",\n  {" : "\n  {";
      for (size_t c = 0; c < rows[r].size(); ++c) {
        out += (c ? ", " : "") + JsonString(header[c]) + ": " +
               (c == 0 ? JsonString(rows[r][c]) : rows[r][c]);
      }
      std::fputs((out + "}").c_str(), stdout);
    }
    std::printf("\n]}\n");
  }
  if (hits.empty()) {
    std::fprintf(stderr, "No matches\n");
    return kNothingFound;
  }
  return kOk;
}

int RunRange(const Args& args) {
  const std::u16string text = ToU16(JoinPositional(args));
  if (text.empty()) {
    std::fprintf(stderr, "usage: vorn-cli range --db NAME RANGES\n");
    return kBadInput;
  }
  Context ctx(args);
  CVornDB* db = ctx.OpenDb(args);
  if (!db) return kBadInput;
  DatabaseContext context(db);
  CQRanges ranges;
  QErrorPtr error = ranges.ParseList(text, 0);
  if (!error) error = ranges.Resolve(&context);
  if (error) {
    PrintError(*error, text);
    return kBadInput;
  }
  for (size_t i = 0; i < ranges.GetCount(); ++i) {
    const CQRange& r = ranges.Get(i);
    const WordIndex first = r.GetSpanStart();
    const WordIndex end = r.GetSpanEnd();
    const WordIndex last = end < 0 ? static_cast<WordIndex>(db->GetWordCount()) - 1 : end - 1;
    const std::u16string piece = text.substr(r.GetStart(), static_cast<size_t>(r.GetLast()) + 1);
    std::printf("%d\t%d\t%s\t%s\t%s\n", first, last, ShortRef(db, first).c_str(),
                ShortRef(db, last).c_str(), ToUtf8(piece).c_str());
  }
  return ranges.GetCount() ? kOk : kNothingFound;
}

}  // namespace vorn::cli
