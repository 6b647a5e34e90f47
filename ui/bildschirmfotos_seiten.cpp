#include "ui/bildschirmfotos_seiten.h"

#include <QApplication>
#include <QPainter>
#include <QPixmap>
#include <QTimer>
#include <QWidget>
#include <cstdio>

#include "ui/assistent.h"
#include "ui/hinweisfenster.h"
#include "ui/info_seite.h"
#include "ui/seite.h"

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
  seite->hide();
}

void BeiModal(std::function<void(QWidget* fenster)> aktion) {
  auto* takt = new QTimer(qApp);
  QObject::connect(takt, &QTimer::timeout, takt, [takt, aktion = std::move(aktion)] {
    QWidget* fenster = QApplication::activeModalWidget();
    if (fenster == nullptr || !fenster->isVisible()) return;
    takt->stop();
    takt->deleteLater();
    aktion(fenster);
  });
  takt->start(kModalTaktMs);
}

void SpaetereSeitenAufnehmen(Fotograf& fotograf, Assistent& assistent) {
  fotograf.SeiteAufnehmen(assistent, 7, QStringLiteral("ueberblick"));
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
