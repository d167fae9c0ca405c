#include "textdb/table_writer.h"

#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <filesystem>
#include <map>
#include <memory>
#include <numeric>
#include <set>
#include <system_error>
#include <unordered_map>

#include "platform/file_system.h"
#include "platform/u16.h"
#include "textdb/collation.h"
#include "textdb/records.h"

namespace vorn {

namespace {

constexpr uint32_t kNoForm = 0xFFFFFFFF;
// Marks a variant change that repeats the word's own text.
constexpr uint32_t kSameText = 0xFFFFFFFE;
// Chapter 255 is the closing record's, so a real chapter stays below it.
constexpr int kMaxChapter = 254;
// The closing record's book is the book count + 1 and must fit in a byte.
constexpr size_t kMaxBooks = 254;
constexpr int kMaxHeadingLevel = 10;
// Stats.txt line indentation per tree level.
constexpr int kIndent = 2;

bool Fail(std::string* error, std::string message) {
  if (error) *error = std::move(message);
  return false;
}

std::string Quoted(std::u16string_view text) { return "\"" + platform::ToUtf8(text) + "\""; }
std::string Quoted(std::string_view text) { return "\"" + std::string(text) + "\""; }

void PutU32(std::string* out, uint32_t value) {
  char bytes[4];
  std::memcpy(bytes, &value, 4);  // tables are little-endian, as is the host (records.h)
  out->append(bytes, 4);
}

void PutU32s(std::string* out, const std::vector<uint32_t>& values) {
  out->append(reinterpret_cast<const char*>(values.data()), values.size() * 4);
}

void PutUnits(std::string* out, std::u16string_view text) {
  out->append(reinterpret_cast<const char*>(text.data()), text.size() * 2);
}

void PutUnit(std::string* out, char16_t unit) {
  out->append(reinterpret_cast<const char*>(&unit), 2);
}

bool HasZero(std::u16string_view text) { return text.find(u'\0') != std::u16string_view::npos; }

// A key name of Stats.txt: printable ASCII, no ':' (ends the key) and no '/'
// (separates the levels of full keys); a leading '#' would make a comment.
bool IsKeyName(std::string_view name, bool allow_space) {
  if (name.empty() || name.front() == ' ' || name.back() == ' ' || name.front() == '#')
    return false;
  for (char c : name) {
    if (c == ' ' && allow_space) continue;
    if (c <= ' ' || c > '~' || c == ':' || c == '/') return false;
  }
  return true;
}

// A key name that is also part of a file name.
bool IsFileKeyName(std::string_view name) {
  if (!IsKeyName(name, false) || name == "." || name == "..") return false;
  return name.find_first_of("\\*?\"<>|") == std::string_view::npos;
}

// The keys of Stats.txt as a tree in insertion order. Readers list the
// children of a key in file order (lines, heading fonts, link kinds), so the
// order of insertion is the order that reaches them.
class StatsTree {
 public:
  StatsTree() { nodes_.emplace_back(); }

  // Sets the value of the key whose path from the top is `path`; parents
  // that are missing get empty values. False when the key was already set.
  bool Set(const std::vector<std::string_view>& path, std::u16string_view value,
           std::string* error) {
    int node = 0;
    std::string full;
    for (std::string_view name : path) {
      node = Child(node, name);
      full += "/";
      full += name;
    }
    Node& n = nodes_[node];
    if (n.set) return Fail(error, "the key " + full + " is given twice");
    n.set = true;
    n.value = value;
    return true;
  }

  bool Render(std::string* out, std::string* error) const {
    out->clear();
    for (int child : nodes_[0].children) {
      if (!RenderNode(child, 0, "", out, error)) return false;
    }
    return true;
  }

 private:
  struct Node {
    std::string name;
    std::u16string value;
    bool set = false;
    std::vector<int> children;
  };

  int Child(int parent, std::string_view name) {
    for (int c : nodes_[parent].children) {
      if (nodes_[c].name == name) return c;
    }
    Node n;
    n.name = name;
    nodes_.push_back(std::move(n));
    int index = static_cast<int>(nodes_.size()) - 1;
    nodes_[parent].children.push_back(index);
    return index;
  }

  bool RenderNode(int index, int depth, const std::string& parent_key, std::string* out,
                  std::string* error) const {
    const Node& n = nodes_[index];
    std::string key = parent_key + "/" + n.name;
    out->append(static_cast<size_t>(depth * kIndent), ' ');
    out->append(n.name);
    out->push_back(':');
    if (!n.value.empty()) out->push_back(' ');
    for (char16_t c : n.value) {
      if (c > 0xFF) {
        return Fail(error, "the value of " + key + " has a character above U+00FF, which " +
                               "Stats.txt (8-bit text) cannot hold: " + Quoted(n.value));
      }
      if (c == u'\n' || c == u'\r' || c == 0) {
        return Fail(error, "the value of " + key + " has a line break or a 0 character");
      }
      out->push_back(static_cast<char>(c));
    }
    out->push_back('\n');
    for (int child : n.children) {
      if (!RenderNode(child, depth + 1, key, out, error)) return false;
    }
    return true;
  }

