// Workbook results read back from their XML (unzip), against the text result
// of the same export.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "cli/cli_run.h"
#include "export/ansi_text.h"
#include "platform/platform.h"
#include "xlsx/workbook_table.h"

namespace sonvera {
namespace {

namespace fs = std::filesystem;

// One member of a zip file, by the unzip program.
std::string unzipped(const fs::path& zip, const std::string& member) {
  const std::string command = "unzip -p '" + zip.string() + "' '" + member + "'";
  std::string text;
  if (std::FILE* pipe = ::popen(command.c_str(), "r")) {
    char buffer[65536];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) text.append(buffer, n);
    ::pclose(pipe);
  }
  return text;
}

std::string between(const std::string& text, const std::string& open, const std::string& close, std::size_t& at) {
  const auto start = text.find(open, at);
  if (start == std::string::npos) return at = std::string::npos, std::string{};
  const auto end = text.find(close, start + open.size());
  at = end == std::string::npos ? std::string::npos : end + close.size();
  return text.substr(start + open.size(), end - start - open.size());
}

std::string attribute(const std::string& tag, const std::string& name) {
  std::size_t at = 0;
  const std::string value = between(tag, " " + name + "=\"", "\"", at);
  return at == std::string::npos ? std::string{} : value;
}

struct Cell {
  bool number = false;
  std::string text;  // the value as stored
  std::string format;  // the number format's code
};
using Sheet = std::vector<std::vector<Cell>>;

// A worksheet's cells by row and column, with their number formats.
Sheet readSheet(const fs::path& book, int index) {
  const std::string styles = unzipped(book, "xl/styles.xml");
  std::map<std::string, std::string> codes{{"0", "General"}, {"1", "0"}, {"2", "0.00"}};
  for (std::size_t at = 0; at != std::string::npos;) {
    const std::string tag = between(styles, "<numFmt ", "/>", at);
    if (at != std::string::npos) codes[attribute(" " + tag, "numFmtId")] = attribute(" " + tag, "formatCode");
  }
  std::size_t at = 0;
  const std::string xfs = between(styles, "<cellXfs", "</cellXfs>", at);
  std::vector<std::string> styleFormats;
  for (std::size_t x = 0; x != std::string::npos;) {
    const std::string tag = between(xfs, "<xf ", ">", x);
    if (x != std::string::npos) styleFormats.push_back(codes[attribute(" " + tag, "numFmtId")]);
  }

  const std::string xml = unzipped(book, "xl/worksheets/sheet" + std::to_string(index) + ".xml");
  Sheet sheet;
  for (std::size_t r = 0; r != std::string::npos;) {
    const std::string row = between(xml, "<row ", "</row>", r);
    if (r == std::string::npos) break;
    const std::size_t number = std::stoul(attribute(" " + row.substr(0, row.find('>')), "r"));
    sheet.resize(std::max(sheet.size(), number));
    auto& cells = sheet[number - 1];
    for (std::size_t c = 0; c != std::string::npos;) {
      const std::string cell = between(row, "<c ", "</c>", c);
      if (c == std::string::npos) break;
      const std::string ref = attribute(" " + cell, "r");
      std::size_t column = 0;
      for (char ch : ref)
        if (ch >= 'A' && ch <= 'Z') column = column * 26 + static_cast<std::size_t>(ch - 'A' + 1);
      cells.resize(std::max(cells.size(), column));
      Cell& out = cells[column - 1];
      std::size_t v = 0;
      out.number = attribute(" " + cell, "t").empty();
      out.text = out.number ? between(cell, "<v>", "</v>", v) : between(cell, "<t>", "</t>", v);
      const std::string style = attribute(" " + cell, "s");
      out.format = styleFormats.at(style.empty() ? 0 : std::stoul(style));
    }
  }
  return sheet;
}

std::vector<std::vector<std::string>> readText(const fs::path& file, char separator) {
  std::vector<std::uint8_t> bytes;
  platform::readWholeFile(file.string(), bytes);
  std::vector<std::vector<std::string>> lines;
  std::string field;
  std::vector<std::string> line;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const char ch = static_cast<char>(bytes[i]);
    if (ch == '\r') continue;
    if (ch == '\n') {
      if (!field.empty()) line.push_back(field);
      lines.push_back(line);
      line.clear();
      field.clear();
    } else if (ch == separator) {
      line.push_back(field);
      field.clear();
    } else {
      field += ch;
    }
  }
  return lines;
}

int decimalsOf(const std::string& text) {
  const auto dot = text.find_first_of(".,");
  const auto end = text.find_first_of("eE");
  if (dot == std::string::npos) return 0;
  return static_cast<int>((end == std::string::npos ? text.size() : end) - dot - 1);
}

