// tilvendo: photo mosaics and albums from the shell.
#include <unistd.h>

#include <iostream>
#include <string>
#include <vector>

#include "cli/programm.h"
#include "cli/terminal_benutzer.h"
#include "platform/medien.h"

int main(int argc, char** argv) {
  using namespace tilvendo;
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
