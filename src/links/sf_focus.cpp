#include "links/sf_focus.h"

#include "platform/u16.h"

namespace vorn::links {

std::string CSFFocus::ExchangeText(const CBibleRef& ref) {
  std::string text = platform::ToUtf8(ref.GetKeyString());
  for (char& c : text) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return text;
}

bool CSFFocus::Send(const CBibleRef& ref) {
  const std::string text = ExchangeText(ref);
  if (text == last_) return true;
  // Only a reference that was written counts as exchanged: one that failed
  // is tried again on the next move.
  if (!store_->Write(ExchangeItem::kScriptureReference, text)) return false;
  last_ = text;
  return true;
}

bool CSFFocus::Receive(CBibleRef* out) {
  const std::string text = store_->Read(ExchangeItem::kScriptureReference);
  if (text.empty()) return false;
  CBibleRef ref;
  if (!CBibleRef::Parse(platform::ToU16(text), &ref) || ref.GetBookCode().empty()) return false;
  const std::string exchanged = ExchangeText(ref);
  if (exchanged == last_) return false;
  last_ = exchanged;
  *out = ref;
  return true;
}

}  // namespace vorn::links
