#pragma once
// "Статистика": percentiles, minimum, maximum, Leq, LE and exceedance.

#include <QDialog>
#include <array>
#include <functional>
#include <optional>
#include <string>

#include "app/statistics_dialog.h"

class QCheckBox;
class QLineEdit;

namespace sonvera::ui {

class StatisticsDialog : public QDialog {
  Q_OBJECT
 public:
  // `showMessage` reports a refused OK (threshold or percentile).
  StatisticsDialog(const StatisticsSettings& settings, std::function<void(const std::string&)> showMessage,
                   QWidget* parent);

  const std::optional<StatisticsSettings>& chosen() const { return chosen_; }

 public slots:
  void accept() override;

 private:
  std::array<QLineEdit*, 6> percentiles_{};
  QLineEdit* threshold_ = nullptr;
  QCheckBox *minimum_ = nullptr, *maximum_ = nullptr, *leq_ = nullptr, *le_ = nullptr, *exceedance_ = nullptr;
  std::function<void(const std::string&)> showMessage_;
  std::optional<StatisticsSettings> chosen_;
};

}  // namespace sonvera::ui
