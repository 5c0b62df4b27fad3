#include "export/record_walk.h"

#include <algorithm>

#include "export/format_value.h"
#include "measurement/record_decoder.h"

namespace sonvera {

RecordWalk::RecordWalk(const ExportJob& job)
    : job_(job),
      values_(job.values),
      channels_(job.channels),
      record_(job.description.recordSize, 0),
      channelCount_(std::clamp<std::int32_t>(job.description.channelCount, 0, static_cast<std::int32_t>(kChannelSlots))) {
  if (job.catalogue != nullptr)
    columns_ = buildExportColumns(*job.catalogue, job.typeCode, job.description, values_, channels_, job.items, ';');
}

void RecordWalk::read(std::uint32_t index) {
  readRecord(*job_.file, job_.dataOffset, job_.description.recordSize, index, record_);
  decodeIfSameType(record_, channels_, values_, job_.description);
}

RecordTime RecordWalk::time() const { return recordTime(values_); }

double RecordWalk::value(std::size_t c) const {
  const ExportColumn& column = columns_[c];
  return displayedValue(*column.value, column.format, job_.settings.linearUnits, column.reference);
}

bool RecordWalk::overload() const {
  return std::any_of(channels_.begin(), channels_.begin() + channelCount_,
                     [](const ChannelValues& c) { return c.overloadFlag != 0; });
}

bool RecordWalk::underload() const {
  return std::any_of(channels_.begin(), channels_.begin() + channelCount_,
                     [](const ChannelValues& c) { return c.underloadFlag != 0; });
}

bool RecordWalk::marker() const { return values_.markerFlag != 0; }

}  // namespace sonvera
