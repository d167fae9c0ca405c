#include "textdb/headings.h"

#include "textdb/sorted_tables.h"

namespace vorn {

namespace {
uint32_t WordOf(const WordPos& r) { return r.word; }
}  // namespace

CVornDBHeadings::CVornDBHeadings(const std::string& folder)
    : texts_(folder, "heads.db"), index_(folder, "heads.ndx") {}

bool CVornDBHeadings::Open() {
  if (!texts_.Open() || !index_.Open()) return false;
  if (!HasWholeRecords(texts_) || !HasWholeRecords(index_)) return false;
  if (!IsStrictlySortedByKey(index_, WordOf)) return false;
  // Heading texts without an index (or an index without texts) are what an
  // emptied table leaves.
  if ((index_.GetCount() == 0) != (texts_.GetCount() == 0)) return false;
  // Every chain is walked once here; chains are short and shared starts are
  // rare, so this costs about one pass over heads.db.
  for (const WordPos& r : index_) {
    if (!ReadChain(r.pos, nullptr)) return false;
  }
  return true;
}

bool CVornDBHeadings::ReadChain(uint32_t pos, std::unique_ptr<CHeading>* out) const {
  const uint32_t size = texts_.GetCount();
  std::unique_ptr<CHeading>* link = out;
  while (true) {
    if (pos >= size) return false;
    const char16_t level = texts_[pos];
    if (level < 1 || level > kMaxLevel) return false;
    ++pos;
    CHeading* heading = nullptr;
    if (link) {
      *link = std::make_unique<CHeading>();
      heading = link->get();
      heading->level_ = level;
    }
    // Texts follow until a code unit that is 0 (end of chain) or a level.
    while (true) {
      if (pos >= size) return false;
      const char16_t c = texts_[pos];
      if (c == 0) return true;
      if (c <= kMaxLevel) break;
      if (heading) heading->texts_.push_back(&texts_[pos]);
      while (pos < size && texts_[pos] != 0) ++pos;
      if (pos >= size) return false;
      ++pos;  // past the text's 0
    }
    if (heading) link = &heading->next_;
  }
}

std::unique_ptr<CHeading> CVornDBHeadings::GetHeading(WordIndex word) const {
  if (word < 0) return nullptr;
  const WordPos* r = LowerBoundWord(index_, static_cast<uint32_t>(word), WordOf);
  if (r == index_.end() || r->word != static_cast<uint32_t>(word)) return nullptr;
  std::unique_ptr<CHeading> chain;
  // Open checked every chain, so this does not fail on an opened table.
  if (!ReadChain(r->pos, &chain)) return nullptr;
  return chain;
}

WordSpan CVornDBHeadings::GetHeadingRange(WordIndex word) const {
  return UnitRange(index_, word, word_count_, WordOf);
}

}  // namespace vorn
