#include "chart_window.h"

#include <QAreaSeries>
#include <QDateTime>
#include <QDateTimeAxis>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLegendMarker>
#include <QLineSeries>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScatterSeries>
#include <QSvgGenerator>
#include <QValueAxis>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>
#include <limits>

#include "app/main_dialog.h"
#include "chart_bands.h"
#include "time_axis.h"

namespace sonvera::ui {
namespace {

constexpr std::uint32_t kBuckets = 2000;
constexpr std::size_t kMostMarkers = 200;  // more would hide the lines behind them

}  // namespace

// The chart itself: the wheel zooms the time axis about the cursor, a drag
// pans it, the cursor's place goes to the read-out.
class ChartCanvas : public QChartView {
 public:
  explicit ChartCanvas(ChartWindow* window) : window_(window) {
    setObjectName(QStringLiteral("chart"));
    setMouseTracking(true);
    setRenderHint(QPainter::Antialiasing);
  }
  // The data x under a point of the view.
  double xAt(const QPointF& position) const {
    const QPointF value = chart()->mapToValue(chart()->mapFromScene(mapToScene(position.toPoint())));
    return window_->data().timeAxis ? dayOf(value.x()) : value.x();
  }

 protected:
  void wheelEvent(QWheelEvent* event) override {
    if (!window_->ready()) return;
    window_->zoom(event->angleDelta().y() > 0 ? 0.8 : 1.25, xAt(event->position()));
    event->accept();
  }
  void mousePressEvent(QMouseEvent* event) override {
    if (event->button() == Qt::LeftButton) {
      dragFrom_ = event->position().x();
      dragRange_ = window_->shownRange();
      dragging_ = true;
    }
    QChartView::mousePressEvent(event);
  }
  void mouseMoveEvent(QMouseEvent* event) override {
    if (window_->ready()) {
      if (dragging_ && chart()->plotArea().width() > 0) {
        const double perPixel = dragRange_.width() / chart()->plotArea().width();
        window_->showRange(dragRange_);
        window_->pan((dragFrom_ - event->position().x()) * perPixel);
      }
      window_->showReadout(xAt(event->position()));
    }
    QChartView::mouseMoveEvent(event);
  }
  void mouseReleaseEvent(QMouseEvent* event) override {
    dragging_ = false;
    QChartView::mouseReleaseEvent(event);
  }

