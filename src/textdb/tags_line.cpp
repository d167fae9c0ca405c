#include "textdb/tags_line.h"

#include <algorithm>
#include <vector>

#include "tagdecode/tag_decoder.h"

namespace vorn {

namespace {

// The position of the first ']' after each pattern position (npos when
// none), so that a set is found without searching again for every cell.
std::vector<size_t> SetEnds(std::u16string_view p) {
  std::vector<size_t> ends(p.size() + 1, std::u16string_view::npos);
  for (size_t k = p.size(); k-- > 0;)
    ends[k] = k + 1 < p.size() && p[k + 1] == u']' ? k + 1 : ends[k + 1];
  return ends;
}

}  // namespace

bool MatchTagPattern(std::u16string_view p, std::u16string_view t) {
  // Computed backwards as a table, as the ordinary line's match is: m[pi]
  // after the step for text position ti tells whether p[pi..] matches
  // t[ti..]. Two columns suffice; work is pattern x tag, without recursion.
  //   any[pi]: some k with ti <= k < end of tag has m[pi] at k;
  //   run[pi]: '@' at pi matches from ti.
  const size_t np = p.size(), nt = t.size();
  const std::vector<size_t> set_end = SetEnds(p);
  std::vector<char> m(np + 1), m_next(np + 1), any(np + 1), any_next(np + 1), run(np + 1),
      run_next(np + 1);
  for (size_t step = 0; step <= nt; ++step) {
    const size_t ti = nt - step;
    const bool t_end = ti == nt;
    for (size_t pi = np + 1; pi-- > 0;) {
      bool r = false;
      if (pi == np) {
        r = t_end;
      } else {
        const char16_t c = p[pi];
        switch (c) {
          case u'?':
            r = !t_end && m_next[pi + 1];
            break;
          case u'*':
            // Inside the pattern the end of the tag is not tried.
            r = pi + 1 == np || (!t_end && any[pi + 1]);
            break;
          case u'@':
            // A run without 'X' that does not reach the end of the tag.
            run[pi] = !t_end && (m[pi + 1] || (t[ti] != u'X' && run_next[pi]));
            r = run[pi];
            break;
          case u'[': {
            const size_t close = set_end[pi];
            if (close == std::u16string_view::npos || t_end) break;
            std::u16string_view set = p.substr(pi + 1, close - pi - 1);
            const bool negated = !set.empty() && set[0] == u'!';
            if (negated) set.remove_prefix(1);
            const bool listed = set.find(t[ti]) != std::u16string_view::npos;
            r = listed != negated && m_next[close + 1];
            break;
          }
          default:
            r = !t_end && t[ti] == c && m_next[pi + 1];
            break;
        }
      }
      m[pi] = r;
      any[pi] = !t_end && (r || any_next[pi]);
    }
    m.swap(m_next);
    any.swap(any_next);
    run.swap(run_next);
  }
  return m_next[0];
}

std::u16string CVornDBTagsLine::SimplifyPattern(std::u16string_view pattern) const {
  // A run of '*' inside the pattern matches what one '*' matches. At the end
  // a lone '*' takes any rest, even none, while a run of them needs one
  // character at least (the first '*' does not try the end): "?*".
  std::u16string out;
  out.reserve(pattern.size());
  size_t i = 0;
  while (i < pattern.size()) {
    if (pattern[i] != u'*') {
      out.push_back(pattern[i++]);
      continue;
    }
    size_t j = i;
    while (j < pattern.size() && pattern[j] == u'*') ++j;
    out += j == pattern.size() && j - i > 1 ? u"?*" : u"*";
    i = j;
  }
  return out;
}

CVornDBTagsLine::CVornDBTagsLine(const CVornDBLineParams& params)
    : CVornDBOrdinaryLine(params, nullptr) {
  decoder_ = CTagDecoder::Create(TagSchemeFromName(params.GetValue("TagScheme")));
}

CVornDBTagsLine::~CVornDBTagsLine() = default;

bool CVornDBTagsLine::MatchText(std::u16string_view pattern, std::u16string_view text) const {
  return MatchTagPattern(pattern, text);
}

bool CVornDBTagsLine::MatchForm(std::u16string_view pattern, std::u16string_view form) const {
  return MatchTagPattern(pattern, form);
}

std::u16string CVornDBTagsLine::DescribeTag(std::u16string_view tag) const {
  return decoder_ ? decoder_->Decode(tag) : std::u16string(tag);
}

void CVornDBTagsLine::ListTagChoices(const FormList& forms, std::vector<std::u16string>* prefixes,
                                     std::vector<std::u16string>* choices, int position) const {
  prefixes->clear();
  choices->clear();
  if (position < 0 || forms.empty()) return;
  const size_t n = static_cast<size_t>(position);
  // Forms come in form order, so equal prefixes are neighbours and comparing
  // with the last one seen is enough.
  std::u16string last_n, last_n1;
  std::u16string prefix_description;
  for (uint32_t form : forms) {
    const std::u16string tag = GetFormText(form);
    const std::u16string_view view(tag);
    if (view.substr(0, n) != std::u16string_view(last_n).substr(0, n)) {
      last_n = tag;
      prefix_description = DescribeTag(view.substr(0, n));
      prefixes->push_back(prefix_description);
    }
    if (view.size() > n && view.substr(0, n + 1) != std::u16string_view(last_n1).substr(0, n + 1)) {
      last_n1 = tag;
      // The decoder describes a longer tag by extending the description of
      // its prefix; what the character adds is the part after that.
      std::u16string added = DescribeTag(view.substr(0, n + 1));
      added.erase(0, std::min(prefix_description.size(), added.size()));
      const size_t start = added.find_first_not_of(u" ,:");
      added.erase(0, start == std::u16string::npos ? added.size() : start);
      std::u16string choice;
      choice += view[n];
      choice += u"\t\"";
      choice += added;
      choice += u'"';
      if (std::find(choices->begin(), choices->end(), choice) == choices->end()) {
        choices->push_back(std::move(choice));
      }
    }
  }
}

int CVornDBTagsLine::GetLongestTag() const {
  if (longest_tag_ < 0) {
    size_t longest = 0;
    for (uint32_t f = 0; f < GetFormCount(); ++f) {
      longest = std::max(longest, std::u16string_view(GetFormString(f)).size());
    }
    longest_tag_ = static_cast<int>(longest);
  }
  return longest_tag_;
}

std::u16string CVornDBTagsLine::GetPartName(int part) const {
  if (part <= 0 || part > GetLongestTag()) return CVornDBOrdinaryLine::GetPartName(part);
  return CTagDecoder::GetPositionName(decoder_.get(), part);
}

void CVornDBTagsLine::CollectValueIds(const std::vector<uint32_t>& words, int part,
                                      std::vector<uint32_t>* out) const {
  if (part <= 0 || part > GetLongestTag()) {
    CVornDBOrdinaryLine::CollectValueIds(words, part, out);
    return;
  }
  out->clear();
  out->reserve(words.size());
  const size_t at = static_cast<size_t>(part - 1);
  for (uint32_t w : words) {
    const std::u16string_view tag = GetFormString(GetFormOfWord(w));
    out->push_back(at < tag.size() ? tag[at] : 0u);
  }
}

std::u16string CVornDBTagsLine::GetValueText(int part, uint32_t id) const {
  if (part <= 0 || part > GetLongestTag()) return CVornDBOrdinaryLine::GetValueText(part, id);
  if (id == 0) return u"-";
  if (id > 0xFFFF) return {};
  // '?' for the positions before, '*' for the rest: the tag pattern of this
  // line that finds exactly the tags with this character here. A character
  // that is itself a wildcard is put in brackets.
  std::u16string text(static_cast<size_t>(part - 1), u'?');
  const char16_t c = static_cast<char16_t>(id);
  if (c == u'*' || c == u'?' || c == u'@' || c == u'[') {
    text += u'[';
    text += c;
    text += u']';
  } else {
    text += c;
  }
  text += u'*';
  return text;
}

}  // namespace vorn
