// The pane commands that produce or change output: text variants, the
// remembered view settings, the clipboard, the database information,
// page margins and printing.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QMdiSubWindow>
#include <QMimeData>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <climits>
#include <memory>
#include <string>

#include "layout/layout_kinds.h"
#include "metrics/rich_text.h"
#include "metrics/view_metrics.h"
#include "platform/message_sink.h"
#include "real_data.h"
#include "refs/bible_ref.h"
#include "shell/actions.h"
#include "shell/bcv.h"
#include "shell/child_frame.h"
#include "shell/main_frame.h"
#include "shell/page_printer.h"
#include "shell/persistent_view_settings.h"
#include "shell/print_dialog.h"
#include "shell/print_metrics.h"
#include "shell/qt_device.h"
#include "shell/view_output.h"
#include "shell/vorn_view.h"
#include "textdb/catalogue.h"
#include "textdb/test_db.h"
#include "textdb/vorn_db.h"
#include "wordinfo/word_line_factories.h"

namespace vorn::shell {
namespace {

using platform::CRecordingMessageSink;
using vorn::testing::MakeGreekTestSource;
using vorn::testing::MakeHebrewTestSource;
using vorn::testing::TestDatabase;

// The Hebrew test text with the two variants of its text line the view
// commands show: the first word reads differently in each.
DBSource HebrewWithVariants() {
  DBSource s = MakeHebrewTestSource();
  DBVariant no_cant;
  no_cant.name = "NoCant";
  no_cant.display = u"No cantillation";
  no_cant.changes.emplace_back(0, u"plainword");
  DBVariant cons;
  cons.name = "Cons";
  cons.display = u"Consonants";
  cons.changes.emplace_back(0, u"cnsnnts");
  s.lines[0].variants.push_back(std::move(no_cant));
  s.lines[0].variants.push_back(std::move(cons));
  return s;
}

// A main frame over the two test databases: entry 5 the Greek, 6 the Hebrew.
class OutputTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(greek_files_.ok()) << greek_files_.error();
    ASSERT_TRUE(hebrew_files_.ok()) << hebrew_files_.error();
    CPersistentViewSettings::Instance().Reset();
    MainFrameOptions options;
    options.data_folders = {greek_files_.data_folder(), hebrew_files_.data_folder()};
    options.settings_path = (settings_.path() + QStringLiteral("/Vorn.ini")).toStdString();
    options.quiet = true;
    frame_ = std::make_unique<CVornMainFrame>(options);
  }
  void TearDown() override {
    frame_.reset();
    CPersistentViewSettings::Instance().Reset();
  }

  CVornChildFrame* OpenGreek() { return frame_->OpenEntry(5); }
  CVornChildFrame* OpenHebrew() { return frame_->OpenEntry(6); }

  // The first word of verse `label` of chapter `chapter` of book `book`.
  static WordIndex FirstWord(CVornDB* db, int book, int chapter, const char16_t* label) {
    return CBibleRef(db, book, chapter, label).GetFirstWord();
  }

  DBSource greek_source_ = MakeGreekTestSource();
  TestDatabase greek_files_{greek_source_};
  TestDatabase hebrew_files_{HebrewWithVariants()};
  QTemporaryDir settings_;
  std::unique_ptr<CVornMainFrame> frame_;
};

bool Checked(CVornView* pane, int id, bool* enabled) {
  bool checked = false;
  pane->UpdateCommand(id, enabled, &checked);
  return checked;
}

std::u16string CopyAsText(CVornView* pane) {
  const CopyDocument doc =
      MakeCopyDocument(pane->GetLayoutId(), pane->IsHitsPane(), pane->GetMetrics().GetDatabase(),
                       pane->GetMetrics(), nullptr, pane->GetMetrics().GetSelection(), true);
  return doc.text;
}

