// Hit analysis: how the words a query found are spread over the values of
// one part of a database line (each base form, each grammar tag, each
// character of a tag), and over the books or chapters of the text. The
// desktop's analysis dialog, its chart and the command line's analyse
// command all count here, so they agree.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "textdb/types.h"

namespace vorn {

class CVornDB;
class CVornDBLine;

// One analysable entry: a line (part 0) or one of its sub-parts.
struct AnalysisPart {
  int line = -1;
  int part = 0;
  std::u16string name;
};

// Every analysable part of `db`: for each line in order its name, then its
// part names 1, 2, ... until the first empty one.
std::vector<AnalysisPart> ListAnalysisParts(const CVornDB& db);

// The first entry of ListAnalysisParts named `name`; false (and `*found`
// untouched) when there is none.
[[nodiscard]] bool FindAnalysisPart(const CVornDB& db, std::u16string_view name,
                                    AnalysisPart* found);

// One distinct value and the number of hits that carry it.
struct HitValueCount {
  uint32_t id = 0;
  uint32_t count = 0;
};

// The distinct value identifiers of `part` of `line` over `hits`, ascending
// by identifier (not by text), each with its count. Empty for no hits or an
// unknown part. The counts add up to the number of values collected: the
// number of hits, except for a line whose words carry several values or
// none (links).
std::vector<HitValueCount> CountHitValues(const CVornDBLine& line, int part,
                                          const std::vector<uint32_t>& hits);

// The hits of one book (chapter 0) or of one chapter, with the words of the
// text it covers and its first hit.
struct HitPlaceCount {
  int book = 0;
  int chapter = 0;
  uint32_t hits = 0;
  uint32_t words = 0;
  WordIndex first_hit = -1;
  // Hits per 1,000 words of the book or chapter; 0 for one without words.
  double PerThousand() const { return words ? hits * 1000.0 / words : 0.0; }
};

// The hits counted per book, or per chapter when `by_chapter`, in text
// order; every book (or chapter) of the verse index is listed, also those
// without hits. `book`, when above 0, keeps only that book's entries.
// Hits outside every verse are not counted. Empty when the database has no
// verse index. `hits` need not be sorted.
std::vector<HitPlaceCount> CountHitPlaces(const CVornDB& db, const std::vector<uint32_t>& hits,
                                          bool by_chapter, int book = 0);

}  // namespace vorn
