#include "pictures/webp_reader.h"

#include <webp/decode.h>
#include <webp/demux.h>

#include <algorithm>
#include <memory>
#include <span>
#include <vector>

#include "pictures/datei_inhalt.h"
#include "pictures/exif_ausrichtung.h"
#include "pictures/zeilen_umwandeln.h"
#include "platform/bitmap.h"

namespace tilvendo {
namespace {

constexpr size_t kFarbKanaele = 3;
constexpr size_t kMitAlpha = 4;
// The container counts its size in 32 bits.
constexpr uint64_t kMaxDateiGroesse = 0xFFFFFFFFu;

struct DemuxFreigeben {
  void operator()(WebPDemuxer* demux) const { WebPDemuxDelete(demux); }
};
struct AnimationFreigeben {
  void operator()(WebPAnimDecoder* dekoder) const { WebPAnimDecoderDelete(dekoder); }
};

Ausrichtung AusrichtungLesen(const WebPDemuxer* demux) {
  if ((WebPDemuxGetI(demux, WEBP_FF_FORMAT_FLAGS) & EXIF_FLAG) == 0) return Ausrichtung::Normal;
  WebPChunkIterator stueck;
  if (WebPDemuxGetChunk(demux, "EXIF", 1, &stueck) == 0) return Ausrichtung::Normal;
  const std::optional<Ausrichtung> ausrichtung =
      ExifAusrichtung(std::span<const uint8_t>(stueck.chunk.bytes, stueck.chunk.size));
  WebPDemuxReleaseChunkIterator(&stueck);
  return ausrichtung.value_or(Ausrichtung::Normal);
}

void ZeilenAbgeben(const uint8_t* pixel, size_t zeilenBytes, Size groesse, bool alpha,
                   ZeilenEmpfaenger& empfaenger) {
  std::vector<uint8_t> bgr(static_cast<size_t>(groesse.width) * kFarbKanaele);
  for (int32_t y = 0; y < groesse.height; ++y) {
    if (!empfaenger.BrauchtZeile(y)) continue;
    const uint8_t* zeile = pixel + static_cast<size_t>(y) * zeilenBytes;
    if (alpha) {
      BgraVormultipliziertZuBgr(zeile, bgr.data(), groesse.width);
      zeile = bgr.data();
    }
    empfaenger.Zeile(y, zeile);
  }
}

// A still picture, decoded by the library into our buffer at the size the receiver asks for at
// least.
bool StandbildLesen(const WebPData& daten, WebPDecoderConfig& config, Ausrichtung ausrichtung,
                    ZeilenEmpfaenger& empfaenger) {
  const WebPBitstreamFeatures& merkmale = config.input;
  const Size voll{merkmale.width, merkmale.height};
  const Size wunsch = empfaenger.Mindestgroesse(voll, ausrichtung);
  const Size ziel{std::clamp(wunsch.width, 1, voll.width),
                  std::clamp(wunsch.height, 1, voll.height)};
  if (ziel != voll) {
    config.options.use_scaling = 1;
    config.options.scaled_width = ziel.width;
    config.options.scaled_height = ziel.height;
  }
  const bool alpha = merkmale.has_alpha != 0;
  const size_t zeilenBytes = static_cast<size_t>(ziel.width) * (alpha ? kMitAlpha : kFarbKanaele);
  const size_t bytes = zeilenBytes * static_cast<size_t>(ziel.height);
  // The lossless decoder holds the whole picture at four bytes a pixel before it scales, the lossy
  // one an alpha plane of a byte a pixel; both besides the file and our result.
  constexpr int kVerlustfrei = 2;
  const uint64_t eigene = static_cast<uint64_t>(voll.width) * static_cast<uint64_t>(voll.height) *
                          (merkmale.format == kVerlustfrei ? kMitAlpha : 1);
  const Zeilenformat format{.breite = ziel.width,
                            .hoehe = ziel.height,
                            .bytesJePixel = kFarbKanaele,
                            .leserBytes = daten.size + eigene + bytes + zeilenBytes,
                            .ausrichtung = ausrichtung};
  if (!empfaenger.Groesse(format)) return false;
  const auto pixel = std::make_unique_for_overwrite<uint8_t[]>(bytes);
  // Premultiplied output is the colour laid over black.
  config.output.colorspace = alpha ? MODE_bgrA : MODE_BGR;
  config.output.is_external_memory = 1;
  config.output.u.RGBA.rgba = pixel.get();
  config.output.u.RGBA.stride = static_cast<int>(zeilenBytes);
  config.output.u.RGBA.size = bytes;
  const VP8StatusCode status = WebPDecode(daten.bytes, daten.size, &config);
  WebPFreeDecBuffer(&config.output);
  if (status != VP8_STATUS_OK) return false;
  ZeilenAbgeben(pixel.get(), zeilenBytes, ziel, alpha, empfaenger);
  return true;
}

// The first frame of an animation, composed on its canvas at full size.
bool ErstesBildLesen(const WebPData& daten, Size groesse, Ausrichtung ausrichtung,
                     ZeilenEmpfaenger& empfaenger) {
  WebPAnimDecoderOptions optionen;
  if (WebPAnimDecoderOptionsInit(&optionen) == 0) return false;
  optionen.color_mode = MODE_bgrA;
  optionen.use_threads = 0;
  const size_t zeilenBytes = static_cast<size_t>(groesse.width) * kMitAlpha;
  const Zeilenformat format{
      .breite = groesse.width,
      .hoehe = groesse.height,
      .bytesJePixel = kFarbKanaele,
      // The decoder keeps the canvas and the previous one.
      .leserBytes = daten.size + 2 * zeilenBytes * static_cast<size_t>(groesse.height),
      .ausrichtung = ausrichtung};
  if (!empfaenger.Groesse(format)) return false;
  const std::unique_ptr<WebPAnimDecoder, AnimationFreigeben> dekoder(
      WebPAnimDecoderNew(&daten, &optionen));
  if (!dekoder) return false;
  uint8_t* pixel = nullptr;
  int zeitpunkt = 0;
  if (WebPAnimDecoderGetNext(dekoder.get(), &pixel, &zeitpunkt) == 0 || pixel == nullptr) {
    return false;
  }
  ZeilenAbgeben(pixel, zeilenBytes, groesse, true, empfaenger);
  return true;
}

bool Weitergeben(const std::string& fileName, ZeilenEmpfaenger& empfaenger) {
  // The file is read whole before anything is reserved: it is real data, never more than what lies
  // on the disk, unlike the picture it may declare.
  DateiInhalt inhalt;
  if (!inhalt.Lesen(fileName, kMaxDateiGroesse)) return false;
  const WebPData daten{inhalt.bytes().data(), inhalt.size()};

  WebPDecoderConfig config;
  if (WebPInitDecoderConfig(&config) == 0) return false;
  if (WebPGetFeatures(daten.bytes, daten.size, &config.input) != VP8_STATUS_OK) return false;
  const Size groesse{config.input.width, config.input.height};
  empfaenger.Kopfgroesse(groesse);
  CheckPictureSize(groesse.width, groesse.height);
  const std::unique_ptr<WebPDemuxer, DemuxFreigeben> demux(WebPDemux(&daten));
  if (!demux) return false;
  const Ausrichtung ausrichtung = AusrichtungLesen(demux.get());
  if (config.input.has_animation != 0) {
    return ErstesBildLesen(daten, groesse, ausrichtung, empfaenger);
  }
  return StandbildLesen(daten, config, ausrichtung, empfaenger);
}

}  // namespace

bool ReadWebpRows(const std::string& fileName, ZeilenEmpfaenger& empfaenger) {
  return FalseIfTooLarge([&] { return Weitergeben(fileName, empfaenger); });
}

}  // namespace tilvendo
