#include "pictures/jpeg_fehlerbehandlung.h"

namespace tilvendo {
namespace {

[[noreturn]] void Zurueckspringen(j_common_ptr info) {
  // `mgr` is the first member, so the manager's address is the whole record's.
  auto* fehler = reinterpret_cast<JpegFehlerbehandlung*>(info->err);
  std::longjmp(fehler->sprung, 1);
}

// Warnings and traces are of no use to the user and must not reach the terminal.
void Schweigen(j_common_ptr) {}

}  // namespace

jpeg_error_mgr* StilleFehlerbehandlung(JpegFehlerbehandlung& fehler) {
  jpeg_std_error(&fehler.mgr);
  fehler.mgr.error_exit = Zurueckspringen;
  fehler.mgr.output_message = Schweigen;
  return &fehler.mgr;
}

}  // namespace tilvendo
