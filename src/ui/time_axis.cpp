#include "time_axis.h"

#include <QDateTime>
#include <cmath>

#include "measurement/record_time.h"

namespace sonvera::ui {

double axisOf(double day) {
  const RecordTime t = RecordTime::fromDayNumber(day);
  if (!t.valid()) return 0;
  const QDateTime at(QDate(t.year(), t.month(), t.day()), QTime(t.hour(), t.minute(), t.second()));
  const double whole = std::floor(day * 86400.0 + 0.5) / 86400.0;
  return static_cast<double>(at.toMSecsSinceEpoch()) + (day - whole) * 86400000.0;
}

double dayOf(double axis) {
  const QDateTime at = QDateTime::fromMSecsSinceEpoch(static_cast<qint64>(std::floor(axis)));
  const QDate d = at.date();
  const QTime t = at.time();
  return RecordTime::fromParts(d.year(), d.month(), d.day(), t.hour(), t.minute(), t.second()).dayNumber() +
         t.msec() / 86400000.0;
}

}  // namespace sonvera::ui
