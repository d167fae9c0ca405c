// Databases written by the table writer, read back through the readers.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "platform/message_sink.h"
#include "platform/u16.h"
#include "textdb/db_stats.h"
#include "textdb/form_line.h"
#include "textdb/gloss_line.h"
#include "textdb/headings.h"
#include "textdb/link_params.h"
#include "textdb/links_line.h"
#include "textdb/ordinary_line.h"
#include "textdb/table_writer.h"
#include "textdb/tags_line.h"
#include "textdb/test_db.h"
#include "textdb/verses.h"
#include "textdb/vorn_db.h"

namespace vorn {
namespace {

using testing::TestDatabase;

// A written database opened as the program opens it.
class Opened {
 public:
  explicit Opened(const DBSource& source) : source_(source), db_files_(source_) {
    EXPECT_TRUE(db_files_.ok()) << db_files_.error();
    stats_ = std::make_unique<CVornDBStats>(db_files_.folder());
    EXPECT_TRUE(stats_->Load());
    db_ = stats_->OpenDatabase(&sink_, nullptr);
    EXPECT_NE(db_, nullptr);
    EXPECT_TRUE(sink_.messages().empty());
  }
  bool ok() const { return db_ != nullptr; }
  CVornDB* db() const { return db_.get(); }
  const CVornDBStats& stats() const { return *stats_; }
  const DBSource& source() const { return source_; }
  CVornDBOrdinaryLine* Line(int index) const {
    return dynamic_cast<CVornDBOrdinaryLine*>(db_->GetLine(index));
  }

