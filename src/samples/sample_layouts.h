#pragma once
// Record layouts of typical instruments, for the sample generator, the
// benchmarks and the fuzz target.

#include "catalogue/device_catalogue.h"

namespace sonvera {

// One-channel sound level meter: type echo, model, serial, 32-bit stamp,
// sequence number, mode, overload and underload, marker, calibration, six
// percentiles, broadband values (group 2), 10 octave bands (group 1) and 36
// third-octave bands (group 0) of three parameters each, band frequencies.
DeviceDescription soundLevelMeterDescription();

// Four-channel vibration meter: 64-bit stamp, channel kinds and units,
// per-channel calibration, 16 bands of two parameters in single precision,
// a level histogram in two blocks, texts, an end-point frequency axis with a
// band-count override.
DeviceDescription vibrationMeterDescription();

}  // namespace sonvera
