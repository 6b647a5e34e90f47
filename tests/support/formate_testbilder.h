// Writing test pictures of the other picture types through their libraries' own writers,
// and JPEG files with the markers cameras and Adobe's programs add. Every writer takes a
// picture of any format and throws when the file cannot be written.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "platform/bitmap.h"

namespace tilvendo::testing {

// The TIFF-structured block of Exif data holding just the orientation tag (big-endian or
// little-endian), as PNG, WebP and JPEG (after "Exif\0\0") carry it.
std::string ExifBlock(uint16_t ausrichtung, bool grossEndian = false);

// Colour or CMYK. CMYK holds ink amounts the way Adobe's programs store them, inverted
// (255 is no ink); YCCK is that CMYK transformed as they do for photos.
enum class JpegFarben { Farbe, Cmyk, Ycck };
void WriteTestJpegMitExif(const std::string& path, const Bitmap& bild,
                          std::optional<uint16_t> ausrichtung,
                          JpegFarben farben = JpegFarben::Farbe);

enum class PngFarben { Farbe, Grau, Palette };
struct PngArt {
  PngFarben farben = PngFarben::Farbe;
  bool sechzehnBit = false;
  // With 16 bits: the low byte of every sample, the picture's value the high byte; none
  // repeats the high byte.
  std::optional<uint8_t> unteresByte = std::nullopt;
  bool verschraenkt = false;  // interlaced
  int alpha = -1;             // one opacity for every pixel; none below 0
  int ausrichtung = 0;        // in an eXIf chunk before the pixels; none at 0
};
void WriteTestPng(const std::string& path, const Bitmap& bild, const PngArt& art = {});
// The header of a PNG of any declared size (8-bit colour), followed by an IDAT chunk of
// `datenBytes` zero bytes when that is not 0: no valid compressed data, but a reader that
// sets up its rows before decoding has done so when it finds that out.
void WriteTestPngKopf(const std::string& path, uint32_t breite, uint32_t hoehe,
                      size_t datenBytes = 0);

// Strips of a few rows, or tiles of 16 × 16 pixels.
void WriteTestTiff(const std::string& path, const Bitmap& bild, uint16_t ausrichtung = 1,
                   bool kacheln = false, std::optional<uint8_t> alpha = std::nullopt);
// A directory declaring a picture of any size, without pixels.
void WriteTestTiffKopf(const std::string& path, uint32_t breite, uint32_t hoehe);
// 8-bit colour in three planes, one after the other (planar), in strips of a few rows.
void WriteTestTiffEbenen(const std::string& path, const Bitmap& bild);
// A little-endian TIFF of one Deflate strip declaring `abtastwerte` samples of `bits`
// bits per pixel, photometric RGB, whose strip holds `datenBytes` zero bytes: no valid
// compressed data, which a reader finds out only after setting up its strip buffer.
void WriteTestTiffAbtastwerte(const std::string& path, uint32_t breite, uint32_t hoehe,
                              uint16_t abtastwerte, uint16_t bits, size_t datenBytes);

// Lossless unless a quality is given; the orientation goes into an EXIF chunk.
void WriteTestWebp(const std::string& path, const Bitmap& bild,
                   std::optional<uint16_t> ausrichtung = std::nullopt,
                   std::optional<int> qualitaet = std::nullopt,
                   std::optional<uint8_t> alpha = std::nullopt);

// HEVC-coded, the library turning or mirroring the picture through the container as the
// orientation says; with a thumbnail whose longer side is at most `vorschau` pixels.
void WriteTestHeif(const std::string& path, const Bitmap& bild, uint16_t ausrichtung = 1,
                   std::optional<int> vorschau = std::nullopt);

}  // namespace tilvendo::testing
