#pragma once
// Start-up of the desktop program: catalogue, main window, command line.

#include <QStringList>

namespace sonvera::ui {

// Runs the program; returns the process exit code.
int runApplication(const QStringList& arguments);

}  // namespace sonvera::ui
