#include "pictures/kachelpyramide.h"

#include <vips/vips.h>

#include <algorithm>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/atomic_file.h"
#include "platform/translate.h"

namespace tilvendo {
namespace {

// What every tile file ends with; the viewer asks for this name.
constexpr const char* kKachelEndung = ".jpg";
constexpr int kRgbKanaele = 3;
constexpr int kArbeitsKanaele = 4;
constexpr int32_t kVipsMaxWert = 255;
constexpr uint64_t kPyramidenBytesJeSpalte = uint64_t{5} << 10;

void VipsEinrichten() {
  static std::once_flag einmal;
  std::call_once(einmal, [] {
    if (VIPS_INIT("tilvendo") != 0) {
      throw WriteError(_("Die Bibliothek für die Kacheln ließ sich nicht starten."));
    }
    // The pyramid is made once from a stream: nothing is worth keeping for a second use.
    vips_cache_set_max(0);
    // A stopped save ends the stream early, which the library reports tile by tile on the
    // terminal; what failed reaches the user through the error it returns.
    g_log_set_handler("VIPS", G_LOG_LEVEL_WARNING,
                      [](const gchar*, GLogLevelFlags, const gchar*, gpointer) {}, nullptr);
  });
}

// libvips pulls the picture as a binary portable pixmap from a stream it reads at its own
// pace on a thread of its own; Schreiben hands over one strip at a time and waits until it
// is taken, so no more than a strip is held here however large the picture is. The
// pixmap's reader reads the stream sequentially, so libvips needs no seek and no copy of
// the whole picture.
class Pyramidenschreiber final : public Bildschreiber {
 public:
  Pyramidenschreiber(std::string ordner, const Bildbeschreibung& d)
      : breite_(d.breite), qualitaet_(std::clamp(d.qualitaet, 1, 100)) {
    VipsEinrichten();
    const std::string kopf = "P6\n" + std::to_string(d.breite) + " " + std::to_string(d.hoehe) +
                             "\n" + std::to_string(kVipsMaxWert) + "\n";
    puffer_.assign(kopf.begin(), kopf.end());
    faden_ = std::thread([this, ordner = std::move(ordner)] { Kacheln(ordner); });
  }

  ~Pyramidenschreiber() override {
    if (!faden_.joinable()) return;
    {
      std::lock_guard<std::mutex> sperre(mutex_);
      abgebrochen_ = true;
    }
    wechsel_.notify_all();
    faden_.join();
  }

  void Schreiben(const Zeilen& zeilen) override {
    std::vector<uint8_t> rgb(static_cast<size_t>(breite_) * kRgbKanaele *
                             static_cast<size_t>(std::max(zeilen.anzahl, 0)));
    uint8_t* ziel = rgb.data();
    for (int32_t i = 0; i < zeilen.anzahl; ++i) {
      const uint8_t* bgrx = zeilen.Zeile(i);
      for (int32_t x = 0; x < breite_; ++x, bgrx += kArbeitsKanaele, ziel += kRgbKanaele) {
        ziel[0] = bgrx[2];
        ziel[1] = bgrx[1];
        ziel[2] = bgrx[0];
      }
    }
    std::unique_lock<std::mutex> sperre(mutex_);
    wechsel_.wait(sperre, [&] { return gelesen_ == puffer_.size() || fertig_; });
    if (fertig_) Scheitern();
    puffer_ = std::move(rgb);
    gelesen_ = 0;
    wechsel_.notify_all();
  }

  void Beenden() override {
    {
      std::lock_guard<std::mutex> sperre(mutex_);
      ende_ = true;
    }
    wechsel_.notify_all();
    faden_.join();
    if (!erfolg_) Scheitern();
  }

 private:
  [[noreturn]] void Scheitern() const {
    throw WriteError(
        Format(_("Die Kacheln der Webseite konnten nicht geschrieben werden: {}"), meldung_));
  }

  static gint64 Lesen(VipsSourceCustom*, void* puffer, gint64 laenge, void* selbst) {
    return static_cast<Pyramidenschreiber*>(selbst)->Abgeben(static_cast<uint8_t*>(puffer), laenge);
  }

  gint64 Abgeben(uint8_t* puffer, gint64 laenge) {
    std::unique_lock<std::mutex> sperre(mutex_);
    wechsel_.wait(sperre, [&] { return gelesen_ < puffer_.size() || ende_ || abgebrochen_; });
    if (abgebrochen_) return -1;
    const size_t n =
        std::min(static_cast<size_t>(std::max<gint64>(laenge, 0)), puffer_.size() - gelesen_);
    std::memcpy(puffer, puffer_.data() + gelesen_, n);
    gelesen_ += n;
    if (gelesen_ == puffer_.size()) wechsel_.notify_all();
    return static_cast<gint64>(n);
  }

  void Kacheln(const std::string& ordner) {
    VipsSourceCustom* quelle = vips_source_custom_new();
    g_signal_connect(quelle, "read", G_CALLBACK(&Pyramidenschreiber::Lesen), this);
    VipsImage* bild = nullptr;
    bool ok = vips_ppmload_source(VIPS_SOURCE(quelle), &bild, "access", VIPS_ACCESS_SEQUENTIAL,
                                  nullptr) == 0;
    if (ok) {
      const std::string endung =
          std::string(kKachelEndung) + "[Q=" + std::to_string(qualitaet_) + ",strip]";
      // The tiles at the right and bottom edge are filled up in the page's own black.
      VipsArrayDouble* schwarz = vips_array_double_newv(1, 0.0);
      ok = vips_dzsave(bild, ordner.c_str(), "layout", VIPS_FOREIGN_DZ_LAYOUT_GOOGLE, "suffix",
                       endung.c_str(), "tile_size", kPyramidenKachel, "overlap", 0, "skip_blanks",
                       -1, "background", schwarz, nullptr) == 0;
      vips_area_unref(VIPS_AREA(schwarz));
    }
    if (bild != nullptr) g_object_unref(bild);
    g_object_unref(quelle);
    std::lock_guard<std::mutex> sperre(mutex_);
    if (!ok) {
      meldung_ = vips_error_buffer();
      vips_error_clear();
    }
    erfolg_ = ok;
    fertig_ = true;
    wechsel_.notify_all();
  }

  int32_t breite_;
  int qualitaet_;
  std::thread faden_;
  std::mutex mutex_;
  std::condition_variable wechsel_;
  std::vector<uint8_t> puffer_;  // the bytes handed over last
  size_t gelesen_ = 0;           // of them, those libvips took
  bool ende_ = false;            // no more rows come
  bool abgebrochen_ = false;     // the writer gives up
  bool fertig_ = false;          // the tiling ended, well or not
  bool erfolg_ = false;
  std::string meldung_;
};

}  // namespace

int32_t PyramidenTiefe(int32_t breite, int32_t hoehe) {
  const int64_t seite = std::max(breite, hoehe);
  int32_t tiefe = 0;
  while ((static_cast<int64_t>(kPyramidenKachel) << tiefe) < seite) ++tiefe;
  return tiefe;
}

uint64_t PyramidenSpeicher(int32_t breite) {
  return static_cast<uint64_t>(std::max(breite, 0)) * kPyramidenBytesJeSpalte;
}

std::unique_ptr<Bildschreiber> KachelpyramideOeffnen(const std::string& ordner,
                                                     const Bildbeschreibung& beschreibung) {
  return std::make_unique<Pyramidenschreiber>(ordner, beschreibung);
}

}  // namespace tilvendo
