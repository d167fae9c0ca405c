// The per-user store through which Bible programs on one desktop exchange
// the passage they show. Each item is one small file holding its text
// (UTF-8) in a folder made from the exchange's key path:
// $XDG_CONFIG_HOME/Software/SantaFe/Focus/<item name> (else under
// ~/.config). A writer replaces the file by a rename, so a reader never sees
// half a text, and the rename itself is what other programs notice: they
// watch the folder (see shell/exchange_watch) and read the item again.
#pragma once

#include <string>
#include <string_view>

namespace vorn::links {

// The five items of the exchange; this program uses kScriptureReference only.
enum class ExchangeItem {
  kScriptureReference = 1,
  kScriptureReferenceList = 2,
  kTopic = 3,
  kWord = 4,
  kDesktop = 5,
};

// The item's file name ("ScriptureReference", ...).
std::string_view ItemName(ExchangeItem item);

// The default store folder of the current user, from $XDG_CONFIG_HOME when it
// is an absolute path, else $HOME/.config; empty when neither is known (then
// nothing can be exchanged). Creates nothing.
std::string DefaultExchangeFolder();

class CExchangeStore {
 public:
  // Texts longer than this are not exchanged: a reference is a few bytes, and
  // a reader must not take in whatever another program left there.
  static constexpr size_t kMaxText = 1024;

  // `folder`: where the item files live (created on the first write); empty:
  // a store that holds nothing and refuses every write.
  explicit CExchangeStore(std::string folder) : folder_(std::move(folder)) {}

  const std::string& GetFolder() const { return folder_; }
  // Replaces the item's text (created with its folder when missing). False,
  // the old text untouched, when the folder cannot be made, the file cannot
  // be written or `text` is longer than kMaxText.
  [[nodiscard]] bool Write(ExchangeItem item, std::string_view text) const;
  // The item's text without surrounding white space (a peer may end it with
  // a line break); empty when the item is missing, unreadable or too long.
  std::string Read(ExchangeItem item) const;

 private:
  std::string folder_;
};

}  // namespace vorn::links
