#include "samples/sample_layouts.h"

#include "measurement/record_decoder.h"

namespace sonvera {
namespace {

constexpr ParameterCode banded(std::uint32_t type, std::uint32_t group, std::uint32_t channel,
                               std::uint32_t parameter, std::uint32_t band) {
  return type << 28 | 1u << 24 | group << 20 | channel << 16 | parameter << 8 | band;
}

void finish(DeviceDescription& d) {
  d.formats.assign(d.layout.size(), 0xFFFF);
  d.recordSize = 0;
  for (const ParameterCode c : d.layout) d.recordSize += recordValueSize(c);
  d.typeEchoOffset = computeTypeEchoOffset(d);
}

}  // namespace

DeviceDescription soundLevelMeterDescription() {
  DeviceDescription d;
  auto& l = d.layout;
  l = {code::kTypeEcho, 0x201C0000, 0x50040000, 0x50070000, 0x20250000, 0x20110000,
       0x40130000, 0x40140000, 0x401E0000, 0x500A0100, 0x500B0100, 0x500C0100};
  for (std::uint32_t i = 0; i < 6; ++i) l.push_back(0x60160000 | i);
  for (std::uint32_t i = 0; i < 6; ++i) l.push_back(0x00170000 | i);
  for (std::uint32_t p = 0; p < 3; ++p)
    for (std::uint32_t w = 0; w < 3; ++w) l.push_back(banded(0, 3, 0, p, w));
  for (std::uint32_t p = 0; p < 3; ++p)
    for (std::uint32_t b = 0; b < 10; ++b) l.push_back(banded(0, 2, 0, p, b));
  for (std::uint32_t p = 0; p < 3; ++p)
    for (std::uint32_t b = 0; b < 36; ++b) l.push_back(banded(0, 1, 0, p, b));
  for (std::uint32_t b = 0; b < 10; ++b) l.push_back(0x70202000 | b);
  l.push_back(0x70201FFE);
  l.push_back(0x70201FFF);
  d.blockCount = 1;
  d.groupTitles = {"1/3 октавы", "Октавы", "Общие"};
  d.groupColumnTitles = {"1/3", "1/1", "Общ"};
  d.parameterNames = {{0, "Leq"}, {1, "Lmax"}, {2, "Lmin"}};
  finish(d);
  return d;
}

DeviceDescription vibrationMeterDescription() {
  DeviceDescription d;
  auto& l = d.layout;
  l = {code::kTypeEcho, 0x201C0000, 0x502C0000, 0xC03B0000, 0x202E0000, 0x20320000, 0x20190000,
       0x20210000, 0x20360001, 0x401E0000, 0x50080000, 0xF02F0200, 0xF02F0710};
  for (std::uint32_t ch = 0; ch < 4; ++ch) {
    l.push_back(0x40130000 | ch);
    l.push_back(0x40140000 | ch);
    l.push_back(0x500A0000 | ch);
    l.push_back(0x500B0000 | ch);
    l.push_back(0x500C0000 | ch);
  }
  l.push_back(0x70201FFE);
  l.push_back(0x70201FFD);
  for (std::uint32_t ch = 0; ch < 4; ++ch)
    for (std::uint32_t p = 0; p < 2; ++p)
      for (std::uint32_t b = 0; b < 16; ++b) l.push_back(banded(11, 1, ch, p, b));
  for (std::uint32_t i = 0; i < 4; ++i) l.push_back(0x60160000 | i);
  for (std::uint32_t i = 0; i < 8; ++i) l.push_back(0x00170000 | (i / 4) << 12 | i % 4);
  l.push_back(0x70230000);
  for (std::uint32_t k = 0; k < 8; ++k) l.push_back(0x70240000 | k);
  l.push_back(0xB0351000);
  l.push_back(0x703A0000);
  l.push_back(0x20250000);
  d.blockCount = 2;
  d.groupTitles = {"Полосы", "", ""};
  d.groupColumnTitles = {"Пол", "", ""};
  d.parameterNames = {{0, "RMS"}, {1, "Peak"}};
  finish(d);
  return d;
}

}  // namespace sonvera
