// Points in time as the program keeps them: a double-precision number of days, so that
// durations are plain differences.
#pragma once

#include <cstdint>
#include <string>

namespace tilvendo {

using Zeitpunkt = double;  // days since 30 December 1899, local time

inline constexpr double kSecondsPerDay = 86400.0;

Zeitpunkt Jetzt();

// A duration in whole hours, the minutes within the hour and the seconds within the
// minute; minutes and seconds have two digits each ("07", "42").
struct Dauerteile {
  int64_t stunden = 0;
  std::string minuten;
  std::string sekunden;
};
Dauerteile DauerZerlegen(double tage);

// A seed for the random generator taken from the clock.
uint32_t SeedFromClock();

}  // namespace tilvendo
