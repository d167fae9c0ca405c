#include "shell/rich_query_box.h"

#include <gtest/gtest.h>

#include <QMimeData>
#include <QTest>
#include <QTextCursor>
#include <QTextDocument>

#include "query/query_prompt.h"

namespace vorn::shell {
namespace {

// The font family of the character just before `pos`.
QString FamilyAt(CRichQueryBox& box, int pos) {
  QTextCursor cursor(box.document());
  cursor.setPosition(pos);
  return cursor.charFormat().fontFamilies().toStringList().value(0);
}

TEST(RichQueryBox, PiecesKeepTheirFontsAndSelectionsCountCodeUnits) {
  CRichQueryBox box(nullptr);
  CFontFormat greek(u"Gentium Plus", 14, 0);
  box.ReplaceSelection(u"G ", CRichQueryBox::DefaultFormat());
  box.ReplaceSelection(u"\"λόγος\"", greek);
  box.ReplaceSelection(u" in MAT", CRichQueryBox::DefaultFormat());
  EXPECT_EQ(box.GetText(), u"G \"λόγος\" in MAT");
  EXPECT_EQ(FamilyAt(box, 1), QStringLiteral("Arial"));
  EXPECT_EQ(FamilyAt(box, 5), QStringLiteral("Gentium Plus"));
  EXPECT_EQ(FamilyAt(box, 12), QStringLiteral("Arial"));

  int32_t start = -1, end = -1;
  box.GetSelection(&start, &end);
  EXPECT_EQ(start, 16);
  EXPECT_EQ(end, 16);
  box.SetSelection(13, 99);
  box.GetSelection(&start, &end);
  EXPECT_EQ(start, 13);
  EXPECT_EQ(end, 16);
  box.ReplaceSelection(u"JHN", CRichQueryBox::DefaultFormat());
  EXPECT_EQ(box.GetText(), u"G \"λόγος\" in JHN");

  // A prompt goes in as the core inserts it, selected.
  CQueryPrompts prompts(CFontFormat(u"Arial", 10, 0));
  prompts.AddPrompt(u"initial in a verse (position)");
  box.SetSelection(16, 16);
  prompts.Get(0)->UsePrompt(&box, true);
  EXPECT_EQ(box.GetText(), u"G \"λόγος\" in JHN initial in a verse ");
  box.GetSelection(&start, &end);
  EXPECT_EQ(start, 16);
  EXPECT_EQ(end, 36);

  box.Clear();
  EXPECT_EQ(box.GetText(), u"");
  EXPECT_EQ(box.currentCharFormat().font().family(), QStringLiteral("Arial"));
}

// Lets the test paste without the clipboard.
class PastingBox : public CRichQueryBox {
 public:
  PastingBox() : CRichQueryBox(nullptr) {}
  using CRichQueryBox::insertFromMimeData;
};

TEST(RichQueryBox, StaysOnOneLineOfPlainText) {
  PastingBox box;
  box.show();
  QTest::keyClicks(&box, QStringLiteral("text a"));
  QTest::keyClick(&box, Qt::Key_Return);
  EXPECT_EQ(box.GetText(), u"text a");

  QMimeData data;
  data.setHtml(QStringLiteral("<b>bold</b>"));
  data.setText(QStringLiteral(" union\ntext b"));
  box.insertFromMimeData(&data);
  EXPECT_EQ(box.GetText(), u"text a union text b");
  EXPECT_EQ(box.document()->blockCount(), 1);
  EXPECT_FALSE(box.currentCharFormat().font().bold());

  // A line break inside inserted text does not start a second line either.
  box.ReplaceSelection(u"\nx", CRichQueryBox::DefaultFormat());
  EXPECT_EQ(box.document()->blockCount(), 1);
}

}  // namespace
}  // namespace vorn::shell