 private:
  ChartWindow* window_;
  bool dragging_ = false;
  double dragFrom_ = 0;
  AxisRange dragRange_;
};

ChartWindow::ChartWindow(sonvera::MainDialog& dialog, const ExportJob& job, QWidget* parent)
    : QDialog(parent), dialog_(dialog), job_(job) {
  setObjectName(QStringLiteral("ChartWindow"));
  setWindowTitle(QStringLiteral("График"));
  setWindowFlags(windowFlags() | Qt::WindowMaximizeButtonHint | Qt::WindowMinimizeButtonHint);
  canvas_ = new ChartCanvas(this);
  canvas_->setChart(new QChart);
  readout_ = new QLabel(QStringLiteral("Подготовка графика…"), this);
  readout_->setObjectName(QStringLiteral("readout"));
  readout_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  // A long read-out is cut at the window's edge rather than widening the window.
  readout_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  readout_->setMinimumWidth(0);
  whole_button_ = new QPushButton(QStringLiteral("Весь диапазон"), this);
  whole_button_->setObjectName(QStringLiteral("whole"));
  auto* save = new QPushButton(QStringLiteral("Сохранить как…"), this);
  save->setObjectName(QStringLiteral("save"));
  auto* take = new QPushButton(QStringLiteral("Взять диапазон"), this);
  take->setObjectName(QStringLiteral("take"));
  auto* close = new QPushButton(QStringLiteral("Закрыть"), this);
  for (QPushButton* b : {whole_button_, save, take, close}) b->setAutoDefault(false);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(readout_, 1);
  for (QPushButton* b : {whole_button_, save, take, close}) buttons->addWidget(b);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(canvas_, 1);
  layout->addLayout(buttons);
  resize(1100, 640);

  connect(whole_button_, &QPushButton::clicked, this, &ChartWindow::showWholeRange);
  connect(close, &QPushButton::clicked, this, &QDialog::reject);
  connect(save, &QPushButton::clicked, this, [this] {
    const QString path = QFileDialog::getSaveFileName(this, QStringLiteral("Сохранить как"), QString(),
                                                      QStringLiteral("Рисунок PNG (*.png);;Рисунок SVG (*.svg)"));
    if (!path.isEmpty()) saveImage(path);
  });
  connect(take, &QPushButton::clicked, this, [this] {
    if (!ready_) return;
    dialog_.takeChartRange(shown_.from, shown_.to, data_.timeAxis);
    emit rangeTaken();
  });

  runner_.start([this](const std::atomic<bool>& stop) {
    ChartData data = prepareChart(job_, kBuckets, stop, [this](std::int32_t percent) {
      QMetaObject::invokeMethod(this, [this, percent] { progressArrived(percent); }, Qt::QueuedConnection);
    });
    QMetaObject::invokeMethod(
        this,
        [this, data = std::move(data)]() mutable {
          data_ = std::move(data);
          build();
        },
        Qt::QueuedConnection);
  });
}

ChartWindow::~ChartWindow() { runner_.stopAndJoin(); }

QChartView* ChartWindow::view() const { return canvas_; }

void ChartWindow::progressArrived(int percent) {
  if (!ready_ && percent >= 0) readout_->setText(QStringLiteral("Подготовка графика… %1%").arg(percent));
}

void ChartWindow::build() {
  QChart* chart = canvas_->chart();
  // Many columns get their legend beside the chart, in a column of their own.
  chart->legend()->setAlignment(data_.series.size() > 8 ? Qt::AlignRight : Qt::AlignBottom);
  const bool time = data_.timeAxis;
  const auto x = [time](double v) { return time ? axisOf(v) : v; };

  double low = std::numeric_limits<double>::infinity(), high = -low;
  for (const ChartSeries& s : data_.series)
    for (const ChartPoint& p : s.points) low = std::min(low, p.y), high = std::max(high, p.y);
  if (!std::isfinite(low)) low = 0, high = 1;
  const double margin = std::max((high - low) * 0.05, 0.5);
  low -= margin;
  high += margin;

  if (time) {
    auto* axis = new QDateTimeAxis;
    axis->setTitleText(QStringLiteral("Время"));
    xAxis_ = axis;
  } else {
    auto* axis = new QValueAxis;
    axis->setTitleText(QStringLiteral("Запись"));
    axis->setLabelFormat(QStringLiteral("%.0f"));
    xAxis_ = axis;
  }
  auto* yAxis = new QValueAxis;
  const bool levels = std::all_of(data_.series.begin(), data_.series.end(), [](const ChartSeries& s) { return s.level; });
  yAxis->setTitleText(levels ? QStringLiteral("дБ") : QString());
  yAxis->setRange(low, high);
  chart->addAxis(xAxis_, Qt::AlignBottom);
  chart->addAxis(yAxis, Qt::AlignLeft);
  const auto attach = [&](QAbstractSeries* s) {
    chart->addSeries(s);
    s->attachAxis(xAxis_);
    s->attachAxis(yAxis);
  };

  whole_ = wholeRange(data_);
  // Load spans as shaded bands over the whole height, each a record wide at least.
  const auto shade = [&](const std::vector<ChartSpan>& spans, const QString& name, QColor colour) {
    if (spans.empty()) return;
    const double half = time ? 0.5 / 86400 : 0.5;
    std::vector<std::pair<double, double>> bands;
    for (const ChartSpan& span : spans) bands.emplace_back(x(span.from - half), x(span.to + half));
    attach(shadedBands(bands, low, high, x(whole_.from), x(whole_.to), name, colour));
  };
  shade(data_.overloads, QStringLiteral("Перегрузка"), QColor(220, 40, 40, 70));
  shade(data_.underloads, QStringLiteral("Недогрузка"), QColor(40, 90, 220, 60));

  for (const ChartSeries& s : data_.series) {
    auto* line = new QLineSeries;
    line->setName(QString::fromStdString(s.name));
    QList<QPointF> points;
    points.reserve(static_cast<qsizetype>(s.points.size()));
    for (const ChartPoint& p : s.points) points << QPointF(x(p.x), p.y);
    line->replace(points);
    attach(line);
    QPen pen = line->pen();  // the theme's colour, known once the series is in the chart
    pen.setWidthF(1.2);
    line->setPen(pen);
  }
  for (std::size_t m = 0; m < data_.markers.size() && m < kMostMarkers; ++m) {
    const ChartMarker& marker = data_.markers[m];
    auto* line = new QLineSeries;
    line->setName(QStringLiteral("Маркер %1").arg(marker.record));
    *line << QPointF(x(marker.x), low) << QPointF(x(marker.x), high);
    line->setPen(QPen(QColor(60, 60, 60), 1, Qt::DashLine));
    attach(line);
    // The marker's number at its top, as the information file counts them.
    auto* label = new QScatterSeries;
    *label << QPointF(x(marker.x), high - margin);
    label->setMarkerSize(1);
    label->setPen(Qt::NoPen);
    label->setPointLabelsFormat(QString::number(m + 1));
    label->setPointLabelsVisible(true);
    attach(label);
    for (QAbstractSeries* s : {static_cast<QAbstractSeries*>(line), static_cast<QAbstractSeries*>(label)})
      for (QLegendMarker* legend : chart->legend()->markers(s)) legend->setVisible(false);
  }
  ready_ = true;
  showWholeRange();
  readout_->setText(data_.stopped ? QStringLiteral("Остановлено") : QString());
  emit prepared();
}

void ChartWindow::showRange(AxisRange range) {
  shown_ = range;
  if (!xAxis_) return;
  if (auto* dates = qobject_cast<QDateTimeAxis*>(xAxis_)) {
    dates->setRange(QDateTime::fromMSecsSinceEpoch(static_cast<qint64>(axisOf(range.from))),
                    QDateTime::fromMSecsSinceEpoch(static_cast<qint64>(axisOf(range.to))));
    // Dates only when the span is longer than a day.
    dates->setFormat(range.width() > 1.0         ? QStringLiteral("dd.MM HH:mm")
                     : range.width() > 2.0 / 24 ? QStringLiteral("HH:mm")
                                                : QStringLiteral("HH:mm:ss"));
    dates->setTickCount(7);
  } else if (auto* values = qobject_cast<QValueAxis*>(xAxis_)) {
    values->setRange(range.from, range.to);
  }
}

void ChartWindow::zoom(double factor, double centre) {
  if (ready_) showRange(zoomedRange(shown_, factor, centre, whole_, data_.timeAxis));
}

void ChartWindow::pan(double delta) {
  if (ready_) showRange(pannedRange(shown_, delta, whole_));
}

void ChartWindow::showWholeRange() {
  if (ready_) showRange(whole_);
}

void ChartWindow::showReadout(double x) {
  if (ready_) readout_->setText(QString::fromStdString(readoutText(data_, x)));
}

bool ChartWindow::saveImage(const QString& path) {
  if (!dialog_.mayWrite({path.toStdString()})) return false;
  if (path.endsWith(QStringLiteral(".svg"), Qt::CaseInsensitive)) {
    QSvgGenerator svg;
    svg.setFileName(path);
    svg.setSize(canvas_->size());
    svg.setViewBox(canvas_->rect());
    svg.setTitle(windowTitle());
    QPainter painter;
    if (!painter.begin(&svg)) return false;
    canvas_->render(&painter);
    return painter.end();
  }
  return canvas_->grab().save(path, "PNG");
}

}  // namespace sonvera::ui
