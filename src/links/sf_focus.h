// The exchange of the passage shown with other Bible programs: what the
// active window shows is sent as an upper-cased key string ("JHN 3:16") to
// the store's ScriptureReference item, and what another program wrote there
// is received as a reference. The object remembers the last reference
// exchanged either way, so that nothing is sent twice in a row and the text
// this program wrote (which its own watch of the store reports back) is not
// received as news.
#pragma once

#include <string>

#include "links/exchange_store.h"
#include "refs/bible_ref.h"

namespace vorn::links {

class CSFFocus {
 public:
  // `store` is borrowed and must outlive this object.
  explicit CSFFocus(const CExchangeStore* store) : store_(store) {}

  // The text a reference is exchanged as: its key string, upper-cased.
  static std::string ExchangeText(const CBibleRef& ref);

  // Sends `ref` unless its text equals that of the last reference exchanged
  // (then nothing happens and the result is true). Otherwise `ref` becomes
  // the last one and its text is written; false when it cannot be written.
  [[nodiscard]] bool Send(const CBibleRef& ref);
  // Reads the item and parses it (key, short or long form) into an unbound
  // reference in `*out`. True when it parses and differs from the last one
  // exchanged, which it then becomes; false for missing, unparsable or
  // unchanged text, `*out` untouched.
  [[nodiscard]] bool Receive(CBibleRef* out);

  const std::string& GetLastText() const { return last_; }

 private:
  const CExchangeStore* store_;
  std::string last_;  // the text of the last reference exchanged; empty at start
};

}  // namespace vorn::links
