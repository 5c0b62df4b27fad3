#include "statistics_dialog.h"

#include <QCheckBox>
#include <QLineEdit>

#include "dialog_builder.h"

namespace sonvera::ui {
namespace {

constexpr std::array<int, 6> kPercentileIds{1011, 1012, 1019, 1036, 1037, 1016};

}  // namespace

StatisticsDialog::StatisticsDialog(const StatisticsSettings& settings,
                                   std::function<void(const std::string&)> showMessage, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      showMessage_(std::move(showMessage)) {
  setObjectName(QString::number(statisticsTemplate().id));
  const DialogControls controls = buildDialog(this, statisticsTemplate());
  for (std::size_t i = 0; i < kPercentileIds.size(); ++i) percentiles_[i] = controls.get<QLineEdit>(kPercentileIds[i]);
  threshold_ = controls.get<QLineEdit>(1017);
  minimum_ = controls.get<QCheckBox>(1006);
  maximum_ = controls.get<QCheckBox>(1007);
  leq_ = controls.get<QCheckBox>(1008);
  le_ = controls.get<QCheckBox>(1009);
  exceedance_ = controls.get<QCheckBox>(1010);

  const StatisticsForm form = formFor(settings);
  for (std::size_t i = 0; i < percentiles_.size(); ++i)
    percentiles_[i]->setText(QString::fromStdString(form.percentileTexts[i]));
  threshold_->setText(QString::fromStdString(form.thresholdText));
  minimum_->setChecked(form.minimum);
  maximum_->setChecked(form.maximum);
  leq_->setChecked(form.leq);
  le_->setChecked(form.le);
  exceedance_->setChecked(form.exceedance);
}

void StatisticsDialog::accept() {
  StatisticsForm form;
  for (std::size_t i = 0; i < percentiles_.size(); ++i) form.percentileTexts[i] = percentiles_[i]->text().toStdString();
  form.thresholdText = threshold_->text().toStdString();
  form.minimum = minimum_->isChecked();
  form.maximum = maximum_->isChecked();
  form.leq = leq_->isChecked();
  form.le = le_->isChecked();
  form.exceedance = exceedance_->isChecked();
  const StatisticsFormResult result = acceptForm(form);
  if (!result.settings) {
    showMessage_(text(result.error));
    return;
  }
  chosen_ = result.settings;
  QDialog::accept();
}

}  // namespace sonvera::ui
