#include "wizard/dezimalkomma.h"

#include "platform/rounding.h"
#include "platform/sprache.h"

namespace tilvendo::wizard {
namespace {

constexpr int64_t kProHundert = 100;

}  // namespace

int64_t Hundertstel(int64_t zaehler, int64_t nenner) {
  if (nenner <= 0) return 0;
  const int64_t hundertfach = zaehler * kProHundert;
  if (hundertfach < 0) return -DivideRoundHalfEven(-hundertfach, nenner);
  return DivideRoundHalfEven(hundertfach, nenner);
}

std::string MitDezimalkomma(int64_t hundertstel) {
  return Festkomma(hundertstel, 2);
}

}  // namespace tilvendo::wizard
