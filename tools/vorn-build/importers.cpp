#include "importers.h"

#include <unicode/uchar.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <memory>
#include <nlohmann/json.hpp>
#include <set>

#include "book_codes.h"
#include "greek_readers.h"
#include "morphgnt_morph.h"
#include "oshb_morph.h"
#include "platform/file_system.h"
#include "platform/u16.h"
#include "robinson_morph.h"
#include "source_text.h"
#include "strongs_dict.h"
#include "sword_module.h"
#include "transliterator.h"
#include "wlc_reader.h"

namespace vorn::build {
namespace {

// Faces installed by the setup script (fonts-sil-ezra, fonts-sil-gentiumplus).
constexpr char16_t kHebrewFace[] = u"Ezra SIL";
constexpr char16_t kLatinGreekFace[] = u"Gentium Plus";

std::u16string Font(std::u16string_view face, int size, bool rtl = false,
                    std::u16string_view style = u"") {
  std::u16string f = u"Face=\"" + std::u16string(face) + u"\" Size=\"" +
                     platform::ToU16(std::to_string(size)) + u"\"";
  if (rtl) f += u" Dir=\"R2L\"";
  if (!style.empty()) f += u" Style=\"" + std::u16string(style) + u"\"";
  return f;
}

DBLine MakeLine(std::string name, std::u16string font, std::u16string prompt,
                std::vector<std::u16string> names = {}, std::u16string language = {}) {
  DBLine line;
  line.name = std::move(name);
  line.font = std::move(font);
  line.query_prompt = std::move(prompt);
  line.query_names = std::move(names);
  line.language = std::move(language);
  return line;
}

// Keys shared by the three databases: fonts of headings, verse numbers and
// references, the tag labels.
void SetCommonKeys(DBSource* d) {
  d->heading_fonts = {{"Level1", Font(kLatinGreekFace, 16, false, u"B")},
                      {"Level2", Font(kLatinGreekFace, 13, false, u"B")}};
  d->verse_font = Font(kLatinGreekFace, 9);
  d->chapter_font = Font(kLatinGreekFace, 14, false, u"B");
  d->ref_font = Font(kLatinGreekFace, 10);
  d->tag_label_font = Font(kLatinGreekFace, 8);
}

// The "Links" line with one link kind, "Strong": the search text is the
// link text itself, which begins with the number, so that `note "Strong
// H1961*"` finds every word linked to that entry.
void AddStrongsLinks(DBSource* d) {
  DBLine links = MakeLine("Links", Font(kLatinGreekFace, 10), u"note", {u"link"});
  d->lines.push_back(std::move(links));
  d->links.pvlinks_value = u"Strong's dictionary";
  DBLinkKind kind;
  kind.name = "Strong";
  kind.keys = {{"Search", u"%1"},   {"Note", u"%1"}, {"DetailsT", u"Strong's"},
               {"DetailsL", u"%1"}, {"Tip", u"%1"},  {"MenuT", u"Strong's dictionary"},
               {"MenuL", u"%1"}};
  d->links.kinds.push_back(std::move(kind));
}

std::string PackageVersion(const std::string& npm, const std::string& package) {
  std::string bytes;
  if (!platform::ReadWholeFile(platform::JoinPath(platform::JoinPath(npm, package), "package.json"),
                               &bytes))
    return "?";
  const nlohmann::json j = nlohmann::json::parse(bytes, nullptr, false);
  if (j.is_discarded() || !j.contains("version") || !j["version"].is_string()) return "?";
  return j["version"].get<std::string>();
}

std::string Percent(size_t part, size_t whole) {
  if (whole == 0) return "0%";
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.2f%%",
                100.0 * static_cast<double>(part) / static_cast<double>(whole));
  return buf;
}

// Marks standing between words in the Greek sources that are not
// punctuation: the critical signs of the SBLGNT apparatus.
bool IsCriticalSign(char16_t c) { return c >= 0x2E00 && c <= 0x2E05; }

std::u16string CleanGreekMarks(std::u16string_view s) {
  std::u16string out;
  for (char16_t c : s) {
    if (IsCriticalSign(c)) continue;
    if (c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\u00A0') {
      if (!out.empty() && out.back() != u' ') out += u' ';
      continue;
    }
    out += c;
  }
  while (!out.empty() && out.back() == u' ') out.pop_back();
  while (!out.empty() && out.front() == u' ') out.erase(0, 1);
  return out;
}

// Starts a book: its title as the level-1 heading, and a paragraph.
void StartBook(const std::string& code, InterlinearWord* w) {
  w->headings.push_back({1, {platform::ToU16(BookNameOf(code))}});
  if (w->format.empty()) w->format = u"p";
}

void Report(const ProgressFn& progress, const std::string& code, int index, int count,
            size_t words) {
  if (!progress) return;
  char buf[96];
  std::snprintf(buf, sizeof buf, "  %s %2d/%d  %7zu words", code.c_str(), index, count, words);
  progress(buf);
}

// --- Hebrew --------------------------------------------------------------

std::u16string WithoutSlashes(std::u16string_view s) {
  std::u16string out;
  for (char16_t c : s) {
    if (c != u'/') out += c;
  }
  return out;
}

bool IsCantillation(char16_t c) { return c >= 0x0591 && c <= 0x05AF; }

// Points and marks of a Hebrew word that are not letters; the punctuation
// characters of the block stay.
bool IsHebrewMark(char16_t c) {
  return c >= 0x0591 && c <= 0x05C7 && c != 0x05BE && c != 0x05C0 && c != 0x05C3 && c != 0x05C6;
}

std::u16string RemoveIf(std::u16string_view s, bool (*drop)(char16_t)) {
  std::u16string out;
  for (char16_t c : s) {
    if (!drop(c)) out += c;
  }
  return out;
}

// The Strong's number of an OSHB lemma ("c/d/776" -> H776, "1254 a" ->
// H1254): the first part that holds a number; prefixes are letters.
std::string HebrewStrongs(std::string_view lemma) {
  size_t start = 0;
  while (start <= lemma.size()) {
    const size_t slash = lemma.find('/', start);
    const std::string_view part =
        lemma.substr(start, slash == std::string_view::npos ? slash : slash - start);
    if (!part.empty() && part[0] >= '0' && part[0] <= '9') return NormalizeStrongs('H', part);
    if (slash == std::string_view::npos) break;
    start = slash + 1;
  }
  return {};
}

// Words that are an inseparable preposition with a suffix ("lo", "to
// him") carry only the prefix letter as lemma; Strong's dictionary has no
// entry for the prefixes (min has one). Their glosses are given here.
struct PrefixLemma {
  char letter;
  const char16_t* lemma;
  const char16_t* gloss;
  const char* strongs;
};
constexpr PrefixLemma kPrefixLemmas[] = {
    {'b', u"\u05D1\u05BC\u05B0", u"in", ""},   {'l', u"\u05DC\u05B0", u"to", ""},
    {'k', u"\u05DB\u05BC\u05B0", u"like", ""}, {'m', u"\u05DE\u05B4\u05DF", u"from", "H4480"},
    {'i', u"\u05D4\u05B2", u"whether", ""},  // the interrogative particle written alone
};

const PrefixLemma* PrefixOnlyLemma(std::string_view lemma) {
  if (lemma.empty() || lemma.find_first_of("0123456789") != std::string_view::npos) return nullptr;
  const char last = lemma.back();
  for (const PrefixLemma& p : kPrefixLemmas) {
    if (p.letter == last) return &p;
  }
  return nullptr;
}

void DescribeHebrew(const std::string& npm, InterlinearText* text) {
  DBSource& d = text->description;
  d.name = u"HEB";
  d.title = u"Hebrew OT";
  d.copyrights = {
      u"Hebrew text: Westminster Leningrad Codex, public domain.",
      u"Lemmas and morphology: Open Scriptures Hebrew Bible, CC BY 4.0. Original work of the Open "
      u"Scriptures Hebrew Bible available at https://github.com/openscriptures/morphhb",
      u"Glosses and dictionary: Strong's Hebrew dictionary (public domain); JSON edition by Open "
      u"Scriptures, CC BY-SA.",
  };
  d.versification = u"WLC";
  d.compiled = platform::ToU16("vorn-build from morphhb " + PackageVersion(npm, "morphhb") +
                               " and strongs " + PackageVersion(npm, "strongs"));
  SetCommonKeys(&d);
  d.lines.push_back(MakeLine("Form", Font(kHebrewFace, 22, true), u"text", {}, u"Hebrew"));
  d.lines.push_back(MakeLine("Tlit", Font(kLatinGreekFace, 11), u"trans", {u"translit"}));
  DBLine tag = MakeLine("Tag", Font(kLatinGreekFace, 10), u"tag", {u"morph"});
  tag.tag_scheme = u"Westminster";
  d.lines.push_back(std::move(tag));
  d.lines.push_back(MakeLine("Glos", Font(kLatinGreekFace, 11), u"gloss"));
  d.lines.push_back(MakeLine("Lema", Font(kHebrewFace, 18, true), u"base", {u"lemma"}, u"Hebrew"));
  d.lines.push_back(MakeLine("Strong", Font(kLatinGreekFace, 10), u"strong"));
  AddStrongsLinks(&d);
  text->variants = {
      {0, "NoCant", u"No Cantillations"}, {0, "Cons", u"Consonants only"}, {0, "Qere", u"Qere"}};
}

// Compares the variants made from the text with morphhb's word lists, verse
// by verse (the lists also hold the Qere readings and come from an older
// state of the text, so a verse counts as agreeing when every word of ours
// appears in its list in order).
std::string CompareWordList(const std::vector<WordListEntry>& list, const InterlinearText& text,
                            int variant, std::u16string (*norm)(std::u16string_view)) {
  std::map<std::tuple<std::string, int, int>, std::vector<std::u16string>> by_verse;
  for (const WordListEntry& e : list) {
    const std::string code(CodeFromOsisName(e.osis_name));
    by_verse[{code, e.chapter, e.verse}].push_back(norm(WithoutSlashes(e.text)));
  }
  size_t verses = 0, agree = 0;
  const int form = text.ValueIndex("Form");
  for (size_t i = 0; i < text.words.size();) {
    const InterlinearWord& first = text.words[i];
    size_t end = i;
    while (end < text.words.size() && text.words[end].book == first.book &&
           text.words[end].chapter == first.chapter && text.words[end].verse == first.verse)
      ++end;
    ++verses;
    int v = 0;
    ParseNumber(platform::ToUtf8(first.verse), &v);
    const auto it = by_verse.find({first.book, first.chapter, v});
    if (it != by_verse.end()) {
      size_t k = 0;
      bool ok = true;
      for (size_t w = i; w < end && ok; ++w) {
        const std::u16string& ours = text.words[w].variants[variant].empty()
                                         ? text.words[w].values[form]
                                         : text.words[w].variants[variant];
        const std::u16string n = norm(ours);
        while (k < it->second.size() && it->second[k] != n) ++k;
        ok = k < it->second.size();
        ++k;
      }
      if (ok) ++agree;
    }
    i = end;
  }
  return std::to_string(agree) + " of " + std::to_string(verses) + " verses (" +
         Percent(agree, verses) + ")";
}

std::u16string Identity(std::u16string_view s) { return std::u16string(s); }
// Meteg and the order of marks differ between the list and the text.
std::u16string SortedMarks(std::u16string_view s) {
  std::u16string out;
  for (char16_t c : s) {
    if (c != 0x05BD) out += c;
  }
  return out;
}

}  // namespace

