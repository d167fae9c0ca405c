#include "greek_readers.h"

#include <unicode/normalizer2.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>

#include <algorithm>
#include <cstring>
#include <pugixml.hpp>

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

std::u16string Nfc(std::string_view utf8) {
  std::u16string text = platform::ToU16(utf8);
  UErrorCode status = U_ZERO_ERROR;
  const icu::Normalizer2* nfc = icu::Normalizer2::getNFCInstance(status);
  if (U_FAILURE(status)) return text;
  icu::UnicodeString s(false, text.data(), static_cast<int32_t>(text.size()));
  if (nfc->isNormalized(s, status) && U_SUCCESS(status)) return text;
  status = U_ZERO_ERROR;
  icu::UnicodeString n = nfc->normalize(s, status);
  if (U_FAILURE(status)) return text;
  return std::u16string(reinterpret_cast<const char16_t*>(n.getBuffer()), n.length());
}

bool IsWordChar(char16_t c) {
  if (c == u'\u2019' || c == u'\u02BC' || c == u'\u1FBD' || c == u'\u1FBF') return true;
  const int8_t type = u_charType(c);
  return u_isalpha(c) || type == U_NON_SPACING_MARK || type == U_COMBINING_SPACING_MARK;
}

bool ReadFile(const std::string& path, std::string* bytes, std::string* error) {
  return ReadCorpusFile(path, bytes, error);
}

std::vector<std::string_view> SplitSpaces(std::string_view text) {
  std::vector<std::string_view> out;
  size_t i = 0;
  while (i < text.size()) {
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    const size_t start = i;
    while (i < text.size() && text[i] != ' ' && text[i] != '\t') ++i;
    if (i > start) out.push_back(text.substr(start, i - start));
  }
  return out;
}

}  // namespace

void SplitGreekToken(std::u16string_view token, std::u16string* before, std::u16string* word,
                     std::u16string* after) {
  size_t first = 0;
  while (first < token.size() && !IsWordChar(token[first])) ++first;
  size_t last = token.size();
  while (last > first && !IsWordChar(token[last - 1])) --last;
  *before = std::u16string(token.substr(0, first));
  *word = std::u16string(token.substr(first, last - first));
  *after = std::u16string(token.substr(last));
}

bool ReadMorphGnt(const std::string& path, std::vector<MorphGntWord>* words, std::string* error) {
  std::string bytes;
  return ReadFile(path, &bytes, error) && ReadMorphGntText(bytes, path, words, error);
}

bool ReadMorphGntText(std::string_view text, std::string_view origin,
                      std::vector<MorphGntWord>* words, std::string* error) {
  words->clear();
  const std::vector<std::string_view> lines = SplitLines(text);
  for (size_t i = 0; i < lines.size(); ++i) {
    const int line = static_cast<int>(i + 1);
    if (lines[i].empty()) continue;
    const std::vector<std::string_view> f = SplitFields(lines[i], ' ');
    if (f.size() != 7)
      return Fail(error, origin, line,
                  "expected 7 space-separated columns, found " + std::to_string(f.size()));
    MorphGntWord w;
    int bcv = 0;
    if (f[0].size() != 6 || !ParseNumber(f[0], &bcv))
      return Fail(error, origin, line,
                  "expected a reference BBCCVV, found \"" + std::string(f[0]) + "\"");
    w.book = bcv / 10000;
    w.chapter = bcv / 100 % 100;
    w.verse = bcv % 100;
    if (w.book < 1 || w.book > 27 || w.chapter < 1 || w.verse < 1)
      return Fail(error, origin, line, "reference \"" + std::string(f[0]) + "\" out of range");
    w.pos = std::string(f[1]);
    w.parse = std::string(f[2]);
    w.text = Nfc(f[3]);
    w.word = Nfc(f[4]);
    w.normalized = Nfc(f[5]);
    w.lemma = Nfc(f[6]);
    w.line = line;
    if (w.word.empty() || w.lemma.empty()) return Fail(error, origin, line, "empty word or lemma");
    words->push_back(std::move(w));
  }
  if (words->empty()) return Fail(error, origin, 0, "no words");
  return true;
}

bool ReadSblgntChapter(const std::string& path, std::vector<SblgntWord>* words,
                       std::string* error) {
  std::string bytes;
  return ReadFile(path, &bytes, error) && ReadSblgntChapterText(bytes, path, words, error);
}