TEST_F(OutputTest, TextVariantCommandsSwitchOnAndBackAndAreCheckedWhileCurrent) {
  CVornChildFrame* window = OpenHebrew();
  ASSERT_NE(window, nullptr);
  CVornView* pane = window->GetTextPane();
  CVornDB* db = window->GetDatabase();
  const int no_cant = FindTextVariant(*db, kVariantNoCantillations);
  const int cons = FindTextVariant(*db, kVariantConsonants);
  ASSERT_GT(no_cant, 0);
  ASSERT_GT(cons, 0);
  EXPECT_NE(no_cant, cons);
  pane->GetMetrics().SelectWord(0, true);
  const std::u16string normal = CopyAsText(pane);

  bool enabled = false;
  EXPECT_FALSE(Checked(pane, kCmdNoCantillations, &enabled));
  EXPECT_TRUE(enabled);
  ASSERT_TRUE(pane->OnCommand(kCmdNoCantillations));
  EXPECT_EQ(pane->GetMetrics().GetTextVariant(), no_cant);
  EXPECT_TRUE(Checked(pane, kCmdNoCantillations, &enabled));
  EXPECT_FALSE(Checked(pane, kCmdConsonantsOnly, &enabled));
  EXPECT_NE(CopyAsText(pane).find(u"plainword"), std::u16string::npos);

  // The other variant replaces it; choosing that one again gives the text.
  ASSERT_TRUE(pane->OnCommand(kCmdConsonantsOnly));
  EXPECT_EQ(pane->GetMetrics().GetTextVariant(), cons);
  EXPECT_NE(CopyAsText(pane).find(u"cnsnnts"), std::u16string::npos);
  ASSERT_TRUE(pane->OnCommand(kCmdConsonantsOnly));
  EXPECT_EQ(pane->GetMetrics().GetTextVariant(), 0);

  // Twice the same command: back to the normal text.
  ASSERT_TRUE(pane->OnCommand(kCmdNoCantillations));
  ASSERT_TRUE(pane->OnCommand(kCmdNoCantillations));
  EXPECT_EQ(pane->GetMetrics().GetTextVariant(), 0);
  EXPECT_FALSE(Checked(pane, kCmdNoCantillations, &enabled));
  EXPECT_EQ(CopyAsText(pane), normal);
}

TEST_F(OutputTest, TextVariantCommandsAreDisabledWithoutTheVariant) {
  CVornChildFrame* window = OpenGreek();
  ASSERT_NE(window, nullptr);
  CVornView* pane = window->GetTextPane();
  bool enabled = true;
  EXPECT_FALSE(Checked(pane, kCmdNoCantillations, &enabled));
  EXPECT_FALSE(enabled);
  EXPECT_FALSE(Checked(pane, kCmdConsonantsOnly, &enabled));
  EXPECT_FALSE(enabled);
  EXPECT_FALSE(pane->OnCommand(kCmdConsonantsOnly));
  EXPECT_EQ(pane->GetMetrics().GetTextVariant(), 0);
}

TEST(PersistentViewSettings, HiddenLinesAreRememberedByNameAndOneLineStaysVisible) {
  CPersistentViewSettings settings;
  settings.SetLineVisible("Glos", false);
  settings.SetLineVisible("Tag", false);
  settings.SetLineVisible("Tag", true);
  ASSERT_EQ(settings.GetLineStates().size(), 1u);
  EXPECT_EQ(settings.GetLineStates().at("Glos"), "InVis");
  EXPECT_FALSE(settings.IsLineVisible("Glos"));
  EXPECT_TRUE(settings.IsLineVisible("Form"));
  settings.SetMagnification(0);
  EXPECT_EQ(settings.GetMagnification(), 100);

  vorn::testing::OpenedTestDatabase greek(MakeGreekTestSource());
  ASSERT_TRUE(greek.ok());  // lines only: no words are shown
  CVornDB* db = greek.db();
  for (int i = 0; i < db->GetLineCount(); ++i) settings.SetLineVisible(db->GetLineName(i), false);
  settings.SetMagnification(130);
  CViewMetrics metrics(db, nullptr);
  settings.ApplyTo(&metrics, *db);
  EXPECT_TRUE(metrics.IsSingleLineVisible());
  EXPECT_TRUE(metrics.IsLineVisible(0));
  EXPECT_EQ(metrics.GetMagnification(), 130);

  CViewMetrics shown(db, nullptr);
  shown.SetLineVisible(2, false);
  settings.CopyFrom(shown, *db);
  EXPECT_EQ(settings.GetLineStates().size(), 1u);
  EXPECT_FALSE(settings.IsLineVisible(db->GetLineName(2)));
  EXPECT_EQ(settings.GetMagnification(), 100);
}

TEST_F(OutputTest, ANewPaneStartsWithWhatTheLastPaneCommandsChose) {
  CVornChildFrame* first = OpenGreek();
  ASSERT_NE(first, nullptr);
  CVornView* pane = first->GetTextPane();
  CVornDB* db = first->GetDatabase();
  ASSERT_TRUE(pane->OnCommand(kCmdLineFirst + 3));     // glosses
  ASSERT_TRUE(pane->OnCommand(kCmdMagnifyFirst + 4));  // 150 %
  const int gloss = db->GetGlossLineIndex();
  ASSERT_FALSE(pane->GetMetrics().IsLineVisible(gloss));
  CPersistentViewSettings::Instance().SetShowTips(false);

  // The Hebrew database has a gloss line of the same name.
  CVornChildFrame* second = OpenHebrew();
  ASSERT_NE(second, nullptr);
  for (CVornView* p : {second->GetTextPane(), second->GetHitsPane()}) {
    EXPECT_FALSE(p->GetMetrics().IsLineVisible(second->GetDatabase()->GetGlossLineIndex()));
    EXPECT_TRUE(p->GetMetrics().IsLineVisible(0));
    EXPECT_EQ(p->GetMetrics().GetMagnification(), 150);
    EXPECT_FALSE(p->GetShowTips());
  }
  // Showing the line again is remembered too.
  ASSERT_TRUE(second->GetTextPane()->OnCommand(kCmdLineFirst + 3));
  EXPECT_TRUE(CPersistentViewSettings::Instance().IsLineVisible("Glos"));
}

