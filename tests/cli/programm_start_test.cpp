// The program as started from a shell: what its main() sets up before the commands run.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <string>

#include "support/bild_dateien.h"
#include "support/temp_folder.h"

namespace tilvendo {
namespace {

// Runs the program with `argumente` from a shell that allows no file to grow at all; its
// status as waitpid() gives it, and standard output and error together (a pipe knows no
// file-size limit, so the program can still say what happened).
std::pair<int, std::string> OhneDateigroesse(const std::string& argumente) {
  const std::string befehl =
      std::string("ulimit -f 0; exec '") + TILVENDO_PROGRAMM + "' " + argumente + " 2>&1";
  std::FILE* rohr = ::popen(befehl.c_str(), "r");
  if (rohr == nullptr) return {-1, {}};
  std::string ausgabe;
  std::array<char, 4096> puffer{};
  for (size_t n = 0; (n = std::fread(puffer.data(), 1, puffer.size(), rohr)) > 0;) {
    ausgabe.append(puffer.data(), n);
  }
  return {::pclose(rohr), ausgabe};
}

TEST(ProgrammStart, BeyondTheFileSizeLimitAFailedWriteIsReportedInsteadOfKillingTheProgram) {
  const testing::TempFolder ordner;
  std::filesystem::create_directory(ordner / "fotos");
  testing::WriteTestJpeg(ordner / "fotos/a.jpg", testing::Einfarbig(16, 16, Farbe{1, 2, 3}));
  const auto [status, ausgabe] = OhneDateigroesse("--alben-pfad '" + ordner / "Alben" +
                                                  "' album anlegen Urlaub '" + ordner / "fotos'");
  ASSERT_TRUE(WIFEXITED(status)) << status << ausgabe;  // not ended by a signal
  EXPECT_EQ(WEXITSTATUS(status), 1) << ausgabe;
  EXPECT_NE(ausgabe.find("die Datei wäre größer, als das System erlaubt"), std::string::npos)
      << ausgabe;
}

}  // namespace
}  // namespace tilvendo
