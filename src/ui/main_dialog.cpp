#include "main_dialog.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QClipboard>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QPushButton>
#include <QShortcut>
#include <QSignalBlocker>
#include <QTimer>

#include "app/strings.h"
#include "analysis_menu.h"
#include "assessment_window.h"
#include "progress_dialog.h"
#include "chart_window.h"
#include "record_viewer_dialog.h"
#include "shared_resources.h"

namespace sonvera::ui {
namespace {

QString qt(const std::string& text) { return QString::fromStdString(text); }

// Tool tips hold at most 79 characters.
constexpr int kToolTipLimit = 79;

// The local files of a drop, or nothing when anything else is dropped.
QStringList droppedFiles(const QMimeData* data) {
  QStringList paths;
  if (data == nullptr || !data->hasUrls()) return paths;
  for (const QUrl& url : data->urls()) {
    if (!url.isLocalFile()) return {};
    paths << url.toLocalFile();
  }
  return paths;
}

std::vector<std::string> plainPaths(const QStringList& paths) {
  std::vector<std::string> plain;
  for (const QString& path : paths) plain.push_back(path.toStdString());
  return plain;
}

}  // namespace

MainDialog::MainDialog(const DeviceCatalogue& catalogue, std::unique_ptr<QtHost> host, QWidget* parent)
    : QDialog(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint),
      host_(host ? std::move(host) : std::make_unique<QtHost>(catalogue)) {
  host_->attach(this);
  logic_ = std::make_unique<sonvera::MainDialog>(catalogue, *host_);
  setObjectName(QString::number(mainDialogTemplate().id));
  setWindowIcon(applicationIcon());
  controls_ = buildDialog(this, mainDialogTemplate());
  // The overload and underload details show also while another window is active.
  setAttribute(Qt::WA_AlwaysShowToolTips);
  setAcceptDrops(true);
  for (QLineEdit* edit : findChildren<QLineEdit*>()) edit->setAcceptDrops(false);
  controls_.get<QLabel>(1010)->installEventFilter(this);

  progress_ = new ProgressDialog(this);
  connect(progress_, &ProgressDialog::cancelRequested, this, [this] { logic_->stopExport(); }, Qt::QueuedConnection);
  host_->onProgress = [this](int percent) { progressArrived(percent); };

  for (const QKeySequence& keys : copyKeys())
    connect(new QShortcut(keys, this), &QShortcut::activated, this, &MainDialog::copySelectedLine);
  connectCommands();
  refresh();
}

MainDialog::~MainDialog() { logic_->stopExport(); }

void MainDialog::connectCommands() {
  const auto button = [this](int id, auto command) {
    connect(controls_.get<QPushButton>(id), &QPushButton::clicked, this, [this, command] { run(command); });
  };
  sonvera::MainDialog& l = *logic_;
  button(1046, [&l] { l.openFileCommand(); });
  button(1029, [&l] { l.startExport(); });
  button(1051, [&l] { l.openStatistics(); });
  button(1034, [&l] { l.addExportItem(); });
  button(1047, [&l] { l.addAllExportItems(); });
  button(1043, [&l] { l.moveExportItemUp(); });
  button(1044, [&l] { l.moveExportItemDown(); });
  button(1050, [&l] { l.deleteExportItem(); });
  button(1035, [&l] { l.clearExportList(); });
  button(1027, [&l] { l.saveSettingsCommand(); });
  button(1028, [&l] { l.loadSettingsCommand(); });

  const auto check = [this](int id, auto command) {
    connect(controls_.get<QCheckBox>(id), &QCheckBox::clicked, this,
            [this, command](bool checked) { run([&] { command(checked); }); });
  };
  check(1038, [&l](bool checked) { l.switchRangeMode(checked); });
  check(1015, [&l](bool checked) { l.clickAveraging(checked); });
  check(1016, [&l](bool checked) { l.clickMaxima(checked); });
  // The enabling rules follow the state of 1042 and 1017.
  check(1042, [](bool) {});
  check(1017, [](bool) {});

  // The viewer reads the open file's last record as the open decoded it.
  connect(controls_.get<QPushButton>(1008), &QPushButton::clicked, this, [this] {
    RecordViewerDialog viewer(logic_->catalogue(), logic_->file(), this);
    viewer.exec();
  });

  auto* list = controls_.get<QListWidget>(1033);
  connect(list, &QListWidget::currentRowChanged, this, [this](int row) {
    logic_->selectExportLine(row < 0 ? std::nullopt : std::optional<std::size_t>(static_cast<std::size_t>(row)));
  });
  connect(list, &QListWidget::itemDoubleClicked, this, [this] { run([this] { logic_->editExportItem(); }); });

  // "График…" of the selected entry (or all entries when none is selected)
  // and "Оценка шума…" of the selected entry (or the first) from the list's
  // menu, the button "Анализ" beside "Все", Ctrl+G and Ctrl+L.
  const AnalysisCommands analysis{[this] { openChart(); }, [this] { openAssessment(); }};
  list->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(list, &QListWidget::customContextMenuRequested, this, [this, list, analysis](const QPoint& at) {
    runAnalysisMenu(this, analysis, list->viewport()->mapToGlobal(at));
  });
  addAnalysisEntries(this, controls_.get<QPushButton>(1047), analysis);
}

void MainDialog::openAssessment() {
  collect();
  const auto job = logic_->assessmentJob(logic_->state().exportListSelection);
  refresh();
  if (!job) return;
  AssessmentWindow assessment(*logic_, *job, this);
  assessment.exec();
}

void MainDialog::openChart() {
  collect();
  const auto job = logic_->chartJob(logic_->state().exportListSelection);
  refresh();
  if (!job) return;
  ChartWindow chart(*logic_, *job, this);
  connect(&chart, &ChartWindow::rangeTaken, this, &MainDialog::refresh);
  chart.exec();
}

bool MainDialog::eventFilter(QObject* watched, QEvent* event) {
  // A double-click on the statistics summary opens its dialog.
  if (watched == controls_.get<QLabel>(1010) && event->type() == QEvent::MouseButtonDblClick) {
    run([this] { logic_->openStatistics(); });
    return true;
  }
  return QDialog::eventFilter(watched, event);
}

void MainDialog::start(const QStringList& arguments) {
  bool askForFile = false;
  run([&] { askForFile = logic_->processCommandLine(plainPaths(arguments)); });
  // Posted, so that the file dialog comes up once the window is shown.
  if (askForFile)
    QTimer::singleShot(0, this, [this] { run([this] { logic_->openFileCommand(); }); });
}

void MainDialog::collect() {
  MainDialogState& s = logic_->editableState();
  const auto text = [this](int id) { return controls_.get<QLineEdit>(id)->text().toStdString(); };
  const auto checked = [this](int id) { return controls_.get<QCheckBox>(id)->isChecked(); };
  const auto flag = [&](int id) { return std::int32_t{checked(id) ? 1 : 0}; };
  const auto radio = [this](int id) { return controls_.get<QAbstractButton>(id)->isChecked(); };
  s.rangeFrom = text(1036);
  s.rangeTo = text(1037);
  s.rangeInRecords = checked(1038);
  s.split = checked(1042);
  s.splitPeriod = text(1011);
  s.splitByRecords = radio(1032);
  s.decimate = checked(1017);
  s.decimationStep = text(1012);
  s.decimateByRecords = radio(1014);
  s.averaging = checked(1015);
  s.maxima = checked(1016);
  s.valueSeparator = controls_.radioGroup(1022)->checkedId();
  s.decimalSeparator = controls_.radioGroup(1020)->checkedId();
  s.shortNames = flag(1025);
  s.linearUnits = flag(1018);
  s.sourceInfo = flag(1026);
  s.recordNumber = flag(1048);
  s.recordTime = flag(1049);
  s.comment = text(1019);
}

void MainDialog::refresh() {
  const MainDialogState& s = logic_->state();
  setWindowTitle(qt(s.title));
  const auto setText = [this](int id, const std::string& text) { controls_.get<QLabel>(id)->setText(qt(text)); };
  const auto setEdit = [this](int id, const std::string& text) {
    auto* edit = controls_.get<QLineEdit>(id);
    if (edit->text() != qt(text)) edit->setText(qt(text));
  };
  const auto setCheck = [this](int id, bool on) { controls_.get<QAbstractButton>(id)->setChecked(on); };
  const auto enable = [this](std::initializer_list<int> ids, bool on) {
    for (int id : ids) controls_.get<QWidget>(id)->setEnabled(on);
  };

  setText(1001, s.model);
  setText(1002, s.vin);
  setText(1003, s.span);
  setText(1004, s.records);
  setText(1005, s.step);
  setCheck(1006, s.over);
  setCheck(1007, s.under);
  setText(1039, s.overloadSummary);
  setText(1040, s.underloadSummary);
  controls_.get<QLabel>(1039)->setToolTip(qt(s.overloadDetails).left(kToolTipLimit));
  controls_.get<QLabel>(1040)->setToolTip(qt(s.underloadDetails).left(kToolTipLimit));
  auto* calibration = controls_.get<QListWidget>(1045);
  calibration->clear();
  for (const std::string& line : s.calibrationLines) calibration->addItem(qt(line));

  setEdit(1036, s.rangeFrom);
  setEdit(1037, s.rangeTo);
  setCheck(1038, s.rangeInRecords);
  setText(1041, s.rangeUnits);

  setCheck(1042, s.split);
  setEdit(1011, s.splitPeriod);
  checkRadio(controls_.radioGroup(1031), s.splitByRecords ? 1 : 0);
  enable({1011, 1031, 1032}, s.splitControlsEnabled());
  setCheck(1017, s.decimate);
  setEdit(1012, s.decimationStep);
  checkRadio(controls_.radioGroup(1013), s.decimateByRecords ? 1 : 0);
  setCheck(1015, s.averaging);
  setCheck(1016, s.maxima);
  enable({1012, 1013, 1014, 1015, 1016}, s.decimationControlsEnabled());

  checkRadio(controls_.radioGroup(1022), s.valueSeparator);
  checkRadio(controls_.radioGroup(1020), s.decimalSeparator);
  setCheck(1025, s.shortNames != 0);
  setCheck(1018, s.linearUnits != 0);
  setCheck(1026, s.sourceInfo != 0);
  setCheck(1048, s.recordNumber != 0);
  setCheck(1049, s.recordTime != 0);
  setEdit(1019, s.comment);
  setText(1010, s.statisticsSummary);

  auto* list = controls_.get<QListWidget>(1033);
  const QSignalBlocker blocker(list);
  list->clear();
  for (const std::string& line : s.exportListLines) list->addItem(qt(line));
  if (s.exportListSelection && *s.exportListSelection < s.exportListLines.size())
    list->setCurrentRow(static_cast<int>(*s.exportListSelection));
  else
    list->setCurrentRow(-1);
}

void MainDialog::progressArrived(int percent) {
  if (percent >= 0) {
    progress_->showProgress(percent);
    return;
  }
  if (!logic_->exportEndArrived()) return;  // the end of an export a newer one replaced
  progress_->showProgress(-1);
  logic_->finishExport();
}

void MainDialog::copySelectedLine() {
  auto* list = qobject_cast<QListWidget*>(focusWidget());
  if (list == nullptr || list->currentItem() == nullptr || !list->currentItem()->isSelected()) return;
  QApplication::clipboard()->setText(list->currentItem()->text());
}

void MainDialog::dragEnterEvent(QDragEnterEvent* event) {
  if (!droppedFiles(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void MainDialog::dropEvent(QDropEvent* event) {
  const QStringList paths = droppedFiles(event->mimeData());
  if (paths.isEmpty()) return;
  event->acceptProposedAction();
  run([&] { logic_->dropFiles(plainPaths(paths)); });
}

}  // namespace sonvera::ui
