// The window's query state and the query box's controller: hit zones and
// nearest hits, removing hits, running queries from the box (errors, empty
// results, embedding marks), the query list with its edited-text rule and
// its settings section, the formatted query text, prompts, and the desktop
// keys.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "markup/annotation.h"
#include "markup/propositions_list.h"
#include "markup/tags_db.h"
#include "platform/u16.h"
#include "query/fmt_str.h"
#include "query/query_box.h"
#include "query/query_list.h"
#include "query/query_processor.h"
#include "query/query_prompt.h"
#include "query/query_test_util.h"
#include "querystate/query_thing.h"
#include "querystate/query_tool.h"
#include "refs/bible_ref.h"
#include "textdb/ini_file.h"
#include "wordinfo/word.h"

namespace vorn::testing {
namespace {

using Kind = platform::CRecordingMessageSink::Kind;

class FakeWindow : public CQueryWindow {
 public:
  WordIndex GetFocusWord() const override { return focus; }
  void GoTo(const CBibleRef&) override { ++gotos; }
  void HitsReplaced() override { log += "replaced;"; }
  void HitsRemoved(WordIndex first) override { log += "removed " + std::to_string(first) + ";"; }
  void HitsCleared() override { log += "cleared;"; }
  void RepaintPanes() override { ++repaints; }

  WordIndex focus = 0;
  int gotos = 0;
  int repaints = 0;
  std::string log;
};

// GEN 1:1 in the beginning god (0-2), 1:2 god made light (3-5), 1:3 light
// was good (6-8), 1:4 god saw light (9-11). The Gloss line is drawn right
// to left in "Ezra SIL".
DBSource StateSource() {
  DBSource s = MakeQuerySource({"GEN"}, {{"GEN", 1, u"1", {u"in", u"beginning", u"god"}},
                                         {"GEN", 1, u"2", {u"god", u"made", u"light"}},
                                         {"GEN", 1, u"3", {u"light", u"was", u"good"}},
                                         {"GEN", 1, u"4", {u"god", u"saw", u"light"}}});
  s.lines[0].font = u"Face=\"Gentium Plus\" Size=\"14\"";
  s.lines[1].font = u"Face=\"Ezra SIL\" Dir=\"R2L\"";
  s.sentence_starts = {0, 6};
  return s;
}

class QueryStateTest : public ::testing::Test {
 protected:
  void SetUp() override {
    opened_ = std::make_unique<OpenedDatabase>(StateSource());
    ASSERT_NE(opened_->db(), nullptr) << opened_->error();
    work_ = std::filesystem::path(opened_->folder()).parent_path().string();
    tags_ = std::make_unique<CTagsDB>(opened_->folder(), u"QRY", opened_->db()->GetWordCount(),
                                      work_ + "/QRY", &opened_->sink());
    props_ = std::make_unique<CPropositionsList>(work_, &opened_->sink());
    thing_ = MakeThing(&window_);
    tool_ = std::make_unique<CQueryTool>(&box_, &opened_->sink());
    tool_->SetActiveSource([this] { return thing_.get(); });
  }

  void TearDown() override {
    tool_.reset();
    thing_.reset();
  }

  std::unique_ptr<CQueryThing> MakeThing(CQueryWindow* window) {
    return std::make_unique<CQueryThing>(opened_->db(), tags_.get(), nullptr, props_.get(), window);
  }

  // Runs `text` typed into the box.
  bool Run(const std::u16string& text) {
    box_.SetText(text);
    return tool_->RunQuery();
  }

  std::vector<platform::CRecordingMessageSink::Message> TakeMessages() {
    auto m = opened_->sink().messages();
    opened_->sink().Clear();
    return m;
  }

