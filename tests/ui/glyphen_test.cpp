// Every button glyph and the application icon must show something with the installed
// icon theme: an icon name the theme lacks gives an empty button, which no other test
// would notice.
#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QTest>
#include <vector>

#include "ui/glyphen.h"
#include "ui_test_umgebung.h"

namespace tilvendo::testing {
namespace {

using ui::Glyphe;

constexpr int kGlyphKante = 22;
// The thinnest glyph, a minus sign, covers 20 pixels; an empty or nearly empty picture
// stays below this.
constexpr int kMindestensSichtbar = 16;
constexpr int kIconKante = 100;

int SichtbarePixel(const QPixmap& bild) {
  const QImage pixel = bild.toImage().convertToFormat(QImage::Format_ARGB32);
  int sichtbar = 0;
  for (int y = 0; y < pixel.height(); ++y) {
    for (int x = 0; x < pixel.width(); ++x) {
      if (qAlpha(pixel.pixel(x, y)) > 0) ++sichtbar;
    }
  }
  return sichtbar;
}

}  // namespace

class GlyphenTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { UiTestsEinrichten(); }

  void JedeGlypheIstSichtbarUndEigen() {
    std::vector<QImage> bilder;
    for (Glyphe glyphe : ui::kAlleGlyphen) {
      const QPixmap bild = ui::GlyphIcon(glyphe).pixmap(kGlyphKante, kGlyphKante);
      QVERIFY2(SichtbarePixel(bild) >= kMindestensSichtbar, ui::Iconname(glyphe));
      bilder.push_back(bild.toImage().convertToFormat(QImage::Format_ARGB32));
    }
    // A theme may draw two names alike: then a chosen and an unchosen album, or Info and
    // Hilfe, would look the same.
    for (size_t i = 0; i < bilder.size(); ++i) {
      for (size_t j = i + 1; j < bilder.size(); ++j) {
        QVERIFY2(bilder[i] != bilder[j],
                 qPrintable(QStringLiteral("%1 = %2").arg(
                     QString::fromLatin1(ui::Iconname(ui::kAlleGlyphen[i])),
                     QString::fromLatin1(ui::Iconname(ui::kAlleGlyphen[j])))));
      }
    }
  }

  void AnwendungsIconLaedt() {
    const QIcon icon(QStringLiteral(":/nubo-tilvendo.svg"));
    const QPixmap bild = icon.pixmap(kIconKante, kIconKante);
    QCOMPARE(bild.width(), kIconKante);
    QVERIFY(SichtbarePixel(bild) >= kIconKante * kIconKante / 4);
  }
};

}  // namespace tilvendo::testing

QTEST_MAIN(tilvendo::testing::GlyphenTest)
#include "glyphen_test.moc"
