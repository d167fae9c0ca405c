#include "querystate/query_thing.h"

#include <algorithm>
#include <string>

#include "markup/annotation.h"
#include "markup/tag.h"
#include "markup/tags_db.h"
#include "platform/message_sink.h"
#include "query/query_processor.h"
#include "textdb/ini_file.h"
#include "textdb/vorn_db.h"
#include "wordinfo/word.h"

namespace vorn {

namespace {

std::u16string Decimal(size_t n) {
  const std::string digits = std::to_string(n);
  return std::u16string(digits.begin(), digits.end());
}

constexpr std::u16string_view kQueryKey = u"Query";

std::u16string TagsSection(std::u16string_view section) {
  return std::u16string(section) + u" Tags";
}

}  // namespace

CQueryThing::CQueryThing(CVornDB* db, CTagsDB* tags, CAnnotation* notes,
                         CPropositionsList* props_list, CQueryWindow* window)
    : db_(db), tags_(tags), notes_(notes), window_(window), markup_(db, tags, props_list, [this] {
        Repaint();
      }) {}

CQueryThing::~CQueryThing() = default;

CVornDBLine* CQueryThing::FindLine(std::u16string_view name) const {
  return markup_.FindLine(name);
}

void CQueryThing::Repaint() {
  if (window_) window_->RepaintPanes();
}

// --- Hits.

void CQueryThing::SetHits(const std::vector<uint32_t>& hits) {
  hits_.mutable_words() = hits;
  if (window_) window_->HitsReplaced();
}

void CQueryThing::RemoveHits(const std::vector<uint32_t>& words) {
  std::vector<uint32_t> kept;
  kept.reserve(hits_.size());
  int64_t first_removed = -1;
  auto w = words.begin();
  for (uint32_t hit : hits_.words()) {
    while (w != words.end() && *w < hit) ++w;
    if (w != words.end() && *w == hit) {
      if (first_removed < 0) first_removed = hit;
    } else {
      kept.push_back(hit);
    }
  }
  if (kept.size() == hits_.size()) return;
  hits_.mutable_words().swap(kept);
  if (window_) window_->HitsRemoved(static_cast<WordIndex>(first_removed));
}

WordSpan CQueryThing::GetHitZone(int64_t place) const {
  const int64_t n = static_cast<int64_t>(hits_.size());
  if (n == 0) return {0, -1};
  if (place < 0 || place >= n) return {-1, -1};
  const std::vector<uint32_t>& hits = hits_.words();
  const uint32_t h = hits[place];
  WordSpan zone;
  zone.first =
      place == 0 ? 0 : static_cast<WordIndex>(hits[place - 1] + (h - hits[place - 1] + 1) / 2);
  zone.end = place == n - 1 ? -1 : static_cast<WordIndex>(h + (hits[place + 1] - h + 1) / 2);
  return zone;
}

size_t CQueryThing::FindHitAtOrAfter(WordIndex word) const {
  // Word indexes compare unsigned, so that -1 (the end of the text) comes
  // after every hit.
  const std::vector<uint32_t>& hits = hits_.words();
  return std::lower_bound(hits.begin(), hits.end(), static_cast<uint32_t>(word)) - hits.begin();
}

int64_t CQueryThing::NearestHitPlace(WordIndex word) const {
  const int64_t p = static_cast<int64_t>(FindHitAtOrAfter(word));
  const WordSpan zone = GetHitZone(p);
  const bool inside =
      word != -1 && !zone.IsNone() && word >= zone.first && (zone.end == -1 || word < zone.end);
  return inside ? p : p - 1;
}

WordIndex CQueryThing::NearestHit(WordIndex word, WordSpan* zone) const {
  const int64_t place = NearestHitPlace(word);
  if (zone) *zone = GetHitZone(place);
  if (place < 0 || place >= static_cast<int64_t>(hits_.size())) return -1;
  return static_cast<WordIndex>(hits_[static_cast<size_t>(place)]);
}

// --- Current word.

WordIndex CQueryThing::GetCurrentWordIndex() const {
  return current_ ? current_->GetWordIndex() : -1;
}

bool CQueryThing::SetCurrentWord(WordIndex word) {
  if (GetCurrentWordIndex() == word) return false;
  if (word < 0) {
    current_.reset();
  } else {
    current_ = std::make_unique<CWord>(db_, word);
  }
  return true;
}

std::unique_ptr<CWord> CQueryThing::GetActiveWord() const {
  if (!window_) return nullptr;
  const WordIndex focus = window_->GetFocusWord();
  if (focus < 0) return nullptr;
  return std::make_unique<CWord>(db_, focus);
}

void CQueryThing::GoTo(const CBibleRef& ref) {
  if (window_) window_->GoTo(ref);
}

// --- Displayed user tags.

const std::vector<CTagDB*>& CQueryThing::GetDisplayedTags() const {
  return markup_.GetViewTags().GetDisplayedTags();
}

bool CQueryThing::IsTagDisplayed(const CTagDB* tag) const {
  return markup_.GetViewTags().IsTagDisplayed(tag);
}

void CQueryThing::ToggleTag(CTagDB* tag) { markup_.GetViewTags().ToggleTag(tag); }

void CQueryThing::ReleaseTags() { markup_.GetViewTags().ReleaseTags(); }

bool CQueryThing::WordHasTag(WordIndex word) const {
  return markup_.GetViewTags().WordHasTag(word);
}

void CQueryThing::TagsOfWord(WordIndex word, std::vector<CTagDB*>* tags) const {
  markup_.GetViewTags().TagsOfWord(word, tags);
}

CTagDB* CQueryThing::FindDisplayedTag(std::u16string_view name) const {
  return markup_.GetViewTags().FindDisplayedTag(name);
}

// --- Propositions and history.

CPropositions* CQueryThing::GetPropositions() { return markup_.GetPropositions(); }

bool CQueryThing::SetPropositions(std::u16string_view name) {
  return markup_.LoadPropositions(name);
}

void CQueryThing::DropPropositions() { markup_.DropPropositions(); }

void CQueryThing::RecordQueryOrigin() {
  if (!window_) return;
  const WordIndex focus = window_->GetFocusWord();
  if (focus >= 0) history_.SetOrigin(focus);
}

// --- Desktop keys.

void CQueryThing::SaveToDesktop(CIniFile* settings, std::u16string_view section) {
  settings->SetString(section, u"Propositions", std::u16string_view(GetPropositions()->GetName()));
  settings->SetString(section, kQueryKey, query_text_.empty() ? nullptr : &query_text_);
  // Keys of tags no longer shown must not come back on the next restore.
  const std::u16string tags_section = TagsSection(section);
  settings->RemoveSection(tags_section);
  const std::vector<CTagDB*>& shown = GetDisplayedTags();
  for (size_t i = 0; i < shown.size(); ++i) {
    settings->SetString(tags_section, u"UserTag " + Decimal(i),
                        std::u16string_view(shown[i]->GetName()));
  }
}

void CQueryThing::LoadFromDesktop(const CIniFile& settings, std::u16string_view section,
                                  platform::CMessageSink* messages) {
  std::u16string name;
  // A fresh analysis that was never named has nothing to load.
  if (settings.GetString(section, u"Propositions", &name) && !name.empty() &&
      GetPropositions()->GetName() != name) {
    // An analysis that cannot be read has been reported; the window keeps
    // the one it has.
    static_cast<void>(markup_.LoadPropositions(name));
  }
  const std::u16string tags_section = TagsSection(section);
  std::vector<std::u16string> keys;
  settings.GetKeys(tags_section, &keys);
  for (const std::u16string& key : keys) {
    std::u16string tag_name;
    if (!settings.GetString(tags_section, key, &tag_name)) continue;
    CTagDB* tag = tags_ ? tags_->FindTag(tag_name) : nullptr;
    if (!tag) {
      if (messages) messages->ShowWarning(u"Couldn't open tag \"" + tag_name + u"\"");
      continue;
    }
    // A name listed twice (or a tag already shown) must not be hidden again.
    if (!IsTagDisplayed(tag)) ToggleTag(tag);
  }
  hits_.Clear();
  query_text_.clear();
  settings.GetString(section, kQueryKey, &query_text_);
  if (!query_text_.empty()) {
    CQueryProcessor processor(CQueryProcessor::StripEmbeddingMarks(query_text_), GetQueryContext(),
                              nullptr);
    if (processor.Execute() && processor.GetHitCount() > 0) {
      SetHits(processor.GetHits());
      return;
    }
  }
  if (window_) window_->HitsCleared();
}

// --- CWordMarkupSource.

std::unique_ptr<CWordTags> CQueryThing::MakeWordTags(WordIndex word, const CViewMetrics& metrics) {
  if (!tags_maker_) return nullptr;
  std::unique_ptr<CTag> tag = markup_.GetViewTags().MakeTag(word);
  if (!tag) return nullptr;
  return tags_maker_(std::move(tag), metrics);
}

bool CQueryThing::HasNote(WordIndex word) const { return notes_ && notes_->HasNote(word); }

}  // namespace vorn
