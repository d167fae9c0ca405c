// The links line over PVlinks tables laid out by hand.
#include "textdb/links_line.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "aux_test_util.h"

namespace vorn {
namespace {

using aux_testing::AddString;
using aux_testing::MakeStats;
using aux_testing::ScratchFolder;
using testing::WriteRecords;

constexpr uint32_t kNoList = 0xFFFFFFFFu;

struct Entry {
  Entry(std::u16string t, std::vector<uint32_t> w = {}, std::string x = {})
      : text(std::move(t)), words(std::move(w)), extra(std::move(x)) {}
  std::u16string text;
  std::vector<uint32_t> words;  // occurrences (links only)
  std::string extra;
};

struct Kind {
  std::string name;
  std::string settings;  // Stats.txt lines below the kind, already indented
  std::vector<Entry> titles;
  std::vector<Entry> links;
};

// The seven tables, kept apart so that a test can spoil one of them.
struct LinkTables {
  std::vector<uint32_t> word_link, link_rec, freq, l8_index;
  std::vector<DblNdx> link_freq;
  std::vector<char16_t> link_text;
  std::string l8_data;

  // `word_lists`: per word its entries, or nullopt for a word stored with a
  // position outside LinkRec.ndx.
  LinkTables(const std::vector<Kind>& kinds,
             const std::vector<std::optional<std::vector<uint32_t>>>& word_lists) {
    l8_data.push_back('\0');
    for (const Kind& kind : kinds) {
      for (const Entry& e : kind.titles) Add(e, false);
      for (const Entry& e : kind.links) Add(e, true);
    }
    for (const auto& list : word_lists) {
      if (!list) {
        word_link.push_back(kNoList);
        continue;
      }
      word_link.push_back(static_cast<uint32_t>(link_rec.size()));
      link_rec.push_back(static_cast<uint32_t>(list->size()));
      link_rec.insert(link_rec.end(), list->begin(), list->end());
    }
  }

  void Add(const Entry& e, bool is_link) {
    DblNdx d;
    d.text_pos = AddString(&link_text, e.text);
    d.freq_pos = kNoList;  // group titles need no occurrence list
    if (is_link) {
      d.freq_pos = static_cast<uint32_t>(freq.size());
      freq.push_back(static_cast<uint32_t>(e.words.size()));
      freq.insert(freq.end(), e.words.begin(), e.words.end());
    }
    link_freq.push_back(d);
    if (is_link && !e.extra.empty()) {
      l8_index.push_back(static_cast<uint32_t>(l8_data.size()));
      l8_data += e.extra;
      l8_data.push_back('\0');
    } else {
      l8_index.push_back(0);
    }
  }

  void Write(const ScratchFolder& folder) const {
    WriteRecords(folder.SubFile("PVlinks", "WordLink.ndx"), word_link);
    WriteRecords(folder.SubFile("PVlinks", "LinkRec.ndx"), link_rec);
    WriteRecords(folder.SubFile("PVlinks", "LinkFreq.ndx"), link_freq);
    WriteRecords(folder.SubFile("PVlinks", "LinkText.db"), link_text);
    WriteRecords(folder.SubFile("PVlinks", "Freq.db"), freq);
    WriteRecords(folder.SubFile("PVlinks", "L8Data.ndx"), l8_index);
    testing::WriteText(folder.SubFile("PVlinks", "L8Data.db"), l8_data);
  }
};

std::string StatsFor(const std::vector<Kind>& kinds) {
  std::string s =
      "InterlinearLines:\n Links: x\n  QueryPrompt: Links\n  Fonts:\n   Greek: Face=\"Gentium\"\n"
      "  PVlinks: library\n";
  for (const Kind& k : kinds) {
    s += "   " + k.name + ": " + std::to_string(k.titles.size()) + " " +
         std::to_string(k.links.size()) + "\n" + k.settings;
  }
  return s;
}

// Entries: Dict 0 "Title A", 1 "Title B", links 2 "alpha", 3 "alps", 4 "beta";
// Topic 5 title "Title C" (level 1), links 6 "\3peace" (level 3), 7 "grace";
// Hidden (no search text) link 8 "zzz".
std::vector<Kind> SampleKinds() {
  return {
      {"Dict",
       "    Search: %1\n",
       {{u"Title A"}, {u"Title B"}},
       {{u"alpha", {0}, "a1"}, {u"alps", {0, 4}, ""}, {u"beta", {1}, "b"}}},
      {"Topic",
       "    Note: note: %2/%1\n",
       {{u"\x01Title C"}},
       {{u"\x03peace", {}, ""}, {u"grace", {0}, "g"}}},
      {"Hidden", "", {}, {{u"zzz", {2}, ""}}},
  };
}

std::vector<std::optional<std::vector<uint32_t>>> SampleWords() {
  return {
      std::vector<uint32_t>{0, 2, 3, 1, 5, 7},  // title A, link, link, title B, title C, link
      std::vector<uint32_t>{4, 99},             // a link, then a number of no kind
      std::vector<uint32_t>{8},
      std::nullopt,                 // no list
      std::vector<uint32_t>{3, 1},  // a title at the end
      std::vector<uint32_t>{},      // an empty list
  };
}

class LinksLineTest : public ::testing::Test {
 protected:
  std::unique_ptr<CVornDBLinks> Make(const std::vector<Kind>& kinds) {
    stats_ = MakeStats(folder_.path(), StatsFor(kinds));
    return std::make_unique<CVornDBLinks>(CVornDBLineParams("Links", stats_.get(), nullptr));
  }
  std::unique_ptr<CVornDBLinks> OpenSample() {
    LinkTables(SampleKinds(), SampleWords()).Write(folder_);
    auto line = Make(SampleKinds());
    EXPECT_TRUE(line->Open());
    return line;
  }
  bool OpensWith(const LinkTables& tables) {
    tables.Write(folder_);
    auto line = Make(SampleKinds());
    return line->Open();
  }

