#include "pictures/seiten_pdf.h"

#include <cairo-pdf.h>
#include <cairo.h>

#include <algorithm>
#include <cstring>
#include <exception>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "pictures/jpeg_writer.h"
#include "pictures/zeilen_einpassen.h"
#include "platform/atomic_file.h"
#include "platform/fit_to_box.h"
#include "platform/memory_budget.h"
#include "platform/translate.h"

namespace tilvendo {
namespace {

constexpr double kPunktJeZoll = 72.0;
constexpr double kMmJeZoll = 25.4;
constexpr double kLinienbreitePt = 0.3;
// Marks and names keep this much of the margin free on the picture's side, and the names
// fill at most this share of it.
constexpr double kAbstandMm = 0.8;
constexpr double kSchriftAnteil = 0.55;
constexpr double kGroessteSchriftPt = 9.0;
// The assembly sheet: its heading, and the sheet names at most this large.
constexpr double kTitelPt = 10.0;
constexpr double kTitelZeileMm = 8.0;
constexpr double kKleinsteNamenPt = 3.0;
constexpr double kGroessteNamenPt = 28.0;
constexpr double kNamenAnteil = 0.3;
constexpr double kHalo = 0.25;  // of the font size, the white around a name on the picture
constexpr int kJpegUebersichtQualitaet = 85;

double Pt(double mm) {
  return mm / kMmJeZoll * kPunktJeZoll;
}

struct Blatt {
  uint64_t anfang = 0;
  size_t laenge = 0;
  int32_t breite = 0;
  int32_t hoehe = 0;
};

std::vector<uint8_t> AlsJpeg(const Zeilen& zeilen, int32_t breite, const Bildbeschreibung& art) {
  MemorySink kodiert;
  Bildbeschreibung b = art;
  b.breite = breite;
  b.hoehe = zeilen.anzahl;
  const std::unique_ptr<Bildschreiber> schreiber = MakeJpegWriter(kodiert, b);
  schreiber->Schreiben(zeilen);
  schreiber->Beenden();
  return kodiert.take();
}

// A cairo object that goes with its owner.
template <typename T, void (*Weg)(T*)>
struct Cairo {
  T* p;
  explicit Cairo(T* zeiger) : p(zeiger) {}
  ~Cairo() { Weg(p); }
  Cairo(const Cairo&) = delete;
  Cairo& operator=(const Cairo&) = delete;
};
using Flaeche = Cairo<cairo_surface_t, &cairo_surface_destroy>;
using Zeichner = Cairo<cairo_t, &cairo_destroy>;

void Freigeben(void* daten) {
  delete static_cast<std::vector<uint8_t>*>(daten);
}

class SeitenPdf final : public Bildschreiber {
 public:
  SeitenPdf(SeekableSink& ziel, const Bildbeschreibung& b, const Seitenraster& raster,
            bool uebersicht)
      : ziel_(ziel),
        art_(b),
        raster_(raster),
        ablage_(ziel.Scratch()),
        band_(Bitmap::Uninitialized(raster.posterBreite,
                                    std::min(raster.feldHoehe, raster.posterHoehe))),
        budget_(MemoryBudget::ForThisMachine()) {
    if (!uebersicht) return;
    const double breiteMm = raster.blattBreiteMm - 2 * raster.randMm;
    const double hoeheMm = raster.blattHoeheMm - 2 * raster.randMm - kTitelZeileMm;
    const Size box{std::max(1, static_cast<int32_t>(breiteMm / kMmJeZoll * kUebersichtDpi)),
                   std::max(1, static_cast<int32_t>(hoeheMm / kMmJeZoll * kUebersichtDpi))};
    const Size klein = FitToBox(raster.posterBreite, raster.posterHoehe, box.width, box.height);
    uebersichtGroesse_ = Size{std::max(klein.width, 1), std::max(klein.height, 1)};
    einpassen_.emplace(Rect{0, 0, uebersichtGroesse_.width, uebersichtGroesse_.height}, budget_);
    Zeilenformat format;
    format.breite = raster.posterBreite;
    format.hoehe = raster.posterHoehe;
    format.bytesJePixel = static_cast<int>(kBytesJePixel);
    if (!einpassen_->Groesse(format)) throw PictureTooLarge(kMeldungKeinSpeicher);
  }

  void Schreiben(const Zeilen& zeilen) override {
    for (int32_t i = 0; i < zeilen.anzahl; ++i, ++y_) {
      const uint8_t* zeile = zeilen.Zeile(i);
      ImBand(y_);
      std::memcpy(band_.row(y_ - bandAnfang_), zeile,
                  static_cast<size_t>(raster_.posterBreite) * kBytesJePixel);
      if (einpassen_ && einpassen_->BrauchtZeile(y_)) einpassen_->Zeile(y_, zeile);
      if (y_ + 1 == raster_.Ausschnitt(reihe_, 0).bottom) ReiheAblegen();
    }
  }

