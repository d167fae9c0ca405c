#include "textdb/test_db.h"

#include <filesystem>
#include <initializer_list>
#include <system_error>

#include "platform/file_system.h"
#include "platform/u16.h"
#include "textdb/textdb_test_util.h"

namespace vorn::testing {

namespace {

using platform::ToU16;

struct Entry {
  const char* form;
  const char* tlit;
  const char* tag;
  const char* gloss;
  const char* lemma;
  const char* strong;
};

// Greek: accents and breathings as in printed texts; 13 and 14 differ from
// 4 only by case and by accents, so they collate next to it.
const Entry kGreek[] = {
    {"ἐν", "en", "PD", "in", "ἐν", "G1722"},
    {"ἀρχῇ", "archē", "N-DF-S", "beginning", "ἀρχή", "G746"},
    {"ἦν", "ēn", "VIIA--ZS", "was", "εἰμί", "G1510"},
    {"ὁ", "ho", "DNMS", "the", "ὁ", "G3588"},
    {"λόγος", "logos", "N-NM-S", "word", "λόγος", "G3056"},
    {"καὶ", "kai", "CC", "and", "καί", "G2532"},
    {"θεὸς", "theos", "N-NM-S", "God", "θεός", "G2316"},
    {"πρὸς", "pros", "PA", "with", "πρός", "G4314"},
    {"τὸν", "ton", "DAMS", "the", "ὁ", "G3588"},
    {"θεόν", "theon", "N-AM-S", "God", "θεός", "G2316"},
    {"ἄνθρωπος", "anthrōpos", "N-NM-S", "man", "ἄνθρωπος", "G444"},
    {"λέγει", "legei", "VIPA--ZS", "says", "λέγω", "G3004"},
    {"εἶπεν", "eipen", "VIAA--ZS", "said", "λέγω", "G2036"},
    {"Λόγος", "Logos", "N-NM-S", "Word", "λόγος", "G3056"},
    {"λογος", "logos", "N-NM-S", "word", "λόγος", "G3056"},
};

const Entry kHebrew[] = {
    {"בְּרֵאשִׁית", "bərēšît", "HR/Ncfsa", "in-beginning", "רֵאשִׁית", "H7225"},
    {"בָּרָא", "bārāʾ", "HVqp3ms", "created", "בָּרָא", "H1254"},
    {"אֱלֹהִים", "ʾĕlōhîm", "HNcmpa", "God", "אֱלֹהִים", "H430"},
    {"אֵת", "ʾēt", "HTo", "(obj)", "אֵת", "H853"},
    {"הַשָּׁמַיִם", "haššāmayim", "HTd/Ncmpa", "the-heavens", "שָׁמַיִם", "H8064"},
    {"וְאֵת", "wəʾēt", "HC/To", "and", "אֵת", "H853"},
    {"הָאָרֶץ", "hāʾāreṣ", "HTd/Ncbsa", "the-earth", "אֶרֶץ", "H776"},
    {"וַיֹּאמֶר", "wayyōʾmer", "HC/Vqw3ms", "and-said", "אָמַר", "H559"},
    {"אוֹר", "ʾôr", "HNcbsa", "light", "אוֹר", "H216"},
    {"וַיְהִי", "wayhî", "HC/Vqw3ms", "and-was", "הָיָה", "H1961"},
    {"שְׁמוֹת", "šəmôt", "HNcmpc", "names", "שֵׁם", "H8034"},
    {"בְּנֵי", "bənê", "HNcmpc", "sons", "בֵּן", "H1121"},
    {"הוא", "hwʾ", "HPp3ms", "he", "הוּא", "H1931"},
};

// A small Greek letter that punctuation can capitalise.
bool StartsSmall(const std::u16string& text) {
  char16_t c = text[0];
  return (c >= 0x3B1 && c <= 0x3C9) || (c >= 0x1F00 && c <= 0x1F87 && (c & 8) == 0);
}

struct VerseRow {
  int book;
  int chapter;
  const char* label;
  std::initializer_list<int> words;  // indexes into the vocabulary
  bool ends_sentence;
};

// Adds verses and words to a source whose lines are Form, Tlit, Tag, Glos,
// Lema (and Links, which takes no words).
class Filler {
 public:
  Filler(DBSource* source, const Entry* vocabulary) : s_(source), vocabulary_(vocabulary) {}