std::string SetQereVariant(const std::vector<std::u16string>& qere, int variant,
                           InterlinearText* text) {
  const int form = text->ValueIndex("Form");
  // Readings of every form that is a Ketiv somewhere, in order of first
  // occurrence; an occurrence without a Qere reads the form as written.
  std::map<std::u16string, std::vector<std::u16string>> readings;
  size_t ketiv_words = 0;
  for (size_t w = 0; w < qere.size(); ++w) {
    if (qere[w].empty()) continue;
    ++ketiv_words;
    readings.emplace(text->words[w].values[form], std::vector<std::u16string>());
  }
  for (size_t w = 0; w < text->words.size(); ++w) {
    const auto it = readings.find(text->words[w].values[form]);
    if (it == readings.end()) continue;
    const std::u16string& source =
        w < qere.size() && !qere[w].empty() ? qere[w] : text->words[w].values[form];
    std::u16string reading = RemoveIf(source, IsCantillation);
    if (std::find(it->second.begin(), it->second.end(), reading) == it->second.end())
      it->second.push_back(std::move(reading));
  }
  size_t ambiguous = 0;
  std::map<std::u16string, std::u16string> joined;
  for (const auto& [ketiv, list] : readings) {
    std::u16string all;
    for (const std::u16string& r : list) all += (all.empty() ? u"" : u" | ") + r;
    if (list.size() > 1) ++ambiguous;
    joined.emplace(ketiv, std::move(all));
  }
  for (InterlinearWord& w : text->words) {
    const auto it = joined.find(w.values[form]);
    if (it == joined.end()) continue;
    if (w.variants.size() <= static_cast<size_t>(variant)) w.variants.resize(variant + 1);
    w.variants[variant] = it->second;
  }
  return std::to_string(ketiv_words) + " Ketiv words, " + std::to_string(ambiguous) +
         " forms with more than one reading";
}

