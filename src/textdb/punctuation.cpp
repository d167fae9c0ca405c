#include "textdb/punctuation.h"

#include <unicode/uchar.h>

#include "textdb/sorted_tables.h"

namespace vorn {

namespace {

uint32_t WordOf(const WordPos& r) { return r.word; }

// Offsets inside a punct.ndx entry.
constexpr uint32_t kCapitalSlot = 0;
constexpr uint32_t kPrefixLengthSlot = 1;
constexpr uint32_t kPrefixStart = 2;

}  // namespace

CVornDBPunctuation::CVornDBPunctuation(const std::string& folder)
    : entries_(folder, "punct.ndx"), index_(folder, "punctndx.ndx") {}

CVornDBPunctuation::~CVornDBPunctuation() = default;

bool CVornDBPunctuation::Open() {
  if (!entries_.Open() || !index_.Open()) return false;
  if (!HasWholeRecords(entries_) || !HasWholeRecords(index_)) return false;
  if (!IsStrictlySortedByKey(index_, WordOf)) return false;
  // Entries without an index (or an index without entries) are what an
  // emptied table leaves.
  if ((index_.GetCount() == 0) != (entries_.GetCount() == 0)) return false;
  if (index_.GetCount() == 0) return true;
  // With a 0 at the very end, a suffix that starts inside the file also ends
  // inside it.
  if (!EndsWithZero(entries_)) return false;
  const uint64_t size = entries_.GetCount();
  for (const WordPos& r : index_) {
    if (uint64_t{r.pos} + kPrefixStart > size) return false;
    const uint64_t suffix = uint64_t{r.pos} + kPrefixStart + entries_[r.pos + kPrefixLengthSlot];
    if (suffix >= size) return false;
    // An entry changes something; an empty one is what a zero-filled
    // table leaves.
    if (entries_[r.pos + kCapitalSlot] == 0 && entries_[r.pos + kPrefixLengthSlot] == 0 &&
        entries_[suffix] == 0)
      return false;
  }
  return true;
}

bool CVornDBPunctuation::Apply(WordIndex word, std::u16string_view text,
                               std::u16string* out) const {
  if (word < 0) return false;
  const WordPos* r = LowerBoundWord(index_, static_cast<uint32_t>(word), WordOf);
  if (r == index_.end() || r->word != static_cast<uint32_t>(word)) return false;
  const char16_t* e = &entries_[r->pos];
  const size_t prefix_length = e[kPrefixLengthSlot];
  std::u16string result(text);
  if (e[kCapitalSlot] != 0) Capitalise(&result, e[kCapitalSlot] - 1u);
  if (prefix_length != 0) result.insert(0, e + kPrefixStart, prefix_length);
  result.append(e + kPrefixStart + prefix_length);
  *out = std::move(result);
  return true;
}

void CVornDBPunctuation::Capitalise(std::u16string* text, size_t index) const {
  if (index >= text->size()) return;
  char16_t& c = (*text)[index];
  // The simple upper-case mapping gives c - 32 for a-z and the basic Greek
  // small letters and c + 8 for the small letters with breathings, and also
  // the right capital where a fixed offset would not (final sigma, the
  // vowels with grave or acute of U+1F70..U+1F7D, capitals already).
  const bool raised = (c >= u'a' && c <= u'z') || (c >= 0x03B1 && c <= 0x03C9) ||
                      (c >= 0x1F00 && c <= 0x1F87) || c == 0x1FE5;
  if (raised) c = static_cast<char16_t>(u_toupper(c));
}

namespace {

struct PelorinRow {
  unsigned char key;   // low byte of the first code unit
  char16_t breathing;  // the breathing sign put before the capital
  char16_t capital;
};

// In the order the rows are searched.
constexpr PelorinRow kPelorinRows[] = {
    {0x83, 0x68, 'A'}, {0x84, 0xA9, 'A'}, {0x85, 0xAA, 'A'}, {0x86, 0xAB, 'A'}, {0x87, 0x48, 'A'},
    {0x88, 0xAD, 'A'}, {0x89, 0xAE, 'A'}, {0x8A, 0xAF, 'A'}, {0x9B, 0x68, 'E'}, {0x9C, 0xA9, 'E'},
    {0x9D, 0x48, 'E'}, {0x9E, 0xAD, 'E'}, {0x9F, 0xAA, 'E'}, {0xD3, 0x68, 'J'}, {0xD4, 0xA9, 'J'},
    {0xD5, 0xAA, 'J'}, {0xD6, 0xAB, 'J'}, {0xD7, 0x48, 'J'}, {0xD8, 0xAD, 'J'}, {0xD9, 0xAE, 'J'},
    {0xDA, 0xAF, 'J'}, {0xB3, 0x68, 'I'}, {0xB4, 0xA9, 'I'}, {0xB5, 0xAB, 'I'}, {0xB8, 0x48, 'I'},
    {0xB9, 0xAD, 'I'}, {0xBA, 0xAF, 'I'}, {0xBE, 0xAA, 'I'}, {0xCE, 0xAE, 'O'}, {0xE9, 0x68, 'O'},
    {0xEA, 0xA9, 'O'}, {0xEB, 0xAA, 'O'}, {0xEC, 0x48, 'O'}, {0xED, 0xAD, 'O'}, {0xBF, 0x68, 'R'},
    {0xC3, 0x68, 'U'}, {0xC4, 0xA9, 'U'}, {0xC5, 0xAA, 'U'}, {0xC6, 0xAB, 'U'}, {0xC7, 0x48, 'U'},
    {0xC8, 0xAD, 'U'}, {0xC9, 0xAE, 'U'}, {0xCA, 0xAF, 'U'}, {0xF3, 0x68, 'W'}, {0xF4, 0xA9, 'W'},
    {0xF5, 0xAA, 'W'}, {0xF6, 0xAB, 'W'}, {0xF7, 0x48, 'W'}, {0xF8, 0xAD, 'W'}, {0xF9, 0xAE, 'W'},
    {0xFA, 0xAF, 'W'},
};

}  // namespace

void CVornDBPunctuationGreek::Capitalise(std::u16string* text, size_t index) const {
  if (index == 0 && !text->empty()) {
    const unsigned char low = static_cast<unsigned char>((*text)[0] & 0xFF);
    for (const PelorinRow& row : kPelorinRows) {
      if (row.key == low) {
        text->replace(0, 1, std::u16string{row.breathing, row.capital});
        return;
      }
    }
  }
  CVornDBPunctuation::Capitalise(text, index);
}

}  // namespace vorn
