// The program's options, kept in section "Options" of the program settings:
// the selection style, the times of the splash window and word tips, and
// whether new queries match their words loosely.
#pragma once

namespace vorn {
class CIniFile;
}

namespace vorn::shell {

struct COptions {
  static constexpr char16_t kSection[] = u"Options";

  struct Range {
    int min;
    int max;
  };
  static constexpr Range kSelStyleRange{0, 1};
  static constexpr Range kSplashTimeRange{0, 10};
  static constexpr Range kWordTipTimeRange{2, 120};
  static constexpr Range kWordTipDelayRange{0, 10000};

  // 1: selected words are painted on a yellow field instead of inverted.
  int sel_style = 0;
  int splash_time = 6;     // seconds
  int word_tip_time = 5;   // seconds a word tip stays
  int word_tip_delay = 0;  // milliseconds before a word tip shows
  // Search words match ignoring accents, points, breathings and case unless
  // written "=word"; off: they match exactly unless written "~word".
  bool loose_matching = false;

  bool UsesYellowSelection() const { return sel_style == 1; }
  // Every value lies inside its range.
  bool IsValid() const;

  // Keys SelStyle, SplashTime, WordTipTime, WordTipDelay, LooseMatching. A missing key
  // keeps the default; a value outside its range is brought to the nearest
  // end of the range, as the dialog would not have let it through.
  void Load(const CIniFile& settings);
  void Save(CIniFile* settings) const;

  bool operator==(const COptions&) const = default;
};

}  // namespace vorn::shell
