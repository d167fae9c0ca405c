// The layout kinds: how the text is cut into units and how units follow
// each other. Four text kinds for the text pane (by verse, paragraph,
// sentence, proposition), three hit kinds for the hits pane (reference
// list, hit verses, concordance).
#pragma once

#include <cstddef>
#include <memory>
#include <vector>

#include "layout/layout.h"
#include "textdb/word_list.h"

namespace vorn {

class CLayoutQueryState;
class CPropositions;

// The identifiers of the menu commands that choose a kind.
enum LayoutId : int {
  kLayoutParagraphs = 32815,
  kLayoutVerses = 32816,
  kLayoutSentences = 32817,
  kLayoutPropositions = 32818,
  kLayoutReferences = 32827,
  kLayoutHitVerses = 32828,
  kLayoutConcordance = 32829,
};

class CVerseLayout : public CLayout {
 public:
  CVerseLayout(CVornDB* db, CViewMetrics* metrics);
  std::unique_ptr<CLayoutUnit> CreateUnit(WordIndex key) override;
};

class CParaLayout : public CLayout {
 public:
  CParaLayout(CVornDB* db, CViewMetrics* metrics);
  std::unique_ptr<CLayoutUnit> CreateUnit(WordIndex key) override;
};

class CSentLayout : public CLayout {
 public:
  CSentLayout(CVornDB* db, CViewMetrics* metrics);
  std::unique_ptr<CLayoutUnit> CreateUnit(WordIndex key) override;
};

class CPropLayout : public CLayout {
 public:
  // `props` (may be null: every sentence one proposition) must outlive the
  // layout.
  CPropLayout(CVornDB* db, CViewMetrics* metrics, CPropositions* props);
  std::unique_ptr<CLayoutUnit> CreateUnit(WordIndex key) override;

 private:
  CPropositions* props_;
};

// The zone of words a hit owns (the words nearer to it than to its
// neighbours): for place k of the hits H, from the middle between H[k-1]
// and H[k] (0 for the first) to the middle between H[k] and H[k+1] (open
// for the last). The place past the end owns nothing, (-1, -1); an empty
// list gives (0, -1).
WordSpan HitZone(const CDBWordList& hits, size_t place);
// The place of the hit whose zone holds `word`; -1 for an empty list or a
// word of -1.
ptrdiff_t NearestHitPlace(const CDBWordList& hits, WordIndex word);

// The base of the hit kinds: layouts over a hit list (borrowed; it must
// outlive the layout).
class CHitsLayout : public CLayout {
 public:
  CHitsLayout(CVornDB* db, CViewMetrics* metrics, const CDBWordList* hits, std::u16string name);
  const CDBWordList& GetHits() const { return *hits_; }

 protected:
  const CDBWordList* hits_;
};

// The references of every hit, flowed into lines under a heading that
// counts them. On screen each display line is a unit of its own, made when
// it comes into view: where the lines break is worked out from the
// references' widths alone, without making their boxes, so a list of any
// length costs what the window shows. Written or printed, one unit holds
// the whole list.
class CRefsLayout : public CHitsLayout {
 public:
  CRefsLayout(CVornDB* db, CViewMetrics* metrics, const CDBWordList* hits);
  ~CRefsLayout() override;
  std::unique_ptr<CLayoutUnit> GetPrevUnit(const CLayoutUnit& unit) override;
  std::unique_ptr<CLayoutUnit> GetNextUnit(const CLayoutUnit& unit) override;
  std::unique_ptr<CLayoutUnit> CreateUnit(WordIndex key) override;

  // The place of the first hit of each display line, for the metrics as
  // they are now (worked out again when the width or the fonts change).
  const std::vector<uint32_t>& GetLineStarts();

 private:
  struct LineTable;
  // The unit of display line `line` (a valid line).
  std::unique_ptr<CLayoutUnit> MakeLine(size_t line);

  std::unique_ptr<LineTable> lines_;
};

// The kinds with one unit per hit, in list order (a verse with two hits
// gives two units).
class CHitUnitsLayout : public CHitsLayout {
 public:
  using CHitsLayout::CHitsLayout;
  std::unique_ptr<CLayoutUnit> GetPrevUnit(const CLayoutUnit& unit) override;
  std::unique_ptr<CLayoutUnit> GetNextUnit(const CLayoutUnit& unit) override;
  // The unit of the hit whose zone holds `key`.
  std::unique_ptr<CLayoutUnit> CreateUnit(WordIndex key) override;

 protected:
  // The unit of the hit at `place` (a valid place).
  virtual std::unique_ptr<CLayoutUnit> MakeHitUnit(size_t place) = 0;

 private:
  // The place of the hit a unit stands for; -1 when it is not in the list.
  ptrdiff_t PlaceOf(const CLayoutUnit& unit) const;
};

class CHitVersesLayout : public CHitUnitsLayout {
 public:
  CHitVersesLayout(CVornDB* db, CViewMetrics* metrics, const CDBWordList* hits);

 protected:
  std::unique_ptr<CLayoutUnit> MakeHitUnit(size_t place) override;
};

class CConcordLayout : public CHitUnitsLayout {
 public:
  CConcordLayout(CVornDB* db, CViewMetrics* metrics, const CDBWordList* hits);

 protected:
  std::unique_ptr<CLayoutUnit> MakeHitUnit(size_t place) override;
};

// The layout a pane makes for a layout identifier: the text pane makes the
// four text kinds, the hits pane the three hit kinds; any other identifier
// gives null. `db`, `metrics` and `state` are borrowed and must outlive the
// layout; `state` may be null (no hits, no propositions).
std::unique_ptr<CLayout> MakeLayout(int layout_id, bool hits_pane, CVornDB* db,
                                    CViewMetrics* metrics, CLayoutQueryState* state);

}  // namespace vorn
