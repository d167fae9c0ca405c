// Printing and previewing a pane: the print dialog with its panel of two
// reference pickers ("from" and "to"), the choice between the selection
// and that passage, and the job on the application's printer.
#pragma once

#include <QWidget>
#include <vector>

#include "textdb/types.h"

namespace vorn {
class CBibleRef;
class CLayoutQueryState;
class CViewMetrics;
class CVornDB;
namespace platform {
class CMessageSink;
}
}  // namespace vorn

namespace vorn::shell {

class Cbcv;
class CPrintSetup;

// The panel the print dialog gains: the passage to print when the dialog's
// page-range choice (not "Selection") is taken.
class CPrintRangePanel : public QWidget {
  Q_OBJECT
 public:
  explicit CPrintRangePanel(QWidget* parent);

  // Both references must be bound to a database that outlives the panel.
  void SetRange(const CBibleRef& from, const CBibleRef& to);
  Cbcv* GetFromPicker() const { return from_; }
  Cbcv* GetToPicker() const { return to_; }

 private:
  Cbcv* from_;
  Cbcv* to_;
};

// The verses the pickers start with: those of the first and the last
// selected word, or, with no selection, the first verse of the database and
// the verse of its last word.
void StartingRange(CVornDB* db, const std::vector<WordIndex>& selection, CBibleRef* from,
                   CBibleRef* to);

// The passage last chosen in a pane's print dialog or preview, so that the
// next print of the pane starts from it.
struct PrintPassage {
  bool chosen = false;   // false until the user confirmed a passage
  WordIndex first = -1;  // a word of the first verse
  WordIndex last = -1;   // a word of the last verse
};

// What a pane hands over for printing; everything borrowed for the call.
struct PrintSource {
  CVornDB* db = nullptr;
  int layout_id = 0;
  bool hits_pane = false;
  const CViewMetrics* metrics = nullptr;
  CLayoutQueryState* state = nullptr;  // may be null
  // The words the pane shows (first <= w < end); first -1 when unknown.
  WordSpan in_view{-1, -1};
  // The pane's remembered passage (may be null): read when the dialog
  // opens, written when a passage is printed or previewed.
  PrintPassage* remembered = nullptr;
};

// The verses the pickers start with: the remembered passage, else the
// verses in view, else those StartingRange gives without a selection.
void OfferedRange(const PrintSource& source, CBibleRef* from, CBibleRef* to);
// "Selection" is offered only for a selection of more than one word: the
// current word alone is selected whenever the pane has one.
bool OffersSelection(const std::vector<WordIndex>& selection);

// The print dialog, then the job: the selection when "Selection" is
// chosen, else the passage of the pickers. An invalid passage is refused
// with a message before anything is printed. `setup` and `sink` borrowed.
void PrintPane(QWidget* parent, const PrintSource& source, CPrintSetup* setup,
               platform::CMessageSink* sink);
// The same pages in the preview window, with the pickers above them: the
// selection when one is offered, else the passage the print dialog would
// start with; a passage picked there redraws the preview. A preview is
// drawn whole, so it shows at most the first kMaxPreviewPages pages.
inline constexpr int kMaxPreviewPages = 100;
void PreviewPane(QWidget* parent, const PrintSource& source, CPrintSetup* setup,
                 platform::CMessageSink* sink);

}  // namespace vorn::shell
