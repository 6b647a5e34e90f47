#include "pictures/bilder_laden.h"

#include <optional>

#include "pictures/bildart.h"
#include "pictures/bmp_reader.h"
#include "pictures/ganzes_bild.h"
#include "pictures/heif_reader.h"
#include "pictures/jpeg_io.h"
#include "pictures/png_reader.h"
#include "pictures/tiff_reader.h"
#include "pictures/webp_reader.h"
#include "pictures/zeilen_einpassen.h"
#include "platform/translate.h"

namespace tilvendo {
namespace {

constexpr int64_t kPixelJeMegapixel = 1'000'000;

// Full size always: the tile loader wants the whole picture for the staged reduction.
constexpr int kVolleGroesse = 0;

bool ZeilenLesen(const std::string& fileName, Bildart art, ZeilenEmpfaenger& empfaenger) {
  switch (art) {
    case Bildart::Bmp:
      return ReadBmpRows(fileName, empfaenger);
    case Bildart::Jpeg:
      return ReadJpegRows(fileName, empfaenger);
    case Bildart::Png:
      return ReadPngRows(fileName, empfaenger);
    case Bildart::Webp:
      return ReadWebpRows(fileName, empfaenger);
    case Bildart::Tiff:
      return ReadTiffRows(fileName, empfaenger);
    case Bildart::Heif:
      return ReadHeifRows(fileName, empfaenger);
  }
  return false;
}

// Reads no further than the header: the format the rows would have.
class NurKopf final : public ZeilenEmpfaenger {
 public:
  void Kopfgroesse(Size gespeichert) override { kopfgroesse_ = gespeichert; }
  bool Groesse(const Zeilenformat& format) override {
    format_ = format;
    return false;
  }
  bool BrauchtZeile(int32_t) const override { return false; }
  void Zeile(int32_t, const uint8_t*) override {}
  const std::optional<Zeilenformat>& format() const { return format_; }
  // Also of a picture the reader refused as too large to hold.
  const std::optional<Size>& kopfgroesse() const { return kopfgroesse_; }

