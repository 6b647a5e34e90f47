#include "ui/platzhalter_seite.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/assistent.h"

namespace tilvendo::ui {

PlatzhalterSeite::PlatzhalterSeite(Assistent& assistent, wizard::Seite seite)
    : Seite(assistent, seite) {
  auto* layout = new QVBoxLayout(Gruppe());
  layout->addWidget(new QLabel(QStringLiteral("Diese Seite folgt."), Gruppe()));
  StandardKnoepfeAnlegen();
  resize(480, 300);
}

void PlatzhalterSeite::FormShow() {
  const uint16_t ziel = wizard::NextPage(assistent().navigation(), Nummer());
  WeiterZielSetzen(ziel);
  WeiterKnopf()->setEnabled(ziel > 0);
}

}  // namespace tilvendo::ui