TEST_F(OutputTest, CopyPutsRichTextAndCopyAsTextAlsoThePlainTopLine) {
  CVornChildFrame* window = OpenGreek();
  ASSERT_NE(window, nullptr);
  CVornView* pane = window->GetTextPane();
  CVornDB* db = window->GetDatabase();
  bool enabled = true;
  Checked(pane, kCmdCopy, &enabled);
  EXPECT_FALSE(enabled) << "nothing selected";
  Checked(pane, kCmdCopyAsText, &enabled);
  EXPECT_FALSE(enabled);

  const WordIndex first = FirstWord(db, 3, 1, u"1");  // JHN 1:1
  pane->GetMetrics().SelectRange(first, first + 3, true);
  Checked(pane, kCmdCopy, &enabled);
  EXPECT_TRUE(enabled);
  QClipboard* clipboard = QGuiApplication::clipboard();
  clipboard->clear();
  ASSERT_TRUE(pane->OnCommand(kCmdCopy));
  const QMimeData* data = clipboard->mimeData();
  ASSERT_NE(data, nullptr);
  const QByteArray rtf = data->data(QStringLiteral("text/rtf"));
  EXPECT_TRUE(rtf.startsWith("{\\rtf1")) << rtf.left(40).constData();
  EXPECT_TRUE(rtf.contains("\\trowd")) << "a table copy";
  EXPECT_EQ(data->data(QStringLiteral("Rich Text Format")), rtf);
  // An editor without rich text gets the words as Unicode text, and the
  // book's heading above the selection, which was not chosen, stays out.
  EXPECT_TRUE(data->text().contains(ToQString(greek_source_.lines[0].words[first + 1])))
      << data->text().toStdString();
  EXPECT_FALSE(data->text().contains(QStringLiteral("ΚΑΤΑ"))) << data->text().toStdString();
  EXPECT_FALSE(rtf.contains("\\u922?")) << "the heading's first letter";

  ASSERT_TRUE(pane->OnCommand(kCmdCopyAsText));
  data = clipboard->mimeData();
  ASSERT_NE(data, nullptr);
  const QByteArray running = data->data(QStringLiteral("text/rtf"));
  EXPECT_TRUE(running.startsWith("{\\rtf1"));
  EXPECT_FALSE(running.contains("\\trowd"));
  const QString text = data->text();
  // The middle word of the three, as the text line has it (the first may be
  // capitalised, the last punctuated), and no gloss.
  EXPECT_TRUE(text.contains(ToQString(greek_source_.lines[0].words[first + 1])))
      << text.toStdString();
  const int gloss = db->GetGlossLineIndex();
  EXPECT_FALSE(text.contains(ToQString(greek_source_.lines[gloss].words[first + 1])));
  // The pane's own metrics keep every line.
  EXPECT_TRUE(pane->GetMetrics().IsLineVisible(gloss));
}

// The largest and smallest cell boundary and row offset of a table copy.
void CellRange(const QByteArray& rtf, int* low, int* high) {
  *low = INT_MAX;
  *high = INT_MIN;
  static const QRegularExpression kCell(QStringLiteral("\\\\(?:cellx|trleft)(-?\\d+)"));
  for (auto it = kCell.globalMatch(QString::fromLatin1(rtf)); it.hasNext();) {
    const int value = it.next().captured(1).toInt();
    *low = std::min(*low, value);
    *high = std::max(*high, value);
  }
}

