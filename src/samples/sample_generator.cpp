#include "samples/sample_generator.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <random>
#include <vector>

#include "measurement/channel_names.h"
#include "measurement/record_decoder.h"

namespace sonvera {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr std::array<int, 7> kPercents{1, 5, 10, 50, 90, 95, 99};

// Normal deviates from the fully specified mt19937, so files are the same
// with every standard library.
class Noise {
 public:
  explicit Noise(std::uint32_t seed) : engine_(seed) {}
  double uniform() { return (engine_() + 0.5) / 4294967296.0; }
  double normal() {
    const double u1 = uniform(), u2 = uniform();
    return std::sqrt(-2.0 * std::log(u1)) * std::cos(2.0 * kPi * u2);
  }
  std::uint32_t below(std::uint32_t n) { return n == 0 ? 0 : engine_() % n; }

 private:
  std::mt19937 engine_;
};

enum class Statistic { Leq, Max, Min, Peak };

Statistic statisticOf(const DeviceDescription& d, std::uint32_t parameter) {
  const auto it = d.parameterNames.find(parameter);
  if (it == d.parameterNames.end()) return parameter % 3 == 1 ? Statistic::Max : parameter % 3 == 2 ? Statistic::Min : Statistic::Leq;
  std::string name = it->second;
  std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  if (name.find("max") != std::string::npos) return Statistic::Max;
  if (name.find("min") != std::string::npos) return Statistic::Min;
  if (name.find("peak") != std::string::npos || name.find("pk") != std::string::npos) return Statistic::Peak;
  return Statistic::Leq;
}

// Centre frequency of band b of a group of n bands: third octaves up to
// 20 kHz for long groups, octaves up to 16 kHz for short ones.
double bandFrequency(std::size_t b, std::size_t n) {
  if (n > 12) return 20000.0 * std::pow(10.0, (static_cast<double>(b) - static_cast<double>(n - 1)) / 10.0);
  return 16000.0 / std::pow(2.0, static_cast<double>(n - 1 - b));
}

// Spectrum of road traffic relative to its total, in dB.
double spectrumShape(double f, double tilt) {
  return -10.0 * std::log10(1.0 + std::pow(120.0 / f, 2.0)) - 12.0 * std::log10(1.0 + std::pow(f / 2500.0, 2.0)) +
         tilt * std::log2(f / 1000.0);
}

// Band levels of a group whose energies add up to `total`.
std::vector<double> spectrum(double total, std::size_t n, double tilt) {
  std::vector<double> levels(n);
  if (n <= 3) {  // weightings of a broadband group
    for (std::size_t i = 0; i < n; ++i) levels[i] = total + 1.5 * static_cast<double>(i);
    return levels;
  }
  double energy = 0.0;
  for (std::size_t b = 0; b < n; ++b) energy += std::pow(10.0, spectrumShape(bandFrequency(b, n), tilt) / 10.0);
  const double offset = total - 10.0 * std::log10(energy);
  for (std::size_t b = 0; b < n; ++b) levels[b] = offset + spectrumShape(bandFrequency(b, n), tilt);
  return levels;
}

// Hour-of-day noise of a city street: quiet at night, rush hours at 8 and 18.
double dailyLevel(double hour) {
  return 40.0 + 14.0 * (0.5 - 0.5 * std::cos(2.0 * kPi * (hour - 3.0) / 24.0)) +
         5.0 * std::exp(-std::pow(hour - 8.0, 2.0) / 1.5) + 5.0 * std::exp(-std::pow(hour - 18.0, 2.0) / 2.0);
}

struct Episode {
  std::uint32_t first = 0, last = 0;
  bool contains(std::uint32_t i) const { return i >= first && i <= last; }
};

std::vector<Episode> episodes(Noise& noise, std::uint32_t records, int count) {
  std::vector<Episode> out;
  if (records < 20) return out;
  // Episodes of a few records, longer in long files (up to about 0.5 % each).
  const std::uint32_t longest = 5 + records / 200;
  for (int k = 0; k < count; ++k) {
    const std::uint32_t length = 1 + noise.below(longest);
    const std::uint32_t first = noise.below(records - std::min(records - 1, length + 2));
    out.push_back({first, std::min(records - 1, first + length)});
  }
  return out;
}

bool inAny(const std::vector<Episode>& list, std::uint32_t i) {
  return std::any_of(list.begin(), list.end(), [&](const Episode& e) { return e.contains(i); });
}

// Index of the layout entry that starts at `offset`, or -1.
std::ptrdiff_t entryAt(const std::vector<ParameterCode>& layout, std::uint32_t offset) {
  std::uint32_t at = 0;
  for (std::size_t i = 0; i < layout.size(); ++i) {
    if (at == offset) return static_cast<std::ptrdiff_t>(i);
    if (at > offset) break;
    at += recordValueSize(layout[i]);
  }
  return -1;
}

// Latin capitals and spaces as 8-bit instrument text (the shared table maps
// 0x41-0x5A to themselves; bytes below 32 are spaces, 0xF5-0xFE digits).
std::vector<std::uint8_t> instrumentBytes(const std::string& text) {
  std::vector<std::uint8_t> out(10, 0);
  for (std::size_t i = 0; i < text.size() && i < out.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    out[i] = c >= '0' && c <= '9' ? static_cast<std::uint8_t>(0xF5 + (c - '0')) : c == ' ' ? 0 : c;
  }
  return out;
}

struct Generator {
  Generator(const DeviceCatalogue& c, const SampleOptions& o, const DeviceDescription& description)
      : catalogue(c), options(o), d(description), noise(o.seed) {}