  // Adds the verses with their words; returns the first word of each.
  std::vector<uint32_t> Add(std::initializer_list<VerseRow> verses, const char16_t* sentence_end,
                            const char16_t* clause_end, bool capitalise) {
    std::vector<uint32_t> firsts;
    bool sentence_start = true;
    for (const VerseRow& v : verses) {
      const uint32_t first = Count();
      firsts.push_back(first);
      s_->verses.push_back({first, v.book, v.chapter, ToU16(v.label)});
      if (sentence_start) s_->sentence_starts.push_back(first);
      for (int w : v.words) {
        const Entry& e = vocabulary_[w];
        s_->lines[0].words.push_back(ToU16(e.form));
        s_->lines[1].words.push_back(ToU16(e.tlit));
        s_->lines[2].words.push_back(ToU16(e.tag));
        s_->lines[3].words.push_back(ToU16(e.gloss));
        s_->lines[4].words.push_back(ToU16(e.lemma));
        vocabulary_index_.push_back(w);
      }
      DBPunctuation p;
      p.word = Count() - 1;
      p.suffix = v.ends_sentence ? sentence_end : clause_end;
      s_->punctuation.push_back(p);
      // Greek words are capitalised at a sentence start (small letters only).
      if (capitalise && sentence_start && StartsSmall(ToU16(vocabulary_[*v.words.begin()].form))) {
        if (p.word == first) {
          s_->punctuation.back().capital = 0;
        } else {
          DBPunctuation c;
          c.word = first;
          c.capital = 0;
          s_->punctuation.push_back(c);
        }
      }
      sentence_start = v.ends_sentence;
    }
    return firsts;
  }

  uint32_t Count() const { return static_cast<uint32_t>(s_->lines[0].words.size()); }
  // The vocabulary index of each word.
  const std::vector<int>& VocabularyIndex() const { return vocabulary_index_; }