// The words' right edge and the page's width (points) of a document that
// LibreOffice opens and prints to PDF; false when the tools are missing.
bool LibreOfficeExtent(const QString& rtf_path, double* right, double* page) {
  if (QStandardPaths::findExecutable(QStringLiteral("soffice")).isEmpty() ||
      QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
    return false;
  const QFileInfo info(rtf_path);
  QProcess convert;
  convert.start(QStringLiteral("soffice"),
                {QStringLiteral("--headless"), QStringLiteral("--convert-to"),
                 QStringLiteral("pdf"), QStringLiteral("--outdir"), info.absolutePath(), rtf_path});
  if (!convert.waitForFinished(120000)) return false;
  const QString pdf = info.absolutePath() + QLatin1Char('/') + info.completeBaseName() + ".pdf";
  QProcess boxes;
  boxes.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
  if (!boxes.waitForFinished(60000)) return false;
  const QString html = QString::fromUtf8(boxes.readAllStandardOutput());
  static const QRegularExpression kPage(QStringLiteral("<page width=\"([0-9.]+)\""));
  static const QRegularExpression kRight(QStringLiteral("xMax=\"([0-9.]+)\""));
  const auto width = kPage.match(html);
  if (!width.hasMatch()) return false;
  *page = width.captured(1).toDouble();
  *right = 0;
  for (auto it = kRight.globalMatch(html); it.hasNext();)
    *right = std::max(*right, it.next().captured(1).toDouble());
  return true;
}

TEST_F(OutputTest, CopiedTableRowsFitThePageInBothReadingDirections) {
  QTemporaryDir dir;
  for (CVornChildFrame* window : {OpenGreek(), OpenHebrew()}) {
    ASSERT_NE(window, nullptr);
    CVornDB* db = window->GetDatabase();
    CViewMetrics& metrics = window->GetTextPane()->GetMetrics();
    metrics.SetSize(4000, 600);  // a pane far wider than the page
    std::vector<WordIndex> words(static_cast<size_t>(db->GetWordCount()));
    for (size_t i = 0; i < words.size(); ++i) words[i] = static_cast<WordIndex>(i);
    constexpr int kPage = 2 * 1440;  // narrow enough to wrap the test's short verses
    const CopyDocument wide =
        MakeCopyDocument(kLayoutVerses, false, db, metrics, nullptr, words, false);
    const CopyDocument fitted =
        MakeCopyDocument(kLayoutVerses, false, db, metrics, nullptr, words, false, kPage);
    const QByteArray rtf = QByteArray::fromStdString(RtfToBytes(fitted.rtf));
    int low = 0;
    int high = 0;
    CellRange(QByteArray::fromStdString(RtfToBytes(wide.rtf)), &low, &high);
    EXPECT_GT(high, kPage) << "the pane's own rows are wider than the page";
    CellRange(rtf, &low, &high);
    EXPECT_GE(low, 0);
    EXPECT_LE(high, kPage);
    EXPECT_GT(rtf.count("\\row"), QByteArray::fromStdString(RtfToBytes(wide.rtf)).count("\\row"))
        << "the words wrap into more rows";

    const QString path = dir.path() + "/" + ToQString(db->GetName()) + ".rtf";
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(rtf);
    file.close();
    double right = 0;
    double page = 0;
    if (LibreOfficeExtent(path, &right, &page)) {
      EXPECT_LE(right, page) << path.toStdString();
    }
  }
}

TEST(ClipboardData, TheSourceGoesOutAsEightBitTextWithShift) {
  CopyDocument table{u"{\\rtf1 \\u955?}", u""};
  std::unique_ptr<QMimeData> plain(MakeClipboardData(table, false));
  EXPECT_FALSE(plain->hasText());
  EXPECT_EQ(plain->data(QStringLiteral("text/rtf")), QByteArray("{\\rtf1 \\u955?}"));
  std::unique_ptr<QMimeData> shifted(MakeClipboardData(table, true));
  EXPECT_EQ(shifted->text(), QStringLiteral("{\\rtf1 \\u955?}"));
  EXPECT_EQ(shifted->data(QStringLiteral("text/plain;charset=ISO-8859-1")),
            QByteArray("{\\rtf1 \\u955?}"));

  CopyDocument text{u"{\\rtf1 x}", u"λόγος"};
  std::unique_ptr<QMimeData> both(MakeClipboardData(text, true));
  EXPECT_EQ(both->text(), QStringLiteral("λόγος"));
  EXPECT_EQ(both->data(QStringLiteral("text/plain;charset=ISO-8859-1")), QByteArray("{\\rtf1 x}"));
}

TEST(ClipboardData, RealGreekNewTestamentCopiesJohnOneOne) {
  const std::string folder = testing::RealDataFolder("GNT");
  if (folder.empty()) GTEST_SKIP() << "no databases built";
  CRecordingMessageSink sink;
  CVornDBs dbs({folder}, &sink, nullptr);
  CVornDB* db = dbs.GetDatabase(3);
  ASSERT_NE(db, nullptr);
  InstallWordLineFactories(db);
  const WordIndex first = CBibleRef(CBibleRef(u"John", 1, 1), db).GetFirstWord();
  ASSERT_GE(first, 0);
  CViewMetrics metrics(db, nullptr);
  metrics.SetSize(600, 400);
  const std::vector<WordIndex> words = {first, first + 1, first + 2};
  const CopyDocument table =
      MakeCopyDocument(kLayoutVerses, false, db, metrics, nullptr, words, false);
  EXPECT_EQ(table.rtf.rfind(u"{\\rtf1", 0), 0u);
  const CopyDocument text =
      MakeCopyDocument(kLayoutVerses, false, db, metrics, nullptr, words, true);
  const QString plain = ToQString(text.text);
  EXPECT_TRUE(plain.contains(QStringLiteral("ἀρχῇ"))) << plain.toStdString();
  QGuiApplication::clipboard()->setMimeData(MakeClipboardData(text, false));
  EXPECT_TRUE(QGuiApplication::clipboard()->text().contains(QStringLiteral("ἀρχῇ")));
  EXPECT_TRUE(QGuiApplication::clipboard()
                  ->mimeData()
                  ->data(QStringLiteral("text/rtf"))
                  .startsWith("{\\rtf1"));
}

TEST_F(OutputTest, BibleInformationShowsTitleAndRightsNotices) {
  CVornChildFrame* window = OpenGreek();
  ASSERT_NE(window, nullptr);
  const std::u16string info = MakeBibleInformation(*window->GetDatabase());
  EXPECT_EQ(info.rfind(u"Test Greek New Testament (TGNT)", 0), 0u);
  EXPECT_NE(info.find(u"Test data, made up for the unit tests."), std::u16string::npos);
  EXPECT_NE(info.find(u"Second copyright line \u00a9"), std::u16string::npos);
  EXPECT_NE(info.find(u"Compiled by the test fixture"), std::u16string::npos);
}

TEST(PrintMetrics, MetricDialogValuesComeBackUnchanged) {
  EXPECT_EQ(ToDialogUnits(1000, true), 2540);
  EXPECT_EQ(ToDialogUnits(1000, false), 1000);
  EXPECT_EQ(FromDialogUnits(2540, true), 1000);
  EXPECT_EQ(FromDialogUnits(750, false), 750);
  // Confirming the dialog without changes never moves a margin.
  for (int t = 0; t <= 3000; ++t) ASSERT_EQ(FromDialogUnits(ToDialogUnits(t, true), true), t) << t;

  CPrintMetrics metrics;
  EXPECT_EQ(metrics.GetLeftMargin(), 1000);
  EXPECT_EQ(metrics.GetBottomMargin(), 1000);
  for (bool metric : {true, false}) {
    QPageLayout a4(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF());
    metrics.SetMargins(1000, 500, 753, 1251);
    const QPageLayout layout = metrics.ToPageLayout(a4, metric);
    CPrintMetrics back;
    back.FromPageLayout(layout, metric);
    EXPECT_EQ(back.GetLeftMargin(), 1000) << metric;
    EXPECT_EQ(back.GetTopMargin(), 500) << metric;
    EXPECT_EQ(back.GetRightMargin(), 753) << metric;
    EXPECT_EQ(back.GetBottomMargin(), 1251) << metric;
    EXPECT_NEAR(back.GetPaperWidth(), 8268, 1) << metric;    // 210 mm
    EXPECT_NEAR(back.GetPaperHeight(), 11693, 1) << metric;  // 297 mm
    EXPECT_NEAR(back.GetPrintableWidth(), 8268 - 1753, 1);
  }
}

TEST(PrintMetrics, PaperWidthScalesTheWindowByPrintableOverPaneWidth) {
  // 6.5 inches at 96 pixels per inch is 624 pixels.
  EXPECT_EQ(PaperWidthWindowWidth(640, 600, 6500, 96), 666);
  EXPECT_EQ(PaperWidthWindowWidth(640, 0, 6500, 96), 640);
  EXPECT_EQ(PaperWidthWindowWidth(640, 600, -100, 96), 640);
}

TEST_F(OutputTest, PaperWidthResizesTheWindowToThePrintablePage) {
  CVornChildFrame* window = OpenGreek();
  ASSERT_NE(window, nullptr);
  frame_->resize(1600, 1000);
  frame_->show();
  QWidget* sub = window->parentWidget();
  ASSERT_NE(sub, nullptr);
  sub->resize(500, 400);
  CPrintMetrics& margins = frame_->GetPrintSetup().GetMetrics();
  margins.SetPaperSize(8500, 11000);
  margins.SetMargins(1000, 1000, 1000, 1000);
  CVornView* pane = window->GetTextPane();
  const int expected = PaperWidthWindowWidth(sub->width(), pane->viewport()->width(), 6500,
                                             pane->GetDevice().GetPixelsPerInchX());
  ASSERT_TRUE(pane->OnCommand(kCmdPaperWidth));
  EXPECT_EQ(sub->width(), expected);
  EXPECT_GT(sub->width(), 500);
}

// Printing the Greek test text in the verse layout.
class PrintTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(greek_.ok()) << greek_.error();
    InstallWordLineFactories(greek_.db());
    metrics_ = std::make_unique<CViewMetrics>(greek_.db(), nullptr);
    metrics_->SetSize(600, 400);
  }

  CPagePrinter Printer() {
    return CPagePrinter(greek_.db(), kLayoutVerses, false, *metrics_, nullptr, margins_, &sink_);
  }

  // A letter page at 100 pixels per inch.
  static QImage Page() {
    QImage image(850, 1100, QImage::Format_RGB32);
    image.setDotsPerMeterX(3937);
    image.setDotsPerMeterY(3937);
    image.fill(Qt::white);
    return image;
  }

  static int DarkPixels(const QImage& image, const QRect& rect) {
    int dark = 0;
    for (int y = rect.top(); y <= rect.bottom(); ++y)
      for (int x = rect.left(); x <= rect.right(); ++x) dark += qGray(image.pixel(x, y)) < 128;
    return dark;
  }

  vorn::testing::OpenedTestDatabase greek_{MakeGreekTestSource()};
  std::unique_ptr<CViewMetrics> metrics_;
  CPrintMetrics margins_;
  CRecordingMessageSink sink_;
};