  std::unique_ptr<OpenedDatabase> opened_;
  std::string work_;
  std::unique_ptr<CTagsDB> tags_;
  std::unique_ptr<CPropositionsList> props_;
  FakeWindow window_;
  std::unique_ptr<CQueryThing> thing_;
  CPlainQueryBox box_;
  std::unique_ptr<CQueryTool> tool_;
};

TEST_F(QueryStateTest, ZonesSplitTheGapsBetweenHits) {
  thing_->SetHits({10, 20, 40});
  EXPECT_EQ(thing_->GetHitZone(0), (WordSpan{0, 15}));
  EXPECT_EQ(thing_->GetHitZone(1), (WordSpan{15, 30}));
  EXPECT_EQ(thing_->GetHitZone(2), (WordSpan{30, -1}));
  EXPECT_EQ(thing_->GetHitZone(3), (WordSpan{-1, -1}));
  WordSpan zone;
  EXPECT_EQ(thing_->NearestHit(14, &zone), 10);
  EXPECT_EQ(zone, (WordSpan{0, 15}));
  EXPECT_EQ(thing_->NearestHit(15, nullptr), 20);
  EXPECT_EQ(thing_->NearestHit(30, nullptr), 40);
  EXPECT_EQ(thing_->NearestHit(1000, nullptr), 40);
  EXPECT_EQ(thing_->NearestHit(0, nullptr), 10);
  // -1 stands for the end of the text.
  EXPECT_EQ(thing_->NearestHitPlace(-1), 2);
  EXPECT_EQ(thing_->FindHitAtOrAfter(20), 1u);
  EXPECT_EQ(thing_->FindHitAtOrAfter(21), 2u);
  EXPECT_EQ(thing_->FindHitAtOrAfter(41), 3u);

  // Odd gaps: the middle word goes to the later hit.
  thing_->SetHits({3, 6});
  EXPECT_EQ(thing_->NearestHit(4, nullptr), 3);
  EXPECT_EQ(thing_->NearestHit(5, nullptr), 6);

  thing_->SetHits({});
  EXPECT_EQ(thing_->GetHitZone(0), (WordSpan{0, -1}));
  EXPECT_EQ(thing_->NearestHit(5, &zone), -1);
  EXPECT_EQ(zone, (WordSpan{0, -1}));
}

TEST_F(QueryStateTest, RemoveHitsTellsTheWindowOnlyWhenTheListChanged) {
  thing_->SetHits({2, 5, 8, 11});
  const CDBWordList* list = &thing_->GetHitList();
  window_.log.clear();
  thing_->RemoveHits({1, 3, 4});
  EXPECT_EQ(window_.log, "");
  thing_->RemoveHits({0, 5, 6, 11, 12});
  EXPECT_EQ(thing_->GetHits(), (std::vector<uint32_t>{2, 8}));
  EXPECT_EQ(window_.log, "removed 5;");
  // Layouts keep a pointer to the list.
  EXPECT_EQ(&thing_->GetHitList(), list);
}

TEST_F(QueryStateTest, RunningAQuerySetsHitsHistoryAndTheList) {
  window_.focus = 7;
  ASSERT_TRUE(Run(u"text god"));
  EXPECT_EQ(thing_->GetHits(), (std::vector<uint32_t>{2, 3, 9}));
  EXPECT_EQ(window_.log, "replaced;");
  EXPECT_TRUE(thing_->GetHistory().HasOrigin());
  EXPECT_EQ(thing_->GetHistory().GoOrigin(), 7);
  // The search word is kept in its line's face.
  ASSERT_EQ(tool_->GetQueryList().GetEntries().size(), 1u);
  EXPECT_EQ(tool_->GetQueryList().GetEntries()[0], u"text <Gentium Plus>god</Gentium Plus>");
  EXPECT_TRUE(TakeMessages().empty());

  // The same text again, and after walking back to it, adds nothing.
  ASSERT_TRUE(Run(u"text god"));
  ASSERT_TRUE(Run(u"gloss glight"));
  EXPECT_EQ(tool_->GetQueryList().GetEntries().back(),
            u"gloss <Ezra SIL,R2L>glight</Ezra SIL,R2L>");
  tool_->PreviousQuery();
  EXPECT_EQ(box_.GetText(), u"text god");
  ASSERT_TRUE(tool_->RunQuery());
  EXPECT_EQ(tool_->GetQueryList().GetEntries().size(), 2u);
}

TEST_F(QueryStateTest, AnErrorSelectsFromTheErrorAndChangesNothing) {
  ASSERT_TRUE(Run(u"text light"));
  window_.log.clear();
  EXPECT_FALSE(Run(u"text god and bogus x"));
  int32_t start = 0, end = 0;
  box_.GetSelection(&start, &end);
  EXPECT_EQ(start, 13);
  EXPECT_EQ(end, 20);
  auto messages = TakeMessages();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].kind, Kind::kWarning);
  EXPECT_EQ(messages[0].text.rfind(u"Unrecognised keyword \u201Cbogus\u201D", 0), 0u);
  EXPECT_EQ(thing_->GetHits(), (std::vector<uint32_t>{5, 6, 11}));
  EXPECT_EQ(window_.log, "");
  EXPECT_EQ(tool_->GetQueryList().GetEntries().size(), 1u);

