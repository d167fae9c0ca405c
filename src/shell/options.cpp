#include "shell/options.h"

#include <algorithm>

#include "textdb/ini_file.h"

namespace vorn::shell {

namespace {

bool InRange(int value, COptions::Range r) { return value >= r.min && value <= r.max; }

void LoadValue(const CIniFile& settings, const char16_t* key, COptions::Range r, int* value) {
  int32_t stored = 0;
  if (settings.GetInt(COptions::kSection, key, &stored))
    *value = std::clamp<int>(stored, r.min, r.max);
}

}  // namespace

bool COptions::IsValid() const {
  return InRange(sel_style, kSelStyleRange) && InRange(splash_time, kSplashTimeRange) &&
         InRange(word_tip_time, kWordTipTimeRange) && InRange(word_tip_delay, kWordTipDelayRange);
}

void COptions::Load(const CIniFile& settings) {
  LoadValue(settings, u"SelStyle", kSelStyleRange, &sel_style);
  LoadValue(settings, u"SplashTime", kSplashTimeRange, &splash_time);
  LoadValue(settings, u"WordTipTime", kWordTipTimeRange, &word_tip_time);
  LoadValue(settings, u"WordTipDelay", kWordTipDelayRange, &word_tip_delay);
  settings.GetBool(kSection, u"LooseMatching", &loose_matching);
}

void COptions::Save(CIniFile* settings) const {
  settings->SetInt(kSection, u"SelStyle", sel_style);
  settings->SetInt(kSection, u"SplashTime", splash_time);
  settings->SetInt(kSection, u"WordTipTime", word_tip_time);
  settings->SetInt(kSection, u"WordTipDelay", word_tip_delay);
  settings->SetBool(kSection, u"LooseMatching", loose_matching);
}

}  // namespace vorn::shell
