#include "app/settings_file.h"

#include "base/byte_reader.h"
#include "base/byte_writer.h"
#include "base/utf16.h"

namespace sonvera {
namespace {

constexpr std::size_t kItemSize = 16;
constexpr std::size_t kBlockHeaderSize = 8;

std::int32_t signedWord(ByteReader& in) { return static_cast<std::int32_t>(in.u32()); }
void signedWord(ByteWriter& out, std::int32_t v) { out.u32(static_cast<std::uint32_t>(v)); }

}  // namespace

std::vector<std::uint8_t> encodeSettingsFile(const SettingsFileContents& c) {
  ByteWriter out;
  out.u32(kSettingsFileMagic);
  out.u32(kSettingsFileVersion);
  out.u32(static_cast<std::uint32_t>(c.lists.size()));
  for (const auto& [type, items] : c.lists) {
    out.u32(type);
    out.u32(static_cast<std::uint32_t>(items.size()));
    for (const auto& item : items) {
      signedWord(out, item.group);
      signedWord(out, item.parameter);
      signedWord(out, item.band);
      signedWord(out, item.channel);
    }
  }
  for (const auto w : {c.splitOn, c.splitPeriod, c.splitByRecords, c.decimationOn, c.decimationStep,
                       c.decimationByRecords, c.averaging, c.maxima})
    out.u32(w);
  for (const auto v : {c.valueSeparator, c.decimalSeparator, c.shortNames, c.linearUnits, c.sourceInfo})
    signedWord(out, v);
  const StatisticsSettings& s = c.statistics;
  for (const auto v : {s.minimum, s.maximum, s.leq, s.le, s.exceedance, s.threshold}) signedWord(out, v);
  for (const auto p : s.percentiles) signedWord(out, p);
  const std::u16string comment = utf8ToUtf16(c.comment);
  out.text16(comment);
  signedWord(out, c.recordNumber.value_or(0));
  signedWord(out, c.recordTime.value_or(0));
  return out.take();
}

std::optional<SettingsFileContents> decodeSettingsFile(std::span<const std::uint8_t> bytes) {
  ByteReader in(bytes);
  if (in.u32() != kSettingsFileMagic || !in.ok()) return std::nullopt;
  const std::uint32_t version = in.u32();
  if (!in.ok() || version > kSettingsFileVersion) return std::nullopt;

  SettingsFileContents c;
  const std::uint32_t blocks = in.count(kBlockHeaderSize);
  for (std::uint32_t b = 0; b < blocks && in.ok(); ++b) {
    const auto type = static_cast<std::uint16_t>(in.u32());  // the high half is not part of the type
    const std::uint32_t n = in.count(kItemSize);
    std::vector<ExportItem> items;
    items.reserve(n);
    for (std::uint32_t i = 0; i < n; ++i) {
      ExportItem item;
      item.group = signedWord(in);
      item.parameter = signedWord(in);
      item.band = signedWord(in);
      item.channel = signedWord(in);
      items.push_back(item);
    }
    c.lists.insert_or_assign(type, std::move(items));  // a repeated type: the later block wins
  }
  for (auto* w : {&c.splitOn, &c.splitPeriod, &c.splitByRecords, &c.decimationOn, &c.decimationStep,
                  &c.decimationByRecords, &c.averaging, &c.maxima})
    *w = in.u32();
  for (auto* v : {&c.valueSeparator, &c.decimalSeparator, &c.shortNames, &c.linearUnits, &c.sourceInfo})
    *v = signedWord(in);
  StatisticsSettings& s = c.statistics;
  for (auto* v : {&s.minimum, &s.maximum, &s.leq, &s.le, &s.exceedance, &s.threshold}) *v = signedWord(in);
  for (auto& p : s.percentiles) p = signedWord(in);
  c.comment = utf16ToUtf8(in.text16());  // a negative length is larger than any file
  if (version >= 2) {
    c.recordNumber = signedWord(in);
    c.recordTime = signedWord(in);
  }
  if (!in.ok()) return std::nullopt;
  return c;
}

}  // namespace sonvera
