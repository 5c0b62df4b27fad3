#include "assessment_window.h"

#include <QChart>
#include <QAreaSeries>
#include <QChartView>
#include <QDateTime>
#include <QComboBox>
#include <QDateTimeAxis>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLegendMarker>
#include <QLineEdit>
#include <QLineSeries>
#include <QPushButton>
#include <QScatterSeries>
#include <QScreen>
#include <QSplitter>
#include <QTabWidget>
#include <QValueAxis>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <limits>

#include "app/main_dialog.h"
#include "cell_table_view.h"
#include "chart_bands.h"
#include "progress_dialog.h"
#include "time_axis.h"

namespace sonvera::ui {
namespace {

QString qt(const std::string& text) { return QString::fromStdString(text); }

QString intervalCaption(std::uint32_t minutes) {
  return minutes == 1440 ? QStringLiteral("24 ч") : QStringLiteral("%1 мин").arg(minutes);
}

QLineEdit* numberField(const QString& name, QWidget* parent, int width = 44) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(name);
  edit->setFixedWidth(width);
  edit->setAlignment(Qt::AlignRight);
  return edit;
}

// More pieces of the Leq line than this are drawn as one, their gaps bridged.
constexpr std::size_t kMostPieces = 200;

}  // namespace

AssessmentWindow::AssessmentWindow(sonvera::MainDialog& dialog, const ExportJob& job, QWidget* parent)
    : QDialog(parent), logic_(dialog, job) {
  setObjectName(QStringLiteral("AssessmentWindow"));
  setWindowTitle(QStringLiteral("Оценка шума"));
  setWindowFlags(windowFlags() | Qt::WindowMaximizeButtonHint | Qt::WindowMinimizeButtonHint);

  // The parameters, in two rows.
  auto* parameters = new QGroupBox(QStringLiteral("Параметры"), this);
  auto* grid = new QGridLayout(parameters);
  interval_ = new QComboBox(parameters);
  interval_->setObjectName(QStringLiteral("interval"));
  for (const std::uint32_t minutes : kIntervalMinutes) interval_->addItem(intervalCaption(minutes));
  exclusion_ = new QComboBox(parameters);
  exclusion_->setObjectName(QStringLiteral("exclusion"));
  for (const char* caption : kExclusionCaptions) exclusion_->addItem(QString::fromUtf8(caption));
  const char* const periodNames[] = {"dayStart", "eveningStart", "nightStart"};
  const char* const penaltyNames[] = {"dayPenalty", "eveningPenalty", "nightPenalty"};
  for (int i = 0; i < 3; ++i) {
    periods_[i] = numberField(QString::fromLatin1(periodNames[i]), parameters, 34);
    penalties_[i] = numberField(QString::fromLatin1(penaltyNames[i]), parameters, 34);
  }
  threshold_ = numberField(QStringLiteral("threshold"), parameters);
  gap_ = numberField(QStringLiteral("gap"), parameters);
  minimumDuration_ = numberField(QStringLiteral("minimumDuration"), parameters);
  calculate_ = new QPushButton(QStringLiteral("Рассчитать"), parameters);
  calculate_->setObjectName(QStringLiteral("calculate"));
  const auto label = [&](const QString& text, QWidget* buddy) {
    auto* l = new QLabel(text, parameters);
    l->setBuddy(buddy);
    return l;
  };
  const auto trio = [&](QLineEdit* const (&edits)[3], const QString& unit) {
    auto* row = new QHBoxLayout;
    const QString names[] = {QStringLiteral("день"), QStringLiteral("вечер"), QStringLiteral("ночь")};
    for (int i = 0; i < 3; ++i) {
      row->addWidget(label(names[i], edits[i]));
      row->addWidget(edits[i]);
    }
    row->addWidget(new QLabel(unit, parameters));
    row->addStretch();
    return row;
  };
  // A caption in one cell of the grid, its field and the field's unit in the next.
  const auto field = [&](int row, int column, const QString& caption, QWidget* widget, const QString& unit) {
    grid->addWidget(label(caption, widget), row, column);
    auto* cell = new QHBoxLayout;
    cell->addWidget(widget);
    if (!unit.isEmpty()) cell->addWidget(new QLabel(unit, parameters));
    cell->addStretch();
    grid->addLayout(cell, row, column + 1);
  };
  field(0, 0, QStringLiteral("Интервал:"), interval_, {});
  grid->addWidget(new QLabel(QStringLiteral("Начало периодов:"), parameters), 0, 2);
  grid->addLayout(trio(periods_, QStringLiteral("ч")), 0, 3);
  grid->addWidget(new QLabel(QStringLiteral("Поправки:"), parameters), 1, 2);
  grid->addLayout(trio(penalties_, QStringLiteral("дБ")), 1, 3);
  field(0, 4, QStringLiteral("Порог:"), threshold_, QStringLiteral("дБ"));
  field(1, 4, QStringLiteral("Пауза:"), gap_, QStringLiteral("с"));
  field(0, 6, QStringLiteral("Исключать:"), exclusion_, {});
  field(1, 6, QStringLiteral("Мин. длительность:"), minimumDuration_, QStringLiteral("с"));
  grid->addWidget(calculate_, 0, 8, 2, 1);
  grid->setColumnStretch(9, 1);
  const QString tips[] = {
      QStringLiteral("Длина интервалов таблицы, от начала часа (24 ч: от полуночи)"),
      QStringLiteral("События: уровень не ниже порога"),
      QStringLiteral("События, между которыми пауза короче, объединяются"),
      QStringLiteral("Более короткие события отбрасываются"),
  };
  interval_->setToolTip(tips[0]);
  threshold_->setToolTip(tips[1]);
  gap_->setToolTip(tips[2]);
  minimumDuration_->setToolTip(tips[3]);

  // The chart over the tables.
  chart_ = new QChartView(this);
  chart_->setObjectName(QStringLiteral("chart"));
  chart_->setRenderHint(QPainter::Antialiasing);
  chart_->setChart(new QChart);
  chart_->setMinimumHeight(280);
  tabs_ = new QTabWidget(this);
  tabs_->setObjectName(QStringLiteral("tables"));
  const CellTable* tables[] = {&logic_.intervals(), &logic_.days(), &logic_.events(), &logic_.parameters()};
  for (const CellTable* table : tables) {
    auto* model = new CellTableModel(*table, [this](const TableCell& cell) { return logic_.cellText(cell); }, this);
    models_.push_back(model);
    const std::size_t index = models_.size() - 1;
    auto* view = new CellTableView(
        model, [this, index](const GridSelection& s) { return logic_.selectionText(models_[index]->table(), s); },
        [this, index] { return logic_.tableText(models_[index]->table()); }, tabs_);
    view->setObjectName(qt(table->name()));
    grids_.push_back(view);
    tabs_->addTab(view, qt(table->name()));
  }
  auto* split = new QSplitter(Qt::Vertical, this);
  split->addWidget(chart_);
  split->addWidget(tabs_);
  split->setStretchFactor(0, 1);
  split->setStretchFactor(1, 1);

  summary_ = new QLabel(this);
  summary_->setObjectName(QStringLiteral("summary"));
  summary_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  summary_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  auto* copy = new QPushButton(QStringLiteral("В буфер обмена"), this);
  copy->setObjectName(QStringLiteral("copy"));
  copy->setToolTip(QStringLiteral("Вся таблица открытой вкладки, через табуляцию"));
  save_ = new QPushButton(QStringLiteral("Сохранить…"), this);
  save_->setObjectName(QStringLiteral("save"));
  save_->setToolTip(QStringLiteral(".csv: три файла ИМЯ_интервалы, ИМЯ_сутки, ИМЯ_события; .xlsx: одна книга"));
  auto* close = new QPushButton(QStringLiteral("Закрыть"), this);
  for (QPushButton* b : {calculate_, copy, save_, close}) b->setAutoDefault(false);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(summary_, 1);
  for (QPushButton* b : {copy, save_, close}) buttons->addWidget(b);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(parameters);
  layout->addWidget(split, 1);
  layout->addLayout(buttons);
  // As large as is comfortable, within the screen with room for the frame, and centred on it.
  QSize size(1180, 820);
  if (const QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen()) {
    const QRect room = screen->availableGeometry();
    size = size.boundedTo(room.size() - QSize(40, 80));
    move(room.center() - QPoint(size.width() / 2, size.height() / 2));
  }
  resize(size);

  progress_ = new ProgressDialog(this);
  connect(progress_, &ProgressDialog::cancelRequested, this, &AssessmentWindow::cancel, Qt::QueuedConnection);
  connect(calculate_, &QPushButton::clicked, this, &AssessmentWindow::calculate);
  connect(copy, &QPushButton::clicked, this, [this] { grids_[static_cast<std::size_t>(tabs_->currentIndex())]->copyTable(); });
  connect(save_, &QPushButton::clicked, this, [this] { logic_.saveCommand(); });
  connect(close, &QPushButton::clicked, this, &QDialog::reject);

  // The fields as the form opens.
  const AssessmentForm& form = logic_.form();
  interval_->setCurrentIndex(static_cast<int>(form.interval));
  exclusion_->setCurrentIndex(static_cast<int>(form.exclusion));
  for (int i = 0; i < 3; ++i) {
    periods_[i]->setText(qt(form.periodStarts[static_cast<std::size_t>(i)]));
    penalties_[i]->setText(qt(form.penalties[static_cast<std::size_t>(i)]));
  }
  threshold_->setText(qt(form.threshold));
  gap_->setText(qt(form.gap));
  minimumDuration_->setText(qt(form.minimumDuration));
  save_->setEnabled(false);
  summary_->setText(QStringLiteral("Расчёт…"));
  calculate();
}

