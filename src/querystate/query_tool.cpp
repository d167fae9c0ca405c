#include "querystate/query_tool.h"

#include "platform/file_system.h"
#include "platform/message_sink.h"
#include "query/fmt_str.h"
#include "query/query_box.h"
#include "query/query_processor.h"
#include "querystate/query_thing.h"
#include "textdb/line.h"
#include "textdb/vorn_db.h"

namespace vorn {

namespace {

// The place in `box_text` of character `pos` of the text without its
// embedding marks, so that an error selects what the user sees.
int32_t BoxPosition(const std::u16string& box_text, int32_t pos) {
  int32_t seen = 0;
  for (size_t i = 0; i < box_text.size(); ++i) {
    const char16_t c = box_text[i];
    if (c == u'\x202B' || c == u'\x202C') continue;
    if (seen == pos) return static_cast<int32_t>(i);
    ++seen;
  }
  return static_cast<int32_t>(box_text.size());
}

std::u16string KeywordOf(const CVornDBLine* line) {
  if (!line->GetQueryPrompt().empty()) return line->GetQueryPrompt();
  if (!line->GetQueryNames().empty()) return line->GetQueryNames().front();
  return {};
}

}  // namespace

std::u16string GetLineValue(const CVornDBLine* line, WordIndex word) {
  if (word < 0 || static_cast<uint32_t>(word) >= line->GetWordCount()) return {};
  FormList forms;
  line->CollectForms({static_cast<uint32_t>(word)}, 0, &forms);
  return forms.empty() ? std::u16string() : line->GetFormText(forms.front());
}

CQueryTool::CQueryTool(CQueryBox* box, platform::CMessageSink* messages)
    : box_(box),
      messages_(messages),
      format_(u"Arial", 10, kColourBlack),
      static_prompts_(format_),
      word_prompts_(format_) {}

CQueryTool::~CQueryTool() = default;

bool CQueryTool::RunQuery() {
  CQueryThing* thing = active_ ? active_() : nullptr;
  if (!thing) return false;
  const std::u16string box_text = box_->GetText();
  CFmtStr display;
  CQueryProcessor processor(CQueryProcessor::StripEmbeddingMarks(box_text),
                            thing->GetQueryContext(), &display);
  if (!processor.Parse() || !processor.Prepare()) {
    const CQError* error = processor.GetError();
    if (error && error->GetLooseMarkAt() >= 0 && messages_ && messages_->CanAsk()) {
      // A word that matches only loosely: offer to mark it and run again.
      // Each round marks one more word, so this ends.
      if (messages_->Ask(error->GetMessage() + u"\r\n\r\nSearch ignoring accents and case?",
                         platform::MsgButtons::kYesNo) == platform::MsgAnswer::kYes) {
        const int32_t at = BoxPosition(box_text, error->GetLooseMarkAt());
        box_->SetSelection(at, at);
        box_->ReplaceSelection(u"~", format_);
        return RunQuery();
      }
      box_->SetSelection(BoxPosition(box_text, processor.GetErrorPosition()),
                         static_cast<int32_t>(box_text.size()));
      return false;
    }
    box_->SetSelection(BoxPosition(box_text, processor.GetErrorPosition()),
                       static_cast<int32_t>(box_text.size()));
    processor.ShowError(messages_);
    return false;
  }
  processor.Run();
  list_.Record(display.GetText(), box_text);
  if (processor.GetHitCount() == 0 && messages_) messages_->ShowInformation(u"No matches");
  thing->RecordQueryOrigin();
  thing->SetQueryText(box_text);
  thing->SetHits(processor.GetHits());
  return true;
}

bool CQueryTool::CanGoPrevious() const { return list_.CanGoPrevious(box_->GetText()); }

bool CQueryTool::CanGoNext() const { return list_.CanGoNext(box_->GetText()); }

void CQueryTool::PreviousQuery() { list_.PreviousQuery(box_); }

void CQueryTool::NextQuery() { list_.NextQuery(box_); }

// --- Prompts.

bool CQueryTool::LoadStaticPrompts(const std::string& program_folder) {
  const bool read = static_prompts_.Load(platform::JoinPath(program_folder, kStaticPromptsFile));
  RefillPrompts();
  return read;
}

void AddLinePrompts(const CVornDB& db, WordIndex word, CQueryPrompts* prompts) {
  for (int i = 0; i < db.GetLineCount(); ++i) {
    const CVornDBLine* line = db.GetLine(i);
    const std::u16string keyword = KeywordOf(line);
    if (keyword.empty()) continue;
    const std::u16string value = GetLineValue(line, word);
    if (!value.empty()) prompts->AddPrompt(keyword, value, line);
  }
}

void CQueryTool::UpdateWordPrompts() {
  CQueryThing* thing = active_ ? active_() : nullptr;
  const CVornDB* db = thing ? thing->GetDatabase() : nullptr;
  const WordIndex word = thing ? thing->GetCurrentWordIndex() : -1;
  if (db == prompt_db_ && word == prompt_word_) return;
  prompt_db_ = db;
  prompt_word_ = word;
  word_prompts_.Clear();
  if (thing && word >= 0) {
    AddLinePrompts(*db, word, &word_prompts_);
    std::vector<CTagDB*> tags;
    thing->TagsOfWord(word, &tags);
    for (const CTagDB* tag : tags) word_prompts_.AddPrompt(u"usertag", tag->GetName(), nullptr);
  }
  RefillPrompts();
}

void CQueryTool::RefillPrompts() {
  combo_selection_ =
      selected_prompt_ < static_cast<int32_t>(GetPromptCount()) ? selected_prompt_ : -1;
  if (prompts_changed_) prompts_changed_();
}

size_t CQueryTool::GetPromptCount() const {
  return word_prompts_.GetCount() + static_prompts_.GetCount();
}

const CQueryPrompt* CQueryTool::GetPrompt(size_t index) const {
  if (index < word_prompts_.GetCount()) return word_prompts_.Get(index);
  return static_prompts_.Get(index - word_prompts_.GetCount());
}

void CQueryTool::ChoosePrompt(int32_t index, bool select) {
  const CQueryPrompt* prompt = index >= 0 ? GetPrompt(static_cast<size_t>(index)) : nullptr;
  if (!prompt) return;
  combo_selection_ = index;
  if (index <= static_cast<int32_t>(word_prompts_.GetCount())) selected_prompt_ = index;
  prompt->UsePrompt(box_, select);
  box_->SetFocus();
}

void CQueryTool::ReplaceWithPrompt(int32_t index) {
  box_->SetSelection(0, static_cast<int32_t>(box_->GetText().size()));
  ChoosePrompt(index, true);
}

void CQueryTool::NextPrompt() {
  const int32_t count = static_cast<int32_t>(GetPromptCount());
  if (count == 0) return;
  ChoosePrompt(combo_selection_ < 0 ? 0 : (combo_selection_ + 1) % count, true);
}

void CQueryTool::PreviousPrompt() {
  const int32_t count = static_cast<int32_t>(GetPromptCount());
  if (count == 0) return;
  ChoosePrompt(combo_selection_ < 0 ? 0 : (combo_selection_ + count - 1) % count, true);
}

}  // namespace vorn
