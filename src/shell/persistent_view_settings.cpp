#include "shell/persistent_view_settings.h"

#include <algorithm>

#include "metrics/view_metrics.h"
#include "textdb/vorn_db.h"

namespace vorn::shell {

namespace {
constexpr char kInvisible[] = "InVis";
}  // namespace

CPersistentViewSettings& CPersistentViewSettings::Instance() {
  static CPersistentViewSettings settings;
  return settings;
}

CPersistentViewSettings::CPersistentViewSettings() = default;

void CPersistentViewSettings::SetLineVisible(std::string_view line_name, bool visible) {
  if (visible) {
    auto it = lines_.find(line_name);
    if (it != lines_.end()) lines_.erase(it);
    shown_.emplace(line_name);
  } else {
    lines_[std::string(line_name)] = kInvisible;
    auto it = shown_.find(line_name);
    if (it != shown_.end()) shown_.erase(it);
  }
}

bool CPersistentViewSettings::IsLineVisible(std::string_view line_name) const {
  auto it = lines_.find(line_name);
  return it == lines_.end() || it->second != kInvisible;
}

void CPersistentViewSettings::SetMagnification(int percent) {
  if (percent > 0) magnification_ = percent;
}

void CPersistentViewSettings::CopyFrom(const CViewMetrics& metrics, const CVornDB& db) {
  for (int i = 0; i < db.GetLineCount() && i < metrics.GetLineCount(); ++i)
    SetLineVisible(db.GetLineName(i), metrics.IsLineVisible(i));
  SetMagnification(metrics.GetMagnification());
}

void CPersistentViewSettings::ApplyTo(CViewMetrics* metrics, const CVornDB& db) const {
  const int count = std::min(db.GetLineCount(), metrics->GetLineCount());
  const int links = db.GetLinksLineIndex();
  auto shows = [&](int i) {
    const std::string name = db.GetLineName(i);
    return IsLineVisible(name) && (i != links || shown_.find(name) != shown_.end());
  };
  bool any_visible = false;
  for (int i = 0; i < count; ++i) any_visible = any_visible || shows(i);
  for (int i = 0; i < count; ++i) metrics->SetLineVisible(i, shows(i) || (!any_visible && i == 0));
  if (magnification_ != metrics->GetMagnification())
    metrics->Prepare(metrics->GetDevice(), magnification_);
}

void CPersistentViewSettings::Reset() {
  lines_.clear();
  shown_.clear();
  magnification_ = 100;
  show_tips_ = true;
}

}  // namespace vorn::shell
