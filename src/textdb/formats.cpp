#include "textdb/formats.h"

#include "textdb/sorted_tables.h"

namespace vorn {

namespace {
uint32_t WordOf(const Format_t& r) { return r.word; }
// The fourth character of a record: a space there says the code goes on in
// the next record.
constexpr char kContinues = ' ';
}  // namespace

CVornDBFormats::CVornDBFormats(const std::string& folder) : table_(folder, "Format.ndx") {}

bool CVornDBFormats::Open() {
  if (!table_.Open()) return false;
  if (!HasWholeRecords(table_) || !IsSortedByKey(table_, WordOf)) return false;
  // A code always ends in a record that does not continue, so reading one
  // never runs past the table.
  const uint32_t n = table_.GetCount();
  if (n != 0 && table_[n - 1].code[3] == kContinues) return false;
  // A word has one code: records of one word follow one another only while
  // the code continues. A zero-filled table gives word 0 one empty code
  // after another.
  for (uint32_t i = 0; i < n; ++i) {
    if (i > 0 && table_[i - 1].word == table_[i].word && table_[i - 1].code[3] != kContinues)
      return false;
    if (table_[i].code[3] == kContinues && (i + 1 == n || table_[i + 1].word != table_[i].word))
      return false;
  }
  return true;
}

std::u16string CVornDBFormats::GetFormatCode(WordIndex word) const {
  std::u16string code;
  if (word < 0) return code;
  const Format_t* r = LowerBoundWord(table_, static_cast<uint32_t>(word), WordOf);
  if (r == table_.end() || r->word != static_cast<uint32_t>(word)) return code;
  for (; r->code[3] == kContinues; ++r) {
    for (int i = 0; i < 3; ++i) code.push_back(static_cast<unsigned char>(r->code[i]));
  }
  for (int i = 0; i < 4 && r->code[i] != 0; ++i) {
    code.push_back(static_cast<unsigned char>(r->code[i]));
  }
  return code;
}

WordSpan CVornDBFormats::GetFormatRange(WordIndex word) const {
  return UnitRange(table_, word, word_count_, WordOf);
}

}  // namespace vorn
