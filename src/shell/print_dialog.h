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

// What a pane hands over for printing; everything borrowed for the call.
struct PrintSource {
  CVornDB* db = nullptr;
  int layout_id = 0;
  bool hits_pane = false;
  const CViewMetrics* metrics = nullptr;
  CLayoutQueryState* state = nullptr;  // may be null
};

// The print dialog, then the job: the selection when "Selection" is
// chosen, else the passage of the pickers. An invalid passage is refused
// with a message before anything is printed. `setup` and `sink` borrowed.
void PrintPane(QWidget* parent, const PrintSource& source, CPrintSetup* setup,
               platform::CMessageSink* sink);
// The same pages in the preview window: the selection, or with none the
// passage the pickers would start with. A preview is drawn whole, so it
// shows at most the first kMaxPreviewPages pages.
inline constexpr int kMaxPreviewPages = 100;
void PreviewPane(QWidget* parent, const PrintSource& source, CPrintSetup* setup,
                 platform::CMessageSink* sink);

}  // namespace vorn::shell