  const DeviceCatalogue& catalogue;
  const SampleOptions& options;
  DeviceDescription d;
  std::uint32_t serial = options.serial.value_or(options.variant == FileVariant::Legacy ? 0x70001 : 0x30001);
  std::uint16_t modelCode = 1;
  Noise noise{1};
  std::vector<Episode> overloads, underloads;
  std::array<std::size_t, 3> bands{0, 0, 0};
  std::uint32_t percentileSlots = 0;

  void setLevels(RecordEncoder& e, double level, double lmax, double lmin, double tilt) {
    std::array<std::vector<double>, 3> spectra;
    for (std::size_t g = 0; g < 3; ++g) spectra[g] = spectrum(level, bands[g], tilt);
    for (std::size_t k = 0; k < d.layout.size(); ++k) {
      const ParameterCode c = d.layout[k];
      if (!code::isBanded(c) || code::groupField(c) < 1 || code::groupField(c) > 3) continue;
      const std::size_t g = code::groupField(c) - 1;
      const std::uint32_t b = code::band(c, d.wideBandIndex);
      double v = b < spectra[g].size() ? spectra[g][b] : level;
      switch (statisticOf(d, code::parameter(c, d.wideBandIndex))) {
        case Statistic::Max: v += lmax - level; break;
        case Statistic::Min: v += lmin - level; break;
        case Statistic::Peak: v += lmax - level + 3.0; break;
        case Statistic::Leq: break;
      }
      v = std::clamp(v + 0.1 * code::channel(c), 0.0, 255.0);
      // A linear quantity (format bit 0 clear) is the level against the reference.
      const std::uint32_t format = d.formatOf(k);
      if (format != 0xFFFF && (format & 1) == 0) v = reference() * std::pow(10.0, v / 20.0);
      e.setValue(c, v);
    }
  }

  double reference() const { return d.defaultReference > 0 ? d.defaultReference : 1.0; }

  // 50 mV/Pa for microphones, 10 mV/(m/s2) for other sensors.
  double sensitivity() const { return unitOf(0) == catalogue.units[0] ? 50e-3 : 10e-3; }

  std::string unitOf(std::size_t c) const {
    const InstrumentModel* model = catalogue.findModel(modelCode);
    return model && c < 4 ? model->channelUnits[c] : std::string{};
  }