TEST_F(PrintTest, ThreeSelectedWordsPrintOnOnePageHeadedWithTheirVerses) {
  CVornDB* db = greek_.db();
  const WordIndex first = CBibleRef(db, 3, 1, 1).GetFirstWord();  // JHN 1:1
  ASSERT_GE(first, 0);
  CPagePrinter printer = Printer();
  QImage image = Page();
  CQtDevice device(&image);
  ASSERT_EQ(device.GetPixelsPerInchY(), 100);
  QPainter painter(&image);
  device.SetPainter(&painter);
  printer.Begin(first, first + 3);
  ASSERT_TRUE(printer.HasPage(1));
  int started = 0;
  ASSERT_TRUE(printer.PrintPage(1, &device, {0, 0, 850, 1100}, {0, 0}, [&] { ++started; }));
  device.SetPainter(nullptr);
  painter.end();
  EXPECT_EQ(started, 1);
  ASSERT_EQ(printer.GetPages().size(), 1u);
  EXPECT_EQ(printer.GetPages()[0], (WordSpan{first, first + 3}));
  EXPECT_FALSE(printer.HasPage(2));
  EXPECT_EQ(printer.GetDrawingArea(), (Rect{100, 100, 750, 1000}));
  EXPECT_EQ(CPagePrinter::FormatPassage(db, first, first + 2), u"John 1:1 - John 1:1");
  EXPECT_TRUE(sink_.messages().empty());
  // The header above the top margin, the text below it, nothing far below.
  EXPECT_GT(DarkPixels(image, QRect(100, 60, 650, 40)), 20);
  EXPECT_GT(DarkPixels(image, QRect(100, 101, 650, 200)), 20);
  EXPECT_EQ(DarkPixels(image, QRect(100, 700, 650, 290)), 0);
  printer.End();
  EXPECT_FALSE(printer.HasPage(1));
  image.save(QStringLiteral(VORN_SHELL_OUTPUT_DIR "/printed_page.png"));
}