void MarkSentences(std::u16string_view enders, InterlinearText* text) {
  for (size_t i = 0; i + 1 < text->words.size(); ++i) {
    const std::u16string& after = text->words[i].after;
    if (after.find_first_of(enders) != std::u16string::npos)
      text->words[i + 1].sentence_start = true;
  }
}

bool ImportHebrew(const SourcePaths& paths, const CStrongsDictionary& strongs,
                  const ProgressFn& progress, InterlinearText* text, ImportStats* stats,
                  std::string* error) {
  *text = InterlinearText();
  *stats = ImportStats();
  const std::string wlc = platform::JoinPath(paths.npm, "morphhb/wlc");
  if (!platform::DirectoryExists(wlc)) {
    *error = wlc + ": not found (run `npm ci` in the project folder)";
    return false;
  }
  std::unique_ptr<CTransliterator> translit =
      CTransliterator::Create(CTransliterator::Script::kHebrew, error);
  if (!translit) return false;
  DescribeHebrew(paths.npm, text);
  const int form = text->ValueIndex("Form"), tlit = text->ValueIndex("Tlit"),
            tag = text->ValueIndex("Tag"), glos = text->ValueIndex("Glos"),
            lema = text->ValueIndex("Lema"), strong = text->ValueIndex("Strong");
  const size_t line_count = text->ValueLines().size();
  // Transliterations and tags repeat; each distinct value is made once.
  std::map<std::u16string, std::u16string> translit_cache;
  std::map<std::string, std::string> tag_cache;
  std::vector<std::u16string> qere;
  int unplaced_qere = 0;

  std::vector<std::string> codes;
  for (int i = 0; i < 39; ++i) codes.emplace_back(BookCodeAt(i));
  int book_index = 0;
  for (const std::string& code : codes) {
    ++book_index;
    const std::string path = platform::JoinPath(wlc, std::string(OsisNameOf(code)) + ".xml");
    WlcBook book;
    if (!ReadWlcBook(path, &book, error)) return false;
    unplaced_qere += book.unplaced_qere;
    const size_t first = text->words.size();
    for (const WlcWord& src : book.words) {
      InterlinearWord w;
      w.book = code;
      w.chapter = src.chapter;
      w.verse = platform::ToU16(std::to_string(src.verse));
      w.values.resize(line_count);
      w.values[form] = WithoutSlashes(src.text);
      auto t = translit_cache.find(src.text);
      if (t == translit_cache.end())
        t = translit_cache.emplace(src.text, translit->Transliterate(src.text)).first;
      w.values[tlit] = t->second;
      auto m = tag_cache.find(src.morph);
      if (m == tag_cache.end()) {
        std::string converted, why;
        if (!ConvertOshbMorph(src.morph, &converted, &why)) {
          *error = path + ":" + std::to_string(src.line) + ": " + why;
          return false;
        }
        m = tag_cache.emplace(src.morph, converted).first;
      }
      w.values[tag] = platform::ToU16(m->second);
      const std::string number = HebrewStrongs(src.lemma);
      if (const StrongsEntry* e = number.empty() ? nullptr : strongs.Find(number)) {
        w.values[strong] = platform::ToU16(number);
        w.values[lema] = e->lemma;
        w.values[glos] = ShortGloss(number, *e);
        w.links.push_back({"Strong", StrongsLinkText(number, *e)});
        ++stats->with_strongs;
        ++stats->with_lemma;
        if (!w.values[glos].empty()) ++stats->with_gloss;
      } else if (!number.empty()) {
        w.values[strong] = platform::ToU16(number);
      } else if (const PrefixLemma* p = PrefixOnlyLemma(src.lemma)) {
        w.values[lema] = p->lemma;
        w.values[glos] = p->gloss;
        ++stats->with_lemma;
        ++stats->with_gloss;
        if (const StrongsEntry* entry = *p->strongs ? strongs.Find(p->strongs) : nullptr) {
          w.values[strong] = platform::ToU16(p->strongs);
          w.links.push_back({"Strong", StrongsLinkText(p->strongs, *entry)});
          ++stats->with_strongs;
        }
      }
      qere.push_back(WithoutSlashes(src.qere));
      w.variants.resize(3);
      std::u16string nocant = RemoveIf(w.values[form], IsCantillation);
      std::u16string cons = RemoveIf(w.values[form], IsHebrewMark);
      if (nocant != w.values[form]) w.variants[0] = std::move(nocant);
      if (cons != w.values[form]) w.variants[1] = std::move(cons);
      w.before = src.before;
      w.after = src.after;
      if (src.paragraph) w.format = std::u16string(1, static_cast<char16_t>(src.paragraph));
      text->words.push_back(std::move(w));
    }
    StartBook(code, &text->words[first]);
    Report(progress, code, book_index, static_cast<int>(codes.size()), text->words.size() - first);
  }
  MarkSentences(u"\u05C3", text);
  stats->checks.push_back({"Qere readings: ", SetQereVariant(qere, 2, text) + ", " +
                                                  std::to_string(unplaced_qere) +
                                                  " with no written or no read word (not shown)"});

  std::vector<VerseMapping> mappings;
  if (!ReadWlcVerseMap(platform::JoinPath(wlc, "VerseMap.xml"), &mappings, error) ||
      !MakeVrsText(mappings, &text->verse_map, error))
    return false;

  // The word lists are a second witness of the variants.
  const std::string lists = platform::JoinPath(paths.npm, "morphhb/oxlos-import");
  for (const auto& [file, variant, label] :
       {std::tuple{"wlc_nocant.txt", 0, "NoCant agrees with wlc_nocant.txt in "},
        std::tuple{"wlc_cons.txt", 1, "Cons agrees with wlc_cons.txt in "}}) {
    std::vector<WordListEntry> list;
    std::string why;
    if (!ReadWordList(platform::JoinPath(lists, file), &list, &why)) {
      stats->checks.push_back({label, "not compared: " + why});
      continue;
    }
    stats->checks.push_back(
        {label, CompareWordList(list, *text, variant, variant == 0 ? SortedMarks : Identity)});
  }
  stats->words = text->words.size();
  stats->books = codes.size();
  return true;
}

