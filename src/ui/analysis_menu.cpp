#include "analysis_menu.h"

#include <QMenu>
#include <QShortcut>
#include <QToolButton>
#include <QWidget>
#include <algorithm>

namespace sonvera::ui {
namespace {

const QKeySequence kChartKeys(Qt::CTRL | Qt::Key_G);
const QKeySequence kAssessmentKeys(Qt::CTRL | Qt::Key_L);

struct AnalysisActions {
  QAction* chart;
  QAction* assessment;
};

AnalysisActions fill(QMenu& menu) {
  AnalysisActions a{menu.addAction(QStringLiteral("График…")), menu.addAction(QStringLiteral("Оценка шума…"))};
  // Shown beside the entries; the window's own shortcuts run them.
  a.chart->setShortcut(kChartKeys);
  a.assessment->setShortcut(kAssessmentKeys);
  for (QAction* action : {a.chart, a.assessment}) action->setShortcutContext(Qt::WidgetShortcut);
  return a;
}

}  // namespace

void runAnalysisMenu(QWidget* window, const AnalysisCommands& commands, const QPoint& globalAt) {
  QMenu menu(window);
  const AnalysisActions actions = fill(menu);
  // Run once the menu is gone.
  QAction* chosen = menu.exec(globalAt);
  if (chosen == actions.chart) commands.chart();
  if (chosen == actions.assessment) commands.assessment();
}

void addAnalysisEntries(QWidget* window, QWidget* beside, const AnalysisCommands& commands) {
  QObject::connect(new QShortcut(kChartKeys, window), &QShortcut::activated, window, [run = commands.chart] { run(); });
  QObject::connect(new QShortcut(kAssessmentKeys, window), &QShortcut::activated, window,
                   [run = commands.assessment] { run(); });
  if (beside == nullptr) return;
  auto* button = new QToolButton(window);
  button->setObjectName(QStringLiteral("analysis"));
  button->setText(QStringLiteral("Анализ"));
  button->setToolTip(QStringLiteral("График (Ctrl+G) и оценка шума (Ctrl+L) выбранной строки списка"));
  button->setPopupMode(QToolButton::InstantPopup);
  auto* menu = new QMenu(button);
  const AnalysisActions actions = fill(*menu);
  QObject::connect(actions.chart, &QAction::triggered, window, [run = commands.chart] { run(); });
  QObject::connect(actions.assessment, &QAction::triggered, window, [run = commands.assessment] { run(); });
  button->setMenu(menu);
  // Left of `beside`, as high as it, in the room that its row leaves free.
  const QRect next = beside->geometry();
  int left = 0;
  for (const QWidget* other : window->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
    if (other != beside && other != button && other->isVisibleTo(window) && other->geometry().top() < next.bottom() &&
        other->geometry().bottom() > next.top() && other->geometry().right() < next.left())
      left = std::max(left, other->geometry().right() + 1);
  const int gap = next.height() / 4;
  // The menu's arrow takes room of its own beside the text.
  const int wanted = button->sizeHint().width() + button->fontMetrics().height();
  const int width = std::min(wanted, next.left() - gap - (left + gap));
  button->setGeometry(next.left() - gap - width, next.top(), std::max(width, 0), next.height());
  button->setVisible(width > next.height());
}

}  // namespace sonvera::ui
