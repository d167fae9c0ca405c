#include "textdb/tags_line.h"

#include <algorithm>

#include "tagdecode/tag_decoder.h"

namespace vorn {

namespace {

bool MatchTagAt(std::u16string_view p, size_t pi, std::u16string_view t, size_t ti) {
  while (pi < p.size()) {
    const char16_t c = p[pi];
    switch (c) {
      case u'?':
        if (ti >= t.size()) return false;
        ++pi;
        ++ti;
        break;
      case u'*':
        if (pi + 1 == p.size()) return true;
        for (; ti < t.size(); ++ti) {
          if (MatchTagAt(p, pi + 1, t, ti)) return true;
        }
        return false;
      case u'@':
        // The run may be empty but never reaches the end of the tag, and it
        // stops at (without taking in) an 'X'.
        for (; ti < t.size(); ++ti) {
          if (MatchTagAt(p, pi + 1, t, ti)) return true;
          if (t[ti] == u'X') return false;
        }
        return false;
      case u'[': {
        const size_t close = p.find(u']', pi + 1);
        if (close == std::u16string_view::npos || ti >= t.size()) return false;
        std::u16string_view set = p.substr(pi + 1, close - pi - 1);
        const bool negated = !set.empty() && set[0] == u'!';
        if (negated) set.remove_prefix(1);
        const bool listed = set.find(t[ti]) != std::u16string_view::npos;
        if (listed == negated) return false;
        pi = close + 1;
        ++ti;
        break;
      }
      default:
        if (ti >= t.size() || t[ti] != c) return false;
        ++pi;
        ++ti;
        break;
    }
  }
  return ti == t.size();
}

}  // namespace

bool MatchTagPattern(std::u16string_view pattern, std::u16string_view tag) {
  return MatchTagAt(pattern, 0, tag, 0);
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

}  // namespace vorn
