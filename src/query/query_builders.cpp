#include "query/query_builders.h"

#include <algorithm>
#include <string>

#include "platform/u16.h"
#include "textdb/links_line.h"
#include "textdb/tags_line.h"
#include "textdb/verses.h"
#include "textdb/vorn_db.h"

namespace vorn {

namespace {

// Collects what a line's list filler shows.
class CStringsSink : public CFormListSink {
 public:
  void SetRedraw(bool) override {}
  void Clear() override { strings.clear(); }
  void AddString(const std::u16string& text) override { strings.push_back(text); }
  std::vector<std::u16string> strings;
};

std::u16string Trimmed(std::u16string s) {
  while (!s.empty() && s.back() == u' ') s.pop_back();
  return s;
}

}  // namespace

std::u16string LineKeyword(const CVornDBLine& line) {
  if (!line.GetQueryPrompt().empty()) return line.GetQueryPrompt();
  if (!line.GetQueryNames().empty()) return line.GetQueryNames().front();
  return {};
}

std::u16string QuoteQueryWord(std::u16string_view word) {
  if (word.find_first_of(u" \t(),;") == std::u16string_view::npos) return std::u16string(word);
  return u"\"" + std::u16string(word) + u"\"";
}

std::u16string BuildTermQuery(std::u16string_view keyword,
                              const std::vector<std::u16string>& words) {
  std::u16string out;
  for (const std::u16string& w : words) {
    if (!out.empty()) out += u" or ";
    out += keyword;
    out += u' ';
    out += QuoteQueryWord(w);
  }
  if (words.size() > 1) out = u"(" + out + u")";
  return out;
}

bool ListFormsWithCounts(const CVornDBLine& line, std::u16string_view prefix, size_t limit,
                         std::vector<FormCount>* out, size_t* total) {
  out->clear();
  FormList forms;
  line.MatchFormsPrefix(prefix, &forms);
  if (total) *total = forms.size();
  CDBWordList words;
  for (size_t i = 0; i < forms.size() && i < limit; ++i) {
    FormCount f;
    f.form = forms[i];
    f.text = line.GetFormText(forms[i]);
    line.WordsOfForms({forms[i]}, &words);
    f.words = words.words().size();
    out->push_back(std::move(f));
  }
  return !out->empty();
}

std::vector<std::u16string> ListLinkKinds(const CVornDBLinks& links) {
  CStringsSink sink;
  links.FillKindList(&sink);
  std::vector<std::u16string> kinds;
  for (std::u16string& s : sink.strings) kinds.push_back(Trimmed(std::move(s)));
  return kinds;
}

std::u16string BuildLinkQuery(const CVornDBLine& links, std::u16string_view kind,
                              const std::vector<std::u16string>& entries) {
  std::vector<std::u16string> words;
  for (const std::u16string& entry : entries) {
    const size_t colon = entry.find(u':');
    words.push_back(std::u16string(kind) + u" " +
                    (colon == std::u16string::npos ? entry : entry.substr(0, colon) + u"*"));
  }
  if (words.empty()) words.push_back(std::u16string(kind) + u" *");
  return BuildTermQuery(LineKeyword(links), words);
}

// --- The grammar-tag builder.

CTagBuilder::CTagBuilder(const CVornDBTagsLine& line) : line_(line) {
  FormList forms;
  line_.MatchForms(u"*", &forms);
  for (uint32_t f : forms)
    position_count_ = std::max(position_count_, static_cast<int>(line_.GetFormText(f).size()));
  chosen_.assign(static_cast<size_t>(position_count_), 0);
}

std::u16string CTagBuilder::PatternBefore(int end) const {
  std::u16string p;
  for (int i = 0; i < end && i < position_count_; ++i) {
    const char16_t c = chosen_[static_cast<size_t>(i)];
    p += c ? c : u'?';
  }
  // Unchosen positions at the end say nothing; a '*' says the same and
  // also admits shorter tags.
  while (!p.empty() && p.back() == u'?') p.pop_back();
  p += u'*';
  return p;
}

std::vector<CTagBuilder::Choice> CTagBuilder::GetChoices(int position) const {
  std::vector<Choice> out;
  if (position < 0 || position >= position_count_) return out;
  FormList forms;
  line_.MatchForms(PatternBefore(position), &forms);
  // The tags that hold a character here must be long enough for it.
  std::vector<std::u16string> prefixes, choices;
  line_.ListTagChoices(forms, &prefixes, &choices, position);
  for (const std::u16string& c : choices) {
    if (c.empty()) continue;
    // "X\t\"description\"".
    std::u16string description;
    if (c.size() >= 4) description = c.substr(3, c.size() - 4);
    if (description.empty() && c[0] != u'-') description = NameByLongerTag(forms, position, c[0]);
    auto same =
        std::find_if(out.begin(), out.end(), [&](const Choice& o) { return o.code == c[0]; });
    if (same == out.end()) {
      out.push_back({c[0], description});
    } else if (!description.empty() &&
               same->description.find(description) == std::u16string::npos) {
      // Where the earlier positions are open, one code may mean different
      // things after different prefixes; all of them are shown.
      same->description += same->description.empty() ? description : u" / " + description;
    }
  }
  return out;
}

std::u16string CTagBuilder::NameByLongerTag(const FormList& forms, int position,
                                            char16_t code) const {
  // Some schemes say what a code means only once a later position is known
  // ("N" alone is no tag; "N-N" is a noun in the nominative). The first tag
  // with the code here tells it: the head of the first description that
  // grows out of the code, up to its first ':' or ','.
  const size_t at = static_cast<size_t>(position);
  for (uint32_t f : forms) {
    const std::u16string tag = line_.GetFormText(f);
    if (tag.size() <= at || tag[at] != code) continue;
    const std::u16string before = line_.DescribeTag(std::u16string_view(tag).substr(0, at));
    for (size_t end = at + 2; end <= tag.size(); ++end) {
      std::u16string grown = line_.DescribeTag(std::u16string_view(tag).substr(0, end));
      if (grown.size() <= before.size()) continue;
      grown.erase(0, before.size());
      const size_t start = grown.find_first_not_of(u" ,:");
      if (start == std::u16string::npos) continue;
      grown.erase(0, start);
      return grown.substr(0, grown.find_first_of(u":,"));
    }
    return {};
  }
  return {};
}

void CTagBuilder::Choose(int position, char16_t code) {
  if (position < 0 || position >= position_count_) return;
  chosen_[static_cast<size_t>(position)] = code;
}

void CTagBuilder::Reset() { std::fill(chosen_.begin(), chosen_.end(), char16_t{0}); }

char16_t CTagBuilder::GetChosen(int position) const {
  if (position < 0 || position >= position_count_) return 0;
  return chosen_[static_cast<size_t>(position)];
}

std::u16string CTagBuilder::GetPattern() const {
  std::u16string open = PatternBefore(position_count_);
  if (open == u"*") return open;
  // Without the '*' the pattern asks for tags of exactly this length; keep
  // it off when that finds the same tags.
  std::u16string closed = open.substr(0, open.size() - 1);
  FormList with_star, without;
  line_.MatchForms(open, &with_star);
  line_.MatchForms(closed, &without);
  return with_star.size() == without.size() ? closed : open;
}

std::u16string CTagBuilder::Describe() const {
  int last = -1;
  bool gap = false;
  for (int i = 0; i < position_count_; ++i) {
    if (chosen_[static_cast<size_t>(i)] == 0) continue;
    if (i != last + 1) gap = true;
    last = i;
  }
  if (last < 0) return u"any tag";
  if (!gap) {
    std::u16string described =
        line_.DescribeTag(std::u16string(chosen_.begin(), chosen_.begin() + last + 1));
    if (!described.empty()) return described;
  }
  // With positions open between choices (or a prefix the decoder does not
  // describe yet), each choice says what it means on its own.
  std::vector<std::u16string> parts;
  for (int i = 0; i <= last; ++i) {
    const char16_t code = chosen_[static_cast<size_t>(i)];
    if (!code) continue;
    for (const Choice& c : GetChoices(i)) {
      if (c.code != code || c.description.empty()) continue;
      // "Noun" and then "Noun: Genitive" say "Noun, Genitive".
      std::u16string part = c.description;
      for (const std::u16string& head : parts) {
        if (part.size() > head.size() + 2 && part.starts_with(head + u": "))
          part.erase(0, head.size() + 2);
      }
      parts.push_back(std::move(part));
    }
  }
  std::u16string out;
  for (const std::u16string& part : parts) out += (out.empty() ? u"" : u", ") + part;
  return out;
}

size_t CTagBuilder::CountForms() const {
  FormList forms;
  line_.MatchForms(GetPattern(), &forms);
  return forms.size();
}

std::u16string CTagBuilder::BuildQuery() const {
  return LineKeyword(line_) + u" " + QuoteQueryWord(GetPattern());
}

// --- Passages.

int LastChapterOf(const CVornDB& db, int book) {
  const CVornDBVerses* verses = db.GetVerses();
  if (!verses || book < 1 || book > verses->GetBookCount()) return 0;
  int last = 0;
  for (const VerseNdx& v : verses->GetBookList(book)) {
    if (v.book == book && v.chapter != kClosingChapter) last = std::max(last, int{v.chapter});
  }
  return last;
}

std::u16string BuildRangeQuery(const CVornDB& db, int book, int first_chapter, int last_chapter) {
  const CVornDBVerses* verses = db.GetVerses();
  if (!verses || book < 1 || book > verses->GetBookCount()) return {};
  const std::u16string code = db.GetBookCode(book);
  if (code.empty()) return {};
  std::u16string out = u"in " + code;
  if (first_chapter > 0) {
    out += u' ';
    out += platform::ToU16(std::to_string(first_chapter));
    if (last_chapter > first_chapter) out += u"-" + platform::ToU16(std::to_string(last_chapter));
  }
  return out;
}

std::u16string BuildNamedRangeQuery(std::u16string_view ranges) {
  return u"in " + std::u16string(ranges);
}

}  // namespace vorn
