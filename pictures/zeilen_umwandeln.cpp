#include "pictures/zeilen_umwandeln.h"

#include <cstddef>

namespace tilvendo {
namespace {

constexpr size_t kDrei = 3;
constexpr size_t kVier = 4;

// c · a / 255, rounded to the nearest value, without a division.
inline uint8_t Gewichtet(uint32_t farbe, uint32_t alpha) {
  const uint32_t produkt = farbe * alpha + 128;
  return static_cast<uint8_t>((produkt + (produkt >> 8)) >> 8);
}

}  // namespace

void RgbZuBgr(const uint8_t* rgb, uint8_t* bgr, int32_t breite) {
  for (int32_t x = 0; x < breite; ++x, rgb += kDrei, bgr += kDrei) {
    bgr[0] = rgb[2];
    bgr[1] = rgb[1];
    bgr[2] = rgb[0];
  }
}

void RgbaZuBgr(const uint8_t* rgba, uint8_t* bgr, int32_t breite) {
  for (int32_t x = 0; x < breite; ++x, rgba += kVier, bgr += kDrei) {
    bgr[0] = Gewichtet(rgba[2], rgba[3]);
    bgr[1] = Gewichtet(rgba[1], rgba[3]);
    bgr[2] = Gewichtet(rgba[0], rgba[3]);
  }
}

void RgbaVormultipliziertZuBgr(const uint8_t* rgba, uint8_t* bgr, int32_t breite) {
  for (int32_t x = 0; x < breite; ++x, rgba += kVier, bgr += kDrei) {
    bgr[0] = rgba[2];
    bgr[1] = rgba[1];
    bgr[2] = rgba[0];
  }
}

void BgraZuBgr(const uint8_t* bgra, uint8_t* bgr, int32_t breite) {
  for (int32_t x = 0; x < breite; ++x, bgra += kVier, bgr += kDrei) {
    bgr[0] = Gewichtet(bgra[0], bgra[3]);
    bgr[1] = Gewichtet(bgra[1], bgra[3]);
    bgr[2] = Gewichtet(bgra[2], bgra[3]);
  }
}

void BgraVormultipliziertZuBgr(const uint8_t* bgra, uint8_t* bgr, int32_t breite) {
  for (int32_t x = 0; x < breite; ++x, bgra += kVier, bgr += kDrei) {
    bgr[0] = bgra[0];
    bgr[1] = bgra[1];
    bgr[2] = bgra[2];
  }
}

void CmykZuBgr(const uint8_t* cmyk, uint8_t* bgr, int32_t breite, bool invertiert) {
  constexpr uint32_t kVoll = 255;
  const auto rest = [invertiert](uint8_t tinte) -> uint32_t {
    return invertiert ? tinte : kVoll - tinte;
  };
  for (int32_t x = 0; x < breite; ++x, cmyk += kVier, bgr += kDrei) {
    const uint32_t schwarz = rest(cmyk[3]);
    bgr[0] = Gewichtet(rest(cmyk[2]), schwarz);
    bgr[1] = Gewichtet(rest(cmyk[1]), schwarz);
    bgr[2] = Gewichtet(rest(cmyk[0]), schwarz);
  }
}

}  // namespace tilvendo