// --- Greek NT ------------------------------------------------------------

namespace {

void DescribeGreek(std::u16string name, std::u16string title, bool full, InterlinearText* text) {
  DBSource& d = text->description;
  d.name = std::move(name);
  d.title = std::move(title);
  SetCommonKeys(&d);
  d.lines.push_back(MakeLine("Form", Font(kLatinGreekFace, 18), u"text", {}, u"Greek"));
  d.lines.push_back(MakeLine("Tlit", Font(kLatinGreekFace, 11), u"trans", {u"translit"}));
  if (!full) return;
  DBLine tag = MakeLine("Tag", Font(kLatinGreekFace, 10), u"tag", {u"morph"});
  d.lines.push_back(std::move(tag));
  d.lines.push_back(MakeLine("Glos", Font(kLatinGreekFace, 11), u"gloss"));
  d.lines.push_back(MakeLine("Lema", Font(kLatinGreekFace, 14), u"base", {u"lemma"}, u"Greek"));
  d.lines.push_back(MakeLine("Strong", Font(kLatinGreekFace, 10), u"strong"));
  AddStrongsLinks(&d);
}

// Glosses, lemma, Strong's numbers and links of a Greek word from the
// dictionary entries of its numbers (the first one gives lemma and gloss).
void FillFromStrongs(const CStrongsDictionary& strongs, const std::vector<std::string>& numbers,
                     const InterlinearText& text, InterlinearWord* w, ImportStats* stats,
                     bool set_lemma) {
  const int glos = text.ValueIndex("Glos"), lema = text.ValueIndex("Lema"),
            strong = text.ValueIndex("Strong");
  std::u16string list;
  bool first = true;
  for (const std::string& n : numbers) {
    const StrongsEntry* e = strongs.Find(n);
    if (!list.empty()) list += u' ';
    list += platform::ToU16(n);
    if (!e) continue;
    if (first) {
      w->values[glos] = ShortGloss(n, *e);
      if (set_lemma) w->values[lema] = e->lemma;
      if (!w->values[glos].empty()) ++stats->with_gloss;
      first = false;
    }
    w->links.push_back({"Strong", StrongsLinkText(n, *e)});
  }
  w->values[strong] = list;
  if (!list.empty()) ++stats->with_strongs;
}

const char16_t kGreekEnders[] = u".;\u00B7\u0387\u037E";

// The SBLGNT chapters of one book from the npm package, in file order. The
// files follow the chapters only loosely: John 8 begins at 8:12 and sits in
// 007.xml, there being no 008.xml.
bool ReadSblgntBook(const std::string& npm, const std::string& code, std::vector<SblgntWord>* words,
                    std::string* error) {
  words->clear();
  const std::string folder =
      platform::JoinPath(platform::JoinPath(npm, "sblgnt/xml"), std::string(SblgntNameOf(code)));
  std::vector<std::string> files =
      platform::ListDirectory(folder, "*.xml", platform::EntryKind::kFile);
  if (files.empty()) {
    *error = folder + ": no chapter files (run `npm ci` in the project folder)";
    return false;
  }
  std::sort(files.begin(), files.end());
  for (const std::string& file : files) {
    std::vector<SblgntWord> chapter_words;
    if (!ReadSblgntChapter(platform::JoinPath(folder, file), &chapter_words, error)) return false;
    for (SblgntWord& w : chapter_words) words->push_back(std::move(w));
  }
  return true;
}

// MorphGNT analyses the SBLGNT word by word, so a book of one must have the
// verses of the other, each with about as many words: the two editions
// split a few words differently (a crasis, an elision), never more than a
// couple in a verse. A file cut short or a verse lost is refused here,
// rather than compiled into a text with words or verses missing.
bool CheckMorphGntAgainstSblgnt(const std::string& path, const std::vector<MorphGntWord>& mg,
                                const std::map<std::pair<int, int>, int>& sbl_counts,
                                const std::map<std::pair<int, int>, int>& mg_counts,
                                std::string* error) {
  constexpr int kMostWordsSplitApart = 2;
  auto where = [&](std::pair<int, int> cv) {
    // The first MorphGNT line of the verse, else of the verse after it, else
    // the file's last line.
    for (const MorphGntWord& m : mg)
      if (std::pair<int, int>{m.chapter, m.verse} >= cv) return path + ":" + std::to_string(m.line);
    return path + ":" + std::to_string(mg.empty() ? 0 : mg.back().line);
  };
  auto name = [](std::pair<int, int> cv) {
    return std::to_string(cv.first) + ":" + std::to_string(cv.second);
  };
  for (size_t i = 1; i < mg.size(); ++i) {
    if (std::pair<int, int>{mg[i].chapter, mg[i].verse} <
        std::pair<int, int>{mg[i - 1].chapter, mg[i - 1].verse}) {
      *error = path + ":" + std::to_string(mg[i].line) + ": verse " +
               name({mg[i].chapter, mg[i].verse}) + " stands after verse " +
               name({mg[i - 1].chapter, mg[i - 1].verse});
      return false;
    }
  }
  for (const auto& [cv, count] : sbl_counts) {
    const auto it = mg_counts.find(cv);
    if (it == mg_counts.end()) {
      *error = where(cv) + ": verse " + name(cv) + " of the SBLGNT is missing";
      return false;
    }
    if (std::abs(it->second - count) > kMostWordsSplitApart) {
      *error = where(cv) + ": verse " + name(cv) + " has " + std::to_string(it->second) +
               " words where the SBLGNT has " + std::to_string(count);
      return false;
    }
  }
  for (const auto& [cv, count] : mg_counts) {
    if (!sbl_counts.count(cv)) {
      *error = where(cv) + ": verse " + name(cv) + " is not in the SBLGNT";
      return false;
    }
  }
  return true;
}

}  // namespace

