#include "assessment/assessment_settings.h"

namespace sonvera {

std::optional<PeriodHours> periodHours(int dayStart, int eveningStart, int nightStart) {
  for (const int h : {dayStart, eveningStart, nightStart})
    if (h < 0 || h > 23) return std::nullopt;
  PeriodHours p;
  p.eveningOffset = (eveningStart - dayStart + 24) % 24;
  p.nightOffset = (nightStart - dayStart + 24) % 24;
  if (p.eveningOffset == 0 || p.nightOffset < p.eveningOffset) return std::nullopt;
  return p;
}

}  // namespace sonvera
