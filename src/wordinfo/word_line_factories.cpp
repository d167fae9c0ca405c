#include "wordinfo/word_line_factories.h"

#include "textdb/vorn_db.h"
#include "wordinfo/word_lines.h"

namespace vorn {

std::unique_ptr<CWordLine> MakeOrdinaryWordLine(WordIndex word, CVornDBLine* line) {
  return std::make_unique<CWordOrdinaryLine>(word, line);
}

std::unique_ptr<CWordLine> MakeTagWordLine(WordIndex word, CVornDBLine* line) {
  return std::make_unique<CWordTagLine>(word, line);
}

std::unique_ptr<CWordLine> MakeGlossWordLine(WordIndex word, CVornDBLine* line) {
  return std::make_unique<CWordGlossLine>(word, line);
}

std::unique_ptr<CWordLine> MakeLemaWordLine(WordIndex word, CVornDBLine* line) {
  return std::make_unique<CWordLemaLine>(word, line);
}

std::unique_ptr<CWordLine> MakeLinksWordLine(WordIndex word, CVornDBLine* line) {
  return std::make_unique<CWordLinks>(word, line);
}

WordLineFactory GetWordLineFactory(const CVornDB& db, int index) {
  if (index == db.GetTagLineIndex()) return &MakeTagWordLine;
  if (index == db.GetGlossLineIndex()) return &MakeGlossWordLine;
  if (index == db.GetLemmaLineIndex()) return &MakeLemaWordLine;
  if (index == db.GetLinksLineIndex()) return &MakeLinksWordLine;
  return &MakeOrdinaryWordLine;
}

void InstallWordLineFactories(CVornDB* db) {
  for (int i = 0; i < db->GetLineCount(); ++i)
    db->GetLine(i)->SetFactory(GetWordLineFactory(*db, i));
}

}  // namespace vorn