class WorkbookResult : public ::testing::Test {
 protected:
  void SetUp() override { fs::create_directories(dir); }
  void TearDown() override { fs::remove_all(dir); }
  static std::string data(const std::string& relative) {
    const char* root = std::getenv("SONVERA_TEST_DATA");
    return std::string(root ? root : ".") + "/" + relative;
  }
  void exportAs(const std::string& name, std::vector<std::string> options) {
    std::vector<std::string> args{"--catalogue", data("bin/TeleDescFile.bin"), "export", data("samples/yard-survey.msr"),
                                  "-o", (dir / name).string()};
    args.insert(args.end(), options.begin(), options.end());
    const test::CliRun r = test::runCli(std::move(args));
    ASSERT_EQ(r.code, 0) << r.err;
  }
  fs::path dir = fs::temp_directory_path() / ("sonvera-xlsx-" + std::to_string(::getpid()));
};

TEST_F(WorkbookResult, CellsHoldTheTextResultsValues) {
  const std::vector<std::string> options{"--all", "--record-number", "--datetime", "--decimal-comma", "--split", "1000rec",
                                         "--stats", "min,max,leq,L50", "--source-info", "--linear"};
  exportAs("y.csv", options);
  exportAs("y.xlsx", options);
  for (const char* part : {"_0001", "_0002"}) {
    const fs::path book = dir / ("y" + std::string(part) + ".xlsx");
    ASSERT_TRUE(fs::exists(book)) << part;
    const auto text = readText(dir / ("y" + std::string(part) + ".csv"), ';');
    const Sheet sheet = readSheet(book, 1);
    ASSERT_EQ(sheet.size(), text.size()) << part;
    ASSERT_GT(text.size(), 400u);
    for (std::size_t c = 0; c < text[0].size(); ++c) {
      EXPECT_FALSE(sheet[0].at(c).number);
      EXPECT_EQ(toAnsi(sheet[0][c].text), text[0][c]) << c;
    }
    std::size_t values = 0;
    for (std::size_t r = 1; r < text.size(); ++r) {
      ASSERT_EQ(sheet[r].size(), text[r].size()) << part << " row " << r;
      // Record number, then date and time as date-time cells.
      EXPECT_EQ(sheet[r][0].text, text[r][0]);
      const double date = std::stod(sheet[r][1].text), time = std::stod(sheet[r][2].text);
      EXPECT_EQ(sheet[r][1].format, "dd/mm/yy");
      EXPECT_EQ(sheet[r][2].format, "hh:mm:ss");
      EXPECT_EQ(RecordTime::fromDayNumber(date + time).format("%d/%m/%y"), text[r][1]);
      EXPECT_EQ(RecordTime::fromDayNumber(date + time).format("%H:%M:%S"), text[r][2]);
      for (std::size_t c = 3; c < text[r].size(); ++c) {
        const Cell& cell = sheet[r][c];
        if (text[r][c].empty()) {
          EXPECT_TRUE(cell.text.empty());
          continue;
        }
        std::string shown = text[r][c];
        for (char& ch : shown)
          if (ch == ',') ch = '.';
        ASSERT_TRUE(cell.number) << r << "," << c;
        EXPECT_EQ(std::stod(cell.text), std::stod(shown)) << r << "," << c;
        EXPECT_EQ(decimalsOf(cell.format), decimalsOf(shown)) << cell.format << " " << shown;
        EXPECT_EQ(cell.format.find('E') != std::string::npos, shown.find('E') != std::string::npos);
        ++values;
      }
    }
    EXPECT_GT(values, 1000u);
    const std::string xml = unzipped(book, "xl/worksheets/sheet1.xml");
    EXPECT_NE(xml.find("state=\"frozen\""), std::string::npos);
    EXPECT_NE(xml.find("ySplit=\"1\""), std::string::npos);

    // The information file as the second sheet.
    EXPECT_NE(unzipped(book, "xl/workbook.xml").find("name=\"Информация\""), std::string::npos);
    const auto info = readText(dir / ("y" + std::string(part) + ".info"), ';');
    Sheet infoSheet = readSheet(book, 2);
    ASSERT_LE(infoSheet.size(), info.size()) << part;  // empty lines have no row
    ASSERT_GT(infoSheet.size(), 10u) << part;
    infoSheet.resize(info.size());
    for (std::size_t r = 0; r < info.size(); ++r)
      for (std::size_t c = 0; c < std::max(infoSheet[r].size(), info[r].size()); ++c) {
        const Cell cell = c < infoSheet[r].size() ? infoSheet[r][c] : Cell{};
        if (c >= info[r].size() || info[r][c].empty()) {
          EXPECT_TRUE(cell.text.empty()) << r << "," << c;
        } else if (cell.number) {
          std::string shown = info[r].at(c);
          for (char& ch : shown)
            if (ch == ',') ch = '.';
          EXPECT_EQ(std::stod(cell.text), std::stod(shown)) << r << "," << c;
        } else {
          EXPECT_EQ(toAnsi(cell.text), info[r].at(c)) << r << "," << c;
        }
      }
  }
}

