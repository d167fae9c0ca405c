// The word-line factories of the database lines. The text database opens
// its lines without them (it does not depend on the word-details code); a
// front end installs them into every database it opens.
#pragma once

#include <memory>

#include "textdb/line.h"
#include "textdb/word_line.h"

namespace vorn {

class CVornDB;

// Each makes the word line of its kind for `word` on `line`; the caller owns
// it. A line of another class than the kind expects gives an empty value.
std::unique_ptr<CWordLine> MakeOrdinaryWordLine(WordIndex word, CVornDBLine* line);
std::unique_ptr<CWordLine> MakeTagWordLine(WordIndex word, CVornDBLine* line);
std::unique_ptr<CWordLine> MakeGlossWordLine(WordIndex word, CVornDBLine* line);
std::unique_ptr<CWordLine> MakeLemaWordLine(WordIndex word, CVornDBLine* line);
std::unique_ptr<CWordLine> MakeLinksWordLine(WordIndex word, CVornDBLine* line);

// The factory for the line at `index` by its role in `db`.
WordLineFactory GetWordLineFactory(const CVornDB& db, int index);
// Sets every line's factory by its role ("Tag", "Glos", "Lema", "Links";
// the ordinary one for all others). Safe to call again.
void InstallWordLineFactories(CVornDB* db);

}  // namespace vorn