  std::vector<Node> nodes_;
};

std::string VerseName(const DBSource& source, const DBVerse& v) {
  std::string book = v.book >= 1 && static_cast<size_t>(v.book) <= source.books.size()
                         ? source.books[v.book - 1]
                         : "book " + std::to_string(v.book);
  return book + " " + std::to_string(v.chapter) + ":" + platform::ToUtf8(v.label);
}

// Assembles all files of one database. Each step checks its part of the
// source and appends its files; the first fault ends the build.
class DatabaseBuilder {
 public:
  DatabaseBuilder(const DBSource& source, DBFiles* files, std::string* error)
      : source_(source), files_(files), error_(error) {}

  bool Run() {
    return CheckLines() && MakeCollator() && BuildVerses() && BuildLines() && BuildHeadings() &&
           BuildFormats() && BuildSentences() && BuildPunctuation() && BuildGlossMarks() &&
           BuildLinks() && BuildStats();
  }

 private:
  bool Error(std::string message) { return Fail(error_, std::move(message)); }

  // Table names are compared without regard to case so that a database
  // copied to a case-insensitive file system keeps all its tables.
  bool AddFile(std::string path, std::string bytes) {
    std::string folded = path;
    std::transform(folded.begin(), folded.end(), folded.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (!file_names_.insert(folded).second) {
      return Error("two tables would be named " + Quoted(path) +
                   " (a line or variant name collides with another table)");
    }
    files_->emplace_back(std::move(path), std::move(bytes));
    return true;
  }

  bool CheckWord(uint32_t word, const char* what) {
    if (word >= word_count_) {
      return Error(std::string(what) + ": word " + std::to_string(word) +
                   " is beyond the last word (" + std::to_string(word_count_) + " words)");
    }
    return true;
  }

  bool CheckLines() {
    const auto& lines = source_.lines;
    if (lines.empty()) return Error("a database needs at least one line");
    // The database takes its word count from its first line, and the links
    // line has no word count of its own.
    if (lines.front().name == "Links") return Error("the first line must not be the Links line");
    uint64_t count = lines.front().words.size();
    if (count >= 0x80000000u) return Error("too many words for 32-bit word indexes");
    word_count_ = static_cast<uint32_t>(count);
    std::set<std::string> names;
    for (size_t i = 0; i < lines.size(); ++i) {
      const DBLine& line = lines[i];
      if (!IsFileKeyName(line.name)) return Error("unusable line name " + Quoted(line.name));
      if (!names.insert(line.name).second) return Error("line " + Quoted(line.name) + " twice");
      if (line.name == "Links") {
        links_line_ = static_cast<int>(i);
        if (!line.words.empty() || !line.variants.empty()) {
          return Error("the Links line takes its data from the link entries, not from words");
        }
        continue;
      }
      if (line.name == "Form") form_line_ = static_cast<int>(i);
      if (line.words.size() != count) {
        return Error("line " + Quoted(line.name) + " has " + std::to_string(line.words.size()) +
                     " words, line " + Quoted(lines.front().name) + " has " +
                     std::to_string(count));
      }
    }
    return true;
  }

  bool MakeCollator() {
    collator_ = MakeFormCollator();
    if (!collator_) return Error("cannot make the collator");
    return true;
  }

  bool BuildVerses() {
    const auto& books = source_.books;
    if (books.empty()) return Error("a database needs at least one book");
    if (books.size() > kMaxBooks) return Error("more than 254 books");
    for (const std::string& code : books) {
      if (!IsKeyName(code, false)) return Error("unusable book code " + Quoted(code));
    }
    // The verse index finds the book count in the record before the closing
    // record, and the first word must belong to a verse.
    if (source_.verses.empty()) return Error("a database needs at least one verse");
    std::string out;
    out.reserve((source_.verses.size() + 1) * sizeof(VerseNdx));
    std::set<uint32_t> keys;
    int book = 0;
    uint32_t first = 0;
    for (const DBVerse& v : source_.verses) {
      std::string name = "verse " + VerseName(source_, v);
      if (v.book < 1 || static_cast<size_t>(v.book) > books.size()) {
        return Error(name + ": book number outside the book list");
      }
      if (v.book < book) {
        return Error(name +
                     ": comes after a verse of a later book; each book's verses must stand "
                     "together, in book order");
      }
      if (v.chapter < 0 || v.chapter > kMaxChapter) return Error(name + ": chapter out of 0..254");
      VerseNdx r;
      r.book = static_cast<uint8_t>(v.book);
      r.chapter = static_cast<uint8_t>(v.chapter);
      if (!EncodeVerseLabel(v.label, &r.verse, &r.suffix)) {
        return Error(name +
                     ": the verse label cannot be stored (a number up to 255, then "
                     "nothing, one letter, or '-' and a number from 1 to 127)");
      }
      if (&v == &source_.verses.front() && v.first_word != 0) {
        return Error(name + ": the first verse must begin at word 0");
      }
      if (v.first_word < first) return Error(name + ": begins before the verse before it");
      if (v.first_word > word_count_) return Error(name + ": begins beyond the last word");
      uint32_t key = static_cast<uint32_t>(r.book) << 24 | static_cast<uint32_t>(r.chapter) << 16 |
                     static_cast<uint32_t>(r.verse) << 8 | r.suffix;
      if (!keys.insert(key).second) return Error(name + ": the same verse twice");
      r.first_word = v.first_word;
      out.append(reinterpret_cast<const char*>(&r), sizeof r);
      book = v.book;
      first = v.first_word;
    }
    VerseNdx closing{word_count_, static_cast<uint8_t>(books.size() + 1), kClosingChapter, 0, 0};
    out.append(reinterpret_cast<const char*>(&closing), sizeof closing);
    return AddFile("verses.ndx", std::move(out));
  }

  bool BuildLines() {
    for (const DBLine& line : source_.lines) {
      if (line.name == "Links") continue;
      if (!BuildLine(line)) return false;
    }
    return true;
  }

  // One ordinary line: its distinct forms in collation order, each word's
  // form number, each form's words, and the variant tables.
  bool BuildLine(const DBLine& line) {
    const std::string& name = line.name;
    const uint32_t n = word_count_;

    std::vector<std::u16string_view> forms;  // by id, in order of first appearance
    std::unordered_map<std::u16string_view, uint32_t> ids;
    ids.reserve(n / 4 + 16);
    auto intern = [&](std::u16string_view text) {
      auto [it, added] = ids.try_emplace(text, static_cast<uint32_t>(forms.size()));
      if (added) forms.push_back(text);
      return it->second;
    };
    std::vector<uint32_t> word_form(n);
    for (uint32_t w = 0; w < n; ++w) word_form[w] = intern(line.words[w]);
    const size_t main_forms = forms.size();
    for (size_t f = 0; f < main_forms; ++f) {
      if (HasZero(forms[f])) return Error("line " + Quoted(name) + ": a word has a 0 character");
    }

    // Variant texts that are no form of the line become forms without words.
    std::vector<std::vector<std::pair<uint32_t, uint32_t>>> changes(line.variants.size());
    std::set<std::string> variant_names;
    for (size_t v = 0; v < line.variants.size(); ++v) {
      const DBVariant& var = line.variants[v];
      std::string what = "line " + Quoted(name) + ", variant " + Quoted(var.name);
      if (!IsFileKeyName(var.name)) return Error(what + ": unusable variant name");
      if (!variant_names.insert(var.name).second) return Error(what + ": given twice");
      changes[v].reserve(var.changes.size());
      for (const auto& [w, text] : var.changes) {
        if (!CheckWord(w, what.c_str())) return false;
        if (HasZero(text)) return Error(what + ": a text has a 0 character");
        uint32_t alt = text == forms[word_form[w]] ? kSameText : intern(text);
        changes[v].emplace_back(w, alt);
      }
    }
    const uint32_t form_count = static_cast<uint32_t>(forms.size());

    std::vector<uint32_t> occurrences(form_count, 0);
    for (uint32_t w = 0; w < n; ++w) ++occurrences[word_form[w]];

    // Variant tables by form id.
    std::vector<std::vector<uint32_t>> variant_alt(line.variants.size());
    for (size_t v = 0; v < line.variants.size(); ++v) {
      if (!ResolveVariant(line, v, forms, word_form, occurrences, changes[v], &variant_alt[v])) {
        return false;
      }
    }

    std::vector<uint32_t> order;  // form ids in collation order
    SortForms(forms, &order);
    std::vector<uint32_t> rank(form_count);
    for (uint32_t r = 0; r < form_count; ++r) rank[order[r]] = r;

    std::string strings;
    size_t string_units = 0;
    for (auto f : forms) string_units += f.size() + 1;
    strings.reserve(string_units * 2);
    std::vector<uint32_t> records(2 * size_t{form_count});
    std::vector<uint32_t> lists(n + size_t{form_count});
    std::vector<uint32_t> cursor(form_count);  // by id
    uint32_t list_pos = 0;
    for (uint32_t r = 0; r < form_count; ++r) {
      uint32_t id = order[r];
      records[2 * r] = static_cast<uint32_t>(strings.size() / 2);
      records[2 * r + 1] = list_pos;
      PutUnits(&strings, forms[id]);
      PutUnit(&strings, 0);
      lists[list_pos] = occurrences[id];
      cursor[id] = list_pos + 1;
      list_pos += 1 + occurrences[id];
    }
    if (strings.size() / 2 > 0xFFFFFFFFu) return Error("line " + Quoted(name) + ": forms too long");
    std::vector<uint32_t> word_ranks(n);
    for (uint32_t w = 0; w < n; ++w) {
      uint32_t id = word_form[w];
      lists[cursor[id]++] = w;
      word_ranks[w] = rank[id];
    }

    std::string bytes;
    if (!AddFile(name + "s.db", std::move(strings))) return false;
    PutU32s(&bytes, word_ranks);
    if (!AddFile(name + "db.ndx", std::move(bytes))) return false;
    bytes.clear();
    PutU32s(&bytes, lists);
    if (!AddFile(name + "ndx.ndx", std::move(bytes))) return false;
    bytes.clear();
    PutU32s(&bytes, records);
    if (!AddFile(name + "ndxx.ndx", std::move(bytes))) return false;
    for (size_t v = 0; v < line.variants.size(); ++v) {
      std::vector<uint32_t> table(form_count);
      for (uint32_t r = 0; r < form_count; ++r) {
        uint32_t alt = variant_alt[v][order[r]];
        table[r] = alt == kNoForm ? kNoForm : rank[alt];
      }
      bytes.clear();
      PutU32s(&bytes, table);
      if (!AddFile(line.variants[v].name + ".ndx", std::move(bytes))) return false;
    }
    return true;
  }

  // The variant's form (an id) for every form id, kNoForm where it reads as
  // the line. Every word of a form must agree, since the table holds one
  // entry per form.
  bool ResolveVariant(const DBLine& line, size_t v, const std::vector<std::u16string_view>& forms,
                      const std::vector<uint32_t>& word_form,
                      const std::vector<uint32_t>& occurrences,
                      const std::vector<std::pair<uint32_t, uint32_t>>& changes,
                      std::vector<uint32_t>* alt) {
    const DBVariant& var = line.variants[v];
    std::string what = "line " + Quoted(line.name) + ", variant " + Quoted(var.name);
    std::vector<uint32_t> word_alt(word_count_, kSameText);
    std::vector<uint8_t> listed(word_count_, 0);
    alt->assign(forms.size(), kNoForm);
    std::vector<uint32_t> agreeing(forms.size(), 0);
    for (auto [w, a] : changes) {
      if (listed[w]) return Error(what + ": word " + std::to_string(w) + " is listed twice");
      listed[w] = 1;
      word_alt[w] = a;
      if (a == kSameText) continue;
      uint32_t f = word_form[w];
      if ((*alt)[f] == kNoForm) {
        (*alt)[f] = a;
      } else if ((*alt)[f] != a) {
        return Error(what + ": words of the form " + Quoted(forms[f]) + " have different texts " +
                     Quoted(forms[(*alt)[f]]) + " and " + Quoted(forms[a]) +
                     "; a variant can only differ per form");
      }
      ++agreeing[f];
    }
    for (uint32_t f = 0; f < forms.size(); ++f) {
      if ((*alt)[f] == kNoForm || agreeing[f] == occurrences[f]) continue;
      uint32_t odd = 0;
      while (word_form[odd] != f || word_alt[odd] != kSameText) ++odd;
      return Error(what + ": word " + std::to_string(odd) + " keeps the form " + Quoted(forms[f]) +
                   " while other words of that form read " + Quoted(forms[(*alt)[f]]) +
                   "; a variant can only differ per form");
    }
    return true;
  }

  // Orders form ids by the collator's sort keys (one key per form, compared
  // as byte strings, which ICU guarantees to agree with its comparison);
  // forms that collate equal are kept apart and ordered by code units.
  void SortForms(const std::vector<std::u16string_view>& forms, std::vector<uint32_t>* order) {
    std::vector<uint8_t> keys;
    std::vector<size_t> key_start(forms.size() + 1);
    keys.reserve(forms.size() * 24);
    std::vector<uint8_t> buffer(512);
    for (size_t i = 0; i < forms.size(); ++i) {
      key_start[i] = keys.size();
      const auto len = static_cast<int32_t>(forms[i].size());
      int32_t need = collator_->getSortKey(forms[i].data(), len, buffer.data(),
                                           static_cast<int32_t>(buffer.size()));
      if (need > static_cast<int32_t>(buffer.size())) {
        buffer.resize(static_cast<size_t>(need));
        need = collator_->getSortKey(forms[i].data(), len, buffer.data(), need);
      }
      keys.insert(keys.end(), buffer.begin(), buffer.begin() + need);
    }
    key_start[forms.size()] = keys.size();
    order->resize(forms.size());
    std::iota(order->begin(), order->end(), 0u);
    std::sort(order->begin(), order->end(), [&](uint32_t a, uint32_t b) {
      size_t la = key_start[a + 1] - key_start[a], lb = key_start[b + 1] - key_start[b];
      int c = std::memcmp(&keys[key_start[a]], &keys[key_start[b]], std::min(la, lb));
      if (c != 0) return c < 0;
      if (la != lb) return la < lb;
      return forms[a] < forms[b];
    });
  }

  // Indexes of the items of `items` sorted by word; false when a word is
  // listed twice or is beyond the last word.
  template <typename T>
  bool SortByWord(const std::vector<T>& items, const char* what, std::vector<size_t>* order) {
    order->resize(items.size());
    std::iota(order->begin(), order->end(), size_t{0});
    std::stable_sort(order->begin(), order->end(),
                     [&](size_t a, size_t b) { return items[a].word < items[b].word; });
    for (size_t i = 0; i < order->size(); ++i) {
      uint32_t w = items[(*order)[i]].word;
      if (!CheckWord(w, what)) return false;
      if (i > 0 && items[(*order)[i - 1]].word == w) {
        return Error(std::string(what) + ": word " + std::to_string(w) + " is listed twice");
      }
    }
    return true;
  }

  // heads.db and heads.ndx are written even without headings: the database
  // does not open without them.
  bool BuildHeadings() {
    std::vector<size_t> order;
    if (!SortByWord(source_.headings, "headings", &order)) return false;
    std::string texts, index;
    for (size_t i : order) {
      const DBHeading& h = source_.headings[i];
      std::string what = "heading at word " + std::to_string(h.word);
      if (h.chain.empty()) return Error(what + ": no heading");
      if (texts.size() / 2 > 0xFFFFFFFFu) return Error("headings too long");
      PutU32(&index, h.word);
      PutU32(&index, static_cast<uint32_t>(texts.size() / 2));
      for (const DBHeadingLevel& level : h.chain) {
        if (level.level < 1 || level.level > kMaxHeadingLevel) {
          return Error(what + ": level " + std::to_string(level.level) + " outside 1..10");
        }
        if (level.texts.empty()) return Error(what + ": a level without text");
        PutUnit(&texts, static_cast<char16_t>(level.level));
        for (const std::u16string& text : level.texts) {
          // Code units 0..10 after a text end the chain or begin the next
          // level, so a text must not begin with one.
          if (text.empty() || text[0] <= kMaxHeadingLevel) {
            return Error(what + ": a text is empty or begins with a code unit up to 10");
          }
          if (HasZero(text)) return Error(what + ": a text has a 0 character");
          PutUnits(&texts, text);
          PutUnit(&texts, 0);
        }
      }
      PutUnit(&texts, 0);
    }
    return AddFile("heads.db", std::move(texts)) && AddFile("heads.ndx", std::move(index));
  }

  bool BuildFormats() {
    if (source_.formats.empty()) return true;
    std::vector<size_t> order;
    if (!SortByWord(source_.formats, "formats", &order)) return false;
    std::string out;
    for (size_t i : order) {
      const DBFormat& f = source_.formats[i];
      if (!EncodeFormatCode(f.word, f.code, &out)) {
        return Error("format code at word " + std::to_string(f.word) +
                     " has a 0 character or one above U+00FF");
      }
    }
    return AddFile("Format.ndx", std::move(out));
  }

  // Written even when empty: the program warns whenever it cannot read it.
  bool BuildSentences() {
    std::vector<uint32_t> starts = source_.sentence_starts;
    std::sort(starts.begin(), starts.end());
    starts.erase(std::unique(starts.begin(), starts.end()), starts.end());
    if (!starts.empty() && !CheckWord(starts.back(), "sentence starts")) return false;
    std::string out;
    PutU32s(&out, starts);
    return AddFile("Sentence.ndx", std::move(out));
  }

  // Both files are written for every Form line, which does not open without
  // them. Equal entries are stored once.
  bool BuildPunctuation() {
    if (form_line_ < 0) {
      if (!source_.punctuation.empty()) return Error("punctuation needs a line named \"Form\"");
      return true;
    }
    const DBLine& form = source_.lines[form_line_];
    std::vector<size_t> order;
    if (!SortByWord(source_.punctuation, "punctuation", &order)) return false;
    std::u16string entries;
    std::string index;
    std::unordered_map<std::u16string, uint32_t> known;
    std::u16string entry;
    for (size_t i : order) {
      const DBPunctuation& p = source_.punctuation[i];
      std::string what = "punctuation of word " + std::to_string(p.word);
      if (p.capital < -1 ||
          (p.capital >= 0 && static_cast<size_t>(p.capital) >= form.words[p.word].size())) {
        return Error(what + ": the character to capitalise lies outside the word");
      }
      if (p.prefix.size() > 0xFFFF) return Error(what + ": prefix too long");
      if (HasZero(p.prefix) || HasZero(p.suffix)) return Error(what + ": a 0 character");
      entry.clear();
      entry.push_back(static_cast<char16_t>(p.capital + 1));
      entry.push_back(static_cast<char16_t>(p.prefix.size()));
      entry += p.prefix;
      entry += p.suffix;
      entry.push_back(0);
      auto [it, added] = known.try_emplace(entry, static_cast<uint32_t>(entries.size()));
      if (added) entries += entry;
      PutU32(&index, p.word);
      PutU32(&index, it->second);
    }
    std::string bytes;
    PutUnits(&bytes, entries);
    return AddFile("punct.ndx", std::move(bytes)) && AddFile("punctndx.ndx", std::move(index));
  }

  bool BuildGlossMarks() {
    if (source_.gloss_marks.empty()) return true;
    std::vector<size_t> order;
    if (!SortByWord(source_.gloss_marks, "gloss marks", &order)) return false;
    std::string out;
    for (size_t i : order) {
      const DBGlossMark& g = source_.gloss_marks[i];
      MarkT m{g.word, g.brace_start, g.brace_end, g.bracket_start, g.bracket_end};
      out.append(reinterpret_cast<const char*>(&m), sizeof m);
    }
    return AddFile("PVlinks/GlossMark.ndx", std::move(out));
  }

  // The link tables. Entries are numbered kind by kind; within a kind the
  // group titles come first, then the links in ordinal order of their texts
  // (searches for a link text are binary searches in that block).
  bool BuildLinks() {
    const DBLinks& links = source_.links;
    if (links_line_ < 0) {
      if (!links.kinds.empty() || !links.words.empty()) {
        return Error("link entries need a line named \"Links\"");
      }
      return true;
    }
    std::set<std::string> kind_names;
    for (const DBLinkKind& kind : links.kinds) {
      if (!IsKeyName(kind.name, false))
        return Error("unusable link kind name " + Quoted(kind.name));
      if (!kind_names.insert(kind.name).second)
        return Error("link kind " + Quoted(kind.name) + " twice");
    }
    // (kind, group title) -> (text, extra) -> number within its part of the block.
    using EntryMap = std::map<std::pair<std::u16string_view, std::string_view>, uint32_t>;
    std::vector<EntryMap> titles(links.kinds.size()), items(links.kinds.size());
    std::vector<size_t> order;
    if (!SortByWord(links.words, "links", &order)) return false;
    for (const DBWordLinks& wl : links.words) {
      for (const DBLinkEntry& e : wl.entries) {
        std::string what = "link of word " + std::to_string(wl.word);
        if (e.kind < 0 || static_cast<size_t>(e.kind) >= links.kinds.size()) {
          return Error(what + ": no such link kind");
        }
        if (HasZero(e.text)) return Error(what + ": the text has a 0 character");
        if (e.extra.find('\0') != std::string::npos) {
          return Error(what + ": the extra data has a 0 byte");
        }
        (e.group_title ? titles : items)[e.kind].try_emplace({e.text, e.extra}, 0);
      }
    }
    std::vector<std::pair<uint32_t, uint32_t>> kind_counts;  // (H, N)
    std::vector<const EntryMap::value_type*> entries;        // by entry number
    for (size_t k = 0; k < links.kinds.size(); ++k) {
      kind_counts.emplace_back(static_cast<uint32_t>(titles[k].size()),
                               static_cast<uint32_t>(items[k].size()));
      for (EntryMap* part : {&titles[k], &items[k]}) {
        for (auto& entry : *part) {
          entry.second = static_cast<uint32_t>(entries.size());
          entries.push_back(&entry);
        }
      }
    }
    auto number_of = [&](const DBLinkEntry& e) {
      return (e.group_title ? titles : items)[e.kind].find({e.text, e.extra})->second;
    };

    std::vector<uint32_t> word_link(word_count_, 0);
    std::vector<uint32_t> records{0};  // the empty list every word without links points at
    std::vector<std::pair<uint32_t, uint32_t>> occurrences;  // (entry, word)
    for (size_t i : order) {
      const DBWordLinks& wl = source_.links.words[i];
      if (wl.entries.empty()) continue;
      word_link[wl.word] = static_cast<uint32_t>(records.size());
      records.push_back(static_cast<uint32_t>(wl.entries.size()));
      for (const DBLinkEntry& e : wl.entries) {
        uint32_t number = number_of(e);
        records.push_back(number);
        occurrences.emplace_back(number, wl.word);
      }
    }
    std::sort(occurrences.begin(), occurrences.end());
    occurrences.erase(std::unique(occurrences.begin(), occurrences.end()), occurrences.end());

    std::string texts, extra_index, extra;
    std::vector<uint32_t> freq, link_freq;
    size_t next = 0;
    for (uint32_t number = 0; number < entries.size(); ++number) {
      const auto& [text, data] = entries[number]->first;
      link_freq.push_back(static_cast<uint32_t>(texts.size() / 2));
      link_freq.push_back(static_cast<uint32_t>(freq.size()));
      PutUnits(&texts, text);
      PutUnit(&texts, 0);
      size_t count_at = freq.size();
      freq.push_back(0);
      for (; next < occurrences.size() && occurrences[next].first == number; ++next) {
        freq.push_back(occurrences[next].second);
      }
      freq[count_at] = static_cast<uint32_t>(freq.size() - count_at - 1);
      PutU32(&extra_index, static_cast<uint32_t>(extra.size()));
      extra.append(data);
      extra.push_back('\0');  // each entry's data ends with a 0 byte
    }
    if (texts.size() / 2 > 0xFFFFFFFFu || extra.size() > 0xFFFFFFFFu) {
      return Error("link texts too long");
    }
    link_counts_ = std::move(kind_counts);

    std::string bytes;
    PutU32s(&bytes, word_link);
    if (!AddFile("PVlinks/WordLink.ndx", std::move(bytes))) return false;
    bytes.clear();
    PutU32s(&bytes, records);
    if (!AddFile("PVlinks/LinkRec.ndx", std::move(bytes))) return false;
    bytes.clear();
    PutU32s(&bytes, link_freq);
    if (!AddFile("PVlinks/LinkFreq.ndx", std::move(bytes))) return false;
    if (!AddFile("PVlinks/LinkText.db", std::move(texts))) return false;
    bytes.clear();
    PutU32s(&bytes, freq);
    if (!AddFile("PVlinks/Freq.db", std::move(bytes))) return false;
    return AddFile("PVlinks/L8Data.ndx", std::move(extra_index)) &&
           AddFile("PVlinks/L8Data.db", std::move(extra));
  }

  bool SetKeys(StatsTree* tree, std::vector<std::string_view> path,
               const std::vector<DBKeyValue>& keys, bool allow_space) {
    path.emplace_back();
    for (const DBKeyValue& kv : keys) {
      if (!IsKeyName(kv.key, allow_space)) return Error("unusable key name " + Quoted(kv.key));
      path.back() = kv.key;
      if (!tree->Set(path, kv.value, error_)) return false;
    }
    return true;
  }

  bool BuildStats() {
    const DBSource& s = source_;
    StatsTree tree;
    std::u16string_view bad = u"/\\:[]";
    if (s.name.empty() || s.name.find_first_of(bad) != std::u16string::npos ||
        std::any_of(s.name.begin(), s.name.end(), [](char16_t c) { return c < 0x20; })) {
      return Error("unusable database name " + Quoted(s.name) +
                   " (it names the user's folder and settings sections)");
    }
    std::u16string books;
    for (const std::string& code : s.books) {
      if (!books.empty()) books += u' ';
      books += platform::ToU16(code);
    }
    std::string* e = error_;
    if (!tree.Set({"Version"}, u"4.01", e) || !tree.Set({"Name"}, s.name, e) ||
        !tree.Set({"Title"}, s.title, e) || !tree.Set({"Books"}, books, e)) {
      return false;
    }
    for (size_t i = 0; i < s.copyrights.size(); ++i) {
      // Readers stop at the first empty copyright line.
      if (s.copyrights[i].empty()) return Error("an empty copyright line");
      std::string key = i == 0 ? "Copyright" : "Copyright" + std::to_string(i);
      if (!tree.Set({key}, s.copyrights[i], e)) return false;
    }
    auto set_if = [&](const std::vector<std::string_view>& path, const std::u16string& value) {
      return value.empty() || tree.Set(path, value, e);
    };
    if (!set_if({"Versification"}, s.versification) || !set_if({"Compiled"}, s.compiled) ||
        !set_if({"TagLabelFont"}, s.tag_label_font) ||
        !set_if({"Formats"}, s.formats.empty() ? u"" : u"1")) {
      return false;
    }
    if (!SetKeys(&tree, {"Headings", "Fonts"}, s.heading_fonts, true)) return false;
    if (!set_if({"Verses", "Fonts", "Verse"}, s.verse_font) ||
        !set_if({"Verses", "Fonts", "Chapter"}, s.chapter_font) ||
        !set_if({"Verses", "Fonts", "Ref"}, s.ref_font)) {
      return false;
    }
    for (const DBLine& line : s.lines) {
      std::string_view n = line.name;
      std::u16string names;
      for (const std::u16string& q : line.query_names) {
        if (q.empty() || q.find(u' ') != std::u16string::npos) {
          return Error("line " + Quoted(line.name) + ": query name " + Quoted(q) +
                       " is empty or has a space");
        }
        if (!names.empty()) names += u' ';
        names += q;
      }
      // Readers find a line by its key even when it has no keys below it.
      if (!tree.Set({"InterlinearLines", n}, u"", e) ||
          !set_if({"InterlinearLines", n, "Font"}, line.font) ||
          !set_if({"InterlinearLines", n, "QueryPrompt"}, line.query_prompt) ||
          !set_if({"InterlinearLines", n, "QueryNames"}, names) ||
          !set_if({"InterlinearLines", n, "Language"}, line.language) ||
          !set_if({"InterlinearLines", n, "TagScheme"}, line.tag_scheme)) {
        return false;
      }
      for (const DBVariant& v : line.variants) {
        if (!tree.Set({"InterlinearLines", n, "Alt", v.name}, v.display, e)) return false;
      }
      if (line.name == "Links" && !LinkKeys(&tree)) return false;
      if (!SetKeys(&tree, {"InterlinearLines", n}, line.extra_keys, false)) return false;
    }
    std::string text;
    if (!tree.Render(&text, error_)) return false;
    // Stats.txt first in the list, as people read the folder.
    if (!AddFile("Stats.txt", std::move(text))) return false;
    std::rotate(files_->begin(), files_->end() - 1, files_->end());
    return true;
  }

  bool LinkKeys(StatsTree* tree) {
    const DBLinks& links = source_.links;
    std::string* e = error_;
    if (!tree->Set({"InterlinearLines", "Links", "PVlinks"}, links.pvlinks_value, e)) return false;
    for (size_t k = 0; k < links.kinds.size(); ++k) {
      const DBLinkKind& kind = links.kinds[k];
      std::string counts =
          std::to_string(link_counts_[k].first) + " " + std::to_string(link_counts_[k].second);
      if (!tree->Set({"InterlinearLines", "Links", "PVlinks", kind.name}, platform::ToU16(counts),
                     e) ||
          !SetKeys(tree, {"InterlinearLines", "Links", "PVlinks", kind.name}, kind.keys, false)) {
        return false;
      }
    }
    return SetKeys(tree, {"InterlinearLines", "Links", "Fonts"}, links.fonts, true);
  }

  const DBSource& source_;
  DBFiles* files_;
  std::string* error_;
  std::set<std::string> file_names_;
  std::unique_ptr<icu::Collator> collator_;
  uint32_t word_count_ = 0;
  int form_line_ = -1;
  int links_line_ = -1;
  std::vector<std::pair<uint32_t, uint32_t>> link_counts_;  // (H, N) per kind
};

}  // namespace

bool EncodeVerseLabel(std::u16string_view label, uint8_t* verse, uint8_t* suffix) {
  size_t i = 0;
  unsigned number = 0;
  for (; i < label.size() && label[i] >= u'0' && label[i] <= u'9'; ++i) {
    number = number * 10 + (label[i] - u'0');
    if (number > 255) return false;
  }
  if (i == 0) return false;
  // The rest is read as a signed decimal number, white space and sign first;
  // a number other than 0 makes a range, else the next character is the
  // suffix letter.
  std::u16string_view rest = label.substr(i);
  size_t j = 0;
  while (j < rest.size() && (rest[j] == u' ' || (rest[j] >= u'\t' && rest[j] <= u'\r'))) ++j;
  if (j < rest.size() && (rest[j] == u'-' || rest[j] == u'+')) ++j;
  unsigned second = 0;
  for (; j < rest.size() && rest[j] >= u'0' && rest[j] <= u'9'; ++j) {
    second = second * 10 + (rest[j] - u'0');
    if (second > 127) return false;
  }
  unsigned code;
  if (second != 0) {
    code = 128 + second;
  } else {
    code = rest.empty() ? 0 : rest[0];
    if (code != 0 && (code < 0x20 || code > 0x7E)) return false;
  }
  *verse = static_cast<uint8_t>(number);
  *suffix = static_cast<uint8_t>(code);
  // Whatever does not print back the same (leading zeros, "12+3", "12-3a",
  // "12ab") would change on the way through the table.
  return FormatVerseLabel(*verse, *suffix) == label;
}

std::u16string FormatVerseLabel(uint8_t verse, uint8_t suffix) {
  std::u16string out = platform::ToU16(std::to_string(verse));
  if (suffix >= 128) {
    out += u'-';
    out += platform::ToU16(std::to_string(suffix - 128));
  } else if (suffix != 0) {
    out += static_cast<char16_t>(suffix);
  }
  return out;
}

bool EncodeFormatCode(uint32_t word, std::u16string_view code, std::string* records) {
  for (char16_t c : code) {
    if (c == 0 || c > 0xFF) return false;
  }
  auto put = [&](std::u16string_view chunk, char fourth) {
    Format_t r{word, {0, 0, 0, 0}};
    for (size_t i = 0; i < chunk.size(); ++i) r.code[i] = static_cast<char>(chunk[i]);
    if (fourth) r.code[3] = fourth;
    records->append(reinterpret_cast<const char*>(&r), sizeof r);
  };
  // A record whose fourth character is a space continues in the next one,
  // so a last piece of four characters ending in a space takes one more
  // record too.
  while (code.size() > 4 || (code.size() == 4 && code[3] == u' ')) {
    put(code.substr(0, 3), ' ');
    code.remove_prefix(3);
  }
  put(code, 0);
  return true;
}

bool CDBWriter::Build(std::string* error) {
  files_.clear();
  DBFiles files;
  DatabaseBuilder builder(source_, &files, error);
  if (!builder.Run()) return false;
  files_ = std::move(files);
  return true;
}

const std::string* CDBWriter::FindFile(std::string_view path) const {
  for (const auto& [name, bytes] : files_) {
    if (name == path) return &bytes;
  }
  return nullptr;
}

bool CDBWriter::Write(const std::string& folder, std::string* error) {
  return Build(error) && WriteFiles(files_, folder, error);
}

bool CDBWriter::WriteFiles(const DBFiles& files, const std::string& folder, std::string* error) {
  namespace fs = std::filesystem;
  std::string target = folder;
  while (target.size() > 1 && target.back() == '/') target.pop_back();
  if (target.empty()) return Fail(error, "no database folder given");
  std::error_code ec;
  const bool replacing = fs::exists(target, ec);
  if (replacing) {
    if (!fs::is_directory(target, ec)) return Fail(error, target + " exists and is no folder");
    if (!platform::FileExists(platform::JoinPath(target, "Stats.txt")) &&
        !fs::is_empty(target, ec)) {
      return Fail(error, target + " is not a database folder; it is left as it is");
    }
  }
  std::string parent = fs::path(target).parent_path().string();
  std::string reason;
  if (!parent.empty() && !platform::CreateFolder(parent, &reason)) {
    return Fail(error, "cannot create " + parent + ": " + reason);
  }
  // Beside the target but not named "*.qyx", so that no program lists a
  // database that is still being written.
  const std::string pid = std::to_string(::getpid());
  const std::string temp = target + ".partial-" + pid;
  fs::remove_all(temp, ec);
  auto give_up = [&](std::string message) {
    std::error_code ignored;
    fs::remove_all(temp, ignored);
    return Fail(error, std::move(message));
  };
  if (!platform::CreateFolder(temp, &reason)) {
    return give_up("cannot create " + temp + ": " + reason);
  }
  for (const auto& [name, bytes] : files) {
    std::string path = platform::JoinPath(temp, name);
    size_t slash = name.rfind('/');
    if (slash != std::string::npos &&
        !platform::CreateFolder(platform::JoinPath(temp, name.substr(0, slash)), &reason)) {
      return give_up("cannot create the folder of " + path + ": " + reason);
    }
    if (!platform::WriteFileAtomically(path, bytes, &reason)) {
      return give_up("cannot write " + path + ": " + reason);
    }
  }
  if (!replacing) {
    if (!platform::MoveFile(temp, target, &reason)) {
      return give_up("cannot rename " + temp + " to " + target + ": " + reason);
    }
    return true;
  }
  const std::string old = target + ".old-" + pid;
  fs::remove_all(old, ec);
  if (!platform::MoveFile(target, old, &reason)) {
    return give_up("cannot move the old database " + target + " aside: " + reason);
  }
  if (!platform::MoveFile(temp, target, &reason)) {
    std::string restore;
    if (!platform::MoveFile(old, target, &restore)) {
      return give_up("cannot rename " + temp + " to " + target + ": " + reason +
                     "; the old database stays in " + old + ": " + restore);
    }
    return give_up("cannot rename " + temp + " to " + target + ": " + reason);
  }
  fs::remove_all(old, ec);
  return true;
}

}  // namespace vorn
