#include "query/hit_analysis.h"

#include <algorithm>
#include <map>
#include <utility>

#include "textdb/line.h"
#include "textdb/verses.h"
#include "textdb/vorn_db.h"

namespace vorn {

std::vector<AnalysisPart> ListAnalysisParts(const CVornDB& db) {
  std::vector<AnalysisPart> parts;
  for (int i = 0; i < db.GetLineCount(); ++i) {
    const CVornDBLine* line = db.GetLine(i);
    parts.push_back({i, 0, line->GetPartName(0)});
    for (int p = 1;; ++p) {
      std::u16string name = line->GetPartName(p);
      if (name.empty()) break;
      parts.push_back({i, p, std::move(name)});
    }
  }
  return parts;
}

bool FindAnalysisPart(const CVornDB& db, std::u16string_view name, AnalysisPart* found) {
  for (AnalysisPart& p : ListAnalysisParts(db)) {
    if (p.name == name) {
      *found = std::move(p);
      return true;
    }
  }
  return false;
}

std::vector<HitValueCount> CountHitValues(const CVornDBLine& line, int part,
                                          const std::vector<uint32_t>& hits) {
  std::vector<uint32_t> ids;
  line.CollectValueIds(hits, part, &ids);
  std::sort(ids.begin(), ids.end());
  std::vector<HitValueCount> counts;
  for (size_t i = 0; i < ids.size();) {
    size_t j = i + 1;
    while (j < ids.size() && ids[j] == ids[i]) ++j;
    counts.push_back({ids[i], static_cast<uint32_t>(j - i)});
    i = j;
  }
  return counts;
}

std::vector<HitPlaceCount> CountHitPlaces(const CVornDB& db, const std::vector<uint32_t>& hits,
                                          bool by_chapter, int book) {
  std::vector<HitPlaceCount> places;
  const CVornDBVerses* verses = db.GetVerses();
  if (!verses || verses->FileCount() == 0) return places;
  const std::vector<uint32_t>* sorted = &hits;
  std::vector<uint32_t> copy;
  if (!std::is_sorted(hits.begin(), hits.end())) {
    copy = hits;
    std::sort(copy.begin(), copy.end());
    sorted = &copy;
  }
  // Verse records in text order; a book or chapter whose verses do not
  // stand together still gets one entry.
  std::map<std::pair<int, int>, size_t> index;
  const VerseNdx* records = verses->FileBegin();
  const uint32_t count = verses->FileCount();
  auto hit = sorted->begin();
  for (uint32_t r = 0; r + 1 < count; ++r) {
    const VerseNdx& v = records[r];
    const uint32_t first = v.first_word;
    const uint32_t end = std::max(first, records[r + 1].first_word);
    if (book > 0 && v.book != book) continue;
    const std::pair<int, int> key{v.book, by_chapter ? v.chapter : 0};
    auto [at, added] = index.try_emplace(key, places.size());
    if (added) places.push_back({key.first, key.second, 0, 0, -1});
    HitPlaceCount& place = places[at->second];
    place.words += end - first;
    hit = std::lower_bound(hit, sorted->end(), first);
    auto stop = std::lower_bound(hit, sorted->end(), end);
    if (stop != hit) {
      place.hits += static_cast<uint32_t>(stop - hit);
      const WordIndex w = static_cast<WordIndex>(*hit);
      if (place.first_hit < 0 || w < place.first_hit) place.first_hit = w;
    }
    hit = stop;
  }
  return places;
}

}  // namespace vorn
