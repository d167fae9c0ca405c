#include "sword_module.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <memory>
#include <string_view>

#include "strongs_dict.h"

#ifdef VORN_HAVE_SWORD
#include <swbuf.h>
#include <swkey.h>
#include <swmgr.h>
#include <swmodule.h>
#include <versekey.h>
#include <versificationmgr.h>
#endif

namespace vorn::build {
namespace {

// The value of attribute `name` in the attribute text of a tag, entities
// left as they are (the attributes read here hold none); "" when missing.
std::string Attribute(std::string_view attrs, std::string_view name) {
  size_t at = 0;
  while ((at = attrs.find(name, at)) != std::string_view::npos) {
    const bool starts = at == 0 || std::isspace(static_cast<unsigned char>(attrs[at - 1]));
    size_t p = at + name.size();
    while (p < attrs.size() && attrs[p] == ' ') ++p;
    if (starts && p < attrs.size() && attrs[p] == '=') {
      ++p;
      while (p < attrs.size() && attrs[p] == ' ') ++p;
      if (p < attrs.size() && (attrs[p] == '"' || attrs[p] == '\'')) {
        const size_t end = attrs.find(attrs[p], p + 1);
        if (end == std::string_view::npos) return {};
        return std::string(attrs.substr(p + 1, end - p - 1));
      }
    }
    at += name.size();
  }
  return {};
}

bool HasAttribute(std::string_view attrs, std::string_view name) {
  return !Attribute(attrs, name).empty();
}

// "strong:H0430 strong:H0853" or "H430" items; other lemma schemes are left out.
std::vector<std::string> StrongsOf(std::string_view lemma) {
  std::vector<std::string> out;
  size_t p = 0;
  while (p < lemma.size()) {
    while (p < lemma.size() && lemma[p] == ' ') ++p;
    size_t end = lemma.find(' ', p);
    if (end == std::string_view::npos) end = lemma.size();
    std::string_view item = lemma.substr(p, end - p);
    p = end;
    if (item.starts_with("strong:")) item.remove_prefix(7);
    if (item.size() < 2 || (item[0] != 'H' && item[0] != 'G') ||
        !std::isdigit(static_cast<unsigned char>(item[1])))
      continue;
    std::string number = NormalizeStrongs(item[0], item.substr(1));
    if (!number.empty() && std::find(out.begin(), out.end(), number) == out.end())
      out.push_back(std::move(number));
  }
  return out;
}

// The first morphology code of a morph attribute, its scheme prefix removed:
// "robinson:V-PAI-3S" gives "V-PAI-3S".
std::string MorphOf(std::string_view morph) {
  const size_t space = morph.find(' ');
  if (space != std::string_view::npos) morph = morph.substr(0, space);
  const size_t colon = morph.find(':');
  if (colon != std::string_view::npos) morph.remove_prefix(colon + 1);
  return std::string(morph);
}

void AppendDecoded(std::string_view text, std::string* out) {
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '&') {
      out->push_back(text[i]);
      continue;
    }
    const size_t semi = text.find(';', i);
    if (semi == std::string_view::npos || semi - i > 10) {
      out->push_back('&');
      continue;
    }
    const std::string_view entity = text.substr(i + 1, semi - i - 1);
    unsigned long code = 0;
    if (entity == "amp")
      code = '&';
    else if (entity == "lt")
      code = '<';
    else if (entity == "gt")
      code = '>';
    else if (entity == "quot")
      code = '"';
    else if (entity == "apos")
      code = '\'';
    else if (entity.size() > 1 && entity[0] == '#')
      code = entity[1] == 'x' ? std::strtoul(std::string(entity.substr(2)).c_str(), nullptr, 16)
                              : std::strtoul(std::string(entity.substr(1)).c_str(), nullptr, 10);
    if (code == 0 || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
      out->push_back('&');
      continue;
    }
    if (code < 0x80) {
      out->push_back(static_cast<char>(code));
    } else if (code < 0x800) {
      out->push_back(static_cast<char>(0xC0 | (code >> 6)));
      out->push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else if (code < 0x10000) {
      out->push_back(static_cast<char>(0xE0 | (code >> 12)));
      out->push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
      out->push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else {
      out->push_back(static_cast<char>(0xF0 | (code >> 18)));
      out->push_back(static_cast<char>(0x80 | ((code >> 12) & 0x3F)));
      out->push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
      out->push_back(static_cast<char>(0x80 | (code & 0x3F)));
    }
    i = semi;
  }
}

// True when the token holds a letter or digit; the punctuation of English
// Bibles (ASCII marks, dashes, quotes, the pilcrow) does not count.
bool HasLetters(std::string_view token) {
  static constexpr std::string_view kMarks[] = {"\u00B6", "\u2013", "\u2014", "\u2018", "\u2019",
                                                "\u201C", "\u201D", "\u2026", "\u00B7"};
  for (size_t i = 0; i < token.size();) {
    const auto c = static_cast<unsigned char>(token[i]);
    if (c < 0x80) {
      if (std::isalnum(c)) return true;
      ++i;
      continue;
    }
    bool mark = false;
    for (std::string_view m : kMarks) {
      if (token.substr(i).starts_with(m)) {
        i += m.size();
        mark = true;
        break;
      }
    }
    if (!mark) return true;
  }
  return false;
}

// The tagging a run of text carries: the <w> element it is in (0 outside
// any) and the spans it lies within.
struct Tagging {
  int element = 0;
  const std::vector<std::string>* strongs = nullptr;
  const std::string* morph = nullptr;
  bool red_letter = false;
  bool added = false;
};

// Cuts text into words at white space; punctuation standing alone joins the
// word before it (or the next word at the start).
class WordSplitter {
 public:
  explicit WordSplitter(std::vector<SwordWord>* words) : words_(words) {}

