#include "layout/layout_kinds.h"

#include <algorithm>
#include <string>
#include <unordered_map>

#include "layout/layout_box.h"
#include "layout/layout_query_state.h"
#include "layout/layout_units.h"
#include "metrics/view_metrics.h"
#include "refs/bible_ref.h"
#include "textdb/font_format.h"
#include "textdb/verses.h"
#include "textdb/vorn_db.h"

namespace vorn {

namespace {

// Gives back a unit only when its range could be found.
std::unique_ptr<CLayoutUnit> Valid(std::unique_ptr<CLayoutUnit> unit) {
  return IsValidUnit(*unit) ? std::move(unit) : nullptr;
}

// What hit layouts without a query state show.
const CDBWordList& NoHits() {
  static const CDBWordList empty;
  return empty;
}

}  // namespace

CVerseLayout::CVerseLayout(CVornDB* db, CViewMetrics* metrics) : CLayout(db, metrics, u"Verses") {}

std::unique_ptr<CLayoutUnit> CVerseLayout::CreateUnit(WordIndex key) {
  return Valid(std::make_unique<CLayoutUnitVerse>(db_, metrics_, key));
}

CParaLayout::CParaLayout(CVornDB* db, CViewMetrics* metrics)
    : CLayout(db, metrics, u"Paragraphs") {}

std::unique_ptr<CLayoutUnit> CParaLayout::CreateUnit(WordIndex key) {
  return Valid(std::make_unique<CLayoutUnitPara>(db_, metrics_, key));
}

CSentLayout::CSentLayout(CVornDB* db, CViewMetrics* metrics) : CLayout(db, metrics, u"Sentences") {}

std::unique_ptr<CLayoutUnit> CSentLayout::CreateUnit(WordIndex key) {
  return Valid(std::make_unique<CLayoutUnitSent>(db_, metrics_, key));
}

CPropLayout::CPropLayout(CVornDB* db, CViewMetrics* metrics, CPropositions* props)
    : CLayout(db, metrics, u"Propositions"), props_(props) {}

std::unique_ptr<CLayoutUnit> CPropLayout::CreateUnit(WordIndex key) {
  return Valid(std::make_unique<CLayoutUnitProp>(db_, metrics_, props_, key));
}

// --- Hits.

WordSpan HitZone(const CDBWordList& hits, size_t place) {
  const size_t n = hits.size();
  if (n == 0) return {0, -1};
  if (place >= n) return {};
  auto at = [&](size_t i) { return static_cast<int64_t>(hits[i]); };
  WordSpan zone;
  zone.first =
      place == 0 ? 0 : static_cast<WordIndex>(at(place - 1) + (at(place) - at(place - 1) + 1) / 2);
  zone.end =
      place + 1 == n ? -1 : static_cast<WordIndex>(at(place) + (at(place + 1) - at(place) + 1) / 2);
  return zone;
}

ptrdiff_t NearestHitPlace(const CDBWordList& hits, WordIndex word) {
  if (hits.empty() || word < 0) return -1;
  const auto& words = hits.words();
  const ptrdiff_t p =
      std::lower_bound(words.begin(), words.end(), static_cast<uint32_t>(word)) - words.begin();
  const WordSpan zone = HitZone(hits, static_cast<size_t>(p));
  // The place past the end owns no word, so a word after the last hit
  // belongs to the last hit.
  const bool inside = zone.first != -1 && word >= zone.first && (zone.end == -1 || word < zone.end);
  return inside ? p : p - 1;
}

CHitsLayout::CHitsLayout(CVornDB* db, CViewMetrics* metrics, const CDBWordList* hits,
                         std::u16string name)
    : CLayout(db, metrics, std::move(name)), hits_(hits ? hits : &NoHits()) {}

// --- Reference list.

namespace {

// The widths of reference boxes, by verse (the hits of a verse share their
// reference). Most references are no wider than the sample every box is
// at least as wide as; the sum of the widths of a reference's pieces (the
// book's name and blank, then each character of chapter and verse: digits
// and a colon, which fonts do not kern), with room for each piece's
// rounding, tells so without shaping the reference. Only the others are
// measured, once for each text.
class CRefWidths {
 public:
  explicit CRefWidths(const CViewMetrics& metrics)
      : metrics_(metrics),
        font_(metrics.GetVerseFont(CViewMetrics::kRefFont)),
        sample_(font_.GetExtent(CLayoutBoxRef::kSample).cx) {}

  // The width of the reference box of `word` in `db`.
  int BoxWidth(CVornDB* db, WordIndex word) {
    if (word >= verse_.first && word < verse_.end) return width_;
    verse_ = WordSpan{word, word + 1};
    if (const CVornDBVerses* verses = db->GetVerses()) {
      const VerseEntry e = verses->VerseOfWord(word);
      if (e) verse_ = verses->GetWordSpan(e);
      if (verse_.first == -1 || word < verse_.first || word >= verse_.end)
        verse_ = WordSpan{word, word + 1};
    }
    width_ = CLayoutBoxRef::WidthFor(metrics_, TextWidth(CBibleRef(db, word).FormatShort()));
    return width_;
  }

