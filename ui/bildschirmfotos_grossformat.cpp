#include "ui/bildschirmfotos_grossformat.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <cstdio>

#include "engine/auftrag.h"
#include "pictures/speichern.h"
#include "ui/assistent.h"
#include "ui/bildschirmfotos_seiten.h"
#include "ui/druckgroesse_gruppe.h"
#include "ui/ergebnis_seite.h"
#include "ui/fortschritt_fenster.h"
#include "ui/lupen_ansicht.h"
#include "ui/seiten_dialog.h"
#include "ui/speichern_optionen_seite.h"
#include "ui/uebersicht_seite.h"
#include "ui/zielgroesse_seite.h"
#include "wizard/lupe.h"

namespace tilvendo::ui {
namespace {

// "70 × 100 cm" in the drop-down: a shape other than the template's 4 : 3.
constexpr int kPosterFormat = 9;
// The overview's entry of the result size.
constexpr int kEintragGroesse = 1;
// The share of a poster's save the progress window is shown at.
constexpr int32_t kGezeigterAnteil = 37;
constexpr int32_t kProzent = 100;

// Zooms the result page's picture to the full resolution at a point right of the middle,
// and waits for the photos in view.
void BisZuDenFotos(ErgebnisSeite* seite) {
  LupenAnsicht* bild = seite->ErgebnisBild();
  const QPoint punkt(bild->width() * 3 / 5, bild->height() / 2);
  bild->Zoomen(bild->Geometrie().Stufen(), punkt);
  bild->repaint();
  if (bild->Kacheln() != nullptr) bild->Kacheln()->Abwarten();
  QApplication::processEvents();
  // The cursor over a tile names its photo in the status line.
  QMouseEvent ueber(QEvent::MouseMove, QPointF(punkt), QPointF(bild->mapToGlobal(punkt)),
                    Qt::NoButton, Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(bild, &ueber);
}

}  // namespace

void GrossformatAufnehmen(Fotograf& fotograf, Assistent& assistent) {
  auto* groesse = static_cast<ZielgroesseSeite*>(assistent.SeiteHolen(2));
  groesse->show();
  groesse->Grossformat()->setChecked(true);
  QComboBox* formate = groesse->Druckgroesse()->Formate();
  formate->setCurrentIndex(kPosterFormat);
  emit formate->activated(kPosterFormat);
  // The paper of another shape than the template: kept whole with its margins, then
  // filled with a cut of the template; the later pages show the cut.
  fotograf.Aufnehmen(groesse, QStringLiteral("zielgroesse-ganze-vorlage"));
  groesse->Druckgroesse()->Fuellen()->click();
  fotograf.Aufnehmen(groesse, QStringLiteral("zielgroesse-papier-fuellen"));
  Schliessen(assistent, groesse);
  fotograf.SeiteAufnehmen(assistent, 3, QStringLiteral("kachelung-grossformat"));

  auto* uebersicht = static_cast<UebersichtSeite*>(assistent.SeiteHolen(7));
  uebersicht->show();
  uebersicht->Uebersicht()->setCurrentRow(kEintragGroesse);
  fotograf.Aufnehmen(uebersicht, QStringLiteral("ueberblick-grossformat"));
  uebersicht->StartKnopf()->click();
  if (!assistent.auftrag().Ergebnis) {
    std::fprintf(stderr, "Die Berechnung im Großformat hat kein Mosaik ergeben.\n");
    return;
  }
  Schliessen(assistent, uebersicht);

  auto* ergebnis = static_cast<ErgebnisSeite*>(assistent.SeiteHolen(6));
  ergebnis->show();
  fotograf.Aufnehmen(ergebnis, QStringLiteral("ergebnis-grossformat"));
  {
    // "Auf Seiten drucken …": the poster's A4 sheets drawn over it.
    const Mosaikplan& plan = assistent.auftrag().Ergebnis->Plan();
    SeitenDialog seiten(ergebnis, ergebnis->ErgebnisBild()->grab().toImage(),
                        assistent.auftrag().Ergebnis->Groesse(), plan.Druckaufloesung(),
                        plan.DruckaufloesungY());
    seiten.show();
    fotograf.Aufnehmen(&seiten, QStringLiteral("ergebnis-seiten"));
  }
  BisZuDenFotos(ergebnis);
  fotograf.Aufnehmen(ergebnis, QStringLiteral("ergebnis-lupe"));
  ergebnis->hide();

  auto* speichern = static_cast<SpeichernOptionenSeite*>(assistent.SeiteHolen(10));
  speichern->Optionen().Qualitaet = kStandardQualitaet;
  speichern->show();
  speichern->PngKnopf()->click();
  speichern->VorschauClick();
  fotograf.Aufnehmen(speichern, QStringLiteral("speichern-png"));
  speichern->TiffKnopf()->click();
  speichern->VorschauClick();
  fotograf.Aufnehmen(speichern, QStringLiteral("speichern-tiff"));
  speichern->hide();

  // The poster's save under way: the message, the bar and the share in step.
  {
    FortschrittFenster fortschritt(ergebnis);
    fortschritt.AbbruchAnbieten([] {});
    fortschritt.ShowSaveProgress();
    fotograf.Aufnehmen(&fortschritt, QStringLiteral("speichern-beginnt"));
    fortschritt.FortschrittZeigen(kGezeigterAnteil, kProzent);
    fotograf.Aufnehmen(&fortschritt, QStringLiteral("speichern-fortschritt"));
    fortschritt.HideSaveProgress();
  }
  ergebnis->close();
  assistent.auftrag().ProgrammEnde = false;
}

}  // namespace tilvendo::ui