  void Add(std::string_view text, const Tagging& tag) {
    for (char c : text) {
      if (c == ' ' || c == '\n' || c == '\t' || c == '\r') {
        Flush();
        continue;
      }
      if (word_.empty() && pending_.empty()) {
        tag_ = tag;
        tagged_ = tag.element != 0;
      } else if (!tagged_ && tag.element != 0 && std::isalnum(static_cast<unsigned char>(c))) {
        // Punctuation before the word ("(the") takes the word's tagging.
        tag_ = tag;
        tagged_ = true;
      }
      word_.push_back(c);
    }
  }

  // Ends the word being read. A pilcrow standing alone before the first
  // word is a paragraph mark, not a word.
  bool Flush() {
    if (word_.empty()) return false;
    std::string token;
    token.swap(word_);
    if (std::string_view(token) == std::string_view("\u00B6")) {
      if (words_->empty()) pilcrow_ = true;
      return false;
    }
    if (!HasLetters(token)) {
      if (!words_->empty()) {
        words_->back().text_utf8 += token;
      } else {
        pending_ += token;
      }
      return false;
    }
    SwordWord w;
    w.text_utf8 = pending_ + token;
    pending_.clear();
    if (tagged_) {
      if (tag_.strongs) w.strongs = *tag_.strongs;
      if (tag_.morph) w.morph = *tag_.morph;
      w.continues_previous = tag_.element == last_element_;
    }
    w.red_letter = tag_.red_letter;
    w.added = tag_.added;
    last_element_ = tagged_ ? tag_.element : 0;
    tagged_ = false;
    words_->push_back(std::move(w));
    return false;
  }

  void Finish() {
    Flush();
    if (!pending_.empty() && !words_->empty()) words_->back().text_utf8 += pending_;
    pending_.clear();
  }

  bool saw_pilcrow() const { return pilcrow_; }