 private:
  std::optional<Zeilenformat> format_;
  std::optional<Size> kopfgroesse_;
};

std::optional<Zeilenformat> KopfLesen(const std::string& fileName, Bildart art) {
  NurKopf kopf;
  ZeilenLesen(fileName, art, kopf);
  return kopf.format();
}

std::optional<Size> GroesseLesen(const std::string& fileName, Bildart art) {
  switch (art) {
    case Bildart::Bmp:
      return ReadBmpSize(fileName);
    case Bildart::Jpeg:
      return ReadJpegSize(fileName);
    default: {
      NurKopf kopf;
      ZeilenLesen(fileName, art, kopf);
      if (kopf.format()) return Size{kopf.format()->breite, kopf.format()->hoehe};
      return kopf.kopfgroesse();
    }
  }
}

bool Lesen(Bitmap& bitmap, const std::string& fileName, Bildart art, Leseart leseart,
           MemoryBudget& budget) {
  if (art == Bildart::Bmp) return ReadBmpFile(bitmap, fileName, budget);
  if (art == Bildart::Jpeg) {
    // As stored, and a grey photo kept 8-bit, unless it must be turned.
    const bool drehen =
        leseart.aufrichten &&
        KopfLesen(fileName, art).value_or(Zeilenformat{}).ausrichtung != Ausrichtung::Normal;
    if (!drehen) {
      return ReadJpegFile(bitmap, fileName, /*mayChangePixelFormat=*/true, kVolleGroesse, budget);
    }
  }
  GanzesBild ganz(leseart.aufrichten, budget);
  if (!ZeilenLesen(fileName, art, ganz)) return false;
  bitmap = std::move(ganz.bild());
  return true;
}

// The template in the working format, 32 bits a pixel.
uint64_t VorlagenArbeitskopie(Size groesse) {
  return static_cast<uint64_t>(RowStride(groesse.width, kPixelformat)) *
         static_cast<uint64_t>(groesse.height);
}

}  // namespace

bool LoadWholePicture(Bitmap& bitmap, const std::string& fileName, MemoryBudget& budget,
                      Leseart art) {
  return FalseIfTooLarge([&] {
    const std::optional<Bildart> bildart = BildartVonName(fileName);
    return bildart && Lesen(bitmap, fileName, *bildart, art, budget);
  });
}

bool LoadWholePicture(Bitmap& bitmap, const std::string& fileName, Leseart art) {
  MemoryBudget budget(MemoryBudget::ForThisMachine());
  return LoadWholePicture(bitmap, fileName, budget, art);
}

std::optional<Size> BildgroesseLesen(const std::string& fileName) {
  const std::optional<Bildart> bildart = BildartVonName(fileName);
  if (!bildart) return std::nullopt;
  return GroesseLesen(fileName, *bildart);
}

Vorlagenbild VorlagenbildLesen(Bitmap& bitmap, const std::string& fileName, Leseart art,
                               uint64_t speicher) {
  const std::optional<Size> groesse = BildgroesseLesen(fileName);
  if (!groesse) return {};
  if (static_cast<int64_t>(groesse->width) * groesse->height > kMaxVorlagenPixel) {
    return {Vorlagenlesung::ZuGross, *groesse};
  }
  // The working copy the caller makes of it is counted as well: read first, it would take
  // memory beyond the budget after all.
  const uint64_t arbeitskopie = VorlagenArbeitskopie(*groesse);
  if (arbeitskopie >= speicher) return {Vorlagenlesung::ZuGross, *groesse};
  MemoryBudget budget(speicher - arbeitskopie);
  if (LoadWholePicture(bitmap, fileName, budget, art)) return {Vorlagenlesung::Gelesen, *groesse};
  // Refused by the budget rather than broken: the picture as read and its copy exceed it.
  if (arbeitskopie + static_cast<uint64_t>(RowStride(groesse->width, PixelFormat::k24)) *
                         static_cast<uint64_t>(groesse->height) >
      speicher) {
    return {Vorlagenlesung::ZuGross, *groesse};
  }
  return {};
}

std::string MeldungVorlageZuGross(Size groesse, uint64_t speicher) {
  if (static_cast<int64_t>(groesse.width) * groesse.height > kMaxVorlagenPixel) {
    return Format(_("Das Bild ist mit {} × {} Pixeln zu groß für eine Vorlage; höchstens {} "
                    "Millionen Pixel sind möglich."),
                  groesse.width, groesse.height, kMaxVorlagenPixel / kPixelJeMegapixel);
  }
  // As read and as worked with, rounded up to whole megabytes.
  constexpr uint64_t kMegabyte = uint64_t{1} << 20;
  const uint64_t noetig = VorlagenArbeitskopie(groesse) +
                          static_cast<uint64_t>(RowStride(groesse.width, PixelFormat::k24)) *
                              static_cast<uint64_t>(groesse.height);
  return Format(
      _("Das Bild ist mit {} × {} Pixeln zu groß für den Arbeitsspeicher dieses Rechners: "
        "Es bräuchte etwa {} MB, höchstens {} MB stehen einer Vorlage zur Verfügung."),
      groesse.width, groesse.height, (noetig + kMegabyte - 1) / kMegabyte, speicher / kMegabyte);
}

bool LoadTilePicture(Bitmap& target, Rect rect, const std::string& fileName,
                     const std::string& arbeitspfad, MemoryBudget& budget, Leseart art) {
  if (fileName == arbeitspfad + kTemporaeresBild) return false;
  return FalseIfTooLarge([&] {
    // Everything that is not a bitmap file is tried as JPEG, as the album scan only
    // offers the picture extensions.
    const Bildart bildart = BildartVonName(fileName).value_or(Bildart::Jpeg);
    ZeilenEinpassen einpassen(rect, budget, art);
    if (!ZeilenLesen(fileName, bildart, einpassen)) return false;
    einpassen.Zeichnen(target);
    return true;
  });
}

bool LoadTilePicture(Bitmap& target, Rect rect, const std::string& fileName,
                     const std::string& arbeitspfad, Leseart art) {
  MemoryBudget budget(MemoryBudget::ForThisMachine());
  return LoadTilePicture(target, rect, fileName, arbeitspfad, budget, art);
}

}  // namespace tilvendo