bool ImportGreekNt(const SourcePaths& paths, const CStrongsDictionary& strongs,
                   const ProgressFn& progress, InterlinearText* text, ImportStats* stats,
                   std::string* error) {
  *text = InterlinearText();
  *stats = ImportStats();
  const std::string morphgnt =
      paths.corpora.empty() ? "" : platform::JoinPath(paths.corpora, "morphgnt-sblgnt");
  const bool full = !morphgnt.empty() && platform::DirectoryExists(morphgnt);
  std::unique_ptr<CTransliterator> translit =
      CTransliterator::Create(CTransliterator::Script::kGreek, error);
  if (!translit) return false;
  DescribeGreek(u"GNT", u"Greek NT", full, text);
  DBSource& d = text->description;
  d.copyrights = {
      u"Scripture quotations marked SBLGNT are from the SBL Greek New Testament. Copyright "
      u"\u00A9 2010 Society of Biblical Literature and Logos Bible Software."};
  d.versification = u"SBLGNT";
  d.compiled = platform::ToU16("vorn-build from sblgnt " + PackageVersion(paths.npm, "sblgnt"));
  if (full) {
    d.lines[text->ValueIndex("Tag")].tag_scheme = u"Friberg";
    d.copyrights.push_back(
        u"Morphology and lemmas: MorphGNT SBLGNT edition 6.12, CC BY-SA 3.0 (Tauber, J. K., "
        u"ed. (2017) MorphGNT: SBLGNT Edition).");
    d.copyrights.push_back(
        u"Glosses and dictionary: Strong's Greek dictionary (public domain); JSON edition by "
        u"Open Scriptures, CC BY-SA.");
    d.compiled +=
        platform::ToU16(", MorphGNT 6.12 and strongs " + PackageVersion(paths.npm, "strongs"));
  }
  // SBLGNT numbers a few verses unlike the English Bibles.
  text->verse_map =
      "# SBLGNT versification = English (KJV) versification\n"
      "2CO 13:13 = 2CO 13:14\n"
      "3JN 1:15 = 3JN 1:14\n"
      "REV 12:18 = REV 13:1\n";
  const size_t line_count = text->ValueLines().size();
  const int form = text->ValueIndex("Form"), tlit = text->ValueIndex("Tlit");
  std::map<std::u16string, std::u16string> translit_cache;
  auto transliterate = [&](const std::u16string& word) {
    auto t = translit_cache.find(word);
    if (t == translit_cache.end())
      t = translit_cache.emplace(word, translit->Transliterate(word)).first;
    return t->second;
  };
  std::map<std::u16string, std::string> lemma_numbers;
  size_t paragraph_mismatches = 0;

  for (int b = 1; b <= 27; ++b) {
    const std::string code(CodeFromNtNumber(b));
    std::vector<SblgntWord> sbl;
    if (!ReadSblgntBook(paths.npm, code, &sbl, error)) return false;
    const size_t first = text->words.size();
    if (!full) {
      for (const SblgntWord& s : sbl) {
        InterlinearWord w;
        w.book = code;
        w.chapter = s.chapter;
        w.verse = platform::ToU16(std::to_string(s.verse));
        w.values.resize(line_count);
        w.values[form] = s.word;
        w.values[tlit] = transliterate(s.word);
        w.before = CleanGreekMarks(s.prefix);
        w.after = CleanGreekMarks(s.suffix);
        if (s.paragraph_start) w.format = u"p";
        text->words.push_back(std::move(w));
      }
    } else {
      char name[64];
      static constexpr const char* kFiles[] = {"Mt",  "Mk",  "Lk",  "Jn",  "Ac",  "Ro",  "1Co",
                                               "2Co", "Ga",  "Eph", "Php", "Col", "1Th", "2Th",
                                               "1Ti", "2Ti", "Tit", "Phm", "Heb", "Jas", "1Pe",
                                               "2Pe", "1Jn", "2Jn", "3Jn", "Jud", "Re"};
      std::snprintf(name, sizeof name, "%d-%s-morphgnt.txt", 60 + b, kFiles[b - 1]);
      const std::string path = platform::JoinPath(morphgnt, name);
      std::vector<MorphGntWord> mg;
      if (!ReadMorphGnt(path, &mg, error)) return false;
      const int tag = text->ValueIndex("Tag"), lema = text->ValueIndex("Lema");
      // Paragraph starts of the SBLGNT, by verse and position in the verse.
      std::map<std::tuple<int, int, int>, bool> paragraphs;
      std::map<std::pair<int, int>, int> sbl_counts, mg_counts;
      for (const SblgntWord& s : sbl) {
        const int k = sbl_counts[{s.chapter, s.verse}]++;
        if (s.paragraph_start) paragraphs[{s.chapter, s.verse, k}] = true;
      }
      for (const MorphGntWord& m : mg) ++mg_counts[{m.chapter, m.verse}];
      if (!CheckMorphGntAgainstSblgnt(path, mg, sbl_counts, mg_counts, error)) return false;
      std::map<std::pair<int, int>, int> position;
      for (size_t i = 0; i < mg.size(); ++i) {
        const MorphGntWord& m = mg[i];
        if (m.book != b) {
          *error = path + ":" + std::to_string(m.line) + ": a word of book " +
                   std::to_string(m.book) + " in book " + std::to_string(b);
          return false;
        }
        InterlinearWord w;
        w.book = code;
        w.chapter = m.chapter;
        w.verse = platform::ToU16(std::to_string(m.verse));
        w.values.resize(line_count);
        w.values[form] = m.word;
        w.values[tlit] = transliterate(m.word);
        std::u16string before, word, after;
        SplitGreekToken(m.text, &before, &word, &after);
        w.before = CleanGreekMarks(before);
        w.after = CleanGreekMarks(after);
        // A preposition takes the case of the word it governs, which
        // follows it.
        char governed = 0;
        if (m.pos == "P-" && i + 1 < mg.size()) governed = MorphGntCase(mg[i + 1].parse);
        std::string converted, why;
        if (!ConvertMorphGnt(m.pos, m.parse, m.lemma, governed, &converted, &why)) {
          *error = path + ":" + std::to_string(m.line) + ": " + why;
          return false;
        }
        w.values[tag] = platform::ToU16(converted);
        w.values[lema] = m.lemma;
        ++stats->with_lemma;
        auto n = lemma_numbers.find(m.lemma);
        if (n == lemma_numbers.end())
          n = lemma_numbers.emplace(m.lemma, strongs.FindGreekLemma(m.lemma)).first;
        if (!n->second.empty()) FillFromStrongs(strongs, {n->second}, *text, &w, stats, false);
        const std::pair<int, int> cv{m.chapter, m.verse};
        const int k = position[cv]++;
        if (sbl_counts[cv] == mg_counts[cv]) {
          if (paragraphs.count({m.chapter, m.verse, k})) w.format = u"p";
        } else if (k == 0) {
          ++paragraph_mismatches;
          if (paragraphs.count({m.chapter, m.verse, 0})) w.format = u"p";
        }
        text->words.push_back(std::move(w));
      }
    }
    StartBook(code, &text->words[first]);
    Report(progress, code, b, 27, text->words.size() - first);
  }
  MarkSentences(kGreekEnders, text);
  stats->words = text->words.size();
  stats->books = 27;
  if (full) {
    stats->checks.push_back({"verses whose SBLGNT and MorphGNT words differ in number: ",
                             std::to_string(paragraph_mismatches)});
    size_t unmatched = 0;
    for (const auto& [lemma, number] : lemma_numbers) unmatched += number.empty();
    stats->checks.push_back(
        {"lemmas without a Strong's entry: ",
         std::to_string(unmatched) + " of " + std::to_string(lemma_numbers.size())});
  }
  return true;
}

