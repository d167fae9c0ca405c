#include "wordinfo/word_menu.h"

#include <algorithm>
#include <map>

#include "textdb/line.h"
#include "textdb/link_params.h"
#include "textdb/vorn_db.h"
#include "textdb/word_list.h"
#include "wordinfo/word.h"
#include "wordinfo/word_lines.h"

namespace vorn {

namespace {

WordMenuItem Command(uint32_t command, std::u16string text) {
  WordMenuItem item;
  item.command = command;
  item.text = std::move(text);
  return item;
}

WordMenuItem OfKind(WordMenuItem::Kind kind, std::u16string text = {}) {
  WordMenuItem item;
  item.kind = kind;
  item.text = std::move(text);
  return item;
}

}  // namespace

std::u16string LinkMenuText(const CPVLink& link) {
  std::u16string text = link.GetKind() ? link.ExpandSetting("MenuL") : std::u16string();
  return text.empty() ? link.GetText() : text;
}

std::u16string LinkMenuTitle(const CPVLink& link) {
  if (!link.GetKind()) return u"Links";
  std::u16string title = link.ExpandSetting("MenuT");
  return title.empty() ? link.GetKind()->GetName() : title;
}

void CMorphemeMenu::Add(const CPVLink* link, uint32_t command) {
  links_.push_back({link, command});
}

std::vector<WordMenuItem> CMorphemeMenu::Build() const {
  // Group text -> level -> links, each list in the order the links came.
  std::map<std::u16string, std::map<int, std::vector<Entry>>> groups;
  for (const Entry& e : links_) groups[e.link->GetGroupTitle()][e.link->GetLevel()].push_back(e);
  std::map<int, size_t> rows;  // the most links each level has in any group
  for (const auto& [title, levels] : groups)
    for (const auto& [level, entries] : levels) rows[level] = std::max(rows[level], entries.size());
  std::vector<WordMenuItem> items;
  for (const auto& [title, levels] : groups) {
    if (!items.empty()) items.push_back(OfKind(WordMenuItem::Kind::kSeparator));
    items.push_back(OfKind(WordMenuItem::Kind::kTitle, title));
    for (const auto& [level, count] : rows) {
      const auto found = levels.find(level);
      size_t n = 0;
      if (found != levels.end()) {
        for (const Entry& e : found->second)
          items.push_back(Command(e.command, LinkMenuText(*e.link)));
        n = found->second.size();
      }
      for (; n < count; ++n) items.push_back(OfKind(WordMenuItem::Kind::kFiller));
    }
  }
  return items;
}

std::vector<WordMenuItem> MakeLinkMenus(const CWord& word) {
  const auto* line =
      dynamic_cast<const CWordLinks*>(word.GetLine(word.GetDatabase()->GetLinksLineIndex()));
  if (!line) return {};
  struct Menu {
    std::u16string title;
    std::vector<WordMenuItem> plain;
    CMorphemeMenu morphemes;
  };
  std::vector<Menu> menus;
  const std::vector<CPVLink>& links = line->GetLinks();
  for (size_t i = 0; i < links.size(); ++i) {
    const CPVLink& link = links[i];
    if (link.GetText().empty()) continue;
    const std::u16string title = LinkMenuTitle(link);
    auto menu =
        std::find_if(menus.begin(), menus.end(), [&](const Menu& m) { return m.title == title; });
    if (menu == menus.end()) menu = menus.insert(menus.end(), Menu{title, {}, {}});
    const uint32_t command = CWord::kFirstLinkCommand + static_cast<uint32_t>(i);
    if (link.GetLevel() > 0) {
      menu->morphemes.Add(&link, command);
    } else {
      menu->plain.push_back(Command(command, LinkMenuText(link)));
    }
  }
  std::vector<WordMenuItem> result;
  for (Menu& m : menus) {
    WordMenuItem sub = OfKind(WordMenuItem::Kind::kSubmenu, m.title);
    sub.items = std::move(m.plain);
    if (!m.morphemes.IsEmpty()) {
      if (!sub.items.empty()) sub.items.push_back(OfKind(WordMenuItem::Kind::kSeparator));
      for (WordMenuItem& item : m.morphemes.Build()) sub.items.push_back(std::move(item));
    }
    result.push_back(std::move(sub));
  }
  return result;
}

std::vector<WordMenuItem> MakeVariantItems(const CWord& word, uint32_t first_command, int current) {
  // The line's own menu of its variants, collected as commands.
  class Collector : public CWordMenu {
   public:
    void AddItem(uint32_t command, const std::u16string& text) override {
      items.push_back(Command(command, text));
    }
    std::vector<WordMenuItem> items;
  } collector;
  if (CWordLine* form = word.GetLine(word.GetDatabase()->GetFormLineIndex()))
    form->AddToMenu(&collector, first_command);
  if (collector.items.size() < 2) return {};
  // Each variant but the text itself says which it is ("Qere"), after a tab
  // so that a menu sets the name in a column of its own: the words alone
  // often look the same.
  const CVornDBLine* line = word.GetDatabase()->GetLine(word.GetDatabase()->GetFormLineIndex());
  for (size_t i = 0; i < collector.items.size(); ++i) {
    WordMenuItem& item = collector.items[i];
    item.checked = item.command == first_command + static_cast<uint32_t>(current);
    std::u16string name = line && i > 0 ? line->GetAltName(static_cast<int>(i)) : u"";
    // The display name is the line's prompt and the variant's own name in
    // brackets ("text (Qere)"): the name is what tells them apart here.
    const size_t open = name.rfind(u" (");
    if (open != std::u16string::npos && name.back() == u')')
      name = name.substr(open + 2, name.size() - open - 3);
    if (!name.empty()) item.text += u"\t" + name;
  }
  return std::move(collector.items);
}

std::vector<std::pair<size_t, size_t>> FindStrongNumberSpans(std::u16string_view text) {
  auto is_digit = [](char16_t c) { return c >= u'0' && c <= u'9'; };
  auto is_word = [&](char16_t c) {
    return is_digit(c) || (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || c >= 0x80;
  };
  std::vector<std::pair<size_t, size_t>> out;
  for (size_t i = 0; i + 1 < text.size(); ++i) {
    if ((text[i] != u'G' && text[i] != u'H') || (i > 0 && is_word(text[i - 1]))) continue;
    size_t end = i + 1;
    while (end < text.size() && is_digit(text[end])) ++end;
    if (end == i + 1 || (end < text.size() && is_word(text[end]))) continue;
    out.emplace_back(i, end);
    i = end - 1;
  }
  return out;
}

std::vector<std::u16string> FindStrongNumbers(std::u16string_view text) {
  std::vector<std::u16string> out;
  for (const auto& [begin, end] : FindStrongNumberSpans(text)) {
    std::u16string number(text.substr(begin, end - begin));
    if (std::find(out.begin(), out.end(), number) == out.end()) out.push_back(std::move(number));
  }
  return out;
}

int32_t FirstWordWithValue(const CVornDB& db, std::u16string_view value) {
  int32_t first = -1;
  for (int i = 0; i < db.GetLineCount(); ++i) {
    const CVornDBLine* line = db.GetLine(i);
    FormList forms;
    if (!line || !line->MatchForms(value, &forms)) continue;
    CDBWordList words;
    line->WordsOfForms(forms, &words);
    if (!words.empty() && (first < 0 || static_cast<int32_t>(words[0]) < first))
      first = static_cast<int32_t>(words[0]);
  }
  return first;
}

std::vector<std::u16string> LinkTexts(const CWord& word) {
  const auto* line =
      dynamic_cast<const CWordLinks*>(word.GetLine(word.GetDatabase()->GetLinksLineIndex()));
  std::vector<std::u16string> out;
  if (line)
    for (const CPVLink& link : line->GetLinks()) out.push_back(link.GetText());
  return out;
}

}  // namespace vorn
