#include "wizard/dezimalkomma.h"

#include "platform/rounding.h"

namespace tilvendo::wizard {
namespace {

constexpr int64_t kProHundert = 100;
constexpr int64_t kZehn = 10;

}  // namespace

int64_t Hundertstel(int64_t zaehler, int64_t nenner) {
  if (nenner <= 0) return 0;
  const int64_t hundertfach = zaehler * kProHundert;
  if (hundertfach < 0) return -DivideRoundHalfEven(-hundertfach, nenner);
  return DivideRoundHalfEven(hundertfach, nenner);
}

std::string MitDezimalkomma(int64_t hundertstel) {
  std::string text = hundertstel < 0 ? "-" : "";
  const int64_t betrag = hundertstel < 0 ? -hundertstel : hundertstel;
  const int64_t rest = betrag % kProHundert;
  text += std::to_string(betrag / kProHundert) + ',' + static_cast<char>('0' + rest / kZehn) +
          static_cast<char>('0' + rest % kZehn);
  return text;
}

}  // namespace tilvendo::wizard
