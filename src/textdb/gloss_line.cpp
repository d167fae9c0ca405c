#include "textdb/gloss_line.h"

#include "platform/file_system.h"
#include "textdb/sorted_tables.h"

namespace vorn {

namespace {
uint32_t WordOf(const MarkT& r) { return r.word; }
}  // namespace

CVornDBGlossLine::CVornDBGlossLine(const CVornDBLineParams& params)
    : CVornDBOrdinaryLine(params, nullptr),
      marks_(platform::JoinPath(params.GetFolder(), "PVlinks"), "GlossMark.ndx") {}

CVornDBGlossLine::~CVornDBGlossLine() = default;

bool CVornDBGlossLine::Open() {
  has_marks_ = false;
  if (marks_.Open()) {
    if (!HasWholeRecords(marks_) || !IsStrictlySortedByKey(marks_, WordOf)) return false;
    has_marks_ = true;
  }
  return CVornDBOrdinaryLine::Open();
}

void CVornDBGlossLine::GetGlossMarks(WordIndex word, std::u16string* prefix,
                                     std::u16string* suffix) const {
  prefix->clear();
  suffix->clear();
  if (!has_marks_ || word < 0) return;
  const uint32_t w = static_cast<uint32_t>(word);
  const MarkT* m = LowerBoundWord(marks_, w, WordOf);
  if (m == marks_.end() || m->word != w) return;
  // Neighbours count only when they stand for the adjacent words.
  const MarkT* p = m != marks_.begin() && m[-1].word + 1 == w ? &m[-1] : nullptr;
  const MarkT* n = m + 1 != marks_.end() && m[1].word == w + 1 ? &m[1] : nullptr;

  if (m->brace_start == 'B') {
    *prefix += u"{";
  } else if ((m->brace_start != 0 || m->brace_end != 0) && (!p || p->brace_start == 0)) {
    *prefix += u"-{";
  }
  if (m->bracket_start == 'B') {
    *prefix += u"[";
  } else if ((m->bracket_start != 0 || m->bracket_end != 0) && (!p || p->bracket_start == 0)) {
    *prefix += u"-[";
  }
  if (m->bracket_end != 0) {
    *suffix += u"]";
  } else if (m->bracket_start != 0 && (!n || (n->bracket_start == 0 && n->bracket_end == 0))) {
    *suffix += u"]-";
  }
  if (m->brace_end == 'E') {
    *suffix += u"}";
  } else if (m->brace_start != 0 && !(n && (n->brace_start != 0 || n->brace_end != 0))) {
    *suffix += u"}-";
  }
}

}  // namespace vorn
