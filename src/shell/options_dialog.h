// The Options dialog: selection style, splash time, the word tips' times
// and loose matching for new queries.
#pragma once

#include <QDialog>

#include "shell/options.h"

class QCheckBox;
class QComboBox;
class QSpinBox;

namespace vorn::shell {

class COptionsDialog : public QDialog {
  Q_OBJECT
 public:
  // Starts with `options`; `parent` may be null.
  COptionsDialog(const COptions& options, QWidget* parent);

  // The values as the fields hold them now.
  COptions GetOptions() const;

  QComboBox* GetSelStyleBox() const { return sel_style_; }
  QSpinBox* GetSplashTimeBox() const { return splash_time_; }
  QSpinBox* GetWordTipTimeBox() const { return word_tip_time_; }
  QSpinBox* GetWordTipDelayBox() const { return word_tip_delay_; }
  QCheckBox* GetLooseMatchingBox() const { return loose_matching_; }

 public slots:
  // Closes only when every value lies inside its range.
  void accept() override;

 private:
  QComboBox* sel_style_;
  QSpinBox* splash_time_;
  QSpinBox* word_tip_time_;
  QSpinBox* word_tip_delay_;
  QCheckBox* loose_matching_;
};

}  // namespace vorn::shell
