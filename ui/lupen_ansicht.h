// The result page's picture with its magnifier. Shown whole it is the screen-sized blend
// the page makes, drawn as it always was. Zoomed in (mouse wheel, or clicks while the
// magnifier is switched on) it shows the part under the cursor enlarged up to the
// mosaic's full resolution: the reduced mosaic enlarged at once, then the photos of the
// cells in view as the workers read them, the template laid over all with the page's
// blend value as the saved file lays it over (smoothly enlarged for a poster). Dragging
// moves the part shown. Over a tile large enough to make out, the view names its photo,
// and a double click asks to open it.
#pragma once

#include <QImage>
#include <QPoint>
#include <QPointer>
#include <QWidget>
#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>

#include "platform/bitmap.h"
#include "wizard/lupe.h"
#include "wizard/lupen_kacheln.h"
#include "wizard/lupen_vorlage.h"

namespace tilvendo::ui {

class LupenAnsicht : public QWidget {
  Q_OBJECT

 public:
  explicit LupenAnsicht(QWidget* eltern = nullptr);
  ~LupenAnsicht() override;

  // What to show: `anzeige`, the blended screen picture, whole; zoomed in, `verkleinert`
  // (the unblended mosaic at the same size) stands in for the photos of `quelle` until
  // they are read, and `vorlage` is laid over them with blend value `blendwert`; a
  // stand-in of the mosaic's full size is shown alone, without reading photos. The
  // pictures must outlive the view or the next call. The view starts whole, at the
  // screen picture's size.
  void Zeigen(const Bitmap& anzeige, const Bitmap& verkleinert, const Bitmap& vorlage, Size mosaik,
              wizard::Lupenquelle quelle);
  // Drops the photos and their workers (the page closes).
  void Leeren();

  void BlendwertSetzen(uint8_t blendwert);

  // Clicks zoom in (left) and out (right) at the click while this is on.
  void LupeSchalten(bool an) { lupe_ = an; }
  bool LupeAn() const { return lupe_; }

  const wizard::Lupe& Geometrie() const { return geometrie_; }
  wizard::Lupenkacheln* Kacheln() const { return kacheln_.get(); }

  // Zooms `schritte` steps at `punkt` of the view, as the wheel does.
  void Zoomen(int schritte, QPoint punkt);

 signals:
  // The photo under the cursor, or an empty text where none is named.
  void FotoBenannt(const QString& datei);
  // A double click on a named photo.
  void FotoOeffnen(const QString& datei);
  // The zoom changed.
  void ZoomGeaendert();

 protected:
  void paintEvent(QPaintEvent* ereignis) override;
  void wheelEvent(QWheelEvent* ereignis) override;
  void mousePressEvent(QMouseEvent* ereignis) override;
  void mouseMoveEvent(QMouseEvent* ereignis) override;
  void mouseReleaseEvent(QMouseEvent* ereignis) override;
  void mouseDoubleClickEvent(QMouseEvent* ereignis) override;
  void leaveEvent(QEvent* ereignis) override;

 private:
  void Vergroessert(QPainter& maler);
  // The reduced mosaic and the photos read so far, as the window shows them.
  void MosaikZeichnen(QPainter& maler);
  // The photo's file of the cell under `punkt`, when tiles are large enough to name.
  QString DateiBei(QPoint punkt) const;
  void Benennen(QPoint punkt);
  void ZeigerSetzen();
  // Called on a worker thread: asks for one repaint, however many tiles arrive.
  void Angekommen();

  const Bitmap* anzeige_ = nullptr;
  const Bitmap* verkleinert_ = nullptr;
  wizard::Lupenvorlage vorlage_;
  // The zoomed window, drawn here first so that the template is blended over it as the
  // saved file blends it, not by the painter's opacity.
  Bitmap fensterBild_;
  uint8_t blendwert_ = 0;
  wizard::Lupe geometrie_;
  std::unique_ptr<wizard::Lupenkacheln> kacheln_;
  std::shared_ptr<std::atomic<bool>> neuMalen_ = std::make_shared<std::atomic<bool>>(false);
  bool lupe_ = false;
  int radRest_ = 0;  // wheel units short of a notch
  std::optional<QPoint> gezogenVon_;
  bool gezogen_ = false;
  QString benannt_;
};

}  // namespace tilvendo::ui
