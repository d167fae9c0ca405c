#include "plain_format.h"

#include <map>

#include "book_codes.h"
#include "platform/file_system.h"
#include "platform/u16.h"
#include "source_files.h"
#include "source_text.h"
#include "textdb/db_stats.h"

namespace vorn::build {
namespace {

constexpr std::string_view kReserved[] = {"Ref",       "Before",  "After", "Sentence",
                                          "Paragraph", "Heading", "Links"};

bool IsReserved(std::string_view name) {
  for (std::string_view r : kReserved) {
    if (r == name) return true;
  }
  return false;
}

bool Fail(std::string* error, std::string_view origin, int line, const std::string& what) {
  *error = std::string(origin) + ":" + std::to_string(line) + ": " + what;
  return false;
}

// Backslash escapes of cells: \t tab, \n line feed, \\ backslash, \| a bar
// that separates nothing. Bars that separate list items are kept as a
// private marker so that the lists can be split afterwards.
constexpr char16_t kBar = 0xE000;

bool Unescape(std::string_view cell, std::u16string* out) {
  const std::u16string in = platform::ToU16(cell);
  out->clear();
  for (size_t i = 0; i < in.size(); ++i) {
    const char16_t c = in[i];
    if (c == u'|') {
      *out += kBar;
      continue;
    }
    if (c != u'\\') {
      *out += c;
      continue;
    }
    if (++i == in.size()) return false;
    switch (in[i]) {
      case u't':
        *out += u'\t';
        break;
      case u'n':
        *out += u'\n';
        break;
      case u'\\':
        *out += u'\\';
        break;
      case u'|':
        *out += u'|';
        break;
      default:
        return false;
    }
  }
  return true;
}

std::vector<std::u16string> SplitBars(const std::u16string& s) {
  std::vector<std::u16string> out;
  std::u16string current;
  for (char16_t c : s) {
    if (c == kBar) {
      out.push_back(std::move(current));
      current.clear();
    } else {
      current += c;
    }
  }
  out.push_back(std::move(current));
  return out;
}

std::u16string JoinBars(const std::u16string& s) {
  std::u16string out = s;
  for (char16_t& c : out) {
    if (c == kBar) c = u'|';
  }
  return out;
}

std::string Escape(std::u16string_view s) {
  std::u16string out;
  for (char16_t c : s) {
    switch (c) {
      case u'\t':
        out += u"\\t";
        break;
      case u'\n':
        out += u"\\n";
        break;
      case u'\\':
        out += u"\\\\";
        break;
      case u'|':
        out += u"\\|";
        break;
      default:
        out += c;
    }
  }
  return platform::ToUtf8(out);
}

// "GEN 1:1", "PSA 9:21a".
bool ParseRef(std::u16string_view ref, InterlinearWord* w) {
  const std::string r = platform::ToUtf8(ref);
  const size_t space = r.find(' ');
  const size_t colon = r.find(':');
  if (space == std::string::npos || colon == std::string::npos || colon < space) return false;
  w->book = r.substr(0, space);
  if (CanonicalBookIndex(w->book) < 0) return false;
  if (!ParseNumber(std::string_view(r).substr(space + 1, colon - space - 1), &w->chapter) ||
      w->chapter < 1 || w->chapter > 254)
    return false;
  w->verse = platform::ToU16(r.substr(colon + 1));
  uint8_t verse = 0, suffix = 0;
  return EncodeVerseLabel(w->verse, &verse, &suffix);
}

// Stats.txt is 8-bit text: the description must stay within Latin-1.
bool ToLatin1(std::string_view utf8, std::string* out) {
  out->clear();
  for (char16_t c : platform::ToU16(utf8)) {
    if (c > 0xFF) return false;
    *out += static_cast<char>(c);
  }
  return true;
}

// Keys of a line that have fields of their own in the writer's model.
bool IsLineField(std::string_view key) {
  return key == "Font" || key == "QueryPrompt" || key == "QueryNames" || key == "Language" ||
         key == "TagScheme" || key == "Alt";
}

struct Column {
  enum Kind {
    kRef,
    kLine,
    kVariant,
    kBefore,
    kAfter,
    kSentence,
    kParagraph,
    kHeading,
    kLinks
  } kind;
  int index = 0;  // value index or variant index
};

}  // namespace

bool ReadPlainInterlinearFile(const std::string& path, InterlinearText* text, std::string* error) {
  std::string bytes;
  if (!ReadSourceFile(path, &bytes, error)) return false;
  return ReadPlainInterlinear(bytes, path, text, error);
}

bool ReadPlainInterlinear(std::string_view file_text, std::string_view origin,
                          InterlinearText* text, std::string* error) {
  *text = InterlinearText();
  if (!CheckUtf8(file_text, origin, error)) return false;
  if (file_text.substr(0, 3) == "\xEF\xBB\xBF") file_text.remove_prefix(3);
  const std::vector<std::string_view> lines = SplitLines(file_text);
  enum class Section { kNone, kDescription, kVerseMap, kWords } section = Section::kNone;
  std::string stats = "Version: 4.01\n";
  int words_header_line = 0;
  size_t first_row = lines.size();
  for (size_t i = 0; i < lines.size() && first_row == lines.size(); ++i) {
    const int line_no = static_cast<int>(i + 1);
    const std::string_view line = lines[i];
    if (line == "[Description]") {
      section = Section::kDescription;
    } else if (line == "[VerseMap]") {
      section = Section::kVerseMap;
    } else if (line == "[Words]") {
      section = Section::kWords;
      words_header_line = line_no + 1;
      first_row = i + 1;
    } else if (section == Section::kDescription) {
      std::string latin1;
      if (!ToLatin1(line, &latin1))
        return Fail(error, origin, line_no,
                    "the description must be Latin-1 text (it becomes Stats.txt)");
      stats += latin1 + "\n";
    } else if (section == Section::kVerseMap) {
      text->verse_map += std::string(line) + "\n";
    } else if (!line.empty() && line[0] != '#') {
      return Fail(error, origin, line_no, "expected [Description], [VerseMap] or [Words]");
    }
  }
  if (section != Section::kWords)
    return Fail(error, origin, static_cast<int>(lines.size()), "expected [Words]");

  CVornDBStats desc("/");
  // The description is read for its values: it need not carry the
  // "/Version" a database's Stats.txt must, so the result does not matter.
  static_cast<void>(desc.LoadFromText(stats));
  DBSource& d = text->description;
  d.name = desc.GetValue("/Name");
  if (d.name.empty()) return Fail(error, origin, 1, "the description needs a Name");
  d.title = desc.GetValue("/Title");
  if (d.title.empty()) d.title = d.name;
  desc.GetCopyrights(&d.copyrights);
  d.versification = desc.GetValue("/Versification");
  d.compiled = desc.GetValue("/Compiled");
  d.tag_label_font = desc.GetValue("/TagLabelFont");
  std::vector<std::string> children;
  desc.GetChildren("/Headings/Fonts", &children);
  for (const std::string& c : children)
    d.heading_fonts.push_back({c, desc.GetValue("/Headings/Fonts/" + c)});
  if (d.heading_fonts.empty()) d.heading_fonts.push_back({"Level1", u"Size=\"16\" Style=\"B\""});
  d.verse_font = desc.GetValue("/Verses/Fonts/Verse");
  d.chapter_font = desc.GetValue("/Verses/Fonts/Chapter");
  d.ref_font = desc.GetValue("/Verses/Fonts/Ref");
  if (!text->verse_map.empty() && d.versification.empty())
    return Fail(error, origin, 1, "a [VerseMap] needs a Versification in the description");

  // The header: which column is which.
  if (first_row >= lines.size())
    return Fail(error, origin, words_header_line, "expected the column header");
  const std::vector<std::string_view> header = SplitFields(lines[first_row], '\t');
  std::vector<Column> columns;
  std::map<std::string, int> seen;
  bool has_sentence = false, has_ref = false;
  for (std::string_view name : header) {
    const std::string n(name);
    if (n.empty()) return Fail(error, origin, words_header_line, "an empty column name");
    if (seen[n]++)
      return Fail(error, origin, words_header_line, "column \"" + n + "\" appears twice");
    const size_t colon = n.find(':');
    if (n == "Ref") {
      columns.push_back({Column::kRef});
      has_ref = true;
    } else if (n == "Before") {
      columns.push_back({Column::kBefore});
    } else if (n == "After") {
      columns.push_back({Column::kAfter});
    } else if (n == "Sentence") {
      columns.push_back({Column::kSentence});
      has_sentence = true;
    } else if (n == "Paragraph") {
      columns.push_back({Column::kParagraph});
    } else if (n == "Heading") {
      columns.push_back({Column::kHeading});
    } else if (n == "Links") {
      columns.push_back({Column::kLinks});
      DBLine links;
      links.name = "Links";
      d.lines.push_back(std::move(links));
    } else if (colon != std::string::npos) {
      columns.push_back({Column::kVariant});  // resolved once all lines are known
    } else {
      if (IsReserved(n) || n.find_first_of(" /\\*?\"<>|") != std::string::npos)
        return Fail(error, origin, words_header_line, "\"" + n + "\" cannot name a line");
      DBLine line;
      line.name = n;
      d.lines.push_back(std::move(line));
      columns.push_back({Column::kLine, static_cast<int>(d.lines.size()) - 1});
    }
  }
  if (!has_ref) return Fail(error, origin, words_header_line, "the header needs a Ref column");
  if (d.lines.empty() || d.lines[0].name == "Links")
    return Fail(error, origin, words_header_line,
                "the first line column must be a word line, not Links");
  // Line keys from the description.
  for (DBLine& line : d.lines) {
    const std::string key = "/InterlinearLines/" + line.name;
    if (line.name == "Links") {
      d.links.pvlinks_value = desc.GetValue(key + "/PVlinks");
      std::vector<std::string> kinds, fonts;
      desc.GetChildren(key + "/PVlinks", &kinds);
      for (const std::string& k : kinds) {
        DBLinkKind kind;
        kind.name = k;
        std::vector<std::string> keys;
        desc.GetChildren(key + "/PVlinks/" + k, &keys);
        for (const std::string& kk : keys)
          kind.keys.push_back({kk, desc.GetValue(key + "/PVlinks/" + k + "/" + kk)});
        d.links.kinds.push_back(std::move(kind));
      }
      desc.GetChildren(key + "/Fonts", &fonts);
      for (const std::string& f : fonts)
        d.links.fonts.push_back({f, desc.GetValue(key + "/Fonts/" + f)});
    }
    line.font = desc.GetValue(key + "/Font");
    line.query_prompt = desc.GetValue(key + "/QueryPrompt");
    desc.GetList(key + "/QueryNames", &line.query_names, u" ");
    line.language = desc.GetValue(key + "/Language");
    line.tag_scheme = desc.GetValue(key + "/TagScheme");
    std::vector<std::string> keys;
    desc.GetChildren(key, &keys);
    for (const std::string& k : keys) {
      if (IsLineField(k) || (line.name == "Links" && (k == "PVlinks" || k == "Fonts"))) continue;
      line.extra_keys.push_back({k, desc.GetValue(key + "/" + k)});
    }
  }
  // Variant columns "Line:Variant".
  std::vector<int> value_index(d.lines.size(), -1);
  {
    int v = 0;
    for (size_t i = 0; i < d.lines.size(); ++i) {
      if (d.lines[i].name != "Links") value_index[i] = v++;
    }
  }
  for (size_t c = 0; c < header.size(); ++c) {
    if (columns[c].kind == Column::kLine) {
      columns[c].index = value_index[columns[c].index];
      continue;
    }
    if (columns[c].kind != Column::kVariant) continue;
    const std::string n(header[c]);
    const size_t colon = n.find(':');
    const std::string line_name = n.substr(0, colon), variant = n.substr(colon + 1);
    int line = -1;
    for (size_t i = 0; i < d.lines.size(); ++i) {
      if (d.lines[i].name == line_name && line_name != "Links") line = static_cast<int>(i);
    }
    if (line < 0 || variant.empty() || variant.find_first_of(" /\\*?\"<>|:") != std::string::npos)
      return Fail(
          error, origin, words_header_line,
          "column \"" + n + "\" must name a line column and a variant (\"Form:NoAccents\")");
    std::u16string display = desc.GetValue("/InterlinearLines/" + line_name + "/Alt/" + variant);
    if (display.empty()) display = platform::ToU16(variant);
    text->variants.push_back({line, variant, display});
    columns[c].index = static_cast<int>(text->variants.size()) - 1;
  }

  const size_t value_count = text->ValueLines().size();
  for (size_t i = first_row + 1; i < lines.size(); ++i) {
    const int line_no = static_cast<int>(i + 1);
    if (lines[i].empty() || lines[i][0] == '#') continue;
    // Missing cells at the end of a row are empty (spreadsheets drop them).
    const std::vector<std::string_view> cells = SplitFields(lines[i], '\t');
    if (cells.size() > columns.size())
      return Fail(error, origin, line_no,
                  "expected at most " + std::to_string(columns.size()) +
                      " tab-separated cells, found " + std::to_string(cells.size()));
    InterlinearWord w;
    w.values.resize(value_count);
    w.variants.resize(text->variants.size());
    bool row_has_ref = false;
    for (size_t c = 0; c < cells.size(); ++c) {
      std::u16string cell;
      if (!Unescape(cells[c], &cell))
        return Fail(
            error, origin, line_no,
            "column " + std::string(header[c]) + ": a backslash must be followed by t, n, \\ or |");
      switch (columns[c].kind) {
        case Column::kRef:
          row_has_ref = true;
          if (!ParseRef(cell, &w))
            return Fail(
                error, origin, line_no,
                "expected a reference \"<book code> <chapter>:<verse>\" (\"GEN 1:1\"), found \"" +
                    platform::ToUtf8(cell) + "\"");
          break;
        case Column::kLine:
          w.values[columns[c].index] = JoinBars(cell);
          break;
        case Column::kVariant:
          w.variants[columns[c].index] = JoinBars(cell);
          break;
        case Column::kBefore:
          w.before = JoinBars(cell);
          break;
        case Column::kAfter:
          w.after = JoinBars(cell);
          break;
        case Column::kSentence:
          if (cell != u"" && cell != u"0" && cell != u"1")
            return Fail(error, origin, line_no, "Sentence must be 1, 0 or empty");
          w.sentence_start = cell == u"1";
          break;
        case Column::kParagraph:
          w.format = JoinBars(cell);
          break;
        case Column::kHeading:
          if (cell.empty()) break;
          for (const std::u16string& h : SplitBars(cell)) {
            // "<level> <text>"; the same level again adds a text to it.
            const size_t space = h.find(u' ');
            int level = 0;
            if (space == std::u16string::npos ||
                !ParseNumber(platform::ToUtf8(h.substr(0, space)), &level) || level < 1 ||
                level > 10 || space + 1 >= h.size())
              return Fail(error, origin, line_no,
                          "expected headings \"<level 1-10> <text>\" separated by |");
            std::u16string heading = h.substr(space + 1);
            if (!w.headings.empty() && w.headings.back().level == level) {
              w.headings.back().texts.push_back(std::move(heading));
            } else {
              w.headings.push_back({level, {std::move(heading)}});
            }
          }
          break;
        case Column::kLinks:
          if (cell.empty()) break;
          for (const std::u16string& l : SplitBars(cell)) {
            const size_t space = l.find(u' ');
            if (space == std::u16string::npos || space == 0 || space + 1 >= l.size())
              return Fail(error, origin, line_no,
                          "expected links \"<kind> <text>\" separated by |");
            const std::string kind = platform::ToUtf8(l.substr(0, space));
            bool known = false;
            for (const DBLinkKind& k : d.links.kinds) known = known || k.name == kind;
            if (!known)
              return Fail(error, origin, line_no,
                          "link kind \"" + kind +
                              "\" is not declared under InterlinearLines/Links/PVlinks");
            w.links.push_back({kind, l.substr(space + 1)});
          }
          break;
      }
    }
    if (!row_has_ref) return Fail(error, origin, line_no, "the row ends before its reference");
    text->words.push_back(std::move(w));
  }
  if (text->words.empty())
    return Fail(error, origin, static_cast<int>(lines.size()), "no word rows");
  if (!has_sentence) {
    for (size_t i = 0; i + 1 < text->words.size(); ++i) {
      if (text->words[i].after.find_first_of(u".;?!\u00B7\u0387\u037E\u05C3\u06D4") !=
          std::u16string::npos)
        text->words[i + 1].sentence_start = true;
    }
  }
  return true;
}

namespace {

void WriteKey(std::string* out, int depth, std::string_view key, std::u16string_view value) {
  out->append(static_cast<size_t>(depth) * 2, ' ');
  *out += key;
  *out += ": ";
  *out += platform::ToUtf8(value);
  *out += '\n';
}

}  // namespace

std::string WritePlainInterlinear(const InterlinearText& text) {
  const DBSource& d = text.description;
  std::string out = "[Description]\n";
  WriteKey(&out, 0, "Name", d.name);
  WriteKey(&out, 0, "Title", d.title);
  for (size_t i = 0; i < d.copyrights.size(); ++i)
    WriteKey(&out, 0, i == 0 ? "Copyright" : "Copyright" + std::to_string(i), d.copyrights[i]);
  if (!d.versification.empty()) WriteKey(&out, 0, "Versification", d.versification);
  if (!d.compiled.empty()) WriteKey(&out, 0, "Compiled", d.compiled);
  if (!d.tag_label_font.empty()) WriteKey(&out, 0, "TagLabelFont", d.tag_label_font);
  if (!d.heading_fonts.empty()) {
    out += "Headings:\n  Fonts:\n";
    for (const DBKeyValue& f : d.heading_fonts) WriteKey(&out, 2, f.key, f.value);
  }
  out += "Verses:\n  Fonts:\n";
  WriteKey(&out, 2, "Verse", d.verse_font);
  WriteKey(&out, 2, "Chapter", d.chapter_font);
  WriteKey(&out, 2, "Ref", d.ref_font);
  out += "InterlinearLines:\n";
  for (const DBLine& line : d.lines) {
    out += "  " + line.name + ":\n";
    if (!line.font.empty()) WriteKey(&out, 2, "Font", line.font);
    if (!line.query_prompt.empty()) WriteKey(&out, 2, "QueryPrompt", line.query_prompt);
    if (!line.query_names.empty()) {
      std::u16string names;
      for (const std::u16string& n : line.query_names) names += (names.empty() ? u"" : u" ") + n;
      WriteKey(&out, 2, "QueryNames", names);
    }
    if (!line.language.empty()) WriteKey(&out, 2, "Language", line.language);
    if (!line.tag_scheme.empty()) WriteKey(&out, 2, "TagScheme", line.tag_scheme);
    for (const DBKeyValue& k : line.extra_keys) WriteKey(&out, 2, k.key, k.value);
    bool alt = false;
    for (const InterlinearVariant& v : text.variants) {
      if (d.lines[v.line].name != line.name) continue;
      if (!alt) out += "    Alt:\n";
      alt = true;
      WriteKey(&out, 3, v.name, v.display);
    }
    if (line.name == "Links") {
      WriteKey(&out, 2, "PVlinks", d.links.pvlinks_value);
      for (const DBLinkKind& k : d.links.kinds) {
        out += "      " + k.name + ":\n";
        for (const DBKeyValue& kv : k.keys) WriteKey(&out, 4, kv.key, kv.value);
      }
      if (!d.links.fonts.empty()) {
        out += "    Fonts:\n";
        for (const DBKeyValue& f : d.links.fonts) WriteKey(&out, 3, f.key, f.value);
      }
    }
  }
  if (!text.verse_map.empty()) {
    out += "[VerseMap]\n" + text.verse_map;
    if (out.back() != '\n') out += '\n';
  }
  out += "[Words]\nRef";
  for (const DBLine& line : d.lines) out += "\t" + line.name;
  for (const InterlinearVariant& v : text.variants)
    out += "\t" + d.lines[v.line].name + ":" + v.name;
  out += "\tBefore\tAfter\tSentence\tParagraph\tHeading\n";
  const std::vector<int> value_lines = text.ValueLines();
  for (const InterlinearWord& w : text.words) {
    out += ReferenceOf(w);
    size_t v = 0;
    for (const DBLine& line : d.lines) {
      out += '\t';
      if (line.name == "Links") {
        for (size_t i = 0; i < w.links.size(); ++i)
          out += (i ? "|" : "") + w.links[i].kind + " " + Escape(w.links[i].text);
      } else {
        out += Escape(w.values[v++]);
      }
    }
    for (size_t i = 0; i < text.variants.size(); ++i)
      out += "\t" + (i < w.variants.size() ? Escape(w.variants[i]) : "");
    out += "\t" + Escape(w.before) + "\t" + Escape(w.after) + "\t" + (w.sentence_start ? "1" : "") +
           "\t" + Escape(w.format) + "\t";
    bool first = true;
    for (const DBHeadingLevel& h : w.headings) {
      for (const std::u16string& t : h.texts) {
        out += (first ? "" : "|") + std::to_string(h.level) + " " + Escape(t);
        first = false;
      }
    }
    out += '\n';
  }
  return out;
}

}  // namespace vorn::build