AssessmentWindow::~AssessmentWindow() { runner_.stopAndJoin(); }

CellTableView* AssessmentWindow::grid(int tab) const {
  return tab >= 0 && static_cast<std::size_t>(tab) < grids_.size() ? grids_[static_cast<std::size_t>(tab)] : nullptr;
}

void AssessmentWindow::collect() {
  AssessmentForm& form = logic_.form();
  form.interval = static_cast<std::size_t>(std::max(0, interval_->currentIndex()));
  form.exclusion = static_cast<ExclusionChoice>(std::max(0, exclusion_->currentIndex()));
  for (int i = 0; i < 3; ++i) {
    form.periodStarts[static_cast<std::size_t>(i)] = periods_[i]->text().toStdString();
    form.penalties[static_cast<std::size_t>(i)] = penalties_[i]->text().toStdString();
  }
  form.threshold = threshold_->text().toStdString();
  form.gap = gap_->text().toStdString();
  form.minimumDuration = minimumDuration_->text().toStdString();
}

void AssessmentWindow::calculate() {
  collect();
  const auto settings = logic_.checkedSettings();
  if (!settings) return;
  runner_.stopAndJoin();
  busy_ = true;
  calculate_->setEnabled(false);
  progress_->showProgress(0);
  runner_.start([this, settings = *settings](const std::atomic<bool>& stop) {
    AssessmentResult result = logic_.run(settings, stop, [this](std::int32_t percent) {
      if (percent >= 0)
        QMetaObject::invokeMethod(this, [this, percent] { if (busy_) progress_->showProgress(percent); },
                                  Qt::QueuedConnection);
    });
    QMetaObject::invokeMethod(
        this, [this, result = std::move(result)]() mutable { showResult(std::move(result)); }, Qt::QueuedConnection);
  });
}