TEST_F(PrintTest, ALongRangeRunsOverPagesThatFollowEachOther) {
  CVornDB* db = greek_.db();
  const auto count = static_cast<WordIndex>(db->GetWordCount());
  margins_.SetMargins(1000, 1000, 1000, 7500);  // 2.5 inches of text per page
  CPagePrinter printer = Printer();
  QImage image = Page();
  CQtDevice device(&image);
  printer.Begin(0, count);
  int n = 1;
  for (; printer.HasPage(n) && n < 100; ++n)
    ASSERT_TRUE(printer.PrintPage(n, &device, {0, 0, 850, 1100}, {0, 0}));
  const auto& pages = printer.GetPages();
  ASSERT_GT(pages.size(), 1u);
  EXPECT_EQ(static_cast<size_t>(n - 1), pages.size());
  EXPECT_EQ(pages.front().first, 0);
  EXPECT_EQ(pages.back().end, count);
  for (size_t i = 1; i < pages.size(); ++i) {
    EXPECT_EQ(pages[i].first, pages[i - 1].end);
    EXPECT_LT(pages[i].first, pages[i].end);
  }
}

TEST_F(PrintTest, MarginsLargerThanThePaperReportAPageTooShort) {
  margins_.SetMargins(6000, 6000, 6000, 6000);
  CPagePrinter printer = Printer();
  QImage image = Page();
  CQtDevice device(&image);
  printer.Begin(0, 10);
  int started = 0;
  EXPECT_FALSE(printer.PrintPage(1, &device, {0, 0, 850, 1100}, {0, 0}, [&] { ++started; }));
  EXPECT_EQ(started, 0);
  EXPECT_FALSE(printer.HasPage(2));
  ASSERT_EQ(sink_.messages().size(), 1u);
  EXPECT_EQ(sink_.messages()[0].kind, CRecordingMessageSink::Kind::kInformation);
  EXPECT_EQ(sink_.messages()[0].text, kPageTooShortMessage);

  // A whole job then draws nothing and never starts the document.
  QTemporaryDir dir;
  const QString path = dir.path() + QStringLiteral("/short.pdf");
  QPdfWriter pdf(path);
  EXPECT_EQ(printer.Print(&pdf, 0, 10), 0);
  EXPECT_FALSE(QFileInfo(path).size() > 0);
}

