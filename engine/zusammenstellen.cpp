#include "engine/zusammenstellen.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <optional>
#include <string>

#include "engine/bild_vermesser.h"
#include "engine/farbangleich.h"
#include "engine/kacheln_zeichnen.h"
#include "pictures/bild_einpassen.h"
#include "pictures/bilder_laden.h"
#include "platform/fit_to_box.h"

namespace tilvendo {
namespace {

constexpr size_t kBytesProPixel = 4;

// Files decoded together before their progress is reported; a few per thread keep the
// threads busy while the gauge still moves steadily.
constexpr size_t kDateienProThread = 2;

// Scales one file to the tile and copies it into its cells, with `angleich` moved toward
// each cell's colours. Different files never share a cell, so several threads may write
// into the mosaic at once. False when the file could not be read.
bool DateiEinsetzen(const Verwendung& v, int32_t tw, int32_t th, const Lesen& lesen,
                    const Angleich* angleich, Bitmap& mosaik) {
  Bitmap t(tw, th);
  if (!KachelLesen(v.datei, lesen, t)) return false;
  if (angleich != nullptr) {
    const int teile = Angleichteile(angleich->formanalyse, tw, th);
    const Teilfarben kachelFarben = TeilfarbenMessen(t, Rect{0, 0, tw, th}, teile);
    for (const Zellort& z : v.zellen) {
      const Teilfarben zellFarben =
          TeilfarbenMessen(angleich->vorlage, Zellrechteck(*angleich, z), teile);
      AngeglichenEinsetzen(t, kachelFarben, zellFarben, angleich->staerke, mosaik, (z.x - 1) * tw,
                           (z.y - 1) * th);
    }
    return true;
  }
  const size_t zeilenBytes = static_cast<size_t>(tw) * kBytesProPixel;
  for (const Zellort& z : v.zellen) {
    const int32_t links = (z.x - 1) * tw;
    const int32_t oben = (z.y - 1) * th;
    for (int32_t y = 0; y < th; ++y) {
      std::memcpy(mosaik.row(oben + y) + static_cast<size_t>(links) * kBytesProPixel, t.row(y),
                  zeilenBytes);
    }
  }
  return true;
}

}  // namespace

void MosaikZusammenstellen(Auftrag& auftrag, Fortschritt& fortschritt,
                           const Verwendungsliste& verwendung, Arbeitsgruppe& gruppe) {
  auftrag.PhasenZeiten[7] = Jetzt();
  auftrag.PhasenZeiten[3] = Jetzt();
  std::atomic<int32_t> unlesbar{0};
  std::atomic<int64_t> gezeichnet{0};
  const auto dateien = static_cast<int32_t>(verwendung.Anzahl());
  fortschritt.PhaseAnzeigen(kPhaseZusammenstellen, dateien);

  const int32_t tw = KachelBreite(auftrag.einstellungen);
  const int32_t th = KachelHoehe(auftrag.einstellungen);
  // With a tile of no area there is nothing to draw; the files need not be read at all.
  const bool zeichnen = tw > 0 && th > 0 && auftrag.MosaikBild.has_value();
  // At 0 % the tiles are copied as they are, without measuring anything.
  const Einstellungen& e = auftrag.einstellungen;
  const std::optional<Angleich> angleich = AngleichFuer(auftrag);
  // The readers of all threads share one budget, so that a few huge photos at once wait
  // for each other instead of exhausting the memory.
  MemoryBudget budget{MemoryBudget::ForThisMachine()};
  const Lesen lesen{KachelLeseart(e.verfahren), auftrag.Arbeitspfad, budget};
  // A cancel is seen before every block of files, by every file not yet begun, and
  // after every file reported, so a run stops within a block of a few pictures.
  const size_t block = kDateienProThread * gruppe.Threads();
  for (size_t anfang = 0; anfang < verwendung.Anzahl() && !auftrag.Abbruch; anfang += block) {
    const size_t anzahl = std::min(block, verwendung.Anzahl() - anfang);
    if (zeichnen) {
      gruppe.FuerAlle(anzahl, [&](size_t i) {
        const Verwendung& v = verwendung[anfang + i];
        if (auftrag.Abbruch) return;
        if (DateiEinsetzen(v, tw, th, lesen, angleich ? &*angleich : nullptr,
                           *auftrag.MosaikBild)) {
          gezeichnet.fetch_add(static_cast<int64_t>(v.zellen.size()), std::memory_order_relaxed);
        } else {
          unlesbar.fetch_add(1, std::memory_order_relaxed);
        }
      });
    }
    for (size_t i = 0; i < anzahl && !auftrag.Abbruch; ++i) {
      fortschritt.FortschrittAnzeigen(static_cast<int32_t>(anfang + i + 1));
    }
  }
  auftrag.UnlesbareBilder = unlesbar.load();
  if (zeichnen) {
    const int64_t kacheln =
        int64_t{auftrag.einstellungen.KachelnX} * auftrag.einstellungen.KachelnY;
    auftrag.SchwarzeKacheln = static_cast<int32_t>(kacheln - gezeichnet.load());
  }
  auftrag.PhasenZeiten[8] = Jetzt();
}

void MosaikFertigstellen(Auftrag& auftrag) {
  // A large-format mosaic got its screen copy (or went into its file) while it was
  // composed; that step said whether there is a result.
  if (auftrag.MosaikInBaendern()) return;
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
