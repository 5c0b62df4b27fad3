#include "app/preview_pane.h"

#include <cctype>

#include "app/file_summary.h"
#include "measurement/record_stream.h"

namespace sonvera {
namespace {

// The pane looks at underload only in files this small.
constexpr std::uint32_t kUnderloadScanLimit = 1000;

std::string withoutTrailingSpace(const std::string& path) {
  std::size_t end = path.size();
  while (end > 0 && std::isspace(static_cast<unsigned char>(path[end - 1])) != 0) --end;
  return path.substr(0, end);
}

}  // namespace

int PreviewPane::update(const std::string& rawPath) {
  model.clear(), vin.clear(), span.clear(), records.clear(), step.clear();
  over = false;
  under = false;
  underShown = false;
  succeeded_ = false;

  const std::string path = withoutTrailingSpace(rawPath);
  if (path.empty()) return 1;
  closeMeasurementFile(file_);  // the tables keep their memory from one look to the next
  file_.path = path;
  if (!file_.handle.open(path)) return 2;
  DeviceDescription& d = file_.description;
  const bool known = readFileHeader(catalogue_, file_.handle, file_.channels, file_.values, d, file_.dataOffset);
  int code = 0;
  if (!known || d.recordSize == 0)
    code = 3;
  else if ((file_.recordCount = wholeRecordCount(file_)) == 0)
    code = 4;
  else if (d.channelCount == 0)
    code = 5;
  if (code != 0) {
    file_.handle.close();
    return code;
  }

  readFirstAndLastRecord(file_);
  const FileSummary summary = headlineSummary(catalogue_, file_);
  model = summary.model;
  vin = summary.vin;
  span = summary.span;
  records = summary.records;
  if (summary.step) step = *summary.step;
  over = summary.over;

  const std::int32_t channel0 = loadFlagOffset(d, true, 0);
  if (channel0 >= 1 && static_cast<std::uint32_t>(channel0) < d.recordSize &&
      file_.recordCount <= kUnderloadScanLimit) {
    std::vector<std::int32_t> offsets;
    for (std::int32_t c = 0; c < d.channelCount; ++c)
      if (const std::int32_t offset = loadFlagOffset(d, true, c); offset >= 1) offsets.push_back(offset);
    RecordStream stream(file_, 0, file_.recordCount);
    std::uint16_t flags = 0;
    for (std::uint32_t i = 0; i < file_.recordCount; ++i) {
      const std::span<const std::uint8_t> record = stream.next();
      for (const std::int32_t offset : offsets) flags |= recordWord(record, offset);
    }
    under = flags != 0;
    underShown = true;
  }
  succeeded_ = true;
  file_.handle.close();
  return 0;
}

}  // namespace sonvera
