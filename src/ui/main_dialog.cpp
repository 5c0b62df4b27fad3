#include "main_dialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "app/strings.h"

namespace sonvera::ui {

MainDialog::MainDialog(const DeviceCatalogue& catalogue, QWidget* parent)
    : QDialog(parent), baseTitle_(QString::fromUtf8(sonvera::baseTitle())), host_(this),
      logic_(std::make_unique<sonvera::MainDialog>(catalogue, host_)) {
  setObjectName("102");
  setWindowTitle(baseTitle_);
  auto* layout = new QVBoxLayout(this);
  auto* open = new QPushButton(QStringLiteral("Открыть файл"), this);
  open->setObjectName("1046");
  connect(open, &QPushButton::clicked, this, &MainDialog::openFile);
  auto* top = new QHBoxLayout;
  top->addWidget(open);
  top->addStretch();
  layout->addLayout(top);
  summary_ = new QLabel(this);
  summary_->setObjectName("1001");
  layout->addWidget(summary_);
  rangeUnits_ = new QLabel(QString::fromUtf8(kRecordRangeUnits), this);
  rangeUnits_->setObjectName("1041");
  layout->addWidget(rangeUnits_);
  layout->addWidget(new QLabel(QStringLiteral("Калибровочные поправки:"), this));
  calibration_ = new QListWidget(this);
  calibration_->setObjectName("1045");
  layout->addWidget(calibration_);
  resize(640, 420);
}

MainDialog::~MainDialog() { logic_->stopExport(); }

void MainDialog::start(const QStringList& arguments) {
  std::vector<std::string> plain;
  for (const auto& argument : arguments) plain.push_back(argument.toStdString());
  const bool askForFile = logic_->processCommandLine(plain);
  refresh();
  // Posted, so that the file dialog comes up once the window is shown.
  if (askForFile) QTimer::singleShot(0, this, &MainDialog::openFile);
}

void MainDialog::openFile() {
  logic_->openFileCommand();
  refresh();
}

void MainDialog::refresh() {
  const MainDialogState& s = logic_->state();
  setWindowTitle(QString::fromStdString(s.title));
  QStringList lines;
  for (const std::string* field : {&s.model, &s.vin, &s.span, &s.records, &s.step})
    if (!field->empty()) lines << QString::fromStdString(*field);
  summary_->setText(lines.join("   "));
  rangeUnits_->setText(QString::fromStdString(s.rangeUnits));
  calibration_->clear();
  for (const auto& line : s.calibrationLines) calibration_->addItem(QString::fromStdString(line));
}

}  // namespace sonvera::ui