// --- Byzantine -----------------------------------------------------------

bool ImportByzantine(const SourcePaths& paths, const CStrongsDictionary& strongs,
                     const ProgressFn& progress, InterlinearText* text, ImportStats* stats,
                     std::string* error) {
  *text = InterlinearText();
  *stats = ImportStats();
  const std::string root =
      paths.corpora.empty() ? "" : platform::JoinPath(paths.corpora, "byzantine-rp2018");
  if (root.empty() || !platform::DirectoryExists(root)) {
    *error = "the Byzantine text (byzantine-rp2018) is not available";
    return false;
  }
  std::unique_ptr<CTransliterator> translit =
      CTransliterator::Create(CTransliterator::Script::kGreek, error);
  if (!translit) return false;
  DescribeGreek(u"BYZ", u"Byzantine NT", true, text);
  DBSource& d = text->description;
  d.lines[text->ValueIndex("Tag")].tag_scheme = u"LogosGreek";
  d.copyrights = {
      u"The New Testament in the Original Greek: Byzantine Textform 2018, Maurice A. Robinson and "
      u"William G. Pierpont; text, parsing and Strong's numbers in the public domain.",
      u"Glosses and dictionary: Strong's Greek dictionary (public domain); JSON edition by Open "
      u"Scriptures, CC BY-SA."};
  d.versification = u"RP2018";
  d.compiled = platform::ToU16("vorn-build from byzantine-rp2018 and strongs " +
                               PackageVersion(paths.npm, "strongs"));
  // The Robinson-Pierpont text places the closing doxology of Romans at the
  // end of chapter 14.
  text->verse_map =
      "# Robinson-Pierpont versification = English (KJV) versification\n"
      "ROM 14:24-26 = ROM 16:25-27\n";
  const size_t line_count = text->ValueLines().size();
  const int form = text->ValueIndex("Form"), tlit = text->ValueIndex("Tlit"),
            tag = text->ValueIndex("Tag");
  std::map<std::u16string, std::u16string> translit_cache;
  for (int b = 1; b <= 27; ++b) {
    const std::string code(CodeFromNtNumber(b));
    const std::string file = std::string(ByzantineNameOf(code)) + ".csv";
    const std::string parsed_path = platform::JoinPath(platform::JoinPath(root, "parsed"), file);
    std::vector<ByzantineWord> words;
    if (!ReadByzantineBook(platform::JoinPath(platform::JoinPath(root, "accented"), file),
                           parsed_path, &words, error))
      return false;
    const size_t first = text->words.size();
    int chapter = 0;
    for (const ByzantineWord& src : words) {
      InterlinearWord w;
      w.book = code;
      w.chapter = src.chapter;
      w.verse = platform::ToU16(std::to_string(src.verse));
      w.values.resize(line_count);
      w.values[form] = src.word;
      auto t = translit_cache.find(src.word);
      if (t == translit_cache.end())
        t = translit_cache.emplace(src.word, translit->Transliterate(src.word)).first;
      w.values[tlit] = t->second;
      std::string converted, why;
      if (!ConvertRobinson(src.robinson, src.strongs.front(), &converted, &why)) {
        *error = parsed_path + ":" + std::to_string(src.line) + ": " + why;
        return false;
      }
      w.values[tag] = platform::ToU16(converted);
      std::vector<std::string> numbers;
      for (int n : src.strongs) numbers.push_back("G" + std::to_string(n));
      FillFromStrongs(strongs, numbers, *text, &w, stats, true);
      if (!w.values[text->ValueIndex("Lema")].empty()) ++stats->with_lemma;
      w.before = CleanGreekMarks(src.before);
      w.after = CleanGreekMarks(src.after);
      // Paragraphs start where the text marks them, and with every chapter.
      if (src.paragraph || src.chapter != chapter) w.format = u"p";
      chapter = src.chapter;
      text->words.push_back(std::move(w));
    }
    StartBook(code, &text->words[first]);
    Report(progress, code, b, 27, text->words.size() - first);
  }
  MarkSentences(kGreekEnders, text);
  stats->words = text->words.size();
  stats->books = 27;
  return true;
}

