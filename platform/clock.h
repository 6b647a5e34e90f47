// Points in time as the program keeps them: a double-precision number of days, so that
// durations are plain differences.
#pragma once

#include <cstdint>
#include <string>

namespace tilvendo {

using Zeitpunkt = double;  // days since 30 December 1899, local time

inline constexpr double kSecondsPerDay = 86400.0;

Zeitpunkt Jetzt();

// Minutes within the hour and seconds of a duration, two digits each ("07", "42"),
// as the progress lines show them: an hour or more shows only its minutes in the hour.
struct MinutenSekunden {
  std::string minuten;
  std::string sekunden;
};
MinutenSekunden DauerZerlegen(double tage);

// A seed for the random generator taken from the clock.
uint32_t SeedFromClock();

}  // namespace tilvendo