void AssessmentWindow::cancel() { runner_.stopAndJoin(); }

void AssessmentWindow::showResult(AssessmentResult result) {
  busy_ = false;
  progress_->showProgress(-1);
  calculate_->setEnabled(true);
  const bool stopped = result.stopped;
  if (logic_.takeResult(std::move(result))) {
    for (CellTableModel* model : models_) model->refresh();
    for (CellTableView* view : grids_) view->resizeColumnsToContents();
    drawChart();
    summary_->setText(qt(logic_.summary()));
    save_->setEnabled(true);
  } else if (stopped) {
    summary_->setText(logic_.hasResult() ? QStringLiteral("Остановлено; показан прежний расчёт") : QStringLiteral("Остановлено"));
  } else if (!logic_.hasResult()) {
    summary_->setText(QString());
  }
  emit finished();
}

void AssessmentWindow::drawChart() {
  QChart* chart = chart_->chart();
  chart->removeAllSeries();
  for (QAbstractAxis* axis : chart->axes()) {
    chart->removeAxis(axis);
    delete axis;
  }
  const AssessmentChart plot = logic_.chart();
  const AssessmentResult& r = logic_.result();
  if (r.intervals.empty()) return;  // no record with a time: nothing to draw over
  double low = std::numeric_limits<double>::infinity(), high = -low;
  for (const auto& piece : plot.leqSteps)
    for (const ChartPoint& p : piece) low = std::min(low, p.y), high = std::max(high, p.y);
  for (const ChartPoint& p : plot.events) high = std::max(high, p.y);
  if (!std::isfinite(low)) low = r.settings.threshold - 10, high = r.settings.threshold + 10;
  low = std::floor(low / 5) * 5 - 5;
  high = std::ceil(std::max(high, r.settings.threshold) / 5) * 5 + 5;

  auto* xAxis = new QDateTimeAxis;
  xAxis->setTitleText(QStringLiteral("Время"));
  xAxis->setFormat(plot.to - plot.from > 1.0 ? QStringLiteral("dd.MM HH:mm") : QStringLiteral("HH:mm"));
  xAxis->setTickCount(9);
  xAxis->setRange(QDateTime::fromMSecsSinceEpoch(static_cast<qint64>(axisOf(plot.from))),
                  QDateTime::fromMSecsSinceEpoch(static_cast<qint64>(axisOf(plot.to))));
  auto* yAxis = new QValueAxis;
  yAxis->setTitleText(QStringLiteral("дБ"));
  yAxis->setRange(low, high);
  yAxis->setTickType(QValueAxis::TicksDynamic);
  yAxis->setTickAnchor(0);
  yAxis->setTickInterval(high - low > 60 ? 20 : 10);
  yAxis->setLabelFormat(QStringLiteral("%.0f"));
  chart->addAxis(xAxis, Qt::AlignBottom);
  chart->addAxis(yAxis, Qt::AlignLeft);
  const auto attach = [&](QAbstractSeries* s, bool inLegend) {
    chart->addSeries(s);
    s->attachAxis(xAxis);
    s->attachAxis(yAxis);
    if (!inLegend)
      for (QLegendMarker* marker : chart->legend()->markers(s)) marker->setVisible(false);
  };
  const auto bands = [&](const std::vector<TimeSpanX>& spans, const QString& name, QColor colour) {
    if (spans.empty()) return;
    std::vector<std::pair<double, double>> onAxis;
    for (const TimeSpanX& s : spans) onAxis.emplace_back(axisOf(s.from), axisOf(s.to));
    attach(shadedBands(onAxis, low, high, axisOf(plot.from), axisOf(plot.to), name, colour), true);
  };
  bands(plot.evenings, QStringLiteral("Вечер"), QColor(240, 170, 40, 60));
  bands(plot.nights, QStringLiteral("Ночь"), QColor(60, 70, 160, 55));

  const QString leqName = plot.intervalsPerStep > 1
                              ? QStringLiteral("Leq за %1 интервалов").arg(plot.intervalsPerStep)
                              : QStringLiteral("Leq за %1").arg(intervalCaption(r.settings.intervalMinutes));
  const QPen leqPen(QColor(20, 90, 170), 1.6);
  const bool bridge = plot.leqSteps.size() > kMostPieces;
  QLineSeries* line = nullptr;
  for (std::size_t i = 0; i < plot.leqSteps.size(); ++i) {
    if (line == nullptr || !bridge) {
      line = new QLineSeries;
      line->setName(leqName);
      line->setPen(leqPen);
      attach(line, i == 0);
    }
    QList<QPointF> points = line->points();
    for (const ChartPoint& p : plot.leqSteps[i]) points << QPointF(axisOf(p.x), p.y);
    line->replace(points);
  }
  auto* threshold = new QLineSeries;
  threshold->setName(QStringLiteral("Порог %1 дБ").arg(r.settings.threshold));
  threshold->setPen(QPen(QColor(90, 90, 90), 1, Qt::DashLine));
  *threshold << QPointF(axisOf(plot.from), r.settings.threshold) << QPointF(axisOf(plot.to), r.settings.threshold);
  attach(threshold, true);
  if (!plot.events.empty()) {
    auto* events = new QScatterSeries;
    events->setName(QStringLiteral("События (Lmax)"));
    events->setMarkerSize(7);
    events->setColor(QColor(200, 40, 40));
    events->setBorderColor(QColor(120, 20, 20));
    for (const ChartPoint& p : plot.events) *events << QPointF(axisOf(p.x), p.y);
    attach(events, true);
  }
  chart->legend()->setAlignment(Qt::AlignBottom);
}

}  // namespace sonvera::ui
