#include "engine/wahrnehmung.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <stdexcept>
#include <string>

#include "platform/rounding.h"

namespace tilvendo {
namespace {

constexpr int kStufen = 256;
constexpr double kGroessterWert = 255.0;

// sRGB transfer curve: linear below this encoded value, a power curve above.
constexpr double kLinearGrenze = 0.04045;
constexpr double kLinearFaktor = 12.92;
constexpr double kKurvenVersatz = 0.055;
constexpr double kKurvenExponent = 2.4;

// Linear sRGB (D65) to CIE XYZ.
constexpr std::array<std::array<double, 3>, 3> kNachXyz = {{
    {0.4124564, 0.3575761, 0.1804375},
    {0.2126729, 0.7151522, 0.0721750},
    {0.0193339, 0.1191920, 0.9503041},
}};
// The D65 white point, Y = 1.
constexpr double kWeissX = 0.95047;
constexpr double kWeissY = 1.0;
constexpr double kWeissZ = 1.08883;

// CIELAB's companding: a cube root above (6/29)³, a straight line below it.
constexpr double kDelta = 6.0 / 29.0;
constexpr double kVersatz = 4.0 / 29.0;
constexpr double kHellFaktor = 116.0;
constexpr double kHellVersatz = 16.0;
constexpr double kAFaktor = 500.0;
constexpr double kBFaktor = 200.0;

// An encoded channel value (0..1) in linear light.
double Linear(double c) {
  return c <= kLinearGrenze
             ? c / kLinearFaktor
             : std::pow((c + kKurvenVersatz) / (1.0 + kKurvenVersatz), kKurvenExponent);
}

// The 256 encoded values of a channel in linear light, computed once.
const std::array<double, kStufen>& Linearisierung() {
  static const std::array<double, kStufen> tabelle = [] {
    std::array<double, kStufen> t{};
    for (int k = 0; k < kStufen; ++k) t[static_cast<size_t>(k)] = Linear(k / kGroessterWert);
    return t;
  }();
  return tabelle;
}

double Kompandieren(double t) {
  return t > kDelta * kDelta * kDelta ? std::cbrt(t) : t / (3.0 * kDelta * kDelta) + kVersatz;
}

uint8_t AlsByte(double wert) {
  return static_cast<uint8_t>(std::clamp<int64_t>(RoundHalfEven(wert), 0, kStufen - 1));
}

LabFarbe LinearNachLab(double rot, double gruen, double blau) {
  const std::array<double, 3> rgb = {rot, gruen, blau};
  std::array<double, 3> xyz{};
  for (size_t z = 0; z < 3; ++z) {
    xyz[z] = kNachXyz[z][0] * rgb[0] + kNachXyz[z][1] * rgb[1] + kNachXyz[z][2] * rgb[2];
  }
  const double fx = Kompandieren(xyz[0] / kWeissX);
  const double fy = Kompandieren(xyz[1] / kWeissY);
  const double fz = Kompandieren(xyz[2] / kWeissZ);
  return LabFarbe{kHellFaktor * fy - kHellVersatz, kAFaktor * (fx - fy), kBFaktor * (fy - fz)};
}

}  // namespace

LabFarbe SrgbNachLab(uint8_t rot, uint8_t gruen, uint8_t blau) {
  const auto& lin = Linearisierung();
  return LinearNachLab(lin[rot], lin[gruen], lin[blau]);
}

LabFarbe SrgbMittelNachLab(double rot, double gruen, double blau) {
  const auto kanal = [](double wert) {
    return Linear(std::clamp(wert, 0.0, kGroessterWert) / kGroessterWert);
  };
  return LinearNachLab(kanal(rot), kanal(gruen), kanal(blau));
}

void InWahrnehmungsraum(Kachelsignatur& signatur, int formanalyse) {
  if (formanalyse < 1 || formanalyse > kMaxFormanalyse) {
    throw std::invalid_argument("Ungültige Formanalyse: " + std::to_string(formanalyse));
  }
  int64_t summeL = 0;
  int64_t summeA = 0;
  int64_t summeB = 0;
  for (int i = 0; i < formanalyse; ++i) {
    for (int j = 0; j < formanalyse; ++j) {
      Feld& feld = signatur.Felder[static_cast<size_t>(i)][static_cast<size_t>(j)];
      const LabFarbe lab = SrgbNachLab(feld.Rot, feld.Gruen, feld.Blau);
      feld.Rot = AlsByte(kLabSkala * lab.L);
      feld.Gruen = AlsByte(kLabMitte + kLabSkala * lab.a);
      feld.Blau = AlsByte(kLabMitte + kLabSkala * lab.b);
      feld.Summe = static_cast<uint16_t>(feld.Rot + feld.Gruen + feld.Blau);
      summeL += feld.Rot;
      summeA += feld.Gruen;
      summeB += feld.Blau;
    }
  }
  const int64_t felder = static_cast<int64_t>(formanalyse) * formanalyse;
  signatur.Rot = static_cast<uint8_t>(DivideRoundHalfEven(summeL, felder));
  signatur.Gruen = static_cast<uint8_t>(DivideRoundHalfEven(summeA, felder));
  signatur.Blau = static_cast<uint8_t>(DivideRoundHalfEven(summeB, felder));
  signatur.Helligkeit = static_cast<uint16_t>(signatur.Rot + signatur.Gruen + signatur.Blau);
}

}  // namespace tilvendo
