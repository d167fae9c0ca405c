// The word menu of the real databases (links, variants, searches run in the
// window) and the notes written from it: saved on close with the question,
// read again by a new program and shown as the word's mark.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QFile>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "frame_fixture.h"
#include "markup/annotation.h"
#include "platform/string_table.h"
#include "querystate/query_thing.h"
#include "real_data.h"
#include "refs/bible_ref.h"
#include "shell/note_dialog.h"
#include "shell/qt_device.h"
#include "shell/vorn_view.h"
#include "shell/word_context_menu.h"
#include "shell/word_details_bar.h"
#include "textdb/link_params.h"
#include "textdb/test_db.h"
#include "textdb/vorn_db.h"
#include "wordinfo/word.h"

namespace vorn::shell {
namespace {

using testing::FrameTest;

// Every entry of the menu and its submenus, "Submenu/Entry" for nested ones.
std::vector<QString> Entries(QMenu* menu, const QString& prefix = {}) {
  std::vector<QString> out;
  for (QAction* a : menu->actions()) {
    if (a->menu()) {
      for (const QString& e : Entries(a->menu(), prefix + a->text() + u'/')) out.push_back(e);
    } else if (!a->isSeparator()) {
      out.push_back(prefix + a->text());
    }
  }
  return out;
}

QAction* Find(QMenu* menu, const QString& text) {
  for (QAction* a : menu->actions()) {
    if (a->text() == text) return a;
    if (a->menu())
      if (QAction* inner = Find(a->menu(), text)) return inner;
  }
  return nullptr;
}

class WordMenuTest : public FrameTest {
 protected:
  // A frame over the real databases; null (the test skipped) without them.
  std::unique_ptr<CVornMainFrame> RealFrame() {
    const std::string folder = testing::RealDataFolder("GNT");
    if (folder.empty()) return nullptr;
    MainFrameOptions o = Options();
    o.data_folders = {folder};
    o.user_folder = dir_.path().toStdString();
    return std::make_unique<CVornMainFrame>(o);
  }

  static WordIndex At(CVornDB* db, const char16_t* book, int chapter, int verse, int offset) {
    return CBibleRef(CBibleRef(book, chapter, verse), db).GetFirstWord() + offset;
  }