  ScratchFolder folder_{"links"};
  std::unique_ptr<CVornDBStats> stats_;
};

class RecordingList : public CFormListSink {
 public:
  void SetRedraw(bool on) override { redraw = on; }
  void Clear() override { items.clear(); }
  void AddString(const std::u16string& text) override { items.push_back(text); }
  std::vector<std::u16string> items;
  bool redraw = true;
};

TEST_F(LinksLineTest, KindsAndFonts) {
  auto line = OpenSample();
  ASSERT_EQ(line->GetKinds().size(), 3u);
  const CLinkParams& topic = *line->GetKinds()[1];
  EXPECT_EQ(topic.GetName(), u"Topic");
  EXPECT_EQ(topic.GetKey(), "/InterlinearLines/Links/PVlinks/Topic");
  EXPECT_EQ(topic.GetStart(), 5u);
  EXPECT_EQ(topic.GetTitleCount(), 1u);
  EXPECT_EQ(topic.GetLinkCount(), 2u);
  EXPECT_EQ(topic.GetSetting("Note"), u"note: %2/%1");
  EXPECT_EQ(topic.GetSetting("Search"), u"");
  EXPECT_EQ(topic.GetFonts().at(u"Greek"), u"Face=\"Gentium\"");
  EXPECT_EQ(line->GetKinds()[2]->GetStart(), 8u);
  EXPECT_EQ(line->GetEntryCount(), 9u);
  EXPECT_EQ(line->GetWordCount(), 0u);
}

TEST_F(LinksLineTest, GetLinksCarriesGroupTitles) {
  auto line = OpenSample();
  std::vector<CPVLink> links;
  line->GetLinks(0, &links);
  ASSERT_EQ(links.size(), 4u);
  EXPECT_EQ(links[0].GetText(), u"alpha");
  EXPECT_EQ(links[0].GetGroupTitle(), u"Title A");
  EXPECT_FALSE(links[0].GetFlag());
  EXPECT_EQ(links[0].GetExtraData(), "a1");
  EXPECT_EQ(links[0].GetKind()->GetName(), u"Dict");
  EXPECT_EQ(links[1].GetText(), u"alps");
  EXPECT_EQ(links[1].GetGroupTitle(), u"Title A");
  EXPECT_TRUE(links[1].GetFlag());
  EXPECT_EQ(links[2].GetText(), u"");  // title B has no link of its own
  EXPECT_EQ(links[2].GetGroupTitle(), u"Title B");
  EXPECT_EQ(links[2].GetKind()->GetName(), u"Dict");
  EXPECT_EQ(links[3].GetText(), u"grace");
  EXPECT_EQ(links[3].GetGroupTitle(), u"Title C");  // its level is not part of it
  EXPECT_FALSE(links[3].GetFlag());
  EXPECT_EQ(links[3].GetKind()->GetName(), u"Topic");

  links.clear();
  line->GetLinks(1, &links);
  ASSERT_EQ(links.size(), 1u);
  EXPECT_EQ(links[0].GetText(), u"beta");
  EXPECT_EQ(links[0].GetGroupTitle(), u"");
  EXPECT_TRUE(links[0].GetFlag());

  links.clear();
  line->GetLinks(4, &links);
  ASSERT_EQ(links.size(), 2u);
  EXPECT_EQ(links[1].GetGroupTitle(), u"Title B");
  EXPECT_EQ(links[1].GetText(), u"");

  links.clear();
  line->GetLinks(3, &links);
  line->GetLinks(5, &links);
  line->GetLinks(6, &links);  // past the table
  line->GetLinks(-1, &links);
  EXPECT_TRUE(links.empty());
}

TEST(PVLinkTest, LevelsAndTemplates) {
  auto stats = MakeStats("/nowhere", "X:\n K: 0 1\n  Search: s %1 in %2\n  Note: n %1\n");
  CLinkParams kind(*stats, "/X/K", u"K", 0, 0, 1, nullptr);
  CPVLink link(&kind, u"Group", u"\x03word", "x", true);
  EXPECT_EQ(link.GetLevel(), 3);
  EXPECT_EQ(link.GetText(), u"word");
  EXPECT_EQ(link.GetSearchText(), u"s word in Group");
  EXPECT_EQ(link.ExpandSetting("Note"), u"n word");
  EXPECT_EQ(link.Expand(u"%2:%1:%3"), u"Group:word:%3");
  CPVLink plain(&kind, u"", u"\x09tab", "", false);
  EXPECT_EQ(plain.GetLevel(), 0);
  EXPECT_EQ(plain.GetText(), u"\x09tab");

  auto note_only = MakeStats("/nowhere", "X:\n K: 0 1\n  Note: n %1\n");
  CLinkParams noted(*note_only, "/X/K", u"K", 0, 0, 1, nullptr);
  EXPECT_EQ(CPVLink(&noted, u"", u"w", "", false).GetSearchText(), u"n w");
}

TEST_F(LinksLineTest, FormTextsAndCollectForms) {
  auto line = OpenSample();
  EXPECT_EQ(line->GetFormText(2), u"alpha");
  EXPECT_EQ(line->GetFormText(6), u"note: /peace");
  EXPECT_EQ(line->GetFormText(0), u"");  // a group title
  EXPECT_EQ(line->GetFormText(8), u"");  // no Search, no Note
  EXPECT_EQ(line->GetFormText(99), u"");

  FormList forms{42};
  line->CollectForms({0, 1, 2, 3, 5}, 0, &forms);
  EXPECT_EQ(forms, (FormList{2, 3, 7, 4}));
}

TEST_F(LinksLineTest, WordsOfForms) {
  auto line = OpenSample();
  CDBWordList words;
  words.Push(17);
  line->WordsOfForms({3, 2, 4, 0, 99}, &words);
  EXPECT_EQ(words.words(), (std::vector<uint32_t>{0, 1, 4}));
}

TEST_F(LinksLineTest, MatchForms) {
  auto line = OpenSample();
  FormList out{42};
  EXPECT_TRUE(line->MatchForms(u"Dict alps", &out));
  EXPECT_EQ(out, (FormList{3}));
  EXPECT_FALSE(line->MatchForms(u"Dict al", &out));  // no exact text
  EXPECT_TRUE(out.empty());
  EXPECT_TRUE(line->MatchForms(u"Dict al*", &out));
  EXPECT_EQ(out, (FormList{2, 3}));
  EXPECT_TRUE(line->MatchForms(u"Dict *a", &out));
  EXPECT_EQ(out, (FormList{2, 4}));
  EXPECT_TRUE(line->MatchForms(u"Dict a?ps", &out));
  EXPECT_EQ(out, (FormList{3}));
  EXPECT_TRUE(line->MatchForms(u"Topic grace", &out));
  EXPECT_EQ(out, (FormList{7}));
  EXPECT_FALSE(line->MatchForms(u"Dict Title A", &out));  // titles are not searched
  EXPECT_FALSE(line->MatchForms(u"Dict grace", &out));    // another kind's link
  EXPECT_FALSE(line->MatchForms(u"Dictalps", &out));
  EXPECT_FALSE(line->MatchForms(u"Nope alps", &out));
  EXPECT_FALSE(line->MatchForms(u"Dict ", &out));
  EXPECT_FALSE(line->MatchForms(u"", &out));
  EXPECT_TRUE(line->MatchFormsPrefix(u"Dict be", &out));
  EXPECT_EQ(out, (FormList{4}));
}

TEST_F(LinksLineTest, FormAndKindLists) {
  auto line = OpenSample();
  RecordingList list;
  list.items = {u"stale"};
  line->FillFormList({2, 3, 4}, &list, 1, 1);
  EXPECT_EQ(list.items, (std::vector<std::u16string>{u"...", u"Dict alps", u"..."}));
  EXPECT_TRUE(list.redraw);
  line->FillFormList({2, 3, 4}, &list, 0, 10);
  EXPECT_EQ(list.items, (std::vector<std::u16string>{u"Dict alpha", u"Dict alps", u"Dict beta"}));
  line->FillFormList({}, &list, 0, 10);
  EXPECT_TRUE(list.items.empty());

  line->FillKindList(&list);
  EXPECT_EQ(list.items, (std::vector<std::u16string>{u"Dict "}));
}

TEST_F(LinksLineTest, KindValueGivesTheBlock) {
  Kind big{"Big", "    Search: %1\n", {}, {}};
  for (int i = 0; i < 3; ++i) big.titles.push_back({u"t" + std::u16string(1, u'a' + i)});
  for (int i = 0; i < 120; ++i) {
    const char16_t digits[] = {static_cast<char16_t>(u'0' + i / 100),
                               static_cast<char16_t>(u'0' + i / 10 % 10),
                               static_cast<char16_t>(u'0' + i % 10), 0};
    big.links.push_back({u"l" + std::u16string(digits)});
  }
  big.links[0].words = {0};  // entry 3, listed by word 0
  LinkTables({big}, {std::vector<uint32_t>{2, 3}}).Write(folder_);
  auto line = Make({big});
  ASSERT_TRUE(line->Open());
  EXPECT_EQ(line->GetEntryCount(), 123u);
  bool is_title = false;
  EXPECT_EQ(line->FindKind(2, &is_title), line->GetKinds()[0].get());
  EXPECT_TRUE(is_title);
  EXPECT_EQ(line->FindKind(3, &is_title), line->GetKinds()[0].get());
  EXPECT_FALSE(is_title);
  EXPECT_EQ(line->FindKind(123), nullptr);
  FormList out;
  EXPECT_TRUE(line->MatchForms(u"Big l119", &out));
  EXPECT_EQ(out, (FormList{122}));
  EXPECT_TRUE(line->MatchForms(u"Big l11?", &out));
  EXPECT_EQ(out.size(), 10u);
  EXPECT_EQ(out.front(), 113u);
}

TEST_F(LinksLineTest, RefusesMalformedKindValues) {
  for (const char* value : {"2", "2 x", "2 3 4", "-1 3", "", "2 99999999999"}) {
    stats_ = MakeStats(folder_.path(), std::string("InterlinearLines:\n Links: x\n  PVlinks: l\n"
                                                   "   Dict: ") +
                                           value + "\n");
    CVornDBLinks line(CVornDBLineParams("Links", stats_.get(), nullptr));
    EXPECT_FALSE(line.Open()) << value;
  }
}

TEST_F(LinksLineTest, RefusesCorruptTables) {
  const LinkTables good(SampleKinds(), SampleWords());
  ASSERT_TRUE(OpensWith(good));

  LinkTables t = good;
  t.link_freq.pop_back();  // one LinkFreq entry short
  EXPECT_FALSE(OpensWith(t));

  t = good;
  t.l8_index.push_back(0);  // one L8Data entry too many
  EXPECT_FALSE(OpensWith(t));

  t = good;
  t.link_rec[t.word_link[0]] = 50;  // a word's list runs past LinkRec.ndx
  EXPECT_FALSE(OpensWith(t));

  t = good;
  t.freq[t.link_freq[3].freq_pos] = 50;  // an occurrence list runs past Freq.db
  EXPECT_FALSE(OpensWith(t));

  t = good;
  t.link_freq[3].freq_pos = static_cast<uint32_t>(t.freq.size());
  EXPECT_FALSE(OpensWith(t));

  t = good;
  t.link_freq[0].text_pos = static_cast<uint32_t>(t.link_text.size());  // a title's text
  EXPECT_FALSE(OpensWith(t));

  t = good;
  t.link_text.pop_back();  // the last text is not terminated
  EXPECT_FALSE(OpensWith(t));

  t = good;
  t.l8_index[2] = static_cast<uint32_t>(t.l8_data.size());
  EXPECT_FALSE(OpensWith(t));

  t = good;
  t.l8_data.pop_back();
  EXPECT_FALSE(OpensWith(t));

  good.Write(folder_);
  WriteRecords(folder_.SubFile("PVlinks", "LinkFreq.ndx"), good.link_freq, 3);
  EXPECT_FALSE(Make(SampleKinds())->Open());

  good.Write(folder_);
  std::filesystem::remove(folder_.SubFile("PVlinks", "Freq.db"));
  EXPECT_FALSE(Make(SampleKinds())->Open());
}

TEST_F(LinksLineTest, WordTableMustCoverTheDatabase) {
  LinkTables(SampleKinds(), SampleWords()).Write(folder_);
  auto short_table = Make(SampleKinds());
  short_table->SetDatabaseWordCount(7);
  EXPECT_FALSE(short_table->Open());
  auto exact = Make(SampleKinds());
  exact->SetDatabaseWordCount(6);
  EXPECT_TRUE(exact->Open());
}

}  // namespace
}  // namespace vorn