TEST_F(PrintTest, AJobOnAPdfWriterPrintsEveryPageOfTheRange) {
  QTemporaryDir dir;
  const QString path = QStringLiteral(VORN_SHELL_OUTPUT_DIR "/printed_job.pdf");
  QFile::remove(path);
  QPdfWriter pdf(path);
  pdf.setPageSize(QPageSize(QPageSize::Letter));
  pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
  CPagePrinter printer = Printer();
  const WordIndex first = CBibleRef(greek_.db(), 3, 1, 1).GetFirstWord();
  EXPECT_EQ(printer.Print(&pdf, first, first + 3), 1);
  EXPECT_FALSE(printer.HasPage(1)) << "the job ends with the page list emptied";
  EXPECT_GT(QFileInfo(path).size(), 500);
  EXPECT_TRUE(sink_.messages().empty());

  margins_.SetMargins(1000, 1000, 1000, 8000);
  const QString path2 = dir.path() + QStringLiteral("/two.pdf");
  QPdfWriter pdf2(path2);
  pdf2.setPageSize(QPageSize(QPageSize::Letter));
  const int pages = printer.Print(&pdf2, 0, static_cast<WordIndex>(greek_.db()->GetWordCount()));
  EXPECT_GT(pages, 1);
  EXPECT_EQ(printer.Print(&pdf2, 0, static_cast<WordIndex>(greek_.db()->GetWordCount()), 2), 2);
}

// The box (points) of the first word `text` on the first page of a PDF,
// read by pdftotext; an empty box when the word is not there.
QRectF WordBox(const QString& pdf, const QString& text) {
  QProcess boxes;
  boxes.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), QStringLiteral("-l"),
                                            QStringLiteral("1"), pdf, QStringLiteral("-")});
  if (!boxes.waitForFinished(60000)) return {};
  const QString html = QString::fromUtf8(boxes.readAllStandardOutput());
  const QRegularExpression word(
      QStringLiteral("xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\" xMax=\"([0-9.]+)\" "
                     "yMax=\"([0-9.]+)\">%1</word>")
          .arg(QRegularExpression::escape(text)));
  const auto m = word.match(html);
  if (!m.hasMatch()) return {};
  return QRectF(QPointF(m.captured(1).toDouble(), m.captured(2).toDouble()),
                QPointF(m.captured(3).toDouble(), m.captured(4).toDouble()));
}

TEST_F(PrintTest, EveryJobOnOnePrinterHeadsPageOneInTheTopMargin) {
  if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
    GTEST_SKIP() << "pdftotext is not installed";
  QTemporaryDir dir;
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setPageSize(QPageSize(QPageSize::Letter));
  printer.setFullPage(true);
  const WordIndex first = CBibleRef(greek_.db(), 3, 1, 1).GetFirstWord();
  for (int job = 1; job <= 2; ++job) {
    const QString path = dir.path() + QStringLiteral("/job%1.pdf").arg(job);
    printer.setOutputFileName(path);
    CPagePrinter pages = Printer();
    ASSERT_EQ(pages.Print(&printer, first, first + 3), 1);
    // The margins are an inch (72 points): the header ends above the
    // first row and starts at the left margin.
    const QRectF number = WordBox(path, QStringLiteral("Page"));
    const QRectF passage = WordBox(path, QStringLiteral("John"));
    ASSERT_FALSE(number.isEmpty()) << "job " << job;
    ASSERT_FALSE(passage.isEmpty()) << "job " << job;
    EXPECT_LE(number.bottom(), 72.5) << "job " << job;
    EXPECT_NEAR(passage.left(), 72.0, 2.0) << "job " << job;
  }
}

TEST_F(PrintTest, ARangeWhoseEndIsBeforeItsStartIsRefused) {
  CVornDB* db = greek_.db();
  const CBibleRef matthew(db, 1, 1, 1);
  const CBibleRef john(db, 3, 1, 1);
  WordSpan range{7, 8};
  EXPECT_FALSE(CPagePrinter::RangeOfVerses(john, matthew, &range, &sink_));
  EXPECT_EQ(range, (WordSpan{7, 8}));
  ASSERT_EQ(sink_.messages().size(), 1u);
  EXPECT_EQ(sink_.messages()[0].kind, CRecordingMessageSink::Kind::kWarning);
  EXPECT_EQ(sink_.messages()[0].text, kInvalidRangeMessage);
  EXPECT_FALSE(CPagePrinter::RangeOfVerses(CBibleRef(), john, &range, nullptr));

  ASSERT_TRUE(CPagePrinter::RangeOfVerses(matthew, john, &range, nullptr));
  EXPECT_EQ(range.first, matthew.GetFirstWord());
  EXPECT_EQ(range.end, john.GetWordSpan().end);
  ASSERT_TRUE(CPagePrinter::RangeOfVerses(john, john, &range, nullptr));
  EXPECT_EQ(range, john.GetWordSpan());
}

