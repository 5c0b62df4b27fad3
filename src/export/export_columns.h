#pragma once
// The columns an export writes: one per channel and band of each chosen
// export-list entry, in list order, with its name, display format and
// reference. Each column reads its value straight from a decoding state, so
// the state must stay where it is while the columns are used.

#include <cstdint>
#include <string>
#include <vector>

#include "catalogue/device_catalogue.h"
#include "export/column_statistics.h"
#include "export/export_item.h"
#include "export/format_value.h"
#include "measurement/record_values.h"

namespace sonvera {

// One output column. `value` points into the worker's decoded state, so the
// column reads each record's value without a look-up.
struct ExportColumn {
  const double* value = nullptr;
  DisplayFormat format = display_format::kDefault;  // as the catalogue gives it, for the text
  std::int32_t channel = 0;
  std::string name;
  double reference = 0;     // of the format's reference kind and the channel
  bool isLevel = false;     // format bit 0
  bool decimating = false;  // format bit 3: averaged or maxima when decimating
  double decimationSum = 0;
  std::int64_t decimationCount = 0;
  double decimationMax = 0;
  ColumnAccumulator statistics;
};

// The columns of `items` over the decoding state `values` and `channels`;
// names keep to their column for the separator.
std::vector<ExportColumn> buildExportColumns(const DeviceCatalogue& catalogue, std::uint16_t typeCode,
                                             const DeviceDescription& description, const RecordValues& values,
                                             const ChannelTables& channels, const std::vector<ExportItem>& items,
                                             char separator);

}  // namespace sonvera
