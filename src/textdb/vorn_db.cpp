#include "textdb/vorn_db.h"

#include "platform/file_system.h"
#include "platform/message_sink.h"
#include "textdb/db_stats.h"
#include "textdb/form_line.h"
#include "textdb/formats.h"
#include "textdb/gloss_line.h"
#include "textdb/headings.h"
#include "textdb/links_line.h"
#include "textdb/ordinary_line.h"
#include "textdb/sentences.h"
#include "textdb/tags_line.h"
#include "textdb/verses.h"

namespace vorn {

CVornDB::CVornDB(const CVornDBStats* stats, platform::CMessageSink* sink, CIniFile* settings)
    : stats_(stats), sink_(sink), settings_(settings) {}

CVornDB::~CVornDB() = default;

bool CVornDB::Open() {
  headings_ = stats_->OpenHeadings(&heading_fonts_);
  if (!headings_) return false;
  verses_ = stats_->OpenVerses(&verse_fonts_);
  // A database may lack a verse index, but one that is there and damaged is
  // refused rather than half read.
  if (!verses_ && platform::FileExists(platform::JoinPath(stats_->GetFolder(), "verses.ndx")))
    return false;
  formats_ = stats_->OpenFormats();
  // The same for format data the description announces: a table that is
  // there but damaged or emptied is refused, not served as "no formats".
  if (!stats_->GetValue("/Formats").empty() &&
      platform::FileExists(platform::JoinPath(stats_->GetFolder(), "Format.ndx")) &&
      (!formats_ || formats_->GetCount() == 0))
    return false;
  std::vector<std::string> names;
  stats_->GetLineNames(&names);
  for (const std::string& name : names) {
    CVornDBLine* line = CreateLine(name);
    // The links table has one entry per word; it can only be checked
    // against a line that defines the word count.
    if (auto* links = dynamic_cast<CVornDBLinks*>(line); links && GetLineCount() > 1)
      links->SetDatabaseWordCount(GetWordCount());
    if (!line->Open()) return false;
  }
  // Every line covers the same words, and the verse index ends where they do.
  // A line with a per-word table must match exactly, even when that table is
  // empty: its look-ups index the table by word. Only the links line has no
  // word count of its own (it checked its table against the count above).
  const uint32_t count = GetWordCount();
  for (const auto& line : lines_) {
    const uint32_t n = line->GetWordCount();
    const bool has_word_table = dynamic_cast<const CVornDBOrdinaryLine*>(line.get()) != nullptr;
    if (has_word_table ? n != count : (n != 0 && n != count)) return false;
  }
  if (verses_ && verses_->GetClosingWord() != count) return false;
  // Book numbers of the verse index are positions in the "/Books" list; a
  // shorter list would label verses with the codes of other books. (A longer
  // one only names books the text lacks.)
  if (verses_ && verses_->GetBookCount() > stats_->GetBookCount()) return false;
  headings_->SetWordCount(count);
  if (formats_) formats_->SetWordCount(count);
  return true;
}

CVornDBLine* CVornDB::CreateLine(const std::string& name) {
  CVornDBLineParams params(name, stats_, this, settings_);
  const int index = GetLineCount();
  std::unique_ptr<CVornDBLine> line;
  if (name == "Form") {
    line = std::make_unique<CVornDBFormLine>(params);
    form_line_ = index;
  } else if (name == "Tlit") {
    line = std::make_unique<CVornDBOrdinaryLine>(params, nullptr);
    tlit_line_ = index;
  } else if (name == "Tag") {
    line = std::make_unique<CVornDBTagsLine>(params);
    tag_line_ = index;
  } else if (name == "Glos") {
    line = std::make_unique<CVornDBGlossLine>(params);
    gloss_line_ = index;
  } else if (name == "Lema") {
    line = std::make_unique<CVornDBOrdinaryLine>(params, nullptr);
    lemma_line_ = index;
  } else if (name == "Links") {
    line = std::make_unique<CVornDBLinks>(params);
    links_line_ = index;
  } else {
    line = std::make_unique<CVornDBOrdinaryLine>(params, nullptr);
  }
  lines_.push_back(std::move(line));
  return lines_.back().get();
}

std::u16string CVornDB::GetName() const { return stats_->GetName(); }
std::u16string CVornDB::GetTitle() const { return stats_->GetTitle(); }
std::u16string CVornDB::GetBookCode(int book) const { return stats_->GetBookCode(book); }
int CVornDB::GetBookNumber(std::u16string_view code) const { return stats_->GetBookNumber(code); }

std::string CVornDB::GetLineName(int index) const {
  if (index < 0 || index >= GetLineCount()) return {};
  return lines_[static_cast<size_t>(index)]->GetName();
}

CVornDBLine* CVornDB::FindLineByQueryName(std::u16string_view name) const {
  for (const auto& line : lines_)
    if (line->HasQueryName(name)) return line.get();
  return nullptr;
}

uint32_t CVornDB::GetWordCount() const { return lines_.empty() ? 0 : lines_[0]->GetWordCount(); }

bool CVornDB::IsRightToLeft() const {
  return !lines_.empty() && lines_[0]->GetFont().right_to_left();
}

std::unique_ptr<CWordLine> CVornDB::CreateWordLine(WordIndex word, int line) {
  if (line < 0 || line >= GetLineCount()) return nullptr;
  return lines_[static_cast<size_t>(line)]->CreateWordLine(word);
}

int CVornDB::FindAltIndex(int line, std::u16string_view name) const {
  if (line < 0 || line >= GetLineCount()) return 0;
  return lines_[static_cast<size_t>(line)]->FindAltIndex(name);
}

void CVornDB::GetLineFonts(std::vector<CFontFormat>* fonts) const {
  fonts->clear();
  for (const auto& line : lines_) fonts->push_back(line->GetFont());
}

CFontFormat CVornDB::GetTagLabelFont() const { return stats_->GetTagLabelFont(); }

std::unique_ptr<CHeading> CVornDB::GetHeading(WordIndex word) const {
  return headings_ ? headings_->GetHeading(word) : nullptr;
}

std::u16string CVornDB::GetFormatCode(WordIndex word) const {
  return formats_ ? formats_->GetFormatCode(word) : std::u16string();
}

namespace {
// Unit starts come from tables that are checked for order at open but not
// against the word count: a damaged one may name words beyond the text (or
// beyond 2^31, read as negative), and callers walk a span word by word.
// Once the word count is known every unit has a real end.
WordSpan ClampToWords(WordSpan span, uint32_t count) {
  if (count == 0 || span.IsNone()) return span;
  const WordIndex end = static_cast<WordIndex>(count);
  if (span.end < 0 || span.end > end) span.end = end;
  if (span.first < 0) span.first = 0;
  if (span.first > span.end) span.first = span.end;
  return span;
}
}  // namespace

WordSpan CVornDB::GetUnitBounds(WordIndex word) const {
  WordSpan h = headings_ ? headings_->GetHeadingRange(word)
                         : WordSpan{0, static_cast<WordIndex>(GetWordCount())};
  if (formats_) {
    WordSpan f = formats_->GetFormatRange(word);
    h = {std::max(h.first, f.first), std::min(h.end, f.end)};
  }
  return ClampToWords(h, GetWordCount());
}

WordSpan CVornDB::GetSentenceRange(WordIndex word, const std::vector<uint32_t>* merged) {
  if (!sentences_) {
    auto s = std::make_unique<CVornDBSent>(stats_->GetFolder());
    if (!s->Open()) {
      if (sink_) sink_->ShowWarning(u"Couldn't read Sentence data!");
      return {0, -1};
    }
    s->SetWordCount(GetWordCount());
    sentences_ = std::move(s);
  }
  return ClampToWords(sentences_->GetSentenceRange(word, merged), GetWordCount());
}

}  // namespace vorn