  // Embedding marks are not part of the query, but the selection is made
  // in the box's own text.
  EXPECT_FALSE(Run(u"text \x202Bgod\x202C and bogus x"));
  box_.GetSelection(&start, &end);
  EXPECT_EQ(start, 15);
  EXPECT_EQ(end, 22);
  TakeMessages();
  ASSERT_TRUE(Run(u"text \x202Bgod\x202C"));
  EXPECT_EQ(thing_->GetHits(), (std::vector<uint32_t>{2, 3, 9}));
}

TEST_F(QueryStateTest, NoMatchesIsReportedAndEmptiesTheHits) {
  ASSERT_TRUE(Run(u"text god"));
  ASSERT_TRUE(Run(u"text god within the same verse as text was"));
  EXPECT_TRUE(thing_->GetHits().empty());
  auto messages = TakeMessages();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].kind, Kind::kInformation);
  EXPECT_EQ(messages[0].text, u"No matches");
  EXPECT_EQ(tool_->GetQueryList().GetEntries().size(), 2u);
}

TEST_F(QueryStateTest, PreviousAfterEditingFirstRestoresTheCurrentEntry) {
  EXPECT_FALSE(tool_->CanGoPrevious());
  EXPECT_FALSE(tool_->CanGoNext());
  ASSERT_TRUE(Run(u"text in"));
  ASSERT_TRUE(Run(u"text made"));
  ASSERT_TRUE(Run(u"text saw"));
  EXPECT_TRUE(tool_->CanGoPrevious());
  EXPECT_FALSE(tool_->CanGoNext());

  box_.SetText(u"text sa");
  EXPECT_TRUE(tool_->CanGoNext());
  tool_->PreviousQuery();
  EXPECT_EQ(box_.GetText(), u"text saw");
  tool_->PreviousQuery();
  EXPECT_EQ(box_.GetText(), u"text made");
  tool_->PreviousQuery();
  EXPECT_EQ(box_.GetText(), u"text in");
  EXPECT_FALSE(tool_->CanGoPrevious());
  tool_->PreviousQuery();
  EXPECT_EQ(box_.GetText(), u"text in");

  box_.SetText(u"text i");
  tool_->NextQuery();
  EXPECT_EQ(box_.GetText(), u"text in");
  tool_->NextQuery();
  EXPECT_EQ(box_.GetText(), u"text made");
  EXPECT_EQ(tool_->GetQueryList().GetCurrent(), 1);
  // A recalled entry shows its search word in the line's face.
  EXPECT_EQ(box_.GetFormatAt(5).face(), u"Gentium Plus");
  EXPECT_EQ(box_.GetFormatAt(0).face(), u"Arial");

  std::vector<std::u16string> history;
  ASSERT_TRUE(tool_->FillHistory(&history));
  EXPECT_EQ(history.front(), u"text <Gentium Plus>saw</Gentium Plus>");
}

