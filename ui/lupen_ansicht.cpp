#include "ui/lupen_ansicht.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <cmath>

#include "ui/bild_anzeige.h"

namespace tilvendo::ui {
namespace {

int Gerundet(double wert) {
  return static_cast<int>(std::lround(wert));
}

QPoint AlsQPoint(wizard::Punkt punkt) {
  return QPoint(Gerundet(punkt.x), Gerundet(punkt.y));
}

wizard::Punkt AlsPunkt(QPointF punkt) {
  return wizard::Punkt{punkt.x(), punkt.y()};
}

}  // namespace

LupenAnsicht::LupenAnsicht(QWidget* eltern) : QWidget(eltern) {
  setObjectName(QStringLiteral("ErgebnisBild"));
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMouseTracking(true);
}

LupenAnsicht::~LupenAnsicht() {
  // Stops the workers while the view they report to still exists.
  kacheln_.reset();
}

void LupenAnsicht::Zeigen(const Bitmap& anzeige, const Bitmap& verkleinert, const Bitmap& vorlage,
                          Size mosaik, wizard::Lupenquelle quelle) {
  kacheln_.reset();
  anzeige_ = &anzeige;
  verkleinert_ = &verkleinert;
  vorlage_ = wizard::Lupenvorlage(vorlage, mosaik);
  geometrie_ = wizard::Lupe(mosaik, Size{anzeige.width(), anzeige.height()});
  kacheln_ = std::make_unique<wizard::Lupenkacheln>(quelle, [this] { Angekommen(); });
  radRest_ = 0;
  gezogenVon_.reset();
  benannt_.clear();
  ZeigerSetzen();
  update();
}

void LupenAnsicht::Leeren() {
  kacheln_.reset();
  vorlage_ = wizard::Lupenvorlage();
  fensterBild_ = Bitmap();
  geometrie_ = wizard::Lupe();
  benannt_.clear();
  ZeigerSetzen();
}

void LupenAnsicht::BlendwertSetzen(uint8_t blendwert) {
  blendwert_ = blendwert;
  if (geometrie_.Vergroessert()) update();
}

void LupenAnsicht::Angekommen() {
  // Many tiles may arrive between two repaints; one repaint draws them all.
  if (neuMalen_->exchange(true)) return;
  QMetaObject::invokeMethod(
      this,
      [this] {
        neuMalen_->store(false);
        update();
      },
      Qt::QueuedConnection);
}

void LupenAnsicht::paintEvent(QPaintEvent*) {
  QPainter maler(this);
  if (anzeige_ == nullptr || anzeige_->empty()) {
    maler.fillRect(rect(), palette().window());
    return;
  }
  if (!geometrie_.Vergroessert()) {
    BildZeichnen(maler, rect(), *anzeige_);
    return;
  }
  Vergroessert(maler);
}

void LupenAnsicht::Vergroessert(QPainter& aussen) {
  const Size groesse = geometrie_.Fenster();
  if (fensterBild_.width() != groesse.width || fensterBild_.height() != groesse.height) {
    fensterBild_ = Bitmap::Uninitialized(groesse.width, groesse.height, kPixelformat);
  }
  QImage bild(fensterBild_.data(), groesse.width, groesse.height,
              static_cast<qsizetype>(fensterBild_.stride()), QImage::Format_RGB32);
  {
    QPainter maler(&bild);
    MosaikZeichnen(maler);
  }
  // The template over all, enlarged and blended as in the saved file.
  vorlage_.Ueberblenden(geometrie_.Sichtbar(), blendwert_, fensterBild_);
  aussen.drawImage(QPoint(0, 0), bild);
}

void LupenAnsicht::MosaikZeichnen(QPainter& maler) {
  maler.fillRect(QRect(0, 0, geometrie_.Fenster().width, geometrie_.Fenster().height), Qt::black);
  maler.setRenderHint(QPainter::SmoothPixmapTransform);
  const wizard::Ausschnitt sichtbar = geometrie_.Sichtbar();
  const Size mosaik = geometrie_.Mosaik();
  const QRectF fenster(QPointF(0, 0),
                       QSizeF(geometrie_.Fenster().width, geometrie_.Fenster().height));
  // The part of a picture stretched over the whole mosaic that the window shows.
  const auto teil = [&](const Bitmap& bild) {
    const double sx = static_cast<double>(bild.width()) / mosaik.width;
    const double sy = static_cast<double>(bild.height()) / mosaik.height;
    return QRectF(sichtbar.links * sx, sichtbar.oben * sy, sichtbar.breite * sx,
                  sichtbar.hoehe * sy);
  };

  // At once: the reduced mosaic enlarged, standing in for every photo not read yet.
  if (verkleinert_ != nullptr && !verkleinert_->empty()) {
    maler.drawImage(fenster, AlsQImage(*verkleinert_), teil(*verkleinert_));
  }

  // A stand-in of the mosaic's full size (a mosaic held whole) needs no photos.
  const bool ganz = verkleinert_ != nullptr && verkleinert_->width() >= mosaik.width;
  const wizard::Mosaikraster& raster = kacheln_ ? kacheln_->Raster() : wizard::Mosaikraster{};
  if (kacheln_ && !ganz &&
      wizard::FotosZeigen(geometrie_.Massstab(), geometrie_.Einpassen(), raster.kachel)) {
    const int stufe = wizard::DetailStufe(geometrie_.Massstab());
    const wizard::Zellbereich bereich = wizard::SichtbareZellen(sichtbar, raster);
    kacheln_->Anfordern(bereich, stufe);
    for (int32_t x = bereich.ersteSpalte; x <= bereich.letzteSpalte; ++x) {
      for (int32_t y = bereich.ersteZeile; y <= bereich.letzteZeile; ++y) {
        const std::shared_ptr<const Kachel> kachel = kacheln_->Kachel(Zellort{x, y}, stufe);
        if (!kachel) continue;
        // Neighbouring tiles share their rounded edges, so no seam shows between them.
        const QPoint oben = AlsQPoint(geometrie_.ImFenster(wizard::Punkt{
            double(x - 1) * raster.kachel.width, double(y - 1) * raster.kachel.height}));
        const QPoint unten = AlsQPoint(geometrie_.ImFenster(
            wizard::Punkt{double(x) * raster.kachel.width, double(y) * raster.kachel.height}));
        maler.drawImage(QRect(oben, unten - QPoint(1, 1)), AlsQImage(kachel->bild));
      }
    }
  }
}

void LupenAnsicht::Zoomen(int schritte, QPoint punkt) {
  if (!geometrie_.Zoomen(schritte, AlsPunkt(punkt))) return;
  ZeigerSetzen();
  Benennen(punkt);
  update();
  emit ZoomGeaendert();
}

void LupenAnsicht::wheelEvent(QWheelEvent* ereignis) {
  radRest_ += ereignis->angleDelta().y();
  const int schritte = radRest_ / wizard::kRadRaste;
  radRest_ -= schritte * wizard::kRadRaste;
  if (schritte != 0) Zoomen(schritte, ereignis->position().toPoint());
  ereignis->accept();
}

void LupenAnsicht::mousePressEvent(QMouseEvent* ereignis) {
  gezogenVon_ = ereignis->position().toPoint();
  gezogen_ = false;
  ZeigerSetzen();
}

void LupenAnsicht::mouseMoveEvent(QMouseEvent* ereignis) {
  const QPoint hier = ereignis->position().toPoint();
  if (gezogenVon_ && geometrie_.Vergroessert()) {
    const QPoint weg = hier - *gezogenVon_;
    if (gezogen_ || weg.manhattanLength() >= QApplication::startDragDistance()) {
      gezogen_ = true;
      geometrie_.Verschieben(wizard::Punkt{double(weg.x()), double(weg.y())});
      gezogenVon_ = hier;
      ZeigerSetzen();
      update();
    }
  }
  Benennen(hier);
}

void LupenAnsicht::mouseReleaseEvent(QMouseEvent* ereignis) {
  const bool geklickt = gezogenVon_.has_value() && !gezogen_;
  gezogenVon_.reset();
  gezogen_ = false;
  if (geklickt && lupe_) {
    Zoomen(ereignis->button() == Qt::RightButton ? -1 : 1, ereignis->position().toPoint());
  }
  ZeigerSetzen();
}

void LupenAnsicht::mouseDoubleClickEvent(QMouseEvent* ereignis) {
  const QString datei = DateiBei(ereignis->position().toPoint());
  if (!datei.isEmpty()) {
    // The second click's release must not zoom again.
    gezogenVon_.reset();
    emit FotoOeffnen(datei);
    return;
  }
  mousePressEvent(ereignis);
}

void LupenAnsicht::leaveEvent(QEvent*) {
  if (benannt_.isEmpty()) return;
  benannt_.clear();
  emit FotoBenannt(benannt_);
}

QString LupenAnsicht::DateiBei(QPoint punkt) const {
  if (!kacheln_ || !geometrie_.Vergroessert()) return {};
  const wizard::Mosaikraster& raster = kacheln_->Raster();
  if (!wizard::FotosZeigen(geometrie_.Massstab(), geometrie_.Einpassen(), raster.kachel)) {
    return {};
  }
  const std::optional<Zellort> zelle =
      wizard::ZelleBei(geometrie_.ImMosaik(AlsPunkt(punkt)), raster);
  if (!zelle) return {};
  return QString::fromStdString(kacheln_->DateiIn(*zelle));
}

void LupenAnsicht::Benennen(QPoint punkt) {
  const QString datei = DateiBei(punkt);
  if (datei == benannt_) return;
  benannt_ = datei;
  emit FotoBenannt(benannt_);
}

void LupenAnsicht::ZeigerSetzen() {
  if (lupe_) {
    setCursor(Qt::CrossCursor);
  } else if (geometrie_.Vergroessert()) {
    setCursor(gezogen_ ? Qt::ClosedHandCursor : Qt::OpenHandCursor);
  } else {
    unsetCursor();
  }
}

}  // namespace tilvendo::ui
