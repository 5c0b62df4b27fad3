#pragma once
// Start-up of the desktop program: translations, catalogue, main window, command line.

#include <QStringList>

class QApplication;

namespace sonvera::ui {

// Runs the program; returns the process exit code.
int runApplication(QApplication& application, const QStringList& arguments);

}  // namespace sonvera::ui