 private:
  std::vector<SwordWord>* words_;
  std::string word_;
  std::string pending_;
  Tagging tag_;
  bool tagged_ = false;
  int last_element_ = -1;
  bool pilcrow_ = false;
};

std::string CollapseSpaces(std::string_view text) {
  std::string out;
  bool space = false;
  for (char c : text) {
    if (c == ' ' || c == '\n' || c == '\t' || c == '\r') {
      space = !out.empty();
      continue;
    }
    if (space) out.push_back(' ');
    space = false;
    out.push_back(c);
  }
  return out;
}

bool IsParagraphMark(std::string_view name, std::string_view attrs) {
  if (name == "p") return true;
  const std::string type = Attribute(attrs, "type");
  return (name == "div" || name == "milestone") && (type == "x-p" || type == "paragraph");
}

}  // namespace

void ParseSwordEntry(const std::string& osis_markup, SwordMarkupState* state, SwordVerse* verse) {
  verse->words.clear();
  verse->headings.clear();
  verse->title_words.clear();
  verse->paragraph_start = state->paragraph_pending;
  state->paragraph_pending = false;

  WordSplitter body(&verse->words);
  WordSplitter title_splitter(&verse->title_words);
  // What each open element means, so that its end tag undoes it.
  struct Open {
    std::string name;
    bool red_letter = false;
  };
  std::vector<Open> open;
  int element_count = 0;
  int current_element = 0;
  std::vector<std::string> strongs;
  std::string morph;
  int skip_depth = 0;   // inside a note or an alternative reading
  int title_depth = 0;  // inside a title
  bool title_canonical = false;
  int added_depth = 0;
  std::string title_text;
  std::string decoded;

  const std::string_view s = osis_markup;
  size_t i = 0;
  while (i < s.size()) {
    if (s[i] != '<') {
      const size_t next = std::min(s.find('<', i), s.size());
      if (skip_depth == 0) {
        decoded.clear();
        AppendDecoded(s.substr(i, next - i), &decoded);
        Tagging tag;
        tag.element = current_element;
        tag.strongs = &strongs;
        tag.morph = &morph;
        tag.red_letter = state->red_letter_depth > 0;
        tag.added = added_depth > 0;
        if (title_depth > 0) {
          title_text += decoded;
          if (title_canonical) title_splitter.Add(decoded, tag);
        } else {
          body.Add(decoded, tag);
        }
      }
      i = next;
      continue;
    }
    const size_t close = s.find('>', i);
    if (close == std::string_view::npos) break;
    std::string_view tag = s.substr(i + 1, close - i - 1);
    i = close + 1;
    if (tag.empty() || tag[0] == '!' || tag[0] == '?') continue;
    const bool end_tag = tag[0] == '/';
    const bool empty_tag = !end_tag && tag.back() == '/';
    if (end_tag) tag.remove_prefix(1);
    if (empty_tag) tag.remove_suffix(1);
    size_t name_end = 0;
    while (name_end < tag.size() && !std::isspace(static_cast<unsigned char>(tag[name_end])))
      ++name_end;
    const std::string_view name = tag.substr(0, name_end);
    const std::string_view attrs = tag.substr(name_end);

    if (end_tag) {
      // The innermost open element of that name ends; elements left open
      // inside it end with it.
      auto it =
          std::find_if(open.rbegin(), open.rend(), [&](const Open& o) { return o.name == name; });
      if (it == open.rend()) {
        // Opened in an earlier verse: only its lasting meaning is undone.
        if (name == "q" && state->red_letter_depth > 0) --state->red_letter_depth;
        if (name == "p") state->paragraph_pending = true;
        continue;
      }
      const size_t keep = static_cast<size_t>(open.rend() - it) - 1;
      while (open.size() > keep) {
        const Open o = open.back();
        open.pop_back();
        if (o.name == "w") {
          current_element = 0;
          body.Flush();
          title_splitter.Flush();
        } else if (o.name == "note" || o.name == "rdg") {
          --skip_depth;
        } else if (o.name == "title") {
          if (--title_depth == 0) {
            title_splitter.Finish();
            std::string heading = CollapseSpaces(title_text);
            if (!heading.empty()) verse->headings.push_back(std::move(heading));
            title_text.clear();
            title_canonical = false;
          }
        } else if (o.name == "transChange") {
          --added_depth;
        } else if (o.name == "q" && o.red_letter) {
          --state->red_letter_depth;
        } else if (o.name == "p") {
          if (verse->words.empty()) continue;
          state->paragraph_pending = true;
        }
      }
      continue;
    }

    if (IsParagraphMark(name, attrs)) {
      if (HasAttribute(attrs, "eID")) {
        if (!verse->words.empty()) state->paragraph_pending = true;
      } else if (verse->words.empty()) {
        verse->paragraph_start = true;
      }
    }
    if (name == "q") {
      const bool jesus = Attribute(attrs, "who") == "Jesus";
      if (empty_tag) {
        if (jesus && HasAttribute(attrs, "sID")) ++state->red_letter_depth;
        if (jesus && HasAttribute(attrs, "eID") && state->red_letter_depth > 0)
          --state->red_letter_depth;
        continue;
      }
      if (jesus) ++state->red_letter_depth;
      open.push_back({std::string(name), jesus});
      continue;
    }
    if (empty_tag) continue;
    open.push_back({std::string(name), false});
    if (name == "w") {
      body.Flush();
      title_splitter.Flush();
      current_element = ++element_count;
      strongs = StrongsOf(Attribute(attrs, "lemma"));
      morph = MorphOf(Attribute(attrs, "morph"));
    } else if (name == "note" || name == "rdg") {
      ++skip_depth;
    } else if (name == "title") {
      if (title_depth++ == 0) {
        body.Flush();
        title_canonical = Attribute(attrs, "canonical") == "true";
      }
    } else if (name == "transChange") {
      ++added_depth;
    }
  }
  body.Finish();
  title_splitter.Finish();
  if (body.saw_pilcrow()) verse->paragraph_start = true;
}

#ifdef VORN_HAVE_SWORD

bool SwordSupported() { return true; }

namespace {

bool SameLetters(const char* a, const std::string& b) {
  if (!a) return false;
  return std::strlen(a) == b.size() && std::equal(b.begin(), b.end(), a, [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) ==
                  std::tolower(static_cast<unsigned char>(y));
         });
}

std::string Config(const sword::SWModule& m, const char* key) {
  const char* value = m.getConfigEntry(key);
  return value ? value : "";
}

// The library, opened as SWORD opens it for its own programs.
std::unique_ptr<sword::SWMgr> OpenLibrary(const std::string& folder) {
  if (folder.empty()) return std::make_unique<sword::SWMgr>();
  return std::make_unique<sword::SWMgr>(folder.c_str(), true, nullptr, false, false);
}

sword::SWModule* FindModule(sword::SWMgr& mgr, const std::string& name, std::string* error) {
  sword::SWModule* found = nullptr;
  for (auto& [key, module] : mgr.getModules()) {
    if (SameLetters(module->getName(), name)) {
      found = module;
      break;
    }
  }
  if (!found) {
    for (auto& [key, module] : mgr.getModules()) {
      if (SameLetters(module->getConfigEntry("Abbreviation"), name)) {
        found = module;
        break;
      }
    }
  }
  if (!found) {
    std::string names;
    for (auto& [key, module] : mgr.getModules()) {
      if (std::strcmp(module->getType(), sword::SWMgr::MODTYPE_BIBLES) != 0) continue;
      names += names.empty() ? "" : ", ";
      names += module->getName();
    }
    *error = "no SWORD module named " + name +
             " (Bible modules found: " + (names.empty() ? std::string("none") : names) + ")";
    return nullptr;
  }
  if (std::strcmp(found->getType(), sword::SWMgr::MODTYPE_BIBLES) != 0) {
    *error = std::string("the SWORD module ") + found->getName() + " is no Bible text (" +
             found->getType() + ")";
    return nullptr;
  }
  // Only what the reader understands: OSIS markup in UTF-8, unlocked. Any
  // other module would compile its markup as words, or bytes as text.
  const std::string module = found->getName();
  const std::string source = Config(*found, "SourceType");
  if (!SameLetters("OSIS", source)) {
    *error = "the SWORD module " + module + " is not marked up in OSIS (SourceType=" +
             (source.empty() ? std::string("Plaintext") : source) + ")";
    return nullptr;
  }
  const std::string encoding = Config(*found, "Encoding");
  if (!SameLetters("UTF-8", encoding)) {
    *error = "the SWORD module " + module + " is not in UTF-8 (Encoding=" +
             (encoding.empty() ? std::string("Latin-1") : encoding) + ")";
    return nullptr;
  }
  if (const char* key = found->getConfigEntry("CipherKey"); key && !*key) {
    *error = "the SWORD module " + module + " is locked (no CipherKey)";
    return nullptr;
  }
  return found;
}

void Describe(const sword::SWModule& m, SwordModuleInfo* info) {
  info->name = m.getName();
  info->abbreviation = Config(m, "Abbreviation");
  if (info->abbreviation.empty()) info->abbreviation = info->name;
  info->description = m.getDescription() ? m.getDescription() : "";
  info->versification = Config(m, "Versification");
  if (info->versification.empty()) info->versification = "KJV";
  info->language = Config(m, "Lang");
  info->version = Config(m, "Version");
  info->data_path = Config(m, "AbsoluteDataPath");
  // Features and filters may each appear several times in the
  // configuration; SWORD keeps them all in its config map.
  info->has_strongs = false;
  info->has_morphology = false;
  const auto& section = m.getConfig();
  for (auto it = section.begin(); it != section.end(); ++it) {
    const std::string key = it->first.c_str();
    const std::string value = it->second.c_str();
    if ((key == "Feature" && value == "StrongsNumbers") ||
        (key == "GlobalOptionFilter" && value.find("Strongs") != std::string::npos))
      info->has_strongs = true;
    if (key == "GlobalOptionFilter" && value.find("Morph") != std::string::npos)
      info->has_morphology = true;
  }
}

}  // namespace

