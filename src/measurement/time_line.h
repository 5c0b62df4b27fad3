#pragma once
// The time line of an open measurement file: the time of a record, the record
// a range boundary given as a time resolves to, and the text form of range
// times. Record numbers here are counted from 1, as the range fields show
// them. Every record read is decoded into the file's own decoding state.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "measurement/measurement_file.h"
#include "measurement/record_time.h"

namespace sonvera {

// The time of record n (from 1), which is read into `buffer` and decoded
// into the file's state; the time itself may be invalid (a record without a
// date). nullopt without reading when no file is open (type code 0 or no
// handle), the record size is 0 or n is not from 1 to recordCount.
std::optional<RecordTime> timeOfRecord(MeasurementFile& file, std::uint32_t n,
                                       std::vector<std::uint8_t>& buffer);

// The record (from 1) that a range boundary at `t` resolves to: for a start
// (`end` false) the first record at t or else the last one before it, for an
// end the last record at t or else the first one after it. nullopt when no
// file is open, t is invalid or t lies outside firstTime to lastTime.
std::optional<std::uint32_t> findRecordByTime(MeasurementFile& file, const RecordTime& t, bool end,
                                              std::vector<std::uint8_t>& buffer);

// The walk findRecordByTime takes over `count` records from record `probe`
// (both from 0), reading times through `timeAt`; the record (from 0) it
// stops at. Times are expected to rise; the walk stops at the first change
// of direction otherwise, and always within the records.
std::uint32_t walkToTime(std::uint32_t count, std::uint32_t probe, const RecordTime& t, bool end,
                         const std::function<RecordTime(std::uint32_t)>& timeAt);

// Whether the file's first and last times have the same year, month and day.
// The parts of an unknown time read -1, so two unknown times count as one day.
bool firstAndLastOnOneDay(const MeasurementFile& file);

// "%H:%M:%S" when the file's first and last times fall on one day, else
// "%H:%M:%S %d/%m/%Y".
std::string formatRangeTime(const MeasurementFile& file, const RecordTime& t);

// A range time typed by the user, in the form formatRangeTime writes for
// this file; white space around it is ignored. nullopt when the text does not
// convert, a part is out of range, the year lies outside the years of the
// file or the date does not exist.
std::optional<RecordTime> parseRangeTime(const MeasurementFile& file, std::string_view text);

}  // namespace sonvera
