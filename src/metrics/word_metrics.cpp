#include "metrics/word_metrics.h"

#include "metrics/view_metrics.h"

namespace vorn {

CWordMetrics::CWordMetrics(WordIndex word, CViewMetrics* metrics) : word_(word), metrics_(metrics) {
  if (metrics->IsWordTagged(word) && metrics->GetMarkupSource())
    tags_ = metrics->GetMarkupSource()->MakeWordTags(word, *metrics);
  has_note_ = metrics->HasNote(word);
  rects_.resize(static_cast<size_t>(metrics->GetLineCount()));
}

CWordMetrics::~CWordMetrics() = default;

bool CWordMetrics::IsLineVisible(int line) const { return metrics_->IsLineVisible(line); }

int CWordMetrics::GetFirstVisibleLine() const {
  for (int i = 0; i < metrics_->GetLineCount(); ++i)
    if (metrics_->IsLineVisible(i)) return i;
  return -1;
}

const CFontFormat& CWordMetrics::GetLineFont(int line) const {
  if (tags_ && line == GetFirstVisibleLine()) return metrics_->GetTagFont(tags_->GetStyle());
  return metrics_->GetLineFont(line);
}

}  // namespace vorn
