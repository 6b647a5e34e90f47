// tilvendo: photo mosaics and albums from the shell.
#include <malloc.h>
#include <unistd.h>

#include <iostream>
#include <string>
#include <vector>

#include "cli/programm.h"
#include "cli/terminal_benutzer.h"
#include "platform/atomic_file.h"
#include "platform/medien.h"
#include "platform/sprache.h"

namespace {

// A run allocates and frees a handful of pictures of many megabytes one after the
// other (the decoded template, its working copy, the mosaic, the screen copy, the save
// strips). Kept in the heap instead of being returned to the system after each use,
// their memory is reused already mapped, which spares the kernel tens of thousands of
// page faults per run.
constexpr int kGrosseBloeckeImHeap = 1 << 30;

}  // namespace

int main(int argc, char** argv) {
  using namespace tilvendo;
  ::mallopt(M_MMAP_THRESHOLD, kGrosseBloeckeImHeap);
  ::mallopt(M_TRIM_THRESHOLD, kGrosseBloeckeImHeap);
  IgnoreFileSizeSignal();
  SpracheEinrichten();
  std::vector<std::string> argumente(argv + 1, argv + argc);
  const bool fragen = ::isatty(STDIN_FILENO) != 0;
  cli::TerminalBenutzer benutzer(std::cerr, ::isatty(STDERR_FILENO) != 0,
                                 fragen ? &std::cin : nullptr);
  SystemMedien medien;
  cli::Umgebung umgebung{std::cout, std::cerr, benutzer, medien};
  const int ergebnis = cli::Ausfuehren(argumente, umgebung, /*signaleAbfangen=*/true);
  std::cout.flush();
  return ergebnis;
}
