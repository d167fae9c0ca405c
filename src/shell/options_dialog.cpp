#include "shell/options_dialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QSpinBox>
#include <QVBoxLayout>

namespace vorn::shell {

namespace {

// The spin box refuses every value outside the range as it is typed.
QSpinBox* MakeSpin(QWidget* parent, COptions::Range range, int value, const QString& suffix) {
  auto* box = new QSpinBox(parent);
  box->setRange(range.min, range.max);
  box->setValue(value);
  box->setSuffix(suffix);
  return box;
}

}  // namespace

COptionsDialog::COptionsDialog(const COptions& options, QWidget* parent) : QDialog(parent) {
  setWindowTitle(tr("Options"));
  auto* form = new QFormLayout;
  sel_style_ = new QComboBox(this);
  sel_style_->addItem(tr("Inverted"));
  sel_style_->addItem(tr("Yellow highlight"));
  sel_style_->setCurrentIndex(options.sel_style == 1 ? 1 : 0);
  form->addRow(tr("&Selection style:"), sel_style_);
  splash_time_ = MakeSpin(this, COptions::kSplashTimeRange, options.splash_time, tr(" s"));
  form->addRow(tr("S&plash window stays:"), splash_time_);
  word_tip_time_ = MakeSpin(this, COptions::kWordTipTimeRange, options.word_tip_time, tr(" s"));
  form->addRow(tr("Word tip &stays:"), word_tip_time_);
  word_tip_delay_ = MakeSpin(this, COptions::kWordTipDelayRange, options.word_tip_delay, tr(" ms"));
  word_tip_delay_->setSingleStep(100);
  form->addRow(tr("Word tip &delay:"), word_tip_delay_);
  loose_matching_ = new QCheckBox(
      tr("Ignore &accents and case in search words (\"=word\" matches exactly)"), this);
  loose_matching_->setChecked(options.loose_matching);
  form->addRow(tr("Queries:"), loose_matching_);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &COptionsDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &COptionsDialog::reject);
  auto* box = new QVBoxLayout(this);
  box->addLayout(form);
  box->addWidget(buttons);
}

COptions COptionsDialog::GetOptions() const {
  COptions o;
  o.sel_style = sel_style_->currentIndex() == 1 ? 1 : 0;
  o.splash_time = splash_time_->value();
  o.word_tip_time = word_tip_time_->value();
  o.word_tip_delay = word_tip_delay_->value();
  o.loose_matching = loose_matching_->isChecked();
  return o;
}

void COptionsDialog::accept() {
  if (!GetOptions().IsValid()) {
    QApplication::beep();
    return;
  }
  QDialog::accept();
}

}  // namespace vorn::shell
