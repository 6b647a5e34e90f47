#include "ui/bildschirmfotos_seiten.h"

#include <QApplication>
#include <QDir>
#include <QListWidget>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTimer>
#include <QWidget>
#include <cstdio>

#include "pictures/speichern.h"
#include "ui/assistent.h"
#include "ui/ergebnis_seite.h"
#include "ui/hinweisfenster.h"
#include "ui/info_seite.h"
#include "ui/qt_benutzer.h"
#include "ui/seite.h"
#include "ui/seitenfenster.h"
#include "ui/speichern_optionen_seite.h"
#include "ui/uebersicht_seite.h"

namespace tilvendo::ui {
namespace {

constexpr int kModalTaktMs = 10;
const QColor kHintergrund(0xd0, 0xd4, 0xda);

// Lets layouts, paints and queued work settle before a window is taken.
void Beruhigen() {
  for (int i = 0; i < 5; ++i) QApplication::processEvents();
}

}  // namespace

void Fotograf::Aufnehmen(QWidget* fenster, const QString& name) {
  Beruhigen();
  ++nummer_;
  const QString datei =
      QStringLiteral("%1/%2-%3.png").arg(ziel_).arg(nummer_, 2, 10, QLatin1Char('0')).arg(name);
  if (!fenster->grab().save(datei))
    std::fprintf(stderr, "Kann %s nicht schreiben\n", qPrintable(datei));
}

void Fotograf::MitHilfeAufnehmen(QWidget* seite, Hinweisfenster* hilfe, const QString& name) {
  Beruhigen();
  const QRect seitenRahmen = seite->geometry();
  const QRect hilfeRahmen = hilfe->geometry();
  const QRect alles = seitenRahmen.united(hilfeRahmen);
  QPixmap bild(alles.size());
  bild.fill(kHintergrund);
  QPainter maler(&bild);
  maler.drawPixmap(seitenRahmen.topLeft() - alles.topLeft(), seite->grab());
  // Only the rounded shape of the popup is part of the window.
  const QPoint hilfeOben = hilfeRahmen.topLeft() - alles.topLeft();
  if (!hilfe->mask().isEmpty()) maler.setClipRegion(hilfe->mask().translated(hilfeOben));
  maler.drawPixmap(hilfeOben, hilfe->grab());
  maler.end();
  ++nummer_;
  bild.save(
      QStringLiteral("%1/%2-%3.png").arg(ziel_).arg(nummer_, 2, 10, QLatin1Char('0')).arg(name));
}

void Fotograf::SeiteAufnehmen(Assistent& assistent, int nummer, const QString& name) {
  Seite* seite = assistent.SeiteHolen(static_cast<uint16_t>(nummer));
  seite->show();
  Aufnehmen(seite, name);
  Schliessen(assistent, seite);
}

void Schliessen(Assistent& assistent, QWidget* seite) {
  // Closed as the user would close it, so that it hands its values to the job; that
  // counts as "Ende", which these pictures do not want.
  seite->close();
  assistent.auftrag().ProgrammEnde = false;
}

void BeiModal(std::function<void(QWidget* fenster)> aktion) {
  auto* takt = new QTimer(qApp);
  QObject::connect(takt, &QTimer::timeout, takt, [takt, aktion = std::move(aktion)] {
    QWidget* fenster = WartendesFenster();
    if (fenster == nullptr) return;
    takt->stop();
    takt->deleteLater();
    aktion(fenster);
  });
  takt->start(kModalTaktMs);
}

void SpaetereSeitenAufnehmen(Fotograf& fotograf, Assistent& assistent) {
  auto* uebersicht = static_cast<UebersichtSeite*>(assistent.SeiteHolen(7));
  uebersicht->show();
  for (int eintrag = 0; eintrag < uebersicht->Uebersicht()->count(); ++eintrag) {
    uebersicht->Uebersicht()->setCurrentRow(eintrag);
    fotograf.Aufnehmen(uebersicht, QStringLiteral("ueberblick-%1").arg(eintrag + 1));
  }

  // The run, taken once the matching is under way.
  QtBenutzer& benutzer = assistent.benutzer();
  const auto anzeige = benutzer.fortschrittsZeilen;
  bool aufgenommen = false;
  benutzer.fortschrittsZeilen = [&](const std::vector<std::string>& zeilen) {
    if (anzeige) anzeige(zeilen);
    if (!aufgenommen && zeilen.size() >= 3) {
      aufgenommen = true;
      fotograf.Aufnehmen(uebersicht, QStringLiteral("berechnung-laeuft"));
    }
  };
  uebersicht->StartKnopf()->click();
  benutzer.fortschrittsZeilen = anzeige;
  if (!assistent.auftrag().Ergebnis) {
    std::fprintf(stderr, "Die Berechnung hat kein Mosaik ergeben.\n");
    return;
  }
  uebersicht->show();
  uebersicht->Uebersicht()->setCurrentRow(uebersicht->Uebersicht()->count() - 1);
  fotograf.Aufnehmen(uebersicht, QStringLiteral("ueberblick-letzte-berechnung"));
  Schliessen(assistent, uebersicht);

  auto* ergebnis = static_cast<ErgebnisSeite*>(assistent.SeiteHolen(6));
  ergebnis->show();
  fotograf.Aufnehmen(ergebnis, QStringLiteral("ergebnis"));
  constexpr int kStaerkerEingeblendet = -6;
  ergebnis->Blenden()->setValue(kStaerkerEingeblendet);
  fotograf.Aufnehmen(ergebnis, QStringLiteral("ergebnis-eingeblendet"));
  ergebnis->hide();

  auto* speichern = static_cast<SpeichernOptionenSeite*>(assistent.SeiteHolen(10));
  speichern->Optionen().Qualitaet = kStandardQualitaet;  // as every save starts
  speichern->show();
  fotograf.Aufnehmen(speichern, QStringLiteral("speichern"));
  speichern->JpegKnopf()->click();
  speichern->VorschauClick();
  fotograf.Aufnehmen(speichern, QStringLiteral("speichern-vorschau"));
  speichern->hide();

  // After a save the result page names the file, a long path shortened in its middle.
  assistent.GespeichertMerken(QDir::homePath().toStdString() +
                              "/Bilder/Mosaike/2024/Urlaub an der See/Sonnenuntergang als "
                              "Fotomosaik in voller Größe.jpg");
  assistent.auftrag().analyse.ErgebnisGespeichert = 1;
  ergebnis->show();
  fotograf.Aufnehmen(ergebnis, QStringLiteral("ergebnis-gespeichert"));
  ergebnis->hide();
}

void InfoSeiteAufnehmen(Fotograf& fotograf, Assistent& assistent) {
  auto* seite = static_cast<InfoSeite*>(assistent.SeiteHolen(9));
  seite->show();
  fotograf.Aufnehmen(seite, QStringLiteral("information"));
  constexpr int kKontakt = 4;
  seite->EintragWaehlen(kKontakt);
  fotograf.Aufnehmen(seite, QStringLiteral("information-kontakt"));
  seite->hide();
}

}  // namespace tilvendo::ui
