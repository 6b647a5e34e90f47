// The whole command line: reads the arguments, runs the command and turns every
// outcome into a message and an exit code (0 done, 1 error, 2 wrong use, 130 cancel).
#pragma once

#include <string>
#include <vector>

#include "cli/umgebung.h"

namespace tilvendo::cli {

int Ausfuehren(const std::vector<std::string>& argumente, Umgebung& umgebung, bool signaleAbfangen);

}  // namespace tilvendo::cli
