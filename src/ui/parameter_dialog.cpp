#include "parameter_dialog.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QSignalBlocker>

#include "dialog_builder.h"

namespace sonvera::ui {
namespace {

void showList(QComboBox* combo, const ChoiceList& list) {
  const QSignalBlocker blocker(combo);
  combo->clear();
  for (const std::string& entry : list.entries) combo->addItem(QString::fromStdString(entry));
  combo->setCurrentIndex(list.selection ? static_cast<int>(*list.selection) : -1);
  combo->setEnabled(list.enabled);
  // The closed list keeps its template width; the opened one shows whole names.
  combo->view()->setMinimumWidth(combo->view()->sizeHintForColumn(0) + 8);
}

std::optional<std::size_t> position(int index) {
  if (index < 0) return std::nullopt;
  return static_cast<std::size_t>(index);
}

}  // namespace

ParameterDialog::ParameterDialog(const DeviceCatalogue& catalogue, const MeasurementFile& file,
                                 const ExportItem& item, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      selection_(catalogue, file.values, file.channels, file.description, item) {
  setObjectName(QString::number(parameterSelectionTemplate().id));
  const DialogControls controls = buildDialog(this, parameterSelectionTemplate());
  groups_ = controls.get<QComboBox>(1009);
  parameters_ = controls.get<QComboBox>(1010);
  bands_ = controls.get<QComboBox>(1011);
  channels_ = controls.get<QComboBox>(1012);
  showLists();
  connect(groups_, &QComboBox::currentIndexChanged, this, [this](int index) {
    selection_.chooseGroup(position(index));
    showLists();
  });
  connect(parameters_, &QComboBox::currentIndexChanged, this,
          [this](int index) { selection_.chooseParameter(position(index)); });
  connect(bands_, &QComboBox::currentIndexChanged, this, [this](int index) { selection_.chooseBand(position(index)); });
  connect(channels_, &QComboBox::currentIndexChanged, this,
          [this](int index) { selection_.chooseChannel(position(index)); });
}

void ParameterDialog::showLists() {
  showList(groups_, selection_.groups());
  showList(parameters_, selection_.parameters());
  showList(bands_, selection_.bands());
  showList(channels_, selection_.channels());
}

void ParameterDialog::accept() {
  chosen_ = selection_.accept();
  if (chosen_) QDialog::accept();
}

}  // namespace sonvera::ui
