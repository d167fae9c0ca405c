// What the user last chose in any pane for the interlinear lines, the
// magnification and the word tips, so that the next pane opened starts the
// same way. One object for the whole program.
#pragma once

#include <map>
#include <set>
#include <string>
#include <string_view>

namespace vorn {
class CViewMetrics;
class CVornDB;
}  // namespace vorn

namespace vorn::shell {

class CPersistentViewSettings {
 public:
  // The program's one instance; lives until exit. User-interface thread only.
  static CPersistentViewSettings& Instance();

  CPersistentViewSettings();

  // Lines are remembered by name, so that a choice made on one database
  // carries over to every database with a line of that name.
  void SetLineVisible(std::string_view line_name, bool visible);
  bool IsLineVisible(std::string_view line_name) const;
  // Line name -> "InVis" for every hidden line; visible lines have no entry.
  const std::map<std::string, std::string, std::less<>>& GetLineStates() const { return lines_; }

  int GetMagnification() const { return magnification_; }
  // 0 and negative values are ignored.
  void SetMagnification(int percent);

  bool GetShowTips() const { return show_tips_; }
  void SetShowTips(bool on) { show_tips_ = on; }

  // Remembers every line of `metrics` (names from `db`) and its
  // magnification.
  void CopyFrom(const CViewMetrics& metrics, const CVornDB& db);
  // Gives a new pane's metrics the remembered visibility and magnification.
  // The links line (notes and dictionary entries, shortened in the stack,
  // whose Strong's number another line shows already) starts hidden until
  // the user shows it. A database whose every line is remembered as hidden
  // keeps its first line visible: a pane never shows nothing.
  void ApplyTo(CViewMetrics* metrics, const CVornDB& db) const;

  // Back to the state at start: every line visible, 100 %, tips on.
  void Reset();

 private:
  std::map<std::string, std::string, std::less<>> lines_;
  // Lines the user showed, for those hidden unless shown.
  std::set<std::string, std::less<>> shown_;
  int magnification_ = 100;
  bool show_tips_ = true;
};

}  // namespace vorn::shell