  void Beenden() override {
    cairo_surface_t* pdf = cairo_pdf_surface_create_for_stream(
        &SeitenPdf::Ausgeben, this, Pt(raster_.blattBreiteMm), Pt(raster_.blattHoeheMm));
    {
      Flaeche flaeche(pdf);
      if (einpassen_) UebersichtZeichnen(pdf);
      for (int32_t r = 0; r < raster_.zeilen; ++r) {
        for (int32_t s = 0; s < raster_.spalten; ++s) BlattZeichnen(pdf, r, s);
      }
      cairo_surface_finish(pdf);
      Pruefen(cairo_surface_status(pdf));
    }
  }

 private:
  // The sheets of the row of sheets in the band, each compressed and put aside; the band
  // keeps the strip the next row of sheets shares.
  void ReiheAblegen() {
    for (int32_t s = 0; s < raster_.spalten; ++s) {
      const Rect teil = raster_.Ausschnitt(reihe_, s);
      ImBand(teil.top);
      ImBand(teil.bottom - 1);
      const Zeilen zeilen{band_.row(teil.top - bandAnfang_) + size_t{4} * teil.left, band_.stride(),
                          teil.height()};
      const std::vector<uint8_t> jpeg = AlsJpeg(zeilen, teil.width(), art_);
      blaetter_.push_back(Blatt{abgelegt_, jpeg.size(), teil.width(), teil.height()});
      ablage_->Append(jpeg.data(), jpeg.size());
      abgelegt_ += jpeg.size();
    }
    ++reihe_;
    if (reihe_ >= raster_.zeilen) return;
    const int32_t naechste = raster_.Ausschnitt(reihe_, 0).top;
    for (int32_t y = naechste; y < y_ + 1; ++y) {
      std::memmove(band_.row(y - naechste), band_.row(y - bandAnfang_),
                   static_cast<size_t>(raster_.posterBreite) * kBytesJePixel);
    }
    bandAnfang_ = naechste;
  }

  // A row the band does not hold means rows that came in another order than the grid's.
  void ImBand(int32_t y) const {
    if (y < bandAnfang_ || y - bandAnfang_ >= band_.height()) {
      throw std::logic_error("Zeile außerhalb der Reihe von Blättern");
    }
  }

  static cairo_status_t Ausgeben(void* selbst, const unsigned char* daten, unsigned int laenge) {
    auto* pdf = static_cast<SeitenPdf*>(selbst);
    try {
      pdf->ziel_.Write(daten, laenge);
      return CAIRO_STATUS_SUCCESS;
    } catch (...) {
      if (!pdf->fehler_) pdf->fehler_ = std::current_exception();
      return CAIRO_STATUS_WRITE_ERROR;
    }
  }

  void Pruefen(cairo_status_t status) {
    if (fehler_) std::rethrow_exception(fehler_);
    if (status != CAIRO_STATUS_SUCCESS) {
      throw WriteError(Format(_("Die PDF-Datei konnte nicht geschrieben werden: {}"),
                              cairo_status_to_string(status)));
    }
  }

  // Draws the JPEG data `jpeg` of a breite × hoehe picture into the rectangle at (x, y)
  // pt that is `b` × `h` pt large, smoothed when `glatt` (a reduced picture). cairo keeps
  // the data until the page is written.
  void JpegZeichnen(cairo_t* cr, std::vector<uint8_t> jpeg, int32_t breite, int32_t hoehe, double x,
                    double y, double b, double h, bool glatt) {
    // The pixels cairo would fall back on are never read: the JPEG data stand for them.
    const size_t bytes = static_cast<size_t>(breite) * hoehe * kBytesJePixel;
    if (leer_.size() < bytes) leer_.assign(bytes, 0);
    Flaeche bild(cairo_image_surface_create_for_data(leer_.data(), CAIRO_FORMAT_RGB24, breite,
                                                     hoehe, breite * int{kBytesJePixel}));
    auto* daten = new std::vector<uint8_t>(std::move(jpeg));
    Pruefen(cairo_surface_set_mime_data(bild.p, CAIRO_MIME_TYPE_JPEG, daten->data(), daten->size(),
                                        &Freigeben, daten));
    cairo_save(cr);
    cairo_translate(cr, x, y);
    cairo_scale(cr, b / breite, h / hoehe);
    cairo_set_source_surface(cr, bild.p, 0, 0);
    // A sheet is printed at its pixels' own size: smoothing them would blur the photos.
    if (!glatt) cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_NEAREST);
    cairo_paint(cr);
    cairo_restore(cr);
  }

