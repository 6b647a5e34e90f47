#include "pictures/jpeg_fehlerbehandlung.h"

#include <jerror.h>

namespace tilvendo {
namespace {

constexpr int kWarnung = -1;  // the level the library gives warnings; higher ones are traces

[[noreturn]] void Zurueckspringen(j_common_ptr info) {
  // `mgr` is the first member, so the manager's address is the whole record's.
  auto* fehler = reinterpret_cast<JpegFehlerbehandlung*>(info->err);
  std::longjmp(fehler->sprung, 1);
}

bool IstDatenVerloren(int meldung) {
  return meldung == JWRN_HIT_MARKER || meldung == JWRN_HUFF_BAD_CODE ||
         meldung == JWRN_ARITH_BAD_CODE || meldung == JWRN_MUST_RESYNC;
}

// The end of the data reached early: harmless for Huffman-coded data, where the decoder
// reads a few bytes ahead (a file lacking only its end marker runs into its end) and
// reports data that is really missing as a premature end of a segment. The arithmetic
// decoder fills missing data silently, so there the early end itself is the fault.
bool IstDatenendeFehler(const jpeg_decompress_struct& info) {
  return info.arith_code != FALSE;
}

void Melden(j_common_ptr info, int stufe) {
  if (stufe != kWarnung || info->is_decompressor == FALSE) return;
  const int meldung = info->err->msg_code;
  if (IstDatenVerloren(meldung)) Zurueckspringen(info);
  if (meldung == JWRN_JPEG_EOF && IstDatenendeFehler(*reinterpret_cast<j_decompress_ptr>(info))) {
    Zurueckspringen(info);
  }
}

// Nothing the library has to say is of use to the user, and it must not reach the terminal.
void Schweigen(j_common_ptr) {}

}  // namespace

jpeg_error_mgr* StilleFehlerbehandlung(JpegFehlerbehandlung& fehler) {
  jpeg_std_error(&fehler.mgr);
  fehler.mgr.error_exit = Zurueckspringen;
  fehler.mgr.emit_message = Melden;
  fehler.mgr.output_message = Schweigen;
  return &fehler.mgr;
}

}  // namespace tilvendo