TEST(QueryListTest, SavingKeepsTheFiftyNewestAndLoadingShowsTheLast) {
  CQueryList list;
  CIniFile settings;
  // Keys of an older, longer list must not survive a save.
  for (int i = 0; i < 70; ++i)
    settings.SetString(u"Queries", u"Q " + platform::ToU16(std::to_string(i)), u"old");
  for (int i = 0; i < 60; ++i) {
    std::u16string q = u"text w" + platform::ToU16(std::to_string(i));
    list.Record(q, q);
  }
  list.Save(&settings);
  std::vector<std::u16string> keys;
  settings.GetKeys(u"Queries", &keys);
  EXPECT_EQ(keys.size(), 50u);
  std::u16string value;
  ASSERT_TRUE(settings.GetString(u"Queries", u"Q 0", &value));
  EXPECT_EQ(value, u"text w10");
  ASSERT_TRUE(settings.GetString(u"Queries", u"Q 49", &value));
  EXPECT_EQ(value, u"text w59");

  CIniFile reread;
  reread.Parse(settings.Serialize());
  CQueryList loaded;
  CPlainQueryBox box;
  loaded.Load(reread, &box);
  ASSERT_EQ(loaded.GetEntries().size(), 50u);
  EXPECT_EQ(loaded.GetCurrent(), 49);
  EXPECT_EQ(box.GetText(), u"text w59");
  EXPECT_FALSE(loaded.IsEdited(box.GetText()));
  EXPECT_TRUE(loaded.CanGoPrevious(box.GetText()));
  EXPECT_FALSE(loaded.CanGoNext(box.GetText()));

  // Loading stops at the first missing number.
  CIniFile gap;
  gap.SetString(u"Queries", u"Q 0", u"a");
  gap.SetString(u"Queries", u"Q 2", u"c");
  loaded.Load(gap, nullptr);
  EXPECT_EQ(loaded.GetEntries(), std::vector<std::u16string>{u"a"});
}

TEST(FmtStrTest, PiecesReadBackAsWrittenAndTagsDoNotNest) {
  CFmtStr s;
  s.AddPlain(u"text ");
  s.AddFormatted(u"\"a <b>\"", u"Gentium", false);
  s.AddPlain(u" or gloss ");
  s.AddFormatted(u"שלום", u"Ezra SIL", true);
  EXPECT_EQ(s.GetText(),
            u"text <Gentium>\"a <b>\"</Gentium> or gloss <Ezra SIL,R2L>שלום</Ezra SIL,R2L>");
  CFmtStr back(s.GetText());
  ASSERT_EQ(back.GetPieces().size(), 4u);
  EXPECT_EQ(back.GetPieces()[1].text, u"\"a <b>\"");
  EXPECT_EQ(back.GetPieces()[1].face, u"Gentium");
  EXPECT_TRUE(back.GetPieces()[3].right_to_left);
  EXPECT_EQ(back.GetPieces()[3].face, u"Ezra SIL");
  EXPECT_EQ(back.GetPlainText(), u"text \"a <b>\" or gloss שלום");

  // A closing tag with no tag open, a "<" without ">", and a closing tag of
  // another name are ordinary text.
  CFmtStr odd(u"</X>a<F>b</G>c</F>d<e");
  ASSERT_EQ(odd.GetPieces().size(), 3u);
  EXPECT_EQ(odd.GetPieces()[0].text, u"</X>a");
  EXPECT_EQ(odd.GetPieces()[1].text, u"b</G>c");
  EXPECT_EQ(odd.GetPieces()[1].face, u"F");
  EXPECT_EQ(odd.GetPieces()[2].text, u"d<e");
  EXPECT_TRUE(odd.GetPieces()[2].face.empty());
}

