#include "engine/signatur_cache.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace tilvendo {

std::optional<Kachelsignatur> SignaturLesen(Signaturdatei& datei, int formanalyse) {
  std::vector<uint8_t> puffer(SignaturGroesse(formanalyse));
  SignaturDatensatz satz;
  for (size_t stelle = 0; stelle < puffer.size(); stelle += kSatzGroesse) {
    if (!datei.Lesen(satz)) {
      // A clean end lies only before a head record; anything else is a cut-off file.
      if (stelle == 0 && !datei.Beschaedigt()) return std::nullopt;
      datei.AlsBeschaedigtMarkieren();
      throw SignaturBeschaedigt("Signaturdatei endet mitten in einer Signatur");
    }
    std::copy(satz.begin(), satz.end(), puffer.begin() + static_cast<std::ptrdiff_t>(stelle));
  }
  try {
    return SignaturDekodieren(puffer, formanalyse);
  } catch (const SignaturBeschaedigt&) {
    datei.AlsBeschaedigtMarkieren();
    throw;
  }
}

void SignaturSchreiben(Signaturdatei& datei, const Kachelsignatur& signatur, int formanalyse) {
  std::vector<uint8_t> puffer(SignaturGroesse(formanalyse));
  SignaturKodieren(signatur, formanalyse, puffer);
  SignaturDatensatz satz;
  for (size_t stelle = 0; stelle < puffer.size(); stelle += kSatzGroesse) {
    std::copy_n(puffer.begin() + static_cast<std::ptrdiff_t>(stelle), kSatzGroesse, satz.begin());
    datei.Schreiben(satz);
  }
}

}  // namespace tilvendo