  // Channel types and unit indexes of the model's channels, packed four bits a
  // channel; 0xFFFF when a channel's name or unit has no index.
  std::uint16_t packedIndexes(bool units) const {
    const InstrumentModel* model = catalogue.findModel(modelCode);
    if (model == nullptr) return 0xFFFF;
    std::uint16_t word = 0;
    for (std::size_t c = 0; c < 4; ++c) {
      const std::string& text = units ? model->channelUnits[c] : model->channelNames[c];
      unsigned index = 16;
      for (unsigned i = 0; i < 16 && index == 16; ++i)
        if (text == (units ? catalogue.units[i] : std::string(channelTypeName(i)))) index = i;
      if (index == 16) return 0xFFFF;
      word = static_cast<std::uint16_t>(word | index << (4 * c));
    }
    return word;
  }

  void setSpecials(RecordEncoder& e, std::uint32_t i, const RecordTime& t, double level, double lmax) {
    const std::uint16_t date = fatDate(t.year(), t.month(), t.day());
    const std::uint32_t time = timeField(t.hour(), t.minute(), t.second());
    const bool overload = inAny(overloads, i);
    const bool underload = !overload && (inAny(underloads, i) || level < 28.0);
    const bool marker = options.records >= 7 && i % std::max<std::uint32_t>(options.records / 7, 1) == 3;
    for (std::size_t k = 0; k < d.layout.size(); ++k) {
      const ParameterCode c = d.layout[k];
      if (c == 0 || code::isBanded(c)) continue;
      switch (code::upper16(c)) {
        case 0x201B: e.setRaw(c, options.typeCode); break;
        case 0x201C: e.setRaw(c, modelCode); break;
        case 0x5004:
        case 0x502C: e.setRaw(c, serial); break;
        case 0x0001: e.setRaw(c, date); break;
        case 0x0002:
        case 0x5033: e.setValue(c, time); break;
        case 0x5007:
        case 0xC03B: e.setValue(c, t.dayNumber()); break;
        case 0x2025: e.setRaw(c, i & 0xFFFF); break;
        case 0x2011:
        case 0x2021: e.setRaw(c, 1); break;
        case 0x4013: e.setRaw(c, overload ? 1 : 0); break;
        case 0x4014: e.setRaw(c, underload ? 1 : 0); break;
        case 0x401E: e.setRaw(c, marker ? 1 : 0); break;
        case 0x3018:
        case 0x500A: e.setValue(c, 0.3); break;
        case 0x500B: e.setValue(c, reference()); break;
        case 0x500C: e.setValue(c, sensitivity()); break;
        case 0x202E: e.setRaw(c, packedIndexes(false)); break;
        case 0x2032: e.setRaw(c, packedIndexes(true)); break;
        case 0x5008: e.setRaw(c, options.stepSeconds); break;
        case 0xF01A: e.setValue(c, std::min<double>(1.0 * i * options.stepSeconds, 255 * 3600.0)); break;
        case 0x6016: e.setValue(c, kPercents[(c & 0xFF) % kPercents.size()]); break;
        case 0x0017: {
          const std::size_t slot = c & 0xFF;
          const std::size_t perBlock = d.blockCount == 0 ? 0 : percentileSlots / d.blockCount;
          const std::size_t entry = perBlock == 0 ? slot : slot % perBlock;
          const int p = kPercents[entry % kPercents.size()];
          e.setValue(c, std::clamp(level + (50.0 - p) / 50.0 * (lmax - level), 0.0, 255.0));
          break;
        }
        case 0x7020:
        case 0x8020:
        case 0x901F: setFrequency(e, c); break;
        case 0x2036: {
          const std::uint32_t s = c & 0xF;
          if (s >= 1 && s <= 3) e.setRaw(c, bands[s - 1]);
          break;
        }
        case 0xF02F: {
          const std::uint32_t kind = (c >> 4) & 0xF;
          e.setText(c, kind == 0 ? "Точка 1" : kind == 1 ? "Микрофон" : kind == 2 ? "Па" : "");
          break;
        }
        case 0xF005: e.setText(c, "Точка 1"); break;
        case 0xF003: e.setBytes(c, instrumentBytes("POINT 1")); break;
        case 0x2019: e.setRaw(c, 3); break;
        case 0x7023: e.setRaw(c, i); break;
        case 0x7024: e.setRaw(c, 1 + noise.below(50)); break;
        default: break;
      }
    }
  }

