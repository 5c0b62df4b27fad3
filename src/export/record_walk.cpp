#include "export/record_walk.h"

#include <algorithm>


namespace sonvera {

RecordWalk::RecordWalk(const ExportJob& job)
    : job_(job),
      values_(job.values),
      channels_(job.channels),
      records_(*job.file, job.dataOffset, job.description.recordSize, job.settings.firstRecord,
               job.settings.lastRecord),
      record_(job.description.recordSize, 0),
      left_(std::uint64_t{job.settings.lastRecord} - job.settings.firstRecord + 1),
      channelCount_(std::clamp<std::int32_t>(job.description.channelCount, 0, static_cast<std::int32_t>(kChannelSlots))) {
  if (job.catalogue != nullptr)
    columns_ = buildExportColumns(*job.catalogue, job.typeCode, job.description, values_, channels_, job.items, ';');
  for (const ExportColumn& c : columns_) shown_.push_back({c.value, c.reference, shownForm(c.format, job.settings.linearUnits)});
  plan_ = DecodingPlan(job.description, channels_);
}

bool RecordWalk::next() {
  if (left_ == 0) return false;
  --left_;
  records_.next(record_);  // as the export reads: a short read keeps the rest of the previous record
  decoded_ = hasSameType(record_, values_, job_.description);
  if (decoded_) decodeRecord(record_, channels_, values_, job_.description, plan_);
  return true;
}

RecordTime RecordWalk::time() const { return recordTime(values_); }

bool RecordWalk::overload() const {
  return std::any_of(channels_.begin(), channels_.begin() + channelCount_,
                     [](const ChannelValues& c) { return c.overloadFlag != 0; });
}

bool RecordWalk::underload() const {
  return std::any_of(channels_.begin(), channels_.begin() + channelCount_,
                     [](const ChannelValues& c) { return c.underloadFlag != 0; });
}

const ChannelValues* RecordWalk::channelOf(std::size_t c) const {
  const std::int32_t channel = columns_[c].channel;
  return channel >= 0 && channel < channelCount_ ? &channels_[static_cast<std::size_t>(channel)] : nullptr;
}

bool RecordWalk::marker() const { return values_.markerFlag != 0; }

}  // namespace sonvera