bool DescribeSwordModule(const std::string& module_name, SwordModuleInfo* info, std::string* error,
                         const std::string& library_folder) {
  auto mgr = OpenLibrary(library_folder);
  sword::SWModule* m = FindModule(*mgr, module_name, error);
  if (!m) return false;
  Describe(*m, info);
  return true;
}

bool ReadSwordModule(const std::string& module_name,
                     const std::function<void(const SwordVerse&)>& each_verse, std::string* error,
                     const std::string& library_folder) {
  auto mgr = OpenLibrary(library_folder);
  sword::SWModule* m = FindModule(*mgr, module_name, error);
  if (!m) return false;
  std::unique_ptr<sword::SWKey> key(m->createKey());
  auto* verse_key = dynamic_cast<sword::VerseKey*>(key.get());
  if (!verse_key) {
    *error = std::string("the SWORD module ") + m->getName() + " has no verse keys";
    return false;
  }
  verse_key->setIntros(false);
  verse_key->setAutoNormalize(true);
  m->setKey(verse_key);
  m->setSkipConsecutiveLinks(true);
  SwordMarkupState state;
  SwordVerse verse;
  for (m->setPosition(sword::TOP); !m->popError(); m->increment()) {
    const auto* at = dynamic_cast<const sword::VerseKey*>(m->getKey());
    if (!at || at->getVerse() == 0 || at->getChapter() == 0) continue;
    const sword::SWBuf& raw = m->getRawEntryBuf();
    if (raw.length() == 0) continue;
    // A book begins a paragraph whether or not its introduction says so.
    const bool new_book = verse.osis_book != at->getOSISBookName();
    verse.osis_book = at->getOSISBookName();
    verse.chapter = at->getChapter();
    verse.verse = at->getVerse();
    ParseSwordEntry(std::string(raw.c_str(), raw.length()), &state, &verse);
    if (new_book) verse.paragraph_start = true;
    if (verse.words.empty() && verse.title_words.empty()) continue;
    each_verse(verse);
  }
  return true;
}

