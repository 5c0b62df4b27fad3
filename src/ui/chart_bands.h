#pragma once
// Spans of the x axis shaded over the whole height of a chart: one area
// series whose upper edge jumps up at each span's start and down at its end.

#include <QColor>
#include <QString>
#include <utility>
#include <vector>

class QAreaSeries;

namespace sonvera::ui {

// `spans` in axis values, in order; `low` and `high` the y range; `from` and
// `to` the whole x extent, along which the lower edge runs.
QAreaSeries* shadedBands(const std::vector<std::pair<double, double>>& spans, double low, double high, double from,
                         double to, const QString& name, const QColor& colour);

}  // namespace sonvera::ui
