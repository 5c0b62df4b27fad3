#pragma once
// The peak resident memory of the benchmark process (Linux), for the
// benchmarks that show memory staying flat however many records they read.

#include <cstdio>

namespace sonvera::bench {

// Megabytes at the peak since the last reset.
inline double peakMegabytes() {
  std::FILE* status = std::fopen("/proc/self/status", "r");
  if (!status) return 0;
  char line[256];
  double kilobytes = 0;
  while (std::fgets(line, sizeof line, status))
    if (std::sscanf(line, "VmHWM: %lf kB", &kilobytes) == 1) break;
  std::fclose(status);
  return kilobytes / 1024.0;
}

inline void resetPeak() {
  if (std::FILE* refs = std::fopen("/proc/self/clear_refs", "w")) {
    std::fputs("5", refs);
    std::fclose(refs);
  }
}

}  // namespace sonvera::bench
