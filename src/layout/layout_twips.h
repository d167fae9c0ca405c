// Pixel lengths of a view in twips, for the rich-text writers.
#pragma once

#include <cstdint>

#include "metrics/rich_text.h"
#include "metrics/view_metrics.h"

namespace vorn {

class CLayoutTwips {
 public:
  // Metrics never prepared for a device have no resolution; their pixels
  // are taken as screen pixels of 96 per inch rather than dividing by 0.
  static constexpr int kFallbackResolution = 96;

  explicit CLayoutTwips(const CViewMetrics& metrics)
      : resolution_(metrics.GetResolution() > 0 ? metrics.GetResolution() : kFallbackResolution) {}
  int operator()(int pixels) const { return PixelsToTwips(pixels, resolution_); }
  // The whole pixels within `twips`: rounded down, so that a width given
  // by the page is never exceeded once written back in twips.
  int Pixels(int twips) const { return static_cast<int>(int64_t{twips} * resolution_ / 1440); }

 private:
  int resolution_;
};

}  // namespace vorn
