#pragma once
// "Выбор параметра": four drop-down lists over the parameter selection logic.

#include <QDialog>
#include <optional>

#include "app/parameter_selection.h"
#include "measurement/measurement_file.h"

class QComboBox;

namespace sonvera::ui {

class ParameterDialog : public QDialog {
  Q_OBJECT
 public:
  ParameterDialog(const DeviceCatalogue& catalogue, const MeasurementFile& file, const ExportItem& item,
                  QWidget* parent);

  // The item chosen with "Да".
  const std::optional<ExportItem>& chosen() const { return chosen_; }

 public slots:
  // "Да" closes only when a parameter, a band and a channel are selected.
  void accept() override;

 private:
  void showLists();

  ParameterSelection selection_;
  QComboBox* groups_ = nullptr;
  QComboBox* parameters_ = nullptr;
  QComboBox* bands_ = nullptr;
  QComboBox* channels_ = nullptr;
  std::optional<ExportItem> chosen_;
};

}  // namespace sonvera::ui
