#include "layout/layout_kinds.h"

#include <algorithm>

#include "layout/layout_query_state.h"
#include "layout/layout_units.h"

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

CRefsLayout::CRefsLayout(CVornDB* db, CViewMetrics* metrics, const CDBWordList* hits)
    : CHitsLayout(db, metrics, hits, u"References") {}

std::unique_ptr<CLayoutUnit> CRefsLayout::CreateUnit(WordIndex) {
  return std::make_unique<CLayoutUnitRefs>(db_, metrics_, hits_);
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
