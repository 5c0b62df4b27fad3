#include "assessment/assessment_tables.h"

#include <cmath>

namespace sonvera {
namespace {

TableCell level(double v) { return TableCell::of(v, kLevelDecimals); }
TableCell whole(std::uint64_t n) { return TableCell::of(static_cast<double>(n), 0); }
TableCell at(double ms) { return TableCell::time(timeOfMilliseconds(ms).dayNumber()); }

constexpr int kFixedIntervalColumns = 7;  // start, records, excluded, coverage, Leq, max, min

}  // namespace

int durationDecimals(double stepSeconds) {
  for (int d = 0; d < 3; ++d) {
    const double scaled = stepSeconds * std::pow(10.0, d);
    if (std::fabs(scaled - std::round(scaled)) < 1e-6) return d;
  }
  return 3;
}

std::string exclusionText(const AssessmentSettings& s) {
  if (s.excludeOverload && s.excludeUnderload) return "перегрузка, недогрузка";
  if (s.excludeOverload) return "перегрузка";
  if (s.excludeUnderload) return "недогрузка";
  return "ничего";
}

std::size_t IntervalTableView::columnCount() const { return kFixedIntervalColumns + r_.settings.percentileCount() + 1; }

std::string IntervalTableView::header(std::size_t c) const {
  static const char* const kFixed[] = {"Начало", "Записей", "Исключено", "Покрытие, %", "Leq, дБ", "Lmax, дБ", "Lmin, дБ"};
  if (c < kFixedIntervalColumns) return kFixed[c];
  const std::size_t p = c - kFixedIntervalColumns;
  if (p < r_.settings.percentileCount()) return "L" + std::to_string(r_.settings.percentiles[p]) + ", дБ";
  return "Событий";
}

TableCell IntervalTableView::cell(std::size_t row, std::size_t c) const {
  const bool isWhole = row == r_.intervals.size();
  const IntervalRow& i = isWhole ? r_.whole : r_.intervals[row];
  switch (c) {
    case 0: return isWhole ? TableCell::of(kWholeRangeRow) : at(static_cast<double>(i.start));
    case 1: return whole(i.levels.count);
    case 2: return whole(i.excluded);
    case 3: return TableCell::of(i.coverage, kLevelDecimals);
    case 4: return level(i.levels.leq());
    case 5: return level(i.levels.max());
    case 6: return level(i.levels.min());
    default: break;
  }
  const std::size_t p = c - kFixedIntervalColumns;
  if (p < r_.settings.percentileCount()) return level(i.percentiles[p]);
  return whole(i.events);
}

std::string DayTableView::header(std::size_t c) const {
  static const char* const kHeaders[] = {"Дата",          "Lday, дБ",           "Levening, дБ",
                                         "Lnight, дБ",    "Lden, дБ",           "Ldn, дБ",
                                         "Покрытие дня, %", "Покрытие вечера, %", "Покрытие ночи, %"};
  return c < 9 ? kHeaders[c] : std::string{};
}

TableCell DayTableView::cell(std::size_t row, std::size_t c) const {
  const bool isWhole = row == r_.days.size();
  const DayRow& d = isWhole ? r_.wholeDays : r_.days[row];
  switch (c) {
    case 0: return isWhole ? TableCell::of(kWholeRangeRow) : TableCell::date(timeOfMilliseconds(double(d.date)).dayNumber());
    case 1: return level(d.lday);
    case 2: return level(d.levening);
    case 3: return level(d.lnight);
    case 4: return level(d.lden);
    case 5: return level(d.ldn);
    default: return c < 9 ? TableCell::of(d.coverage[c - 6], kLevelDecimals) : TableCell::empty();
  }
}

std::string EventTableView::header(std::size_t c) const {
  static const char* const kHeaders[] = {"№",        "Начало",     "Конец",   "Длительность, с",
                                         "Lmax, дБ", "Время Lmax", "Leq, дБ", "LE, дБ"};
  return c < 8 ? kHeaders[c] : std::string{};
}

TableCell EventTableView::cell(std::size_t row, std::size_t c) const {
  const NoiseEvent& e = r_.events[row];
  switch (c) {
    case 0: return whole(row + 1);
    case 1: return at(static_cast<double>(e.start));
    case 2: return at(e.end);
    case 3: return TableCell::of(e.durationSeconds, durationDecimals(r_.stepSeconds));
    case 4: return level(e.lmax);
    case 5: return at(static_cast<double>(e.lmaxTime));
    case 6: return level(e.leq);
    case 7: return level(e.le);
    default: return {};
  }
}

void ParameterTableView::rebuild(const AssessmentResult& r, AssessmentSource source) {
  rows_.clear();
  const AssessmentSettings& s = r.settings;
  const auto text = [&](const char* name, std::string value) { rows_.emplace_back(name, TableCell::of(std::move(value))); };
  const auto number = [&](const char* name, double value, int decimals) {
    rows_.emplace_back(name, TableCell::of(value, decimals));
  };
  const auto count = [&](const char* name, std::uint64_t n) { number(name, static_cast<double>(n), 0); };
  text("Файл", source.path);
  text("Прибор", source.instrument);
  text("Столбец", r.column);
  text("Записи", std::to_string(r.firstRecord + 1) + "-" + std::to_string(r.lastRecord + 1));
  number("Шаг записи, с", r.stepSeconds, durationDecimals(r.stepSeconds));
  number("Интервал, мин", s.intervalMinutes, 0);
  number("День с, ч", s.dayStart, 0);
  number("Вечер с, ч", s.eveningStart, 0);
  number("Ночь с, ч", s.nightStart, 0);
  number("Поправка дня, дБ", s.dayPenalty, 1);
  number("Поправка вечера, дБ", s.eveningPenalty, 1);
  number("Поправка ночи, дБ", s.nightPenalty, 1);
  number("Порог событий, дБ", s.threshold, 1);
  number("Объединять паузы короче, с", s.gapSeconds, durationDecimals(s.gapSeconds));
  number("Минимальная длительность события, с", s.minDurationSeconds, durationDecimals(s.minDurationSeconds));
  text("Исключаются", exclusionText(s));
  text("Процентили", "по рангу ceil(N·n/100) от наибольшего, уровни округлены до 0.1 дБ");
  count("Записей прочитано", r.recordsRead);
  count("Использовано", r.used);
  count("Исключено", r.excluded);
  count("С перегрузкой", r.overloaded);
  count("С недогрузкой", r.underloaded);
  count("Без верного времени", r.withoutTime);
  count("Без значения", r.withoutValue);
  count("Событий", r.eventCount);
  if (r.eventCount > r.events.size()) count("Событий сверх списка", r.eventCount - r.events.size());
  count("Событий короче минимальной длительности", r.eventsTooShort);
  number("Время выше порога, с", r.secondsAbove, durationDecimals(r.stepSeconds));
  if (r.brokenIntervals)
    text("Внимание", "время записей шло назад: у интервалов, в которые оно вернулось, процентили не рассчитаны");
}

TableCell ParameterTableView::cell(std::size_t row, std::size_t column) const {
  if (row >= rows_.size()) return {};
  return column == 0 ? TableCell::of(rows_[row].first) : rows_[row].second;
}

}  // namespace sonvera