 private:
  DBSource* s_;
  const Entry* vocabulary_;
  std::vector<int> vocabulary_index_;
};

DBLine MakeLine(const char* name, const char* font, const char* prompt,
                std::initializer_list<const char*> query_names, const char* language) {
  DBLine line;
  line.name = name;
  line.font = ToU16(font);
  line.query_prompt = ToU16(prompt);
  for (const char* q : query_names) line.query_names.push_back(ToU16(q));
  line.language = ToU16(language);
  return line;
}

DBHeadingLevel Level(int level, std::initializer_list<const char*> texts) {
  DBHeadingLevel h;
  h.level = level;
  for (const char* t : texts) h.texts.push_back(ToU16(t));
  return h;
}

void CommonKeys(DBSource* s) {
  s->verse_font = u"Face=\"Arial\" Size=\"10\" Colour=\"Red\"";
  s->chapter_font = u"Face=\"Arial\" Size=\"14\" Style=\"B\"";
  s->ref_font = u"Face=\"Arial\" Size=\"9\"";
  s->tag_label_font = u"Face=\"Arial\" Size=\"8\"";
  s->heading_fonts = {{"Title", u"Face=\"Arial\" Size=\"16\" Style=\"B\""},
                      {"Section", u"Face=\"Arial\" Size=\"12\" Style=\"BI\""}};
}

}  // namespace

DBSource MakeGreekTestSource() {
  DBSource s;
  s.name = u"TGNT";
  s.title = u"Test Greek New Testament";
  s.books = {"MAT", "MRK", "JHN"};
  s.copyrights = {u"Test data, made up for the unit tests.", u"Second copyright line \u00a9"};
  s.versification = u"NRSV";
  s.compiled = u"Compiled by the test fixture";
  CommonKeys(&s);
  s.lines.push_back(MakeLine("Form", "Face=\"Gentium Plus\" Size=\"14\" Colour=\"Blue\"", "Greek",
                             {"G", "Text"}, "Greek"));
  s.lines.push_back(MakeLine("Tlit", "Face=\"Arial\" Size=\"10\"", "Translit", {"T"}, ""));
  s.lines.push_back(MakeLine("Tag", "Face=\"Arial\" Size=\"9\"", "Tag", {}, ""));
  s.lines.back().tag_scheme = u"Friberg";
  s.lines.push_back(MakeLine("Glos", "Face=\"Arial\" Size=\"10\" Style=\"I\"", "Gloss", {"E"}, ""));
  s.lines.push_back(MakeLine("Lema", "Face=\"Gentium Plus\" Size=\"12\"", "Lemma", {"L"}, "Greek"));
  s.lines.push_back(MakeLine("Links", "Face=\"Arial\" Size=\"9\"", "Link", {}, ""));

  Filler f(&s, kGreek);
  std::vector<uint32_t> v = f.Add(
      {
          {1, 1, "1", {0, 1, 2, 3, 4}, true},
          {1, 1, "2", {5, 3, 4, 2, 7, 8, 9}, true},
          {1, 1, "3", {5, 6, 2, 3, 4}, true},
          {1, 2, "1", {10, 11}, true},
          {1, 2, "2a", {3, 13, 12}, false},
          {1, 2, "2b", {5, 14}, true},
          {2, 1, "1", {0, 1, 3, 4}, true},
          {2, 1, "3", {10, 2}, true},
          {2, 1, "2", {11, 3, 6}, true},
          {2, 1, "4-6", {5, 3, 10, 12, 7, 8, 9}, true},
          {3, 1, "1", {0, 1, 2, 3, 4}, true},
          {3, 1, "2", {5, 3, 4, 2, 7, 8, 9}, true},
          {3, 3, "16", {6, 11, 5, 10}, true},
      },
      u".", u",", true);
  const uint32_t n = f.Count();

  DBVariant byz;
  byz.name = "FormByz";
  byz.display = u"Byzantine";
  for (uint32_t w = 0; w < n; ++w) {
    if (f.VocabularyIndex()[w] == 2) byz.changes.emplace_back(w, u"ἐστιν");
    if (f.VocabularyIndex()[w] == 11) byz.changes.emplace_back(w, u"εἶπεν");
  }
  s.lines[0].variants.push_back(std::move(byz));

  s.headings.push_back(
      {v[0], {Level(1, {"ΚΑΤΑ ΜΑΘΘΑΙΟΝ", "According to Matthew"}), Level(2, {"The beginning"})}});
  s.headings.push_back({v[3], {Level(2, {"A saying"})}});
  s.headings.push_back({v[6], {Level(1, {"ΚΑΤΑ ΜΑΡΚΟΝ"})}});
  s.headings.push_back({v[10], {Level(1, {"ΚΑΤΑ ΙΩΑΝΝΗΝ"})}});

  s.formats = {{v[0], u"p"}, {v[3], u"poetry1"}, {v[6], u"p"}};

  // A brace group over words 2..4 and a bracket around the first word of MAT 2:1.
  s.gloss_marks = {{2, 'B', 0, 0, 0}, {3, 'I', 0, 0, 0}, {4, 0, 'E', 0, 0}, {v[3], 0, 0, 'B', 'E'}};

  DBLinks& links = s.links;
  links.pvlinks_value = u"Parvello resources";
  links.fonts = {{"Greek", u"Face=\"Gentium Plus\" Size=\"12\""}, {"English", u"Face=\"Arial\""}};
  links.kinds.push_back({"Strong",
                         {{"Search", u"%1"},
                          {"Note", u"Strong's number %1"},
                          {"DetailsT", u"Strong"},
                          {"DetailsL", u"%1"},
                          {"Nfo", u"Strongs"},
                          {"Link", u"%1"}}});
  links.kinds.push_back(
      {"Topic",
       {{"Search", u"%1"}, {"Note", u"%2 - %1"}, {"DetailsT", u"%2"}, {"SubMenu", u"Topics"}}});
  for (uint32_t w = 0; w < n; ++w) {
    const Entry& e = kGreek[f.VocabularyIndex()[w]];
    DBWordLinks wl;
    wl.word = w;
    wl.entries.push_back({0, false, ToU16(e.strong), e.strong[0] == 'G' ? "#s" : ""});
    const int kind = f.VocabularyIndex()[w];
    if (kind == 4 || kind == 13 || kind == 14) {
      wl.entries.push_back({1, true, u"Creation", ""});
      wl.entries.push_back({1, false, u"Word", ""});
    }
    s.links.words.push_back(std::move(wl));
  }
  // The first word of JHN 3:16: titles with and without links.
  DBWordLinks& last = s.links.words[v[12]];
  last.entries.push_back({1, true, u"Deity", ""});
  last.entries.push_back({1, false, u"God", ""});
  last.entries.push_back({1, false, u"Love", "x1"});
  last.entries.push_back({1, true, u"Gospel", ""});
  last.entries.push_back({1, true, u"Salvation", ""});
  last.entries.push_back({1, false, u"\x02World", ""});  // a link with level 2
  return s;
}

DBSource MakeHebrewTestSource() {
  DBSource s;
  s.name = u"THEB";
  s.title = u"Test Hebrew Bible";
  s.books = {"GEN", "EXO", "RUT"};
  s.copyrights = {u"Test data, made up for the unit tests."};
  s.versification = u"Hebrew";
  CommonKeys(&s);
  s.lines.push_back(MakeLine("Form", "Face=\"Ezra SIL\" Size=\"20\" Dir=\"R2L\"", "Hebrew",
                             {"H", "Text"}, "Hebrew"));
  s.lines.push_back(MakeLine("Tlit", "Face=\"Arial\" Size=\"10\"", "Translit", {"T"}, ""));
  s.lines.push_back(MakeLine("Tag", "Face=\"Arial\" Size=\"9\"", "Tag", {}, ""));
  s.lines.back().tag_scheme = u"Westminster";
  s.lines.push_back(MakeLine("Glos", "Face=\"Arial\" Size=\"10\"", "Gloss", {"E"}, ""));
  s.lines.push_back(
      MakeLine("Lema", "Face=\"Ezra SIL\" Size=\"16\" Dir=\"R2L\"", "Lemma", {"L"}, "Hebrew"));

  Filler f(&s, kHebrew);
  std::vector<uint32_t> v = f.Add(
      {
          {1, 1, "1", {0, 1, 2, 3, 4, 5, 6}, true},
          {1, 1, "2", {6, 9, 12}, true},
          {1, 1, "3", {7, 2, 9, 8}, true},
          {1, 2, "1", {9, 3, 4}, true},
          {2, 1, "1", {5, 10, 11}, true},
          {2, 1, "2", {12, 11, 2}, true},
          {3, 1, "1", {9, 11}, true},
          {3, 1, "2", {10, 12, 8}, true},
          {3, 4, "22", {11, 2}, true},
      },
      u"\u05c3", u"", false);

  DBVariant qere;
  qere.name = "Qere";
  qere.display = u"Qere";
  for (uint32_t w = 0; w < f.Count(); ++w) {
    if (f.VocabularyIndex()[w] == 12) qere.changes.emplace_back(w, u"הִיא");
  }
  s.lines[0].variants.push_back(std::move(qere));

  s.headings.push_back({v[0], {Level(1, {"Genesis"})}});
  s.headings.push_back({v[4], {Level(1, {"Exodus"})}});
  s.headings.push_back({v[6], {Level(1, {"Ruth"})}});
  return s;
}

TestDatabase::TestDatabase(const DBSource& source) {
  folder_ = platform::JoinPath(data_folder_.path(), platform::ToUtf8(source.name) + ".qyx");
  CDBWriter writer(source);
  ok_ = writer.Write(folder_, &error_);
}

OpenedTestDatabase::OpenedTestDatabase(const DBSource& source) : files_(source) {
  if (!files_.ok()) {
    error_ = files_.error();
    return;
  }
  stats_ = std::make_unique<CVornDBStats>(files_.folder());
  if (!stats_->Load()) {
    error_ = "Stats.txt does not load";
    return;
  }
  db_ = stats_->OpenDatabase(&sink_, nullptr);
  if (!db_) error_ = "the database does not open";
}

OpenedTestDatabase::~OpenedTestDatabase() {
  db_.reset();
  stats_.reset();
}

}  // namespace vorn::testing
