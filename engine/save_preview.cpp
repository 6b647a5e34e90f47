#include "engine/save_preview.h"

#include <cstring>
#include <memory>

#include "platform/fit_to_box.h"

namespace tilvendo {

SavePreview MakeSavePreview(Auftrag& job, uint8_t blend, int32_t boxWidth, int32_t boxHeight,
                            const SpeicherOptionen& options, Bitmap& preview) {
  const Dateiformat* format = FormatVon(options.Format);
  const Size size = job.Ergebnis ? job.Ergebnis->Groesse() : Size{};
  const Size fitted = FitToBox(size.width, size.height, boxWidth, boxHeight);
  if (format == nullptr || fitted.width <= 0 || fitted.height <= 0) {
    preview = Bitmap();
    return {};
  }
  Bitmap& cache = job.SpeicherVorschau;
  if (cache.width() != fitted.width || cache.height() != fitted.height ||
      cache.format() != kPixelformat) {
    const std::unique_ptr<Mosaikquelle> source =
        job.Ergebnis->Quelle(job.VorlageBild, blend, {}, fitted);
    cache = Bitmap::Uninitialized(fitted.width, fitted.height, kPixelformat);
    const Zeilen rows = source->Streifen(0, fitted.height);
    for (int32_t y = 0; y < fitted.height; ++y) {
      std::memcpy(cache.row(y), rows.Zeile(y), cache.stride());
    }
  }
  preview =
      format->wieGespeichert(cache.Clone(), BeschreibungFuer(options, fitted.width, fitted.height));
  const Dateigroesse file = job.Ergebnis->DateigroesseSchaetzen(job.VorlageBild, blend, options);
  return SavePreview{file.bytes, file.geschaetzt};
}

}  // namespace tilvendo