  void setFrequency(RecordEncoder& e, ParameterCode c) {
    std::uint32_t s = (c >> 12) & 0xF;
    if (s > 6) s -= 6; else if (s > 3) s -= 3;
    if (s < 1 || s > 3) return;
    const std::size_t n = std::max<std::size_t>(bands[s - 1], 2);
    const std::uint32_t b = c & 0xFFF;
    const double f = b == 0xFFE ? bandFrequency(0, n) : (b == 0xFFF || b == 0xFFD) ? bandFrequency(n - 1, n) : bandFrequency(b, std::max<std::size_t>(n, b + 1));
    e.setValue(c, f);
  }

  HeaderSource header() const {
    HeaderSource h;
    h.typeCode = options.typeCode;
    h.modelCode = modelCode;
    h.flags = d.wideBandIndex != 0 ? 1 : 0;
    h.recordSize = d.recordSize;
    h.vin = serial;
    h.text = "Sonvera sample";
    const InstrumentModel* model = catalogue.findModel(modelCode);
    const std::size_t channels = static_cast<std::size_t>(std::max(d.channelCount, 1));
    for (std::size_t c = 0; c < channels; ++c) {
      h.channelNames.push_back(model && c < 4 && !model->channelNames[c].empty() ? model->channelNames[c]
                                                                               : "Канал " + std::to_string(c + 1));
      const std::string unit = model && c < 4 ? model->channelUnits[c] : catalogue.units[0];
      h.calibration.push_back({0.3f, static_cast<float>(sensitivity()), static_cast<float>(reference()),
                               unit == catalogue.units[0] ? "Микрофон" : "Акселерометр", unit});
    }
    std::int32_t parameters = 0, bandCount = 0;
    std::size_t groups = 0;
    for (std::size_t g = 0; g < 3; ++g) {
      parameters = std::max(parameters, d.parameterCount[g]);
      bandCount = std::max(bandCount, d.bandCount[g]);
      if (d.bandCount[g] > 0) groups = g + 1;
    }
    for (std::int32_t p = 0; p < parameters; ++p) {
      const auto it = d.parameterNames.find(static_cast<std::uint32_t>(p));
      h.parameterNames.push_back(it != d.parameterNames.end() ? it->second : "P" + std::to_string(p));
    }
    h.bandCount = static_cast<std::uint16_t>(bandCount);
    for (std::size_t g = 0; g < groups; ++g) {
      h.groupNames.push_back(d.groupTitles[g]);
      const std::uint32_t start = g == 0 ? d.bandNameStart[0] : g == 1 ? d.bandNameStart[1] : d.bandNameStart2;
      const std::uint32_t step = g == 0 ? d.bandNameStep[0] : g == 1 ? d.bandNameStep[1] : 1;
      h.bandNameStarts.push_back(static_cast<std::uint16_t>(start));
      std::vector<std::string> names;
      for (std::int32_t b = 0; b < d.bandCount[g]; ++b)
        names.push_back(catalogue.bandName(start + step * static_cast<std::uint32_t>(b)).value_or(std::string{}));
      h.bandNames.push_back(names);
    }
    h.layout = d.layout;
    for (const std::uint32_t f : d.formats) h.formats.push_back(static_cast<std::uint16_t>(f));
    return h;
  }
};

}  // namespace