bool SwordMappingToKjv(const std::string& versification,
                       std::vector<std::pair<SwordVerseRef, SwordVerseRef>>* mapping,
                       std::string* error) {
  mapping->clear();
  auto* mgr = sword::VersificationMgr::getSystemVersificationMgr();
  const sword::VersificationMgr::System* own = mgr->getVersificationSystem(versification.c_str());
  // A versification with the deuterocanonical books ("NRSVA", "KJVA")
  // numbers the other books as the one without them, whose mapping libsword
  // may carry alone.
  if (own && versification.size() > 1 && versification.back() == 'A') {
    const auto* base =
        mgr->getVersificationSystem(versification.substr(0, versification.size() - 1).c_str());
    if (base) own = base;
  }
  const sword::VersificationMgr::System* kjv = mgr->getVersificationSystem("KJV");
  if (!own || !kjv) {
    *error = "libsword knows no versification named " + versification;
    return false;
  }
  if (own == kjv) return true;
  for (int b = 0; b < own->getBookCount(); ++b) {
    const sword::VersificationMgr::Book* book = own->getBook(b);
    for (int c = 1; c <= book->getChapterMax(); ++c) {
      for (int v = 1; v <= book->getVerseMax(c); ++v) {
        const char* to_book = book->getOSISName();
        int to_chapter = c, to_verse = v, to_end = v;
        own->translateVerse(kjv, &to_book, &to_chapter, &to_verse, &to_end);
        if (!to_book ||
            (std::strcmp(to_book, book->getOSISName()) == 0 && to_chapter == c && to_verse == v))
          continue;
        mapping->push_back({{book->getOSISName(), c, v}, {to_book, to_chapter, to_verse}});
      }
    }
  }
  return true;
}

#else

namespace {
constexpr char kNoSword[] = "this vorn-build was built without SWORD support (libsword missing)";
}

bool SwordSupported() { return false; }

bool SwordMappingToKjv(const std::string&, std::vector<std::pair<SwordVerseRef, SwordVerseRef>>*,
                       std::string* error) {
  *error = kNoSword;
  return false;
}

bool DescribeSwordModule(const std::string&, SwordModuleInfo*, std::string* error,
                         const std::string&) {
  *error = kNoSword;
  return false;
}

bool ReadSwordModule(const std::string&, const std::function<void(const SwordVerse&)>&,
                     std::string* error, const std::string&) {
  *error = kNoSword;
  return false;
}

#endif

}  // namespace vorn::build