TEST(PromptTest, UsePromptFollowsTheBlankRules) {
  const CFontFormat format(u"Arial", 10, kColourBlack);
  CQueryPrompts prompts(format);
  CPlainQueryBox box;

  // At the start: no leading blank.
  prompts.AddPrompt(u"text λόγος (noun)")->UsePrompt(&box, false);
  EXPECT_EQ(box.GetText(), u"text λόγος ");
  // Right after a blank: the blank is not doubled.
  prompts.AddPrompt(u"or")->UsePrompt(&box, false);
  EXPECT_EQ(box.GetText(), u"text λόγος or ");
  // After a word: one blank goes first.
  box.SetText(u"text a");
  prompts.AddPrompt(u"and")->UsePrompt(&box, true);
  EXPECT_EQ(box.GetText(), u"text a and ");
  int32_t start = 0, end = 0;
  box.GetSelection(&start, &end);
  EXPECT_EQ(start, 6);
  EXPECT_EQ(end, 11);
  // The selection is replaced.
  box.SetText(u"text a or text b");
  box.SetSelection(7, 9);
  prompts.AddPrompt(u"and")->UsePrompt(&box, false);
  EXPECT_EQ(box.GetText(), u"text a and  text b");
  // ")" without "(": nothing but the blanks.
  box.SetText(u"x");
  prompts.AddPrompt(u"oops)")->UsePrompt(&box, false);
  EXPECT_EQ(box.GetText(), u"x  ");
}

TEST(PromptTest, ValuesAreQuotedOnceAndTakeTheLineFace) {
  const CFontFormat format(u"Arial", 10, kColourBlack);
  CQueryPrompt a(u"text", format);
  a.SetValue(u"λόγος", nullptr);
  EXPECT_EQ(a.GetValue(), u"\"λόγος\"");
  CQueryPrompt b(u"text", format);
  b.SetValue(u"\"λόγος\"", nullptr);
  EXPECT_EQ(b.GetValue(), u"\"λόγος\"");

  OpenedDatabase opened(StateSource());
  ASSERT_NE(opened.db(), nullptr) << opened.error();
  CQueryPrompts prompts(format);
  CQueryPrompt* p = prompts.AddPrompt(u"gloss", u"gx", opened.db()->GetLine(1));
  EXPECT_EQ(p->GetValueFormat().face(), u"Ezra SIL");
  EXPECT_TRUE(p->GetValueFormat().right_to_left());
  EXPECT_EQ(p->GetValueFormat().size_points(), 10);
  CPlainQueryBox box;
  p->UsePrompt(&box, false);
  EXPECT_EQ(box.GetText(), u"gloss \"gx\" ");
  EXPECT_EQ(box.GetFormatAt(0).face(), u"Arial");
  EXPECT_EQ(box.GetFormatAt(7).face(), u"Ezra SIL");
  EXPECT_EQ(box.GetFormatAt(10).face(), u"Arial");
}

TEST(PromptTest, LoadReadsNonEmptyLinesOnce) {
  const std::string path = ::testing::TempDir() + "vorn_static_prompts.txt";
  {
    std::ofstream out(path, std::ios::binary);
    out << "\xEF\xBB\xBFtext \xCE\xBB\xCF\x8C\xCE\xB3\xCE\xBF\xCF\x82 (noun)\r\n\r\nwithin the "
           "same verse as\nlast";
  }
  CQueryPrompts prompts(CFontFormat(u"Arial", 10, kColourBlack));
  ASSERT_TRUE(prompts.Load(path));
  ASSERT_EQ(prompts.GetCount(), 3u);
  EXPECT_EQ(prompts.Get(0)->GetText(), u"text λόγος (noun)");
  EXPECT_EQ(prompts.Get(0)->GetInsertText(), u"text λόγος");
  EXPECT_EQ(prompts.Get(2)->GetText(), u"last");
  EXPECT_FALSE(prompts.Load(path));
  EXPECT_EQ(prompts.GetCount(), 3u);
  std::filesystem::remove(path);
  CQueryPrompts missing(CFontFormat(u"Arial", 10, kColourBlack));
  EXPECT_FALSE(missing.Load(path));
  EXPECT_EQ(missing.GetCount(), 0u);
}

