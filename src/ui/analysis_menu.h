#pragma once
// The ways from the main window into the chart and the noise assessment:
// the export list's menu, a small menu button beside "Все", and the
// shortcuts Ctrl+G and Ctrl+L. The main window's layout stays as it is.

#include <QPoint>
#include <functional>

class QWidget;

namespace sonvera::ui {

struct AnalysisCommands {
  std::function<void()> chart;       // "График…"
  std::function<void()> assessment;  // "Оценка шума…"
};

// The export list's menu at `globalAt`; runs the command chosen.
void runAnalysisMenu(QWidget* window, const AnalysisCommands& commands, const QPoint& globalAt);

// The shortcuts of `window`, and the menu button "Анализ" left of `beside`
// in the free room of its row (it never covers what stands left of it).
void addAnalysisEntries(QWidget* window, QWidget* beside, const AnalysisCommands& commands);

}  // namespace sonvera::ui
