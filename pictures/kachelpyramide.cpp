#include "pictures/kachelpyramide.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <exception>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "pictures/byte_sink.h"
#include "pictures/jpeg_writer.h"
#include "platform/atomic_file.h"
#include "platform/translate.h"

namespace tilvendo {
namespace {

// What every tile file ends with; the viewer asks for this name.
constexpr const char* kKachelEndung = ".jpg";
constexpr mode_t kOrdnerRechte = 0755;
constexpr mode_t kDateiRechte = 0644;
// Every level holds one strip of its tile rows across its width: the levels above the
// full one together hold less than one more.
constexpr uint64_t kGehalteneStreifen = 2;

[[noreturn]] void Scheitern(const std::string& was) {
  throw WriteError(Format(_("Die Kacheln der Webseite konnten nicht geschrieben werden: {}"), was));
}

void OrdnerAnlegen(const std::string& pfad) {
  if (::mkdir(pfad.c_str(), kOrdnerRechte) != 0 && errno != EEXIST) {
    Scheitern(pfad + ": " + std::strerror(errno));
  }
}

// The folder is new and the program's own, so a tile is written straight to its name;
// a name that is already there (a link put in meanwhile) is refused, not followed.
void DateiSchreiben(const std::string& pfad, const std::vector<uint8_t>& bytes) {
  const int fd =
      ::open(pfad.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, kDateiRechte);
  if (fd < 0) Scheitern(pfad + ": " + std::strerror(errno));
  size_t geschrieben = 0;
  int fehler = 0;
  while (geschrieben < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + geschrieben, bytes.size() - geschrieben);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      fehler = n < 0 ? errno : ENOSPC;
      break;
    }
    geschrieben += static_cast<size_t>(n);
  }
  if (::close(fd) != 0 && fehler == 0) fehler = errno;
  if (fehler != 0) Scheitern(pfad + ": " + std::strerror(fehler));
}

// What a thread encoding tiles keeps from one tile to the next, so that it allocates
// nothing per tile: the tile's bytes and, at the edges, the tile filled up.
struct Werkbank : ByteSink {
  std::vector<uint8_t> bytes;
  std::vector<uint8_t> gefuellt;
  void Write(const void* data, size_t length) override {
    const auto* anfang = static_cast<const uint8_t*>(data);
    bytes.insert(bytes.end(), anfang, anfang + length);
  }
};

// One zoom level: its width and the strip of tile rows it is filling.
struct Stufe {
  int32_t breite = 0;
  std::vector<uint8_t> streifen;  // kPyramidenKachel rows of breite working-format pixels
  int32_t zeilen = 0;             // rows of the strip filled
  int32_t reihe = 0;              // the tile row the strip is

  size_t Abstand() const { return static_cast<size_t>(breite) * kBytesJePixel; }
  uint8_t* Zeile(int32_t y) { return streifen.data() + static_cast<size_t>(y) * Abstand(); }
  const uint8_t* Zeile(int32_t y) const {
    return streifen.data() + static_cast<size_t>(y) * Abstand();
  }
};

// The rows come from the top into the deepest level; every full strip of a level is cut
// into tiles and halved into the strip of the level above it, so each level is made from
// the one below as the rows come and no level is ever held whole. Tiles at the right and
// bottom edge are filled up in the page's own black to the full tile size, which the
// viewer draws every tile at.
class Pyramidenschreiber final : public Bildschreiber {
 public:
  Pyramidenschreiber(std::string ordner, const Bildbeschreibung& d)
      : ordner_(std::move(ordner)),
        qualitaet_(d.qualitaet),
        faeden_(std::max(1u, std::thread::hardware_concurrency())) {
    if (d.breite <= 0 || d.hoehe <= 0) Scheitern(ordner_);
    const int32_t tiefe = PyramidenTiefe(d.breite, d.hoehe);
    stufen_.resize(static_cast<size_t>(tiefe) + 1);
    int32_t breite = d.breite;
    OrdnerAnlegen(ordner_);
    for (int32_t z = tiefe; z >= 0; --z) {
      Stufe& stufe = stufen_[static_cast<size_t>(z)];
      stufe.breite = breite;
      stufe.streifen.resize(stufe.Abstand() * kPyramidenKachel);
      OrdnerAnlegen(ordner_ + "/" + std::to_string(z));
      breite = (breite + 1) / 2;
    }
  }

  void Schreiben(const Zeilen& zeilen) override {
    Stufe& voll = stufen_.back();
    for (int32_t i = 0; i < zeilen.anzahl; ++i) {
      std::memcpy(voll.Zeile(voll.zeilen), zeilen.Zeile(i), voll.Abstand());
      if (++voll.zeilen == kPyramidenKachel) StreifenFertig(Tiefe());
    }
  }

  void Beenden() override {
    // The last strips of every level, from the deepest up: each one's halving may fill the
    // strip above it.
    for (int32_t z = Tiefe(); z >= 0; --z) {
      if (stufen_[static_cast<size_t>(z)].zeilen > 0) StreifenFertig(z);
    }
  }

 private:
  int32_t Tiefe() const { return static_cast<int32_t>(stufen_.size()) - 1; }