TEST_F(QueryStateTest, WordPromptsFollowTheCurrentWordAndPromptsWrap) {
  CTagDB* theme = tags_->CreateTag(u"", u"Theme");
  ASSERT_NE(theme, nullptr);
  ASSERT_TRUE(theme->ToggleRange(3, 5));
  thing_->ToggleTag(theme);
  int changes = 0;
  tool_->SetPromptsChanged([&] { ++changes; });

  thing_->SetCurrentWord(4);
  tool_->UpdateWordPrompts();
  EXPECT_EQ(changes, 1);
  ASSERT_EQ(tool_->GetWordPrompts().GetCount(), 3u);
  EXPECT_EQ(tool_->GetPrompt(0)->GetText(), u"text");
  EXPECT_EQ(tool_->GetPrompt(0)->GetValue(), u"\"made\"");
  EXPECT_EQ(tool_->GetPrompt(0)->GetValueFormat().face(), u"Gentium Plus");
  EXPECT_EQ(tool_->GetPrompt(1)->GetValue(), u"\"gmade\"");
  EXPECT_EQ(tool_->GetPrompt(2)->GetText(), u"usertag");
  EXPECT_EQ(tool_->GetPrompt(2)->GetValue(), u"\"Theme\"");
  // The same word again rebuilds nothing.
  tool_->UpdateWordPrompts();
  EXPECT_EQ(changes, 1);

  // Next and previous wrap round the whole list; each use replaces the
  // selection it made.
  tool_->PreviousPrompt();
  EXPECT_EQ(tool_->GetComboSelection(), 0);
  EXPECT_EQ(box_.GetText(), u"text \"made\" ");
  tool_->PreviousPrompt();
  EXPECT_EQ(tool_->GetComboSelection(), 2);
  EXPECT_EQ(box_.GetText(), u"usertag \"Theme\" ");
  tool_->NextPrompt();
  EXPECT_EQ(tool_->GetComboSelection(), 0);

  // The prompts run as queries.
  box_.SetText(u"");
  tool_->ChoosePrompt(2, false);
  ASSERT_TRUE(tool_->RunQuery());
  EXPECT_EQ(thing_->GetHits(), (std::vector<uint32_t>{3, 4, 5}));

  thing_->SetCurrentWord(-1);
  tool_->UpdateWordPrompts();
  EXPECT_EQ(tool_->GetPromptCount(), 0u);
}