// --- SWORD modules -------------------------------------------------------

namespace {

// The book code of a SWORD module's OSIS book name ("Gen", "Matt", "Titus").
std::string SwordBookCode(std::string_view osis) {
  // The OSIS names of the books outside the Hebrew Bible and the SBLGNT.
  static constexpr std::pair<std::string_view, std::string_view> kOther[] = {
      {"Titus", "TIT"}, {"Tob", "TOB"},    {"Jdt", "JDT"},     {"Wis", "WIS"},
      {"Sir", "SIR"},   {"Bar", "BAR"},    {"EpJer", "LJE"},   {"Sus", "SUS"},
      {"Bel", "BEL"},   {"1Macc", "1MA"},  {"2Macc", "2MA"},   {"3Macc", "3MA"},
      {"4Macc", "4MA"}, {"1Esd", "1ES"},   {"2Esd", "2ES"},    {"EsthGr", "ESG"},
      {"PrMan", "MAN"}, {"PrAzar", "S3Y"}, {"AddEsth", "ESG"}, {"PssSol", "PSS"}};
  for (const auto& [name, other] : kOther) {
    if (osis == name) return std::string(other);
  }
  std::string_view code = CodeFromOsisName(osis);
  if (code.empty()) code = CodeFromSblgntName(osis);
  return std::string(code);
}

bool IsWordCharacter(char32_t c) {
  return u_isalnum(static_cast<UChar32>(c)) ||
         u_getIntPropertyValue(static_cast<UChar32>(c), UCHAR_GENERAL_CATEGORY_MASK) & U_GC_M_MASK;
}

// Splits "(Word," into "(", "Word" and ",": the word runs from its first
// letter or digit to its last; apostrophes and hyphens inside it stay.
void SplitEnglishToken(const std::u16string& token, std::u16string* before, std::u16string* word,
                       std::u16string* after) {
  size_t first = 0, last = token.size();
  while (first < token.size() && !IsWordCharacter(token[first])) ++first;
  while (last > first && !IsWordCharacter(token[last - 1])) --last;
  *before = token.substr(0, first);
  *word = token.substr(first, last - first);
  *after = token.substr(last);
}

std::u16string JoinStrongs(const std::vector<std::string>& numbers) {
  std::u16string out;
  for (const std::string& n : numbers) {
    if (!out.empty()) out += u' ';
    out += platform::ToU16(n);
  }
  return out;
}

// The verse map file of a SWORD versification against the common (KJV)
// one, from libsword's mapping: runs of verses that move together become one
// range line ("MAL 3:19-24 = MAL 4:1-6"). Verses of books without a code are
// left out.
bool MakeSwordVerseMap(const std::string& versification, std::string* vrs, std::string* error) {
  std::vector<std::pair<SwordVerseRef, SwordVerseRef>> mapping;
  if (!SwordMappingToKjv(versification, &mapping, error)) return false;
  vrs->clear();
  if (mapping.empty()) return true;
  *vrs = "# " + versification + " versification = English (KJV) versification\n";
  struct Run {
    std::string own_book, kjv_book;
    int own_chapter = 0, own_first = 0, own_last = 0, kjv_chapter = 0, kjv_first = 0, kjv_last = 0;
  } run;
  auto flush = [&] {
    if (run.own_book.empty()) return;
    auto side = [](const std::string& code, int chapter, int first, int last) {
      std::string out = code + " " + std::to_string(chapter) + ":" + std::to_string(first);
      if (last != first) out += "-" + std::to_string(last);
      return out;
    };
    *vrs += side(run.own_book, run.own_chapter, run.own_first, run.own_last) + " = " +
            side(run.kjv_book, run.kjv_chapter, run.kjv_first, run.kjv_last) + "\n";
    run = Run();
  };
  for (const auto& [own, kjv] : mapping) {
    const std::string own_code = SwordBookCode(own.osis_book);
    const std::string kjv_code = SwordBookCode(kjv.osis_book);
    if (own_code.empty() || kjv_code.empty() || kjv.verse == 0) continue;
    const bool continues = run.own_book == own_code && run.own_chapter == own.chapter &&
                           run.own_last + 1 == own.verse && run.kjv_book == kjv_code &&
                           run.kjv_chapter == kjv.chapter && run.kjv_last + 1 == kjv.verse;
    if (!continues) {
      flush();
      run.own_book = own_code;
      run.own_chapter = own.chapter;
      run.own_first = own.verse;
      run.kjv_book = kjv_code;
      run.kjv_chapter = kjv.chapter;
      run.kjv_first = kjv.verse;
    }
    run.own_last = own.verse;
    run.kjv_last = kjv.verse;
  }
  flush();
  return true;
}

}  // namespace

