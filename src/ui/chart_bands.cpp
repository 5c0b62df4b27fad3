#include "chart_bands.h"

#include <QAreaSeries>
#include <QLineSeries>
#include <QPen>

namespace sonvera::ui {

QAreaSeries* shadedBands(const std::vector<std::pair<double, double>>& spans, double low, double high, double from,
                         double to, const QString& name, const QColor& colour) {
  auto* upper = new QLineSeries;
  auto* lower = new QLineSeries;
  for (const auto& [a, b] : spans) *upper << QPointF(a, low) << QPointF(a, high) << QPointF(b, high) << QPointF(b, low);
  *lower << QPointF(from, low) << QPointF(to, low);
  auto* area = new QAreaSeries(upper, lower);
  area->setName(name);
  area->setPen(Qt::NoPen);
  area->setBrush(colour);
  return area;
}

}  // namespace sonvera::ui
