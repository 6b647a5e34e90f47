// The program as started from a shell: what its main() sets up before the commands run.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <filesystem>
#include <string>
#include <vector>

#include "support/bild_dateien.h"
#include "support/temp_folder.h"

namespace tilvendo {
namespace {

struct Lauf {
  int code = -1;        // the exit code, or -1 when a signal ended the program
  int signal = 0;       // that signal
  std::string ausgabe;  // standard output and error together
};

// Runs the program with `argumente` and a file-size limit of `grenze` bytes.
Lauf Starten(const std::vector<std::string>& argumente, rlim_t grenze) {
  std::array<int, 2> rohr{};
  if (::pipe(rohr.data()) != 0) return {};
  const pid_t kind = ::fork();
  if (kind == 0) {
    ::close(rohr[0]);
    // A pipe knows no file-size limit, so the program can still say what happened.
    ::dup2(rohr[1], STDOUT_FILENO);
    ::dup2(rohr[1], STDERR_FILENO);
    const rlimit limit{grenze, RLIM_INFINITY};
    ::setrlimit(RLIMIT_FSIZE, &limit);
    std::vector<char*> argv{const_cast<char*>(TILVENDO_PROGRAMM)};
    for (const std::string& argument : argumente)
      argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    ::execv(TILVENDO_PROGRAMM, argv.data());
    ::_exit(127);
  }
  ::close(rohr[1]);
  Lauf lauf;
  std::array<char, 4096> puffer{};
  ssize_t gelesen = 0;
  while ((gelesen = ::read(rohr[0], puffer.data(), puffer.size())) > 0) {
    lauf.ausgabe.append(puffer.data(), static_cast<size_t>(gelesen));
  }
  ::close(rohr[0]);
  int status = 0;
  if (::waitpid(kind, &status, 0) != kind) return lauf;
  if (WIFEXITED(status)) lauf.code = WEXITSTATUS(status);
  if (WIFSIGNALED(status)) lauf.signal = WTERMSIG(status);
  return lauf;
}

TEST(ProgrammStart, BeyondTheFileSizeLimitAFailedWriteIsReportedInsteadOfKillingTheProgram) {
  const testing::TempFolder ordner;
  std::filesystem::create_directory(ordner / "fotos");
  testing::WriteTestJpeg(ordner / "fotos/a.jpg", testing::Einfarbig(16, 16, Farbe{1, 2, 3}));
  const Lauf lauf = Starten(
      {"--alben-pfad", ordner / "Alben", "album", "anlegen", "Urlaub", ordner / "fotos"}, 0);
  EXPECT_EQ(lauf.signal, 0);
  EXPECT_EQ(lauf.code, 1) << lauf.ausgabe;
  EXPECT_NE(lauf.ausgabe.find("die Datei wäre größer, als das System erlaubt"), std::string::npos)
      << lauf.ausgabe;
}

}  // namespace
}  // namespace tilvendo
