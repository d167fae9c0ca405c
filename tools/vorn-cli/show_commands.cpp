// Laying out text from a terminal: show prints a passage in a text layout,
// hits prints a query's hits the way the hits pane lays them out, both as
// the clipboard commands of a pane write them (plain text, table rich text
// or running rich text), measured on the deterministic text device.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <regex>
#include <string>
#include <vector>

#include "cli.h"
#include "device/text_device.h"
#include "layout/layout_kinds.h"
#include "layout/layout_query_state.h"
#include "layout/layout_tags.h"
#include "layout/layout_twips.h"
#include "markup/markup_context.h"
#include "metrics/rich_text.h"
#include "metrics/view_metrics.h"
#include "platform/u16.h"
#include "query/query_processor.h"
#include "query/ranges.h"
#include "textdb/vorn_db.h"

namespace vorn::cli {

namespace {

using platform::ToU16;
using platform::ToUtf8;

// Room for a long passage; only the width decides the lines.
constexpr int kWindowHeight = 1000;
constexpr int kDefaultWidth = 800;
// 8.5 inches less two margins of an inch, in twips.
constexpr int kLetterTextTwips = 6 * 1440 + 720;

// The window's query state as the command line has it: the hits of one
// query (or none), the user tags of the session and its analysis.
class CliQueryState : public CLayoutQueryState {
 public:
  explicit CliQueryState(CMarkupContext* markup) : markup_(markup), tags_(&markup->GetViewTags()) {}
  const CDBWordList& GetHitList() const override { return hits_; }
  CWordMarkupSource* GetWordMarkup() override { return &tags_; }
  CPropositions* GetLayoutPropositions() override { return markup_->GetPropositions(); }
  CDBWordList& hits() { return hits_; }