 private:
  // The width a reference's text counts for: the sample's at least.
  int TextWidth(const std::u16string& text) {
    const size_t blank = text.rfind(u' ');
    const size_t cut = blank == std::u16string::npos ? 0 : blank + 1;
    const std::u16string head = text.substr(0, cut);
    auto found = heads_.find(head);
    if (found == heads_.end()) found = heads_.emplace(head, font_.GetExtent(head).cx).first;
    int bound = found->second;
    for (size_t i = cut; i < text.size(); ++i) {
      auto c = chars_.find(text[i]);
      if (c == chars_.end())
        c = chars_.emplace(text[i], font_.GetExtent(std::u16string(1, text[i])).cx).first;
      bound += c->second;
    }
    // Each piece is rounded to a whole pixel on its own: half a pixel at
    // most each way, and one more for the whole text's own rounding.
    bound += static_cast<int>(text.size() - cut + 1) / 2 + 1;
    if (bound <= sample_) return sample_;
    auto exact = exact_.find(text);
    if (exact == exact_.end()) exact = exact_.emplace(text, font_.GetExtent(text).cx).first;
    return std::max(exact->second, sample_);
  }

  const CViewMetrics& metrics_;
  const CFontFormat& font_;
  const int sample_;
  std::unordered_map<std::u16string, int> heads_;
  std::unordered_map<char16_t, int> chars_;
  std::unordered_map<std::u16string, int> exact_;
  WordSpan verse_{-1, -1};
  int width_ = 0;
};

}  // namespace

// The line breaks of a reference list and what they were worked out for.
struct CRefsLayout::LineTable {
  const CDBWordList* hits = nullptr;
  size_t hit_count = 0;
  int width = 0;
  int space_unit = 0;
  int resolution = 0;
  CFontFormat font;
  std::vector<uint32_t> starts;
};

CRefsLayout::CRefsLayout(CVornDB* db, CViewMetrics* metrics, const CDBWordList* hits)
    : CHitsLayout(db, metrics, hits, u"References") {}

CRefsLayout::~CRefsLayout() = default;

const std::vector<uint32_t>& CRefsLayout::GetLineStarts() {
  const CFontFormat& font = metrics_->GetVerseFont(CViewMetrics::kRefFont);
  const int width = metrics_->GetWidth();
  if (lines_ && lines_->hits == hits_ && lines_->hit_count == hits_->size() &&
      lines_->width == width && lines_->space_unit == metrics_->GetSpaceUnit() &&
      lines_->resolution == font.resolution() && lines_->font == font)
    return lines_->starts;
  auto table = std::make_unique<LineTable>();
  table->hits = hits_;
  table->hit_count = hits_->size();
  table->width = width;
  table->space_unit = metrics_->GetSpaceUnit();
  table->resolution = font.resolution();
  table->font = font;
  // The same rule as a line's: a box goes on the line when it ends within
  // the width, and a line always takes its first box.
  CRefWidths widths(*metrics_);
  int right = 0;
  for (size_t place = 0; place < hits_->size(); ++place) {
    const int w = widths.BoxWidth(db_, static_cast<WordIndex>((*hits_)[place]));
    if (place == 0 || right + w > width) {
      table->starts.push_back(static_cast<uint32_t>(place));
      right = 0;
    }
    right += w;
  }
  lines_ = std::move(table);
  return lines_->starts;
}

std::unique_ptr<CLayoutUnit> CRefsLayout::MakeLine(size_t line) {
  const std::vector<uint32_t>& starts = GetLineStarts();
  const size_t first = starts[line];
  const size_t end = line + 1 < starts.size() ? starts[line + 1] : hits_->size();
  // The lines share the text out between them: the first from its start,
  // each later one from its first hit, the last to the end.
  const WordSpan range{line == 0 ? 0 : static_cast<WordIndex>((*hits_)[first]),
                       end == hits_->size() ? -1 : static_cast<WordIndex>((*hits_)[end])};
  return std::make_unique<CLayoutUnitRefs>(db_, metrics_, hits_, first, end, range);
}

std::unique_ptr<CLayoutUnit> CRefsLayout::CreateUnit(WordIndex key) {
  if (IsForOutput() || hits_->empty())
    return std::make_unique<CLayoutUnitRefs>(db_, metrics_, hits_);
  const auto& words = hits_->words();
  // The line of the last hit at or before the key (the first line before
  // the first hit).
  const size_t after = static_cast<size_t>(
      std::upper_bound(words.begin(), words.end(), static_cast<uint32_t>(std::max(key, 0))) -
      words.begin());
  const uint32_t place = static_cast<uint32_t>(after == 0 ? 0 : after - 1);
  const std::vector<uint32_t>& starts = GetLineStarts();
  const size_t line =
      static_cast<size_t>(std::upper_bound(starts.begin(), starts.end(), place) - starts.begin()) -
      1;
  return MakeLine(line);
}

std::unique_ptr<CLayoutUnit> CRefsLayout::GetPrevUnit(const CLayoutUnit& unit) {
  // The whole list has nothing before or after it.
  if (IsForOutput() || hits_->empty()) return nullptr;
  return CLayout::GetPrevUnit(unit);
}

std::unique_ptr<CLayoutUnit> CRefsLayout::GetNextUnit(const CLayoutUnit& unit) {
  if (IsForOutput() || hits_->empty()) return nullptr;
  return CLayout::GetNextUnit(unit);
}

ptrdiff_t CHitUnitsLayout::PlaceOf(const CLayoutUnit& unit) const {
  WordIndex hit = -1;
  if (auto* v = dynamic_cast<const CLayoutUnitHitVerse*>(&unit)) hit = v->GetHit();
  if (auto* c = dynamic_cast<const CLayoutUnitConcord*>(&unit)) hit = c->GetHit();
  if (hit < 0) return -1;
  const auto& words = hits_->words();
  auto it = std::lower_bound(words.begin(), words.end(), static_cast<uint32_t>(hit));
  if (it == words.end() || *it != static_cast<uint32_t>(hit)) return -1;
  return it - words.begin();
}

std::unique_ptr<CLayoutUnit> CHitUnitsLayout::GetPrevUnit(const CLayoutUnit& unit) {
  const ptrdiff_t place = PlaceOf(unit);
  if (place <= 0) return nullptr;
  return MakeHitUnit(static_cast<size_t>(place - 1));
}

std::unique_ptr<CLayoutUnit> CHitUnitsLayout::GetNextUnit(const CLayoutUnit& unit) {
  const ptrdiff_t place = PlaceOf(unit);
  if (place < 0 || static_cast<size_t>(place) + 1 >= hits_->size()) return nullptr;
  return MakeHitUnit(static_cast<size_t>(place + 1));
}

std::unique_ptr<CLayoutUnit> CHitUnitsLayout::CreateUnit(WordIndex key) {
  const ptrdiff_t place = NearestHitPlace(*hits_, key);
  if (place < 0) return nullptr;
  return MakeHitUnit(static_cast<size_t>(place));
}

CHitVersesLayout::CHitVersesLayout(CVornDB* db, CViewMetrics* metrics, const CDBWordList* hits)
    : CHitUnitsLayout(db, metrics, hits, u"Hit Verses") {}

std::unique_ptr<CLayoutUnit> CHitVersesLayout::MakeHitUnit(size_t place) {
  return Valid(std::make_unique<CLayoutUnitHitVerse>(
      db_, metrics_, static_cast<WordIndex>((*hits_)[place]), HitZone(*hits_, place)));
}

CConcordLayout::CConcordLayout(CVornDB* db, CViewMetrics* metrics, const CDBWordList* hits)
    : CHitUnitsLayout(db, metrics, hits, u"Concordance") {}

std::unique_ptr<CLayoutUnit> CConcordLayout::MakeHitUnit(size_t place) {
  return Valid(std::make_unique<CLayoutUnitConcord>(
      db_, metrics_, static_cast<WordIndex>((*hits_)[place]), HitZone(*hits_, place)));
}

std::unique_ptr<CLayout> MakeLayout(int layout_id, bool hits_pane, CVornDB* db,
                                    CViewMetrics* metrics, CLayoutQueryState* state) {
  const CDBWordList* hits = state ? &state->GetHitList() : nullptr;
  if (!hits_pane) {
    switch (layout_id) {
      case kLayoutParagraphs:
        return std::make_unique<CParaLayout>(db, metrics);
      case kLayoutVerses:
        return std::make_unique<CVerseLayout>(db, metrics);
      case kLayoutSentences:
        return std::make_unique<CSentLayout>(db, metrics);
      case kLayoutPropositions:
        return std::make_unique<CPropLayout>(db, metrics,
                                             state ? state->GetLayoutPropositions() : nullptr);
      default:
        return nullptr;
    }
  }
  switch (layout_id) {
    case kLayoutReferences:
      return std::make_unique<CRefsLayout>(db, metrics, hits);
    case kLayoutHitVerses:
      return std::make_unique<CHitVersesLayout>(db, metrics, hits);
    case kLayoutConcordance:
      return std::make_unique<CConcordLayout>(db, metrics, hits);
    default:
      return nullptr;
  }
}

}  // namespace vorn
