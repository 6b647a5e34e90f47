// The libFuzzer entry of one fuzzing executable; TILVENDO_FUZZ_ZIEL names its reader.
#include "ziele.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* daten, size_t groesse) {
  TILVENDO_FUZZ_ZIEL(tilvendo::fuzz::Eingabe(daten, groesse));
  return 0;
}
