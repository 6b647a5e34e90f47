#include "ui_test_umgebung.h"

#include <QTimer>

#include "ui/anwendung.h"
#include "ui/seitenfenster.h"

namespace tilvendo::testing {
namespace {

constexpr int kModalWarteMs = 5000;
constexpr int kModalTaktMs = 10;

}  // namespace

wizard::Antwort SkriptBenutzer::Frage(std::string_view text, bool mitAbbrechen) {
  (void)mitAbbrechen;
  fragen.emplace_back(text);
  if (beiFrage) beiFrage(text);
  if (antworten.empty()) return wizard::Antwort::Nein;
  const wizard::Antwort antwort = antworten.front();
  antworten.pop_front();
  return antwort;
}

std::string SkriptBenutzer::MediumNameErfragen() {
  if (mediennamen.empty()) return {};
  std::string name = mediennamen.front();
  mediennamen.pop_front();
  return name;
}

UiTestUmgebung::UiTestUmgebung(const Medien* medien) {
  Startoptionen optionen;
  optionen.seed = 1;
  optionen.albenPfad = ordner / "alben/";
  assistent_ = std::make_unique<ui::Assistent>(
      benutzer, medien != nullptr ? *medien : systemMedien_, optionen);
  assistent_->Vorbereiten();
}

void WennModal(std::function<void(QWidget* fenster)> aktion) {
  auto warten = std::make_shared<int>(0);
  auto* takt = new QTimer(qApp);
  QObject::connect(takt, &QTimer::timeout, takt, [takt, warten, aktion = std::move(aktion)] {
    QWidget* fenster = ui::WartendesFenster();
    if (fenster != nullptr) {
      takt->stop();
      takt->deleteLater();
      aktion(fenster);
      // A failed check must not leave the test waiting in a modal loop for ever.
      if (QTest::currentTestFailed()) fenster->close();
      return;
    }
    *warten += kModalTaktMs;
    if (*warten > kModalWarteMs) {
      takt->stop();
      takt->deleteLater();
      QFAIL("no modal window appeared");
    }
  });
  takt->start(kModalTaktMs);
}

void UiTestsEinrichten() {
  ui::AnwendungEinrichten();
}

}  // namespace tilvendo::testing