bool ReadSblgntChapterText(std::string_view xml, std::string_view origin,
                           std::vector<SblgntWord>* words, std::string* error) {
  words->clear();
  pugi::xml_document doc;
  const CLineIndex lines(xml);
  // Whitespace-only character data is significant: suffixes are spaces.
  const pugi::xml_parse_result parsed =
      doc.load_buffer(xml.data(), xml.size(), pugi::parse_default | pugi::parse_ws_pcdata);
  if (!parsed)
    return Fail(error, origin, lines.LineOf(parsed.offset),
                std::string("malformed XML: ") + parsed.description());
  const pugi::xml_node chapter = doc.child("chapter");
  if (!chapter) return Fail(error, origin, 0, "expected <chapter>");
  int c = 0, v = 0;
  std::u16string pending_prefix;
  for (pugi::xml_node p = chapter.child("p"); p; p = p.next_sibling("p")) {
    bool paragraph_start = true;
    for (pugi::xml_node n = p.first_child(); n; n = n.next_sibling()) {
      if (n.type() != pugi::node_element) continue;
      const int line = lines.LineOf(static_cast<size_t>(n.offset_debug()));
      const std::string_view name = n.name();
      if (name == "verse-number") {
        // id="John 1:1": the reference follows the last space.
        const std::string_view id = n.attribute("id").value();
        const size_t space = id.rfind(' ');
        const std::string_view cv = space == std::string_view::npos ? id : id.substr(space + 1);
        const size_t colon = cv.find(':');
        if (colon == std::string_view::npos || !ParseNumber(cv.substr(0, colon), &c) ||
            !ParseNumber(cv.substr(colon + 1), &v) || c < 1 || v < 1)
          return Fail(error, origin, line,
                      "expected a verse id \"<book> <chapter>:<verse>\", found \"" +
                          std::string(id) + "\"");
      } else if (name == "w") {
        if (c == 0) return Fail(error, origin, line, "a word before the first verse number");
        SblgntWord w;
        w.chapter = c;
        w.verse = v;
        w.word = Nfc(n.text().get());
        w.prefix = std::move(pending_prefix);
        pending_prefix.clear();
        w.paragraph_start = paragraph_start;
        w.line = line;
        paragraph_start = false;
        if (w.word.empty()) return Fail(error, origin, line, "empty <w>");
        words->push_back(std::move(w));
      } else if (name == "prefix") {
        pending_prefix += Nfc(n.text().get());
      } else if (name == "suffix") {
        if (words->empty()) return Fail(error, origin, line, "a suffix before the first word");
        words->back().suffix += Nfc(n.text().get());
      } else {
        return Fail(error, origin, line, "unexpected <" + std::string(name) + ">");
      }
    }
  }
  if (words->empty()) return Fail(error, origin, 0, "no words");
  return true;
}

