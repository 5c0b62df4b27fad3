#pragma once
// The floor under an export: what a converter written for one layout alone
// would do for the same columns of the same file. It reads the records once
// in large blocks, takes each column's value straight from its bytes, formats
// the numbers with std::to_chars into one buffer (record number, date, time
// and the values, as the export writes them) and writes the buffer out. Only
// what the benchmark files hold is handled: 16-bit level values (x / 256) and
// the 32-bit time stamp.

#include <fcntl.h>
#include <unistd.h>

#include <charconv>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "base/byte_reader.h"
#include "export/export_columns.h"
#include "export/format_value.h"
#include "measurement/measurement_file.h"
#include "measurement/record_decoder.h"

namespace sonvera::bench {

struct FloorColumn {
  std::size_t offset = 0;  // of the value in the record
  int decimals = 2;
};

// Where each export column's value lies in a record: the layout is walked
// once, and the cell each banded entry decodes into is matched with the
// column's pointer. Empty when a column is not a 16-bit banded value.
inline std::vector<FloorColumn> floorColumns(const DeviceDescription& d, const ChannelTables& channels,
                                             const std::vector<ExportColumn>& columns) {
  std::vector<FloorColumn> found(columns.size());
  std::vector<bool> matched(columns.size(), false);
  std::size_t cursor = 0;
  for (const ParameterCode c : d.layout) {
    const std::uint32_t size = recordValueSize(c);
    const std::uint32_t g = code::isBanded(c) && code::valueType(c) == 0 ? code::groupField(c) : 0;
    if (g >= 1 && g <= 3) {
      const auto& table = channels[code::channel(c)].values[g - 1];
      const std::uint32_t p = code::parameter(c, d.wideBandIndex), b = code::band(c, d.wideBandIndex);
      if (p < table.size() && b < table[p].size())
        for (std::size_t k = 0; k < columns.size(); ++k)
          if (columns[k].value == &table[p][b]) {
            const DisplayFormat f = columns[k].format == display_format::kDefault ? display_format::kDefaultLevel
                                                                                 : columns[k].format;
            found[k] = {cursor, display_format::levelDecimals(f) + 1};
            matched[k] = true;
          }
    }
    cursor += size;
  }
  for (const bool m : matched)
    if (!m) return {};
  return found;
}

// The day of a count of days since 2000-01-01.
inline void civilDay(std::uint32_t days, int& year, int& month, int& day) {
  const std::int64_t z = std::int64_t{days} + 10957 + 719468;  // days since 0000-03-01
  const std::int64_t era = z / 146097, doe = z - era * 146097;
  const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const std::int64_t mp = (5 * doy + 2) / 153;
  day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  year = static_cast<int>(yoe + era * 400 + (month <= 2));
}

inline char* twoDigits(char* out, int v) {
  out[0] = static_cast<char>('0' + v / 10 % 10);
  out[1] = static_cast<char>('0' + v % 10);
  return out + 2;
}

struct FloorRun {
  double seconds = 0;
  std::uint64_t bytes = 0;
};

// Records first to last (from 0) of `file` into `path`: "N;dd/mm/yy;HH:MM:SS;v1;...;\r\n".
inline FloorRun runFloor(const MeasurementFile& file, std::uint32_t first, std::uint32_t last,
                         std::size_t stampOffset, const std::vector<FloorColumn>& columns, const std::string& path) {
  const auto start = std::chrono::steady_clock::now();
  FloorRun run;
  const int out = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (out < 0) return run;
  const std::size_t recordSize = file.description.recordSize;
  const std::size_t perBlock = std::max<std::size_t>(1, (std::size_t{1} << 20) / recordSize);
  std::vector<std::uint8_t> block(perBlock * recordSize);
  std::vector<char> text(std::size_t{1} << 20);
  std::size_t used = 0;
  const auto flush = [&] {
    run.bytes += used;
    for (std::size_t done = 0; done < used;) {
      const ssize_t n = ::write(out, text.data() + done, used - done);
      if (n <= 0) break;
      done += static_cast<std::size_t>(n);
    }
    used = 0;
  };
  for (std::uint64_t r = first; r <= last;) {
    const std::size_t count = static_cast<std::size_t>(std::min<std::uint64_t>(perBlock, last - r + 1));
    file.handle.readAt(file.dataOffset + r * recordSize, block.data(), count * recordSize);
    for (std::size_t i = 0; i < count; ++i, ++r) {
      if (text.size() - used < 64 + columns.size() * 32) flush();
      char* p = text.data() + used;
      const std::uint8_t* record = block.data() + i * recordSize;
      p = std::to_chars(p, p + 16, r + 1).ptr;
      *p++ = ';';
      const std::uint32_t stamp = loadLE32(record + stampOffset);
      int year, month, day;
      civilDay(stamp >> 17, year, month, day);
      p = twoDigits(p, day);
      *p++ = '/';
      p = twoDigits(p, month);
      *p++ = '/';
      p = twoDigits(p, year % 100);
      *p++ = ';';
      p = twoDigits(p, static_cast<int>(stamp >> 12 & 31));
      *p++ = ':';
      p = twoDigits(p, static_cast<int>(stamp >> 6 & 63));
      *p++ = ':';
      p = twoDigits(p, static_cast<int>(stamp & 63));
      *p++ = ';';
      for (const FloorColumn& c : columns) {
        p = std::to_chars(p, p + 32, loadLE16(record + c.offset) / 256.0, std::chars_format::fixed, c.decimals).ptr;
        *p++ = ';';
      }
      *p++ = '\r';
      *p++ = '\n';
      used = static_cast<std::size_t>(p - text.data());
    }
  }
  flush();
  ::close(out);
  run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  return run;
}

}  // namespace sonvera::bench