 private:
  DBSource source_;
  TestDatabase db_files_;
  platform::CRecordingMessageSink sink_;
  std::unique_ptr<CVornDBStats> stats_;
  std::unique_ptr<CVornDB> db_;
};

// The text of a variant as the source gives it (0 = the line itself).
std::u16string SourceText(const DBLine& line, uint32_t word, int variant) {
  if (variant > 0) {
    for (const auto& [w, text] : line.variants[variant - 1].changes) {
      if (w == word) return text;
    }
  }
  return line.words[word];
}

// The stored text of a word, without the Form line's punctuation.
std::u16string StoredText(const CVornDBOrdinaryLine* line, uint32_t word, int variant) {
  return std::u16string(line->GetStoredText(static_cast<WordIndex>(word), variant));
}

TEST(RoundTripTest, GreekDescriptionAndLines) {
  Opened o(testing::MakeGreekTestSource());
  ASSERT_TRUE(o.ok());
  const DBSource& s = o.source();
  CVornDB* db = o.db();
  EXPECT_EQ(db->GetName(), u"TGNT");
  EXPECT_EQ(db->GetTitle(), s.title);
  EXPECT_EQ(db->GetBookCode(3), u"JHN");
  EXPECT_EQ(db->GetBookNumber(u"MRK"), 2);
  std::vector<std::u16string> copyrights;
  EXPECT_TRUE(o.stats().GetCopyrights(&copyrights));
  EXPECT_EQ(copyrights, s.copyrights);
  EXPECT_EQ(o.stats().GetValue("/Versification"), u"NRSV");
  std::vector<CFontFormat> fonts;
  db->GetHeadingFonts(&fonts);
  EXPECT_EQ(fonts.size(), 2u);
  db->GetVerseFonts(&fonts);
  EXPECT_EQ(fonts.size(), 3u);

  ASSERT_EQ(db->GetLineCount(), 6);
  for (int i = 0; i < 6; ++i) EXPECT_EQ(db->GetLineName(i), s.lines[i].name);
  EXPECT_EQ(db->GetFormLineIndex(), 0);
  EXPECT_EQ(db->GetTagLineIndex(), 2);
  EXPECT_EQ(db->GetGlossLineIndex(), 3);
  EXPECT_EQ(db->GetLinksLineIndex(), 5);
  EXPECT_EQ(db->GetWordCount(), s.lines[0].words.size());
  EXPECT_EQ(db->FindLineByQueryName(u"G"), db->GetLine(0));
  EXPECT_EQ(db->FindLineByQueryName(u"Lemma"), db->GetLine(4));
  EXPECT_EQ(db->FindAltIndex(0, u"FormByz"), 1);
  EXPECT_EQ(db->GetLine(0)->GetAltName(1), u"Greek (Byzantine)");
  EXPECT_EQ(db->GetLine(0)->GetLanguage(), u"Greek");
  auto* tags = dynamic_cast<CVornDBTagsLine*>(db->GetLine(2));
  ASSERT_NE(tags, nullptr);
  EXPECT_NE(tags->GetDecoder(), nullptr);  // "Friberg" chose a decoder
}

TEST(RoundTripTest, WordTextsFormsAndOccurrences) {
  for (const DBSource& source : {testing::MakeGreekTestSource(), testing::MakeHebrewTestSource()}) {
    Opened o(source);
    ASSERT_TRUE(o.ok());
    const DBSource& s = o.source();
    const uint32_t n = o.db()->GetWordCount();
    for (size_t i = 0; i < s.lines.size(); ++i) {
      const DBLine& src = s.lines[i];
      if (src.name == "Links") continue;
      const CVornDBOrdinaryLine* line = o.Line(static_cast<int>(i));
      ASSERT_NE(line, nullptr) << src.name;
      ASSERT_EQ(line->GetWordCount(), n);
      ASSERT_EQ(line->GetVariantCount(), src.variants.size());
      std::map<std::u16string, std::vector<uint32_t>> words_of;
      for (uint32_t w = 0; w < n; ++w) {
        words_of[src.words[w]].push_back(w);
        for (int v = 0; v <= static_cast<int>(src.variants.size()); ++v) {
          EXPECT_EQ(StoredText(line, w, v), SourceText(src, w, v))
              << src.name << " word " << w << " variant " << v;
        }
      }
      // Every form is found by exact look-up and lists exactly its words.
      for (const auto& [text, words] : words_of) {
        FormList forms;
        ASSERT_TRUE(line->MatchForms(text, &forms)) << platform::ToUtf8(text);
        ASSERT_EQ(forms.size(), 1u);
        EXPECT_EQ(line->GetFormText(forms[0]), text);
        const uint32_t* occ = line->GetOccurrences(forms[0]);
        EXPECT_EQ(std::vector<uint32_t>(occ + 1, occ + 1 + occ[0]), words);
        EXPECT_EQ(line->GetFormFrequency(words[0]), words.size());
      }
      // Variant texts that no word has are forms without words.
      size_t extra = 0;
      for (const DBVariant& v : src.variants) {
        for (const auto& [w, text] : v.changes) {
          if (words_of.count(text)) continue;
          FormList forms;
          ASSERT_TRUE(line->MatchForms(text, &forms)) << platform::ToUtf8(text);
          EXPECT_EQ(line->GetOccurrences(forms[0])[0], 0u);
          words_of[text];
          ++extra;
        }
      }
      EXPECT_EQ(line->GetFormCount(), words_of.size()) << src.name;
      EXPECT_LE(extra, 1u);
    }
  }
}

TEST(RoundTripTest, CanonicallyEquivalentFormsAreFoundTogether) {
  DBSource s = testing::MakeHebrewTestSource();
  // Precomposed and decomposed alpha with acute; upper and lower case.
  const std::u16string odd[] = {u"\u03ac", u"\u03b1\u0301", u"A", u"a"};
  for (int i = 0; i < 4; ++i) s.lines[1].words[i] = odd[i];
  Opened o(s);
  ASSERT_TRUE(o.ok());
  const CVornDBOrdinaryLine* line = o.Line(1);
  // The two spellings of alpha with acute are one text by Unicode's
  // definition: either finds both forms. Case still tells A from a.
  for (int i = 0; i < 4; ++i) {
    FormList forms;
    ASSERT_TRUE(line->MatchForms(odd[i], &forms)) << i;
    std::vector<std::u16string> found;
    for (uint32_t f : forms) found.push_back(line->GetFormText(f));
    if (i < 2)
      EXPECT_THAT(found, ::testing::UnorderedElementsAre(odd[0], odd[1])) << i;
    else
      EXPECT_THAT(found, ::testing::ElementsAre(odd[i])) << i;
  }
}

TEST(RoundTripTest, Verses) {
  Opened o(testing::MakeGreekTestSource());
  ASSERT_TRUE(o.ok());
  const DBSource& s = o.source();
  CVornDBVerses* verses = o.db()->GetVerses();
  ASSERT_NE(verses, nullptr);
  EXPECT_EQ(verses->GetBookCount(), 3);
  ASSERT_EQ(verses->FileCount(), s.verses.size() + 1);
  for (size_t i = 0; i < s.verses.size(); ++i) {
    const DBVerse& v = s.verses[i];
    VerseKey key = CVornDBVerses::MakeKey(v.book, v.chapter, v.label);
    VerseEntry found = verses->FindVerse(key);
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(found->first_word, v.first_word) << platform::ToUtf8(v.label);
    EXPECT_EQ(CVornDBVerses::GetVerseLabel(found), v.label);
    VerseEntry of_word = verses->VerseOfWord(static_cast<WordIndex>(v.first_word));
    EXPECT_TRUE(verses->IsSameVerse(found, of_word));
  }
  // MRK 1:3 stands before 1:2 in the text; in book order 1:2 comes first.
  VerseEntry v12 = verses->FindVerse(CVornDBVerses::MakeKey(2, 1, u"2"));
  VerseEntry v13 = verses->FindVerse(CVornDBVerses::MakeKey(2, 1, u"3"));
  EXPECT_GT(v12->first_word, v13->first_word);
  EXPECT_TRUE(verses->IsSameVerse(verses->NextVerse(v12), v13));
  VerseEntry range = verses->FindVerse(CVornDBVerses::MakeKey(2, 1, u"4-6"));
  EXPECT_EQ(CVornDBVerses::GetVerseLabel(range), u"4-6");
  EXPECT_EQ(verses->GetWordSpan(range).end, static_cast<WordIndex>(s.verses[10].first_word));
  EXPECT_EQ(verses->GetBookSpan(3).end, static_cast<WordIndex>(o.db()->GetWordCount()));
}

TEST(RoundTripTest, HeadingsFormatsSentences) {
  Opened o(testing::MakeGreekTestSource());
  ASSERT_TRUE(o.ok());
  const DBSource& s = o.source();
  CVornDB* db = o.db();
  std::set<uint32_t> heading_words;
  for (const DBHeading& h : s.headings) {
    heading_words.insert(h.word);
    std::unique_ptr<CHeading> chain = db->GetHeading(static_cast<WordIndex>(h.word));
    const CHeading* got = chain.get();
    for (const DBHeadingLevel& level : h.chain) {
      ASSERT_NE(got, nullptr) << h.word;
      EXPECT_EQ(got->GetLevel(), level.level);
      ASSERT_EQ(got->GetTexts().size(), level.texts.size());
      for (size_t t = 0; t < level.texts.size(); ++t) {
        EXPECT_EQ(std::u16string(got->GetTexts()[t]), level.texts[t]);
      }
      got = got->GetNext();
    }
    EXPECT_EQ(got, nullptr);
  }
  for (uint32_t w = 0; w < db->GetWordCount(); ++w) {
    if (!heading_words.count(w)) {
      EXPECT_EQ(db->GetHeading(static_cast<WordIndex>(w)), nullptr);
    }
  }

  ASSERT_NE(db->GetFormats(), nullptr);
  for (const DBFormat& f : s.formats) {
    EXPECT_EQ(db->GetFormatCode(static_cast<WordIndex>(f.word)), f.code);
  }
  EXPECT_EQ(db->GetFormatCode(1), u"");

  // MAT 2:2a does not end a sentence: 2:2a and 2:2b are one sentence.
  const WordIndex a = static_cast<WordIndex>(s.verses[4].first_word);
  const WordIndex b = static_cast<WordIndex>(s.verses[5].first_word);
  const WordIndex after = static_cast<WordIndex>(s.verses[6].first_word);
  EXPECT_EQ(db->GetSentenceRange(b), (WordSpan{a, after}));
  EXPECT_EQ(db->GetSentenceRange(0), (WordSpan{0, static_cast<WordIndex>(s.verses[1].first_word)}));
}

TEST(RoundTripTest, PunctuationAndGlossMarks) {
  Opened o(testing::MakeGreekTestSource());
  ASSERT_TRUE(o.ok());
  auto* form = dynamic_cast<CVornDBFormLine*>(o.db()->GetLine(0));
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(form->GetWordString(0), u"Ἐν");
  EXPECT_EQ(form->GetWordString(1), u"ἀρχῇ");
  EXPECT_EQ(form->GetWordString(4), u"λόγος.");
  const WordIndex clause_end = static_cast<WordIndex>(o.source().verses[5].first_word - 1);
  EXPECT_EQ(form->GetWordString(clause_end), u"εἶπεν,");

  auto* gloss = dynamic_cast<CVornDBGlossLine*>(o.db()->GetLine(3));
  ASSERT_NE(gloss, nullptr);
  ASSERT_TRUE(gloss->HasGlossMarks());
  std::u16string prefix, suffix;
  gloss->GetGlossMarks(2, &prefix, &suffix);
  EXPECT_EQ(prefix, u"{");
  EXPECT_EQ(suffix, u"");
  gloss->GetGlossMarks(4, &prefix, &suffix);
  EXPECT_EQ(prefix, u"");
  EXPECT_EQ(suffix, u"}");
  gloss->GetGlossMarks(static_cast<WordIndex>(o.source().verses[3].first_word), &prefix, &suffix);
  EXPECT_EQ(prefix, u"[");
  EXPECT_EQ(suffix, u"]");
  gloss->GetGlossMarks(5, &prefix, &suffix);
  EXPECT_EQ(prefix + suffix, u"");
}

TEST(RoundTripTest, Links) {
  Opened o(testing::MakeGreekTestSource());
  ASSERT_TRUE(o.ok());
  const DBSource& s = o.source();
  auto* links = dynamic_cast<CVornDBLinks*>(o.db()->GetLine(5));
  ASSERT_NE(links, nullptr);
  ASSERT_EQ(links->GetKinds().size(), 2u);
  const CLinkParams& strong = *links->GetKinds()[0];
  const CLinkParams& topic = *links->GetKinds()[1];
  EXPECT_EQ(strong.GetTitleCount(), 0u);
  EXPECT_EQ(topic.GetStart(), strong.GetEnd());
  EXPECT_EQ(topic.GetTitleCount(), 4u);  // Creation, Deity, Gospel, Salvation
  EXPECT_EQ(topic.GetLinkCount(), 4u);   // Word, God, Love, World
  EXPECT_EQ(strong.GetSetting("Note"), u"Strong's number %1");
  EXPECT_EQ(links->GetFontMap().at(u"English"), u"Face=\"Arial\"");

  // Links within a kind ascend in code-unit order.
  for (const auto& kind : links->GetKinds()) {
    for (uint32_t x = kind->GetFirstLink() + 1; x < kind->GetEnd(); ++x) {
      EXPECT_LT(links->GetEntryText(x - 1), links->GetEntryText(x));
    }
  }

  // Every word that carries λόγος in any spelling links to G3056.
  FormList found;
  ASSERT_TRUE(links->MatchForms(u"Strong G3056", &found));
  ASSERT_EQ(found.size(), 1u);
  CDBWordList words;
  links->WordsOfForms(found, &words);
  std::vector<uint32_t> expected;
  for (const DBWordLinks& wl : s.links.words) {
    if (wl.entries[0].text == u"G3056") expected.push_back(wl.word);
  }
  EXPECT_EQ(words.words(), expected);

  // The first word of JHN 3:16: Strong link, then titles with and without links.
  std::vector<CPVLink> got;
  links->GetLinks(static_cast<WordIndex>(s.verses[12].first_word), &got);
  ASSERT_EQ(got.size(), 5u);
  EXPECT_EQ(got[0].GetKind(), &strong);
  EXPECT_EQ(got[0].GetText(), u"G2316");
  EXPECT_EQ(got[0].GetExtraData(), "#s");
  EXPECT_EQ(got[1].GetGroupTitle(), u"Deity");
  EXPECT_EQ(got[1].GetText(), u"God");
  EXPECT_FALSE(got[1].GetFlag());
  EXPECT_EQ(got[2].GetText(), u"Love");
  EXPECT_EQ(got[2].GetExtraData(), "x1");
  EXPECT_TRUE(got[2].GetFlag());
  EXPECT_EQ(got[3].GetGroupTitle(), u"Gospel");
  EXPECT_EQ(got[3].GetText(), u"");
  EXPECT_EQ(got[4].GetGroupTitle(), u"Salvation");
  EXPECT_EQ(got[4].GetText(), u"World");
  EXPECT_EQ(got[4].GetLevel(), 2);
  EXPECT_EQ(got[4].GetKind(), &topic);
}

TEST(RoundTripTest, HebrewIsRightToLeftWithQere) {
  Opened o(testing::MakeHebrewTestSource());
  ASSERT_TRUE(o.ok());
  CVornDB* db = o.db();
  EXPECT_TRUE(db->IsRightToLeft());
  EXPECT_EQ(db->GetLinksLineIndex(), -1);
  EXPECT_EQ(db->GetFormats(), nullptr);
  int qere = db->FindAltIndex(0, u"Qere");
  ASSERT_EQ(qere, 1);
  auto* form = dynamic_cast<CVornDBFormLine*>(db->GetLine(0));
  ASSERT_NE(form, nullptr);
  // GEN 1:2 ends with the ketiv הוא, read הִיא, and sof pasuq.
  const WordIndex w = static_cast<WordIndex>(o.source().verses[2].first_word - 1);
  EXPECT_EQ(form->GetWordString(w, 0), u"הוא\u05c3");
  EXPECT_EQ(form->GetWordString(w, qere), u"הִיא\u05c3");
}

TEST(RoundTripTest, MinimalDatabaseOpens) {
  // One line, one verse, nothing else: the tables that must exist are there.
  DBSource s;
  s.name = u"MIN";
  s.books = {"GEN"};
  s.lines.emplace_back().name = "Form";
  s.lines[0].words = {u"a", u"b"};
  s.verses = {{0, 1, 1, u"1"}};
  Opened o(s);
  ASSERT_TRUE(o.ok());
  EXPECT_EQ(o.db()->GetWordCount(), 2u);
  EXPECT_EQ(o.db()->GetHeading(0), nullptr);
  EXPECT_EQ(o.db()->GetSentenceRange(1).first, 0);
}

}  // namespace
}  // namespace vorn
