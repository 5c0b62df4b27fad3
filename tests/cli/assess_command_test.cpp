// `sonvera-cli assess --json` on the street sample against the same figures
// worked out here from the export's text of the same column: energy means,
// extremes, rank percentiles, periods, Lden, Ldn and events, each by its
// definition, without the assessment's code.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <nlohmann/json.hpp>
#include <sstream>

#include "cli_run.h"

namespace sonvera {
namespace {

namespace fs = std::filesystem;
using Json = nlohmann::json;

std::string demo(const std::string& relative) {
  const char* root = std::getenv("SONVERA_TEST_DATA");
  return std::string(root ? root : ".") + "/" + relative;
}

// One exported record: seconds since 2026-05-14 00:00 and the level as written.
struct Exported {
  int second = 0;
  std::string text;  // two decimals
  double level = 0;
};

std::vector<Exported> exportedColumn(const fs::path& csv) {
  std::ifstream in(csv, std::ios::binary);
  std::vector<Exported> records;
  std::string line;
  std::getline(in, line);  // the header
  while (std::getline(in, line)) {
    // 14/05/26;HH:MM:SS;level;...
    EXPECT_EQ(line.substr(0, 9), "14/05/26;");
    Exported r;
    r.second = std::stoi(line.substr(9, 2)) * 3600 + std::stoi(line.substr(12, 2)) * 60 + std::stoi(line.substr(15, 2));
    r.text = line.substr(18, line.find(';', 18) - 18);
    r.level = std::stod(r.text);
    records.push_back(r);
  }
  return records;
}

double energy(double level) { return std::pow(10.0, level / 10.0); }
double meanLevel(double energySum, std::size_t n) { return 10 * std::log10(energySum / static_cast<double>(n)); }

// The figures of a set of records, by their definitions.
struct Figures {
  std::size_t n = 0;
  double energySum = 0, max = -1e9, min = 1e9;
  std::vector<int> low, high;  // tenths of a dB: a text ending in 5 may round either way
  void add(const Exported& r) {
    ++n;
    energySum += energy(r.level);
    max = std::max(max, r.level);
    min = std::min(min, r.level);
    const int hundredths = static_cast<int>(std::lround(r.level * 100));
    const int down = hundredths / 10, rest = hundredths % 10;
    low.push_back(rest > 5 ? down + 1 : down);
    high.push_back(rest >= 5 ? down + 1 : down);
  }
  double leq() const { return meanLevel(energySum, n); }
  // The value at rank ceil(N·n/100) from the highest.
  static double ranked(std::vector<int> classes, int percent) {
    std::sort(classes.rbegin(), classes.rend());
    const std::size_t rank = (static_cast<std::size_t>(percent) * classes.size() + 99) / 100;
    return classes[rank - 1] / 10.0;
  }
};

void expectRow(const Json& row, const Figures& f, const std::string& where) {
  ASSERT_EQ(row["records"].get<std::size_t>(), f.n) << where;
  EXPECT_NEAR(row["leq"].get<double>(), f.leq(), 0.01) << where;
  EXPECT_NEAR(row["max"].get<double>(), f.max, 0.01) << where;
  EXPECT_NEAR(row["min"].get<double>(), f.min, 0.01) << where;
  for (const int p : {10, 50, 90}) {
    const double ln = row["percentiles"][std::to_string(p)].get<double>();
    EXPECT_GE(ln, Figures::ranked(f.low, p) - 0.01) << where << " L" << p;
    EXPECT_LE(ln, Figures::ranked(f.high, p) + 0.01) << where << " L" << p;
  }
}

struct Event {
  int start = 0, last = 0;  // first and last loud record
  std::size_t records = 0;
  double energySum = 0, lmax = -1e9;
  int lmaxAt = 0;
};

TEST(AssessCommand, AgreesWithFiguresWorkedOutFromTheExport) {
  const fs::path dir = fs::temp_directory_path() / ("sonvera-assess-cli-" + std::to_string(::getpid()));
  fs::create_directories(dir);
  const std::string catalogue = demo("bin/TeleDescFile.bin"), sample = demo("samples/street-noise.bin");
  const test::CliRun exported =
      test::runCli({"--catalogue", catalogue, "export", sample, "--all", "--datetime", "-o", (dir / "all.csv").string()});
  ASSERT_EQ(exported.code, 0) << exported.err;
  const std::vector<Exported> records = exportedColumn(dir / "all.csv");
  ASSERT_EQ(records.size(), 86400u);
  // Nothing excluded, so the export alone tells every figure; a threshold
  // between two hundredths, so the written levels decide as the values do.
  const test::CliRun run = test::runCli({"--catalogue", catalogue, "assess", sample, "-s", demo("samples/street-noise.cfg"),
                                         "--exclude", "none", "--threshold", "65.005", "--json"});
  ASSERT_EQ(run.code, 0) << run.err;
  const Json j = Json::parse(run.out);
  fs::remove_all(dir);

  EXPECT_EQ(j["column"], "Общ,Leq,A");
  EXPECT_EQ(j["step"], 1.0);
  EXPECT_EQ(j["excluded"], 0);

  // Hours; day 07-19, evening 19-23, night 23-07; Ldn's day 07-22.
  std::vector<Figures> hours(24);
  Figures whole;
  std::map<std::string, Figures> periods;  // "13 night", "14 day", ...
  for (const Exported& r : records) {
    const int h = r.second / 3600;
    hours[static_cast<std::size_t>(h)].add(r);
    whole.add(r);
    const std::string day = h < 7 ? "13" : "14";
    periods[day + (h < 7 || h >= 23 ? " night" : h < 19 ? " day" : " evening")].add(r);
    periods[day + (h >= 7 && h < 22 ? " ldn day" : " ldn night")].add(r);
  }
  ASSERT_EQ(j["intervals"].size(), 24u);
  for (std::size_t h = 0; h < 24; ++h) {
    const Json& row = j["intervals"][h];
    EXPECT_EQ(row["start"], "2026-05-14T" + std::string(h < 10 ? "0" : "") + std::to_string(h) + ":00:00");
    EXPECT_EQ(row["coverage"], 100.0);
    expectRow(row, hours[h], "hour " + std::to_string(h));
  }
  expectRow(j["whole"], whole, "whole");

  const auto level = [&](const std::string& key) { return periods[key].leq(); };
  ASSERT_EQ(j["days"].size(), 2u);
  const Json& d13 = j["days"][0];
  const Json& d14 = j["days"][1];
  EXPECT_EQ(d13["date"], "2026-05-13");
  EXPECT_TRUE(d13["lday"].is_null());
  EXPECT_TRUE(d13["lden"].is_null());
  EXPECT_NEAR(d13["lnight"].get<double>(), level("13 night"), 0.01);
  EXPECT_NEAR(d13["coverage"]["night"].get<double>(), 7.0 / 8 * 100, 1e-9);
  EXPECT_NEAR(d14["lday"].get<double>(), level("14 day"), 0.01);
  EXPECT_NEAR(d14["levening"].get<double>(), level("14 evening"), 0.01);
  EXPECT_NEAR(d14["lnight"].get<double>(), level("14 night"), 0.01);
  const auto lden = [](double d, double e, double n) {
    return 10 * std::log10((12 * energy(d) + 4 * energy(e + 5) + 8 * energy(n + 10)) / 24);
  };
  const auto ldn = [](double d, double n) { return 10 * std::log10((15 * energy(d) + 9 * energy(n + 10)) / 24); };
  EXPECT_NEAR(d14["lden"].get<double>(), lden(level("14 day"), level("14 evening"), level("14 night")), 0.01);
  EXPECT_NEAR(d14["ldn"].get<double>(), ldn(level("14 ldn day"), level("14 ldn night")), 0.01);
  EXPECT_TRUE(d13["ldn"].is_null());  // no Ldn day on the 13th
  // The long-term row: energy means over every record of each period, never means of daily levels.
  Figures nights;
  for (const Exported& r : records)
    if (r.second < 7 * 3600 || r.second >= 23 * 3600) nights.add(r);
  const Json& all = j["wholeDays"];
  EXPECT_FALSE(all.contains("date"));
  EXPECT_NEAR(all["lnight"].get<double>(), nights.leq(), 0.01);
  EXPECT_NEAR(all["lden"].get<double>(), lden(level("14 day"), level("14 evening"), nights.leq()), 0.01);
  EXPECT_NEAR(all["coverage"]["day"].get<double>(), 50, 1e-9);  // one full day period of two assessment days

  // Events: loud records at 65.01 dB and above, runs less than 5 s apart joined.
  std::vector<Event> events;
  for (const Exported& r : records) {
    if (r.level < 65.005) continue;
    if (events.empty() || r.second - (events.back().last + 1) >= 5) events.push_back({r.second, r.second});
    events.back().last = r.second;
  }
  for (Event& e : events) {
    for (int s = e.start; s <= e.last; ++s) {
      const double l = records[static_cast<std::size_t>(s)].level;
      ++e.records;
      e.energySum += energy(l);
      if (l > e.lmax) e.lmax = l, e.lmaxAt = s;
    }
  }
  ASSERT_GT(events.size(), 20u);
  ASSERT_EQ(j["events"].size(), events.size());
  const auto clock = [](int s) {
    char text[32];
    std::snprintf(text, sizeof text, "2026-05-14T%02d:%02d:%02d", s / 3600, s / 60 % 60, s % 60);
    return std::string(text);
  };
  std::vector<int> perHour(24, 0);
  for (std::size_t i = 0; i < events.size(); ++i) {
    const Json& e = j["events"][i];
    const Event& x = events[i];
    EXPECT_EQ(e["start"], clock(x.start)) << i;
    EXPECT_EQ(e["end"], clock(x.last + 1)) << i;
    EXPECT_EQ(e["duration"].get<double>(), double(x.records)) << i;
    EXPECT_NEAR(e["lmax"].get<double>(), x.lmax, 0.01) << i;
    EXPECT_NEAR(e["leq"].get<double>(), meanLevel(x.energySum, x.records), 0.01) << i;
    EXPECT_NEAR(e["le"].get<double>(), 10 * std::log10(x.energySum), 0.01) << i;
    ++perHour[static_cast<std::size_t>(x.start / 3600)];
  }
  for (std::size_t h = 0; h < 24; ++h) EXPECT_EQ(j["intervals"][h]["events"], perHour[h]) << h;
  EXPECT_EQ(j["whole"]["events"], events.size());
}

// Options the command cannot take are usage errors (2); fields the dialog
// refuses get its message (1); no result replaces a file in use.
TEST(AssessCommand, RefusesWhatItCannotTake) {
  const fs::path dir = fs::temp_directory_path() / ("sonvera-assess-refuse-" + std::to_string(::getpid()));
  fs::create_directories(dir);
  const std::string settings = (dir / "s.xlsx").string();  // a settings file by its contents, whatever its name
  fs::copy_file(demo("samples/street-noise.cfg"), settings);
  const auto assess = [&](std::vector<std::string> options) {
    std::vector<std::string> args{"--catalogue", demo("bin/TeleDescFile.bin"), "assess", demo("samples/street-noise.bin")};
    args.insert(args.end(), options.begin(), options.end());
    return test::runCli(args);
  };
  struct Case {
    std::vector<std::string> options;
    int code;
    std::string says;
  };
  const Case cases[] = {
      {{"-s", settings, "--periods", "7,19"}, 2, "--periods takes three hours"},
      {{"-s", settings, "--penalties", "0,5,10,"}, 2, "--penalties takes three levels"},
      {{"-s", settings, "--exclude", "all"}, 2, "--exclude takes"},
      {{"-s", settings, "--interval", "7"}, 2, "--interval"},
      {{"-s", settings, "--entry", "11"}, 2, "--entry 11: the export list has 10 entries"},
      {{"-s", settings, "--gap", "x"}, 1, "Ошибка: неверно задана пауза, объединяющая события"},
      {{"-s", settings, "--periods", "7,23,19"}, 1, "Ошибка: неверно заданы часы начала дня, вечера и ночи"},
      {{}, 1, "Ошибка: пустой список выгружаемых данных"},
      {{"-s", settings, "--from", "25:00:00", "--to", "26:00:00", "--by-time"}, 1, "Ошибка: неверно задано начало"},
      {{"-s", settings, "-o", settings}, 1, "который программа читает"},
  };
  for (const Case& c : cases) {
    const test::CliRun r = assess(c.options);
    EXPECT_EQ(r.code, c.code) << c.says << "\n" << r.err;
    EXPECT_NE(r.err.find(c.says), std::string::npos) << r.err;
  }
  // The readable tables: a summary line, then each table with its columns aligned.
  const test::CliRun readable = assess({"-s", settings, "--interval", "1440"});
  ASSERT_EQ(readable.code, 0) << readable.err;
  std::istringstream lines(readable.out);
  std::string summary, blank, title, header, row, whole;
  std::getline(lines, summary), std::getline(lines, blank), std::getline(lines, title);
  std::getline(lines, header), std::getline(lines, row), std::getline(lines, whole);
  const auto startsWith = [](const std::string& text, const std::string& start) { return text.rfind(start, 0) == 0; };
  EXPECT_TRUE(startsWith(summary, "Общ,Leq,A: 85932 записей")) << summary;
  EXPECT_EQ(title, "Интервалы");
  EXPECT_TRUE(startsWith(row, "2026-05-14 00:00:00 ")) << row;
  EXPECT_TRUE(startsWith(whole, "весь диапазон ")) << whole;
  // Numbers end where their headers end: every line of the table is as wide, in letters.
  const auto letters = [](const std::string& text) {
    return std::count_if(text.begin(), text.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; });
  };
  EXPECT_EQ(letters(row), letters(header));
  EXPECT_EQ(letters(whole), letters(header));
  EXPECT_EQ(row.substr(row.rfind(' ') + 1), "191");
  EXPECT_EQ(whole.substr(whole.rfind(' ') + 1), "191");

  // The range in times, as export takes it; one interval of that hour.
  const test::CliRun hour = assess({"-s", settings, "--from", "08:00:00", "--to", "08:59:59", "--by-time", "--json"});
  ASSERT_EQ(hour.code, 0) << hour.err;
  const Json j = Json::parse(hour.out);
  ASSERT_EQ(j["intervals"].size(), 1u);
  EXPECT_EQ(j["intervals"][0]["records"], 3600);
  EXPECT_NEAR(j["days"][0]["coverage"]["day"].get<double>(), 100.0 / 12, 1e-9);
  fs::remove_all(dir);
}

}  // namespace
}  // namespace sonvera