  static void Schrift(cairo_t* cr, double pt) {
    cairo_select_font_face(cr, "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_BOLD);
    cairo_set_font_size(cr, pt);
  }

  // `text` centred on (x, y), turned by `winkel`; with a white halo on a picture.
  static void Text(cairo_t* cr, const std::string& text, double x, double y, double winkel = 0,
                   bool halo = false) {
    cairo_text_extents_t masse;
    cairo_text_extents(cr, text.c_str(), &masse);
    cairo_save(cr);
    cairo_translate(cr, x, y);
    cairo_rotate(cr, winkel);
    cairo_move_to(cr, -masse.x_bearing - masse.width / 2, -masse.y_bearing - masse.height / 2);
    if (halo) {
      cairo_text_path(cr, text.c_str());
      cairo_set_source_rgb(cr, 1, 1, 1);
      cairo_set_line_width(cr, Schriftgroesse(cr) * kHalo);
      cairo_stroke(cr);
      cairo_move_to(cr, -masse.x_bearing - masse.width / 2, -masse.y_bearing - masse.height / 2);
    }
    // As text, not as shapes: a reader of the PDF finds the names.
    cairo_set_source_rgb(cr, 0, 0, 0);
    cairo_show_text(cr, text.c_str());
    cairo_restore(cr);
  }

  static double Schriftgroesse(cairo_t* cr) {
    cairo_matrix_t m;
    cairo_get_font_matrix(cr, &m);
    return m.xx;
  }

  void UebersichtZeichnen(cairo_surface_t* pdf) {
    Zeichner z(cairo_create(pdf));
    cairo_t* cr = z.p;
    Bitmap klein(uebersichtGroesse_.width, uebersichtGroesse_.height);
    einpassen_->Zeichnen(klein);
    BitmapStreifen streifen(klein);
    Bildbeschreibung art;
    art.qualitaet = kJpegUebersichtQualitaet;
    const double rand = Pt(raster_.randMm);
    const double breite = Pt(raster_.blattBreiteMm) - 2 * rand;
    const double hoehe = Pt(raster_.blattHoeheMm) - 2 * rand - Pt(kTitelZeileMm);
    // The picture as large as the page takes it, centred below the heading.
    const double massstab = std::min(breite / raster_.posterBreite, hoehe / raster_.posterHoehe);
    const double b = raster_.posterBreite * massstab;
    const double h = raster_.posterHoehe * massstab;
    const double x = rand + (breite - b) / 2;
    const double y = rand + Pt(kTitelZeileMm);
    Schrift(cr, kTitelPt);
    Text(cr,
         Format(NG_("Zusammensetzen: {} Blatt, {} x {}; jedes überlappt seine Nachbarn um {} mm",
                    "Zusammensetzen: {} Blätter, {} x {}; jedes überlappt seine Nachbarn um {} mm",
                    static_cast<uint64_t>(raster_.Blaetter())),
                raster_.Blaetter(), raster_.spalten, raster_.zeilen,
                MillimeterText(raster_.ueberlappungMm)),
         rand + breite / 2, rand + Pt(kTitelZeileMm) / 2);
    JpegZeichnen(cr, AlsJpeg(streifen.Streifen(0, klein.height()), klein.width(), art),
                 klein.width(), klein.height(), x, y, b, h, true);
    // The lines where the sheets meet once glued, and each sheet's name in its own part.
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_set_line_width(cr, kLinienbreitePt * 2);
    for (int32_t s = 1; s < raster_.spalten; ++s) {
      const double lx = x + s * raster_.SchrittX() * massstab;
      cairo_move_to(cr, lx, y);
      cairo_line_to(cr, lx, y + h);
    }
    for (int32_t r = 1; r < raster_.zeilen; ++r) {
      const double ly = y + r * raster_.SchrittY() * massstab;
      cairo_move_to(cr, x, ly);
      cairo_line_to(cr, x + b, ly);
    }
    cairo_stroke(cr);
    const double zelle = std::min(raster_.SchrittX(), raster_.SchrittY()) * massstab;
    Schrift(cr, std::clamp(zelle * kNamenAnteil, kKleinsteNamenPt, kGroessteNamenPt));
    for (int32_t r = 0; r < raster_.zeilen; ++r) {
      for (int32_t s = 0; s < raster_.spalten; ++s) {
        const double links = s * raster_.SchrittX();
        const double oben = r * raster_.SchrittY();
        const double rechts = std::min<double>(links + raster_.SchrittX(), raster_.posterBreite);
        const double unten = std::min<double>(oben + raster_.SchrittY(), raster_.posterHoehe);
        Text(cr, Blattname(r, s), x + (links + rechts) / 2 * massstab,
             y + (oben + unten) / 2 * massstab, 0, true);
      }
    }
    cairo_show_page(cr);
  }

  void BlattZeichnen(cairo_surface_t* pdf, int32_t r, int32_t s) {
    const Blatt& blatt = blaetter_[static_cast<size_t>(r * raster_.spalten + s)];
    std::vector<uint8_t> jpeg(blatt.laenge);
    ablage_->ReadAt(blatt.anfang, jpeg.data(), jpeg.size());
    Zeichner z(cairo_create(pdf));
    cairo_t* cr = z.p;
    const double rand = Pt(raster_.randMm);
    const double jePixelX = kPunktJeZoll / raster_.dpiX;
    const double jePixelY = kPunktJeZoll / raster_.dpiY;
    const double b = blatt.breite * jePixelX;
    const double h = blatt.hoehe * jePixelY;
    JpegZeichnen(cr, std::move(jpeg), blatt.breite, blatt.hoehe, rand, rand, b, h, false);

    // Marks in the margin at both edges of each overlap strip: where this sheet's picture
    // and its neighbour's begin and end.
    const double abstand = Pt(kAbstandMm);
    const double lang = std::max(rand - 2 * abstand, abstand);
    const double uX = raster_.ueberlappungX * jePixelX;
    const double uY = raster_.ueberlappungY * jePixelY;
    std::vector<double> senkrecht;
    std::vector<double> waagerecht;
    if (s > 0) senkrecht.push_back(uX);
    if (s + 1 < raster_.spalten) {
      senkrecht.push_back(b - uX);
      senkrecht.push_back(b);
    }
    if (r > 0) waagerecht.push_back(uY);
    if (r + 1 < raster_.zeilen) {
      waagerecht.push_back(h - uY);
      waagerecht.push_back(h);
    }
    cairo_set_source_rgb(cr, 0, 0, 0);
    cairo_set_line_width(cr, kLinienbreitePt);
    for (const double mx : senkrecht) {
      cairo_move_to(cr, rand + mx, rand - abstand);
      cairo_line_to(cr, rand + mx, rand - abstand - lang);
      cairo_move_to(cr, rand + mx, rand + h + abstand);
      cairo_line_to(cr, rand + mx, rand + h + abstand + lang);
    }
    for (const double my : waagerecht) {
      cairo_move_to(cr, rand - abstand, rand + my);
      cairo_line_to(cr, rand - abstand - lang, rand + my);
      cairo_move_to(cr, rand + b + abstand, rand + my);
      cairo_line_to(cr, rand + b + abstand + lang, rand + my);
    }
    cairo_stroke(cr);

    // The sheet's name at its top left, its neighbours' names at the middle of each edge.
    Schrift(cr, std::min(kGroessteSchriftPt, rand * kSchriftAnteil));
    const double mitteRand = rand / 2;
    Text(cr, Blattname(r, s), rand + uX / 2, mitteRand);
    constexpr double kViertel = 1.5707963267948966;
    if (r > 0) Text(cr, Blattname(r - 1, s), rand + b / 2, mitteRand);
    if (r + 1 < raster_.zeilen) Text(cr, Blattname(r + 1, s), rand + b / 2, rand + h + mitteRand);
    if (s > 0) Text(cr, Blattname(r, s - 1), mitteRand, rand + h / 2, -kViertel);
    if (s + 1 < raster_.spalten) {
      Text(cr, Blattname(r, s + 1), rand + b + mitteRand, rand + h / 2, kViertel);
    }
    cairo_show_page(cr);
  }

  SeekableSink& ziel_;
  Bildbeschreibung art_;
  Seitenraster raster_;
  std::unique_ptr<ScratchSpace> ablage_;
  uint64_t abgelegt_ = 0;
  std::vector<Blatt> blaetter_;
  Bitmap band_;
  int32_t bandAnfang_ = 0;  // the picture's row in the band's first
  int32_t reihe_ = 0;       // the row of sheets being filled
  int32_t y_ = 0;           // the picture's next row
  MemoryBudget budget_;
  std::optional<ZeilenEinpassen> einpassen_;
  Size uebersichtGroesse_;
  std::vector<uint8_t> leer_;
  std::exception_ptr fehler_;
};

}  // namespace

std::unique_ptr<Bildschreiber> MakeSeitenPdfSchreiber(SeekableSink& ziel,
                                                      const Bildbeschreibung& beschreibung,
                                                      const Seitenraster& raster, bool uebersicht) {
  return std::make_unique<SeitenPdf>(ziel, beschreibung, raster, uebersicht);
}

}  // namespace tilvendo