bool ImportSword(const std::string& module, const std::string& library_folder,
                 const CStrongsDictionary& strongs, const ProgressFn& progress,
                 InterlinearText* text, ImportStats* stats, std::string* error) {
  *text = InterlinearText();
  *stats = ImportStats();
  SwordModuleInfo info;
  if (!DescribeSwordModule(module, &info, error, library_folder)) return false;
  // The lines depend on what the verses carry, so they are read first.
  struct Verse {
    std::string code;
    SwordVerse verse;
  };
  std::vector<Verse> verses;
  std::set<std::string> unknown_books;
  bool any_morph = false, any_strongs = false;
  if (!ReadSwordModule(
          info.name,
          [&](const SwordVerse& v) {
            std::string code = SwordBookCode(v.osis_book);
            if (code.empty()) {
              unknown_books.insert(v.osis_book);
              return;
            }
            for (const SwordWord& w : v.words) {
              any_morph = any_morph || !w.morph.empty();
              any_strongs = any_strongs || !w.strongs.empty();
            }
            verses.push_back({std::move(code), v});
          },
          error, library_folder))
    return false;
  if (verses.empty()) {
    *error = "the SWORD module " + info.name + " has no verses of known books";
    return false;
  }
  // Databases hold their books in the order of the book table; some
  // versifications put the deuterocanonical books elsewhere.
  std::stable_sort(verses.begin(), verses.end(), [](const Verse& a, const Verse& b) {
    return CanonicalBookIndex(a.code) < CanonicalBookIndex(b.code);
  });

  DBSource& d = text->description;
  d.name = platform::ToU16(info.abbreviation);
  d.title = platform::ToU16(info.description.empty() ? info.abbreviation : info.description);
  d.copyrights = {platform::ToU16("Text: the SWORD module " + info.name +
                                  (info.version.empty() ? "" : " " + info.version) + ".")};
  // Modules in the common versification need no map of their own; they
  // share the name so that one empty map file serves them all.
  d.versification = platform::ToU16(info.versification);
  d.compiled = platform::ToU16("vorn-build from the SWORD module " + info.name +
                               (info.version.empty() ? "" : " " + info.version));
  if (!MakeSwordVerseMap(info.versification, &text->verse_map, error)) return false;
  if (text->verse_map.empty() && info.versification != "KJV") {
    // libsword carries mappings for a few versifications only.
    stats->checks.push_back({"verse map: ", "libsword maps no verse of " + info.versification +
                                                " elsewhere; the database follows the common "
                                                "numbering"});
  }
  SetCommonKeys(&d);
  d.lines.push_back(MakeLine("Form", Font(kLatinGreekFace, 14), u"text", {}, u"English"));
  if (any_strongs) d.lines.push_back(MakeLine("Strong", Font(kLatinGreekFace, 10), u"strong"));
  if (any_morph)
    d.lines.push_back(MakeLine("Morph", Font(kLatinGreekFace, 10), u"morph", {u"tag"}));
  const bool links = any_strongs && strongs.size() > 0;
  if (links) AddStrongsLinks(&d);
  const size_t line_count = text->ValueLines().size();
  const int form = text->ValueIndex("Form"), strong = text->ValueIndex("Strong"),
            morph = text->ValueIndex("Morph");

  int book_count = 0;
  for (size_t i = 0; i < verses.size(); ++i)
    book_count += i == 0 || verses[i].code != verses[i - 1].code;
  std::string book;
  size_t book_start = 0;
  int book_index = 0;
  for (const Verse& v : verses) {
    const size_t verse_start = text->words.size();
    const std::u16string label = platform::ToU16(std::to_string(v.verse.verse));
    for (const SwordWord& sw : v.verse.words) {
      std::u16string before, word, after;
      SplitEnglishToken(platform::ToU16(sw.text_utf8), &before, &word, &after);
      if (word.empty()) {
        // Punctuation the reader could not attach to a word.
        if (text->words.size() > verse_start) text->words.back().after += before;
        continue;
      }
      InterlinearWord w;
      w.book = v.code;
      w.chapter = v.verse.chapter;
      w.verse = label;
      w.values.resize(line_count);
      w.values[form] = std::move(word);
      w.before = std::move(before);
      w.after = std::move(after);
      if (strong >= 0) {
        w.values[strong] = JoinStrongs(sw.strongs);
        if (!sw.strongs.empty()) ++stats->with_strongs;
        if (links) {
          for (const std::string& n : sw.strongs) {
            if (const StrongsEntry* e = strongs.Find(n))
              w.links.push_back({"Strong", StrongsLinkText(n, *e)});
          }
        }
      }
      if (morph >= 0) w.values[morph] = platform::ToU16(sw.morph);
      text->words.push_back(std::move(w));
    }
    if (text->words.size() == verse_start) continue;  // a verse of punctuation alone
    InterlinearWord& first = text->words[verse_start];
    if (v.verse.paragraph_start) first.format = u"p";
    for (const std::string& h : v.verse.headings)
      first.headings.push_back({2, {platform::ToU16(h)}});
    if (v.code != book) {
      if (!book.empty())
        Report(progress, book, ++book_index, book_count, text->words.size() - book_start);
      book = v.code;
      book_start = verse_start;
      // The book's title comes before the headings of its first verse.
      first.headings.insert(first.headings.begin(),
                            DBHeadingLevel{1, {platform::ToU16(BookNameOf(v.code))}});
      first.format = u"p";
      ++stats->books;
    }
  }
  if (!book.empty())
    Report(progress, book, ++book_index, book_count, text->words.size() - book_start);
  MarkSentences(u".?!", text);
  stats->words = text->words.size();
  if (!unknown_books.empty()) {
    std::string names;
    for (const std::string& b : unknown_books) names += (names.empty() ? "" : ", ") + b;
    stats->checks.push_back({"books left out (no book code): ", names});
  }
  return true;
}

}  // namespace vorn::build
