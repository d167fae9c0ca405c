#include "markup/markup_context.h"

namespace vorn {

CMarkupContext::CMarkupContext(CVornDB* db, CTagsDB* tags, CPropositionsList* props_list,
                               std::function<void()> repaint)
    : db_(db), tags_(tags), props_list_(props_list), repaint_(repaint), view_tags_(repaint) {}

CMarkupContext::~CMarkupContext() {
  view_tags_.ReleaseTags();
  DropPropositions();
}

CPropositions* CMarkupContext::GetPropositions() {
  if (!props_) props_ = props_list_->CreateFresh(db_, this);
  return props_;
}

bool CMarkupContext::LoadPropositions(std::u16string_view name) {
  CPropositions* p = props_list_->Load(db_, name, this, props_);
  if (!p) return false;
  props_ = p;
  PropositionsChanged(p);
  return true;
}

bool CMarkupContext::SavePropositionsAs(std::u16string_view name) {
  CPropositions* p = props_list_->SaveAs(GetPropositions(), name, this);
  if (!p) return false;
  props_ = p;
  return !p->IsModified();
}

void CMarkupContext::DropPropositions() {
  if (!props_) return;
  CPropositions* p = props_;
  props_ = nullptr;
  props_list_->Release(p, this);
}

CQueryContext::TagLookup CMarkupContext::FindUserTag(std::u16string_view name,
                                                     std::vector<WordSpan>* spans) {
  spans->clear();
  // Tags of different sets may share a name: a displayed one answers first.
  CTagDB* tag = view_tags_.FindDisplayedTag(name);
  if (!tag) return tags_ && tags_->FindTag(name) ? TagLookup::kNotDisplayed : TagLookup::kUnknown;
  *spans = tag->GetSpans();
  return TagLookup::kFound;
}

WordSpan CMarkupContext::GetPropositionRange(WordIndex word) {
  return GetPropositions()->GetProposition(word, kAllLevels);
}

void CMarkupContext::PropositionsChanged(CPropositions*) {
  if (repaint_) repaint_();
}

}  // namespace vorn
