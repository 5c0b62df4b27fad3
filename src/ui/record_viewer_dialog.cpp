#include "record_viewer_dialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QCursor>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>
#include <QWheelEvent>

#include "app/strings.h"
#include "dialog_builder.h"
#include "grid_widget.h"
#include "shared_resources.h"

namespace sonvera::ui {
namespace {

// The size a header button needs for a text: the text and a frame around it.
QSize headerSize(const QFont& font, const QString& text) {
  const QFontMetrics metrics(font);
  return {metrics.horizontalAdvance(text) + 10, metrics.height() + 6};
}

QString qt(const std::string& text) { return QString::fromStdString(text); }

// The widest of `texts` in `font`.
QString widest(const QFont& font, const std::vector<std::string>& texts) {
  const QFontMetrics metrics(font);
  QString best;
  int bestWidth = -1;
  for (const std::string& text : texts) {
    const QString candidate = qt(text);
    if (const int width = metrics.horizontalAdvance(candidate); width > bestWidth) {
      best = candidate;
      bestWidth = width;
    }
  }
  return best;
}

QPushButton* headerButton(QWidget* parent, const QString& text, const QFont& font, const PixelRect& r) {
  auto* button = new QPushButton(text, parent);
  button->setFont(font);
  button->setFlat(true);
  button->setFocusPolicy(Qt::NoFocus);
  // The dialog's style sheet sets its own font; the headers name theirs.
  button->setStyleSheet(
      QStringLiteral("QPushButton { border: 1px solid palette(mid); background: palette(button); padding: 0;"
                     " font-family: \"%1\"; font-size: %2px; font-weight: %3; }")
          .arg(font.family())
          .arg(font.pixelSize())
          .arg(font.weight()));
  button->setGeometry(r.left, r.top, r.right - r.left, r.bottom - r.top);
  return button;
}

}  // namespace

RecordViewerDialog::RecordViewerDialog(const DeviceCatalogue& catalogue, const MeasurementFile& file,
                                       QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMaximizeButtonHint |
                          Qt::WindowCloseButtonHint),
      viewer_(catalogue, file.values, file.channels, file.description) {
  setObjectName(QString::number(viewerTemplate().id));
  setWindowTitle(QString::fromUtf8(viewerTemplate().caption));
  scroll_ = new QScrollArea(this);
  scroll_->setFrameShape(QFrame::NoFrame);
  scroll_->setWidgetResizable(false);
  content_ = new QWidget;
  const DialogControls controls = buildDialog(content_, viewerTemplate());
  setFont(content_->font());
  scroll_->setWidget(content_);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(scroll_);
  const DialogUnits units(dialogFont());
  resize(units.x(viewerTemplate().width), units.y(viewerTemplate().height));

  channels_ = controls.get<QComboBox>(1009);
  linear_ = controls.get<QCheckBox>(1006);
  extended_ = controls.get<QCheckBox>(1007);
  for (const std::string& entry : viewer_.channelEntries()) channels_->addItem(qt(entry));
  channels_->setCurrentIndex(viewer_.channelEntries().empty() ? -1 : 0);
  buildTables();
  fitWindow();

  connect(channels_, &QComboBox::currentIndexChanged, this, [this](int index) {
    if (viewer_.chooseChannel(index))
      for (GridWidget* grid : grids_) grid->update();
  });
  connect(linear_, &QCheckBox::toggled, this, [this](bool on) {
    viewer_.linearUnits = on;
    for (GridWidget* grid : grids_) grid->update();
  });
  connect(extended_, &QCheckBox::toggled, this, [this](bool on) {
    viewer_.extendedFormat = on;
    for (GridWidget* grid : grids_) grid->update();
  });
  connect(controls.get<QPushButton>(1010), &QPushButton::clicked, this,
          [this] { QApplication::clipboard()->setText(qt(viewer_.allTablesText())); });
  scroll_->viewport()->installEventFilter(this);
}

void RecordViewerDialog::buildTables() {
  const SharedFonts& fonts = sharedFonts();
  // Row headers: as wide as the widest parameter name and the group titles need.
  QSize header = headerSize(fonts.viewerHeader, widest(fonts.viewerHeader, viewer_.parameterNameTexts()));
  for (const std::string& title : viewer_.groupColumnTitles()) header = header.expandedTo(headerSize(fonts.viewerGroupTitle, qt(title)));
  const int headerWidth = header.width() + 4;
  const int rowHeight = header.height();

  std::vector<std::int32_t> cellWidths;
  const QFontMetrics grid(fonts.gridText);
  for (const ViewerGroup& group : viewer_.groups()) {
    int width = headerSize(fonts.viewerHeader, widest(fonts.gridText, group.bandHeaders)).width();
    for (const std::string& sample : group.widthSamples) width = std::max(width, grid.horizontalAdvance(qt(sample)));
    cellWidths.push_back(width + 4);
  }
  const QWidget* list = channels_;
  const ViewerLayout placed = viewer_.layout(headerWidth, rowHeight, cellWidths, list->geometry().bottom() + 1);

  for (std::size_t t = 0; t < placed.tables.size(); ++t) {
    const ViewerTable& table = viewer_.tables()[t];
    const ViewerGroup& group = viewer_.groups()[table.groupIndex];
    const PlacedTable& p = placed.tables[t];
    if (p.title) headerButton(content_, qt(group.title), fonts.viewerGroupTitle, *p.title);
    for (std::size_t i = 0; i < p.rowHeaders.size(); ++i)
      headerButton(content_, qt(group.rowHeaders[i]), fonts.viewerHeader, p.rowHeaders[i]);
    for (std::size_t j = 0; j < p.columnHeaders.size(); ++j) {
      const auto band = static_cast<std::size_t>(table.firstBand) + j;
      headerButton(content_, band < group.bandHeaders.size() ? qt(group.bandHeaders[band]) : QString(),
                   fonts.viewerHeader, p.columnHeaders[j]);
    }
    auto* gridWidget = new GridWidget(viewer_, table, p.cellWidth, p.cellHeight, content_);
    gridWidget->setGeometry(p.grid.left, p.grid.top, p.grid.right - p.grid.left, p.grid.bottom - p.grid.top);
    connect(gridWidget, &GridWidget::contextRequested, this, &RecordViewerDialog::showContextMenu);
    grids_.append(gridWidget);
  }

  // The controls at the top stay reachable also without tables.
  const int controlsBottom = list->geometry().bottom() + 8;
  const int buttonRight = content_->findChild<QPushButton*>(QStringLiteral("1010"))->geometry().right() + 1;
  contentSize_ = QSize(std::max(placed.contentWidth, buttonRight), std::max(placed.contentHeight, controlsBottom));
  content_->setFixedSize(contentSize_ + QSize(8, 8));
  const QSize line = grids_.isEmpty() ? QSize(20, 20) : grids_.first()->cellSize();
  scroll_->horizontalScrollBar()->setSingleStep(line.width());
  scroll_->verticalScrollBar()->setSingleStep(line.height());
}

void RecordViewerDialog::fitWindow() {
  const int barWidth = scroll_->verticalScrollBar()->sizeHint().width();
  const int barHeight = scroll_->horizontalScrollBar()->sizeHint().height();
  QSize wanted(content_->width() + barWidth, content_->height() + barHeight);
  if (const QScreen* screen = this->screen()) {
    const QRect area = screen->availableGeometry();
    // The frame around the client area stays on the desktop too.
    wanted = wanted.boundedTo(area.size() - QSize(16, 40));
  }
  resize(wanted);
}

bool RecordViewerDialog::eventFilter(QObject* watched, QEvent* event) {
  // The wheel moves two lines a notch; with Shift it scrolls sideways, away from the user to the right.
  if (watched == scroll_->viewport() && event->type() == QEvent::Wheel) {
    auto* wheel = static_cast<QWheelEvent*>(event);
    if (grids_.isEmpty()) return true;
    const int delta = wheel->angleDelta().y() != 0 ? wheel->angleDelta().y() : wheel->angleDelta().x();
    const int lines = 2 * delta / 120;
    if ((wheel->modifiers() & Qt::ShiftModifier) != 0) {
      QScrollBar* bar = scroll_->horizontalScrollBar();
      bar->setValue(bar->value() + lines * bar->singleStep());
    } else {
      QScrollBar* bar = scroll_->verticalScrollBar();
      bar->setValue(bar->value() - lines * bar->singleStep());
    }
    return true;
  }
  return QDialog::eventFilter(watched, event);
}

void RecordViewerDialog::showContextMenu(GridWidget* grid) {
  if (!grids_.contains(grid)) return;
  QMenu menu(this);
  QAction* copy = menu.addAction(QString::fromUtf8(text(StringId::CopyToClipboard)));
  const QPoint at = QCursor::pos();
  if (menu.exec(QPoint(at.x() - menu.sizeHint().width(), at.y())) == copy) grid->copySelection();
}

}  // namespace sonvera::ui
