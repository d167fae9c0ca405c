// The Options dialog: selection style, splash time and the word tips' times.
#pragma once

#include <QDialog>

#include "shell/options.h"

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

 public slots:
  // Closes only when every value lies inside its range.
  void accept() override;

 private:
  QComboBox* sel_style_;
  QSpinBox* splash_time_;
  QSpinBox* word_tip_time_;
  QSpinBox* word_tip_delay_;
};

}  // namespace vorn::shell