TEST_F(PrintTest, ThePickersStartAtTheSelectionOrTheWholeText) {
  CVornDB* db = greek_.db();
  CBibleRef from;
  CBibleRef to;
  const WordIndex john = CBibleRef(db, 3, 1, 1).GetFirstWord();
  StartingRange(db, {john, john + 1}, &from, &to);
  EXPECT_EQ(from.FormatLong(), u"John 1:1");
  EXPECT_EQ(to.FormatLong(), u"John 1:1");
  StartingRange(db, {}, &from, &to);
  EXPECT_EQ(from.FormatLong(), u"Matthew 1:1");
  EXPECT_EQ(to.FormatLong(), u"John 3:16");

  CPrintRangePanel panel(nullptr);
  panel.SetRange(from, to);
  WordSpan range;
  ASSERT_TRUE(CPagePrinter::RangeOfVerses(panel.GetFromPicker()->GetRef(),
                                          panel.GetToPicker()->GetRef(), &range, nullptr));
  EXPECT_EQ(range.first, 0);
  EXPECT_EQ(range.end, static_cast<WordIndex>(db->GetWordCount()));
}

TEST_F(PrintTest, TheDialogOffersThePassageInViewThenTheLastOneAndASelectionOfWords) {
  CVornDB* db = greek_.db();
  const WordIndex john = CBibleRef(db, 3, 1, 1).GetFirstWord();
  // The current word alone is no selection to print.
  EXPECT_FALSE(OffersSelection({john}));
  EXPECT_TRUE(OffersSelection({john, john + 1}));
  PrintPassage remembered;
  PrintSource source;
  source.db = db;
  source.in_view = CBibleRef(db, 2, 1, 1).GetWordSpan();
  source.remembered = &remembered;
  CBibleRef from;
  CBibleRef to;
  OfferedRange(source, &from, &to);
  EXPECT_EQ(from.FormatLong(), u"Mark 1:1");
  EXPECT_EQ(to.FormatLong(), u"Mark 1:1");
  remembered = {true, john, john};
  OfferedRange(source, &from, &to);
  EXPECT_EQ(from.FormatLong(), u"John 1:1");
}

// Answers the print dialog as soon as it shows: the pickers are set to
// `from` .. `to` (when given) and the dialog is confirmed.
void AnswerPrintDialog(const CBibleRef* from, const CBibleRef* to) {
  QTimer::singleShot(0, [from, to] {
    auto* dialog = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    auto* panel = dialog->findChild<CPrintRangePanel*>();
    ASSERT_NE(panel, nullptr);
    if (from && to) panel->SetRange(*from, *to);
    dialog->accept();
  });
}

TEST_F(OutputTest, ThePrintCommandPrintsThePickersPassageOrRefusesABackwardOne) {
  CVornChildFrame* window = OpenGreek();
  ASSERT_NE(window, nullptr);
  CVornDB* db = window->GetDatabase();
  QTemporaryDir dir;
  const QString path = dir.path() + QStringLiteral("/pane.pdf");
  QPrinter* printer = frame_->GetPrintSetup().GetPrinter();
  printer->setOutputFormat(QPrinter::PdfFormat);
  printer->setOutputFileName(path);
  CRecordingMessageSink sink;
  PrintSource source;
  source.db = db;
  source.layout_id = kLayoutVerses;
  source.metrics = &window->GetTextPane()->GetMetrics();

  const CBibleRef john(db, 3, 1, 1);
  const CBibleRef mark(db, 2, 1, 1);
  AnswerPrintDialog(&john, &mark);
  PrintPane(frame_.get(), source, &frame_->GetPrintSetup(), &sink);
  ASSERT_EQ(sink.messages().size(), 1u);
  EXPECT_EQ(sink.messages()[0].text, kInvalidRangeMessage);
  EXPECT_FALSE(QFileInfo::exists(path));

  sink.Clear();
  AnswerPrintDialog(&mark, &john);
  PrintPane(frame_.get(), source, &frame_->GetPrintSetup(), &sink);
  EXPECT_TRUE(sink.messages().empty());
  EXPECT_GT(QFileInfo(path).size(), 500);
  EXPECT_FALSE(printer->fullPage()) << "the printer's own setting comes back";
}

TEST_F(OutputTest, PrintPreviewDrawsThePaneIntoThePreview) {
  CVornChildFrame* window = OpenGreek();
  ASSERT_NE(window, nullptr);
  window->GetTextPane()->GetMetrics().SelectRange(3, 9, true);
  // The preview draws its pages as it shows; then it is closed.
  bool shown = false;
  QTimer closer;
  QObject::connect(&closer, &QTimer::timeout, [&shown] {
    if (QWidget* modal = QApplication::activeModalWidget()) {
      shown = true;
      modal->close();
    }
  });
  closer.start(10);
  frame_->Dispatch(kCmdPrintPreview);
  EXPECT_TRUE(shown);
}

}  // namespace
}  // namespace vorn::shell