  void StreifenFertig(int32_t z) {
    Stufe& stufe = stufen_[static_cast<size_t>(z)];
    const std::string reihe = ordner_ + "/" + std::to_string(z) + "/" + std::to_string(stufe.reihe);
    OrdnerAnlegen(reihe);
    const int32_t kacheln = (stufe.breite + kPyramidenKachel - 1) / kPyramidenKachel;
    // The tiles are encoded on the threads while this one halves the strip: both only
    // read it.
    std::atomic<int32_t> naechste{0};
    std::exception_ptr fehler;
    std::mutex fehlerSperre;
    auto kodieren = [&] {
      try {
        Werkbank werkbank;
        for (int32_t x = naechste++; x < kacheln; x = naechste++) {
          Kachel(stufe, x, werkbank);
          DateiSchreiben(reihe + "/" + std::to_string(x) + kKachelEndung, werkbank.bytes);
        }
      } catch (...) {
        std::lock_guard<std::mutex> sperre(fehlerSperre);
        if (!fehler) fehler = std::current_exception();
        naechste = kacheln;
      }
    };
    {
      std::vector<std::jthread> helfer;
      for (unsigned i = 1; i < faeden_; ++i) helfer.emplace_back(kodieren);
      if (z > 0) Halbieren(stufe, stufen_[static_cast<size_t>(z) - 1]);
      kodieren();
    }
    if (fehler) std::rethrow_exception(fehler);
    stufe.zeilen = 0;
    ++stufe.reihe;
    if (z > 0 && stufen_[static_cast<size_t>(z) - 1].zeilen == kPyramidenKachel) {
      StreifenFertig(z - 1);
    }
  }

  // The JPEG bytes of tile x of the strip of `stufe`, into `werkbank.bytes`.
  void Kachel(const Stufe& stufe, int32_t x, Werkbank& werkbank) const {
    const int32_t links = x * kPyramidenKachel;
    const int32_t breite = std::min(kPyramidenKachel, stufe.breite - links);
    Bildbeschreibung d;
    d.breite = kPyramidenKachel;
    d.hoehe = kPyramidenKachel;
    d.qualitaet = qualitaet_;
    werkbank.bytes.clear();
    const std::unique_ptr<Bildschreiber> jpeg = MakeJpegWriter(werkbank, d);
    if (breite == kPyramidenKachel && stufe.zeilen == kPyramidenKachel) {
      jpeg->Schreiben(Zeilen{stufe.Zeile(0) + static_cast<size_t>(links) * kBytesJePixel,
                             stufe.Abstand(), kPyramidenKachel});
    } else {
      const size_t abstand = static_cast<size_t>(kPyramidenKachel) * kBytesJePixel;
      werkbank.gefuellt.assign(abstand * kPyramidenKachel, 0);
      for (int32_t y = 0; y < stufe.zeilen; ++y) {
        std::memcpy(werkbank.gefuellt.data() + static_cast<size_t>(y) * abstand,
                    stufe.Zeile(y) + static_cast<size_t>(links) * kBytesJePixel,
                    static_cast<size_t>(breite) * kBytesJePixel);
      }
      jpeg->Schreiben(Zeilen{werkbank.gefuellt.data(), abstand, kPyramidenKachel});
    }
    jpeg->Beenden();
  }

  // Appends the strip of `unten` halved each way to the strip of `oben`: each pixel the
  // mean of two by two, an odd last row or column taken twice rather than mixed with the
  // black beyond the edge. Rows are first added down, then pairs across, so that both
  // loops run over plain arrays.
  static void Halbieren(const Stufe& unten, Stufe& oben) {
    const size_t bytes = unten.Abstand();
    std::vector<uint16_t> summe(bytes + kBytesJePixel);
    const size_t paare = static_cast<size_t>(unten.breite / 2);
    for (int32_t y = 0; y < unten.zeilen; y += 2) {
      const uint8_t* a = unten.Zeile(y);
      const uint8_t* b = unten.Zeile(std::min(y + 1, unten.zeilen - 1));
      for (size_t i = 0; i < bytes; ++i) summe[i] = static_cast<uint16_t>(a[i] + b[i]);
      if (unten.breite % 2 != 0) {
        std::copy_n(summe.begin() + static_cast<ptrdiff_t>(bytes - kBytesJePixel), kBytesJePixel,
                    summe.begin() + static_cast<ptrdiff_t>(bytes));
      }
      uint8_t* ziel = oben.Zeile(oben.zeilen++);
      const uint16_t* s = summe.data();
      for (size_t p = 0; p < paare + unten.breite % 2; ++p, s += 2 * kBytesJePixel) {
        for (size_t k = 0; k < kBytesJePixel; ++k) {
          ziel[p * kBytesJePixel + k] = static_cast<uint8_t>((s[k] + s[k + kBytesJePixel] + 2) / 4);
        }
      }
    }
  }

  std::string ordner_;
  int qualitaet_;
  unsigned faeden_;
  std::vector<Stufe> stufen_;  // by zoom level: 0 the whole picture in one tile
};

}  // namespace

int32_t PyramidenTiefe(int32_t breite, int32_t hoehe) {
  const int64_t seite = std::max(breite, hoehe);
  int32_t tiefe = 0;
  while ((static_cast<int64_t>(kPyramidenKachel) << tiefe) < seite) ++tiefe;
  return tiefe;
}

uint64_t PyramidenSpeicher(int32_t breite) {
  return static_cast<uint64_t>(std::max(breite, 0)) * kPyramidenKachel * kBytesJePixel *
         kGehalteneStreifen;
}

std::unique_ptr<Bildschreiber> KachelpyramideOeffnen(const std::string& ordner,
                                                     const Bildbeschreibung& beschreibung) {
  return std::make_unique<Pyramidenschreiber>(ordner, beschreibung);
}

}  // namespace tilvendo
