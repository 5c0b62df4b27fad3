#pragma once
// The records of an export job's range in order, decoded as the export
// decodes them into the walk's own copy of the job's decoding state, which
// the export's columns read. Records come many at a time by positioned reads
// (a pass over a range, like the summary's). The chart and the Python module
// walk records through this, so that they show what the export writes.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "export/export_columns.h"
#include "export/export_worker.h"
#include "measurement/record_decoder.h"
#include "measurement/record_stream.h"

namespace sonvera {

class RecordWalk {
 public:
  // The job (its file, catalogue and items) must outlive the walk.
  explicit RecordWalk(const ExportJob& job);
  // The columns point into the walk's state: it stays where it is.
  RecordWalk(const RecordWalk&) = delete;
  RecordWalk& operator=(const RecordWalk&) = delete;

  const std::vector<ExportColumn>& columns() const { return columns_; }

  // Reads and decodes the next record of the range; false after the last. As
  // in the export, a short read keeps the rest of the previous record and a
  // foreign record leaves the previous values standing. The job's range must
  // not be empty.
  bool next();
  // Whether the record last read was of the file's type and so decoded.
  bool decoded() const { return decoded_; }

  // Of the record last read:
  RecordTime time() const;
  // Column `c` as the export shows it (in dB or the linear unit, as the job's
  // linear-units option asks), before rounding; NaN where it carries no value.
  double value(std::size_t c) const { return shownNumber(*shown_[c].value, shown_[c].form, shown_[c].reference); }
  bool overload() const;   // flagged on any channel
  bool underload() const;
  // The channel of column `c`, whose flags tell of that column alone; null
  // for a column of no channel.
  const ChannelValues* channelOf(std::size_t c) const;
  bool marker() const;

 private:
  const ExportJob& job_;
  RecordValues values_;
  ChannelTables channels_;
  std::vector<ExportColumn> columns_;
  // What value() reads of each column, side by side: it is asked for every
  // column of every record.
  struct ShownColumn {
    const double* value;
    double reference;
    ShownForm form;
  };
  std::vector<ShownColumn> shown_;
  DecodingPlan plan_;
  RecordStream records_;
  std::vector<std::uint8_t> record_;
  std::uint64_t left_;  // records of the range not read yet
  std::int32_t channelCount_;
  bool decoded_ = false;
};

}  // namespace sonvera