TEST_F(QueryStateTest, DesktopKeysRestoreTagsAndPropositions) {
  CTagDB* a = tags_->CreateTag(u"", u"Alpha");
  CTagDB* b = tags_->CreateTag(u"Set", u"Beta");
  ASSERT_TRUE(a && b);
  ASSERT_TRUE(b->ToggleRange(0, 1));
  thing_->ToggleTag(b);
  thing_->ToggleTag(a);
  ASSERT_EQ(thing_->GetDisplayedTags().size(), 2u);
  EXPECT_EQ(thing_->GetDisplayedTags()[0], a);
  ASSERT_TRUE(thing_->GetMarkup().SavePropositionsAs(u"Mine"));
  thing_->SetHits({1, 2});

  CIniFile desktop;
  desktop.SetString(u"Window 1 Tags", u"UserTag 7", u"Stale");
  thing_->SaveToDesktop(&desktop, u"Window 1");
  std::u16string value;
  ASSERT_TRUE(desktop.GetString(u"Window 1", u"Propositions", &value));
  EXPECT_EQ(value, u"Mine");
  std::vector<std::u16string> keys;
  desktop.GetKeys(u"Window 1 Tags", &keys);
  EXPECT_EQ(keys, (std::vector<std::u16string>{u"UserTag 0", u"UserTag 1"}));

  // A second window restores the same state; a name without a tag is
  // reported and the rest still restored.
  desktop.SetString(u"Window 1 Tags", u"UserTag 2", u"Missing");
  desktop.SetString(u"Window 1 Tags", u"UserTag 3", u"alpha");
  FakeWindow other_window;
  auto other = MakeThing(&other_window);
  other->SetHits({4});
  TakeMessages();
  other->LoadFromDesktop(desktop, u"Window 1", &opened_->sink());
  EXPECT_EQ(other->GetDisplayedTags(), (std::vector<CTagDB*>{a, b}));
  EXPECT_EQ(other->GetPropositions()->GetName(), u"Mine");
  EXPECT_TRUE(other->GetHits().empty());
  EXPECT_NE(other_window.log.find("cleared;"), std::string::npos);
  auto messages = TakeMessages();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].text, u"Couldn't open tag \"Missing\"");
  EXPECT_TRUE(other->WordHasTag(1));
  EXPECT_FALSE(other->WordHasTag(2));
  other.reset();
}

TEST_F(QueryStateTest, CurrentWordChangesOnlyForAnotherWord) {
  EXPECT_EQ(thing_->GetCurrentWordIndex(), -1);
  EXPECT_TRUE(thing_->SetCurrentWord(3));
  EXPECT_FALSE(thing_->SetCurrentWord(3));
  EXPECT_EQ(thing_->GetCurrentWordIndex(), 3);
  window_.focus = 6;
  auto active = thing_->GetActiveWord();
  ASSERT_NE(active, nullptr);
  EXPECT_EQ(active->GetWordIndex(), 6);
  EXPECT_EQ(thing_->FindLine(u"g"), opened_->db()->GetLine(1));
}

TEST_F(QueryStateTest, ProcessorReportsErrorsAndHits) {
  CQueryProcessor bad(u"text", thing_->GetQueryContext(), nullptr);
  EXPECT_FALSE(bad.Execute());
  EXPECT_EQ(bad.GetError()->GetMessage(), u"Missing word");
  EXPECT_EQ(bad.GetErrorPosition(), 4);
  EXPECT_EQ(bad.GetHitCount(), 0u);
  // Run without a successful Prepare does nothing.
  bad.Run();
  EXPECT_EQ(bad.GetHitCount(), 0u);

  CQueryProcessor good(u"text light in Gen 1:3-1:4", thing_->GetQueryContext(), nullptr);
  ASSERT_TRUE(good.Execute());
  EXPECT_EQ(good.GetHits(), (std::vector<uint32_t>{6, 11}));
  EXPECT_EQ(good.GetErrorPosition(), 0);
}

TEST_F(QueryStateTest, TheDatabaseOwnsItsTagsAndNotes) {
  ASSERT_NE(tags_->CreateTag(u"", u"Kept"), nullptr);
  CTagsDB* owned = GetTagsDB(opened_->db(), work_);
  ASSERT_NE(owned, nullptr);
  EXPECT_EQ(GetTagsDB(opened_->db(), "elsewhere"), owned);
  EXPECT_NE(owned->FindTag(u"kept"), nullptr);
  EXPECT_EQ(owned->GetUserFolder(), work_ + "/QRY");
  CAnnotation* notes = GetAnnotation(opened_->db(), work_);
  ASSERT_NE(notes, nullptr);
  EXPECT_EQ(GetAnnotation(opened_->db()), notes);
  EXPECT_EQ(notes->GetBookFilePath(1), work_ + "/QRY/Annotations/GEN.txt");
}

}  // namespace
}  // namespace vorn::testing