namespace {

struct CsvVerse {
  int chapter = 0;
  int verse = 0;
  std::string text;
  int line = 0;
};

bool ReadCsvVerses(std::string_view text, std::string_view origin, std::vector<CsvVerse>* verses,
                   std::string* error) {
  const std::vector<std::string_view> lines = SplitLines(text);
  if (lines.empty() || lines[0].substr(0, 13) != "chapter,verse")
    return Fail(error, origin, 1, "expected the header \"chapter,verse,text\"");
  std::vector<std::string> fields;
  for (size_t i = 1; i < lines.size(); ++i) {
    const int line = static_cast<int>(i + 1);
    if (lines[i].empty()) continue;
    if (!ParseCsvLine(lines[i], &fields)) return Fail(error, origin, line, "unclosed quoted field");
    CsvVerse v;
    if (fields.size() != 3 || !ParseNumber(fields[0], &v.chapter) ||
        !ParseNumber(fields[1], &v.verse))
      return Fail(error, origin, line, "expected chapter,verse,text");
    v.text = std::move(fields[2]);
    v.line = line;
    verses->push_back(std::move(v));
  }
  return true;
}

bool IsDigits(std::string_view s) {
  if (s.empty()) return false;
  for (char c : s) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

}  // namespace

bool ReadByzantineBook(const std::string& accented_path, const std::string& parsed_path,
                       std::vector<ByzantineWord>* words, std::string* error) {
  std::string accented, parsed;
  return ReadFile(accented_path, &accented, error) && ReadFile(parsed_path, &parsed, error) &&
         ReadByzantineBookText(accented, accented_path, parsed, parsed_path, words, error);
}

// The accented text's paragraph mark.
constexpr char16_t kPilcrow = u'\u00B6';

bool ReadByzantineBookText(std::string_view accented, std::string_view accented_origin,
                           std::string_view parsed, std::string_view parsed_origin,
                           std::vector<ByzantineWord>* words, std::string* error) {
  words->clear();
  std::vector<CsvVerse> a, p;
  if (!ReadCsvVerses(accented, accented_origin, &a, error) ||
      !ReadCsvVerses(parsed, parsed_origin, &p, error))
    return false;
  if (a.size() != p.size())
    return Fail(error, parsed_origin, 0,
                "has " + std::to_string(p.size()) + " verses where " +
                    std::string(accented_origin) + " has " + std::to_string(a.size()));
  for (size_t i = 0; i < a.size(); ++i) {
    if (a[i].chapter != p[i].chapter || a[i].verse != p[i].verse)
      return Fail(error, parsed_origin, p[i].line,
                  "verse " + std::to_string(p[i].chapter) + ":" + std::to_string(p[i].verse) +
                      " stands where " + std::string(accented_origin) + ":" +
                      std::to_string(a[i].line) + " has " + std::to_string(a[i].chapter) + ":" +
                      std::to_string(a[i].verse));
    // Parsed words: the unaccented word, Strong's numbers, {code}; a second
    // analysis (numbers and code again) may follow before the next word.
    std::vector<ByzantineWord> verse_words;
    for (std::string_view t : SplitSpaces(p[i].text)) {
      if (t.front() == '{') {
        if (t.back() != '}' || verse_words.empty())
          return Fail(error, parsed_origin, p[i].line,
                      "misplaced parsing code \"" + std::string(t) + "\"");
        if (verse_words.back().robinson.empty())
          verse_words.back().robinson = std::string(t.substr(1, t.size() - 2));
      } else if (IsDigits(t)) {
        if (verse_words.empty())
          return Fail(error, parsed_origin, p[i].line, "a Strong's number before the first word");
        int n = 0;
        ParseNumber(t, &n);
        std::vector<int>& s = verse_words.back().strongs;
        if (std::find(s.begin(), s.end(), n) == s.end()) s.push_back(n);
      } else {
        ByzantineWord w;
        w.chapter = p[i].chapter;
        w.verse = p[i].verse;
        w.unaccented = Nfc(t);
        w.line = p[i].line;
        verse_words.push_back(std::move(w));
      }
    }
    for (const ByzantineWord& w : verse_words) {
      if (w.robinson.empty() || w.strongs.empty())
        return Fail(error, parsed_origin, p[i].line,
                    "word \"" + platform::ToUtf8(w.unaccented) +
                        "\" lacks its Strong's number or parsing code");
    }
    // Accented words with their punctuation; a token of punctuation alone
    // joins the word before it (or the next one at the start of a verse).
    size_t k = 0;
    std::u16string pending;
    for (std::string_view t : SplitSpaces(a[i].text)) {
      std::u16string before, word, after;
      SplitGreekToken(Nfc(t), &before, &word, &after);
      if (word.empty()) {
        if (k > 0) {
          verse_words[k - 1].after += u" " + before + after;
        } else {
          pending += before + after + u" ";
        }
        continue;
      }
      if (k >= verse_words.size())
        return Fail(error, accented_origin, a[i].line,
                    "has more words than " + std::string(parsed_origin) + ":" +
                        std::to_string(p[i].line) + " (" + std::to_string(verse_words.size()) +
                        ")");
      verse_words[k].word = std::move(word);
      verse_words[k].before = pending + before;
      verse_words[k].after = after;
      std::u16string& marks = verse_words[k].before;
      const size_t pilcrow = marks.find(kPilcrow);
      if (pilcrow != std::u16string::npos) {
        verse_words[k].paragraph = true;
        marks.erase(std::remove(marks.begin(), marks.end(), kPilcrow), marks.end());
      }
      pending.clear();
      ++k;
    }
    if (k != verse_words.size())
      return Fail(error, accented_origin, a[i].line,
                  "has " + std::to_string(k) + " words where " + std::string(parsed_origin) + ":" +
                      std::to_string(p[i].line) + " has " + std::to_string(verse_words.size()));
    for (ByzantineWord& w : verse_words) words->push_back(std::move(w));
  }
  if (words->empty()) return Fail(error, accented_origin, 0, "no verses");
  return true;
}

}  // namespace vorn::build