 private:
  CMarkupContext* markup_;
  CViewTagsMarkup tags_;
  CDBWordList hits_;
};

std::string JoinPositional(const Args& args) {
  std::string text;
  for (const std::string& p : args.positional()) text += (text.empty() ? "" : " ") + p;
  return text;
}

// Passages are written as references are ("JHN 1:1-5" is John 1:1 to 1:5),
// while the range syntax of queries reads a number after a dash as a
// chapter. Each piece "C:V-N" becomes "C:V-C:N" before it is parsed.
std::string PassageToRanges(const std::string& passage) {
  static const std::regex kVerseRun(R"((\d+)\s*:\s*(\d+[A-Za-z]?)\s*-\s*(\d+[A-Za-z]?)\s*$)");
  std::string out;
  size_t start = 0;
  while (start <= passage.size()) {
    const size_t comma = std::min(passage.find(',', start), passage.size());
    const std::string piece = passage.substr(start, comma - start);
    out += std::regex_replace(piece, kVerseRun, "$1:$2-$1:$3");
    if (comma < passage.size()) out += ',';
    start = comma + 1;
  }
  return out;
}

std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

// The database line a --lines name stands for: the short role names, or a
// line's own name, compared without regard to case; -1 when none.
int FindLine(CVornDB* db, const std::string& name) {
  static const std::map<std::string, std::string> kRoles = {
      {"text", "form"},  {"trans", "tlit"},  {"translit", "tlit"},
      {"tag", "tag"},    {"gloss", "glos"},  {"base", "lema"},
      {"lemma", "lema"}, {"notes", "links"}, {"links", "links"}};
  std::string wanted = Lower(name);
  if (auto it = kRoles.find(wanted); it != kRoles.end()) wanted = it->second;
  for (int i = 0; i < db->GetLineCount(); ++i)
    if (Lower(db->GetLineName(i)) == wanted) return i;
  return -1;
}

// Shows only the lines of --lines, in the database's order; false after a
// message when a name is unknown or none is left.
bool ApplyLines(const Args& args, CVornDB* db, CViewMetrics* metrics) {
  const std::string list = args.Get("--lines");
  if (list.empty()) return true;
  std::vector<bool> show(static_cast<size_t>(db->GetLineCount()), false);
  size_t start = 0;
  while (start <= list.size()) {
    const size_t comma = std::min(list.find(',', start), list.size());
    const std::string name = list.substr(start, comma - start);
    start = comma + 1;
    if (name.empty()) continue;
    const int line = FindLine(db, name);
    if (line < 0) {
      std::string names;
      for (int i = 0; i < db->GetLineCount(); ++i) names += (i ? ", " : "") + db->GetLineName(i);
      std::fprintf(stderr, "No line \"%s\" (text, trans, tag, gloss, base, notes, or one of: %s)\n",
                   name.c_str(), names.c_str());
      return false;
    }
    show[static_cast<size_t>(line)] = true;
  }
  if (std::find(show.begin(), show.end(), true) == show.end()) {
    std::fprintf(stderr, "--lines names no line\n");
    return false;
  }
  // Show the new lines first, so that there is never a moment without one.
  for (int i = 0; i < db->GetLineCount(); ++i)
    if (show[static_cast<size_t>(i)]) metrics->SetLineVisible(i, true);
  for (int i = 0; i < db->GetLineCount(); ++i)
    if (!show[static_cast<size_t>(i)]) metrics->SetLineVisible(i, false);
  return true;
}

enum class Output { kText, kRtfTable, kRtfText };

bool GetOutput(const Args& args, Output* out) {
  const int given = args.Has("--text") + args.Has("--rtf") + args.Has("--rtf-text");
  if (given > 1) {
    std::fprintf(stderr, "Give one of --text, --rtf and --rtf-text\n");
    return false;
  }
  *out = args.Has("--rtf")        ? Output::kRtfTable
         : args.Has("--rtf-text") ? Output::kRtfText
                                  : Output::kText;
  return true;
}

// Lays out `selection` with `layout` and writes it as the pane's copy
// commands do, to --out or stdout.
int Write(const Args& args, CLayout* layout, CViewMetrics* metrics, CTextDevice* device,
          const std::vector<WordIndex>& selection, Output output) {
  // A table's rows fit the page: --page-width twips, by default the width
  // of a Letter page within margins of an inch.
  if (output == Output::kRtfTable) {
    const int page = std::atoi(args.Get("--page-width", std::to_string(kLetterTextTwips)).c_str());
    if (page <= 0) {
      std::fprintf(stderr, "--page-width needs a number of twips\n");
      return kBadInput;
    }
    const int pixels = CLayoutTwips(*metrics).Pixels(page);
    if (pixels < metrics->GetWidth()) metrics->SetSize(pixels, metrics->GetHeight());
  }
  // Copy as Text shows the top visible line only.
  if (output != Output::kRtfTable) {
    for (int i = metrics->GetTopVisibleLine() + 1; i < metrics->GetLineCount(); ++i)
      metrics->SetLineVisible(i, false);
    metrics->Prepare(device, 0);
  }
  layout->BuildForSelection(selection);
  std::u16string text;
  std::string bytes;
  if (output == Output::kText) {
    layout->WriteText(&text);
    // A copy cut inside a unit leaves it open; a file or a terminal wants
    // its last line ended.
    if (!text.empty() && text.back() != u'\n') text += u"\r\n";
    bytes = ToUtf8(text);
  } else {
    if (output == Output::kRtfTable) {
      layout->WriteRtfTable(&text);
    } else {
      layout->WriteRtfText(&text);
    }
    bytes = RtfToBytes(text);
  }

  const std::string path = args.Get("--out");
  FILE* f = path.empty() ? stdout : std::fopen(path.c_str(), "wb");
  if (!f) {
    std::fprintf(stderr, "Cannot write %s\n", path.c_str());
    return kBadInput;
  }
  const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  if (f != stdout && std::fclose(f) != 0) {
    std::fprintf(stderr, "Cannot write %s\n", path.c_str());
    return kBadInput;
  }
  if (!ok) return kBadInput;
  return kOk;
}

// The view both commands lay out with: the database's fonts on the text
// device at --width pixels, right to left with --rtl (or when the database
// reads so), the lines of --lines.
bool PrepareMetrics(const Args& args, CVornDB* db, CViewMetrics* metrics, CTextDevice* device) {
  const int width = std::atoi(args.Get("--width", std::to_string(kDefaultWidth)).c_str());
  if (width <= 0) {
    std::fprintf(stderr, "--width needs a number of pixels\n");
    return false;
  }
  if (!ApplyLines(args, db, metrics)) return false;
  if (args.Has("--rtl")) metrics->SetRightToLeft(true);
  metrics->SetSize(width, kWindowHeight);
  metrics->Prepare(device, 0);
  return true;
}

}  // namespace

int RunShow(const Args& args) {
  Output output;
  if (!GetOutput(args, &output)) return kBadInput;
  static const std::map<std::string, int> kLayouts = {{"paragraphs", kLayoutParagraphs},
                                                      {"verses", kLayoutVerses},
                                                      {"sentences", kLayoutSentences},
                                                      {"propositions", kLayoutPropositions}};
  const auto kind = kLayouts.find(args.Get("--layout", "verses"));
  if (kind == kLayouts.end()) {
    std::fprintf(stderr, "--layout is paragraphs, verses, sentences or propositions\n");
    return kBadInput;
  }
  const std::u16string range_text = ToU16(PassageToRanges(JoinPositional(args)));
  if (range_text.empty()) {
    std::fprintf(stderr, "Give the passage, for example \"JHN 1:1-5\"\n");
    return kBadInput;
  }
  Context ctx(args);
  CVornDB* db = ctx.OpenDb(args);
  if (!db) return kBadInput;
  MarkupSession session(args, db, &ctx.sink());
  if (!session.ok()) return kBadInput;

  CQRanges ranges;
  QErrorPtr error = ranges.ParseList(range_text, 0);
  if (!error) error = ranges.Resolve(session.context());
  if (error) {
    std::fprintf(stderr, "%s: %s\n", ToUtf8(error->GetMessage()).c_str(),
                 ToUtf8(range_text).c_str());
    return kBadInput;
  }
  std::vector<WordIndex> selection;
  const WordIndex count = static_cast<WordIndex>(db->GetWordCount());
  for (size_t i = 0; i < ranges.GetCount(); ++i) {
    const CQRange& r = ranges.Get(i);
    const WordIndex end = r.GetSpanEnd() < 0 || r.GetSpanEnd() > count ? count : r.GetSpanEnd();
    for (WordIndex w = std::max(r.GetSpanStart(), 0); w < end; ++w) selection.push_back(w);
  }
  std::sort(selection.begin(), selection.end());
  selection.erase(std::unique(selection.begin(), selection.end()), selection.end());
  if (selection.empty()) {
    std::fprintf(stderr, "The passage holds no words\n");
    return kNothingFound;
  }

  CliQueryState state(session.markup());
  CTextDevice device;
  CViewMetrics metrics(db, state.GetWordMarkup());
  if (!PrepareMetrics(args, db, &metrics, &device)) return kBadInput;
  std::unique_ptr<CLayout> layout = MakeLayout(kind->second, false, db, &metrics, &state);
  return Write(args, layout.get(), &metrics, &device, selection, output);
}

int RunHits(const Args& args) {
  Output output;
  if (!GetOutput(args, &output)) return kBadInput;
  static const std::map<std::string, int> kLayouts = {{"refs", kLayoutReferences},
                                                      {"hitverses", kLayoutHitVerses},
                                                      {"concordance", kLayoutConcordance}};
  const auto kind = kLayouts.find(args.Get("--layout", "refs"));
  if (kind == kLayouts.end()) {
    std::fprintf(stderr, "--layout is refs, hitverses or concordance\n");
    return kBadInput;
  }
  const std::u16string text = CQueryProcessor::StripEmbeddingMarks(ToU16(JoinPositional(args)));
  if (text.empty()) {
    std::fprintf(stderr, "Give the query\n");
    return kBadInput;
  }
  Context ctx(args);
  CVornDB* db = ctx.OpenDb(args);
  if (!db) return kBadInput;
  MarkupSession session(args, db, &ctx.sink());
  if (!session.ok()) return kBadInput;

  CQueryProcessor processor(text, session.context(), nullptr);
  if (!processor.Execute()) {
    const CQError& e = *processor.GetError();
    std::fprintf(stderr, "%s (characters %d-%d): %s\n", ToUtf8(e.GetMessage()).c_str(),
                 e.GetFirst(), e.GetLast(), ToUtf8(text).c_str());
    return kBadInput;
  }
  if (processor.GetHits().empty()) {
    std::fprintf(stderr, "No matches\n");
    return kNothingFound;
  }

  CliQueryState state(session.markup());
  std::vector<WordIndex> selection;
  for (uint32_t w : processor.GetHits()) {
    state.hits().Push(w);
    selection.push_back(static_cast<WordIndex>(w));
  }
  CTextDevice device;
  CViewMetrics metrics(db, state.GetWordMarkup());
  if (!PrepareMetrics(args, db, &metrics, &device)) return kBadInput;
  std::unique_ptr<CLayout> layout = MakeLayout(kind->second, true, db, &metrics, &state);
  return Write(args, layout.get(), &metrics, &device, selection, output);
}

}  // namespace vorn::cli