SampleResult generateSample(const DeviceCatalogue& catalogue, const SampleOptions& options,
                            MeasurementFileSource& out) {
  const DeviceDescription* found = catalogue.findDescription(options.typeCode);
  if (found == nullptr || found->layout.empty()) return SampleResult::UnknownType;
  Generator gen(catalogue, options, *found);
  DeviceDescription& d = gen.d;
  deriveCounts(d);
  if (d.recordSize == 0)
    for (const ParameterCode c : d.layout) d.recordSize += recordValueSize(c);
  for (const ParameterCode c : d.layout)
    if (code::kind(c) == 0x016 || code::kind(c) == 0x017) gen.percentileSlots = std::max(gen.percentileSlots, (c & 0xFF) + 1);
  for (std::size_t g = 0; g < 3; ++g) gen.bands[g] = static_cast<std::size_t>(std::max(d.bandCount[g], 0));
  gen.modelCode = options.modelCode.value_or(
      catalogue.models.empty() ? 1 : static_cast<std::uint16_t>(catalogue.models.begin()->first));
  gen.overloads = episodes(gen.noise, options.records, 2);
  gen.underloads = episodes(gen.noise, options.records, 2);

  std::ptrdiff_t legacyEntry = -1;
  if (options.variant == FileVariant::Legacy) {
    legacyEntry = entryAt(d.layout, 18);
    if (legacyEntry < 0 || recordValueSize(d.layout[static_cast<std::size_t>(legacyEntry)]) != 2)
      return SampleResult::NoLegacyModel;
    gen.modelCode = static_cast<std::uint16_t>(options.typeCode + kLegacyTypeOffset);
  }

  out = MeasurementFileSource{};
  out.variant = options.variant;
  RecordEncoder encoder(d);
  double smooth = 0.0, event = 0.0;
  for (std::uint32_t i = 0; i < options.records; ++i) {
    const RecordTime t = add(options.start, static_cast<double>(i) * options.stepSeconds / kSecondsPerDay);
    const double hour = t.valid() ? t.hour() + t.minute() / 60.0 : 12.0;
    smooth = 0.8 * smooth + gen.noise.normal();
    if (event < 0.5 && gen.noise.uniform() < 0.01) event = 8.0 + 12.0 * gen.noise.uniform();
    event *= 0.85;
    double level = dailyLevel(hour) + smooth + event;
    if (inAny(gen.overloads, i)) level = 135.0 + gen.noise.uniform();
    if (inAny(gen.underloads, i)) level = 24.0 + gen.noise.uniform();
    const double lmax = level + 2.0 + 2.0 * std::abs(gen.noise.normal());
    const double lmin = level - 2.0 - 2.0 * std::abs(gen.noise.normal());
    const double tilt = 0.5 * gen.noise.normal();

    encoder.clear();
    gen.setLevels(encoder, level, lmax, lmin, tilt);
    gen.setSpecials(encoder, i, t, level, lmax);
    if (legacyEntry >= 0) encoder.setRaw(d.layout[static_cast<std::size_t>(legacyEntry)], gen.modelCode);
    out.records.push_back(encoder.encode());
  }

  if (options.variant != FileVariant::SelfDescribing && !out.records.empty()) {
    const auto& r = out.records.front();
    const std::uint32_t second = r.size() >= 8 ? std::uint32_t{r[4]} | std::uint32_t{r[5]} << 8 |
                                                     std::uint32_t{r[6]} << 16 | std::uint32_t{r[7]} << 24
                                               : 0;
    const bool typeFirst = r.size() >= 2 && (r[0] | r[1] << 8) == options.typeCode;
    const bool paired = second >= kPairedWordLow && second <= kPairedWordHigh;
    if (options.variant == FileVariant::PairedWord && (!typeFirst || !paired)) return SampleResult::NoPairedWords;
    if (options.variant == FileVariant::Legacy && paired) return SampleResult::LooksPaired;
  }
  if (options.variant == FileVariant::SelfDescribing) out.header = gen.header();
  return SampleResult::Generated;
}

}  // namespace sonvera
