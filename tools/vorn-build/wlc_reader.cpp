#include "wlc_reader.h"

#include <cstring>
#include <map>
#include <pugixml.hpp>
#include <set>

#include "book_codes.h"
#include "platform/file_system.h"
#include "platform/u16.h"
#include "source_files.h"
#include "source_text.h"

namespace vorn::build {
namespace {

bool Fail(std::string* error, std::string_view origin, int line, const std::string& what) {
  *error = std::string(origin) + (line > 0 ? ":" + std::to_string(line) : "") + ": " + what;
  return false;
}

// All character data below `node`, in document order (letters written
// large, small or suspended are child elements of the word).
void CollectText(const pugi::xml_node& node, std::string* out) {
  for (pugi::xml_node child = node.first_child(); child; child = child.next_sibling()) {
    if (child.type() == pugi::node_pcdata || child.type() == pugi::node_cdata) {
      *out += child.value();
    } else if (child.type() == pugi::node_element) {
      CollectText(child, out);
    }
  }
}

// "Gen.1.2" -> chapter 1, verse 2; the book part must be `book`.
bool ParseOsisVerse(std::string_view id, std::string_view book, int* chapter, int* verse) {
  const std::vector<std::string_view> parts = SplitFields(id, '.');
  return parts.size() == 3 && parts[0] == book && ParseNumber(parts[1], chapter) &&
         ParseNumber(parts[2], verse) && *chapter > 0 && *verse > 0;
}

// A Qere note ("<note type="variant"><catchWord>Ketiv</catchWord><rdg
// type="x-qere"><w>…</w></rdg></note>") follows the last word of its Ketiv;
// `in_verse` words of the current verse precede it. Other notes are
// commentary and are skipped.
void ReadQere(const pugi::xml_node& note, size_t in_verse, WlcBook* book) {
  const pugi::xml_node reading = note.find_child_by_attribute("rdg", "type", "x-qere");
  if (!reading) return;
  std::string qere;
  for (pugi::xml_node w = reading.child("w"); w; w = w.next_sibling("w")) {
    if (!qere.empty()) qere += ' ';
    CollectText(w, &qere);
  }
  std::string catchword;
  CollectText(note.child("catchWord"), &catchword);
  const size_t ketiv = SplitFields(catchword, ' ').size();
  if (qere.empty() || catchword.empty() || ketiv > in_verse) {
    ++book->unplaced_qere;
    return;
  }
  book->words[book->words.size() - ketiv].qere = platform::ToU16(qere);
}

}  // namespace

bool ReadWlcBook(const std::string& path, WlcBook* book, std::string* error) {
  std::string bytes;
  if (!ReadCorpusFile(path, &bytes, error)) return false;
  return ReadWlcBookText(bytes, path, book, error);
}

bool ReadWlcBookText(std::string_view xml, std::string_view origin, WlcBook* book,
                     std::string* error) {
  book->words.clear();
  pugi::xml_document doc;
  const CLineIndex lines(xml);
  const pugi::xml_parse_result parsed =
      doc.load_buffer(xml.data(), xml.size(), pugi::parse_default);
  if (!parsed)
    return Fail(error, origin, lines.LineOf(parsed.offset),
                std::string("malformed XML: ") + parsed.description());
  auto line_of = [&](const pugi::xml_node& n) {
    return lines.LineOf(static_cast<size_t>(n.offset_debug()));
  };

  const pugi::xml_node text = doc.child("osis").child("osisText");
  pugi::xml_node div;
  for (pugi::xml_node d = text.child("div"); d; d = d.next_sibling("div")) {
    if (std::strcmp(d.attribute("type").value(), "book") == 0) {
      div = d;
      break;
    }
  }
  if (!div) return Fail(error, origin, 0, "expected <osis><osisText><div type=\"book\">");
  book->osis_name = div.attribute("osisID").value();
  if (CodeFromOsisName(book->osis_name).empty())
    return Fail(error, origin, line_of(div), "unknown book \"" + book->osis_name + "\"");

  char pending_paragraph = 0;
  std::u16string pending_before;
  for (pugi::xml_node chapter = div.child("chapter"); chapter;
       chapter = chapter.next_sibling("chapter")) {
    for (pugi::xml_node verse = chapter.child("verse"); verse;
         verse = verse.next_sibling("verse")) {
      int c = 0, v = 0;
      if (!ParseOsisVerse(verse.attribute("osisID").value(), book->osis_name, &c, &v))
        return Fail(error, origin, line_of(verse),
                    std::string("expected a verse osisID \"") + book->osis_name +
                        ".<chapter>.<verse>\", found \"" + verse.attribute("osisID").value() +
                        "\"");
      const size_t first_of_verse = book->words.size();
      for (pugi::xml_node n = verse.first_child(); n; n = n.next_sibling()) {
        if (n.type() != pugi::node_element) continue;
        const std::string_view name = n.name();
        if (name == "note") {
          ReadQere(n, book->words.size() - first_of_verse, book);
          continue;
        }
        if (name == "w") {
          WlcWord w;
          w.chapter = c;
          w.verse = v;
          std::string utf8;
          CollectText(n, &utf8);
          w.text = platform::ToU16(utf8);
          w.lemma = n.attribute("lemma").value();
          w.morph = n.attribute("morph").value();
          w.line = line_of(n);
          if (w.text.empty()) return Fail(error, origin, w.line, "empty <w>");
          if (w.morph.empty()) return Fail(error, origin, w.line, "<w> without a morph attribute");
          w.paragraph = pending_paragraph;
          w.before = std::move(pending_before);
          pending_paragraph = 0;
          pending_before.clear();
          book->words.push_back(std::move(w));
          continue;
        }
        if (name != "seg")
          return Fail(error, origin, line_of(n),
                      "unexpected <" + std::string(name) + "> in a verse");
        const std::string_view type = n.attribute("type").value();
        const std::u16string mark = platform::ToU16(n.text().get());
        const bool has_word = book->words.size() > first_of_verse;
        std::u16string* after = has_word ? &book->words.back().after : nullptr;
        if (type == "x-maqqef" || type == "x-sof-pasuq") {
          if (!after)
            return Fail(error, origin, line_of(n),
                        "a " + std::string(type) + " before the verse's first word");
          *after += mark;
        } else if (type == "x-paseq" || type == "x-pe" || type == "x-samekh" ||
                   type == "x-reversednun") {
          if (type == "x-pe") pending_paragraph = 'p';
          if (type == "x-samekh" && pending_paragraph == 0) pending_paragraph = 'm';
          if (after) {
            *after += u" " + mark;
          } else {
            pending_before += mark + u" ";
          }
        } else {
          return Fail(error, origin, line_of(n),
                      "unknown segment type \"" + std::string(type) + "\"");
        }
      }
    }
  }
  if (book->words.empty()) return Fail(error, origin, 0, "the book has no words");
  return true;
}

bool ReadWordList(const std::string& path, std::vector<WordListEntry>* entries,
                  std::string* error) {
  std::string bytes;
  if (!ReadCorpusFile(path, &bytes, error)) return false;
  return ReadWordListText(bytes, path, entries, error);
}

bool ReadWordListText(std::string_view text, std::string_view origin,
                      std::vector<WordListEntry>* entries, std::string* error) {
  entries->clear();
  const std::vector<std::string_view> lines = SplitLines(text);
  for (size_t i = 0; i < lines.size(); ++i) {
    const int line = static_cast<int>(i + 1);
    if (lines[i].empty()) continue;
    const std::vector<std::string_view> f = SplitFields(lines[i], '\t');
    // "Gen 1:1.1": book, space, chapter ':' verse '.' index.
    const size_t space = f[0].find(' ');
    const size_t colon = f[0].find(':');
    const size_t dot = f[0].rfind('.');
    WordListEntry e;
    if (f.size() != 3 || space == std::string_view::npos || colon == std::string_view::npos ||
        dot == std::string_view::npos || colon < space || dot < colon ||
        !ParseNumber(f[0].substr(space + 1, colon - space - 1), &e.chapter) ||
        !ParseNumber(f[0].substr(colon + 1, dot - colon - 1), &e.verse) ||
        !ParseNumber(f[0].substr(dot + 1), &e.index))
      return Fail(error, origin, line,
                  "expected \"<book> <chapter>:<verse>.<word><TAB><lemma><TAB><text>\"");
    e.osis_name = std::string(f[0].substr(0, space));
    if (CodeFromOsisName(e.osis_name).empty()) {
      // The lists were made with Python's str.strip('.xml'), which also cut
      // trailing 'x', 'm' and 'l' from the book names ("1Sam" -> "1Sa").
      for (int b = 0; b < 39; ++b) {
        std::string_view osis = OsisNameOf(BookCodeAt(b));
        while (!osis.empty() &&
               std::string_view(".xml").find(osis.back()) != std::string_view::npos)
          osis.remove_suffix(1);
        if (osis == e.osis_name) e.osis_name = std::string(OsisNameOf(BookCodeAt(b)));
      }
    }
    e.text = platform::ToU16(f[2]);
    entries->push_back(std::move(e));
  }
  return true;
}

bool ReadWlcVerseMap(const std::string& path, std::vector<VerseMapping>* mappings,
                     std::string* error) {
  std::string bytes;
  if (!ReadCorpusFile(path, &bytes, error)) return false;
  return ReadWlcVerseMapText(bytes, path, mappings, error);
}

bool ReadWlcVerseMapText(std::string_view xml, std::string_view origin,
                         std::vector<VerseMapping>* mappings, std::string* error) {
  mappings->clear();
  pugi::xml_document doc;
  const CLineIndex lines(xml);
  const pugi::xml_parse_result parsed = doc.load_buffer(xml.data(), xml.size());
  if (!parsed)
    return Fail(error, origin, lines.LineOf(parsed.offset),
                std::string("malformed XML: ") + parsed.description());
  const pugi::xml_node root = doc.child("verseMap");
  if (!root) return Fail(error, origin, 0, "expected <verseMap>");
  for (pugi::xml_node book = root.child("book"); book; book = book.next_sibling("book")) {
    for (pugi::xml_node v = book.child("verse"); v; v = v.next_sibling("verse")) {
      VerseMapping m{v.attribute("wlc").value(), v.attribute("kjv").value()};
      if (m.wlc.empty() || m.kjv.empty())
        return Fail(error, origin, lines.LineOf(static_cast<size_t>(v.offset_debug())),
                    "expected wlc and kjv attributes");
      mappings->push_back(std::move(m));
    }
  }
  return true;
}

namespace {

struct MapRef {
  std::string code;
  int chapter = 0;
  int verse = 0;
};

// "Gen.32.1" or "1Kgs.18.34!a" (a part of a verse counts as the verse).
bool ParseMapRef(std::string_view osis, MapRef* ref) {
  const size_t bang = osis.find('!');
  if (bang != std::string_view::npos) osis = osis.substr(0, bang);
  const std::vector<std::string_view> parts = SplitFields(osis, '.');
  if (parts.size() != 3) return false;
  ref->code = std::string(CodeFromOsisName(parts[0]));
  return !ref->code.empty() && ParseNumber(parts[1], &ref->chapter) &&
         ParseNumber(parts[2], &ref->verse);
}

std::string Side(const MapRef& first, const MapRef& last) {
  std::string s =
      first.code + " " + std::to_string(first.chapter) + ":" + std::to_string(first.verse);
  if (last.verse != first.verse) s += "-" + std::to_string(last.verse);
  return s;
}

}  // namespace

bool MakeVrsText(const std::vector<VerseMapping>& mappings, std::string* vrs, std::string* error) {
  std::string out = "# Westminster Leningrad Codex versification = English (KJV) versification\n";
  std::set<std::tuple<std::string, int, int>> seen;
  bool open = false;
  MapRef own_first, own_last, common_first, common_last;
  auto flush = [&] {
    if (open) out += Side(own_first, own_last) + " = " + Side(common_first, common_last) + "\n";
    open = false;
  };
  for (const VerseMapping& m : mappings) {
    MapRef own, common;
    if (!ParseMapRef(m.wlc, &own) || !ParseMapRef(m.kjv, &common)) {
      *error = "verse map: cannot read \"" + m.wlc + "\" = \"" + m.kjv + "\"";
      return false;
    }
    // A verse split between two English verses maps to the first of them.
    if (!seen.insert({own.code, own.chapter, own.verse}).second) continue;
    const bool continues = open && own.code == own_last.code && own.chapter == own_last.chapter &&
                           own.verse == own_last.verse + 1 && common.code == common_last.code &&
                           common.chapter == common_last.chapter &&
                           common.verse == common_last.verse + 1;
    if (!continues) {
      flush();
      own_first = own;
      common_first = common;
      open = true;
    }
    own_last = own;
    common_last = common;
  }
  flush();
  *vrs = std::move(out);
  return true;
}

}  // namespace vorn::build