// A part longer than a sheet goes on in new sheets, each with the header.
TEST_F(WorkbookResult, APartLongerThanASheetGoesOnInNewSheets) {
  const fs::path book = dir / "long.xlsx";
  auto table = makeWorkbookTable(100);
  ASSERT_TRUE(table->create(book.string(), TextEncoding::Windows1251));
  ResultFormatOptions options;
  options.recordNumber = true;
  const std::vector<std::string> names{"Общ,Leq,A"};
  table->header(options, names);
  for (std::uint32_t n = 1; n <= 250; ++n) {
    table->linePrefix(options, n, RecordTime());
    table->value(options, 60.0 + n / 100.0, display_format::kDefault, 2e-5);
    table->endLine();
  }
  ASSERT_TRUE(table->close());
  const std::string workbook = unzipped(book, "xl/workbook.xml");
  EXPECT_NE(workbook.find("name=\"Данные 3\""), std::string::npos);
  std::size_t rows = 0;
  for (int s = 1; s <= 3; ++s) {
    const Sheet sheet = readSheet(book, s);
    EXPECT_EQ(sheet.at(0).at(1).text, "Общ,Leq,A");
    rows += sheet.size() - 1;
    EXPECT_EQ(sheet.back().at(0).text, std::to_string(rows));
  }
  EXPECT_EQ(rows, 250u);

  // A workbook that cannot be made says so at once.
  EXPECT_FALSE(makeWorkbookTable()->create((dir / "missing" / "x.xlsx").string(), TextEncoding::Windows1251));
}

// The assessment's workbook: the three tables of its text files and the
// parameters, numbers as number cells keeping every digit, times as date-time cells.
TEST_F(WorkbookResult, AssessmentSheetsHoldTheTextTables) {
  for (const char* name : {"a.csv", "a.xlsx"}) {
    const test::CliRun r = test::runCli({"--catalogue", data("bin/TeleDescFile.bin"), "assess", data("samples/street-noise.bin"),
                                         "-s", data("samples/street-noise.cfg"), "-o", (dir / name).string()});
    ASSERT_EQ(r.code, 0) << r.err;
  }
  const fs::path book = dir / "a.xlsx";
  const std::string workbook = unzipped(book, "xl/workbook.xml");
  std::size_t at = 0;
  for (const char* sheet : {"Интервалы", "Сутки", "События", "Параметры"}) {
    const auto found = workbook.find("name=\"" + std::string(sheet) + "\"", at);
    ASSERT_NE(found, std::string::npos) << sheet;
    at = found;
  }
  const char* texts[] = {"a_интервалы.csv", "a_сутки.csv", "a_события.csv"};
  for (int s = 0; s < 3; ++s) {
    const auto text = readText(dir / texts[s], ';');
    const Sheet sheet = readSheet(book, s + 1);
    ASSERT_EQ(sheet.size(), text.size()) << texts[s];
    for (std::size_t c = 0; c < text[0].size(); ++c) EXPECT_EQ(toAnsi(sheet[0].at(c).text), text[0][c]);
    for (std::size_t r = 1; r < text.size(); ++r)
      for (std::size_t c = 0; c < text[r].size(); ++c) {
        const Cell cell = c < sheet[r].size() ? sheet[r][c] : Cell{};
        std::string shown = text[r][c];
        for (char& ch : shown)
          if (ch == ',') ch = '.';  // the settings' decimal comma
        if (shown.empty()) {
          EXPECT_TRUE(cell.text.empty()) << texts[s] << " " << r << "," << c;
        } else if (shown.size() == 19 && shown[4] == '-') {  // a time
          EXPECT_TRUE(cell.number);
          EXPECT_EQ(cell.format, "yyyy-mm-dd hh:mm:ss");
          EXPECT_EQ(RecordTime::fromDayNumber(std::stod(cell.text)).format("%Y-%m-%d %H:%M:%S"), shown);
        } else if (shown.size() == 10 && shown[4] == '-') {  // a date
          EXPECT_EQ(cell.format, "yyyy-mm-dd");
          EXPECT_EQ(RecordTime::fromDayNumber(std::stod(cell.text)).format("%Y-%m-%d"), shown);
        } else if (cell.number) {
          // The text rounds; the cell keeps the value and shows the text's decimals.
          EXPECT_NEAR(std::stod(cell.text), std::stod(shown), 0.05 + 1e-9) << texts[s] << " " << r << "," << c;
          EXPECT_EQ(decimalsOf(cell.format), decimalsOf(shown)) << cell.format << " " << shown;
        } else {
          EXPECT_EQ(toAnsi(cell.text), text[r][c]);
        }
      }
  }
  const Sheet parameters = readSheet(book, 4);
  ASSERT_GT(parameters.size(), 20u);
  EXPECT_EQ(parameters[3].at(0).text, "Столбец");
  EXPECT_EQ(parameters[3].at(1).text, "Общ,Leq,A");
}

}  // namespace
}  // namespace sonvera
