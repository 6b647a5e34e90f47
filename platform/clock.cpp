#include "platform/clock.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <ctime>

namespace tilvendo {
namespace {

// Days between the program's epoch (30 December 1899) and the Unix epoch.
constexpr double kEpochOffsetDays = 25569.0;
constexpr int64_t kMillisPerSecond = 1000;
constexpr int64_t kSecondsPerMinute = 60;
constexpr int64_t kMinutesPerHour = 60;
constexpr int64_t kSecondsPerHour = kSecondsPerMinute * kMinutesPerHour;

std::string TwoDigits(int64_t value) {
  char text[24];
  std::snprintf(text, sizeof text, "%02lld", static_cast<long long>(value));
  return text;
}

}  // namespace

Zeitpunkt Jetzt() {
  const auto now = std::chrono::system_clock::now();
  const double seconds = std::chrono::duration<double>(now.time_since_epoch()).count();
  const std::time_t whole = static_cast<std::time_t>(seconds);
  std::tm local{};
  localtime_r(&whole, &local);
  return kEpochOffsetDays + (seconds + static_cast<double>(local.tm_gmtoff)) / kSecondsPerDay;
}

Dauerteile DauerZerlegen(double tage) {
  // Round to whole milliseconds first so 59.9996 s does not show as "00:59" by accident
  // of floating point, then truncate to seconds as a clock display does.
  const auto millis = static_cast<int64_t>(std::llround(std::fabs(tage) * kSecondsPerDay * 1000));
  const int64_t seconds = millis / kMillisPerSecond;
  return Dauerteile{seconds / kSecondsPerHour,
                    TwoDigits(seconds / kSecondsPerMinute % kMinutesPerHour),
                    TwoDigits(seconds % kSecondsPerMinute)};
}

uint32_t SeedFromClock() {
  const auto ticks = std::chrono::steady_clock::now().time_since_epoch().count() ^
                     std::chrono::system_clock::now().time_since_epoch().count();
  return static_cast<uint32_t>(ticks ^ (ticks >> 32));
}

}  // namespace tilvendo
