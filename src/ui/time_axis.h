#pragma once
// Day numbers on a Qt date-time axis and back: milliseconds of the same
// wall-clock time here, so the axis shows the times the records carry.

namespace sonvera::ui {

double axisOf(double dayNumber);
double dayOf(double axisMilliseconds);

}  // namespace sonvera::ui
