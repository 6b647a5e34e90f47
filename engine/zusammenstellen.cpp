#include "engine/zusammenstellen.h"

#include <algorithm>
#include <cstring>

#include "pictures/bild_einpassen.h"
#include "pictures/bilder_laden.h"
#include "platform/fit_to_box.h"

namespace tilvendo {
namespace {

constexpr size_t kBytesProPixel = 4;

// Files decoded together before their progress is reported; a few per thread keep the
// threads busy while the gauge still moves steadily.
constexpr size_t kDateienProThread = 2;

// Scales one file to the tile and copies it into its cells. Different files never share
// a cell, so several threads may write into the mosaic at once.
void DateiEinsetzen(const Verwendung& v, int32_t tw, int32_t th, Bitmap& mosaik) {
  Bitmap q;
  if (!LoadWholePicture(q, v.datei)) return;
  Bitmap t(tw, th);
  BildEinpassen(t, Rect{0, 0, tw, th}, q);
  q.clear();
  const size_t zeilenBytes = static_cast<size_t>(tw) * kBytesProPixel;
  for (const Zellort& z : v.zellen) {
    const int32_t links = (z.x - 1) * tw;
    const int32_t oben = (z.y - 1) * th;
    for (int32_t y = 0; y < th; ++y) {
      std::memcpy(mosaik.row(oben + y) + static_cast<size_t>(links) * kBytesProPixel, t.row(y),
                  zeilenBytes);
    }
  }
}

}  // namespace

void MosaikZusammenstellen(Auftrag& auftrag, Fortschritt& fortschritt,
                           const Verwendungsliste& verwendung, Arbeitsgruppe& gruppe) {
  auftrag.PhasenZeiten[7] = Jetzt();
  auftrag.PhasenZeiten[3] = Jetzt();
  const auto dateien = static_cast<int32_t>(verwendung.Anzahl());
  fortschritt.PhaseAnzeigen(kPhaseZusammenstellen, dateien);

  const int32_t tw = KachelBreite(auftrag.einstellungen);
  const int32_t th = KachelHoehe(auftrag.einstellungen);
  // With a tile of no area there is nothing to draw; the files need not be read at all.
  const bool zeichnen = tw > 0 && th > 0 && auftrag.MosaikBild.has_value();
  // A cancel is seen before every block of files, by every file not yet begun, and
  // after every file reported, so a run stops within a block of a few pictures.
  const size_t block = kDateienProThread * gruppe.Threads();
  for (size_t anfang = 0; anfang < verwendung.Anzahl() && !auftrag.Abbruch; anfang += block) {
    const size_t anzahl = std::min(block, verwendung.Anzahl() - anfang);
    if (zeichnen) {
      gruppe.FuerAlle(anzahl, [&](size_t i) {
        if (!auftrag.Abbruch) DateiEinsetzen(verwendung[anfang + i], tw, th, *auftrag.MosaikBild);
      });
    }
    for (size_t i = 0; i < anzahl && !auftrag.Abbruch; ++i) {
      fortschritt.FortschrittAnzeigen(static_cast<int32_t>(anfang + i + 1));
    }
  }
  auftrag.PhasenZeiten[8] = Jetzt();
}

void MosaikFertigstellen(Auftrag& auftrag) {
  auftrag.ErgebnisFertig = false;
  if (!auftrag.MosaikBild || auftrag.MosaikBild->empty()) return;
  const Bitmap& mosaik = *auftrag.MosaikBild;
  // A screen too small for the frame still gets a picture of at least one pixel.
  Size groesse = FitToBox(mosaik.width(), mosaik.height(), std::max(auftrag.AnzeigeMaxBreite, 1),
                          std::max(auftrag.AnzeigeMaxHoehe, 1));
  groesse.width = std::max(groesse.width, 1);
  groesse.height = std::max(groesse.height, 1);
  auftrag.AnzeigeBild = Bitmap(groesse.width, groesse.height);
  BildEinpassen(auftrag.AnzeigeBild, Rect{0, 0, groesse.width, groesse.height}, mosaik);
  auftrag.ErgebnisFertig = true;
}

}  // namespace tilvendo
