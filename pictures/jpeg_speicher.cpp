#include "pictures/jpeg_speicher.h"

#include <algorithm>
#include <limits>

namespace tilvendo {
namespace {

// Sets of row buffers the decoder keeps per component: the decoded blocks, the context
// rows of the upsampler, its output and the colour converter's; counted generously.
constexpr uint64_t kZeilenSaetze = 8;
// Tables, Huffman decoders, pools: far below this.
constexpr uint64_t kGrundbedarf = uint64_t{4} << 20;

uint64_t AufgerundetAuf(uint64_t wert, uint64_t vielfaches) {
  return (wert + vielfaches - 1) / vielfaches * vielfaches;
}

}  // namespace

uint64_t JpegDekoderBedarf(j_decompress_ptr info) {
  uint64_t koeffizienten = 0;
  uint64_t zeilen = 0;
  const bool mehrereScans = jpeg_has_multiple_scans(info) != FALSE;
  for (int c = 0; c < info->num_components; ++c) {
    const jpeg_component_info& k = info->comp_info[c];
    // Blocks of the whole picture, padded to whole units as the library pads them.
    const uint64_t breite =
        AufgerundetAuf(k.width_in_blocks, static_cast<uint64_t>(k.h_samp_factor));
    const uint64_t hoehe =
        AufgerundetAuf(k.height_in_blocks, static_cast<uint64_t>(k.v_samp_factor));
    if (mehrereScans) koeffizienten += breite * hoehe * DCTSIZE2 * sizeof(JCOEF);
    zeilen +=
        breite * DCTSIZE * static_cast<uint64_t>(info->max_v_samp_factor) * DCTSIZE * kZeilenSaetze;
  }
  // The output rows: the colour converter and the caller's strip hold a few.
  zeilen += static_cast<uint64_t>(info->image_width) * static_cast<uint64_t>(info->num_components) *
            static_cast<uint64_t>(info->max_v_samp_factor) * DCTSIZE * kZeilenSaetze;
  return koeffizienten + zeilen + kGrundbedarf;
}

void JpegDekoderBegrenzen(j_decompress_ptr info, uint64_t bytes) {
  constexpr uint64_t kMax = static_cast<uint64_t>(std::numeric_limits<long>::max());
  info->mem->max_memory_to_use = static_cast<long>(std::min(bytes, kMax));
}

}  // namespace tilvendo
