// tilvendo-demo-sammlung: makes the demo collection from a few large pictures.
//   tilvendo-demo-sammlung --ziel ORDNER [--anzahl N] [--seed S] QUELLE|QUELLORDNER …
#include <charconv>
#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "cli/demo_sammlung.h"
#include "platform/paths.h"

namespace {

bool ZahlLesen(const std::string& text, auto& wert) {
  const auto [ende, fehler] = std::from_chars(text.data(), text.data() + text.size(), wert);
  return fehler == std::errc() && ende == text.data() + text.size();
}

int Aufruffehler() {
  std::cerr << "Aufruf: tilvendo-demo-sammlung --ziel ORDNER [--anzahl N] [--seed S] "
               "QUELLE|QUELLORDNER …\n";
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace tilvendo;
  cli::SammlungsOptionen optionen;
  const std::vector<std::string> argumente(argv + 1, argv + argc);
  for (size_t i = 0; i < argumente.size(); ++i) {
    const std::string& a = argumente[i];
    const bool mitWert = i + 1 < argumente.size();
    if (a == "--ziel" && mitWert) {
      optionen.ziel = argumente[++i];
    } else if (a == "--anzahl" && mitWert) {
      if (!ZahlLesen(argumente[++i], optionen.anzahl) || optionen.anzahl < 1) return Aufruffehler();
    } else if (a == "--seed" && mitWert) {
      if (!ZahlLesen(argumente[++i], optionen.seed)) return Aufruffehler();
    } else if (a.starts_with("-")) {
      return Aufruffehler();
    } else if (FolderExists(a)) {
      for (std::string& bild : cli::BilderSuchen(a)) optionen.quellen.push_back(std::move(bild));
    } else {
      optionen.quellen.push_back(a);
    }
  }
  if (optionen.ziel.empty() || optionen.quellen.empty()) return Aufruffehler();
  try {
    const int32_t anzahl = cli::SammlungErzeugen(optionen);
    std::cout << anzahl << " Fotos in " << optionen.ziel << '\n';
    return 0;
  } catch (const std::exception& fehler) {
    std::cerr << "tilvendo-demo-sammlung: " << fehler.what() << '\n';
    return 1;
  }
}