  // A program `name` in the test folder that writes its arguments, one per
  // line, into the file RecordedArguments reads; its path.
  QString WriteRecorder(const QString& name) {
    const QString program = dir_.filePath(name);
    QFile f(program);
    if (f.open(QIODevice::WriteOnly))
      f.write(QStringLiteral("#!/bin/sh\nprintf '%s\\n' \"$@\" > '%1'\n")
                  .arg(dir_.filePath(QStringLiteral("args.txt")))
                  .toUtf8());
    f.close();
    QFile::setPermissions(program, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return program;
  }
  // The arguments the recorder got, waiting a few seconds for it to run;
  // empty when it did not.
  QStringList RecordedArguments() {
    QFile recorded(dir_.filePath(QStringLiteral("args.txt")));
    for (int i = 0; i < 100 && !recorded.exists(); ++i) QTest::qWait(50);
    QTest::qWait(100);
    if (!recorded.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(recorded.readAll()).split(u'\n');
  }
  void WriteSettings(const QByteArray& ini) {
    QFile f(QString::fromStdString(Path("Vorn.ini")));
    if (f.open(QIODevice::WriteOnly)) f.write(ini);
  }
};

TEST_F(WordMenuTest, GreekAndHebrewWordsOfferLinksVariantsAndSearches) {
  std::unique_ptr<CVornMainFrame> frame = RealFrame();
  if (!frame) GTEST_SKIP() << "no databases built";
  CVornChildFrame* gnt = Open(frame.get(), u"Greek NT");
  ASSERT_NE(gnt, nullptr);
  const WordIndex logos = At(gnt->GetDatabase(), u"JHN", 1, 1, 4);
  gnt->GetActivePane()->SetCaret(logos);
  QMenu menu;
  frame->GetWordMenu().Build(&menu, gnt);
  auto has = [&menu](const QString& start) {
    const std::vector<QString> entries = Entries(&menu);
    return std::count_if(entries.begin(), entries.end(),
                         [&](const QString& e) { return e.startsWith(start); });
  };
  EXPECT_EQ(has(QStringLiteral("Strong's dictionary/G3056 λόγος: from G3004")), 1);
  QAction* base = Find(&menu, QStringLiteral("Search base \"λόγος\""));
  ASSERT_NE(base, nullptr);
  EXPECT_NE(Find(&menu, QStringLiteral("Search strong \"G3056\"")), nullptr);
  base->trigger();
  EXPECT_EQ(gnt->GetQueryThing().GetHitCount(), 330u);
  // A Strong's number inside an entry leads to the word that carries it.
  CWordDetailsView* details = frame->GetWordBar()->GetView();
  details->ShowWord(gnt->GetActivePane(), logos);
  ASSERT_TRUE(details->ShowEntry(u"G575"));
  EXPECT_EQ(CBibleRef(gnt->GetDatabase(), details->GetWord()).GetKeyString(), u"MAT 1:17");
  // The numbers inside the entry are links: a click shows that entry, whose
  // searches run in the window.
  details->resize(600, 400);
  details->ShowWord(gnt->GetActivePane(), logos);
  const std::vector<CDetailsMetrics::Spot>& spots = details->GetLinkSpots();
  auto g3004 = std::find_if(spots.begin(), spots.end(),
                            [](const CDetailsMetrics::Spot& s) { return s.text == u"G3004"; });
  ASSERT_NE(g3004, spots.end());
  const QPoint at(g3004->box.left + 2 - details->horizontalScrollBar()->value(),
                  g3004->box.top + 2 - details->verticalScrollBar()->value());
  QTest::mouseClick(details->viewport(), Qt::LeftButton, {}, at);
  const std::vector<QString> searches = details->GetSearches();
  ASSERT_NE(std::find(searches.begin(), searches.end(), QStringLiteral("strong \"G3004\"")),
            searches.end());
  emit details->SearchRequested(QStringLiteral("strong \"G3004\""));
  EXPECT_GT(gnt->GetQueryThing().GetHitCount(), 1000u);

  CVornChildFrame* heb = Open(frame.get(), u"Hebrew OT");
  ASSERT_NE(heb, nullptr);
  heb->GetActivePane()->SetCaret(At(heb->GetDatabase(), u"GEN", 1, 1, 0));
  frame->GetWordMenu().Build(&menu, heb);
  EXPECT_EQ(has(QStringLiteral("Strong's dictionary/H7225 ")), 1);
  // Pointed, without accents, consonants, Qere (the word itself where it is no Ketiv).
  EXPECT_EQ(has(QStringLiteral("Text &Variants/")), 4);
  const std::vector<QString> entries = Entries(&menu);
  EXPECT_EQ(std::count_if(entries.begin(), entries.end(),
                          [](const QString& e) {
                            return e.startsWith(QStringLiteral("Text &Variants/")) &&
                                   e.endsWith(QStringLiteral("\tQere"));
                          }),
            1);
  EXPECT_NE(Find(&menu, QStringLiteral("Search strong \"H7225\"")), nullptr);
}

TEST_F(WordMenuTest, ANoteIsSavedOnCloseAndShownAfterARestart) {
  MainFrameOptions o = Options();
  o.user_folder = dir_.path().toStdString();
  WordIndex word = -1;
  {
    CVornMainFrame frame(o);
    CVornChildFrame* w = Open(&frame, testing::kHebTitle);
    ASSERT_NE(w, nullptr);
    word = At(w->GetDatabase(), u"GEN", 1, 1, 0);
    CAnnotation* notes = GetAnnotation(w->GetDatabase());
    CNoteDialog dialog(notes, word, w);
    dialog.GetTextEdit()->setPlainText(QStringLiteral("In the beginning\nfirst line"));
    ASSERT_TRUE(dialog.Apply());
    EXPECT_TRUE(w->GetTextPane()->GetMetrics().HasNote(word));
    sink_.ScriptAnswer(platform::MsgAnswer::kYes);
    sink_.Clear();
    w->parentWidget()->close();
    ASSERT_FALSE(sink_.messages().empty());
    EXPECT_EQ(sink_.messages().front().text,
              platform::FormatString(platform::kIdsSaveAnnotations, u"Genesis"));
  }
  CVornMainFrame again(o);
  CVornChildFrame* w = Open(&again, testing::kHebTitle);
  ASSERT_NE(w, nullptr);
  Note note;
  ASSERT_TRUE(GetAnnotation(w->GetDatabase())->GetNote(word, &note));
  EXPECT_EQ(note.text, u"In the beginning\r\nfirst line");
  EXPECT_TRUE(w->GetTextPane()->GetMetrics().HasNote(word));
  // The book's list leads to it.
  CNotesListDialog list(GetAnnotation(w->GetDatabase()), w->GetDatabase(), word + 5, w);
  ASSERT_EQ(list.GetList()->count(), 1);
  EXPECT_EQ(list.GetChosenWord(), word);
}

TEST_F(WordMenuTest, ALookUpRunsItsConfiguredCommandAndIsDisabledWithoutOne) {
  const QString script = WriteRecorder(QStringLiteral("record.sh"));
  WriteSettings(("[WORDsearch]\r\nWordCommand=" + script + " %w \"%r\"\r\n").toUtf8());
  std::unique_ptr<CVornMainFrame> frame = MakeFrame();
  CVornChildFrame* w = Open(frame.get(), testing::kGntTitle);
  ASSERT_NE(w, nullptr);
  const WordIndex word = At(w->GetDatabase(), u"MAT", 1, 1, 1);
  w->GetActivePane()->SetCaret(word);
  QMenu menu;
  frame->GetWordMenu().Build(&menu, w);
  QAction* by_word = Find(&menu, QStringLiteral("By Word in Bibles..."));
  ASSERT_NE(by_word, nullptr);
  EXPECT_FALSE(Find(&menu, QStringLiteral("&Logos Lemma Search"))->isEnabled());
  ASSERT_TRUE(by_word->isEnabled());
  by_word->trigger();
  const QStringList args = RecordedArguments();
  const QString reference = ToQString(CBibleRef(w->GetDatabase(), word).FormatLong());
  CWord shown(w->GetDatabase(), word);
  const QString text =
      ToQString(shown.GetLine(w->GetDatabase()->GetFormLineIndex())->GetPlainText());
  ASSERT_GE(args.size(), 2);
  EXPECT_EQ(args[0], text);
  EXPECT_EQ(args[1], reference);  // one argument, blank and all
}

TEST_F(WordMenuTest, TheMenuKeyOpensTheCaretWordsMenu) {
  std::unique_ptr<CVornMainFrame> frame = RealFrame();
  if (!frame) GTEST_SKIP() << "no databases built";
  CVornChildFrame* gnt = Open(frame.get(), u"Greek NT");
  ASSERT_NE(gnt, nullptr);
  gnt->GetActivePane()->SetCaret(At(gnt->GetDatabase(), u"JHN", 1, 1, 4));
  std::vector<QString> shown;
  QTimer::singleShot(0, [&shown] {
    if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
      shown = Entries(menu);
      menu->close();
    }
  });
  QContextMenuEvent key(QContextMenuEvent::Keyboard, QPoint(0, 0), QPoint(0, 0));
  QApplication::sendEvent(gnt->GetActivePane(), &key);
  EXPECT_NE(std::find(shown.begin(), shown.end(), QStringLiteral("Search base \"λόγος\"")),
            shown.end());
}

TEST_F(WordMenuTest, ALookUpLocatesItsProgramAndKeepsThePath) {
  const QString program = WriteRecorder(QStringLiteral("winws"));
  WriteSettings("[WORDsearch]\r\nExePath=/nowhere/Winws.exe\r\n");
  std::unique_ptr<CVornMainFrame> frame = MakeFrame();
  CVornChildFrame* w = Open(frame.get(), testing::kGntTitle);
  ASSERT_NE(w, nullptr);
  w->GetActivePane()->SetCaret(At(w->GetDatabase(), u"MAT", 1, 1, 1));
  std::vector<QString> titles;
  QString answer;  // the dialog's answer: cancelled first
  frame->GetWordMenu().SetProgramLocator([&](const QString& title, const QString&) {
    titles.push_back(title);
    return answer;
  });
  QMenu menu;
  frame->GetWordMenu().Build(&menu, w);
  QAction* by_word = Find(&menu, QStringLiteral("By Word in Bibles..."));
  ASSERT_NE(by_word, nullptr);
  ASSERT_TRUE(by_word->isEnabled());
  by_word->trigger();
  ASSERT_EQ(titles.size(), 1u);
  EXPECT_EQ(titles[0], QStringLiteral("Please locate the WORDsearch program \"Winws.exe\""));
  std::u16string kept;
  ASSERT_TRUE(frame->GetSettings().GetString(u"WORDsearch", u"ExePath", &kept));
  EXPECT_EQ(kept, u"/nowhere/Winws.exe");  // a cancelled dialog changes nothing
  answer = program;
  by_word->trigger();
  by_word->trigger();  // found where it was put: no second question
  EXPECT_EQ(titles.size(), 2u);
  ASSERT_TRUE(frame->GetSettings().GetString(u"WORDsearch", u"ExePath", &kept));
  EXPECT_EQ(kept, FromQString(program));
  CWord shown(w->GetDatabase(), w->GetQueryThing().GetCurrentWordIndex());
  EXPECT_EQ(RecordedArguments().value(0),
            ToQString(shown.GetLine(w->GetDatabase()->GetFormLineIndex())->GetPlainText()));
}

TEST_F(WordMenuTest, ALinkToAMissingDocumentIsReported) {
  DBSource source = vorn::testing::MakeGreekTestSource();
  source.name = u"LNK";
  source.title = u"Linked NT";
  std::vector<DBKeyValue>& keys = source.links.kinds[0].keys;
  std::erase_if(keys, [](const DBKeyValue& k) { return k.key == "Nfo" || k.key == "Link"; });
  keys.push_back({"Dir", FromQString(dir_.path())});
  keys.push_back({"Link", u"%1.html"});
  vorn::testing::TestDatabase db(source);
  ASSERT_TRUE(db.ok()) << db.error();
  MainFrameOptions o = Options();
  o.data_folders = {db.data_folder()};
  CVornMainFrame frame(o);
  CVornChildFrame* w = Open(&frame, u"Linked NT");
  ASSERT_NE(w, nullptr);
  const WordIndex word = At(w->GetDatabase(), u"MAT", 1, 1, 0);
  w->GetActivePane()->SetCaret(word);
  const CPVLink* link = CWord(w->GetDatabase(), word).GetLink(0);
  ASSERT_NE(link, nullptr);
  const std::u16string missing = FromQString(dir_.path()) + u'/' + link->GetText() + u".html";
  frame.Dispatch(kCmdWordLinkFirst);
  EXPECT_TRUE(Warned(platform::FormatString(platform::kIdsCantOpenLinkedDoc, missing)));
}

}  // namespace
}  // namespace vorn::shell
