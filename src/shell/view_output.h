// The output side of a pane's commands, kept apart from the pane so that it
// can be driven without one: text variants, the clipboard documents, the
// paper width, the database information text.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "textdb/types.h"

class QClipboard;
class QMimeData;

namespace vorn {
class CLayoutQueryState;
class CViewMetrics;
class CVornDB;
}  // namespace vorn

namespace vorn::shell {

// The names databases give the variants of their text line that the
// "No Cantillations" and "Consonants only" commands show.
inline constexpr std::u16string_view kVariantNoCantillations = u"NoCant";
inline constexpr std::u16string_view kVariantConsonants = u"Cons";

// The 1-based number of the text variant `name` of the database's "Form"
// line; 0 when the database has no such line or no such variant.
int FindTextVariant(const CVornDB& db, std::u16string_view name);
// Shows the variant `name` in `metrics`, or the normal text again when that
// variant is already shown. False, changing nothing, when the database has
// no such variant.
bool ToggleTextVariant(CViewMetrics* metrics, const CVornDB& db, std::u16string_view name);

// What the two copy commands put on the clipboard.
struct CopyDocument {
  std::u16string rtf;   // a whole rich-text document
  std::u16string text;  // plain text of the top visible interlinear line
};

// Lays out the selection (ascending word indexes) in a new layout of kind
// `layout_id` over a copy of the pane's `metrics`, measured for the screen,
// and writes it: the rich text has every display line a table row
// (`as_text` false), its rows broken to fit `page_width_twips` when that is
// positive, or the top visible interlinear line alone as running text
// (`as_text` true); the plain text is always that top line. Headings above
// the selection's first unit are left out. `db`, `metrics` and `state` are
// only borrowed for the call; `state` may be null. An empty selection gives
// a document with its tables and nothing else.
CopyDocument MakeCopyDocument(int layout_id, bool hits_pane, CVornDB* db,
                              const CViewMetrics& metrics, CLayoutQueryState* state,
                              const std::vector<WordIndex>& selection, bool as_text,
                              int page_width_twips = 0);
// The clipboard formats of a copy: the rich text as "text/rtf" and as
// "Rich Text Format" (8-bit: the low byte of every code unit), the plain
// text, when there is one, as Unicode text. With `with_source` the rich-text
// source also goes out as 8-bit text ("text/plain;charset=ISO-8859-1"), and
// as the plain text when the copy has none, so that any editor shows it.
// The caller owns the result.
QMimeData* MakeClipboardData(const CopyDocument& document, bool with_source);
// Replaces the clipboard's contents with the copy (`clipboard` borrowed).
void PlaceOnClipboard(QClipboard* clipboard, const CopyDocument& document, bool with_source);

// The window width at which a pane `pane_width` pixels wide in a window
// `window_width` wide becomes as wide as the printable page: paper width
// less both margins (thousandths of an inch) at `pixels_per_inch` of the
// screen. The window width itself when the pane has no width or the page
// none.
int PaperWidthWindowWidth(int window_width, int pane_width, int printable_thousandths,
                          int pixels_per_inch);

// The database information as plain text: the title with the short name,
// the rights notices, the compilation note and the word-links note, blank
// lines between them; parts the database lacks are left out.
std::u16string MakeBibleInformation(const CVornDB& db);

}  // namespace vorn::shell
